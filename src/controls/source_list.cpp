#include "controls/source_list.h"

#include <QApplication>
#include <QFocusEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <cmath>

#include "controls/editor_update_guard.h"
#include "controls/formula_edit.h"
#include "controls/formula_fonts.h"
#include "controls/formula_painter.h"
#include "controls/icons.h"
#include "controls/ratio_edit.h"
#include "controls/source_list_accessible.h"
#include "form/edit/formula_style.h"
#include "form/edit/key_codes.h"
#include "form/model.h"

namespace qv {

namespace {

// Where the list's own texts (row numbers, ratios) start inside their cells.
constexpr int kTextInset = 5;
// The least a resized list keeps: formula room for a few characters, and rows.
constexpr int kMaterialMinChars = 10;
constexpr int kMinimumRows = 4;

}  // namespace

SourceList::SourceList(QWidget* parent) : QAbstractScrollArea(parent) {
    setObjectName("sourceList");
    // Tab reaches the list and reopens the editor; a click goes straight to a cell.
    setFocusPolicy(Qt::TabFocus);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAutoFillBackground(false);
    viewport()->setCursor(Qt::ArrowCursor);
}

SourceList::~SourceList() = default;

SourceList::Setup SourceList::configure(SourceListConfig& config) {
    if (config.model == nullptr || config.fonts == nullptr) return Setup::MissingParameter;
    if (parentWidget() == nullptr) return Setup::NoParent;
    if (isConfigured()) return Setup::AlreadyConfigured;
    if (config.rowCount < 1 || config.rowCount > kSourceRows) return Setup::BadRowCount;

    fonts_ = config.fonts;
    rowCount_ = config.rowCount;
    background_ = config.background;
    rowHeight_ = config.rowHeight > 0 ? config.rowHeight : rowHeightFor(*fonts_);
    config.rowHeight = rowHeight_;

    formulaEditor_ = new FormulaEdit(viewport());
    formulaEditor_->setFonts(fonts_);
    formulaEditor_->setObjectName("formulaEditor");
    formulaEditor_->hide();
    ratioEditor_ = new RatioEdit(viewport(), false);
    ratioEditor_->setObjectName("ratioEditor");
    ratioEditor_->setFrame(false);
    ratioEditor_->hide();

    // The frame and the scroll bar take their room before the columns are laid.
    if (testAttribute(Qt::WA_PendingResizeEvent)) {
        QResizeEvent pending(size(), QSize());
        QCoreApplication::sendEvent(this, &pending);
        setAttribute(Qt::WA_PendingResizeEvent, false);
    }
    const int chrome = height() - viewport()->height();
    config.borderWidth = viewport()->geometry().x();
    // The client area holds whole rows only.
    rowsPerPage_ = std::clamp(viewport()->height() / rowHeight_, 1, rowCount_);
    resize(width(), rowsPerPage_ * rowHeight_ + chrome);
    chars_[NumberColumn] = config.numberWidth;
    chars_[FixColumn] = config.fixWidth;
    chars_[RatioColumn] = config.ratioWidth;
    layoutColumns(viewport()->width());
    config.numberWidth = widths_[NumberColumn];
    config.materialWidth = widths_[MaterialColumn];
    config.fixWidth = widths_[FixColumn];
    config.ratioWidth = widths_[RatioColumn];

    active_ = Editor::None;
    ratioEditor_->setFont(fonts_->listFont());
    // The editor's text starts where the painted ratio does (a frameless
    // line edit keeps a few pixels of its own before the text).
    ratioEditor_->setTextMargins(kTextInset - 4, 0, 0, 0);

    QScrollBar* bar = verticalScrollBar();
    bar->setRange(0, rowCount_ - rowsPerPage_);
    bar->setPageStep(rowsPerPage_);
    bar->setSingleStep(1);
    updateGeometry();  // the minimum size is known now

    // Every entry gets its view and layout for the editor's size; the last stays bound.
    formulaEditor_->setGeometry(cellRect(0, MaterialColumn));
    model_ = config.model;
    for (int row = 0; row < rowCount_; ++row) formulaEditor_->bindEntry(entry(row));

    connect(formulaEditor_, &FormulaEdit::moveFocusRequested, this, &SourceList::moveFocusRequested);
    connect(ratioEditor_, &RatioEdit::moveFocusRequested, this, &SourceList::moveFocusRequested);
    connect(formulaEditor_, &FormulaEdit::stepRequested, this, &SourceList::step);
    connect(ratioEditor_, &RatioEdit::stepRequested, this, &SourceList::step);
    connect(formulaEditor_, &FormulaEdit::pageRequested, this, &SourceList::page);
    connect(ratioEditor_, &RatioEdit::pageRequested, this, &SourceList::page);
    connect(formulaEditor_, &FormulaEdit::hiddenMessageRequested, this, &SourceList::hiddenMessageRequested);
    connect(ratioEditor_, &QLineEdit::textChanged, this, &SourceList::ratioTextChanged);
    connect(qApp, &QApplication::focusChanged, this, &SourceList::focusChanged);

    viewport()->update();
    emit columnsChanged();
    return Setup::Done;
}

int SourceList::rowHeightFor(const FormulaFonts& fonts) {
    // The formula editor sits 1 pixel inside the row and wants a little room
    // around its caret band; a list text wants a few pixels above and below.
    const int formula = 1 + verticalLayout(fonts.style()).caretBottom + 4;
    const int text = fonts.listMetrics().height + 2 * kTextInset;
    return std::max(formula, text);
}

QString SourceList::columnTitle(Column column) {
    switch (column) {
    case NumberColumn: return QStringLiteral("No.");
    case MaterialColumn: return QStringLiteral("Source Material");
    case FixColumn: return QStringLiteral("Fix");
    case RatioColumn: return QStringLiteral("Ratio");
    }
    return {};
}

int SourceList::columnX(Column column) const {
    const int left = column == NumberColumn ? 0 : separators_[column - 1];
    return viewport()->geometry().x() + left;
}

int SourceList::columnWidth(Column column) const { return widths_[column]; }

int SourceList::columnAt(int x) const {
    if (x < 0) return -1;
    if (x < separators_[0]) return NumberColumn;
    if (x < separators_[1]) return MaterialColumn;
    if (x < separators_[2]) return FixColumn;
    return x < clientWidth_ ? RatioColumn : -1;
}

QRect SourceList::cellRect(int screenRow, Column column) const {
    // Inside the grid lines: one pixel right of the separator, one below the row line.
    const int left = column == NumberColumn ? 0 : separators_[column - 1];
    return QRect(left + 1, screenRow * rowHeight_ + 1, widths_[column] - 1, rowHeight_ - 1);
}

Formula* SourceList::entry(int row) const {
    if (model_ == nullptr || row < 0 || row >= rowCount_) return nullptr;
    return &model_->source(row);
}

QString SourceList::cellText(int row, Column column) const {
    const Formula* e = entry(row);
    if (e == nullptr) return {};
    switch (column) {
    case NumberColumn: return QString::number(row + 1);
    case MaterialColumn: return QString::fromStdString(e->text());
    case FixColumn: return e->fixed() ? QStringLiteral("fixed") : QStringLiteral("free");
    case RatioColumn: return e->text().empty() ? QString() : QString::fromStdString(e->ratioText());
    }
    return {};
}

// --- Painting -------------------------------------------------------------

void SourceList::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    back_ = QPixmap();  // recreated at the next paint, at the viewport's size
    if (isConfigured()) relayout();
}

