#include "app/placeholder_controls.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QKeyEvent>

#include "form/edit/formula_editing.h"
#include "form/model.h"

namespace qv {

bool FormulaFonts::create() {
    normal_ = QFont(QStringLiteral("Liberation Serif"));
    normal_.setPointSize(kFormulaPointSize);
    subscript_ = normal_;
    subscript_.setPointSize(kSubscriptPointSize);
    list_ = QFont(QStringLiteral("Liberation Sans"));
    list_.setPointSize(kListPointSize);
    const QFontMetrics n(normal_), s(subscript_);
    fillWidthTable(
        widths_, [&](char c) { return n.horizontalAdvance(QChar(c)); },
        [&](char c) { return s.horizontalAdvance(QChar(c)); });
    normalMetrics_ = {n.height(), n.ascent(), n.descent()};
    subscriptMetrics_ = {s.height(), s.ascent(), s.descent()};
    style_.widthTable = &widths_;
    style_.normalMetrics = &normalMetrics_;
    style_.subscriptMetrics = &subscriptMetrics_;
    return true;
}

FormulaEdit::FormulaEdit(QWidget* parent) : QLineEdit(parent) {
    connect(this, &QLineEdit::textEdited, this, [this](const QString& text) {
        if (!entry_ || entry_->readOnly) return;
        if (entry_->length > 0) {
            selectRange(*entry_, 0, entry_->length);
            replaceSelection(*entry_, text.toStdString());
        } else {
            insertText(*entry_, text.toStdString());
            entry_->model->textChanged(*entry_);
        }
    });
}

int FormulaEdit::bindEntry(Formula* entry) {
    entry_ = entry;
    if (entry) {
        bindView(*entry, this, width(), height());
        setReadOnly(entry->readOnly);
    }
    refresh();
    return entry ? 1 : 0;
}

void FormulaEdit::refresh() {
    const QString text = entry_ ? QString::fromStdString(entry_->text()) : QString();
    if (text != this->text()) setText(text);
}

void FormulaEdit::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_J && event->modifiers() == (Qt::ControlModifier | Qt::ShiftModifier)) {
        emit hiddenMessageRequested();
        return;
    }
    QLineEdit::keyPressEvent(event);
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
        rows_[r].ratio = new QLineEdit;
        rows_[r].ratio->setMaximumWidth(80);
        grid->addWidget(rows_[r].formula, r, 1);
        grid->addWidget(rows_[r].peg, r, 2, Qt::AlignCenter);
        grid->addWidget(rows_[r].ratio, r, 3);
        connect(rows_[r].peg, &QCheckBox::clicked, this, [this, r] {
            if (entries_) (*entries_)[r]->model->togglePeg(r);
        });
        connect(rows_[r].ratio, &QLineEdit::textEdited, this, [this, r](const QString& t) {
            if (entries_) (*entries_)[r]->model->sourceRatioTyped(r, t.toStdString());
        });
    }
    grid->setColumnStretch(1, 1);
    setWidget(body);
    setWidgetResizable(true);
}

bool SourceList::configure(SourceListConfig& config) {
    entries_ = config.entries;
    for (int r = 0; r < kSourceRows; ++r) rows_[r].formula->bindEntry((*entries_)[r].get());
    config.numberWidth = 24;
    config.fixWidth = 24;
    config.ratioWidth = 80;
    config.sourceWidth = 200;
    return true;
}

void SourceList::clearRows() {
    if (!entries_) return;
    (*entries_)[0]->model->clearSources();
    refreshRows();
}

void SourceList::refreshRatioEditor() { refreshRows(); }

void SourceList::refreshRows() {
    if (!entries_) return;
    for (int r = 0; r < kSourceRows; ++r) {
        const Formula& f = *(*entries_)[r];
        rows_[r].formula->refresh();
        rows_[r].peg->setChecked(f.fixed);
        const QString ratio = QString::fromStdString(f.ratioText);
        if (!rows_[r].ratio->hasFocus() && rows_[r].ratio->text() != ratio) rows_[r].ratio->setText(ratio);
    }
}

}  // namespace qv
