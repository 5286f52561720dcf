// Commands whose real work lives elsewhere: the help page, the About box,
// the explanation box, the web notice and the hidden message.
#include <QLabel>
#include <QPlainTextEdit>

#include "app/hidden_message.h"
#include "app/info_boxes.h"
#include "app/main_window.h"
#include "app/web_notice.h"
#include "app/web_server.h"

namespace qv::app {

void MainWindow::showHelp() { openHelp(); }

void MainWindow::showAbout() {
    AboutDialog about(this);
    about.exec();
}

void MainWindow::showExplanation() {
    ExplanationBox box(this);
    box.exec();
}

// Stays until the solver next writes its status.
void MainWindow::showHiddenMessage() { status_->setPlainText(hiddenMessage()); }

// Without a web server in the settings this makes no request at all.
void MainWindow::startWebPing() {
    auto* ping = new WebNotice(this);
    connect(ping, &WebNotice::noticeChanged, this, [this](const QString& text) {
        notice_->setText(text);
        notice_->setVisible(true);
    });
    ping->start();
}

}  // namespace qv::app
