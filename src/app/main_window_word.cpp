// The word-processor sink: the report typed into LibreOffice Writer, off the
// window's thread, with the text report whenever the office lets us down.
#include <QApplication>
#include <QMessageBox>

#include "app/app_info.h"
#include "app/main_window.h"
#include "app/office_output.h"
#include "output/weighing.h"
#include "output/word_plugin.h"
#include "output/word_report.h"

namespace qv::app {

bool MainWindow::wordProcessorAvailable() {
    if (!wordOffice_) wordOffice_ = loadWordOffice();
    const QString why = wordUnavailableReason(wordOffice_.get());
    wordAction_->setToolTip(why.isEmpty() ? tr("Type the report into a LibreOffice Writer document") : why);
    return why.isEmpty();
}

void MainWindow::setWordOffice(std::unique_ptr<WordOffice> office) { wordOffice_ = std::move(office); }

void MainWindow::outputToWord(double grams) {
    settings_.outputToWord = 1;
    if (!wordOffice_) wordOffice_ = loadWordOffice();
    WordReportOutcome outcome = WordReportOutcome::NoOffice;
    bool cancelled = false;
    if (wordOffice_) {
        const std::string tag = model_->sampleTag();
        const bool difference = settings_.showDifference != 0;
        // The form is not touched while the modal busy box stands: the worker
        // only reads it.
        cancelled = runOffThread(this, *wordOffice_, [&] {
            outcome = writeWordReport(*model_, *wordOffice_, lastWordDocument_, tag, grams, difference);
        });
    }
    if (outcome == WordReportOutcome::Typed) return;
    if (outcome == WordReportOutcome::NoAmounts) {
        model_->setStatus(computeWeighingAmounts(*model_, grams).refusal);
        return;
    }
    if (!cancelled) {
        // Never silent: say what happened, then the text report.
        const bool failed = outcome == WordReportOutcome::Failed;
        QMessageBox box(failed ? QMessageBox::Critical : QMessageBox::Warning,
                        failed ? QLatin1String(kWordFailedCaption) : QLatin1String(kAppName),
                        failed ? QLatin1String(kWordFailedText) : QLatin1String(kOfficeNotReached),
                        QMessageBox::Ok, this);
        if (failed) box.setInformativeText(QLatin1String(kWordFailedFallback));
        box.exec();
    }
    if (outcome == WordReportOutcome::NoOffice && !cancelled) {
        // From now on the default sink, as the menu then shows.
        settings_.outputToWord = 0;
        updateMenuStates();
    }
    writeTextReport(grams);
}

}  // namespace qv::app