// The columns keep their character widths; the formula column takes the rest.
void SourceList::layoutColumns(int clientWidth) {
    const int m = fonts_->listMaxCharWidth();
    clientWidth_ = clientWidth;
    for (Column c : {NumberColumn, FixColumn, RatioColumn}) widths_[c] = chars_[c] * m;
    widths_[MaterialColumn] =
        clientWidth_ - widths_[NumberColumn] - widths_[FixColumn] - widths_[RatioColumn];
    separators_[0] = widths_[NumberColumn];
    separators_[1] = separators_[0] + widths_[MaterialColumn];
    separators_[2] = separators_[1] + widths_[FixColumn];
}

// After a resize: columns, rows per page and the scroll range follow the new
// client size; an open editor stays over its cell, scrolled into view.
void SourceList::relayout() {
    layoutColumns(viewport()->width());
    rowsPerPage_ = std::clamp(viewport()->height() / rowHeight_, 1, rowCount_);
    int first = clampPosition(firstVisible_);
    QWidget* open = formulaEditor_->isVisible() ? static_cast<QWidget*>(formulaEditor_)
                    : ratioEditor_->isVisible() ? ratioEditor_
                                                : nullptr;
    if (open != nullptr) first = clampPosition(std::clamp(first, editRow_ - rowsPerPage_ + 1, editRow_));
    {
        const QSignalBlocker quiet(verticalScrollBar());
        verticalScrollBar()->setRange(0, rowCount_ - rowsPerPage_);
        verticalScrollBar()->setPageStep(rowsPerPage_);
        verticalScrollBar()->setValue(first);
    }
    firstVisible_ = first;
    if (open != nullptr)
        open->setGeometry(
            cellRect(editRow_ - firstVisible_, open == formulaEditor_ ? MaterialColumn : RatioColumn));
    viewport()->update();
    emit columnsChanged();
}

