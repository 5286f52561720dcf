#include "controls/clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace qv {

bool SystemClipboard::putText(std::string_view text) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard == nullptr) return false;
    clipboard->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    return true;
}

std::optional<std::string> SystemClipboard::getText() {
    const QClipboard* clipboard = QGuiApplication::clipboard();
    const QMimeData* data = clipboard != nullptr ? clipboard->mimeData() : nullptr;
    if (data == nullptr || !data->hasText()) return std::nullopt;
    return data->text().toUtf8().toStdString();
}

}  // namespace qv
