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

    Formula& final() { return model.finalCompound(); }
    Formula& row(int index) { return model.source(index); }
    int element(std::string_view symbol) const { return model.elementTable().findElement(symbol); }

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
    // The final ratio edit gets this text, as when the user types it.
    void typeFinalRatio(std::string_view text) { model.setFinalRatioText(text); }
    // A source row's ratio cell gets this text.
    void typeRowRatio(int index, std::string_view text) { model.sourceRatioTyped(index, text); }
    void clickPeg(int index) { model.togglePeg(index); }
    // A click on the element's item in whichever list shows it; false when
    // neither list has it.
    bool clickElement(std::string_view symbol);

    // The barium titanate example: BaTiO3 (ratio 1) from free BaCO3 and
    // TiO2, solved, sample tag S1. False when the solver refuses it.
    bool enterBariumTitanate();

    std::string status() const { return model.status(); }
    bool outputEnabled() const { return model.outputEnabled(); }
    // The notices since the last clearLog; every solver run begins with the
    // counts (ElementLists).
    const std::vector<FormNotice>& log() const { return notices; }
    void clearLog() { notices.clear(); }
    int solverRuns() const;
};

}  // namespace qv::test
