#include "odt_text.h"

#include <cstdio>
#include <regex>
#include <set>
#include <vector>

#include "support/run_program.h"

namespace qv::test {

std::string odtText(const std::string& path) {
    std::string xml;
    if (std::FILE* pipe =
            popen(("unzip -p " + shellQuoted(path) + " content.xml 2>/dev/null").c_str(), "r")) {
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) xml.append(buffer, n);
        pclose(pipe);
    }
    // Text styles that lower the text: "sub ..." or a negative position.
    std::set<std::string> lowered;
    const std::regex style(
        R"re(<style:style style:name="([^"]+)" style:family="text"><style:text-properties[^>]*style:text-position="(sub|-))re");
    for (std::sregex_iterator it(xml.begin(), xml.end(), style), end; it != end; ++it)
        lowered.insert((*it)[1]);

    std::string out;
    std::vector<bool> spans;  // per open span: whether it is a subscript
    const std::regex count(R"re(text:c="(\d+)")re"), spanStyle(R"re(text:style-name="([^"]+)")re");
    std::smatch m;
    // The report texts hold no markup characters, so entities are left alone.
    for (std::size_t i = xml.find("<office:text"); i < xml.size();) {
        const std::size_t close = xml[i] == '<' ? xml.find('>', i) + 1 : xml.find('<', i);
        const std::string piece = xml.substr(i, close - i);
        i = close;
        if (piece[0] != '<') {
            out += piece;
        } else if (piece == "<text:s/>" || piece.rfind("<text:s ", 0) == 0) {
            out.append(std::regex_search(piece, m, count) ? std::stoul(m[1]) : 1, ' ');
        } else if (piece.rfind("<text:line-break", 0) == 0) {
            out += '\n';
        } else if (piece == "</text:p>" || (piece.rfind("<text:p ", 0) == 0 && piece.ends_with("/>"))) {
            out += "\xC2\xB6\n";
        } else if (piece.rfind("<text:span", 0) == 0) {
            spans.push_back(std::regex_search(piece, m, spanStyle) && lowered.count(m[1]));
            if (spans.back()) out += "_{";
        } else if (piece == "</text:span>" && !spans.empty()) {
            if (spans.back()) out += '}';
            spans.pop_back();
        }
    }
    return out;
}

}  // namespace qv::test
