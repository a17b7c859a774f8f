// Small text helpers every program shares. Letter case is folded for the ASCII letters only:
// names in the game's files are compared byte for byte otherwise, so "a[" and "a{" stay two
// names.
#pragma once

#include <algorithm>
#include <array>
#include <cstdio>
#include <string>
#include <string_view>

namespace common {

constexpr char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

inline std::string Lower(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), LowerAscii);
    return out;
}

constexpr bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
}

// At least two decimal digits: "07" for 7, "23" for 23, "123" for 123.
inline std::string TwoDigits(int number) {
    std::array<char, 16> buffer{};
    std::snprintf(buffer.data(), buffer.size(), "%02d", number);
    return buffer.data();
}

}  // namespace common
