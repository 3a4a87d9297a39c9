#include "platform/fake/FakePlatform.h"

#include "platform/fake/FakeKey.h"

#include <algorithm>
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

std::vector<std::string> SplitKeyPath(const char* subKey) {
    std::vector<std::string> parts = SplitAt(subKey ? subKey : "", '\\');
    std::erase(parts, std::string());
    return parts;
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

void FakePlatform::PutValue(HKEY root, const std::string& path, const std::string& name, DWORD type,
                            const std::vector<BYTE>& data) {
    std::shared_ptr<Key> node = Resolve(root);
    for (const std::string& part : SplitKeyPath(path.c_str())) node = node->AddChild(part);
    auto& slot = node->values[ToLower(name)];
    slot.first = name;
    slot.second = Key::Value{type, data};
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

}  // namespace vt::fake
