#pragma once
// Keyboard manners for a list view inside the form: while the view has the
// focus a dotted frame stands 2 pixels outside its border, and Tab moves to
// the next control instead of walking the items.

#include <QObject>
#include <QPointer>

class QWidget;

namespace qv {

class FocusFrameView : public QObject {
    Q_OBJECT
public:
    // Watches the view until either goes away; the frame appears on whatever
    // parent the view has when it takes the focus.
    explicit FocusFrameView(QWidget* view);
    ~FocusFrameView() override;

    // The frame widget, on the view's parent; visible while the view has the focus.
    QWidget* frame() const { return frame_; }
    // The frame's rectangle in the parent: the view's geometry widened by 2.
    static QRect frameRect(const QWidget* view);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ensureFrame();

    QPointer<QWidget> view_;
    QPointer<QWidget> frame_;
};

// The next widget after `from` in its window's focus chain that takes the
// focus by Tab (the previous one when backward), or nullptr.
QWidget* nextTabStop(QWidget* from, bool backward);

}  // namespace qv
