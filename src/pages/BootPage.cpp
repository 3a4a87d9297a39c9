#include "pages/BootPage.h"

#include "pages/PageLayout.h"

#include "store/Folders.h"
#include "store/Paths.h"

namespace vt {
namespace {

const char* const kSection = "Options";
const char* const kDelayKey = "BootMenuDelay";

}  // namespace

// In the page's read and write order, the delay excluded.
std::vector<Setting> BootPage::Settings() {
    const Store options = Store::Ini(kMsdosSys, kSection);
    const WriteIdiom setOrRestore = WriteIdiom::SetOrRestore;
    // clang-format off
    return {
        {.box = &CheckBox1,  .store = options, .name = "BootKeys",     .on = "0", .off = "1", .idiom = setOrRestore, .checkedWhen = "0", .fallback = "1"},
        {.box = &CheckBox2,  .store = options, .name = "BootMenu",     .on = "1", .off = "0", .idiom = setOrRestore, .checkedWhen = "1", .fallback = "0"},
        {.box = &CheckBox3,  .store = options, .name = "BootMulti",    .on = "1", .off = "0", .idiom = setOrRestore, .checkedWhen = "1", .fallback = "0"},
        {.box = &CheckBox4,  .store = options, .name = "DisableLog",   .on = "1", .off = "0", .idiom = setOrRestore, .checkedWhen = "1", .fallback = "0"},
        {.box = &CheckBox5,  .store = options, .name = "SystemReg",    .on = "0", .off = "1", .idiom = setOrRestore, .checkedWhen = "0", .fallback = "1"},
        {.box = &CheckBox6,  .store = options, .name = "BootGUI",      .on = "0", .off = "1", .idiom = setOrRestore, .checkedWhen = "0", .fallback = "1"},
        {.box = &CheckBox7,  .store = options, .name = "BootWarn",     .on = "0", .off = "1", .idiom = setOrRestore, .checkedWhen = "0", .fallback = "1"},
        {.box = &CheckBox8,  .store = options, .name = "Network",      .on = "1", .off = "0", .idiom = setOrRestore, .checkedWhen = "1", .fallback = "0"},
        {.box = &CheckBox9,  .store = options, .name = "DoubleBuffer", .on = "1", .off = "0", .idiom = setOrRestore, .checkedWhen = "1", .fallback = "0"},
        {.box = &CheckBox10, .store = options, .name = "DBLSpace",     .on = "0", .off = "1", .idiom = setOrRestore, .checkedWhen = "0", .fallback = "1"},
        {.box = &CheckBox11, .store = options, .name = "DRVSpace",     .on = "0", .off = "1", .idiom = setOrRestore, .checkedWhen = "0", .fallback = "1"},
        {.box = &CheckBox12, .store = options, .name = "LoadTop",      .on = "0", .off = "1", .idiom = setOrRestore, .checkedWhen = "0", .fallback = "1"},
        {.box = &CheckBox13, .store = options, .name = "Logo",         .on = "0", .off = "1", .idiom = setOrRestore, .checkedWhen = "0", .fallback = "1"},
        {.box = &CheckBox14, .store = options, .name = "AutoScan",     .on = "0", .off = "1", .idiom = setOrRestore, .checkedWhen = "0", .fallback = "1"},
    };
    // clang-format on
}

BootPage::BootPage(TForm1& form, Platform& sys) : Sheet(form.TabSheet1), form_(form), sys_(sys) {
    settings_ = Settings();
    form.Describe(
        Memo1,
        {
            {CheckBox1, "Use this option to disable the function keys on boot up."},
            {CheckBox2, "Use this option to show Windows boot-menu automaticly."},
            {CheckBox3, "Use this option to enable multi-booting feature."},
            {CheckBox4,
             "Use this option if you do not want to create BOOTLOG.TXT file every time you boot "
             "up your computer."},
            {CheckBox5,
             "Use this option if you do not want to load the registry module on boot up."},
            {CheckBox6, "Use this option if you do not want to start Windows GUI automaticly."},
            {CheckBox7,
             "Use this option if you do not want Windows gives a warning message before your "
             "system starts in safe mode."},
            {CheckBox8, "Use this option to enable networking feature in safe mode."},
            {CheckBox9,
             "Use this option to enable double buffering feature. Warning : You must check this "
             "option if you have SCSI/ESDI disk controllers in your system."},
            {CheckBox10,
             "Use this option to keep Windows from loading doublespace driver. Warning : Do not "
             "check this option if your drives are compressed using doublespace!"},
            {CheckBox11,
             "Use this option to keep Windows from loading drivespace driver. Warning : Do not "
             "check this option if your drives are compressed using drivespace!"},
            {CheckBox12,
             "Use this option if you do not want to load COMMAND.COM or DRVSPACE.BIN / "
             "DBLSPACE.BIN at the top of 640 K."},
            {CheckBox13,
             "Use this option if you do not want to see Windows Splash Screen during boot up."},
            {CheckBox14,
             "Use this option to run scandisk automaticly if you were not shuting down Windows "
             "properly."},
        });
    for (ui::CheckBox* box : Boxes()) {
        if (box == &CheckBox2)
            form.MarkOnPress(CheckBox2, "Page1", [this] { delay_.Press(CheckBox2.Checked()); });
        else
            form.MarkOnPress(*box, "Page1");
    }
    form.ClearsDescription(Sheet, Memo1);
    form.RegisterMemo(Memo1);
    form.RegisterDetails("Page1", [this] { delay_.Hide(); });
    form.RegisterSlice(
        Slice::Boot, [this] { Read(); }, [this] { Write(); }, {&Sheet});
    LayOut();
    delay_.Hide();
}
FourteenBoxes BootPage::Boxes() {
    return {&CheckBox1,  &CheckBox2,  &CheckBox3,  &CheckBox4, &CheckBox5,
            &CheckBox6,  &CheckBox7,  &CheckBox8,  &CheckBox9, &CheckBox10,
            &CheckBox11, &CheckBox12, &CheckBox13, &CheckBox14};
}

void BootPage::LayOut() {
    LayOutHeaderAndColumns(Image2, RxLabel1, Boxes());
    LayOutDescription(GroupBox1, Memo1, 78);
    GroupBox2.SetBounds(8, 290, 330, 50);
    Label1.SetBounds(14, 22, 0, 13);
    SpinEdit1.SetBounds(112, 18, 56, 21);
    Label2.SetBounds(176, 22, 0, 13);
}

// Without the file the boxes cannot mean anything, and writing them would create a stub.
void BootPage::Read() {
    bool found = FileExists(sys_, kMsdosSys);
    for (ui::CheckBox* box : Boxes()) box->SetEnabled(found);
    form_.SetRestingNote(Memo1, found ? "" : kFileMissingNote);
    // Order: BootKeys, BootMenu, BootMenuDelay, then the rest.
    ReadSetting(sys_, settings_[0]);
    ReadSetting(sys_, settings_[1]);
    TIniFile ini(sys_, kMsdosSys);
    delay_.Read(ini.ReadText(kSection, kDelayKey, "30"));
    for (std::size_t i = 2; i < settings_.size(); ++i) ReadSetting(sys_, settings_[i]);
}

void BootPage::ResetToWindowsDefault() {
    for (ui::CheckBox* box : Boxes()) box->SetChecked(false);
    if (!FileExists(sys_, kMsdosSys)) return;
    TIniFile ini(sys_, kMsdosSys);
    ini.WriteText(kSection, kDelayKey, "30");
}

void BootPage::Write() {
    if (!FileExists(sys_, kMsdosSys)) return;
    WriteSetting(sys_, settings_[0]);
    WriteSetting(sys_, settings_[1]);
    if (delay_.Edited(CheckBox2)) {
        TIniFile ini(sys_, kMsdosSys);
        ini.WriteText(kSection, kDelayKey, std::to_string(SpinEdit1.Value()));
    }
    for (std::size_t i = 2; i < settings_.size(); ++i) WriteSetting(sys_, settings_[i]);
}

}  // namespace vt
