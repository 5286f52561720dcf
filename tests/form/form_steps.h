#pragma once
// Short ways to fill the test form and read what it shows.

#include <gtest/gtest.h>

#include "support/test_form.h"

namespace qv::test {

// Types the final compound and the rows ("BaCO3 TiO2"), then the gestures: "+O" clicks O from one
// list to the other, "p2" clicks row 2's peg, "r2:x" / "f:x" types row 2's / the final ratio.
inline void fill(TestForm& t, std::string_view final, std::string_view rows, std::string_view then = "") {
    t.type(t.final(), final);
    std::istringstream in{std::string(rows)};
    int i = 0;
    for (std::string row; in >> row;) t.type(t.row(i++), row);
    std::istringstream steps{std::string(then)};
    for (std::string s; steps >> s;) {
        if (s[0] == '+') EXPECT_TRUE(t.clickElement(s.substr(1))) << s;
        if (s[0] == 'p') t.clickPeg(s[1] - '0');
        if (s[0] == 'r') t.typeRowRatio(s[1] - '0', s.substr(3));
        if (s[0] == 'f') t.typeFinalRatio(s.substr(2));
    }
}

// The Include and Exclude lists: "Ba Ti | C O".
inline std::string lists(const TestForm& t) {
    std::string out;
    for (const std::string& s : t.include.texts()) out += s + " ";
    out += "|";
    for (const std::string& s : t.exclude.texts()) out += " " + s;
    return out;
}

// Which rows each entry set holds: "free 0 4 | fixed 1 | invalid".
inline std::string sets(const Model& m) {
    std::string out;
    for (auto [name, set] : {std::pair{"free", &m.freeEntries()},
                             {" | fixed", &m.fixedEntries()},
                             {" | invalid", &m.invalidEntries()}}) {
        out += name;
        for (const auto& entry : *set) out += " " + std::to_string(entry.first);
    }
    return out;
}

}  // namespace qv::test
