// Help address, the explanation and About boxes, the hidden message, and the
// web notice against a loopback server started here.

#include <QDate>
#include <QDesktopServices>
#include <QLabel>
#include <QSettings>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

#include "app/app_info.h"
#include "app/hidden_message.h"
#include "app/info_boxes.h"
#include "app/web_notice.h"
#include "app/web_server.h"
#include "widget_support.h"

using namespace qv::app;

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

class HelpNoticeTest : public QObject {
    Q_OBJECT
    QTemporaryDir settingsDir_;
    QList<QUrl> opened_;
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

public slots:
    void capture(const QUrl& url) { opened_ << url; }

private slots:
    void initTestCase() {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir_.path());
        for (const char* scheme : {"file", "http", "https"}) QDesktopServices::setUrlHandler(scheme, this, "capture");
        connect(&server_, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = server_.nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { answer(socket); });
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
        QVERIFY(server_.listen(QHostAddress::LocalHost));
    }

    void explanationBoxWordForWord() {
        const char expected[] =
            "Quorvex tries to give an answer by turning the problem of determining ratios of entries in Source Material List\n"
            "into a system of linear equations, and, then solving it.  Therefore, if you want Quorvex to automatically\n"
            "obtain the ratios, the number of equations should be at least the number of unknowns.\n\n"
            "The number of unknowns equals the number of free entries(those without red pegs) in Source Material list,\n"
            "and the number of equations equals the number of elements in Include list.\n\n"
            "Fixed entries are marked by red pegs, and Free entries are without red pegs in Source Material List.\n"
            "Those pegs can be created or removed by clicking in the \"Fix\" field.\n\n"
            "Quorvex won't touch ratios of the fixed entries while it constantly tries to get ratios for the free entries.\n"
            "When an answer is obtained, \"Output\" button at the bottom right corner becomes active.\n\n"
            "When you have only fixed entries in Source Material List, Quorvex operates in Manual Mode and \"Output\"\n"
            "button is always active. If there is one or more free entries, Quorvex operates in Automatic Mode and \"Output\"\n"
            "button beocmes active only when the system of linear equations(refer to the first paragraph) is solved.\n\n"
            "For more, go to help in the menu.\n\n";
        QLocale::setDefault(QLocale(QLocale::German));  // the version keeps its point
        ExplanationBox box;
        QLocale::setDefault(QLocale::c());
        QCOMPARE(box.textLabel()->text().toLatin1(), QByteArray(expected));
        QCOMPARE(box.textLabel()->textFormat(), Qt::PlainText);
        QCOMPARE(box.windowTitle(), QStringLiteral("Quorvex  v 1.51"));
        qv::test::saveScreenshot(box, "explanation_box");
    }

    void aboutBoxLines() {
        AboutDialog about;
        QCOMPARE(about.windowTitle(), QStringLiteral("About Quorvex  v 1.51"));
        QCOMPARE(about.titleLine()->text(), QStringLiteral("Quorvex  v 1.51"));
        const QDate built = QLocale::c().toDate(about.dateLine()->text(), "MMM dd yyyy");
        QVERIFY(built.isValid() && built <= QDate::currentDate());
        QCOMPARE(buildDateText("Jun 30 2003"), QStringLiteral("Jun 30 2003"));
        QCOMPARE(buildDateText("Dec  7 2026"), QStringLiteral("Dec 07 2026"));
        qv::test::saveScreenshot(about, "about_box");
    }

    void helpAndPingFollowTheSetting_data() {
        QTest::addColumn<QString>("server");
        QTest::addColumn<QString>("base");  // empty: no server, the shipped guide
        QTest::newRow("none") << "  " << "";
        QTest::newRow("not web") << "ftp://example.org" << "";
        QTest::newRow("host") << "http://127.0.0.1:8080" << "http://127.0.0.1:8080";
        QTest::newRow("folder with slash") << "https://example.org/base/" << "https://example.org/base";
    }
    void helpAndPingFollowTheSetting() {
        QFETCH(QString, server);
        QFETCH(QString, base);
        QSettings("Quorvex", QCoreApplication::applicationName()).setValue("Settings/Web Server", server);
        opened_.clear();
        openHelp();
        const QUrl guide = QUrl::fromLocalFile(QCoreApplication::applicationDirPath() + "/help/index.html");
        QCOMPARE(opened_.value(0).toString(),
                 base.isEmpty() ? guide.toString() : base + "/lantern/quorvex/help/1.50.html");
        QCOMPARE(pingUrl(webServerBase()).toString(),
                 base.isEmpty() ? QString() : base + "/lantern/quorvex/log/log.php?p=Quorvex&v=1.51");
        QTemporaryDir noGuide;
        QCOMPARE(helpAddress(webServerBase(), noGuide.path()).isValid(), !base.isEmpty());
    }

    void hiddenMessageDeciphers() {
        // Eric Young's Blowfish vectors, each half-block as a machine word.
        struct { QByteArray key; quint32 in[2]; quint32 out[2]; } const cases[] = {
            {QByteArray(8, '\0'), {0, 0}, {0x4EF99745, 0x6198DD78}},
            {QByteArray::fromHex("FEDCBA9876543210"), {0x01234567, 0x89ABCDEF}, {0x0ACEAB0F, 0xC6A0A28D}},
        };
        for (const auto& c : cases) {
            const QByteArray in(reinterpret_cast<const char*>(c.in), 8), out(reinterpret_cast<const char*>(c.out), 8);
            QCOMPARE(blowfishEcb(c.key, in, true), out);
            QCOMPARE(blowfishEcb(c.key, out, false), in);
        }
        QVERIFY(!blowfishEcb(QByteArray(16, 'k'), QByteArray(12, 'x'), false));
        QVERIFY(hiddenMessageKey("abcde1234567890123456789").isEmpty());
        QCOMPARE(hiddenMessage(),
                 QStringLiteral("Weigh twice, mix once. A careful hand at the balance is the first step of every "
                                "good sample - thank you for weighing with Quorvex."));
        // A block without a zero byte shows whole, and no further.
        const QByteArray keyText = "0123456789ABCDEF0123456789AB";
        const auto sealed = blowfishEcb(hiddenMessageKey(keyText), QByteArray(256, 'q'), true);
        QVERIFY(sealed && decipherHiddenMessage(keyText, *sealed) == QString(256, u'q'));
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
        QSettings("Quorvex", QCoreApplication::applicationName()).remove("Settings/Web Server");
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

QTEST_MAIN(HelpNoticeTest)
#include "help_notice_test.moc"
