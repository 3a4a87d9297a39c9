// The "Boot" page: the [Options] keys of C:\MSDOS.SYS and the boot menu delay.
#pragma once

#include "app/TForm1.h"
#include "pages/DelayEditor.h"
#include "pages/PageLayout.h"
#include "pages/SettingsTable.h"

#include <array>
#include <string>
#include <vector>

namespace vt {

class BootPage {
  public:
    BootPage(TForm1& form, Platform& sys);

    void Read();   // the Boot slice of BacaData
    void Write();  // the Boot slice of TulisData
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
    ui::Image Image2{"Image2", &Sheet};
    ui::TitleLabel RxLabel1{"RxLabel1", &Sheet, "Boot Optimizer", "Verdana", 24, ui::kNavy};
    ui::CheckBox CheckBox1{"CheckBox1", &Sheet, "Disable Boot Function Keys"};
    ui::CheckBox CheckBox2{"CheckBox2", &Sheet, "Display Windows Boot Menu"};
    ui::CheckBox CheckBox3{"CheckBox3", &Sheet, "Enable Multi-Booting Feature"};
    ui::CheckBox CheckBox4{"CheckBox4", &Sheet, "Disable Autocreate Bootlog File"};
    ui::CheckBox CheckBox5{"CheckBox5", &Sheet, "Disable System Registry Module"};
    ui::CheckBox CheckBox6{"CheckBox6", &Sheet, "Disable Boot into GUI"};
    ui::CheckBox CheckBox7{"CheckBox7", &Sheet, "Disable Safe Mode Warning Message"};
    ui::CheckBox CheckBox8{"CheckBox8", &Sheet, "Enable Safe Mode with Networking"};
    ui::CheckBox CheckBox9{"CheckBox9", &Sheet, "Enable Double Buffering Support"};
    ui::CheckBox CheckBox10{"CheckBox10", &Sheet, "Disable DoubleSpace Driver"};
    ui::CheckBox CheckBox11{"CheckBox11", &Sheet, "Disable DriveSpace Driver"};
    ui::CheckBox CheckBox12{"CheckBox12", &Sheet, "Load System Files into Low Memory"};
    ui::CheckBox CheckBox13{"CheckBox13", &Sheet, "Disable Windows Splash Screen"};
    ui::CheckBox CheckBox14{"CheckBox14", &Sheet, "Disable Autoscan on Boot Up"};
    ui::GroupBox GroupBox1{"GroupBox1", &Sheet, "Description"};
    ui::Memo Memo1{"Memo1", &GroupBox1};
    ui::GroupBox GroupBox2{"GroupBox2", &Sheet};
    ui::Label Label1{"Label1", &GroupBox2, "Boot menu delay : "};
    ui::SpinEdit SpinEdit1{"SpinEdit1", &GroupBox2, 0, 30};
    ui::Label Label2{"Label2", &GroupBox2, "seconds"};

    // The text last read for "BootMenuDelay", which the delay falls back to.
    const std::string& KeptDelay() const { return delay_.Kept(); }

    static constexpr const char* kFileMissingNote =
        "C:\\MSDOS.SYS was not found: the boot options cannot be shown or changed.";

  private:
    SettingsList Settings();
    void LayOut();

    TForm1& form_;
    Platform& sys_;
    DelayEditor delay_{Label1, SpinEdit1, Label2, 30};
    SettingsList settings_;
};

}  // namespace vt
