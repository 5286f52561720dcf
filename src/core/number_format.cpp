#include "core/number_format.h"

#include <charconv>

namespace qv {

std::string formatDecimal(double value, int decimals) {
    // to_chars in fixed form is printf's %.Nf without the global locale: the
    // point stays a point whatever the user's settings.
    if (decimals < 0) decimals = 0;
    if (decimals > 1100) decimals = 1100;  // beyond that every double is exact anyway
    std::string text(static_cast<std::size_t>(decimals) + 320, '\0');
    const auto result =
        std::to_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed, decimals);
    text.resize(result.ec == std::errc{} ? static_cast<std::size_t>(result.ptr - text.data()) : 0);
    // Without a fraction there is nothing to trim, and trimming would eat the
    // zeros of the integer part.
    if (decimals == 0) return text;
    return trimTrailingZeros(std::move(text));
}

std::string formatShortest(double value) {
    char text[32];  // the longest shortest form, "-2.2250738585072014e-308", fits
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

std::string trimTrailingZeros(std::string text) {
    const std::size_t length = text.size();
    if (length <= 1) return text;
    if (text.back() == '.') {
        text.pop_back();
        return text;
    }
    // Only a fraction has trailing zeros to lose: "100" stays "100".
    if (text.find('.') == std::string::npos) return text;
    std::size_t p = length - 1;
    while (text[p] == '0' && p > 0) --p;
    if (text[p] >= '0' && text[p] <= '9')
        text.resize(p + 1);
    else
        text.resize(p);
    return text;
}

}  // namespace qv
