#include "controls/source_list_accessible.h"

#include <algorithm>

#include "controls/formula_edit.h"
#include "controls/ratio_edit.h"
#include "controls/source_list.h"

namespace qv {

namespace {

class SourceListCell : public QAccessibleInterface, public QAccessibleTableCellInterface {
public:
    SourceListCell(SourceListAccessible* table, int row, int column)
        : table_(table), list_(table->list()), row_(row), column_(column) {}

    bool isValid() const override { return !list_.isNull() && list_->isConfigured(); }
    QObject* object() const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override { return table_; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::TableCellInterface ? static_cast<QAccessibleTableCellInterface*>(this)
                                                       : nullptr;
    }

    QString text(QAccessible::Text t) const override {
        if (!isValid()) return {};
        const auto column = SourceList::Column(column_);
        switch (t) {
        case QAccessible::Name:
        case QAccessible::Value: return list_->cellText(row_, column);
        case QAccessible::Description: return SourceList::columnTitle(column);
        default: return {};
        }
    }
    void setText(QAccessible::Text, const QString&) override {}

    QRect rect() const override {
        if (!onScreen()) return {};
        const QRect cell = list_->cellRect(row_ - list_->firstVisibleRow(), SourceList::Column(column_));
        return QRect(list_->viewport()->mapToGlobal(cell.topLeft()), cell.size());
    }
    QAccessible::Role role() const override { return QAccessible::Cell; }
    QAccessible::State state() const override {
        QAccessible::State s;
        if (!onScreen()) {
            s.invisible = true;
            s.offscreen = true;
        }
        s.readOnly = column_ == SourceList::NumberColumn;
        s.focusable = column_ == SourceList::MaterialColumn || column_ == SourceList::RatioColumn;
        s.checkable = column_ == SourceList::FixColumn;
        s.checked = s.checkable && list_ && list_->cellText(row_, SourceList::FixColumn) == "fixed";
        return s;
    }

    bool isSelected() const override { return false; }
    QList<QAccessibleInterface*> columnHeaderCells() const override { return {}; }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return column_; }
    int rowIndex() const override { return row_; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return table_; }

private:
    bool onScreen() const {
        if (!isValid() || !list_->isVisible()) return false;
        const int first = list_->firstVisibleRow();
        return row_ >= first && row_ < first + list_->rowsPerPage();
    }

    SourceListAccessible* table_;
    QPointer<SourceList> list_;
    int row_;
    int column_;
};

}  // namespace

SourceListAccessible::SourceListAccessible(SourceList* list) : QAccessibleWidget(list, QAccessible::Table) {}

SourceListAccessible::~SourceListAccessible() {
    for (QAccessible::Id id : cells_)
        if (id != 0) QAccessible::deleteAccessibleInterface(id);
}

SourceList* SourceListAccessible::list() const { return static_cast<SourceList*>(widget()); }

void* SourceListAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::TableInterface) return static_cast<QAccessibleTableInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QString SourceListAccessible::text(QAccessible::Text t) const {
    if (t == QAccessible::Name) {
        const QString name = QAccessibleWidget::text(t);
        return name.isEmpty() ? QStringLiteral("Source materials") : name;
    }
    return QAccessibleWidget::text(t);
}

int SourceListAccessible::rowCount() const { return list()->isConfigured() ? list()->rowCount() : 0; }
int SourceListAccessible::columnCount() const { return SourceList::kColumns; }
int SourceListAccessible::childCount() const { return rowCount() * columnCount(); }

QAccessibleInterface* SourceListAccessible::cellAt(int row, int column) const {
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount()) return nullptr;
    cells_.resize(childCount(), 0);
    QAccessible::Id& id = cells_[row * columnCount() + column];
    if (id == 0) {
        auto* self = const_cast<SourceListAccessible*>(this);
        id = QAccessible::registerAccessibleInterface(new SourceListCell(self, row, column));
    }
    return QAccessible::accessibleInterface(id);
}

QAccessibleInterface* SourceListAccessible::child(int index) const {
    if (index < 0 || index >= childCount()) return nullptr;
    return cellAt(index / columnCount(), index % columnCount());
}

int SourceListAccessible::indexOfChild(const QAccessibleInterface* child) const {
    auto* iface = const_cast<QAccessibleInterface*>(child);
    auto* cell = iface != nullptr ? iface->tableCellInterface() : nullptr;
    if (cell == nullptr || cell->table() != this) return -1;
    return cell->rowIndex() * columnCount() + cell->columnIndex();
}

QAccessibleInterface* SourceListAccessible::childAt(int x, int y) const {
    SourceList* l = list();
    if (!l->isConfigured()) return nullptr;
    const QPoint at = l->viewport()->mapFromGlobal(QPoint(x, y));
    const int column = l->columnAt(at.x());
    if (column < 0 || at.y() < 0) return nullptr;
    const int screenRow = at.y() / l->rowHeight();
    if (screenRow >= l->rowsPerPage()) return nullptr;
    return cellAt(l->firstVisibleRow() + screenRow, column);
}

QAccessibleInterface* SourceListAccessible::focusChild() const {
    // The open editor stands for its cell.
    SourceList* l = list();
    if (!l->isConfigured()) return nullptr;
    if (l->activeEditor() == SourceList::Editor::Formula && l->formulaEditor()->hasFocus())
        return cellAt(l->editRow(), SourceList::MaterialColumn);
    if (l->activeEditor() == SourceList::Editor::Ratio && l->ratioEditor()->hasFocus())
        return cellAt(l->editRow(), SourceList::RatioColumn);
    return nullptr;
}

QString SourceListAccessible::columnDescription(int column) const {
    if (column < 0 || column >= columnCount()) return {};
    return SourceList::columnTitle(SourceList::Column(column));
}

QString SourceListAccessible::rowDescription(int row) const {
    if (row < 0 || row >= rowCount()) return {};
    return QString::number(row + 1);
}

void announceCellChanges(SourceList* list, const std::vector<std::pair<int, int>>& cells) {
    if (cells.empty() || !QAccessible::isActive()) return;
    QAccessibleTableModelChangeEvent change(list, QAccessibleTableModelChangeEvent::DataChanged);
    int rows[2] = {cells.front().first, cells.front().first};
    int columns[2] = {cells.front().second, cells.front().second};
    for (const auto& [row, column] : cells) {
        rows[0] = std::min(rows[0], row), rows[1] = std::max(rows[1], row);
        columns[0] = std::min(columns[0], column), columns[1] = std::max(columns[1], column);
    }
    change.setFirstRow(rows[0]);
    change.setLastRow(rows[1]);
    change.setFirstColumn(columns[0]);
    change.setLastColumn(columns[1]);
    QAccessible::updateAccessibility(&change);

    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(list);
    if (table == nullptr || table->tableInterface() == nullptr) return;
    for (const auto& [row, column] : cells) {
        QAccessibleInterface* cell = table->tableInterface()->cellAt(row, column);
        if (cell == nullptr) continue;
        if (column == SourceList::FixColumn) {
            QAccessible::State checked;
            checked.checked = true;
            QAccessibleStateChangeEvent event(cell, checked);
            QAccessible::updateAccessibility(&event);
        } else {
            QAccessibleEvent event(cell, QAccessible::NameChanged);
            QAccessible::updateAccessibility(&event);
        }
    }
}

}  // namespace qv
