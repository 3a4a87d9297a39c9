#include "unit/pages/PageFixture.h"

#include "platform/NoCase.h"
#include "tools/Tools.h"

#include <functional>

namespace vt::testing {
namespace {

const char* const kProgramDir = "C:\\Program Files\\Veltrim 2000";
const char* const kDesktop = "C:\\WINDOWS\\Desktop\\Veltrim 2000.lnk";
const char* const kQuickLaunch =
    "C:\\WINDOWS\\Application Data\\Microsoft\\Internet Explorer\\Quick Launch\\Veltrim 2000.lnk";
const char* const kGroup = "C:\\WINDOWS\\Start Menu\\Programs\\Veltrim 2000";

std::string Link(const std::string& target, const std::string& dir = kProgramDir) {
    return "LINK " + target + "|" + dir;
}

class ProgramPageTest : public PageTest {
  protected:
    ProgramPageTest() {
        sys.MakeDirectories(kProgramDir);
        sys.SetCurrentDirectoryA(kProgramDir);
        for (const char* dir : {"C:\\WINDOWS\\Desktop",
                                "C:\\WINDOWS\\Application Data\\Microsoft\\Internet Explorer\\"
                                "Quick Launch",
                                "C:\\WINDOWS\\Start Menu\\Programs"})
            sys.MakeDirectories(dir);
        sys.PutFile(std::string(kProgramDir) + "\\Uninstall.lnk", "UNINSTALL");
    }
    ProgramPage& page() { return pages().programPage; }
};

TEST_F(ProgramPageTest, TickedBoxesMakeTheirShortcutsWithTheProgramFolderAsWorkingDirectory) {
    ReadPass();
    Click(page().DesktopIcon);
    Click(page().QuickLaunchIcon);
    Click(page().StartMenuIcon);
    EXPECT_EQ(ui::kNavy, page().DesktopIcon.FontColor());
    WritePass();
    const std::string exe = std::string(kProgramDir) + "\\Veltrim.exe";
    EXPECT_EQ(Link(exe), sys.FileText(kDesktop));
    EXPECT_EQ(Link(exe), sys.FileText(kQuickLaunch));
    EXPECT_EQ(Link(exe), sys.FileText(std::string(kGroup) + "\\Veltrim 2000.lnk"));
    EXPECT_EQ(Link(std::string(kProgramDir) + "\\Readme.html"),
              sys.FileText(std::string(kGroup) + "\\Readme.lnk"));
    EXPECT_EQ(Link(std::string(kProgramDir) + "\\Uninstall.lnk"),
              sys.FileText(std::string(kGroup) + "\\Uninstall.lnk"));
}

TEST_F(ProgramPageTest, AShortcutDeletedByHandIsMadeAgainAndAnExistingGroupIsNeverRefreshed) {
    sys.MakeDirectories(kGroup);
    sys.PutFile(std::string(kGroup) + "\\Veltrim 2000.lnk", "OLD");
    sys.PutFile(kDesktop, "ELSEWHERE");
    ReadPass();
    EXPECT_TRUE(page().DesktopIcon.Checked());
    EXPECT_TRUE(page().StartMenuIcon.Checked());
    WritePass();
    EXPECT_EQ("ELSEWHERE", sys.FileText(kDesktop)) << "an existing shortcut stays";
    EXPECT_EQ("OLD", sys.FileText(std::string(kGroup) + "\\Veltrim 2000.lnk"));
    EXPECT_FALSE(sys.HasFile(std::string(kGroup) + "\\Readme.lnk")) << "nothing added to it";
    sys.DeleteFileA(kDesktop);
    WritePass();
    EXPECT_EQ(Link(std::string(kProgramDir) + "\\Veltrim.exe"), sys.FileText(kDesktop));
}

TEST_F(ProgramPageTest, ClearingTheGroupDeletesItsShortcutsAndAFolderWithOtherFilesStays) {
    for (bool otherFile : {false, true}) {
        sys.MakeDirectories(kGroup);
        for (const char* name : {"\\Veltrim 2000.lnk", "\\Readme.lnk", "\\Uninstall.lnk"})
            sys.PutFile(std::string(kGroup) + name, "L");
        if (otherFile) sys.PutFile(std::string(kGroup) + "\\Notes.txt", "mine");
        ReadPass();
        Click(page().StartMenuIcon);
        WritePass();
        EXPECT_FALSE(sys.HasFile(std::string(kGroup) + "\\Veltrim 2000.lnk"));
        EXPECT_FALSE(sys.HasFile(std::string(kGroup) + "\\Uninstall.lnk"));
        EXPECT_EQ(otherFile, sys.HasDirectory(kGroup));
    }
}

TEST_F(ProgramPageTest, AnUntickedBoxDeletesOnlyWhenTheUserClearedIt) {
    ReadPass();
    sys.PutFile(kQuickLaunch, "MADE BY SETUP LATER");
    WritePass();
    EXPECT_TRUE(sys.HasFile(kQuickLaunch)) << "the box was never touched";
}

// With user profiles the shortcuts go where the shell keeps the user's folders; one an earlier
// version left below the Windows directory is not the user's shortcut, and Back to Windows
// Default takes it away.
TEST_F(ProgramPageTest, WithUserProfilesTheShortcutsGoWhereTheShellKeepsTheFolders) {
    sys.PutFile(kDesktop, "EARLIER");
    sys.PutFile(kQuickLaunch, "EARLIER");
    UseUserProfile();
    const std::string profile = kProfile, exe = std::string(kProgramDir) + "\\Veltrim.exe";
    const std::string desktop = profile + "\\Desktop\\Veltrim 2000.lnk";
    const std::string quickLaunchFolder =
        profile + "\\Application Data\\Microsoft\\Internet Explorer\\Quick Launch";
    const std::string quickLaunch = quickLaunchFolder + "\\Veltrim 2000.lnk";
    const std::string group = profile + "\\Start Menu\\Programs\\Veltrim 2000";
    sys.MakeDirectories(quickLaunchFolder);
    ReadPass();
    EXPECT_FALSE(page().DesktopIcon.Checked()) << "not on the desktop the user sees";
    EXPECT_FALSE(page().QuickLaunchIcon.Checked());
    for (ui::CheckBox* box : {&page().DesktopIcon, &page().QuickLaunchIcon, &page().StartMenuIcon})
        Click(*box);
    WritePass();
    EXPECT_EQ(Link(exe), sys.FileText(desktop));
    EXPECT_EQ(Link(exe), sys.FileText(quickLaunch));
    EXPECT_EQ(Link(exe), sys.FileText(group + "\\Veltrim 2000.lnk"));
    EXPECT_FALSE(sys.HasDirectory(kGroup));
    ReadPass();
    EXPECT_TRUE(page().DesktopIcon.Checked());
    EXPECT_TRUE(page().StartMenuIcon.Checked());
    page().ResetToWindowsDefault();
    WritePass();
    for (const std::string& link :
         {desktop, quickLaunch, std::string(kDesktop), std::string(kQuickLaunch)})
        EXPECT_FALSE(sys.HasFile(link)) << link;
    EXPECT_TRUE(sys.HasFile(group + "\\Veltrim 2000.lnk"));
}

// A shortcut, the group or its folder that cannot be made or deleted stops the pass with the
// file's name, as every other write does.
struct ShortcutFailure {
    const char* name;
    std::function<void(fake::FakePlatform&)> spoil;
    ui::CheckBox ProgramPage::*box;  // clicked before the pass
    std::string named;
};

std::function<void(fake::FakePlatform&)> Refusing(fake::Call kind, const std::string& path) {
    return [kind, path](fake::FakePlatform& sys) {
        sys.FailWhen(
            [kind, path](const fake::CallInfo& c) {
                return c.kind == kind && vt::ToUpper(c.path) == vt::ToUpper(path);
            },
            ERROR_ACCESS_DENIED);
    };
}

const std::string kGroupFolder = kGroup;
const ShortcutFailure kShortcutFailures[] = {
    {"NoDesktopFolder",
     [](fake::FakePlatform& sys) { sys.RemoveDirectoryA("C:\\WINDOWS\\Desktop"); },
     &ProgramPage::DesktopIcon, std::string("Cannot create file ") + kDesktop},
    {"RefusedQuickLaunchLink", Refusing(fake::Call::CreateShellLink, kQuickLaunch),
     &ProgramPage::QuickLaunchIcon, std::string("Cannot create file ") + kQuickLaunch},
    {"NoGroupFolder", Refusing(fake::Call::CreateDirectory, kGroupFolder),
     &ProgramPage::StartMenuIcon, "Cannot create folder " + kGroupFolder},
    {"RefusedReadmeLink", Refusing(fake::Call::CreateShellLink, kGroupFolder + "\\Readme.lnk"),
     &ProgramPage::StartMenuIcon, "Cannot create file " + kGroupFolder + "\\Readme.lnk"},
    {"DesktopLinkThatCannotGo",
     [](fake::FakePlatform& sys) { sys.PutFile(kDesktop, "LINK", FILE_ATTRIBUTE_READONLY); },
     &ProgramPage::DesktopIcon, std::string("Cannot delete file ") + kDesktop},
};

class ShortcutFailureTest : public ProgramPageTest,
                            public ::testing::WithParamInterface<ShortcutFailure> {};

TEST_P(ShortcutFailureTest, StopsThePassNamingTheFile) {
    GetParam().spoil(sys);
    ReadPass();
    Click(page().*GetParam().box);
    try {
        WritePass();
        ADD_FAILURE() << "no error";
    } catch (const IoError& e) {
        EXPECT_EQ(GetParam().named, e.what());
    }
}

INSTANTIATE_TEST_SUITE_P(Shortcuts, ShortcutFailureTest, ::testing::ValuesIn(kShortcutFailures),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ProgramPageTest, AnUntouchedSplashBoxLeavesAnOddShowSplashAlone) {
    form().Config.SetShowSplash(2);
    ReadPass();
    EXPECT_FALSE(page().NoSplashScreen.Checked());
    WritePass();
    EXPECT_EQ(2, form().Config.ShowSplash());
}

TEST_F(ProgramPageTest, TheSplashOptionSetsShowSplashAndTheButtonsOpenTheirAddresses) {
    form().Config.SetShowSplash(1);
    ReadPass();
    EXPECT_FALSE(page().NoSplashScreen.Checked());
    Click(page().NoSplashScreen);
    WritePass();
    EXPECT_EQ(0, form().Config.ShowSplash());
    form().Handle = 0x1234;
    page().SpeedButton12.Click();
    page().SpeedButton13.Click();
    ASSERT_EQ(2u, sys.ShellOpened().size());
    EXPECT_EQ("open", sys.ShellOpened()[0].verb);
    EXPECT_EQ("http://www.example.com/veltrim/", sys.ShellOpened()[0].file);
    EXPECT_EQ("mailto:support@example.com", sys.ShellOpened()[1].file);
    for (const auto& request : sys.ShellOpened())
        EXPECT_EQ(HWND{0x1234}, request.owner) << "the main window owns what the shell shows";
}

TEST_F(ProgramPageTest, AboutPutsTheDetailsAwayAndHoldsTheMainWindow) {
    Click(pages().boot.CheckBox2);
    page().SpeedButton15.Click();
    EXPECT_FALSE(pages().boot.SpinEdit1.Visible());
    EXPECT_FALSE(form().Enabled());
    EXPECT_TRUE(program.about.Visible());
    program.about.SpeedButton1.Click();
    EXPECT_TRUE(form().Enabled());
}

// --- Back to Windows Default -------------------------------------------------------------

class BackToDefaultTest : public ProgramPageTest {
  protected:
    BackToDefaultTest() {
        sys.PutFile(kMsdosSys, "[Options]\r\nBootMulti=1\r\nBootMenuDelay=5\r\nLogo=0\r\n");
        sys.PutFile("C:\\WINDOWS\\SYSTEM.INI",
                    "[386Enh]\r\nLocalLoadHigh=1\r\n[vcache]\r\nMinFileCache=2048\r\n"
                    "MaxFileCache=8192\r\nCHUNKSIZE=512\r\n");
        PutText(HKEY_CURRENT_USER, "Control Panel\\Desktop", "MenuShowDelay", "10");
        PutBytes(HKEY_CURRENT_USER,
                 "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer", "NoRun",
                 {1, 0, 0, 0});
        PutText(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Services\\VxD\\MSTCP",
                "SessionKeepAlive", "600");
        const char* params = "System\\CurrentControlSet\\Services\\VxD\\NWLink\\Ndi\\params\\";
        PutText(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Services\\Class\\Net\\0000",
                "DriverDesc", "Dial-Up Adapter");
        PutText(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Services\\Class\\Net\\0000",
                "IPMTU", "576");
        PutText(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Services\\VxD\\MSTCP",
                "DefaultRcvWindow", "2680");
        PutText(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Services\\VxD\\MSTCP", "DefaultTTL",
                "128");
        PutText(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Services\\VxD\\MSTCP",
                "PMTUBlackHoleDetect", "1");
        for (auto [key, max, min] :
             {std::tuple{"maxconnect", "128", "2"}, std::tuple{"maxsockets", "1020", "32"}}) {
            PutText(HKEY_LOCAL_MACHINE, std::string(params) + key, "max", max);
            PutText(HKEY_LOCAL_MACHINE, std::string(params) + key, "min", min);
        }
        PutText(HKEY_LOCAL_MACHINE, std::string(params) + "cachesize", "", "16");
        sys.PutFile(kDesktop, "L");
        PutText(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\FS Templates",
                "", "Server");
        ReadPass();
    }
    std::string Text(HKEY root, const char* key, const char* name) {
        auto v = Value(root, key, name);
        return v ? v->Text() : "<missing>";
    }
    void Reset(ui::Answer answer) {
        prompts.Answer(answer);
        page().BackToWindowsDefault.PressMouse(ui::MouseButton::Left);
        page().BackToWindowsDefault.ReleaseMouse(ui::MouseButton::Left, true);
    }
};

TEST_F(BackToDefaultTest, NoLeavesEverythingAsItWas) {
    const std::string msdos = sys.FileText(kMsdosSys);
    const std::string ini = sys.FileText("C:\\WINDOWS\\SYSTEM.INI");
    sys.ClearCalls();
    Reset(ui::Answer::No);
    EXPECT_EQ(std::vector<std::string>{"Are you sure ?"}, prompts.Questions());
    EXPECT_FALSE(page().BackToWindowsDefault.Checked());
    EXPECT_EQ(ui::kBlack, page().BackToWindowsDefault.FontColor());
    for (const fake::CallInfo& call : sys.Calls()) {
        EXPECT_NE(fake::Call::RegSetValue, call.kind) << call.name;
        EXPECT_NE(fake::Call::ProfileWrite, call.kind) << call.name;
    }
    EXPECT_EQ(msdos, sys.FileText(kMsdosSys));
    EXPECT_EQ(ini, sys.FileText("C:\\WINDOWS\\SYSTEM.INI"));
}

TEST_F(BackToDefaultTest, YesPutsThePagesBackAndApplies) {
    Reset(ui::Answer::Yes);
    EXPECT_FALSE(page().BackToWindowsDefault.Checked()) << "never left ticked";
    TIniFile msdos(sys, kMsdosSys);
    EXPECT_EQ("0", msdos.ReadText("Options", "BootMulti", "-"));
    EXPECT_EQ("1", msdos.ReadText("Options", "Logo", "-"));
    EXPECT_EQ("30", msdos.ReadText("Options", "BootMenuDelay", "-"));
    TIniFile systemIni(sys, kSystemIni);
    EXPECT_FALSE(systemIni.HasValue("386Enh", "LocalLoadHigh"));
    for (const char* key : {"MinFileCache", "MaxFileCache", "CHUNKSIZE"})
        EXPECT_FALSE(systemIni.HasValue("vcache", key)) << key << ": Windows sizes the cache";
    EXPECT_EQ("400", Text(HKEY_CURRENT_USER, "Control Panel\\Desktop", "MenuShowDelay"));
    EXPECT_EQ("", Text(HKEY_CURRENT_USER, "Software\\Microsoft\\Internet Explorer\\Toolbar",
                       "BackBitmapShell"));
    EXPECT_EQ("16",
              Text(HKEY_CURRENT_USER, "Control Panel\\Desktop\\WindowMetrics", "Shell Icon BPP"));
    EXPECT_EQ("512",
              Text(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\explorer",
                   "Max Cached Icons"));
    EXPECT_EQ("3600", Text(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Services\\VxD\\MSTCP",
                           "SessionKeepAlive"));
    EXPECT_EQ((std::vector<BYTE>{0, 0, 0, 0}),
              Value(HKEY_CURRENT_USER,
                    "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer", "NoRun")
                  ->bytes);
    EXPECT_EQ("<missing>", Text(HKEY_CURRENT_USER, "Control Panel\\Desktop", "PaintDesktopVersion"))
        << "already shown as hidden: nothing to write";
    EXPECT_TRUE(pages().windows.CheckBox32.Checked());
    EXPECT_FALSE(sys.HasFile(kDesktop));
    EXPECT_TRUE(sys.HasFile(std::string(kGroup) + "\\Veltrim 2000.lnk"));
    EXPECT_EQ(1, form().Config.ShowSplash());
    EXPECT_TRUE(pages().windows.CheckBox37.Checked()) << "read back after Apply";
    EXPECT_EQ("Desktop Computer", pages().fileCache.ComboBox3.Text());
    const char* mstcp = "System\\CurrentControlSet\\Services\\VxD\\MSTCP";
    const std::string params = "System\\CurrentControlSet\\Services\\VxD\\NWLink\\Ndi\\params\\";
    EXPECT_EQ("0", Text(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Services\\Class\\Net\\0000",
                        "IPMTU"));
    EXPECT_EQ("8192", Text(HKEY_LOCAL_MACHINE, mstcp, "DefaultRcvWindow"));
    EXPECT_EQ("32", Text(HKEY_LOCAL_MACHINE, mstcp, "DefaultTTL"));
    EXPECT_EQ("0", Text(HKEY_LOCAL_MACHINE, mstcp, "PMTUBlackHoleDetect"));
    EXPECT_EQ("64", Text(HKEY_LOCAL_MACHINE, (params + "maxconnect").c_str(), "max"));
    EXPECT_EQ("1", Text(HKEY_LOCAL_MACHINE, (params + "maxconnect").c_str(), "min"));
    EXPECT_EQ("255", Text(HKEY_LOCAL_MACHINE, (params + "maxsockets").c_str(), "max"));
    EXPECT_EQ("2", Text(HKEY_LOCAL_MACHINE, (params + "maxsockets").c_str(), "min"));
    EXPECT_EQ("0", Text(HKEY_LOCAL_MACHINE, (params + "cachesize").c_str(), ""));
    for (ui::TrackBar* bar :
         {&pages().diskCache.TrackBar2, &pages().diskCache.TrackBar3, &pages().diskCache.TrackBar4})
        EXPECT_EQ(0, bar->Position());
    EXPECT_EQ("0", pages().diskCache.Label22.Caption());
    EXPECT_EQ("Desktop", Text(HKEY_LOCAL_MACHINE,
                              "Software\\Microsoft\\Windows\\CurrentVersion\\FS Templates", ""));
}

// Every entry the right-click page made goes, also one whose box was cleared (clearing only
// closes the fields).
TEST_F(BackToDefaultTest, EveryRightClickEntryGoesWhateverItsBoxShows) {
    PutText(HKEY_CLASSES_ROOT, ".txt", "", "txtfile");
    PutText(HKEY_CLASSES_ROOT, "txtfile\\shell\\View it\\command", "", "VIEW.EXE %1");
    PutText(HKEY_CLASSES_ROOT, ".bmp", "", "Paint.Picture");
    PutText(HKEY_CLASSES_ROOT, "Paint.Picture\\shell\\Paint it\\command", "", "PAINT.EXE %1");
    sys.PutFile(std::string(kProgramDir) + "\\data.ini",
                "[.txt]\r\nTitle=View it\r\nplayer=VIEW.EXE %1\r\n"
                "[.bmp]\r\nTitle=Paint it\r\nplayer=PAINT.EXE %1\r\n");
    form().ProgramDir = kProgramDir;
    ReadPass();
    auto& menus = std::static_pointer_cast<Tools>(program.tools)->rightClickMenus;
    for (const RightClickMenus::FileType& type : menus.Types)
        if (std::string(type.ext) == ".txt") {
            ASSERT_TRUE(type.box.Checked());
            Click(type.box);  // cleared: the entry stays
            EXPECT_FALSE(type.box.Checked());
        }
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, "txtfile\\shell\\View it"));
    Reset(ui::Answer::Yes);
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "txtfile\\shell\\View it"));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "Paint.Picture\\shell\\Paint it"));
    EXPECT_EQ(std::string::npos,
              sys.FileText(std::string(kProgramDir) + "\\data.ini").find("Title"));
}

// The failure is reported with the offer to put back what was done; No keeps it.
TEST_F(BackToDefaultTest, AStoreErrorStopsItBeforeApply) {
    sys.FailWhen(
        [](const fake::CallInfo& call) {
            return call.kind == fake::Call::RegSetValue && call.name == "Max Cached Icons";
        },
        ERROR_ACCESS_DENIED);
    prompts.Answer(ui::Answer::Yes);
    Reset(ui::Answer::No);  // the second question: keep what was done
    sys.ClearFaults();
    ASSERT_EQ(2u, prompts.Questions().size());
    EXPECT_TRUE(prompts.Questions().back().starts_with(
        "Failed to set data for 'Max Cached Icons'\n\nPut back every setting"));
    EXPECT_EQ("30", TIniFile(sys, kMsdosSys).ReadText("Options", "BootMenuDelay", "-"))
        << "the steps before it stay done";
    EXPECT_EQ("1", TIniFile(sys, kMsdosSys).ReadText("Options", "BootMulti", "-"))
        << "Apply did not run";
    EXPECT_EQ("10", Text(HKEY_CURRENT_USER, "Control Panel\\Desktop", "MenuShowDelay"));
}

}  // namespace
}  // namespace vt::testing
