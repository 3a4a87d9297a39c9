#include "app/DryRun.h"

#include "app/ChangeLog.h"
#include "platform/NoCase.h"
#include "store/FileLimits.h"
#include "store/Paths.h"
#include "store/ProfileText.h"
#include "store/RestorePointFiles.h"

#include <algorithm>
#include <cstring>

namespace vt {
namespace {

constexpr const char* kMissing = "(missing)";

std::string Trimmed(std::string path) {
    while (!path.empty() && path.front() == '\\') path.erase(0, 1);
    return TrimTrailing(path, '\\');
}

std::string Shown(const std::optional<regedit4::Data>& data) {
    return data ? regedit4::Notation(*data) : kMissing;
}

LONG Fill(const std::vector<BYTE>& bytes, DWORD valueType, DWORD* type, BYTE* data, DWORD* size) {
    if (type) *type = valueType;
    const DWORD needed = static_cast<DWORD>(bytes.size());
    if (data) {
        if (!size || *size < needed) {
            if (size) *size = needed;
            return ERROR_MORE_DATA;
        }
        std::copy(bytes.begin(), bytes.end(), data);
    }
    if (size) *size = needed;
    return ERROR_SUCCESS;
}

// The text with the one profile write made, as the profile functions make it.
std::string WithProfileWrite(const std::string& text, const std::string& section,
                             const std::string& key, const char* value) {
    std::vector<std::string> lines = SplitAt(text, '\n');
    if (!lines.empty() && lines.back().empty()) lines.pop_back();
    std::string current;
    std::size_t sectionEnd = std::string::npos;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string line = lines[i];
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty() && line[0] == '[') {
            if (EqualNoCase(current, section)) break;
            current = line.substr(
                1, line.find(']') == std::string::npos ? std::string::npos : line.find(']') - 1);
            if (EqualNoCase(current, section)) sectionEnd = i + 1;
            continue;
        }
        if (!EqualNoCase(current, section)) continue;
        if (!line.empty()) sectionEnd = i + 1;
        std::size_t equals = line.find('=');
        if (equals == std::string::npos) continue;
        std::string name = line.substr(0, equals);
        while (!name.empty() && name.back() == ' ') name.pop_back();
        if (!EqualNoCase(name, key)) continue;
        if (value)
            lines[i] = key + "=" + value + "\r";
        else
            lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(i));
        std::string joined;
        for (const std::string& l : lines) joined += l + "\n";
        return joined;
    }
    if (value) {
        std::string added = key + "=" + value + "\r";
        if (sectionEnd == std::string::npos) {
            lines.push_back("[" + section + "]\r");
            lines.push_back(added);
        } else {
            lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(sectionEnd), added);
        }
    }
    std::string joined;
    for (const std::string& l : lines) joined += l + "\n";
    return joined;
}

bool IniLike(const std::string& path) {
    std::string upper = ToUpper(path);
    return upper.ends_with(".INI") || upper.ends_with(".SYS");
}

std::string Text(const std::optional<std::vector<BYTE>>& bytes) {
    return bytes ? std::string(bytes->begin(), bytes->end()) : std::string();
}

}  // namespace

BOOL DryRunPlatform::Answer(BOOL ok, DWORD error) {
    lastError_ = ok ? static_cast<DWORD>(ERROR_SUCCESS) : error;
    return ok;
}

std::optional<DryRunPlatform::Key> DryRunPlatform::KeyOf(HKEY key, const char* subKey) const {
    std::string below = Trimmed(subKey ? subKey : "");
    if (!regedit4::RootName(key).empty()) return Key{key, below};
    auto known = handles_.find(key);
    if (known == handles_.end()) return std::nullopt;
    Key name = known->second;
    if (!below.empty()) name.path = name.path.empty() ? below : name.path + "\\" + below;
    return name;
}

std::string DryRunPlatform::Id(const Key& key) {
    return regedit4::RootName(key.root) + "\\" + ToUpper(key.path);
}

