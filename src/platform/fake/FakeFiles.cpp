#include "platform/fake/FakePlatform.h"

#include "platform/fake/FakeKey.h"
#include "platform/fake/ProfileDocument.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace vt::fake {

namespace {

// Copies `text` into a caller's buffer the way the profile functions do: cut to fit,
// always NUL-terminated; answers the count of characters copied.
DWORD CopyOut(const std::string& text, char* buffer, DWORD size) {
    if (!buffer || size == 0) return 0;
    DWORD count = std::min<DWORD>(static_cast<DWORD>(text.size()), size - 1);
    std::memcpy(buffer, text.data(), count);
    buffer[count] = '\0';
    return count;
}

// A double-NUL-terminated list of names, cut as GetPrivateProfileString cuts it.
DWORD CopyOutList(const std::vector<std::string>& names, char* buffer, DWORD size) {
    if (!buffer || size < 2) return 0;
    std::string joined;
    for (const std::string& name : names) joined += name + '\0';
    if (joined.size() + 1 <= size) {
        std::memcpy(buffer, joined.data(), joined.size());
        buffer[joined.size()] = '\0';
        return static_cast<DWORD>(joined.size());
    }
    std::memcpy(buffer, joined.data(), size - 2);
    buffer[size - 2] = '\0';
    buffer[size - 1] = '\0';
    return size - 2;
}

std::string TrimTrailingBlanks(std::string s) {
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
}

}  // namespace

void FakePlatform::UnflushedFile(const std::string& fullPath) {
    std::string id = ToUpper(fullPath);
    if (unflushedFiles_.count(id)) return;
    auto file = files_.find(id);
    unflushedFiles_[id] = file == files_.end() ? std::nullopt : std::optional<File>(file->second);
}

void FakePlatform::SetWindowsDirectory(const std::string& path) {
    windowsDir_ = path;
    MakeDirectories(path);
}

void FakePlatform::PutFile(const std::string& path, const std::string& contents, DWORD attributes) {
    std::string full = FullPath(path);
    MakeDirectories(ParentOf(full));
    files_[ToUpper(full)] = File{{contents.begin(), contents.end()}, attributes};
}

std::string FakePlatform::FileText(const std::string& path) const {
    auto it = files_.find(ToUpper(FullPath(path)));
    return it == files_.end() ? std::string()
                              : std::string(it->second.data.begin(), it->second.data.end());
}

bool FakePlatform::HasFile(const std::string& path) const {
    return files_.count(ToUpper(FullPath(path))) > 0;
}

bool FakePlatform::HasDirectory(const std::string& path) const {
    return directories_.count(ToUpper(FullPath(path))) > 0;
}

void FakePlatform::MakeDirectories(const std::string& path) {
    std::string full = FullPath(path);
    std::size_t pos = 0;
    while (pos != std::string::npos) {
        pos = CodePage::Machine().Find(full, '\\', CodePage::Machine().Next(full, pos));
        std::string prefix = full.substr(0, pos);
        if (prefix.size() == 2 && prefix[1] == ':') prefix += '\\';
        directories_.emplace(ToUpper(prefix), prefix);
    }
}

// --- Private-profile files -------------------------------------------------------------

std::string FakePlatform::ProfilePath(const char* fileName) const {
    std::string name = fileName ? fileName : "win.ini";
    if (CodePage::Machine().Find(name, '\\') == std::string::npos &&
        name.find_first_of("/:") == std::string::npos)
        return FullPath(windowsDir_ + "\\" + name);
    return FullPath(name);
}

DWORD FakePlatform::GetPrivateProfileStringA(const char* section, const char* key,
                                             const char* defaultValue, char* buffer, DWORD size,
                                             const char* fileName) {
    std::string path = ProfilePath(fileName);
    std::string what = std::string(section ? section : "") + (key ? "\\" + std::string(key) : "");
    std::string fallback = TrimTrailingBlanks(defaultValue ? defaultValue : "");
    if (LONG fault = Enter({Call::ProfileRead, path, what})) {
        lastError_ = static_cast<DWORD>(fault);
        return CopyOut(fallback, buffer, size);
    }
    const bool cached = profileCache_ && EqualNoCase(profileCache_->path, path);
    if (!cached && !files_.count(ToUpper(path))) return CopyOut(fallback, buffer, size);
    ProfileDocument doc = ProfileDocument::Parse(ProfileText(path));
    if (!key) {
        auto names = doc.KeyNames(section ? section : "");
        return names ? CopyOutList(*names, buffer, size) : CopyOut(fallback, buffer, size);
    }
    auto value = doc.Find(section ? section : "", key);
    return CopyOut(value ? *value : fallback, buffer, size);
}

