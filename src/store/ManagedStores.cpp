#include "store/ManagedStores.h"

#include "platform/NoCase.h"
#include "store/RestorePointFiles.h"

#include <algorithm>

namespace vt {
namespace {

ManagedKey Canonical(ManagedKey key) {
    if (key.root == HKEY_CLASSES_ROOT) {
        key.root = HKEY_LOCAL_MACHINE;
        key.path = pointfiles::JoinKey(pointfiles::kClasses, key.path.c_str());
    }
    return key;
}

std::string InWindows(const std::string& file, const std::string& windowsDir) {
    if (file.find(':') != std::string::npos) return file;
    return windowsDir + "\\" + file;
}

}  // namespace

ManagedKey MadeKey(HKEY root, const std::string& path, std::vector<std::string> values) {
    return {.root = root, .path = path, .values = std::move(values), .made = true};
}

ManagedKey OpenedKey(HKEY root, const std::string& path, std::vector<std::string> values) {
    return {.root = root, .path = path, .values = std::move(values)};
}

ManagedKey WholeKey(HKEY root, const std::string& path, bool made) {
    return {.root = root, .path = path, .made = made, .whole = true};
}

void ManagedStores::Add(ManagedKey key) {
    key = Canonical(std::move(key));
    auto same = std::find_if(keys_.begin(), keys_.end(), [&](const ManagedKey& known) {
        return known.root == key.root && EqualNoCase(known.path, key.path) &&
               known.whole == key.whole && known.onlyText == key.onlyText &&
               known.allowed == key.allowed;
    });
    if (same == keys_.end()) {
        keys_.push_back(std::move(key));
        return;
    }
    same->made = same->made || key.made;
    for (std::string& value : key.values)
        if (std::none_of(same->values.begin(), same->values.end(),
                         [&](const std::string& v) { return EqualNoCase(v, value); }))
            same->values.push_back(std::move(value));
}

void ManagedStores::Add(const ManagedStores& other) {
    for (const ManagedKey& key : other.keys_) Add(key);
    for (const ManagedIniKey& key : other.ini_) Add(key);
}

std::vector<std::string> ManagedStores::IniKeysOf(const std::string& file,
                                                  const std::string& windowsDir) const {
    std::vector<std::string> keys;
    for (const ManagedIniKey& key : ini_)
        if (EqualNoCase(InWindows(key.file, windowsDir), file))
            keys.push_back(ToUpper(key.section) + "\n" + ToUpper(key.key));
    return keys;
}

}  // namespace vt
