#include "store/RestoreJournal.h"

#include "platform/NoCase.h"
#include "store/Paths.h"
#include "store/ProfileText.h"
#include "store/RestorePoints.h"
#include "store/StoreError.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace vt {

using namespace pointfiles;

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
        hives_.clear();
        ended_ = false;
    }
    return Scope(this);
}

void RestoreJournal::Finish() {
    if (depth_ != 1 || pointDir_.empty() || ended_) return;
    if (!HoldsChanges()) {
        // Every change it was opened for failed and was taken out again: a point that would
        // put back nothing is no point (a later Undo would claim to have undone something).
        RemoveRestorePoint(inner_, restoreDir_, BaseName(pointDir_));
        pointDir_.clear();
        return;
    }
    FlushRegistry();
    ended_ = true;
    WriteFiles();
}

// Should the flush or the mark fail, the next start finds the point open and asks; it never
// stops the guard's owner (this runs while an error unwinds, too).
void RestoreJournal::End() {
    if (depth_ == 0) return;
    if (depth_ == 1) {
        try {
            Finish();
        } catch (...) {
        }
    }
    --depth_;
}

void RestoreJournal::FlushRegistry() {
    for (const auto& [root, path] : hives_) {
        HKEY key = root;
        LONG rc = path.empty() ? ERROR_SUCCESS
                               : inner_.RegOpenKeyExA(root, path.c_str(), KEY_ALL_ACCESS, &key);
        if (rc == ERROR_SUCCESS) rc = inner_.RegFlushKey(key);
        if (key != root) inner_.RegCloseKey(key);
        if (rc != ERROR_SUCCESS)
            throw RegistryError("Unable to save " + regedit4::RootName(root) +
                                (path.empty() ? "" : "\\" + path) +
                                " to disk: the changes to the registry may be lost.");
    }
    hives_.clear();
}

void RestoreJournal::Changed(const KeyName& key) {
    if (!Recording() || !key.root) return;
    std::string hive;
    if (key.root == HKEY_USERS) hive = SplitAt(key.path, '\\').front();
    hives_.insert({key.root, hive});
}

bool RestoreJournal::Settled(const std::string& path, bool flush,
                             const std::optional<std::vector<BYTE>>& bytes) {
    // A file another program holds open (a virus scanner, say) cannot be opened to flush it;
    // what was written stands, read back whole.
    if (flush && bytes && !inner_.FlushFile(path.c_str()) &&
        inner_.GetLastError() != static_cast<DWORD>(ERROR_SHARING_VIOLATION))
        return false;
    NoteAfter(path, bytes);
    return true;
}

void RestoreJournal::NoteAfter(const std::string& path,
                               const std::optional<std::vector<BYTE>>& bytes) {
    if (!Recording()) return;
    std::string full = AbsolutePath(path);
    auto entry = std::find_if(paths_.rbegin(), paths_.rend(),
                              [&](const PathBefore& p) { return EqualNoCase(p.path, full); });
    if (entry == paths_.rend() || entry->kind == PathBefore::Folder) return;
    entry->after = bytes ? PathBefore::After::Written : PathBefore::After::Missing;
    entry->afterSize = bytes ? static_cast<DWORD>(bytes->size()) : 0;
    entry->afterChecksum = bytes ? Checksum(std::string(bytes->begin(), bytes->end())) : 0;
    // Written into the point with its next entry or when the pass ends. Until then a "keep"
    // finds the file neither as before nor as noted and puts it back as it was: whole too.
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

}  // namespace

bool RestoreJournal::SaveValue(const KeyName& key, const std::string& name) {
    std::string keyId = KeyId(key.root, key.path);
    std::string id = keyId + "|" + ToUpper(name);
    if (!key.root || saved_.count(id)) return false;
    for (const KeyBefore& k : keys_)
        if (!k.existed && Within(keyId, KeyId(k.key.root, k.key.path))) return false;
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
    return true;
}

LONG RestoreJournal::DroppedValue(LONG rc, bool added, HKEY key, const char* name) {
    if (rc == ERROR_SUCCESS || !added || ReadValue(inner_, key, name) != values_.back().data)
        return rc;
    KeyName where = Locate(key, nullptr);
    saved_.erase(KeyId(where.root, where.path) + "|" + ToUpper(name ? name : ""));
    values_.pop_back();
    try {
        WriteRegistry();
    } catch (const RestorePointError&) {
        // The entry stays; putting back a value that did not change changes nothing.
    }
    return rc;
}

