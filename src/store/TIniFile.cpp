#include "store/TIniFile.h"

#include "platform/NoCase.h"
#include "store/Folders.h"
#include "store/Paths.h"
#include "store/StoreError.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

namespace vt {
namespace {

// C:\MSDOS.SYS is read-only, hidden and system: it loses them only for the moment of one
// write and gets them back right after, whatever became of the write.
class BootFileOpened {
  public:
    BootFileOpened(Platform& sys, const std::string& file) : sys_(sys) {
        if (EqualNoCase(file, kMsdosSys)) attributes_ = UnprotectMsdosSys(sys);
    }
    ~BootFileOpened() {
        if (!attributes_) return;
        try {
            RestoreMsdosSys(sys_, *attributes_);
        } catch (...) {
            // Nothing may leave a destructor; a platform that stopped keeps what it has.
        }
    }
    BootFileOpened(const BootFileOpened&) = delete;
    BootFileOpened& operator=(const BootFileOpened&) = delete;

  private:
    Platform& sys_;
    std::optional<DWORD> attributes_;
};

// A value holds one line: a line break would end it there and make the rest a line of its own
// (another key, a section). Each run of line breaks becomes one blank.
std::string OneLine(const std::string& value) {
    std::string line;
    for (char c : value) {
        bool lineBreak = c == '\r' || c == '\n';
        if (!lineBreak)
            line += c;
        else if (line.empty() || line.back() != ' ')
            line += ' ';
    }
    return line;
}

}  // namespace

TIniFile::TIniFile(Platform& platform, std::string fileName)
    : sys_(platform), fileName_(std::move(fileName)) {}

std::string TIniFile::ReadText(const std::string& section, const std::string& key,
                               const std::string& defaultValue) {
    std::vector<char> buffer(kReadBufferSize, '\0');
    DWORD count = sys_.GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultValue.c_str(),
                                                buffer.data(), kReadBufferSize, fileName_.c_str());
    return std::string(buffer.data(), std::min<DWORD>(count, kReadBufferSize - 1));
}

void FlushProfileCache(Platform& sys, const std::string& fileName) {
    sys.WritePrivateProfileStringA(nullptr, nullptr, nullptr, fileName.c_str());
}

void TIniFile::Write(const std::string& section, const char* key, const char* value) {
    BootFileOpened opened(sys_, fileName_);
    BOOL written = sys_.WritePrivateProfileStringA(section.c_str(), key, value, fileName_.c_str());
    FlushProfileCache(sys_, fileName_);
    if (!written) throw IniFileError::WriteFailed(fileName_);
}

void TIniFile::WriteText(const std::string& section, const std::string& key,
                         const std::string& value) {
    Write(section, key.c_str(), OneLine(value).c_str());
}

// A refused delete is reported like a refused write: the box would otherwise tick itself
// again at the next read without a word.
void TIniFile::RemoveKey(const std::string& section, const std::string& key) {
    Write(section, key.c_str(), nullptr);
}

void TIniFile::RemoveSection(const std::string& section) {
    Write(section, nullptr, nullptr);
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

bool TIniFile::FileExists() {
    if (fileName_.find_first_of("\\/:") != std::string::npos)
        return vt::FileExists(sys_, fileName_);
    std::string windows = TakeWindowsDir(sys_);
    return !windows.empty() && vt::FileExists(sys_, windows + "\\" + fileName_);
}

}  // namespace vt
