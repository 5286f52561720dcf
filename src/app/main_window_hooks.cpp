// Commands whose real work lives elsewhere: the word-processor report, the
// help page, the About box, the explanation box and the hidden message. Each
// is a small stand-in its owner replaces whole.
#include <QMessageBox>

#include "app/app_info.h"
#include "app/main_window.h"

namespace qv::app {

bool MainWindow::wordProcessorAvailable() { return false; }

// Without a word processor the report goes to the default display, as when
// the word processor cannot be reached.
void MainWindow::outputToWord(double grams) { writeTextReport(grams); }

void MainWindow::showHelp() {}

void MainWindow::showAbout() {
    QMessageBox::about(this, applicationTitle(), applicationTitle());
}

void MainWindow::showExplanation() {}

void MainWindow::showHiddenMessage() {}

}  // namespace qv::app
