#pragma once
// The formula edit: a single-line editor for chemical formulas
// that holds no text of its own. It shows and edits whichever Formula entry
// is bound to it; keys, clicks and drags go to the editing model, and it
// paints from the model's drawing plan. The final compound and the
// difference formula each have one; the source list re-binds its row editor
// from row to row.
//
// No frame by default (the row editor sits on a list cell); a window gives
// its edits one with setFrameStyle. The text line is centred vertically in
// the frame's contents: textOrigin() is where the model's client (0, 0) lies.

#include <optional>
#include <string>
#include <string_view>

#include <QFrame>
#include <QTimer>

#include "controls/clipboard.h"
#include "form/edit/edit_buffer.h"

namespace qv {

class Formula;
class FormulaFonts;

class FormulaEdit : public QFrame {
    Q_OBJECT
public:
    explicit FormulaEdit(QWidget* parent = nullptr);

    // The shared fonts; nothing is drawn until they are set.
    void setFonts(const FormulaFonts* fonts);

    // Binds the entry (none unbinds). The entry bound before gets its caret
    // and view back at the start.
    void bindEntry(Formula* entry);
    Formula* entry() const { return entry_; }
    // The bound entry's modified flag (false when none is bound).
    bool isModified() const;

    // The edit-control queries. Each does nothing and answers 0, false or
    // none while no entry is bound. None of the clipboard operations and
    // undo re-parses the entry or runs the solver; setText and
    // replaceSelection do.
    std::string text() const;
    int textLength() const;
    // False, and the text unchanged, when it holds a refused character.
    bool setText(std::string_view text);
    // First and last selected character (inclusive); none when empty.
    std::optional<Selection> selection() const;
    // Inclusive indices; start -1 collapses, (0, -1) selects everything.
    void setSelection(int start, int end);
    // True when characters were inserted over a non-empty selection.
    bool replaceSelection(std::string_view text);
    bool copy();
    bool cut();
    bool paste();
    bool clear();
    void undo();
    // Empties the bound entry (no repaint): Clear All.
    void resetBoundEntry();

    // The context menu's enabled items (kMenuCopyEnabled...) for the bound
    // entry and the clipboard as they are now.
    int contextMenuMask();

    QPoint textOrigin() const;
    // Repaints and tells assistive technology about the text and caret; the
    // window calls it when the model changed the bound entry.
    void refresh();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // Tab and Shift+Tab, sent before the key is handled further.
    void moveFocusRequested(bool backward);
    // Delivered after the key (queued), only for entries shown in the list:
    // Up, Down, Return (previous with Shift) and Page Up / Page Down.
    void stepRequested(bool previous);
    void pageRequested(int key);
    // Ctrl+Shift+J, queued.
    void hiddenMessageRequested();

protected:
    bool event(QEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void showContextMenu(const QPoint& globalPos);
    void postLater(void (FormulaEdit::*signal)(bool), bool value);
    void restartCaret();

    Formula* entry_ = nullptr;
    const FormulaFonts* fonts_ = nullptr;
    SystemClipboard clipboard_;
    bool dragging_ = false;
    bool menuOpen_ = false;
    bool caretOn_ = false;
    QTimer caretBlink_;
    QString spokenText_;
    int spokenCaret_ = -1;
    int spokenAnchor_ = -1;
};

}  // namespace qv
