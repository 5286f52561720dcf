#pragma once
// The program's name and version as the window, the boxes and the web ping
// show them.

#include <QString>

namespace qv::app {

inline constexpr char kApplicationName[] = "Quorvex";
inline constexpr double kVersion = 1.51;

// "%.2f" of the version, always with a point whatever the locale.
QString versionText();

// The name, two blanks, "v", one blank and the version: "Quorvex  v 1.51".
QString applicationTitle();

}  // namespace qv::app
