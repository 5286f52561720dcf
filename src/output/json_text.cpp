#include "output/json_text.h"

#include <cmath>

#include "core/number_format.h"

namespace qv {
namespace {

using Json = nlohmann::ordered_json;

std::string scalarText(const Json& value) {
    return value.dump(-1, ' ', false, Json::error_handler_t::replace);
}

// indent < 0: everything on one line, no blanks.
void append(std::string& out, const Json& value, int indent) {
    const bool object = value.is_object();
    if ((!object && !value.is_array()) || value.empty()) {
        if (value.is_number_float()) {
            const double v = value.get<double>();
            out += std::isfinite(v) ? formatShortest(v) : "null";
        } else {
            out += scalarText(value);
        }
        return;
    }
    const bool compact = indent < 0;
    const std::string inner(compact ? 0 : static_cast<std::size_t>(indent) + 2, ' ');
    out += object ? '{' : '[';
    if (!compact) out += '\n';
    bool first = true;
    for (auto it = value.begin(); it != value.end(); ++it) {
        if (!first) out += compact ? "," : ",\n";
        first = false;
        out += inner;
        if (object) out += scalarText(Json(it.key())) + (compact ? ":" : ": ");
        append(out, *it, compact ? indent : indent + 2);
    }
    if (!compact) {
        out += '\n';
        out.append(static_cast<std::size_t>(indent), ' ');
    }
    out += object ? '}' : ']';
}

}  // namespace

std::string jsonText(const Json& doc) {
    std::string out;
    append(out, doc, 0);
    out += '\n';
    return out;
}

std::string jsonLine(const Json& doc) {
    std::string out;
    append(out, doc, -1);
    out += '\n';
    return out;
}

}  // namespace qv
