// The table engine of the settings pages: one row per check box that stands for one stored
// value, read by exact comparison and written by its idiom, and editors for the settings with
// code of their own. A page's settings are one list in its read and write order; the list
// also gives the page its boxes (for the layout, the marks and the descriptions).
#pragma once

#include "platform/Platform.h"
#include "store/Idioms.h"
#include "store/ManagedStores.h"
#include "store/RegistryValues.h"
#include "ui/Controls.h"

#include <functional>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace vt {

// Where a setting lives: a registry key, or a section of an INI file.
struct Store {
    static Store Registry(HKEY root, std::string path) {
        return {root, std::move(path), {}, {}, true};
    }
    // A key the write pass opens but never creates: without it, a write raises.
    static Store ExistingKey(HKEY root, std::string path) {
        return {root, std::move(path), {}, {}, false};
    }
    static Store Ini(std::string file, std::string section) {
        return {0, {}, std::move(file), std::move(section), false};
    }
    // A file the write pass never creates: without it, the setting stays as it is.
    static Store ExistingIni(std::string file, std::string section) {
        return {0, {}, std::move(file), std::move(section), false, false};
    }
    bool IsIni() const { return !file.empty(); }

    HKEY root = 0;
    std::string path;
    std::string file;
    std::string section;
    bool createKey = true;
    bool createFile = true;
};

struct Setting {
    ui::CheckBox* box;
    Store store;
    std::string name;
    RegValue on;                   // written while checked
    RegValue off = std::string();  // written while unchecked, where the idiom writes one
    WriteIdiom idiom;
    // The box shows checked when the stored value equals this (when not given: `on`).
    std::optional<RegValue> checkedWhen = std::nullopt;
    RegValue fallback;  // the value a missing or unreadable setting reads as
    // What "Back to Windows Default" sets the box to; none: the box is left as it is.
    std::optional<bool> windowsDefault = std::nullopt;
    bool upperCase = false;             // texts are compared in upper case
    const char* description = nullptr;  // the page's memo shows it while the mouse is over
    int cell = -1;       // the box's place on screen where it is not its place in the list
    BinaryValue kept{};  // a binary setting's run-long buffer
};

// A setting with code of its own, read and written in its place among the rows. Its write
// decides itself whether anything changed since the read.
struct Editor {
    ui::CheckBox* box = nullptr;  // none: it edits what another entry's box stands for
    std::function<void()> read = {};
    std::function<void()> write = {};
    const char* description = nullptr;
    std::function<void()> press = {};  // a left press on its box, after the mark, before the toggle
    int cell = -1;
    std::optional<bool> windowsDefault = std::nullopt;  // as for a row
    ManagedStores touches = {};                         // the keys and values its write may change
};

using Entry = std::variant<Setting, Editor>;

// A registry text a value editor holds beside its box (the detail frame several boxes share
// edits it): read as stored, `fallback` when missing (with `wholeNumber`, also when it is no
// whole number); written while the box is ticked, once it differs from what was read.
struct EditedText {
    ui::Recorded<std::string>* value;
    HKEY root;
    std::string path;
    std::string name;
    std::string fallback;
    bool wholeNumber = false;
};
// The editor of one box over its texts, in their read and write order.
Editor TextEditor(Platform& sys, ui::CheckBox& box, std::vector<EditedText> texts,
                  const char* description, std::function<void()> press,
                  std::optional<bool> windowsDefault = std::nullopt);

// A page's settings in their read and write order.
class SettingsList {
  public:
    SettingsList() = default;
    // An editor with a box that reads nothing stands for an action every write pass does
    // while the box is ticked: its box is marked so (ui::CheckBox::IsAction).
    SettingsList(std::initializer_list<Entry> entries);

    void Read(Platform& sys);
    void Write(Platform& sys);
    // The entries' boxes on screen: each in its cell where it has one, else in list order.
    std::vector<ui::CheckBox*> Boxes() const;
    // Every box with a Windows default set to it (nothing is written).
    void ResetBoxes();
    // What the write may change: each row's value, each editor's declared keys.
    ManagedStores Touches() const;
    std::vector<Entry>& Entries() { return entries_; }

  private:
    std::vector<Entry> entries_;
};

// Sets the box from the store; a missing or unreadable value takes the fallback.
void ReadSetting(Platform& sys, Setting& setting);
// Writes the box's state by the setting's idiom, but only when the box no longer shows what
// the read pass showed: an untouched setting stays as stored. Store errors propagate.
void WriteSetting(Platform& sys, Setting& setting);

}  // namespace vt
