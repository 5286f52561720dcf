// The controls driven as a user drives them: keys and clicks on the formula
// edit and on the source list, each step checked against the model.

#include <QtTest>
#include <QtWidgets>

#include "controls/accessibility.h"
#include "controls/focus_frame_view.h"
#include "controls/formula_edit.h"
#include "controls/icons.h"
#include "controls/key_translation.h"
#include "controls/ratio_edit.h"
#include "form/edit/key_codes.h"
#include "support/test_form.h"
#include "widget_support.h"

namespace qv {
namespace {

// A form with one formula edit under its label and a line edit to take the
// focus away, as a window would lay them out.
struct Harness {
    explicit Harness(Formula& (test::TestForm::*entry)() = nullptr) {
        test::sharedFonts().applyTo(form.model);
        auto* label = new QLabel(QStringLiteral("&Source:"), &window);
        label->setBuddy(edit);
        for (QWidget* w : std::initializer_list<QWidget*>{label, edit, other}) layout->addWidget(w);
        edit->setFonts(&test::sharedFonts());
        edit->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
        window.resize(220, 100);
        window.show();
        QApplication::setActiveWindow(&window);
        edit->bindEntry(entry ? &(form.*entry)() : &form.row(3));
        edit->setFocus(Qt::OtherFocusReason);
    }
    std::string selection() {
        const auto s = edit->selection();
        return s ? std::to_string(s->first) + ".." + std::to_string(s->last) : "none";
    }
    // Runs the right-click menu, reads its enabled items and picks one.
    QString rightClick(const QString& pick) {
        QString enabled;
        QTimer::singleShot(0, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (menu == nullptr) return;
            for (QAction* a : menu->actions()) {
                if (a->isEnabled()) enabled += a->text() + ' ';
                if (a->text() == pick) menu->setActiveAction(a);
            }
            QTest::keyClick(menu, Qt::Key_Return);
        });
        QTest::mouseClick(edit, Qt::RightButton, {}, QPoint(10, 8));
        return enabled.trimmed();
    }

    test::TestForm form;
    QWidget window;
    FormulaEdit* edit = new FormulaEdit(&window);
    QLineEdit* other = new QLineEdit(&window);
    QVBoxLayout* layout = new QVBoxLayout(&window);
};

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

// An edit, the list showing 8 rows (its height cut to whole rows), an edit.
// It passes the new ratios on to the list, as the main window does.
struct ListWindow : test::TestForm {
    const FormulaFonts& fonts = test::sharedFonts();
    QWidget window;
    QLineEdit* before = new QLineEdit(&window);
    SourceList* list = new SourceList(&window);
    QLineEdit* after = new QLineEdit(&window);
    SourceListConfig config{.model = &model, .fonts = &fonts};

    ListWindow() {
        fonts.applyTo(model);
        const int rowHeight = SourceList::rowHeightFor(fonts);
        list->setGeometry(10, 40, 540, 8 * rowHeight + rowHeight / 2 + 2 * list->frameWidth());
        after->move(10, list->geometry().bottom() + 10);
        window.resize(560, after->geometry().bottom() + 10);
        QObject::connect(list, &SourceList::moveFocusRequested, list, [this](bool backward) {
            nextTabStop(list, backward)->setFocus(Qt::TabFocusReason);
        });
        window.show();
        QApplication::setActiveWindow(&window);
        list->configure(config);
    }
    void formChanged(FormChange what, int) override {
        if (what != FormChange::Ratio) return;
        list->repaintRows();
        list->refreshRatioEditor();
    }