void RestoreJournal::SaveCreatedKeys(const KeyName& key) {
    if (!key.root) return;
    std::string prefix;
    for (const std::string& part : SplitAt(key.path, '\\')) {
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
    if (p.size() >= 2 && p[1] == ':') return NormalisedPath(p);
    char current[1024] = "";
    inner_.GetCurrentDirectoryA(sizeof current, current);
    std::string dir = current;
    if (!p.empty() && p[0] == '\\') return NormalisedPath(dir.substr(0, 2) + p);
    return NormalisedPath(TrimTrailing(dir, '\\') + "\\" + p);
}

std::string RestoreJournal::ProfilePath(const char* fileName) {
    std::string name = fileName ? fileName : "win.ini";
    if (NamesAFolder(name)) return AbsolutePath(name);
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
        auto bytes = ReadOnDisk(inner_, full);
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
    for (const std::string* copy : {&entry->copy, &entry->afterCopy})
        if (!copy->empty()) inner_.DeleteFileA((pointDir_ + "\\" + *copy).c_str());
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
    Changed(name);
    LONG rc = inner_.RegCreateKeyExA(key, subKey, sam, result);
    Track(rc, result, name);
    return rc;
}

// A value read back otherwise than written was lost on its way (ERROR_WRITE_FAULT).
LONG RestoreJournal::RegSetValueExA(HKEY key, const char* name, DWORD type, const BYTE* data,
                                    DWORD size) {
    if (!Recording() || !data) return inner_.RegSetValueExA(key, name, type, data, size);
    std::vector<BYTE> stored(data, data + size);
    if (type == REG_SZ) {
        auto nul = std::find(stored.begin(), stored.end(), 0);
        if (nul != stored.end()) stored.erase(nul + 1, stored.end());
    }
    const regedit4::Data written{type, stored};
    bool added = ReadValue(inner_, key, name) != written &&
                 SaveValue(Locate(key, nullptr), name ? name : "");
    Changed(Locate(key, nullptr));
    LONG rc = inner_.RegSetValueExA(key, name, type, data, size);
    if (rc == ERROR_SUCCESS && ReadValue(inner_, key, name) != written) return ERROR_WRITE_FAULT;
    return DroppedValue(rc, added, key, name);
}

LONG RestoreJournal::RegDeleteValueA(HKEY key, const char* name) {
    if (!Recording()) return inner_.RegDeleteValueA(key, name);
    bool added = ReadValue(inner_, key, name) && SaveValue(Locate(key, nullptr), name ? name : "");
    Changed(Locate(key, nullptr));
    LONG rc = inner_.RegDeleteValueA(key, name);
    if (rc == ERROR_SUCCESS && ReadValue(inner_, key, name)) return ERROR_WRITE_FAULT;
    return DroppedValue(rc, added, key, name);
}

LONG RestoreJournal::RegDeleteKeyA(HKEY key, const char* subKey) {
    if (Recording()) SaveTree(Locate(key, subKey));
    Changed(Locate(key, subKey));
    return inner_.RegDeleteKeyA(key, subKey);
}

LONG RestoreJournal::RegCloseKey(HKEY key) {
    handles_.erase(key);
    return inner_.RegCloseKey(key);
}

// On disk the change is checked whole: a full disk lets Windows cut the file short and
// still answer success. A change that reached the file half stays in the point.
BOOL RestoreJournal::WritePrivateProfileStringA(const char* section, const char* key,
                                                const char* value, const char* fileName) {
    if (!section) return inner_.WritePrivateProfileStringA(section, key, value, fileName);
    const std::string path = ProfilePath(fileName);
    bool added = false;
    if (Recording()) {
        std::vector<char> now(32768);
        const char* missing = "\x01missing\x01";
        DWORD length = inner_.GetPrivateProfileStringA(section, key, missing, now.data(),
                                                       static_cast<DWORD>(now.size()), fileName);
        std::string current(now.data(), key ? std::strlen(now.data()) : length);
        bool same = key ? (value ? current == value : current == missing) : current.empty();
        added = !same && SavePath(PathBefore::File, path);
    }
    std::optional<std::vector<BYTE>> before = ReadOnDisk(inner_, path);
    BOOL ok = inner_.WritePrivateProfileStringA(section, key, value, fileName);
    std::optional<std::vector<BYTE>> after = ReadOnDisk(inner_, path);
    if (!ok) return Dropped(ok, added && after == before, path);
    auto text = [](const std::optional<std::vector<BYTE>>& bytes) {
        return bytes ? std::string(bytes->begin(), bytes->end()) : std::string();
    };
    // Not noted as the pass left it: a "keep" finds it neither so nor as before.
    if (!ProfileWriteLanded(text(before), text(after), section, key, value)) return FALSE;
    return after == before || Settled(path, true, after);
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
    BOOL ok = inner_.DeleteFileA(path);
    if (ok) NoteAfter(path, std::nullopt);
    return Dropped(ok, added, path ? path : "");
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
    bool added =
        Recording() && from && to && !(failIfExists && Exists(inner_, to)) &&
        ReadAll(inner_, from, limits::kManagedFile) != ReadAll(inner_, to, limits::kManagedFile) &&
        SavePath(PathBefore::File, to);
    BOOL ok = inner_.CopyFileA(from, to, failIfExists);
    if (ok) return Settled(to, true, ReadAll(inner_, to, limits::kManagedFile));
    return Dropped(ok, added, to ? to : "");
}

// What the write is about to leave is in the point before it begins: a cut in the middle
// leaves a start of it, which the next start recognises and completes or puts back.
BOOL RestoreJournal::WriteFileBytes(const char* path, const std::vector<BYTE>& bytes) {
    failedWith_.reset();
    if (!Recording() || !path) return inner_.WriteFileBytes(path, bytes);
    std::optional<std::vector<BYTE>> prior = ReadAll(inner_, path, limits::kManagedFile);
    bool added = prior != bytes && SavePath(PathBefore::File, path);
    if (prior != bytes) NoteIntent(path, bytes);
    BOOL ok = inner_.WriteFileBytes(path, bytes);
    if (ok) return Settled(path, false, bytes);  // written and flushed whole
    // Refused before it wrote anything: nothing to put back, and the point notes the file as
    // it still is. Cut short: the point keeps it, noted as the write would have left it.
    const DWORD error = inner_.GetLastError();
    const bool unchanged = ReadAll(inner_, path, limits::kManagedFile) == prior;
    Dropped(ok, added && unchanged, path);
    if (unchanged && !added && prior && prior != bytes) {
        try {
            NoteIntent(path, *prior);
        } catch (const RestorePointError&) {
            // The note stays as it was: the file is found neither so nor as before, and put
            // back as it was before the pass.
        }
    }
    failedWith_ = error;
    return FALSE;
}

DWORD RestoreJournal::GetLastError() {
    if (!failedWith_) return inner_.GetLastError();
    const DWORD error = *failedWith_;
    failedWith_.reset();
    return error;
}

void RestoreJournal::NoteIntent(const std::string& path, const std::vector<BYTE>& bytes) {
    std::string full = AbsolutePath(path);
    auto entry = std::find_if(paths_.begin(), paths_.end(),
                              [&](const PathBefore& p) { return EqualNoCase(p.path, full); });
    if (entry == paths_.end() || entry->kind == PathBefore::Folder) return;
    if (entry->afterCopy.empty())
        entry->afterCopy = std::to_string(entry - paths_.begin() + 1) + "a " + BaseName(full);
    const std::string copy = pointDir_ + "\\" + entry->afterCopy;
    if (!inner_.WriteFileBytes(copy.c_str(), bytes)) Unwritable(copy);
    entry->after = PathBefore::After::Written;
    entry->afterSize = static_cast<DWORD>(bytes.size());
    entry->afterChecksum = Checksum(std::string(bytes.begin(), bytes.end()));
    WriteFiles();
}

BOOL RestoreJournal::LZCopyFileA(const char* from, const char* to) {
    bool added = Recording() && to && SavePath(PathBefore::File, to);
    BOOL ok = inner_.LZCopyFileA(from, to);
    if (ok) return Settled(to, true, ReadAll(inner_, to, limits::kManagedFile));
    return Dropped(ok, added, to ? to : "");
}

BOOL RestoreJournal::CreateShellLink(const char* target, const char* linkFile,
                                     const char* workingDirectory) {
    bool added = Recording() && linkFile && SavePath(PathBefore::Shortcut, linkFile);
    BOOL ok = inner_.CreateShellLink(target, linkFile, workingDirectory);
    if (ok) return Settled(linkFile, true, ReadAll(inner_, linkFile, limits::kManagedFile));
    return Dropped(ok, added, linkFile ? linkFile : "");
}

}  // namespace vt