bool DryRunPlatform::Gone(const Key& key) const {
    const std::string id = Id(key);
    if (madeKeys_.count(id)) return false;
    return std::any_of(goneKeys_.begin(), goneKeys_.end(), [&](const std::string& gone) {
        return id == gone || id.starts_with(gone + "\\");
    });
}

HKEY DryRunPlatform::Made(const Key& key) {
    HKEY handle = reinterpret_cast<HKEY>(nextHandle_++);
    handles_[handle] = key;
    own_.insert(handle);
    return handle;
}

LONG DryRunPlatform::RegOpenKeyExA(HKEY key, const char* subKey, REGSAM sam, HKEY* result) {
    lastError_.reset();
    std::optional<Key> name = KeyOf(key, subKey);
    if (!name) return inner_.RegOpenKeyExA(key, subKey, sam, result);
    if (Gone(*name)) return ERROR_FILE_NOT_FOUND;
    if (madeKeys_.count(Id(*name))) {
        *result = Made(*name);
        return ERROR_SUCCESS;
    }
    // The machine's own key, opened from its root: a handle of ours may stand for a key the
    // machine does not hold.
    LONG rc = inner_.RegOpenKeyExA(name->root, name->path.c_str(), KEY_READ, result);
    if (rc == ERROR_SUCCESS) handles_[*result] = *name;
    return rc;
}

LONG DryRunPlatform::RegCreateKeyExA(HKEY key, const char* subKey, REGSAM sam, HKEY* result) {
    if (RegOpenKeyExA(key, subKey, sam, result) == ERROR_SUCCESS) return ERROR_SUCCESS;
    std::optional<Key> name = KeyOf(key, subKey);
    if (!name) return inner_.RegCreateKeyExA(key, subKey, KEY_READ, result);
    madeKeys_[Id(*name)] = *name;
    *result = Made(*name);
    return ERROR_SUCCESS;
}

LONG DryRunPlatform::RegQueryValueExA(HKEY key, const char* name, DWORD* type, BYTE* data,
                                      DWORD* size) {
    lastError_.reset();
    std::optional<Key> where = KeyOf(key, nullptr);
    if (where) {
        auto value = values_.find(Id(*where) + "\n" + ToUpper(name ? name : ""));
        if (value != values_.end()) {
            if (!value->second) return ERROR_FILE_NOT_FOUND;
            return Fill(value->second->bytes, value->second->type, type, data, size);
        }
        if (own_.count(key) || Gone(*where)) return ERROR_FILE_NOT_FOUND;
    }
    return inner_.RegQueryValueExA(key, name, type, data, size);
}

LONG DryRunPlatform::RegSetValueExA(HKEY key, const char* name, DWORD type, const BYTE* data,
                                    DWORD size) {
    lastError_.reset();
    std::optional<Key> where = KeyOf(key, nullptr);
    if (!where) return ERROR_INVALID_HANDLE;
    const std::string id = Id(*where) + "\n" + ToUpper(name ? name : "");
    values_[id] = regedit4::Data{type, std::vector<BYTE>(data, data + size)};
    valueNames_.emplace(id, std::pair{*where, std::string(name ? name : "")});
    return ERROR_SUCCESS;
}

LONG DryRunPlatform::RegDeleteValueA(HKEY key, const char* name) {
    DWORD size = 0;
    if (RegQueryValueExA(key, name, nullptr, nullptr, &size) != ERROR_SUCCESS)
        return ERROR_FILE_NOT_FOUND;
    std::optional<Key> where = KeyOf(key, nullptr);
    const std::string id = Id(*where) + "\n" + ToUpper(name ? name : "");
    values_[id] = std::nullopt;
    valueNames_.emplace(id, std::pair{*where, std::string(name ? name : "")});
    return ERROR_SUCCESS;
}

