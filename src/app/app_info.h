#pragma once
// The application's name, version and the title built from them.

#include <QString>

namespace qv::app {

inline constexpr const char* kAppName = "Quorvex";
inline constexpr double kVersion = 1.51;

// "Quorvex  v 1.51": the name, two blanks, "v", one blank, two decimals.
QString applicationTitle();

}  // namespace qv::app
