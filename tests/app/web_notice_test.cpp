// The web notice against a loopback server started here.

#include <QSettings>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

#include "app/web_notice.h"

using qv::app::WebNotice;

namespace {

QByteArray response(const QByteArray& title, const QByteArray& body, const QByteArray& head = "200 OK\r\n"
                    "Content-Type: text/html; charset=utf-8") {
    const QByteArray html = "<html><head><title>" + title + "</title></head>" + body + "</html>";
    return "HTTP/1.1 " + head + "\r\nContent-Length: " + QByteArray::number(html.size()) +
           "\r\nConnection: close\r\n\r\n" + html;
}

// Answers each known path with its canned response and any other path not
// at all, like a server that has stopped responding.
const QHash<QByteArray, QByteArray> kPages = {
    {"/right", response("Quorvex", "<body><p>Version 1.52 is out.</p></body>")},
    {"/second", response("Quorvex", "<body>Second frame</body>")},
    {"/lower", response("quorvex", "<body>lower case</body>")},
    {"/nobody", response("Quorvex", "")},
    {"/blank", response("Quorvex", "<body> <p>&nbsp;</p> <img src=\"x.png\"></body>")},
    {"/missing", response("Quorvex", "<body>not found</body>", "404 Not Found")},
    {"/markup", response("Quorvex", "<body><h1>Bold</h1> news &amp; <a href=\"http://example.org/\">a&lt;b&gt; "
                                    "link</a><br><script>alert(1)</script><style>p{}</style></body>")},
    {"/latin1", response("Quorvex", "<body>Caf\xe9</body>", "200 OK\r\nContent-Type: text/html; charset=iso-8859-1")},
    {"/lantern/quorvex/log/log.php?p=Quorvex&v=1.51", response("Quorvex", "<body>pinged</body>")},
};

}  // namespace

class WebNoticeTest : public QObject {
    Q_OBJECT
    QTemporaryDir settingsDir_;
    QTcpServer server_;
    QByteArray lastTarget_;

    QUrl url(const QString& path) const {
        return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(server_.serverPort()).arg(path));
    }

    void answer(QTcpSocket* socket) {
        const QByteArray seen = socket->property("seen").toByteArray() + socket->readAll();
        socket->setProperty("seen", seen);
        if (!seen.contains("\r\n\r\n")) return;
        lastTarget_ = seen.split(' ').value(1);
        if (!kPages.contains(lastTarget_)) return;
        socket->write(kPages[lastTarget_]);
        socket->disconnectFromHost();
    }

private slots:
    void initTestCase() {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir_.path());
        connect(&server_, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = server_.nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { answer(socket); });
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
        QVERIFY(server_.listen(QHostAddress::LocalHost));
    }

    void eachPageComparedOnItsOwn_data() {
        QTest::addColumn<QStringList>("paths");
        QTest::addColumn<QStringList>("notices");
        QTest::newRow("right title") << QStringList{"/right"} << QStringList{"Version 1.52 is out."};
        QTest::newRow("lower-case title") << QStringList{"/lower"} << QStringList{};
        QTest::newRow("no body") << QStringList{"/nobody"} << QStringList{};
        QTest::newRow("body without text") << QStringList{"/blank"} << QStringList{};
        QTest::newRow("error status") << QStringList{"/missing"} << QStringList{};
        QTest::newRow("markup and link as text") << QStringList{"/markup"} << QStringList{"Bold news & a<b> link"};
        QTest::newRow("declared charset") << QStringList{"/latin1"} << QStringList{QStringLiteral("Caf\u00e9")};
        QTest::newRow("slow answer times out") << QStringList{"/never"} << QStringList{};
        QTest::newRow("three frames, one differs") << QStringList{"/right", "/lower", "/second"}
                                                   << QStringList{"Version 1.52 is out.", "Second frame"};
    }
    void eachPageComparedOnItsOwn() {
        QFETCH(QStringList, paths);
        QFETCH(QStringList, notices);
        WebNotice notice;
        notice.setTimeout(150);
        QSignalSpy changed(&notice, &WebNotice::noticeChanged);
        QSignalSpy settled(&notice, &WebNotice::pageSettled);
        for (const QString& path : paths) {
            notice.fetch(url(path));
            QVERIFY(settled.wait(5000));
        }
        QCOMPARE(notice.pending(), 0);
        QStringList got;
        for (const QList<QVariant>& args : changed) got << args.at(0).toString();
        QCOMPARE(got, notices);
    }

    void pingOnlyWithAServer() {
        WebNotice quiet;
        QVERIFY(!quiet.start() && !quiet.usedNetwork());
        QSettings("Quorvex", QCoreApplication::applicationName()).setValue("Settings/Web Server", url("/").toString());
        WebNotice notice;
        QSignalSpy changed(&notice, &WebNotice::noticeChanged);
        QSignalSpy settled(&notice, &WebNotice::pageSettled);
        QVERIFY(notice.start());
        QVERIFY(settled.wait(5000));
        QCOMPARE(lastTarget_, QByteArray("/lantern/quorvex/log/log.php?p=Quorvex&v=1.51"));
        QCOMPARE(changed.value(0).value(0).toString(), QStringLiteral("pinged"));
    }
};

QTEST_MAIN(WebNoticeTest)
#include "web_notice_test.moc"
