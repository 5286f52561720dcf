#include "core/element_table.h"

#include <gtest/gtest.h>

#include <string>

#include "support/element_file.h"

namespace qv {
namespace {

using test::loadElementText;

std::string numberedLines(int from, int to) {
    std::string text;
    for (int i = from; i <= to; ++i)
        text += std::to_string(i) + " E" + std::to_string(i % 100) + " " + std::to_string(i) + ".5\n";
    return text;
}

TEST(ElementTableLoad, FieldsMarkersAndDefaultFlags) {
    ElementTable t;
    EXPECT_EQ(loadElementText(t, "1 H 1.00794\n2 He 4.0026 m\n3 Li 6.941\n4Be9.01M\n"), -3)
        << "a symbol run swallows its weight when nothing separates them";
    ElementTable u;
    ASSERT_EQ(loadElementText(u, "1 H 1.00794\n2 He 4.0026 m\n3 Li 6.941\n4 Be 9.01 M\n"), 4);
    EXPECT_EQ(u.symbol(1), "He");
    EXPECT_DOUBLE_EQ(u.atomicWeight(0), 1.00794);
    EXPECT_TRUE(u.metal(0));
    EXPECT_FALSE(u.metal(1));
    EXPECT_FALSE(u.metal(3));
    EXPECT_EQ(u.includeFlagsText(), "1010");
}

TEST(ElementTableLoad, LineFormsThatStillLoad) {
    ElementTable t;
    // No blank after the index, CR LF endings, sign and leading space on the
    // index, exponent in the weight, a marker glued to the weight's blanks.
    ASSERT_EQ(loadElementText(t, "1H 1.008\r\n \t+2 Uuq 2.5e1\tm junk\r\n3\x80X -1E-1\n"), 3);
    EXPECT_EQ(t.symbol(0), "H");
    EXPECT_EQ(t.symbol(1), "Uuq");
    EXPECT_DOUBLE_EQ(t.atomicWeight(1), 25.0);
    EXPECT_FALSE(t.metal(1));
    EXPECT_EQ(t.symbol(2), "X") << "bytes from 128 up are blanks";
    EXPECT_DOUBLE_EQ(t.atomicWeight(2), -0.1);
    EXPECT_TRUE(t.metal(0)) << "the CR is a blank, not a marker";
}

TEST(ElementTableLoad, SkipsLinesThatAreNotTheNextElement) {
    ElementTable t;
    EXPECT_EQ(loadElementText(t, "Symbol table\n\n1 H 1.008\n1 He 4\n-2 X 1\nx2 Y 1\n2 C 12\n"), 2);
    EXPECT_EQ(t.symbol(1), "C");
    // A gap in the numbering makes everything after it skipped.
    EXPECT_EQ(loadElementText(t, "1 H 1.008\n3 Li 6.941\n4 Be 9\n"), 1);
    EXPECT_EQ(loadElementText(t, "2 He 4\n1 H 1\n"), 1);
    EXPECT_EQ(loadElementText(t, "2 He 4\n"), 0);
    EXPECT_EQ(loadElementText(t, ""), 0);
}

TEST(ElementTableLoad, FailureCodes) {
    ElementTable t;
    EXPECT_EQ(t.loadElementTable("/nonexistent/dir/ATOMS.LST"), -1);
    EXPECT_EQ(t.count(), 0);

    EXPECT_EQ(loadElementText(t, "1 H 1\n2 Abcd 3\n"), -3);
    EXPECT_EQ(t.count(), 1) << "elements before the bad line stay";
    EXPECT_EQ(t.findElement("H"), -1) << "no lookup index after a failed load";
    EXPECT_EQ(loadElementText(t, "1 H\n"), -3);
    EXPECT_EQ(loadElementText(t, "1    \n"), -3);
    EXPECT_EQ(loadElementText(t, "1 H inf\n"), -3) << "special forms are no weight";
    EXPECT_EQ(loadElementText(t, "1 H 0x10\n"), 1);
    EXPECT_DOUBLE_EQ(t.atomicWeight(0), 0.0) << "the weight is the decimal 0 before the x";

    // Reading a folder opens fine and then fails on the first read.
    test::TempDir dir;
    EXPECT_EQ(t.loadElementTable(dir.path().string()), -2);
}

TEST(ElementTableLoad, CapacityIs120) {
    ElementTable t;
    EXPECT_EQ(loadElementText(t, numberedLines(1, 120)), 120);
    EXPECT_EQ(t.findElement("E20"), 19);
    EXPECT_EQ(loadElementText(t, numberedLines(1, 121)), -4);
    EXPECT_EQ(t.count(), 120);
    EXPECT_EQ(loadElementText(t, numberedLines(1, 120) + "121 Q\n"), -3)
        << "a malformed 121st line is reported as malformed";
}

TEST(ElementTableLoad, LongLinesAreReadIn99BytePieces) {
    ElementTable t;
    // 99 bytes of comment then "1 H 1.008": the second piece is an element line.
    const std::string pad(99, 'x');
    EXPECT_EQ(loadElementText(t, pad + "1 H 1.008\n"), 1);
    // An element line padded to 150 bytes: the weight lies in the second
    // piece, so the first piece has no number after its symbol.
    EXPECT_EQ(loadElementText(t, "1 H" + std::string(147, ' ') + "1.008\n"), -3);
    // A line of exactly 99 bytes leaves its line feed as an empty piece.
    std::string exact = "1 H 1.008";
    exact += std::string(99 - exact.size(), ' ');
    EXPECT_EQ(loadElementText(t, exact + "\n2 C 12\n"), 2);
    // 98 bytes then "2": the first piece ends exactly before it.
    EXPECT_EQ(loadElementText(t, "1 H 1" + std::string(94, ' ') + "2 C 12\n"), 2);
    EXPECT_EQ(t.symbol(1), "C");
}

TEST(ElementTableLookup, ExactByteOrder) {
    ElementTable t;
    ASSERT_EQ(loadElementText(t, "1 Cu 63.5\n2 Cl 35.45\n3 C 12\n4 Co 58.9\n5 Ca 40\n6 O 16\n7 co 1\n"), 7);
    EXPECT_EQ(t.findElement("C"), 2);
    EXPECT_EQ(t.findElement("Ca"), 4);
    EXPECT_EQ(t.findElement("Cl"), 1);
    EXPECT_EQ(t.findElement("Co"), 3);
    EXPECT_EQ(t.findElement("Cu"), 0);
    EXPECT_EQ(t.findElement("O"), 5);
    EXPECT_EQ(t.findElement("co"), 6);
    EXPECT_EQ(t.findElement("CO"), -1);
    EXPECT_EQ(t.findElement("Cax"), -1);
    EXPECT_EQ(t.findElement(""), -1);
    ElementTable empty;
    EXPECT_EQ(empty.findElement("H"), -1);
}

TEST(ElementTableFlags, ApplyIncludeFlagsText) {
    ElementTable t;
    ASSERT_EQ(loadElementText(t, "1 H 1 m\n2 He 4 m\n3 Li 7\n"), 3);
    EXPECT_EQ(t.includeFlagsText(), "001");

    EXPECT_EQ(t.applyIncludeFlagsText("10"), -1);
    EXPECT_EQ(t.includeFlagsText(), "101") << "flags set before the failure stay";
    EXPECT_EQ(t.applyIncludeFlagsText("0101"), 4) << "extra positions are checked, not stored";
    EXPECT_EQ(t.includeFlagsText(), "010");
    EXPECT_EQ(t.applyIncludeFlagsText("1x1"), -1);
    EXPECT_EQ(t.includeFlagsText(), "110");
    EXPECT_EQ(t.applyIncludeFlagsText("0002"), -1);
    EXPECT_EQ(t.includeFlagsText(), "000");

    t.resetIncludeFlags();
    EXPECT_EQ(t.includeFlagsText(), "001");
    ElementTable empty;
    EXPECT_EQ(empty.includeFlagsText(), "");
    EXPECT_EQ(empty.applyIncludeFlagsText(""), 0);
    EXPECT_EQ(empty.applyIncludeFlagsText("1"), 1);
}

TEST(ShippedElementFile, Has118ElementsWithTheirMarkers) {
    ElementTable t;
    ASSERT_EQ(t.loadElementTable(QV_SOURCE_DIR "/data/ATOMS.LST"), 118);
    const std::string nonMetals[] = {"H", "He", "C", "N", "O", "F", "Ne", "P", "S",
                                     "Cl", "Ar", "Se", "Br", "Kr", "I", "Xe", "Rn"};
    int marked = 0;
    for (int i = 0; i < t.count(); ++i) marked += t.metal(i) ? 0 : 1;
    EXPECT_EQ(marked, 17);
    for (const auto& s : nonMetals) {
        const int e = t.findElement(s);
        ASSERT_GE(e, 0) << s;
        EXPECT_FALSE(t.metal(e)) << s;
    }
    EXPECT_EQ(t.findElement("H"), 0);
    EXPECT_EQ(t.findElement("Og"), 117);
    EXPECT_EQ(t.findElement("Ts"), 116);
    EXPECT_DOUBLE_EQ(t.atomicWeight(t.findElement("C")), 12.011);
    EXPECT_DOUBLE_EQ(t.atomicWeight(t.findElement("Cl")), 35.45);
    EXPECT_DOUBLE_EQ(t.atomicWeight(t.findElement("Tc")), 98.0);
    EXPECT_DOUBLE_EQ(t.atomicWeight(t.findElement("Pu")), 244.0);
    EXPECT_TRUE(t.metal(t.findElement("Fe")));
}

}  // namespace
}  // namespace qv
