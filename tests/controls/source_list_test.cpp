// The source list driven as a user drives it: clicks in its cells, keys in
// its editors, Tab in and out; each step checked against the model.

#include <QAccessible>
#include <QApplication>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>

#include "controls/accessibility.h"
#include "controls/focus_frame_view.h"
#include "controls/formula_edit.h"
#include "controls/formula_fonts.h"
#include "controls/ratio_edit.h"
#include "controls/source_list.h"
#include "form/edit/formula_editing.h"
#include "form/memory_views.h"
#include "form/model.h"
#include "support/element_file.h"
#include "widget_support.h"

using qv::SourceList;

namespace {

// The in-memory form, passing the solver's two list duties on as the main
// window does.
class ListFormView : public qv::MemoryFormView {
public:
    using MemoryFormView::MemoryFormView;
    SourceList* list = nullptr;
    void repaintSourceList() override { MemoryFormView::repaintSourceList(), list->repaintRows(); }
    void refreshRatioEditor() override { MemoryFormView::refreshRatioEditor(), list->refreshRatioEditor(); }
};

// An edit, the list showing 8 rows (its height cut to whole rows), an edit.
struct ListWindow {
    qv::Model model;
    qv::MemoryElementList include, exclude;
    ListFormView form{model, include, exclude};
    const qv::FormulaFonts& fonts = qv::test::sharedFonts();
    QWidget window;
    QLineEdit* before = new QLineEdit(&window);
    SourceList* list = new SourceList(&window);
    QLineEdit* after = new QLineEdit(&window);
    qv::SourceListConfig config;