BOOL FakePlatform::WritePrivateProfileStringA(const char* section, const char* key,
                                              const char* value, const char* fileName) {
    std::string path = ProfilePath(fileName);
    std::string what = std::string(section ? section : "") + (key ? "\\" + std::string(key) : "");
    const bool flush = !section && !key && !value;
    const bool windows98 = behaviour_ == Behaviour::Windows98;
    // Power lost in the middle of the write: the file is rewritten in place, so it was
    // emptied and holds only part of the new text. Windows 98 writes only when it flushes.
    if (powerLeft_ == 1) {
        std::optional<ProfileCache> out = profileCache_;
        if (!windows98 && section && Writable(path))
            if (auto edited = ProfileEdit(path, section, key, value)) out = {path, *edited};
        if (out && (!windows98 || flush || !EqualNoCase(out->path, path)) && Writable(out->path))
            files_[ToUpper(out->path)].data.assign(out->text.begin(),
                                                   out->text.begin() + CutLength(out->text));
    }
    // All three null only flushes Windows' cache, and that answers FALSE.
    if (LONG fault = Enter({flush ? Call::ProfileFlush : Call::ProfileWrite, path, what}))
        return Fail(fault);
    if (flush) {
        WriteOutProfileCache();
        return Fail(ERROR_SUCCESS);
    }
    // The file is opened for writing before anything else, whatever the call would change.
    if (directories_.count(ToUpper(path))) return Fail(ERROR_ACCESS_DENIED);
    if (!directories_.count(ToUpper(ParentOf(path)))) return Fail(ERROR_PATH_NOT_FOUND);
    if (!Writable(path)) return Fail(ERROR_ACCESS_DENIED);
    if (!section) return Fail(ERROR_FILE_NOT_FOUND);
    std::optional<std::string> out = ProfileEdit(path, section, key, value);
    if (!out || ignored_) return TRUE;
    if (windows98) {
        if (profileCache_ && !EqualNoCase(profileCache_->path, path)) WriteOutProfileCache();
        profileCache_ = ProfileCache{path, *out};
        return TRUE;
    }
    if (profileRoom_ && out->size() > profileRoom_) out->resize(profileRoom_);
    UnflushedFile(path);
    files_[ToUpper(path)].data.assign(out->begin(), out->end());
    return TRUE;
}

std::string FakePlatform::ProfileText(const std::string& fullPath) const {
    if (profileCache_ && EqualNoCase(profileCache_->path, fullPath)) return profileCache_->text;
    auto file = files_.find(ToUpper(fullPath));
    return file == files_.end() ? std::string()
                                : std::string(file->second.data.begin(), file->second.data.end());
}

// The cached text goes to disk as a profile write would put it there; a file made read-only
// since refuses it, and nobody hears of that.
void FakePlatform::WriteOutProfileCache() {
    if (!profileCache_) return;
    ProfileCache cache = std::move(*profileCache_);
    profileCache_.reset();
    if (!Writable(cache.path) || directories_.count(ToUpper(cache.path))) return;
    if (profileRoom_ && cache.text.size() > profileRoom_) cache.text.resize(profileRoom_);
    UnflushedFile(cache.path);
    files_[ToUpper(cache.path)].data.assign(cache.text.begin(), cache.text.end());
}

bool FakePlatform::Writable(const std::string& fullPath) const {
    auto file = files_.find(ToUpper(fullPath));
    return file == files_.end() ? directories_.count(ToUpper(ParentOf(fullPath))) > 0
                                : !(file->second.attributes & FILE_ATTRIBUTE_READONLY);
}

