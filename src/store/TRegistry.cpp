#include "store/TRegistry.h"

#include "store/StoreError.h"

namespace vt {

TRegistry::TRegistry(Platform& platform) : sys_(platform) {}

TRegistry::~TRegistry() {
    CloseKey();
}

void TRegistry::CloseKey() {
    if (current_ != 0) sys_.RegCloseKey(current_);
    current_ = 0;
    currentPath_.clear();
}

void TRegistry::ChangeKey(HKEY key, const std::string& path) {
    CloseKey();
    current_ = key;
    currentPath_ = path;
}

void TRegistry::SelectRoot(HKEY root) {
    if (root == root_) return;
    CloseKey();
    root_ = root;
}

TRegistry::Target TRegistry::Resolve(const std::string& path) const {
    bool relative = path.empty() || path.front() != '\\';
    std::string subKey = relative ? path : path.substr(1);
    HKEY base = (relative && current_ != 0) ? current_ : root_;
    return {base, subKey, relative};
}

bool TRegistry::OpenPath(const std::string& path, bool canCreate) {
    Target target = Resolve(path);
    HKEY opened = 0;
    bool ok = (canCreate && !target.subKey.empty())
                  ? sys_.RegCreateKeyExA(target.base, target.subKey.c_str(), access_, &opened) ==
                        ERROR_SUCCESS
                  : sys_.RegOpenKeyExA(target.base, target.subKey.c_str(), access_, &opened) ==
                        ERROR_SUCCESS;
    if (!ok) return false;
    std::string newPath = target.subKey;
    if (target.relative && current_ != 0) newPath = currentPath_ + "\\" + target.subKey;
    ChangeKey(opened, newPath);
    return true;
}

bool TRegistry::HasValue(const std::string& name) {
    if (current_ == 0) return false;
    DWORD type = 0, size = 0;
    return sys_.RegQueryValueExA(current_, name.c_str(), &type, nullptr, &size) == ERROR_SUCCESS;
}

std::optional<DWORD> TRegistry::ValueType(const std::string& name) {
    DWORD type = 0, size = 0;
    if (current_ == 0 ||
        sys_.RegQueryValueExA(current_, name.c_str(), &type, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return type;
}

bool TRegistry::HasKey(const std::string& path) {
    Target target = Resolve(path);
    HKEY opened = 0;
    if (sys_.RegOpenKeyExA(target.base, target.subKey.c_str(), access_, &opened) != ERROR_SUCCESS)
        return false;
    sys_.RegCloseKey(opened);
    return true;
}

std::string TRegistry::ReadText(const std::string& name) {
    if (current_ == 0) return {};
    DWORD type = 0, size = 0;
    if (sys_.RegQueryValueExA(current_, name.c_str(), &type, nullptr, &size) != ERROR_SUCCESS ||
        size == 0)
        return {};
    std::string data(size, '\0');
    if (sys_.RegQueryValueExA(current_, name.c_str(), &type, reinterpret_cast<BYTE*>(data.data()),
                              &size) != ERROR_SUCCESS)
        throw RegistryError::GetFailed(name);
    if (type != REG_SZ && type != REG_EXPAND_SZ) throw RegistryError::InvalidType(name);
    data.resize(std::min<std::size_t>(size, data.size()));
    return data.substr(0, data.find('\0'));
}

std::int32_t TRegistry::ReadNumber(const std::string& name) {
    BYTE data[4] = {};
    DWORD type = 0, size = sizeof data;
    if (current_ == 0 ||
        sys_.RegQueryValueExA(current_, name.c_str(), &type, data, &size) != ERROR_SUCCESS)
        throw RegistryError::GetFailed(name);
    if (type != REG_DWORD) throw RegistryError::InvalidType(name);
    return static_cast<std::int32_t>(data[0] | data[1] << 8 | data[2] << 16 |
                                     static_cast<DWORD>(data[3]) << 24);
}

DWORD TRegistry::ReadBytes(const std::string& name, BYTE* buffer, DWORD size) {
    if (current_ == 0) return 0;
    DWORD type = 0, stored = 0;
    if (sys_.RegQueryValueExA(current_, name.c_str(), &type, nullptr, &stored) != ERROR_SUCCESS)
        return 0;
    if ((type != REG_BINARY && type != REG_NONE) || stored > size)
        throw RegistryError::InvalidType(name);
    if (stored == 0) return 0;
    if (sys_.RegQueryValueExA(current_, name.c_str(), &type, buffer, &stored) != ERROR_SUCCESS)
        throw RegistryError::GetFailed(name);
    return stored;
}

void TRegistry::WriteText(const std::string& name, const std::string& value, DWORD type) {
    if (current_ == 0 || sys_.RegSetValueExA(current_, name.c_str(), type,
                                             reinterpret_cast<const BYTE*>(value.c_str()),
                                             static_cast<DWORD>(value.size() + 1)) != ERROR_SUCCESS)
        throw RegistryError::SetFailed(name);
}

void TRegistry::WriteNumber(const std::string& name, std::int32_t value) {
    auto bits = static_cast<DWORD>(value);
    BYTE data[4] = {static_cast<BYTE>(bits), static_cast<BYTE>(bits >> 8),
                    static_cast<BYTE>(bits >> 16), static_cast<BYTE>(bits >> 24)};
    if (current_ == 0 ||
        sys_.RegSetValueExA(current_, name.c_str(), REG_DWORD, data, sizeof data) != ERROR_SUCCESS)
        throw RegistryError::SetFailed(name);
}

void TRegistry::WriteBytes(const std::string& name, const BYTE* buffer, DWORD size) {
    if (current_ == 0 ||
        sys_.RegSetValueExA(current_, name.c_str(), REG_BINARY, buffer, size) != ERROR_SUCCESS)
        throw RegistryError::SetFailed(name);
}

bool TRegistry::RemoveValue(const std::string& name) {
    return current_ != 0 && sys_.RegDeleteValueA(current_, name.c_str()) == ERROR_SUCCESS;
}

bool TRegistry::QueryInfo(HKEY key, DWORD* subKeys, DWORD* maxSubKeyLen) {
    return sys_.RegQueryInfoKeyA(key, subKeys, maxSubKeyLen, nullptr) == ERROR_SUCCESS;
}

std::string TRegistry::EnumSubkey(HKEY key, DWORD index, DWORD maxLen) {
    std::string name(maxLen + 1, '\0');
    DWORD length = maxLen + 1;
    if (sys_.RegEnumKeyExA(key, index, name.data(), &length) != ERROR_SUCCESS) return {};
    name.resize(length);
    return name;
}

bool TRegistry::RemoveKey(const std::string& path) {
    Target target = Resolve(path);
    // Taken from the root, a relative path would delete a key of that name at the top; an
    // empty one would name the open key, or the root itself.
    if ((target.relative && current_ == 0) || target.subKey.empty()) return false;
    HKEY victim = 0;
    if (sys_.RegOpenKeyExA(target.base, target.subKey.c_str(), access_, &victim) == ERROR_SUCCESS) {
        // Children first, last index down to 0, each relative to the key being removed.
        HKEY savedKey = current_;
        std::string savedPath = currentPath_;
        current_ = victim;
        DWORD subKeys = 0, maxLen = 0;
        if (QueryInfo(victim, &subKeys, &maxLen)) {
            for (DWORD i = subKeys; i-- > 0;) {
                std::string child = EnumSubkey(victim, i, maxLen);
                if (!child.empty()) RemoveKey(child);
            }
        }
        current_ = savedKey;
        currentPath_ = savedPath;
        sys_.RegCloseKey(victim);
    }
    return sys_.RegDeleteKeyA(target.base, target.subKey.c_str()) == ERROR_SUCCESS;
}

void TRegistry::ListSubkeys(std::vector<std::string>& list) {
    list.clear();
    DWORD subKeys = 0, maxLen = 0;
    if (current_ == 0 || !QueryInfo(current_, &subKeys, &maxLen)) return;
    for (DWORD i = 0; i < subKeys; ++i) list.push_back(EnumSubkey(current_, i, maxLen));
}

DWORD TRegistry::CountValues() {
    DWORD subKeys = 0, maxLen = 0, values = 0;
    if (current_ == 0 ||
        sys_.RegQueryInfoKeyA(current_, &subKeys, &maxLen, &values) != ERROR_SUCCESS)
        return 0;
    return values;
}

}  // namespace vt
