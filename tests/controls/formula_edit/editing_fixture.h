#pragma once
// A formula entry with known character widths, a fake clipboard and a key
// walker that presses the keys a user would press for a text.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>

#include "controls/formula_edit/clipboard.h"
#include "controls/formula_edit/formula_editing.h"
#include "controls/formula_edit/key_codes.h"
#include "controls/formula_edit/width_table.h"
#include "core/formula.h"

namespace qv::testing {

class FakeClipboard : public Clipboard {
public:
    bool putText(std::string_view text) override {
        if (broken) return false;
        content = std::string(text);
        return true;
    }
    std::optional<std::string> getText() override {
        if (broken) return std::nullopt;
        return content;
    }
    std::optional<std::string> content;
    bool broken = false;  // cannot be opened
};

// Distinct widths per kind of character, so a wrong shift shows.
inline WidthTable knownWidths() {
    WidthTable t;
    for (int c = 32; c < 127; ++c) t.widths[c] = 9;
    for (int c = 'a'; c <= 'z'; ++c) t.widths[c] = 7;
    for (int c = '0'; c <= '9'; ++c) t.widths[c] = 5;
    t.widths['('] = t.widths[')'] = 4;
    t.widths['.'] = 2;
    t.widths['-'] = 6;
    return t;
}

// Every cell sits right after the one before it, with its table width, and
// the positions stay inside the text.
inline ::testing::AssertionResult layoutConsistent(const Formula& f) {
    int x = f.leftMargin;
    for (int i = 0; i < f.length; ++i) {
        const GlyphCell& c = f.cells[i];
        if (c.x != x || c.width != f.widthTable->widthOf(c.ch))
            return ::testing::AssertionFailure() << "cell " << i << " '" << c.ch << "' at " << c.x
                                                 << " width " << c.width << ", expected x " << x;
        x += c.width;
    }
    for (int p : {f.caret, f.anchor, f.activeEnd})
        if (p < 0 || p > f.length)
            return ::testing::AssertionFailure() << "position " << p << " outside 0.." << f.length;
    return ::testing::AssertionSuccess();
}

class EditingTest : public ::testing::Test {
protected:
    EditingTest() { useEntry(own); }

    void useEntry(Formula& entry) {
        f = &entry;
        f->widthTable = &widths;
        bindView(*f, nullptr, 400, 20);
    }

    bool key(int vk, int mods = kModNone) {
        const bool repaint = handleKey(*f, vk, mods, context);
        EXPECT_TRUE(layoutConsistent(*f));
        return repaint;
    }

    // Presses the key for each character: Shift for capitals and brackets.
    void type(std::string_view keys) {
        for (char c : keys) {
            if (c >= 'a' && c <= 'z') key(c - 32);
            else if (c >= 'A' && c <= 'Z') key(c, kModShift);
            else if (c >= '0' && c <= '9') key(c);
            else if (c == '(') key(kKey9, kModShift);
            else if (c == ')') key(kKey0, kModShift);
            else if (c == '-') key(kKeyMinus);
            else if (c == '.') key(kKeyPeriod);
            else ADD_FAILURE() << "no key for '" << c << "'";
        }
    }

    std::string text() const {
        char buffer[kFormulaCapacity + 1];
        getText(*f, buffer, sizeof buffer);
        return buffer;
    }

    WidthTable widths = knownWidths();
    FakeClipboard clipboard;
    int hiddenMessages = 0;
    EditorContext context{&clipboard, [this] { ++hiddenMessages; }};
    Formula own;
    Formula* f = nullptr;
};

}  // namespace qv::testing
