#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "form/element_lists.h"
#include "form/ratio_solver.h"
#include "support/test_form.h"

namespace qv {
namespace {

using test::TestForm;
using Kind = SolverOutcome::Kind;

// The elements of the small table start out as: metals Ca Ti Ba Fe included,
// non-metals H C O excluded. Element order: H C O Ca Ti Ba Fe.

void fill(TestForm& t, std::string_view final, const std::vector<std::string_view>& rows) {
    if (!final.empty()) t.type(t.final(), final);
    for (std::size_t i = 0; i < rows.size(); ++i) t.type(t.row(static_cast<int>(i)), rows[i]);
}

void include(TestForm& t, std::string_view symbol) {
    ASSERT_TRUE(t.exclude.select(symbol)) << symbol;
    moveSelectedAndSolve(t.model, t.exclude);
}

struct Case {
    const char* what;
    std::function<void(TestForm&)> setUp;
    Kind kind;
    std::string_view status;
    const char* remainder;  // nullptr: none computed
    std::vector<std::string> ratios;
};

// Ba: 0.1 x0 = 0.1; Ti: x1 = 1; O: x0 + 2 x1 = 3 + d. The search takes rows
// (Ba,Ti), (Ba,O), (Ti,O) in that order and keeps the first whose answer
// satisfies every equation within 5e-7.
void overdetermined(TestForm& t, std::string_view final) {
    fill(t, "", {"Ba0.1O", "TiO2"});
    include(t, "O");
    t.type(t.final(), final);
}

TEST(RatioSolver, Outcomes) {
    const Case cases[] = {
        {"solved",
         [](TestForm& t) {
             fill(t, "BaTiO3", {"BaCO3", "TiO2"});
         },
         Kind::Solved,
         status::kSolved,
         "O3TiBa",
         {"1", "1"}},
        {"oxygen included: no exact answer, ratios cleared",
         [](TestForm& t) {
             fill(t, "BaTiO3", {"BaCO3", "TiO2"}), include(t, "O");
         },
         Kind::NoSolution,
         "",
         "O3TiBa",
         {"", ""}},
        {"more unknowns than equations",
         [](TestForm& t) {
             fill(t, "BaTiO3", {"BaO", "TiO2", "BaTiO3"});
         },
         Kind::NoSolution,
         "",
         "O3TiBa",
         {"", "", ""}},
        {"a column with no included element",
         [](TestForm& t) {
             fill(t, "BaTiO3", {"BaCO3", "TiO2", "CO2"});
         },
         Kind::NoSolution,
         "",
         "O3TiBa",
         {"", "", ""}},
        {"an extra metal gets zero",
         [](TestForm& t) {
             fill(t, "BaTiO3", {"BaCO3", "TiO2", "CaO"});
         },
         Kind::Solved,
         status::kSolved,
         "O3TiBa",
         {"1", "1", "0"}},
        {"small solutions show as zero",
         [](TestForm& t) {
             fill(t, "BaTi0.0000003", {"Ba", "Ti"});
         },
         Kind::Solved,
         status::kSolved,
         "Ba",
         {"1", "0"}},
        {"negatives keep their sign",
         [](TestForm& t) {
             fill(t, "Ba", {"BaTi", "Ti"});
         },
         Kind::Solved,
         status::kSolved,
         "Ba",
         {"1", "-1"}},
        {"fixed entry taken off; Ti reaches zero and vanishes",
         [](TestForm& t) { fill(t, "BaTiO3", {"TiO2"}), t.typeRowRatio(0, "1"); },
         Kind::Manual,
         status::kManualMode,
         "OBa",
         {}},
        {"manual mode does not check the balance",
         [](TestForm& t) { fill(t, "BaTiO3", {"TiO2"}), t.typeRowRatio(0, "3"); },
         Kind::Manual,
         status::kManualMode,
         "O-3Ti-2Ba",
         {}},
        {"no entries at all", [](TestForm& t) { fill(t, "BaO", {}); }, Kind::NoEntries, "", "OBa", {}},
        {"nothing included in the balance",
         [](TestForm& t) { fill(t, "CO2", {"CO"}); },
         Kind::IncludeEmpty,
         status::kIncludeEmpty,
         "CO2",
         {}},
        {"bad final before a bad row",
         [](TestForm& t) { fill(t, "", {"Q"}); },
         Kind::BadInput,
         status::kBadFinal,
         nullptr,
         {}},
        {"bad row",
         [](TestForm& t) { fill(t, "BaO", {"Q"}); },
         Kind::BadInput,
         status::kBadEntry,
         nullptr,
         {}},
        {"zero final ratio before a bad row",
         [](TestForm& t) { fill(t, "BaO", {"Q"}), t.typeFinalRatio("0"); },
         Kind::BadInput,
         status::kZeroFinalRatio,
         nullptr,
         {}},
        {"final ratio under the tolerance",
         [](TestForm& t) { fill(t, "BaO", {}), t.typeFinalRatio("4e-7"); },
         Kind::BadInput,
         status::kZeroFinalRatio,
         nullptr,
         {}},
        {"(Ba,Ti) leaves O off by 4e-7: accepted",
         [](TestForm& t) { overdetermined(t, "Ba0.1TiO3.0000004"); },
         Kind::Solved,
         status::kSolved,
         "O3TiBa0.1",
         {"1", "1"}},
        {"only (Ti,O) is close enough",
         [](TestForm& t) { overdetermined(t, "Ba0.1TiO3.000003"); },
         Kind::Solved,
         status::kSolved,
         "O3.000003TiBa0.1",
         {"1.000003", "1"}},
        {"no pair is",
         [](TestForm& t) { overdetermined(t, "Ba0.1TiO3.00001"); },
         Kind::NoSolution,
         "",
         "O3.00001TiBa0.1",
         {"", ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TestForm t;
        c.setUp(t);
        const SolverOutcome out = RatioSolver(t.model).compute();
        EXPECT_EQ(out.kind, c.kind);
        EXPECT_EQ(out.status, c.status);
        EXPECT_EQ(out.includeCount, t.include.itemCount());
        EXPECT_EQ(out.freeCount, static_cast<int>(t.model.freeEntries().size()));
        EXPECT_EQ(out.remainder.has_value(), c.remainder != nullptr);
        if (c.remainder) EXPECT_EQ(out.remainderText, c.remainder);
        std::vector<std::string> ratios;
        for (const FreeRatio& r : out.ratios) ratios.push_back(r.text);
        EXPECT_EQ(ratios, c.ratios);
        EXPECT_EQ(out.outputEnabled, c.kind == Kind::Solved || c.kind == Kind::Manual);
        // The form shows what was computed.
        EXPECT_EQ(t.status(), out.status);
        EXPECT_EQ(t.model.difference().text(), out.remainderText);
        EXPECT_EQ(t.outputEnabled(), out.outputEnabled);
        for (const FreeRatio& r : out.ratios) {
            EXPECT_EQ(t.row(r.row).ratioText(), r.text) << r.row;
            EXPECT_EQ(t.row(r.row).ratio(), r.ratio) << r.row;
            EXPECT_EQ(t.row(r.row).classify(), Free) << r.row;
        }
    }
}

TEST(RatioSolver, TellsTheFormInOrder) {
    TestForm t;
    fill(t, "BaTiO3", {"BaCO3", "TiO2"});
    t.clearLog();
    EXPECT_TRUE(t.model.runSolver());
    // Counts first, then the difference, the answer, the ratios, Output.
    using C = FormChange;
    EXPECT_EQ(
        t.log(),
        (std::vector<FormNotice>{
            {C::ElementLists, -1}, {C::Difference, -1}, {C::Status, -1}, {C::Ratio, -1}, {C::Outcome, -1}}));
    EXPECT_EQ(t.model.difference().text(), "O3TiBa");
    // Without an answer the cleared ratios show before the status.
    t.setText(t.row(1), "CO2");
    t.clearLog();
    EXPECT_FALSE(t.model.runSolver());
    EXPECT_EQ(
        t.log(),
        (std::vector<FormNotice>{
            {C::ElementLists, -1}, {C::Difference, -1}, {C::Ratio, -1}, {C::Status, -1}, {C::Outcome, -1}}));
    EXPECT_EQ(t.status(), "");
}

}  // namespace
}  // namespace qv

namespace qv {
namespace {

TEST(RatioSolver, StatusSaysHowADecimalCountBeforeWaterWasRead) {
    test::TestForm t;
    t.type(t.final(), "Ca(OH)2");
    t.type(t.row(0), "CaO2.5H2O");
    EXPECT_EQ(t.status(),
              std::string(status::kSolved) +
                  "\nCaO2.5H2O is read as CaO2.5 + H2O: \"2.5\" is one decimal count. For the hydrate "
                  "write CaO2\xC2\xB7"
                  "5H2O (or CaO2*5H2O).");
    t.retype(t.row(0), "CaO2*5H2O");
    EXPECT_EQ(t.status(), status::kSolved);
    t.retype(t.row(0), "Ca0.5O");
    EXPECT_EQ(t.status(), status::kSolved);
}

}  // namespace
}  // namespace qv
