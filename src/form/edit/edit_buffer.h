#pragma once
// The text of one formula entry as an editor sees it: laid-out character
// cells, caret and selection, a one-level undo copy and the horizontal view.
// The operations here change the buffer only; they never re-parse the entry
// or run the solver (form/edit/formula_editing.h does that for the editor's
// keys and commands).
//
// Invariants every operation keeps: each cell's x is the x of the cell before
// it plus that cell's width, the first at the left margin; caret, anchor and
// activeEnd lie in 0..length.

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "form/edit/glyph_cell.h"

namespace qv {

class Clipboard;
struct WidthTable;

inline constexpr int kFormulaCapacity = 480;

using GlyphCells = std::array<GlyphCell, kFormulaCapacity>;

// What undo brings back; a second undo swaps it back again.
struct UndoCopy {
    GlyphCells cells{};
    int length = 0;
    int caret = 0;
    int anchor = 0;
    int activeEnd = 0;
};

// The part of the text the editor shows: screen x = text x - left.
struct EditView {
    int clientWidth = 0;
    int left = 0;
    int right = 0;
};

class EditBuffer {
public:
    static constexpr int kLeftMargin = 1;
    static constexpr int kRightMargin = 1;

    int capacity() const { return kFormulaCapacity; }
    int leftMargin() const { return kLeftMargin; }
    int rightMargin() const { return kRightMargin; }
    // Set by every change and snapshot, never cleared.
    bool modified() const { return modified_; }
    const WidthTable* widthTable() const { return widthTable_; }
    // Lays the cells out again with the table's widths (none: every width 0).
    void setWidthTable(const WidthTable* table);

    const GlyphCells& cells() const { return cells_; }
    int length() const { return length_; }
    int caret() const { return caret_; }
    // The selection runs from min(anchor, activeEnd) to max(...), half open.
    int anchor() const { return anchor_; }
    int activeEnd() const { return activeEnd_; }
    const UndoCopy& saved() const { return saved_; }
    const EditView& view() const { return view_; }

    // The text in UTF-8: a cell holds "·" as the single byte 0xB7.
    std::string text() const;
    bool hasSelection() const { return anchor_ != activeEnd_; }
    int selectionStart() const { return anchor_ < activeEnd_ ? anchor_ : activeEnd_; }
    int selectionEnd() const { return anchor_ < activeEnd_ ? activeEnd_ : anchor_; }

    // Caret and selection ends, each kept within 0..length; the view stays.
    void placeCaret(int caret, int anchor, int activeEnd);
    // Scrolls the view back to the text's start; false when it is there.
    bool scrollHome();

private:
    friend int xOfIndex(const EditBuffer&, int);
    friend int hitTest(const EditBuffer&, int);
    friend bool copySelection(const EditBuffer&, Clipboard*);
    friend bool cutSelection(EditBuffer&, Clipboard*, bool);
    friend bool insertChar(EditBuffer&, char, bool);
    friend bool deleteForward(EditBuffer&, bool);
    friend bool deleteBackward(EditBuffer&, bool);
    friend void clearText(EditBuffer&);
    friend void takeSnapshot(EditBuffer&);
    friend bool undo(EditBuffer&);
    friend bool selectRange(EditBuffer&, int, int);
    friend void bindView(EditBuffer&, int);
    friend void releaseView(EditBuffer&);
    friend void resizeView(EditBuffer&, int);
    friend void focusGained(EditBuffer&);
    friend void focusLost(EditBuffer&);
    friend void clickAt(EditBuffer&, int);
    friend bool dragTo(EditBuffer&, int);
    friend void selectAll(EditBuffer&);
    friend bool ensureCaretVisible(EditBuffer&, bool);

    void deleteRange(int lo, int hi);
    void deleteSelection() { deleteRange(selectionStart(), selectionEnd()); }
    // Removes the character at position i, closing the gap.
    void removeCell(int i);
    // Gives a hydrate part's leading count full-size cells (see the .cpp).
    void layoutCounts();

    bool modified_ = false;
    const WidthTable* widthTable_ = nullptr;
    GlyphCells cells_{};
    int length_ = 0;
    int caret_ = 0;
    int anchor_ = 0;
    int activeEnd_ = 0;
    UndoCopy saved_;
    EditView view_;
};

// Character filter: letters, digits, '(', ')', '.', '-' and the part
// separators '*' and "·" (0xB7). Inserted and pasted texts may carry "·" and
// "•" in UTF-8 or Windows-1252; both are stored as 0xB7.
bool acceptsChar(char c);
// Non-blank characters of the text (up to a NUL), or -1 at the first
// character the filter refuses.
int countAcceptable(std::string_view text);
// Letters, brackets and separators sit on the baseline; everything else is a
// count (except a hydrate part's leading count, laid out full size by context).
bool isFullSize(char c);

// Text x of the position before character i (i == length: after the last).
int xOfIndex(const EditBuffer& b, int i);
// The position nearest to text x.
int hitTest(const EditBuffer& b, int x);

bool insertChar(EditBuffer& b, char c, bool snapshot);
// Skips blanks; stops at the first character that cannot be inserted (a
// refused character, a NUL or a full text). Answers the count inserted.
int insertText(EditBuffer& b, std::string_view text);
bool deleteForward(EditBuffer& b, bool snapshot);
bool deleteBackward(EditBuffer& b, bool snapshot);
// Empties the text; the undo copy stays.
void clearText(EditBuffer& b);

bool copySelection(const EditBuffer& b, Clipboard* clipboard);
bool cutSelection(EditBuffer& b, Clipboard* clipboard, bool snapshot);
// True when clipboard text was inserted (the first character replaces the
// selection); a text with a refused character or only blanks changes nothing.
bool pasteText(EditBuffer& b, Clipboard* clipboard, bool snapshot);
// Swaps text, caret and selection with the undo copy and scrolls the caret
// into view; a second undo redoes.
bool undo(EditBuffer& b);
void takeSnapshot(EditBuffer& b);

// Inclusive character indices; start -1 collapses at the caret, (0, -1)
// selects everything.
bool selectRange(EditBuffer& b, int start, int end);
struct Selection {
    int first;  // inclusive
    int last;   // inclusive
};
std::optional<Selection> getSelection(const EditBuffer& b);

// The entry is shown in an editor of that size: view at the start, caret 0.
void bindView(EditBuffer& b, int clientWidth);
// The entry is leaving its editor: caret to the start, view back to the start.
void releaseView(EditBuffer& b);
void resizeView(EditBuffer& b, int clientWidth);
void focusGained(EditBuffer& b);
void focusLost(EditBuffer& b);
void clickAt(EditBuffer& b, int clientX);
// Answers whether the selection or the view changed (the editor repaints).
bool dragTo(EditBuffer& b, int clientX);
void selectAll(EditBuffer& b);
// Jump mode scrolls by at most a third of the width; exact mode brings the
// caret just inside the edge. Answers whether the view was set.
bool ensureCaretVisible(EditBuffer& b, bool jump);

}  // namespace qv
