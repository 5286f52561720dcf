#include "controls/focus_frame_view.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QWidget>

namespace qv {

namespace {

constexpr int kFrameGap = 2;

// Paints the dotted rectangle and lets every click through to what lies below.
class FocusFrame : public QWidget {
public:
    explicit FocusFrame(QWidget* parent) : QWidget(parent) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        setFocusPolicy(Qt::NoFocus);
        hide();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        QPen pen(palette().color(QPalette::WindowText), 1, Qt::DotLine);
        pen.setCosmetic(true);
        p.setPen(pen);
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
};

bool takesTabFocus(const QWidget* w) {
    return (w->focusPolicy() & Qt::TabFocus) && w->isVisible() && w->isEnabled();
}

}  // namespace

FocusFrameView::FocusFrameView(QWidget* view) : QObject(view), view_(view) {
    ensureFrame();
    view->installEventFilter(this);
}

// The frame lives on the view's parent: made once there is one, and made
// anew when a layout moves the view to another parent.
void FocusFrameView::ensureFrame() {
    QWidget* parent = view_ ? view_->parentWidget() : nullptr;
    if (frame_ && frame_->parentWidget() == parent) return;
    delete frame_.data();
    if (parent == nullptr) return;
    frame_ = new FocusFrame(parent);
    frame_->setGeometry(frameRect(view_));
}

FocusFrameView::~FocusFrameView() {
    if (view_) view_->removeEventFilter(this);
    delete frame_.data();
}

QRect FocusFrameView::frameRect(const QWidget* view) {
    return view->geometry().adjusted(-kFrameGap, -kFrameGap, kFrameGap, kFrameGap);
}

bool FocusFrameView::eventFilter(QObject* watched, QEvent* event) {
    if (watched != view_) return false;
    switch (event->type()) {
    case QEvent::ParentChange: ensureFrame(); break;
    case QEvent::FocusIn:
        ensureFrame();
        if (frame_) {
            frame_->setGeometry(frameRect(view_));
            frame_->raise();
            frame_->show();
        }
        break;
    case QEvent::FocusOut:
        // A context menu borrows the focus only for a moment.
        if (frame_ && static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) frame_->hide();
        break;
    case QEvent::Move:
    case QEvent::Resize:
        if (frame_) frame_->setGeometry(frameRect(view_));
        break;
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_Tab && key->key() != Qt::Key_Backtab) break;
        if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) break;
        const bool backward = key->key() == Qt::Key_Backtab || (key->modifiers() & Qt::ShiftModifier);
        if (QWidget* next = nextTabStop(view_, backward))
            next->setFocus(backward ? Qt::BacktabFocusReason : Qt::TabFocusReason);
        return true;
    }
    default: break;
    }
    return false;
}

QWidget* nextTabStop(QWidget* from, bool backward) {
    if (from == nullptr) return nullptr;
    QWidget* w = from;
    // The chain is circular; give up once it comes back round.
    while (true) {
        w = backward ? w->previousInFocusChain() : w->nextInFocusChain();
        if (w == nullptr || w == from) return nullptr;
        if (w->window() == from->window() && takesTabFocus(w) && !w->isAncestorOf(from) &&
            !from->isAncestorOf(w))
            return w;
    }
}

}  // namespace qv
