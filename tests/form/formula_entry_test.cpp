#include "form/edit/editing_fixture.h"
#include "form_steps.h"

namespace qv {

using test::fill;
using test::sets;
using test::TestForm;

// An entry as its class (Invalid Empty Free Fixed), text and ratio text: "Free CaCO3 x1.5".
static std::string entry(const Formula& f) {
    return std::string(std::array{"Invalid", "Empty", "Free", "Fixed"}[f.classify() + 1]) + " " + f.text() +
           " x" + f.ratioText();
}

TEST(EntrySets, TypingPegBracketsClearAllRatioTextSetEntryAndASession) {
    TestForm t;
    Formula& row = t.row(4);
    t.type(row, "Fe2O3");
    EXPECT_EQ(t.model.freeEntries().at(4), &row);
    t.clickPeg(4);
    EXPECT_EQ(sets(t.model), "free | fixed 4 | invalid");
    t.clickPeg(4);
    EXPECT_EQ(sets(t.model), "free 4 | fixed | invalid");
    // The parse results and the element use follow the text.
    t.type(row, ")");
    EXPECT_EQ(entry(row), "Invalid Fe2O3) x");
    EXPECT_TRUE(row.composition().empty() && row.tree() == nullptr);
    EXPECT_EQ(t.model.elementUse().count(t.element("Fe")), 0u) << "the failed parse releases its elements";
    t.backspace(row);
    EXPECT_EQ(row.classify(), Free);
    EXPECT_DOUBLE_EQ(row.composition().at(t.element("Fe")), 2.0);
    // An empty formula with a malformed ratio is invalid too.
    t.typeRowRatio(3, "abc");
    EXPECT_EQ(sets(t.model), "free 4 | fixed | invalid 3");
    t.typeRowRatio(3, "");
    EXPECT_EQ(t.row(3).classify(), Empty);
    // The final compound and the difference are never in a set.
    t.type(t.final(), "BaTiO3");
    t.model.textChanged(t.final());
    setText(t.model.difference(), "BaO");
    t.model.textChanged(t.model.difference());
    EXPECT_EQ(sets(t.model), "free 4 | fixed | invalid");
    TestForm u;
    fill(u, "BaO", "BaCO3 TiO2 Q");
    u.clickPeg(1);
    u.typeRowRatio(5, "x");
    // The edit control's clipboard messages leave a row in the set of its
    // old text until the next edit: clear, undo to an empty snapshot, paste.
    u.type(u.row(3), "Fe2O3");
    selectRange(u.row(3).edit(), 0, -1);
    deleteForward(u.row(3).edit(), false);
    u.type(u.row(4), "CaO");
    undo(u.row(4).edit());
    u.type(u.row(6), "TiO");
    testing::FakeClipboard clipboard;
    clipboard.content = "Ti";
    pasteWithoutHook(u.row(6), &clipboard);
    EXPECT_EQ(sets(u.model), "free 0 3 4 6 | fixed 1 | invalid 2 5");
    u.clickPeg(7);  // a solver run meanwhile copes with them

    u.model.clearAll();
    EXPECT_EQ(sets(u.model), "free | fixed | invalid");
    EXPECT_TRUE(u.model.elementUse().empty() && u.include.items().empty() && u.exclude.items().empty());
    TestForm r;
    r.type(r.row(0), "TiO2");
    const auto typed = [&](std::string_view text) {
        r.typeRowRatio(0, text);
        std::ostringstream out;
        out << entry(r.row(0)) << " = " << r.row(0).ratio();
        return out.str();
    };
    EXPECT_EQ(typed("2.5"), "Fixed TiO2 x2.5 = 2.5");
    EXPECT_EQ(typed(""), "Fixed TiO2 x = 0");
    EXPECT_EQ(typed("1e-3"), "Fixed TiO2 x1e-3 = 0.001");
    EXPECT_EQ(typed("2.5x"), "Invalid TiO2 x2.5x = 2.5");  // the leading number still counts
    r.setText(r.row(0), "BaO");                            // resets the ratio and the peg
    EXPECT_EQ(entry(r.row(0)), "Free BaO x");
    Formula f;
    for (const char* text : {"inf", "-INF", "nan", "1e999", "-"}) {
        EXPECT_FALSE(f.setRatioText(text)) << text;
        EXPECT_EQ(f.ratio(), 0.0) << text;
    }
    f.setRatio(2.0);  // as the solver writes it
    EXPECT_TRUE(f.ratioValid());
    // Set like the editor inserts: blanks skipped, a refused character stops it, at most 480; no solver run.
    TestForm e;
    e.row(7).setEntry("CaCO3", 1.5, true);
    EXPECT_EQ(entry(e.row(7)) + " " + sets(e.model), "Fixed CaCO3 x1.5 free | fixed 7 | invalid");
    EXPECT_EQ(e.model.elementUse().at(e.element("Ca")), 1);
    e.row(7).setEntry("", 0.0, false);
    EXPECT_EQ(entry(e.row(7)), "Empty  x0");
    EXPECT_TRUE(e.model.fixedEntries().empty() && e.model.elementUse().empty());
    e.row(0).setEntry(" Ca CO3 ", 1.0, false);
    e.row(1).setEntry("Ba,TiO3", 1.0, false);
    EXPECT_EQ(entry(e.row(0)) + "|" + entry(e.row(1)), "Free CaCO3 x1|Free Ba x1");
    e.row(2).setEntry(std::string(600, 'H'), 1.0, false);
    EXPECT_EQ(std::pair(e.row(2).edit().length(), e.solverRuns()), std::pair(480, 0));
    // (Ba0.5Sr0.5)TiO3 with a pegged excess of TiO2, freed again, doubled, then cleared: the ratios and
    // Output after each gesture.
    TestForm s("1 C 12.01 m\n2 O 16 m\n3 Ca 40.08\n4 Ti 47.87\n5 Sr 87.62\n6 Ba 137.33\n");
    const auto shown = [&](std::string_view then) {
        fill(s, "", "", then);
        std::string out;
        for (int i = 0; i < 4; ++i) out += s.row(i).ratioText() + " ";
        return out + (s.outputEnabled() ? "on" : "off");
    };
    fill(s, "Ba0.5Sr0.5TiO3", "BaCO3 SrCO3 TiO2 CaO");
    EXPECT_EQ(shown(""), "0.5 0.5 1 0 on");
    // With Ti pegged at 1.1 nothing free can take the -0.1 Ti, until Ti is excluded and may be in excess.
    EXPECT_EQ(shown("r2:1.1"), "  1.1  off");
    EXPECT_EQ(s.model.difference().text(), "O0.8Ti-0.1Sr0.5Ba0.5");
    EXPECT_EQ(shown("+Ti"), "0.5 0.5 1.1 0 on");
    EXPECT_EQ(test::lists(s), "Ba Ca Sr | C O Ti");
    EXPECT_EQ(shown("p2"), "    off");  // freed, the oxide is a zero column while Ti stays excluded
    EXPECT_EQ(shown("+Ti f:2"), "1 1 2 0 on");
    s.model.clearAll();
    EXPECT_EQ(sets(s.model) + test::lists(s), "free | fixed | invalid|");
    EXPECT_TRUE(s.model.elementUse().empty());
    EXPECT_EQ(s.model.finalCompound().ratioText() + std::to_string(s.model.freeCount()) +
                  std::to_string(s.model.includeCount()) + s.model.gramsText(),
              "1001");
    EXPECT_TRUE(!s.outputEnabled() && s.messages.empty() && !s.model.failure());
}

}  // namespace qv
