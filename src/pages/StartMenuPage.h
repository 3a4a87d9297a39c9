// The "Start Menu" page: the Explorer policies that trim the Start menu, the special
// folders put into it, its scrolling, its show delay and the sorting of its menus.
#pragma once

#include "app/TForm1.h"
#include "pages/DelayEditor.h"
#include "pages/PageLayout.h"
#include "pages/SettingsTable.h"

#include <string>
#include <vector>

namespace vt {

class StartMenuPage {
  public:
    StartMenuPage(TForm1& form, Platform& sys);

    // The delay goes between the Windows page's Recycle Bin and its other settings (the
    // Windows page reads and writes it there); the rest of the page follows the Windows page.
    Editor DelayEntry();
    void Read();
    void Write();
    // Its settings as a profile holds them, in the order an import sets them.
    void AddProfileFields(std::vector<ProfileField>& fields);
    // The keys and values the page's writes may change: what a restore point may put back.
    ManagedStores Touches();
    // The settings it keeps as rows.
    SettingsList& Rows() { return settings_; }
    // "Back to Windows Default": the boxes set and the values written at once.
    void ResetToWindowsDefault();
    // Puts the delay frame away.
    void HideDetails() { delay_.Hide(); }

    ui::TabSheet Sheet;
    ui::Image Image7{"Image7", &Sheet};
    ui::TitleLabel RxLabel4{"RxLabel4", &Sheet, "Start Menu Enhancements",
                            "Verdana",  24,     ui::kNavy};
    ui::CheckBox CheckBox30{"CheckBox30", &Sheet, "Configure Menu Show Delay"};
    ui::CheckBox CheckBox61{"CheckBox61", &Sheet, "Sort Favorites Menu Order"};
    ui::CheckBox CheckBox31{"CheckBox31", &Sheet, "Sort Programs Menu Order"};
    ui::CheckBox CheckBox56{"CheckBox56", &Sheet, "Clear Recent Documents on Exit"};
    ui::CheckBox CheckBox59{"CheckBox59", &Sheet, "Use Multiple Column for Start Menu"};
    ui::CheckBox CheckBox57{"CheckBox57", &Sheet, "Disable Recent Documents History"};
    ui::CheckBox CheckBox58{"CheckBox58", &Sheet, "Put Control Panel in Start Menu"};
    ui::CheckBox CheckBox60{"CheckBox60", &Sheet, "Put Recycle Bin in Start Menu"};
    ui::CheckBox CheckBox53{"CheckBox53", &Sheet, "Remove the Favorites Menu"};
    ui::CheckBox CheckBox54{"CheckBox54", &Sheet, "Remove the Documents Menu"};
    ui::CheckBox CheckBox50{"CheckBox50", &Sheet, "Remove the Find Menu"};
    ui::CheckBox CheckBox51{"CheckBox51", &Sheet, "Remove the Run Menu"};
    ui::CheckBox CheckBox55{"CheckBox55", &Sheet, "Remove the Log Off Menu"};
    ui::CheckBox CheckBox52{"CheckBox52", &Sheet, "Remove the Shutdown Menu"};
    ui::GroupBox GroupBox14{"GroupBox14", &Sheet, "Description"};
    ui::Memo Memo7{"Memo7", &GroupBox14};
    ui::GroupBox GroupBox19{"GroupBox19", &Sheet};
    ui::Label Label5{"Label5", &GroupBox19, "Menu Show Delay"};
    ui::SpinEdit SpinEdit2{"SpinEdit2", &GroupBox19, 0, 500};
    ui::Label Label6{"Label6", &GroupBox19, "milliseconds"};

    // The "MenuShowDelay" text last read, which the delay falls back to.
    const std::string& KeptDelay() const { return delay_.Kept(); }

  private:
    SettingsList Settings();
    void ReadDelay();
    void WriteDelay();
    void LayOut();
    // One of the Start menu's special folders (a ShellFolders member naming it).
    using Folder = std::string (ShellFolders::*)() const;
    void ReadFolder(ui::CheckBox& box, Folder folder);
    void WriteFolder(ui::CheckBox& box, Folder folder);
    void DeleteMenuOrder(const char* menu);

    TForm1& form_;
    Platform& sys_;
    DelayEditor delay_{Label5, SpinEdit2, Label6, 400};
    SettingsList settings_;
};

}  // namespace vt
