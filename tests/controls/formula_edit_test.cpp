#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

#include "controls/accessibility.h"
#include "controls/formula_edit.h"
#include "controls/formula_fonts.h"
#include "support/test_form.h"
#include "widget_support.h"

namespace qv {
namespace {

using test::sharedFonts;

// A form with one formula edit under its label and a line edit to take the
// focus away, as a window would lay them out.
struct Harness {
    explicit Harness(Formula& (test::TestForm::*entry)() = nullptr) {
        sharedFonts().applyTo(form.model);
        auto* layout = new QVBoxLayout(&window);
        auto* label = new QLabel(QStringLiteral("&Source:"), &window);
        layout->addWidget(label);
        layout->addWidget(edit);
        layout->addWidget(other);
        label->setBuddy(edit);
        edit->setFonts(&sharedFonts());
        window.resize(220, 100);
        window.show();
        QApplication::setActiveWindow(&window);
        edit->bindEntry(entry ? &(form.*entry)() : &form.row(3));
        edit->setFocus(Qt::OtherFocusReason);
    }
    Formula& entry() { return *edit->entry(); }
    std::string selection() {
        const auto s = edit->selection();
        return s ? std::to_string(s->first) + ".." + std::to_string(s->last) : "none";
    }
    // The keys a user presses on a US keyboard for the text.
    void type(const char* keys) {
        for (const char* k = keys; *k; ++k) {
            const char c = *k;
            if (c >= 'a' && c <= 'z') QTest::keyClick(edit, Qt::Key(Qt::Key_A + c - 'a'));
            else if (c >= 'A' && c <= 'Z') QTest::keyClick(edit, Qt::Key(c), Qt::ShiftModifier);
            else if (c == '(') QTest::keyClick(edit, Qt::Key_ParenLeft, Qt::ShiftModifier);
            else if (c == ')') QTest::keyClick(edit, Qt::Key_ParenRight, Qt::ShiftModifier);
            else QTest::keyClick(edit, Qt::Key(c));
        }
    }
    // Runs the right-click menu at x, reads its enabled items and picks one
    // (none: dismissed).
    QString rightClick(int x, const QString& pick = {}) {
        QString enabled;
        QTimer::singleShot(0, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (menu == nullptr) return;
            for (QAction* a : menu->actions()) {
                if (a->isEnabled()) enabled += a->text() + ' ';
                if (a->text() == pick) menu->setActiveAction(a);
            }
            QTest::keyClick(menu, pick.isEmpty() ? Qt::Key_Escape : Qt::Key_Return);
        });
        QTest::mouseClick(edit, Qt::RightButton, {}, QPoint(x, 8));
        return enabled.trimmed();
    }

    test::TestForm form;
    QWidget window;
    FormulaEdit* edit = new FormulaEdit(&window);
    QLineEdit* other = new QLineEdit(&window);
};

}  // namespace

