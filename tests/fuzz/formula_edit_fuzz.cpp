// Drives the formula editing model of a whole in-memory form with random key,
// mouse, clipboard and menu sequences (plus pegs, ratios and element moves),
// checking the layout and the form's invariants after every step.
#include <algorithm>
#include <tuple>

#include "form/edit/formula_editing.h"
#include "form/edit/key_codes.h"
#include "form/element_lists.h"
#include "form/headless_form.h"
#include "fuzz_support.h"
#include "support/fake_clipboard.h"

using namespace qv;

namespace {

// Reads the input front to back: an operation byte, then its arguments, each
// integer in as few big-endian bytes as its range needs (missing bytes read
// as zero), each text as its length and then its bytes. Simple enough that
// tests/fuzz/make_formula_edit_seeds.py writes real sequences.
struct ByteReader {
    const std::uint8_t* data;
    std::size_t size, pos = 0;
    std::size_t remaining() const { return size - pos; }
    std::uint8_t next() { return pos < size ? data[pos++] : 0; }
    bool flag() { return next() & 1; }
    int integer(int lo, int hi) {
        const auto range = static_cast<std::uint64_t>(static_cast<std::int64_t>(hi) - lo);
        std::uint64_t value = 0;
        for (std::uint64_t r = range; r > 0; r >>= 8) value = value << 8 | next();
        return static_cast<int>(lo + static_cast<std::int64_t>(value % (range + 1)));
    }
    std::string text(int max) {
        const std::size_t take = std::min<std::size_t>(integer(0, max), remaining());
        pos += take;
        return std::string(reinterpret_cast<const char*>(data + pos - take), take);
    }
};

constexpr int kKeys[] = {kKeyBackspace, kKeyTab,    kKeyReturn,  kKeyPageUp, kKeyPageDown,
                         kKeyEnd,       kKeyHome,   kKeyLeft,    kKeyUp,     kKeyRight,
                         kKeyDown,      kKeyDelete, kKeyDecimal, kKeyMinus,  kKeyPeriod};

int pickKey(ByteReader& in) {
    switch (in.integer(0, 4)) {
    case 0: return kKeys[in.integer(0, std::size(kKeys) - 1)];
    case 1: return in.integer(kKeyA, kKeyZ);
    case 2: return in.integer(kKey0, kKey9);
    case 3: return in.integer(kKeyNumpad0, kKeyNumpad9);
    default: return in.integer(-1, 300);
    }
}

// The widths are filled per input, before the form is made.
WidthTable widths;
const FormulaStyle style{.widthTable = &widths};

struct Form final : HeadlessForm {
    Form() : HeadlessForm(fuzz::shippedElements(), &style) {}
    test::FakeClipboard clipboard;
    EditorContext context{&clipboard, [] {}};

