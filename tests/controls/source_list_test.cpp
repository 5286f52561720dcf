// The source list driven as a user drives it: clicks in its cells, keys in
// its editors, Tab in and out; each step checked against the model.

#include <QAccessible>
#include <QApplication>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>

#include "controls/focus_frame_view.h"
#include "controls/formula_edit.h"
#include "controls/formula_fonts.h"
#include "controls/ratio_edit.h"
#include "controls/source_list.h"
#include "controls/accessibility.h"
#include "form/edit/formula_editing.h"
#include "form/edit/key_codes.h"
#include "form/memory_views.h"
#include "form/model.h"
#include "support/element_file.h"
#include "widget_support.h"

using qv::SourceList;

namespace {

// The in-memory form, with the list's two repaint duties passed on to it as
// the main window does.
class ListFormView : public qv::MemoryFormView {
public:
    using MemoryFormView::MemoryFormView;
    SourceList* list = nullptr;
    void repaintSourceList() override {
        MemoryFormView::repaintSourceList();
        if (list != nullptr) list->repaintRows();
    }
    void refreshRatioEditor() override {
        MemoryFormView::refreshRatioEditor();
        if (list != nullptr) list->refreshRatioEditor();
    }
};

// A window with an edit before the list and one after it, the list holding
// `visibleRows` rows (its height is cut to whole rows).
struct ListWindow {
    qv::Model model;
    qv::MemoryElementList include;
    qv::MemoryElementList exclude;
    ListFormView form{model, include, exclude};
    const qv::FormulaFonts& fonts = qv::test::sharedFonts();
    QWidget window;
    QLineEdit* before = new QLineEdit(&window);
    SourceList* list = new SourceList(&window);
    QLineEdit* after = new QLineEdit(&window);
    qv::SourceListConfig config;

    explicit ListWindow(int visibleRows = 8) {
        qv::test::loadElementText(model.elementTable, qv::test::kSmallElementFile);
        model.clearAll();
        fonts.applyTo(model);
        form.list = list;
        const int rowHeight = SourceList::rowHeightFor(fonts);
        before->setGeometry(10, 10, 200, 24);
        list->setGeometry(10, 44, 540, visibleRows * rowHeight + rowHeight / 2 + 2 * list->frameWidth());
        after->setGeometry(10, 60 + (visibleRows + 1) * rowHeight + 30, 200, 24);
        window.resize(560, after->geometry().bottom() + 10);
        QObject::connect(list, &SourceList::moveFocusRequested, list, [this](bool backward) {
            if (QWidget* next = qv::nextTabStop(list, backward)) next->setFocus(Qt::TabFocusReason);
        });
        window.show();
        QApplication::setActiveWindow(&window);
        config.model = &model;
        config.fonts = &fonts;
        list->configure(config);
        form.log.clear();
    }

    qv::Formula& row(int index) { return model.source(index); }
    QPoint cellCenter(int row, SourceList::Column column) const {
        return list->cellRect(row - list->firstVisibleRow(), column).center();
    }
    void click(int row, SourceList::Column column) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cellCenter(row, column));
    }
    // Keys go to whichever widget has the focus, as they do for a user.
    void key(Qt::Key k, Qt::KeyboardModifiers mods = {}) {
        QWidget* target = QApplication::focusWidget();
        QVERIFY(target != nullptr);
        QTest::keyClick(target, k, mods);
        QCoreApplication::processEvents();  // the editors post their requests
    }
    void type(const QString& text) {
        qv::test::typeKeys(QApplication::focusWidget(), text);
        QCoreApplication::processEvents();
    }
    // The solver announces every run with the Include count.
    int solverRuns() const {
        return int(std::count_if(form.log.begin(), form.log.end(),
                                 [](const std::string& line) { return line.rfind("1022=", 0) == 0; }));
    }
    // Where editing stands: "F3" formula cell of row 3, "R3" its ratio cell,
    // plus the screen row the open editor sits on.
    QString cell() const {
        const bool formula = list->formulaEditor()->hasFocus();
        const bool ratio = list->ratioEditor()->hasFocus();
        QWidget* editor = formula ? static_cast<QWidget*>(list->formulaEditor()) : list->ratioEditor();
        const int screenRow = editor->geometry().top() / list->rowHeight();
        return QString("%1%2@%3")
            .arg(formula ? "F" : ratio ? "R" : "-")
            .arg(list->editRow())
            .arg(formula || ratio ? screenRow : -1);
    }
    // The final compound with ratio 1, as the main window's two edits set it.
    void setFinal(std::string_view formula) {
        qv::setText(model.finalCompound, formula);
        form.setControlText(qv::ControlId::FinalRatio, "1");
    }
    // Barium titanate from barium carbonate (pegged at 1) and titania.
    void fillBariumTitanate(bool withFinal = true) {
        if (withFinal) setFinal("BaTiO3");
        click(0, SourceList::MaterialColumn);
        type("BaCO3");
        key(Qt::Key_Return);
        type("1");
        key(Qt::Key_Return);
        type("TiO2");
        key(Qt::Key_Tab);
    }
};

}  // namespace

class SourceListTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { qv::installAccessibility(); }

    void configureLaysOutColumns() {
        ListWindow w(8);
        const int m = w.fonts.listMaxCharWidth();
        const int client = w.list->viewport()->width();
        QCOMPARE(w.list->rowsPerPage(), 8);
        QCOMPARE(w.list->viewport()->height(), 8 * w.list->rowHeight());
        QCOMPARE(w.config.numberWidth, 3 * m);
        QCOMPARE(w.config.fixWidth, 2 * m);
        QCOMPARE(w.config.ratioWidth, 7 * m);
        QCOMPARE(w.config.materialWidth, client - 12 * m);
        QCOMPARE(w.config.borderWidth, w.list->viewport()->x());
        QCOMPARE(w.list->columnX(SourceList::FixColumn), w.config.borderWidth + 3 * m + client - 12 * m);
        QCOMPARE(w.list->verticalScrollBar()->maximum(), 30 - 8);
        QCOMPARE(w.list->rowCount(), 30);
        // The row height leaves the formula editor room for its caret band.
        QVERIFY(w.list->rowHeight() - 1 >= w.list->formulaEditor()->sizeHint().height());
    }

    void configureRefusals() {
        ListWindow w(4);
        qv::SourceListConfig again = w.config;
        QVERIFY(!w.list->configure(again));
        SourceList orphan;
        qv::SourceListConfig config;
        config.model = &w.model;
        config.fonts = &w.fonts;
        QVERIFY(!orphan.configure(config));
        SourceList child(&w.window);
        config.rowCount = 31;
        QVERIFY(!child.configure(config));
        config.rowCount = 30;
        config.fonts = nullptr;
        QVERIFY(!child.configure(config));
        QCOMPARE(w.form.fatals.size(), size_t(4));
        QCOMPARE(w.form.fatals[0].text, "Multiple initialization attempt.");
        QCOMPARE(w.form.fatals[1].text, "Initialization attempt by non-parent.");
        QCOMPARE(w.form.fatals[3].text, "NULL parameter passed to Initialization.");
        QVERIFY(!child.isConfigured());
    }

    void tabOutAndBackIn() {
        ListWindow w;
        w.before->setFocus();
        w.key(Qt::Key_Tab);  // into the list: the editor opens on row 0
        QCOMPARE(w.cell(), "F0@0");
        w.type("Fe2O3");
        QCOMPARE(w.row(0).text(), "Fe2O3");
        QCOMPARE(w.row(0).classify(), qv::Free);
        w.key(Qt::Key_Down);
        w.key(Qt::Key_Tab);
        QVERIFY(w.after->hasFocus());
        QVERIFY(!w.list->ratioEditor()->isVisible());
        w.key(Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(w.cell(), "R0@0");
        w.key(Qt::Key_Backtab, Qt::ShiftModifier);
        QVERIFY(w.before->hasFocus());
        QVERIFY(!w.list->ratioEditor()->isVisible() && !w.list->formulaEditor()->isVisible());
    }

    void walkingCells_data() {
        // Return, r Shift+Return, Up, Down, Page Down, Home; the cells after each key.
        QTest::addColumn<QString>("keys");
        QTest::addColumn<int>("startRow");
        QTest::addColumn<QString>("cells");
        QTest::newRow("return walks down") << "RRR" << 0 << "R0@0 F1@1 R1@1";
        QTest::newRow("shift+return and up walk back") << "rU" << 3 << "R2@2 F2@2";
        QTest::newRow("no cell above row 0") << "U" << 0 << "F0@0";
        QTest::newRow("down and up scroll a row") << "DDUU" << 7 << "R7@7 F8@7 R7@6 F7@6";
        QTest::newRow("pages keep the screen row, no cell below row 29")
            << "PPPDDDDDD" << 5 << "F13@5 F21@5 F27@5 R27@5 F28@6 R28@6 F29@7 R29@7 R29@7";
        QTest::newRow("home from the ratio editor") << "PRH" << 2 << "F10@2 R10@2 R2@2";
    }
    void walkingCells() {
        QFETCH(QString, keys);
        QFETCH(int, startRow);
        QFETCH(QString, cells);
        ListWindow w(8);
        w.click(startRow, SourceList::MaterialColumn);
        const QMap<QChar, Qt::Key> map{{'R', Qt::Key_Return}, {'r', Qt::Key_Return}, {'U', Qt::Key_Up},
                                       {'D', Qt::Key_Down}, {'P', Qt::Key_PageDown}, {'H', Qt::Key_Home}};
        QStringList seen;
        for (QChar k : keys) {
            w.key(map[k], k == 'r' ? Qt::ShiftModifier : Qt::NoModifier);
            seen << w.cell();
        }
        QCOMPARE(seen.join(' '), cells);
        QCOMPARE(w.list->verticalScrollBar()->value(), w.list->firstVisibleRow());
    }

    void pagedEditorEditsItsNewRow() {
        ListWindow w(8);
        w.click(2, SourceList::MaterialColumn);
        w.key(Qt::Key_PageDown);
        w.type("TiO2");
        QCOMPARE(w.row(10).text(), "TiO2");
        QCOMPARE(w.row(2).text(), "");
        w.key(Qt::Key_Down);
        w.list->verticalScrollBar()->setValue(3);  // the scroll bar moves the editor along
        QCOMPARE(w.cell(), "R5@2");
    }

    void pegClickRunsTheSolverOnce() {
        ListWindow w;
        w.fillBariumTitanate();
        QCOMPARE(w.row(1).ratioText, "1");
        w.form.log.clear();
        w.click(4, SourceList::FixColumn);  // an empty row toggles like any other
        QVERIFY(w.row(4).fixed);
        QCOMPARE(w.solverRuns(), 1);
        QCOMPARE(w.form.log.front(), "output=0");
        w.click(4, SourceList::FixColumn);
        QVERIFY(!w.row(4).fixed);
        QCOMPARE(w.solverRuns(), 2);
        QCOMPARE(w.row(4).ratioText, "");
        w.click(0, SourceList::NumberColumn);  // the number column does nothing
        QCOMPARE(w.solverRuns(), 2);
    }

    void ratioTyping() {
        ListWindow w;
        w.click(3, SourceList::MaterialColumn);
        w.type("TiO2");
        w.key(Qt::Key_Return);
        QCOMPARE(w.cell(), "R3@3");
        w.form.log.clear();
        w.type("2");
        QVERIFY(w.row(3).fixed);
        QCOMPARE(w.row(3).ratio, 2.0);
        QCOMPARE(w.model.fixedEntries.count(3), size_t(1));
        QCOMPARE(w.solverRuns(), 1);
        w.type("-");  // 2- is no number: the row is invalid and its ratio grey
        QVERIFY(!w.row(3).ratioValid);
        QCOMPARE(w.model.invalidEntries.count(3), size_t(1));
        QCOMPARE(w.row(3).classify(), qv::Invalid);
        w.key(Qt::Key_Return);  // leave the cell to see what the list paints there
        const QImage shot = w.list->viewport()->grab().toImage();
        const QRect ratioCell = w.list->cellRect(3, SourceList::RatioColumn);
        int darkest = 255;
        for (int y = ratioCell.top(); y <= ratioCell.bottom(); ++y)
            for (int x = ratioCell.left(); x <= ratioCell.right(); ++x)
                darkest = std::min(darkest, qGray(shot.pixel(x * shot.devicePixelRatio(), y * shot.devicePixelRatio())));
        QVERIFY2(darkest > 60 && darkest < 200, qPrintable(QString("darkest %1").arg(darkest)));
    }

    void solverRefreshesTheOpenRatioEditor() {
        ListWindow w;
        w.fillBariumTitanate(false);
        w.click(1, SourceList::RatioColumn);
        QCOMPARE(w.list->ratioEditor()->text(), "");
        w.setFinal("BaTiO3");  // the solver runs and finds 1
        QCOMPARE(w.row(1).ratioText, "1");
        QCOMPARE(w.list->ratioEditor()->text(), "1");
        QVERIFY(!w.row(1).fixed);  // the editor was written, not typed into
        QVERIFY(!w.model.editorUpdateGuard);
    }

    void accessibleCells() {
        ListWindow w;
        w.fillBariumTitanate();
        QAccessibleInterface* table = QAccessible::queryAccessibleInterface(w.list);
        QVERIFY(table != nullptr && table->tableInterface() != nullptr);
        QAccessibleTableInterface* t = table->tableInterface();
        QCOMPARE(t->rowCount(), 30);
        QCOMPARE(t->columnCount(), 4);
        QCOMPARE(t->columnDescription(1), "Source Material");
        const QStringList expected{"1", "BaCO3", "fixed", "1", "2", "TiO2", "free", "1"};
        QStringList read;
        for (int row = 0; row < 2; ++row)
            for (int column = 0; column < 4; ++column) read << t->cellAt(row, column)->text(QAccessible::Name);
        QCOMPARE(read, expected);
        QAccessibleInterface* cell = t->cellAt(29, 0);
        QCOMPARE(cell->text(QAccessible::Name), "30");
        QVERIFY(cell->state().offscreen);
        QCOMPARE(table->indexOfChild(cell), 29 * 4);
        QCOMPARE(table->child(29 * 4), cell);
        QVERIFY(cell->tableCellInterface()->table() == table);
        const QPoint fix = w.list->viewport()->mapToGlobal(w.cellCenter(0, SourceList::FixColumn));
        QCOMPARE(table->childAt(fix.x(), fix.y()), t->cellAt(0, 2));
    }

    void screenshot() {
        ListWindow w(8);
        w.fillBariumTitanate();
        w.click(2, SourceList::MaterialColumn);
        w.type("Fe2O3-");
        w.key(Qt::Key_Return);
        qv::test::saveScreenshot(w.window, "source-list");
    }
};

QTEST_MAIN(SourceListTest)
#include "source_list_test.moc"
