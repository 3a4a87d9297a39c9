#include "store/Paths.h"

namespace vt {
namespace {

constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                  FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE;

}  // namespace

std::string TakeWindowsDir(Platform& sys) {
    char buffer[144] = {};
    UINT length = sys.GetWindowsDirectoryA(buffer, sizeof buffer);
    return (length == 0 || length >= sizeof buffer) ? std::string() : std::string(buffer, length);
}

std::string TakeProgramDir(Platform& sys) {
    char buffer[MAX_PATH + 1] = {};
    DWORD length = sys.GetCurrentDirectoryA(MAX_PATH, buffer);
    return (length == 0 || length >= MAX_PATH) ? std::string() : std::string(buffer, length);
}

std::optional<DWORD> UnprotectMsdosSys(Platform& sys) {
    constexpr DWORD kProtection =
        FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    DWORD found = sys.GetFileAttributesA(kMsdosSys);
    if (found == INVALID_FILE_ATTRIBUTES || (found & FILE_ATTRIBUTE_DIRECTORY) ||
        !(found & kProtection))
        return std::nullopt;
    sys.SetFileAttributesA(kMsdosSys, FILE_ATTRIBUTE_ARCHIVE);
    return found & kKeptAttributes;
}

void RestoreMsdosSys(Platform& sys, DWORD attributes) {
    SetAttributesReadOnlyLast(sys, kMsdosSys, attributes);
}

// Hidden and system go first: once a file is read-only, Wine running as a normal user can no
// longer record them. On Windows the first call is simply overtaken.
bool SetAttributesReadOnlyLast(Platform& sys, const std::string& path, DWORD attributes) {
    sys.SetFileAttributesA(path.c_str(), attributes & ~DWORD{FILE_ATTRIBUTE_READONLY});
    return sys.SetFileAttributesA(path.c_str(), attributes) != FALSE;
}

}  // namespace vt
