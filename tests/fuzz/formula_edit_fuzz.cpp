// Drives the formula editing model of a whole in-memory form with random key,
// mouse, clipboard and menu sequences (plus pegs, ratios and element moves),
// checking the layout and the form's invariants after every step.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "form/edit/formula_editing.h"
#include "form/edit/formula_style.h"
#include "form/edit/key_codes.h"
#include "form/edit/width_table.h"
#include "form/element_lists.h"
#include "form/headless_form.h"
#include "fuzz_support.h"
#include "model_checks.h"
#include "support/fake_clipboard.h"

using namespace qv;

namespace {

// Reads the input front to back: an operation byte, then its arguments, each
// integer in as few big-endian bytes as its range needs (missing bytes read
// as zero), each text as its length and then its bytes. Simple enough that
// tests/fuzz/make_formula_edit_seeds.py writes real sequences.
class ByteReader {
public:
    ByteReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    std::size_t remaining_bytes() const { return size_ - pos_; }

    template <typename T = int>
    T ConsumeIntegralInRange(T lo, T hi) {
        const std::uint64_t range = static_cast<std::uint64_t>(static_cast<std::int64_t>(hi) - lo);
        std::uint64_t value = 0;
        for (std::uint64_t r = range; r > 0; r >>= 8) value = value << 8 | next();
        return static_cast<T>(static_cast<std::int64_t>(lo) + static_cast<std::int64_t>(value % (range + 1)));
    }
    bool ConsumeBool() { return next() & 1; }
    std::string ConsumeRandomLengthString(int max) {
        const int n = ConsumeIntegralInRange(0, max);
        const std::size_t take = std::min<std::size_t>(static_cast<std::size_t>(n), remaining_bytes());
        std::string text(reinterpret_cast<const char*>(data_ + pos_), take);
        pos_ += take;
        return text;
    }

private:
    std::uint8_t next() { return pos_ < size_ ? data_[pos_++] : 0; }
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

constexpr int kKeys[] = {kKeyBackspace, kKeyTab,    kKeyReturn,  kKeyPageUp, kKeyPageDown,
                         kKeyEnd,       kKeyHome,   kKeyLeft,    kKeyUp,     kKeyRight,
                         kKeyDown,      kKeyDelete, kKeyDecimal, kKeyMinus,  kKeyPeriod};

int pickKey(ByteReader& in) {
    switch (in.ConsumeIntegralInRange(0, 4)) {
    case 0: return kKeys[in.ConsumeIntegralInRange<std::size_t>(0, std::size(kKeys) - 1)];
    case 1: return in.ConsumeIntegralInRange(kKeyA, kKeyZ);
    case 2: return in.ConsumeIntegralInRange(kKey0, kKey9);
    case 3: return in.ConsumeIntegralInRange(kKeyNumpad0, kKeyNumpad9);
    default: return in.ConsumeIntegralInRange(-1, 300);
    }
}

// The widths are filled per input, before the form is made.
WidthTable widths;
const FormulaStyle style{.widthTable = &widths};

struct Form : HeadlessForm {
    Form() : HeadlessForm(fuzz::shippedElements(), &style) {}
    test::FakeClipboard clipboard;
    int hiddenMessages = 0;
    EditorContext context{&clipboard, [this] { ++hiddenMessages; }};

