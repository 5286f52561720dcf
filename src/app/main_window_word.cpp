// The word-processor sink: the report typed into LibreOffice Writer.
#include <QApplication>
#include <QMessageBox>

#include "app/main_window.h"
#include "output/weighing.h"
#include "output/word_plugin.h"
#include "output/word_report.h"

namespace qv::app {

bool MainWindow::wordProcessorAvailable() { return wordAvailable(); }

void MainWindow::setWordOffice(std::unique_ptr<WordOffice> office) { wordOffice_ = std::move(office); }

void MainWindow::outputToWord(double grams) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    settings_.outputToWord = 1;
    if (!wordOffice_) wordOffice_ = loadWordOffice();
    const WordReportOutcome outcome =
        wordOffice_ ? writeWordReport(*model_, *wordOffice_, lastWordDocument_, model_->sampleTag(), grams,
                                      settings_.showDifference != 0)
                    : WordReportOutcome::NoOffice;
    QApplication::restoreOverrideCursor();
    switch (outcome) {
    case WordReportOutcome::Typed: break;
    case WordReportOutcome::NoOffice:
        // From now on the default sink, as the menu then shows.
        settings_.outputToWord = 0;
        updateMenuStates();
        writeTextReport(grams);
        break;
    case WordReportOutcome::NoAmounts: model_->setStatus(kZeroFinalMassText); break;
    case WordReportOutcome::Failed:
        QMessageBox box(QMessageBox::Critical, QLatin1String(kWordFailedCaption),
                        QLatin1String(kWordFailedText), QMessageBox::Ok, this);
        box.exec();
        break;
    }
}

}  // namespace qv::app
