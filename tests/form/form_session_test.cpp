// A user's session at the form, driven through the model alone: what the
// form shows after each gesture.

#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "form/element_lists.h"
#include "form/ratio_solver.h"
#include "support/test_form.h"

namespace qv {
namespace {

using test::TestForm;
using Texts = std::vector<std::string>;

TEST(FormSession, StrontiumTitanateFromCarbonatesAndOxides) {
    TestForm t(
        "1 C 12.01 m\n"
        "2 O 16 m\n"
        "3 Ca 40.08\n"
        "4 Ti 47.87\n"
        "5 Sr 87.62\n"
        "6 Ba 137.33\n");

    // Start-up leaves an empty form with ratio 1 and gram 1.
    EXPECT_EQ(t.text(ControlId::FinalRatio), "1");
    EXPECT_EQ(t.text(ControlId::Mass), "1");
    EXPECT_EQ(t.text(ControlId::IncludeCount), "0");
    EXPECT_FALSE(t.outputEnabled());

    // The final compound: (Ba0.5Sr0.5)TiO3.
    t.type(t.final(), "Ba0.5Sr0.5TiO3");
    EXPECT_EQ(t.status(), "");  // nothing to weigh yet
    EXPECT_EQ(t.text(ControlId::Difference), "O3TiSr0.5Ba0.5");
    EXPECT_EQ(t.include.texts(), (Texts{"Ba", "Sr", "Ti"}));
    EXPECT_EQ(t.exclude.texts(), Texts{"O"});
    EXPECT_FALSE(t.outputEnabled());

    // First row: more unknowns than equations would be refused, fewer is fine
    // only if consistent: BaCO3 alone cannot supply Sr and Ti.
    t.type(t.row(0), "BaCO3");
    EXPECT_EQ(t.text(ControlId::FreeCount), "1");
    EXPECT_EQ(t.status(), "");
    EXPECT_EQ(t.row(0).ratioText, "");
    EXPECT_FALSE(t.outputEnabled());

    t.type(t.row(1), "SrCO3");
    t.type(t.row(2), "TiO2");
    EXPECT_EQ(t.text(ControlId::FreeCount), "3");
    EXPECT_EQ(t.text(ControlId::IncludeCount), "3");
    EXPECT_EQ(t.status(), status::kSolved);
    EXPECT_EQ(t.row(0).ratioText, "0.5");
    EXPECT_EQ(t.row(1).ratioText, "0.5");
    EXPECT_EQ(t.row(2).ratioText, "1");
    EXPECT_TRUE(t.outputEnabled());
    EXPECT_EQ(t.exclude.texts(), (Texts{"C", "O"}));

    // A typo in a fourth row blocks everything until it is fixed.
    t.type(t.row(3), "Ca0");
    t.backspace(t.row(3), 1);
    t.type(t.row(3), "O)");
    EXPECT_EQ(t.status(), status::kBadEntry);
    EXPECT_EQ(t.text(ControlId::Difference), "");
    EXPECT_FALSE(t.outputEnabled());
    EXPECT_EQ(t.row(0).ratioText, "0.5");  // kept while blocked
    t.backspace(t.row(3), 1);
    // CaO brings a fourth unknown but Ca a fourth equation: Ca gets 0.
    EXPECT_EQ(t.status(), status::kSolved);
    EXPECT_EQ(t.row(3).ratioText, "0");
    EXPECT_EQ(t.text(ControlId::IncludeCount), "4");

    // Peg the titanium oxide at 1.1 (a little excess).
    t.typeRowRatio(2, "1.1");
    EXPECT_TRUE(t.row(2).fixed);
    EXPECT_EQ(t.text(ControlId::FreeCount), "3");
    // With Ti fixed the remainder has -0.1 Ti, which nothing free can take.
    EXPECT_EQ(t.text(ControlId::Difference), "O0.8Ti-0.1Sr0.5Ba0.5");
    EXPECT_EQ(t.status(), "");
    EXPECT_FALSE(t.outputEnabled());

    // Excluding Ti lets it be in excess.
    ASSERT_TRUE(t.clickElement("Ti"));
    EXPECT_EQ(t.exclude.texts(), (Texts{"C", "O", "Ti"}));
    EXPECT_EQ(t.text(ControlId::IncludeCount), "3");
    EXPECT_EQ(t.status(), status::kSolved);
    EXPECT_EQ(t.row(0).ratioText, "0.5");
    EXPECT_EQ(t.row(1).ratioText, "0.5");
    EXPECT_EQ(t.row(2).ratioText, "1.1");
    EXPECT_EQ(t.row(3).ratioText, "0");
    EXPECT_TRUE(t.outputEnabled());

    // Clicking the peg frees the oxide again: back to an exact answer.
    t.clickPeg(2);
    EXPECT_FALSE(t.row(2).fixed);
    EXPECT_EQ(t.status(), "");  // Ti is excluded, so TiO2 is a zero column
    EXPECT_FALSE(t.outputEnabled());
    ASSERT_TRUE(t.clickElement("Ti"));
    EXPECT_EQ(t.status(), status::kSolved);
    EXPECT_EQ(t.row(2).ratioText, "1");
    EXPECT_TRUE(t.outputEnabled());

    // Twice the amount.
    t.typeFinalRatio("2");
    EXPECT_EQ(t.row(0).ratioText, "1");
    EXPECT_EQ(t.row(2).ratioText, "2");

    // Only fixed rows: manual mode, whatever the balance.
    for (int i : {0, 1, 2, 3}) t.clickPeg(i);
    EXPECT_EQ(t.status(), status::kManualMode);
    EXPECT_EQ(t.text(ControlId::FreeCount), "0");
    EXPECT_TRUE(t.outputEnabled());

    // Clear All: everything back to the start, no element left.
    t.model.clearAll();
    EXPECT_TRUE(t.model.elementUse.empty());
    EXPECT_TRUE(t.include.texts().empty());
    EXPECT_TRUE(t.exclude.texts().empty());
    EXPECT_TRUE(t.model.freeEntries.empty());
    EXPECT_TRUE(t.model.fixedEntries.empty());
    EXPECT_EQ(t.text(ControlId::FinalRatio), "1");
    EXPECT_EQ(t.text(ControlId::FreeCount), "0");
    EXPECT_EQ(t.text(ControlId::IncludeCount), "0");
    EXPECT_FALSE(t.outputEnabled());
    EXPECT_TRUE(t.form.messages.empty());
    EXPECT_TRUE(t.form.fatals.empty());
}

// Each inconsistency the model finds in itself ends the process with its
// own message.
TEST(FormSession, InconsistentStateEndsTheProcess) {
    const std::pair<const char*, void (*)(TestForm&)> cases[] = {
        // A set member that no row accounts for survives the rows' reset.
        {"Remains after clear in CHEMLIST.",
         [](TestForm& t) { t.model.freeEntries[kSourceRows] = &t.row(0); t.model.clearAll(); }},
        {"Global clear operation failed.",  // a use no entry accounts for
         [](TestForm& t) { t.model.elementUse[t.element("Fe")] = 1; t.model.clearAll(); }},
        {"Error has been encountered: revectoring failure.",  // the root must be a group
         [](TestForm& t) { t.final().tree->kind = NodeKind::Element; t.clickElement("Ba"); }},
    };
    for (const auto& [message, breakIt] : cases) {
        TestForm t;
        t.type(t.final(), "BaO");
        t.type(t.row(0), "BaO");
        breakIt(t);
        ASSERT_FALSE(t.form.fatals.empty()) << message;
        EXPECT_EQ(t.form.fatals[0].text, message);
        EXPECT_EQ(t.form.fatals[0].exitCode, 1);
    }
}

}  // namespace
}  // namespace qv
