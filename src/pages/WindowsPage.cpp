#include "pages/WindowsPage.h"

#include "pages/PageSettings.h"

namespace vt {
namespace {

const char* const kRecycleBinFolder = "CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}\\ShellFolder";
const char* const kMyComputerShell = "CLSID\\{20D04FE0-3AEA-1069-A2D8-08002B30309D}\\shell";
const char* const kMyComputerCommand =
    "CLSID\\{20D04FE0-3AEA-1069-A2D8-08002B30309D}\\shell\\Open\\Command";
const char* const kDesktop = "Control Panel\\Desktop";
const char* const kUnknownShell = "Software\\CLASSES\\Unknown\\shell";
const char* const kNotepadCommandKey = "Software\\CLASSES\\Unknown\\shell\\Notepad\\Command";
const char* const kFolderShell = "Directory\\shell";
const char* const kFolderVerb = "Directory\\shell\\DOS";
const char* const kFolderCommandKey = "Directory\\shell\\DOS\\Command";
const char* const kToolbar = "Software\\Microsoft\\Internet Explorer\\Toolbar";
const char* const kBitmapIcon = "Paint.Picture\\DefaultIcon";
const char* const kOldBitmapIcon = "OldBitmapIcon";
const char* const kThumbnail = "%1";

void Run(const std::function<void()>& step) {
    if (step) step();
}

}  // namespace

// In the page's read and write order.
SettingsList WindowsPage::Settings() {
    const Store desktop = Store::Registry(HKEY_CURRENT_USER, kDesktop);
    const Store defaultExplorer = Store::Registry(
        HKEY_USERS, ".DEFAULT\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer");
    const Store update =
        Store::Registry(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\Update");
    const Store metrics =
        Store::Registry(HKEY_CURRENT_USER, "Control Panel\\Desktop\\WindowMetrics");
    const Store smallIcons = Store::Registry(
        HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\SmallIcons");
    const Store recycleBin = Store::Registry(HKEY_CLASSES_ROOT, kRecycleBinFolder);
    const Store batchVerbs = Store::Registry(HKEY_CLASSES_ROOT, "batfile\\shell");
    using enum WriteIdiom;
    // clang-format off
    return {
        Setting{.box = &CheckBox29, .store = recycleBin, .name = "Attributes", .on = Binary{0x20000170}, .off = Binary{0x20000140}, .idiom = SetOrRestore, .fallback = Binary{9}, .windowsDefault = false,
         .description = "Use this option to make your recycle bin act like common icon."},
        Editor{.read = [this] { Run(StartMenuDelay.read); }, .write = [this] { Run(StartMenuDelay.write); }},
        Setting{.box = &CheckBox32, .store = desktop, .name = "PaintDesktopVersion", .on = "0", .off = "1", .idiom = SetOrRestore, .fallback = "0", .windowsDefault = true,
         .description = "Use this option to remove Windows version number that appears on the bottom right corner of desktop."},
        Setting{.box = &CheckBox33, .store = defaultExplorer, .name = "link", .on = Binary{0}, .off = Binary{0x14}, .idiom = SetOrRestore, .fallback = Binary{9}, .windowsDefault = false,
         .description = "Use this option to stop Windows adding \"Shortcut to\" word when you create a shortcut."},
        Editor{.box = &CheckBox34,
               .read = [this] { CheckBox34.SetChecked(!HasRegistryValue(sys_, HKEY_CLASSES_ROOT, "lnkfile", "IsShortcut")); },
               .write = [this] { if (CheckBox34.Changed()) WriteArrowSymbol(); },
               .description = "Use this option to remove arrow symbol that appears on the bottom right corner of shortcut icon.",
               .windowsDefault = false,
               .touches = {MadeKey(HKEY_CLASSES_ROOT, "lnkfile", {"IsShortcut"})}},
        Editor{.box = &CheckBox35,
               .read = [this] { CheckBox35.SetChecked(ReadRegistryText(sys_, HKEY_CLASSES_ROOT, kMyComputerCommand, "", "") == kExplorerCommand); },
               .write = [this] { if (CheckBox35.Changed()) WriteMyComputerCommand(); },
               .description = "Use this option to run Windows Explorer when you double-clicking My Computer icon.",
               .windowsDefault = false,
               .touches = {WholeKey(HKEY_CLASSES_ROOT, std::string(kMyComputerShell) + "\\Open", true)}},
        Setting{.box = &CheckBox36, .store = update, .name = "UpdateMode", .on = Binary{0}, .off = Binary{1}, .idiom = SetOrRestore, .fallback = Binary{9}, .windowsDefault = false,
         .description = "Use this option to make your desktop refresh automaticly without pressing F5 key."},
        Setting{.box = &CheckBox37, .store = desktop, .name = "SmoothScroll", .on = Binary{1}, .idiom = SetOrDelete, .fallback = Binary{9}, .windowsDefault = true,
         .description = "Use this option to enable smooth scrolling function."},
        Setting{.box = &CheckBox38, .store = metrics, .name = "MinAnimate", .on = "1", .off = "0", .idiom = SetOrRestore, .fallback = "1", .windowsDefault = true,
         .description = "Use this option to enable Windows animation function."},
        Setting{.box = &CheckBox39, .store = smallIcons, .name = "SmallIcons", .on = "YES", .idiom = SetOrDelete, .fallback = "NO", .windowsDefault = false, .upperCase = true,
         .description = "Use this option to make icons in Explorer toolbar smallest.", .cell = 12},
        Editor{.box = &CheckBox40,
               .read = [this] { CheckBox40.SetChecked(ReadRegistryText(sys_, HKEY_LOCAL_MACHINE, kNotepadCommandKey, "", "") == kNotepadCommand); },
               .write = [this] { if (CheckBox40.Changed()) WriteNotepadVerb(); },
               .description = "Use this option to add notepad to the context menu of all unknown files.",
               .windowsDefault = false,
               .touches = {MadeKey(HKEY_LOCAL_MACHINE, kUnknownShell, {""}),
                           WholeKey(HKEY_LOCAL_MACHINE, std::string(kUnknownShell) + "\\NotePad", true)}},
        Editor{.box = &CheckBox41,
               .read = [this] { CheckBox41.SetChecked(ReadRegistryText(sys_, HKEY_CLASSES_ROOT, kFolderCommandKey, "", "") == kFolderCommand); },
               .write = [this] { if (CheckBox41.Changed()) WriteFolderVerb(); },
               .description = "Use this option to add command prompt to the context menu of all folder.",
               .windowsDefault = false,
               .touches = {WholeKey(HKEY_CLASSES_ROOT, kFolderVerb, true)}},
        Setting{.box = &CheckBox42, .store = batchVerbs, .name = "", .on = "edit", .off = "", .idiom = OnOrOff, .fallback = "", .windowsDefault = false,
         .description = "Use this option to make edit as a default action when you double-clicking batch file."},
        TextEditor(sys_, CheckBox62, {{&toolbarPath_, HKEY_CURRENT_USER, kToolbar, "BackBitmapShell", ""}},
                   "Use this option to change Windows Explorer toolbar background.", [this] { PressToolbarBackground(); },
                   false),
        Editor{.box = &CheckBox63,
               .read = [this] {
                   ReadBitmapIcon();
                   CheckBox63.SetChecked(bitmapIcon_ == kThumbnail);
               },
               .write = [this] { if (CheckBox63.Changed()) WriteBitmapThumbnail(); },
               .description = "Use this option to show all bitmap file icons as thumbnails.",
               .cell = 6,
               .windowsDefault = false,
               .touches = {MadeKey(HKEY_CLASSES_ROOT, kBitmapIcon, {"", kOldBitmapIcon})}},
    };
    // clang-format on
}

WindowsPage::WindowsPage(TForm1& form, Platform& sys, ui::Prompts& prompts)
    : Sheet("TabSheet3", &form.PageControl1, "Windows", 2),
      sys_(sys),
      prompts_(prompts),
      settings_(Settings()) {
    form.ClearsDescription(Sheet, Memo3);
    form.ClearsDescription(GroupBox5, Memo3);
    form.RegisterMemo(Memo3);
    AttachSettings(form, settings_, Memo3);
    Edit6.OnChange = [this] { toolbarPath_.Set(Edit6.Text()); };
    SpeedButton2.OnClick = [this] { SpeedButton2Click(); };
    LayOut();
    HideDetails();
}

void WindowsPage::LayOut() {
    LayOutHeaderAndColumns(Image1, RxLabel3, settings_.Boxes());
    LayOutDescription(GroupBox5, Memo3);
    GroupBox6.SetBounds(8, 274, 320, 66);
    Label49.SetBounds(16, 10, 0, 13);
    Edit6.SetBounds(16, 28, 257, 21);
    SpeedButton2.SetBounds(280, 28, 23, 21);
}

void WindowsPage::HideDetails() {
    Label49.SetVisible(false);
    Edit6.SetVisible(false);
    SpeedButton2.SetVisible(false);
}

// Runs before the box toggles: only the unchecked box, about to be set, opens the editor.
void WindowsPage::PressToolbarBackground() {
    if (CheckBox62.Checked()) return;
    Label49.SetCaption("Explorer toolbar background file");
    Label49.SetVisible(true);
    Edit6.SetText(toolbarPath_.Now());
    Edit6.SetVisible(true);
    SpeedButton2.SetVisible(true);
}

void WindowsPage::SpeedButton2Click() {
    std::optional<std::string> chosen = prompts_.OpenFile("Bitmaps (*.bmp)|*.bmp");
    if (!chosen) return;
    toolbarPath_.Set(*chosen);
    Edit6.SetText(toolbarPath_.Now());
}

void WindowsPage::Read() {
    settings_.Read(sys_);
}

void WindowsPage::ReadBitmapIcon() {
    TRegistry reg(sys_);
    bool open = OpenKey(reg, HKEY_CLASSES_ROOT, kBitmapIcon, false);
    bitmapIcon_ = open ? GuardedReadText(reg, "", "") : "";
    bitmapIconType_ = open && reg.ValueType("") == REG_EXPAND_SZ ? REG_EXPAND_SZ : REG_SZ;
}

// The settings with code of their own follow the same rule as the rows: a box that still
// shows what the read pass showed leaves its keys and values alone.
void WindowsPage::ResetToWindowsDefault() {
    settings_.ResetBoxes();
    WriteRegistryValue(sys_, HKEY_CURRENT_USER, kToolbar, "BackBitmapShell", std::string());
}

void WindowsPage::Write() {
    settings_.Write(sys_);
}

// The shell draws the arrow on every class that has "IsShortcut", whatever its text.
void WindowsPage::WriteArrowSymbol() {
    TRegistry reg(sys_);
    OpenKey(reg, HKEY_CLASSES_ROOT, "lnkfile", true);
    if (CheckBox34.Checked())
        reg.RemoveValue("IsShortcut");
    else
        reg.WriteText("IsShortcut", "");
}

void WindowsPage::WriteMyComputerCommand() {
    if (CheckBox35.Checked()) {
        WriteRegistryValue(sys_, HKEY_CLASSES_ROOT, kMyComputerCommand, "",
                           std::string(kExplorerCommand));
        return;
    }
    TRegistry reg(sys_);
    OpenKey(reg, HKEY_CLASSES_ROOT, kMyComputerShell, true);
    reg.RemoveKey("Open");
}

void WindowsPage::WriteNotepadVerb() {
    TRegistry reg(sys_);
    OpenKey(reg, HKEY_LOCAL_MACHINE, kUnknownShell, true);
    if (!CheckBox40.Checked()) {
        reg.WriteText("", "");
        reg.RemoveKey("NotePad");
        return;
    }
    reg.WriteText("", "Notepad");
    reg.OpenPath("NotePad", true);
    reg.WriteText("", "&Notepad");
    reg.OpenPath("Command", true);
    reg.WriteText("", kNotepadCommand);
}

void WindowsPage::WriteFolderVerb() {
    TRegistry reg(sys_);
    if (!CheckBox41.Checked()) {
        OpenKey(reg, HKEY_CLASSES_ROOT, kFolderShell, true);
        reg.RemoveKey("DOS");
        return;
    }
    OpenKey(reg, HKEY_CLASSES_ROOT, kFolderVerb, true);
    reg.WriteText("", "Command Prompt Here");
    reg.OpenPath("Command", true);
    reg.WriteText("", kFolderCommand);
}

// The icon text the thumbnail replaces is kept once in "OldBitmapIcon", with its type, and put
// back when the box is cleared.
void WindowsPage::WriteBitmapThumbnail() {
    TRegistry reg(sys_);
    OpenKey(reg, HKEY_CLASSES_ROOT, kBitmapIcon, true);
    if (CheckBox63.Checked()) {
        if (bitmapIcon_ == kThumbnail) return;
        reg.WriteText(kOldBitmapIcon, bitmapIcon_, bitmapIconType_);
        reg.WriteText("", kThumbnail);
        return;
    }
    std::optional<DWORD> keptType = reg.ValueType(kOldBitmapIcon);
    if (!keptType) return;
    std::string old = reg.ReadText(kOldBitmapIcon);
    reg.WriteText("", old, *keptType == REG_EXPAND_SZ ? REG_EXPAND_SZ : REG_SZ);
    reg.RemoveValue(kOldBitmapIcon);
}

ManagedStores WindowsPage::Touches() {
    return settings_.Touches();
}

void WindowsPage::AddProfileFields(std::vector<ProfileField>& fields) {
    AddBoxFields(fields, Sheet);
    ProfileField bitmap =
        TextField(Sheet.Caption(), ProfileKey(CheckBox62.Caption()) + " - Bitmap", Edit6);
    bitmap.shown = [this] { return ToolbarBitmapPath(); };
    fields.push_back(Detail(std::move(bitmap), CheckBox62));
}
}  // namespace vt