LONG DryRunPlatform::RegDeleteKeyA(HKEY key, const char* subKey) {
    HKEY open = 0;
    if (RegOpenKeyExA(key, subKey, KEY_READ, &open) != ERROR_SUCCESS) return ERROR_FILE_NOT_FOUND;
    RegCloseKey(open);
    std::optional<Key> name = KeyOf(key, subKey);
    madeKeys_.erase(Id(*name));
    goneKeys_.insert(Id(*name));
    return ERROR_SUCCESS;
}

LONG DryRunPlatform::RegEnumKeyExA(HKEY key, DWORD index, char* name, DWORD* nameSize) {
    lastError_.reset();
    if (own_.count(key)) return ERROR_NO_MORE_ITEMS;
    return inner_.RegEnumKeyExA(key, index, name, nameSize);
}

LONG DryRunPlatform::RegQueryInfoKeyA(HKEY key, DWORD* subKeys, DWORD* maxSubKeyLen,
                                      DWORD* values) {
    lastError_.reset();
    if (own_.count(key)) {
        for (DWORD* zero : {subKeys, maxSubKeyLen, values})
            if (zero) *zero = 0;
        return ERROR_SUCCESS;
    }
    return inner_.RegQueryInfoKeyA(key, subKeys, maxSubKeyLen, values);
}

LONG DryRunPlatform::RegEnumValueA(HKEY key, DWORD index, char* name, DWORD* nameSize, DWORD* type,
                                   BYTE* data, DWORD* dataSize) {
    lastError_.reset();
    if (own_.count(key)) return ERROR_NO_MORE_ITEMS;
    return inner_.RegEnumValueA(key, index, name, nameSize, type, data, dataSize);
}

LONG DryRunPlatform::RegCloseKey(HKEY key) {
    lastError_.reset();
    handles_.erase(key);
    if (own_.erase(key)) return ERROR_SUCCESS;
    if (!regedit4::RootName(key).empty()) return ERROR_SUCCESS;
    return inner_.RegCloseKey(key);
}

std::string DryRunPlatform::WholePath(const char* fileName) {
    std::string path = fileName ? fileName : "";
    if (!NamesAFolder(path)) {
        char windows[MAX_PATH] = "";
        UINT length = inner_.GetWindowsDirectoryA(windows, sizeof windows);
        path = std::string(windows, length < sizeof windows ? length : 0) + "\\" + path;
    }
    return path;
}

DWORD DryRunPlatform::GetPrivateProfileStringA(const char* section, const char* key,
                                               const char* defaultValue, char* buffer, DWORD size,
                                               const char* fileName) {
    lastError_.reset();
    if (section && key && size > 0) {
        const std::string path = ToUpper(WholePath(fileName));
        const std::string id = ToUpper(section) + "\n" + ToUpper(key);
        std::optional<std::optional<std::string>> found;
        if (auto file = ini_.find(path); file != ini_.end())
            if (auto value = file->second.find(id); value != file->second.end())
                found = value->second.value;
        if (!found)
            if (auto whole = files_.find(path); whole != files_.end()) {
                std::map<std::string, std::string> entries = ProfileEntries(Text(whole->second));
                auto entry = entries.find(id);
                found = entry == entries.end() ? std::nullopt
                                               : std::optional<std::string>(entry->second);
            }
        if (found) {
            std::string text = *found ? **found : std::string(defaultValue ? defaultValue : "");
            text = text.substr(0, size - 1);
            std::memcpy(buffer, text.c_str(), text.size() + 1);
            return static_cast<DWORD>(text.size());
        }
    }
    return inner_.GetPrivateProfileStringA(section, key, defaultValue, buffer, size, fileName);
}

BOOL DryRunPlatform::WritePrivateProfileStringA(const char* section, const char* key,
                                                const char* value, const char* fileName) {
    lastError_.reset();
    if (!section || !key) return TRUE;  // a flush of the cache; a whole section is not removed
    const std::string path = WholePath(fileName);
    fileNames_.emplace(ToUpper(path), path);
    ini_[ToUpper(path)][ToUpper(section) + "\n" + ToUpper(key)] = {
        section, key, value ? std::optional<std::string>(value) : std::nullopt};
    // The file as the write leaves it, for whoever reads it back.
    std::string text = Text(FileNow(path));
    std::string written = WithProfileWrite(text, section, key, value);
    files_[ToUpper(path)] = std::vector<BYTE>(written.begin(), written.end());
    return TRUE;
}

