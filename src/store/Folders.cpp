#include "store/Folders.h"

#include "platform/CodePage.h"

#include <algorithm>

namespace vt {

bool DirectoryExists(Platform& sys, const std::string& path) {
    DWORD attributes = sys.GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FileExists(Platform& sys, const std::string& path) {
    DWORD attributes = sys.GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool ForceDirectories(Platform& sys, const std::string& path) {
    std::string folder = path;
    std::replace(folder.begin(), folder.end(), '/', '\\');  // no trail byte is a '/'
    folder = TrimTrailing(folder, '\\');
    if (folder.empty()) return false;
    if (DirectoryExists(sys, folder)) return true;
    std::size_t cut = CodePage::Machine().FindLast(folder, '\\');
    // A drive root ("C:") or a bare name has no parent to make first.
    if (cut != std::string::npos && cut > 0 && folder[cut - 1] != ':' &&
        !ForceDirectories(sys, folder.substr(0, cut)))
        return false;
    return sys.CreateDirectoryA(folder.c_str()) || DirectoryExists(sys, folder);
}

bool RemoveDir(Platform& sys, const std::string& path) {
    return sys.RemoveDirectoryA(path.c_str()) != FALSE;
}

}  // namespace vt
