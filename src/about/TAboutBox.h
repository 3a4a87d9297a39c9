// "About": the program's name and version, the Windows version it runs on and the memory
// status, refreshed every five seconds while the window exists.
#pragma once

#include "platform/Platform.h"
#include "ui/Form.h"

#include <string>

namespace vt {

// The Windows version line: "Windows 98 4.10 (Build 2222: A)" and its kin.
std::string GetOSInfo(const OSVERSIONINFOA& version);

class TAboutBox : public ui::Form {
  public:
    TAboutBox();

    ui::TitleLabel RxLabel1{"RxLabel1", this, "Veltrim 2000", "Verdana", 29, ui::kNavy};
    ui::TitleLabel RxLabel2{"RxLabel2", this, "for Windows 98", "Verdana", 21, ui::kNavy};
    ui::Image Image1{"Image1", this};
    ui::Label Label2{"Label2", this, "Version 5.0"};
    ui::Bevel GroupBox1{"GroupBox1", this};
    ui::Label OS{"OS", this};
    ui::Label Label4{"Label4", this};
    ui::Label Label7{"Label7", this};
    ui::Label Label8{"Label8", this};
    ui::Label Label9{"Label9", this};
    ui::Label Label10{"Label10", this};
    ui::Label Label11{"Label11", this};
    ui::Label Label12{"Label12", this};
    ui::Label Label13{"Label13", this};
    ui::Label Label14{"Label14", this};
    ui::Label Label15{"Label15", this};
    ui::Button SpeedButton1{"SpeedButton1", this, "OK", ui::Kind::SpeedButton};
    ui::Timer Timer1{"Timer1", 5000};

    // Fills the version line and the memory lines; the timer keeps the memory lines fresh.
    void FormCreate(Platform& sys);
    void Timer1Timer();
    // Shows the window with `owner` disabled until it closes, by "OK" or the title bar.
    void Open(ui::Form& owner);

  private:
    void ShowMemory();

    Platform* sys_ = nullptr;
    ui::Form* owner_ = nullptr;
};

}  // namespace vt
