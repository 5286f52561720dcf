#pragma once
// A formula entry: the final compound, the read-only difference formula or one
// of the thirty source rows. The entry is its chemistry (text parsed into a
// tree and a composition, ratio, class) plus the edit buffer that holds its
// text, caret and undo, so an editor window can be re-bound from row to row
// without losing them, plus the style it is drawn with.
//
// The chemistry follows the text: every operation that changes the text or
// the ratio leaves the composition, the class and the model's entry sets as
// the new text and ratio give them. The edit buffer is lent out for the
// editor's keys; formula_editing.h runs the after-change step for those.

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

class Formula {
public:
    // index: 0..29 a source row, -1 the final compound, -2 the difference.
    // An entry of no model edits like a source row.
    explicit Formula(Model* owner = nullptr, int index = 0);
    Formula(const Formula&) = delete;
    Formula& operator=(const Formula&) = delete;

    Model* model() const { return model_; }
    int index() const { return index_; }
    // Keys and menu edits are refused (the difference formula).
    bool readOnly() const { return readOnly_; }
    void setReadOnly(bool readOnly) { readOnly_ = readOnly; }
    // Edited through the source list's row editor.
    bool inList() const { return index_ >= 0; }

    bool valid() const { return valid_; }
    const FormulaNode* tree() const { return tree_.get(); }
    const Composition& composition() const { return composition_; }
    bool fixed() const { return fixed_; }
    bool ratioValid() const { return ratioValid_; }
    double ratio() const { return ratio_; }
    const std::string& ratioText() const { return ratioText_; }

    EditBuffer& edit() { return edit_; }
    const EditBuffer& edit() const { return edit_; }
    const FormulaStyle& style() const { return style_; }
    // Installs the style; the buffer lays out with its width table.
    void setStyle(const FormulaStyle& style);

    // The formula text: the first `length` cells.
    std::string text() const { return edit_.text(); }

    EntryClass classify() const;
    // Parses the text again; the model's element use follows.
    ReparseResult reparse();
    // Forgets the parse (after a paste that skips the after-change step).
    void clearParse();
    // Empties the text, the ratio and the peg and takes the row out of every
    // entry set: edits that skip the hook may have left it in a stale one.
    void resetEntry();
    // Evaluates the parsed tree again (after include flags changed).
    void recomputeComposition();
    // The ratio with its six-decimal text.
    void setRatio(double value);
    // The ratio with the text its cell shows.
    void setRatio(double value, std::string_view text);
    // Takes a typed ratio text: a number pegs the row; anything that is not a
    // whole finite number makes the ratio invalid.
    bool setRatioText(std::string_view text);
    // Keeps the text without reading it (a ratio edit written by the program).
    void keepRatioText(std::string_view text) { ratioText_.assign(text); }
    void setFixed(bool fixed) { fixed_ = fixed; }
    // Text, ratio and peg at once (a recipe line); the entry sets follow.
    void setEntry(std::string_view formulaText, double ratioValue, bool fixedFlag);
    double molarMass() const;

private:
    bool parseRatioText();

    Model* model_;
    int index_;
    bool readOnly_ = false;

    bool valid_ = true;
    std::unique_ptr<FormulaNode> tree_;
    Composition composition_;
    bool fixed_ = false;
    bool ratioValid_ = true;
    double ratio_ = 0.0;
    std::string ratioText_;

    EditBuffer edit_;
    FormulaStyle style_;
};

}  // namespace qv
