#pragma once
// An entry with known character widths, a fake clipboard and a key walker.

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "form/edit/formula_editing.h"
#include "form/edit/key_codes.h"
#include "form/edit/width_table.h"
#include "form/formula.h"
#include "support/fake_clipboard.h"
#include "support/layout_check.h"

namespace qv::testing {

using test::FakeClipboard;

inline ::testing::AssertionResult layoutConsistent(const Formula& f) {
    const std::string fault = test::layoutFault(f.edit());
    return fault.empty() ? ::testing::AssertionSuccess() : ::testing::AssertionFailure() << fault;
}

class EditingTest : public ::testing::Test {
protected:
    EditingTest() {
        // Capitals 9, small letters 7, the rest 5: a wrong shift shows.
        for (int c = 32; c < 127; ++c) widths.widths[c] = c >= 'a' ? 7 : c >= 'A' ? 9 : 5;
        useEntry(own);
    }
    void TearDown() override { EXPECT_TRUE(layoutConsistent(*f)); }

    void useEntry(Formula& entry) {
        f = &entry;
        f->edit().setWidthTable(&widths);
        bindView(f->edit(), 400);
    }
    bool key(int vk, int mods = kModNone) {
        const bool repaint = handleKey(*f, vk, mods, context);
        EXPECT_TRUE(layoutConsistent(*f));
        return repaint;
    }
    // The keys a user presses for the text: Shift for capitals and brackets.
    void type(std::string_view keys) {
        for (char c : keys) {
            if (c >= 'a' && c <= 'z')
                key(c - 32);
            else if (c >= 'A' && c <= 'Z')
                key(c, kModShift);
            else if (c >= '0' && c <= '9')
                key(c);
            else if (c == '(')
                key(kKey9, kModShift);
            else if (c == ')')
                key(kKey0, kModShift);
            else if (c == '-')
                key(kKeyMinus);
            else if (c == '.')
                key(kKeyPeriod);
            else
                ADD_FAILURE() << "no key for '" << c << "'";
        }
    }
    std::string text() const { return f->text(); }
    std::string selection() const {
        const auto s = getSelection(f->edit());
        return s ? std::to_string(s->first) + ".." + std::to_string(s->last) : "none";
    }
    // Text, caret and selection in one line: "Fe2O3 @4 1..3".
    std::string state() const {
        return text() + " @" + std::to_string(f->edit().caret()) + " " + selection();
    }
    std::string view() const {
        return std::to_string(f->edit().view().left) + ".." + std::to_string(f->edit().view().right);
    }

    WidthTable widths;
    FakeClipboard clipboard;
    int hiddenMessages = 0;
    EditorContext context{&clipboard, [this] { ++hiddenMessages; }};
    Formula own;
    Formula* f = nullptr;
};

}  // namespace qv::testing
