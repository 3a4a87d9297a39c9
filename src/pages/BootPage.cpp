#include "pages/BootPage.h"

#include "pages/PageLayout.h"

#include "store/Paths.h"

namespace vt {
namespace {

const char* const kSection = "Options";
const char* const kDelayKey = "BootMenuDelay";

struct Row {
    const char* key;
    bool checkedIsZero;  // "Disable ..." boxes stand for the value "0"
    const char* description;
};

// CheckBox1 to CheckBox14, in table order.
const std::array<Row, 14> kRows = {{
    {"BootKeys", true, "Use this option to disable the function keys on boot up."},
    {"BootMenu", false, "Use this option to show Windows boot-menu automaticly."},
    {"BootMulti", false, "Use this option to enable multi-booting feature."},
    {"DisableLog", false,
     "Use this option if you do not want to create BOOTLOG.TXT file every time you boot up "
     "your computer."},
    {"SystemReg", true,
     "Use this option if you do not want to load the registry module on boot up."},
    {"BootGUI", true, "Use this option if you do not want to start Windows GUI automaticly."},
    {"BootWarn", true,
     "Use this option if you do not want Windows gives a warning message before your system "
     "starts in safe mode."},
    {"Network", false, "Use this option to enable networking feature in safe mode."},
    {"DoubleBuffer", false,
     "Use this option to enable double buffering feature. Warning : You must check this option "
     "if you have SCSI/ESDI disk controllers in your system."},
    {"DBLSpace", true,
     "Use this option to keep Windows from loading doublespace driver. Warning : Do not check "
     "this option if your drives are compressed using doublespace!"},
    {"DRVSpace", true,
     "Use this option to keep Windows from loading drivespace driver. Warning : Do not check "
     "this option if your drives are compressed using drivespace!"},
    {"LoadTop", true,
     "Use this option if you do not want to load COMMAND.COM or DRVSPACE.BIN / DBLSPACE.BIN at "
     "the top of 640 K."},
    {"Logo", true,
     "Use this option if you do not want to see Windows Splash Screen during boot up."},
    {"AutoScan", true,
     "Use this option to run scandisk automaticly if you were not shuting down Windows "
     "properly."},
}};

}  // namespace

BootPage::BootPage(TForm1& form, Platform& sys) : Sheet(form.TabSheet1), sys_(sys) {
    std::array<ui::CheckBox*, 14> boxes = {
        &CheckBox1, &CheckBox2, &CheckBox3,  &CheckBox4,  &CheckBox5,  &CheckBox6,  &CheckBox7,
        &CheckBox8, &CheckBox9, &CheckBox10, &CheckBox11, &CheckBox12, &CheckBox13, &CheckBox14};
    for (std::size_t i = 0; i < kRows.size(); ++i) {
        const Row& row = kRows[i];
        std::string on = row.checkedIsZero ? "0" : "1";
        std::string off = row.checkedIsZero ? "1" : "0";
        settings_.push_back(Setting{boxes[i], Store::Ini(kMsdosSys, kSection), row.key, on, off,
                                    WriteIdiom::SetOrRestore, on, off});
        form.Describe(*boxes[i], Memo1, row.description);
        if (boxes[i] == &CheckBox2)
            form.MarkOnPress(CheckBox2, "Page1", [this] { delay_.Press(CheckBox2.Checked()); });
        else
            form.MarkOnPress(*boxes[i], "Page1");
    }
    form.ClearsDescription(Sheet, Memo1);
    form.RegisterMemo(Memo1);
    form.RegisterDetails("Page1", [this] { delay_.Hide(); });
    form.RegisterSlice(
        Slice::Boot, [this] { Read(); }, [this] { Write(); });
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

void BootPage::Read() {
    // Order: BootKeys, BootMenu, BootMenuDelay, then the rest.
    ReadSetting(sys_, settings_[0]);
    ReadSetting(sys_, settings_[1]);
    TIniFile ini(sys_, kMsdosSys);
    delay_.Read(ini.ReadText(kSection, kDelayKey, "30"));
    for (std::size_t i = 2; i < settings_.size(); ++i) ReadSetting(sys_, settings_[i]);
}

void BootPage::Write() {
    WriteSetting(sys_, settings_[0]);
    WriteSetting(sys_, settings_[1]);
    if (CheckBox2.Checked()) {
        TIniFile ini(sys_, kMsdosSys);
        ini.WriteText(kSection, kDelayKey, std::to_string(SpinEdit1.Value()));
    }
    for (std::size_t i = 2; i < settings_.size(); ++i) WriteSetting(sys_, settings_[i]);
}

}  // namespace vt
