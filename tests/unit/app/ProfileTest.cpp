// Settings profiles: export, import and the unattended runs of the command line, on fake
// machines with the program installed.
#include "AppFixture.h"

#include "app/Unattended.h"
#include "pages/Pages.h"

#include <algorithm>

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
        int code = RunUnattended(sys, {command, profile, kLog, ""},
                                 [](Program& program, ui::Prompts& asked) {
                                     AttachPages(program, program.main.Stores(), asked);
                                 });
        sys.ReleaseMutex(kSingleInstanceMutex);
        return code;
    }
    std::string Exported() {
        EXPECT_EQ(kExitDone, Run(UnattendedRun::Command::Export));
        return sys.FileText(kProfile);
    }
    std::vector<std::string> Log() {
        std::vector<std::string> lines;
        std::string text = sys.FileText(kLog), line;
        for (char c : text)
            if (c == '\n') {
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
        ClickBox(p.programPage.CheckBox49);
        window.program.main.Button5Click();
        EXPECT_TRUE(window.prompts.Errors().empty());
    }
    std::string profile = first.Exported();
    for (const char* line :
         {"[Boot]", "Disable Boot Function Keys=1", "Boot menu delay=5",
          "Change Windows Owner - Name=Lab", "Change Windows Owner - Organization=School",
          "Change Icon Color Format - Format=32 Bit", "Optimize Icon Cache Size - Icons=2048",
          "Internet Protocol MTU - Dial-Up=Custom", "Internet Protocol MTU - Dial-Up - Custom=1400",
          "Internet Protocol MTU - LAN=0 (Default)", "Time to Alive=32 (Default)",
          "Receive Window=8760", "Optimize NDI Cache Size - Custom=48", "Session Keep Alive=600",
          "Maximum Cache Size=12", "Manufacturer=Example Lab PCs", "Disable Splash Screen=0"})
        EXPECT_NE(std::string::npos, profile.find(std::string(line) + "\r\n")) << line;

    Machine second;
    second.sys.PutFile(kProfile, profile);
    EXPECT_EQ(kExitDone, second.Run(UnattendedRun::Command::Apply));
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
    EXPECT_EQ(kExitDone, machine.Run(UnattendedRun::Command::Apply));
    EXPECT_NE(std::string::npos, machine.sys.FileText("C:\\MSDOS.SYS").find("BootMenuDelay=6\r\n"));
    EXPECT_NE(std::string::npos, machine.sys.FileText("C:\\MSDOS.SYS").find("BootMenu=1\r\n"));
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
    window.program.main.Button5Click();
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
    EXPECT_EQ(kExitDone, first.Run(UnattendedRun::Command::Apply));
    std::string profile = first.Exported();

    Machine bare(false);
    bare.sys.PutFile(kProfile, profile);
    EXPECT_EQ(kExitDone, bare.Run(UnattendedRun::Command::Apply));
    EXPECT_TRUE(bare.Logged(
        "[Internet #1] Internet Protocol MTU - LAN: skipped, this PC has no LAN adapter"));
    EXPECT_TRUE(bare.Logged(
        "[Internet #1] Time to Alive: skipped, the setting cannot be changed on this PC"));
    EXPECT_TRUE(bare.Logged("[Internet #2] Session Keep Alive: skipped"));
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
        EXPECT_TRUE(open.Logged("Veltrim 2000 is open on this PC: nothing was written."));
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
    EXPECT_TRUE(machine.Logged("no restore point to put back"));

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
    EXPECT_EQ(kExitDone, machine.Run(UnattendedRun::Command::Undo));
    EXPECT_TRUE(machine.Logged("put back C:\\MSDOS.SYS [Options] BootKeys: 0 -> (missing)"));
    EXPECT_EQ(before, machine.Exported());

    const UnattendedRun incomplete{UnattendedRun::Command::Apply, "", kLog,
                                   "/apply needs a file name."};
    EXPECT_EQ(kExitRefused, RunUnattended(machine.sys, incomplete, {}));
    EXPECT_TRUE(machine.Logged("refused: /apply needs a file name."));

    EXPECT_EQ(kExitFailed, machine.Run(UnattendedRun::Command::Apply, "C:\\missing.vts"));
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
        {"a tab in a value", C::Apply, kProfile, kLog, oem + "Lab\tPCs\r\n", 0, kExitRefused,
         "refused: "},
        {"an escape sequence in a value", C::Apply, kProfile, kLog, oem + "\x1b[2JLab\r\n", 0,
         kExitRefused, "refused: "},
        {"a NUL in a value", C::Apply, kProfile, kLog, oem + std::string("Lab\0PCs\r\n", 9), 0,
         kExitRefused, "refused: "},
        {"a value longer than the field", C::Apply, kProfile, kLog,
         oem + std::string(300, 'x') + "\r\n", 0, kExitRefused, "refused: "},
        {"a profile too large to be one", C::Apply, kProfile, kLog,
         oem + std::string(2 << 20, 'x') + "\r\n", 0, kExitFailed, "error: The settings profile"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Machine machine;
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
        }
        EXPECT_EQ(before, machine.sys.Dump()) << "nothing is written but the log";
    }
}

TEST(ProfileTest, TheCommandLineIsReadAsWindowsProgramsReadIt) {
    struct Case {
        const char* line;
        std::optional<UnattendedRun::Command> command;
        const char* profile;
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
             {"/log x.log", std::nullopt, "", "", "/log needs /apply, /undo or /export."},
             {"/export c:\\ref.vts", Export, "c:\\ref.vts", "", ""},
             {"/apply", Apply, "", "", "/apply needs a file name."},
             {"/apply /log x.log", Apply, "", "", "/apply needs a file name."},
             {"/apply a.vts /undo", Undo, "a.vts", "", "Only one of /apply, /undo and /export."},
             {"/undo /now", Undo, "", "", "Unknown part of the command line: /now"},
         }) {
        std::optional<UnattendedRun> run = ParseUnattended(CommandWords(c.line));
        const std::string error = run ? run->refused : std::string();
        EXPECT_EQ(c.command.has_value() || *c.error, run.has_value()) << c.line;
        EXPECT_EQ(c.error, error) << c.line;
        if (!run || !error.empty()) continue;
        EXPECT_EQ(*c.command, run->command) << c.line;
        EXPECT_EQ(c.profile, run->profile) << c.line;
        EXPECT_EQ(c.log, run->log) << c.line;
    }
}

}  // namespace
}  // namespace vt::testing
