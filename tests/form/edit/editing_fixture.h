#pragma once
// An entry with known character widths, a fake clipboard and a key walker.

#include <gtest/gtest.h>

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
            const bool bracket = c == '(' || c == ')';
            key(bracket    ? (c == '(' ? kKey9 : kKey0)
                : c == '-' ? kKeyMinus
                : c == '.' ? kKeyPeriod
                           : std::toupper(c),
                bracket || std::isupper(c) ? kModShift : kModNone);
        }
    }
    // Keys pressed in turn, "Left S-Home C-Z" (S- C- A- for Shift, Ctrl, Alt): '+' or '-' for
    // whether each asked for a repaint, then the state.
    std::string press(std::string_view keys) {
        static const std::map<std::string_view, int> named = {
            {"BS", kKeyBackspace}, {"Del", kKeyDelete},       {"Home", kKeyHome},    {"End", kKeyEnd},
            {"Left", kKeyLeft},    {"Right", kKeyRight},      {"Up", kKeyUp},        {"Tab", kKeyTab},
            {"Minus", kKeyMinus},  {"Period", kKeyPeriod},    {"Dec", kKeyDecimal},  {"Mul", kKeyMultiply},
            {"Num0", kKeyNumpad0}, {"Num7", kKeyNumpad0 + 7}, {"Num9", kKeyNumpad9}, {"Dot", kKeyMiddleDot}};
        std::string out;
        while (!keys.empty()) {
            std::string_view name = keys.substr(0, keys.find(' '));
            keys.remove_prefix(std::min(keys.size(), name.size() + 1));
            int mods = kModNone;
            for (; name.size() > 2 && name[1] == '-'; name.remove_prefix(2))
                mods |= name[0] == 'S' ? kModShift : name[0] == 'C' ? kModCtrl : kModAlt;
            out += key(name.size() == 1 ? name[0] : named.at(name), mods) ? '+' : '-';
        }
        return out + " " + state();
    }
    bool menu(int choice) { return contextCommand(*f, choice, context); }
    std::string text() const { return f->text(); }
    std::string selection() const {
        const auto s = getSelection(f->edit());
        return s ? std::to_string(s->first) + ".." + std::to_string(s->last) : "none";
    }
    // Text, caret and selection in one line: "Fe2O3 @4 1..3".
    std::string state() const {
        return text() + " @" + std::to_string(f->edit().caret()) + " " + selection();
    }

    WidthTable widths;
    FakeClipboard clipboard;
    int hiddenMessages = 0;
    EditorContext context{&clipboard, [this] { ++hiddenMessages; }};
    Formula own;
    Formula* f = nullptr;
};

}  // namespace qv::testing
