#pragma once
// The printed weighing sheet: a header, the table with the planned,
// corrected and actual grams and an empty box per row to tick, and the notes
// under it. One section per page, so a series prints one sample a page.

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

class QPrinter;

namespace qv {
class WeighingSession;
struct BalanceRating;
namespace store {
struct Session;
}
}  // namespace qv

namespace qv::app {

struct SheetRow {
    int row = 0;  // 1..30
    QString formula;
    std::optional<double> planned;  // before corrections
    double corrected = 0.0;         // to weigh
    std::optional<double> target;   // after rescaling
    std::optional<double> actual;
    bool belowMinimum = false;
};

struct SheetSection {
    QString title;
    QString sampleTag;
    QString finalFormula;
    double grams = 0.0;  // of the final compound the weighed powders make
    double factor = 1.0;
    QString time;
    QList<SheetRow> rows;
    QStringList notes;
};

// A sheet from the session on the bench, with its minimum-weight check.
SheetSection sheetSection(const WeighingSession& session, const QString& sampleTag,
                          const BalanceRating& balance);
// A sheet from a recorded session.
SheetSection sheetSection(const store::Session& session);

QString sheetHtml(const QList<SheetSection>& sections);
void printSheets(QPrinter& printer, const QList<SheetSection>& sections);
// Empty when written, else why not.
QString exportSheetsPdf(const QString& path, const QList<SheetSection>& sections);

}  // namespace qv::app
