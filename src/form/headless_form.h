#pragma once
// A whole form without a window, for the command line, the tests, the
// fuzzers and the benchmarks: a model with in-memory element lists attached,
// cleared as the main window's start-up leaves it, and an observer that
// keeps every notice and message box in order.

#include <vector>

#include "form/form_observer.h"
#include "form/memory_views.h"
#include "form/model.h"

namespace qv {

struct FormulaStyle;

struct FormNotice {
    FormChange what;
    int row;
    friend bool operator==(const FormNotice&, const FormNotice&) = default;
};

class HeadlessForm : public FormObserver {
public:
    // Copies the element table, gives every entry the style when there is
    // one, runs Clear All and forgets what it was told so far.
    explicit HeadlessForm(const ElementTable& table, const FormulaStyle* style = nullptr);
    ~HeadlessForm();
    HeadlessForm(const HeadlessForm&) = delete;
    HeadlessForm& operator=(const HeadlessForm&) = delete;

    void formChanged(FormChange what, int row) override;

    Model model;
    MemoryElementList include;
    MemoryElementList exclude;
    std::vector<FormNotice> notices;
    std::vector<FormMessage> messages;
};

}  // namespace qv
