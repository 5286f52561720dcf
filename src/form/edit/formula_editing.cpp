#include "form/edit/formula_editing.h"

#include <algorithm>

#include "form/edit/clipboard.h"
#include "form/edit/key_codes.h"
#include "form/model.h"

namespace qv {
namespace {

// The one way an edit reaches the entry: reparse, entry sets, solver.
void afterChange(Formula& f, bool changed) {
    if (!changed || f.readOnly() || f.model() == nullptr) return;
    f.model()->textChanged(f);
}

bool paste(Formula& f, Clipboard* clipboard, bool snapshot) {
    if (!pasteText(f.edit(), clipboard, snapshot)) return false;
    f.clearParse();
    return true;
}

enum class KeyOutcome { Nothing, Repaint, Changed };

KeyOutcome changedIf(bool ok) { return ok ? KeyOutcome::Changed : KeyOutcome::Nothing; }
KeyOutcome repaintIf(bool ok) { return ok ? KeyOutcome::Repaint : KeyOutcome::Nothing; }

// The character a key types, or 0. Letters come from the key, not from the
// character the keyboard would produce, so Caps Lock has no say.
char typedChar(int vk, int mods) {
    if (vk == kKeyMinus) return '-';
    // Hydrate separators: "·" from a layout that has it, '*' from Shift+8 or the keypad.
    if (vk == kKeyMiddleDot && (mods & ~kModShift) == 0) return '\xB7';
    if (vk == kKeyMultiply && (mods & ~kModShift) == 0) return '*';
    if (mods == kModNone) {
        if (vk == kKeyPeriod || vk == kKeyDecimal) return '.';
        if (vk >= kKey0 && vk <= kKey9) return static_cast<char>(vk);
        if (vk >= kKeyNumpad0 && vk <= kKeyNumpad9) return static_cast<char>(vk - 48);
        if (vk >= kKeyA && vk <= kKeyZ) return static_cast<char>(vk + 32);
    } else if (mods == kModShift) {
        if (vk == kKey9 || vk == kKeyNumpad9) return '(';
        if (vk == kKey0 || vk == kKeyNumpad0) return ')';
        if (vk == '8') return '*';
        if (vk >= kKeyA && vk <= kKeyZ) return static_cast<char>(vk);
    }
    return 0;
}

bool plainMove(EditBuffer& b, int d) {
    if (b.hasSelection()) {
        const int p = d < 0 ? b.selectionStart() : b.selectionEnd();
        b.placeCaret(p, p, p);
        ensureCaretVisible(b, true);
        return true;
    }
    if (d > 0 && b.caret() >= b.length()) return false;
    // Nothing left to move over, but a scrolled view still comes home.
    if (d < 0 && b.caret() <= 0) return b.scrollHome();
    const int p = b.caret() + d;
    b.placeCaret(p, p, p);
    ensureCaretVisible(b, true);
    return true;
}

bool extend(EditBuffer& b, int d) {
    if (d < 0 && (b.activeEnd() <= 0 || b.caret() <= 0)) return false;
    if (d > 0 && (b.activeEnd() >= b.length() || b.caret() >= b.length())) return false;
    b.placeCaret(b.caret() + d, b.anchor(), b.caret() + d);
    ensureCaretVisible(b, true);
    return true;
}

bool moveToEdge(EditBuffer& b, int p, bool keep) {
    b.placeCaret(p, p, keep ? b.activeEnd() : p);
    ensureCaretVisible(b, false);
    return true;
}

KeyOutcome applyKey(Formula& f, int vk, int mods, const EditorContext& context) {
    EditBuffer& b = f.edit();
    if (char c = typedChar(vk, mods)) return changedIf(insertChar(b, c, true));
    switch (vk) {
    case kKeyLeft:
    case kKeyRight: {
        const int d = vk == kKeyLeft ? -1 : 1;
        if (mods == kModNone) return repaintIf(plainMove(b, d));
        if (mods == kModShift) return repaintIf(extend(b, d));
        if (mods == kModCtrl) return repaintIf(moveToEdge(b, d < 0 ? 0 : b.length(), false));
        return KeyOutcome::Nothing;
    }
    case kKeyHome: return repaintIf(moveToEdge(b, 0, (mods & kModShift) != 0));
    case kKeyEnd: return repaintIf(moveToEdge(b, b.length(), (mods & kModShift) != 0));
    case kKeyBackspace: return changedIf(deleteBackward(b, true));
    case kKeyDelete: return changedIf(deleteForward(b, true));
    default: break;
    }
    if (mods == (kModCtrl | kModShift) && vk == 'J') {
        if (context.postHiddenMessage) context.postHiddenMessage();
        return KeyOutcome::Nothing;
    }
    if (mods != kModCtrl) return KeyOutcome::Nothing;
    switch (vk) {
    case 'A': return repaintIf(selectRange(b, 0, -1));
    case 'C': return repaintIf(copySelection(b, context.clipboard));
    case 'V': return changedIf(paste(f, context.clipboard, true));
    case 'X': return changedIf(cutSelection(b, context.clipboard, true));
    case 'Z': return changedIf(undo(b));
    default: return KeyOutcome::Nothing;
    }
}

}  // namespace

int contextMenuMask(const Formula& f, const std::optional<std::string>& clipboardText) {
    const bool selected = f.edit().hasSelection();
    if (f.readOnly()) return selected ? kMenuCopyEnabled : 0;
    int mask = 0;
    if (clipboardText && countAcceptable(*clipboardText) > 0) mask |= kMenuPasteEnabled;
    if (selected) mask |= kMenuCopyEnabled | kMenuCutEnabled | kMenuDeleteEnabled;
    return mask;
}

bool handleKey(Formula& f, int virtualKey, int modifiers, const EditorContext& context) {
    if (f.readOnly()) return false;
    const KeyOutcome outcome = applyKey(f, virtualKey, modifiers, context);
    afterChange(f, outcome == KeyOutcome::Changed);
    return outcome != KeyOutcome::Nothing;
}

bool contextCommand(Formula& f, int choice, const EditorContext& context) {
    if (choice == kMenuCopy) return copySelection(f.edit(), context.clipboard);
    if (f.readOnly()) return false;
    bool changed = false;
    switch (choice) {
    case kMenuCut: changed = cutSelection(f.edit(), context.clipboard, true); break;
    case kMenuDelete: changed = deleteForward(f.edit(), true); break;
    case kMenuPaste: changed = paste(f, context.clipboard, true); break;
    default: return false;
    }
    afterChange(f, changed);
    return changed;
}

std::optional<int> setText(Formula& f, std::string_view text) {
    if (countAcceptable(text) < 0) return std::nullopt;
    f.resetEntry();
    const int inserted = insertText(f.edit(), text);
    afterChange(f, true);
    return inserted;
}

int replaceSelection(Formula& f, std::string_view text) {
    if (f.readOnly() || !f.edit().hasSelection() || countAcceptable(text) < 0) return 0;
    takeSnapshot(f.edit());
    f.clearParse();
    const int inserted = insertText(f.edit(), text);
    afterChange(f, true);
    return inserted;
}

bool pasteWithoutHook(Formula& f, Clipboard* clipboard) { return paste(f, clipboard, false); }

}  // namespace qv
