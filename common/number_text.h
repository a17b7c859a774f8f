// Reading numbers out of the text files the game ships (Config.txt, Scores.dat, level files).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace common {

// The number at the start of a text, the way the game's readers take it: leading blanks and
// tabs skipped, an optional sign, digits with an optional decimal point and exponent.
// "200" gives 200, "12abc" 12, "-1.5e2" -150; an empty or non-numeric text gives 0.
struct NumberPrefix {
    double value = 0.0;       // 0 when nothing numeric was found
    bool found = false;       // at least one digit was read
    std::size_t length = 0;   // characters consumed, blanks included
};
NumberPrefix ParseNumberPrefix(std::string_view text);

// The whole text as one number (blanks around it allowed), or nothing when anything else
// is in it: for fields that must be numbers.
std::optional<double> ParseNumber(std::string_view text);

// Text without the blanks and tabs at both ends.
std::string_view TrimBlanks(std::string_view text);

// A text from a file, for a message: in double quotes, at most maxCharacters of it (then
// "..."), anything unprintable shown as "?".
std::string Quoted(std::string_view text, std::size_t maxCharacters);

}  // namespace common
