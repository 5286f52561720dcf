// The bench in the window: the weighing sheet typed into and read from a
// simulated balance, the Log dialog, and the printed sheet read back.

#include "app/log_dialog.h"
#include "app/sheet_print.h"
#include "app/weighing_sheet.h"
#include "support/recipe_scratch.h"
#include "support/simulated_balance.h"
#include "window_fixture.h"

using namespace qv;
using namespace qv::app;

// 10 g of BaTiO3 from BaCO3 and TiO2 (Ba 0, Ti 1, C 2, O 3).
static WeighingPlan plan() {
    const double moles = 10 / 233.2;
    return {"BaTiO3",
            10,
            {{0, "BaCO3", {{0, 1}, {2, 1}, {3, 3}}, 197.34, 197.34 * moles, {}, 197.34 * moles},
             {1, "TiO2", {{1, 1}, {3, 2}}, 79.87, 79.87 * moles, {}, 79.87 * moles}},
            {{0, "Ba", 1}, {1, "Ti", 1}}};
}

// A row's target, what is still to add and its note: "3.480703|3.480703|".
static QString shown(const WeighingSheet& sheet, int row) {
    const auto cell = [&](int column) { return sheet.table()->item(row, column)->text(); };
    return cell(WeighingSheet::TargetColumn) + '|' + cell(WeighingSheet::ToAddColumn) + '|' +
           cell(WeighingSheet::NoteColumn);
}