QSize SourceList::minimumSizeHint() const {
    if (!isConfigured()) return QAbstractScrollArea::minimumSizeHint();
    const int m = fonts_->listMaxCharWidth();
    const int client =
        (chars_[NumberColumn] + chars_[FixColumn] + chars_[RatioColumn] + kMaterialMinChars) * m;
    const int frame = 2 * frameWidth();
    return QSize(client + frame + verticalScrollBar()->sizeHint().width(), kMinimumRows * rowHeight_ + frame);
}

void SourceList::paintEvent(QPaintEvent* event) {
    QPainter screen(viewport());
    if (!isConfigured()) {
        screen.fillRect(event->rect(), Qt::white);
        return;
    }
    const qreal ratio = viewport()->devicePixelRatioF();
    const QSize pixels = viewport()->size() * ratio;
    if (back_.size() != pixels || back_.devicePixelRatio() != ratio) {
        back_ = QPixmap(pixels);
        back_.setDevicePixelRatio(ratio);
    }
    const QRect update = event->rect();
    const QRect client = viewport()->rect();
    {
        QPainter p(&back_);
        p.fillRect(client, background_);
        // Whole device pixels, so that every line is equally thick at 150 %.
        p.setPen(QPen(palette().color(QPalette::Mid), std::max(1.0, std::floor(ratio)) / ratio));
        for (int r = 0; r < rowsPerPage_; ++r) p.drawLine(0, r * rowHeight_, client.right(), r * rowHeight_);
        for (int s : separators_) p.drawLine(s, 0, s, client.bottom());

        const int first = std::max(0, update.top() / rowHeight_);
        const int last = std::min(rowsPerPage_, (update.bottom() + rowHeight_ - 1) / rowHeight_ + 1);
        for (int r = first; r < last; ++r) paintRow(p, r, update);
    }
    screen.drawPixmap(update, back_,
                      QRectF(QPointF(update.topLeft()) * ratio, QSizeF(update.size()) * ratio));
}

void SourceList::paintRow(QPainter& p, int r, const QRect& update) {
    const int row = firstVisible_ + r;
    const Formula* e = entry(row);
    if (e == nullptr) return;
    const int y = r * rowHeight_;
    const bool hasText = !e->text().empty();

    if (hasText && update.right() >= separators_[0] && update.left() < separators_[1]) {
        p.save();
        p.setClipRect(QRect(separators_[0], 0, widths_[MaterialColumn], viewport()->height()));
        // Where the row editor would put it, so that opening it moves nothing.
        const QPoint origin = cellRect(r, MaterialColumn).topLeft() + formulaEditor_->textOrigin();
        paintFormula(p, *e, *fonts_, palette(), origin.x(), origin.y(), false);
        p.restore();
    }
    if (e->fixed() && update.right() >= separators_[1] && update.left() < separators_[2])
        paintPeg(p, pegRect(r));

    p.setFont(fonts_->listFont());
    p.setPen(palette().color(QPalette::Text));
    const QRect number(0, y, widths_[NumberColumn] - kTextInset, rowHeight_);
    p.drawText(number, Qt::AlignRight | Qt::AlignVCenter, QString::number(row + 1));

    if (hasText && update.right() >= separators_[2]) {
        p.setPen(e->ratioValid() ? palette().color(QPalette::Text)
                                 : palette().color(QPalette::PlaceholderText));
        const QRect ratioCell(separators_[2] + kTextInset, y, widths_[RatioColumn] - kTextInset, rowHeight_);
        p.drawText(ratioCell, Qt::AlignLeft | Qt::AlignVCenter, QString::fromStdString(e->ratioText()));
    }
}

