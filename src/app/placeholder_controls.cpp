#include "app/placeholder_controls.h"

#include <QGridLayout>
#include <QLabel>
#include <QMouseEvent>

#include "form/model.h"

namespace qv {

QWidget* nextTabStop(QWidget* from, bool backward) {
    QWidget* next = from;
    do {
        next = backward ? next->previousInFocusChain() : next->nextInFocusChain();
    } while (next != from && (!(next->focusPolicy() & Qt::TabFocus) || !next->isVisible() ||
                              !next->isEnabled() || next->window() != from->window() ||
                              from->isAncestorOf(next)));
    return next == from ? nullptr : next;
}

SourceList::SourceList(QWidget* parent) : QScrollArea(parent) {
    auto* body = new QWidget;
    auto* grid = new QGridLayout(body);
    grid->setSpacing(1);
    grid->setContentsMargins(0, 0, 0, 0);
    for (int r = 0; r < kSourceRows; ++r) {
        grid->addWidget(new QLabel(QString::number(r + 1)), r, 0, Qt::AlignRight);
        rows_[r].formula = new FormulaEdit;
        rows_[r].peg = new QCheckBox;
        rows_[r].ratio = new RatioEdit;
        rows_[r].ratio->setMaximumWidth(80);
        grid->addWidget(rows_[r].formula, r, 1);
        grid->addWidget(rows_[r].peg, r, 2, Qt::AlignCenter);
        grid->addWidget(rows_[r].ratio, r, 3);
        connect(rows_[r].peg, &QCheckBox::clicked, this, [this, r] { model_->togglePeg(r); });
        connect(rows_[r].ratio, &QLineEdit::textEdited, this,
                [this, r](const QString& t) { model_->sourceRatioTyped(r, t.toStdString()); });
        connect(rows_[r].formula, &FormulaEdit::hiddenMessageRequested, this,
                &SourceList::hiddenMessageRequested);
    }
    grid->setColumnStretch(1, 1);
    setWidget(body);
    setWidgetResizable(true);
}

bool SourceList::configure(SourceListConfig& config) {
    model_ = config.model;
    for (int r = 0; r < kSourceRows; ++r) {
        rows_[r].formula->setFonts(config.fonts);
        rows_[r].formula->bindEntry(&model_->source(r));
    }
    config.numberWidth = 24;
    config.fixWidth = 24;
    config.ratioWidth = 80;
    return true;
}

int SourceList::columnX(Column column) const {
    const int xs[4] = {0, 24, width() - 120, width() - 96};
    return xs[column];
}

int SourceList::columnWidth(Column column) const {
    const int ws[4] = {24, width() - 144, 24, 96};
    return ws[column];
}

QRect SourceList::cellRect(int row, Column column) const {
    QWidget* cell = column == FixColumn ? static_cast<QWidget*>(rows_[row].peg)
                  : column == RatioColumn ? static_cast<QWidget*>(rows_[row].ratio)
                                          : rows_[row].formula;
    return QRect(cell->mapTo(viewport(), QPoint(0, 0)), cell->size());
}

bool SourceList::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        const QPoint pos = static_cast<QMouseEvent*>(event)->position().toPoint();
        for (int r = 0; r < kSourceRows; ++r) {
            if (cellRect(r, FixColumn).contains(pos)) rows_[r].peg->click();
            if (cellRect(r, MaterialColumn).contains(pos)) {
                current_ = r;
                rows_[r].formula->setFocus();
            }
            if (cellRect(r, RatioColumn).contains(pos)) {
                current_ = r;
                rows_[r].ratio->setFocus();
            }
        }
        return true;
    }
    return QScrollArea::viewportEvent(event);
}

void SourceList::clearRows() { model_->clearSources(); }

void SourceList::repaintRows() {
    if (!model_) return;
    for (int r = 0; r < kSourceRows; ++r) {
        const Formula& f = model_->source(r);
        rows_[r].formula->update();
        rows_[r].peg->setChecked(f.fixed);
        const QString ratio = QString::fromStdString(f.ratioText);
        if (!rows_[r].ratio->hasFocus() && rows_[r].ratio->text() != ratio) rows_[r].ratio->setText(ratio);
    }
}

}  // namespace qv