class BenchTest : public test::WindowFixture {
    Q_OBJECT
    QTemporaryDir dir;
    QString db() const { return dir.filePath("lab.sqlite"); }

private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        setUpWindowTests();
    }

    void sheetRescalesFlagsAndRecords() {
        WeighingSheet sheet(plan(), "S1", "recipe", {}, db());
        sheet.show();
        QTest::keyClicks(sheet.actualEdit(0), "8.6\r");  // Return goes on to the next row
        QVERIFY(sheet.isVisible());
        QCOMPARE(shown(sheet, 0) + " " + shown(sheet, 1), "8.6|0|done 3.480703|3.480703|");
        QTest::keyClicks(sheet.actualEdit(1), "3.4");
        QCOMPARE(shown(sheet, 1), "3.480703|0.080703|top up 0.080703 g, below min. weight");
        QVERIFY(sheet.asWeighed()->text().contains("Ba<sub>1.0117</sub>Ti<sub>0.9883</sub>"));
        QVERIFY(sheet.asWeighed()->text().contains("Ba +1.17 %"));
        test::saveScreenshot(sheet, "weighing-sheet");

        QTest::keyClicks(sheet.actualEdit(1), "x");
        QCOMPARE(sheet.message()->text(),
                 "Row 2: \"3.4x\" is not a mass in grams; type a number such as 8.4623.");
        QVERIFY(!sheet.session().actual(1));
        sheet.discard(0);
        QCOMPARE(sheet.session().factor(), 1.0);
        QCOMPARE(sheet.message()->text(), "Row 1: 8.6 g discarded; weigh it again.");

        sheet.actualEdit(1)->clear();
        QTest::keyClicks(sheet.actualEdit(0), "8.462264");
        QTest::keyClicks(sheet.actualEdit(1), "3.424957");
        QTest::keyClicks(sheet.beforeEdit(), "10");
        QTest::keyClicks(sheet.firedEdit(), "8.5712");
        QCOMPARE(sheet.firingResult()->text(), "Completeness: 90 %");
        QVERIFY(sheet.firingResult()->isVisible());
        test::saveScreenshot(sheet, "weighing-sheet-as-weighed");

        const QString pdf = dir.filePath("sheet.pdf");
        QCOMPARE(exportSheetsPdf(pdf, {sheet.section()}), QString());

        sheet.close();  // the session is recorded on the way out
        QVERIFY(sheet.recordedId());
        LogDialog log(db());
        QVERIFY(log.details()->toPlainText().contains("8.462264"));
        log.show();
        log.firedEdit()->setText("8.5712");
        log.recordFiring();
        QCOMPARE(log.list()->item(0, 6)->text(), "90 %");
        test::saveScreenshot(log, "log-dialog");
        log.searchEdit()->setText("SrTiO3");
        QCOMPARE(log.list()->rowCount(), 0);
        log.searchEdit()->setText("BaCO3");
        QCOMPARE(log.list()->rowCount(), 1);
        QCOMPARE(log.list()->editTriggers(), QAbstractItemView::NoEditTriggers);
        QCOMPARE(log.exportTo(dir.filePath("log.csv"), false), QString());
        QCOMPARE(std::ranges::count(test::readFileBytes(dir.filePath("log.csv").toStdString()), '\n'), 3);
        test::chooseFile(dir.filePath("log.json"));
        log.exportJson();
        QVERIFY(test::readFileBytes(dir.filePath("log.json").toStdString()).find("\"actual\":8.462264") !=
                std::string::npos);

        QProcess text;
        text.start("pdftotext", {pdf, "-"});
        if (!text.waitForFinished(30000) || text.exitCode() != 0) QSKIP("pdftotext is not installed");
        const QString out = QString::fromUtf8(text.readAllStandardOutput());
        QVERIFY2(out.contains("8.462264") && out.contains("3.424957") && out.contains("BaCO3"),
                 qPrintable(out));
    }

    void readingTheBalance() {
        test::SimulatedBalance balance;
        balance.answer = [] { return QByteArray("S S      8.3000 g\r\n"); };
        WeighingSheet sheet(plan(), "S1", "recipe", {.port = {.portName = balance.path}, .balance = {}},
                            db());
        QSignalSpy filled(sheet.actualEdit(0), &QLineEdit::textChanged);
        sheet.readBalance();
        QVERIFY(filled.wait(5000));
        QCOMPARE(sheet.actualEdit(0)->text(), "8.3");
        QCOMPARE(sheet.activeRow(), 1);  // the next row to weigh, in bold
        QVERIFY(sheet.table()->item(1, WeighingSheet::RowColumn)->font().bold());
        balance.unplug();
        sheet.readBalance();
        QTRY_VERIFY_WITH_TIMEOUT(sheet.message()->text().contains("was disconnected"), 5000);
        QVERIFY(sheet.readButton()->isEnabled());
    }

    void balanceSettingsKeptAndEdited() {
        QSettings store(dir.filePath("bench.ini"), QSettings::IniFormat);
        BenchSettings settings;
        settings.port.parity = QSerialPort::EvenParity;
        writeBenchSettings(store, settings);
        BalanceSettingsDialog d(readBenchSettings(store));
        const auto says = [&](const char* text) {
            return std::ranges::any_of(d.findChildren<QLabel*>(),
                                       [&](QLabel* l) { return l->text() == text; });
        };
        QVERIFY(says("Minimum weight: 0.082 g"));
        d.toleranceEdit()->setText("x");
        d.accept();
        QVERIFY(says("The tolerance must be a number such as 0.1.") && d.result() == QDialog::Rejected);
        d.toleranceEdit()->setText("0.2");
        d.accept();
        QCOMPARE(frameText(d.settings().port) + " " + QString::number(d.settings().balance.tolerancePct),
                 "9600 8E1 0.2");
        QCOMPARE(d.result(), QDialog::Accepted);
    }

    void weighOpensTheSheetFromTheWindow() {
        writeFile(dir.filePath("small.qvs"), "-1 S2\r\n0 0.05 1 BaTiO3\r\n1 0 0 BaCO3\r\n2 0 0 TiO2\r\n");
        QVERIFY(start(true, dir.filePath("small.qvs")));
        QTRY_VERIFY(std::ranges::any_of(w_->findChildren<QPushButton*>(),
                                        [](auto* b) { return b->text() == "Weigh ..." && b->isEnabled(); }));
        test::clickButton(w_.get(), "Weigh ...");
        auto* sheet = w_->findChild<WeighingSheet*>("weighingSheet");
        QVERIFY(sheet);
        QCOMPARE(sheet->session().size(), 2);
        // 0.05 g of BaTiO3 needs 17 mg of TiO2.
        QVERIFY(sheet->minimumNotice()->text().contains("Row 2 (TiO2): 17.12 mg is below"));
        QCOMPARE(shown(*sheet, 1), "0.017125|0.017125|below min. weight");
        QVERIFY(sheet->table()->item(1, WeighingSheet::NoteColumn)->toolTip().contains("less precisely"));
        test::saveScreenshot(*sheet, "weighing-sheet-min-weight");
        sheet->reject();
    }
};

QTEST_MAIN(BenchTest)
#include "bench_test.moc"
