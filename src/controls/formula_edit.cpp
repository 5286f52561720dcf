#include "controls/formula_edit.h"

#include <QAccessible>
#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>

#include "controls/formula_fonts.h"
#include "controls/formula_painter.h"
#include "controls/key_translation.h"
#include "form/edit/drawing_plan.h"
#include "form/edit/formula_editing.h"
#include "form/edit/key_codes.h"
#include "form/formula.h"

namespace qv {

FormulaEdit::FormulaEdit(QWidget* parent) : QFrame(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setCursor(Qt::ArrowCursor);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    connect(&caretBlink_, &QTimer::timeout, this, [this] {
        caretOn_ = !caretOn_;
        update();
    });
}

void FormulaEdit::setFonts(const FormulaFonts* fonts) {
    fonts_ = fonts;
    updateGeometry();
    update();
}

void FormulaEdit::bindEntry(Formula* entry) {
    if (entry_ != nullptr) releaseView(entry_->edit());
    entry_ = entry;
    dragging_ = false;
    if (entry_ == nullptr) return;
    bindView(entry_->edit(), contentsRect().width());
    spokenText_ = QString::fromStdString(entry_->text());
    spokenCaret_ = -1;
    update();
}

bool FormulaEdit::isModified() const { return entry_ != nullptr && entry_->edit().modified(); }

std::string FormulaEdit::text() const { return entry_ ? entry_->text() : std::string(); }

int FormulaEdit::textLength() const { return entry_ ? entry_->edit().length() : 0; }

bool FormulaEdit::setText(std::string_view text) {
    if (entry_ == nullptr || !qv::setText(*entry_, text)) return false;
    refresh();
    return true;
}

std::optional<Selection> FormulaEdit::selection() const {
    return entry_ ? getSelection(entry_->edit()) : std::nullopt;
}

void FormulaEdit::setSelection(int start, int end) {
    if (entry_ == nullptr) return;
    selectRange(entry_->edit(), start, end);
    refresh();
}

bool FormulaEdit::replaceSelection(std::string_view text) {
    if (entry_ == nullptr) return false;
    const bool inserted = qv::replaceSelection(*entry_, text) > 0;
    refresh();
    return inserted;
}

bool FormulaEdit::copy() {
    if (entry_ == nullptr) return false;
    const bool ok = copySelection(entry_->edit(), &clipboard_);
    refresh();
    return ok;
}

bool FormulaEdit::cut() {
    if (entry_ == nullptr) return false;
    const bool ok = cutSelection(entry_->edit(), &clipboard_, false);
    refresh();
    return ok;
}

bool FormulaEdit::paste() {
    if (entry_ == nullptr) return false;
    const bool ok = pasteWithoutHook(*entry_, &clipboard_);
    refresh();
    return ok;
}

bool FormulaEdit::clear() {
    if (entry_ == nullptr) return false;
    const bool ok = deleteForward(entry_->edit(), false);
    refresh();
    return ok;
}

void FormulaEdit::undo() {
    if (entry_ == nullptr) return;
    qv::undo(entry_->edit());
    refresh();
}

void FormulaEdit::resetBoundEntry() {
    if (entry_ != nullptr) entry_->resetEntry();
}

int FormulaEdit::contextMenuMask() { return entry_ ? qv::contextMenuMask(*entry_, clipboard_.getText()) : 0; }

QPoint FormulaEdit::textOrigin() const {
    const QRect r = contentsRect();
    const int line = entry_ ? verticalLayout(entry_->style()).caretBottom : r.height();
    return QPoint(r.left(), r.top() + std::max(0, (r.height() - line) / 2));
}

QSize FormulaEdit::sizeHint() const {
    const int line = fonts_ ? verticalLayout(fonts_->style()).caretBottom : 22;
    const int frame = 2 * frameWidth();
    return QSize(10 * line + frame, line + 4 + frame);
}

QSize FormulaEdit::minimumSizeHint() const { return QSize(40, sizeHint().height()); }

bool FormulaEdit::event(QEvent* event) {
    if (entry_ != nullptr) {
        // The editor takes every key, Tab included, and moves the focus itself;
        // window shortcuts must not steal the Ctrl keys it uses, and get the rest.
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
                keyPressEvent(static_cast<QKeyEvent*>(event));
                return true;
            }
        } else if (event->type() == QEvent::ShortcutOverride) {
            const auto* key = static_cast<QKeyEvent*>(event);
            const std::optional<VirtualKey> vk = translateKey(*key);
            if (!(key->modifiers() & Qt::AltModifier) && vk && formulaKeyMapUses(*vk)) {
                event->accept();
                return true;
            }
        }
    }
    return QFrame::event(event);
}

