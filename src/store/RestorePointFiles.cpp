#include "store/RestorePointFiles.h"

#include "store/FileLimits.h"
#include "store/RestorePoints.h"
#include "store/TIniFile.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <iterator>

namespace vt::pointfiles {
namespace {

constexpr const char* kSeal = "; end, checksum ";

}  // namespace

bool IsRoot(HKEY key) {
    return key >= HKEY_CLASSES_ROOT && key <= 0x80000006u;
}

std::string JoinKey(const std::string& base, const char* subKey) {
    std::string path = base;
    for (const std::string& part : SplitAt(subKey ? subKey : "", '\\')) {
        if (part.empty()) continue;
        if (!path.empty()) path += '\\';
        path += part;
    }
    return path;
}

std::string LocalTime() {
    std::time_t now = std::time(nullptr);
    char text[32] = "";
    if (const std::tm* local = std::localtime(&now))
        std::strftime(text, sizeof text, "%Y-%m-%d %H.%M.%S", local);
    return text;
}

std::string BaseName(const std::string& path) {
    std::size_t slash = CodePage::Machine().FindLast(path, '\\');
    std::size_t other = path.find_last_of("/:");  // no trail byte is either
    if (other != std::string::npos && (slash == std::string::npos || other > slash)) slash = other;
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool PlainName(const std::string& name) {
    if (name.empty() || name == "." || name == ".." || name.size() > 200) return false;
    for (char c : name)
        if (static_cast<unsigned char>(c) < 0x20 || std::strchr("\\/:*?\"<>|", c)) return false;
    return true;
}

bool Exists(Platform& sys, const std::string& path) {
    return sys.GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool IsFolder(Platform& sys, const std::string& path) {
    DWORD attributes = sys.GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::optional<std::vector<BYTE>> ReadAll(Platform& sys, const std::string& path, DWORD maxBytes) {
    std::vector<BYTE> bytes;
    if (!sys.ReadFileBytes(path.c_str(), &bytes, maxBytes)) return std::nullopt;
    return bytes;
}

std::optional<std::vector<BYTE>> ReadOnDisk(Platform& sys, const std::string& path) {
    FlushProfileCache(sys, path);
    return ReadAll(sys, path, limits::kManagedFile);
}

std::string WhyUnread(Platform& sys) {
    switch (sys.GetLastError()) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            return " is missing.";
        case ERROR_FILE_TOO_LARGE:
            return " is too large: it cannot be a file Veltrim 2000 wrote.";
        default:
            return " cannot be read.";
    }
}

// CRC-32 (the one of ZIP files).
DWORD Checksum(const std::string& bytes) {
    DWORD crc = 0xFFFFFFFFu;
    for (unsigned char byte : bytes) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

std::string Hex(DWORD number) {
    char text[16];
    std::snprintf(text, sizeof text, "%08lx", static_cast<unsigned long>(number));
    return text;
}

std::string Sealed(const std::string& body) {
    return body + kSeal + Hex(Checksum(body)) + "\r\n";
}

namespace {

// The text without its blank lines: an editor's stray blank line hides nothing.
std::string WithoutBlankLines(const std::string& text) {
    std::string kept;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\n', start);
        end = end == std::string::npos ? text.size() : end + 1;
        std::string line = text.substr(start, end - start);
        if (line.find_first_not_of(" \t\r\n") != std::string::npos) kept += line;
        start = end;
    }
    return kept;
}

// The text before the seal, when the seal is there and matches it. Blank lines anywhere do
// not count: the program writes none, and a blank line added by hand changes nothing.
std::optional<std::string> Unsealed(const std::vector<BYTE>& bytes) {
    std::string text(bytes.begin(), bytes.end());
    std::size_t seal = text.rfind(kSeal);
    if (seal == std::string::npos) return std::nullopt;
    std::string body = text.substr(0, seal);
    std::string closing = text.substr(seal);
    while (!closing.empty() && (closing.back() == '\n' || closing.back() == '\r' ||
                                closing.back() == ' ' || closing.back() == '\t'))
        closing.pop_back();
    for (const std::string& candidate : {body, WithoutBlankLines(body)})
        if (closing == std::string(kSeal) + Hex(Checksum(candidate))) return candidate;
    return std::nullopt;
}

}  // namespace

// The whole file, or else its whole replacement that a cut kept from being renamed.
std::optional<std::string> ReadSealed(Platform& sys, const std::string& path, DWORD maxBytes) {
    for (const std::string& candidate : {path, path + kNewSuffix})
        if (auto bytes = ReadAll(sys, candidate, maxBytes))
            if (auto body = Unsealed(*bytes)) return body;
    return std::nullopt;
}

bool ReplaceWhole(Platform& sys, const std::string& path, const std::string& text,
                  const std::function<bool(const std::vector<BYTE>&)>& whole) {
    const std::string fresh = path + kNewSuffix;
    if (!Exists(sys, path)) {
        auto bytes = ReadAll(sys, fresh, limits::kPointFile);
        if (bytes && whole(*bytes) && !sys.MoveFileA(fresh.c_str(), path.c_str())) return false;
    }
    if (!sys.WriteFileBytes(fresh.c_str(), std::vector<BYTE>(text.begin(), text.end())))
        return false;
    if (Exists(sys, path) && !sys.DeleteFileA(path.c_str())) return false;
    return sys.MoveFileA(fresh.c_str(), path.c_str()) != FALSE;
}

bool WriteSealed(Platform& sys, const std::string& path, const std::string& body) {
    return ReplaceWhole(sys, path, Sealed(body),
                        [](const std::vector<BYTE>& bytes) { return Unsealed(bytes).has_value(); });
}

std::optional<regedit4::Data> ReadValue(Platform& sys, HKEY key, const char* name) {
    DWORD type = 0, size = 0;
    if (sys.RegQueryValueExA(key, name, &type, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    regedit4::Data data{type, std::vector<BYTE>(size + 1)};
    size = static_cast<DWORD>(data.bytes.size());
    if (sys.RegQueryValueExA(key, name, &type, data.bytes.data(), &size) != ERROR_SUCCESS)
        return std::nullopt;
    data.bytes.resize(size);
    return data;
}

void DeleteSealed(Platform& sys, const std::string& path) {
    sys.DeleteFileA(path.c_str());
    sys.DeleteFileA((path + kNewSuffix).c_str());
}

std::vector<std::string> ReadList(Platform& sys, const std::string& restoreDir) {
    std::vector<std::string> names;
    auto text = ReadSealed(sys, restoreDir + "\\" + kList, limits::kPointList);
    if (!text) return names;
    for (std::string line : SplitAt(*text, '\n')) {
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
        // A name that would lead out of the Restore folder is no point of the program's.
        if (!line.empty() && line[0] != ';' && PlainName(line)) names.push_back(line);
    }
    return names;
}

void WriteList(Platform& sys, const std::string& restoreDir,
               const std::vector<std::string>& names) {
    std::string text = "; Veltrim 2000 restore points, oldest first\r\n";
    for (const std::string& name : names) text += name + "\r\n";
    std::string path = restoreDir + "\\" + kList;
    if (!WriteSealed(sys, path, text)) throw RestorePointError("Unable to write to " + path);
}

// --- Files.txt -------------------------------------------------------------------------

namespace {

const char* KindName(const PathBefore& entry) {
    switch (entry.kind) {
        case PathBefore::File:
            return entry.existed ? "file" : "new file";
        case PathBefore::Shortcut:
            return entry.existed ? "shortcut" : "new shortcut";
        case PathBefore::Folder:
            return entry.existed ? "removed folder" : "new folder";
    }
    return "";
}

const char* const kStateNames[] = {"open", "ended", "undoing"};

}  // namespace

std::string FilesText(const std::vector<PathBefore>& paths, PointState state) {
    std::string text =
        "; Veltrim 2000 restore point: the files, shortcuts and folders the settings changed,\r\n"
        "; as they were before. Kind, attributes, saved copy, path, its size and checksum,\r\n"
        "; then the size and checksum the last change left (\"none\": deleted) and the copy of\r\n"
        "; what it wrote.\r\n";
    text += std::string("state\t") + kStateNames[static_cast<int>(state)] + "\r\n";
    for (const PathBefore& entry : paths) {
        bool saved = entry.existed && entry.kind != PathBefore::Folder;
        using After = PathBefore::After;
        text += std::string(KindName(entry)) + "\t" + (saved ? Hex(entry.attributes) : "-") + "\t" +
                (saved ? entry.copy : "-") + "\t" + entry.path + "\t" +
                (saved ? std::to_string(entry.size) : "-") + "\t" +
                (saved ? Hex(entry.checksum) : "-") + "\t" +
                (entry.after == After::Written   ? std::to_string(entry.afterSize)
                 : entry.after == After::Missing ? "none"
                                                 : "-") +
                "\t" + (entry.after == After::Written ? Hex(entry.afterChecksum) : "-") + "\t" +
                (entry.afterCopy.empty() ? "-" : entry.afterCopy) + "\r\n";
    }
    return text;
}

namespace {

std::optional<DWORD> Number(const std::string& text, int base) {
    if (text.empty() || text.size() > 10) return std::nullopt;
    DWORD value = 0;
    for (char c : text) {
        int digit = std::isdigit(static_cast<unsigned char>(c)) ? c - '0'
                    : base == 16 && std::isxdigit(static_cast<unsigned char>(c))
                        ? std::tolower(static_cast<unsigned char>(c)) - 'a' + 10
                        : -1;
        if (digit < 0) return std::nullopt;
        value = value * static_cast<DWORD>(base) + static_cast<DWORD>(digit);
    }
    return value;
}

}  // namespace

FilesList ReadFilesText(const std::string& text) {
    FilesList list;
    bool stated = false;
    for (std::string line : SplitAt(text, '\n')) {
        while (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == ';') continue;
        std::vector<std::string> fields = SplitAt(line, '\t');
        auto bad = [&] { return RestorePointDamaged("Not a line of a restore point: " + line); };
        if (fields.size() == 2 && fields[0] == "state") {
            auto named = std::find(std::begin(kStateNames), std::end(kStateNames), fields[1]);
            if (named == std::end(kStateNames)) throw bad();
            list.state = static_cast<PointState>(named - std::begin(kStateNames));
            stated = true;
            continue;
        }
        // Points of earlier versions know nothing of the state a change left.
        if (fields.size() != 6 && fields.size() != 8 && fields.size() != 9) throw bad();
        PathBefore entry;
        const std::string& kind = fields[0];
        static const char* const kinds[] = {"file",         "new file",       "shortcut",
                                            "new shortcut", "removed folder", "new folder"};
        if (std::find(std::begin(kinds), std::end(kinds), kind) == std::end(kinds)) throw bad();
        entry.existed = kind.rfind("new ", 0) != 0;
        if (kind.find("shortcut") != std::string::npos)
            entry.kind = PathBefore::Shortcut;
        else if (kind.find("folder") != std::string::npos)
            entry.kind = PathBefore::Folder;
        bool saved = entry.existed && entry.kind != PathBefore::Folder;
        if (saved) {
            auto attributes = Number(fields[1], 16), size = Number(fields[4], 10),
                 checksum = Number(fields[5], 16);
            if (!attributes || !size || !checksum || fields[2].empty()) throw bad();
            entry.attributes = *attributes;
            entry.copy = fields[2];
            entry.size = *size;
            entry.checksum = *checksum;
        }
        entry.path = fields[3];
        if (fields.size() == 9 && fields[8] != "-") entry.afterCopy = fields[8];
        if (fields.size() >= 8 && fields[6] == "none") {
            entry.after = PathBefore::After::Missing;
        } else if (fields.size() >= 8 && fields[6] != "-") {
            auto size = Number(fields[6], 10), checksum = Number(fields[7], 16);
            if (!size || !checksum) throw bad();
            entry.after = PathBefore::After::Written;
            entry.afterSize = *size;
            entry.afterChecksum = *checksum;
        }
        list.paths.push_back(entry);
    }
    if (!stated) throw RestorePointDamaged("The restore point does not say whether it ended.");
    return list;
}
bool IsWhole(Platform& sys, const PathBefore& entry) {
    if (entry.kind == PathBefore::Folder) return true;
    std::optional<std::vector<BYTE>> now = ReadOnDisk(sys, entry.path);
    auto is = [&](DWORD size, DWORD checksum) {
        return now && now->size() == size &&
               Checksum(std::string(now->begin(), now->end())) == checksum;
    };
    bool asBefore = entry.existed ? is(entry.size, entry.checksum) : !Exists(sys, entry.path);
    switch (entry.after) {
        case PathBefore::After::Missing:
            return asBefore || !Exists(sys, entry.path);
        case PathBefore::After::Written:
            return asBefore || is(entry.afterSize, entry.afterChecksum);
        case PathBefore::After::Unknown:
            break;
    }
    return asBefore;
}

namespace {

bool ProperStart(const std::vector<BYTE>& part, const std::optional<std::vector<BYTE>>& whole) {
    return whole && part.size() < whole->size() &&
           std::equal(part.begin(), part.end(), whole->begin());
}

// A start of `whole` followed by zeros, no longer than it: FAT gives a file its clusters
// before their bytes arrive, so a power cut can leave the rest of them zero.
bool StartThenZeros(const std::vector<BYTE>& part, const std::optional<std::vector<BYTE>>& whole) {
    if (!whole || part.empty() || part.back() != 0 || part.size() > whole->size()) return false;
    std::vector<BYTE> start = part;
    while (!start.empty() && start.back() == 0) start.pop_back();
    return ProperStart(start, whole);
}

}  // namespace

std::optional<std::vector<BYTE>> WholeVersionOfCut(
    const std::optional<std::vector<BYTE>>& now, const std::optional<std::vector<BYTE>>& before,
    const std::optional<std::vector<BYTE>>& written) {
    if (!now || now == before || now == written) return std::nullopt;
    if (ProperStart(*now, written) || StartThenZeros(*now, written)) return written;
    if (ProperStart(*now, before) || StartThenZeros(*now, before)) return before;
    return std::nullopt;
}

std::optional<std::vector<BYTE>> AfterCopy(Platform& sys, const std::string& pointDir,
                                           const PathBefore& entry) {
    if (entry.afterCopy.empty() || !PlainName(entry.afterCopy) ||
        entry.after != PathBefore::After::Written)
        return std::nullopt;
    auto bytes = ReadAll(sys, pointDir + "\\" + entry.afterCopy, limits::kManagedFile);
    if (!bytes || bytes->size() != entry.afterSize ||
        Checksum(std::string(bytes->begin(), bytes->end())) != entry.afterChecksum)
        return std::nullopt;
    return bytes;
}

std::string UndoCopyName(const PathBefore& entry) {
    return entry.copy + ".undo";
}

}  // namespace vt::pointfiles
