// Settings profiles: export, import and the unattended runs of the command line, on fake
// machines with the program installed.
#include "AppFixture.h"

#include "app/Unattended.h"
#include "compose/PageTable.h"
#include "store/RestorePoints.h"

#include <algorithm>
#include <memory>

namespace vt::testing {
namespace {

constexpr const char* kProfile = "C:\\lab.vts";
constexpr const char* kLog = "C:\\lab.log";

// A PC with the program installed; with adapters, a dial-up and a LAN one.
struct Machine {
    explicit Machine(bool adapters = true) {
        sys.PutFile("C:\\MSDOS.SYS", "[Options]\r\nBootGUI=1\r\nBootMenu=0\r\n", 0x07);
        sys.PutFile("C:\\WINDOWS\\SYSTEM.INI", "[386Enh]\r\nPageBuffers=0\r\n");
        sys.PutFile(std::string(kProgramDir) + "\\Config.DAT", ConfigBytes(0, 0));
        sys.SetCurrentDirectoryA(kProgramDir);
        Text(HKEY_LOCAL_MACHINE, FileCachePage::kTemplates, "", "Desktop");
        for (auto [name, nameCache] : {std::pair{"Desktop", 0xA9}, std::pair{"Mobile", 0x51}}) {
            std::string key = std::string(FileCachePage::kTemplates) + "\\" + name;
            sys.PutValue(HKEY_LOCAL_MACHINE, key, "NameCache", REG_BINARY,
                         {BYTE(nameCache), 0, 0, 0});
            sys.PutValue(HKEY_LOCAL_MACHINE, key, "PathCache", REG_BINARY, {0x10, 0, 0, 0});
        }
        if (!adapters) return;
        Text(HKEY_LOCAL_MACHINE, std::string(InternetPage::kNetClass) + "0000", "DriverDesc",
             "Dial-Up Adapter");
        Text(HKEY_LOCAL_MACHINE, std::string(InternetPage::kNetClass) + "0001", "DriverDesc",
             "NE2000 Compatible");
        Text(HKEY_LOCAL_MACHINE, InternetPage::kMstcp, "DefaultTTL", "32");
    }
    void Text(HKEY root, const std::string& path, const std::string& name,
              const std::string& text) {
        std::vector<BYTE> bytes(text.begin(), text.end());
        bytes.push_back(0);
        sys.PutValue(root, path, name, REG_SZ, bytes);
    }
    // One run of the program: its mutex goes when it ends.
    int Run(UnattendedRun::Command command, const std::string& profile = kProfile) {
        return Run({command, profile, kLog, ""});
    }
    int Run(const UnattendedRun& run) {
        int code = RunUnattended(sys, run, [](Program& program, ui::Prompts& asked) {
            AttachPages(program, program.main.Stores(), asked);
        });
        sys.ReleaseMutex(kSingleInstanceMutex);
        return code;
    }
    std::string Exported() {
        UnattendedRun run{UnattendedRun::Command::Export, kProfile, kLog, ""};
        run.replace = true;
        EXPECT_EQ(kExitDone, Run(run));
        return sys.FileText(kProfile);
    }
    // What the program's folder's log holds, taken away.
    std::string FallbackLog() {
        const std::string path = std::string(kProgramDir) + "\\" + kFallbackLog;
        std::string text = sys.FileText(path);
        sys.DeleteFileA(path.c_str());
        return text;
    }
    // The last run's lines of the log.
    std::vector<std::string> Log() {
        std::vector<std::string> lines;
        std::string text = sys.FileText(kLog), line;
        for (char c : text)
            if (c == '\n') {
                if (line.starts_with("run ")) lines.clear();
                lines.push_back(line);
                line.clear();
            } else if (c != '\r') {
                line += c;
            }
        return lines;
    }
    bool Logged(const std::string& start) {
        auto lines = Log();
        return std::any_of(lines.begin(), lines.end(),
                           [&](const std::string& l) { return l.rfind(start, 0) == 0; });
    }
    fake::FakePlatform sys;
};

// The window open on a machine, as the user has it.
struct Window {
    explicit Window(Machine& machine) : sys(machine.sys) {
        AttachPages(program, program.main.Stores(), prompts);
        program.main.FormCreate();
        program.main.Show();
        program.main.ReadPendingPages();
    }
    Pages& pages() { return *std::static_pointer_cast<Pages>(program.pages); }
    fake::FakePlatform& sys;
    ui::ScriptedPrompts prompts;
    Program program{sys, prompts};
};

std::string WithLine(const std::string& profile, const std::string& line) {
    return profile + line + "\r\n";
}

std::string Header() {
    return std::string(kProfileHeader) + "\r\n";
}

// Every kind of control set by the user on one PC arrives through a profile as the same
// stored settings on another: the second PC's own export, read back from its stores,
// matches the first's line for line.
TEST(ProfileTest, EveryKindOfControlArrivesOnAnotherPcAsTheSameStoredSetting) {
    Machine first;
    {
        Window window(first);
        Pages& p = window.pages();
        ClickBox(p.boot.CheckBox1);  // a box
        ClickBox(p.boot.CheckBox2);  // a box that opens a spin edit
        p.boot.SpinEdit1.Type("5");
        ClickBox(p.system.CheckBox22);  // a frame of two texts
        p.system.Edit1.SetText("Lab");
        p.system.Edit2.SetText("School");
        ClickBox(p.system.CheckBox24);  // a radio group in a frame
        p.system.RadioButton3.Click();
        ClickBox(p.system.CheckBox25);  // a track bar over bands
        p.system.TrackBar1.Drag(2);
        p.internet.RadioButton8.Click();  // a custom MTU of the dial-up kind
        p.internet.Edit3.SetText("1400");
        p.internet.RadioButton11.Click();   // a radio group
        p.internet2.RadioButton24.Click();  // a custom number
        p.internet2.Edit9.SetText("48");
        p.internet2.SpinEdit8.Type("600");
        p.internet2.SpinEdit8.LoseFocus();
        p.fileCache.ComboBox3.ChooseItem(2);                // a list
        p.diskCache.TrackBar3.Drag(12);                     // a track bar
        p.oemInfo.Manufacturer.SetText("Example Lab PCs");  // a text
        ClickBox(p.programPage.NoSplashScreen);
        window.program.main.Apply();
        EXPECT_TRUE(window.prompts.Errors().empty());
    }
    std::string profile = first.Exported();
    for (const char* line :
         {"[Boot]", "Disable Boot Function Keys=1", "Boot menu delay=5",
          "Change Windows Owner - Name=Lab", "Change Windows Owner - Organization=School",
          "Change Icon Color Format - Format=32 Bit", "Optimize Icon Cache Size - Icons=2048",
          "Internet Protocol MTU - Dial-Up=Custom", "Internet Protocol MTU - Dial-Up - Custom=1400",
          "Internet Protocol MTU - LAN=(not set)", "Time to Alive=32 (Default)",
          "Receive Window=8760", "Optimize NDI Cache Size - Custom=48", "Session Keep Alive=600",
          "Maximum Cache Size=12", "Manufacturer=Example Lab PCs", "Disable Splash Screen=0"})
        EXPECT_NE(std::string::npos, profile.find(std::string(line) + "\r\n")) << line;

    Machine second;
    second.sys.PutFile(kProfile, profile);
    EXPECT_EQ(kExitChangedRestart, second.Run(UnattendedRun::Command::Apply));
    EXPECT_TRUE(second.Logged("set [System] Change Windows Owner - Name: (empty) -> Lab"));
    EXPECT_TRUE(
        second.Logged("changed HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\"
                      "RegisteredOwner: (missing) -> \"Lab\""));
    EXPECT_TRUE(second.Logged("changed C:\\MSDOS.SYS [Options] BootKeys: (missing) -> 0"));
    // A round trip alone would not see a value written and read under a wrong name.
    for (const char* line :
         {"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\"
          "RegisteredOrganization: (missing) -> \"School\"",
          "HKEY_CURRENT_USER\\Control Panel\\Desktop\\WindowMetrics\\Shell Icon BPP: (missing) -> "
          "\"32\"",
          "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\explorer\\Max "
          "Cached Icons: (missing) -> \"2048\"",
          "HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\Class\\Net\\0000\\IPMTU: "
          "(missing) -> \"1400\""})
        EXPECT_TRUE(second.Logged(std::string("changed ") + line)) << line;
    EXPECT_TRUE(second.Logged("restore point: "));
    EXPECT_EQ(profile, second.Exported());

    // Applied again, it changes nothing and keeps no restore point.
    EXPECT_EQ(kExitDone, second.Run(UnattendedRun::Command::Apply));
    EXPECT_FALSE(second.Logged("set "));
    EXPECT_FALSE(second.Logged("restore point: "));
}

// A field that names its setting by a figure or a kind lands where that figure or kind is
// stored: the LAN's MTU on the network card (not the dial-up adapter), a CD-ROM cache given
// in kB as the number of 2 kB blocks Windows keeps.
TEST(ProfileTest, FiguresAndKindsLandWhereTheyAreStored) {
    const std::string net = "HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\Class\\Net\\";
    const std::pair<const char*, std::string> rows[] = {
        {"[Internet #1]\r\nInternet Protocol MTU - LAN=Custom\r\n"
         "Internet Protocol MTU - LAN - Custom=1400\r\n",
         net + "0001\\IPMTU: (missing) -> \"1400\""},
        {"[System]\r\nOptimize CD-ROM Cache Size=1\r\nOptimize CD-ROM Cache Size - kB=2480\r\n",
         "HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\FileSystem\\CDFS\\CacheSize: "
         "(missing) -> dword:000004d8"},
    };
    for (const auto& [lines, changed] : rows) {
        Machine machine;
        machine.sys.PutFile(kProfile, Header() + lines);
        machine.Run(UnattendedRun::Command::Apply);
        EXPECT_TRUE(machine.Logged("changed " + changed)) << machine.sys.FileText(kLog);
        EXPECT_FALSE(machine.Logged("changed " + net + "0000")) << machine.sys.FileText(kLog);
    }
}

// A profile with a bad line is refused whole: each bad line named by its number, nothing
// on the machine changed, neither by the command line nor by the menu.
TEST(ProfileTest, ABadLineRefusesTheWholeProfileAndNamesIt) {
    struct Case {
        std::string text;
        std::vector<std::string> errors;
    };
    const std::string boot = Header() + "[Boot]\r\nDisable Boot Function Keys=1\r\n";
    const std::vector<Case> cases = {
        {"Veltrim 2000 settings profile, version 2\r\n[Boot]\r\n",
         {"Line 1: this is not a Veltrim 2000 settings profile"}},
        {WithLine(boot, "[Bott]"), {"Line 4: unknown page \"[Bott]\""}},
        {WithLine(boot, "Disable Boot Keys=1"),
         {"Line 4: no setting \"Disable Boot Keys\" on page [Boot]"}},
        {WithLine(boot, "Disable Boot Function Keys=0"),
         {"Line 4: \"Disable Boot Function Keys\" is set again (first on line 3)"}},
        {WithLine(boot, "Display Windows Boot Menu=yes"),
         {"Line 4: Display Windows Boot Menu=yes: 1 (ticked) or 0 (cleared)"}},
        {WithLine(WithLine(boot, "Display Windows Boot Menu=1"), "Boot menu delay=3x"),
         {"Line 5: Boot menu delay=3x: not a whole number"}},
        {WithLine(WithLine(boot, "Display Windows Boot Menu=1"), "Boot menu delay=31"),
         {"Line 5: Boot menu delay=31: out of range (0 to 30)"}},
        {WithLine(boot, "Boot menu delay=3"),
         {"Line 4: Boot menu delay is set only together with Display Windows Boot Menu=1 on page "
          "[Boot]"}},
        {WithLine(boot, "Disable Splash Screen=1"),
         {"Line 4: no setting \"Disable Splash Screen\" on page [Boot]"}},
        {Header() + "Disable Boot Function Keys=1\r\n",
         {"Line 2: a setting before the first page"}},
        {WithLine(boot, "Disable Windows Splash Screen"),
         {"Line 4: \"Disable Windows Splash Screen\" is not a setting"}},
        {Header() + "[Internet #1]\r\nReceive Window=9999\r\n[Disk-Cache]\r\nChunk Size=33\r\n",
         {"Line 3: Receive Window=9999: not one of 2680, 5840, 8760, 10220, Windows Default, "
          "Custom",
          "Line 5: Chunk Size=33: out of range (0 to 32)"}},
        {std::string("\xFF\xFEV\0e\0l\0", 8), {"Line 1: this file is saved as Unicode (UTF-16)"}},
        {Header() + "[Internet #2]\r\nOptimize Max Connect - Minimal value=99999999999\r\n",
         {"Line 3: Optimize Max Connect - Minimal value=99999999999: not a whole number"}},
        {Header() + "[System]\r\nChange Icon Color Format=1\r\nChange Icon Color Format - Format=8 "
                    "Bit\r\n",
         {"Line 4: Change Icon Color Format - Format=8 Bit: not one of 16 Bit, 24 Bit, 32 Bit"}},
    };
    for (const Case& c : cases) {
        Machine machine;
        machine.sys.PutFile(kProfile, c.text);
        std::vector<std::string> before = machine.sys.Dump();
        EXPECT_EQ(kExitRefused, machine.Run(UnattendedRun::Command::Apply)) << c.text;
        std::vector<std::string> refusals;
        for (const std::string& line : machine.Log())
            if (line.rfind("refused: Line", 0) == 0) refusals.push_back(line.substr(9));
        ASSERT_EQ(c.errors.size(), refusals.size()) << c.text;
        for (std::size_t i = 0; i < refusals.size(); ++i)
            EXPECT_EQ(0u, refusals[i].rfind(c.errors[i], 0)) << refusals[i];
        machine.sys.DeleteFileA(kLog);
        EXPECT_EQ(before, machine.sys.Dump()) << c.text;

        Window window(machine);
        window.prompts.Pick(std::string(kProfile));
        window.program.main.ImportSettings();
        ASSERT_EQ(1u, window.prompts.Errors().size());
        EXPECT_NE(std::string::npos, window.prompts.Errors()[0].find(c.errors[0]));
        for (ui::CheckBox* box : window.program.main.MarkableBoxes()) EXPECT_FALSE(box->Changed());
    }
}

// Import sets the controls as clicks would (the marks show, the frames open as they do)
// and writes nothing until "Apply".
// What a text editor leaves in a hand-edited profile: a byte-order mark before the first
// line, blanks around a value. Neither refuses the file.
TEST(ProfileTest, AByteOrderMarkAndBlanksAroundAValueAreAccepted) {
    Machine machine;
    machine.sys.PutFile(kProfile, "\xEF\xBB\xBF" + Header() +
                                      "[Boot]\r\nDisplay Windows Boot Menu= 1 \r\n"
                                      "Boot menu delay=6  \r\n");
    EXPECT_EQ(kExitChangedRestart, machine.Run(UnattendedRun::Command::Apply));
    EXPECT_NE(std::string::npos, machine.sys.FileText("C:\\MSDOS.SYS").find("BootMenuDelay=6\r\n"));
    EXPECT_NE(std::string::npos, machine.sys.FileText("C:\\MSDOS.SYS").find("BootMenu=1\r\n"));
    // Lines ended by a CR alone, and a DOS end of file after the last one.
    machine.sys.PutFile(
        kProfile, std::string(kProfileHeader) + "\r[Boot]\rDisplay Windows Boot Menu=0\r\x1a\x1a");
    EXPECT_EQ(kExitChangedRestart, machine.Run(UnattendedRun::Command::Apply))
        << machine.sys.FileText(kLog);
    EXPECT_NE(std::string::npos, machine.sys.FileText("C:\\MSDOS.SYS").find("BootMenu=0\r\n"));
}

TEST(ProfileTest, ImportSetsTheControlsAndWritesOnlyOnApply) {
    Machine machine;
    machine.sys.PutFile(kProfile, Header() +
                                      "[Boot]\r\nDisplay Windows Boot Menu=1\r\n"
                                      "Boot menu delay=7\r\n[Veltrim]\r\nEnable Desktop Icon=0\r\n"
                                      "[Start Menu]\r\nMenu Show Delay=0200\r\n");
    Window window(machine);
    Pages& p = window.pages();
    // The menu's export: cancelled, nothing; else the file chosen.
    window.prompts.Pick(std::nullopt);
    window.program.main.ExportSettings();
    window.prompts.Pick(std::string("C:\\menu.vts"));
    window.program.main.ExportSettings();
    EXPECT_EQ(0u, machine.sys.FileText("C:\\menu.vts").rfind(kProfileHeader, 0));
    EXPECT_FALSE(machine.sys.HasFile("C:\\menu.vts.new"));
    window.sys.ClearCalls();
    window.prompts.Pick(std::string(kProfile));
    window.program.main.ImportSettings();
    EXPECT_TRUE(p.boot.CheckBox2.Checked());
    EXPECT_EQ(ui::kNavy, p.boot.CheckBox2.FontColor());
    EXPECT_EQ(7, p.boot.SpinEdit1.Value());
    EXPECT_EQ(200, p.startMenu.SpinEdit2.Value()) << "typed without the leading zero";
    EXPECT_EQ((std::vector<std::string>{
                  "3 settings were set from the profile. They are written when you press "
                  "\"Apply\" or \"OK\"."}),
              window.prompts.Messages());
    for (const fake::CallInfo& call : window.sys.Calls())
        EXPECT_TRUE(call.kind != fake::Call::RegSetValue && call.kind != fake::Call::ProfileWrite &&
                    call.kind != fake::Call::WriteFile);
    window.program.main.Apply();
    EXPECT_NE(std::string::npos, machine.sys.FileText("C:\\MSDOS.SYS").find("BootMenuDelay=7"));
    EXPECT_NE(std::string::npos, machine.sys.FileText("C:\\MSDOS.SYS").find("BootMenu=1"));
}

// A profile made where there are network adapters applies on a PC without any: the
// adapters' settings are skipped and logged, the rest applied.
TEST(ProfileTest, SettingsOfAbsentAdaptersAreSkippedAndTheRestApplied) {
    Machine first;
    first.sys.PutFile(kProfile, Header() +
                                    "[Boot]\r\nDisable Boot Function Keys=1\r\n"
                                    "[Internet #1]\r\nInternet Protocol MTU - LAN=576\r\n"
                                    "Time to Alive=128\r\n[Internet #2]\r\n"
                                    "Session Keep Alive=600\r\n");
    EXPECT_EQ(kExitChangedRestart, first.Run(UnattendedRun::Command::Apply));
    std::string profile = first.Exported();

    Machine bare(false);
    bare.sys.PutFile(kProfile, profile);
    EXPECT_EQ(kExitChangedRestart, bare.Run(UnattendedRun::Command::Apply));
    EXPECT_TRUE(bare.Logged(
        "skipped [Internet #1] Internet Protocol MTU - LAN: this PC has no LAN adapter"));
    EXPECT_TRUE(bare.Logged(
        "skipped [Internet #1] Time to Alive: the setting cannot be changed on this PC"));
    EXPECT_TRUE(bare.Logged("skipped [Internet #2] Session Keep Alive: "));
    EXPECT_TRUE(bare.Logged("set [Boot] Disable Boot Function Keys: 0 -> 1"));
    std::string own = bare.Exported();
    EXPECT_EQ(std::string::npos, own.find("[Internet"));
    auto withoutInternet = [](std::string text) {
        std::size_t start = text.find("\r\n[Internet #1]");
        std::size_t end = text.find("\r\n[File-Cache]");
        return text.erase(start, end - start);
    };
    EXPECT_EQ(withoutInternet(profile), own);
}

// The exit codes of the command line and what the log says for each.
TEST(ProfileTest, TheCommandLineAnswersWithItsExitCodeAndLog) {
    const std::string profile = Header() + "[Boot]\r\nDisable Boot Function Keys=1\r\n";
    {
        Machine open;
        open.sys.PutFile(kProfile, profile);
        open.sys.HoldMutex(kSingleInstanceMutex);
        std::vector<std::string> before = open.sys.Dump();
        EXPECT_EQ(kExitAlreadyOpen, open.Run(UnattendedRun::Command::Apply));
        EXPECT_TRUE(open.Logged("open: Veltrim 2000 is open on this PC: nothing was written."));
        open.sys.DeleteFileA(kLog);
        EXPECT_EQ(before, open.sys.Dump());
    }
    {
        Machine shown;
        shown.sys.AddWindow(TForm1::kClassName, TForm1::kCaption, false);
        EXPECT_EQ(kExitAlreadyOpen, shown.Run(UnattendedRun::Command::Undo));
    }
    Machine machine;
    std::string before = machine.Exported();
    EXPECT_EQ(kExitDone, machine.Run(UnattendedRun::Command::Undo));
    EXPECT_TRUE(machine.Logged("note: no restore point to put back"));

    // A write that fails: the log names it and the restore point puts back what went before.
    machine.sys.PutFile(kProfile, profile + "[Windows]\r\nEnable Smooth Scrolling=1\r\n");
    machine.sys.FailWhen([](const fake::CallInfo& c) { return c.kind == fake::Call::RegSetValue; },
                         ERROR_ACCESS_DENIED);
    EXPECT_EQ(kExitFailed, machine.Run(UnattendedRun::Command::Apply));
    EXPECT_TRUE(machine.Logged("set [Windows] Enable Smooth Scrolling: 0 -> 1"));
    EXPECT_TRUE(machine.Logged("error: "));
    EXPECT_TRUE(machine.Logged("changed C:\\MSDOS.SYS [Options] BootKeys: (missing) -> 0"));
    EXPECT_TRUE(machine.Logged("exit code 1"));
    machine.sys.ClearFaults();
    EXPECT_EQ(kExitChangedRestart, machine.Run(UnattendedRun::Command::Undo));
    EXPECT_TRUE(machine.Logged("put back C:\\MSDOS.SYS [Options] BootKeys: 0 -> (missing)"));
    EXPECT_EQ(before, machine.Exported());

    const UnattendedRun incomplete{UnattendedRun::Command::Apply, "", kLog,
                                   "/apply needs a file name."};
    EXPECT_EQ(kExitRefused, RunUnattended(machine.sys, incomplete, {}));
    EXPECT_TRUE(machine.Logged("refused: /apply needs a file name."));

    EXPECT_EQ(kExitUnreachable, machine.Run(UnattendedRun::Command::Apply, "C:\\missing.vts"));
    EXPECT_TRUE(machine.Logged("error: Unable to read the settings profile C:\\missing.vts."));

    // Config.DAT that cannot be written: nothing closes the window to say so, the log does.
    machine.sys.PutFile(kProfile, Header() + "[Veltrim]\r\nDisable Splash Screen=0\r\n");
    machine.sys.FailWhen(
        [](const fake::CallInfo& c) {
            return c.kind == fake::Call::WriteFile &&
                   c.path.find("Config.DAT") != std::string::npos;
        },
        ERROR_ACCESS_DENIED);
    EXPECT_EQ(kExitFailed, machine.Run(UnattendedRun::Command::Apply));
    EXPECT_TRUE(machine.Logged("error: Unable to write to "));
}

// An export says what the PC holds: the window's export matches /export whichever frames
// are open (ticked by the user or by an import), and an import shows what it set.
TEST(ProfileTest, TwoExportsOfOnePcAreTheSameWhateverFramesTheWindowHasOpen) {
    Machine machine;
    machine.Text(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion",
                 "RegisteredOwner", "Ann");
    const std::string exported = machine.Exported();
    EXPECT_EQ(std::string::npos, exported.find("Change Windows Owner=")) << exported;
    EXPECT_NE(std::string::npos, exported.find("Change Windows Owner - Name=Ann")) << exported;
    Window window(machine);
    SystemPage& system = window.pages().system;
    ClickBox(system.CheckBox24);  // a frame opened by hand
    ASSERT_TRUE(window.program.main.ImportProfile(kProfile).errors.empty());
    ASSERT_FALSE(window.program.main.ExportProfile("C:\\again.vts"));
    EXPECT_EQ(exported, machine.sys.FileText("C:\\again.vts"));
    machine.sys.PutFile("C:\\owner.vts",
                        Header() + "[System]\r\nChange Windows Owner - Organization=Acme\r\n");
    ASSERT_TRUE(window.program.main.ImportProfile("C:\\owner.vts").errors.empty());
    EXPECT_TRUE(system.Edit2.Visible()) << "the owner's frame shows what the import set";
    EXPECT_EQ("Acme", system.Edit2.Text());
}

// A run whose every write failed changed nothing: it leaves no restore point for a later
// /undo to "put back".
TEST(ProfileTest, AnApplyThatChangedNothingLeavesNoRestorePoint) {
    Machine machine;
    machine.Text(HKEY_CURRENT_USER,
                 "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer", "NoFind", "");
    machine.sys.PutFile(kProfile, Header() + "[Start Menu]\r\nRemove the Run Menu=1\r\n");
    machine.sys.FailWhen([](const fake::CallInfo& c) { return c.kind == fake::Call::RegSetValue; },
                         ERROR_ACCESS_DENIED);
    EXPECT_EQ(kExitFailed, machine.Run(UnattendedRun::Command::Apply));
    const std::vector<std::string> log = machine.Log();
    EXPECT_EQ(1, std::count(log.begin(), log.end(), "error: Failed to set data for 'NoRun'"))
        << "told once";
    machine.sys.ClearFaults();
    EXPECT_TRUE(ListRestorePoints(machine.sys, std::string(kProgramDir) + "\\Restore").empty());
    EXPECT_EQ(kExitDone, machine.Run(UnattendedRun::Command::Undo)) << "nothing to put back";
}

// Power lost after any call of an export over an older profile: the profile read next is the
// old one or the new one, whole.
TEST(ProfileTest, AnExportCutOffAnywhereLeavesTheOldProfileOrTheNewOne) {
    Machine machine;
    const std::string old = machine.Exported();
    Window window(machine);
    ClickBox(window.pages().boot.CheckBox1);
    ASSERT_FALSE(window.program.main.ExportProfile("C:\\new.vts"));
    const std::string fresh = machine.sys.FileText("C:\\new.vts");
    ASSERT_NE(old, fresh);
    const std::string replacement = std::string(kProfile) + ".new";
    // The old profile in its place, or left under the second name by an earlier cut.
    for (bool leftInReplacement : {false, true}) {
        bool cut = true;
        for (int call = 1; cut; ++call) {
            machine.sys.DeleteFileA(kProfile);
            machine.sys.DeleteFileA(replacement.c_str());
            machine.sys.PutFile(leftInReplacement ? replacement : kProfile, old);
            machine.sys.CutPowerAtCall(call);
            try {
                window.program.main.ExportProfile(kProfile);
                cut = false;
            } catch (const fake::PowerCut&) {
            }
            machine.sys.RestorePower();
            std::optional<std::string> read = ReadProfileFile(machine.sys, kProfile);
            ASSERT_TRUE(read) << "cut at call " << call;
            EXPECT_TRUE(*read == old || *read == fresh) << "cut at call " << call;
            if (!cut) {
                EXPECT_EQ(fresh, *read);
            }
        }
    }
}

// What a run is given that it must not obey: a log or an export over a file that is not
// theirs, values no field can hold, a profile too large to be one. Each is refused with its
// exit code and leaves every file as it was.
TEST(ProfileTest, ARunRefusesTargetsAndValuesThatAreNotItsToTake) {
    const std::string restoreList = std::string(kProgramDir) + "\\Restore\\Points.txt";
    const std::string oem = Header() + "[OEM Info]\r\nManufacturer=";
    struct Case {
        const char* what;
        UnattendedRun::Command command;
        std::string profile, log, contents;  // the profile's contents, when it is read
        DWORD logAttributes;                 // of a log already there
        int exitCode;
        const char* logged;  // "" when no log may be written
    };
    using C = UnattendedRun::Command;
    const Case cases[] = {
        {"the log over the profile", C::Apply, kProfile, kProfile, oem + "Lab\r\n", 0, kExitRefused,
         ""},
        {"an export over the list of restore points", C::Export, restoreList, kLog, "", 0,
         kExitRefused, "refused: \""},
        {"a log into the Restore folder", C::Undo, "",
         std::string(kProgramDir) + "\\Restore\\u.log", "", 0, kExitRefused, ""},
        {"an export over SYSTEM.INI", C::Export, "C:\\WINDOWS\\SYSTEM.INI", kLog, "", 0,
         kExitRefused, "refused: \""},
        {"a read-only log", C::Apply, kProfile, kLog, oem + "Lab\r\n", FILE_ATTRIBUTE_READONLY,
         kExitRefused, ""},
        // Another spelling of the same file: a short name, "..", a second drive letter.
        {"an export over Config.DAT by its short name", C::Export,
         "C:\\PROGRA~1\\VELTRI~1\\Config.DAT", kLog, "", 0, kExitRefused, "refused: \""},
        {"a log over the list of restore points by its short name", C::Undo, "",
         "C:\\PROGRA~1\\VELTRI~1\\Restore\\Points.txt", "", 0, kExitRefused, ""},
        {"an export over SYSTEM.INI through a second drive letter", C::Export,
         "S:\\WINDOWS\\SYSTEM.INI", kLog, "", 0, kExitRefused, "refused: \""},
        {"a log over the profile through \"..\"", C::Apply, kProfile, "C:\\WINDOWS\\..\\lab.vts",
         oem + "Lab\r\n", 0, kExitRefused, ""},
        {"an export into a folder that is not there", C::Export, "C:\\nodir\\x.vts", kLog, "", 0,
         kExitUnreachable, "unreachable: "},
        {"a tab in a value", C::Apply, kProfile, kLog, oem + "Lab\tPCs\r\n", 0, kExitRefused,
         "refused: "},
        {"an escape sequence in a value", C::Apply, kProfile, kLog, oem + "\x1b[2JLab\r\n", 0,
         kExitRefused, "refused: "},
        {"a NUL in a value", C::Apply, kProfile, kLog, oem + std::string("Lab\0PCs\r\n", 9), 0,
         kExitRefused, "refused: "},
        {"a value longer than the field", C::Apply, kProfile, kLog,
         oem + std::string(300, 'x') + "\r\n", 0, kExitRefused, "refused: "},
        {"a profile too large to be one", C::Apply, kProfile, kLog,
         oem + std::string(2 << 20, 'x') + "\r\n", 0, kExitRefused,
         "refused: The settings profile"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Machine machine;
        machine.sys.AddDriveAlias('S', 'C');
        machine.sys.PutFile(restoreList, "the user's list");
        if (!c.contents.empty()) machine.sys.PutFile(c.profile, c.contents);
        if (c.logAttributes) machine.sys.PutFile(c.log, "old log", c.logAttributes);
        std::vector<std::string> before = machine.sys.Dump();
        int code = RunUnattended(machine.sys, {c.command, c.profile, c.log, ""},
                                 [](Program& program, ui::Prompts& asked) {
                                     AttachPages(program, program.main.Stores(), asked);
                                 });
        EXPECT_EQ(c.exitCode, code);
        if (*c.logged) {
            EXPECT_TRUE(machine.Logged(c.logged)) << machine.sys.FileText(kLog);
            machine.sys.DeleteFileA(kLog);
        } else {
            const std::string fallback = machine.FallbackLog();
            EXPECT_NE(std::string::npos, fallback.find("\nrefused: ")) << fallback;
            EXPECT_NE(std::string::npos, fallback.find("was not written (")) << fallback;
        }
        EXPECT_EQ(before, machine.sys.Dump()) << "nothing is written but the log";
    }
    // A stray word after a profile is no second profile gone missing.
    Machine machine;
    machine.sys.PutFile(kProfile, oem + "Lab\r\n");
    UnattendedRun run{UnattendedRun::Command::Apply, kProfile, kLog, ""};
    run.moreProfiles = {"extra"};
    EXPECT_EQ(kExitRefused, RunUnattended(machine.sys, run, [](Program& p, ui::Prompts& asked) {
                  AttachPages(p, p.main.Stores(), asked);
              }));
    EXPECT_TRUE(machine.Logged("refused: Unknown part of the command line: extra"));
}

// Every word is a switch or the file a switch takes; anything else refuses the run (no
// window), and a /log anywhere on the line still receives the reason.
TEST(ProfileTest, TheCommandLineIsReadStrictly) {
    struct Case {
        const char* line;
        std::optional<UnattendedRun::Command> command;
        const char* profiles;  // joined by "|"
        const char* log;
        const char* error;
    };
    using enum UnattendedRun::Command;
    for (const Case& c : std::initializer_list<Case>{
             {"", std::nullopt, "", "", ""},
             {"/apply \"\\\\server\\netlogon\\lab 1.vts\" /LOG c:\\lab.log", Apply,
              "\\\\server\\netlogon\\lab 1.vts", "c:\\lab.log", ""},
             {"/Undo", Undo, "", "", ""},
             {"/log x.log /undo", Undo, "", "x.log", ""},
             {"/export c:\\ref.vts", Export, "c:\\ref.vts", "", ""},
             {"/apply base.vts room12.vts /log x.log", Apply, "base.vts|room12.vts", "x.log", ""},
             {"/check a.vts b.vts", Check, "a.vts|b.vts", "", ""},
             {"/log x.log", Apply, "", "x.log", "/log needs /apply, /check, /undo or /export."},
             {"/apply", Apply, "", "", "/apply needs a file name."},
             {"/apply /log x.log", Apply, "", "x.log", "/apply needs a file name."},
             {"/apply a.vts /undo", Undo, "a.vts", "",
              "Only one of /apply, /check, /undo and /export."},
             {"/undo /now", Undo, "", "", "Unknown part of the command line: /now"},
             {"/aply N:\\lab.vts /log c:\\lab.log", Apply, "", "c:\\lab.log",
              "Unknown part of the command line: /aply"},
             {"lab.vts", Apply, "", "", "Unknown part of the command line: lab.vts"},
             {"/undo now", Undo, "", "", "Unknown part of the command line: now"},
             {"/export a.vts b.vts", Export, "a.vts", "",
              "Unknown part of the command line: b.vts"},
             {"/undo /log a.log /log b.log", Undo, "", "a.log", "/log is given twice."},
             {"/undo /log", Undo, "", "", "/log needs a file name."},
         }) {
        std::optional<UnattendedRun> run = ParseUnattended(CommandWords(c.line));
        EXPECT_EQ(c.command.has_value() || *c.error, run.has_value()) << c.line;
        if (!run) continue;
        EXPECT_EQ(c.error, run->refused) << c.line;
        std::string profiles;
        for (const std::string& p : run->Profiles())
            if (!p.empty()) profiles += (profiles.empty() ? "" : "|") + p;
        EXPECT_EQ(c.profiles, profiles) << c.line;
        EXPECT_EQ(c.log, run->log) << c.line;
        if (!*c.error) {
            EXPECT_EQ(*c.command, run->command) << c.line;
        }
    }
}

// Hand-edited profiles, one or two per run, on a PC that holds its own disk cache and TCP/IP
// values: what each run answers, logs and leaves stored.
TEST(ProfileTest, HandEditedProfilesSetWhatTheySay) {
    const std::string vcache = "[vcache]\r\nMinFileCache=2048\r\nMaxFileCache=8192\r\n";
    const std::string mstcp = "System\\CurrentControlSet\\Services\\VxD\\MSTCP";
    struct Case {
        const char* what;
        UnattendedRun::Command command;
        std::vector<std::string> profiles;
        int code;
        std::vector<std::string> logged;  // line starts, in the last run's log
        std::string systemIni;            // what SYSTEM.INI holds after
        bool receiveWindowStored;
    };
    const std::string boot = Header() + "[Boot]\r\nDisplay Windows Boot Menu=1\r\n";
    const std::string ini = "[386Enh]\r\nPageBuffers=0\r\n" + vcache;
    using C = UnattendedRun::Command;
    const Case cases[] = {
        {"sizes left to Windows",
         C::Apply,
         {Header() + "[Disk-Cache]\r\nMinimum Cache Size=(not set)\r\nMaximum Cache Size=(Not "
                     "Set)\r\nChunk Size=(not set)\r\n"},
         kExitChangedRestart,
         {"set [Disk-Cache] Minimum Cache Size: 2 -> (not set)",
          "changed C:\\WINDOWS\\SYSTEM.INI [vcache] MinFileCache: 2048 -> (missing)"},
         "[386Enh]\r\nPageBuffers=0\r\n[vcache]\r\n",
         true},
        {"the receive window left to Windows",
         C::Apply,
         {Header() + "[Internet #1]\r\nReceive Window=(not set)\r\n"},
         kExitChangedRestart,
         {"set [Internet #1] Receive Window: 8760 -> (not set)"},
         ini,
         false},
        {"a box cannot be left to Windows",
         C::Apply,
         {Header() + "[System]\r\nEnable Beep on Error=(not set)\r\n"},
         kExitRefused,
         {"refused: Line 3: Enable Beep on Error=(not set): this setting cannot be left to "
          "Windows"},
         ini,
         true},
        {"a later profile over an earlier one",
         C::Apply,
         {boot + "Boot menu delay=4\r\n", Header() + "[Boot]\r\nBoot menu delay=6\r\n"},
         kExitChangedRestart,
         {"set [Boot] Boot menu delay: 30 -> 6",
          "changed C:\\MSDOS.SYS [Options] BootMenuDelay: (missing) -> 6"},
         ini,
         true},
        {"a bad line of the second profile",
         C::Apply,
         {boot, Header() + "[Boot]\r\nBoot menu delay=99\r\n"},
         kExitRefused,
         {"refused: C:\\lab2.vts: Line 3: Boot menu delay=99: out of range"},
         ini,
         true},
        {"a second profile that is not there",
         C::Apply,
         {boot, ""},
         kExitUnreachable,
         {"error: Unable to read the settings profile C:\\lab2.vts."},
         ini,
         true},
        {"a check",
         C::Check,
         {boot + "[Disk-Cache]\r\nChunk Size=16\r\n[Internet #1]\r\nReceive Window=(not set)\r\n"},
         kExitChangedRestart,
         {"set [Boot] Display Windows Boot Menu: 0 -> 1",
          "pending C:\\MSDOS.SYS [Options] BootMenu: 0 -> 1",
          "pending C:\\WINDOWS\\SYSTEM.INI [vcache] CHUNKSIZE: (missing) -> 512",
          "pending HKEY_LOCAL_MACHINE\\" + mstcp + "\\DefaultRcvWindow: \"8760\" -> (missing)"},
         ini,
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Machine machine;
        machine.sys.PutFile("C:\\WINDOWS\\SYSTEM.INI", ini);
        machine.Text(HKEY_LOCAL_MACHINE, mstcp, "DefaultRcvWindow", "8760");
        UnattendedRun run{c.command, kProfile, kLog, ""};
        for (std::size_t i = 0; i < c.profiles.size(); ++i) {
            std::string path = i == 0 ? kProfile : "C:\\lab" + std::to_string(i + 1) + ".vts";
            if (!c.profiles[i].empty()) machine.sys.PutFile(path, c.profiles[i]);
            if (i > 0) run.moreProfiles.push_back(path);
        }
        std::vector<std::string> before = machine.sys.Dump();
        EXPECT_EQ(c.code, RunUnattended(machine.sys, run,
                                        [](Program& program, ui::Prompts& asked) {
                                            AttachPages(program, program.main.Stores(), asked);
                                        }))
            << machine.sys.FileText(kLog);
        for (const std::string& line : c.logged)
            EXPECT_TRUE(machine.Logged(line)) << line << "\n" << machine.sys.FileText(kLog);
        machine.sys.DeleteFileA(kLog);
        if (c.command == C::Check) {
            EXPECT_EQ(before, machine.sys.Dump()) << "a check writes nothing but its log";
        }
        EXPECT_EQ(c.systemIni, machine.sys.FileText("C:\\WINDOWS\\SYSTEM.INI"));
        HKEY key = 0;
        DWORD size = 0;
        bool stored = machine.sys.RegOpenKeyExA(HKEY_LOCAL_MACHINE, mstcp.c_str(), KEY_READ,
                                                &key) == ERROR_SUCCESS &&
                      machine.sys.RegQueryValueExA(key, "DefaultRcvWindow", nullptr, nullptr,
                                                   &size) == ERROR_SUCCESS;
        EXPECT_EQ(c.receiveWindowStored, stored);
    }
}

// A PC at its defaults exports "(not set)" where it holds no value, and its export applied to
// another PC at its defaults changes nothing there: no 0 for a cache size, no receive window.
TEST(ProfileTest, AnExportOfAPcAtItsDefaultsChangesNothingOnAnother) {
    Machine reference;
    std::string profile = reference.Exported();
    for (const char* line :
         {"Minimum Cache Size=(not set)", "Chunk Size=(not set)", "Receive Window=(not set)",
          "Internet Protocol MTU - Dial-Up=(not set)"})
        EXPECT_NE(std::string::npos, profile.find(std::string(line) + "\r\n")) << line;
    Machine other;
    other.sys.PutFile(kProfile, profile);
    std::vector<std::string> before = other.sys.Dump();
    EXPECT_EQ(kExitDone, other.Run(UnattendedRun::Command::Apply)) << other.sys.FileText(kLog);
    other.sys.DeleteFileA(kLog);
    EXPECT_EQ(before, other.sys.Dump());
}

// The log gains each run: a first line saying when, where, who and which program, every line
// led by its keyword. A log that cannot be written stops the run before it changes anything.
TEST(ProfileTest, EachRunIsAppendedToTheLog) {
    Machine machine;
    machine.sys.PutFile(kProfile, Header() + "[Boot]\r\nDisable Boot Function Keys=1\r\n");
    UnattendedRun run{UnattendedRun::Command::Apply, kProfile, kLog, ""};
    run.computer = "LAB12";
    run.user = "ann";
    auto attach = [](Program& program, ui::Prompts& asked) {
        AttachPages(program, program.main.Stores(), asked);
    };
    EXPECT_EQ(kExitChangedRestart, RunUnattended(machine.sys, run, attach));
    machine.sys.ReleaseMutex(kSingleInstanceMutex);
    EXPECT_EQ(kExitDone, RunUnattended(machine.sys, run, attach));
    machine.sys.ReleaseMutex(kSingleInstanceMutex);
    std::vector<std::string> lines = SplitAt(machine.sys.FileText(kLog), '\n');
    int runs = 0;
    const std::vector<std::string> keywords = {
        "run ",      "set ",   "skipped ", "changed ",  "pending ",  "restore point: ",
        "put back ", "note: ", "error: ",  "refused: ", "exit code "};
    for (std::string line : lines) {
        if (line.empty()) continue;
        EXPECT_TRUE(std::any_of(keywords.begin(), keywords.end(), [&](const std::string& k) {
            return line.starts_with(k);
        })) << line;
        if (line.starts_with("run ")) {
            ++runs;
            EXPECT_NE(std::string::npos,
                      line.find(", computer LAB12, user ann, Veltrim 2000 5.0: /apply C:\\lab.vts"))
                << line;
        }
    }
    EXPECT_EQ(2, runs);

    std::vector<std::string> before = machine.sys.Dump();
    run.log = "C:\\NOFOLDER\\lab.log";
    machine.sys.PutFile(kProfile, Header() + "[Boot]\r\nDisable Boot Function Keys=0\r\n");
    before = machine.sys.Dump();
    EXPECT_EQ(kExitUnreachable, RunUnattended(machine.sys, run, attach));
    EXPECT_NE(std::string::npos, machine.FallbackLog().find("unreachable: the folder of the log"));
    EXPECT_EQ(before, machine.sys.Dump());
}

// A profile is text in the code page of the PC that wrote it, which its export names. One of
// another code page is taken only when it is all ASCII; a UTF-8 one (with its byte-order mark)
// is converted, and refused when a character has no place in this PC's code page.
TEST(ProfileTest, AProfileIsReadInTheCodePageOfThePcThatWroteIt) {
    struct Case {
        UINT codePage;
        std::string text;
        std::string refusal;  // the start of the refusal; empty: taken
        std::string stored;   // then the manufacturer as stored
    };
    const std::string oem = "[OEM Info]\r\nManufacturer=";
    const std::string utf8 = "\xEF\xBB\xBF" + Header();
    const std::vector<Case> cases = {
        {932, Header() + "; code page 1252\r\n" + oem + "Caf\xE9\r\n",
         "Line 2: this profile was written on a PC of code page 1252", ""},
        {932, Header() + "; Code Page 1252\r\n" + oem + "ACME\r\n", "", "ACME"},
        {1252, Header() + "; code page 1252\r\n" + oem + "Caf\xE9\r\n", "", "Caf\xE9"},
        {932, utf8 + oem + "\xE8\xA1\xA8\xE7\xA4\xBA\r\n", "", "\x95\x5C\x8E\xA6"},
        {1252, utf8 + oem + "Caf\xC3\xA9 \xE2\x82\xAC\r\n", "", "Caf\xE9 \x80"},
        {1252, utf8 + oem + "\xE8\xA1\xA8\r\n",
         "Line 3: a character of this line has no place in this PC's code page (1252)", ""},
        {932, utf8 + "; code page 1252\r\n" + oem + "\xC3\r\n",
         "Line 4: this line is not UTF-8 text", ""},
    };
    for (const Case& c : cases) {
        Machine machine;
        machine.sys.SetCodePage(c.codePage);
        machine.sys.PutFile(kProfile, c.text);
        const int code = machine.Run(UnattendedRun::Command::Apply);
        const std::string log = machine.sys.FileText(kLog);
        if (!c.refusal.empty()) {
            EXPECT_EQ(kExitRefused, code) << c.text;
            EXPECT_NE(std::string::npos, log.find("refused: " + c.refusal)) << log;
            continue;
        }
        EXPECT_EQ(kExitChanged, code) << log;
        EXPECT_NE(std::string::npos, machine.sys.FileText("C:\\WINDOWS\\SYSTEM\\oeminfo.ini")
                                         .find("Manufacturer=" + c.stored + "\r\n"))
            << c.text;
    }
    Machine japanese;
    japanese.sys.SetCodePage(932);
    EXPECT_TRUE(japanese.Exported().starts_with(Header() + "; code page 932\r\n"));
}

// A log several PCs share, one gone or one no run may write: every run's lines land as one
// block in it, or in the program's folder's log, and the exit code says what was done and
// that its log was lost.
TEST(ProfileTest, ALogThatCannotBeWrittenHidesNothingOfWhatWasDone) {
    struct Case {
        const char* what;
        std::string settings;  // the profile's lines after its header
        int heldFor;           // attempts another PC's run holds the log
        bool readOnly;
        int exitCode;
        bool logged;  // else in the fallback log
    };
    const std::string restart = "[Boot]\r\nDisable Boot Function Keys=1\r\n";
    const std::string atOnce = "[OEM Info]\r\nManufacturer=Lab\r\n";
    const Case cases[] = {
        {"another PC writes the log for a while", restart, 3, false, kExitChangedRestart, true},
        {"another PC holds the log too long", restart, 100, false, kExitChangedRestartLogLost,
         false},
        {"the same with no restart needed", atOnce, 100, false, kExitChangedLogLost, false},
        {"nothing to change", "", 100, false, kExitUnreachable, false},
        {"a read-only log", restart, 0, true, kExitRefused, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Machine machine;
        machine.sys.PutFile(kLog, "run of another PC\r\n",
                            c.readOnly ? FILE_ATTRIBUTE_READONLY : 0);
        machine.sys.PutFile(std::string(kLog) + ".new", "left over");
        machine.sys.PutFile(kProfile, Header() + c.settings);
        machine.sys.HoldOpen(kLog, c.heldFor);
        EXPECT_EQ(c.exitCode, machine.Run(UnattendedRun::Command::Apply));
        const std::string log = machine.sys.FileText(kLog), fallback = machine.FallbackLog();
        EXPECT_TRUE(log.starts_with("run of another PC\r\nrun ") == c.logged) << log;
        EXPECT_EQ(c.logged, fallback.empty()) << fallback;
        EXPECT_NE(
            std::string::npos,
            (c.logged ? log : fallback).find("exit code " + std::to_string(c.exitCode) + "\r\n"));
        EXPECT_LE(machine.sys.Slept(), 5000u) << "a bounded wait";
    }
}

// /log naming a folder is this computer's log there; /export replaces a file only when told.
TEST(ProfileTest, PerComputerLogsAndExportsThatReplaceOnlyWhenTold) {
    Machine machine;
    machine.sys.MakeDirectories("C:\\LOGS");
    UnattendedRun run{UnattendedRun::Command::Export, "C:\\lab.vts", "C:\\LOGS\\", ""};
    run.computer = "LAB12";
    machine.sys.PutFile(kProfile, "; kept by hand\r\n");
    EXPECT_EQ(kExitRefused, machine.Run(run));
    EXPECT_EQ("; kept by hand\r\n", machine.sys.FileText(kProfile));
    EXPECT_NE(std::string::npos,
              machine.sys.FileText("C:\\LOGS\\LAB12.log").find("only with /replace"));
    run.replace = true;
    run.log = "C:\\LOGS";
    run.computer = "";
    EXPECT_EQ(kExitDone, machine.Run(run));
    EXPECT_TRUE(machine.sys.FileText(kProfile).starts_with(Header()));
    EXPECT_NE(std::string::npos, machine.sys.FileText("C:\\LOGS\\unknown.log").find("exported"));
    EXPECT_EQ("/replace goes with /export only.",
              ParseUnattended({"/apply", "lab.vts", "/replace"})->refused);
}

// Whatever a profile's line touches (a registry value, an INI key, a shortcut, a folder), the
// run counts and logs it the same way: /check's pending lines are /apply's changed lines, the
// exit code follows from them, a second /apply changes nothing, and /undo puts back each one.
TEST(ProfileTest, EveryKindOfChangeIsCountedAlikeByCheckApplyAndUndo) {
    struct Case {
        const char* what;
        std::string settings;
        int exitCode;
        const char* changed;  // the start of the one changed line
    };
    const Case cases[] = {
        {"a shortcut", "[Veltrim]\r\nEnable Desktop Icon=1\r\n", kExitChanged, "C:\\WINDOWS\\"},
        {"a folder", "[Start Menu]\r\nPut Control Panel in Start Menu=1\r\n", kExitChanged,
         "C:\\WINDOWS\\"},
        {"an INI key", "[Boot]\r\nDisable Boot Function Keys=1\r\n", kExitChangedRestart,
         "C:\\MSDOS.SYS [Options] BootKeys"},
        {"a registry value", "[System]\r\nEnable Beep on Error=1\r\n", kExitChanged,
         "HKEY_CURRENT_USER\\Control Panel\\Sound\\Beep"},
    };
    auto lines = [](Machine& machine, const std::string& keyword) {
        std::vector<std::string> found;
        for (const std::string& line : machine.Log())
            if (line.starts_with(keyword)) found.push_back(line.substr(keyword.size()));
        return found;
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Machine machine;
        for (const char* folder : {"Desktop", "Start Menu\\Programs"})
            machine.sys.MakeDirectories(std::string("C:\\WINDOWS\\") + folder);
        machine.sys.PutFile(kProfile, Header() + c.settings);
        EXPECT_EQ(c.exitCode, machine.Run(UnattendedRun::Command::Check));
        const std::vector<std::string> pending = lines(machine, "pending ");
        ASSERT_EQ(1u, pending.size()) << machine.sys.FileText(kLog);
        EXPECT_TRUE(pending[0].starts_with(c.changed)) << pending[0];
        EXPECT_EQ(c.exitCode, machine.Run(UnattendedRun::Command::Apply));
        EXPECT_EQ(pending, lines(machine, "changed "));
        EXPECT_EQ(kExitDone, machine.Run(UnattendedRun::Command::Apply)) << "nothing left to do";
        EXPECT_EQ(c.exitCode, machine.Run(UnattendedRun::Command::Undo));
        EXPECT_EQ(1u, lines(machine, "put back ").size()) << machine.sys.FileText(kLog);
    }
}

// A number off the track bar's grid of another step than the PC's (Name Cache 677 on a PC at
// 169) is set in one run, and the next run finds nothing to do.
TEST(ProfileTest, ANumberOffTheGridIsSetInOneRun) {
    Machine machine;
    machine.sys.PutFile(kProfile, Header() + "[File-Cache]\r\nName Cache=677\r\n");
    EXPECT_EQ(kExitChanged, machine.Run(UnattendedRun::Command::Apply));
    EXPECT_TRUE(machine.Logged("set [File-Cache] Name Cache: 169 -> 677"))
        << machine.sys.FileText(kLog);
    EXPECT_EQ(kExitDone, machine.Run(UnattendedRun::Command::Apply)) << machine.sys.FileText(kLog);
}

// Settings whose value this PC does not store, which the page leaves missing when cleared:
// the lines are skipped, with what the page shows, never set; nothing changes (exit 0), for
// /check as for /apply.
TEST(ProfileTest, ALineThePageDoesNotCarryOutIsSkippedNotSet) {
    Machine machine;
    machine.sys.PutFile(kProfile, Header() +
                                      "[Windows]\r\nHide Windows Version Number=0\r\n"
                                      "Enable Windows Animation=0\r\n");
    for (auto command : {UnattendedRun::Command::Check, UnattendedRun::Command::Apply}) {
        EXPECT_EQ(kExitDone, machine.Run(command)) << machine.sys.FileText(kLog);
        EXPECT_FALSE(machine.Logged("set ")) << machine.sys.FileText(kLog);
        EXPECT_TRUE(
            machine.Logged("skipped [Windows] Hide Windows Version Number: the page does "
                           "not change it on this PC (it shows 1 after the write)"));
        EXPECT_TRUE(machine.Logged("skipped [Windows] Enable Windows Animation: "));
    }
    // A box that stands for an action done on every write reads back cleared: it was done.
    machine.sys.PutFile(kProfile, Header() + "[Start Menu]\r\nSort Programs Menu Order=1\r\n");
    EXPECT_EQ(kExitDone, machine.Run(UnattendedRun::Command::Apply));
    EXPECT_TRUE(machine.Logged("set [Start Menu] Sort Programs Menu Order: 0 -> 1"))
        << machine.sys.FileText(kLog);
}

// A /check on a PC where an earlier write was cut off says so once and asks nothing: the next
// /apply puts that write back before it does anything else.
TEST(ProfileTest, ACheckLeavesACutOffWriteToTheNextApply) {
    const std::string restore = std::string(kProgramDir) + "\\Restore";
    std::unique_ptr<Machine> cut;
    for (int call = 1; call < 1000 && !(cut && UnfinishedRestorePoint(cut->sys, restore)); ++call) {
        cut = std::make_unique<Machine>();
        cut->sys.PutFile(kProfile, Header() + "[Boot]\r\nDisable Boot Function Keys=1\r\n");
        cut->sys.CutPowerAtCall(call);
        EXPECT_THROW(cut->Run(UnattendedRun::Command::Apply), fake::PowerCut);
        cut->sys.RestorePower();
        cut->sys.ReleaseMutex(kSingleInstanceMutex);
    }
    Machine& machine = *cut;
    ASSERT_TRUE(UnfinishedRestorePoint(machine.sys, restore));
    const std::string before = "[Options]\r\nBootGUI=1\r\nBootMenu=0\r\n";
    EXPECT_EQ(kExitChangedRestart, machine.Run(UnattendedRun::Command::Check));
    EXPECT_TRUE(machine.Logged("note: restore point ")) << machine.sys.FileText(kLog);
    EXPECT_FALSE(machine.Logged("question")) << machine.sys.FileText(kLog);
    EXPECT_EQ(kExitPutBackCutOff, machine.Run(UnattendedRun::Command::Apply));
    EXPECT_EQ(before, machine.sys.FileText("C:\\MSDOS.SYS"));
}

}  // namespace
}  // namespace vt::testing
