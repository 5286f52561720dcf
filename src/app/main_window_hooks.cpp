// Commands whose real work lives elsewhere: the help page, the About box, the
// explanation box and the hidden message. Each is a small stand-in its owner
// replaces whole.
#include <QMessageBox>

#include "app/app_info.h"
#include "app/main_window.h"

namespace qv::app {

void MainWindow::showHelp() {}

void MainWindow::showAbout() {
    QMessageBox::about(this, applicationTitle(), applicationTitle());
}

void MainWindow::showExplanation() {}

void MainWindow::showHiddenMessage() {}

}  // namespace qv::app
