#include "store/RestorePoints.h"

#include "store/ConfigDat.h"
#include "store/FileLimits.h"
#include "platform/NoCase.h"
#include "store/Paths.h"
#include "store/ProfileText.h"
#include "store/Regedit4.h"
#include "store/RestorePointFiles.h"
#include "store/StoreError.h"
#include "store/TIniFile.h"
#include "store/TRegistry.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <map>
#include <set>

namespace vt {

using namespace pointfiles;

namespace {

// --- What the program manages ------------------------------------------------------------

// The file types the right-click page offers, with their dots.
const char* const kRightClickExtensions[] = {".avi", ".bat", ".bmp", ".doc", ".gif", ".html",
                                             ".ico", ".ini", ".jpg", ".mov", ".mp3", ".dat",
                                             ".pcx", ".reg", ".txt", ".wav", ".wri", ".zip"};

std::string Classes(const std::string& path) {
    return std::string(kClasses) + "\\" + path;
}

bool NoShellVerb(const std::string& name) {
    return !IsShellVerb(name);
}

// The right-click page's keys: each extension's file type when it has none (the page's own,
// ".zipfiles"), and the entries' verbs below the type the extension names or the page's own.
std::vector<ManagedKey> RightClickKeys(Platform& sys) {
    std::vector<ManagedKey> keys;
    for (const char* ext : kRightClickExtensions) {
        const std::string own = std::string(ext) + "files";
        ManagedKey extension = MadeKey(HKEY_LOCAL_MACHINE, Classes(ext), {""});
        extension.onlyText = own;
        keys.push_back(extension);
        std::vector<std::string> types = {own};
        TRegistry reg(sys);
        reg.SelectRoot(HKEY_CLASSES_ROOT);
        if (reg.OpenPath(ext, false) && reg.ValueType("") == REG_SZ) {
            try {
                std::string type = reg.ReadText("");
                if (!type.empty() && CodePage::Machine().Find(type, '\\') == std::string::npos &&
                    type != "." && type != ".." && !EqualNoCase(type, own))
                    types.push_back(type);
            } catch (const StoreError&) {
            }
        }
        for (const std::string& type : types) {
            ManagedKey verbs = WholeKey(HKEY_LOCAL_MACHINE, Classes(type + "\\Shell\\*"), true);
            verbs.allowed = NoShellVerb;
            keys.push_back(verbs);
        }
    }
    return keys;
}

std::vector<std::string> Parts(const std::string& path) {
    return path.empty() ? std::vector<std::string>{} : SplitAt(path, '\\');
}

// The first parts of `path` are the key's, as many as both have.
bool SharesStart(const std::vector<std::string>& path, const ManagedKey& key,
                 const std::vector<std::string>& pattern) {
    for (std::size_t i = 0; i < std::min(path.size(), pattern.size()); ++i) {
        if (pattern[i] != "*") {
            if (!EqualNoCase(path[i], pattern[i])) return false;
        } else if (key.allowed && !key.allowed(path[i])) {
            return false;
        }
    }
    return true;
}

// The managed keys of a machine, and what they allow.
class Managed {
  public:
    Managed(Platform& sys, const ManagedStores& stores) : keys_(stores.Keys()) {
        std::vector<ManagedKey> rightClick = RightClickKeys(sys);
        keys_.insert(keys_.end(), rightClick.begin(), rightClick.end());
    }

