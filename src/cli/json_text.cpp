#include "cli/json_text.h"

#include <cmath>

#include "core/number_format.h"

namespace qv::cli {
namespace {

using Json = nlohmann::ordered_json;

std::string scalarText(const Json& value) {
    return value.dump(-1, ' ', false, Json::error_handler_t::replace);
}

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
    const std::string inner(static_cast<std::size_t>(indent) + 2, ' ');
    out += object ? "{\n" : "[\n";
    bool first = true;
    for (auto it = value.begin(); it != value.end(); ++it) {
        if (!first) out += ",\n";
        first = false;
        out += inner;
        if (object) out += scalarText(Json(it.key())) + ": ";
        append(out, *it, indent + 2);
    }
    out += '\n';
    out.append(static_cast<std::size_t>(indent), ' ');
    out += object ? '}' : ']';
}

}  // namespace

std::string jsonText(const Json& doc) {
    std::string out;
    append(out, doc, 0);
    out += '\n';
    return out;
}

}  // namespace qv::cli
