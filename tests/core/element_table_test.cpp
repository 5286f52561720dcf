#include "core/element_table.h"

#include <gtest/gtest.h>

#include "core/number_format.h"
#include "support/element_file.h"

namespace qv {
namespace {

using test::loadElementText;

TEST(ElementTableLoad, ResultCodesFieldsAndLineForms) {
    const auto numberedLines = [](int count) {
        std::string text;
        for (int i = 1; i <= count; ++i)
            text += std::to_string(i) + " E" + std::to_string(i % 100) + " " + std::to_string(i) + ".5\n";
        return text;
    };
    const std::string exact99 = "1 H 1.008" + std::string(90, ' ');
    // A gap ends the table: the lines after it are skipped, as are lines with
    // another index. The symbol swallows an unseparated weight ("3Be9.01M");
    // special forms are no weight ("inf"); the weight is the decimal 0 before
    // an "x"; blanks end at the space, so "H!" is a symbol. Lines are read in
    // pieces of 99 bytes; each piece counts as a line.
    const std::pair<int, std::vector<std::string>> groups[] = {
        {2,
         {"1 H 1.00794\n2 He 4.0026 m\n4Be9.01M\n",
          "Symbol table\n\n1 H 1.008\n1 He 4\n-2 X 1\nx2 Y 1\n2 C 12\n", exact99 + "\n2 C 12\n",
          "1 H 1" + std::string(94, ' ') + "2 C 12\n"}},
        {1, {"2 He 4\n1 H 1\n", "1 H 0x10\n", "1 H! 1\n", std::string(99, 'x') + "1 H 1.008\n"}},
        {0, {"2 He 4\n", ""}},
        {-3,
         {"1 H 1.00794\n2 He 4.0026 m\n3Be9.01M\n", "1 H\n", "1    \n", "1 H inf\n",
          numberedLines(120) + "121 Q\n", "1 H" + std::string(147, ' ') + "1.008\n"}},
        {120, {numberedLines(120)}},
        {-4, {numberedLines(121)}}};
    for (const auto& [code, texts] : groups)
        for (const std::string& text : texts) {
            ElementTable t;
            EXPECT_EQ(loadElementText(t, text), code) << text.substr(0, 40);
        }
    ElementTable t;
    EXPECT_EQ(loadElementText(t, "1 H 1\n2 C 12\n3 O 16\n"), 3);
    EXPECT_EQ(t.loadElementTable("/nonexistent/dir/ATOMS.LST"), -1);
    test::TempDir dir;
    EXPECT_EQ(t.loadElementTable(dir.path().string()), -2) << "a folder opens but cannot be read";
    EXPECT_EQ(loadElementText(t, "1 H 1\n2 Abcd 3\n"), -3);
    EXPECT_EQ(t.count(), 1) << "elements before the bad line stay";
    EXPECT_EQ(t.findElement("H"), -1) << "no lookup index after a failed load";
    // No blank after the index, CR LF endings, sign and leading space on the
    // index, exponent in the weight, a marker glued to the weight's blanks,
    // bytes from 128 up as blanks, an upper-case marker.
    ASSERT_EQ(loadElementText(t, "1H 1.008\r\n \t+2 Uuq 2.5e1\tm junk\r\n3\x80X -1E-1\n4 Be 9 M\n"), 4);
    std::string read;  // symbol, weight, metal flag; the CR is a blank, not a marker
    for (int i = 0; i < t.count(); ++i)
        read += t.symbol(i) + " " + formatShortest(t.atomicWeight(i)) + (t.metal(i) ? " metal, " : ", ");
    EXPECT_EQ(read, "H 1.008 metal, Uuq 25, X -0.1 metal, Be 9, ");
    EXPECT_EQ(t.includeFlagsText(), "1010");
}

TEST(ElementTable, LookupIncludeFlagsAndTheShippedFile) {
    ElementTable t;
    ASSERT_EQ(loadElementText(t, "1 Cu 63.5\n2 Cl 35.45\n3 C 12\n4 Co 58.9\n5 Ca 40\n6 O 16\n7 co 1\n"), 7);
    const std::pair<const char*, int> lookups[] = {{"C", 2}, {"Ca", 4}, {"Cl", 1},  {"Co", 3},   {"Cu", 0},
                                                   {"O", 5}, {"co", 6}, {"CO", -1}, {"Cax", -1}, {"", -1}};
    for (auto [symbol, index] : lookups) EXPECT_EQ(t.findElement(symbol), index) << symbol;
    ASSERT_EQ(loadElementText(t, "1 H 1 m\n2 He 4 m\n3 Li 7\n"), 3);
    for (auto [text, result, after] : {std::tuple{"10", -1, "101"},  // flags set before the failure stay
                                       {"0101", 4, "010"},  // extra positions are checked, not stored
                                       {"1x1", -1, "110"},
                                       {"0002", -1, "000"}}) {
        EXPECT_EQ(t.applyIncludeFlagsText(text), result) << text;
        EXPECT_EQ(t.includeFlagsText(), after) << text;
    }
    t.resetIncludeFlags();
    EXPECT_EQ(t.includeFlagsText(), "001");
    ElementTable empty;
    EXPECT_EQ(empty.includeFlagsText(), "");
    EXPECT_EQ(empty.applyIncludeFlagsText("1"), 1);
    ASSERT_EQ(t.loadElementTable(QV_SOURCE_DIR "/data/ATOMS.LST"), 118);
    std::string nonMetals;
    for (int i = 0; i < t.count(); ++i)
        if (!t.metal(i)) nonMetals += t.symbol(i) + " ";
    EXPECT_EQ(nonMetals, "H He C N O F Ne P S Cl Ar Se Br Kr I Xe Rn ");
    EXPECT_EQ(std::pair(t.findElement("Ts"), t.findElement("Og")), std::pair(116, 117));
    EXPECT_DOUBLE_EQ(t.atomicWeight(t.findElement("C")), 12.011);
    EXPECT_DOUBLE_EQ(t.atomicWeight(t.findElement("Tc")), 98.0);
}

}  // namespace
}  // namespace qv
