#pragma once
// The application's name, version and the title built from them.

#include <QString>

#include "version.h"

namespace qv::app {

inline constexpr const char* kAppName = "Quorvex";

// "Quorvex  v 1.51": the name, two blanks, "v", one blank, two decimals.
QString applicationTitle();

}  // namespace qv::app
