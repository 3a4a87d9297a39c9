// Registry accessor: one instance per group of operations on one key. It holds no cache;
// every operation goes straight to the platform.
#pragma once

#include "platform/Platform.h"

#include <optional>
#include <string>
#include <vector>

namespace vt {

class TRegistry {
  public:
    explicit TRegistry(Platform& platform);
    ~TRegistry();
    TRegistry(const TRegistry&) = delete;
    TRegistry& operator=(const TRegistry&) = delete;

    // Replaces the root (closing the open key) when it differs from the current one.
    void SelectRoot(HKEY root);
    // "\..." is taken from the root; any other path from the open key, or from the root
    // when none is open. On failure the previous key stays current.
    bool OpenPath(const std::string& path, bool canCreate);

    bool HasValue(const std::string& name);
    // The stored type of the value; nothing when it is missing or no key is open.
    std::optional<DWORD> ValueType(const std::string& name);
    bool HasKey(const std::string& path);

    std::string ReadText(const std::string& name);
    std::int32_t ReadNumber(const std::string& name);
    // Copies the stored bytes to the front of `buffer`; answers their count, 0 when missing.
    DWORD ReadBytes(const std::string& name, BYTE* buffer, DWORD size);

    // REG_SZ, or REG_EXPAND_SZ where a text keeps that type.
    void WriteText(const std::string& name, const std::string& value, DWORD type = REG_SZ);
    void WriteNumber(const std::string& name, std::int32_t value);
    void WriteBytes(const std::string& name, const BYTE* buffer, DWORD size);

    bool RemoveValue(const std::string& name);
    // Deletes the key with its whole subtree. A relative path needs an open key: with none,
    // nothing is deleted.
    bool RemoveKey(const std::string& path);
    void ListSubkeys(std::vector<std::string>& list);
    // How many values the open key holds, its default value included once set; 0 with no
    // key open.
    DWORD CountValues();

    HKEY RootKey() const { return root_; }
    bool KeyOpen() const { return current_ != 0; }
    const std::string& CurrentPath() const { return currentPath_; }

  private:
    struct Target {
        HKEY base;
        std::string subKey;
        bool relative;
    };
    Target Resolve(const std::string& path) const;
    void CloseKey();
    void ChangeKey(HKEY key, const std::string& path);
    bool QueryInfo(HKEY key, DWORD* subKeys, DWORD* maxSubKeyLen);
    std::string EnumSubkey(HKEY key, DWORD index, DWORD maxLen);

    Platform& sys_;
    HKEY root_ = HKEY_CURRENT_USER;
    HKEY current_ = 0;
    std::string currentPath_;
    // The predefined roots are never closed and closing never flushes: RegCloseKey only.
    static constexpr REGSAM access_ = KEY_ALL_ACCESS;
};

}  // namespace vt
