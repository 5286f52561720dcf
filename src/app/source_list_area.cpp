#include "app/source_list_area.h"

#include <QLabel>
#include <QResizeEvent>

#include "controls/source_list.h"

namespace qv::app {

SourceListArea::SourceListArea(SourceList* list, QWidget* parent) : QWidget(parent), list_(list) {
    const char* tips[4] = {"Row number", "Formula of a starting material",
                           "Pegged rows keep the ratio you type", "Mole ratio of the starting material"};
    for (int i = 0; i < 4; ++i) {
        headers_[i] = new QLabel(SourceList::columnTitle(SourceList::Column(i)), this);
        headers_[i]->setToolTip(tr(tips[i]));
        headers_[i]->setFrameShape(QFrame::StyledPanel);
        headers_[i]->setAlignment(Qt::AlignCenter);
    }
    list_->setParent(this);
    connect(list_, &SourceList::columnsChanged, this, &SourceListArea::placeHeaders);
}

int SourceListArea::headerHeight() const { return headers_[1]->sizeHint().height() + 4; }

QSize SourceListArea::sizeHint() const {
    const QSize list = list_->sizeHint();
    return QSize(list.width(), headerHeight() + list.height());
}

QSize SourceListArea::minimumSizeHint() const {
    const QSize list = list_->minimumSizeHint();
    return QSize(list.width(), headerHeight() + list.height());
}

bool SourceListArea::event(QEvent* event) {
    // The list's minimum grows once it knows its fonts: pass that on up.
    if (event->type() == QEvent::LayoutRequest) updateGeometry();
    return QWidget::event(event);
}

void SourceListArea::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    int height = event->size().height() - headerHeight();
    if (list_->isConfigured()) {
        const int chrome = list_->height() - list_->viewport()->height();
        height = chrome + std::max(1, (height - chrome) / list_->rowHeight()) * list_->rowHeight();
    }
    list_->setGeometry(0, headerHeight(), event->size().width(), height);
    placeHeaders();
}

void SourceListArea::placeHeaders() {
    for (int i = 0; i < 4; ++i) {
        const auto column = SourceList::Column(i);
        if (!list_->isConfigured()) {
            headers_[i]->hide();
            continue;
        }
        headers_[i]->setGeometry(list_->x() + list_->columnX(column), 0, list_->columnWidth(column) - 1,
                                 headerHeight());
        headers_[i]->show();
    }
}

}  // namespace qv::app
