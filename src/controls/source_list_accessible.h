#pragma once
// The source list as a screen reader sees it: a table of rows by four
// columns whose cells read as the row number, the formula, "fixed" or
// "free", and the ratio.

#include <QAccessibleWidget>
#include <QPointer>
#include <vector>

namespace qv {

class SourceList;

class SourceListAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit SourceListAccessible(SourceList* list);
    ~SourceListAccessible() override;

    void* interface_cast(QAccessible::InterfaceType type) override;
    QAccessible::Role role() const override { return QAccessible::Table; }
    QString text(QAccessible::Text t) const override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;

    // QAccessibleTableInterface; the list has no selection of rows or columns.
    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override;
    int selectedCellCount() const override { return 0; }
    QList<QAccessibleInterface*> selectedCells() const override { return {}; }
    QString columnDescription(int column) const override;
    QString rowDescription(int row) const override;
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    int columnCount() const override;
    int rowCount() const override;
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent*) override {}

    SourceList* list() const;

private:
    mutable std::vector<QAccessible::Id> cells_;  // registered on first use
};

// Tells assistive technology which cells (row, column) now read differently:
// one table data change over them, then each changed formula or ratio as a
// new name and each peg as its Fix cell's checked state.
void announceCellChanges(SourceList* list, const std::vector<std::pair<int, int>>& cells);

}  // namespace qv
