// The window's pieces on their own: the report display, the explanation and
// About boxes, and the hidden message.

#include "app/hidden_message.h"
#include "app/info_boxes.h"
#include "window_fixture.h"

using namespace qv;
using namespace qv::app;

class PiecesTest : public test::WindowFixture {
    Q_OBJECT

private slots:
    void outputDialogLoadsInChunks() {
        QTemporaryDir dir;
        QByteArray text;
        for (int i = 0; text.size() < 3 * kDisplayChunk; ++i)
            text += "line " + QByteArray::number(i) + " \xc3\xa4\n";
        const QString path = dir.path() + QStringLiteral("/r.qv");
        writeFile(path, text.constData());
        OutputDialog dialog;
        dialog.setSource(path, QStringLiteral("Courier New"));
        QVERIFY(dialog.loadTextFile() == text.size());
        QCOMPARE(dialog.view()->toPlainText().toUtf8(), text);
        QVERIFY(QFontInfo(dialog.view()->font()).fixedPitch() && dialog.view()->isReadOnly());

        answerMessage();
        answerMessage();  // the second, once the first is gone
        OutputDialog missing;
        missing.setSource(path + QStringLiteral("x"), QStringLiteral("Courier New"));
        QCOMPARE(missing.exec(), int(QDialog::Rejected));
        QCOMPARE(messages_, QStringList({kDisplayOutputError, kDisplayResultError}));
    }

    void explanationAndAboutBoxes() {
        QLocale::setDefault(QLocale(QLocale::German));  // the version keeps its point
        ExplanationBox box;
        QLocale::setDefault(QLocale::c());
        const QString text = box.textLabel()->text();
        QVERIFY(text.startsWith("Quorvex tries to give an answer") &&
                text.endsWith("go to help in the menu.\n\n"));
        QCOMPARE(box.textLabel()->textFormat(), Qt::PlainText);
        qv::test::saveScreenshot(box, "explanation_box");

        AboutDialog about;
        QCOMPARE(box.windowTitle() + '|' + about.windowTitle() + '|' + about.titleLine()->text(),
                 QStringLiteral("Quorvex  v 1.51|About Quorvex  v 1.51|Quorvex  v 1.51"));
        const QDate built = QLocale::c().toDate(about.dateLine()->text(), "MMM dd yyyy");
        QVERIFY(built.isValid() && built <= QDate::currentDate());
        QCOMPARE(buildDateText("Jun 30 2003") + ' ' + buildDateText("Dec  7 2026"),
                 "Jun 30 2003 Dec 07 2026");
        qv::test::saveScreenshot(about, "about_box");
    }

    void hiddenMessageDeciphers() {
        QVERIFY(!blowfishEcb(QByteArray(16, 'k'), QByteArray(12, 'x'), false));
        QVERIFY(hiddenMessageKey("abcde1234567890123456789").isEmpty());
        QCOMPARE(
            hiddenMessage(),
            QStringLiteral("Weigh twice, mix once. A careful hand at the balance is the first step of every "
                           "good sample - thank you for weighing with Quorvex."));
        // A block without a zero byte shows whole, and no further; sealing is
        // the inverse of what the stored message needed.
        const QByteArray keyText = "0123456789ABCDEF0123456789AB";
        const auto sealed = blowfishEcb(hiddenMessageKey(keyText), QByteArray(256, 'q'), true);
        QVERIFY(sealed && decipherHiddenMessage(keyText, *sealed) == QString(256, u'q'));
    }
};

QTEST_MAIN(PiecesTest)
#include "pieces_test.moc"
