#include "store/Paths.h"

#include "platform/NoCase.h"

#include <optional>
#include <vector>

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
    return (length == 0 || length >= MAX_PATH) ? std::string()
                                               : TrimTrailing(std::string(buffer, length), '\\');
}

std::string ParentOf(const std::string& path) {
    std::size_t slash = CodePage::Machine().FindLast(path, '\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
    return path.substr(CodePage::Machine().FindLast(path, '\\') + 1);
}

bool NamesAFolder(const std::string& name) {
    return CodePage::Machine().Find(name, '\\') != std::string::npos ||
           name.find_first_of("/:") != std::string::npos;
}

std::string FolderPath(const std::string& folder) {
    return folder.size() == 2 && folder[1] == ':' ? folder + "\\" : folder;
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

std::string NormalisedPath(const std::string& path) {
    const CodePage& page = CodePage::Machine();
    // The start that stays: a drive ("C:"), a share ("\\\\server\\share") or nothing.
    std::size_t start = 0;
    if (path.size() >= 2 && path[1] == ':') {
        start = 2;
    } else if (path.starts_with("\\\\")) {
        std::size_t server = page.Find(path, '\\', 2);
        std::size_t share =
            server == std::string::npos ? server : page.Find(path, '\\', server + 1);
        start = share == std::string::npos ? path.size() : share;
    }
    const bool rooted = start < path.size() && path[start] == '\\';
    std::vector<std::string> parts;
    std::size_t at = start;
    while (at <= path.size()) {
        std::size_t end = page.Find(path, '\\', at);
        if (end == std::string::npos) end = path.size();
        std::string part = path.substr(at, end - at);
        at = end + 1;
        if (part.empty() || part == ".") continue;
        if (part == ".." && !parts.empty() && parts.back() != "..") {
            parts.pop_back();
            continue;
        }
        if (part == ".." && rooted) continue;
        parts.push_back(part);
    }
    std::string out = path.substr(0, start) + (rooted ? "\\" : "");
    for (std::size_t i = 0; i < parts.size(); ++i) out += (i ? "\\" : "") + parts[i];
    return out;
}

namespace {

std::optional<std::string> Asked(Platform& sys, const std::string& path, bool shortForm) {
    std::vector<char> buffer(1024);
    DWORD length =
        shortForm
            ? sys.GetShortPathNameA(path.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()))
            : sys.GetFullPathNameA(path.c_str(), static_cast<DWORD>(buffer.size()), buffer.data());
    if (length == 0 || length >= buffer.size()) return std::nullopt;
    return std::string(buffer.data(), length);
}

}  // namespace

PathIdentity IdentityOf(Platform& sys, const std::string& path) {
    std::string full = NormalisedPath(Asked(sys, path, false).value_or(path));
    // The nearest part of it that is there, in its short form; the rest as given. A drive's
    // root is asked as "C:\\" ("C:" alone would be the drive's current folder).
    std::string rest;
    std::string shortForm = full;
    for (std::string there = full;;) {
        if (auto found = Asked(sys, there, true)) {
            std::string base = NormalisedPath(*found);
            if (!rest.empty()) base = TrimTrailing(base, '\\');
            shortForm = base + rest;
            break;
        }
        std::size_t slash = CodePage::Machine().FindLast(there, '\\');
        if (slash == std::string::npos || there.size() <= 3) break;
        rest = there.substr(slash) + rest;
        there = there.substr(0, slash == 2 ? 3 : slash);
    }
    PathIdentity identity;
    identity.path = ToUpper(shortForm);
    DWORD serial = 0;
    if (shortForm.size() >= 2 && shortForm[1] == ':' &&
        sys.GetVolumeInformationA((shortForm.substr(0, 2) + "\\").c_str(), &serial) && serial) {
        identity.volume = serial;
        identity.drive = identity.path[0];
        identity.path = identity.path.substr(2);
    }
    if (identity.path.empty()) identity.path = "\\";
    return identity;
}

namespace {

// `path` ends with all of `tail`, at a folder boundary ("\\WINDOWS\\SYSTEM.INI" ends with
// "\\SYSTEM.INI").
bool EndsWithParts(const std::string& path, const std::string& tail) {
    if (tail.size() <= 1 || path.size() < tail.size() || !path.ends_with(tail) ||
        tail.front() != '\\')
        return false;
    const std::size_t at = path.size() - tail.size();  // a backslash, not a trail byte
    return CodePage::Machine().Prev(path, at + 1) == at;
}

}  // namespace

// Two drive letters of one disk may be SUBST of a folder of it: then one path is the other
// with the folder's name taken off its start. Such a pair may be one file, so it counts as one.
bool PathIdentity::operator==(const PathIdentity& other) const {
    if (volume != other.volume) return false;
    if (path == other.path) return true;
    return volume && drive != other.drive &&
           (EndsWithParts(path, other.path) || EndsWithParts(other.path, path));
}

bool PathIdentity::Inside(const PathIdentity& folder) const {
    if (volume != folder.volume) return false;
    if (path == folder.path) return true;
    std::string prefix = TrimTrailing(folder.path, '\\') + "\\";
    return path.starts_with(prefix);
}

}  // namespace vt
