#pragma once
// The two encodings recipe files come in: UTF-8 (what Quorvex writes) and
// Windows-1252 (older versions wrote the sample tag in the Western code
// page). A file is one or the other as a whole.

#include <string>
#include <string_view>

namespace qv {

enum class TextEncoding { Utf8, Windows1252 };

// Well-formed UTF-8: no stray continuation bytes, no overlong forms, no
// surrogates, nothing above U+10FFFF.
bool isValidUtf8(std::string_view bytes);

// Every byte maps to one character; the five bytes Windows-1252 leaves
// undefined (81 8D 8F 90 9D) map to the C1 controls of the same number, so
// that any byte string converts back unchanged.
std::string windows1252ToUtf8(std::string_view bytes);

// The Windows-1252 bytes of valid UTF-8 text; false when some character has
// no byte there.
bool utf8ToWindows1252(std::string_view text, std::string& bytes);

}  // namespace qv
