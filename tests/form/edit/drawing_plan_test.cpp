
#include "form/edit/drawing_plan.h"
#include "editing_fixture.h"
#include "support/test_form.h"

namespace qv::testing {

// Glyphs as "F2,0" (character, x, top) with the font as n/s and the colour
// as T(ext), G(rey) or B(ackground): "F2,0nT".
static std::string glyphs(const DrawingPlan& plan) {
    std::string out;
    for (const PlannedGlyph& g : plan.glyphs) {
        if (!out.empty()) out += ' ';
        out += g.ch + std::to_string(g.x) + ',' + std::to_string(g.top);
        out += g.font == FontRole::Normal ? 'n' : 's';
        out += g.color == ColorRole::Text ? 'T' : g.color == ColorRole::GreyText ? 'G' : 'B';
    }
    return out;
}

static std::string band(const Band& b) {
    return std::to_string(b.left) + ".." + std::to_string(b.right) + " " + std::to_string(b.top) + ".." +
           std::to_string(b.bottom);
}

class DrawingPlanTest : public EditingTest {
protected:
    DrawingPlanTest() {
        // A row takes the final compound's style with its own background.
        useEntry(form.row(3));
        applyStyle(form.final(), FormulaStyle{&widths, &normal, &small, 0, -5, std::nullopt});
        f->edit().setWidthTable(nullptr);  // the copied style brings it back
        copyRowStyle(*f, form.final());
        type("Fe2O3");
    }
    const FontMetrics normal{22, 17, 2};
    const FontMetrics small{14, 11, 3};
    test::TestForm form;
};

TEST_F(DrawingPlanTest, CountsLowerTheSelectionOverTheBandAndInvalidFormulasGrey) {
    // F 9, e 7, 2 5, O 9, 3 5 pixels from x 1; the view starts at -1. The
    // counts' top: baseline 17 - subscript ascent 11 + 5.
    EXPECT_EQ(glyphs(planFormula(*f, 0, 0, true)), "F2,0nT e11,0nT O23,0nT 218,11sT 332,11sT");
    EXPECT_TRUE(f->style().background == (Rgb{254, 251, 209}) && !form.final().style().background);
    EXPECT_EQ(verticalLayout(FormulaStyle{&widths, &normal, nullptr, 0, -5, std::nullopt}).subscriptTop, 22);
    selectRange(f->edit(), 1, 3);
    const DrawingPlan plan = planFormula(*f, 0, 0, true);
    ASSERT_TRUE(plan.selection);  // from xOfIndex(1) to xOfIndex(4), down below the lowered counts
    EXPECT_EQ(band(*plan.selection), "11..32 0..22");
    EXPECT_EQ(glyphs(plan), "F2,0nT e11,0nB O23,0nB 218,11sB 332,11sT");
    EXPECT_EQ(band(caretBand(*f)), "32..33 0..22");
    // The list draws each row at its own offset and never shows a selection.
    const DrawingPlan row = planFormula(*f, 100, 40, false);
    EXPECT_FALSE(row.selection);
    EXPECT_EQ(glyphs(row), "F102,40nT e111,40nT O123,40nT 2118,51sT 3132,51sT");
    // An invalid formula is grey, selected or not.
    type("Xx");
    EXPECT_FALSE(f->valid());
    selectRange(f->edit(), 0, 1);
    const DrawingPlan grey = planFormula(*f, 0, 0, true);
    EXPECT_TRUE(grey.selection);
    for (const PlannedGlyph& g : grey.glyphs) EXPECT_EQ(g.color, ColorRole::GreyText) << g.ch;
    setText(*f, "");
    EXPECT_TRUE(planFormula(*f, 0, 0, true).glyphs.empty());
    EXPECT_FALSE(planFormula(*f, 0, 0, true).selection);
}

TEST_F(DrawingPlanTest, ContextMenuOffersWhatTheSelectionAndClipboardAllow) {
    const std::optional<std::string> none;
    EXPECT_EQ(contextMenuMask(*f, none), 0);
    for (const char* clip : {"Ba;", "  "}) EXPECT_EQ(contextMenuMask(*f, std::string(clip)), 0) << clip;
    EXPECT_EQ(contextMenuMask(*f, std::string("Ba O")), kMenuPasteEnabled);
    selectRange(f->edit(), 0, 0);
    EXPECT_EQ(contextMenuMask(*f, none), kMenuCopyEnabled | kMenuCutEnabled | kMenuDeleteEnabled);
    f->setReadOnly(true);
    EXPECT_EQ(contextMenuMask(*f, std::string("Ba")), kMenuCopyEnabled);
    selectRange(f->edit(), -1, 0);
    EXPECT_EQ(contextMenuMask(*f, std::string("Ba")), 0);
}

}  // namespace qv::testing
