#include "app/app_identity.h"

namespace qv::app {

QString versionText() {
    // QString::number ignores the locale, so the point stays a point.
    return QString::number(kVersion, 'f', 2);
}

QString applicationTitle() {
    return QStringLiteral("%1  v %2").arg(QLatin1String(kApplicationName), versionText());
}

}  // namespace qv::app
