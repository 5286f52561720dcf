#pragma once
// The system clipboard as the formula editor's plain 8-bit text.

#include "form/edit/clipboard.h"

namespace qv {

class SystemClipboard : public Clipboard {
public:
    bool putText(std::string_view text) override;
    // None when the clipboard holds no text; characters beyond Latin-1 come
    // back as '?', which the editor's filter refuses.
    std::optional<std::string> getText() override;
};

}  // namespace qv
