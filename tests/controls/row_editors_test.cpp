// The ratio edit's filter and key routing, and the focus frame of the list views.

#include <QApplication>
#include <QClipboard>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "controls/focus_frame_view.h"
#include "controls/ratio_edit.h"
#include "form/edit/key_codes.h"

using qv::RatioEdit;

namespace {

// The ratio edit, focused, between two plain edits.
struct Window {
    QWidget top;
    QLineEdit* before = new QLineEdit(&top);
    RatioEdit* ratio = new RatioEdit(&top);
    QLineEdit* after = new QLineEdit(&top);
    Window() {
        ratio->move(0, 30);
        after->move(0, 60);
        top.show();
        QApplication::setActiveWindow(&top);
        ratio->setFocus();
    }
};

}  // namespace

class RowEditorsTest : public QObject {
    Q_OBJECT
private slots:
    void filter_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("comma swallowed") << "1,5" << "15";
        QTest::newRow("exponent") << "2.5e1" << "2.5e1";
        QTest::newRow("upper E and minus") << "1E-3" << "1E-3";
        QTest::newRow("letters and blanks") << "a b+F2" << "2";
        QTest::newRow("order not checked") << "2-" << "2-";
    }
    void filter() {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        Window w;
        QTest::keyClicks(w.ratio, typed);
        QCOMPARE(w.ratio->text(), shown);
        QTest::keyClick(w.ratio, Qt::Key_Backspace);
        QCOMPARE(w.ratio->text(), shown.chopped(1));
    }

    void ctrlPassesEverything() {
        Window w;
        QApplication::clipboard()->setText("Fe2O3");
        QTest::keyClick(w.ratio, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(w.ratio->text(), "Fe2O3");
    }

    void keyRouting_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("signal");
        QTest::addColumn<int>("argument");
        QTest::addColumn<int>("caret");  // after the key, with "12.5" typed
        QTest::newRow("Tab") << int(Qt::Key_Tab) << 0 << "focus" << 0 << 4;
        QTest::newRow("Shift+Tab") << int(Qt::Key_Backtab) << int(Qt::ShiftModifier) << "focus" << 1 << 4;
        QTest::newRow("Return") << int(Qt::Key_Return) << 0 << "step" << 0 << 4;
        QTest::newRow("Shift+Return") << int(Qt::Key_Return) << int(Qt::ShiftModifier) << "step" << 1 << 4;
        QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << "step" << 0 << 4;
        QTest::newRow("Up") << int(Qt::Key_Up) << 0 << "step" << 1 << 4;
        QTest::newRow("Down") << int(Qt::Key_Down) << 0 << "step" << 0 << 4;
        QTest::newRow("Page Up") << int(Qt::Key_PageUp) << 0 << "page" << qv::kKeyPageUp << 4;
        QTest::newRow("Page Down") << int(Qt::Key_PageDown) << 0 << "page" << qv::kKeyPageDown << 4;
        QTest::newRow("End") << int(Qt::Key_End) << 0 << "page" << qv::kKeyEnd << 4;
        QTest::newRow("Home moves the caret too") << int(Qt::Key_Home) << 0 << "page" << qv::kKeyHome << 0;
        QTest::newRow("Left is the edit's own") << int(Qt::Key_Left) << 0 << "" << 0 << 3;
    }
    void keyRouting() {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, signal);
        QFETCH(int, argument);
        QFETCH(int, caret);
        Window w;
        QTest::keyClicks(w.ratio, "12.5");
        QSignalSpy focus(w.ratio, &RatioEdit::moveFocusRequested);
        QSignalSpy step(w.ratio, &RatioEdit::stepRequested);
        QSignalSpy page(w.ratio, &RatioEdit::pageRequested);
        QTest::keyClick(w.ratio, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(focus.count() + step.count() + page.count(), 0);  // posted, not sent
        QCoreApplication::processEvents();
        QCOMPARE(w.ratio->cursorPosition(), caret);
        QCOMPARE(w.ratio->text(), "12.5");
        QVERIFY(w.ratio->hasFocus());  // the owner moves the focus, not the edit
        QCOMPARE(focus.count() + step.count() + page.count(), signal.isEmpty() ? 0 : 1);
        QSignalSpy* fired = signal == "focus" ? &focus : signal == "step" ? &step : &page;
        if (!signal.isEmpty()) QCOMPARE(fired->value(0).value(0).toInt(), argument);
    }

    void hidesOnFocusLoss_data() {
        QTest::addColumn<bool>("stayVisible");
        QTest::addColumn<int>("reason");
        QTest::addColumn<bool>("visible");
        QTest::newRow("row editor") << false << int(Qt::MouseFocusReason) << false;
        QTest::newRow("row editor under a context menu") << false << int(Qt::PopupFocusReason) << true;
        QTest::newRow("final ratio") << true << int(Qt::MouseFocusReason) << true;
    }
    void hidesOnFocusLoss() {
        QFETCH(bool, stayVisible);
        QFETCH(int, reason);
        QFETCH(bool, visible);
        Window w;
        w.ratio->setStayVisible(stayVisible);
        QFocusEvent out(QEvent::FocusOut, Qt::FocusReason(reason));
        QApplication::sendEvent(w.ratio, &out);
        QCOMPARE(w.ratio->isVisible(), visible);
    }

    void focusFrame() {
        QWidget top;
        auto* before = new QLineEdit(&top);
        auto* list = new QListWidget(&top);
        auto* after = new QPushButton("Go", &top);
        list->setGeometry(10, 50, 120, 100);
        after->move(10, 170);
        list->addItems({"Ba", "Ti"});
        auto* frameView = new qv::FocusFrameView(list);
        top.show();
        QApplication::setActiveWindow(&top);

        list->setFocus(Qt::TabFocusReason);
        QVERIFY(frameView->frame()->isVisible());
        QCOMPARE(frameView->frame()->geometry(), QRect(8, 48, 124, 104));
        QCOMPARE(frameView->frame()->parentWidget(), &top);
        QTest::keyClick(list, Qt::Key_Down);  // other keys stay with the list
        QCOMPARE(list->currentRow(), 1);
        QTest::keyClick(list, Qt::Key_Tab);
        QVERIFY(after->hasFocus());
        QVERIFY(!frameView->frame()->isVisible());
        list->setFocus(Qt::TabFocusReason);
        QTest::keyClick(list, Qt::Key_Backtab, Qt::ShiftModifier);
        QVERIFY(before->hasFocus());
        list->move(20, 60);
        QCOMPARE(frameView->frame()->geometry(), QRect(18, 58, 124, 104));
    }
};

QTEST_MAIN(RowEditorsTest)
#include "row_editors_test.moc"
