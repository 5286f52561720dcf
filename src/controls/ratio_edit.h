#pragma once
// A single-line number field: only the characters of a decimal number get
// through (unless Ctrl is held, so copy, cut and paste keep working), and the
// navigation keys are reported to the owner. Serves as the main window's
// final ratio edit and as the source list's ratio editor.

#include <QLineEdit>

namespace qv {

class RatioEdit : public QLineEdit {
    Q_OBJECT
public:
    // A hidden-on-focus-loss editor unless stayVisible.
    explicit RatioEdit(QWidget* parent = nullptr, bool stayVisible = false);

    // The character filter: digits, '.', 'E', 'e' and '-'; anything with Ctrl.
    static bool passes(QChar c, bool ctrlHeld);

signals:
    // All three are queued: they arrive after the key has been handled.
    void moveFocusRequested(bool backward);  // Tab, Shift+Tab
    void stepRequested(bool previous);       // Return, Shift+Return, Up, Down
    void pageRequested(int key);             // kKeyPageUp, kKeyPageDown, kKeyEnd, kKeyHome

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    bool stayVisible_;
};

}  // namespace qv
