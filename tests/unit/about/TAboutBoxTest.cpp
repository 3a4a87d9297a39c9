#include "about/TAboutBox.h"
#include "platform/fake/FakePlatform.h"

#include <gtest/gtest.h>

#include <cstring>

namespace vt {
namespace {

struct OsCase {
    DWORD platform, major, minor, build;
    const char* servicePack;
    const char* line;
};

class OsInfoTest : public ::testing::TestWithParam<OsCase> {};

TEST_P(OsInfoTest, TheVersionLineFollowsThePlatform) {
    const OsCase& c = GetParam();
    OSVERSIONINFOA version{};
    version.dwPlatformId = c.platform;
    version.dwMajorVersion = c.major;
    version.dwMinorVersion = c.minor;
    version.dwBuildNumber = c.build;
    std::strcpy(version.szCSDVersion, c.servicePack);
    EXPECT_EQ(c.line, GetOSInfo(version));
}

INSTANTIATE_TEST_SUITE_P(
    Versions, OsInfoTest,
    ::testing::Values(OsCase{1, 4, 0, 0x040003B6, "", "Windows 95 4.0 (Build 950)"},
                      OsCase{1, 4, 0, 0x040003B6, "B", "Windows 95 4.0 (Build 950: B)"},
                      OsCase{1, 4, 10, 0x040A08AE, " A ", "Windows 98 4.10 (Build 2222:  A )"},
                      OsCase{1, 4, 90, 0x045A0BB8, "", "Windows 98 4.90 (Build 3000)"},
                      OsCase{2, 4, 0, 1381, "Service Pack 6",
                             "Windows NT 4.0 (Build 1381: Service Pack 6)"},
                      OsCase{2, 5, 1, 0x00010A28, "", "Windows NT 5.1 (Build 68136)"},
                      OsCase{0, 3, 10, 77, "x", "Windows 3.10"}));

class AboutTest : public ::testing::Test {
  protected:
    void SetMemory(DWORD load, DWORD totalPhys, DWORD availPhys, DWORD totalPage, DWORD availPage) {
        MEMORYSTATUS status{};
        status.dwMemoryLoad = load;
        status.dwTotalPhys = totalPhys;
        status.dwAvailPhys = availPhys;
        status.dwTotalPageFile = totalPage;
        status.dwAvailPageFile = availPage;
        sys.SetMemoryStatus(status);
    }
    fake::FakePlatform sys;
    TAboutBox about;
};

TEST_F(AboutTest, TheMemoryLinesAreWholeKilobytesAndTheTimerRefreshesThem) {
    OSVERSIONINFOA version{};
    version.dwPlatformId = 1;
    version.dwMajorVersion = 4;
    version.dwMinorVersion = 10;
    version.dwBuildNumber = 0x040A08AE;
    std::strcpy(version.szCSDVersion, " A ");
    sys.SetVersion(version);
    SetMemory(37, 64u << 20, 1023, 0xFFFFFFFFu, 2048);
    about.FormCreate(sys);
    EXPECT_EQ("Windows 98 4.10 (Build 2222:  A )", about.OS.Caption());
    EXPECT_EQ("Memory Load : ", about.Label4.Caption());
    EXPECT_EQ("Available Page File : ", about.Label10.Caption());
    EXPECT_EQ("37 %", about.Label11.Caption());
    EXPECT_EQ("65536 KB", about.Label12.Caption());
    EXPECT_EQ("0 KB", about.Label13.Caption()) << "1023 bytes are no kilobyte";
    EXPECT_EQ("4194303 KB", about.Label14.Caption());
    EXPECT_EQ("2 KB", about.Label15.Caption());
    EXPECT_TRUE(about.Timer1.Enabled());
    EXPECT_EQ(5000u, about.Timer1.Interval());
    SetMemory(50, 32u << 20, 1u << 20, 0, 0);
    about.Timer1.Fire();
    EXPECT_EQ("50 %", about.Label11.Caption());
    EXPECT_EQ("1024 KB", about.Label13.Caption());
}

TEST_F(AboutTest, ClosingByOkOrTheTitleBarGivesTheOwnerBack) {
    ui::Form owner("TForm1", "Veltrim 2000", 534, 472);
    about.FormCreate(sys);
    for (bool byOk : {true, false}) {
        about.Open(owner);
        EXPECT_FALSE(owner.Enabled());
        EXPECT_TRUE(about.Visible());
        if (byOk)
            about.SpeedButton1.Click();
        else
            about.Close();
        EXPECT_TRUE(owner.Enabled());
        EXPECT_FALSE(about.Visible());
    }
    EXPECT_EQ("About", about.Caption());
    EXPECT_EQ(312, about.ClientWidth());
    EXPECT_EQ(290, about.ClientHeight());
    EXPECT_EQ("Version 5.0", about.Label2.Caption());
}

}  // namespace
}  // namespace vt
