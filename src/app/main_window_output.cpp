// The Output command and the default text report.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>

#include "app/app_info.h"
#include "app/main_window.h"
#include "app/output_dialog.h"
#include "output/output_grams.h"
#include "output/report_file.h"
#include "output/text_report.h"
#include "output/weighing.h"

namespace qv::app {

void MainWindow::onOutput() {
    double grams = 0.0;
    const GramCheck check = readOutputGrams(model_->gramsText(), grams);
    if (check != GramCheck::Ok) {
        model_->setStatus(gramCheckMessage(check));
        return;
    }
    if (settings_.outputToWord != 0)
        outputToWord(grams);
    else
        writeTextReport(grams);
}

void MainWindow::writeTextReport(double grams) {
    const std::optional<std::string> report =
        weighingReportText(*model_, model_->sampleTag(), grams, settings_.showDifference != 0);
    if (!report) {
        model_->setStatus(computeWeighingAmounts(*model_, grams).refusal);
        return;
    }
    // An installed program's folder is read-only: the temporary folder takes
    // the report then.
    ReportFileResult file = appendReportFile(QFile::encodeName(programDir_).toStdString(), *report);
    const QString temp = QDir::tempPath();  // empty when TMPDIR names no folder
    if (!file.opened && !temp.isEmpty())
        file = appendReportFile(QFile::encodeName(temp + QLatin1Char('/')).toStdString(), *report);
    if (!file.opened) {
        QMessageBox box(QMessageBox::NoIcon, QLatin1String(kAppName),
                        QString::fromLatin1(kReportFileErrorText.data(), kReportFileErrorText.size()),
                        QMessageBox::Ok, this);
        box.exec();
        return;
    }
    const QString path = QFile::decodeName(QByteArray::fromStdString(file.path));
    {
        OutputDialog display(this);
        display.setSource(path, QLatin1String(kDisplayFontName));
        display.exec();
    }
    QFile::remove(path);
}

}  // namespace qv::app
