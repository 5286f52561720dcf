#pragma once
// The office plugin: a shared library beside the executable that implements
// WordOffice over LibreOffice Writer. The programs load it at run time so that
// they never link the office themselves and run where it is missing.

#include <memory>
#include <string>

#include "output/word_automation.h"

namespace qv {

struct WordOfficeOptions {
    // Pipe the office listens on; empty: a fixed name per user, so the
    // running office is found again by every output.
    std::string pipeName;
    // Start a headless office of our own with a throw-away profile, whatever
    // is running, and end it when the WordOffice goes.
    bool privateOffice = false;
    // Bounds: how long a started office may take to answer, and one call.
    int startSeconds = 60;
    int callSeconds = 30;
};

inline constexpr const char* kWriterPluginFile = "libquorvex_writer.so";
inline constexpr const char* kWriterFactorySymbol = "qv_create_word_office";
// The plugin's one export; the caller owns the result.
using WordOfficeFactory = WordOffice* (*)(const WordOfficeOptions* options);

// The folder of the running executable, symbolic links resolved, with a
// trailing slash; empty when the system does not tell.
std::string executableDirectory();

// Loads the plugin from beside the executable (once per process; it stays
// loaded) and asks it for an office. Null, with the reason in `error`, when
// the plugin is missing or broken.
std::unique_ptr<WordOffice> loadWordOffice(const WordOfficeOptions& options = {},
                                           std::string* error = nullptr);

// "Word available": the plugin loads and an office program is installed.
bool wordAvailable();

}  // namespace qv
