#include "store/TIniFile.h"

#include "platform/NoCase.h"
#include "store/StoreError.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace vt {
TIniFile::TIniFile(Platform& platform, std::string fileName)
    : sys_(platform), fileName_(std::move(fileName)) {}

std::string TIniFile::ReadText(const std::string& section, const std::string& key,
                               const std::string& defaultValue) {
    std::vector<char> buffer(kReadBufferSize, '\0');
    DWORD count = sys_.GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultValue.c_str(),
                                                buffer.data(), kReadBufferSize, fileName_.c_str());
    return std::string(buffer.data(), std::min<DWORD>(count, kReadBufferSize - 1));
}

void TIniFile::WriteText(const std::string& section, const std::string& key,
                         const std::string& value) {
    if (!sys_.WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(),
                                         fileName_.c_str()))
        throw IniFileError::WriteFailed(fileName_);
}

// A refused delete is reported like a refused write: the box would otherwise tick itself
// again at the next read without a word.
void TIniFile::RemoveKey(const std::string& section, const std::string& key) {
    if (!sys_.WritePrivateProfileStringA(section.c_str(), key.c_str(), nullptr, fileName_.c_str()))
        throw IniFileError::WriteFailed(fileName_);
}

void TIniFile::RemoveSection(const std::string& section) {
    if (!sys_.WritePrivateProfileStringA(section.c_str(), nullptr, nullptr, fileName_.c_str()))
        throw IniFileError::WriteFailed(fileName_);
}

bool TIniFile::HasValue(const std::string& section, const std::string& key) {
    // Two spare NULs keep the scan below inside the buffer whatever the platform wrote.
    std::vector<char> buffer(kKeyListBufferSize + 2, '\0');
    sys_.GetPrivateProfileStringA(section.c_str(), nullptr, nullptr, buffer.data(),
                                  kKeyListBufferSize, fileName_.c_str());
    for (const char* name = buffer.data(); *name; name += std::strlen(name) + 1)
        if (EqualNoCase(key, name)) return true;
    return false;
}

}  // namespace vt
