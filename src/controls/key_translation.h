#pragma once
// Qt's key events as the virtual key codes and the Shift/Ctrl/Alt mask that
// the formula editor's key map reads (form/edit/key_codes.h).

#include <optional>

#include <Qt>

class QKeyEvent;

namespace qv {

struct VirtualKey {
    int code = 0;
    int modifiers = 0;  // kModShift | kModCtrl | kModAlt
    friend bool operator==(const VirtualKey&, const VirtualKey&) = default;
};

// None for keys the editor has no code for. Qt names a shifted key by what
// it types (Shift+9 is Key_ParenLeft); those come back as the key with Shift.
std::optional<VirtualKey> translateKey(int qtKey, Qt::KeyboardModifiers modifiers);
std::optional<VirtualKey> translateKey(const QKeyEvent& event);

// Whether the formula key map acts on the key: Ctrl with a letter or digit
// only for select all, copy, paste, cut, undo and Ctrl+Shift+J; the window's
// menu shortcuts (Ctrl+N, Ctrl+O, Ctrl+S, Ctrl+Q ...) are left to the window.
bool formulaKeyMapUses(const VirtualKey& key);

}  // namespace qv
