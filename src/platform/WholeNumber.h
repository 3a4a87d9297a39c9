// A text taken as a whole number the way the program's settings are: leading blanks and a
// sign allowed, nothing after the digits.
#pragma once

#include <charconv>
#include <optional>
#include <string>

namespace vt {

inline std::optional<int> WholeNumber(const std::string& text) {
    const char* first = text.data();
    const char* last = first + text.size();
    while (first < last && *first == ' ') ++first;
    if (first < last && *first == '+') {
        ++first;
        if (first < last && *first == '-') return std::nullopt;  // "+-4" is no number
    }
    int value = 0;
    auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end != last || first == last) return std::nullopt;
    return value;
}

}  // namespace vt
