#include "support/run_program.h"

#include <sys/wait.h>

#include <cstdlib>

#include "support/element_file.h"
#include "support/recipe_scratch.h"

namespace qv::test {

std::string shellQuoted(const std::string& arg) {
    std::string q = "'";
    for (char c : arg) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

ProgramResult runCli(const std::vector<std::string>& args) {
    // Output goes through files so neither stream can block the child.
    TempDir dir;
    const std::string out = (dir.path() / "out").string(), err = (dir.path() / "err").string();
    std::string command = shellQuoted(QV_BIN_DIR "/quorvex-cli");
    for (const auto& arg : args) command += " " + shellQuoted(arg);
    const int raw = std::system((command + " >" + shellQuoted(out) + " 2>" + shellQuoted(err)).c_str());
    ProgramResult result;
    if (raw != -1 && WIFEXITED(raw)) result.exitCode = WEXITSTATUS(raw);
    result.out = readFileBytes(out);
    result.err = readFileBytes(err);
    return result;
}

}  // namespace qv::test
