#include "odt_text.h"

#include <cstdio>
#include <filesystem>
#include <map>
#include <regex>

#include "support/element_file.h"
#include "support/run_program.h"

namespace qv::test {
namespace {

std::string commandOutput(const std::string& command) {
    std::string out;
    if (std::FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
        pclose(pipe);
    }
    return out;
}

std::string unescape(const std::string& text) {
    static const std::map<std::string, std::string> entities = {
        {"&amp;", "&"}, {"&lt;", "<"}, {"&gt;", ">"}, {"&apos;", "'"}, {"&quot;", "\""}};
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        bool replaced = false;
        if (text[i] == '&') {
            for (const auto& [entity, plain] : entities) {
                if (text.compare(i, entity.size(), entity) == 0) {
                    out += plain;
                    i += entity.size();
                    replaced = true;
                    break;
                }
            }
        }
        if (!replaced) out += text[i++];
    }
    return out;
}

}  // namespace

std::string odtText(const std::string& path) {
    const std::string xml = commandOutput("unzip -p " + shellQuoted(path) + " content.xml 2>/dev/null");
    // Text styles that lower the text: "sub ..." or a negative position.
    std::map<std::string, bool> lowered;
    const std::regex style(
        R"re(<style:style style:name="([^"]+)" style:family="text"><style:text-properties[^>]*style:text-position="([^"]*)")re");
    for (std::sregex_iterator it(xml.begin(), xml.end(), style), end; it != end; ++it) {
        const std::string position = (*it)[2];
        lowered[(*it)[1]] = position.rfind("sub", 0) == 0 || position.rfind("-", 0) == 0;
    }
    const std::size_t body = xml.find("<office:text");
    if (body == std::string::npos) return {};
    std::string out;
    std::vector<bool> spans;  // per open span: whether it closes a subscript
    const std::regex spaces(R"re(text:c="(\d+)")re");
    const std::regex spanStyle(R"re(text:style-name="([^"]+)")re");
    for (std::size_t i = body; i < xml.size();) {
        if (xml[i] != '<') {
            const std::size_t next = xml.find('<', i);
            out += unescape(xml.substr(i, next - i));
            i = next;
            continue;
        }
        const std::size_t close = xml.find('>', i);
        const std::string tag = xml.substr(i, close + 1 - i);
        i = close + 1;
        std::smatch m;
        if (tag.rfind("<text:s", 0) == 0 && (tag[7] == ' ' || tag[7] == '/')) {
            out.append(std::regex_search(tag, m, spaces) ? std::stoul(m[1]) : 1, ' ');
        } else if (tag.rfind("<text:line-break", 0) == 0) {
            out += '\n';
        } else if (tag == "</text:p>" || (tag.rfind("<text:p ", 0) == 0 && tag.ends_with("/>"))) {
            out += "\xC2\xB6\n";
        } else if (tag.rfind("<text:span", 0) == 0) {
            const bool sub = std::regex_search(tag, m, spanStyle) && lowered[m[1]];
            if (sub) out += "_{";
            spans.push_back(sub);
        } else if (tag == "</text:span>" && !spans.empty()) {
            if (spans.back()) out += "}";
            spans.pop_back();
        } else if (tag.rfind("<text:sequence-decl", 0) == 0) {
            continue;
        }
    }
    return out;
}

std::string renderPng(const std::string& document, const std::string& dir) {
    // Writer without the drawing filters exports no PNG itself: go through
    // PDF, first page only, at 100 dpi.
    TempDir scratch;
    const std::string pdf =
        (scratch.path() / std::filesystem::path(document).filename().replace_extension(".pdf")).string();
    const std::string png = (std::filesystem::path(dir) /
                             std::filesystem::path(document).filename().replace_extension("")).string();
    const std::string convert = "soffice --headless --invisible -env:UserInstallation=file://" +
                                (scratch.path() / "profile").string() + " --convert-to pdf --outdir " +
                                shellQuoted(scratch.path().string()) + " " + shellQuoted(document) + " >/dev/null 2>&1";
    const std::string render =
        "pdftoppm -png -r 100 -singlefile " + shellQuoted(pdf) + " " + shellQuoted(png) + " >/dev/null 2>&1";
    if (std::system(convert.c_str()) != 0 || std::system(render.c_str()) != 0) return {};
    return std::filesystem::exists(png + ".png") ? png + ".png" : std::string();
}

}  // namespace qv::test
