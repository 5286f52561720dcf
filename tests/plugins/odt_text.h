#pragma once
// The text of a stored OpenDocument text file, written the way the recording
// word processor writes its documents: subscript runs as _{...}, line breaks
// as "\n", each paragraph's end as a pilcrow and "\n".

#include <string>

namespace qv::test {

// Empty when the file cannot be unpacked.
std::string odtText(const std::string& path);

// Renders the first page of the document as a PNG into `dir` (QV_SCREENSHOTS);
// the PNG's path, empty on failure.
std::string renderPng(const std::string& document, const std::string& dir);

}  // namespace qv::test
