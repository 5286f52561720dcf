#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

#include "controls/accessibility.h"
#include "controls/icons.h"
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
        auto* label = new QLabel(QStringLiteral("&Source:"), &window);
        label->setBuddy(edit);
        for (QWidget* w : std::initializer_list<QWidget*>{label, edit, other}) layout->addWidget(w);
        edit->setFonts(&sharedFonts());
        edit->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
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
            const bool shifted = (c >= 'A' && c <= 'Z') || c == '(' || c == ')';
            QTest::keyClick(edit, Qt::Key(c >= 'a' && c <= 'z' ? c - 32 : c),  // '(' is Key_ParenLeft
                            shifted ? Qt::ShiftModifier : Qt::NoModifier);
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
    QVBoxLayout* layout = new QVBoxLayout(&window);
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
        QCOMPARE(h.entry().text() + ' ' + std::to_string(h.entry().classify()), "Fe2O3) -1");
        QTest::keyClick(h.edit, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(h.entry().text() + ' ' + std::to_string(h.entry().classify()), "Fe2O3 1");
        h.edit->setText("");
        h.type("Ca(OH)2");
        QCOMPARE(h.entry().text() + ' ' + std::to_string(h.entry().classify()), "Ca(OH)2 1");
        QVERIFY(h.edit->isModified());
        // An invalid formula is drawn grey.
        h.type("Qx3");
        test::saveScreenshot(h.window, QStringLiteral("formula_edit_invalid"));
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
        QCOMPARE(step, (QList<QVariantList>{{true}, {false}}));
        QCOMPARE(page, QList<QVariantList>{{34}});
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
        const QPoint origin = h.edit->textOrigin() + QPoint(1, 4);  // the text starts at x 1
        QTest::mousePress(h.edit, Qt::LeftButton, {}, origin + QPoint(h.entry().edit.cells[1].x, 0));
        const QPoint afterO = origin + QPoint(h.entry().edit.cells[4].x - 1, 0);
        QTest::mouseMove(h.edit, afterO);
        QTest::mouseRelease(h.edit, Qt::LeftButton, {}, afterO);
        QCOMPARE(h.selection(), "1..3");
        test::saveScreenshot(h.window, QStringLiteral("formula_edit_selection"));
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
        QVERIFY(!h.edit->setText("Ba,O") && h.edit->text() == "BaCO3");
        QVERIFY(!h.edit->selection());
        h.edit->setSelection(0, 1);
        QVERIFY(h.edit->replaceSelection("Sr") && h.edit->text() == "SrCO3");
        h.other->setFocus(Qt::TabFocusReason);
        QVERIFY(!h.edit->isVisible());
        QCOMPARE(h.entry().edit.caret, 0);
        FormulaEdit unbound;
        QVERIFY(unbound.bindEntry(nullptr) == 0 && !unbound.copy() && !unbound.isModified());
    }

    void accessibleTextFollowsTheEntry() {
        installAccessibility();
        Harness h;
        h.type("Fe2O3");
        h.edit->setSelection(1, 2);
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(h.edit);
        QVERIFY(a != nullptr && a->textInterface() != nullptr && a->role() == QAccessible::EditableText);
        QCOMPARE(a->text(QAccessible::Name), QStringLiteral("Source:"));
        QCOMPARE(a->text(QAccessible::Value), QStringLiteral("Fe2O3"));
        QAccessibleTextInterface* t = a->textInterface();
        int start = -1, end = -1;
        t->selection(0, &start, &end);
        QCOMPARE(QList<int>({start, end, t->cursorPosition()}), QList<int>({1, 3, 3}));
        QCOMPARE(t->text(2, 5), QStringLiteral("2O3"));
        t->setSelection(0, 4, 2);  // backwards: the caret at the start
        QCOMPARE(h.selection() + '@' + std::to_string(t->cursorPosition()), "2..3@2");
    }

    void fontsMeasureOnceInDeviceIndependentPixels() {
        const FormulaFonts& fonts = sharedFonts();
        QCOMPARE(QFontInfo(fonts.normalFont()).family(), QStringLiteral("Liberation Serif"));
        QCOMPARE(QFontInfo(fonts.listFont()).family(), QStringLiteral("Liberation Sans"));
        const QFontMetrics normal(fonts.normalFont()), small(fonts.subscriptFont());
        QCOMPARE(fonts.widths().widthOf('('), normal.horizontalAdvance(QLatin1Char('(')));
        QCOMPARE(fonts.widths().widthOf('2'), small.horizontalAdvance(QLatin1Char('2')));
        QVERIFY(fonts.widths().widthOf('2') < normal.horizontalAdvance(QLatin1Char('2')));
        // Printable ASCII only: far narrower than the face's widest glyph.
        const QFontMetrics list(fonts.listFont());
        QCOMPARE(fonts.listMaxCharWidth(), list.horizontalAdvance(QLatin1Char('@')));
        QVERIFY(fonts.listMaxCharWidth() < list.maxWidth());
    }

    void iconsAreCrispAtEveryScale() {
        QWidget strip;
        strip.resize(3 * 36, 36);
        const QIcon icons[] = {pegIcon(), nonMetalIcon(), metalIcon()};
        const QColor red(200, 24, 24), centres[] = {red, red, QColor(30, 80, 200)};
        for (int i = 0; i < 3; ++i) {
            (new QLabel(&strip))->setPixmap(icons[i].pixmap(QSize(32, 32), strip.devicePixelRatioF()));
            strip.children().back()->setProperty("geometry", QRect(36 * i, 0, 36, 36));
            const QImage big = icons[i].pixmap(QSize(32, 32), 2.0).toImage();
            QCOMPARE(big.size(), QSize(64, 64));
            // The peg's head lies upper right; the markers fill the middle.
            QCOMPARE(big.pixelColor(i == 0 ? QPoint(44, 26) : QPoint(32, 32)), centres[i]);
        }
        test::saveScreenshot(strip, QStringLiteral("icons"));
    }
};

}  // namespace qv

QTEST_MAIN(qv::FormulaEditTest)
#include "formula_edit_test.moc"
