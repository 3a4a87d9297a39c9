#include "tools/RightClickMenus.h"

#include "store/RegistryValues.h"
#include "platform/NoCase.h"
#include "store/ConfigDat.h"
#include "store/FileLimits.h"
#include "store/Idioms.h"
#include "store/RestorePoints.h"
#include "store/StoreError.h"
#include "store/TIniFile.h"
#include "store/TRegistry.h"

#include <algorithm>
#include <cstring>

namespace vt {
namespace {

const char* const kTitle = "Title";
const char* const kPlayer = "player";
const char* const kShell = "Shell";
constexpr std::size_t kLongestName = 255;
// The shell puts the clicked file's path in place of %1.
const char* const kFileArgument = " \"%1\"";

std::string VerbKey(const std::string& fileType, const std::string& title) {
    return fileType + "\\" + kShell + "\\" + title;
}

std::string CommandKey(const std::string& fileType, const std::string& title) {
    return VerbKey(fileType, title) + "\\command";
}

// Whether the open key holds no value and no subkey other than `child`.
bool HoldsAtMost(TRegistry& reg, const std::string& child) {
    std::vector<std::string> children;
    reg.ListSubkeys(children);
    return reg.CountValues() == 0 &&
           std::all_of(children.begin(), children.end(),
                       [&](const std::string& name) { return EqualNoCase(name, child); });
}

// The file type the page gives an extension that has none: ".zip" becomes ".zipfiles".
std::string OwnFileType(const std::string& ext) {
    return ext + "files";
}

}  // namespace

RightClickMenus::RightClickMenus(TForm1& form, Platform& sys, ui::Prompts& prompts)
    : Sheet("TabSheet12", &form.PageControl1, "Right Click Menus", 6),
      form_(form),
      sys_(sys),
      prompts_(prompts) {
    for (const FileType& type : Types)
        form.MarkOnPress(type.box, [this, &type] { PressBox(type); });
    Edit13.SetReadOnly(true);
    Edit12.OnChange = [this] { FieldChanged(); };
    Edit13.OnChange = [this] { FieldChanged(); };
    SpeedButton3.OnClick = [this] { SpeedButton3Click(); };
    Button6.OnClick = [this] { Button6Click(); };
    Button8.OnClick = [this] { Button8Click(); };
    LayOut();
    HideDetails();
}

void RightClickMenus::LayOut() {
    RxLabel12.SetBounds(8, 8, 0, 24);
    Label18.SetBounds(8, 44, 0, 13);
    Label19.SetBounds(8, 58, 0, 13);
    Label20.SetBounds(8, 72, 0, 13);
    for (int i = 0; i < static_cast<int>(Types.size()); ++i)
        Types[i].box.SetBounds(16 + (i / 6) * 168, 96 + (i % 6) * 20, 150, 17);
    Label14.SetBounds(16, 230, 0, 13);
    Edit12.SetBounds(120, 226, 260, 21);
    Label16.SetBounds(16, 258, 0, 13);
    Edit13.SetBounds(120, 254, 260, 21);
    SpeedButton3.SetBounds(384, 254, 23, 21);
    Button6.SetBounds(120, 286, 75, 25);
    Button8.SetBounds(204, 286, 75, 25);
}

// The fields stay on the page, greyed and empty, until a box opens them.
void RightClickMenus::HideDetails() {
    for (ui::Control* control : std::initializer_list<ui::Control*>{
             &Label14, &Label16, &Edit12, &Edit13, &SpeedButton3, &Button6, &Button8})
        control->SetEnabled(false);
    Edit12.SetText("");
    Edit13.SetText("");
}

std::string RightClickMenus::DataIni() const {
    return form_.ProgramDir + "\\data.ini";
}

// --- Reading ---------------------------------------------------------------------------

void RightClickMenus::ReadEntry(const std::string& ext) {
    TIniFile ini(sys_, DataIni());
    MenuTitle = ini.ReadText(ext, kTitle, "");
    MenuPlayer = ini.ReadText(ext, kPlayer, "");
}

bool RightClickMenus::MadeEntry(const std::string& ext) {
    TIniFile ini(sys_, DataIni());
    return !ini.ReadText(ext, kTitle, "").empty() || !ini.ReadText(ext, kPlayer, "").empty();
}

// Read_data_ini for every type: "data.ini" alone decides, the registry is not asked.
void RightClickMenus::Read() {
    std::vector<BYTE> bytes;
    if (!sys_.ReadFileBytes(DataIni().c_str(), &bytes, limits::kDataIni) &&
        sys_.GetLastError() == static_cast<DWORD>(ERROR_FILE_TOO_LARGE))
        throw IoError(DataIni() +
                      " is larger than the 64 KB Windows reads of it: the right-click "
                      "entries it names are not shown.");
    for (const FileType& type : Types) {
        ReadEntry(type.ext);
        type.box.SetChecked(!MenuTitle.empty() && !MenuPlayer.empty());
    }
}

std::string RightClickMenus::FileTypeOf(const std::string& ext) {
    return ReadRegistryText(sys_, HKEY_CLASSES_ROOT, ext, "", "");
}

bool RightClickMenus::VerbExists(const std::string& fileType, const std::string& title) {
    TRegistry reg(sys_);
    reg.SelectRoot(HKEY_CLASSES_ROOT);
    return reg.HasKey(VerbKey(fileType, title));
}

// Without a name there is no verb to look for: the fields stay empty.
void RightClickMenus::Read_RightClickMenus(const std::string& ext) {
    ReadEntry(ext);
    MenuFileType = FileTypeOf(ext);
    if (MenuFileType.empty() || MenuTitle.empty()) return;
    TRegistry reg(sys_);
    if (!OpenKey(reg, HKEY_CLASSES_ROOT, CommandKey(MenuFileType, MenuTitle), false)) return;
    Edit12.SetText(MenuTitle);
    Edit13.SetText(reg.ReadText(""));  // a command that is no text is reported
}

// --- The page's reactions --------------------------------------------------------------

// Runs after the mark and the collapse of the fields, before the box toggles.
void RightClickMenus::PressBox(const FileType& type) {
    MenuExt = type.ext;
    if (type.box.Checked()) return;  // about to be cleared: the fields stay collapsed
    for (ui::Control* control :
         std::initializer_list<ui::Control*>{&Label14, &Label16, &Edit12, &Edit13, &SpeedButton3})
        control->SetEnabled(true);
    Button6.SetEnabled(false);
    Button8.SetEnabled(false);
    Read_RightClickMenus(MenuExt);
}

void RightClickMenus::FieldChanged() {
    if (Edit12.Text().empty() || Edit13.Text().empty()) return;
    Button6.SetEnabled(true);
    Button8.SetEnabled(true);
}

void RightClickMenus::SpeedButton3Click() {
    std::optional<std::string> program = prompts_.OpenFile(kProgramFilter);
    if (program) Edit13.SetText(*program + kFileArgument);
}

// --- Create ----------------------------------------------------------------------------

bool RightClickMenus::MadeByPage(const std::string& fileType, const std::string& title,
                                 const std::string& player) {
    if (title.empty() || player.empty()) return false;
    TRegistry reg(sys_);
    return OpenKey(reg, HKEY_CLASSES_ROOT, CommandKey(fileType, title), false) &&
           GuardedReadText(reg, "", "") == player;
}

// A name that would overwrite a verb of the file type (its "open", another program's entry)
// is refused: a later "Remove" would take that verb away. So is a verb the shell gives a
// meaning of its own.
std::string RightClickMenus::Refusal() {
    const std::string& name = Edit12.Text();
    if (name.empty()) return "Type a name for the menu entry first.";
    if (CodePage::Machine().Find(name, '\\') != std::string::npos)
        return "The name of a menu entry cannot contain a backslash (\\).";
    // The registry takes key names of up to 255 characters, none below a blank.
    if (name.size() > kLongestName)
        return "The name of a menu entry can have at most " + std::to_string(kLongestName) +
               " characters.";
    if (std::any_of(name.begin(), name.end(),
                    [](char c) { return static_cast<unsigned char>(c) < ' '; }))
        return "The name of a menu entry cannot contain a line break or a tab.";
    // data.ini would keep the name trimmed of them while the verb key keeps them: the entry
    // could then never be found again to be removed.
    if (name.front() == ' ' || name.back() == ' ')
        return "The name of a menu entry cannot begin or end with a blank.";
    if (std::strchr("\"'", name.front()) || std::strchr("\"'", name.back()))
        return "The name of a menu entry cannot begin or end with a quotation mark.";
    if (Edit13.Text().empty()) return "Choose the program of the menu entry first.";
    std::string fileType = MenuFileType.empty() ? OwnFileType(MenuExt) : MenuFileType;
    bool ownEntry = EqualNoCase(name, MenuTitle) && MadeByPage(fileType, MenuTitle, MenuPlayer);
    if (VerbExists(fileType, name) && !ownEntry)
        return "The file type " + fileType + " already has a command named \"" + name +
               "\". Choose another name for the menu entry.";
    // Made here, the shell's own verb would change what the shell does with the type's files
    // (the double-click's "open").
    if (IsShellVerb(name))
        return "\"" + name +
               "\" is a command of Windows itself. Choose another name for the menu entry.";
    return {};
}

// The entry this type had is replaced, so a renamed entry leaves no verb behind; a verb
// someone else changed since is not the page's to delete.
void RightClickMenus::Button6Click() {
    if (MenuExt.empty()) return;
    MenuFileType = FileTypeOf(MenuExt);
    ReadEntry(MenuExt);
    if (std::string refusal = Refusal(); !refusal.empty()) {
        prompts_.ShowError(refusal);
        return;
    }
    std::optional<std::string> failure = form_.WritePass([this] {
        // The new verb first: should it fail, the old entry is still there.
        const std::string oldType = MenuFileType, oldTitle = MenuTitle;
        bool replaces = !oldType.empty() && MadeByPage(oldType, oldTitle, MenuPlayer);
        Save_RightClickMenus(MenuExt);
        if (replaces && !(EqualNoCase(oldTitle, MenuTitle) && EqualNoCase(oldType, MenuFileType)))
            DeleteVerb(oldType, oldTitle);
    });
    if (!failure) Button6.SetEnabled(false);
}

// "data.ini" first, so that no verb of the page goes unrecorded; should the registry then
// refuse the verb, "data.ini" gets back the entry it had.
void RightClickMenus::Save_RightClickMenus(const std::string& ext) {
    const std::string oldTitle = MenuTitle, oldPlayer = MenuPlayer;
    MenuTitle = Edit12.Text();
    MenuPlayer = Edit13.Text();
    TIniFile ini(sys_, DataIni());
    ini.WriteText(ext, kTitle, MenuTitle);
    ini.WriteText(ext, kPlayer, MenuPlayer);
    try {
        MenuFileType = FileTypeOf(ext);
        std::string fileType = MenuFileType;
        if (fileType.empty()) {
            fileType = OwnFileType(ext);
            WriteRegistryValue(sys_, HKEY_CLASSES_ROOT, ext, "", fileType);
        }
        WriteRegistryValue(sys_, HKEY_CLASSES_ROOT, CommandKey(fileType, MenuTitle), "",
                           MenuPlayer);
    } catch (const StoreError&) {
        MenuTitle = oldTitle;
        MenuPlayer = oldPlayer;
        if (oldTitle.empty() && oldPlayer.empty()) {
            ini.RemoveSection(ext);
        } else {
            ini.WriteText(ext, kTitle, oldTitle);
            ini.WriteText(ext, kPlayer, oldPlayer);
        }
        throw;
    }
}

// --- Remove ----------------------------------------------------------------------------

void RightClickMenus::DeleteVerb(const std::string& fileType, const std::string& title) {
    TRegistry reg(sys_);
    if (OpenKey(reg, HKEY_CLASSES_ROOT, fileType + "\\" + kShell, false)) reg.RemoveKey(title);
}

bool RightClickMenus::RemoveOwnFileType(const std::string& fileType) {
    TRegistry reg(sys_);
    if (!OpenKey(reg, HKEY_CLASSES_ROOT, fileType, false)) return true;
    if (!HoldsAtMost(reg, kShell) || (reg.OpenPath(kShell, false) && !HoldsAtMost(reg, "")))
        return false;
    TRegistry root(sys_);
    root.SelectRoot(HKEY_CLASSES_ROOT);
    return root.RemoveKey("\\" + fileType);
}

// The page wrote only the extension's default value; whatever else the key holds stays.
void RightClickMenus::RemoveOwnExtension(const std::string& ext) {
    TRegistry reg(sys_);
    if (!OpenKey(reg, HKEY_CLASSES_ROOT, ext, false)) return;
    std::vector<std::string> children;
    reg.ListSubkeys(children);
    if (children.empty() && reg.CountValues() <= 1) {
        TRegistry root(sys_);
        root.SelectRoot(HKEY_CLASSES_ROOT);
        root.RemoveKey("\\" + ext);
    } else {
        reg.RemoveValue("");
    }
}

bool RightClickMenus::Remove_RightClickMenus(const std::string& ext) {
    ReadEntry(ext);
    TIniFile(sys_, DataIni()).RemoveSection(ext);
    MenuFileType = FileTypeOf(ext);
    const std::string ownType = OwnFileType(ext);
    bool verbKept = false;
    // The verb under the extension's file type, and one left over under the page's own type.
    for (const std::string& fileType : {MenuFileType, ownType}) {
        if (fileType.empty() || MenuTitle.empty()) continue;
        if (MadeByPage(fileType, MenuTitle, MenuPlayer))
            DeleteVerb(fileType, MenuTitle);
        else if (fileType == MenuFileType && VerbExists(fileType, MenuTitle))
            verbKept = true;
    }
    bool ownTypeGone = RemoveOwnFileType(ownType);
    if (MenuFileType == ownType && ownTypeGone) RemoveOwnExtension(ext);
    for (const FileType& type : Types)
        if (ext == type.ext) type.box.SetChecked(false);
    return !verbKept;
}

void RightClickMenus::Button8Click() {
    if (MenuExt.empty()) return;
    bool removed = true;
    if (form_.WritePass([&] { removed = Remove_RightClickMenus(MenuExt); })) return;
    Edit12.SetText("");
    Edit13.SetText("");
    Button6.SetEnabled(false);
    Button8.SetEnabled(false);
    if (!removed)
        prompts_.ShowError("The menu entry \"" + MenuTitle + "\" of " + MenuFileType +
                           " was changed by another program after it was created here, so it "
                           "stays in the right-click menu. Veltrim 2000 no longer keeps it.");
}

}  // namespace vt
