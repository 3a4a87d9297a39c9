#include "store/Paths.h"

namespace vt {

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

void UnprotectMsdosSys(Platform& sys) {
    sys.SetFileAttributesA(kMsdosSys, FILE_ATTRIBUTE_ARCHIVE);
}

void ProtectMsdosSys(Platform& sys) {
    // Hidden and system go first: once a file is read-only, Wine running as a normal user
    // can no longer record them. On Windows the first call is simply overtaken.
    sys.SetFileAttributesA(kMsdosSys, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    sys.SetFileAttributesA(kMsdosSys,
                           FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
}

}  // namespace vt
