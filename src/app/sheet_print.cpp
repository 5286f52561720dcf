#include "app/sheet_print.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPageSize>
#include <QPrinter>
#include <QTextDocument>
#include <algorithm>

#include "core/number_format.h"
#include "plan/minimum_weight.h"
#include "plan/weighing_plan.h"
#include "store/lab_database.h"

namespace qv::app {

namespace {

QString grams(double g) { return QString::fromStdString(formatDecimal(g)); }
QString grams(const std::optional<double>& g) { return g ? grams(*g) : QString(); }

}  // namespace

SheetSection sheetSection(const WeighingSession& session, const QString& sampleTag,
                          const BalanceRating& balance) {
    const WeighingPlan& plan = session.plan();
    const MinimumWeightCheck check = checkMinimumWeight(plan, balance);
    SheetSection s;
    s.title = QObject::tr("Weighing sheet");
    s.sampleTag = sampleTag;
    s.finalFormula = QString::fromStdString(plan.finalFormula);
    s.grams = session.finalGrams();
    s.factor = session.factor();
    for (int i = 0; i < session.size(); ++i) {
        const PlanRow& r = plan.rows[i];
        s.rows.push_back({r.row + 1, QString::fromStdString(r.formula), r.grams, r.planned, session.target(i),
                          session.actual(i), std::count(check.below.begin(), check.below.end(), i) > 0});
    }
    const std::string notice = minimumWeightNotice(plan, check);
    if (!notice.empty()) s.notes << QString::fromStdString(notice).split(QLatin1Char('\n'));
    return s;
}

SheetSection sheetSection(const store::Session& session) {
    SheetSection s;
    s.title = QObject::tr("Weighing session %1").arg(session.id);
    s.sampleTag = QString::fromStdString(session.sampleTag);
    s.finalFormula = QString::fromStdString(session.finalFormula);
    s.grams = session.finalGrams;
    s.factor = session.factor;
    s.time = QString::fromStdString(session.time);
    for (const store::SessionRow& r : session.rows) {
        s.rows.push_back({r.row, QString::fromStdString(r.formula), std::nullopt, r.planned,
                          r.planned * session.factor, r.actual, false});
    }
    if (session.asWeighed) {
        QStringList counts;
        const QJsonObject object =
            QJsonDocument::fromJson(QByteArray::fromStdString(*session.asWeighed)).object();
        for (auto it = object.begin(); it != object.end(); ++it)
            counts << it.key() + QLatin1Char(' ') +
                          QString::fromStdString(formatDecimal(it.value().toDouble(), 4));
        s.notes << QObject::tr("As weighed: %1").arg(counts.join(QStringLiteral(", ")));
    }
    if (session.firedGrams)
        s.notes << QObject::tr("After firing: %1 g, before: %2 g, completeness: %3")
                       .arg(grams(*session.firedGrams), grams(session.beforeGrams),
                            session.completenessPct
                                ? QString::fromStdString(formatDecimal(*session.completenessPct, 1)) +
                                      QStringLiteral(" %")
                                : QStringLiteral("-"));
    return s;
}

QString sheetHtml(const QList<SheetSection>& sections) {
    QString html = QStringLiteral("<html><body style=\"font-family: sans-serif; font-size: 10pt\">");
    bool first = true;
    for (const SheetSection& s : sections) {
        html += first ? QStringLiteral("<div>") : QStringLiteral("<div style=\"page-break-before: always\">");
        first = false;
        html += QStringLiteral("<h2>%1</h2><p>").arg(s.title.toHtmlEscaped());
        html += QObject::tr("ID: %1").arg(s.sampleTag.toHtmlEscaped()) + QStringLiteral("<br>");
        html += QObject::tr("%1 &nbsp;(%2 grams, factor %3)")
                    .arg(s.finalFormula.toHtmlEscaped(), grams(s.grams), grams(s.factor));
        if (!s.time.isEmpty()) html += QStringLiteral("<br>") + s.time.toHtmlEscaped();
        // A recorded session keeps only the corrected grams.
        const bool planned = std::any_of(s.rows.begin(), s.rows.end(),
                                         [](const SheetRow& r) { return r.planned.has_value(); });
        html +=
            QStringLiteral("</p><table border=\"1\" cellspacing=\"0\" cellpadding=\"5\" width=\"100%\"><tr>");
        QStringList heads = {QObject::tr("Row"),         QObject::tr("Reactant"),
                             QObject::tr("Planned (g)"), QObject::tr("Corrected (g)"),
                             QObject::tr("Target (g)"),  QObject::tr("Actual (g)"),
                             QObject::tr("Done")};
        if (!planned) heads.removeAt(2);
        for (const QString& head : heads)
            html += QStringLiteral("<th style=\"white-space: nowrap\">%1</th>").arg(head);
        html += QStringLiteral("</tr>");
        const QString number = QStringLiteral("<td align=\"right\">%1</td>");
        for (const SheetRow& r : s.rows) {
            html += QStringLiteral("<tr>") + number.arg(r.row) +
                    QStringLiteral("<td>%1%2</td>")
                        .arg(r.formula.toHtmlEscaped(),
                             r.belowMinimum ? QObject::tr(" (below min. weight)") : QString());
            if (planned) html += number.arg(grams(r.planned));
            html += number.arg(grams(r.corrected)) + number.arg(grams(r.target)) +
                    number.arg(grams(r.actual)) + QStringLiteral("<td width=\"40\">&nbsp;</td></tr>");
        }
        html += QStringLiteral("</table>");
        for (const QString& note : s.notes) html += QStringLiteral("<p>%1</p>").arg(note.toHtmlEscaped());
        html += QStringLiteral("</div>");
    }
    return html + QStringLiteral("</body></html>");
}

void printSheets(QPrinter& printer, const QList<SheetSection>& sections) {
    QTextDocument document;
    document.setHtml(sheetHtml(sections));
    document.print(&printer);
}

QString exportSheetsPdf(const QString& path, const QList<SheetSection>& sections) {
    QFile probe(path);
    if (!probe.open(QIODevice::WriteOnly))
        return QObject::tr("Cannot write %1: %2").arg(path, probe.errorString());
    probe.close();
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setOutputFileName(path);
    printSheets(printer, sections);
    return {};
}

}  // namespace qv::app
