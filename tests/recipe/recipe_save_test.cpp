#include <gtest/gtest.h>

#include <clocale>
#include <filesystem>
#include <locale>

#include "recipe/recipe_file.h"
#include "support/recipe_scratch.h"
#include "support/test_form.h"

namespace qv {
namespace {

constexpr std::string_view kExample =
    "-2 1100\r\n"
    "-1 sample A\r\n"
    "0 10.00000 1.00000 BaTiO3\r\n"
    "1 0 1.00000 BaCO3\r\n"
    "2 1 1.00000 TiO2\r\n";

class RecipeSave : public ::testing::Test {
protected:
    // The example recipe typed in: a free first row, a fixed second row.
    void typeExample(test::TestForm& form) {
        form.form.setControlText(ControlId::SampleTag, "sample A");
        form.form.setControlText(ControlId::Mass, "10");
        form.type(form.final(), "BaTiO3");
        form.type(form.row(0), "BaCO3");
        form.type(form.row(1), "TiO2");
        form.typeRowRatio(1, "1");
    }
    std::string save(test::TestForm& form, const std::string& name = "r.qvs") {
        const std::string path = dir.path().string() + "/" + name;
        EXPECT_EQ(saveRecipe(form.model, path), 0);
        return test::readFileBytes(path);
    }
    std::size_t filesInDir() const {
        return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(dir.path()), {}));
    }

    test::TempDir dir;
    test::TestForm f{test::kBaTiCOElementFile};
};

TEST_F(RecipeSave, ExampleBytes) {
    typeExample(f);
    EXPECT_EQ(f.row(0).ratioText, "1");  // solved
    EXPECT_EQ(save(f), kExample);
}

TEST_F(RecipeSave, RoundTripKeepsTheFormExceptAsDocumented) {
    typeExample(f);
    f.form.setControlText(ControlId::SampleTag, "  tag with blanks  ");
    f.form.setControlText(ControlId::Mass, "2.1234567");
    f.typeFinalRatio("0.5");
    f.type(f.row(4), "Ti");
    f.typeRowRatio(4, "0.123456789");
    f.type(f.row(2), "Qq");  // invalid: dropped on save
    const std::string saved = save(f);
    EXPECT_NE(saved.find("\r\n5 1 0.12346 Ti\r\n"), std::string::npos) << saved;
    EXPECT_EQ(saved.find(" Qq"), std::string::npos);

    test::TestForm g{test::kBaTiCOElementFile};
    ASSERT_EQ(loadRecipe(g.model, dir.path().string() + "/r.qvs"), 0);
    EXPECT_EQ(g.text(ControlId::SampleTag), "tag with blanks");
    EXPECT_EQ(g.text(ControlId::Mass), "2.12346");
    EXPECT_EQ(g.text(ControlId::FinalRatio), "0.5");
    EXPECT_EQ(g.row(4).ratioText, "0.12346");
    EXPECT_EQ(g.row(2).classify(), Empty);
    for (int row : {0, 1, 4}) {
        EXPECT_EQ(g.row(row).text(), f.row(row).text());
        EXPECT_EQ(g.row(row).classify(), f.row(row).classify());
    }
    EXPECT_EQ(g.include.texts(), f.include.texts());
    // Saved again, the file is the same but for the blanks around the tag.
    std::string expected = saved;
    expected.replace(expected.find("-1 "), 22, "-1 tag with blanks");
    EXPECT_EQ(save(g, "again.qvs"), expected);
}

TEST_F(RecipeSave, ChecksBeforeWriting) {
    typeExample(f);
    const std::string path = dir.path().string() + "/r.qvs";
    f.form.setControlText(ControlId::Mass, "10 g");
    EXPECT_EQ(saveRecipe(f.model, path), 1);
    EXPECT_EQ(f.form.messages.back().text, "Check the amount of the final product.");
    EXPECT_EQ(f.form.messages.back().title, "Quorvex : File I/O Error");

    f.form.setControlText(ControlId::Mass, "");
    f.type(f.final(), ")");
    EXPECT_EQ(saveRecipe(f.model, path), 1);
    EXPECT_EQ(f.form.messages.back().text, "Check the final product and its ratio.");
    EXPECT_FALSE(std::filesystem::exists(path));

    // An empty mass field is saved as 0 and comes back as 0.
    f.backspace(f.final());
    EXPECT_NE(save(f).find("\r\n0 0.00000 1.00000 BaTiO3\r\n"), std::string::npos);
    ASSERT_EQ(loadRecipe(f.model, path), 0);
    EXPECT_EQ(f.text(ControlId::Mass), "0");
}

TEST_F(RecipeSave, ReplacesTheOldFileOnlyWhenComplete) {
    typeExample(f);
    const std::string path = dir.write("r.qvs", "old recipe");
    EXPECT_EQ(save(f), kExample);
    EXPECT_EQ(filesInDir(), 1u);  // no temporary file left behind

    // A target that cannot be replaced: the save says so and nothing is lost.
    const std::filesystem::path folder = dir.path() / "taken.qvs";
    std::filesystem::create_directory(folder);
    dir.write("taken.qvs/keep", "kept");
    EXPECT_EQ(saveRecipe(f.model, folder.string()), 1);
    EXPECT_EQ(f.form.messages.back().text, kRecipeSaveFailedText);
    EXPECT_EQ(test::readFileBytes((folder / "keep").string()), "kept");
    EXPECT_EQ(filesInDir(), 2u);
    EXPECT_EQ(saveRecipe(f.model, dir.path().string() + "/absent/r.qvs"), 1);
    EXPECT_EQ(test::readFileBytes(path), kExample);

    // A line the loader could not read back in one piece is not written.
    f.form.setControlText(ControlId::SampleTag, std::string(1020, 't'));
    EXPECT_EQ(save(f), "-2 1100\r\n-1 " + std::string(1020, 't') + std::string(kExample.substr(20)));
    f.form.setControlText(ControlId::SampleTag, std::string(1021, 't'));
    EXPECT_EQ(saveRecipe(f.model, path), 1);
    EXPECT_EQ(f.form.messages.back().text, kRecipeLineTooLongText);
    EXPECT_EQ(test::readFileBytes(path).size(), kExample.size() + 1020 - 8);
}

struct CommaDecimal : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return '.'; }
    std::string do_grouping() const override { return "\3"; }
};

TEST_F(RecipeSave, PointDecimalsInACommaLocale) {
    const std::locale previous = std::locale::global(std::locale(std::locale::classic(), new CommaDecimal));
    std::string cName;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8", "de_DE"})
        if (std::setlocale(LC_ALL, name)) {
            cName = name;
            break;
        }
    typeExample(f);
    f.typeRowRatio(1, "1.25");
    const std::string saved = save(f);
    test::TestForm g{test::kBaTiCOElementFile};
    const int loaded = loadRecipe(g.model, dir.path().string() + "/r.qvs");
    std::setlocale(LC_ALL, "C");
    std::locale::global(previous);

    EXPECT_NE(saved.find("\r\n2 1 1.25000 TiO2\r\n"), std::string::npos) << saved;
    EXPECT_EQ(loaded, 0);
    EXPECT_EQ(g.row(1).ratio, 1.25);
    EXPECT_EQ(g.text(ControlId::Mass), "10");
    if (cName.empty()) GTEST_SKIP() << "no comma-decimal C locale installed; checked the C++ one only";
}

}  // namespace
}  // namespace qv
