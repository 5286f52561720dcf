// Help address, the explanation and About boxes, and the hidden message.

#include <QDate>
#include <QDesktopServices>
#include <QLabel>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include "app/app_info.h"
#include "app/hidden_message.h"
#include "app/info_boxes.h"
#include "app/web_server.h"
#include "widget_support.h"

using namespace qv::app;

namespace {

void screenshot(QWidget* w, const char* name) {
    if (qEnvironmentVariableIsEmpty("QV_SCREENSHOTS")) return;
    w->show();  // lays the dialog out at its fixed size
    QVERIFY(QTest::qWaitForWindowExposed(w));
    qv::test::saveScreenshot(*w, QLatin1String(name));
}

}  // namespace

class HelpAboutTest : public QObject {
    Q_OBJECT
    QTemporaryDir settingsDir_;
    QList<QUrl> opened_;

public slots:
    void capture(const QUrl& url) { opened_ << url; }

private slots:
    void initTestCase() {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir_.path());
        for (const char* scheme : {"file", "http", "https"}) QDesktopServices::setUrlHandler(scheme, this, "capture");
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
        screenshot(&box, "explanation_box");
    }

    void aboutBoxLines() {
        AboutDialog about;
        QCOMPARE(about.windowTitle(), QStringLiteral("About Quorvex  v 1.51"));
        QCOMPARE(about.titleLine()->text(), QStringLiteral("Quorvex  v 1.51"));
        const QDate built = QLocale::c().toDate(about.dateLine()->text(), "MMM dd yyyy");
        QVERIFY(built.isValid() && built <= QDate::currentDate());
        QCOMPARE(buildDateText("Jun 30 2003"), QStringLiteral("Jun 30 2003"));
        QCOMPARE(buildDateText("Dec  7 2026"), QStringLiteral("Dec 07 2026"));
        screenshot(&about, "about_box");
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

    void blowfishPublishedVectors() {
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
    }

    void hiddenMessageDeciphers() {
        QCOMPARE(hiddenMessageKey("abcde12345678901234567890xyz").toHex(),
                 QByteArray("fd85e62d9beb45428771ec688418b271"));
        QVERIFY(hiddenMessageKey("abcde1234567890123456789").isEmpty());
        QCOMPARE(hiddenMessage(),
                 QStringLiteral("Weigh twice, mix once. A careful hand at the balance is the first step of every "
                                "good sample - thank you for weighing with Quorvex."));
        // A block without a zero byte shows whole, and no further.
        const QByteArray keyText = "0123456789ABCDEF0123456789AB";
        const QByteArray full(256, 'q');
        const auto sealed = blowfishEcb(hiddenMessageKey(keyText), full, true);
        QVERIFY(sealed);
        QCOMPARE(decipherHiddenMessage(keyText, *sealed), QString(256, u'q'));
    }
};

QTEST_MAIN(HelpAboutTest)
#include "help_about_test.moc"
