#pragma once
// The editor's keys and commands on a formula entry. These are the only
// editing operations that take the entry rather than its buffer: when they
// change the text of an entry that is not read-only, they end in its
// after-change hook (reparse, entry sets, solver). Everything in
// form/edit/edit_buffer.h changes the buffer alone.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "form/edit/edit_buffer.h"
#include "form/formula.h"

namespace qv {

class Clipboard;

// What the bound editor window lends the model for keys and menu commands.
struct EditorContext {
    Clipboard* clipboard = nullptr;           // none: clipboard operations fail
    std::function<void()> postHiddenMessage;  // Ctrl+Shift+J: the window shows it later
};

// Context menu choices; 0 is a dismissed menu.
inline constexpr int kMenuDismissed = 0;
inline constexpr int kMenuCopy = 1;
inline constexpr int kMenuCut = 2;
inline constexpr int kMenuDelete = 3;
inline constexpr int kMenuPaste = 4;

// Enable bits of the context menu's items, in menu order.
inline constexpr int kMenuCopyEnabled = 1;
inline constexpr int kMenuCutEnabled = 2;
inline constexpr int kMenuDeleteEnabled = 4;
inline constexpr int kMenuPasteEnabled = 8;

// Which of Copy, Cut, Delete and Paste the entry's context menu offers, given
// the clipboard's plain text (none when it holds no text).
int contextMenuMask(const Formula& f, const std::optional<std::string>& clipboardText);

// Answers whether the editor must repaint.
bool handleKey(Formula& f, int virtualKey, int modifiers, const EditorContext& context);
bool contextCommand(Formula& f, int choice, const EditorContext& context);
// The count inserted into the emptied entry; none, and nothing changed, when
// the text holds a refused character.
std::optional<int> setText(Formula& f, std::string_view text);
// Count inserted; 0 and nothing changed for a read-only entry, an empty
// selection or a refused character.
int replaceSelection(Formula& f, std::string_view text);

// The edit control's clipboard messages (paste, cut, clear, undo) change the
// buffer without the hook. Paste releases the entry's parse like every paste;
// the entry sets stay as they were until the next edit of the entry.
bool pasteWithoutHook(Formula& f, Clipboard* clipboard);

}  // namespace qv
