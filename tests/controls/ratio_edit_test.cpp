// The ratio edit as a user meets it: the character filter, the keys it
// hands to its owner, and hiding when the focus leaves a row editor.

#include <QtTest>
#include <QtWidgets>

#include "controls/ratio_edit.h"
#include "widget_support.h"

namespace qv {
namespace {

// The ratio edit, shown and focused.
struct RatioWindow {
    QWidget top;
    RatioEdit* ratio = new RatioEdit(&top);
    RatioWindow() {
        top.show();
        QApplication::setActiveWindow(&top);
        ratio->setFocus();
    }
};

}  // namespace

class RatioEditTest : public QObject {
    Q_OBJECT
private slots:
    void ratioFilter() {
        // Typed, then shown (the order is not checked); Backspace takes the last character again.
        const char* rows[][2] = {
            {"1,5", "15"}, {"2.5e1", "2.5e1"}, {"1E-3", "1E-3"}, {"a b+F2", "2"}, {"2-", "2-"}};
        for (const auto& [typed, shown] : rows) {
            RatioWindow w;
            QTest::keyClicks(w.ratio, typed);
            QCOMPARE(w.ratio->text(), shown);
            QTest::keyClick(w.ratio, Qt::Key_Backspace);
            QCOMPARE(w.ratio->text(), QString(shown).chopped(1));
        }
        RatioWindow w;  // Ctrl passes everything
        QApplication::clipboard()->setText("Fe2O3");
        QTest::keyClick(w.ratio, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(w.ratio->text(), "Fe2O3");
    }

    void ratioKeyRouting() {
        // The key, its modifiers, then the requests it posts and the caret, with "12.5" typed:
        // Home moves the caret too, Left is the edit's own.
        const std::tuple<Qt::Key, int, const char*> rows[] = {
            // clang-format off
            {Qt::Key_Tab, 0, " f0@4"},           {Qt::Key_Backtab, Qt::ShiftModifier, " f1@4"},
            {Qt::Key_Return, 0, " s0@4"},        {Qt::Key_Return, Qt::ShiftModifier, " s1@4"},
            {Qt::Key_Enter, Qt::KeypadModifier, " s0@4"}, {Qt::Key_Up, 0, " s1@4"},
            {Qt::Key_Down, 0, " s0@4"},          {Qt::Key_PageUp, 0, " p33@4"},
            {Qt::Key_PageDown, 0, " p34@4"},     {Qt::Key_End, 0, " p35@4"},
            {Qt::Key_Home, 0, " p36@0"},         {Qt::Key_Left, 0, "@3"},
            // clang-format on
        };
        for (const auto& [key, mods, expected] : rows) {
            RatioWindow w;
            QTest::keyClicks(w.ratio, "12.5");
            test::Requests requests(w.ratio);
            QTest::keyClick(w.ratio, key, Qt::KeyboardModifiers(mods));
            QCOMPARE(requests.seen, "");  // posted, not sent
            QCoreApplication::processEvents();
            QCOMPARE(requests.seen + '@' + QString::number(w.ratio->cursorPosition()), expected);
            QVERIFY(w.ratio->text() == "12.5" && w.ratio->hasFocus());  // the owner moves the focus
        }
    }

    void ratioHidesOnFocusLoss() {
        // Row editor, the row editor under a context menu, the final ratio.
        for (auto [stay, reason, visible] :
             {std::tuple{false, Qt::MouseFocusReason, false}, std::tuple{false, Qt::PopupFocusReason, true},
              std::tuple{true, Qt::MouseFocusReason, true}}) {
            RatioWindow w;
            auto* ratio = new RatioEdit(&w.top, stay);
            ratio->show();
            QFocusEvent out(QEvent::FocusOut, reason);
            QApplication::sendEvent(ratio, &out);
            QCOMPARE(ratio->isVisible(), visible);
        }
    }
};

}  // namespace qv

QTEST_MAIN(qv::RatioEditTest)
#include "ratio_edit_test.moc"
