#pragma once
// The editing model behind every formula editor: filter, insertion and
// deletion with incremental layout, caret and selection, the key map,
// clipboard, one-level undo and horizontal scrolling. All state lives in the
// Formula, so one editor window can be re-bound from entry to entry.
//
// Operations reached through handleKey, contextCommand, setText and
// replaceSelection run the after-change hook (reparse, entry sets, solver)
// when they change the text of an entry that is not read-only.

#include <functional>
#include <optional>
#include <string_view>

#include "form/formula.h"

namespace qv {

class Clipboard;

// What the bound editor window lends the model for keys and menu commands.
struct EditorContext {
    Clipboard* clipboard = nullptr;           // none: clipboard operations fail
    std::function<void()> postHiddenMessage;  // posts 0x709 (0, 0) to the parent
};

// Context menu choices; 0 is a dismissed menu.
inline constexpr int kMenuDismissed = 0;
inline constexpr int kMenuCopy = 1;
inline constexpr int kMenuCut = 2;
inline constexpr int kMenuDelete = 3;
inline constexpr int kMenuPaste = 4;

// Character filter: letters, digits, '(', ')', '.' and '-'.
bool acceptsChar(char c);
// Non-blank characters of the text (up to a NUL), or -1 at the first
// character the filter refuses.
int countAcceptable(std::string_view text);

// Text x of the position before character i (i == length: after the last).
int xOfIndex(const Formula& f, int i);
// The position nearest to text x.
int hitTest(const Formula& f, int x);

bool insertChar(Formula& f, char c, bool snapshot);
// Skips blanks; stops at the first character that cannot be inserted (a
// refused character, a NUL or a full text). Answers the count inserted.
int insertText(Formula& f, std::string_view text);
bool deleteForward(Formula& f, bool snapshot);
bool deleteBackward(Formula& f, bool snapshot);

bool copySelection(const Formula& f, Clipboard* clipboard);
bool cutSelection(Formula& f, Clipboard* clipboard, bool snapshot);
bool pasteText(Formula& f, Clipboard* clipboard, bool snapshot);
bool undo(Formula& f);  // a second undo redoes
void takeSnapshot(Formula& f);

// Inclusive character indices; start -1 collapses at the caret, (0, -1)
// selects everything.
bool selectRange(Formula& f, int start, int end);
struct Selection {
    int first;  // inclusive
    int last;   // inclusive
};
std::optional<Selection> getSelection(const Formula& f);

// -1 when the text holds a refused character (nothing changes), else the
// count inserted into the emptied entry.
int setText(Formula& f, std::string_view text);
// Count inserted; 0 and nothing changed for a read-only entry, an empty
// selection or a refused character.
int replaceSelection(Formula& f, std::string_view text);
// Without a buffer (or size <= 0) answers length + 1; otherwise copies at
// most size - 1 characters and a NUL and answers the count copied.
int getText(const Formula& f, char* buffer, int size);
// The buffer's first 16-bit word holds its capacity in characters; the
// caller leaves room for the NUL written after them.
int getLine(const Formula& f, char* buffer);

// Answers whether the editor must repaint.
bool handleKey(Formula& f, int virtualKey, int modifiers, const EditorContext& context);
bool contextCommand(Formula& f, int choice, const EditorContext& context);

void bindView(Formula& f, void* window, int clientWidth, int clientHeight);
// The entry is leaving its editor: caret to the start, view back to the start.
void releaseView(Formula& f);
void resizeView(Formula& f, int clientWidth, int clientHeight);
void focusGained(Formula& f);
void focusLost(Formula& f);
void clickAt(Formula& f, int clientX);
// Answers whether the active end moved.
bool dragTo(Formula& f, int clientX);
void selectAll(Formula& f);
// Jump mode scrolls by at most a third of the width; exact mode brings the
// caret just inside the edge. Answers whether the view was set.
bool ensureCaretVisible(Formula& f, bool jump);

}  // namespace qv
