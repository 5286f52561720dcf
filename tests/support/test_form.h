#pragma once
// The headless form over a small element table, with the user's gestures as
// one-line calls.

#include <string>
#include <string_view>
#include <vector>

#include "form/headless_form.h"
#include "support/element_file.h"

namespace qv::test {

class TestForm : public HeadlessForm {
public:
    // Over the elements of this element file text (H, C, O, Ca, Ti, Ba, Fe
    // by default).
    explicit TestForm(std::string_view elementFile = kSmallElementFile);

    Formula& final() { return model.finalCompound; }
    Formula& row(int index) { return model.source(index); }
    int element(std::string_view symbol) const { return model.elementTable.findElement(symbol); }

    // Typing at the end of the entry's text, one key at a time: every
    // character runs the after-change hook, as keys in the editor do.
    void type(Formula& entry, std::string_view text);
    // Deletes the last n characters with Backspace.
    void backspace(Formula& entry, int n = 1);
    // Replaces the whole text as a user would: select all and type over it
    // (one solver run), or Backspace it all away for an empty text.
    void retype(Formula& entry, std::string_view text);
    // The editor's set-text: also resets the entry's ratio and peg.
    void setText(Formula& entry, std::string_view text);
    // The final ratio edit 1002 gets this text, as when the user types it.
    void typeFinalRatio(std::string_view text);
    // A source row's ratio cell gets this text.
    void typeRowRatio(int index, std::string_view text);
    void clickPeg(int index);
    // A click on the element's item in whichever list shows it; false when
    // neither list has it.
    bool clickElement(std::string_view symbol);

    std::string status() const { return form.status(); }
    std::string text(ControlId id) const { return form.controlText(id); }
    bool outputEnabled() const { return form.outputEnabled(); }
    // The form's call log since the last clearLog.
    const std::vector<std::string>& log() const { return form.log; }
    void clearLog() { form.log.clear(); }
};

}  // namespace qv::test
