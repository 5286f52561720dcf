#include "form/edit/formula_editing.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

#include "form/edit/clipboard.h"
#include "form/edit/key_codes.h"
#include "form/edit/width_table.h"
#include "form/model.h"

namespace qv {
namespace {

int charWidth(const Formula& f, char c) {
    return f.widthTable ? f.widthTable->widthOf(c) : 0;
}

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

bool hasSelection(const Formula& f) { return f.anchor != f.activeEnd; }

int maxLength(const Formula& f) { return std::min(f.capacity, kFormulaCapacity); }

// Reparse, entry sets, solver: what every edit of a live entry ends with.
void afterChange(Formula& f) {
    if (f.readOnly || f.model == nullptr) return;
    f.model->textChanged(f);
}

void deleteRange(Formula& f, int lo, int hi) {
    const int dx = xOfIndex(f, hi) - xOfIndex(f, lo);
    const int n = hi - lo;
    for (int i = hi; i < f.length; ++i) {
        f.cells[i - n] = f.cells[i];
        f.cells[i - n].x -= dx;
    }
    f.length -= n;
    f.caret = f.anchor = f.activeEnd = lo;
}

void deleteSelection(Formula& f) {
    deleteRange(f, std::min(f.anchor, f.activeEnd), std::max(f.anchor, f.activeEnd));
}

// Removes the character at position i, closing the gap.
void removeCell(Formula& f, int i) {
    const int w = f.cells[i].width;
    for (int k = i; k + 1 < f.length; ++k) {
        f.cells[k] = f.cells[k + 1];
        f.cells[k].x -= w;
    }
    f.length -= 1;
}

}  // namespace

bool acceptsChar(char c) {
    return c == '-' || c == '(' || c == ')' || c == '.' || (c >= '0' && c <= '9') || isLetter(c);
}

int countAcceptable(std::string_view text) {
    int n = 0;
    for (char c : text) {
        if (c == '\0') break;
        if (c == ' ') continue;
        if (!acceptsChar(c)) return -1;
        ++n;
    }
    return n;
}

int xOfIndex(const Formula& f, int i) {
    if (i < 0 || i > f.length) return -1;
    if (f.length == 0) return f.leftMargin;
    if (i < f.length) return f.cells[i].x;
    const GlyphCell& last = f.cells[f.length - 1];
    return last.x + last.width;
}

int hitTest(const Formula& f, int x) {
    int lo = 0;
    int hi = f.length - 1;
    while (lo <= hi) {
        const int mid = (lo + hi) / 2;
        const GlyphCell& cell = f.cells[mid];
        const int d = x - cell.x - cell.width / 2;
        if (d == 0) return mid;
        if (d < 0)
            hi = mid - 1;
        else
            lo = mid + 1;
    }
    return lo;
}

bool insertChar(Formula& f, char c, bool snapshot) {
    if (!acceptsChar(c)) return false;
    f.modified = true;
    bool changed = false;
    if (hasSelection(f)) changed = deleteForward(f, snapshot);
    if (f.length >= maxLength(f)) return changed;

    const int w = charWidth(f, c);
    const int at = f.caret;
    const int x = xOfIndex(f, at);
    for (int i = f.length; i > at; --i) {
        f.cells[i] = f.cells[i - 1];
        f.cells[i].x += w;
    }
    const bool fullSize = isLetter(c) || c == '(' || c == ')';
    f.cells[at] = GlyphCell{c, x, w, fullSize ? 1 : 0};
    f.length += 1;
    f.caret += 1;
    f.anchor = f.activeEnd = f.caret;
    ensureCaretVisible(f, true);
    return true;
}

int insertText(Formula& f, std::string_view text) {
    int inserted = 0;
    for (char c : text) {
        if (c == ' ') continue;
        if (!insertChar(f, c, false)) break;
        ++inserted;
    }
    return inserted;
}

bool deleteForward(Formula& f, bool snapshot) {
    if (f.length < 1) return false;
    f.modified = true;
    if (hasSelection(f)) {
        if (snapshot) takeSnapshot(f);
        deleteSelection(f);
    } else {
        if (f.caret >= f.length) return false;
        if (snapshot) takeSnapshot(f);
        removeCell(f, f.caret);
        // The caret need not be the active end here (after binding); keep
        // the empty selection inside the shorter text.
        f.anchor = std::min(f.anchor, f.length);
        f.activeEnd = std::min(f.activeEnd, f.length);
    }
    ensureCaretVisible(f, false);
    return true;
}

bool deleteBackward(Formula& f, bool snapshot) {
    if (f.length < 1) return false;
    if (hasSelection(f)) {
        if (snapshot) takeSnapshot(f);
        deleteSelection(f);
    } else {
        if (f.caret < 1) return false;
        if (snapshot) takeSnapshot(f);
        f.caret -= 1;
        f.anchor = f.activeEnd = f.caret;
        removeCell(f, f.caret);
    }
    ensureCaretVisible(f, true);
    return true;
}

bool copySelection(const Formula& f, Clipboard* clipboard) {
    if (!hasSelection(f) || clipboard == nullptr) return false;
    const int lo = std::min(f.anchor, f.activeEnd);
    const int hi = std::max(f.anchor, f.activeEnd);
    std::string text;
    text.reserve(hi - lo);
    for (int i = lo; i < hi; ++i) text.push_back(f.cells[i].ch);
    return clipboard->putText(text);
}

bool cutSelection(Formula& f, Clipboard* clipboard, bool snapshot) {
    if (!copySelection(f, clipboard)) return false;
    if (snapshot) takeSnapshot(f);
    deleteSelection(f);
    ensureCaretVisible(f, false);
    return true;
}

bool pasteText(Formula& f, Clipboard* clipboard, bool snapshot) {
    if (clipboard == nullptr) return false;
    const std::optional<std::string> text = clipboard->getText();
    if (!text || countAcceptable(*text) <= 0) return false;
    if (snapshot) takeSnapshot(f);
    f.clearParse();
    insertText(f, *text);
    return true;
}

void takeSnapshot(Formula& f) {
    f.undoCaret = f.caret;
    f.undoAnchor = f.anchor;
    f.undoActiveEnd = f.activeEnd;
    f.undoLength = f.length;
    f.modified = true;
    std::copy_n(f.cells.begin(), f.length, f.undoCells.begin());
}

bool undo(Formula& f) {
    f.modified = true;
    std::swap(f.caret, f.undoCaret);
    std::swap(f.anchor, f.undoAnchor);
    std::swap(f.activeEnd, f.undoActiveEnd);
    std::swap(f.length, f.undoLength);
    std::swap(f.cells, f.undoCells);
    return true;
}

bool selectRange(Formula& f, int start, int end) {
    if (start == -1) {
        f.anchor = f.activeEnd = f.caret;
    } else if (start == 0 && end == -1) {
        f.anchor = 0;
        f.activeEnd = f.caret = f.length;
    } else if (f.length == 0) {
        f.anchor = f.activeEnd = f.caret = 0;
    } else {
        start = std::clamp(start, 0, f.length - 1);
        end = std::clamp(end, 0, f.length - 1);
        if (start > end) {
            f.anchor = start + 1;
            f.activeEnd = f.caret = end;
        } else {
            f.anchor = start;
            f.activeEnd = f.caret = end + 1;
        }
    }
    ensureCaretVisible(f, false);
    return true;
}

std::optional<Selection> getSelection(const Formula& f) {
    if (!hasSelection(f)) return std::nullopt;
    return Selection{std::min(f.anchor, f.activeEnd), std::max(f.anchor, f.activeEnd) - 1};
}

int setText(Formula& f, std::string_view text) {
    if (countAcceptable(text) < 0) return -1;
    f.resetEntry();
    const int inserted = insertText(f, text);
    afterChange(f);
    return inserted;
}

int replaceSelection(Formula& f, std::string_view text) {
    if (f.readOnly || !hasSelection(f) || countAcceptable(text) < 0) return 0;
    takeSnapshot(f);
    f.clearParse();
    const int inserted = insertText(f, text);
    afterChange(f);
    return inserted;
}

int getText(const Formula& f, char* buffer, int size) {
    if (buffer == nullptr || size <= 0) return f.length + 1;
    const int n = std::min(size - 1, f.length);
    for (int i = 0; i < n; ++i) buffer[i] = f.cells[i].ch;
    buffer[n] = '\0';
    return n;
}

int getLine(const Formula& f, char* buffer) {
    if (buffer == nullptr) return 0;
    std::uint16_t room = 0;
    std::memcpy(&room, buffer, sizeof room);
    const int n = std::min<int>(room, f.length);
    for (int i = 0; i < n; ++i) buffer[i] = f.cells[i].ch;
    buffer[n] = '\0';
    return n;
}

namespace {

enum class KeyOutcome { Nothing, Repaint, Changed };

KeyOutcome changedIf(bool ok) { return ok ? KeyOutcome::Changed : KeyOutcome::Nothing; }
KeyOutcome repaintIf(bool ok) { return ok ? KeyOutcome::Repaint : KeyOutcome::Nothing; }

// The character a key types, or 0. Letters come from the key, not from the
// character the keyboard would produce, so Caps Lock has no say.
char typedChar(int vk, int mods) {
    if (vk == kKeyMinus) return '-';
    if (mods == kModNone) {
        if (vk == kKeyPeriod || vk == kKeyDecimal) return '.';
        if (vk >= kKey0 && vk <= kKey9) return static_cast<char>(vk);
        if (vk >= kKeyNumpad0 && vk <= kKeyNumpad9) return static_cast<char>(vk - 48);
        if (vk >= kKeyA && vk <= kKeyZ) return static_cast<char>(vk + 32);
    } else if (mods == kModShift) {
        if (vk == kKey9 || vk == kKeyNumpad9) return '(';
        if (vk == kKey0 || vk == kKeyNumpad0) return ')';
        if (vk >= kKeyA && vk <= kKeyZ) return static_cast<char>(vk);
    }
    return 0;
}

bool plainMove(Formula& f, int d) {
    if (hasSelection(f)) {
        const int p = d < 0 ? std::min(f.anchor, f.activeEnd) : std::max(f.anchor, f.activeEnd);
        f.caret = f.anchor = f.activeEnd = p;
        ensureCaretVisible(f, true);
        return true;
    }
    if (d > 0 && f.caret >= f.length) return false;
    if (d < 0 && f.caret <= 0) {
        // Nothing left to move over, but a scrolled view still comes home.
        if (f.viewLeft <= -f.leftMargin) return false;
        f.viewLeft = -f.leftMargin;
        f.viewRight = f.clientWidth - f.leftMargin;
        return true;
    }
    f.caret += d;
    f.anchor = f.activeEnd = f.caret;
    ensureCaretVisible(f, true);
    return true;
}

bool extend(Formula& f, int d) {
    if (d < 0 && (f.activeEnd <= 0 || f.caret <= 0)) return false;
    if (d > 0 && (f.activeEnd >= f.length || f.caret >= f.length)) return false;
    f.caret += d;
    f.activeEnd = f.caret;
    ensureCaretVisible(f, true);
    return true;
}

bool moveToEdge(Formula& f, int p, bool keep) {
    f.caret = p;
    f.anchor = p;
    if (!keep) f.activeEnd = p;
    ensureCaretVisible(f, false);
    return true;
}

KeyOutcome applyKey(Formula& f, int vk, int mods, const EditorContext& context) {
    if (char c = typedChar(vk, mods)) return changedIf(insertChar(f, c, true));
    switch (vk) {
    case kKeyLeft:
    case kKeyRight: {
        const int d = vk == kKeyLeft ? -1 : 1;
        if (mods == kModNone) return repaintIf(plainMove(f, d));
        if (mods == kModShift) return repaintIf(extend(f, d));
        if (mods == kModCtrl) return repaintIf(moveToEdge(f, d < 0 ? 0 : f.length, false));
        return KeyOutcome::Nothing;
    }
    case kKeyHome:
        return repaintIf(moveToEdge(f, 0, (mods & kModShift) != 0));
    case kKeyEnd:
        return repaintIf(moveToEdge(f, f.length, (mods & kModShift) != 0));
    case kKeyBackspace:
        return changedIf(deleteBackward(f, true));
    case kKeyDelete:
        return changedIf(deleteForward(f, true));
    default:
        break;
    }
    if (mods == (kModCtrl | kModShift) && vk == 'J') {
        if (context.postHiddenMessage) context.postHiddenMessage();
        return KeyOutcome::Nothing;
    }
    if (mods != kModCtrl) return KeyOutcome::Nothing;
    switch (vk) {
    case 'A': return repaintIf(selectRange(f, 0, -1));
    case 'C': return repaintIf(copySelection(f, context.clipboard));
    case 'V': return changedIf(pasteText(f, context.clipboard, true));
    case 'X': return changedIf(cutSelection(f, context.clipboard, true));
    case 'Z': return changedIf(undo(f));
    default: return KeyOutcome::Nothing;
    }
}

}  // namespace

bool handleKey(Formula& f, int virtualKey, int modifiers, const EditorContext& context) {
    if (f.readOnly) return false;
    const KeyOutcome outcome = applyKey(f, virtualKey, modifiers, context);
    if (outcome == KeyOutcome::Changed) afterChange(f);
    return outcome != KeyOutcome::Nothing;
}

bool contextCommand(Formula& f, int choice, const EditorContext& context) {
    if (choice == kMenuCopy) return copySelection(f, context.clipboard);
    if (f.readOnly) return false;
    bool changed = false;
    switch (choice) {
    case kMenuCut: changed = cutSelection(f, context.clipboard, true); break;
    case kMenuDelete: changed = deleteForward(f, true); break;
    case kMenuPaste: changed = pasteText(f, context.clipboard, true); break;
    default: return false;
    }
    if (changed) afterChange(f);
    return changed;
}

void bindView(Formula& f, void* window, int clientWidth, int clientHeight) {
    f.window = window;
    f.clientWidth = clientWidth;
    f.clientHeight = clientHeight;
    f.viewLeft = -f.leftMargin;
    f.viewRight = clientWidth - f.rightMargin;
    f.caret = 0;

    const int normalAscent = f.normalMetrics ? f.normalMetrics->ascent : 0;
    const int normalDescent = f.normalMetrics ? f.normalMetrics->descent : 0;
    const int subscriptAscent = f.subscriptMetrics ? f.subscriptMetrics->ascent : 0;
    f.baseline = f.topMargin + normalAscent;
    f.subscriptTop = f.baseline - subscriptAscent - f.subscriptDrop;
    f.caretTop = f.topMargin;
    f.caretBottom = f.baseline + std::max(normalDescent, -f.subscriptDrop);
}

void releaseView(Formula& f) {
    f.caret = 0;
    ensureCaretVisible(f, false);
    f.window = nullptr;
}

void resizeView(Formula& f, int clientWidth, int clientHeight) {
    f.clientWidth = clientWidth;
    f.clientHeight = clientHeight;
    f.viewRight = f.viewLeft + clientWidth;
}

void focusGained(Formula& f) {
    f.anchor = 0;
    f.activeEnd = 0;
    f.caret = f.length;
    ensureCaretVisible(f, false);
}

void focusLost(Formula& f) {
    f.caret = f.anchor = f.activeEnd = 0;
    ensureCaretVisible(f, false);
}

void clickAt(Formula& f, int clientX) {
    f.caret = f.anchor = f.activeEnd = hitTest(f, clientX + f.viewLeft);
}

bool dragTo(Formula& f, int clientX) {
    const int x = clientX + f.viewLeft;
    const int third = f.clientWidth / 3;
    f.caret = hitTest(f, x);
    // Scroll towards the pointer, never back across the text's start or end.
    if (x < f.viewLeft) {
        f.viewLeft -= std::clamp(f.viewLeft + f.leftMargin, 0, std::max(third, 0));
        f.viewRight = f.viewLeft + f.clientWidth;
    } else if (f.viewRight < x) {
        f.viewRight += std::clamp(xOfIndex(f, f.length) + f.rightMargin - f.viewRight, 0,
                                  std::max(third, 0));
        f.viewLeft = f.viewRight - f.clientWidth;
    }
    if (f.caret == f.activeEnd) return false;
    f.activeEnd = f.caret;
    return true;
}

void selectAll(Formula& f) {
    f.anchor = 0;
    f.activeEnd = f.caret = f.length;
    ensureCaretVisible(f, false);
}

bool ensureCaretVisible(Formula& f, bool jump) {
    const int w = f.clientWidth;
    const int textEnd = xOfIndex(f, f.length);
    const int cx = xOfIndex(f, f.caret);
    const int third = w / 3;

    if (textEnd <= w - f.leftMargin) {
        f.viewLeft = -f.leftMargin;
        f.viewRight = w - f.leftMargin;
        return true;
    }
    if (textEnd < f.viewRight || textEnd < f.viewLeft) {
        f.viewRight = textEnd + f.rightMargin;
        f.viewLeft = f.viewRight - w;
    }
    if (jump) {
        if (cx <= f.viewLeft) {
            f.viewLeft -= std::min(f.viewLeft + f.leftMargin, third);
            f.viewRight = f.viewLeft + w;
            return true;
        }
        if (f.viewRight <= cx) {
            f.viewRight += std::min(textEnd + f.rightMargin - f.viewRight, third);
            f.viewLeft = f.viewRight - w;
            return true;
        }
    } else {
        if (cx <= f.viewLeft) {
            f.viewLeft = cx - f.leftMargin;
            f.viewRight = f.viewLeft + w;
            return true;
        }
        if (f.viewRight <= cx) {
            f.viewRight = cx + f.rightMargin;
            f.viewLeft = f.viewRight - w;
            return true;
        }
    }
    return false;
}

}  // namespace qv
