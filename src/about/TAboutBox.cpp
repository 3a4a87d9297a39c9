#include "about/TAboutBox.h"

#include <cstdio>

namespace vt {

std::string GetOSInfo(const OSVERSIONINFOA& version) {
    const char* name = "Windows";
    DWORD build = 0;
    if (version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS) {
        bool later = version.dwMajorVersion > 4 ||
                     (version.dwMajorVersion == 4 && version.dwMinorVersion > 0);
        name = later ? "Windows 98" : "Windows 95";
        build = version.dwBuildNumber & 0xFFFF;
    } else if (version.dwPlatformId == VER_PLATFORM_WIN32_NT) {
        name = "Windows NT";
        build = version.dwBuildNumber;
    }
    char line[256];
    int major = static_cast<int>(version.dwMajorVersion);
    int minor = static_cast<int>(version.dwMinorVersion);
    if (version.dwPlatformId != VER_PLATFORM_WIN32_WINDOWS &&
        version.dwPlatformId != VER_PLATFORM_WIN32_NT)
        std::snprintf(line, sizeof line, "%s %d.%d", name, major, minor);
    else if (version.szCSDVersion[0] != '\0')
        std::snprintf(line, sizeof line, "%s %d.%d (Build %d: %.127s)", name, major, minor,
                      static_cast<int>(build), version.szCSDVersion);
    else
        std::snprintf(line, sizeof line, "%s %d.%d (Build %d)", name, major, minor,
                      static_cast<int>(build));
    return line;
}

TAboutBox::TAboutBox() : ui::Form("TAboutBox", "About", 312, 290) {
    SetBorder(ui::Border::Dialog, true, false);
    RxLabel1.SetBounds(16, 12, 0, 29);
    RxLabel2.SetBounds(16, 48, 0, 21);
    Image1.SetBounds(264, 12, 32, 32);
    Label2.SetBounds(16, 82, 0, 13);
    GroupBox1.SetBounds(16, 104, 280, 7);
    OS.SetBounds(16, 120, 0, 13);
    int top = 150;
    for (auto [caption, value, text] :
         {std::tuple{&Label4, &Label11, "Memory Load : "},
          std::tuple{&Label7, &Label12, "Total physical Memory : "},
          std::tuple{&Label8, &Label13, "Available physical Memory : "},
          std::tuple{&Label9, &Label14, "Total Page File : "},
          std::tuple{&Label10, &Label15, "Available Page File : "}}) {
        caption->SetBounds(16, top, 0, 13);
        caption->SetCaption(text);
        value->SetBounds(170, top, 0, 13);
        top += 18;
    }
    SpeedButton1.SetBounds(221, 256, 75, 25);
    SpeedButton1.SetHandCursor(true);
    SpeedButton1.OnClick = [this] { Close(); };
    DefaultButton = &SpeedButton1;
    CancelButton = &SpeedButton1;
    OnClosed = [this] {
        if (owner_) owner_->SetEnabled(true);
    };
    Timer1.OnTimer = [this] { Timer1Timer(); };
    Timers().push_back(&Timer1);
}

void TAboutBox::FormCreate(Platform& sys) {
    sys_ = &sys;
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    sys.GetVersionExA(&version);
    OS.SetCaption(GetOSInfo(version));
    ShowMemory();
    Timer1.SetEnabled(true);
}

void TAboutBox::Timer1Timer() {
    ShowMemory();
}

// Whole kilobytes, rounded down.
void TAboutBox::ShowMemory() {
    if (!sys_) return;
    MEMORYSTATUS status{};
    status.dwLength = 32;
    sys_->GlobalMemoryStatus(&status);
    Label11.SetCaption(std::to_string(status.dwMemoryLoad) + " %");
    Label12.SetCaption(std::to_string(status.dwTotalPhys >> 10) + " KB");
    Label13.SetCaption(std::to_string(status.dwAvailPhys >> 10) + " KB");
    Label14.SetCaption(std::to_string(status.dwTotalPageFile >> 10) + " KB");
    Label15.SetCaption(std::to_string(status.dwAvailPageFile >> 10) + " KB");
}

void TAboutBox::Open(ui::Form& owner) {
    owner_ = &owner;
    owner.SetEnabled(false);
    Show();
}

}  // namespace vt
