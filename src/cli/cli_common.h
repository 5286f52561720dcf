#pragma once
// Pieces every quorvex-cli verb shares: exit codes and loading the element file.

#include <string>
#include <string_view>
#include <vector>

namespace qv {
class ElementTable;
}

namespace qv::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitSomeInvalid = 1;
inline constexpr int kExitNoElements = 2;
inline constexpr int kExitUsage = 64;  // sysexits' EX_USAGE
// report and solve
inline constexpr int kExitLoadFailed = 1;      // a recipe failed to load
inline constexpr int kExitOutputDisabled = 3;  // the solver left "Output" disabled
inline constexpr int kExitNoReport = 4;        // grams refused, or the recipe not saved
// series: 1 and 3 as above (3: some sample has no answer)

struct Invocation {
    std::string program;            // argv[0]
    std::vector<std::string> args;  // after the verb
};

// ATOMS.LST beside the running executable (its argv[0] folder as a fallback).
std::string defaultElementFile(const std::string& argv0);

// Loads `path` into `table`. On failure (no element loaded) says so on stderr
// and returns false.
bool loadElements(ElementTable& table, const std::string& path);

// Takes "--atoms FILE" / "--atoms=FILE" out of `args`. False (after a message
// on stderr) when the option lacks its file.
bool takeAtomsOption(std::vector<std::string>& args, std::string& path);

// "NAME VALUE" or "NAME=VALUE" at args[i]. On a match `value` is set and i
// left on the last argument used; Missing when no value follows.
enum class OptionMatch { No, Yes, Missing };
OptionMatch matchOption(const std::vector<std::string>& args, std::size_t& i, std::string_view name,
                        std::string& value);

void printUsage(bool toStderr);

int runLibrary(const Invocation& inv);
int runMass(const Invocation& inv);
int runReport(const Invocation& inv);
int runSeries(const Invocation& inv);
int runSolve(const Invocation& inv);
int runWeigh(const Invocation& inv);
int runLog(const Invocation& inv);

}  // namespace qv::cli
