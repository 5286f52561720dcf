#pragma once
// What the model needs from the main window and its two element lists. The
// desktop form implements these with widgets; form/memory_views.h holds the
// in-memory versions used by the command line and the tests.

#include <string>
#include <string_view>

#include "form/control_ids.h"

namespace qv {

enum class MessageIcon { None, Exclamation, Information, Error };

// Title of the application's own message boxes.
inline constexpr std::string_view kAppTitle = "Quorvex";

class FormView {
public:
    virtual ~FormView() = default;

    // Text of an edit, static or formula edit by id. Setting the text of the
    // final ratio edit (1002) notifies the model like typing would (the
    // handler ignores it while the model's editorUpdateGuard is raised);
    // setting 1001 or 1003 goes through the bound entry like the editor's
    // set-text.
    virtual void setControlText(ControlId id, std::string_view text) = 0;
    virtual std::string controlText(ControlId id) const = 0;

    virtual void enableOutput(bool enabled) = 0;
    virtual bool outputEnabled() const = 0;

    // Invalidate the whole source list (background erased).
    virtual void repaintSourceList() = 0;
    // When the list's ratio editor is visible and its row is not fixed, show
    // that row's ratio text (under the model's editorUpdateGuard).
    virtual void refreshRatioEditor() = 0;
    // Repaint the whole window.
    virtual void repaint() = 0;
    virtual void setFocus(ControlId id) = 0;

    virtual void messageBox(std::string_view text, std::string_view title, MessageIcon icon) = 0;
    // A plain message box, then the end of the process with the exit code.
    // The desktop form never returns; the in-memory form may record the call
    // and return, so every caller stops its work right after calling it.
    virtual void fatal(std::string_view text, int exitCode) = 0;
};

// State image of an element item: the legend's two markers.
inline constexpr int kNonMetalImage = 1;
inline constexpr int kMetalImage = 2;

// One of the Include / Exclude lists: a list sorted ascending by item text,
// several items may be selected. Positions are 0-based in display order.
class ElementListView {
public:
    virtual ~ElementListView() = default;

    // False when the list refuses the item.
    virtual bool addItem(std::string_view symbol, int stateImage, int elementIndex) = 0;
    // Position of the item whose text equals the symbol exactly, or -1.
    virtual int findItem(std::string_view symbol) const = 0;
    // False when there is no such item or the list refuses.
    virtual bool deleteItem(int position) = 0;
    virtual int itemCount() const = 0;
    // Element index stored with the item, or -1 when there is no such item.
    virtual int itemData(int position) const = 0;
    virtual std::string itemText(int position) const = 0;
    // Position of the first selected item, or -1.
    virtual int firstSelected() const = 0;
    virtual int selectedCount() const = 0;
    virtual void setSelected(int position, bool selected) = 0;
};

}  // namespace qv
