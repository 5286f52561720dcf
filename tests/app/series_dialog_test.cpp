// The Series dialog typed into as a user would, its numbers checked against
// the command line's.

#include <nlohmann/json.hpp>

#include "app/series_dialog.h"
#include "support/element_file.h"
#include "support/run_program.h"
#include "window_fixture.h"

using namespace qv;
using namespace qv::app;

// Whole-number weights, as the command line's series tests use.
constexpr const char* kElements = "1 C 12 m\n2 O 16 m\n3 Ti 48\n4 Sr 88\n5 Ba 137\n";
constexpr const char* kRecipe = "-1 BST\r\n0 10 1 BaTiO3\r\n1 0 0 BaCO3\r\n2 0 0 SrCO3\r\n3 0 0 TiO2\r\n";

class SeriesDialogTest : public QObject {
    Q_OBJECT
    test::TempDir dir;
    ElementTable table;

private slots:
    void initTestCase() { QCOMPARE(test::loadElementText(table, kElements), 5); }

    void typedIntoAsAUserWouldAndCorrected() {
        SeriesDialog dialog(table, SeriesStart{kRecipe, "BaTiO3", "10", {}});
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        const auto edit = [&](const char* name) { return dialog.findChild<QLineEdit*>(QLatin1String(name)); };
        const auto retype = [&](const char* name, const char* text) {  // select the text and type over it
            edit(name)->selectAll();
            QTest::keyClicks(edit(name), text);
        };
        auto* samples = dialog.findChild<QTableWidget*>(QStringLiteral("samples"));
        const auto cell = [&](int row, int column) { return samples->item(row, column)->text(); };

        QCOMPARE(edit("template")->text(), QStringLiteral("BaTiO3"));  // prefilled from the form
        retype("template", "Ba{1-x}Sr{x}TiO3");
        QCOMPARE(dialog.message(), QStringLiteral("6 samples"));
        QCOMPARE(samples->rowCount(), 6);
        // SrCO3 for x = 0.3, 10 g: 10 * 0.3 * 148 / 218.3
        QCOMPARE(cell(3, 1) + ' ' + cell(3, 3) + ' ' + cell(3, 5),
                 QStringLiteral("Ba0.7Sr0.3TiO3 2.033898 ok"));
        test::saveScreenshot(dialog, QStringLiteral("series_dialog"));
        const auto cli = [&](const char* format) {
            return test::runCli({"series", "--atoms", dir.write("atoms.lst", kElements),
                                 dir.write("bst.qvs", kRecipe), "--final", "Ba{1-x}Sr{x}TiO3", "--vary",
                                 "x=0:0.5:0.1", "--format", format})
                .out;
        };
        QCOMPARE(dialog.csvText(), cli("csv"));
        QVERIFY(nlohmann::json::parse(dialog.jsonText()) == nlohmann::json::parse(cli("json")));

        QSignalSpy opened(&dialog, &SeriesDialog::openInForm);
        auto* open = dialog.findChild<QPushButton*>(QStringLiteral("openInForm"));
        QVERIFY(!open->isEnabled());
        QTest::mouseClick(samples->viewport(), Qt::LeftButton, {},
                          samples->visualItemRect(samples->item(2, 1)).center());
        QTest::mouseClick(open, Qt::LeftButton);
        QCOMPARE(opened.value(0).value(0).toString(), QStringLiteral("Ba0.8Sr0.2TiO3"));

        // A negative count fails that sample only.
        for (const auto& [name, text] : {std::pair{"to", "1.2"}, {"step", "0.4"}}) retype(name, text);
        QCOMPARE(dialog.message(), QStringLiteral("4 samples, 1 without an answer"));
        QCOMPARE(cell(3, 5), QStringLiteral("The count {1-x} is negative (-0.2)."));
        QCOMPARE(samples->item(3, 5)->foreground().color(), QColor(0xb0, 0x00, 0x20));  // in red
        QCOMPARE(cell(3, 2), QString());
        for (int row : {0, 1, 2}) QCOMPARE(cell(row, 5), QStringLiteral("ok"));

        // Bad input says what is wrong and empties the table.
        retype("template", "Ba{1-*x}Sr{x}TiO3");
        QVERIFY2(dialog.message().startsWith(QStringLiteral("Template: {1-*x}")),
                 qPrintable(dialog.message()));
        QCOMPARE(samples->rowCount(), 0);
        QVERIFY(!dialog.findChild<QPushButton*>(QStringLiteral("exportCsv"))->isEnabled());
        retype("template", "Ba{1-x}Sr{x}TiO3");
        retype("step", "0,1");
        QCOMPARE(dialog.message(), QStringLiteral("Step: \"0,1\" is not a number."));

        // SrCO3 (row 2) at 80 % purity with 10 % excess: 2.033898 g x 1.1 / 0.8; BaCO3 as computed.
        SeriesDialog corrected(table,
                               SeriesStart{kRecipe, "Ba{1-x}Sr{x}TiO3", "10", {{1, {80, 10, {}, {}}}}});
        const std::vector<SampleAmount>& amounts = corrected.samples().at(3).amounts;
        QCOMPARE(qRound64(amounts[1].gramsCorrected * 1e6), 2796610);
        QCOMPARE(amounts[0].gramsCorrected, 0.7 * 197 * 10 / 218.3);
        // The printed sheet: one section per sample, the corrected grams to weigh.
        const QList<SheetSection> sheets = corrected.sheetSections();
        QCOMPARE(sheets.size(), 6);
        QCOMPARE(sheets[3].finalFormula + ' ' + QString::number(sheets[3].rows[1].row), "Ba0.7Sr0.3TiO3 2");
        QCOMPARE(sheets[3].rows[1].corrected, amounts[1].gramsCorrected);
        QCOMPARE(exportSheetsPdf(QString::fromStdString((dir.path() / "series.pdf").string()), sheets),
                 QString());
    }
};

QTEST_MAIN(SeriesDialogTest)
#include "series_dialog_test.moc"