    // The managed key it is; none.
    const ManagedKey* Key(HKEY root, const std::string& path) const {
        std::vector<std::string> parts = Parts(path);
        for (const ManagedKey& key : keys_) {
            std::vector<std::string> pattern = Parts(key.path);
            if (key.root == root && parts.size() == pattern.size() &&
                SharesStart(parts, key, pattern))
                return &key;
        }
        return nullptr;
    }
    // The key is one the program deletes whole, or lies below one; `made`: one it also makes.
    bool InWhole(HKEY root, const std::string& path, bool made = false) const {
        return Any(root, path, [&](const ManagedKey& key, std::size_t parts, std::size_t depth) {
            return key.whole && (key.made || !made) && parts >= depth;
        });
    }
    // A managed key lies below it.
    bool Above(HKEY root, const std::string& path, bool made = false) const {
        return Any(root, path, [&](const ManagedKey& key, std::size_t parts, std::size_t depth) {
            return (key.made || !made) && parts < depth;
        });
    }
    // A key the program writes, deletes, or opens on the way to one.
    bool Knows(HKEY root, const std::string& path) const {
        return Key(root, path) || InWhole(root, path) || Above(root, path);
    }
    // A key the program may have made: a [-key] of a point's may remove it.
    bool Makes(HKEY root, const std::string& path) const {
        const ManagedKey* key = Key(root, path);
        return (key && key->made) || InWhole(root, path, true) || Above(root, path, true);
    }
    bool WritesValue(HKEY root, const std::string& path, const std::string& name) const {
        if (InWhole(root, path)) return true;
        const ManagedKey* key = Key(root, path);
        return key && std::any_of(key->values.begin(), key->values.end(),
                                  [&](const std::string& v) { return EqualNoCase(v, name); });
    }
    // Why the entry cannot go back; nothing when it can.
    std::optional<std::string> RefuseEntry(HKEY root, const std::string& path,
                                           const regedit4::Entry& entry,
                                           const std::string& shown) const {
        const std::string value =
            entry.name.empty() ? "the default value" : "the value \"" + entry.name + "\"";
        if (!WritesValue(root, path, entry.name))
            return shown + ": " + value + " is not one Veltrim 2000 writes.";
        const ManagedKey* key = InWhole(root, path) ? nullptr : Key(root, path);
        if (!key || key->onlyText.empty() || !entry.data) return std::nullopt;
        const std::vector<BYTE>& bytes = entry.data->bytes;
        if (entry.data->type == REG_SZ && !bytes.empty() && bytes.back() == 0 &&
            EqualNoCase(std::string(bytes.begin(), bytes.end() - 1), key->onlyText))
            return std::nullopt;
        return shown + ": " + value + " is only ever set to \"" + key->onlyText +
               "\" by Veltrim 2000.";
    }
    // The first thing the key holds that the program does not write, by its name; nothing
    // when it holds only what the program writes (or is not there).
    std::optional<std::string> Foreign(Platform& sys, HKEY root, const std::string& path) const {
        HKEY key = 0;
        if (sys.RegOpenKeyExA(root, path.c_str(), KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
            return std::nullopt;
        std::optional<std::string> found;
        std::vector<char> name(16384);
        for (DWORD i = 0; !found; ++i) {
            DWORD size = static_cast<DWORD>(name.size()), type = 0, dataSize = 0;
            if (sys.RegEnumValueA(key, i, name.data(), &size, &type, nullptr, &dataSize) !=
                ERROR_SUCCESS)
                break;
            std::string value(name.data(), size);
            if (!WritesValue(root, path, value))
                found = path + (value.empty() ? " (its default value)" : " \"" + value + "\"");
        }
        std::vector<std::string> children;
        for (DWORD i = 0; !found; ++i) {
            DWORD size = static_cast<DWORD>(name.size());
            if (sys.RegEnumKeyExA(key, i, name.data(), &size) != ERROR_SUCCESS) break;
            children.emplace_back(name.data(), size);
        }
        if (!IsRoot(key)) sys.RegCloseKey(key);
        for (const std::string& child : children) {
            if (found) break;
            const std::string below = path + "\\" + child;
            if (InWhole(root, below)) continue;
            found = Knows(root, below) ? Foreign(sys, root, below) : below;
        }
        return found;
    }

  private:
    // Whether `test(key, parts of the path, parts of the key)` holds for a managed key of the
    // root whose parts agree with the path's as far as both go.
    template <typename Test>
    bool Any(HKEY root, const std::string& path, Test test) const {
        std::vector<std::string> parts = Parts(path);
        for (const ManagedKey& key : keys_) {
            std::vector<std::string> pattern = Parts(key.path);
            if (key.root == root && test(key, parts.size(), pattern.size()) &&
                SharesStart(parts, key, pattern))
                return true;
        }
        return false;
    }

    std::vector<ManagedKey> keys_;
};

// HKEY_CLASSES_ROOT named as the key it is.
std::pair<HKEY, std::string> Canonical(HKEY root, const std::string& path) {
    if (root == HKEY_CLASSES_ROOT) return {HKEY_LOCAL_MACHINE, JoinKey(kClasses, path.c_str())};
    return {root, path};
}

bool HasPathParts(const std::string& path) {
    for (const std::string& part : SplitAt(path, '\\'))
        if (part.empty() || part == "." || part == "..") return true;
    return false;
}

// Why the program would not have written this section of a point; nothing when it would.
std::vector<std::string> Refusals(Platform& sys, const Managed& managed,
                                  const regedit4::Section& section) {
    const std::string shown = regedit4::RootName(section.root) + "\\" + section.path;
    auto [root, path] = Canonical(section.root, section.path);
    if (path.empty() || HasPathParts(path) || !managed.Knows(root, path))
        return {shown + " is not a key Veltrim 2000 manages."};
    if (section.remove) {
        if (!managed.Makes(root, path))
            return {shown +
                    " is never made by Veltrim 2000, so a restore point does not "
                    "remove it."};
        if (auto foreign = managed.Foreign(sys, root, path))
            return {shown + " holds what Veltrim 2000 does not write (" + regedit4::RootName(root) +
                    "\\" + *foreign + "), so a restore point does not remove it."};
        return {};
    }
    std::vector<std::string> refusals;
    for (const regedit4::Entry& entry : section.entries)
        if (auto refusal = managed.RefuseEntry(root, path, entry, shown))
            refusals.push_back(*refusal);
    return refusals;
}

// --- Files ---------------------------------------------------------------------------------

// A key of an INI file the program writes: "SECTION\nKEY", upper case.
using IniKeys = std::vector<std::string>;

// A file, shortcut or folder the program writes.
struct ManagedPath {
    std::string path;
    bool folder = false;
    bool made = false;  // the program creates it, so a point may delete it again
    IniKeys ini = {};   // a profile file the program writes key by key: the keys it writes
};

std::vector<ManagedPath> ManagedPaths(const ManagedScope& scope) {
    const std::string windows = TrimTrailing(scope.windowsDir, '\\'),
                      program = TrimTrailing(scope.programDir, '\\');
    auto file = [&](std::string path, bool made) {
        IniKeys ini = scope.stores.IniKeysOf(path, windows);
        return ManagedPath{std::move(path), false, made, std::move(ini)};
    };
    // Files that came with Windows: put back as saved, never deleted.
    std::vector<ManagedPath> paths = {file(kMsdosSys, false)};
    if (!windows.empty()) {
        paths.push_back(file(windows + "\\SYSTEM.INI", false));
        paths.push_back(file(windows + "\\system\\oeminfo.ini", true));
        paths.push_back({windows + "\\system\\oemlogo.bmp", false, true});
    }
    for (const ShellFolders& where : {scope.folders, ShellFolders::BelowWindows(windows)}) {
        std::vector<std::string> made = where.GroupLinks();
        made.push_back(where.DesktopLink());
        made.push_back(where.QuickLaunchLink());
        for (const std::string& file : made)
            if (!file.empty()) paths.push_back({file, false, true});
        for (const std::string& folder :
             {where.Group(), where.ControlPanelFolder(), where.RecycleBinFolder()})
            if (!folder.empty()) paths.push_back({folder, true, true});
    }
    if (!program.empty())
        for (const char* name : {ConfigDat::kFileName, ConfigDat::kSpareName, "\\data.ini"})
            paths.push_back({program + name, false, true});
    return paths;
}

std::optional<ManagedPath> ManagedPathOf(const ManagedScope& scope, const std::string& path) {
    if (path.find('/') != std::string::npos || HasPathParts(path)) return std::nullopt;
    for (const ManagedPath& managed : ManagedPaths(scope))
        if (EqualNoCase(path, managed.path)) return managed;
    return std::nullopt;
}

// Why a file line of a point cannot go back; nothing when it can.
std::optional<std::string> RefusePath(const ManagedScope& scope, const PathBefore& entry) {
    std::optional<ManagedPath> managed = ManagedPathOf(scope, entry.path);
    if (!managed) return entry.path + " is not a file Veltrim 2000 manages.";
    if (managed->folder != (entry.kind == PathBefore::Folder))
        return entry.path + " is listed as a " + (managed->folder ? "file" : "folder") +
               ", which it is not.";
    if (!entry.existed && !managed->made)
        return entry.path +
               " is never made by Veltrim 2000, so a restore point does not delete it.";
    return std::nullopt;
}

// --- Putting back ----------------------------------------------------------------------

// A key to remove holds only what the program writes (LoadPoint saw to it): it goes whole.
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
    DWORD attributes = sys.GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & kProtection))
        sys.SetFileAttributesA(path.c_str(), attributes & ~kProtection);
}

// Config.DAT goes back through its spare, as the program writes it: cut off in the middle,
// the file is short and the spare whole, and the next start reads the spare.
bool WriteBack(Platform& sys, const ManagedScope& scope, const std::string& path,
               const std::vector<BYTE>& bytes) {
    const std::string program = TrimTrailing(scope.programDir, '\\');
    if (!program.empty() && EqualNoCase(path, program + ConfigDat::kFileName))
        return WriteConfigBytes(sys, program, bytes);
    return sys.WriteFileBytes(path.c_str(), bytes) != FALSE;
}

std::string Text(const std::optional<std::vector<BYTE>>& bytes) {
    return bytes ? std::string(bytes->begin(), bytes->end()) : std::string();
}

// `base` with each key the pass changed (from `before` to `written`) set back to its value
// in `before`, or removed where `before` had none; every other line as `base` has it. Only
// keys the program writes go back.
std::string WithKeysPutBack(std::string base, const std::string& before, const std::string& written,
                            const IniKeys& managed) {
    const std::map<std::string, IniKeyValue> was = ProfileKeys(before),
                                             wrote = ProfileKeys(written);
    std::set<std::string> ids;
    for (const auto* side : {&was, &wrote})
        for (const auto& [id, _] : *side) ids.insert(id);
    for (const std::string& id : ids) {
        if (std::find(managed.begin(), managed.end(), id) == managed.end()) continue;
        auto old = was.find(id), changed = wrote.find(id);
        if (old != was.end() && changed != wrote.end() &&
            old->second.value == changed->second.value)
            continue;
        if (old != was.end())
            base = EditedProfile(base, old->second.section, old->second.key.c_str(),
                                 old->second.value.c_str());
        else
            base =
                EditedProfile(base, changed->second.section, changed->second.key.c_str(), nullptr);
    }
    return base;
}

// The file as it stands, or the whole version a cut write of the program's (the pass's, or
// an earlier try of this Undo's) left a start of.
std::optional<std::vector<BYTE>> WholeNow(Platform& sys, const std::string& pointDir,
                                          const PathBefore& entry,
                                          const std::optional<std::vector<BYTE>>& before,
                                          const std::optional<std::vector<BYTE>>& written) {
    std::optional<std::vector<BYTE>> now = ReadOnDisk(sys, entry.path);
    if (!entry.copy.empty())
        if (auto undo =
                ReadSealed(sys, pointDir + "\\" + UndoCopyName(entry), limits::kManagedFile)) {
            std::vector<BYTE> becoming(undo->begin(), undo->end());
            if (now == becoming || WholeVersionOfCut(now, std::nullopt, becoming)) return becoming;
        }
    if (auto whole = WholeVersionOfCut(now, before, written)) return whole;
    return now;
}

// A profile file the program writes key by key, there before the pass and there now: the
// keys the pass changed go back and every other line stays as it is now, whoever wrote it.
// What the Undo will write is saved in the point first. False when it could not be written.
bool PutBackKeys(Platform& sys, const std::string& pointDir, const PathBefore& entry,
                 const IniKeys& managed, const std::vector<BYTE>& before,
                 const std::vector<BYTE>& now, const std::optional<std::vector<BYTE>>& written) {
    std::string target =
        WithKeysPutBack(Text(now), Text(before), Text(written ? written : now), managed);
    if (EqualNoCase(entry.path, kMsdosSys) && target != Text(now) && now.size() >= kBootFileMinimum)
        target = PaddedBootFile(target);
    DWORD attributes = sys.GetFileAttributesA(entry.path.c_str());
    const bool protectedAsBefore = attributes != INVALID_FILE_ATTRIBUTES &&
                                   (attributes & kProtection) == (entry.attributes & kProtection);
    if (target == Text(ReadOnDisk(sys, entry.path)) && protectedAsBefore) return true;
    if (!WriteSealed(sys, pointDir + "\\" + UndoCopyName(entry), target)) return false;
    Writable(sys, entry.path);
    return sys.WriteFileBytes(entry.path.c_str(),
                              std::vector<BYTE>(target.begin(), target.end())) &&
           SetAttributesReadOnlyLast(sys, entry.path, entry.attributes);
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
            FlushProfileCache(sys, entry.path);  // or the cache would make it again
            if (!Exists(sys, entry.path)) continue;
            Writable(sys, entry.path);
            if (!sys.DeleteFileA(entry.path.c_str())) report.failures.push_back(entry.path);
            continue;
        }
        auto bytes = ReadAll(sys, pointDir + "\\" + entry.copy, limits::kManagedFile);
        std::optional<ManagedPath> managed = ManagedPathOf(scope, entry.path);
        const std::optional<std::vector<BYTE>> written = AfterCopy(sys, pointDir, entry);
        std::optional<std::vector<BYTE>> now = WholeNow(sys, pointDir, entry, bytes, written);
        // Changed since by someone else: only the pass's keys go back. As the pass left it:
        // the copy goes back whole.
        if (bytes && now && managed && !managed->ini.empty() && now != written) {
            if (PutBackKeys(sys, pointDir, entry, managed->ini, *bytes, *now, written))
                report.filesPutBack.push_back(entry.path);
            else
                report.failures.push_back(entry.path);
            continue;
        }
        // Already as saved (a write the pass tried and was refused): nothing to do.
        DWORD attributes = sys.GetFileAttributesA(entry.path.c_str());
        if (bytes && attributes != INVALID_FILE_ATTRIBUTES &&
            (attributes & kProtection) == (entry.attributes & kProtection) &&
            ReadOnDisk(sys, entry.path) == bytes)
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

// What a pass cut off left of a file, made whole: a file the pass's own write was cut off
// in the middle of goes back as it was before the pass; a file another program changed since
// stays as it is. Each one put back is named in `report`.
void MakeWhole(Platform& sys, const ManagedScope& scope, const std::string& pointDir,
               const PathBefore& entry, UndoReport& report) {
    if (entry.kind == PathBefore::Folder || IsWhole(sys, entry)) return;
    std::optional<ManagedPath> managed = ManagedPathOf(scope, entry.path);
    std::optional<std::vector<BYTE>> now = ReadOnDisk(sys, entry.path);
    if (managed && !managed->ini.empty() && now) {
        std::optional<std::vector<BYTE>> before;
        if (entry.existed)
            before = ReadAll(sys, pointDir + "\\" + entry.copy, limits::kManagedFile);
        if (!WholeVersionOfCut(now, before, AfterCopy(sys, pointDir, entry))) return;
    }
    PutBack(sys, scope, pointDir, {entry}, report);
}

struct PointContents {
    std::vector<regedit4::Section> sections;
    FilesList files;
};

// Everything of the point, checked whole; throws RestorePointDamaged naming the point as
// listed and each fault.
PointContents LoadPoint(Platform& sys, const std::string& restoreDir, const std::string& name,
                        const ManagedScope& scope) {
    std::vector<std::string> faults;
    PointContents point;
    const std::string dir = restoreDir + "\\" + name;
    const std::string registry = dir + "\\" + kRegistryFile, files = dir + "\\" + kFilesFile;
    if (auto text = ReadSealed(sys, registry, limits::kPointFile)) {
        try {
            point.sections = regedit4::Read(*text);
        } catch (const std::invalid_argument& e) {
            faults.push_back(registry + ": " + e.what());
        }
    } else {
        faults.push_back(registry + " is missing or incomplete.");
    }
    if (auto text = ReadSealed(sys, files, limits::kPointFile)) {
        try {
            point.files = ReadFilesText(*text);
        } catch (const RestorePointDamaged& e) {
            faults.push_back(files + ": " + e.what());
        }
    } else {
        faults.push_back(files + " is missing or incomplete.");
    }
    const Managed managed(sys, scope.stores);
    for (const regedit4::Section& section : point.sections)
        for (std::string& refusal : Refusals(sys, managed, section))
            faults.push_back(std::move(refusal));
    for (const PathBefore& entry : point.files.paths) {
        if (auto refusal = RefusePath(scope, entry)) {
            faults.push_back(*refusal);
            continue;
        }
        if (entry.copy.empty()) continue;
        if (!PlainName(entry.copy)) {
            faults.push_back(entry.copy + " leads out of the restore point's folder.");
            continue;
        }
        const std::string copy = dir + "\\" + entry.copy;
        auto bytes = ReadAll(sys, copy, limits::kManagedFile);
        if (!bytes)
            faults.push_back(copy + WhyUnread(sys));
        else if (bytes->size() != entry.size ||
                 Checksum(std::string(bytes->begin(), bytes->end())) != entry.checksum)
            faults.push_back(copy + " is damaged: its size or checksum is not the one saved.");
    }
    if (!faults.empty()) {
        std::string message = "The restore point \"" + name + "\" cannot be used:";
        for (const std::string& fault : faults) message += "\n" + fault;
        throw RestorePointDamaged(message);
    }
    return point;
}

}  // namespace

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
    if (auto index = ReadSealed(sys, dir + "\\" + kFilesFile, limits::kPointFile)) {
        try {
            for (const PathBefore& entry : ReadFilesText(*index).paths) {
                for (const std::string& copy : {entry.copy, entry.afterCopy})
                    if (PlainName(copy)) sys.DeleteFileA((dir + "\\" + copy).c_str());
                if (PlainName(entry.copy)) DeleteSealed(sys, dir + "\\" + UndoCopyName(entry));
            }
        } catch (const RestorePointDamaged&) {
            // An unreadable list: the copies stay, and so does the folder.
        }
    }
    for (const char* file : {kRegistryFile, kFilesFile}) DeleteSealed(sys, dir + "\\" + file);
    sys.RemoveDirectoryA(dir.c_str());
}