std::optional<std::vector<BYTE>> DryRunPlatform::FileNow(const std::string& path) {
    if (auto file = files_.find(ToUpper(path)); file != files_.end()) return file->second;
    std::vector<BYTE> bytes;
    if (!inner_.ReadFileBytes(path.c_str(), &bytes, limits::kManagedFile)) return std::nullopt;
    return bytes;
}

DWORD DryRunPlatform::GetFileAttributesA(const char* path) {
    lastError_.reset();
    const std::string upper = ToUpper(path);
    if (auto file = files_.find(upper); file != files_.end() && !file->second) {
        lastError_ = ERROR_FILE_NOT_FOUND;
        return INVALID_FILE_ATTRIBUTES;
    }
    if (auto set = attributes_.find(upper); set != attributes_.end()) return set->second;
    DWORD attributes = inner_.GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES && files_.count(upper)) return FILE_ATTRIBUTE_ARCHIVE;
    return attributes;
}

BOOL DryRunPlatform::SetFileAttributesA(const char* path, DWORD attributes) {
    if (GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES)
        return Answer(FALSE, ERROR_FILE_NOT_FOUND);
    attributes_[ToUpper(path)] = attributes;
    return Answer(TRUE);
}

BOOL DryRunPlatform::DeleteFileA(const char* path) {
    if (GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES)
        return Answer(FALSE, ERROR_FILE_NOT_FOUND);
    fileNames_.emplace(ToUpper(path), path);
    files_[ToUpper(path)] = std::nullopt;
    attributes_.erase(ToUpper(path));
    return Answer(TRUE);
}

BOOL DryRunPlatform::CreateDirectoryA(const char* path) {
    if (GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES)
        return Answer(FALSE, ERROR_ALREADY_EXISTS);
    attributes_[ToUpper(path)] = FILE_ATTRIBUTE_DIRECTORY;
    folderNames_.emplace(ToUpper(path), path);
    return Answer(TRUE);
}

BOOL DryRunPlatform::RemoveDirectoryA(const char* path) {
    attributes_.erase(ToUpper(path));
    folderNames_.emplace(ToUpper(path), path);
    return Answer(TRUE);
}

BOOL DryRunPlatform::CopyFileA(const char* from, const char* to, BOOL failIfExists) {
    if (failIfExists && GetFileAttributesA(to) != INVALID_FILE_ATTRIBUTES)
        return Answer(FALSE, ERROR_ALREADY_EXISTS);
    std::optional<std::vector<BYTE>> bytes = FileNow(from);
    if (!bytes) return Answer(FALSE, ERROR_FILE_NOT_FOUND);
    return WriteFileBytes(to, *bytes);
}

BOOL DryRunPlatform::LZCopyFileA(const char* from, const char* to) {
    return CopyFileA(from, to, FALSE);
}

BOOL DryRunPlatform::MoveFileA(const char* from, const char* to) {
    if (!CopyFileA(from, to, TRUE)) return FALSE;
    return DeleteFileA(from);
}

BOOL DryRunPlatform::ReadFileBytes(const char* path, std::vector<BYTE>* bytes, DWORD maxBytes) {
    lastError_.reset();
    auto file = files_.find(ToUpper(path));
    if (file == files_.end()) return inner_.ReadFileBytes(path, bytes, maxBytes);
    if (!file->second) return Answer(FALSE, ERROR_FILE_NOT_FOUND);
    if (file->second->size() > maxBytes) return Answer(FALSE, ERROR_FILE_TOO_LARGE);
    *bytes = *file->second;
    return Answer(TRUE);
}

