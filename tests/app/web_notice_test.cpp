// The web notice against a loopback server started here.

#include <QHash>
#include <QSettings>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

#include "app/web_notice.h"

using qv::app::WebNotice;

namespace {

// Answers each path with a canned response; a path it does not know gets no
// answer at all, like a server that has stopped responding.
class PageServer : public QTcpServer {
public:
    QHash<QByteArray, QByteArray> pages;
    QList<QByteArray> targets;

    PageServer() {
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { answer(socket); });
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
        listen(QHostAddress::LocalHost);
    }

    QUrl url(const char* path) const {
        return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(serverPort()).arg(QLatin1String(path)));
    }

    static QByteArray response(const QByteArray& html, const QByteArray& status = "200 OK",
                               const QByteArray& charset = "utf-8") {
        return "HTTP/1.1 " + status + "\r\nContent-Type: text/html; charset=" + charset +
               "\r\nContent-Length: " + QByteArray::number(html.size()) + "\r\nConnection: close\r\n\r\n" + html;
    }

private:
    void answer(QTcpSocket* socket) {
        const QByteArray seen = socket->property("seen").toByteArray() + socket->readAll();
        socket->setProperty("seen", seen);
        if (!seen.contains("\r\n\r\n")) return;
        const QByteArray target = seen.split(' ').value(1);
        targets << target;
        if (!pages.contains(target)) return;
        socket->write(pages[target]);
        socket->disconnectFromHost();
    }
};

QByteArray page(const QByteArray& title, const QByteArray& body) {
    return "<html><head><title>" + title + "</title></head>" + body + "</html>";
}

}  // namespace

class WebNoticeTest : public QObject {
    Q_OBJECT
    QTemporaryDir settingsDir_;
    PageServer server_;

private slots:
    void initTestCase() {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir_.path());
        QVERIFY(server_.isListening());
        server_.pages = {
            {"/right", PageServer::response(page("Quorvex", "<body><p>Version 1.52 is out.</p></body>"))},
            {"/second", PageServer::response(page("Quorvex", "<body>Second frame</body>"))},
            {"/lower", PageServer::response(page("quorvex", "<body>lower case</body>"))},
            {"/spaced", PageServer::response(page("Quorvex ", "<body>trailing blank</body>"))},
            {"/nobody", PageServer::response(page("Quorvex", ""))},
            {"/blank", PageServer::response(page("Quorvex", "<body> <p>&nbsp;</p> <img src=\"x.png\"></body>"))},
            {"/missing", PageServer::response(page("Quorvex", "<body>not found</body>"), "404 Not Found")},
            {"/markup", PageServer::response(page("Quorvex",
                 "<body><h1>Bold</h1> news &amp; <a href=\"http://example.org/\">a&lt;b&gt; link</a>"
                 "<br><script>alert(1)</script><style>p{}</style></body>"))},
            {"/latin1", PageServer::response(page("Quorvex", "<body>Caf\xe9</body>"), "200 OK", "iso-8859-1")},
            {"/lantern/quorvex/log/log.php?p=Quorvex&v=1.51",
             PageServer::response(page("Quorvex", "<body>pinged</body>"))},
        };
    }

    void eachPageComparedOnItsOwn_data() {
        QTest::addColumn<QStringList>("paths");
        QTest::addColumn<QStringList>("notices");
        QTest::newRow("right title") << QStringList{"/right"} << QStringList{"Version 1.52 is out."};
        QTest::newRow("lower-case title") << QStringList{"/lower"} << QStringList{};
        QTest::newRow("title with a blank") << QStringList{"/spaced"} << QStringList{};
        QTest::newRow("no body") << QStringList{"/nobody"} << QStringList{};
        QTest::newRow("body without text") << QStringList{"/blank"} << QStringList{};
        QTest::newRow("error status") << QStringList{"/missing"} << QStringList{};
        QTest::newRow("markup and link as text") << QStringList{"/markup"}
                                                 << QStringList{"Bold news & a<b> link"};
        QTest::newRow("declared charset") << QStringList{"/latin1"} << QStringList{QStringLiteral("Caf\u00e9")};
        QTest::newRow("slow answer times out") << QStringList{"/never"} << QStringList{};
        QTest::newRow("two frames, both match") << QStringList{"/right", "/second"}
                                                << QStringList{"Version 1.52 is out.", "Second frame"};
        QTest::newRow("two frames, second differs") << QStringList{"/right", "/lower"}
                                                    << QStringList{"Version 1.52 is out."};
        QTest::newRow("two frames, first differs") << QStringList{"/lower", "/second"}
                                                   << QStringList{"Second frame"};
    }
    void eachPageComparedOnItsOwn() {
        QFETCH(QStringList, paths);
        QFETCH(QStringList, notices);
        WebNotice notice;
        notice.setTimeout(150);
        QSignalSpy changed(&notice, &WebNotice::noticeChanged);
        QSignalSpy settled(&notice, &WebNotice::pageSettled);
        for (const QString& path : paths) {
            notice.fetch(server_.url(path.toLatin1().constData()));
            QVERIFY(settled.wait(5000));
        }
        QCOMPARE(notice.pending(), 0);
        QStringList got;
        for (const QList<QVariant>& args : changed) got << args.at(0).toString();
        QCOMPARE(got, notices);
    }

    void pingOnlyWithAServer() {
        QSettings settings("Quorvex", QCoreApplication::applicationName());
        settings.remove("Settings/Web Server");
        settings.sync();
        WebNotice quiet;
        QVERIFY(!quiet.start());
        QVERIFY(!quiet.usedNetwork());

        settings.setValue("Settings/Web Server", server_.url("/").toString());
        settings.sync();
        WebNotice notice;
        QSignalSpy changed(&notice, &WebNotice::noticeChanged);
        QSignalSpy settled(&notice, &WebNotice::pageSettled);
        QVERIFY(notice.start());
        QVERIFY(settled.wait(5000));
        QCOMPARE(server_.targets.last(), QByteArray("/lantern/quorvex/log/log.php?p=Quorvex&v=1.51"));
        QCOMPARE(changed.size(), 1);
        QCOMPARE(changed.at(0).at(0).toString(), QStringLiteral("pinged"));
    }
};

QTEST_MAIN(WebNoticeTest)
#include "web_notice_test.moc"
