#include "app/ChangeLog.h"

#include "platform/NoCase.h"
#include "store/ProfileText.h"
#include "store/Regedit4.h"
#include "store/RestorePointFiles.h"

#include <optional>

namespace vt {
namespace {

constexpr const char* kMissing = "(missing)";

std::string Shown(const std::optional<regedit4::Data>& data) {
    return data ? regedit4::Notation(*data) : kMissing;
}

std::optional<regedit4::Data> ValueNow(Platform& sys, HKEY root, const std::string& path,
                                       const std::string& name) {
    HKEY key = 0;
    if (sys.RegOpenKeyExA(root, path.c_str(), KEY_READ, &key) != ERROR_SUCCESS) return std::nullopt;
    std::optional<regedit4::Data> found = pointfiles::ReadValue(sys, key, name.c_str());
    sys.RegCloseKey(key);
    return found;
}

// A registry value: its key below the root and its name.
struct Target {
    std::string path;
    std::string name;
};

// Every value of the key and of the keys below it, as they are now.
void ValuesBelow(Platform& sys, HKEY root, const std::string& path, std::vector<Target>& out) {
    HKEY key = 0;
    if (sys.RegOpenKeyExA(root, path.c_str(), KEY_READ, &key) != ERROR_SUCCESS) return;
    char name[256];
    for (DWORD index = 0;; ++index) {
        DWORD size = sizeof name;
        if (sys.RegEnumValueA(key, index, name, &size, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        out.push_back({path, std::string(name, size)});
    }
    std::vector<std::string> children;
    for (DWORD index = 0;; ++index) {
        DWORD size = sizeof name;
        if (sys.RegEnumKeyExA(key, index, name, &size) != ERROR_SUCCESS) break;
        children.emplace_back(name, size);
    }
    sys.RegCloseKey(key);
    for (const std::string& child : children) ValuesBelow(sys, root, path + "\\" + child, out);
}

// The values a section of a point names: those it puts back, or for a key the pass made,
// every value in it now.
std::vector<Target> TargetsOf(Platform& sys, const regedit4::Section& section) {
    std::vector<Target> targets;
    if (section.remove) ValuesBelow(sys, section.root, section.path, targets);
    for (const regedit4::Entry& entry : section.entries)
        targets.push_back({section.path, entry.name});
    return targets;
}

std::string ValueId(HKEY root, const Target& target) {
    return regedit4::RootName(root) + "\\" + target.path + "\\" +
           (target.name.empty() ? "(Default)" : target.name);
}

std::vector<regedit4::Section> RegistryOf(Platform& sys, const std::string& pointDir) {
    auto text = pointfiles::ReadSealed(sys, pointDir + "\\" + pointfiles::kRegistryFile,
                                       limits::kPointFile);
    if (!text) return {};
    try {
        return regedit4::Read(*text);
    } catch (const std::exception&) {
        return {};
    }
}

std::vector<PathBefore> FilesOf(Platform& sys, const std::string& pointDir) {
    auto text =
        pointfiles::ReadSealed(sys, pointDir + "\\" + pointfiles::kFilesFile, limits::kPointFile);
    if (!text) return {};
    try {
        return pointfiles::ReadFilesText(*text).paths;
    } catch (const std::exception&) {
        return {};
    }
}

// An INI text's values by "[section] key"; other files by their path alone.
void AddFile(StoredValues& values, const std::string& path,
             const std::optional<std::string>& text) {
    bool ini = path.size() > 4 && (path.ends_with(".SYS") || path.ends_with(".sys") ||
                                   path.ends_with(".INI") || path.ends_with(".ini"));
    if (!ini || !text) {
        values[path] = FileShown(path, text);
        return;
    }
    for (auto& [id, value] : ProfileValues(path, *text)) values[id] = value;
}

std::optional<std::string> Text(Platform& sys, const std::string& path) {
    auto bytes = pointfiles::ReadOnDisk(sys, path);
    if (!bytes) return std::nullopt;
    return std::string(bytes->begin(), bytes->end());
}

}  // namespace

std::string FileShown(const std::string& path, const std::optional<std::string>& bytes) {
    if (!bytes) return kMissing;
    if (ToLower(path).ends_with(".lnk")) return "shortcut";
    return std::to_string(bytes->size()) + " bytes, checksum " +
           pointfiles::Hex(pointfiles::Checksum(*bytes));
}

StoredValues ValuesInPoint(Platform& sys, const std::string& pointDir) {
    StoredValues values;
    for (const regedit4::Section& section : RegistryOf(sys, pointDir)) {
        for (const Target& target : TargetsOf(sys, section))
            values[ValueId(section.root, target)] = kMissing;
        for (const regedit4::Entry& entry : section.entries)
            values[ValueId(section.root, {section.path, entry.name})] = Shown(entry.data);
    }
    for (const PathBefore& file : FilesOf(sys, pointDir)) {
        if (file.kind == PathBefore::Folder)
            values[file.path] = file.existed ? kFolderShown : kMissing;
        else
            AddFile(values, file.path,
                    file.existed ? Text(sys, pointDir + "\\" + file.copy) : std::nullopt);
    }
    return values;
}

StoredValues ValuesNow(Platform& sys, const std::string& pointDir) {
    StoredValues values;
    for (const regedit4::Section& section : RegistryOf(sys, pointDir))
        for (const Target& target : TargetsOf(sys, section))
            values[ValueId(section.root, target)] =
                Shown(ValueNow(sys, section.root, target.path, target.name));
    for (const PathBefore& file : FilesOf(sys, pointDir)) {
        const DWORD attributes = sys.GetFileAttributesA(file.path.c_str());
        const bool folder =
            attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
        if (file.kind == PathBefore::Folder)
            values[file.path] = folder ? kFolderShown : kMissing;
        else
            AddFile(values, file.path, folder ? std::nullopt : Text(sys, file.path));
    }
    return values;
}

std::vector<std::string> ChangeLines(const StoredValues& before, const StoredValues& after) {
    std::vector<std::string> lines;
    auto valueIn = [](const StoredValues& values, const std::string& id) {
        auto found = values.find(id);
        return found == values.end() ? std::string(kMissing) : found->second;
    };
    StoredValues ids = before;
    ids.insert(after.begin(), after.end());
    for (const auto& [id, _] : ids) {
        std::string was = valueIn(before, id), now = valueIn(after, id);
        if (was != now) lines.push_back(id + ": " + was + " -> " + now);
    }
    return lines;
}

}  // namespace vt
