#include "output/report_file.h"

#include <cstdio>

namespace qv {

std::string reportFilePath(std::string_view programDir, const std::tm& t) {
    char name[64];
    std::snprintf(name, sizeof name, "%04d.%02d.%02d-%02d.%02d.%02d.qv", t.tm_year + 1900, t.tm_mon + 1,
                  t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec);
    std::string path(programDir);
    path += name;
    return path;
}

ReportFileResult appendReportFile(std::string_view programDir, const std::tm& localTime,
                                  std::string_view text) {
    ReportFileResult result;
    result.path = reportFilePath(programDir, localTime);
    std::FILE* file = std::fopen(result.path.c_str(), "a");
    if (!file) return result;
    result.opened = true;
    const bool wrote = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    const bool closed = std::fclose(file) == 0;
    result.written = wrote && closed;
    return result;
}

ReportFileResult appendReportFile(std::string_view programDir, std::string_view text) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return appendReportFile(programDir, local, text);
}

}  // namespace qv