    ListWindow() {
        qv::test::loadElementText(model.elementTable, qv::test::kSmallElementFile);
        model.clearAll();
        fonts.applyTo(model);
        form.list = list;
        const int rowHeight = SourceList::rowHeightFor(fonts);
        list->setGeometry(10, 40, 540, 8 * rowHeight + rowHeight / 2 + 2 * list->frameWidth());
        after->move(10, list->geometry().bottom() + 10);
        window.resize(560, after->geometry().bottom() + 10);
        QObject::connect(list, &SourceList::moveFocusRequested, list, [this](bool backward) {
            qv::nextTabStop(list, backward)->setFocus(Qt::TabFocusReason);
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
    // Keys go wherever the focus is; the editors' requests are posted.
    void key(Qt::Key k, Qt::KeyboardModifiers mods = {}) {
        QTest::keyClick(QApplication::focusWidget(), k, mods);
        QCoreApplication::processEvents();
    }
    void type(const QString& text) { qv::test::typeKeys(QApplication::focusWidget(), text); }
    // The solver announces every run with the Include count.
    int solverRuns() const {
        return int(std::count_if(form.log.begin(), form.log.end(),
                                 [](const std::string& line) { return line.rfind("1022=", 0) == 0; }));
    }
    // Where editing stands: "F3@2" the formula cell of row 3 on screen row 2,
    // "R3@2" its ratio cell, "-" no editor.
    QString cell() const {
        QWidget* editor = list->formulaEditor()->hasFocus() ? static_cast<QWidget*>(list->formulaEditor())
                          : list->ratioEditor()->hasFocus() ? list->ratioEditor() : nullptr;
        if (editor == nullptr) return "-";
        return QString("%1%2@%3").arg(editor == list->ratioEditor() ? "R" : "F").arg(list->editRow())
            .arg(editor->geometry().top() / list->rowHeight());
    }
    void setFinal(std::string_view formula) {
        qv::setText(model.finalCompound, formula);
        form.setControlText(qv::ControlId::FinalRatio, "1");
    }
    // Barium carbonate pegged at 1 and titania, for barium titanate.
    void fillBariumTitanate() {
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
        ListWindow w;
        const int m = w.fonts.listMaxCharWidth();
        const int client = w.list->viewport()->width();
        QCOMPARE(w.list->rowsPerPage(), 8);
        QCOMPARE(w.list->viewport()->height(), 8 * w.list->rowHeight());
        QCOMPARE(QList<int>({w.config.numberWidth, w.config.materialWidth, w.config.fixWidth, w.config.ratioWidth}),
                 QList<int>({3 * m, client - 12 * m, 2 * m, 7 * m}));
        QCOMPARE(w.config.borderWidth, w.list->viewport()->x());
        QCOMPARE(w.list->columnX(SourceList::FixColumn), w.config.borderWidth + client - 9 * m);
        QCOMPARE(w.list->verticalScrollBar()->maximum(), 30 - 8);
        QVERIFY(w.list->rowHeight() - 1 >= w.list->formulaEditor()->sizeHint().height());
    }

    void configureRefusals() {
        ListWindow w;
        qv::SourceListConfig config = w.config;
        QVERIFY(!w.list->configure(config));
        SourceList orphan, child(&w.window);
        QVERIFY(!orphan.configure(config));
        config.rowCount = 31;
        QVERIFY(!child.configure(config));
        config.rowCount = 30;
        config.fonts = nullptr;
        QVERIFY(!child.configure(config));
        QStringList texts;
        for (const auto& fatal : w.form.fatals) texts << QString::fromStdString(fatal.text);
        QCOMPARE(texts, QStringList({"Multiple initialization attempt.", "Initialization attempt by non-parent.",
                                     "Row count out of range in Initialization.",
                                     "NULL parameter passed to Initialization."}));
        QVERIFY(!child.isConfigured());
    }

    void tabOutAndBackIn() {
        ListWindow w;
        QSignalSpy hidden(w.list, &SourceList::hiddenMessageRequested);
        w.before->setFocus();
        w.key(Qt::Key_Tab);  // into the list: the editor opens on row 0
        QCOMPARE(w.cell(), "F0@0");
        w.type("Fe2O3");
        QCOMPARE(w.row(0).classify(), qv::Free);
        w.key(Qt::Key_J, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(hidden.count(), 1);
        w.key(Qt::Key_Down);
        w.key(Qt::Key_Tab);
        QVERIFY(w.after->hasFocus());
        QCOMPARE(w.cell(), "-");
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
        ListWindow w;
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

    void movedEditorEditsItsNewRow() {
        ListWindow w;
        w.click(2, SourceList::MaterialColumn);
        w.key(Qt::Key_PageDown);
        w.type("TiO2");
        QCOMPARE(w.row(10).text(), "TiO2");
        QCOMPARE(w.row(2).text(), "");
        w.key(Qt::Key_Down);
        w.list->verticalScrollBar()->setValue(3);  // the scroll bar moves the editor along
        QCOMPARE(w.cell(), "R5@2");
        w.list->clear();
        QCOMPARE(w.list->firstVisibleRow() + w.list->editRow() + w.row(10).text().size(), size_t(0));
        QCOMPARE(w.list->activeEditor(), SourceList::Editor::None);
    }

    void pegClickAndSolverRuns() {
        ListWindow w;
        w.fillBariumTitanate();
        w.click(1, SourceList::RatioColumn);  // the free titania row
        QCOMPARE(w.list->ratioEditor()->text(), "");
        w.setFinal("BaTiO3");  // the solver finds 1 and the open editor shows it
        QCOMPARE(w.list->ratioEditor()->text(), "1");
        QVERIFY(!w.row(1).fixed && !w.model.editorUpdateGuard);  // written, not typed
        w.form.log.clear();
        w.click(4, SourceList::FixColumn);  // an empty row toggles like any other
        QVERIFY(w.row(4).fixed);
        QCOMPARE(w.solverRuns(), 1);
        QCOMPARE(w.form.log.front(), "output=0");
        w.click(4, SourceList::FixColumn);
        w.click(4, SourceList::NumberColumn);  // nothing
        QVERIFY(!w.row(4).fixed);
        QCOMPARE(w.solverRuns(), 2);
    }

    void ratioTyping() {
        ListWindow w;
        w.click(3, SourceList::MaterialColumn);
        w.type("TiO2");
        w.key(Qt::Key_Return);
        w.form.log.clear();
        w.type("2");
        QVERIFY(w.row(3).fixed);
        QCOMPARE(w.row(3).ratio, 2.0);
        QCOMPARE(w.solverRuns(), 1);
        w.type("-");  // 2- is no number: the row is invalid and its ratio grey
        QCOMPARE(w.model.invalidEntries.count(3), size_t(1));
        w.key(Qt::Key_Return);  // leave the cell to see what the list paints there
        const QImage shot = w.list->viewport()->grab().toImage();
        const QRect cell = w.list->cellRect(3, SourceList::RatioColumn);
        const qreal scale = shot.devicePixelRatio();
        int darkest = 255;
        for (int y = cell.top(); y <= cell.bottom(); ++y)
            for (int x = cell.left(); x <= cell.right(); ++x)
                darkest = std::min(darkest, qGray(shot.pixel(x * scale, y * scale)));
        QVERIFY2(darkest > 60 && darkest < 200, qPrintable(QString::number(darkest)));
    }

    void accessibleCellsAndScreenshot() {
        ListWindow w;
        w.setFinal("BaTiO3");
        w.fillBariumTitanate();
        QAccessibleInterface* table = QAccessible::queryAccessibleInterface(w.list);
        QAccessibleTableInterface* t = table->tableInterface();
        QCOMPARE(QList<int>({t->rowCount(), t->columnCount(), table->childCount()}), QList<int>({30, 4, 120}));
        QCOMPARE(t->columnDescription(1), "Source Material");
        QStringList read;
        for (int index = 0; index < 8; ++index) read << table->child(index)->text(QAccessible::Name);
        QCOMPARE(read, QStringList({"1", "BaCO3", "fixed", "1", "2", "TiO2", "free", "1"}));
        QAccessibleInterface* cell = t->cellAt(29, 0);
        QCOMPARE(cell->text(QAccessible::Name), "30");
        QVERIFY(cell->state().offscreen);
        QCOMPARE(table->indexOfChild(cell), 29 * 4);
        const QPoint fix = w.list->viewport()->mapToGlobal(w.cellCenter(0, SourceList::FixColumn));
        QCOMPARE(table->childAt(fix.x(), fix.y()), t->cellAt(0, 2));
        w.click(2, SourceList::MaterialColumn);
        w.type("Fe2O3-");
        w.key(Qt::Key_Return);
        qv::test::saveScreenshot(w.window, "source-list");
    }
};

QTEST_MAIN(SourceListTest)
#include "source_list_test.moc"
