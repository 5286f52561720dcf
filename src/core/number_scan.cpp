#include "core/number_scan.h"

#include <locale.h>
#include <cerrno>
#include <climits>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <string>

namespace qv {
namespace {

bool isDigit(unsigned char c) { return c >= '0' && c <= '9'; }

locale_t cLocale() {
    // Never freed: it lives as long as the process and is shared by all readers.
    // glibc serves "C" from a built-in object, so this cannot fail.
    static const locale_t handle = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    return handle;
}

}  // namespace

std::size_t scanLong(std::string_view text, std::size_t pos, long& value) {
    value = 0;
    std::size_t i = pos;
    while (i < text.size() && isCSpace(static_cast<unsigned char>(text[i]))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const std::size_t digitsStart = i;
    unsigned long magnitude = 0;
    bool overflow = false;
    const unsigned long limit =
        negative ? static_cast<unsigned long>(LONG_MAX) + 1UL : static_cast<unsigned long>(LONG_MAX);
    while (i < text.size() && isDigit(static_cast<unsigned char>(text[i]))) {
        const unsigned long digit = static_cast<unsigned long>(text[i] - '0');
        if (!overflow && magnitude > (limit - digit) / 10UL) overflow = true;
        if (!overflow) magnitude = magnitude * 10UL + digit;
        ++i;
    }
    if (i == digitsStart) return 0;
    if (overflow) magnitude = limit;
    if (negative)
        value = magnitude == limit ? LONG_MIN : -static_cast<long>(magnitude);
    else
        value = static_cast<long>(magnitude);
    return i - pos;
}

std::size_t scanDecimal(std::string_view text, std::size_t pos, double& value) {
    value = 0.0;
    std::size_t i = pos;
    while (i < text.size() && isCSpace(static_cast<unsigned char>(text[i]))) ++i;
    const std::size_t start = i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    std::size_t digits = 0;
    while (i < text.size() && isDigit(static_cast<unsigned char>(text[i]))) ++i, ++digits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && isDigit(static_cast<unsigned char>(text[i]))) ++i, ++digits;
    }
    if (digits == 0) return 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
        const std::size_t expDigits = j;
        while (j < text.size() && isDigit(static_cast<unsigned char>(text[j]))) ++j;
        if (j > expDigits) i = j;  // "2e" alone leaves the "e" unread
    }
    // The token is already known to be a plain decimal, so strtod_l can neither
    // stop early nor wander into hexadecimal or special forms.
    const std::string token(text.substr(start, i - start));
    value = strtod_l(token.c_str(), nullptr, cLocale());
    return i - pos;
}

std::size_t scanCNumber(const std::string& text, double& value) {
    const char* begin = text.c_str();
    char* end = nullptr;
    value = strtod_l(begin, &end, cLocale());
    return static_cast<std::size_t>(end - begin);
}

}  // namespace qv
