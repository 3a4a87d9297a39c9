#include "app/RestorePoint.h"

#include "platform/NoCase.h"
#include "store/StoreError.h"
#include "store/TRegistry.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>

namespace vt {
namespace {

constexpr const char* kList = "Points.txt";
constexpr const char* kRegistryFile = "Registry.reg";
constexpr const char* kFilesFile = "Files.txt";
constexpr const char* kClasses = "Software\\Classes";

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

std::vector<BYTE> Bytes(const std::string& text) {
    return std::vector<BYTE>(text.begin(), text.end());
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

std::vector<std::string> ReadList(Platform& sys, const std::string& restoreDir) {
    std::vector<std::string> names;
    auto bytes = ReadAll(sys, restoreDir + "\\" + kList);
    if (!bytes) return names;
    for (std::string line : Split(std::string(bytes->begin(), bytes->end()), '\n')) {
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
    if (!sys.WriteFileBytes(path.c_str(), Bytes(text)))
        throw RestorePointError("Unable to write to " + path);
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

std::string FilesText(const std::vector<PathBefore>& paths) {
    std::string text =
        "; Veltrim 2000 restore point: the files, shortcuts and folders the settings changed,\r\n"
        "; as they were before. Kind, attributes, saved copy, path.\r\n";
    char attributes[16];
    for (const PathBefore& entry : paths) {
        bool saved = entry.existed && entry.kind != PathBefore::Folder;
        std::snprintf(attributes, sizeof attributes, "%08lx",
                      static_cast<unsigned long>(entry.attributes));
        text += std::string(KindName(entry)) + "\t" + (saved ? attributes : "-") + "\t" +
                (saved ? entry.copy : "-") + "\t" + entry.path + "\r\n";
    }
    return text;
}

std::vector<PathBefore> ReadFilesText(const std::string& text) {
    std::vector<PathBefore> paths;
    for (std::string line : Split(text, '\n')) {
        while (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == ';') continue;
        std::vector<std::string> fields = Split(line, '\t');
        if (fields.size() != 4) throw RestorePointError("Not a line of a restore point: " + line);
        PathBefore entry;
        const std::string& kind = fields[0];
        entry.existed = kind.rfind("new ", 0) != 0;
        if (kind.find("shortcut") != std::string::npos)
            entry.kind = PathBefore::Shortcut;
        else if (kind.find("folder") != std::string::npos)
            entry.kind = PathBefore::Folder;
        if (fields[1] != "-") entry.attributes = std::stoul(fields[1], nullptr, 16);
        if (fields[2] != "-") entry.copy = fields[2];
        entry.path = fields[3];
        paths.push_back(entry);
    }
    return paths;
}

// --- Putting back ----------------------------------------------------------------------

void PutBack(Platform& sys, const regedit4::Section& section) {
    TRegistry reg(sys);
    reg.SelectRoot(section.root);
    if (section.remove) {
        reg.RemoveKey("\\" + section.path);
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
    constexpr DWORD kHeld = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    DWORD attributes = sys.GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & kHeld))
        sys.SetFileAttributesA(path.c_str(), attributes & ~kHeld);
}

void PutBack(Platform& sys, const std::string& pointDir, std::vector<PathBefore> paths) {
    auto byLength = [](const PathBefore& a, const PathBefore& b) {
        return a.path.size() < b.path.size();
    };
    std::stable_sort(paths.begin(), paths.end(), byLength);
    for (const PathBefore& entry : paths)
        if (entry.kind == PathBefore::Folder && entry.existed && !IsFolder(sys, entry.path) &&
            !sys.CreateDirectoryA(entry.path.c_str()))
            throw IniFileError::WriteFailed(entry.path);
    for (const PathBefore& entry : paths) {
        if (entry.kind == PathBefore::Folder) continue;
        if (!entry.existed) {
            if (!Exists(sys, entry.path)) continue;
            Writable(sys, entry.path);
            if (!sys.DeleteFileA(entry.path.c_str())) throw IniFileError::WriteFailed(entry.path);
            continue;
        }
        std::string copy = pointDir + "\\" + entry.copy;
        auto bytes = ReadAll(sys, copy);
        if (!bytes) throw RestorePointError("Unable to read " + copy);
        Writable(sys, entry.path);
        if (!sys.WriteFileBytes(entry.path.c_str(), *bytes) ||
            !sys.SetFileAttributesA(entry.path.c_str(), entry.attributes))
            throw IniFileError::WriteFailed(entry.path);
    }
    // Deepest first; a folder that now holds something of the user's stays.
    for (auto it = paths.rbegin(); it != paths.rend(); ++it)
        if (it->kind == PathBefore::Folder && !it->existed && IsFolder(sys, it->path))
            sys.RemoveDirectoryA(it->path.c_str());
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
    }
    return Scope(this);
}

void RestoreJournal::End() {
    if (depth_ > 0) --depth_;
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

void RestoreJournal::SavePath(PathBefore::Kind kind, const std::string& path) {
    std::string full = AbsolutePath(path);
    std::string id = "*" + ToUpper(full);
    if (saved_.count(id)) return;
    PathBefore entry;
    entry.kind = kind;
    entry.path = full;
    DWORD attributes = inner_.GetFileAttributesA(full.c_str());
    bool folder = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    if (kind != PathBefore::Folder && folder) return;  // the call fails on its own
    entry.existed = attributes != INVALID_FILE_ATTRIBUTES;
    OpenPoint();
    if (entry.existed && kind != PathBefore::Folder) {
        entry.attributes = attributes;
        auto bytes = ReadAll(inner_, full);
        if (!bytes) throw RestorePointError("Unable to read " + full);
        entry.copy = std::to_string(paths_.size() + 1) + " " + BaseName(full);
        std::string copy = pointDir_ + "\\" + entry.copy;
        if (!inner_.WriteFileBytes(copy.c_str(), *bytes)) Unwritable(copy);
    }
    paths_.push_back(entry);
    saved_.insert(id);
    WriteFiles();
}

// --- Writing the point -----------------------------------------------------------------

void RestoreJournal::Unwritable(const std::string& path) const {
    bool first = values_.empty() && keys_.empty() && paths_.empty();
    throw RestorePointError(
        "Unable to write to " + path + "\n\nThe restore point that would undo these settings " +
        (first ? "could not be saved, so no setting was changed."
               : "could not be saved, so the settings from here on were not changed; "
                 "\"Undo last Apply...\" puts back those already written."));
}

void RestoreJournal::Write(const std::string& path, const std::string& text) {
    if (!inner_.WriteFileBytes(path.c_str(), Bytes(text))) Unwritable(path);
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
            inner_.DeleteFileA((dir + "\\" + file).c_str());
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
    Write(pointDir_ + "\\" + kFilesFile, FilesText(paths_));
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
        if (!same) SavePath(PathBefore::File, ProfilePath(fileName));
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
    if (Recording() && path && Exists(inner_, path)) SavePath(PathBefore::File, path);
    return inner_.DeleteFileA(path);
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
    if (Recording() && from && to && !(failIfExists && Exists(inner_, to)) &&
        ReadAll(inner_, from) != ReadAll(inner_, to))
        SavePath(PathBefore::File, to);
    return inner_.CopyFileA(from, to, failIfExists);
}

BOOL RestoreJournal::WriteFileBytes(const char* path, const std::vector<BYTE>& bytes) {
    if (Recording() && path && ReadAll(inner_, path) != bytes) SavePath(PathBefore::File, path);
    return inner_.WriteFileBytes(path, bytes);
}

BOOL RestoreJournal::LZCopyFileA(const char* from, const char* to) {
    if (Recording() && to) SavePath(PathBefore::File, to);
    return inner_.LZCopyFileA(from, to);
}

BOOL RestoreJournal::CreateShellLink(const char* target, const char* linkFile,
                                     const char* workingDirectory) {
    if (Recording() && linkFile) SavePath(PathBefore::Shortcut, linkFile);
    return inner_.CreateShellLink(target, linkFile, workingDirectory);
}

// --- Points on disk ----------------------------------------------------------------------

std::vector<std::string> ListRestorePoints(Platform& sys, const std::string& restoreDir) {
    std::vector<std::string> names = ReadList(sys, restoreDir);
    std::erase_if(
        names, [&](const std::string& name) { return !IsFolder(sys, restoreDir + "\\" + name); });
    return names;
}

void RemoveRestorePoint(Platform& sys, const std::string& restoreDir, const std::string& name) {
    std::string dir = restoreDir + "\\" + name;
    if (auto index = ReadAll(sys, dir + "\\" + kFilesFile)) {
        try {
            for (const PathBefore& entry : ReadFilesText(std::string(index->begin(), index->end())))
                if (!entry.copy.empty()) sys.DeleteFileA((dir + "\\" + entry.copy).c_str());
        } catch (const std::exception&) {
            // An unreadable list: the copies stay, and so does the folder.
        }
    }
    for (const char* file : {kRegistryFile, kFilesFile})
        sys.DeleteFileA((dir + "\\" + file).c_str());
    sys.RemoveDirectoryA(dir.c_str());
    std::vector<std::string> names = ReadList(sys, restoreDir);
    auto gone = std::remove_if(names.begin(), names.end(),
                               [&](const std::string& n) { return EqualNoCase(n, name); });
    if (gone == names.end()) return;
    names.erase(gone, names.end());
    WriteList(sys, restoreDir, names);
}

bool UndoNewestRestorePoint(Platform& sys, const std::string& restoreDir,
                            std::vector<std::string>* filesPutBack) {
    std::vector<std::string> names = ListRestorePoints(sys, restoreDir);
    if (names.empty()) return false;
    std::string dir = restoreDir + "\\" + names.back();
    std::string registry = dir + "\\" + kRegistryFile, files = dir + "\\" + kFilesFile;
    auto text = ReadAll(sys, registry);
    if (!text) throw RestorePointError("Unable to read " + registry);
    auto index = ReadAll(sys, files);
    if (!index) throw RestorePointError("Unable to read " + files);
    std::vector<regedit4::Section> sections;
    try {
        sections = regedit4::Read(std::string(text->begin(), text->end()));
    } catch (const std::invalid_argument& e) {
        throw RestorePointError(registry + ": " + e.what());
    }
    std::vector<PathBefore> paths = ReadFilesText(std::string(index->begin(), index->end()));
    for (const regedit4::Section& section : sections) PutBack(sys, section);
    PutBack(sys, dir, paths);
    if (filesPutBack)
        for (const PathBefore& entry : paths)
            if (entry.kind != PathBefore::Folder && entry.existed)
                filesPutBack->push_back(entry.path);
    RemoveRestorePoint(sys, restoreDir, names.back());
    return true;
}

}  // namespace vt
