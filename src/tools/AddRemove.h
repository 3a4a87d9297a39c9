// The "Add/Remove" page: the entries of the Add/Remove Programs list, which the user may
// rename, give another uninstall command (in the "Uninstal Command" dialog) or delete. Both act
// at once on the registry; the write pass has nothing to do here.
#pragma once

#include "app/Companions.h"
#include "app/TForm1.h"
#include "ui/Prompts.h"

#include <string>

namespace vt {

class AddRemove {
  public:
    AddRemove(TForm1& form, TForm5& dialog, Platform& sys, ui::Prompts& prompts);

    // The read pass, the main window's activation after an edit, and "Remove" refill both
    // lists from the registry.
    void FillLists();
    // An entry is edited in place or deleted whole.
    ManagedStores Touches() const;
    void Button2Click();  // "Edit"
    void Button3Click();  // "Remove"
    // The dialog's OK: asks, then writes what the user changed in it.
    bool SaveEdit();

    ui::TabSheet Sheet;
    ui::TitleLabel RxLabel7{"RxLabel7", &Sheet, "Add/Remove Program", "Verdana", 24, ui::kNavy};
    ui::ListBox ListBox2{"ListBox2", &Sheet};  // the display names
    ui::ListBox ListBox1{"ListBox1", &Sheet};  // the key names, never shown
    ui::Button Button2{"Button2", &Sheet, "Edit"};
    ui::Button Button3{"Button3", &Sheet, "Remove"};
    ui::GroupBox GroupBox21{"GroupBox21", &Sheet};
    ui::Label Label43{"Label43", &GroupBox21,
                      "Remember, removing an entry does not actually uninstal the "};
    ui::Label Label35{"Label35", &GroupBox21, "program."};

    static constexpr const char* kUninstall =
        "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
    static constexpr const char* kDisplayName = "DisplayName";
    static constexpr const char* kUninstallString = "UninstallString";
    static constexpr const char* kAreYouSure = "Are you sure ?";

    // The key chosen by the last "Edit" or "Remove"; the dialog's OK writes to it.
    std::string UninstallKeyName;

  private:
    void LayOut();
    // The selected display name, or the first when none is selected.
    std::string ChosenRow() const;
    // Sets UninstallKeyName to the key that carries `displayName`, the one whose name sorts
    // last when several do; answers false when none does.
    bool FindKeyOf(const std::string& displayName);
    void SayNotFound(const std::string& displayName);

    TForm1& form_;
    TForm5& dialog_;
    Platform& sys_;
    ui::Prompts& prompts_;
    // What the dialog showed: OK writes only the fields that differ from it.
    std::string shownName_, shownCommand_;
};

}  // namespace vt
