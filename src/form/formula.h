#pragma once
// A formula entry: the final compound, the read-only difference formula or one
// of the thirty source rows. The entry is its chemistry (text parsed into a
// tree and a composition, ratio, class) plus the edit buffer that holds its
// text, caret and undo, so an editor window can be re-bound from row to row
// without losing them, plus the style it is drawn with.

#include <memory>
#include <string>
#include <string_view>

#include "core/composition.h"
#include "core/formula_parser.h"
#include "form/edit/edit_buffer.h"
#include "form/edit/formula_style.h"

namespace qv {

class Model;

enum EntryClass { Invalid = -1, Empty = 0, Free = 1, Fixed = 2 };

inline constexpr int kSourceRows = 30;

enum class ReparseResult { NotParsed = -1, EmptyText = 0, Parsed = 1 };

struct Formula {
    explicit Formula(Model* owner = nullptr) : model(owner) {}
    Formula(const Formula&) = delete;
    Formula& operator=(const Formula&) = delete;

    Model* model;           // the model this entry belongs to (element table, sets, solver)
    int index = -2;         // 0..29 source row, -1 final compound, -2 difference
    bool readOnly = false;  // keys and menu edits refused (the difference formula)
    bool inList = true;     // edited through the source list's row editor

    // Chemistry, rebuilt from the text by reparse
    bool valid = true;
    std::unique_ptr<FormulaNode> tree;
    Composition composition;
    double molarMassValue = 0.0;
    // Ratio and peg
    bool fixed = false;
    bool ratioValid = true;
    double ratio = 0.0;
    std::string ratioText;

    EditBuffer edit;
    FormulaStyle style;

    // The formula text: the first `length` cells.
    std::string text() const { return edit.text(); }

    EntryClass classify() const;
    ReparseResult reparse();
    void clearParse();
    // Empties the text, the ratio and the peg and takes the row out of every
    // entry set: edits that skip the hook may have left it in a stale one.
    void resetEntry();
    bool recomputeComposition();
    void setRatio(double value);
    bool parseRatioText();
    int setEntry(std::string_view formulaText, double ratioValue, bool fixedFlag);
    double molarMass();
};

}  // namespace qv