bool FormulaEdit::focusNextPrevChild(bool next) {
    if (entry_ != nullptr) return false;
    return QFrame::focusNextPrevChild(next);
}

void FormulaEdit::postLater(void (FormulaEdit::*signal)(bool), bool value) {
    QMetaObject::invokeMethod(
        this, [this, signal, value] { emit(this->*signal)(value); }, Qt::QueuedConnection);
}

void FormulaEdit::keyPressEvent(QKeyEvent* event) {
    if (entry_ == nullptr) {
        QFrame::keyPressEvent(event);
        return;
    }
    event->accept();
    const std::optional<VirtualKey> vk = translateKey(*event);
    if (!vk) return;
    const bool shift = (vk->modifiers & kModShift) != 0;
    const bool inList = entry_->inList();
    switch (vk->code) {
    case kKeyTab: emit moveFocusRequested(shift); return;
    case kKeyReturn:
        if (inList) postLater(&FormulaEdit::stepRequested, shift);
        return;
    case kKeyUp:
    case kKeyDown:
        if (inList) postLater(&FormulaEdit::stepRequested, vk->code == kKeyUp);
        return;
    case kKeyPageUp:
    case kKeyPageDown:
        if (inList) {
            const int key = vk->code;
            QMetaObject::invokeMethod(
                this, [this, key] { emit pageRequested(key); }, Qt::QueuedConnection);
        }
        return;
    default: break;
    }
    const EditorContext context{&clipboard_, [this] {
                                    QMetaObject::invokeMethod(
                                        this, [this] { emit hiddenMessageRequested(); },
                                        Qt::QueuedConnection);
                                }};
    if (handleKey(*entry_, vk->code, vk->modifiers, context)) {
        restartCaret();
        refresh();
    }
}

void FormulaEdit::mousePressEvent(QMouseEvent* event) {
    const int x = static_cast<int>(event->position().x()) - textOrigin().x();
    if (event->button() == Qt::LeftButton) {
        if (entry_ == nullptr) return QFrame::mousePressEvent(event);
        setFocus(Qt::MouseFocusReason);
        if (entry_ == nullptr) return;  // focus handling may rebind
        dragging_ = true;
        clickAt(entry_->edit(), x);
        restartCaret();
        refresh();
    } else if (event->button() == Qt::RightButton) {
        if (dragging_) return;
        setFocus(Qt::MouseFocusReason);
        if (entry_ == nullptr) return QFrame::mousePressEvent(event);
        showContextMenu(event->globalPosition().toPoint());
    } else {
        QFrame::mousePressEvent(event);
    }
}

void FormulaEdit::mouseMoveEvent(QMouseEvent* event) {
    if (entry_ == nullptr || !dragging_) return;
    if (dragTo(entry_->edit(), static_cast<int>(event->position().x()) - textOrigin().x())) {
        restartCaret();
        refresh();
    }
}

void FormulaEdit::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QFrame::mouseReleaseEvent(event);
    dragging_ = false;
    refresh();
}

void FormulaEdit::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || entry_ == nullptr) return QFrame::mouseDoubleClickEvent(event);
    selectAll(entry_->edit());
    dragging_ = false;
    restartCaret();
    refresh();
}