    Formula& entry(int which) {
        if (which == -1) return model.finalCompound();
        if (which == -2) return model.difference();
        return model.source(which);
    }
};

struct Snapshot {
    std::string text;
    int caret, anchor, activeEnd;
    explicit Snapshot(const Formula& f)
        : text(f.text()),
          caret(f.edit().caret()),
          anchor(f.edit().anchor()),
          activeEnd(f.edit().activeEnd()) {}
    bool operator==(const Snapshot& o) const {
        return text == o.text && caret == o.caret && anchor == o.anchor && activeEnd == o.activeEnd;
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ByteReader in(data, size);
    // Widths as fonts could measure them, zero included.
    const int letter = in.ConsumeIntegralInRange(0, 40);
    const int digit = in.ConsumeIntegralInRange(0, 40);
    fillWidthTable(
        widths, [&](char c) { return c == '(' || c == ')' ? letter / 2 : letter; },
        [&](char) { return digit; });
    auto form = std::make_unique<Form>();

    int current = -1;
    Formula* f = &form->entry(current);
    bindView(f->edit(), 200);
    focusGained(f->edit());

    static const bool trace = std::getenv("QV_FUZZ_TRACE") != nullptr;
    for (int step = 0; step < 400 && in.remaining_bytes() > 0; ++step) {
        // Typing leaves the caret, anchor and active end together after the
        // new character.
        bool typed = false;
        const Snapshot before(*f);
        const int op = in.ConsumeIntegralInRange(0, 19);
        switch (op) {
        case 0:
        case 1:
        case 2:
        case 3: {
            const int key = pickKey(in);
            const int mods = in.ConsumeIntegralInRange(0, 7);
            const bool repaint = handleKey(*f, key, mods, form->context);
            if (f->readOnly()) QV_FUZZ_CHECK(!repaint && Snapshot(*f) == before);
            const bool character = (key >= kKey0 && key <= kKey9) || (key >= kKeyA && key <= kKeyZ) ||
                                   (key >= kKeyNumpad0 && key <= kKeyNumpad9) || key == kKeyMinus ||
                                   key == kKeyPeriod || key == kKeyDecimal;
            typed = character && (mods & ~kModShift) == 0 && f->text() != before.text;
            break;
        }
        case 4: form->clipboard.content = in.ConsumeRandomLengthString(700); break;
        case 5:
            form->clipboard.refusePut = in.ConsumeBool();
            form->clipboard.refuseGet = in.ConsumeBool();
            break;
        case 6: contextCommand(*f, in.ConsumeIntegralInRange(-1, 5), form->context); break;
        case 7: {
            const std::string text = in.ConsumeRandomLengthString(600);
            const std::optional<int> n = setText(*f, text);
            QV_FUZZ_CHECK(!n || (*n >= 0 && *n <= kFormulaCapacity));
            if (!n) QV_FUZZ_CHECK(Snapshot(*f) == before);
            break;
        }
        case 8: {
            const std::string text = in.ConsumeRandomLengthString(600);
            const int n = replaceSelection(*f, text);
            QV_FUZZ_CHECK(n >= 0 && n <= kFormulaCapacity);
            break;
        }
        case 9: {
            const int s = in.ConsumeIntegralInRange(-3, kFormulaCapacity + 3);
            const int e = in.ConsumeIntegralInRange(-3, kFormulaCapacity + 3);
            selectRange(f->edit(), s, e);
            if (auto sel = getSelection(f->edit())) {
                QV_FUZZ_CHECK(0 <= sel->first && sel->first <= sel->last && sel->last < f->edit().length());
            }
            break;
        }
        case 10: clickAt(f->edit(), in.ConsumeIntegralInRange(-100, 20000)); break;
        case 11: dragTo(f->edit(), in.ConsumeIntegralInRange(-100, 20000)); break;
        case 12:
            switch (in.ConsumeIntegralInRange(0, 2)) {
            case 0: focusGained(f->edit()); break;
            case 1: focusLost(f->edit()); break;
            default: selectAll(f->edit()); break;
            }
            break;
        case 13:
            resizeView(f->edit(), in.ConsumeIntegralInRange(0, 2000));
            ensureCaretVisible(f->edit(), in.ConsumeBool());
            break;
        case 14:
            // The editor moves to another entry (the source list re-binds its
            // one editor row after row).
            releaseView(f->edit());
            current = in.ConsumeIntegralInRange(-2, kSourceRows - 1);
            f = &form->entry(current);
            bindView(f->edit(), in.ConsumeIntegralInRange(0, 2000));
            if (in.ConsumeBool()) focusGained(f->edit());
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
            const int row = in.ConsumeIntegralInRange(0, kSourceRows - 1);
            switch (in.ConsumeIntegralInRange(0, 2)) {
            case 0: form->model.togglePeg(row); break;
            case 1: form->model.sourceRatioTyped(row, in.ConsumeRandomLengthString(120)); break;
            default: form->model.setFinalRatioText(in.ConsumeRandomLengthString(120)); break;
            }
            break;
        }
        default: {
            MemoryElementList& list = in.ConsumeBool() ? form->include : form->exclude;
            switch (in.ConsumeIntegralInRange(0, 2)) {
            case 0:
                elementListClicked(form->model, list, in.ConsumeIntegralInRange(-1, list.itemCount()));
                break;
            case 1:
                if (list.itemCount() > 0)
                    list.setSelected(in.ConsumeIntegralInRange(0, list.itemCount() - 1), true);
                moveSelectedAndSolve(form->model, list);
                break;
            default: moveAllAndSolve(form->model, list); break;
            }
            break;
        }
        }
        if (trace)
            std::fprintf(stderr, "step %d op %d entry %d \"%s\" caret %d anchor %d active %d | %s\n", step,
                         op, current, f->text().c_str(), f->edit().caret(), f->edit().anchor(),
                         f->edit().activeEnd(), form->model.status().c_str());
        if (typed)
            QV_FUZZ_CHECK(f->edit().caret() == f->edit().activeEnd() &&
                          f->edit().anchor() == f->edit().caret());
        fuzz::checkModel(form->model, form->include, form->exclude);
    }
    return 0;
}
