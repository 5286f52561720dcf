#pragma once
// The three values kept between runs, in QSettings under the organisation
// "Quorvex", the program's base name and the group "Settings".

#include <QString>

class QSettings;

namespace qv::app {

inline constexpr const char* kOutputToWordKey = "Output To MS Word";
inline constexpr const char* kShowDifferenceKey = "Show Differential";
inline constexpr const char* kLastWorkingDirKey = "Last Working Dir";

struct Settings {
    int outputToWord = 1;    // non-zero: Output goes to the word processor
    int showDifference = 1;  // 1: reports carry the balance residual
    QString lastWorkingDir;
    bool wordAvailable = false;  // computed at every start, never stored
};

// Reads the values (defaults when absent), makes a stored working folder the
// current one when it exists, and turns word output off when no word
// processor is available.
Settings readSettings(QSettings& store, bool wordAvailable);
// Writes the values back; the working folder is the current folder now.
void writeSettings(QSettings& store, const Settings& settings);

}  // namespace qv::app
