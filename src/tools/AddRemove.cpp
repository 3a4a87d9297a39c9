#include "tools/AddRemove.h"

#include "store/RegistryValues.h"
#include "store/StoreError.h"
#include "store/TRegistry.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace vt {
namespace {

std::string EntryKey(const std::string& keyName) {
    return std::string(AddRemove::kUninstall) + "\\" + keyName;
}

// The entry's display name; nothing when it has none or it cannot be read. Each key is read
// through its own accessor.
std::optional<std::string> DisplayNameOf(Platform& sys, const std::string& keyName) {
    TRegistry reg(sys);
    if (!OpenKey(reg, HKEY_LOCAL_MACHINE, EntryKey(keyName), false) ||
        !reg.HasValue(AddRemove::kDisplayName))
        return std::nullopt;
    try {
        return reg.ReadText(AddRemove::kDisplayName);
    } catch (const StoreError&) {
        return std::nullopt;
    }
}

// A text keeps the type it was stored with (an expandable string stays one).
void WriteKeepingType(TRegistry& reg, const std::string& name, const std::string& text) {
    reg.WriteText(name, text, reg.ValueType(name) == REG_EXPAND_SZ ? REG_EXPAND_SZ : REG_SZ);
}

}  // namespace

AddRemove::AddRemove(TForm1& form, TForm5& dialog, Platform& sys, ui::Prompts& prompts)
    : Sheet("TabSheet10", &form.PageControl1, "Add/Remove", 7),
      form_(form),
      dialog_(dialog),
      sys_(sys),
      prompts_(prompts) {
    ListBox1.SetVisible(false);
    Button2.OnClick = [this] { Button2Click(); };
    Button3.OnClick = [this] { Button3Click(); };
    dialog.Save = [this] { return SaveEdit(); };
    LayOut();
}

void AddRemove::LayOut() {
    RxLabel7.SetBounds(8, 8, 0, 24);
    ListBox2.SetBounds(8, 44, 510, 190);
    ListBox1.SetBounds(8, 44, 510, 190);
    Button2.SetBounds(8, 242, 75, 25);
    Button3.SetBounds(90, 242, 75, 25);
    GroupBox21.SetBounds(8, 274, 330, 50);
    Label43.SetBounds(12, 14, 0, 13);
    Label35.SetBounds(12, 30, 0, 13);
}

// A key without a display name, or one that cannot be read, is not listed.
void AddRemove::FillLists() {
    std::vector<std::string> keys;
    {
        TRegistry reg(sys_);
        if (OpenKey(reg, HKEY_LOCAL_MACHINE, kUninstall, false)) reg.ListSubkeys(keys);
    }
    ListBox1.SetItems(keys);
    std::vector<std::string> names;
    for (const std::string& key : ListBox1.Items())
        if (std::optional<std::string> name = DisplayNameOf(sys_, key)) names.push_back(*name);
    ListBox2.SetItems(names);
}

std::string AddRemove::ChosenRow() const {
    return ListBox2.Items()[std::max(ListBox2.ItemIndex(), 0)];
}

// Only a listed entry can be chosen: a key without a display name never matches, not even an
// entry whose display name is empty.
bool AddRemove::FindKeyOf(const std::string& displayName) {
    UninstallKeyName.clear();
    for (const std::string& key : ListBox1.Items())
        if (DisplayNameOf(sys_, key) == displayName) UninstallKeyName = key;
    return !UninstallKeyName.empty();
}

// The lists then show the registry as it is now.
void AddRemove::SayNotFound(const std::string& displayName) {
    prompts_.ShowError("\"" + displayName +
                       "\" is no longer in the registry: the list of programs has changed since "
                       "it was shown. Nothing was changed.");
    FillLists();
}

void AddRemove::Button2Click() {
    if (ListBox2.Items().empty()) {
        prompts_.ShowError("There is no entry to edit.");
        return;
    }
    std::string chosen = ChosenRow();
    if (!FindKeyOf(chosen)) return SayNotFound(chosen);
    // An unreadable command shows as empty and stays as stored unless the user types one.
    shownCommand_ = ReadRegistryText(sys_, HKEY_LOCAL_MACHINE, EntryKey(UninstallKeyName),
                                     kUninstallString, "");
    shownName_ = chosen;
    dialog_.Edit1.SetText(shownCommand_);
    form_.HideAllPages();
    dialog_.Edit2.SetText(shownName_);
    dialog_.Open(form_);
}

// Only what the user changed is written: an untouched field leaves its value as stored.
bool AddRemove::SaveEdit() {
    if (UninstallKeyName.empty()) return true;  // no entry was chosen: nothing to save to
    if (prompts_.Confirm(kAreYouSure, ui::Buttons::YesNo) != ui::Answer::Yes) return true;
    std::optional<std::string> failure = form_.WritePass([this] {
        TRegistry reg(sys_);
        OpenKey(reg, HKEY_LOCAL_MACHINE, EntryKey(UninstallKeyName), false);
        if (dialog_.Edit1.Text() != shownCommand_)
            WriteKeepingType(reg, kUninstallString, dialog_.Edit1.Text());
        if (dialog_.Edit2.Text() != shownName_)
            WriteKeepingType(reg, kDisplayName, dialog_.Edit2.Text());
    });
    form_.UninstallEdited = true;
    return !failure;
}

void AddRemove::Button3Click() {
    if (ListBox2.Items().empty()) {
        prompts_.ShowError("There is no entry to remove.");
        return;
    }
    if (prompts_.Confirm(kAreYouSure, ui::Buttons::YesNo) != ui::Answer::Yes) return;
    std::string chosen = ChosenRow();
    if (!FindKeyOf(chosen)) return SayNotFound(chosen);
    form_.WritePass([this] {
        TRegistry reg(sys_);
        if (OpenKey(reg, HKEY_LOCAL_MACHINE, kUninstall, false)) reg.RemoveKey(UninstallKeyName);
    });
    FillLists();
}

ManagedStores AddRemove::Touches() const {
    return {WholeKey(HKEY_LOCAL_MACHINE, std::string(kUninstall) + "\\*", false)};
}

}  // namespace vt
