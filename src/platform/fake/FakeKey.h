// What the fake's families share: its registry key, and the parts of a backslashed path.
#pragma once

#include "platform/fake/FakePlatform.h"
#include "platform/NoCase.h"

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace vt::fake {

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

// The parts of a registry or file path, empty ones (doubled backslashes) left out.
std::vector<std::string> SplitKeyPath(const char* subKey);

}  // namespace vt::fake
