#include "app/office_output.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <QVBoxLayout>

#include "output/word_automation.h"

namespace qv::app {

QString wordUnavailableReason(const WordOffice* office) {
    if (office == nullptr)
        return QStringLiteral("The office plugin is not installed (package quorvex-writer).");
    if (!office->installed()) return QStringLiteral("LibreOffice Writer is not installed.");
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return QStringLiteral("There is no display to show LibreOffice Writer on.");
    if (!office->showsWindows())
        return QStringLiteral(
            "The installed LibreOffice cannot show a window (a GUI-less package; "
            "install libreoffice-writer).");
    return {};
}

OfficeBusyDialog::OfficeBusyDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("officeBusy"));
    setWindowTitle(QStringLiteral("Output To MS Word"));
    setModal(true);
    text_ = new QLabel(tr("Typing the report into LibreOffice Writer..."), this);
    auto* bar = new QProgressBar(this);
    bar->setRange(0, 0);  // busy, for as long as the office takes
    bar->setTextVisible(false);
    bar->setAccessibleName(tr("Working"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    cancel_ = buttons->button(QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::rejected, this, &OfficeBusyDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text_);
    layout->addWidget(bar);
    layout->addWidget(buttons);
    setMinimumWidth(text_->sizeHint().width() + 40);
}

void OfficeBusyDialog::reject() {
    // The dialog stays until the office has let go; it closes itself then.
    if (cancelled_) return;
    cancelled_ = true;
    text_->setText(tr("Cancelling..."));
    cancel_->setEnabled(false);
    emit cancelRequested();
}

bool runOffThread(QWidget* parent, WordOffice& office, const std::function<void()>& job) {
    OfficeBusyDialog busy(parent);
    QThread* worker = QThread::create(job);
    QObject::connect(worker, &QThread::finished, &busy, &QDialog::accept);
    QObject::connect(&busy, &OfficeBusyDialog::cancelRequested, &busy, [&office] { office.cancel(); });
    QApplication::setOverrideCursor(Qt::BusyCursor);
    worker->start();
    busy.exec();  // until the worker's end (queued) closes it
    worker->wait();
    delete worker;
    QApplication::restoreOverrideCursor();
    return busy.cancelled();
}

}  // namespace qv::app
