#include "pages/BootPage.h"

#include "pages/PageLayout.h"
#include "pages/PageSettings.h"

#include "store/Folders.h"
#include "store/Paths.h"

namespace vt {
namespace {

const char* const kSection = "Options";
const char* const kDelayKey = "BootMenuDelay";

}  // namespace

// In the page's read and write order: BootKeys, BootMenu, BootMenuDelay, then the rest.
SettingsList BootPage::Settings() {
    const Store options = Store::Ini(kMsdosSys, kSection);
    const WriteIdiom setOrRestore = WriteIdiom::SetOrRestore;
    const Editor delay = {.read =
                              [this] {
                                  TIniFile options(sys_, kMsdosSys);
                                  delay_.Read(options.ReadText(kSection, kDelayKey, "30"),
                                              options.HasValue(kSection, kDelayKey));
                              },
                          .write =
                              [this] {
                                  if (delay_.Edited(CheckBox2))
                                      TIniFile(sys_, kMsdosSys)
                                          .WriteText(kSection, kDelayKey,
                                                     std::to_string(SpinEdit1.Value()));
                              },
                          .touches = {{}, {{kMsdosSys, kSection, kDelayKey}}}};
    // clang-format off
    return {
        Setting{.box = &CheckBox1,  .store = options, .name = "BootKeys",     .on = "0", .off = "1", .idiom = setOrRestore, .fallback = "1", .windowsDefault = false,
         .description = "Use this option to disable the function keys on boot up."},
        Setting{.box = &CheckBox2,  .store = options, .name = "BootMenu",     .on = "1", .off = "0", .idiom = setOrRestore, .fallback = "0", .windowsDefault = false,
         .description = "Use this option to show Windows boot-menu automaticly."},
        delay,
        Setting{.box = &CheckBox3,  .store = options, .name = "BootMulti",    .on = "1", .off = "0", .idiom = setOrRestore, .fallback = "0", .windowsDefault = false,
         .description = "Use this option to enable multi-booting feature."},
        Setting{.box = &CheckBox4,  .store = options, .name = "DisableLog",   .on = "1", .off = "0", .idiom = setOrRestore, .fallback = "0", .windowsDefault = false,
         .description = "Use this option if you do not want to create BOOTLOG.TXT file every time you boot up your computer."},
        Setting{.box = &CheckBox5,  .store = options, .name = "SystemReg",    .on = "0", .off = "1", .idiom = setOrRestore, .fallback = "1", .windowsDefault = false,
         .description = "Use this option if you do not want to load the registry module on boot up."},
        Setting{.box = &CheckBox6,  .store = options, .name = "BootGUI",      .on = "0", .off = "1", .idiom = setOrRestore, .fallback = "1", .windowsDefault = false,
         .description = "Use this option if you do not want to start Windows GUI automaticly."},
        Setting{.box = &CheckBox7,  .store = options, .name = "BootWarn",     .on = "0", .off = "1", .idiom = setOrRestore, .fallback = "1", .windowsDefault = false,
         .description = "Use this option if you do not want Windows gives a warning message before your system starts in safe mode."},
        Setting{.box = &CheckBox8,  .store = options, .name = "Network",      .on = "1", .off = "0", .idiom = setOrRestore, .fallback = "0", .windowsDefault = false,
         .description = "Use this option to enable networking feature in safe mode."},
        Setting{.box = &CheckBox9,  .store = options, .name = "DoubleBuffer", .on = "1", .off = "0", .idiom = setOrRestore, .fallback = "0", .windowsDefault = false,
         .description = "Use this option to enable double buffering feature. Warning : You must check this option if you have SCSI/ESDI disk controllers in your system."},
        Setting{.box = &CheckBox10, .store = options, .name = "DBLSpace",     .on = "0", .off = "1", .idiom = setOrRestore, .fallback = "1", .windowsDefault = false,
         .description = "Use this option to keep Windows from loading doublespace driver. Warning : Do not check this option if your drives are compressed using doublespace!"},
        Setting{.box = &CheckBox11, .store = options, .name = "DRVSpace",     .on = "0", .off = "1", .idiom = setOrRestore, .fallback = "1", .windowsDefault = false,
         .description = "Use this option to keep Windows from loading drivespace driver. Warning : Do not check this option if your drives are compressed using drivespace!"},
        Setting{.box = &CheckBox12, .store = options, .name = "LoadTop",      .on = "0", .off = "1", .idiom = setOrRestore, .fallback = "1", .windowsDefault = false,
         .description = "Use this option if you do not want to load COMMAND.COM or DRVSPACE.BIN / DBLSPACE.BIN at the top of 640 K."},
        Setting{.box = &CheckBox13, .store = options, .name = "Logo",         .on = "0", .off = "1", .idiom = setOrRestore, .fallback = "1", .windowsDefault = false,
         .description = "Use this option if you do not want to see Windows Splash Screen during boot up."},
        Setting{.box = &CheckBox14, .store = options, .name = "AutoScan",     .on = "0", .off = "1", .idiom = setOrRestore, .fallback = "1", .windowsDefault = false,
         .description = "Use this option to run scandisk automaticly if you were not shuting down Windows properly."},
    };
    // clang-format on
}

BootPage::BootPage(TForm1& form, Platform& sys)
    : Sheet("TabSheet1", &form.PageControl1, "Boot", 0),
      form_(form),
      sys_(sys),
      settings_(Settings()) {
    AttachSettings(form, settings_, Memo1);
    form.MarkOnPress(CheckBox2, [this] { delay_.Press(CheckBox2.Checked()); });
    form.ClearsDescription(Sheet, Memo1);
    form.RegisterMemo(Memo1);
    LayOut();
    delay_.Hide();
}

void BootPage::LayOut() {
    LayOutHeaderAndColumns(Image2, RxLabel1, settings_.Boxes());
    LayOutDescription(GroupBox1, Memo1, 78);
    GroupBox2.SetBounds(8, 290, 330, 50);
    Label1.SetBounds(14, 22, 0, 13);
    SpinEdit1.SetBounds(112, 18, 56, 21);
    Label2.SetBounds(176, 22, 0, 13);
}

// Without the file the boxes cannot mean anything, and writing them would create a stub.
void BootPage::Read() {
    bool found = FileExists(sys_, kMsdosSys);
    for (ui::CheckBox* box : settings_.Boxes()) box->SetEnabled(found);
    form_.SetRestingNote(Memo1, found ? "" : kFileMissingNote);
    settings_.Read(sys_);
}

void BootPage::ResetToWindowsDefault() {
    settings_.ResetBoxes();
    if (!FileExists(sys_, kMsdosSys)) return;
    TIniFile ini(sys_, kMsdosSys);
    ini.WriteText(kSection, kDelayKey, "30");
}

void BootPage::Write() {
    if (!FileExists(sys_, kMsdosSys)) return;
    settings_.Write(sys_);
}

ManagedStores BootPage::Touches() {
    return settings_.Touches();
}

// The boot menu's delay counts only with the menu shown.
void BootPage::AddProfileFields(std::vector<ProfileField>& fields) {
    AddBoxFields(fields, Sheet);
    ProfileField delay =
        Detail(SpinField(Sheet.Caption(), ProfileKey(Label1.Caption()), SpinEdit1), CheckBox2);
    delay.needsKey = ProfileKey(CheckBox2.Caption());
    delay.needsValue = "1";
    fields.push_back(std::move(delay));
}
}  // namespace vt
