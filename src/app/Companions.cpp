#include "app/Companions.h"

#include <string>
#include <vector>

namespace vt {

TForm3::TForm3() : ui::Form(kClassName, kCaption, 340, 218) {
    SetBorder(ui::Border::SingleNoButtons, false, false);
    Image1.SetBounds(288, 10, 32, 32);
    Label1.SetBounds(16, 10, 0, 29);
    Label2.SetBounds(16, 48, 0, 21);
    Label3.SetBounds(16, 136, 0, 13);
    Bevel1.SetBounds(16, 168, 309, 2);
    SpeedButton2.SetBounds(248, 184, 75, 25);
    SpeedButton2.SetHandCursor(true);
    SpeedButton2.OnClick = [this] { Close(); };
    DefaultButton = &SpeedButton2;
    CancelButton = &SpeedButton2;
}

namespace {

const std::vector<std::string> kDiskCacheHelp = {
    "How to Configure Disk-Cache ?",
    "",
    "By selecting one of the pre-defined system",
    "profiles (such as Multimedia, Power User, Gaming ",
    "system, etc) Veltrim 2000 will optimize your ",
    "Windows' file caching and that will increase your ",
    "Windows performance. You may optionally select ",
    "\"User-Defined\" from the dropdown list and ",
    "manually set the following parameters: ",
    "",
    "1. Minimum Cache Size",
    "",
    "You can try to increase or decrease the minimum ",
    "cache size (depand on installed memory you ",
    "have). Generally, you can set the minimum cache ",
    "size up to 12,5% of total memory installed.",
    "",
    "2. Maximum Cache Size ",
    "",
    "You can try to increase or decrease the maximum ",
    "cache size (depand on installed memory you ",
    "have). Generally, you can set the maximum cache ",
    "size up to 25% of total memory installed.",
    "",
    "3. Chunk Size",
    "",
    "If you frequantly use multimedia application which ",
    "require large amounts of memory, you can try to ",
    "set it to 1024 kb, else try 512 kb or less.",
    "",
    "",
};

const std::vector<std::string> kFileCacheHelp = {
    "How to Configure File Cache ?",
    "",
    "- If you have a lot of memory (more then 32 MB), ",
    "  changing the typical role to network server will ",
    "  improve your hardisk performance. You can try ",
    "  to set it higher then server setting if you have ",
    "  more then 64 MB memory installed on your ",
    "  system.",
    "  ",
    "- If you have little memory installed, try to use ",
    "  mobile computer setting that will decrease ",
    "  memory usage.",
    " ",
    "",
    "From Author",
    "  ",
    "- File Cache will increase your hardisk ",
    "  performance, especially if you frequantly use ",
    "  your computer for a long times. ",
    "- With Veltrim 2000 you can set the file cache ",
    "  setting higher then server setting.",
    "",
    " ",
};

const std::vector<std::string> kInternetHelp = {
    "Internet Optimizer Settings",
    "",
    "1. IPMTU (Internet Protocol MTU) ",
    "",
    "Use this option to change IPMTU setting for ",
    "Windows 98 user. You can set  the IPMTU to a ",
    "value that give the best out of your connection. ",
    "Suggestion: The value should be 576 for ",
    "connections under 128 kbs or 1500 for LAN ",
    "conection.",
    "",
    "2.  RWIN (Receive Window)",
    "",
    "RWIN determines how much data that your ",
    "computer will be prepared to recieve. You can ",
    "make experiment to find the best setting for your ",
    "system.",
    "",
    "3. TTL (Time to Alive)",
    "",
    "Time To Live value determines how long the ",
    "computer should wait before deciding that the ",
    "destination web site does not exist. ",
    "Suggestion: Try 128. ",
};

}  // namespace

// However the window goes (its own button, Alt+F4, the system menu), the owner gets its
// input back.
void OwnedForm::Open(ui::Form& owner) {
    owner_ = &owner;
    owner.SetEnabled(false);
    OnClosed = [this] {
        if (owner_) owner_->SetEnabled(true);
    };
    Show();
}

void OwnedForm::GiveBack() {
    if (owner_) owner_->SetEnabled(true);
    Hide();
}

TForm4::TForm4() : OwnedForm("TForm4", "Help", 274, 248) {
    SetBorder(ui::Border::SingleNoButtons, false, false);
    struct Text {
        ui::Memo& memo;
        const std::vector<std::string>& lines;
    };
    for (Text t :
         {Text{Memo1, kDiskCacheHelp}, Text{Memo2, kFileCacheHelp}, Text{Memo3, kInternetHelp}}) {
        t.memo.SetBounds(8, 8, 257, 201);
        t.memo.SetScrolled(true);
        t.memo.SetLines(t.lines);
        t.memo.SetVisible(false);
    }
    Button1.SetBounds(192, 216, 75, 25);
    Button1.OnClick = [this] { Button1Click(); };
    DefaultButton = &Button1;
}

void TForm4::Open(ui::Form& owner, ui::Memo& text) {
    for (ui::Memo* memo : {&Memo1, &Memo2, &Memo3}) memo->SetVisible(memo == &text);
    OwnedForm::Open(owner);
}

void TForm4::Button1Click() {
    GiveBack();
}

TForm5::TForm5() : OwnedForm("TForm5", "Uninstal Command", 364, 149) {
    SetBorder(ui::Border::SingleNoButtons, false, false);
    Label2.SetBounds(8, 8, 0, 13);
    Edit2.SetBounds(8, 24, 348, 21);
    Label1.SetBounds(8, 54, 0, 13);
    Edit1.SetBounds(8, 70, 348, 21);
    Button1.SetBounds(200, 114, 75, 25);
    Button2.SetBounds(281, 114, 75, 25);
    Button1.OnClick = [this] { Button1Click(); };
    Button2.OnClick = [this] { Button2Click(); };
    DefaultButton = &Button1;
    ActiveControl = &Edit1;
}

void TForm5::Button1Click() {
    if (Save && !Save()) return;
    GiveBack();
}

void TForm5::Button2Click() {
    GiveBack();
}

void TForm3::FormCreate(Platform& sys, const std::string& programDir) {
    ConfigDat config = ReadConfigDat(sys, programDir);
    config.SetFirstRun(0);
    WriteConfigDat(sys, programDir, config);
}

}  // namespace vt
