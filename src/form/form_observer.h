#pragma once
// What a view of the form hears from the model: which part changed, never
// the text to show. Each view reads what it shows from the model's const
// accessors when told.

namespace qv {

enum class FormChange {
    FinalCompound,  // the final compound's formula (row -1)
    FinalRatio,     // the final compound's ratio text, written by the program
    Row,            // a source row's formula, ratio or peg; row -1: every entry
    Ratio,          // the solver rewrote the free rows' ratios (row -1)
    Peg,            // a row's Fix mark
    ElementLists,   // the Include and free counts
    Difference,     // the final compound minus the fixed entries
    Outcome,        // whether "Output" is enabled
    Status,         // the status box
    SampleTag,
    Grams,
    Corrections,
    Message,  // a message box to show: Model::message()
    Failure,  // the model found itself inconsistent: Model::failure()
};

class FormObserver {
public:
    // row is a source row index, or -1 where none applies.
    virtual void formChanged(FormChange what, int row) = 0;

protected:
    ~FormObserver() = default;
};

}  // namespace qv