std::optional<std::string> FakePlatform::ProfileEdit(const std::string& fullPath,
                                                     const char* section, const char* key,
                                                     const char* value) const {
    std::string text = ProfileText(fullPath);
    if (behaviour_ == Behaviour::Windows98)
        return ProfileDocument::EditInPlace(text, section, key, value);
    ProfileDocument doc = ProfileDocument::Parse(text);
    bool changed = !key     ? doc.RemoveSection(section)
                   : !value ? doc.RemoveKey(section, key)
                            : doc.Set(section, key, value);
    if (!changed) return std::nullopt;
    return doc.Serialize();
}

// --- Files and folders -----------------------------------------------------------------

std::string FakePlatform::TextualPath(const std::string& path) const {
    std::string p = path;
    std::replace(p.begin(), p.end(), '/', '\\');
    if (p.starts_with("\\\\")) return p;  // a share: no drive of this machine
    std::string base;
    if (p.size() >= 2 && p[1] == ':') {
        base = p.substr(0, 2);
        p = p.substr(2);
    } else if (!p.empty() && p[0] == '\\') {
        base = currentDir_.substr(0, 2);
    } else {
        base = currentDir_.substr(0, 2);
        p = currentDir_.substr(2) + "\\" + p;
    }
    std::vector<std::string> parts;
    for (const std::string& part : SplitKeyPath(p.c_str())) {
        if (part == ".") continue;
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
            continue;
        }
        parts.push_back(part);
    }
    std::string full = base;
    for (const std::string& part : parts) full += "\\" + part;
    if (parts.empty()) full += "\\";
    return full;
}

namespace {

// A name as 8.3 holds it: up to eight characters, a dot and up to three, no blank, no second
// dot, none of the characters a short name may not hold.
bool FitsShortName(const std::string& part) {
    std::size_t dot = part.find('.');
    std::string base = part.substr(0, dot),
                extension = dot == std::string::npos ? "" : part.substr(dot + 1);
    return !base.empty() && base.size() <= 8 && extension.size() <= 3 &&
           extension.find('.') == std::string::npos &&
           part.find_first_of(" +,;=[]") == std::string::npos;
}

}  // namespace

// Short names as FAT makes them for a long one: the first six letters kept, "~1".
std::string FakePlatform::ShortPart(const std::string& part) {
    if (FitsShortName(part)) return ToUpper(part);
    std::string base, extension;
    std::size_t dot = part.rfind('.');  // no trail byte is a dot
    const std::string name = part.substr(0, dot);
    const CodePage& page = CodePage::Machine();
    for (std::size_t at = 0, next = 0; at < name.size(); at = next) {
        next = page.Next(name, at);  // two-byte characters stay whole
        if (name[at] != ' ' && name[at] != '.' && base.size() + (next - at) <= 6)
            base.append(name, at, next - at);
    }
    if (dot != std::string::npos)
        for (char c : part.substr(dot + 1))
            if (c != ' ' && extension.size() < 3) extension += c;
    return ToUpper(base + "~1" + (extension.empty() ? "" : "." + extension));
}

namespace {

// Two backslash characters in a row below the drive or the share ("D:\\Config.DAT"); the
// second byte of a double-byte character is none.
bool HasEmptyName(std::string path) {
    std::replace(path.begin(), path.end(), '/', '\\');
    const CodePage& page = CodePage::Machine();
    for (std::size_t at = page.Find(path, '\\', path.starts_with("\\\\") ? 2 : 0);
         at != std::string::npos; at = page.Find(path, '\\', at + 1))
        if (at + 1 < path.size() && path[at + 1] == '\\') return true;
    return false;
}

// The folder an empty name stands for on Windows 98: a name no file or folder may have.
constexpr const char* kEmptyName = "<empty>";

}  // namespace

