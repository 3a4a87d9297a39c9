// Text compared as Windows compares registry, profile and file names: without case, by the
// characters of the machine's code page (the case of a two-byte character is kept).
#pragma once

#include "platform/CodePage.h"

#include <string>

namespace vt {

inline std::string ToLower(std::string s) {
    return CodePage::Machine().Lower(std::move(s));
}

inline std::string ToUpper(std::string s) {
    return CodePage::Machine().Upper(std::move(s));
}

inline bool EqualNoCase(const std::string& a, const std::string& b) {
    return CodePage::Machine().EqualNoCase(a, b);
}

inline bool LessNoCase(const std::string& a, const std::string& b) {
    return CodePage::Machine().LessNoCase(a, b);
}

}  // namespace vt
