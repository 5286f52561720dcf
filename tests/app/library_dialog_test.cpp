// The Library dialog over a real lab database in a temporary folder, typed
// into and clicked as a user would.

#include "app/library_dialog.h"
#include "support/element_file.h"
#include "support/recipe_scratch.h"
#include "window_fixture.h"

using namespace qv;
using namespace qv::app;

class LibraryDialogTest : public QObject {
    Q_OBJECT
    enum { Formula, Label, Supplier, Lot, Purity, Excess };
    test::TempDir dir_;

    static void retype(QLineEdit* field, const QString& text) {
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Delete);
        QTest::keyClicks(field, text);
    }

private slots:
    void addChangeDeleteImportAndExport() {
        ElementTable elements;
        QVERIFY(test::loadElementText(elements,
                                      "1 Li 6.94\n2 C 12.01 m\n3 O 16 m\n4 Ti 47.87\n5 Ba 137.33\n") > 0);
        store::LabDatabase db;
        QCOMPARE(db.open((dir_.path() / "lab.sqlite").string()), store::OpenStatus::Ok);
        LibraryDialog d(db, elements);
        d.show();
        QTest::keyClicks(d.field(Formula), "Li2CO3");
        QTest::keyClicks(d.field(Label), "lithium carbonate, battery grade");
        QTest::keyClicks(d.field(Purity), "99.5");
        QTest::keyClicks(d.field(Excess), "10");
        test::clickButton(&d, "&Add");
        QCOMPARE(d.table()->horizontalHeaderItem(Excess)->text(), "Excess (%)");

        // Bad values are named and change nothing.
        for (const auto& [column, text, says] : {std::tuple{Purity, "0", "purity 0 %"},
                                                 {Excess, "1,5", "\"1,5\""},
                                                 {Formula, "Li2Qq", "\"Li2Qq\" is not a formula"}}) {
            QLineEdit* field = d.field(column);
            const QString before = field->text();
            retype(field, QString::fromLatin1(text));
            QVERIFY(!d.addBottle());
            QVERIFY2(d.message().contains(QString::fromLatin1(says)), qPrintable(d.message()));
            retype(field, before);
        }

        // A second bottle of TiO2, then the first one's lot changed.
        for (const auto& [column, text] : {std::pair{Formula, "TiO2"}, {Purity, ""}, {Excess, ""}})
            retype(d.field(column), text);
        test::clickButton(&d, "&Add");
        QCOMPARE(d.table()->item(1, Purity)->text(), QStringLiteral("100"));
        d.table()->selectRow(0);
        QCOMPARE(d.field(Formula)->text(), QStringLiteral("Li2CO3"));
        QTest::keyClicks(d.field(Lot), "L-17");
        test::clickButton(&d, "&Change");
        test::saveScreenshot(d, QStringLiteral("library_dialog"));
        d.table()->selectRow(1);
        QVERIFY(d.deleteBottle());
        QCOMPARE(d.table()->rowCount(), 1);
        for (QPushButton* b : d.findChildren<QPushButton*>()) {  // each laid out, Delete off without a choice
            QVERIFY(std::ranges::any_of(d.findChildren<QLayout*>(),
                                        [b](QLayout* l) { return l->indexOf(b) >= 0; }));
            if (b->text() == "&Delete") QVERIFY(!b->isEnabled());
        }

        const auto csv = [this](const char* name, const char* text) {
            return QString::fromStdString(dir_.write(name, text));
        };
        QVERIFY(d.importCsv(csv("in.csv",
                                "formula,label,supplier,purity_pct\r\n"
                                "BaCO3,\"white, fine\",\"Acme \"\"B\"\"\",99.9\r\n")));
        QCOMPARE(d.table()->item(1, Supplier)->text(), QStringLiteral("Acme \"B\""));
        QVERIFY(!d.importCsv(csv("bad.csv", "formula,purity_pct\nTiO2,99\nTiO2,150\n")));
        QVERIFY2(d.message().contains("line 3") && d.message().contains("Nothing was imported"),
                 qPrintable(d.message()));
        QCOMPARE(d.table()->rowCount(), 2);
        const std::string out = (dir_.path() / "out.csv").string();
        QVERIFY(d.exportCsv(QString::fromStdString(out)));
        QCOMPARE(test::readFileBytes(out),
                 std::string("id,formula,label,supplier,lot,purity_pct,excess_pct\r\n"
                             "1,Li2CO3,\"lithium carbonate, battery grade\",,L-17,99.5,10\r\n"
                             "3,BaCO3,\"white, fine\",\"Acme \"\"B\"\"\",,99.9,0\r\n"));
    }
};

QTEST_MAIN(LibraryDialogTest)
#include "library_dialog_test.moc"
