// A fake Windows 98 machine with the program installed, scripted prompts, and a host that
// runs the start sequence headless.
#pragma once

#include "app/Startup.h"
#include "store/StoreError.h"
#include "platform/fake/FakePlatform.h"
#include "ui/ScriptedPrompts.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace vt::testing {

inline constexpr const char* kProgramDir = "C:\\Program Files\\Veltrim 2000";
inline constexpr const char* kStartMenuLink =
    "C:\\WINDOWS\\Start Menu\\Programs\\Veltrim 2000\\Uninstall.lnk";

inline std::string ConfigBytes(std::int32_t showSplash, std::int32_t firstRun,
                               std::int32_t reserved = 0x01020304) {
    std::string bytes;
    for (std::int32_t record : {showSplash, reserved, firstRun, reserved + 1, reserved + 2})
        for (int shift = 0; shift < 32; shift += 8)
            bytes += static_cast<char>(static_cast<std::uint32_t>(record) >> shift);
    return bytes;
}

class HeadlessHost : public StartHost {
  public:
    void ShowModal(TForm3& welcome) override {
        welcomeShown = true;
        welcome.Show();
        welcome.SpeedButton2.Click();
    }
    // As the message loop does while it is idle: every page read before the user acts.
    void RunMessageLoop(Program& program) override {
        loopRan = true;
        program.main.Show();
        program.main.ReadPendingPages();
        if (script) script(program);
    }
    std::function<void(Program&)> script;
    bool welcomeShown = false;
    bool loopRan = false;
};

class AppFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        sys.PutFile("C:\\MSDOS.SYS", "[Options]\r\nBootGUI=1\r\n", 0x07);
        sys.PutFile(std::string(kProgramDir) + "\\Config.DAT", ConfigBytes(0, 0));
        sys.PutFile(kStartMenuLink, "LINK");
        ASSERT_TRUE(sys.SetCurrentDirectoryA(kProgramDir));
    }
    std::string ConfigFile() { return sys.FileText(std::string(kProgramDir) + "\\Config.DAT"); }
    DWORD MsdosAttributes() { return sys.GetFileAttributesA("C:\\MSDOS.SYS") & 0x07; }

    fake::FakePlatform sys;
    ui::ScriptedPrompts prompts;
};

}  // namespace vt::testing
