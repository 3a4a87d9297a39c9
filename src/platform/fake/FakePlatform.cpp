#include "platform/fake/FakePlatform.h"

#include "platform/fake/ProfileDocument.h"
#include "platform/NoCase.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace vt::fake {

namespace {

bool IsStringType(DWORD type) {
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

bool IsPredefined(HKEY key) {
    return key >= HKEY_CLASSES_ROOT && key <= HKEY_USERS;
}

}  // namespace

struct FakePlatform::Key : std::enable_shared_from_this<Key> {
    struct Value {
        DWORD type = REG_NONE;
        std::vector<BYTE> data;
    };
    std::string name;
    std::string path;  // full path, for the call log
    std::weak_ptr<Key> parent;
    std::map<std::string, std::shared_ptr<Key>> children;  // by lower-case name: Wine's order
    std::map<std::string, std::pair<std::string, Value>> values;  // lower-case -> (name, value)
    bool deleted = false;

    std::shared_ptr<Key> Child(const std::string& childName) const {
        auto it = children.find(ToLower(childName));
        return it == children.end() ? nullptr : it->second;
    }
    std::shared_ptr<Key> AddChild(const std::string& childName) {
        auto& slot = children[ToLower(childName)];
        if (!slot) {
            slot = std::make_shared<Key>();
            slot->name = childName;
            slot->path = path + "\\" + childName;
            slot->parent = weak_from_this();
        }
        return slot;
    }
};

namespace {

std::vector<std::string> SplitKeyPath(const char* subKey) {
    std::vector<std::string> parts;
    std::string current;
    for (const char* p = subKey ? subKey : ""; *p; ++p) {
        if (*p == '\\') {
            if (!current.empty()) parts.push_back(current);
            current.clear();
        } else {
            current += *p;
        }
    }
    if (!current.empty()) parts.push_back(current);
    return parts;
}

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

namespace {
Behaviour defaultBehaviour = Behaviour::Wine;
}  // namespace

void FakePlatform::SetDefaultBehaviour(Behaviour behaviour) {
    defaultBehaviour = behaviour;
}
Behaviour FakePlatform::DefaultBehaviour() {
    return defaultBehaviour;
}

FakePlatform::FakePlatform() : behaviour_(defaultBehaviour) {
    localMachine_ = std::make_shared<Key>();
    localMachine_->path = "HKEY_LOCAL_MACHINE";
    users_ = std::make_shared<Key>();
    users_->path = "HKEY_USERS";
    users_->AddChild(".DEFAULT");
    currentUser_ = users_->AddChild("S-1-5-21-0-0-0-1000");
    currentUser_->path = "HKEY_CURRENT_USER";
    classesRoot_ = localMachine_->AddChild("Software")->AddChild("Classes");
    classesRoot_->path = "HKEY_CLASSES_ROOT";  // the log names class keys as the program does

    MakeDirectories("C:\\");
    MakeDirectories(windowsDir_ + "\\SYSTEM");

    memory_.dwMemoryLoad = 25;
    memory_.dwTotalPhys = 64u * 1024 * 1024;
    memory_.dwAvailPhys = 48u * 1024 * 1024;
    memory_.dwTotalPageFile = 256u * 1024 * 1024;
    memory_.dwAvailPageFile = 200u * 1024 * 1024;
    memory_.dwTotalVirtual = 2048u * 1024 * 1024;
    memory_.dwAvailVirtual = 2000u * 1024 * 1024;
    version_.dwMajorVersion = 4;
    version_.dwMinorVersion = 10;
    version_.dwBuildNumber = 0x040A08AE;
    version_.dwPlatformId = VER_PLATFORM_WIN32_WINDOWS;
    std::strcpy(version_.szCSDVersion, " A ");
}

FakePlatform::~FakePlatform() = default;

// --- Test controls ---------------------------------------------------------------------

void FakePlatform::FailNth(Call kind, int nth, LONG error) {
    faults_.push_back({[kind, remaining = nth](const CallInfo& call) mutable {
                           return call.kind == kind && --remaining == 0;
                       },
                       error});
}

void FakePlatform::FailWhen(std::function<bool(const CallInfo&)> match, LONG error) {
    faults_.push_back({std::move(match), error});
}

void FakePlatform::ClearFaults() {
    faults_.clear();
    ignores_.clear();
    profileRoom_ = 0;
}

void FakePlatform::IgnoreWhen(std::function<bool(const CallInfo&)> match) {
    ignores_.push_back(std::move(match));
}

std::shared_ptr<FakePlatform::Key> FakePlatform::Clone(const Key& key) {
    auto copy = std::make_shared<Key>();
    copy->name = key.name;
    copy->path = key.path;
    copy->values = key.values;
    for (const auto& [name, child] : key.children) {
        auto childCopy = Clone(*child);
        childCopy->parent = copy;
        copy->children[name] = childCopy;
    }
    return copy;
}

// A hive is HKEY_LOCAL_MACHINE (classes included) or one user's key below HKEY_USERS.
std::shared_ptr<FakePlatform::Key> FakePlatform::HiveOf(std::shared_ptr<Key> node) const {
    for (std::shared_ptr<Key> up; node && (up = node->parent.lock()) && up != users_;) node = up;
    return node;
}

void FakePlatform::Unflushed(const std::shared_ptr<Key>& node) {
    std::shared_ptr<Key> hive = HiveOf(node);
    if (hive && !flushedHives_.count(hive->path)) flushedHives_[hive->path] = Clone(*hive);
}

void FakePlatform::UnflushedFile(const std::string& fullPath) {
    std::string id = ToUpper(fullPath);
    if (unflushedFiles_.count(id)) return;
    auto file = files_.find(id);
    unflushedFiles_[id] = file == files_.end() ? std::nullopt : std::optional<File>(file->second);
}

void FakePlatform::LoseUnflushedWrites() {
    for (auto& [path, saved] : flushedHives_) {
        std::shared_ptr<Key> hive = path == localMachine_->path ? localMachine_ : nullptr;
        for (const auto& [_, user] : users_->children)
            if (user->path == path) hive = user;
        if (!hive) continue;
        MarkDeleted(*hive);
        hive->deleted = false;
        hive->values = saved->values;
        hive->children = saved->children;
        for (auto& [_, child] : hive->children) child->parent = hive;
    }
    flushedHives_.clear();
    classesRoot_ = localMachine_->AddChild("Software")->AddChild("Classes");
    classesRoot_->path = "HKEY_CLASSES_ROOT";
    handles_.clear();
    for (auto& [path, onDisk] : unflushedFiles_) {
        if (onDisk)
            files_[path] = *onDisk;
        else
            files_.erase(path);
    }
    unflushedFiles_.clear();
    profileCache_.reset();
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

void FakePlatform::PutValue(HKEY root, const std::string& path, const std::string& name, DWORD type,
                            const std::vector<BYTE>& data) {
    std::shared_ptr<Key> node = Resolve(root);
    for (const std::string& part : SplitKeyPath(path.c_str())) node = node->AddChild(part);
    auto& slot = node->values[ToLower(name)];
    slot.first = name;
    slot.second = Key::Value{type, data};
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

std::vector<std::string> FakePlatform::Dump() const {
    std::vector<std::string> lines;
    auto hex = [](const std::vector<BYTE>& bytes) {
        std::string text;
        char byte[4];
        for (BYTE b : bytes) {
            std::snprintf(byte, sizeof byte, "%02x", b);
            text += byte;
        }
        return text;
    };
    std::function<void(const Key&, const std::string&)> walk = [&](const Key& key,
                                                                   const std::string& path) {
        lines.push_back("key " + path);
        for (const auto& [_, value] : key.values)
            lines.push_back("value " + path + "|" + value.first + "|" +
                            std::to_string(value.second.type) + "|" + hex(value.second.data));
        for (const auto& [_, child] : key.children) walk(*child, path + "\\" + child->name);
    };
    walk(*localMachine_, "HKEY_LOCAL_MACHINE");
    walk(*users_, "HKEY_USERS");
    for (const auto& [_, path] : directories_) lines.push_back("folder " + path);
    for (const auto& [path, file] : files_)
        lines.push_back("file " + path + "|" + std::to_string(file.attributes) + "|" +
                        hex(file.data));
    return lines;
}

void FakePlatform::MakeDirectories(const std::string& path) {
    std::string full = FullPath(path);
    std::size_t pos = 0;
    while (pos != std::string::npos) {
        pos = full.find('\\', pos + 1);
        std::string prefix = full.substr(0, pos);
        if (prefix.size() == 2 && prefix[1] == ':') prefix += '\\';
        directories_.emplace(ToUpper(prefix), prefix);
    }
}

LONG FakePlatform::Enter(const CallInfo& call) {
    if (powerLeft_ < 0 || (powerLeft_ > 0 && --powerLeft_ == 0)) {
        powerLeft_ = -1;
        throw PowerCut{};
    }
    calls_.push_back(call);
    for (Fault& fault : faults_)
        if (fault.match(call)) return fault.error;
    ignored_ = std::any_of(ignores_.begin(), ignores_.end(),
                           [&](const auto& match) { return match(call); });
    return ERROR_SUCCESS;
}

BOOL FakePlatform::Fail(LONG error) {
    lastError_ = static_cast<DWORD>(error);
    return FALSE;
}

// --- Registry --------------------------------------------------------------------------

std::shared_ptr<FakePlatform::Key> FakePlatform::Resolve(HKEY key) const {
    switch (key) {
        case HKEY_CLASSES_ROOT:
            return classesRoot_;
        case HKEY_CURRENT_USER:
            return currentUser_;
        case HKEY_LOCAL_MACHINE:
            return localMachine_;
        case HKEY_USERS:
            return users_;
        default: {
            auto it = handles_.find(key);
            return it == handles_.end() ? nullptr : it->second;
        }
    }
}

std::string FakePlatform::KeyPath(HKEY key, const char* subKey) const {
    std::string path;
    if (auto node = Resolve(key)) path = node->path;
    for (const std::string& part : SplitKeyPath(subKey)) path += "\\" + part;
    return path;
}

LONG FakePlatform::Live(HKEY key, std::shared_ptr<Key>& node) const {
    node = Resolve(key);
    if (!node) return ERROR_INVALID_HANDLE;
    return node->deleted ? ERROR_KEY_DELETED : ERROR_SUCCESS;
}

HKEY FakePlatform::NewHandle(std::shared_ptr<Key> key) {
    HKEY handle = nextHandle_;
    nextHandle_ += 4;
    handles_[handle] = std::move(key);
    return handle;
}

LONG FakePlatform::OpenOrCreate(Call kind, HKEY key, const char* subKey, HKEY* result) {
    if (LONG fault = Enter({kind, KeyPath(key, subKey), {}})) return fault;
    std::shared_ptr<Key> node;
    if (LONG rc = Live(key, node)) return rc;
    // Windows 98 creates past one leading backslash; a path still starting with one is bad.
    if (kind == Call::RegCreateKey && subKey && *subKey == '\\') ++subKey;
    if (subKey && *subKey == '\\') return ERROR_BAD_PATHNAME;
    // An empty path opens a predefined root as itself, any other key as a new handle.
    if (kind == Call::RegOpenKey && IsPredefined(key) && (!subKey || !*subKey)) {
        *result = key;
        return ERROR_SUCCESS;
    }
    for (const std::string& part : SplitKeyPath(subKey)) {
        std::shared_ptr<Key> child = node->Child(part);
        if (!child) {
            if (kind != Call::RegCreateKey) return ERROR_FILE_NOT_FOUND;
            Unflushed(node);
            child = node->AddChild(part);
        }
        node = child;
    }
    *result = NewHandle(node);
    return ERROR_SUCCESS;
}

LONG FakePlatform::RegOpenKeyExA(HKEY key, const char* subKey, REGSAM, HKEY* result) {
    return OpenOrCreate(Call::RegOpenKey, key, subKey, result);
}

LONG FakePlatform::RegCreateKeyExA(HKEY key, const char* subKey, REGSAM, HKEY* result) {
    return OpenOrCreate(Call::RegCreateKey, key, subKey, result);
}

LONG FakePlatform::RegQueryValueExA(HKEY key, const char* name, DWORD* type, BYTE* data,
                                    DWORD* size) {
    std::string valueName = name ? name : "";
    if (LONG fault = Enter({Call::RegQueryValue, KeyPath(key, nullptr), valueName})) return fault;
    std::shared_ptr<Key> node;
    if (LONG rc = Live(key, node)) return rc;
    auto it = node->values.find(ToLower(valueName));
    if (it == node->values.end()) return ERROR_FILE_NOT_FOUND;
    const Key::Value& value = it->second.second;
    if (type) *type = value.type;
    DWORD needed = static_cast<DWORD>(value.data.size());
    if (data) {
        if (!size) return ERROR_INVALID_PARAMETER;
        if (*size < needed) {
            *size = needed;
            return ERROR_MORE_DATA;
        }
        std::copy(value.data.begin(), value.data.end(), data);
        // A string stored without its NUL gets one when the buffer has room.
        if (IsStringType(value.type) && needed > 0 && needed < *size && value.data.back() != 0)
            data[needed] = 0;
    }
    if (size) *size = needed;
    return ERROR_SUCCESS;
}

LONG FakePlatform::RegSetValueExA(HKEY key, const char* name, DWORD type, const BYTE* data,
                                  DWORD size) {
    std::string valueName = name ? name : "";
    if (LONG fault = Enter({Call::RegSetValue, KeyPath(key, nullptr), valueName})) return fault;
    std::shared_ptr<Key> node;
    if (LONG rc = Live(key, node)) return rc;
    if (type == REG_SZ) {
        // Windows 98 takes the string up to its first NUL, whatever size it is given.
        if (!data) return ERROR_INVALID_PARAMETER;
        size = static_cast<DWORD>(std::strlen(reinterpret_cast<const char*>(data)) + 1);
    } else if (!data && size > 0) {
        return ERROR_INVALID_PARAMETER;
    }
    if (ignored_) return ERROR_SUCCESS;
    Unflushed(node);
    auto& slot = node->values[ToLower(valueName)];
    if (slot.first.empty()) slot.first = valueName;
    slot.second = Key::Value{type, std::vector<BYTE>(data, data + size)};
    return ERROR_SUCCESS;
}

LONG FakePlatform::RegDeleteValueA(HKEY key, const char* name) {
    std::string valueName = name ? name : "";
    if (LONG fault = Enter({Call::RegDeleteValue, KeyPath(key, nullptr), valueName})) return fault;
    std::shared_ptr<Key> node;
    if (LONG rc = Live(key, node)) return rc;
    if (!node->values.count(ToLower(valueName))) return ERROR_FILE_NOT_FOUND;
    Unflushed(node);
    node->values.erase(ToLower(valueName));
    return ERROR_SUCCESS;
}

LONG FakePlatform::RegDeleteKeyA(HKEY key, const char* subKey) {
    if (LONG fault = Enter({Call::RegDeleteKey, KeyPath(key, subKey), {}})) return fault;
    if (!subKey) return ERROR_INVALID_PARAMETER;
    if (*subKey == '\\') return ERROR_BAD_PATHNAME;
    std::shared_ptr<Key> victim;
    if (LONG rc = Live(key, victim)) return rc;
    for (const std::string& part : SplitKeyPath(subKey)) {
        victim = victim->Child(part);
        if (!victim) return ERROR_FILE_NOT_FOUND;
    }
    // "" is the key itself; the fake keeps the predefined roots.
    std::shared_ptr<Key> parent = victim->parent.lock();
    if (!parent || (IsPredefined(key) && !*subKey)) return ERROR_ACCESS_DENIED;
    Unflushed(parent);
    if (behaviour_ == Behaviour::Windows98) {
        MarkDeleted(*victim);
        parent->children.erase(ToLower(victim->name));
        return ERROR_SUCCESS;
    }
    return DeleteWithSubkeys(*parent, victim->name);
}

// Windows 98 deletes the sub-keys first, as Wine in that mode does: it asks for sub-key 0
// again and again with one name-size variable it never resets, so it stops at a child whose
// name is not shorter than the one deleted before. A key that keeps a child then cannot go
// (ERROR_ACCESS_DENIED), and what was deleted stays deleted.
void FakePlatform::MarkDeleted(Key& key) {
    key.deleted = true;
    for (auto& [name, child] : key.children) MarkDeleted(*child);
}

LONG FakePlatform::DeleteWithSubkeys(Key& parent, const std::string& name) {
    std::shared_ptr<Key> victim = parent.Child(name);
    std::size_t room = MAX_PATH;  // characters, NUL included
    while (!victim->children.empty()) {
        std::string child = victim->children.begin()->second->name;
        if (child.size() + 1 > room) break;
        room = child.size();
        if (DeleteWithSubkeys(*victim, child) != ERROR_SUCCESS) break;
    }
    if (!victim->children.empty()) return ERROR_ACCESS_DENIED;
    victim->deleted = true;
    parent.children.erase(ToLower(name));
    return ERROR_SUCCESS;
}

LONG FakePlatform::RegEnumKeyExA(HKEY key, DWORD index, char* name, DWORD* nameSize) {
    if (LONG fault = Enter({Call::RegEnumKey, KeyPath(key, nullptr), {}, index})) return fault;
    std::shared_ptr<Key> node;
    if (LONG rc = Live(key, node)) return rc;
    if (index >= node->children.size()) return ERROR_NO_MORE_ITEMS;
    const std::string& childName = std::next(node->children.begin(), index)->second->name;
    if (childName.size() + 1 > *nameSize) return ERROR_MORE_DATA;
    std::memcpy(name, childName.c_str(), childName.size() + 1);
    *nameSize = static_cast<DWORD>(childName.size());
    return ERROR_SUCCESS;
}

LONG FakePlatform::RegEnumValueA(HKEY key, DWORD index, char* name, DWORD* nameSize, DWORD* type,
                                 BYTE* data, DWORD* dataSize) {
    if (LONG fault = Enter({Call::RegEnumValue, KeyPath(key, nullptr), {}, index})) return fault;
    std::shared_ptr<Key> node;
    if (LONG rc = Live(key, node)) return rc;
    if (index >= node->values.size()) return ERROR_NO_MORE_ITEMS;
    const auto& [valueName, value] = std::next(node->values.begin(), index)->second;
    if (valueName.size() + 1 > *nameSize) return ERROR_MORE_DATA;
    std::memcpy(name, valueName.c_str(), valueName.size() + 1);
    *nameSize = static_cast<DWORD>(valueName.size());
    if (type) *type = value.type;
    if (!dataSize) return ERROR_SUCCESS;
    DWORD needed = static_cast<DWORD>(value.data.size());
    bool fits = data && *dataSize >= needed;
    if (fits && needed) std::memcpy(data, value.data.data(), needed);
    *dataSize = needed;
    return data && !fits ? ERROR_MORE_DATA : ERROR_SUCCESS;
}

LONG FakePlatform::RegQueryInfoKeyA(HKEY key, DWORD* subKeys, DWORD* maxSubKeyLen, DWORD* values) {
    if (LONG fault = Enter({Call::RegQueryInfoKey, KeyPath(key, nullptr), {}})) return fault;
    std::shared_ptr<Key> node;
    if (LONG rc = Live(key, node)) return rc;
    DWORD longest = 0;
    for (const auto& [_, child] : node->children)
        longest = std::max<DWORD>(longest, static_cast<DWORD>(child->name.size()));
    if (subKeys) *subKeys = static_cast<DWORD>(node->children.size());
    if (maxSubKeyLen) *maxSubKeyLen = longest;
    if (values) *values = static_cast<DWORD>(node->values.size());
    return ERROR_SUCCESS;
}

LONG FakePlatform::RegCloseKey(HKEY key) {
    // Closing changes nothing kept, and destructors close: a cut never stops it.
    if (powerLeft_ != 0) return ERROR_SUCCESS;
    if (LONG fault = Enter({Call::RegCloseKey, KeyPath(key, nullptr), {}})) return fault;
    if (IsPredefined(key)) return ERROR_SUCCESS;
    return handles_.erase(key) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

LONG FakePlatform::RegFlushKey(HKEY key) {
    if (LONG fault = Enter({Call::RegFlushKey, KeyPath(key, nullptr), {}})) return fault;
    std::shared_ptr<Key> node;
    if (LONG rc = Live(key, node)) return rc;
    if (std::shared_ptr<Key> hive = HiveOf(node)) flushedHives_.erase(hive->path);
    return ERROR_SUCCESS;
}

// --- Private-profile files -------------------------------------------------------------

std::string FakePlatform::ProfilePath(const char* fileName) const {
    std::string name = fileName ? fileName : "win.ini";
    if (name.find('\\') == std::string::npos && name.find('/') == std::string::npos &&
        name.find(':') == std::string::npos)
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
                                                   out->text.begin() + out->text.size() / 2);
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

std::string FakePlatform::FullPath(const std::string& path) const {
    std::string p = path;
    std::replace(p.begin(), p.end(), '/', '\\');
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

std::string FakePlatform::ParentOf(const std::string& fullPath) const {
    std::size_t slash = fullPath.find_last_of('\\');
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

BOOL FakePlatform::WriteFileBytes(const char* path, const std::vector<BYTE>& bytes) {
    std::string full = FullPath(path ? path : "");
    // Power lost in the middle of the write: the file was already emptied and holds half.
    if (powerLeft_ == 1 && directories_.count(ToUpper(ParentOf(full))) &&
        !(files_.count(ToUpper(full)) &&
          (files_[ToUpper(full)].attributes & FILE_ATTRIBUTE_READONLY)))
        files_[ToUpper(full)].data.assign(bytes.begin(), bytes.begin() + bytes.size() / 2);
    if (LONG fault = Enter({Call::WriteFile, full, {}})) return Fail(fault);
    auto file = files_.find(ToUpper(full));
    if (file != files_.end() && (file->second.attributes & FILE_ATTRIBUTE_READONLY))
        return Fail(ERROR_ACCESS_DENIED);
    if (!directories_.count(ToUpper(ParentOf(full)))) return Fail(ERROR_PATH_NOT_FOUND);
    if (ignored_) return TRUE;
    files_[ToUpper(full)].data = bytes;
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
    auto file = files_.find(ToUpper(source));
    if (file == files_.end()) return Fail(ERROR_FILE_NOT_FOUND);
    if (!directories_.count(ToUpper(ParentOf(target)))) return Fail(ERROR_PATH_NOT_FOUND);
    UnflushedFile(target);
    files_[ToUpper(target)].data = file->second.data;  // plain files only
    return TRUE;
}

// --- Windows and the session ----------------------------------------------------------

HWND FakePlatform::AddWindow(const std::string& className, const std::string& title, bool visible) {
    HWND handle = 0x10000 + windows_.size() * 4;
    windows_[handle] = Window{className, title, visible};
    return handle;
}

HWND FakePlatform::FindWindowA(const char* className, const char* title) {
    std::string cls = className ? className : "";
    std::string caption = title ? title : "";
    if (Enter({Call::FindWindow, cls, caption})) return 0;
    for (const auto& [handle, window] : windows_)
        if ((!className || EqualNoCase(window.className, cls)) &&
            (!title || window.title == caption))
            return handle;
    return 0;
}

BOOL FakePlatform::IsWindowVisible(HWND window) {
    auto it = windows_.find(window);
    return it != windows_.end() && it->second.visible;
}

BOOL FakePlatform::PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (LONG fault = Enter({Call::PostMessage, {}, {}, message})) return Fail(fault);
    if (!windows_.count(window)) return Fail(1400 /* ERROR_INVALID_WINDOW_HANDLE */);
    posted_.push_back({window, message, wParam, lParam});
    return TRUE;
}

BOOL FakePlatform::ExitWindowsEx(UINT flags) {
    if (LONG fault = Enter({Call::ExitWindows, {}, {}, flags})) return Fail(fault);
    exitRequests_.push_back(flags);
    return TRUE;
}

HANDLE FakePlatform::CreateMutexA(const char* name) {
    if (LONG fault = Enter({Call::CreateMutex, {}, name ? name : ""})) return Fail(fault);
    bool existed = name && !mutexes_.insert(name).second;
    lastError_ = existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS;
    HANDLE handle = nextMutex_;
    nextMutex_ += 4;
    return handle;
}

BOOL FakePlatform::ShowWindow(HWND window, int command) {
    if (LONG fault = Enter({Call::ShowWindow, {}, {}, static_cast<DWORD>(command), window}))
        return Fail(fault);
    showRequests_.emplace_back(window, command);
    auto it = windows_.find(window);
    if (it == windows_.end()) return FALSE;
    bool was = it->second.visible;  // answers whether the window was visible before
    it->second.visible = command != SW_HIDE;
    return was ? TRUE : FALSE;
}

BOOL FakePlatform::SetForegroundWindow(HWND window) {
    if (LONG fault = Enter({Call::SetForegroundWindow, {}, {}, 0, window})) return Fail(fault);
    foreground_ = window;
    return TRUE;
}

// --- The notification area -------------------------------------------------------------

constexpr LONG kShellFailure = static_cast<LONG>(0x80004005u);  // E_FAIL, as Wine answers

BOOL FakePlatform::Shell_NotifyIconA(DWORD message, const NOTIFYICONDATAA* data) {
    if (LONG fault = Enter(
            {Call::ShellNotifyIcon, {}, data ? data->szTip : "", message, data ? data->hWnd : 0})) {
        if (data) notifyRequests_.push_back({message, *data, FALSE});
        return Fail(fault);
    }
    if (!data) return Fail(ERROR_INVALID_PARAMETER);
    auto key = std::make_pair(data->hWnd, data->uID);
    auto icon = trayIcons_.find(key);
    bool ok = trayAvailable_;
    if (ok) {
        switch (message) {
            case NIM_ADD:
                ok = icon == trayIcons_.end();
                if (ok) trayIcons_[key] = *data;
                break;
            case NIM_MODIFY:
                ok = icon != trayIcons_.end();
                if (ok) {
                    if (data->uFlags & NIF_MESSAGE)
                        icon->second.uCallbackMessage = data->uCallbackMessage;
                    if (data->uFlags & NIF_ICON) icon->second.hIcon = data->hIcon;
                    if (data->uFlags & NIF_TIP)
                        std::memcpy(icon->second.szTip, data->szTip, sizeof data->szTip);
                }
                break;
            case NIM_DELETE:
                ok = icon != trayIcons_.end();
                if (ok) trayIcons_.erase(icon);
                break;
            default:
                ok = false;
                break;
        }
    }
    notifyRequests_.push_back({message, *data, ok ? TRUE : FALSE});
    return ok ? TRUE : Fail(kShellFailure);
}

const NOTIFYICONDATAA* FakePlatform::TrayIcon(HWND window, UINT id) const {
    auto icon = trayIcons_.find({window, id});
    return icon == trayIcons_.end() ? nullptr : &icon->second;
}

HINSTANCE FakePlatform::GetModuleHandleA(const char* moduleName) {
    if (LONG fault = Enter({Call::GetModuleHandle, {}, moduleName ? moduleName : ""}))
        return Fail(fault);
    return moduleName ? 0 : kModule;
}

HICON FakePlatform::LoadIconA(HINSTANCE instance, UINT resourceId) {
    if (LONG fault = Enter({Call::LoadIcon, {}, {}, resourceId, instance})) return Fail(fault);
    if (instance != kModule || resourceId != 1)
        return Fail(1813 /* ERROR_RESOURCE_TYPE_NOT_FOUND */);
    return kProgramIcon;
}

// --- Popup menus -----------------------------------------------------------------------

BOOL FakePlatform::GetCursorPos(POINT* point) {
    if (LONG fault = Enter({Call::GetCursorPos, {}, {}})) return Fail(fault);
    *point = cursor_;
    return TRUE;
}

int FakePlatform::GetSystemMetrics(int index) {
    Enter({Call::GetSystemMetrics, {}, {}, static_cast<DWORD>(index)});
    auto metric = metrics_.find(index);
    if (metric != metrics_.end()) return metric->second;
    return index == SM_CYMENUSIZE ? 18 : 0;  // Windows 98 at 96 dots per inch
}

HMENU FakePlatform::CreatePopupMenu() {
    if (LONG fault = Enter({Call::CreatePopupMenu, {}, {}})) return Fail(fault);
    HMENU menu = nextMenu_;
    nextMenu_ += 4;
    menus_[menu];
    return menu;
}

BOOL FakePlatform::AppendMenuA(HMENU menu, UINT flags, UINT id, const char* text) {
    if (LONG fault = Enter({Call::AppendMenu, {}, text ? text : "", flags, menu}))
        return Fail(fault);
    auto it = menus_.find(menu);
    if (it == menus_.end()) return Fail(1401 /* ERROR_INVALID_MENU_HANDLE */);
    it->second.push_back({id, text ? text : ""});
    return TRUE;
}

BOOL FakePlatform::TrackPopupMenu(HMENU menu, UINT flags, int x, int y, HWND owner) {
    if (LONG fault = Enter({Call::TrackPopupMenu, {}, {}, flags, menu})) return Fail(fault);
    auto it = menus_.find(menu);
    if (it == menus_.end()) return Fail(1401 /* ERROR_INVALID_MENU_HANDLE */);
    ShownMenu shown{{}, {}, flags, x, y, owner};
    for (const MenuItem& item : it->second) {
        shown.items.push_back(item.text);
        shown.ids.push_back(item.id);
    }
    shownMenus_.push_back(shown);
    UINT chosen = 0;
    if (!menuChoices_.empty()) {
        for (const MenuItem& item : it->second)
            if (item.text == menuChoices_.front()) chosen = item.id;
        menuChoices_.erase(menuChoices_.begin());
    }
    if (flags & TPM_RETURNCMD) return static_cast<BOOL>(chosen);
    if (chosen) posted_.push_back({owner, 0x0111 /* WM_COMMAND */, chosen, 0});
    return TRUE;
}

BOOL FakePlatform::DestroyMenu(HMENU menu) {
    if (LONG fault = Enter({Call::DestroyMenu, {}, {}, 0, menu})) return Fail(fault);
    return menus_.erase(menu) ? TRUE : Fail(1401 /* ERROR_INVALID_MENU_HANDLE */);
}

BOOL FakePlatform::SetSystemPowerState(BOOL suspend, BOOL force) {
    if (LONG fault = Enter({Call::SetSystemPowerState,
                            {},
                            {},
                            static_cast<DWORD>((suspend ? 1 : 0) | (force ? 2 : 0))}))
        return Fail(fault);
    powerRequests_.emplace_back(suspend, force);
    return TRUE;
}

// --- System information ----------------------------------------------------------------

// --- Shell -----------------------------------------------------------------------------

BOOL FakePlatform::CreateShellLink(const char* target, const char* linkFile,
                                   const char* workingDirectory) {
    if (LONG error = Enter({Call::CreateShellLink, FullPath(linkFile), target})) return Fail(error);
    std::string text = std::string("LINK ") + target + "|" + workingDirectory;
    // Saved without a flush: on disk only once flushed.
    std::string full = FullPath(linkFile);
    bool pending = unflushedFiles_.count(ToUpper(full)) > 0;
    auto before = files_.find(ToUpper(full));
    std::optional<File> onDisk =
        before == files_.end() ? std::nullopt : std::optional<File>(before->second);
    if (!WriteFileBytes(linkFile, std::vector<BYTE>(text.begin(), text.end()))) return FALSE;
    if (!pending) unflushedFiles_[ToUpper(full)] = onDisk;
    return TRUE;
}

BOOL FakePlatform::ShellExecuteOpen(HWND owner, const char* verb, const char* file) {
    if (LONG error = Enter({Call::ShellExecute, file, verb, 0, owner})) return Fail(error);
    shellOpened_.push_back({owner, verb, file});
    return TRUE;
}

namespace {

// The "User Shell Folders" value of a special folder, and where Windows 98 keeps it without
// user profiles, below the Windows directory.
struct ShellFolderName {
    int id;
    const char* value;
    const char* below;  // the Windows directory, or the profile's folder
};
constexpr ShellFolderName kShellFolders[] = {
    {CSIDL_DESKTOPDIRECTORY, "Desktop", "\\Desktop"},
    {CSIDL_PROGRAMS, "Programs", "\\Start Menu\\Programs"},
    {CSIDL_STARTMENU, "Start Menu", "\\Start Menu"},
    {CSIDL_APPDATA, "AppData", "\\Application Data"},
};
const char* const kUserShellFolders =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

}  // namespace

void FakePlatform::UseUserProfile(const std::string& user) {
    const std::string profile = windowsDir_ + "\\Profiles\\" + user;
    for (const ShellFolderName& folder : kShellFolders) {
        std::string path = profile + folder.below;
        MakeDirectories(path);
        PutValue(HKEY_CURRENT_USER, kUserShellFolders, folder.value, REG_SZ,
                 std::vector<BYTE>(path.c_str(), path.c_str() + path.size() + 1));
    }
}

BOOL FakePlatform::SHGetSpecialFolderPathA(HWND owner, char* path, int folder, BOOL create) {
    const auto* known = std::find_if(std::begin(kShellFolders), std::end(kShellFolders),
                                     [&](const ShellFolderName& f) { return f.id == folder; });
    if (LONG error = Enter({Call::SpecialFolder,
                            {},
                            known == std::end(kShellFolders) ? "" : known->value,
                            static_cast<DWORD>(folder),
                            owner}))
        return Fail(error);
    if (known == std::end(kShellFolders)) return Fail(ERROR_INVALID_PARAMETER);
    std::string found = windowsDir_ + known->below;
    std::shared_ptr<Key> key = currentUser_;
    for (const std::string& part : SplitKeyPath(kUserShellFolders))
        if (key) key = key->Child(part);
    if (key) {
        auto value = key->values.find(ToLower(known->value));
        if (value != key->values.end() && value->second.second.type == REG_SZ) {
            const std::vector<BYTE>& data = value->second.second.data;
            std::string named(data.begin(), std::find(data.begin(), data.end(), BYTE{0}));
            if (directories_.count(ToUpper(FullPath(named)))) found = named;
        }
    }
    if (!directories_.count(ToUpper(FullPath(found)))) {
        if (!create) return Fail(ERROR_FILE_NOT_FOUND);
        MakeDirectories(found);
    }
    if (found.size() >= MAX_PATH) return Fail(ERROR_MORE_DATA);
    std::memcpy(path, found.c_str(), found.size() + 1);
    return TRUE;
}

void FakePlatform::GlobalMemoryStatus(MEMORYSTATUS* status) {
    *status = memory_;
}

BOOL FakePlatform::GetVersionExA(OSVERSIONINFOA* info) {
    *info = version_;
    return TRUE;
}

DWORD FakePlatform::GetLastError() {
    return lastError_;
}

}  // namespace vt::fake