// A path with the drive it stands for and its short names read as the long ones they name.
// Windows 98 takes an empty name between two backslashes for a folder of that name, which is
// never there; Wine, as Windows NT, closes the backslashes up.
std::string FakePlatform::FullPath(const std::string& path) const {
    std::string full = TextualPath(path);
    if (behaviour_ == Behaviour::Windows98 && HasEmptyName(path) && full.size() >= 3 &&
        full[1] == ':')
        return full.substr(0, 3) + kEmptyName + (full.size() > 3 ? "\\" + full.substr(3) : "");
    if (full.size() < 2 || full[1] != ':') return full;
    auto alias =
        driveAliases_.find(static_cast<char>(std::toupper(static_cast<unsigned char>(full[0]))));
    if (alias != driveAliases_.end()) full[0] = alias->second;
    std::string resolved = full.substr(0, 2);
    for (const std::string& part : SplitKeyPath(full.substr(2).c_str())) {
        std::string candidate = resolved + "\\" + part;
        if (!directories_.count(ToUpper(candidate)) && !files_.count(ToUpper(candidate)) &&
            part.find('~') != std::string::npos) {
            // The long name in this folder whose short name this is.
            const std::string prefix = ToUpper(resolved) + "\\";
            auto find = [&](const auto& entries) -> std::optional<std::string> {
                for (auto it = entries.lower_bound(prefix);
                     it != entries.end() && it->first.starts_with(prefix); ++it) {
                    std::string rest = it->first.substr(prefix.size());
                    if (CodePage::Machine().Find(rest, '\\') == std::string::npos &&
                        ShortPart(rest) == ToUpper(part))
                        return resolved + "\\" + rest;
                }
                return std::nullopt;
            };
            if (auto found = find(directories_))
                candidate = *found;
            else if (auto file = find(files_))
                candidate = *file;
        }
        resolved = candidate;
    }
    if (resolved.size() == 2) resolved += "\\";
    return resolved;
}

void FakePlatform::AddDriveAlias(char drive, char sameAs) {
    driveAliases_[static_cast<char>(std::toupper(static_cast<unsigned char>(drive)))] =
        static_cast<char>(std::toupper(static_cast<unsigned char>(sameAs)));
}

namespace {

DWORD CopyPath(const std::string& path, char* buffer, DWORD size) {
    if (path.size() + 1 > size) return static_cast<DWORD>(path.size() + 1);
    std::memcpy(buffer, path.c_str(), path.size() + 1);
    return static_cast<DWORD>(path.size());
}

}  // namespace

DWORD FakePlatform::GetFullPathNameA(const char* path, DWORD size, char* buffer) {
    std::string full = TextualPath(path ? path : "");
    if (LONG fault = Enter({Call::GetFullPathName, full, {}})) return Fail(fault);
    return CopyPath(full, buffer, size);
}

DWORD FakePlatform::GetShortPathNameA(const char* longPath, char* buffer, DWORD size) {
    std::string textual = TextualPath(longPath ? longPath : "");
    if (LONG fault = Enter({Call::GetShortPathName, textual, {}})) return Fail(fault);
    std::string full = FullPath(textual);
    if (!directories_.count(ToUpper(full)) && !files_.count(ToUpper(full)))
        return Fail(MissingFileError(full));
    // The drive as given, each part by its short name.
    std::string shortPath = textual.substr(0, 2);
    for (const std::string& part : SplitKeyPath(full.substr(2).c_str()))
        shortPath += "\\" + ShortPart(part);
    if (shortPath.size() == 2) shortPath += "\\";
    return CopyPath(shortPath, buffer, size);
}

BOOL FakePlatform::GetVolumeInformationA(const char* root, DWORD* serialNumber) {
    std::string full = FullPath(root ? root : "");
    if (LONG fault = Enter({Call::GetVolumeInformation, full, {}})) return Fail(fault);
    if (full.size() < 2 || full[1] != ':' || !directories_.count(ToUpper(full.substr(0, 2) + "\\")))
        return Fail(ERROR_PATH_NOT_FOUND);
    if (serialNumber) *serialNumber = 0x1C2B0000u + static_cast<DWORD>(std::toupper(full[0]));
    return TRUE;
}

std::string FakePlatform::ParentOf(const std::string& fullPath) const {
    std::size_t slash = CodePage::Machine().FindLast(fullPath, '\\');
    if (slash == std::string::npos || slash <= 2) return fullPath.substr(0, 3);
    return fullPath.substr(0, slash);
}

