
#include "cli/cli_cases.h"

namespace qv {

TEST(CliLibrary, BadValuesThenAddImportListExportAndRemove) {
    test::TempDir dir;
    const std::string atoms = dir.write("atoms.lst", test::kBaTiCOElementFile),
                      db = (dir.path() / "lab.sqlite").string(), out = (dir.path() / "out.csv").string();
    const std::string bad = dir.write("bad.csv", "formula,purity_pct\nTiO2,99\nQq,99\n"),
                      header = "id,formula,label,supplier,lot,purity_pct,excess_pct\r\n";
    // In order, on one database.
    // clang-format off
    test::expectCliCases({"library", "--db", db, "--atoms", atoms}, {
        {{"add", "TiO2", "--purity", "0"}, 64, "purity 0 %"},
        {{"add", "TiO2", "--excess", "five"}, 64, "not \"five\""},
        {{"add", "Qq2"}, 64, "\"Qq2\" is not a formula"},
        {{"import", bad}, 64, "bad.csv line 3: \"Qq\""},
        {{"remove", "7"}, 64, "no bottle 7"},
        {{"list", "--format", "xml"}, 64, "text, csv or json"},
        {{"polish"}, 64, "unknown action \"polish\""},
        {{"list", "--frob"}, 64, "unknown option \"--frob\""},
        {{"add", "BaCO3", "--purity=99.5", "--excess", "5", "--label", "carbonate, fine"}, 0, "", "1\n"},
        {{"import", dir.write("in.csv", "formula,supplier,lot\nTiO2,\"Acme \"\"A\"\", Inc.\",T-1\n")}, 0, ""},
        {{"list"}, 0, "",
         "ID  Formula  Purity(%)  Excess(%)  Lot  Supplier        Label\n"
         "1   BaCO3    99.5       5                               carbonate, fine\n"
         "2   TiO2     100        0          T-1  Acme \"A\", Inc.\n"},
        {{"list", "--format", "json"}, 0, "",
         "[\n  {\n    \"id\": 1,\n    \"formula\": \"BaCO3\",\n    \"label\": \"carbonate, fine\",\n"
         "    \"supplier\": \"\",\n    \"lot\": \"\",\n    \"purity_pct\": 99.5,\n    \"excess_pct\": 5\n  },\n"
         "  {\n    \"id\": 2,\n    \"formula\": \"TiO2\",\n    \"label\": \"\",\n"
         "    \"supplier\": \"Acme \\\"A\\\", Inc.\",\n    \"lot\": \"T-1\",\n    \"purity_pct\": 100,\n"
         "    \"excess_pct\": 0\n  }\n]"},
        {{"export", out}, 0, ""},
        {{"remove", "1"}, 0, ""},
        {{"list", "--format=csv"}, 0, "", header + "2,TiO2,,\"Acme \"\"A\"\", Inc.\",T-1,100,0\r\n"},
    });
    // clang-format on
    EXPECT_EQ(
        test::readFileBytes(out),
        header + "1,BaCO3,\"carbonate, fine\",,,99.5,5\r\n2,TiO2,,\"Acme \"\"A\"\", Inc.\",T-1,100,0\r\n");

    const std::string junk = dir.write("junk.sqlite", std::string(4096, 'j')),
                      none = (dir.path() / "no/lab.sqlite").string();
    test::expectCliCases({"library", "--db"},
                         {{{junk, "list"}, 1, junk + ": "}, {{none, "list"}, 1, none + ": "}});
}

}  // namespace qv
