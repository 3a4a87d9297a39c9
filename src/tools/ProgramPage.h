// The "Veltrim" page: the program's own shortcuts, its welcome window, "Back to Windows
// Default", the home page, the support mail and the About window.
#pragma once

#include "about/TAboutBox.h"
#include "app/TForm1.h"
#include "ui/Prompts.h"

#include <functional>
#include <string>

namespace vt {

class ProgramPage {
  public:
    ProgramPage(TForm1& form, Platform& sys, ui::Prompts& prompts, TAboutBox& about);

    void Read();   // the program page's slice of BacaData
    void Write();  // the last slice of TulisData
    // Its settings as a profile holds them, in the order an import sets them.
    void AddProfileFields(std::vector<ProfileField>& fields);
    // "Back to Windows Default": the boxes set and the values written at once.
    void ResetToWindowsDefault();
    // The shortcut boxes cleared, as at window creation (only the read pass ticks them).
    void ClearShortcutBoxes();

    ui::TabSheet Sheet;
    ui::TitleLabel RxLabel11{"RxLabel11", &Sheet, "Veltrim 2000 ", "Verdana", 24, ui::kNavy};
    ui::Button SpeedButton12{"SpeedButton12", &Sheet, "Home Page", ui::Kind::SpeedButton};
    ui::Button SpeedButton13{"SpeedButton13", &Sheet, "Send Email", ui::Kind::SpeedButton};
    ui::Button SpeedButton15{"SpeedButton15", &Sheet, "About", ui::Kind::SpeedButton};
    ui::GroupBox GroupBox20{"GroupBox20", &Sheet};
    ui::CheckBox BackToWindowsDefault{"CheckBox64", &GroupBox20, "Back to Windows Default"};
    ui::CheckBox DesktopIcon{"CheckBox45", &GroupBox20, "Enable Desktop Icon"};
    ui::CheckBox QuickLaunchIcon{"CheckBox46", &GroupBox20, "Enable QuickLaunch Icon"};
    ui::CheckBox StartMenuIcon{"CheckBox47", &GroupBox20, "Enable Start Menu Icon"};
    ui::CheckBox NoSplashScreen{"CheckBox49", &GroupBox20, "Disable Splash Screen "};
    ui::GroupBox GroupBox13{"GroupBox13", &Sheet};
    ui::Memo Memo5{"Memo5", &GroupBox13};

    static constexpr const char* kHomePage = "http://www.example.com/veltrim/";
    static constexpr const char* kSupportMail = "mailto:support@example.com";

    // "Back to Windows Default" after its question was answered Yes: the other pages' part.
    std::function<void()> OnResetToWindowsDefault;

  private:
    void LayOut();
    void WriteShortcut(ui::CheckBox& box, const std::string& link);
    void WriteGroup();
    // An earlier version's shortcuts below the Windows directory, where the shell keeps the
    // user's folders elsewhere.
    void DeleteEarlierShortcuts();
    void MakeShortcut(const std::string& target, const std::string& link);
    void DeleteShortcut(const std::string& link);
    void CheckBox64MouseDown();

    TForm1& form_;
    Platform& sys_;
    ui::Prompts& prompts_;
};

}  // namespace vt
