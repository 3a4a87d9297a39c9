#include "pages/StartMenuPage.h"

#include "pages/PageSettings.h"

#include "platform/NoCase.h"
#include "store/Folders.h"

namespace vt {
namespace {

const char* const kPolicies = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
const char* const kDesktop = "Control Panel\\Desktop";
const char* const kDelayName = "MenuShowDelay";
const char* const kMenuOrder = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MenuOrder";

}  // namespace

// In the page's read and write order; the cells give the boxes' places on screen.
SettingsList StartMenuPage::Settings() {
    const Store policies = Store::Registry(HKEY_CURRENT_USER, kPolicies);
    const WriteIdiom setOrRestore = WriteIdiom::SetOrRestore;
    // clang-format off
    return {
        Setting{.box = &CheckBox50, .store = policies, .name = "NoFind",                .on = Binary{1}, .off = Binary{0}, .idiom = setOrRestore, .fallback = Binary{0}, .windowsDefault = false,
         .description = "Use this option to remove the find menu from your start menu settings.", .cell = 10},
        Setting{.box = &CheckBox51, .store = policies, .name = "NoRun",                 .on = Binary{1}, .off = Binary{0}, .idiom = setOrRestore, .fallback = Binary{0}, .windowsDefault = false,
         .description = "Use this option to remove the run menu from your start menu settings.", .cell = 11},
        Setting{.box = &CheckBox52, .store = policies, .name = "NoClose",               .on = Binary{1}, .off = Binary{0}, .idiom = setOrRestore, .fallback = Binary{0}, .windowsDefault = false,
         .description = "Use this option to remove the shutdown menu from your start menu settings.", .cell = 13},
        Setting{.box = &CheckBox53, .store = policies, .name = "NoFavoritesMenu",       .on = Binary{1}, .off = Binary{0}, .idiom = setOrRestore, .fallback = Binary{0}, .windowsDefault = false,
         .description = "Use this option to remove the favorites menu from your start menu settings.", .cell = 8},
        Setting{.box = &CheckBox54, .store = policies, .name = "NoRecentDocsMenu",      .on = Binary{1}, .off = Binary{0}, .idiom = setOrRestore, .fallback = Binary{0}, .windowsDefault = false,
         .description = "Use this option to remove the documents menu from your start menu settings.", .cell = 9},
        Setting{.box = &CheckBox55, .store = policies, .name = "NoLogOff",              .on = Binary{1}, .off = Binary{0}, .idiom = setOrRestore, .fallback = Binary{0}, .windowsDefault = false,
         .description = "Use this option to remove the log off menu from your start menu settings.", .cell = 12},
        Setting{.box = &CheckBox56, .store = policies, .name = "ClearRecentDocsOnExit", .on = Binary{1}, .off = Binary{0}, .idiom = setOrRestore, .fallback = Binary{0}, .windowsDefault = false,
         .description = "Use this option to clear the recent documents when you exit Windows.", .cell = 3},
        Setting{.box = &CheckBox57, .store = policies, .name = "NoRecentDocsHistory",   .on = Binary{1}, .off = Binary{0}, .idiom = setOrRestore, .fallback = Binary{0}, .windowsDefault = false,
         .description = "Use this option to prevent Win98 to create recent documents history in the documents folder.", .cell = 5},
        Editor{.box = &CheckBox58,
               .read = [this] { ReadFolder(CheckBox58, &ShellFolders::ControlPanelFolder); },
               .write = [this] { WriteFolder(CheckBox58, &ShellFolders::ControlPanelFolder); },
               .description = "Use this option to put control panel folder in your start menu.",
               .cell = 6,
               .windowsDefault = false},
        Editor{.box = &CheckBox60,
               .read = [this] { ReadFolder(CheckBox60, &ShellFolders::RecycleBinFolder); },
               .write = [this] { WriteFolder(CheckBox60, &ShellFolders::RecycleBinFolder); },
               .description = "Use this option to put recycle bin folder in your start menu.",
               .cell = 7,
               .windowsDefault = false},
        Setting{.box = &CheckBox59,
                .store = Store::Registry(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\explorer\\Advanced"),
                .name = "StartMenuScrollPrograms", .on = "FALSE", .off = "TRUE", .idiom = setOrRestore, .fallback = "TRUE", .windowsDefault = false, .upperCase = true,
                .description = "Use this option to switch back to multiple column instead of a single colomn with scroll arrow lists for the long list.", .cell = 4},
        // An action, not a stored value: every pass while ticked deletes the order Explorer
        // has made since.
        Editor{.box = &CheckBox31,
               .write = [this] { if (CheckBox31.Checked()) DeleteMenuOrder("Start Menu"); },
               .description = "Use this option to sort programs menu items into alphabetical order.",
               .cell = 2,
               .touches = {WholeKey(HKEY_CURRENT_USER, std::string(kMenuOrder) + "\\Start Menu", false)}},
        Editor{.box = &CheckBox61,
               .write = [this] { if (CheckBox61.Checked()) DeleteMenuOrder("Favorites"); },
               .description = "Use this option to sort favorites menu items into alphabetical order.",
               .cell = 1,
               .touches = {WholeKey(HKEY_CURRENT_USER, std::string(kMenuOrder) + "\\Favorites", false)}},
        // The delay is read and written with the Windows page's settings.
        Editor{.box = &CheckBox30,
               .description = "Use this option to set how long Windows must wait before shows the menu. Suggestion: Try 10 or less",
               .press = [this] { delay_.Press(CheckBox30.Checked()); },
               .cell = 0,
               .windowsDefault = false,
               .touches = {MadeKey(HKEY_CURRENT_USER, kDesktop, {kDelayName})}},
    };
    // clang-format on
}

StartMenuPage::StartMenuPage(TForm1& form, Platform& sys)
    : Sheet("TabSheet9", &form.PageControl1, "Start Menu", 3),
      form_(form),
      sys_(sys),
      settings_(Settings()) {
    AttachSettings(form, settings_, Memo7);
    form.ClearsDescription(Sheet, Memo7);
    form.RegisterMemo(Memo7);
    SpinEdit2.SetMaxLength(3);
    LayOut();
    delay_.Hide();
}

void StartMenuPage::LayOut() {
    LayOutHeaderAndColumns(Image7, RxLabel4, settings_.Boxes());
    LayOutDescription(GroupBox14, Memo7);
    GroupBox19.SetBounds(8, 274, 330, 50);
    Label5.SetBounds(14, 22, 0, 13);
    SpinEdit2.SetBounds(112, 18, 56, 21);
    Label6.SetBounds(176, 22, 0, 13);
}

Editor StartMenuPage::DelayEntry() {
    return {.read = [this] { ReadDelay(); }, .write = [this] { WriteDelay(); }};
}

void StartMenuPage::ReadDelay() {
    delay_.Read(ReadRegistryText(sys_, HKEY_CURRENT_USER, kDesktop, kDelayName, "400"),
                HasRegistryValue(sys_, HKEY_CURRENT_USER, kDesktop, kDelayName));
}

void StartMenuPage::WriteDelay() {
    if (delay_.Edited(CheckBox30))
        WriteRegistryValue(sys_, HKEY_CURRENT_USER, kDesktop, kDelayName,
                           std::to_string(SpinEdit2.Value()));
}

// A short policy value fills only the low bytes of a zero.
void StartMenuPage::Read() {
    for (Entry& entry : settings_.Entries())
        if (auto* row = std::get_if<Setting>(&entry)) row->kept.SetNumber(0);
    settings_.Read(sys_);
}

void StartMenuPage::ResetToWindowsDefault() {
    WriteRegistryValue(sys_, HKEY_CURRENT_USER, kDesktop, kDelayName, std::string("400"));
    settings_.ResetBoxes();
    // An earlier version made the folders below the Windows directory.
    const ShellFolders earlier = ShellFolders::BelowWindows(form_.WindowsDir);
    for (Folder folder : {&ShellFolders::ControlPanelFolder, &ShellFolders::RecycleBinFolder}) {
        const std::string path = (earlier.*folder)();
        if (!path.empty() && !EqualNoCase(path, (form_.Folders.*folder)())) RemoveDir(sys_, path);
    }
}

void StartMenuPage::Write() {
    settings_.Write(sys_);
}

void StartMenuPage::ReadFolder(ui::CheckBox& box, Folder folder) {
    const std::string path = (form_.Folders.*folder)();
    box.SetChecked(!path.empty() && DirectoryExists(sys_, path));
}

// Failures are left for the next read pass to show: the box follows the folder. Without a
// Start menu folder the path would name a folder at the root of the drive: nothing is done.
void StartMenuPage::WriteFolder(ui::CheckBox& box, Folder folder) {
    const std::string path = (form_.Folders.*folder)();
    if (!box.Changed() || path.empty()) return;
    if (box.Checked())
        ForceDirectories(sys_, path);
    else
        RemoveDir(sys_, path);
}

// Without its stored order Windows shows the menu sorted by name. Where there is no order
// at all, there is nothing to delete and nothing is created.
void StartMenuPage::DeleteMenuOrder(const char* menu) {
    TRegistry reg(sys_);
    if (OpenKey(reg, HKEY_CURRENT_USER, kMenuOrder, false)) reg.RemoveKey(menu);
}

ManagedStores StartMenuPage::Touches() {
    return settings_.Touches();
}

void StartMenuPage::AddProfileFields(std::vector<ProfileField>& fields) {
    AddBoxFields(fields, Sheet);
    fields.push_back(
        Detail(SpinField(Sheet.Caption(), ProfileKey(Label5.Caption()), SpinEdit2), CheckBox30));
}
}  // namespace vt
