#pragma once
// A formula entry: the final compound, the read-only difference formula or one
// of the thirty source rows. The entry carries its own editing state, so an
// editor window can be re-bound from row to row without losing caret or undo.

#include <array>
#include <memory>
#include <string>
#include <string_view>

#include "core/composition.h"
#include "core/formula_parser.h"
#include "form/edit/glyph_cell.h"

namespace qv {

class Model;
struct WidthTable;
struct FontMetrics;

enum EntryClass { Invalid = -1, Empty = 0, Free = 1, Fixed = 2 };

inline constexpr int kFormulaCapacity = 480;
inline constexpr int kSourceRows = 30;

struct Formula {
    explicit Formula(Model* owner = nullptr) : model(owner) {}
    Formula(const Formula&) = delete;
    Formula& operator=(const Formula&) = delete;

    Model* model;            // the model this entry belongs to (element table, sets, solver)

    // Chemical state
    int index = -2;          // 0..29 source row, -1 final compound, -2 difference
    int capacity = kFormulaCapacity;
    int leftMargin = 1;
    int rightMargin = 1;
    bool readOnly = false;
    bool inList = true;
    bool valid = true;
    bool fixed = false;
    bool ratioValid = true;
    double ratio = 0.0;
    std::string ratioText;
    std::unique_ptr<FormulaNode> tree;
    Composition composition;
    double molarMassValue = 0.0;

    // Editing state
    void* window = nullptr;  // the editor bound to this entry, opaque to the model
    bool modified = false;
    int clientWidth = 0;
    int clientHeight = 0;
    int caretTop = 0;
    int caretBottom = 0;
    std::array<GlyphCell, kFormulaCapacity> cells{};
    int length = 0;
    int caret = 0;
    int anchor = 0;
    int activeEnd = 0;
    std::array<GlyphCell, kFormulaCapacity> undoCells{};
    int undoLength = 0;
    int undoCaret = 0;
    int undoAnchor = 0;
    int undoActiveEnd = 0;
    int viewLeft = 0;
    int viewRight = 0;
    const WidthTable* widthTable = nullptr;

    // Drawing style, installed before the entry is bound to an editor;
    // baseline, subscriptTop and the caret band follow from it at binding.
    const FontMetrics* normalMetrics = nullptr;
    const FontMetrics* subscriptMetrics = nullptr;
    int topMargin = 0;
    int subscriptDrop = -5;
    int baseline = 0;
    int subscriptTop = 0;

    // The formula text: the first `length` cells.
    std::string text() const;

    EntryClass classify() const;
    int reparse();             // 1 parsed, 0 empty, -1 did not parse
    void clearParse();
    void resetEntry();
    bool recomputeComposition();
    void setRatio(double value);
    bool parseRatioText();
    int setEntry(std::string_view formulaText, double ratioValue, bool fixedFlag);
    double molarMass();
};

}  // namespace qv
