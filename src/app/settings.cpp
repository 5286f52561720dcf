#include "app/settings.h"

#include <QDir>
#include <QSettings>

#include "app/app_info.h"

namespace qv::app {

QString applicationTitle() {
    return QStringLiteral("%1  v %2").arg(QLatin1String(kAppName)).arg(QLatin1String(kShortVersion));
}

namespace {

int readInt(QSettings& store, const char* key, int fallback) {
    bool ok = false;
    const int value = store.value(QLatin1String(key), fallback).toInt(&ok);
    return ok ? value : fallback;
}

}  // namespace

Settings readSettings(QSettings& store, bool wordAvailable) {
    Settings settings;
    store.beginGroup(QStringLiteral("Settings"));
    settings.outputToWord = readInt(store, kOutputToWordKey, 1);
    settings.showDifference = readInt(store, kShowDifferenceKey, 1) == 1 ? 1 : 0;
    settings.lastWorkingDir = store.value(QLatin1String(kLastWorkingDirKey)).toString();
    store.endGroup();
    if (!settings.lastWorkingDir.isEmpty()) QDir::setCurrent(settings.lastWorkingDir);
    settings.wordAvailable = wordAvailable;
    if (!wordAvailable) settings.outputToWord = 0;
    return settings;
}

void writeSettings(QSettings& store, const Settings& settings) {
    store.beginGroup(QStringLiteral("Settings"));
    store.setValue(QLatin1String(kOutputToWordKey), settings.outputToWord);
    store.setValue(QLatin1String(kShowDifferenceKey), settings.showDifference == 1 ? 1 : 0);
    const QString current = QDir::currentPath();
    if (!current.isEmpty()) store.setValue(QLatin1String(kLastWorkingDirKey), current);
    store.endGroup();
    store.sync();
}

}  // namespace qv::app
