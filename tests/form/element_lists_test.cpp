

#include "form/element_lists.h"
#include "form/ratio_solver.h"
#include "form_steps.h"

namespace qv {

using test::fill;
using test::lists;
using test::TestForm;

// Each entry using an element counts it once; its first use brings the item, its last takes it away.
TEST(ElementLists, ItemsFollowTheEntriesMovesSolveOnceRefusalsAreReported) {
    TestForm t;
    const int ba = t.element("Ba");
    fill(t, "BaTiO3", "BaCO3");
    EXPECT_EQ(lists(t), "Ba Ti | C O");
    EXPECT_EQ(std::tuple(t.include.items()[0].stateImage, t.include.items()[0].elementIndex,
                         t.exclude.items()[1].stateImage),
              std::tuple(kMetalImage, ba, kNonMetalImage));
    EXPECT_EQ(t.model.elementUse().at(ba), 2);
    t.retype(t.final(), "Ba");
    t.retype(t.row(0), "");
    EXPECT_EQ(t.final().reparse(), ReparseResult::Parsed);
    EXPECT_EQ(t.model.elementUse().at(ba), 1);
    EXPECT_EQ(lists(t), "Ba |");
    t.clickElement("Ba");
    t.final().clearParse();
    EXPECT_EQ(lists(t), "|");
    EXPECT_TRUE(t.model.elementUse().empty() && t.messages.empty());

    fill(t, "", "Ca(OH)2 Ca(");
    const Composition before = t.row(0).composition();
    const auto use = t.model.elementUse();
    recomputeCompositions(t.model);
    EXPECT_EQ(t.row(0).composition(), before);
    EXPECT_EQ(t.model.elementUse(), use);
    EXPECT_TRUE(t.row(1).composition().empty() && t.row(2).composition().empty());
    TestForm m;
    fill(m, "BaTiO3", "BaCO3 TiO2");
    m.clearLog();
    ASSERT_TRUE(m.clickElement("O"));
    EXPECT_EQ(lists(m), "Ba O Ti | C");
    EXPECT_EQ(m.log().front(), (FormNotice{FormChange::Outcome, -1}));  // disabled before the solver runs
    EXPECT_TRUE(m.solverRuns() == 1 && !m.outputEnabled());

    m.clearLog();
    moveAllAndSolve(m.model, m.exclude);
    // The flags in the order H C O Ca Ti Ba Fe; unused elements stay as they were.
    EXPECT_EQ(lists(m) + " " + m.model.elementTable().includeFlagsText(), "Ba C O Ti | 0111111");
    EXPECT_EQ(m.solverRuns(), 1);
    m.include.select("C");
    m.include.select("O");
    moveSelectedAndSolve(m.model, m.include);  // back to an answer
    EXPECT_EQ(lists(m), "Ba Ti | C O");
    EXPECT_TRUE(m.include.selectedCount() + m.exclude.selectedCount() == 0 && m.outputEnabled());
    m.clearLog();
    moveAllAndSolve(m.model, m.include);
    EXPECT_EQ(m.log().front(), (FormNotice{FormChange::Outcome, -1}));
    EXPECT_EQ(m.status(), status::kIncludeEmpty);
    EXPECT_EQ(m.row(1).ratioText(), "1");  // kept
    EXPECT_EQ(lists(m) + " " + m.model.elementTable().includeFlagsText(), "| Ba C O Ti 0001001");

    m.clearLog();
    elementListClicked(m.model, m.include, -1);  // empty area
    moveSelectedAndSolve(m.model, m.exclude);    // ">" with nothing selected
    MemoryElementList empty;
    EXPECT_EQ(moveAllElements(m.model, empty), 0);
    EXPECT_TRUE(m.log().empty());
    TestForm r;
    r.type(r.final(), "BaTiO3");
    r.include.refuseAdd = true;
    r.type(r.row(0), "TiO2Fe");
    ASSERT_EQ(r.messages.size(), 1u);
    EXPECT_EQ(r.messages[0].title + ": " + r.messages[0].text,
              "Quorvex: Couldn't add data to the element list.");
    EXPECT_EQ(r.include.findItem("Fe"), -1);
    // Fe is used and included but has no item: the equation count is off.
    ASSERT_TRUE(r.model.failure());
    EXPECT_EQ(r.model.failure()->text + std::to_string(r.model.failure()->exitCode), "rows != c_in_elems1");

    TestForm u;
    u.type(u.row(0), "BaO");
    ASSERT_TRUE(u.include.deleteItem(u.include.findItem("Ba")));
    u.retype(u.row(0), "O");
    EXPECT_EQ(u.messages.at(0).text, "Couldn't find 'Ba' in the element list for deletion.");
    EXPECT_EQ(u.model.elementUse().count(u.element("Ba")), 0u);
    u.exclude.refuseDelete = true;
    u.retype(u.row(0), "");
    EXPECT_EQ(u.messages.at(1).text, "Couldn't delete 'O' from the element list.");
    EXPECT_TRUE(u.model.elementUse().empty());
    EXPECT_EQ(lists(u), "| O");

    TestForm v;  // a list that keeps its items ends a move
    v.type(v.row(0), "CaCO3");
    v.exclude.refuseDelete = true;
    EXPECT_EQ(moveAllElements(v.model, v.exclude), 0);
    EXPECT_EQ(lists(v) + " " + v.model.elementTable().includeFlagsText(), "Ca | C O 0001111");
    TestForm w;  // the lists rebuilt from flags changed behind them
    w.type(w.final(), "BaTiO3");
    ASSERT_GT(w.model.elementTable().applyIncludeFlagsText("0010010"), 0);  // O and Ba
    rebuildElementLists(w.model);
    EXPECT_EQ(lists(w), "Ba O | Ti");
    Model bare;  // no window yet
    rebuildElementLists(bare);
    registerElements(w.model, {{99, 1.0}});  // no such element
    EXPECT_EQ(w.model.elementUse().count(99), 0u);
    TestForm x;  // what the program writes under the guard is not typing
    fill(x, "BaTiO3", "BaCO3 TiO2", "f:2-");
    x.model.clearAll();
    EXPECT_TRUE(x.final().ratioValid());
    x.clearLog();
    x.model.setEditorUpdateGuard(true);
    x.typeFinalRatio("7");
    x.model.setEditorUpdateGuard(false);
    EXPECT_EQ(std::tuple(x.final().ratioText(), x.final().ratio(), x.solverRuns()), std::tuple("7", 1.0, 0));
}

}  // namespace qv
