#include "app/Companions.h"

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

void TForm3::FormCreate(Platform& sys, const std::string& programDir) {
    ConfigDat config = ReadConfigDat(sys, programDir);
    config.SetFirstRun(0);
    WriteConfigDat(sys, programDir, config);
}

}  // namespace vt
