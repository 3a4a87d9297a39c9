#include "tools/ProgramPage.h"

#include "store/Folders.h"
#include "store/Paths.h"
#include "platform/NoCase.h"

namespace vt {
namespace {

const char* const kAreYouSure = "Are you sure ?";

}  // namespace

ProgramPage::ProgramPage(TForm1& form, Platform& sys, ui::Prompts& prompts, TAboutBox& about)
    : Sheet("TabSheet6", &form.PageControl1, "Veltrim", 12),
      form_(form),
      sys_(sys),
      prompts_(prompts) {
    SpeedButton12.OnClick = [this] { sys_.ShellExecuteOpen(form_.Handle, "open", kHomePage); };
    SpeedButton13.OnClick = [this] { sys_.ShellExecuteOpen(form_.Handle, "open", kSupportMail); };
    SpeedButton15.OnClick = [&form, &about] {
        form.HideAllPages();
        about.Open(form);
    };
    for (ui::CheckBox* box : {&DesktopIcon, &QuickLaunchIcon, &StartMenuIcon, &NoSplashScreen})
        form.MarkOnPress(*box);
    // The box never toggles itself: its question decides, by mouse or by the Space bar.
    BackToWindowsDefault.SetTogglesItself(false);
    BackToWindowsDefault.OnMouseDown = [this](ui::MouseButton button) {
        if (button == ui::MouseButton::Left) CheckBox64MouseDown();
    };
    BackToWindowsDefault.OnKeyboardToggle = [this] { CheckBox64MouseDown(); };
    form.Describe(
        Memo5,
        {
            {DesktopIcon, "Show Veltrim 2000 icon on the desktop."},
            {QuickLaunchIcon, "Show Veltrim 2000 icon on the quicklaunch toolbar."},
            {StartMenuIcon, "Show Veltrim 2000 icon on the start menu."},
            {NoSplashScreen, "Use this option to enable or disable Veltrim 2000 welcome screen."},
            {BackToWindowsDefault,
             "Use this option if you want to restore Windows default settings."},
        });
    form.ClearsDescription(Sheet, Memo5);
    form.ClearsDescription(GroupBox20, Memo5);
    form.RegisterMemo(Memo5);
    LayOut();
}

void ProgramPage::LayOut() {
    RxLabel11.SetBounds(8, 8, 0, 24);
    SpeedButton12.SetBounds(16, 48, 100, 25);
    SpeedButton13.SetBounds(124, 48, 100, 25);
    SpeedButton15.SetBounds(232, 48, 100, 25);
    GroupBox20.SetBounds(8, 84, 510, 104);
    BackToWindowsDefault.SetBounds(12, 14, 240, 17);
    DesktopIcon.SetBounds(12, 46, 240, 17);
    QuickLaunchIcon.SetBounds(12, 72, 240, 17);
    StartMenuIcon.SetBounds(260, 46, 240, 17);
    NoSplashScreen.SetBounds(260, 72, 240, 17);
    GroupBox13.SetBounds(8, 196, 510, 64);
    Memo5.SetBounds(10, 16, 490, 40);
    Memo5.SetEnabled(false);
}

// A shortcut that exists ticks its box; one that does not leaves the box as it was.
void ProgramPage::Read() {
    const ShellFolders& folders = form_.Folders;
    for (auto [box, link] : {std::pair{&DesktopIcon, folders.DesktopLink()},
                             std::pair{&QuickLaunchIcon, folders.QuickLaunchLink()}})
        if (!link.empty() && FileExists(sys_, link)) box->SetChecked(true);
    const std::vector<std::string> group = folders.GroupLinks();
    if (!group.empty() && FileExists(sys_, group.front())) StartMenuIcon.SetChecked(true);
    NoSplashScreen.SetChecked(form_.Config.ShowSplash() == 0);
}

// A ticked box makes its shortcut whenever it is missing, even when deleted by hand since
// the read; a shortcut is deleted only when the user cleared its box.
void ProgramPage::Write() {
    WriteShortcut(DesktopIcon, form_.Folders.DesktopLink());
    WriteShortcut(QuickLaunchIcon, form_.Folders.QuickLaunchLink());
    WriteGroup();
    // Config.DAT may hold other numbers than 0 and 1: an untouched box leaves them.
    if (NoSplashScreen.Changed()) form_.Config.SetShowSplash(NoSplashScreen.Checked() ? 0 : 1);
}

// A shortcut that cannot be made or deleted stops the pass with its name, as any write does.
void ProgramPage::MakeShortcut(const std::string& target, const std::string& link) {
    if (!sys_.CreateShellLink(target.c_str(), link.c_str(), FolderPath(form_.ProgramDir).c_str()))
        throw IoError("Cannot create file " + link);
}

void ProgramPage::DeleteShortcut(const std::string& link) {
    if (FileExists(sys_, link) && !sys_.DeleteFileA(link.c_str()))
        throw IoError("Cannot delete file " + link);
}

void ProgramPage::WriteShortcut(ui::CheckBox& box, const std::string& link) {
    if (link.empty()) return;
    if (box.Checked()) {
        form_.ProgramDir = TakeProgramDir(sys_);
        if (!FileExists(sys_, link)) MakeShortcut(form_.ProgramDir + "\\Veltrim.exe", link);
    } else if (box.Changed()) {
        DeleteShortcut(link);
    }
}

// An existing group is never refreshed: only a missing program shortcut rebuilds it.
void ProgramPage::WriteGroup() {
    const std::string group = form_.Folders.Group();
    if (group.empty()) return;
    const std::vector<std::string> links = form_.Folders.GroupLinks();
    const std::string &program = links[0], &readme = links[1], &uninstall = links[2];
    if (StartMenuIcon.Checked()) {
        form_.ProgramDir = TakeProgramDir(sys_);
        if (FileExists(sys_, program)) return;
        const std::string& dir = form_.ProgramDir;
        if (!ForceDirectories(sys_, group)) throw IoError("Cannot create folder " + group);
        MakeShortcut(dir + "\\Veltrim.exe", program);
        MakeShortcut(dir + "\\Readme.html", readme);
        sys_.LZCopyFileA((dir + "\\Uninstall.lnk").c_str(), uninstall.c_str());
        MakeShortcut(dir + "\\Uninstall.lnk", uninstall);
        return;
    }
    if (!StartMenuIcon.Changed() || !FileExists(sys_, program)) return;
    for (const std::string& link : links) DeleteShortcut(link);
    RemoveDir(sys_, group);  // a folder that holds other files stays
}

void ProgramPage::ResetToWindowsDefault() {
    DesktopIcon.SetChecked(false);
    QuickLaunchIcon.SetChecked(false);
    StartMenuIcon.SetChecked(true);
    NoSplashScreen.SetChecked(false);
    DeleteEarlierShortcuts();
}

void ProgramPage::DeleteEarlierShortcuts() {
    const ShellFolders earlier = ShellFolders::BelowWindows(form_.WindowsDir);
    for (auto [link, now] : {std::pair{earlier.DesktopLink(), form_.Folders.DesktopLink()},
                             std::pair{earlier.QuickLaunchLink(), form_.Folders.QuickLaunchLink()}})
        if (!link.empty() && !EqualNoCase(link, now)) DeleteShortcut(link);
}

// The box shows a tick only while its question is open.
void ProgramPage::CheckBox64MouseDown() {
    BackToWindowsDefault.SetFontColor(ui::kNavy);
    BackToWindowsDefault.SetChecked(true);
    ui::Answer answer = prompts_.Confirm(kAreYouSure, ui::Buttons::YesNo);
    BackToWindowsDefault.SetFontColor(ui::kBlack);
    BackToWindowsDefault.SetChecked(false);
    if (answer == ui::Answer::Yes && OnResetToWindowsDefault) OnResetToWindowsDefault();
}

void ProgramPage::ClearShortcutBoxes() {
    for (ui::CheckBox* box : {&DesktopIcon, &QuickLaunchIcon, &StartMenuIcon})
        box->SetChecked(false);
}

// "Back to Windows Default" acts at once: no setting.
void ProgramPage::AddProfileFields(std::vector<ProfileField>& fields) {
    AddBoxFields(fields, Sheet, {&BackToWindowsDefault});
}
}  // namespace vt