QRect SourceList::pegRect(int screenRow) const {
    // As large as the cell allows, centred in it.
    const QRect cell = cellRect(screenRow, FixColumn);
    const int side = std::max(8, std::min(cell.width(), cell.height()) - 4);
    return QRect(cell.left() + (cell.width() - side) / 2, cell.top() + (cell.height() - side) / 2, side,
                 side);
}

void SourceList::updateScreenRows(int from, int to) {
    const int top = std::max(0, from) * rowHeight_;
    const int bottom = std::min(rowsPerPage_, to) * rowHeight_;
    if (bottom > top) viewport()->update(0, top, viewport()->width(), bottom - top);
}

void SourceList::repaintRows() {
    viewport()->update();
    announceChanges();
}

// What a screen reader was last told of each formula, peg and ratio cell;
// whatever reads differently now is announced.
void SourceList::announceChanges() {
    if (!isConfigured()) return;
    spoken_.resize(std::size_t(rowCount_) * kColumns);
    std::vector<std::pair<int, int>> changed;
    for (int row = 0; row < rowCount_; ++row) {
        for (int column = MaterialColumn; column < kColumns; ++column) {
            QString now = cellText(row, Column(column));
            QString& was = spoken_[std::size_t(row) * kColumns + column];
            if (now == was) continue;
            was = std::move(now);
            changed.emplace_back(row, column);
        }
    }
    announceCellChanges(this, changed);
}

// --- Mouse and editors ----------------------------------------------------