LONG FakePlatform::MissingFileError(const std::string& fullPath) const {
    return directories_.count(ToUpper(ParentOf(fullPath))) ? ERROR_FILE_NOT_FOUND
                                                           : ERROR_PATH_NOT_FOUND;
}

UINT FakePlatform::GetWindowsDirectoryA(char* buffer, UINT size) {
    if (LONG fault = Enter({Call::GetWindowsDirectory, windowsDir_, {}})) return Fail(fault);
    if (windowsDir_.size() + 1 > size) return static_cast<UINT>(windowsDir_.size() + 1);
    std::memcpy(buffer, windowsDir_.c_str(), windowsDir_.size() + 1);
    return static_cast<UINT>(windowsDir_.size());
}

DWORD FakePlatform::GetCurrentDirectoryA(DWORD size, char* buffer) {
    if (LONG fault = Enter({Call::GetCurrentDirectory, currentDir_, {}})) return Fail(fault);
    if (currentDir_.size() + 1 > size) return static_cast<DWORD>(currentDir_.size() + 1);
    std::memcpy(buffer, currentDir_.c_str(), currentDir_.size() + 1);
    return static_cast<DWORD>(currentDir_.size());
}

BOOL FakePlatform::SetCurrentDirectoryA(const char* path) {
    std::string full = FullPath(path ? path : "");
    if (LONG fault = Enter({Call::SetCurrentDirectory, full, {}})) return Fail(fault);
    auto dir = directories_.find(ToUpper(full));
    if (dir == directories_.end()) return Fail(ERROR_FILE_NOT_FOUND);
    currentDir_ = dir->second;
    return TRUE;
}

DWORD FakePlatform::GetFileAttributesA(const char* path) {
    std::string full = FullPath(path ? path : "");
    if (LONG fault = Enter({Call::GetFileAttributes, full, {}})) {
        Fail(fault);
        return INVALID_FILE_ATTRIBUTES;
    }
    if (directories_.count(ToUpper(full))) return FILE_ATTRIBUTE_DIRECTORY;
    auto file = files_.find(ToUpper(full));
    if (file == files_.end()) {
        Fail(directories_.count(ToUpper(ParentOf(full))) ? ERROR_FILE_NOT_FOUND
                                                         : ERROR_PATH_NOT_FOUND);
        return INVALID_FILE_ATTRIBUTES;
    }
    // Wine reports every plain file with the archive bit, whatever was set.
    return file->second.attributes | FILE_ATTRIBUTE_ARCHIVE;
}

BOOL FakePlatform::SetFileAttributesA(const char* path, DWORD attributes) {
    std::string full = FullPath(path ? path : "");
    if (LONG fault = Enter({Call::SetFileAttributes, full, {}, attributes})) return Fail(fault);
    auto file = files_.find(ToUpper(full));
    if (file == files_.end())
        return directories_.count(ToUpper(full)) ? TRUE : Fail(ERROR_FILE_NOT_FOUND);
    file->second.attributes =
        attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    return TRUE;
}

BOOL FakePlatform::DeleteFileA(const char* path) {
    std::string full = FullPath(path ? path : "");
    if (LONG fault = Enter({Call::DeleteFile, full, {}})) return Fail(fault);
    auto file = files_.find(ToUpper(full));
    if (file == files_.end()) return Fail(ERROR_FILE_NOT_FOUND);
    if (file->second.attributes & FILE_ATTRIBUTE_READONLY) return Fail(ERROR_ACCESS_DENIED);
    files_.erase(file);
    unflushedFiles_.erase(ToUpper(full));
    return TRUE;
}

BOOL FakePlatform::CreateDirectoryA(const char* path) {
    std::string full = FullPath(path ? path : "");
    if (LONG fault = Enter({Call::CreateDirectory, full, {}})) return Fail(fault);
    std::string upper = ToUpper(full);
    if (directories_.count(upper) || files_.count(upper)) return Fail(ERROR_ALREADY_EXISTS);
    if (!directories_.count(ToUpper(ParentOf(full)))) return Fail(ERROR_PATH_NOT_FOUND);
    directories_.emplace(upper, full);
    return TRUE;
}

