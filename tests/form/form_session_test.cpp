// A user's session at the form, driven through the model alone: what the
// form shows after each gesture.

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "form/element_lists.h"
#include "form/ratio_solver.h"
#include "support/test_form.h"

namespace qv {
namespace {

using test::TestForm;
using Texts = std::vector<std::string>;

// (Ba0.5Sr0.5)TiO3 with a pegged excess of TiO2, freed again, doubled, then
// cleared: what the form shows after each gesture.
TEST(FormSession, StrontiumTitanateWithAPeggedExcess) {
    TestForm t("1 C 12.01 m\n2 O 16 m\n3 Ca 40.08\n4 Ti 47.87\n5 Sr 87.62\n6 Ba 137.33\n");
    t.type(t.final(), "Ba0.5Sr0.5TiO3");
    for (const char* row : {"BaCO3", "SrCO3", "TiO2", "CaO"})
        t.type(t.row(t.model.freeEntries().size()), row);
    auto ratios = [&] {
        return t.row(0).ratioText() + " " + t.row(1).ratioText() + " " + t.row(2).ratioText() + " " +
               t.row(3).ratioText();
    };
    EXPECT_EQ(ratios(), "0.5 0.5 1 0");
    // With Ti pegged at 1.1 nothing free can take the -0.1 Ti, until Ti is
    // excluded and may be in excess.
    t.typeRowRatio(2, "1.1");
    EXPECT_EQ(t.model.difference().text(), "O0.8Ti-0.1Sr0.5Ba0.5");
    EXPECT_FALSE(t.outputEnabled());
    ASSERT_TRUE(t.clickElement("Ti"));
    EXPECT_EQ(t.exclude.texts(), (Texts{"C", "O", "Ti"}));
    EXPECT_EQ(ratios(), "0.5 0.5 1.1 0");
    EXPECT_TRUE(t.outputEnabled());
    // Freed, the oxide is a zero column while Ti stays excluded.
    t.clickPeg(2);
    EXPECT_FALSE(t.outputEnabled());
    ASSERT_TRUE(t.clickElement("Ti"));
    t.typeFinalRatio("2");
    EXPECT_EQ(ratios(), "1 1 2 0");
    EXPECT_TRUE(t.outputEnabled());

    t.model.clearAll();
    EXPECT_TRUE(t.model.elementUse().empty() && t.model.freeEntries().empty() &&
                t.model.fixedEntries().empty());
    EXPECT_TRUE(t.include.texts().empty() && t.exclude.texts().empty());
    EXPECT_EQ(t.model.finalCompound().ratioText() + std::to_string(t.model.freeCount()) +
                  std::to_string(t.model.includeCount()) + t.model.gramsText(),
              "1001");
    EXPECT_FALSE(t.outputEnabled());
    EXPECT_TRUE(t.messages.empty() && !t.model.failure());
}

}  // namespace
}  // namespace qv
