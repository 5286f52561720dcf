#include "form/edit/edit_buffer.h"

#include <algorithm>

#include "core/formula_text.h"
#include "form/edit/clipboard.h"
#include "form/edit/width_table.h"

namespace qv {
namespace {

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

bool isSeparator(char c) { return c == '*' || c == kMiddleDotByte; }
bool isCountChar(char c) { return (c >= '0' && c <= '9') || c == '.'; }

}  // namespace

// The digits that open a part of a hydrate formula (the 5 of CuSO4·5H2O, the
// 3 of 3CdSO4·8H2O) are coefficients, drawn full size with the normal font's
// widths; inserting or deleting a separator changes the role of the digits
// after it, so the cells whose role changed take their new width and the
// cells from there on move.
void EditBuffer::layoutCounts() {
    bool separated = false;
    for (int i = 0; i < length_ && !separated; ++i) separated = isSeparator(cells_[i].ch);
    bool partStart = separated;
    int from = -1;
    for (int i = 0; i < length_; ++i) {
        GlyphCell& cell = cells_[i];
        const char c = cell.ch;
        const bool full = isFullSize(c) || (partStart && isCountChar(c));
        if (isSeparator(c))
            partStart = true;
        else if (!isCountChar(c))
            partStart = false;
        if ((cell.fullSize != 0) == full) continue;
        cell.fullSize = full ? 1 : 0;
        cell.width = widthTable_ ? widthTable_->widthOf(c, full) : 0;
        if (from < 0) from = i;
    }
    if (from < 0) return;
    int x = from == 0 ? kLeftMargin : cells_[from - 1].x + cells_[from - 1].width;
    for (int i = from; i < length_; ++i) {
        cells_[i].x = x;
        x += cells_[i].width;
    }
}

void EditBuffer::deleteRange(int lo, int hi) {
    EditBuffer& b = *this;
    const int dx = xOfIndex(b, hi) - xOfIndex(b, lo);
    const int n = hi - lo;
    for (int i = hi; i < b.length_; ++i) {
        b.cells_[i - n] = b.cells_[i];
        b.cells_[i - n].x -= dx;
    }
    b.length_ -= n;
    b.caret_ = b.anchor_ = b.activeEnd_ = lo;
    b.layoutCounts();
}

void EditBuffer::removeCell(int i) {
    EditBuffer& b = *this;
    const int w = b.cells_[i].width;
    for (int k = i; k + 1 < b.length_; ++k) {
        b.cells_[k] = b.cells_[k + 1];
        b.cells_[k].x -= w;
    }
    b.length_ -= 1;
    b.layoutCounts();
}

std::string EditBuffer::text() const {
    std::string out;
    out.reserve(static_cast<std::size_t>(length_));
    for (int i = 0; i < length_; ++i) out.push_back(cells_[i].ch);
    return editorTextToUtf8(out);
}

void EditBuffer::setWidthTable(const WidthTable* table) {
    widthTable_ = table;
    int x = kLeftMargin;
    for (int i = 0; i < length_; ++i) {
        GlyphCell& cell = cells_[i];
        cell.x = x;
        cell.width = table ? table->widthOf(cell.ch, cell.fullSize != 0) : 0;
        x += cell.width;
    }
}

void EditBuffer::placeCaret(int caret, int anchor, int activeEnd) {
    caret_ = std::clamp(caret, 0, length_);
    anchor_ = std::clamp(anchor, 0, length_);
    activeEnd_ = std::clamp(activeEnd, 0, length_);
}

bool EditBuffer::scrollHome() {
    if (view_.left <= -kLeftMargin) return false;
    view_.left = -kLeftMargin;
    view_.right = view_.clientWidth - kLeftMargin;
    return true;
}

bool acceptsChar(char c) {
    return c == '-' || c == '(' || c == ')' || c == '.' || (c >= '0' && c <= '9') || isLetter(c) ||
           isSeparator(c);
}

int countAcceptable(std::string_view text) {
    int n = 0;
    for (std::size_t i = 0; i < text.size();) {
        char c = 0;
        i += editorCharAt(text, i, c);
        if (c == '\0') break;
        if (c == ' ') continue;
        if (!acceptsChar(c)) return -1;
        ++n;
    }
    return n;
}

bool isFullSize(char c) { return isLetter(c) || c == '(' || c == ')' || isSeparator(c); }

int xOfIndex(const EditBuffer& b, int i) {
    if (i < 0 || i > b.length_) return -1;
    if (b.length_ == 0) return EditBuffer::kLeftMargin;
    if (i < b.length_) return b.cells_[i].x;
    const GlyphCell& last = b.cells_[b.length_ - 1];
    return last.x + last.width;
}

int hitTest(const EditBuffer& b, int x) {
    int lo = 0;
    int hi = b.length_ - 1;
    while (lo <= hi) {
        const int mid = (lo + hi) / 2;
        const GlyphCell& cell = b.cells_[mid];
        const int d = x - cell.x - cell.width / 2;
        if (d == 0) return mid;
        if (d < 0)
            hi = mid - 1;
        else
            lo = mid + 1;
    }
    return lo;
}

bool insertChar(EditBuffer& b, char c, bool snapshot) {
    if (!acceptsChar(c)) return false;
    b.modified_ = true;
    bool changed = false;
    if (b.hasSelection()) changed = deleteForward(b, snapshot);
    if (b.length_ >= kFormulaCapacity) return changed;

    const int w = b.widthTable_ ? b.widthTable_->widthOf(c) : 0;
    const int at = b.caret_;
    const int x = xOfIndex(b, at);
    for (int i = b.length_; i > at; --i) {
        b.cells_[i] = b.cells_[i - 1];
        b.cells_[i].x += w;
    }
    b.cells_[at] = GlyphCell{c, x, w, isFullSize(c) ? 1 : 0};
    b.length_ += 1;
    b.caret_ += 1;
    b.anchor_ = b.activeEnd_ = b.caret_;
    b.layoutCounts();
    ensureCaretVisible(b, true);
    return true;
}

int insertText(EditBuffer& b, std::string_view text) {
    int inserted = 0;
    for (std::size_t i = 0; i < text.size();) {
        char c = 0;
        i += editorCharAt(text, i, c);
        if (c == ' ') continue;
        if (!insertChar(b, c, false)) break;
        ++inserted;
    }
    return inserted;
}

bool deleteForward(EditBuffer& b, bool snapshot) {
    if (b.length_ < 1) return false;
    b.modified_ = true;
    if (b.hasSelection()) {
        if (snapshot) takeSnapshot(b);
        b.deleteSelection();
    } else {
        if (b.caret_ >= b.length_) return false;
        if (snapshot) takeSnapshot(b);
        b.removeCell(b.caret_);
        // The caret need not be the active end here (after binding); keep
        // the empty selection inside the shorter text.
        b.anchor_ = std::min(b.anchor_, b.length_);
        b.activeEnd_ = std::min(b.activeEnd_, b.length_);
    }
    ensureCaretVisible(b, false);
    return true;
}

bool deleteBackward(EditBuffer& b, bool snapshot) {
    if (b.length_ < 1) return false;
    if (b.hasSelection()) {
        if (snapshot) takeSnapshot(b);
        b.deleteSelection();
    } else {
        if (b.caret_ < 1) return false;
        if (snapshot) takeSnapshot(b);
        b.caret_ -= 1;
        b.anchor_ = b.activeEnd_ = b.caret_;
        b.removeCell(b.caret_);
    }
    ensureCaretVisible(b, true);
    return true;
}

void clearText(EditBuffer& b) { b.length_ = b.caret_ = b.anchor_ = b.activeEnd_ = 0; }

bool copySelection(const EditBuffer& b, Clipboard* clipboard) {
    if (!b.hasSelection() || clipboard == nullptr) return false;
    std::string text;
    for (int i = b.selectionStart(); i < b.selectionEnd(); ++i) text.push_back(b.cells_[i].ch);
    return clipboard->putText(editorTextToUtf8(text));
}

bool cutSelection(EditBuffer& b, Clipboard* clipboard, bool snapshot) {
    if (!copySelection(b, clipboard)) return false;
    if (snapshot) takeSnapshot(b);
    b.deleteSelection();
    ensureCaretVisible(b, false);
    return true;
}

bool pasteText(EditBuffer& b, Clipboard* clipboard, bool snapshot) {
    if (clipboard == nullptr) return false;
    const std::optional<std::string> text = clipboard->getText();
    if (!text || countAcceptable(*text) <= 0) return false;
    if (snapshot) takeSnapshot(b);
    insertText(b, *text);
    return true;
}

void takeSnapshot(EditBuffer& b) {
    b.saved_.caret = b.caret_;
    b.saved_.anchor = b.anchor_;
    b.saved_.activeEnd = b.activeEnd_;
    b.saved_.length = b.length_;
    b.modified_ = true;
    std::copy_n(b.cells_.begin(), b.length_, b.saved_.cells.begin());
}

bool undo(EditBuffer& b) {
    b.modified_ = true;
    std::swap(b.caret_, b.saved_.caret);
    std::swap(b.anchor_, b.saved_.anchor);
    std::swap(b.activeEnd_, b.saved_.activeEnd);
    std::swap(b.length_, b.saved_.length);
    std::swap(b.cells_, b.saved_.cells);
    // The text that comes back may be longer or shorter than the view.
    ensureCaretVisible(b, false);
    return true;
}

bool selectRange(EditBuffer& b, int start, int end) {
    if (start == -1) {
        b.anchor_ = b.activeEnd_ = b.caret_;
    } else if (start == 0 && end == -1) {
        b.anchor_ = 0;
        b.activeEnd_ = b.caret_ = b.length_;
    } else if (b.length_ == 0) {
        b.anchor_ = b.activeEnd_ = b.caret_ = 0;
    } else {
        start = std::clamp(start, 0, b.length_ - 1);
        end = std::clamp(end, 0, b.length_ - 1);
        if (start > end) {
            b.anchor_ = start + 1;
            b.activeEnd_ = b.caret_ = end;
        } else {
            b.anchor_ = start;
            b.activeEnd_ = b.caret_ = end + 1;
        }
    }
    ensureCaretVisible(b, false);
    return true;
}

std::optional<Selection> getSelection(const EditBuffer& b) {
    if (!b.hasSelection()) return std::nullopt;
    return Selection{b.selectionStart(), b.selectionEnd() - 1};
}

void bindView(EditBuffer& b, int clientWidth) {
    b.view_.clientWidth = clientWidth;
    b.view_.left = -EditBuffer::kLeftMargin;
    b.view_.right = clientWidth - EditBuffer::kRightMargin;
    b.caret_ = 0;
}

void releaseView(EditBuffer& b) {
    b.caret_ = 0;
    ensureCaretVisible(b, false);
}

void resizeView(EditBuffer& b, int clientWidth) {
    b.view_.clientWidth = clientWidth;
    b.view_.right = b.view_.left + clientWidth;
}

void focusGained(EditBuffer& b) {
    b.anchor_ = 0;
    b.activeEnd_ = 0;
    b.caret_ = b.length_;
    ensureCaretVisible(b, false);
}

void focusLost(EditBuffer& b) {
    b.caret_ = b.anchor_ = b.activeEnd_ = 0;
    ensureCaretVisible(b, false);
}

void clickAt(EditBuffer& b, int clientX) {
    b.caret_ = b.anchor_ = b.activeEnd_ = hitTest(b, clientX + b.view_.left);
}

bool dragTo(EditBuffer& b, int clientX) {
    EditView& v = b.view_;
    const int x = clientX + v.left;
    const int third = std::max(v.clientWidth / 3, 0);
    const int oldLeft = v.left;
    b.caret_ = hitTest(b, x);
    // Scroll towards the pointer, never back across the text's start or end.
    if (x < v.left) {
        v.left -= std::clamp(v.left + EditBuffer::kLeftMargin, 0, third);
        v.right = v.left + v.clientWidth;
    } else if (v.right < x) {
        v.right += std::clamp(xOfIndex(b, b.length_) + EditBuffer::kRightMargin - v.right, 0, third);
        v.left = v.right - v.clientWidth;
    }
    const bool scrolled = v.left != oldLeft;
    if (b.caret_ == b.activeEnd_) return scrolled;
    b.activeEnd_ = b.caret_;
    return true;
}

void selectAll(EditBuffer& b) {
    b.anchor_ = 0;
    b.activeEnd_ = b.caret_ = b.length_;
    ensureCaretVisible(b, false);
}

bool ensureCaretVisible(EditBuffer& b, bool jump) {
    EditView& v = b.view_;
    const int w = v.clientWidth;
    const int textEnd = xOfIndex(b, b.length_);
    const int cx = xOfIndex(b, b.caret_);
    const int third = w / 3;

    if (textEnd <= w - EditBuffer::kLeftMargin) {
        v.left = -EditBuffer::kLeftMargin;
        v.right = w - EditBuffer::kLeftMargin;
        return true;
    }
    if (textEnd < v.right || textEnd < v.left) {
        v.right = textEnd + EditBuffer::kRightMargin;
        v.left = v.right - w;
    }
    if (jump) {
        if (cx <= v.left) {
            v.left -= std::min(v.left + EditBuffer::kLeftMargin, third);
            v.right = v.left + w;
            return true;
        }
        if (v.right <= cx) {
            v.right += std::min(textEnd + EditBuffer::kRightMargin - v.right, third);
            v.left = v.right - w;
            return true;
        }
    } else {
        if (cx <= v.left) {
            v.left = cx - EditBuffer::kLeftMargin;
            v.right = v.left + w;
            return true;
        }
        if (v.right <= cx) {
            v.right = cx + EditBuffer::kRightMargin;
            v.left = v.right - w;
            return true;
        }
    }
    return false;
}

}  // namespace qv
