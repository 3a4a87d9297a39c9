#include "app/RestorePoint.h"

#include "app/ConfigDat.h"
#include "platform/NoCase.h"
#include "store/Paths.h"
#include "store/StoreError.h"
#include "store/TRegistry.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <iterator>

namespace vt {
namespace {

constexpr const char* kList = "Points.txt";
constexpr const char* kRegistryFile = "Registry.reg";
constexpr const char* kFilesFile = "Files.txt";
constexpr const char* kClasses = "Software\\Classes";
constexpr const char* kNewSuffix = ".new";
constexpr const char* kSeal = "; end, checksum ";
constexpr DWORD kProtection =
    FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

bool IsRoot(HKEY key) {
    return key >= HKEY_CLASSES_ROOT && key <= 0x80000006u;
}

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::string part;
    for (char c : text) {
        if (c == separator) {
            parts.push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    parts.push_back(part);
    return parts;
}

std::string JoinKey(const std::string& base, const char* subKey) {
    std::string path = base;
    for (const std::string& part : Split(subKey ? subKey : "", '\\')) {
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
    std::size_t slash = path.find_last_of("\\/:");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool Exists(Platform& sys, const std::string& path) {
    return sys.GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool IsFolder(Platform& sys, const std::string& path) {
    DWORD attributes = sys.GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::optional<std::vector<BYTE>> ReadAll(Platform& sys, const std::string& path) {
    std::vector<BYTE> bytes;
    if (!sys.ReadFileBytes(path.c_str(), &bytes)) return std::nullopt;
    return bytes;
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

// The text before the seal, when the seal is there and matches it.
std::optional<std::string> Unsealed(const std::vector<BYTE>& bytes) {
    std::string text(bytes.begin(), bytes.end());
    std::size_t seal = text.rfind(kSeal);
    if (seal == std::string::npos) return std::nullopt;
    std::string body = text.substr(0, seal);
    if (text.compare(seal, std::string::npos, std::string(kSeal) + Hex(Checksum(body)) + "\r\n"))
        return std::nullopt;
    return body;
}

// The whole file, or else its whole replacement that a cut kept from being renamed.
std::optional<std::string> ReadSealed(Platform& sys, const std::string& path) {
    for (const std::string& candidate : {path, path + kNewSuffix})
        if (auto bytes = ReadAll(sys, candidate))
            if (auto body = Unsealed(*bytes)) return body;
    return std::nullopt;
}

// Written whole under the second name, then put in the first one's place: at every moment
// one whole version is there to read.
bool WriteSealed(Platform& sys, const std::string& path, const std::string& body) {
    const std::string fresh = path + kNewSuffix;
    // A replacement cut off between its delete and its rename is finished first: the write
    // below must not overwrite the only whole version.
    if (!Exists(sys, path)) {
        auto bytes = ReadAll(sys, fresh);
        if (bytes && Unsealed(*bytes) && !sys.MoveFileA(fresh.c_str(), path.c_str())) return false;
    }
    std::string text = Sealed(body);
    if (!sys.WriteFileBytes(fresh.c_str(), std::vector<BYTE>(text.begin(), text.end())))
        return false;
    if (Exists(sys, path) && !sys.DeleteFileA(path.c_str())) return false;
    return sys.MoveFileA(fresh.c_str(), path.c_str()) != FALSE;
}

void DeleteSealed(Platform& sys, const std::string& path) {
    sys.DeleteFileA(path.c_str());
    sys.DeleteFileA((path + kNewSuffix).c_str());
}

std::vector<std::string> ReadList(Platform& sys, const std::string& restoreDir) {
    std::vector<std::string> names;
    auto text = ReadSealed(sys, restoreDir + "\\" + kList);
    if (!text) return names;
    for (std::string line : Split(*text, '\n')) {
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
        if (!line.empty() && line[0] != ';') names.push_back(line);
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

// Where a point stands: its pass is under way ("open"), ended ("ended"), or an Undo of it is
// under way ("undoing"). A point not "ended" names what a cut-off pass or Undo left.
enum class PointState { Open, Ended, Undoing };
const char* const kStateNames[] = {"open", "ended", "undoing"};

std::string FilesText(const std::vector<PathBefore>& paths, PointState state) {
    std::string text =
        "; Veltrim 2000 restore point: the files, shortcuts and folders the settings changed,\r\n"
        "; as they were before. Kind, attributes, saved copy, path, its size and checksum.\r\n";
    text += std::string("state\t") + kStateNames[static_cast<int>(state)] + "\r\n";
    for (const PathBefore& entry : paths) {
        bool saved = entry.existed && entry.kind != PathBefore::Folder;
        text += std::string(KindName(entry)) + "\t" + (saved ? Hex(entry.attributes) : "-") + "\t" +
                (saved ? entry.copy : "-") + "\t" + entry.path + "\t" +
                (saved ? std::to_string(entry.size) : "-") + "\t" +
                (saved ? Hex(entry.checksum) : "-") + "\r\n";
    }
    return text;
}

struct FilesList {
    PointState state = PointState::Open;
    std::vector<PathBefore> paths;
};

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

FilesList ReadFilesText(const std::string& text) {
    FilesList list;
    bool stated = false;
    for (std::string line : Split(text, '\n')) {
        while (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == ';') continue;
        std::vector<std::string> fields = Split(line, '\t');
        auto bad = [&] { return RestorePointDamaged("Not a line of a restore point: " + line); };
        if (fields.size() == 2 && fields[0] == "state") {
            auto named = std::find(std::begin(kStateNames), std::end(kStateNames), fields[1]);
            if (named == std::end(kStateNames)) throw bad();
            list.state = static_cast<PointState>(named - std::begin(kStateNames));
            stated = true;
            continue;
        }
        if (fields.size() != 6) throw bad();
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
        list.paths.push_back(entry);
    }
    if (!stated) throw RestorePointDamaged("The restore point does not say whether it ended.");
    return list;
}

// --- What the program manages ------------------------------------------------------------

struct ManagedKey {
    HKEY root;
    const char* path;
    bool tree;  // the key with everything below it; else only the key's own values
};

// The keys the pages and tools write (HKEY_CLASSES_ROOT as HKEY_LOCAL_MACHINE\Software\Classes;
// every file type there but CLSID is the right-click tools' and the Windows page's).
const ManagedKey kManagedKeys[] = {
    {HKEY_CURRENT_USER, "Control Panel\\Desktop", true},
    {HKEY_CURRENT_USER, "Control Panel\\Sound", true},
    {HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer", true},
    {HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer", true},
    {HKEY_CURRENT_USER, "Software\\Microsoft\\Internet Explorer\\Toolbar", true},
    {HKEY_USERS, ".DEFAULT\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer", true},
    {HKEY_LOCAL_MACHINE, "Network\\Logon", true},
    {HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\Update", true},
    {HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\FileSystem", true},
    {HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Services\\VxD\\MSTCP", true},
    {HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Services\\VxD\\NWLink", true},
    {HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Services\\Class\\Net", true},
    {HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Services\\Class\\fdc\\0000", true},
    {HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion", false},
    {HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Setup", true},
    {HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall", true},
    {HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\FS Templates", true},
    {HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\explorer", true},
    {HKEY_LOCAL_MACHINE, "Software\\Classes\\CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}", true},
    {HKEY_LOCAL_MACHINE, "Software\\Classes\\CLSID\\{20D04FE0-3AEA-1069-A2D8-08002B30309D}", true},
};

bool Below(const std::string& path, const std::string& ancestor) {
    return path.size() > ancestor.size() + 1 && path[ancestor.size()] == '\\' &&
           EqualNoCase(path.substr(0, ancestor.size()), ancestor);
}

// HKEY_CLASSES_ROOT named as the key it is.
std::pair<HKEY, std::string> Canonical(HKEY root, const std::string& path) {
    if (root == HKEY_CLASSES_ROOT) return {HKEY_LOCAL_MACHINE, JoinKey(kClasses, path.c_str())};
    return {root, path};
}

bool IsFileTypeKey(HKEY root, const std::string& path) {
    if (root != HKEY_LOCAL_MACHINE || !Below(path, kClasses)) return false;
    std::string type = Split(path.substr(std::strlen(kClasses) + 1), '\\').front();
    return !type.empty() && !EqualNoCase(type, "CLSID");
}

// The key is one of the managed trees or lies below one.
bool InManagedTree(HKEY root, const std::string& path) {
    for (const ManagedKey& key : kManagedKeys)
        if (key.root == root && key.tree && (EqualNoCase(path, key.path) || Below(path, key.path)))
            return true;
    return false;
}

// The managed trees that lie below `path` (for a key the pass made above them).
std::vector<std::string> ManagedTreesBelow(HKEY root, const std::string& path) {
    std::vector<std::string> trees;
    for (const ManagedKey& key : kManagedKeys)
        if (key.root == root && key.tree && Below(key.path, path)) trees.push_back(key.path);
    return trees;
}

bool HasPathParts(const std::string& path) {
    for (const std::string& part : Split(path, '\\'))
        if (part == "." || part == "..") return true;
    return false;
}

// --- Putting back ----------------------------------------------------------------------

void DeleteIfEmpty(Platform& sys, HKEY root, const std::string& path) {
    HKEY key = 0;
    if (sys.RegOpenKeyExA(root, path.c_str(), KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
    DWORD subKeys = 1, maxLength = 0, values = 1;
    bool empty = sys.RegQueryInfoKeyA(key, &subKeys, &maxLength, &values) == ERROR_SUCCESS &&
                 subKeys == 0 && values == 0;
    if (!IsRoot(key)) sys.RegCloseKey(key);
    if (empty) sys.RegDeleteKeyA(root, path.c_str());
}

void PutBack(Platform& sys, const regedit4::Section& section) {
    TRegistry reg(sys);
    reg.SelectRoot(section.root);
    if (section.remove) {
        auto [root, path] = Canonical(section.root, section.path);
        if (InManagedTree(root, path) || IsFileTypeKey(root, path)) {
            reg.RemoveKey("\\" + section.path);
            return;
        }
        // A key the pass made above managed ones: only what is managed goes, then the keys
        // between that nothing else uses.
        reg.SelectRoot(root);
        for (const std::string& tree : ManagedTreesBelow(root, path)) {
            reg.RemoveKey("\\" + tree);
            for (std::string key = tree; Below(key, path);) {
                key = key.substr(0, key.rfind('\\'));
                DeleteIfEmpty(sys, root, key);
            }
        }
        return;
    }
    if (!reg.OpenPath("\\" + section.path, true)) throw RegistryError::SetFailed(section.path);
    for (const regedit4::Entry& entry : section.entries) {
        if (!entry.data) {
            reg.RemoveValue(entry.name);
            continue;
        }
        const std::vector<BYTE>& bytes = entry.data->bytes;
        DWORD type = entry.data->type;
        bool text = (type == REG_SZ || type == REG_EXPAND_SZ) && !bytes.empty() &&
                    std::find(bytes.begin(), bytes.end(), 0) == bytes.end() - 1;
        if (text) {
            reg.WriteText(entry.name, std::string(bytes.begin(), bytes.end() - 1), type);
        } else if (type == REG_DWORD && bytes.size() == 4) {
            reg.WriteNumber(entry.name, static_cast<std::int32_t>(bytes[0] | bytes[1] << 8 |
                                                                  bytes[2] << 16 | bytes[3] << 24));
        } else if (type == REG_BINARY) {
            reg.WriteBytes(entry.name, bytes.data(), static_cast<DWORD>(bytes.size()));
        } else {
            HKEY key = 0;
            LONG rc = sys.RegOpenKeyExA(section.root, section.path.c_str(), KEY_ALL_ACCESS, &key);
            if (rc == ERROR_SUCCESS)
                rc = sys.RegSetValueExA(key, entry.name.c_str(), type, bytes.data(),
                                        static_cast<DWORD>(bytes.size()));
            if (key && !IsRoot(key)) sys.RegCloseKey(key);
            if (rc != ERROR_SUCCESS) throw RegistryError::SetFailed(entry.name);
        }
    }
}

// A read-only, hidden or system file is neither rewritten nor deleted as it is.
void Writable(Platform& sys, const std::string& path) {
    DWORD attributes = sys.GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & kProtection))
        sys.SetFileAttributesA(path.c_str(), attributes & ~kProtection);
}

// Config.DAT goes back through its spare, as the program writes it: cut off in the middle,
// the file is short and the spare whole, and the next start reads the spare.
bool WriteBack(Platform& sys, const ManagedScope& scope, const std::string& path,
               const std::vector<BYTE>& bytes) {
    std::string program = scope.programDir;
    while (!program.empty() && program.back() == '\\') program.pop_back();
    const std::string spare = program + ConfigDat::kSpareName;
    const bool config = !program.empty() && EqualNoCase(path, program + ConfigDat::kFileName);
    bool spared = config && sys.WriteFileBytes(spare.c_str(), bytes);
    if (!sys.WriteFileBytes(path.c_str(), bytes)) return false;
    if (spared) sys.DeleteFileA(spare.c_str());
    return true;
}

// Each one that fails is named in `report` and the rest still go back.
void PutBack(Platform& sys, const ManagedScope& scope, const std::string& pointDir,
             std::vector<PathBefore> paths, UndoReport& report) {
    auto byLength = [](const PathBefore& a, const PathBefore& b) {
        return a.path.size() < b.path.size();
    };
    std::stable_sort(paths.begin(), paths.end(), byLength);
    for (const PathBefore& entry : paths)
        if (entry.kind == PathBefore::Folder && entry.existed && !IsFolder(sys, entry.path) &&
            !sys.CreateDirectoryA(entry.path.c_str()))
            report.failures.push_back(entry.path);
    for (const PathBefore& entry : paths) {
        if (entry.kind == PathBefore::Folder) continue;
        if (!entry.existed) {
            if (!Exists(sys, entry.path)) continue;
            Writable(sys, entry.path);
            if (!sys.DeleteFileA(entry.path.c_str())) report.failures.push_back(entry.path);
            continue;
        }
        auto bytes = ReadAll(sys, pointDir + "\\" + entry.copy);
        // Already as saved (a write the pass tried and was refused): nothing to do.
        DWORD now = sys.GetFileAttributesA(entry.path.c_str());
        if (bytes && now != INVALID_FILE_ATTRIBUTES &&
            (now & kProtection) == (entry.attributes & kProtection) &&
            ReadAll(sys, entry.path) == bytes)
            continue;
        Writable(sys, entry.path);
        if (bytes && WriteBack(sys, scope, entry.path, *bytes) &&
            SetAttributesReadOnlyLast(sys, entry.path, entry.attributes))
            report.filesPutBack.push_back(entry.path);
        else
            report.failures.push_back(entry.path);
    }
    // Deepest first; a folder that now holds something of the user's stays.
    for (auto it = paths.rbegin(); it != paths.rend(); ++it)
        if (it->kind == PathBefore::Folder && !it->existed && IsFolder(sys, it->path))
            sys.RemoveDirectoryA(it->path.c_str());
}

// A copy's name is a plain name inside the point's folder.
bool PlainName(const std::string& name) {
    return !name.empty() && name.find_first_of("\\/:") == std::string::npos && name != "." &&
           name != "..";
}

struct PointContents {
    std::vector<regedit4::Section> sections;
    FilesList files;
};

// Everything of the point, checked whole; throws RestorePointDamaged naming each fault.
PointContents LoadPoint(Platform& sys, const std::string& dir, const ManagedScope& scope) {
    std::vector<std::string> faults;
    PointContents point;
    const std::string registry = dir + "\\" + kRegistryFile, files = dir + "\\" + kFilesFile;
    if (auto text = ReadSealed(sys, registry)) {
        try {
            point.sections = regedit4::Read(*text);
        } catch (const std::invalid_argument& e) {
            faults.push_back(registry + ": " + e.what());
        }
    } else {
        faults.push_back(registry + " is missing or incomplete.");
    }
    if (auto text = ReadSealed(sys, files)) {
        try {
            point.files = ReadFilesText(*text);
        } catch (const RestorePointDamaged& e) {
            faults.push_back(files + ": " + e.what());
        }
    } else {
        faults.push_back(files + " is missing or incomplete.");
    }
    for (const regedit4::Section& section : point.sections)
        if (auto refusal = scope.RefuseKey(section.root, section.path, section.remove))
            faults.push_back(*refusal);
    for (const PathBefore& entry : point.files.paths) {
        if (!scope.ManagesFile(entry.path)) {
            faults.push_back(entry.path + " is not a file Veltrim 2000 manages.");
            continue;
        }
        if (entry.copy.empty()) continue;
        if (!PlainName(entry.copy)) {
            faults.push_back(entry.copy + " leads out of the restore point's folder.");
            continue;
        }
        const std::string copy = dir + "\\" + entry.copy;
        auto bytes = ReadAll(sys, copy);
        if (!bytes)
            faults.push_back(copy + " is missing.");
        else if (bytes->size() != entry.size ||
                 Checksum(std::string(bytes->begin(), bytes->end())) != entry.checksum)
            faults.push_back(copy + " is damaged: its size or checksum is not the one saved.");
    }
    if (!faults.empty()) {
        std::string message = "The restore point " + BaseName(dir) + " cannot be used:";
        for (const std::string& fault : faults) message += "\n" + fault;
        throw RestorePointDamaged(message);
    }
    return point;
}

}  // namespace

// --- The journal -----------------------------------------------------------------------

RestoreJournal::RestoreJournal(Platform& sys) : ForwardingPlatform(sys), clock(LocalTime) {}

RestoreJournal::~RestoreJournal() = default;

RestoreJournal::Scope RestoreJournal::Record(const std::string& restoreDir) {
    if (depth_++ == 0) {
        restoreDir_ = restoreDir;
        pointDir_.clear();
        keys_.clear();
        values_.clear();
        paths_.clear();
        saved_.clear();
        ended_ = false;
    }
    return Scope(this);
}

// The point is marked as a pass that ended. Should that fail, the next start finds it open
// and asks; it never stops the guard's owner (this runs while an error unwinds, too).
void RestoreJournal::End() {
    if (depth_ == 0 || --depth_ > 0 || pointDir_.empty()) return;
    ended_ = true;
    try {
        WriteFiles();
    } catch (...) {
    }
}

RestoreJournal::KeyName RestoreJournal::Locate(HKEY key, const char* subKey) const {
    KeyName base{key, {}};
    if (!IsRoot(key)) {
        auto it = handles_.find(key);
        if (it == handles_.end()) return {0, {}};
        base = it->second;
    }
    // HKEY_CLASSES_ROOT is HKEY_LOCAL_MACHINE\Software\Classes: one name for one key.
    if (base.root == HKEY_CLASSES_ROOT)
        base = {HKEY_LOCAL_MACHINE, JoinKey(kClasses, base.path.c_str())};
    return {base.root, JoinKey(base.path, subKey)};
}

void RestoreJournal::Track(LONG rc, HKEY* result, const KeyName& name) {
    if (rc == ERROR_SUCCESS && result && !IsRoot(*result) && name.root) handles_[*result] = name;
}

namespace {

std::string KeyId(HKEY root, const std::string& path) {
    return ToUpper(regedit4::RootName(root) + (path.empty() ? "" : "\\" + path));
}

// Keys compare part by part, so that a key sorts right before its subkeys.
std::string SortKey(HKEY root, const std::string& path) {
    std::string id = KeyId(root, path);
    std::replace(id.begin(), id.end(), '\\', '\x01');
    return id;
}

bool Within(const std::string& id, const std::string& ancestor) {
    return id == ancestor || id.rfind(ancestor + "\\", 0) == 0;
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

}  // namespace

void RestoreJournal::SaveValue(const KeyName& key, const std::string& name) {
    std::string keyId = KeyId(key.root, key.path);
    std::string id = keyId + "|" + ToUpper(name);
    if (!key.root || saved_.count(id)) return;
    for (const KeyBefore& k : keys_)
        if (!k.existed && Within(keyId, KeyId(k.key.root, k.key.path))) return;
    std::optional<regedit4::Data> before;
    HKEY open = 0;
    if (inner_.RegOpenKeyExA(key.root, key.path.c_str(), KEY_ALL_ACCESS, &open) == ERROR_SUCCESS) {
        before = ReadValue(inner_, open, name.c_str());
        if (!IsRoot(open)) inner_.RegCloseKey(open);
    }
    OpenPoint();
    values_.push_back({key, name, before});
    saved_.insert(id);
    WriteRegistry();
}

void RestoreJournal::SaveCreatedKeys(const KeyName& key) {
    if (!key.root) return;
    std::string prefix;
    for (const std::string& part : Split(key.path, '\\')) {
        if (part.empty()) continue;
        prefix = JoinKey(prefix, part.c_str());
        std::string id = KeyId(key.root, prefix);
        if (saved_.count(id)) continue;
        HKEY open = 0;
        if (inner_.RegOpenKeyExA(key.root, prefix.c_str(), KEY_ALL_ACCESS, &open) ==
            ERROR_SUCCESS) {
            inner_.RegCloseKey(open);
            continue;
        }
        // Everything below is new too: deleting this one key undoes the lot.
        OpenPoint();
        keys_.push_back({{key.root, prefix}, false});
        saved_.insert(id);
        WriteRegistry();
        return;
    }
}

void RestoreJournal::SaveTree(const KeyName& key) {
    if (!key.root) return;
    std::string keyId = KeyId(key.root, key.path);
    for (const KeyBefore& k : keys_)
        if (!k.existed && Within(keyId, KeyId(k.key.root, k.key.path))) return;
    HKEY open = 0;
    if (inner_.RegOpenKeyExA(key.root, key.path.c_str(), KEY_ALL_ACCESS, &open) != ERROR_SUCCESS)
        return;
    OpenPoint();
    if (saved_.insert(keyId).second) keys_.push_back({key, true});
    std::vector<char> name(16384);
    for (DWORD i = 0;; ++i) {
        DWORD nameSize = static_cast<DWORD>(name.size()), type = 0, size = 0;
        if (inner_.RegEnumValueA(open, i, name.data(), &nameSize, &type, nullptr, &size) !=
            ERROR_SUCCESS)
            break;
        std::string valueName(name.data(), nameSize);
        if (!saved_.insert(keyId + "|" + ToUpper(valueName)).second) continue;
        values_.push_back({key, valueName, ReadValue(inner_, open, valueName.c_str())});
    }
    std::vector<std::string> children;
    for (DWORD i = 0;; ++i) {
        DWORD nameSize = static_cast<DWORD>(name.size());
        if (inner_.RegEnumKeyExA(open, i, name.data(), &nameSize) != ERROR_SUCCESS) break;
        children.emplace_back(name.data(), nameSize);
    }
    if (!IsRoot(open)) inner_.RegCloseKey(open);
    for (const std::string& child : children)
        SaveTree({key.root, JoinKey(key.path, child.c_str())});
    WriteRegistry();
}

std::string RestoreJournal::AbsolutePath(const std::string& path) {
    std::string p = path;
    std::replace(p.begin(), p.end(), '/', '\\');
    if (p.size() >= 2 && p[1] == ':') return p;
    char current[1024] = "";
    inner_.GetCurrentDirectoryA(sizeof current, current);
    std::string dir = current;
    if (!p.empty() && p[0] == '\\') return dir.substr(0, 2) + p;
    if (!dir.empty() && dir.back() == '\\') dir.pop_back();
    return dir + "\\" + p;
}

std::string RestoreJournal::ProfilePath(const char* fileName) {
    std::string name = fileName ? fileName : "win.ini";
    if (name.find_first_of("\\/:") != std::string::npos) return AbsolutePath(name);
    char windows[1024] = "";
    inner_.GetWindowsDirectoryA(windows, sizeof windows);
    return std::string(windows) + "\\" + name;
}

bool RestoreJournal::SavePath(PathBefore::Kind kind, const std::string& path) {
    std::string full = AbsolutePath(path);
    std::string id = "*" + ToUpper(full);
    if (saved_.count(id)) return false;
    PathBefore entry;
    entry.kind = kind;
    entry.path = full;
    DWORD attributes = inner_.GetFileAttributesA(full.c_str());
    bool folder = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    if (kind != PathBefore::Folder && folder) return false;  // the call fails on its own
    entry.existed = attributes != INVALID_FILE_ATTRIBUTES;
    OpenPoint();
    if (entry.existed && kind != PathBefore::Folder) {
        entry.attributes = attributes;
        auto bytes = ReadAll(inner_, full);
        if (!bytes) throw RestorePointError("Unable to read " + full);
        entry.copy = std::to_string(paths_.size() + 1) + " " + BaseName(full);
        for (int n = 2; Exists(inner_, pointDir_ + "\\" + entry.copy); ++n)
            entry.copy =
                std::to_string(paths_.size() + 1) + "-" + std::to_string(n) + " " + BaseName(full);
        entry.size = static_cast<DWORD>(bytes->size());
        entry.checksum = Checksum(std::string(bytes->begin(), bytes->end()));
        std::string copy = pointDir_ + "\\" + entry.copy;
        if (!inner_.WriteFileBytes(copy.c_str(), *bytes)) Unwritable(copy);
    }
    paths_.push_back(entry);
    saved_.insert(id);
    WriteFiles();
    return true;
}

// A change that did not happen leaves nothing to put back: its entry goes.
BOOL RestoreJournal::Dropped(BOOL ok, bool added, const std::string& path) {
    if (ok || !added) return ok;
    std::string full = AbsolutePath(path);
    auto entry = std::find_if(paths_.rbegin(), paths_.rend(),
                              [&](const PathBefore& p) { return EqualNoCase(p.path, full); });
    if (entry == paths_.rend()) return ok;
    if (!entry->copy.empty()) inner_.DeleteFileA((pointDir_ + "\\" + entry->copy).c_str());
    saved_.erase("*" + ToUpper(full));
    paths_.erase(std::next(entry).base());
    try {
        WriteFiles();
    } catch (const RestorePointError&) {
        // The entry stays listed; putting back a file that did not change changes nothing.
    }
    return ok;
}

// --- Writing the point -----------------------------------------------------------------

void RestoreJournal::Unwritable(const std::string& path) const {
    bool first = values_.empty() && keys_.empty() && paths_.empty();
    throw RestorePointError(
        "Unable to write to " + path + "\n\nThe restore point that would undo these settings " +
        (first ? "could not be saved, so no setting was changed."
               : "could not be saved, so the settings from here on were not changed; "
                 "\"Undo last change...\" puts back those already written."));
}

void RestoreJournal::Write(const std::string& path, const std::string& text) {
    if (!WriteSealed(inner_, path, text)) Unwritable(path);
}

void RestoreJournal::OpenPoint() {
    if (!pointDir_.empty()) return;
    if (!IsFolder(inner_, restoreDir_) && !inner_.CreateDirectoryA(restoreDir_.c_str()))
        Unwritable(restoreDir_);
    std::string stamp = clock ? clock() : LocalTime();
    std::string name = stamp;
    for (int n = 2; Exists(inner_, restoreDir_ + "\\" + name); ++n)
        name = stamp + " " + std::to_string(n);
    std::string dir = restoreDir_ + "\\" + name;
    if (!inner_.CreateDirectoryA(dir.c_str())) Unwritable(dir);
    pointDir_ = dir;
    try {
        WriteRegistry();
        WriteFiles();
        std::vector<std::string> names = ReadList(inner_, restoreDir_);
        names.push_back(name);
        while (names.size() > kKeptRestorePoints) {
            RemoveRestorePoint(inner_, restoreDir_, names.front());
            names.erase(names.begin());
        }
        WriteList(inner_, restoreDir_, names);
    } catch (const std::exception&) {
        for (const char* file : {kRegistryFile, kFilesFile})
            DeleteSealed(inner_, dir + "\\" + file);
        inner_.RemoveDirectoryA(dir.c_str());
        pointDir_.clear();
        Unwritable(restoreDir_ + "\\" + kList);
    }
}

void RestoreJournal::WriteRegistry() {
    std::vector<std::string> created;
    for (const KeyBefore& k : keys_)
        if (!k.existed) created.push_back(KeyId(k.key.root, k.key.path));
    auto inCreated = [&](const KeyName& key) {
        std::string id = KeyId(key.root, key.path);
        return std::any_of(created.begin(), created.end(),
                           [&](const std::string& c) { return Within(id, c); });
    };
    // First the keys as they were, parents before children, each with its values; then the
    // keys the pass made, deleted with everything in them.
    std::map<std::string, regedit4::Section> kept;
    auto section = [&](const KeyName& key) -> regedit4::Section& {
        regedit4::Section& s = kept[SortKey(key.root, key.path)];
        s.root = key.root;
        s.path = key.path;
        return s;
    };
    for (const KeyBefore& k : keys_)
        if (k.existed && !inCreated(k.key)) section(k.key);
    for (const ValueBefore& v : values_)
        if (!inCreated(v.key)) section(v.key).entries.push_back({v.name, v.data});
    std::vector<regedit4::Section> sections;
    for (auto& [_, s] : kept) sections.push_back(std::move(s));
    std::map<std::string, regedit4::Section> removed;
    for (const KeyBefore& k : keys_)
        if (!k.existed)
            removed[SortKey(k.key.root, k.key.path)] = {k.key.root, k.key.path, true, {}};
    for (auto& [_, s] : removed) sections.push_back(std::move(s));
    Write(pointDir_ + "\\" + kRegistryFile, regedit4::Write(sections));
}

void RestoreJournal::WriteFiles() {
    Write(pointDir_ + "\\" + kFilesFile,
          FilesText(paths_, ended_ ? PointState::Ended : PointState::Open));
}

// --- The seam: the changes ---------------------------------------------------------------

LONG RestoreJournal::RegOpenKeyExA(HKEY key, const char* subKey, REGSAM sam, HKEY* result) {
    KeyName name = Locate(key, subKey);
    LONG rc = inner_.RegOpenKeyExA(key, subKey, sam, result);
    Track(rc, result, name);
    return rc;
}

LONG RestoreJournal::RegCreateKeyExA(HKEY key, const char* subKey, REGSAM sam, HKEY* result) {
    KeyName name = Locate(key, subKey);
    if (Recording()) SaveCreatedKeys(name);
    LONG rc = inner_.RegCreateKeyExA(key, subKey, sam, result);
    Track(rc, result, name);
    return rc;
}

LONG RestoreJournal::RegSetValueExA(HKEY key, const char* name, DWORD type, const BYTE* data,
                                    DWORD size) {
    if (Recording() && data) {
        std::vector<BYTE> stored(data, data + size);
        if (type == REG_SZ) {
            auto nul = std::find(stored.begin(), stored.end(), 0);
            if (nul != stored.end()) stored.erase(nul + 1, stored.end());
        }
        if (ReadValue(inner_, key, name) != regedit4::Data{type, stored})
            SaveValue(Locate(key, nullptr), name ? name : "");
    }
    return inner_.RegSetValueExA(key, name, type, data, size);
}

LONG RestoreJournal::RegDeleteValueA(HKEY key, const char* name) {
    if (Recording() && ReadValue(inner_, key, name))
        SaveValue(Locate(key, nullptr), name ? name : "");
    return inner_.RegDeleteValueA(key, name);
}

LONG RestoreJournal::RegDeleteKeyA(HKEY key, const char* subKey) {
    if (Recording()) SaveTree(Locate(key, subKey));
    return inner_.RegDeleteKeyA(key, subKey);
}

LONG RestoreJournal::RegCloseKey(HKEY key) {
    handles_.erase(key);
    return inner_.RegCloseKey(key);
}

BOOL RestoreJournal::WritePrivateProfileStringA(const char* section, const char* key,
                                                const char* value, const char* fileName) {
    if (Recording() && section) {
        std::vector<char> now(32768);
        const char* missing = "\x01missing\x01";
        DWORD length = inner_.GetPrivateProfileStringA(section, key, missing, now.data(),
                                                       static_cast<DWORD>(now.size()), fileName);
        std::string current(now.data(), key ? std::strlen(now.data()) : length);
        bool same = key ? (value ? current == value : current == missing) : current.empty();
        bool added = !same && SavePath(PathBefore::File, ProfilePath(fileName));
        return Dropped(inner_.WritePrivateProfileStringA(section, key, value, fileName), added,
                       ProfilePath(fileName));
    }
    return inner_.WritePrivateProfileStringA(section, key, value, fileName);
}

BOOL RestoreJournal::SetFileAttributesA(const char* path, DWORD attributes) {
    if (Recording() && path) {
        constexpr DWORD kKept =
            FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
        DWORD now = inner_.GetFileAttributesA(path);
        if (now != INVALID_FILE_ATTRIBUTES && (now & kKept) != (attributes & kKept))
            SavePath(PathBefore::File, path);
    }
    return inner_.SetFileAttributesA(path, attributes);
}

BOOL RestoreJournal::DeleteFileA(const char* path) {
    bool added = Recording() && path && Exists(inner_, path) && SavePath(PathBefore::File, path);
    return Dropped(inner_.DeleteFileA(path), added, path ? path : "");
}

BOOL RestoreJournal::CreateDirectoryA(const char* path) {
    if (Recording() && path && !Exists(inner_, path)) SavePath(PathBefore::Folder, path);
    return inner_.CreateDirectoryA(path);
}

BOOL RestoreJournal::RemoveDirectoryA(const char* path) {
    if (Recording() && path && IsFolder(inner_, path)) SavePath(PathBefore::Folder, path);
    return inner_.RemoveDirectoryA(path);
}

BOOL RestoreJournal::CopyFileA(const char* from, const char* to, BOOL failIfExists) {
    bool added = Recording() && from && to && !(failIfExists && Exists(inner_, to)) &&
                 ReadAll(inner_, from) != ReadAll(inner_, to) && SavePath(PathBefore::File, to);
    return Dropped(inner_.CopyFileA(from, to, failIfExists), added, to ? to : "");
}

BOOL RestoreJournal::WriteFileBytes(const char* path, const std::vector<BYTE>& bytes) {
    bool added =
        Recording() && path && ReadAll(inner_, path) != bytes && SavePath(PathBefore::File, path);
    return Dropped(inner_.WriteFileBytes(path, bytes), added, path ? path : "");
}

BOOL RestoreJournal::LZCopyFileA(const char* from, const char* to) {
    bool added = Recording() && to && SavePath(PathBefore::File, to);
    return Dropped(inner_.LZCopyFileA(from, to), added, to ? to : "");
}

BOOL RestoreJournal::CreateShellLink(const char* target, const char* linkFile,
                                     const char* workingDirectory) {
    bool added = Recording() && linkFile && SavePath(PathBefore::Shortcut, linkFile);
    return Dropped(inner_.CreateShellLink(target, linkFile, workingDirectory), added,
                   linkFile ? linkFile : "");
}

// --- Points on disk ----------------------------------------------------------------------

std::string SealedRestorePointText(const std::string& body) {
    return Sealed(body);
}

std::vector<std::string> ListRestorePoints(Platform& sys, const std::string& restoreDir) {
    std::vector<std::string> names = ReadList(sys, restoreDir);
    std::erase_if(
        names, [&](const std::string& name) { return !IsFolder(sys, restoreDir + "\\" + name); });
    return names;
}

// Off the list first: a cut in the middle leaves an unlisted folder, never a listed point
// with copies missing.
void RemoveRestorePoint(Platform& sys, const std::string& restoreDir, const std::string& name) {
    std::vector<std::string> names = ReadList(sys, restoreDir);
    auto gone = std::remove_if(names.begin(), names.end(),
                               [&](const std::string& n) { return EqualNoCase(n, name); });
    if (gone != names.end()) {
        names.erase(gone, names.end());
        WriteList(sys, restoreDir, names);
    }
    std::string dir = restoreDir + "\\" + name;
    if (auto index = ReadSealed(sys, dir + "\\" + kFilesFile)) {
        try {
            for (const PathBefore& entry : ReadFilesText(*index).paths)
                if (PlainName(entry.copy)) sys.DeleteFileA((dir + "\\" + entry.copy).c_str());
        } catch (const RestorePointDamaged&) {
            // An unreadable list: the copies stay, and so does the folder.
        }
    }
    for (const char* file : {kRegistryFile, kFilesFile}) DeleteSealed(sys, dir + "\\" + file);
    sys.RemoveDirectoryA(dir.c_str());
}

void RemoveRestorePointList(Platform& sys, const std::string& restoreDir) {
    if (ListRestorePoints(sys, restoreDir).empty()) DeleteSealed(sys, restoreDir + "\\" + kList);
}

std::optional<UndoReport> UndoNewestRestorePoint(Platform& sys, const std::string& restoreDir,
                                                 const ManagedScope& scope) {
    std::vector<std::string> names = ListRestorePoints(sys, restoreDir);
    if (names.empty()) return std::nullopt;
    UndoReport report;
    report.point = names.back();
    const std::string dir = restoreDir + "\\" + report.point;
    PointContents point = LoadPoint(sys, dir, scope);
    // Should the Undo be cut off, the next start finds the point unfinished and offers to
    // put it back again, which is the same Undo whatever it had done.
    if (point.files.state == PointState::Ended &&
        !WriteSealed(sys, dir + "\\" + kFilesFile,
                     FilesText(point.files.paths, PointState::Undoing)))
        throw RestorePointError("Unable to write to " + dir + "\\" + kFilesFile);
    for (const regedit4::Section& section : point.sections) {
        try {
            PutBack(sys, section);
        } catch (const std::exception&) {
            report.failures.push_back(regedit4::RootName(section.root) + "\\" + section.path);
        }
    }
    PutBack(sys, scope, dir, point.files.paths, report);
    // A point not wholly put back stays, as an ended one, so that it can be tried again.
    report.removed = false;
    if (!report.failures.empty()) {
        WriteSealed(sys, dir + "\\" + kFilesFile, FilesText(point.files.paths, PointState::Ended));
        return report;
    }
    try {
        RemoveRestorePoint(sys, restoreDir, report.point);
        report.removed = true;
    } catch (const RestorePointError&) {
        // Everything went back; only the list of points could not be rewritten.
    }
    return report;
}

std::optional<std::string> UnfinishedRestorePoint(Platform& sys, const std::string& restoreDir) {
    std::vector<std::string> names = ListRestorePoints(sys, restoreDir);
    if (names.empty()) return std::nullopt;
    auto index = ReadSealed(sys, restoreDir + "\\" + names.back() + "\\" + kFilesFile);
    if (!index) return std::nullopt;  // damaged: Undo says so
    try {
        if (ReadFilesText(*index).state != PointState::Ended) return names.back();
    } catch (const RestorePointDamaged&) {
    }
    return std::nullopt;
}

void KeepUnfinishedRestorePoint(Platform& sys, const std::string& restoreDir,
                                const std::string& name, const ManagedScope& scope) {
    const std::string index = restoreDir + "\\" + name + "\\" + kFilesFile;
    auto text = ReadSealed(sys, index);
    if (!text) return;
    FilesList list = ReadFilesText(*text);
    for (const PathBefore& entry : list.paths) {
        if (!entry.existed || entry.kind == PathBefore::Folder || !scope.ManagesFile(entry.path))
            continue;
        DWORD now = sys.GetFileAttributesA(entry.path.c_str());
        if (now != INVALID_FILE_ATTRIBUTES &&
            (now & kProtection) != (entry.attributes & kProtection))
            SetAttributesReadOnlyLast(sys, entry.path,
                                      (now & ~kProtection) | (entry.attributes & kProtection));
    }
    if (!WriteSealed(sys, index, FilesText(list.paths, PointState::Ended)))
        throw RestorePointError("Unable to write to " + index);
}

// --- What the program manages ------------------------------------------------------------

std::optional<std::string> ManagedScope::RefuseKey(HKEY root, const std::string& path,
                                                   bool tree) const {
    auto [canonicalRoot, canonicalPath] = Canonical(root, path);
    if (!HasPathParts(canonicalPath)) {
        if (IsFileTypeKey(canonicalRoot, canonicalPath) ||
            InManagedTree(canonicalRoot, canonicalPath))
            return std::nullopt;
        // A key whose own values only are managed: never removed whole.
        for (const ManagedKey& key : kManagedKeys)
            if (key.root == canonicalRoot && !key.tree && !tree &&
                EqualNoCase(canonicalPath, key.path))
                return std::nullopt;
        // A key a pass made above managed ones (only those are taken out again).
        if (tree && !canonicalPath.empty() &&
            !ManagedTreesBelow(canonicalRoot, canonicalPath).empty())
            return std::nullopt;
    }
    return regedit4::RootName(root) + "\\" + path + " is not a key Veltrim 2000 manages.";
}

bool ManagedScope::ManagesFile(const std::string& path) const {
    if (path.find_first_of("/") != std::string::npos || HasPathParts(path)) return false;
    auto trimmed = [](std::string dir) {
        while (!dir.empty() && dir.back() == '\\') dir.pop_back();
        return dir;
    };
    const std::string windows = trimmed(windowsDir), program = trimmed(programDir);
    std::vector<std::string> files = {"C:\\MSDOS.SYS"};
    std::vector<std::string> folders;
    if (!windows.empty()) {
        for (const char* name : {"\\SYSTEM.INI", "\\system\\oeminfo.ini", "\\system\\oemlogo.bmp",
                                 "\\Desktop\\Veltrim 2000.lnk",
                                 "\\Application Data\\Microsoft\\Internet Explorer\\Quick "
                                 "Launch\\Veltrim 2000.lnk"})
            files.push_back(windows + name);
        for (const char* name :
             {"\\Start Menu\\Programs\\Veltrim 2000",
              "\\Start Menu\\Control Panel.{21EC2020-3AEA-1069-A2DD-08002B30309D}",
              "\\Start Menu\\Recycle Bin.{645FF040-5081-101B-9F08-00AA002F954E}"})
            folders.push_back(windows + name);
    }
    if (!program.empty())
        for (const char* name :
             {"\\Config.DAT", "\\Config.DAT.new", "\\data.ini", "\\Uninstall.lnk"})
            files.push_back(program + name);
    for (const std::string& file : files)
        if (EqualNoCase(path, file)) return true;
    for (const std::string& folder : folders)
        if (EqualNoCase(path, folder) || Below(path, folder)) return true;
    return false;
}

}  // namespace vt