BOOL DryRunPlatform::WriteFileBytes(const char* path, const std::vector<BYTE>& bytes) {
    fileNames_.emplace(ToUpper(path), path);
    files_[ToUpper(path)] = bytes;
    return Answer(TRUE);
}

BOOL DryRunPlatform::CreateShellLink(const char* target, const char* linkFile,
                                     const char* workingDirectory) {
    std::string link = std::string("shortcut to ") + target + " in " + workingDirectory;
    return WriteFileBytes(linkFile, std::vector<BYTE>(link.begin(), link.end()));
}

std::vector<std::string> DryRunPlatform::Changes() {
    std::vector<std::string> lines;
    for (const auto& [id, after] : values_) {
        const auto& [key, name] = valueNames_.at(id);
        std::optional<regedit4::Data> before;
        HKEY open = 0;
        if (inner_.RegOpenKeyExA(key.root, key.path.c_str(), KEY_READ, &open) == ERROR_SUCCESS) {
            before = pointfiles::ReadValue(inner_, open, name.c_str());
            inner_.RegCloseKey(open);
        }
        if (before != after)
            lines.push_back(regedit4::RootName(key.root) + "\\" + key.path + "\\" +
                            (name.empty() ? "(Default)" : name) + ": " + Shown(before) + " -> " +
                            Shown(after));
    }
    for (const std::string& gone : goneKeys_)
        if (!madeKeys_.count(gone)) lines.push_back(gone + ": key removed");
    for (const auto& [path, values] : ini_)
        for (const auto& [id, value] : values) {
            const char* const kAbsent = "\x01";
            char buffer[1024] = "";
            inner_.GetPrivateProfileStringA(value.section.c_str(), value.key.c_str(), kAbsent,
                                            buffer, sizeof buffer, fileNames_.at(path).c_str());
            std::optional<std::string> before;
            if (std::string(buffer) != kAbsent) before = buffer;
            if (before != value.value)
                lines.push_back(fileNames_.at(path) + " [" + value.section + "] " + value.key +
                                ": " + before.value_or(kMissing) + " -> " +
                                value.value.value_or(kMissing));
        }
    for (const auto& [path, after] : files_) {
        if (ini_.count(path)) continue;  // named key by key above
        std::vector<BYTE> bytes;
        std::optional<std::vector<BYTE>> before;
        if (inner_.ReadFileBytes(fileNames_.at(path).c_str(), &bytes, limits::kManagedFile))
            before = bytes;
        if (before == after) continue;
        if (IniLike(path) && before && after) {
            std::map<std::string, std::string> was =
                                                   ProfileValues(fileNames_.at(path), Text(before)),
                                               will =
                                                   ProfileValues(fileNames_.at(path), Text(after));
            std::set<std::string> ids;
            for (const auto* side : {&was, &will})
                for (const auto& [id, _] : *side) ids.insert(id);
            for (const std::string& id : ids) {
                auto a = was.find(id), b = will.find(id);
                std::string from = a == was.end() ? kMissing : a->second;
                std::string to = b == will.end() ? kMissing : b->second;
                if (from != to) lines.push_back(id + ": " + from + " -> " + to);
            }
            continue;
        }
        const std::string& name = fileNames_.at(path);
        auto shown = [&](const std::optional<std::vector<BYTE>>& bytes) {
            return FileShown(name, bytes ? std::optional(Text(bytes)) : std::nullopt);
        };
        const std::string was = shown(before), will = shown(after);
        if (was != will) lines.push_back(name + ": " + was + " -> " + will);
    }
    for (const auto& [id, name] : folderNames_) {
        const DWORD was = inner_.GetFileAttributesA(name.c_str()),
                    will = GetFileAttributesA(name.c_str());
        auto shown = [](DWORD attributes) -> std::string {
            return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)
                       ? kFolderShown
                       : kMissing;
        };
        if (shown(was) != shown(will))
            lines.push_back(name + ": " + shown(was) + " -> " + shown(will));
    }
    return lines;
}

}  // namespace vt