void FormulaEdit::showContextMenu(const QPoint& globalPos) {
    struct Item {
        const char* label;
        int command;
        int enableBit;
    };
    static constexpr Item kItems[] = {{"Copy", kMenuCopy, kMenuCopyEnabled},
                                      {"Cut", kMenuCut, kMenuCutEnabled},
                                      {"Delete", kMenuDelete, kMenuDeleteEnabled},
                                      {"Paste", kMenuPaste, kMenuPasteEnabled}};
    const int mask = contextMenuMask();
    QMenu menu(this);
    for (const Item& item : kItems) {
        QAction* action = menu.addAction(tr(item.label));
        action->setData(item.command);
        action->setEnabled((mask & item.enableBit) != 0);
    }
    // The menu takes the focus while it is open; the selection must survive
    // until the chosen command has run.
    menuOpen_ = true;
    const QAction* chosen = menu.exec(globalPos);
    menuOpen_ = false;
    if (entry_ == nullptr) return;
    const int choice = chosen != nullptr ? chosen->data().toInt() : kMenuDismissed;
    if (contextCommand(*entry_, choice, EditorContext{&clipboard_, {}})) refresh();
}

void FormulaEdit::focusInEvent(QFocusEvent* event) {
    QFrame::focusInEvent(event);
    if (entry_ == nullptr) return;
    if (event->reason() != Qt::PopupFocusReason && !menuOpen_) focusGained(entry_->edit());
    restartCaret();
    refresh();
}

void FormulaEdit::focusOutEvent(QFocusEvent* event) {
    caretBlink_.stop();
    caretOn_ = false;
    if (entry_ != nullptr && event->reason() != Qt::PopupFocusReason && !menuOpen_) {
        dragging_ = false;
        focusLost(entry_->edit());
        if (entry_->inList()) hide();
    }
    refresh();
    QFrame::focusOutEvent(event);
}

void FormulaEdit::refresh() {
    update();
    if (entry_ == nullptr || !QAccessible::isActive()) return;
    // Screen readers hear what changed since they were last told.
    const EditBuffer& b = entry_->edit();
    const QString text = QString::fromStdString(entry_->text());
    if (text != spokenText_) {
        QAccessibleTextUpdateEvent event(this, 0, spokenText_, text);
        QAccessible::updateAccessibility(&event);
        spokenText_ = text;
    }
    if (b.caret() == spokenCaret_ && b.anchor() == spokenAnchor_) return;
    spokenCaret_ = b.caret();
    spokenAnchor_ = b.anchor();
    if (b.hasSelection()) {
        QAccessibleTextSelectionEvent event(this, b.selectionStart(), b.selectionEnd());
        event.setCursorPosition(b.caret());
        QAccessible::updateAccessibility(&event);
    } else {
        QAccessibleTextCursorEvent event(this, b.caret());
        QAccessible::updateAccessibility(&event);
    }
}

void FormulaEdit::restartCaret() {
    caretOn_ = true;
    const int flash = QApplication::cursorFlashTime();
    if (hasFocus() && flash > 0)
        caretBlink_.start(flash / 2);
    else
        caretBlink_.stop();
}

void FormulaEdit::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), entry_ ? backgroundOf(*entry_, palette()) : palette().color(QPalette::Base));
    drawFrame(&painter);
    if (entry_ == nullptr || fonts_ == nullptr) return;
    painter.setClipRect(contentsRect());
    painter.translate(textOrigin());
    paintFormula(painter, *entry_, *fonts_, palette(), 0, 0, true);
    if (hasFocus() && caretOn_ && !menuOpen_) {
        const Band caret = caretBand(*entry_);
        painter.fillRect(QRect(caret.left, caret.top, 1, caret.bottom - caret.top),
                         palette().color(QPalette::Text));
    }
}

void FormulaEdit::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    if (entry_ != nullptr) resizeView(entry_->edit(), contentsRect().width());
}

}  // namespace qv
