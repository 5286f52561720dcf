#pragma once
// In-memory form and element lists: what the command line and the tests use
// in place of the desktop window. They keep what they were told and record
// every call in order, so a test can check both state and sequence.

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "form/form_view.h"

namespace qv {

class Model;

class MemoryElementList : public ElementListView {
public:
    struct Item {
        std::string text;
        int stateImage = 0;
        int elementIndex = -1;
        bool selected = false;
    };

    bool addItem(std::string_view symbol, int stateImage, int elementIndex) override;
    int findItem(std::string_view symbol) const override;
    bool deleteItem(int position) override;
    int itemCount() const override { return static_cast<int>(items_.size()); }
    int itemData(int position) const override;
    std::string itemText(int position) const override;
    int firstSelected() const override;
    int selectedCount() const override;
    void setSelected(int position, bool selected) override;

    // Select the item with this text; false when there is none.
    bool select(std::string_view symbol);
    const std::vector<Item>& items() const { return items_; }
    // The item texts in display order, e.g. {"Ba", "Ti"}.
    std::vector<std::string> texts() const;

    // Make the list refuse new items or deletions, as a failing control would.
    bool refuseAdd = false;
    bool refuseDelete = false;

private:
    std::vector<Item> items_;  // ascending by text, byte order
};

class MemoryFormView : public FormView {
public:
    struct Message {
        std::string text;
        std::string title;
        MessageIcon icon = MessageIcon::None;
    };
    struct Fatal {
        std::string text;
        int exitCode = 0;
    };

    // Attaches itself and the two lists to the model (form, includeList,
    // excludeList) and detaches in the destructor.
    MemoryFormView(Model& model, MemoryElementList& include, MemoryElementList& exclude);
    ~MemoryFormView() override;
    MemoryFormView(const MemoryFormView&) = delete;
    MemoryFormView& operator=(const MemoryFormView&) = delete;

    void setControlText(ControlId id, std::string_view text) override;
    std::string controlText(ControlId id) const override;
    void enableOutput(bool enabled) override;
    bool outputEnabled() const override { return outputEnabled_; }
    void repaintSourceList() override;
    void refreshRatioEditor() override;
    void repaint() override;
    void setFocus(ControlId id) override;
    void messageBox(std::string_view text, std::string_view title, MessageIcon icon) override;
    void fatal(std::string_view text, int exitCode) override;

    // The status box text (1024).
    std::string status() const { return controlText(ControlId::Status); }

    // Called on fatal after recording; the command line sets it to end the
    // process. Tests leave it empty and read `fatals`.
    std::function<void(std::string_view text, int exitCode)> onFatal;

    // The source row whose ratio the list's editor shows, or -1 when the
    // editor is hidden; refreshRatioEditor copies that row's ratio text into
    // `ratioEditorText` unless the row is fixed.
    int ratioEditorRow = -1;
    std::string ratioEditorText;

    // Everything the form was told, in order: "1022=2", "1024=<status>",
    // "output=1", "repaint-list", "refresh-ratio-editor", "repaint",
    // "focus=1000", "message=<text>", "fatal=<code>:<text>".
    std::vector<std::string> log;
    std::vector<Message> messages;
    std::vector<Fatal> fatals;
    int focus = 0;

private:
    Model& model_;
    std::map<ControlId, std::string> texts_;
    bool outputEnabled_ = false;
};

}  // namespace qv
