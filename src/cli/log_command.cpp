// quorvex-cli log: the weighing sessions of the lab database, and the masses
// after (and before) firing added to one of them.

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/cli_common.h"
#include "core/number_format.h"
#include "core/number_scan.h"
#include "plan/session_record.h"
#include "store/lab_database.h"
#include "store/session_export.h"

namespace qv::cli {
namespace {

struct LogOptions {
    std::string db;
    std::string format = "text";
    std::string search;
    std::optional<long long> firedId;
    double fired = 0.0;
    std::optional<double> before;
};

int usage(const std::string& message) {
    std::fprintf(stderr, "quorvex-cli log: %s\n", message.c_str());
    return kExitUsage;
}

bool readMass(const std::string& text, double& value) {
    return !text.empty() && scanDecimal(text, 0, value) == text.size() && std::isfinite(value) && value >= 0;
}

// 0 when the options are good, else the exit status after a message.
int parseLogOptions(const Invocation& inv, LogOptions& opt) {
    std::vector<std::string> args = inv.args;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string v;
        const auto option = [&](std::string_view name) { return matchOption(args, i, name, v); };
        OptionMatch m = OptionMatch::No;
        if ((m = option("--db")) == OptionMatch::Yes) {
            opt.db = v;
        } else if (m == OptionMatch::No && (m = option("--format")) == OptionMatch::Yes) {
            if (v != "text" && v != "csv" && v != "json")
                return usage("--format is text, csv or json, not \"" + v + "\"");
            opt.format = v;
        } else if (m == OptionMatch::No && (m = option("--search")) == OptionMatch::Yes) {
            opt.search = v;
        } else if (m == OptionMatch::No && (m = option("--fired")) == OptionMatch::Yes) {
            const std::size_t equals = v.find('=');
            long id = 0;
            if (equals == std::string::npos || equals == 0 || scanLong(v, 0, id) != equals || id <= 0)
                return usage("--fired needs ID=GRAMS, not \"" + v + "\"");
            if (!readMass(v.substr(equals + 1), opt.fired))
                return usage("--fired " + v + ": the mass after firing must be a number, not negative");
            opt.firedId = id;
        } else if (m == OptionMatch::No && (m = option("--before")) == OptionMatch::Yes) {
            if (!readMass(v, opt.before.emplace()))
                return usage("--before " + v + ": the mass before firing must be a number, not negative");
        } else if (m == OptionMatch::Missing) {
            return usage(args[i] + " needs a value");
        } else {
            return usage("unknown argument \"" + args[i] + "\"");
        }
    }
    if (opt.before && !opt.firedId) return usage("--before goes with --fired");
    if (opt.firedId && opt.format == "csv") return usage("--fired prints the session as text or json");
    return 0;
}

std::string optionalGrams(const std::optional<double>& v, const char* unit) {
    return v ? formatDecimal(*v) + unit : std::string("-");
}

std::string sessionText(const store::Session& s) {
    std::string out = "Session " + std::to_string(s.id) + "  " + s.time + "  ID: " + s.sampleTag + "\n" +
                      s.finalFormula + "  (" + formatDecimal(s.finalGrams) + " grams, factor " +
                      formatDecimal(s.factor) + ")\n";
    for (const store::SessionRow& r : s.rows) {
        char line[256];
        std::snprintf(line, sizeof line, "  %-4d %-16s planned %12s  actual %12s%s%s\n", r.row,
                      r.formula.c_str(), formatDecimal(r.planned).c_str(),
                      r.actual ? formatDecimal(*r.actual).c_str() : "-", r.lot.empty() ? "" : "  lot ",
                      r.lot.c_str());
        out += line;
    }
    if (s.asWeighed) out += "  as weighed: " + *s.asWeighed + "\n";
    if (s.firedGrams)
        out += "  fired: " + optionalGrams(s.firedGrams, " g") +
               ", before: " + optionalGrams(s.beforeGrams, " g") +
               ", completeness: " + optionalGrams(s.completenessPct, " %") + "\n";
    return out;
}

}  // namespace

int runLog(const Invocation& inv) {
    LogOptions opt;
    if (const int code = parseLogOptions(inv, opt); code != 0) return code;
    store::LabDatabase db;
    const std::string path = opt.db.empty() ? store::LabDatabase::defaultPath() : opt.db;
    if (db.open(path, opt.db.empty()) != store::OpenStatus::Ok) {
        std::fprintf(stderr, "quorvex-cli log: %s\n", db.error().c_str());
        return kExitLoadFailed;
    }
    std::vector<store::Session> sessions;
    if (opt.firedId) {
        store::Session s;
        const store::Found found = db.session(*opt.firedId, s);
        if (found == store::Found::No)
            return usage("--fired: there is no session " + std::to_string(*opt.firedId));
        const Completeness c =
            found == store::Found::Yes ? applyFiredMass(s, opt.fired, opt.before) : Completeness{};
        if (found != store::Found::Yes ||
            db.setFiredMasses(s.id, s.firedGrams, s.beforeGrams, s.completenessPct) != store::Found::Yes) {
            std::fprintf(stderr, "quorvex-cli log: %s\n", db.error().c_str());
            return kExitLoadFailed;
        }
        if (!c.message.empty()) std::fprintf(stderr, "quorvex-cli log: %s\n", c.message.c_str());
        sessions.push_back(std::move(s));
    } else if (auto all = db.sessions(opt.search)) {
        sessions = std::move(*all);
    } else {
        std::fprintf(stderr, "quorvex-cli log: %s\n", db.error().c_str());
        return kExitLoadFailed;
    }
    std::string out;
    if (opt.format == "json") {
        out = opt.firedId ? store::sessionJson(sessions.front()) + "\n" : store::sessionsJson(sessions);
    } else if (opt.format == "csv") {
        out = store::sessionsCsv(sessions);
    } else {
        for (const store::Session& s : sessions) out += sessionText(s);
        if (sessions.empty()) out = "No weighing sessions recorded in " + path + ".\n";
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return kExitOk;
}

}  // namespace qv::cli
