// The Library dialog over a real lab database in a temporary folder, typed
// into and clicked as a user would.

#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>

#include "app/library_dialog.h"
#include "core/element_table.h"
#include "widget_support.h"

using namespace qv;
using namespace qv::app;

namespace {

enum { Formula, Label, Supplier, Lot, Purity, Excess };

QPushButton* button(QWidget& dialog, const QString& text) {
    for (auto* b : dialog.findChildren<QPushButton*>())
        if (b->text() == text) return b;
    return nullptr;
}

}  // namespace

class LibraryDialogTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    ElementTable elements_;
    store::LabDatabase db_;

    QString file(const char* name) const { return dir_.filePath(QString::fromLatin1(name)); }
    void write(const char* name, const std::string& text) {
        std::ofstream(file(name).toStdString(), std::ios::binary) << text;
    }
    static void retype(QLineEdit* field, const QString& text) {
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Delete);
        QTest::keyClicks(field, text);
    }

private slots:
    void initTestCase() {
        write("atoms.lst", "1 Li 6.94\n2 C 12.01 m\n3 O 16 m\n4 Ti 47.87\n5 Ba 137.33\n");
        QVERIFY(elements_.loadElementTable(file("atoms.lst").toStdString()) > 0);
    }
    void init() {
        QFile::remove(file("lab.sqlite"));
        QCOMPARE(db_.open(file("lab.sqlite").toStdString()), store::OpenStatus::Ok);
    }

    void addChangeAndDeleteByHand() {
        LibraryDialog d(db_, elements_);
        d.show();
        QTest::keyClicks(d.field(Formula), "Li2CO3");
        QTest::keyClicks(d.field(Label), "lithium carbonate, battery grade");
        QTest::keyClicks(d.field(Purity), "99.5");
        QTest::keyClicks(d.field(Excess), "10");
        QTest::mouseClick(button(d, "&Add"), Qt::LeftButton);
        QCOMPARE(d.table()->rowCount(), 1);
        QCOMPARE(d.table()->item(0, Purity)->text(), QStringLiteral("99.5"));

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
        QCOMPARE(db_.bottles()->size(), 1u);

        // A second bottle of TiO2, then the first one's lot changed.
        retype(d.field(Formula), "TiO2");
        retype(d.field(Label), "rutile");
        retype(d.field(Purity), "");
        retype(d.field(Excess), "");
        QTest::mouseClick(button(d, "&Add"), Qt::LeftButton);
        QCOMPARE(d.table()->item(1, Purity)->text(), QStringLiteral("100"));
        d.table()->selectRow(0);
        QCOMPARE(d.field(Formula)->text(), QStringLiteral("Li2CO3"));
        QTest::keyClicks(d.field(Lot), "L-17");
        QTest::mouseClick(button(d, "&Change"), Qt::LeftButton);
        QCOMPARE(db_.bottles()->front().lot, "L-17");
        QCOMPARE(db_.bottles()->front().excessPct, 10.0);
        test::saveScreenshot(d, QStringLiteral("library_dialog"));

        d.table()->selectRow(1);
        QVERIFY(d.deleteBottle());
        QCOMPARE(d.table()->rowCount(), 1);
        QVERIFY(!button(d, "&Delete")->isEnabled());
    }

    void importAndExportCsv() {
        LibraryDialog d(db_, elements_);
        write("in.csv",
              "formula,label,supplier,purity_pct\r\nBaCO3,\"white, fine\",\"Acme \"\"B\"\"\",99.9\r\n");
        QVERIFY(d.importCsv(file("in.csv")));
        QCOMPARE(d.table()->item(0, Label)->text(), QStringLiteral("white, fine"));
        QCOMPARE(d.table()->item(0, Supplier)->text(), QStringLiteral("Acme \"B\""));
        write("bad.csv", "formula,purity_pct\nTiO2,99\nTiO2,150\n");
        QVERIFY(!d.importCsv(file("bad.csv")));
        QVERIFY2(d.message().contains("line 3") && d.message().contains("Nothing was imported"),
                 qPrintable(d.message()));
        QCOMPARE(d.table()->rowCount(), 1);
        QVERIFY(d.exportCsv(file("out.csv")));
        QFile out(file("out.csv"));
        QVERIFY(out.open(QIODevice::ReadOnly));
        QCOMPARE(out.readAll(), QByteArray("id,formula,label,supplier,lot,purity_pct,excess_pct\r\n"
                                           "1,BaCO3,\"white, fine\",\"Acme \"\"B\"\"\",,99.9,0\r\n"));
    }
};

QTEST_MAIN(LibraryDialogTest)
#include "library_dialog_test.moc"
