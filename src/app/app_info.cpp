#include "app/app_info.h"

namespace qv::app {

QString applicationTitle() {
    return QStringLiteral("%1  v %2").arg(QLatin1String(kAppName)).arg(kVersion, 0, 'f', 2);
}

}  // namespace qv::app
