#pragma once
// Replacing a file's contents without ever leaving it half-written.

#include <sys/types.h>
#include <string>
#include <string_view>

namespace qv {

// open(2) as the save calls it. Tests pass their own to refuse what a
// read-only folder refuses, since permissions do not hold for root.
using OpenCall = int (*)(const char* path, int flags, mode_t mode);
int systemOpen(const char* path, int flags, mode_t mode);

// Writes the bytes to a new file beside `path` and renames it over `path` only
// once every byte is written, flushed to disk and the file closed. On failure
// the new file is removed and whatever was at `path` stays as it was. A
// symbolic link at `path` is followed, so the link keeps pointing at the file.
//
// A folder that refuses the new file may still hold a writable file at
// `path`: that file is then overwritten in place and flushed, as a plain save
// would, and on a failed write its old bytes are put back as far as the disk
// allows.
bool replaceFileContents(const std::string& path, std::string_view bytes, OpenCall open = systemOpen);

}  // namespace qv