class FormulaEditTest : public QObject {
    Q_OBJECT
private slots:
    void typingClassifiesTheRowAndCtrlZUndoesTwice() {
        Harness h;
        h.type("Fe2O3");
        QCOMPARE(h.entry().text(), "Fe2O3");
        QCOMPARE(h.entry().classify(), Free);
        QVERIFY(h.form.model.freeEntries.count(3));
        h.type(")");
        QCOMPARE(h.entry().classify(), Invalid);
        QTest::keyClick(h.edit, Qt::Key_Backspace);
        QTest::keyClick(h.edit, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(h.entry().text(), "Fe2O3)");
        QCOMPARE(h.entry().classify(), Invalid);
        QTest::keyClick(h.edit, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(h.entry().text(), "Fe2O3");
        QCOMPARE(h.entry().classify(), Free);
        h.edit->setText("");
        h.type("Ca(OH)2");
        QCOMPARE(h.entry().text(), "Ca(OH)2");
        QCOMPARE(h.entry().classify(), Free);
        QVERIFY(h.edit->isModified());
    }

    void navigationKeysBecomeSignalsInTheirOrder() {
        Harness h;
        QSignalSpy focus(h.edit, &FormulaEdit::moveFocusRequested);
        QSignalSpy step(h.edit, &FormulaEdit::stepRequested);
        QSignalSpy page(h.edit, &FormulaEdit::pageRequested);
        QSignalSpy hidden(h.edit, &FormulaEdit::hiddenMessageRequested);
        QTest::keyClick(h.edit, Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(focus.size(), 1);  // at once
        QCOMPARE(focus[0][0].toBool(), true);
        QTest::keyClick(h.edit, Qt::Key_Return, Qt::ShiftModifier);
        QTest::keyClick(h.edit, Qt::Key_Down);
        QTest::keyClick(h.edit, Qt::Key_PageDown);
        QTest::keyClick(h.edit, Qt::Key_J, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(step.size() + page.size() + hidden.size(), 0);  // only after the key
        QCoreApplication::processEvents();
        QCOMPARE(step.size(), 2);
        QCOMPARE(step[0][0].toBool(), true);
        QCOMPARE(step[1][0].toBool(), false);
        QCOMPARE(page.size(), 1);
        QCOMPARE(page[0][0].toInt(), 34);
        QCOMPARE(hidden.size(), 1);

        Harness final(&test::TestForm::final);  // not in the list: no steps
        QSignalSpy finalStep(final.edit, &FormulaEdit::stepRequested);
        QTest::keyClick(final.edit, Qt::Key_Return);
        QTest::keyClick(final.edit, Qt::Key_Up);
        QCoreApplication::processEvents();
        QCOMPARE(finalStep.size(), 0);
        final.other->setFocus(Qt::TabFocusReason);
        QVERIFY(final.edit->isVisible());
    }

    void rightClickMenuAndCopyKeepTheSelection() {
        Harness h;
        h.type("Fe2O3");
        QApplication::clipboard()->setText(QStringLiteral("Ba;"));
        QCOMPARE(h.rightClick(10), QString());  // nothing selected, clipboard refused
        QTest::mouseDClick(h.edit, Qt::LeftButton, {}, QPoint(10, 8));
        QCOMPARE(h.selection(), "0..4");
        // Press on 'e', drag to the end of 'O': "e2O".
        QTest::mousePress(h.edit, Qt::LeftButton, {}, QPoint(12, 8));
        QTest::mouseMove(h.edit, QPoint(h.entry().edit.cells[4].x, 8));
        QTest::mouseRelease(h.edit, Qt::LeftButton, {}, QPoint(h.entry().edit.cells[4].x, 8));
        QCOMPARE(h.selection(), "1..3");
        QCOMPARE(h.rightClick(10, QStringLiteral("Copy")), QStringLiteral("Copy Cut Delete"));
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("e2O"));
        QCOMPARE(h.selection(), "1..3");
        QVERIFY(h.edit->isVisible());
        QCOMPARE(h.rightClick(10, QStringLiteral("Delete")), QStringLiteral("Copy Cut Delete Paste"));
        QCOMPARE(h.entry().text(), "F3");
        QCOMPARE(h.entry().classify(), Invalid);  // the menu runs the hook
        QTest::keyClick(h.edit, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(h.entry().text(), "Fe2O3");
    }

    void focusLossHidesTheRowEditorAndQueriesAnswerLikeAnEdit() {
        Harness h;
        h.type("BaCO3");
        QVERIFY(!h.edit->setText("Ba,O"));
        QCOMPARE(h.edit->text(), "BaCO3");
        QCOMPARE(h.edit->limitText(), 480);
        QVERIFY(!h.edit->selection());
        h.edit->setSelection(0, 1);
        QVERIFY(h.edit->replaceSelection("Sr"));
        QCOMPARE(h.edit->text(), "SrCO3");
        h.other->setFocus(Qt::TabFocusReason);
        QVERIFY(!h.edit->isVisible());
        QCOMPARE(h.entry().edit.caret, 0);
        FormulaEdit unbound;
        QCOMPARE(unbound.bindEntry(nullptr), 0);
        QVERIFY(!unbound.copy() && !unbound.isModified() && unbound.textLength() == 0);
    }

    void accessibleTextFollowsTheEntry() {
        installAccessibility();
        Harness h;
        h.type("Fe2O3");
        h.edit->setSelection(1, 2);
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(h.edit);
        QVERIFY(a != nullptr && a->textInterface() != nullptr);
        QCOMPARE(a->role(), QAccessible::EditableText);
        QCOMPARE(a->text(QAccessible::Name), QStringLiteral("Source:"));
        QCOMPARE(a->text(QAccessible::Value), QStringLiteral("Fe2O3"));
        QAccessibleTextInterface* t = a->textInterface();
        int start = -1, end = -1;
        t->selection(0, &start, &end);
        QCOMPARE(start, 1);
        QCOMPARE(end, 3);
        QCOMPARE(t->cursorPosition(), 3);
        QCOMPARE(t->text(2, 5), QStringLiteral("2O3"));
        t->setSelection(0, 4, 2);  // backwards: the caret at the start
        QCOMPARE(h.selection(), "2..3");
        QCOMPARE(t->cursorPosition(), 2);
    }

    void screenshots() {
        Harness h;
        h.type("Ba(NO3)2");
        h.edit->setSelection(1, 3);
        test::saveScreenshot(*h.edit, QStringLiteral("formula_edit_selection"));
        Harness grey(&test::TestForm::final);
        grey.type("Fe2Qx3");
        QCOMPARE(grey.entry().classify(), Invalid);
        test::saveScreenshot(grey.window, QStringLiteral("formula_edit_invalid"));
    }
};

}  // namespace qv

QTEST_MAIN(qv::FormulaEditTest)
#include "formula_edit_test.moc"
