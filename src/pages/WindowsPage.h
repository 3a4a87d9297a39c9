// The "Windows" page: shell and desktop settings, context-menu verbs and the Explorer
// toolbar background, whose bitmap path is edited in the page's detail frame.
#pragma once

#include "app/TForm1.h"
#include "pages/PageLayout.h"
#include "pages/SettingsTable.h"
#include "ui/Prompts.h"

#include <string>
#include <vector>

namespace vt {

class WindowsPage {
  public:
    WindowsPage(TForm1& form, Platform& sys, ui::Prompts& prompts);

    void Read();   // the Windows slice of BacaData, the Start Menu delay in its place
    void Write();  // the Windows slice of TulisData
    // Its settings as a profile holds them, in the order an import sets them.
    void AddProfileFields(std::vector<ProfileField>& fields);
    // The keys and values the page's writes may change: what a restore point may put back.
    ManagedStores Touches();
    // The settings it keeps as rows.
    SettingsList& Rows() { return settings_; }
    // The Start Menu page's delay, read and written right after the Recycle Bin setting.
    Editor StartMenuDelay;
    // "Back to Windows Default": the boxes set and the values written at once.
    void ResetToWindowsDefault();
    // Puts the detail frames away.
    void HideDetails();

    ui::TabSheet Sheet;
    ui::Image Image1{"Image1", &Sheet};
    ui::TitleLabel RxLabel3{"RxLabel3", &Sheet, "Windows Enhancements", "Verdana", 24, ui::kNavy};
    ui::CheckBox CheckBox29{"CheckBox29", &Sheet, "More Flexible Recycle Bin"};
    ui::CheckBox CheckBox32{"CheckBox32", &Sheet, "Hide Windows Version Number"};
    ui::CheckBox CheckBox33{"CheckBox33", &Sheet, "Shortcut without \"Shortcut to\""};
    ui::CheckBox CheckBox34{"CheckBox34", &Sheet, "Remove Arrow Symbol on Shortcut"};
    ui::CheckBox CheckBox35{"CheckBox35", &Sheet, "Run Explorer from My Computer"};
    ui::CheckBox CheckBox36{"CheckBox36", &Sheet, "Enable Refresh Automaticly"};
    ui::CheckBox CheckBox63{"CheckBox63", &Sheet, "Display Bitmap Icon as Thumbnail"};
    ui::CheckBox CheckBox37{"CheckBox37", &Sheet, "Enable Smooth Scrolling"};
    ui::CheckBox CheckBox38{"CheckBox38", &Sheet, "Enable Windows Animation"};
    ui::CheckBox CheckBox40{"CheckBox40", &Sheet, "Use Notepad to Open Unknown Files"};
    ui::CheckBox CheckBox41{"CheckBox41", &Sheet, "Add Command Prompt for All Folder"};
    ui::CheckBox CheckBox42{"CheckBox42", &Sheet, "Edit as Default for Batch Files"};
    ui::CheckBox CheckBox39{"CheckBox39", &Sheet, "Small Icons in Explorer Toolbar"};
    ui::CheckBox CheckBox62{"CheckBox62", &Sheet, "Background for Explorer Toolbar "};
    ui::GroupBox GroupBox5{"GroupBox5", &Sheet, "Description"};
    ui::Memo Memo3{"Memo3", &GroupBox5};
    ui::GroupBox GroupBox6{"GroupBox6", &Sheet};
    ui::Label Label49{"Label49", &GroupBox6};
    ui::Edit Edit6{"Edit6", &GroupBox6};
    ui::Button SpeedButton2{"SpeedButton2", &GroupBox6, "...", ui::Kind::SpeedButton};

    static constexpr const char* kExplorerCommand =
        "explorer.exe /e,/n,::{20D04FE0-3AEA-1069-A2D8-08002B30309D}";
    static constexpr const char* kNotepadCommand = "notepad.exe %1";
    static constexpr const char* kFolderCommand = "C:\\Command.com /k cd \"%1\"";

    const std::string& ToolbarBitmapPath() const { return toolbarPath_.Now(); }
    const std::string& BitmapIconText() const { return bitmapIcon_; }

  private:
    SettingsList Settings();
    void LayOut();
    void PressToolbarBackground();
    void SpeedButton2Click();
    void WriteArrowSymbol();
    void WriteMyComputerCommand();
    void WriteNotepadVerb();
    void WriteFolderVerb();
    void WriteBitmapThumbnail();
    void ReadBitmapIcon();

    Platform& sys_;
    ui::Prompts& prompts_;
    ui::Recorded<std::string> toolbarPath_;
    std::string bitmapIcon_;
    DWORD bitmapIconType_ = REG_SZ;
    SettingsList settings_;
};

}  // namespace vt