BOOL FakePlatform::RemoveDirectoryA(const char* path) {
    std::string full = FullPath(path ? path : "");
    if (LONG fault = Enter({Call::RemoveDirectory, full, {}})) return Fail(fault);
    std::string upper = ToUpper(full);
    if (!directories_.count(upper)) return Fail(ERROR_FILE_NOT_FOUND);
    std::string prefix = upper + "\\";
    auto inside = [&](const auto& entry) { return entry.first.rfind(prefix, 0) == 0; };
    if (std::any_of(files_.begin(), files_.end(), inside) ||
        std::any_of(directories_.begin(), directories_.end(), inside))
        return Fail(ERROR_DIR_NOT_EMPTY);
    directories_.erase(upper);
    return TRUE;
}

BOOL FakePlatform::CopyFileA(const char* from, const char* to, BOOL failIfExists) {
    std::string source = FullPath(from ? from : "");
    std::string target = FullPath(to ? to : "");
    if (LONG fault = Enter({Call::CopyFile, source, target})) return Fail(fault);
    auto file = files_.find(ToUpper(source));
    if (file == files_.end()) return Fail(ERROR_FILE_NOT_FOUND);
    auto existing = files_.find(ToUpper(target));
    if (existing != files_.end()) {
        if (failIfExists) return Fail(80 /* ERROR_FILE_EXISTS */);
        if (existing->second.attributes & FILE_ATTRIBUTE_READONLY) return Fail(ERROR_ACCESS_DENIED);
    }
    if (!directories_.count(ToUpper(ParentOf(target)))) return Fail(ERROR_PATH_NOT_FOUND);
    File copy = file->second;
    UnflushedFile(target);
    files_[ToUpper(target)] = std::move(copy);
    return TRUE;
}

BOOL FakePlatform::MoveFileA(const char* from, const char* to) {
    std::string source = FullPath(from ? from : "");
    std::string target = FullPath(to ? to : "");
    if (LONG fault = Enter({Call::MoveFile, source, target})) return Fail(fault);
    auto file = files_.find(ToUpper(source));
    if (file == files_.end()) return Fail(ERROR_FILE_NOT_FOUND);
    if (files_.count(ToUpper(target)) || directories_.count(ToUpper(target)))
        return Fail(ERROR_ALREADY_EXISTS);
    if (!directories_.count(ToUpper(ParentOf(target)))) return Fail(ERROR_PATH_NOT_FOUND);
    File moved = std::move(file->second);
    files_.erase(file);
    files_[ToUpper(target)] = std::move(moved);
    unflushedFiles_.erase(ToUpper(source));
    unflushedFiles_.erase(ToUpper(target));
    return TRUE;
}

BOOL FakePlatform::ReadFileBytes(const char* path, std::vector<BYTE>* bytes, DWORD maxBytes) {
    std::string full = FullPath(path ? path : "");
    if (LONG fault = Enter({Call::ReadFile, full, {}})) return Fail(fault);
    auto file = files_.find(ToUpper(full));
    if (file == files_.end()) return Fail(MissingFileError(full));
    if (file->second.data.size() > maxBytes) {
        bytes->clear();
        return Fail(ERROR_FILE_TOO_LARGE);
    }
    *bytes = file->second.data;
    return TRUE;
}

std::size_t FakePlatform::CutLength(const std::string& text) const {
    return std::min(text.size(), cutKeeps_ ? cutKeeps_(text) : text.size() / 2);
}

void FakePlatform::LimitGrowth(const std::string& path, std::size_t bytes) {
    roomToGrow_[ToUpper(FullPath(path))] = bytes;
}

