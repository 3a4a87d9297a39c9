// Case-insensitive text helpers for the fake machine's names and paths.
#pragma once

#include <algorithm>
#include <cctype>
#include <string>

namespace vt::fake {

inline std::string ToLower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

inline bool EqualNoCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && ToLower(a) == ToLower(b);
}

}  // namespace vt::fake
