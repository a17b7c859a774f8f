#include "common/number_text.h"

#include <charconv>
#include <string>

namespace common {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

NumberPrefix ParseNumberPrefix(std::string_view text) {
    NumberPrefix result;
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const std::size_t digitsStart = i;
    std::size_t digits = 0;
    while (i < text.size() && IsDigit(text[i])) {
        ++i;
        ++digits;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && IsDigit(text[i])) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0) {
        return result;
    }
    // An exponent counts only when digits follow it ("1e" is 1 followed by junk).
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
            ++j;
        }
        if (j < text.size() && IsDigit(text[j])) {
            while (j < text.size() && IsDigit(text[j])) {
                ++j;
            }
            i = j;
        }
    }
    std::string_view number = text.substr(digitsStart, i - digitsStart);
    double value = 0.0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (error == std::errc::result_out_of_range) {
        // Beyond a double: a negative exponent underflows to 0, anything else is huge and
        // later clamps to the largest integer.
        const std::size_t e = number.find_first_of("eE");
        const bool tiny = e != std::string_view::npos && e + 1 < number.size() && number[e + 1] == '-';
        value = tiny ? 0.0 : 1e308;
    }
    (void)end;
    result.value = negative ? -value : value;
    result.found = true;
    result.length = i;
    return result;
}

std::optional<double> ParseNumber(std::string_view text) {
    const std::string_view trimmed = TrimBlanks(text);
    const NumberPrefix prefix = ParseNumberPrefix(trimmed);
    if (!prefix.found || prefix.length != trimmed.size()) {
        return std::nullopt;
    }
    return prefix.value;
}

std::string Quoted(std::string_view text, std::size_t maxCharacters) {
    std::string out = "\"";
    for (std::size_t i = 0; i < text.size() && i < maxCharacters; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        out += c >= 0x20 && c < 0x7F ? static_cast<char>(c) : '?';
    }
    if (text.size() > maxCharacters) {
        out += "...";
    }
    return out + "\"";
}

}  // namespace common
