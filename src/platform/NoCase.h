// Text compared as Windows compares registry, profile and file names: without case.
#pragma once

#include <algorithm>
#include <cctype>
#include <string>

namespace vt {

inline std::string ToLower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

inline std::string ToUpper(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return s;
}

inline bool EqualNoCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && ToLower(a) == ToLower(b);
}

inline bool LessNoCase(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(
        a.begin(), a.end(), b.begin(), b.end(),
        [](unsigned char x, unsigned char y) { return std::tolower(x) < std::tolower(y); });
}

}  // namespace vt
