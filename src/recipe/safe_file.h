#pragma once
// Replacing a file's contents without ever leaving it half-written.

#include <string>
#include <string_view>

namespace qv {

// Writes the bytes to a new file beside `path` and renames it over `path` only
// once every byte is written, flushed to disk and the file closed. On failure
// the new file is removed and whatever was at `path` stays as it was. A
// symbolic link at `path` is followed, so the link keeps pointing at the file.
bool replaceFileContents(const std::string& path, std::string_view bytes);

}  // namespace qv
