#pragma once
// A whole form without a window, for the command line, the tests, the
// fuzzers and the benchmarks: a model with the in-memory form and element
// lists attached, cleared as the main window's start-up leaves it.

#include "form/memory_views.h"
#include "form/model.h"

namespace qv {

struct FormulaStyle;

struct HeadlessForm {
    // Copies the element table, gives every entry the style when there is
    // one, runs Clear All and forgets what the form was told so far.
    explicit HeadlessForm(const ElementTable& table, const FormulaStyle* style = nullptr);

    Model model;
    MemoryElementList include;
    MemoryElementList exclude;
    MemoryFormView form{model, include, exclude};
};

}  // namespace qv
