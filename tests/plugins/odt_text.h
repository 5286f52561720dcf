#pragma once
// The text of a stored OpenDocument text file, written the way the recording
// word processor writes its documents: subscript runs as _{...}, line breaks
// as "\n", each paragraph's end as a pilcrow and "\n".

#include <string>

namespace qv::test {

// Empty when the file cannot be unpacked.
std::string odtText(const std::string& path);

}  // namespace qv::test
