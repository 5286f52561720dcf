#include "form/edit/edit_buffer.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "core/formula_text.h"
#include "form/edit/clipboard.h"
#include "form/edit/width_table.h"

namespace qv {
namespace {

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

bool isSeparator(char c) { return c == '*' || c == kMiddleDotByte; }
bool isCountChar(char c) { return (c >= '0' && c <= '9') || c == '.'; }

// The digits that open a part of a hydrate formula (the 5 of CuSO4·5H2O, the
// 3 of 3CdSO4·8H2O) are coefficients, drawn full size with the normal font's
// widths; inserting or deleting a separator changes the role of the digits
// after it, so the cells whose role changed take their new width and the
// cells from there on move.
void layoutCounts(EditBuffer& b) {
    bool separated = false;
    for (int i = 0; i < b.length && !separated; ++i) separated = isSeparator(b.cells[i].ch);
    bool partStart = separated;
    int from = -1;
    for (int i = 0; i < b.length; ++i) {
        GlyphCell& cell = b.cells[i];
        const char c = cell.ch;
        const bool full = isFullSize(c) || (partStart && isCountChar(c));
        if (isSeparator(c))
            partStart = true;
        else if (!isCountChar(c))
            partStart = false;
        if ((cell.fullSize != 0) == full) continue;
        cell.fullSize = full ? 1 : 0;
        cell.width = b.widthTable ? b.widthTable->widthOf(c, full) : 0;
        if (from < 0) from = i;
    }
    if (from < 0) return;
    int x = from == 0 ? b.leftMargin : b.cells[from - 1].x + b.cells[from - 1].width;
    for (int i = from; i < b.length; ++i) {
        b.cells[i].x = x;
        x += b.cells[i].width;
    }
}

int maxLength(const EditBuffer& b) { return std::min(b.capacity, kFormulaCapacity); }

void deleteRange(EditBuffer& b, int lo, int hi) {
    const int dx = xOfIndex(b, hi) - xOfIndex(b, lo);
    const int n = hi - lo;
    for (int i = hi; i < b.length; ++i) {
        b.cells[i - n] = b.cells[i];
        b.cells[i - n].x -= dx;
    }
    b.length -= n;
    b.caret = b.anchor = b.activeEnd = lo;
    layoutCounts(b);
}

void deleteSelection(EditBuffer& b) { deleteRange(b, b.selectionStart(), b.selectionEnd()); }

// Removes the character at position i, closing the gap.
void removeCell(EditBuffer& b, int i) {
    const int w = b.cells[i].width;
    for (int k = i; k + 1 < b.length; ++k) {
        b.cells[k] = b.cells[k + 1];
        b.cells[k].x -= w;
    }
    b.length -= 1;
    layoutCounts(b);
}

}  // namespace

std::string EditBuffer::text() const {
    std::string out;
    out.reserve(static_cast<std::size_t>(length));
    for (int i = 0; i < length; ++i) out.push_back(cells[i].ch);
    return editorTextToUtf8(out);
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
    if (i < 0 || i > b.length) return -1;
    if (b.length == 0) return b.leftMargin;
    if (i < b.length) return b.cells[i].x;
    const GlyphCell& last = b.cells[b.length - 1];
    return last.x + last.width;
}

int hitTest(const EditBuffer& b, int x) {
    int lo = 0;
    int hi = b.length - 1;
    while (lo <= hi) {
        const int mid = (lo + hi) / 2;
        const GlyphCell& cell = b.cells[mid];
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
    b.modified = true;
    bool changed = false;
    if (b.hasSelection()) changed = deleteForward(b, snapshot);
    if (b.length >= maxLength(b)) return changed;

    const int w = b.widthTable ? b.widthTable->widthOf(c) : 0;
    const int at = b.caret;
    const int x = xOfIndex(b, at);
    for (int i = b.length; i > at; --i) {
        b.cells[i] = b.cells[i - 1];
        b.cells[i].x += w;
    }
    b.cells[at] = GlyphCell{c, x, w, isFullSize(c) ? 1 : 0};
    b.length += 1;
    b.caret += 1;
    b.anchor = b.activeEnd = b.caret;
    layoutCounts(b);
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
    if (b.length < 1) return false;
    b.modified = true;
    if (b.hasSelection()) {
        if (snapshot) takeSnapshot(b);
        deleteSelection(b);
    } else {
        if (b.caret >= b.length) return false;
        if (snapshot) takeSnapshot(b);
        removeCell(b, b.caret);
        // The caret need not be the active end here (after binding); keep
        // the empty selection inside the shorter text.
        b.anchor = std::min(b.anchor, b.length);
        b.activeEnd = std::min(b.activeEnd, b.length);
    }
    ensureCaretVisible(b, false);
    return true;
}

bool deleteBackward(EditBuffer& b, bool snapshot) {
    if (b.length < 1) return false;
    if (b.hasSelection()) {
        if (snapshot) takeSnapshot(b);
        deleteSelection(b);
    } else {
        if (b.caret < 1) return false;
        if (snapshot) takeSnapshot(b);
        b.caret -= 1;
        b.anchor = b.activeEnd = b.caret;
        removeCell(b, b.caret);
    }
    ensureCaretVisible(b, true);
    return true;
}

void clearText(EditBuffer& b) { b.length = b.caret = b.anchor = b.activeEnd = 0; }

bool copySelection(const EditBuffer& b, Clipboard* clipboard) {
    if (!b.hasSelection() || clipboard == nullptr) return false;
    std::string text;
    for (int i = b.selectionStart(); i < b.selectionEnd(); ++i) text.push_back(b.cells[i].ch);
    return clipboard->putText(editorTextToUtf8(text));
}

bool cutSelection(EditBuffer& b, Clipboard* clipboard, bool snapshot) {
    if (!copySelection(b, clipboard)) return false;
    if (snapshot) takeSnapshot(b);
    deleteSelection(b);
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
    b.saved.caret = b.caret;
    b.saved.anchor = b.anchor;
    b.saved.activeEnd = b.activeEnd;
    b.saved.length = b.length;
    b.modified = true;
    std::copy_n(b.cells.begin(), b.length, b.saved.cells.begin());
}

bool undo(EditBuffer& b) {
    b.modified = true;
    std::swap(b.caret, b.saved.caret);
    std::swap(b.anchor, b.saved.anchor);
    std::swap(b.activeEnd, b.saved.activeEnd);
    std::swap(b.length, b.saved.length);
    std::swap(b.cells, b.saved.cells);
    // The text that comes back may be longer or shorter than the view.
    ensureCaretVisible(b, false);
    return true;
}

bool selectRange(EditBuffer& b, int start, int end) {
    if (start == -1) {
        b.anchor = b.activeEnd = b.caret;
    } else if (start == 0 && end == -1) {
        b.anchor = 0;
        b.activeEnd = b.caret = b.length;
    } else if (b.length == 0) {
        b.anchor = b.activeEnd = b.caret = 0;
    } else {
        start = std::clamp(start, 0, b.length - 1);
        end = std::clamp(end, 0, b.length - 1);
        if (start > end) {
            b.anchor = start + 1;
            b.activeEnd = b.caret = end;
        } else {
            b.anchor = start;
            b.activeEnd = b.caret = end + 1;
        }
    }
    ensureCaretVisible(b, false);
    return true;
}

std::optional<Selection> getSelection(const EditBuffer& b) {
    if (!b.hasSelection()) return std::nullopt;
    return Selection{b.selectionStart(), b.selectionEnd() - 1};
}

int getText(const EditBuffer& b, char* buffer, int size) {
    if (buffer == nullptr || size <= 0) return b.length + 1;
    const int n = std::min(size - 1, b.length);
    for (int i = 0; i < n; ++i) buffer[i] = b.cells[i].ch;
    buffer[n] = '\0';
    return n;
}

int getLine(const EditBuffer& b, char* buffer) {
    if (buffer == nullptr) return 0;
    std::uint16_t room = 0;
    std::memcpy(&room, buffer, sizeof room);
    const int n = std::min<int>(room, b.length);
    for (int i = 0; i < n; ++i) buffer[i] = b.cells[i].ch;
    buffer[n] = '\0';
    return n;
}

void bindView(EditBuffer& b, int clientWidth, int clientHeight) {
    b.view.clientWidth = clientWidth;
    b.view.clientHeight = clientHeight;
    b.view.left = -b.leftMargin;
    b.view.right = clientWidth - b.rightMargin;
    b.caret = 0;
}

void releaseView(EditBuffer& b) {
    b.caret = 0;
    ensureCaretVisible(b, false);
}

void resizeView(EditBuffer& b, int clientWidth, int clientHeight) {
    b.view.clientWidth = clientWidth;
    b.view.clientHeight = clientHeight;
    b.view.right = b.view.left + clientWidth;
}

void focusGained(EditBuffer& b) {
    b.anchor = 0;
    b.activeEnd = 0;
    b.caret = b.length;
    ensureCaretVisible(b, false);
}

void focusLost(EditBuffer& b) {
    b.caret = b.anchor = b.activeEnd = 0;
    ensureCaretVisible(b, false);
}

void clickAt(EditBuffer& b, int clientX) {
    b.caret = b.anchor = b.activeEnd = hitTest(b, clientX + b.view.left);
}

bool dragTo(EditBuffer& b, int clientX) {
    EditView& v = b.view;
    const int x = clientX + v.left;
    const int third = std::max(v.clientWidth / 3, 0);
    const int oldLeft = v.left;
    b.caret = hitTest(b, x);
    // Scroll towards the pointer, never back across the text's start or end.
    if (x < v.left) {
        v.left -= std::clamp(v.left + b.leftMargin, 0, third);
        v.right = v.left + v.clientWidth;
    } else if (v.right < x) {
        v.right += std::clamp(xOfIndex(b, b.length) + b.rightMargin - v.right, 0, third);
        v.left = v.right - v.clientWidth;
    }
    const bool scrolled = v.left != oldLeft;
    if (b.caret == b.activeEnd) return scrolled;
    b.activeEnd = b.caret;
    return true;
}

void selectAll(EditBuffer& b) {
    b.anchor = 0;
    b.activeEnd = b.caret = b.length;
    ensureCaretVisible(b, false);
}

bool ensureCaretVisible(EditBuffer& b, bool jump) {
    EditView& v = b.view;
    const int w = v.clientWidth;
    const int textEnd = xOfIndex(b, b.length);
    const int cx = xOfIndex(b, b.caret);
    const int third = w / 3;

    if (textEnd <= w - b.leftMargin) {
        v.left = -b.leftMargin;
        v.right = w - b.leftMargin;
        return true;
    }
    if (textEnd < v.right || textEnd < v.left) {
        v.right = textEnd + b.rightMargin;
        v.left = v.right - w;
    }
    if (jump) {
        if (cx <= v.left) {
            v.left -= std::min(v.left + b.leftMargin, third);
            v.right = v.left + w;
            return true;
        }
        if (v.right <= cx) {
            v.right += std::min(textEnd + b.rightMargin - v.right, third);
            v.left = v.right - w;
            return true;
        }
    } else {
        if (cx <= v.left) {
            v.left = cx - b.leftMargin;
            v.right = v.left + w;
            return true;
        }
        if (v.right <= cx) {
            v.right = cx + b.rightMargin;
            v.left = v.right - w;
            return true;
        }
    }
    return false;
}

}  // namespace qv
