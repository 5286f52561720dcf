#pragma once
// The clipboard as the formula editor sees it: plain text (UTF-8) in and out.
// Tests fake it; the widgets implement it over the system clipboard.

#include <optional>
#include <string>
#include <string_view>

namespace qv {

class Clipboard {
public:
    virtual ~Clipboard() = default;
    // Replaces the clipboard's content; false when the clipboard could not be
    // opened or the text not handed over.
    virtual bool putText(std::string_view text) = 0;
    // The plain text on the clipboard; none when it cannot be opened or holds
    // no text.
    virtual std::optional<std::string> getText() = 0;
};

}  // namespace qv
