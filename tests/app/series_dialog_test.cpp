// The Series dialog typed into as a user would, its numbers checked against
// the command line's.

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>
#include <cmath>
#include <nlohmann/json.hpp>

#include "app/series_dialog.h"
#include "core/element_table.h"
#include "support/element_file.h"
#include "support/run_program.h"
#include "widget_support.h"

using namespace qv;
using namespace qv::app;

namespace {

// Whole-number weights, as the command line's series tests use.
constexpr const char* kElements = "1 C 12 m\n2 O 16 m\n3 Ti 48\n4 Sr 88\n5 Ba 137\n";
constexpr const char* kRecipe = "-1 BST\r\n0 10 1 BaTiO3\r\n1 0 0 BaCO3\r\n2 0 0 SrCO3\r\n3 0 0 TiO2\r\n";

}  // namespace

class SeriesDialogTest : public QObject {
    Q_OBJECT
    test::TempDir dir;
    ElementTable table;
    std::unique_ptr<SeriesDialog> dialog;

    QLineEdit* edit(const char* name) { return dialog->findChild<QLineEdit*>(QLatin1String(name)); }
    QTableWidget* samples() { return dialog->findChild<QTableWidget*>(QStringLiteral("samples")); }
    // Select the field's text and type over it.
    void retype(const char* name, const QString& text) {
        QLineEdit* e = edit(name);
        e->setFocus();
        QTest::keyClick(e, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(e, Qt::Key_Backspace);
        QTest::keyClicks(e, text);
    }
    QString cell(int row, int column) { return samples()->item(row, column)->text(); }

private slots:
    void init() {
        QCOMPARE(test::loadElementText(table, kElements), 5);
        dialog = std::make_unique<SeriesDialog>(table, SeriesStart{kRecipe, "BaTiO3", "10", {}});
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
    }
    void cleanup() { dialog.reset(); }

    void sixSamplesMatchTheCommandLine() {
        QCOMPARE(edit("template")->text(), QStringLiteral("BaTiO3"));  // prefilled from the form
        retype("template", QStringLiteral("Ba{1-x}Sr{x}TiO3"));
        QCOMPARE(dialog->message(), QStringLiteral("6 samples"));
        QCOMPARE(samples()->rowCount(), 6);
        QCOMPARE(cell(3, 1), QStringLiteral("Ba0.7Sr0.3TiO3"));
        QCOMPARE(cell(3, 3), QStringLiteral("2.033898"));  // SrCO3 for x = 0.3, 10 g: 10 * 0.3 * 148 / 218.3
        QCOMPARE(cell(3, 5), QStringLiteral("ok"));
        test::saveScreenshot(*dialog, QStringLiteral("series_dialog"));

        const std::string atoms = dir.write("atoms.lst", kElements);
        const std::string recipe = dir.write("bst.qvs", kRecipe);
        const auto cli = test::runCli({"series", "--atoms", atoms, recipe, "--final", "Ba{1-x}Sr{x}TiO3",
                                       "--vary", "x=0:0.5:0.1", "--format", "csv"});
        QCOMPARE(cli.exitCode, 0);
        QCOMPARE(dialog->csvText(), cli.out);
        const auto json = test::runCli({"series", "--atoms", atoms, recipe, "--final", "Ba{1-x}Sr{x}TiO3",
                                        "--vary", "x=0:0.5:0.1", "--format", "json"});
        QVERIFY(nlohmann::json::parse(dialog->jsonText()) == nlohmann::json::parse(json.out));
    }

    void theFormsCorrectionsAreWeighed() {
        // SrCO3 (row 2) at 80 % purity with 10 % excess: 2.033898 g x 1.1 / 0.8.
        SeriesDialog corrected(table, SeriesStart{kRecipe, "Ba{1-x}Sr{x}TiO3", "10", {{1, {80, 10}}}});
        QCOMPARE(corrected.samples().size(), std::size_t(6));
        const SampleAmount& sr = corrected.samples()[3].amounts[1];
        QVERIFY(std::abs(sr.grams - 2.033898) < 1e-6);
        QVERIFY(std::abs(sr.gramsCorrected - 2.796610) < 1e-6);
        QVERIFY(std::abs(corrected.samples()[3].amounts[0].gramsCorrected - 0.7 * 197 * 10 / 218.3) < 1e-9);
        // The printed sheet: one section per sample, the corrected grams to weigh.
        const QList<SheetSection> sheets = corrected.sheetSections();
        QCOMPARE(sheets.size(), 6);
        QCOMPARE(sheets[3].finalFormula, QStringLiteral("Ba0.7Sr0.3TiO3"));
        QCOMPARE(sheets[3].rows[1].row, 2);
        QCOMPARE(sheets[3].rows[1].corrected, sr.gramsCorrected);
        const QString pdf = QString::fromStdString(dir.path().string()) + QStringLiteral("/series.pdf");
        QCOMPARE(exportSheetsPdf(pdf, sheets), QString());
    }

    void badInputSaysWhatIsWrongAndEmptiesTheTable() {
        retype("template", QStringLiteral("Ba{1-*x}Sr{x}TiO3"));
        QVERIFY2(dialog->message().startsWith(QStringLiteral("Template: {1-*x}")),
                 qPrintable(dialog->message()));
        QCOMPARE(samples()->rowCount(), 0);
        QVERIFY(!dialog->findChild<QPushButton*>(QStringLiteral("exportCsv"))->isEnabled());
        retype("template", QStringLiteral("Ba{1-x}Sr{x}TiO3"));
        retype("step", QStringLiteral("0,1"));
        QCOMPARE(dialog->message(), QStringLiteral("Step: \"0,1\" is not a number."));
    }

    void aNegativeCountFailsOneSampleOnly() {
        retype("template", QStringLiteral("Ba{1-x}Sr{x}TiO3"));
        retype("to", QStringLiteral("1.2"));
        retype("step", QStringLiteral("0.4"));
        QCOMPARE(samples()->rowCount(), 4);
        QCOMPARE(dialog->message(), QStringLiteral("4 samples, 1 without an answer"));
        QCOMPARE(cell(3, 5), QStringLiteral("The count {1-x} is negative (-0.2)."));
        QCOMPARE(cell(3, 2), QString());
        for (int row : {0, 1, 2}) QCOMPARE(cell(row, 5), QStringLiteral("ok"));
    }

    void openInFormHandsOverTheSelectedCompound() {
        retype("template", QStringLiteral("Ba{1-x}Sr{x}TiO3"));
        QSignalSpy opened(dialog.get(), &SeriesDialog::openInForm);
        auto* open = dialog->findChild<QPushButton*>(QStringLiteral("openInForm"));
        QVERIFY(!open->isEnabled());
        const QRect rect = samples()->visualItemRect(samples()->item(2, 1));
        QTest::mouseClick(samples()->viewport(), Qt::LeftButton, {}, rect.center());
        QTest::mouseClick(open, Qt::LeftButton);
        QCOMPARE(opened.count(), 1);
        QCOMPARE(opened.at(0).at(0).toString(), QStringLiteral("Ba0.8Sr0.2TiO3"));
    }
};

QTEST_MAIN(SeriesDialogTest)
#include "series_dialog_test.moc"
