#include "app/output_dialog.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringDecoder>
#include <QVBoxLayout>

#include "app/app_info.h"

namespace qv::app {

namespace {

void plainMessage(QWidget* parent, const char* text) {
    QMessageBox box(QMessageBox::NoIcon, QLatin1String(kAppName), QLatin1String(text), QMessageBox::Ok,
                    parent);
    box.exec();
}

}  // namespace

OutputDialog::OutputDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QLatin1String(kOutputDialogTitle));
    view_ = new QPlainTextEdit;
    view_->setReadOnly(true);
    view_->setLineWrapMode(QPlainTextEdit::NoWrap);
    view_->setFocusPolicy(Qt::ClickFocus);
    view_->setAccessibleName(tr("Report"));
    close_ = new QPushButton(tr("Close"));
    close_->setDefault(true);
    copy_ = new QPushButton(tr("Copy All"));
    close_->setToolTip(tr("Close the report"));
    copy_->setToolTip(tr("Copy the whole report to the clipboard"));
    connect(close_, &QPushButton::clicked, this, &QDialog::accept);
    connect(copy_, &QPushButton::clicked, this, &OutputDialog::copyAll);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(close_);
    buttons->addStretch(1);
    buttons->addWidget(copy_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(view_, 1);
    layout->addLayout(buttons);
    resize(620, 420);
}

void OutputDialog::setSource(const QString& path, const QString& fontName) {
    path_ = path;
    QFont font(fontName, 10);
    font.setStyleHint(QFont::TypeWriter);
    if (!QFontInfo(font).fixedPitch()) font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(10);
    view_->setFont(font);
}

int OutputDialog::exec() {
    if (loadTextFile() <= 0) {
        plainMessage(parentWidget(), kDisplayResultError);
        setResult(Rejected);
        return Rejected;
    }
    close_->setFocus();
    return QDialog::exec();
}

qsizetype OutputDialog::loadTextFile() {
    QFile file(path_);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        plainMessage(parentWidget(), kDisplayOutputError);
        return 0;
    }
    // Decoding keeps its state between chunks, so a character split at a
    // seam arrives whole.
    QStringDecoder decode(QStringDecoder::Utf8);
    QTextCursor end(view_->document());
    end.movePosition(QTextCursor::End);
    qsizetype total = 0;
    char buffer[kDisplayChunk + 1];
    for (;;) {
        const qint64 count = file.read(buffer, kDisplayChunk);
        if (count < 0) {
            plainMessage(parentWidget(), kDisplayOutputError);
            break;
        }
        if (count == 0) break;
        const QString chunk = decode(QByteArrayView(buffer, count));
        end.insertText(chunk);
        total += count;
    }
    return total;
}

void OutputDialog::copyAll() {
    QApplication::beep();
    view_->selectAll();
    view_->copy();
}

}  // namespace qv::app
