// REGEDIT4 text, the form the Registry Editor exports and imports ("regedit /s file.reg"):
// sections naming keys, "name"=data lines, "name"=- to delete a value and [-key] to delete
// a key with its subtree.
#pragma once

#include "platform/WinTypes.h"

#include <optional>
#include <string>
#include <vector>

namespace vt::regedit4 {

struct Data {
    DWORD type = REG_NONE;
    std::vector<BYTE> bytes;
    friend bool operator==(const Data&, const Data&) = default;
};

// One line of a section: the value (empty name: the default value, written @) and its
// data; no data deletes the value.
struct Entry {
    std::string name;
    std::optional<Data> data;
};

struct Section {
    HKEY root = 0;
    std::string path;     // below the root, without leading or trailing backslash
    bool remove = false;  // [-...]: the key goes with its subtree; no entries
    std::vector<Entry> entries;
};

// "HKEY_LOCAL_MACHINE" and the other predefined roots; empty for any other handle.
std::string RootName(HKEY root);
std::optional<HKEY> RootByName(const std::string& name);

std::string Write(const std::vector<Section>& sections);
// The data as a line writes it after "name=": "\"text\"", "dword:00000001", "hex:01,02".
std::string Notation(const Data& data);
// Reads what Write writes, and the Registry Editor's own exports. Throws
// std::invalid_argument naming the line it cannot read.
std::vector<Section> Read(const std::string& text);

}  // namespace vt::regedit4
