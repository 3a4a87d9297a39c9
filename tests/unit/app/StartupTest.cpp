#include "AppFixture.h"

#include <algorithm>
#include <optional>
#include <tuple>

namespace vt::testing {
namespace {

class StartupTest : public AppFixture {
  protected:
    int Start() { return StartSequence(sys, prompts, host); }
    HeadlessHost host;
};

TEST_F(StartupTest, AConfigFileOfAnotherSizeIsNamedAndReplacedOnlyWhenTheUserSaysSo) {
    const std::string file = std::string(kProgramDir) + "\\Config.DAT";
    struct Case {
        const char* what;
        std::optional<std::string> contents, spare;
        std::optional<ui::Answer> answer;  // to "Replace it...?"
        bool otherInstance;
        const char* said;  // in the error or the question; "" when nothing is said
        int exitCode;
        std::optional<std::string> after;  // Config.DAT once the start is over
    };
    const std::string defaults = std::string(1, '\1') + std::string(19, '\0');  // welcome shown
    for (const Case& c : {
             Case{"missing", std::nullopt, std::nullopt, std::nullopt, false, "File not found", 1,
                  std::nullopt},
             Case{"short, kept", std::string(19, '\0'), std::nullopt, ui::Answer::No, false,
                  "Read beyond end of file", 1, std::string(19, '\0')},
             Case{"empty, replaced", std::string(), std::nullopt, ui::Answer::Yes, false,
                  "holds 0 bytes", 0, defaults},
             Case{"too long, kept", std::string(64 << 10, 'x'), std::nullopt, ui::Answer::No, false,
                  "is larger than", 1, std::string(64 << 10, 'x')},
             Case{"short with the program's spare", std::string(7, '\0'), ConfigBytes(0, 0),
                  std::nullopt, false, "", 0, std::string(7, '\0')},
             Case{"short with the user's file of the spare's name", std::string(7, '\0'),
                  std::string(30, 's'), ui::Answer::No, false, "holds 7 bytes", 1,
                  std::string(7, '\0')},
             Case{"short while another start runs", std::string(3, '\0'), std::nullopt,
                  std::nullopt, true, "", 0, std::string(3, '\0')},
         }) {
        SCOPED_TRACE(c.what);
        fake::FakePlatform machine;
        machine.MakeDirectories(kProgramDir);
        machine.SetCurrentDirectoryA(kProgramDir);
        if (c.contents) machine.PutFile(file, *c.contents);
        if (c.spare) machine.PutFile(file + ".new", *c.spare);
        if (c.otherInstance) machine.HoldMutex(kSingleInstanceMutex);
        ui::ScriptedPrompts asked;
        if (c.answer) asked.Answer(*c.answer);
        HeadlessHost noWindows;
        EXPECT_EQ(c.exitCode, StartSequence(machine, asked, noWindows));
        std::string said;
        for (const auto& a : asked.Asks()) said += a.text;
        if (*c.said) {
            EXPECT_NE(std::string::npos, said.find(c.said)) << said;
        } else {
            EXPECT_TRUE(asked.Asks().empty()) << said;
        }
        if (c.answer) {
            EXPECT_NE(std::string::npos, said.find(file)) << "the message names the file";
        }
        EXPECT_EQ(c.exitCode == 0 && !c.otherInstance, noWindows.loopRan);
        EXPECT_EQ(c.after,
                  machine.HasFile(file) ? std::optional(machine.FileText(file)) : std::nullopt);
        if (c.spare) {
            EXPECT_EQ(*c.spare, machine.FileText(file + ".new")) << "never replaced";
        }
    }
}

TEST_F(StartupTest, WithoutTheSplashTheMainWindowOpensAndFirstRunStays) {
    sys.PutFile(std::string(kProgramDir) + "\\Config.DAT", ConfigBytes(0, 1));
    EXPECT_EQ(0, Start());
    EXPECT_FALSE(host.welcomeShown);
    EXPECT_TRUE(host.loopRan);
    EXPECT_EQ("LINK", sys.FileText(std::string(kProgramDir) + "\\Uninstall.lnk"));
    EXPECT_EQ(ConfigBytes(0, 1), ConfigFile()) << "only the welcome window clears FirstRun";
}

TEST_F(StartupTest, TheWelcomeWindowClearsFirstRunAndKeepsTheReservedRecords) {
    sys.PutFile(std::string(kProgramDir) + "\\Config.DAT", ConfigBytes(1, 1));
    host.script = [&](Program& program) {
        EXPECT_EQ(ConfigBytes(1, 0), ConfigFile()) << "rewritten before the main window";
        EXPECT_EQ(0, program.main.Config.FirstRun());
    };
    EXPECT_EQ(0, Start());
    EXPECT_TRUE(host.welcomeShown);
    EXPECT_TRUE(host.loopRan);
    EXPECT_TRUE(sys.HasFile(std::string(kProgramDir) + "\\Uninstall.lnk"));
}

TEST_F(StartupTest, WithUserProfilesTheUninstallShortcutComesFromTheUsersStartMenu) {
    sys.UseUserProfile("ann");
    sys.MakeDirectories("C:\\WINDOWS\\Profiles\\ann\\Start Menu\\Programs\\Veltrim 2000");
    sys.PutFile("C:\\WINDOWS\\Profiles\\ann\\Start Menu\\Programs\\Veltrim 2000\\Uninstall.lnk",
                "THE USER'S");
    sys.PutFile(std::string(kProgramDir) + "\\Config.DAT", ConfigBytes(0, 1));
    EXPECT_EQ(0, Start());
    EXPECT_EQ("THE USER'S", sys.FileText(std::string(kProgramDir) + "\\Uninstall.lnk"));
}

TEST_F(StartupTest, AMissingStartMenuShortcutIsNotReported) {
    sys.DeleteFileA(kStartMenuLink);
    sys.PutFile(std::string(kProgramDir) + "\\Config.DAT", ConfigBytes(0, 1));
    EXPECT_EQ(0, Start());
    EXPECT_TRUE(prompts.Errors().empty());
    EXPECT_FALSE(sys.HasFile(std::string(kProgramDir) + "\\Uninstall.lnk"));
}

// LZ opens a path through OpenFile, which holds 128 bytes of it with its NUL: a deeper folder
// gets the shortcut by a plain copy, and a copy that fails is reported.
TEST_F(StartupTest, TheFirstStartKeepsTheUninstallShortcutHoweverDeepTheFolder) {
    for (auto [length, copy, fails] : {std::tuple{126u, fake::Call::LZCopyFile, false},
                                       {127u, fake::Call::CopyFile, false},
                                       {130u, fake::Call::CopyFile, true}}) {
        const std::string folder = std::string(kProgramDir) + "\\" + std::string(length - 44, 'd');
        const std::string kept = folder + "\\Uninstall.lnk";
        fake::FakePlatform machine;
        machine.MakeDirectories(folder);
        machine.SetCurrentDirectoryA(folder.c_str());
        machine.PutFile(folder + "\\Config.DAT", ConfigBytes(0, 1));
        machine.PutFile(kStartMenuLink, "LINK");
        if (fails) machine.FailNth(copy, 1, ERROR_ACCESS_DENIED);
        HeadlessHost second;
        ui::ScriptedPrompts asked;
        EXPECT_EQ(0, StartSequence(machine, asked, second));
        EXPECT_TRUE(std::any_of(machine.Calls().begin(), machine.Calls().end(), [&](auto& call) {
            return call.kind == copy && call.name == kept;
        }));
        EXPECT_EQ(fails ? "" : "LINK", machine.FileText(kept)) << length;
        EXPECT_EQ(
            fails ? std::vector{"Cannot copy file " + std::string(kStartMenuLink) + " to " + kept}
                  : std::vector<std::string>{},
            asked.Errors());
    }
}

// Installed at a drive root (Setup /D=D:\), the program's folder is "D:\": Windows 98 takes
// "D:\\Config.DAT" for a file in a folder with an empty name, which is not there.
TEST_F(StartupTest, InstalledAtADriveRootItFindsAndKeepsItsFilesThere) {
    fake::FakePlatform machine;
    machine.SetBehaviour(fake::Behaviour::Windows98);
    machine.MakeDirectories("D:\\");
    machine.PutFile("D:\\Config.DAT", ConfigBytes(1, 1));
    machine.PutFile(kStartMenuLink, "LINK");
    machine.SetCurrentDirectoryA("D:\\");
    HeadlessHost host;
    ui::ScriptedPrompts asked;
    EXPECT_EQ(0, StartSequence(machine, asked, host));
    EXPECT_EQ(std::vector<std::string>{}, asked.Errors());
    EXPECT_EQ(ConfigBytes(1, 0), machine.FileText("D:\\Config.DAT"));
    EXPECT_EQ("LINK", machine.FileText("D:\\Uninstall.lnk"));
}

TEST_F(StartupTest, ASecondStartBringsBackOnlyAHiddenFirstInstance) {
    struct Case {
        const char* label;
        bool mainWindow, mainVisible, welcome;
        bool posted;
    };
    for (const Case& c : {Case{"hidden in the tray", true, false, false, true},
                          Case{"visible", true, true, false, false},
                          Case{"showing its welcome window", false, false, true, false}}) {
        fake::FakePlatform machine;
        machine.PutFile(std::string(kProgramDir) + "\\Config.DAT", ConfigBytes(1, 0));
        machine.SetCurrentDirectoryA(kProgramDir);
        HWND first = 0;
        if (c.mainWindow) first = machine.AddWindow("TForm1", "Veltrim 2000", c.mainVisible);
        if (c.welcome) machine.AddWindow("TForm3", "Welcome", true);
        HeadlessHost second;
        ui::ScriptedPrompts asked;
        EXPECT_EQ(0, StartSequence(machine, asked, second)) << c.label;
        EXPECT_FALSE(second.welcomeShown) << c.label;
        EXPECT_FALSE(second.loopRan) << c.label;
        ASSERT_EQ(c.posted ? 1u : 0u, machine.Posted().size()) << c.label;
        if (c.posted) {
            EXPECT_EQ(first, machine.Posted()[0].window);
            EXPECT_EQ(WM_USER, machine.Posted()[0].message);
            EXPECT_EQ(0u, machine.Posted()[0].wParam);
            EXPECT_EQ(0, machine.Posted()[0].lParam);
            EXPECT_EQ(fake::Call::SetForegroundWindow, machine.Calls().back().kind);
        }
        // Windows 98 lets the woken background process bring nothing forward: this start
        // hands the foreground over.
        EXPECT_EQ(c.posted ? first : 0u, machine.ForegroundWindow()) << c.label;
    }
}

TEST_F(StartupTest, AStartThatFindsTheMutexTakenOnlyWakesAHiddenMainWindow) {
    struct Case {
        const char* label;
        bool mainWindow, mainVisible;
    };
    for (const Case& c : {Case{"hidden in the tray", true, false}, Case{"visible", true, true},
                          Case{"not made yet", false, false}}) {
        fake::FakePlatform machine;
        machine.PutFile(std::string(kProgramDir) + "\\Config.DAT", ConfigBytes(1, 0));
        machine.SetCurrentDirectoryA(kProgramDir);
        machine.HoldMutex(kSingleInstanceMutex);
        HWND first = 0;
        if (c.mainWindow) first = machine.AddWindow("TForm1", "Veltrim 2000", c.mainVisible);
        machine.AddWindow("TForm1", "Another program", false);
        HeadlessHost second;
        ui::ScriptedPrompts asked;
        EXPECT_EQ(0, StartSequence(machine, asked, second)) << c.label;
        EXPECT_FALSE(second.welcomeShown) << c.label;
        EXPECT_FALSE(second.loopRan) << c.label;
        bool wakes = c.mainWindow && !c.mainVisible;
        ASSERT_EQ(wakes ? 1u : 0u, machine.Posted().size()) << c.label;
        if (wakes) {
            EXPECT_EQ(first, machine.Posted()[0].window);
            EXPECT_EQ(WM_USER, machine.Posted()[0].message);
        }
        EXPECT_EQ(wakes ? first : 0u, machine.ForegroundWindow()) << c.label;
    }
}

TEST_F(StartupTest, TheFirstStartTakesTheMutexJustBeforeLookingForWindows) {
    sys.ClearCalls();
    EXPECT_EQ(0, Start());
    EXPECT_TRUE(host.loopRan);
    const auto& calls = sys.Calls();
    auto first = [&](fake::Call kind) {
        return std::find_if(calls.begin(), calls.end(),
                            [kind](const fake::CallInfo& call) { return call.kind == kind; });
    };
    auto mutex = first(fake::Call::CreateMutex);
    ASSERT_NE(calls.end(), mutex);
    EXPECT_EQ("Veltrim 2000 single instance", mutex->name);
    EXPECT_EQ(mutex + 1, first(fake::Call::FindWindow));

    HeadlessHost again;
    EXPECT_EQ(0, StartSequence(sys, prompts, again));
    EXPECT_FALSE(again.loopRan) << "the first instance still holds the mutex";
}

TEST_F(StartupTest, AnErrorInFormCreateIsShownAndTheWindowStillOpens) {
    host.script = [&](Program& program) { EXPECT_TRUE(program.main.Visible()); };
    std::optional<ui::TabSheet> boot;
    int result = StartSequence(sys, prompts, host, [&](Program& program) {
        boot.emplace("TabSheet1", &program.main.PageControl1, "Boot");
        program.main.AddPage(
            {.sheet = &*boot,
             .read = [] { throw RegistryError("Failed to get data for 'BootMulti'"); },
             .write = [] {},
             .filled = {&*boot}});
    });
    EXPECT_EQ(0, result);
    EXPECT_EQ(std::vector<std::string>{"Failed to get data for 'BootMulti'"}, prompts.Errors());
    EXPECT_TRUE(host.loopRan);
}

TEST_F(StartupTest, AConfigFileTheMainWindowCannotReadAgainIsRewrittenAsTheStartReadIt) {
    sys.PutFile(std::string(kProgramDir) + "\\Config.DAT", ConfigBytes(0, 1));
    sys.FailNth(fake::Call::ReadFile, 2, ERROR_ACCESS_DENIED);  // the main window's read
    host.script = [&](Program& program) {
        sys.ClearFaults();
        EXPECT_TRUE(program.main.Close());
    };
    EXPECT_EQ(0, Start());
    EXPECT_EQ(1u, prompts.Errors().size());
    EXPECT_EQ(ConfigBytes(0, 1), ConfigFile()) << "not five zero records";
}

}  // namespace
}  // namespace vt::testing
