#include "controls/ratio_edit.h"

#include <QFocusEvent>
#include <QKeyEvent>

#include "form/edit/key_codes.h"

namespace qv {

RatioEdit::RatioEdit(QWidget* parent, bool stayVisible) : QLineEdit(parent), stayVisible_(stayVisible) {}

bool RatioEdit::passes(QChar c, bool ctrlHeld) {
    if (ctrlHeld) return true;
    const char16_t u = c.unicode();
    return (u >= '0' && u <= '9') || u == '.' || u == 'E' || u == 'e' || u == '-';
}

bool RatioEdit::event(QEvent* event) {
    // Tab belongs to the owner, not to Qt's focus chain.
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
            keyPressEvent(key);
            return true;
        }
    }
    return QLineEdit::event(event);
}

void RatioEdit::keyPressEvent(QKeyEvent* event) {
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    auto post = [this](auto&& emitIt) { QMetaObject::invokeMethod(this, emitIt, Qt::QueuedConnection); };

    switch (event->key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab: {
        const bool backward = shift || event->key() == Qt::Key_Backtab;
        post([this, backward] { emit moveFocusRequested(backward); });
        event->accept();
        return;
    }
    case Qt::Key_Return:
    case Qt::Key_Enter:
        post([this, shift] { emit stepRequested(shift); });
        QLineEdit::keyPressEvent(event);
        event->accept();  // not the dialog's default button
        return;
    case Qt::Key_Up:
    case Qt::Key_Down: {
        const bool previous = event->key() == Qt::Key_Up;
        post([this, previous] { emit stepRequested(previous); });
        event->accept();
        return;
    }
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_End:
    case Qt::Key_Home: {
        const int key = event->key() == Qt::Key_PageUp     ? kKeyPageUp
                        : event->key() == Qt::Key_PageDown ? kKeyPageDown
                        : event->key() == Qt::Key_End      ? kKeyEnd
                                                           : kKeyHome;
        post([this, key] { emit pageRequested(key); });
        QLineEdit::keyPressEvent(event);  // Home and End also move the caret
        event->accept();
        return;
    }
    default: break;
    }

    const QString text = event->text();
    if (!text.isEmpty() && text.at(0).isPrint() && !passes(text.at(0), ctrl)) {
        event->accept();  // swallowed without a signal
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void RatioEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    // A context menu borrows the focus; the edit must survive it.
    if (!stayVisible_ && event->reason() != Qt::PopupFocusReason) hide();
}

}  // namespace qv