BOOL FakePlatform::WriteFileBytes(const char* path, const std::vector<BYTE>& bytes) {
    std::string full = FullPath(path ? path : "");
    // Power lost in the middle of the write: the file was already emptied and holds half.
    if (powerLeft_ == 1 && directories_.count(ToUpper(ParentOf(full))) &&
        !(files_.count(ToUpper(full)) &&
          (files_[ToUpper(full)].attributes & FILE_ATTRIBUTE_READONLY)))
        files_[ToUpper(full)].data.assign(
            bytes.begin(), bytes.begin() + CutLength(std::string(bytes.begin(), bytes.end())));
    if (LONG fault = Enter({Call::WriteFile, full, std::string(bytes.begin(), bytes.end())}))
        return Fail(fault);
    auto file = files_.find(ToUpper(full));
    if (file != files_.end() && (file->second.attributes & FILE_ATTRIBUTE_READONLY))
        return Fail(ERROR_ACCESS_DENIED);
    if (!directories_.count(ToUpper(ParentOf(full)))) return Fail(ERROR_PATH_NOT_FOUND);
    if (ignored_) return TRUE;
    // A full disk: a file that would grow past the room left stops there.
    if (auto room = roomToGrow_.find(ToUpper(full)); room != roomToGrow_.end()) {
        std::size_t now = file == files_.end() ? 0 : file->second.data.size();
        if (bytes.size() > now + room->second) {
            files_[ToUpper(full)].data.assign(bytes.begin(), bytes.begin() + now + room->second);
            room->second = 0;
            return Fail(ERROR_DISK_FULL);
        }
    }
    files_[ToUpper(full)].data = bytes;
    unflushedFiles_.erase(ToUpper(full));
    return TRUE;
}

void FakePlatform::HoldOpen(const std::string& path, int attempts) {
    heldOpen_[ToUpper(FullPath(path))] = attempts;
}

BOOL FakePlatform::AppendFileBytes(const char* path, const std::vector<BYTE>& bytes) {
    std::string full = FullPath(path ? path : "");
    if (LONG fault = Enter({Call::AppendFile, full, std::string(bytes.begin(), bytes.end())}))
        return Fail(fault);
    if (directories_.count(ToUpper(full))) return Fail(ERROR_ACCESS_DENIED);
    if (!directories_.count(ToUpper(ParentOf(full)))) return Fail(ERROR_PATH_NOT_FOUND);
    auto file = files_.find(ToUpper(full));
    if (file != files_.end() && (file->second.attributes & FILE_ATTRIBUTE_READONLY))
        return Fail(ERROR_ACCESS_DENIED);
    if (auto held = heldOpen_.find(ToUpper(full)); held != heldOpen_.end() && held->second > 0) {
        --held->second;
        return Fail(ERROR_SHARING_VIOLATION);
    }
    if (ignored_) return TRUE;
    std::vector<BYTE>& data = files_[ToUpper(full)].data;
    data.insert(data.end(), bytes.begin(), bytes.end());
    unflushedFiles_.erase(ToUpper(full));
    return TRUE;
}

BOOL FakePlatform::FlushFile(const char* path) {
    std::string full = FullPath(path ? path : "");
    if (LONG fault = Enter({Call::FlushFile, full, {}})) return Fail(fault);
    auto file = files_.find(ToUpper(full));
    if (file == files_.end()) return Fail(MissingFileError(full));
    // Opened for writing, as FlushFileBuffers needs.
    if (file->second.attributes & FILE_ATTRIBUTE_READONLY) return Fail(ERROR_ACCESS_DENIED);
    unflushedFiles_.erase(ToUpper(full));
    return TRUE;
}

BOOL FakePlatform::LZCopyFileA(const char* from, const char* to) {
    std::string source = FullPath(from ? from : "");
    std::string target = FullPath(to ? to : "");
    if (LONG fault = Enter({Call::LZCopyFile, source, target})) return Fail(fault);
    // OpenFile keeps the full path in OFSTRUCT's 128 bytes: Wine refuses a path of 128
    // characters or more, as source or as target, with ERROR_INVALID_DATA.
    constexpr std::size_t kOpenFilePathChars = 128;
    if (TextualPath(from ? from : "").size() >= kOpenFilePathChars ||
        TextualPath(to ? to : "").size() >= kOpenFilePathChars)
        return Fail(ERROR_INVALID_DATA);
    auto file = files_.find(ToUpper(source));
    if (file == files_.end()) return Fail(ERROR_FILE_NOT_FOUND);
    if (!directories_.count(ToUpper(ParentOf(target)))) return Fail(ERROR_PATH_NOT_FOUND);
    UnflushedFile(target);
    files_[ToUpper(target)].data = file->second.data;  // plain files only
    return TRUE;
}

}  // namespace vt::fake
