// The "System" page: eight on/off settings and six value editors sharing one detail frame.
#pragma once

#include "app/Profile.h"
#include "app/TForm1.h"
#include "pages/SettingsTable.h"
#include "ui/Prompts.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vt {

class SystemPage {
  public:
    SystemPage(TForm1& form, Platform& sys, ui::Prompts& prompts);

    void Read();   // the System slice of BacaData
    void Write();  // the System slice of TulisData
    // The keys and values the page's writes may change: what a restore point may put back.
    ManagedStores Touches();
    // The settings it keeps as rows.
    SettingsList& Rows() { return settings_; }
    // "Back to Windows Default": the boxes set and the values written at once.
    void ResetToWindowsDefault();
    // Puts the detail frames away.
    void HideDetails();
    // The values the detail frame edits, as a settings profile holds them.
    void AddProfileFields(std::vector<ProfileField>& fields);

    ui::TabSheet Sheet;
    ui::Image Image3{"Image3", &Sheet};
    ui::TitleLabel RxLabel2{"RxLabel2", &Sheet, "System Optimizer", "Verdana", 24, ui::kNavy};
    ui::CheckBox CheckBox15{"CheckBox15", &Sheet, "Enable Beep on Error"};
    ui::CheckBox CheckBox16{"CheckBox16", &Sheet, "Maximize Memory in MS-DOS Prompt"};
    ui::CheckBox CheckBox17{"CheckBox17", &Sheet, "Contiguous File Allocation Size"};
    ui::CheckBox CheckBox18{"CheckBox18", &Sheet, "Add Buffer for Harddisk"};
    ui::CheckBox CheckBox19{"CheckBox19", &Sheet, "Disable Low Disk Warning"};
    ui::CheckBox CheckBox20{"CheckBox20", &Sheet, "Disable FIFO Method for Disk Drive"};
    ui::CheckBox CheckBox21{"CheckBox21", &Sheet, "Change Windows Installation Path"};
    ui::CheckBox CheckBox22{"CheckBox22", &Sheet, "Change Windows Owner "};
    ui::CheckBox CheckBox23{"CheckBox23", &Sheet, "Restrict Logon Access"};
    ui::CheckBox CheckBox24{"CheckBox24", &Sheet, "Change Icon Color Format"};
    ui::CheckBox CheckBox25{"CheckBox25", &Sheet, "Optimize Icon Cache Size"};
    ui::CheckBox CheckBox26{"CheckBox26", &Sheet, "Disable Autoplay Data CD"};
    ui::CheckBox CheckBox27{"CheckBox27", &Sheet, "Optimize CD-ROM Cache Size"};
    ui::CheckBox CheckBox28{"CheckBox28", &Sheet, "Optimize CD-ROM Speed"};
    ui::GroupBox GroupBox3{"GroupBox3", &Sheet, "Description"};
    ui::Memo Memo2{"Memo2", &GroupBox3};
    ui::GroupBox GroupBox4{"GroupBox4", &Sheet};
    ui::Label Label3{"Label3", &GroupBox4, "Setup Directory :"};
    ui::Label Label4{"Label4", &GroupBox4};
    ui::Edit Edit1{"Edit1", &GroupBox4};
    ui::Edit Edit2{"Edit2", &GroupBox4};
    ui::Button SpeedButton1{"SpeedButton1", &GroupBox4, "...", ui::Kind::SpeedButton};
    ui::TrackBar TrackBar1{"TrackBar1", &GroupBox4, 0, 4};
    ui::RadioButton RadioButton1{"RadioButton1", &GroupBox4, "16 Bit"};
    ui::RadioButton RadioButton2{"RadioButton2", &GroupBox4, "24 Bit"};
    ui::RadioButton RadioButton3{"RadioButton3", &GroupBox4, "32 Bit"};

    // The page state the detail frame edits, as the read pass left it or the user changed it.
    struct State {
        std::string mode;  // "", "WinDir", "Owner", "IconCache", "CDCache", "CDSpeed"
        // As read from the store and as the frame holds them now: a value editor writes while
        // its box is ticked, once its value differs from the one read.
        ui::Recorded<std::string> sourcePath, owner, organization;
        ui::Recorded<std::string> iconDepth{"16"}, iconCache{"512"};
        ui::Recorded<StoredNumber> cdCache{{620, std::nullopt}}, prefetch{{228, std::nullopt}};
    };
    const State& GetState() const { return state_; }

    static constexpr const char* kFileMissingNote =
        "SYSTEM.INI was not found in the Windows folder: its settings cannot be shown or changed.";

  private:
    void LayOut();
    SettingsList Settings();
    bool SystemIniFound();
    void PressEditor(ui::CheckBox& box, const char* mode);
    // A CD-ROM number as stored; a missing one shows `fallback`, which the store does not hold.
    void ReadNumber(ui::Recorded<StoredNumber>& number, const char* name, std::int32_t fallback);
    void ShowEditor(ui::CheckBox& box);
    void ShowTrack(int width, int maxValue, int labelLeft, int position);
    void TrackBar1Change();
    void SpeedButton1Click();
    bool InMode(const char* mode) const;

    TForm1& form_;
    Platform& sys_;
    ui::Prompts& prompts_;
    State state_;
    SettingsList settings_;
};

}  // namespace vt