    Formula& entry(int which) {
        return which == -1 ? model.finalCompound() : which == -2 ? model.difference() : model.source(which);
    }
};

// Text, caret, anchor and active end of an entry.
auto snapshot(const Formula& f) {
    return std::tuple(f.text(), f.edit().caret(), f.edit().anchor(), f.edit().activeEnd());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ByteReader in{data, size};
    // Widths as fonts could measure them, zero included.
    const int letter = in.integer(0, 40), digit = in.integer(0, 40);
    fillWidthTable(
        widths, [&](char c) { return c == '(' || c == ')' ? letter / 2 : letter; },
        [&](char) { return digit; });
    auto form = std::make_unique<Form>();

    Formula* f = &form->entry(-1);
    bindView(f->edit(), 200);
    focusGained(f->edit());

    for (int step = 0; step < 400 && in.remaining() > 0; ++step) {
        const auto before = snapshot(*f);
        switch (std::max(in.integer(0, 19), 3)) {  // 0 to 3: a key
        case 3: {
            const int key = pickKey(in), mods = in.integer(0, 7);
            const bool repaint = handleKey(*f, key, mods, form->context);
            if (f->readOnly()) QV_FUZZ_CHECK(!repaint && snapshot(*f) == before);
            const bool character = (key >= kKey0 && key <= kKey9) || (key >= kKeyA && key <= kKeyZ) ||
                                   (key >= kKeyNumpad0 && key <= kKeyNumpad9) || key == kKeyMinus ||
                                   key == kKeyPeriod || key == kKeyDecimal;
            // Typing leaves the caret, anchor and active end together after
            // the new character.
            if (character && (mods & ~kModShift) == 0 && f->text() != std::get<0>(before))
                QV_FUZZ_CHECK(f->edit().caret() == f->edit().activeEnd() &&
                              f->edit().anchor() == f->edit().caret());
            break;
        }
        case 4: form->clipboard.content = in.text(700); break;
        case 5:
            form->clipboard.refusePut = in.flag();
            form->clipboard.refuseGet = in.flag();
            break;
        case 6: contextCommand(*f, in.integer(-1, 5), form->context); break;
        case 7: {
            const std::optional<int> n = setText(*f, in.text(600));
            QV_FUZZ_CHECK(n ? *n >= 0 && *n <= kFormulaCapacity : snapshot(*f) == before);
            break;
        }
        case 8: {
            const int n = replaceSelection(*f, in.text(600));
            QV_FUZZ_CHECK(n >= 0 && n <= kFormulaCapacity);
            break;
        }
        case 9: {
            const int s = in.integer(-3, kFormulaCapacity + 3), e = in.integer(-3, kFormulaCapacity + 3);
            selectRange(f->edit(), s, e);
            if (auto sel = getSelection(f->edit()))
                QV_FUZZ_CHECK(0 <= sel->first && sel->first <= sel->last && sel->last < f->edit().length());
            break;
        }
        case 10: clickAt(f->edit(), in.integer(-100, 20000)); break;
        case 11: dragTo(f->edit(), in.integer(-100, 20000)); break;
        case 12:
            switch (in.integer(0, 2)) {
            case 0: focusGained(f->edit()); break;
            case 1: focusLost(f->edit()); break;
            default: selectAll(f->edit()); break;
            }
            break;
        case 13:
            resizeView(f->edit(), in.integer(0, 2000));
            ensureCaretVisible(f->edit(), in.flag());
            break;
        case 14:
            // The editor moves to another entry (the source list re-binds its
            // one editor row after row).
            releaseView(f->edit());
            f = &form->entry(in.integer(-2, kSourceRows - 1));
            bindView(f->edit(), in.integer(0, 2000));
            if (in.flag()) focusGained(f->edit());
            break;
        case 17: {
            // Undo is one level deep: a second undo brings the text back.
            if (f->readOnly()) break;
            const std::string text = f->text();
            undo(f->edit());
            undo(f->edit());
            QV_FUZZ_CHECK(f->text() == text);
            form->model.textChanged(*f);
            break;
        }
        case 18: {
            const int row = in.integer(0, kSourceRows - 1);
            switch (in.integer(0, 2)) {
            case 0: form->model.togglePeg(row); break;
            case 1: form->model.sourceRatioTyped(row, in.text(120)); break;
            default: form->model.setFinalRatioText(in.text(120)); break;
            }
            break;
        }
        default: {
            MemoryElementList& list = in.flag() ? form->include : form->exclude;
            switch (in.integer(0, 2)) {
            case 0: elementListClicked(form->model, list, in.integer(-1, list.itemCount())); break;
            case 1:
                if (list.itemCount() > 0) list.setSelected(in.integer(0, list.itemCount() - 1), true);
                moveSelectedAndSolve(form->model, list);
                break;
            default: moveAllAndSolve(form->model, list); break;
            }
            break;
        }
        }
        fuzz::checkModel(form->model, form->include, form->exclude);
    }
    return 0;
}
