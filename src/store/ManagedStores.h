// What the pages and tools write, as they declare it: the registry keys and values, the keys
// of profile files. A restore point may put back exactly these and nothing else.
#pragma once

#include "platform/WinTypes.h"

#include <initializer_list>
#include <string>
#include <vector>

namespace vt {

// A registry key the program writes. HKEY_CLASSES_ROOT is kept as the key it is,
// HKEY_LOCAL_MACHINE\Software\Classes; a part "*" stands for any one key name.
struct ManagedKey {
    HKEY root;
    std::string path;
    std::vector<std::string> values = {};  // the values the program writes there
    bool made = false;                     // the program creates the key where it is missing
    bool whole = false;  // the program deletes the key with its subtree: a point holds it whole
    // A value of the key is only ever put back as this text (or deleted); empty: any data.
    std::string onlyText = {};
    // Which names the "*" takes; none: any.
    bool (*allowed)(const std::string& name) = nullptr;
};

// A key whose values the program writes, creating the key where it is missing.
ManagedKey MadeKey(HKEY root, const std::string& path, std::vector<std::string> values);
// A key whose values the program writes, only ever opening the key.
ManagedKey OpenedKey(HKEY root, const std::string& path, std::vector<std::string> values);
// A key the program deletes with its subtree; `made`: also one it creates.
ManagedKey WholeKey(HKEY root, const std::string& path, bool made);

// A key of a profile file. `file` as the program opens it: a bare name lies in the Windows
// folder, "system\oeminfo.ini" below it.
struct ManagedIniKey {
    std::string file;
    std::string section;
    std::string key;
};

class ManagedStores {
  public:
    ManagedStores() = default;
    ManagedStores(std::initializer_list<ManagedKey> keys,
                  std::initializer_list<ManagedIniKey> ini = {}) {
        for (const ManagedKey& key : keys) Add(key);
        for (const ManagedIniKey& key : ini) Add(key);
    }

    // Values of one key gather in one entry, whichever way the root and path are spelt.
    void Add(ManagedKey key);
    void Add(ManagedIniKey key) { ini_.push_back(std::move(key)); }
    void Add(const ManagedStores& other);

    const std::vector<ManagedKey>& Keys() const { return keys_; }
    // "SECTION\nKEY" in upper case, of every key declared for the file (named as the program
    // opens it, or by its full path below `windowsDir`).
    std::vector<std::string> IniKeysOf(const std::string& file,
                                       const std::string& windowsDir) const;

  private:
    std::vector<ManagedKey> keys_;
    std::vector<ManagedIniKey> ini_;
};

}  // namespace vt
