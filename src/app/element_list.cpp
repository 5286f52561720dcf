#include "app/element_list.h"

#include <QListWidget>

#include "controls/icons.h"

namespace qv::app {

namespace {

// Byte order, as the model's own lists sort, whatever the locale.
class ElementItem : public QListWidgetItem {
public:
    using QListWidgetItem::QListWidgetItem;
    bool operator<(const QListWidgetItem& other) const override {
        return text().toLatin1() < other.text().toLatin1();
    }
};

}  // namespace

bool ElementList::addItem(std::string_view symbol, int stateImage, int elementIndex) {
    auto* item = new ElementItem(stateImage == kMetalImage ? metalIcon() : nonMetalIcon(),
                                 QString::fromLatin1(symbol.data(), qsizetype(symbol.size())));
    item->setData(Qt::UserRole, elementIndex);
    item->setData(Qt::UserRole + 1, stateImage);
    widget_->addItem(item);
    return true;
}

int ElementList::findItem(std::string_view symbol) const {
    const QString text = QString::fromLatin1(symbol.data(), qsizetype(symbol.size()));
    for (int i = 0; i < widget_->count(); ++i)
        if (widget_->item(i)->text() == text) return i;
    return -1;
}

bool ElementList::deleteItem(int position) {
    if (position < 0 || position >= widget_->count()) return false;
    delete widget_->takeItem(position);
    return true;
}

int ElementList::itemCount() const { return widget_->count(); }

int ElementList::itemData(int position) const {
    const QListWidgetItem* item = widget_->item(position);
    return item ? item->data(Qt::UserRole).toInt() : -1;
}

std::string ElementList::itemText(int position) const {
    const QListWidgetItem* item = widget_->item(position);
    return item ? item->text().toStdString() : std::string();
}

int ElementList::firstSelected() const {
    for (int i = 0; i < widget_->count(); ++i)
        if (widget_->item(i)->isSelected()) return i;
    return -1;
}

int ElementList::selectedCount() const {
    int n = 0;
    for (int i = 0; i < widget_->count(); ++i) n += widget_->item(i)->isSelected() ? 1 : 0;
    return n;
}

void ElementList::setSelected(int position, bool selected) {
    if (QListWidgetItem* item = widget_->item(position)) item->setSelected(selected);
}

}  // namespace qv::app
