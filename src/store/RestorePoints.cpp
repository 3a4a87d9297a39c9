#include "store/RestorePoints.h"

#include "store/ConfigDat.h"
#include "platform/NoCase.h"
#include "store/Paths.h"
#include "store/Regedit4.h"
#include "store/RestorePointFiles.h"
#include "store/StoreError.h"
#include "store/TRegistry.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace vt {

using namespace pointfiles;

namespace {

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
        auto bytes = ReadAll(sys, pointDir + "\\" + entry.copy, limits::kManagedFile);
        // Already as saved (a write the pass tried and was refused): nothing to do.
        DWORD now = sys.GetFileAttributesA(entry.path.c_str());
        if (bytes && now != INVALID_FILE_ATTRIBUTES &&
            (now & kProtection) == (entry.attributes & kProtection) &&
            ReadAll(sys, entry.path, limits::kManagedFile) == bytes)
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

struct PointContents {
    std::vector<regedit4::Section> sections;
    FilesList files;
};

// Everything of the point, checked whole; throws RestorePointDamaged naming each fault.
PointContents LoadPoint(Platform& sys, const std::string& dir, const ManagedScope& scope) {
    std::vector<std::string> faults;
    PointContents point;
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
        auto bytes = ReadAll(sys, copy, limits::kManagedFile);
        if (!bytes)
            faults.push_back(copy + WhyUnread(sys));
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
            for (const PathBefore& entry : ReadFilesText(*index).paths)
                if (PlainName(entry.copy)) sys.DeleteFileA((dir + "\\" + entry.copy).c_str());
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
    std::vector<PathBefore> cutOff;
    try {
        list = LoadPoint(sys, dir, scope).files;
        for (const PathBefore& entry : list.paths)
            if (!IsWhole(sys, entry)) cutOff.push_back(entry);
    } catch (const RestorePointDamaged&) {
        // Nothing can be put back from it: the files stay as they are.
        auto text = ReadSealed(sys, index, limits::kPointFile);
        if (!text) return report;
        list = ReadFilesText(*text);
    }
    PutBack(sys, scope, dir, cutOff, report);
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
