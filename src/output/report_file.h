#pragma once
// The transient report file: a time-stamped text file in the program directory
// that lives only while its report is on screen.

#include <ctime>
#include <string>
#include <string_view>

namespace qv {

inline constexpr std::string_view kReportFileErrorText = "File I/O occured while producing output.";

// programDir ends in a path separator; the name is YYYY.MM.DD-hh.mm.ss.qv.
std::string reportFilePath(std::string_view programDir, const std::tm& localTime);

struct ReportFileResult {
    std::string path;
    bool opened = false;   // false: show kReportFileErrorText, display nothing
    bool written = false;  // every byte reached the file
};

// Appends the text to the report file for the given local time (created when
// absent, so a leftover file of the same second keeps its old content first).
ReportFileResult appendReportFile(std::string_view programDir, const std::tm& localTime,
                                  std::string_view text);
// The same for the current local time.
ReportFileResult appendReportFile(std::string_view programDir, std::string_view text);

}  // namespace qv