// A list without its seal is no file of the program's: it stays.
void RemoveRestorePointList(Platform& sys, const std::string& restoreDir) {
    const std::string list = restoreDir + "\\" + kList;
    if (ListRestorePoints(sys, restoreDir).empty() && ReadSealed(sys, list, limits::kPointList))
        DeleteSealed(sys, list);
}

std::optional<UndoReport> UndoNewestRestorePoint(Platform& sys, const std::string& restoreDir,
                                                 const ManagedScope& scope) {
    std::vector<std::string> names = ListRestorePoints(sys, restoreDir);
    if (names.empty()) return std::nullopt;
    UndoReport report;
    report.point = names.back();
    const std::string dir = restoreDir + "\\" + report.point;
    PointContents point = LoadPoint(sys, restoreDir, report.point, scope);
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

std::optional<UnfinishedPoint> UnfinishedRestorePoint(Platform& sys,
                                                      const std::string& restoreDir) {
    std::vector<std::string> names = ListRestorePoints(sys, restoreDir);
    if (names.empty()) return std::nullopt;
    auto index =
        ReadSealed(sys, restoreDir + "\\" + names.back() + "\\" + kFilesFile, limits::kPointFile);
    if (!index) return std::nullopt;  // damaged: Undo says so
    try {
        PointState state = ReadFilesText(*index).state;
        if (state != PointState::Ended)
            return UnfinishedPoint{names.back(), state == PointState::Undoing};
    } catch (const RestorePointDamaged&) {
    }
    return std::nullopt;
}

UndoReport KeepUnfinishedRestorePoint(Platform& sys, const std::string& restoreDir,
                                      const std::string& name, const ManagedScope& scope) {
    UndoReport report;
    report.point = name;
    report.removed = false;
    const std::string dir = restoreDir + "\\" + name, index = dir + "\\" + kFilesFile;
    FilesList list;
    std::vector<PathBefore> usable;  // none from a damaged point
    try {
        list = LoadPoint(sys, restoreDir, name, scope).files;
        usable = list.paths;
    } catch (const RestorePointDamaged&) {
        // Nothing can be put back from it: the files stay as they are.
        auto text = ReadSealed(sys, index, limits::kPointFile);
        if (!text) return report;
        list = ReadFilesText(*text);
    }
    for (const PathBefore& entry : usable) MakeWhole(sys, scope, dir, entry, report);
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
    return report;
}

// --- What the program manages ------------------------------------------------------------

bool ManagedScope::ManagesFile(const std::string& path) const {
    return ManagedPathOf(*this, path).has_value();
}

std::vector<std::string> ManagedScope::Files() const {
    std::vector<std::string> files;
    for (const ManagedPath& managed : ManagedPaths(*this))
        if (!managed.folder) files.push_back(managed.path);
    return files;
}

ManagedScope TakeManagedScope(Platform& sys, const std::string& programDir,
                              const ManagedStores& stores) {
    const std::string windows = TakeWindowsDir(sys);
    return {windows, programDir, TakeShellFolders(sys, windows), stores};
}

bool IsShellVerb(const std::string& name) {
    for (const char* verb : {"open", "opennew", "openas", "explore", "find", "print", "printto",
                             "properties", "runas", "edit"})
        if (EqualNoCase(name, verb)) return true;
    return false;
}

}  // namespace vt