    void click(int row, SourceList::Column column) { test::clickCell(list, row, column); }
    // Keys go wherever the focus is; the editors' requests are posted.
    void key(Qt::Key k, Qt::KeyboardModifiers mods = {}) {
        QTest::keyClick(QApplication::focusWidget(), k, mods);
        QCoreApplication::processEvents();
    }
    void type(const QString& text) { test::typeKeys(QApplication::focusWidget(), text); }
    // Where editing stands: "F3@2" the formula cell of row 3 on screen row 2,
    // "R3@2" its ratio cell, "-" no editor.
    QString cell() const {
        const bool ratio = list->ratioEditor()->hasFocus();
        QWidget* editor = ratio ? static_cast<QWidget*>(list->ratioEditor()) : list->formulaEditor();
        if (!ratio && !editor->hasFocus()) return "-";
        return (ratio ? "R" : "F") +
               QString("%1@%2").arg(list->editRow()).arg(editor->y() / list->rowHeight());
    }
    // What the list paints in a cell: the bounds of its dark pixels (in device
    // pixels) and its darkest grey.
    std::pair<QRect, int> ink(int row, SourceList::Column column) const {
        const QImage shot = list->viewport()->grab().toImage();
        const qreal scale = shot.devicePixelRatio();
        const QRect cell = list->cellRect(row - list->firstVisibleRow(), column);
        QRect bounds;
        int darkest = 255;
        for (int y = cell.top() * scale; y < (cell.bottom() + 1) * scale; ++y)
            for (int x = cell.left() * scale; x < (cell.right() + 1) * scale; ++x) {
                darkest = std::min(darkest, qGray(shot.pixel(x, y)));
                if (qGray(shot.pixel(x, y)) < 128) bounds |= QRect(x, y, 1, 1);
            }
        return {bounds, darkest};
    }
};

}  // namespace

class ControlsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { installAccessibility(); }

    void keyTranslationFontsAndIcons() {
        const int shift = Qt::ShiftModifier, ctrl = Qt::ControlModifier, pad = Qt::KeypadModifier;
        // Qt's key and modifiers, the key code (-1: none) and modifiers the editors get.
        // clang-format off
        const int rows[][4] = {
            {Qt::Key_J, ctrl | shift, 'J', kModCtrl | kModShift}, {Qt::Key_A, Qt::AltModifier, 'A', kModAlt},
            {Qt::Key_ParenLeft, 0, kKey9, kModShift},         {Qt::Key_Underscore, shift, kKeyMinus, kModShift},
            {Qt::Key_Minus, 0, kKeyMinus, kModNone},          {Qt::Key_Period, ctrl, kKeyPeriod, kModCtrl},
            {Qt::Key_7, pad, kKeyNumpad0 + 7, kModNone},      {Qt::Key_9, pad | shift, kKeyNumpad9, kModShift},
            {Qt::Key_Period, pad, kKeyDecimal, kModNone},     {Qt::Key_Comma, pad, kKeyDecimal, kModNone},
            {Qt::Key_Minus, pad, -1, 0},                      {Qt::Key_Enter, pad, kKeyReturn, kModNone},
            {Qt::Key_Delete, 0, kKeyDelete, kModNone},        {Qt::Key_Semicolon, 0, -1, 0}};
        // clang-format on
        for (const auto& [qtKey, qtMods, code, mods] : rows) {
            const std::optional<VirtualKey> vk =
                translateKey(QKeyEvent(QEvent::KeyPress, qtKey, Qt::KeyboardModifiers(qtMods)));
            QVERIFY2(code < 0 ? !vk : vk == (VirtualKey{code, mods}), qPrintable(QString::number(qtKey, 16)));
        }
        // The formula edits keep only these Ctrl keys from the window's shortcuts.
        for (char c = 'A'; c <= 'Z'; ++c)
            QCOMPARE(formulaKeyMapUses({c, kModCtrl}), QByteArray("ACVXZ").contains(c));
        QVERIFY(formulaKeyMapUses({'J', kModCtrl | kModShift}) &&
                !formulaKeyMapUses({'S', kModCtrl | kModShift}) && formulaKeyMapUses({kKeyHome, kModCtrl}) &&
                formulaKeyMapUses({'N', kModNone}));
        // The fonts measure what they draw; the icons are crisp at 200 %.
        const FormulaFonts& fonts = test::sharedFonts();
        QCOMPARE(QFontInfo(fonts.normalFont()).family() + ' ' + QFontInfo(fonts.listFont()).family(),
                 QStringLiteral("Liberation Serif Liberation Sans"));
        const QFontMetrics normal(fonts.normalFont()), small(fonts.subscriptFont()), list(fonts.listFont());
        QCOMPARE(fonts.widths().widthOf('('), normal.horizontalAdvance(QLatin1Char('(')));
        QCOMPARE(fonts.widths().widthOf('2'), small.horizontalAdvance(QLatin1Char('2')));
        QVERIFY(fonts.widths().widthOf('2') < normal.horizontalAdvance(QLatin1Char('2')));
        // Printable ASCII only: far narrower than the face's widest glyph.
        QCOMPARE(fonts.listMaxCharWidth(), list.horizontalAdvance(QLatin1Char('@')));
        QVERIFY(fonts.listMaxCharWidth() < list.maxWidth());

        const QIcon icons[] = {pegIcon(), nonMetalIcon(), metalIcon()};
        const QColor red(200, 24, 24), centres[] = {red, red, QColor(30, 80, 200)};
        for (int i = 0; i < 3; ++i) {
            const QImage big = icons[i].pixmap(QSize(32, 32), 2.0).toImage();
            // The peg's head lies upper right; the markers fill the middle.
            QVERIFY(big.size() == QSize(64, 64) &&
                    big.pixelColor(i == 0 ? QPoint(44, 26) : QPoint(32, 32)) == centres[i]);
        }
    }

    void typingMenuAccessibilityNavigationAndQueries() {
        Harness h;
        test::typeKeys(h.edit, "Fe2O3)");
        QTest::keyClick(h.edit, Qt::Key_Backspace);
        QVERIFY(h.edit->text() == "Fe2O3" && h.edit->isModified());
        QApplication::clipboard()->setText(QStringLiteral("Ba;"));  // refused: no Paste
        QTest::mouseDClick(h.edit, Qt::LeftButton, {}, QPoint(10, 8));
        QCOMPARE(h.selection(), "0..4");
        // Press on 'e', drag to the end of 'O': "e2O".
        const QPoint origin = h.edit->textOrigin() + QPoint(1, 4);  // the text starts at x 1
        QTest::mousePress(h.edit, Qt::LeftButton, {}, origin + QPoint(h.form.row(3).edit().cells()[1].x, 0));
        const QPoint afterO = origin + QPoint(h.form.row(3).edit().cells()[4].x - 1, 0);
        QTest::mouseMove(h.edit, afterO);
        QTest::mouseRelease(h.edit, Qt::LeftButton, {}, afterO);
        QCOMPARE(h.selection(), "1..3");
        test::saveScreenshot(h.window, QStringLiteral("formula_edit_selection"));
        QCOMPARE(h.rightClick(QStringLiteral("Copy")), QStringLiteral("Copy Cut Delete"));
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("e2O"));
        QVERIFY(h.selection() == "1..3" && h.edit->isVisible());  // the menu keeps both
        QCOMPARE(h.rightClick(QStringLiteral("Delete")), QStringLiteral("Copy Cut Delete Paste"));
        QCOMPARE(h.edit->text(), "F3");
        QTest::keyClick(h.edit, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(h.edit->text(), "Fe2O3");
        // A screen reader reads and moves the selection.
        h.edit->setSelection(1, 2);
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(h.edit);
        QVERIFY(a != nullptr && a->textInterface() != nullptr && a->role() == QAccessible::EditableText);
        QCOMPARE(a->text(QAccessible::Name) + ' ' + a->text(QAccessible::Value),
                 QStringLiteral("Source: Fe2O3"));
        QAccessibleTextInterface* t = a->textInterface();
        int start = -1, end = -1;
        t->selection(0, &start, &end);
        QCOMPARE(QList<int>({start, end, t->cursorPosition()}), QList<int>({1, 3, 3}));
        QCOMPARE(t->text(2, 5), QStringLiteral("2O3"));
        t->setSelection(0, 4, 2);  // backwards: the caret at the start
        QCOMPARE(h.selection() + '@' + std::to_string(t->cursorPosition()), "2..3@2");
        test::Requests requests(h.edit);
        QTest::keyClick(h.edit, Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(requests.seen, " f1");  // at once
        QTest::keyClick(h.edit, Qt::Key_Return, Qt::ShiftModifier);
        for (Qt::Key key : {Qt::Key_Down, Qt::Key_PageDown}) QTest::keyClick(h.edit, key);
        QCOMPARE(requests.seen, " f1");  // the rest only after the key
        QCoreApplication::processEvents();
        QCOMPARE(requests.seen, " f1 s1 s0 p34");
        QApplication::setActiveWindow(&h.window);  // the menus took the focus
        QVERIFY(h.edit->setText("Qx3"));           // drawn grey
        test::saveScreenshot(h.window, QStringLiteral("formula_edit_invalid"));

        // The queries a caller makes answer like a line edit's; the focus leaving hides the row editor.
        QVERIFY(h.edit->setText("BaCO3") && !h.edit->setText("Ba,O") && h.edit->text() == "BaCO3");
        h.edit->setSelection(0, 1);
        QVERIFY(h.edit->replaceSelection("Sr") && h.edit->text() == "SrCO3");
        h.other->setFocus(Qt::TabFocusReason);
        QVERIFY(!h.edit->isVisible() && h.form.row(3).edit().caret() == 0);
        h.edit->setSelection(0, 1);
        QVERIFY(h.edit->clear() && h.edit->text() == "CO3");
        h.edit->undo();
        QVERIFY(h.edit->text() != "CO3");
        FormulaEdit unbound;
        unbound.show();
        unbound.setSelection(0, 1);
        unbound.undo();
        QTest::keyClick(&unbound, Qt::Key_A);
        QTest::mouseDClick(&unbound, Qt::LeftButton);  // nothing to edit, nothing happens
        QVERIFY(!unbound.copy() && !unbound.cut() && !unbound.paste() && !unbound.clear() &&
                !unbound.isModified());
        QVERIFY(!unbound.setText("H") && !unbound.replaceSelection("H") && !unbound.selection());

        Harness final(&test::TestForm::final);  // not in the list: no steps
        test::Requests finalRequests(final.edit);
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Up}) QTest::keyClick(final.edit, key);
        QCoreApplication::processEvents();
        QCOMPARE(finalRequests.seen, "");
        final.other->setFocus(Qt::TabFocusReason);
        QVERIFY(final.edit->isVisible());
    }

    void ratioEditFilterKeysAndHiding() {
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

        // The key, its modifiers, then the requests it posts and the caret, with "12.5" typed:
        // Home moves the caret too, Left is the edit's own.
        const std::tuple<Qt::Key, int, const char*> keys[] = {
            // clang-format off
            {Qt::Key_Tab, 0, " f0@4"},   {Qt::Key_Backtab, Qt::ShiftModifier, " f1@4"}, {Qt::Key_Return, 0, " s0@4"},
            {Qt::Key_Return, Qt::ShiftModifier, " s1@4"}, {Qt::Key_Enter, Qt::KeypadModifier, " s0@4"},
            {Qt::Key_Up, 0, " s1@4"},    {Qt::Key_Down, 0, " s0@4"},     {Qt::Key_PageUp, 0, " p33@4"},
            {Qt::Key_PageDown, 0, " p34@4"}, {Qt::Key_End, 0, " p35@4"}, {Qt::Key_Home, 0, " p36@0"},
            {Qt::Key_Left, 0, "@3"},
            // clang-format on
        };
        for (const auto& [key, mods, expected] : keys) {
            RatioWindow w;
            QTest::keyClicks(w.ratio, "12.5");
            test::Requests requests(w.ratio);
            QTest::keyClick(w.ratio, key, Qt::KeyboardModifiers(mods));
            QCOMPARE(requests.seen, "");  // posted, not sent
            QCoreApplication::processEvents();
            QCOMPARE(requests.seen + '@' + QString::number(w.ratio->cursorPosition()), expected);
            QVERIFY(w.ratio->text() == "12.5" && w.ratio->hasFocus());  // the owner moves the focus
        }
        RatioWindow pasted;  // Ctrl passes everything
        QApplication::clipboard()->setText("Fe2O3");
        QTest::keyClick(pasted.ratio, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(pasted.ratio->text(), "Fe2O3");
        // Focus leaving: the row editor, the row editor under a context menu, the final ratio.
        for (auto [stay, reason, visible] :
             {std::tuple{false, Qt::MouseFocusReason, false}, std::tuple{false, Qt::PopupFocusReason, true},
              std::tuple{true, Qt::MouseFocusReason, true}}) {
            auto* ratio = new RatioEdit(&pasted.top, stay);
            ratio->show();
            QFocusEvent out(QEvent::FocusOut, reason);
            QApplication::sendEvent(ratio, &out);
            QCOMPARE(ratio->isVisible(), visible);
        }
    }

    void listEditingLayoutPegsRatiosAndAccessibleCells() {
        ListWindow w;
        w.before->setFocus();
        w.key(Qt::Key_Tab);  // into the list: the editor opens on row 0
        QCOMPARE(w.cell(), "F0@0");
        w.type("Fe2O3");
        w.key(Qt::Key_Down);
        w.key(Qt::Key_Tab);
        QVERIFY(w.after->hasFocus() && w.cell() == "-" && !w.list->ratioEditor()->isVisible());
        w.key(Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(w.cell(), "R0@0");
        w.key(Qt::Key_Backtab, Qt::ShiftModifier);
        QVERIFY(w.before->hasFocus() && !w.list->ratioEditor()->isVisible() &&
                !w.list->formulaEditor()->isVisible());
        // Page Down moves the editor to its new row; the scroll bar carries it along.
        w.click(2, SourceList::MaterialColumn);
        w.key(Qt::Key_PageDown);
        w.type("TiO2");
        QCOMPARE(w.row(10).text() + '|' + w.row(2).text(), "TiO2|");
        w.key(Qt::Key_Down);
        w.list->verticalScrollBar()->setValue(3);  // the scroll bar moves the editor along
        QCOMPARE(w.cell(), "R5@2");
        w.list->clear();
        QCOMPARE(w.list->firstVisibleRow() + w.list->editRow() + w.row(10).text().size(), size_t(0));
        QCOMPARE(w.list->activeEditor(), SourceList::Editor::None);
        // The layout, unchanged by the editing above: rows on a page, page height, scrolling range, the four
        // column widths, the frame, the peg column. Then configuring refused.
        const int m = w.fonts.listMaxCharWidth(), client = w.list->viewport()->width(),
                  border = w.list->viewport()->x();
        QCOMPARE(QList<int>({w.list->rowsPerPage(), w.list->viewport()->height(),
                             w.list->verticalScrollBar()->maximum(), w.config.numberWidth,
                             w.config.materialWidth, w.config.fixWidth, w.config.ratioWidth,
                             w.config.borderWidth, w.list->columnX(SourceList::FixColumn)}),
                 QList<int>({8, 8 * w.list->rowHeight(), 30 - 8, 3 * m, client - 12 * m, 2 * m, 7 * m, border,
                             border + client - 9 * m}));
        QVERIFY(w.list->rowHeight() - 1 >= w.list->formulaEditor()->sizeHint().height());
        SourceList orphan, child(&w.window);
        SourceListConfig tooMany{.model = &w.model, .rowCount = 31, .fonts = &w.fonts},
            noFonts{.model = &w.model};
        using enum SourceList::Setup;
        QCOMPARE(QList({w.list->configure(w.config), orphan.configure(w.config), child.configure(tooMany),
                        child.configure(noFonts)}),
                 QList({AlreadyConfigured, NoParent, BadRowCount, MissingParameter}));
        QVERIFY(!child.isConfigured());

        // On the cleared list: pegs, typed and solved ratios, what a screen reader and the eye see.
        w.click(0, SourceList::MaterialColumn);  // barium carbonate pegged at 1 and titania
        w.type("BaCO3\n1\nTiO2\t");
        w.click(1, SourceList::RatioColumn);  // the free titania row
        QCOMPARE(w.list->ratioEditor()->text(), "");
        w.setText(w.final(), "BaTiO3");  // the solver finds 1 and the open editor shows it
        w.typeFinalRatio("1");
        QCOMPARE(w.list->ratioEditor()->text(), "1");
        QVERIFY(!w.row(1).fixed() && !w.model.editorUpdateGuard());  // written, not typed
        // A screen reader reads the cells.
        QAccessibleInterface* table = QAccessible::queryAccessibleInterface(w.list);
        QAccessibleTableInterface* t = table->tableInterface();
        QCOMPARE(QList<int>({t->rowCount(), t->columnCount(), table->childCount()}),
                 QList<int>({30, 4, 120}));
        QCOMPARE(t->columnDescription(1), "Source Material");
        QStringList read;
        for (int index = 0; index < 8; ++index) read << table->child(index)->text(QAccessible::Name);
        QCOMPARE(read, QStringList({"1", "BaCO3", "fixed", "1", "2", "TiO2", "free", "1"}));
        QAccessibleInterface* cell = t->cellAt(29, 0);
        QAccessibleTableCellInterface* c = cell->tableCellInterface();
        QCOMPARE(QList<int>({cell->childCount(), c->rowIndex(), c->rowExtent(), c->columnExtent(),
                             table->indexOfChild(cell)}),
                 QList<int>({0, 29, 1, 1, 29 * 4}));
        QVERIFY(cell->state().offscreen && cell->text(QAccessible::Name) == "30");
        QVERIFY(t->cellAt(0, 2)->state().checked && !t->cellAt(1, 2)->state().checked);  // the pegs
        const QPoint fix =
            w.list->viewport()->mapToGlobal(w.list->cellRect(0, SourceList::FixColumn).center());
        QCOMPARE(table->childAt(fix.x(), fix.y()), t->cellAt(0, 2));
        w.click(4, SourceList::FixColumn);  // an empty row toggles like any other
        QVERIFY(w.row(4).fixed());
        w.click(4, SourceList::FixColumn);
        w.click(4, SourceList::NumberColumn);  // nothing
        QVERIFY(!w.row(4).fixed());

        w.click(3, SourceList::MaterialColumn);
        w.type("TiO2\n2");
        QVERIFY(w.row(3).fixed());  // pegged by the typed ratio
        w.type("-");                // 2- is no number: the row is invalid and its ratio grey
        w.key(Qt::Key_Return);      // leave the cell to see what the list paints there
        const int grey = w.ink(3, SourceList::RatioColumn).second;
        QVERIFY2(grey > 60 && grey < 200, qPrintable(QString::number(grey)));
        // The peg shows on the pegged row only.
        QVERIFY(!w.ink(0, SourceList::FixColumn).first.isEmpty() &&
                w.ink(1, SourceList::FixColumn).first.isEmpty());
        // Formulas are drawn in the formula font: an H as tall as that font's.
        w.click(6, SourceList::MaterialColumn);
        w.type("H\n");
        const int tall = w.ink(6, SourceList::MaterialColumn).first.height() / w.list->devicePixelRatio();
        QVERIFY2(qAbs(tall - QFontMetrics(w.fonts.normalFont()).tightBoundingRect("H").height()) <= 1,
                 qPrintable(QString::number(tall)));
        // Row 9's number has two digits, row 8's one.
        w.list->verticalScrollBar()->setValue(2);
        QVERIFY(w.ink(9, SourceList::NumberColumn).first.width() >
                1.5 * w.ink(8, SourceList::NumberColumn).first.width());
        w.list->verticalScrollBar()->setValue(0);
        test::saveScreenshot(w.window, "source-list");
        w.window.hide();
        QVERIFY(t->cellAt(0, 0)->state().offscreen);
    }

    void walkingCells() {
        // Return, r Shift+Return, Up, Down, Page Down, Home; the cells after each key.
        const std::tuple<const char*, int, const char*> rows[] = {
            {"RRR", 0, "R0@0 F1@1 R1@1"},
            {"rU", 3, "R2@2 F2@2"},
            {"U", 0, "F0@0"},                                                           // no cell above row 0
            {"DDUU", 7, "R7@7 F8@7 R7@6 F7@6"},                                         // scrolling a row
            {"PPPDDDDDD", 5, "F13@5 F21@5 F27@5 R27@5 F28@6 R28@6 F29@7 R29@7 R29@7"},  // none below row 29
            {"PRH", 2, "F10@2 R10@2 R2@2"},
        };
        const QMap<QChar, Qt::Key> map{{'R', Qt::Key_Return}, {'r', Qt::Key_Return},   {'U', Qt::Key_Up},
                                       {'D', Qt::Key_Down},   {'P', Qt::Key_PageDown}, {'H', Qt::Key_Home}};
        for (const auto& [keys, startRow, cells] : rows) {
            ListWindow w;
            w.click(startRow, SourceList::MaterialColumn);
            QStringList seen;
            for (QChar k : QString(keys)) {
                w.key(map[k], k == 'r' ? Qt::ShiftModifier : Qt::NoModifier);
                seen << w.cell();
            }
            QCOMPARE(seen.join(' '), cells);
            QCOMPARE(w.list->verticalScrollBar()->value(), w.list->firstVisibleRow());
        }
    }
};

}  // namespace qv

QTEST_MAIN(qv::ControlsTest)
#include "controls_test.moc"
