#pragma once
// A clipboard in memory that can refuse to be written or read, as a
// clipboard held open by another program does.

#include "form/edit/clipboard.h"

namespace qv::test {

struct FakeClipboard : Clipboard {
    std::optional<std::string> content;
    bool refusePut = false, refuseGet = false;
    bool putText(std::string_view text) override {
        if (!refusePut) content = std::string(text);
        return !refusePut;
    }
    std::optional<std::string> getText() override { return refuseGet ? std::nullopt : content; }
};

}  // namespace qv::test