void SourceList::mousePressEvent(QMouseEvent* event) {
    if (!isConfigured() || event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    pressAt(event->position().toPoint());
}

void SourceList::pressAt(QPoint pos) {
    clickedRow_ = pos.y() / rowHeight_;
    if (clickedRow_ < 0 || clickedRow_ >= rowsPerPage_) return;
    switch (columnAt(pos.x())) {
    case MaterialColumn: openEditor(clickedRow_, Editor::Formula); break;
    case FixColumn:
        model_->togglePeg(firstVisible_ + clickedRow_);
        viewport()->update();
        announceChanges();
        break;
    case RatioColumn: openEditor(clickedRow_, Editor::Ratio); break;
    default: break;
    }
}

void SourceList::openEditor(int screenRow, Editor which) {
    EditorUpdateGuard guard(*model_);
    // Editors hidden first: an editor that has the focus loses it (and hides)
    // before it opens anew, so that it opens like any cell, caret at the end.
    if (formulaEditor_->hasFocus() || ratioEditor_->hasFocus()) setFocus(Qt::OtherFocusReason);
    editRow_ = firstVisible_ + screenRow;
    active_ = which;
    placeEditor(which);
    if (which == Editor::Ratio) ratioEditor_->selectAll();
    viewport()->update();
}

// Puts the active editor over the edit row's cell, filled from its entry,
// and gives it the focus. The other editor hides only after the focus has
// moved, so that Qt never passes the focus on from a hidden editor.
void SourceList::placeEditor(Editor which) {
    const int screenRow = editRow_ - firstVisible_;
    QWidget* shown = nullptr;
    QWidget* other = nullptr;
    if (which == Editor::Ratio) {
        ratioEditor_->setGeometry(cellRect(screenRow, RatioColumn));
        ratioEditor_->setText(QString::fromStdString(entry(editRow_)->ratioText()));
        shown = ratioEditor_;
        other = formulaEditor_;
    } else {
        formulaEditor_->setGeometry(cellRect(screenRow, MaterialColumn));
        formulaEditor_->bindEntry(entry(editRow_));
        formulaEditor_->update();
        shown = formulaEditor_;
        other = ratioEditor_;
    }
    shown->show();
    shown->raise();
    shown->setFocus(Qt::OtherFocusReason);
    other->hide();
}

void SourceList::ratioTextChanged(const QString& text) {
    if (!isConfigured() || model_->editorUpdateGuard()) return;
    Formula* e = entry(editRow_);
    const bool wasFixed = e->fixed();
    model_->sourceRatioTyped(editRow_, text.toStdString());
    // The peg appears with the first digit, whatever the solver repaints.
    if (!wasFixed && e->fixed()) viewport()->repaint(pegRect(editRow_ - firstVisible_));
}

void SourceList::focusChanged(QWidget* old, QWidget* now) {
    if (now != this || !isConfigured()) return;
    if (old != nullptr && isAncestorOf(old)) return;
    // Coming back from elsewhere: reopen the editor on the cell left last.
    const int x = (active_ == Editor::Ratio ? separators_[2] : separators_[0]) + 2;
    const QPoint at(x, (editRow_ - firstVisible_) * rowHeight_ + 2);
    QMetaObject::invokeMethod(
        this, [this, at] { pressAt(at); }, Qt::QueuedConnection);
}

// --- Keyboard navigation and scrolling ------------------------------------

void SourceList::step(bool previous) {
    if (!isConfigured()) return;
    if (previous && active_ == Editor::Formula && editRow_ == 0) {
        formulaEditor_->setFocus(Qt::OtherFocusReason);
        return;
    }
    if (!previous && active_ == Editor::Ratio && editRow_ == rowCount_ - 1) {
        ratioEditor_->setFocus(Qt::OtherFocusReason);
        return;
    }
    const int oldRow = editRow_;
    if (active_ == Editor::Formula) {
        if (previous) --editRow_;
        active_ = Editor::Ratio;
    } else {
        if (!previous && active_ == Editor::Ratio) ++editRow_;
        active_ = Editor::Formula;
    }
    if (editRow_ < firstVisible_) {
        scrollOneRow(true);
    } else if (editRow_ >= firstVisible_ + rowsPerPage_) {
        scrollOneRow(false);
    } else {
        const int a = std::min(oldRow, editRow_) - firstVisible_;
        const int b = std::max(oldRow, editRow_) - firstVisible_;
        updateScreenRows(a, std::max(b, a + 1));
    }
    EditorUpdateGuard guard(*model_);
    placeEditor(active_);
}

void SourceList::scrollOneRow(bool up) {
    // The pixels move; the editors stay where they are until placed again.
    viewport()->scroll(0, up ? rowHeight_ : -rowHeight_, viewport()->rect());
    firstVisible_ += up ? -1 : 1;
    if (up) {
        updateScreenRows(0, 2);
    } else {
        updateScreenRows(rowsPerPage_ - 2, rowsPerPage_);
    }
    verticalScrollBar()->setValue(firstVisible_);
}

int SourceList::clampPosition(int position) const {
    return std::clamp(position, 0, rowCount_ - rowsPerPage_);
}

void SourceList::page(int key) {
    if (!isConfigured()) return;
    int position = firstVisible_;
    switch (key) {
    case kKeyPageUp: position -= rowsPerPage_; break;
    case kKeyPageDown: position += rowsPerPage_; break;
    case kKeyEnd: position = rowCount_ - rowsPerPage_; break;
    case kKeyHome: position = 0; break;
    default: break;
    }
    moveTo(clampPosition(position));
}

// The editor keeps its place on the screen and now stands over another row.
void SourceList::moveTo(int position) {
    if (position == firstVisible_) return;
    const int delta = position - firstVisible_;
    firstVisible_ = position;
    editRow_ = std::clamp(editRow_ + delta, 0, rowCount_ - 1);
    verticalScrollBar()->setValue(firstVisible_);
    viewport()->update();
    EditorUpdateGuard guard(*model_);
    if (active_ == Editor::Formula) {
        formulaEditor_->bindEntry(entry(editRow_));
        formulaEditor_->update();
    } else if (active_ == Editor::Ratio) {
        ratioEditor_->setText(QString::fromStdString(entry(editRow_)->ratioText()));
    }
}

void SourceList::scrollContentsBy(int, int) {
    // The scroll bar moved (drag, click, wheel): follow it like a page key.
    if (isConfigured()) moveTo(clampPosition(verticalScrollBar()->value()));
}

// --- Operations for the main window and the solver -------------------------

void SourceList::clearRows() {
    if (model_ != nullptr) model_->clearSources();
}

void SourceList::clear() {
    if (!isConfigured()) return;
    active_ = Editor::None;
    editRow_ = 0;
    firstVisible_ = 0;
    clickedRow_ = 0;
    verticalScrollBar()->setValue(0);
    for (int row = 0; row < rowCount_; ++row) entry(row)->resetEntry();
    viewport()->repaint();
}

void SourceList::refreshRatioEditor() {
    if (!isConfigured() || !ratioEditor_->isVisible()) return;
    EditorUpdateGuard guard(*model_);
    const Formula* e = entry(editRow_);
    if (!e->fixed()) ratioEditor_->setText(QString::fromStdString(e->ratioText()));
}

}  // namespace qv
