#include "store/TIniFile.h"

#include "platform/NoCase.h"
#include "store/FileLimits.h"
#include "store/Folders.h"
#include "store/Paths.h"
#include "store/ProfileText.h"
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
        if (!EqualNoCase(file, kMsdosSys)) return;
        if (std::optional<DWORD> was = UnprotectMsdosSys(sys)) {
            attributes_ = *was;
            opened_ = true;
        }
    }
    ~BootFileOpened() {
        if (!opened_) return;
        try {
            RestoreMsdosSys(sys_, attributes_);
        } catch (...) {
            // Nothing may leave a destructor; a platform that stopped keeps what it has.
        }
    }
    BootFileOpened(const BootFileOpened&) = delete;
    BootFileOpened& operator=(const BootFileOpened&) = delete;

  private:
    Platform& sys_;
    bool opened_ = false;
    DWORD attributes_ = 0;
};

// A value holds one line: a line break would end it there and make the rest a line of its own
// (another key, a section). Each run of line breaks becomes one blank.
std::string OneLine(const std::string& value) {
    std::string line;
    for (char c : value) {
        if (c == '\x1a') continue;  // the end of the file for the profile functions
        bool lineBreak = c == '\r' || c == '\n';
        if (!lineBreak)
            line += c;
        else if (line.empty() || line.back() != ' ')
            line += ' ';
    }
    return line;
}

IniFileError Unwritten(const std::string& path, DWORD error) {
    return IniFileError(UnableToWrite(path, error));
}

}  // namespace

std::string UnableToWrite(const std::string& path, DWORD error) {
    std::string why;
    switch (static_cast<LONG>(error)) {
        case ERROR_ACCESS_DENIED:
            why =
                ": the file is read-only or protected. Clear its read-only attribute and try "
                "again.";
            break;
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            why = ": another program holds it open. Close that program and try again.";
            break;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            why = ": the disk is full. Make room on it and try again.";
            break;
        case ERROR_PATH_NOT_FOUND:
            why = ": its folder is missing.";
            break;
        default:
            break;
    }
    return "Unable to write to " + path + why;
}

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

std::string TIniFile::FullPath() {
    if (NamesAFolder(fileName_)) return fileName_;
    return TakeWindowsDir(sys_) + "\\" + fileName_;
}

// The profile functions would write the whole file anew on Wine (blank lines, the blanks
// around '=' and a Ctrl+Z at the end lost, C:\MSDOS.SYS shrunk below the size Windows needs)
// and in place on Windows 98: the file is edited here, byte for byte, and written whole, so
// that a restore point knows beforehand what the write leaves. The profile functions still
// read it: their cache is flushed before the file is read and after it is written.
void TIniFile::Write(const std::string& section, const char* key, const char* value) {
    const std::string path = FullPath();
    FlushProfileCache(sys_, path);
    std::string before;
    const bool existed = vt::FileExists(sys_, path);
    if (existed) {
        std::vector<BYTE> bytes;
        if (!sys_.ReadFileBytes(path.c_str(), &bytes, limits::kManagedFile))
            throw IniFileError(
                "Unable to write to " + path +
                (sys_.GetLastError() == static_cast<DWORD>(ERROR_FILE_TOO_LARGE)
                     ? ": the file is larger than 8 MB, which no settings file of Windows is."
                     : ": it cannot be read (another program may hold it open)."));
        before.assign(bytes.begin(), bytes.end());
    }
    std::string after = EditedProfile(before, section, key, value);
    if (after == before) return;
    // A boot file Windows could start from stays one it can start from.
    if (EqualNoCase(path, kMsdosSys) && before.size() >= kBootFileMinimum)
        after = PaddedBootFile(after);
    BootFileOpened opened(sys_, path);
    const std::vector<BYTE> bytes(after.begin(), after.end());
    BOOL written = sys_.WriteFileBytes(path.c_str(), bytes);
    const DWORD error = sys_.GetLastError();
    FlushProfileCache(sys_, path);  // Windows 98 forgets what it held of the file before
    if (!written) throw Unwritten(path, error);
    std::vector<BYTE> back;
    if (!sys_.ReadFileBytes(path.c_str(), &back, limits::kManagedFile) || back != bytes)
        throw IniFileError("Unable to write to " + path +
                           ": it does not read back as written (is the disk full?).");
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
    if (NamesAFolder(fileName_)) return vt::FileExists(sys_, fileName_);
    std::string windows = TakeWindowsDir(sys_);
    return !windows.empty() && vt::FileExists(sys_, windows + "\\" + fileName_);
}

}  // namespace vt
