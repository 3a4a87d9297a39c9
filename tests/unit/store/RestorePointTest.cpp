// Restore points: the REGEDIT4 text, the journal that saves what a write pass changes before
// it changes it, and "Undo last change..." putting the machine back as it was.
#include "ProgramScope.h"
#include "app/Unattended.h"
#include "store/ProfileText.h"
#include "store/RestoreJournal.h"
#include "store/RestorePoints.h"
#include "store/TIniFile.h"
#include "tools/Tools.h"
#include "compose/Uninstalling.h"
#include "platform/NoCase.h"
#include "unit/pages/PageFixture.h"

#include <cstdlib>
#include <functional>
#include <map>
#include <set>

namespace vt::testing {
namespace {

constexpr const char* kProgramDir = "C:\\Program Files\\Veltrim 2000";
constexpr const char* kRestoreDir = "C:\\Program Files\\Veltrim 2000\\Restore";
constexpr const char* kDesktop = "Control Panel\\Desktop";
constexpr const char* kExplorer = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";
constexpr const char* kMenuOrder =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MenuOrder\\Start Menu";
constexpr const char* kGroup = "C:\\WINDOWS\\Start Menu\\Programs\\Veltrim 2000";
constexpr const char* kRecycleBin =
    "C:\\WINDOWS\\Start Menu\\Recycle Bin.{645FF040-5081-101B-9F08-00AA002F954E}";
const ManagedScope kScope = ProgramScope("C:\\WINDOWS", kProgramDir);

std::vector<BYTE> Text(const std::string& text) {
    std::vector<BYTE> bytes(text.begin(), text.end());
    bytes.push_back(0);
    return bytes;
}

// --- REGEDIT4 ------------------------------------------------------------------------------

TEST(Regedit4Test, WritesWhatTheRegistryEditorImports) {
    std::vector<regedit4::Section> sections = {
        {HKEY_CURRENT_USER,
         "Control Panel\\Desktop",
         false,
         {{"Wallpaper", regedit4::Data{REG_SZ, Text("C:\\WINDOWS\\\"a\".bmp")}},
          {"", regedit4::Data{REG_SZ, Text("default")}},
          {"Gone", std::nullopt},
          {"Count", regedit4::Data{REG_DWORD, {0x10, 0x0E, 0, 0}}},
          {"Flags", regedit4::Data{REG_BINARY, {1, 0, 0, 0}}},
          {"Path", regedit4::Data{REG_EXPAND_SZ, Text("%a%")}}}},
        {HKEY_LOCAL_MACHINE, "Software\\New", true, {}}};
    EXPECT_EQ(
        "REGEDIT4\r\n"
        "\r\n"
        "[HKEY_CURRENT_USER\\Control Panel\\Desktop]\r\n"
        "\"Wallpaper\"=\"C:\\\\WINDOWS\\\\\\\"a\\\".bmp\"\r\n"
        "@=\"default\"\r\n"
        "\"Gone\"=-\r\n"
        "\"Count\"=dword:00000e10\r\n"
        "\"Flags\"=hex:01,00,00,00\r\n"
        "\"Path\"=hex(2):25,61,25,00\r\n"
        "\r\n"
        "[-HKEY_LOCAL_MACHINE\\Software\\New]\r\n"
        "\r\n",
        regedit4::Write(sections));
}

TEST(Regedit4Test, ReadsBackWhatItWritesLongHexAndOddTextsIncluded) {
    std::vector<BYTE> many(100);
    for (std::size_t i = 0; i < many.size(); ++i) many[i] = static_cast<BYTE>(i * 7);
    std::vector<BYTE> odd = {'a', '\n', 0xE9, 0};
    std::vector<regedit4::Section> sections = {
        {HKEY_USERS,
         ".DEFAULT\\x",
         false,
         {{"Long", regedit4::Data{REG_BINARY, many}},
          {"Odd", regedit4::Data{REG_SZ, odd}},
          {"Multi", regedit4::Data{REG_MULTI_SZ, {'a', 0, 0}}},
          {"@x\"", std::nullopt}}},
        {HKEY_CLASSES_ROOT, "txtfile", true, {}}};
    std::string text = regedit4::Write(sections);
    EXPECT_NE(std::string::npos, text.find(",\\\r\n  "));  // wrapped as the editor wraps
    std::vector<regedit4::Section> back = regedit4::Read(text);
    ASSERT_EQ(2u, back.size());
    EXPECT_EQ(HKEY_USERS, back[0].root);
    EXPECT_EQ(".DEFAULT\\x", back[0].path);
    ASSERT_EQ(4u, back[0].entries.size());
    EXPECT_EQ(many, back[0].entries[0].data->bytes);
    EXPECT_EQ((regedit4::Data{REG_SZ, odd}), *back[0].entries[1].data);
    EXPECT_EQ(REG_MULTI_SZ, back[0].entries[2].data->type);
    EXPECT_EQ("@x\"", back[0].entries[3].name);
    EXPECT_FALSE(back[0].entries[3].data);
    EXPECT_TRUE(back[1].remove);
    EXPECT_EQ(HKEY_CLASSES_ROOT, back[1].root);
    EXPECT_THROW(regedit4::Read("REGEDIT4\r\n\r\n[HKEY_NOWHERE\\x]\r\n"), std::invalid_argument);
}

// --- The journal on the fake machine -------------------------------------------------------

class JournalTest : public ::testing::Test {
  protected:
    JournalTest() {
        sys.MakeDirectories(kProgramDir);
        journal.clock = [] { return std::string("2000-01-31 13.05.59"); };
    }

    // The machine without the restore points.
    std::vector<std::string> Machine() const {
        std::vector<std::string> lines = sys.Dump();
        std::erase_if(lines, [](const std::string& l) {
            return vt::ToUpper(l).find("\\RESTORE") != std::string::npos;
        });
        return lines;
    }

    void SetText(HKEY root, const std::string& path, const std::string& name,
                 const std::string& text) {
        TRegistry reg(journal);
        reg.SelectRoot(root);
        ASSERT_TRUE(reg.OpenPath("\\" + path, true));
        reg.WriteText(name, text);
    }

    std::string Value(const std::string& name) {
        TRegistry reg(sys);
        reg.SelectRoot(HKEY_CURRENT_USER);
        reg.OpenPath(std::string("\\") + kDesktop, false);
        return reg.ReadText(name);
    }

    std::string PointFile(const std::string& name) const {
        return sys.FileText(std::string(kRestoreDir) + "\\2000-01-31 13.05.59\\" + name);
    }

    fake::FakePlatform sys;
    RestoreJournal journal{sys};
};

TEST_F(JournalTest, UndoPutsBackValuesKeysFilesFoldersAndShortcuts) {
    sys.PutValue(HKEY_CURRENT_USER, kDesktop, "MenuShowDelay", REG_SZ, Text("400"));
    sys.PutValue(HKEY_CURRENT_USER, std::string(kMenuOrder) + "\\Programs", "Order", REG_DWORD,
                 {7, 0, 0, 0});
    sys.PutFile("C:\\MSDOS.SYS", "[Options]\r\nBootGUI=1\r\n",
                FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    sys.PutFile("C:\\WINDOWS\\SYSTEM.INI", "[vcache]\r\nMinFileCache=512\r\n");
    sys.MakeDirectories("C:\\WINDOWS\\Start Menu\\Programs");
    sys.MakeDirectories(kRecycleBin);
    std::vector<std::string> before = Machine();
    {
        auto point = journal.Record(kRestoreDir);
        SetText(HKEY_CURRENT_USER, kDesktop, "MenuShowDelay", "100");
        SetText(HKEY_CURRENT_USER, kDesktop, "SmoothScroll", "made");
        SetText(HKEY_CLASSES_ROOT, "Directory\\shell\\DOS\\Command", "", "y");
        TRegistry reg(journal);
        reg.SelectRoot(HKEY_CURRENT_USER);
        ASSERT_TRUE(reg.RemoveKey("\\" + std::string(kMenuOrder)));
        ASSERT_TRUE(journal.SetFileAttributesA("C:\\MSDOS.SYS", FILE_ATTRIBUTE_ARCHIVE));
        ASSERT_TRUE(journal.WritePrivateProfileStringA("Options", "BootGUI", "0", "C:\\MSDOS.SYS"));
        ASSERT_TRUE(
            journal.WritePrivateProfileStringA("vcache", "MinFileCache", "1024", "SYSTEM.INI"));
        ASSERT_TRUE(journal.CreateDirectoryA(kGroup));
        ASSERT_TRUE(journal.CreateShellLink(
            "C:\\x.exe", (std::string(kGroup) + "\\Veltrim 2000.lnk").c_str(), "C:\\"));
        ASSERT_TRUE(journal.RemoveDirectoryA(kRecycleBin));
        ASSERT_TRUE(journal.WriteFileBytes("C:\\WINDOWS\\SYSTEM\\oemlogo.bmp", {'B', 'M'}));
    }
    ASSERT_NE(before, Machine());

    std::string reg = PointFile("Registry.reg");
    EXPECT_NE(std::string::npos, reg.find("[HKEY_CURRENT_USER\\Control Panel\\Desktop]\r\n"
                                          "\"MenuShowDelay\"=\"400\"\r\n\"SmoothScroll\"=-\r\n"));
    EXPECT_NE(std::string::npos, reg.find("[HKEY_CURRENT_USER\\" + std::string(kMenuOrder) +
                                          "\\Programs]\r\n\"Order\"=dword:00000007"));
    EXPECT_NE(std::string::npos, reg.find("[-HKEY_LOCAL_MACHINE\\Software\\Classes\\Directory]"));
    std::string files = PointFile("Files.txt");
    // With the attributes it had when the pass first touched it, the copy's size and CRC-32,
    // then the size and CRC-32 of the file as the pass left it.
    EXPECT_NE(std::string::npos, files.find("state\tended\r\n"));
    const std::string written = sys.FileText("C:\\MSDOS.SYS");
    EXPECT_NE(std::string::npos,
              files.find("file\t00000027\t1 MSDOS.SYS\tC:\\MSDOS.SYS\t22\tcb0bd49c\t" +
                         std::to_string(written.size()) + "\t" +
                         pointfiles::Hex(pointfiles::Checksum(written)) + "\t-\r\n"));
    const std::string group = kGroup;
    EXPECT_NE(std::string::npos, files.find("new folder\t-\t-\t" + group + "\t-\t-\t-\t-\t-\r\n"));
    EXPECT_NE(std::string::npos,
              files.find("new shortcut\t-\t-\t" + group + "\\Veltrim 2000.lnk\t"));
    EXPECT_NE(std::string::npos,
              files.find("removed folder\t-\t-\t" + std::string(kRecycleBin) + "\t"));
    EXPECT_EQ("[Options]\r\nBootGUI=1\r\n", PointFile("1 MSDOS.SYS"));

    auto report = UndoNewestRestorePoint(sys, kRestoreDir, kScope);
    ASSERT_TRUE(report.has_value());
    EXPECT_TRUE(report->failures.empty());
    EXPECT_EQ(before, Machine());
    EXPECT_TRUE(ListRestorePoints(sys, kRestoreDir).empty());
    EXPECT_FALSE(sys.HasDirectory(std::string(kRestoreDir) + "\\2000-01-31 13.05.59"));
    EXPECT_FALSE(UndoNewestRestorePoint(sys, kRestoreDir, kScope).has_value());
}

// The point notes what a write will leave before it begins; a write then refused leaves the
// file as the pass's earlier write left it, and the note says so again with its copy: a cut
// later in the pass does not take that finished write for a cut one.
TEST_F(JournalTest, ARefusedWriteLeavesTheNoteOfTheWriteBeforeIt) {
    sys.PutFile("C:\\WINDOWS\\SYSTEM.INI", "[vcache]\r\n");
    {
        auto pass = journal.Record(kRestoreDir);
        TIniFile ini(journal, "SYSTEM.INI");
        ini.WriteText("vcache", "MinFileCache", "512");
        const std::string first = sys.FileText("C:\\WINDOWS\\SYSTEM.INI");
        sys.FailWhen(
            [](const fake::CallInfo& c) {
                return c.kind == fake::Call::WriteFile && c.path == "C:\\WINDOWS\\SYSTEM.INI";
            },
            ERROR_SHARING_VIOLATION);
        try {
            ini.WriteText("vcache", "MaxFileCache", "2048");
            ADD_FAILURE() << "the refused write went unnoticed";
        } catch (const IniFileError& e) {
            EXPECT_NE(std::string::npos, std::string(e.what()).find("another program holds it"))
                << e.what();
        }
        EXPECT_EQ(first, sys.FileText("C:\\WINDOWS\\SYSTEM.INI"));
        const PathBefore entry = pointfiles::ReadFilesText(PointFile("Files.txt")).paths.at(0);
        EXPECT_EQ(first.size(), entry.afterSize);
        EXPECT_EQ(first, PointFile(entry.afterCopy));
    }
}

TEST_F(JournalTest, AValueMadeAndChangedTwiceIsDeletedAgainAndAKeyRemadeKeepsItsOldValues) {
    const std::string k = "Directory\\shell\\DOS";
    sys.PutValue(HKEY_CLASSES_ROOT, k, "a", REG_SZ, Text("1"));
    std::vector<std::string> before = Machine();
    {
        auto point = journal.Record(kRestoreDir);
        SetText(HKEY_CURRENT_USER, kDesktop, "SmoothScroll", "one");
        SetText(HKEY_CURRENT_USER, kDesktop, "SmoothScroll", "two");
        TRegistry reg(journal);
        reg.SelectRoot(HKEY_CLASSES_ROOT);
        ASSERT_TRUE(reg.RemoveKey("\\" + k));
        SetText(HKEY_CLASSES_ROOT, k, "a", "2");
        SetText(HKEY_CLASSES_ROOT, k + "\\Sub", "b", "3");
    }
    ASSERT_TRUE(UndoNewestRestorePoint(sys, kRestoreDir, kScope).has_value());
    EXPECT_EQ(before, Machine());
}

// A written file that cannot be flushed is a failed write, unless another program holds it
// open: then it cannot be opened to flush, and what was read back whole stands.
TEST_F(JournalTest, AFileThatCannotBeFlushedIsAFailedWriteUnlessHeldOpenElsewhere) {
    sys.PutFile("C:\\WINDOWS\\SYSTEM.INI", "[vcache]\r\nMinFileCache=512\r\n");
    auto point = journal.Record(kRestoreDir);
    for (auto [error, written] :
         {std::pair{ERROR_SHARING_VIOLATION, TRUE}, std::pair{ERROR_ACCESS_DENIED, FALSE}}) {
        sys.FailNth(fake::Call::FlushFile, 1, error);
        EXPECT_EQ(written,
                  journal.WritePrivateProfileStringA("vcache", "MinFileCache",
                                                     std::to_string(error).c_str(), "SYSTEM.INI"))
            << error;
    }
}

TEST_F(JournalTest, APassThatChangesNothingWritesNoPoint) {
    sys.PutValue(HKEY_CURRENT_USER, kDesktop, "Wallpaper", REG_SZ, Text("old.bmp"));
    sys.PutFile("C:\\WINDOWS\\SYSTEM.INI", "[vcache]\r\nMinFileCache=512\r\n");
    {
        auto point = journal.Record(kRestoreDir);
        SetText(HKEY_CURRENT_USER, kDesktop, "Wallpaper", "old.bmp");
        TRegistry reg(journal);
        reg.SelectRoot(HKEY_CURRENT_USER);
        EXPECT_TRUE(reg.OpenPath("\\Control Panel\\Desktop", true));
        EXPECT_FALSE(reg.RemoveValue("Missing"));
        journal.WritePrivateProfileStringA("vcache", "MinFileCache", "512", "SYSTEM.INI");
        journal.WritePrivateProfileStringA("vcache", "Missing", nullptr, "SYSTEM.INI");
        journal.DeleteFileA("C:\\nothing.txt");
    }
    EXPECT_FALSE(sys.HasDirectory(kRestoreDir));
    // Outside a pass nothing is saved either.
    SetText(HKEY_CURRENT_USER, kDesktop, "Wallpaper", "new.bmp");
    EXPECT_FALSE(sys.HasDirectory(kRestoreDir));
}

TEST_F(JournalTest, AnUnwritableRestoreFolderStopsThePassBeforeAnyChange) {
    sys.PutValue(HKEY_CURRENT_USER, kDesktop, "Wallpaper", REG_SZ, Text("old.bmp"));
    sys.FailWhen([](const fake::CallInfo& c) { return c.kind == fake::Call::CreateDirectory; },
                 ERROR_ACCESS_DENIED);
    std::vector<std::string> before = Machine();
    auto point = journal.Record(kRestoreDir);
    try {
        SetText(HKEY_CURRENT_USER, kDesktop, "Wallpaper", "new.bmp");
        FAIL() << "the change went through";
    } catch (const RestorePointError& e) {
        EXPECT_EQ(std::string("Unable to write to ") + kRestoreDir +
                      "\n\nThe restore point that would undo these settings could not be "
                      "saved, so no setting was changed.",
                  e.what());
    }
    EXPECT_EQ(before, Machine());
}

TEST_F(JournalTest, TheTenNewestPointsAreKept) {
    for (int i = 0; i < 12; ++i) {
        journal.clock = [i] { return "2000-01-" + std::to_string(10 + i) + " 00.00.00"; };
        auto point = journal.Record(kRestoreDir);
        SetText(HKEY_CURRENT_USER, kDesktop, "MenuShowDelay", std::to_string(i));
    }
    std::vector<std::string> points = ListRestorePoints(sys, kRestoreDir);
    ASSERT_EQ(kKeptRestorePoints, points.size());
    EXPECT_EQ("2000-01-12 00.00.00", points.front());
    EXPECT_EQ("2000-01-21 00.00.00", points.back());
    EXPECT_FALSE(sys.HasDirectory(std::string(kRestoreDir) + "\\2000-01-11 00.00.00"));
    // Undo goes newest first.
    ASSERT_TRUE(UndoNewestRestorePoint(sys, kRestoreDir, kScope).has_value());
    EXPECT_EQ("10", Value("MenuShowDelay"));
    ASSERT_TRUE(UndoNewestRestorePoint(sys, kRestoreDir, kScope).has_value());
    EXPECT_EQ("9", Value("MenuShowDelay"));
}

// --- Through the main window ---------------------------------------------------------------

class UndoLastApplyTest : public PageTest {
  protected:
    UndoLastApplyTest() {
        sys.MakeDirectories(kProgramDir);
        sys.SetCurrentDirectoryA(kProgramDir);  // where the program runs
        std::string config(20, '\0');
        config[0] = 1;  // the welcome window shows
        sys.PutFile(std::string(kProgramDir) + "\\Config.DAT", config);
        form().Config = ReadConfigDat(sys, kProgramDir);
        form().ProgramDir = kProgramDir;
        sys.PutFile("C:\\MSDOS.SYS",
                    "[Paths]\r\nWinDir=C:\\WINDOWS\r\n\r\n[Options]\r\nBootGUI=1\r\nLogo=1\r\n", 0);
        sys.PutFile("C:\\WINDOWS\\SYSTEM.INI",
                    "[386Enh]\r\nwoafont=dosapp.fon\r\n\r\n[vcache]\r\nMinFileCache=512\r\n");
        sys.MakeDirectories("C:\\WINDOWS\\Start Menu\\Programs");
        sys.MakeDirectories("C:\\WINDOWS\\Desktop");
        sys.MakeDirectories(
            "C:\\WINDOWS\\Application Data\\Microsoft\\Internet Explorer\\Quick Launch");
        PutText(HKEY_CURRENT_USER, kDesktop, "MenuShowDelay", "400");
        PutText(HKEY_CURRENT_USER, "Control Panel\\Sound", "Beep", "yes");
    }

    std::vector<std::string> Machine() const {
        std::vector<std::string> lines = sys.Dump();
        std::erase_if(lines, [](const std::string& l) {
            return vt::ToUpper(l).find("\\RESTORE") != std::string::npos;
        });
        return lines;
    }

    // What the boxes the read pass sets show. The value editors and the one-shot boxes
    // (menu orders) are never set by it and keep what the user left, as after any Apply.
    std::vector<bool> ReadBoxes() {
        const std::set<std::string> unread = {
            "CheckBox21", "CheckBox22", "CheckBox24", "CheckBox25", "CheckBox27",
            "CheckBox28", "CheckBox30", "CheckBox31", "CheckBox61", "CheckBox62"};
        std::vector<bool> shown;
        for (ui::CheckBox* box : form().MarkableBoxes())
            if (!unread.count(box->Name())) shown.push_back(box->Checked());
        return shown;
    }
};

TEST_F(UndoLastApplyTest, ApplyWithEveryBoxChangedThenUndoLeavesTheMachineAsBefore) {
    PutText(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion", "RegisteredOwner",
            "Owner");
    ReadPass();
    std::vector<std::string> before = Machine();
    std::vector<bool> shown = ReadBoxes();
    EXPECT_FALSE(form().CanUndo());
    for (ui::CheckBox* box : form().MarkableBoxes())
        if (box->Enabled()) Click(*box);
    // And a value of a key the program manages value by value: the owner.
    Click(pages().system.CheckBox22);  // cleared: back to the owner read
    Click(pages().system.CheckBox22);  // ticked again, its editor open
    pages().system.Edit1.Type("Someone Else");
    form().Apply();
    ASSERT_NE(before, Machine());
    ASSERT_TRUE(form().CanUndo());

    prompts.Answer(ui::Answer::Yes);
    form().UndoLastApply();
    EXPECT_EQ(std::vector<std::string>{TForm1::kUndoQuestion}, prompts.Questions());
    EXPECT_EQ(before, Machine());
    EXPECT_FALSE(form().CanUndo());
    EXPECT_EQ(shown, ReadBoxes());
    EXPECT_EQ(1, form().Config.ShowSplash());
    // The pages show the machine as it is again: another Apply writes nothing.
    form().Apply();
    EXPECT_EQ(before, Machine());
    EXPECT_FALSE(form().CanUndo());
}

// Every row of every page, as the page table declares it: a change of that one row alone is
// written, and Undo puts the machine back whole; "Back to Windows Default" sets its box to
// the row's default. A row added to a page is covered here without a test of its own.
TEST_F(UndoLastApplyTest, EveryRowAloneIsWrittenAndPutBackWholeAndResetToItsDefault) {
    Tools& tools = *std::static_pointer_cast<Tools>(program.tools);
    // A network adapter with TCP/IP, so that the internet pages write.
    PutText(HKEY_LOCAL_MACHINE, InternetPage::kMstcp, "EnableDHCP", "0");
    PutText(HKEY_LOCAL_MACHINE, std::string(InternetPage::kNetClass) + "0000", "DriverDesc",
            "NE2000 Compatible");
    int rows = 0;
    for (PageDeclaration& page : PageTable(pages(), tools)) {
        if (!page.rows) continue;
        for (Entry& entry : page.rows->Entries()) {
            auto [box, windowsDefault] =
                std::visit([](auto& e) { return std::pair(e.box, e.windowsDefault); }, entry);
            if (!box) continue;
            ++rows;
            ReadPass();
            const std::vector<std::string> start = Machine();
            if (box->Checked()) {  // cleared first and kept, so that the tick below writes
                Click(*box);
                form().Apply();
            }
            const std::vector<std::string> before = Machine();
            Click(*box);
            const bool ticked = box->Checked();
            form().Apply();
            if (std::holds_alternative<Setting>(entry) && ticked) {
                EXPECT_TRUE(before != Machine()) << box->Name() << ": the change was not written";
            }
            auto undo = [&] {
                prompts.Answer(ui::Answer::Yes);
                form().UndoLastApply();
            };
            if (form().CanUndo() && before != Machine()) undo();
            EXPECT_TRUE(before == Machine()) << box->Name() << ": not put back whole";
            while (form().CanUndo()) undo();
            EXPECT_TRUE(start == Machine()) << box->Name() << ": not put back whole";
            if (!windowsDefault) continue;
            box->SetChecked(!*windowsDefault);
            page.entry.resetToWindowsDefault();
            EXPECT_EQ(*windowsDefault, box->Checked()) << box->Name();
        }
    }
    EXPECT_EQ(std::vector<std::string>{}, prompts.Errors());
    EXPECT_GT(rows, 50);
}

TEST_F(UndoLastApplyTest, NoKeepsThePointAndAnApplyThatChangesNothingMakesNone) {
    ReadPass();
    form().Apply();
    EXPECT_FALSE(form().CanUndo());
    EXPECT_FALSE(sys.HasDirectory(kRestoreDir));
    form().UndoLastApply();  // nothing to undo: nothing is asked
    EXPECT_TRUE(prompts.Questions().empty());

    Click(pages().boot.CheckBox1);
    form().Apply();
    std::vector<std::string> after = Machine();
    prompts.Answer(ui::Answer::No);
    form().UndoLastApply();
    EXPECT_EQ(after, Machine());
    EXPECT_TRUE(form().CanUndo());
}

TEST_F(UndoLastApplyTest, AnUnwritableRestoreFolderStopsApplyWithItsReason) {
    ReadPass();
    std::vector<std::string> before = Machine();
    for (ui::CheckBox* box : form().MarkableBoxes())
        if (box->Enabled()) Click(*box);
    sys.FailWhen(
        [](const fake::CallInfo& c) {
            return vt::ToUpper(c.path).find("\\RESTORE") != std::string::npos &&
                   (c.kind == fake::Call::CreateDirectory || c.kind == fake::Call::WriteFile);
        },
        ERROR_ACCESS_DENIED);
    form().Apply();
    ASSERT_EQ(1u, prompts.Errors().size());
    EXPECT_TRUE(prompts.Errors()[0].starts_with("Unable to write to"));
    EXPECT_TRUE(prompts.Questions().empty()) << "nothing to put back";
    EXPECT_EQ(before, Machine());
}

// A damaged newest point: Undo says why and changes nothing, or with the user's leave puts
// back the one before it; the window reads every page again either way.
TEST_F(UndoLastApplyTest, ADamagedPointIsSkippedOnlyWithLeave) {
    ReadPass();
    const std::vector<std::string> start = Machine();
    const std::string startBoot = sys.FileText("C:\\MSDOS.SYS");
    Click(pages().boot.CheckBox1);
    form().Apply();
    Click(pages().boot.CheckBox3);
    form().Apply();
    std::vector<std::string> names = ListRestorePoints(sys, kRestoreDir);
    ASSERT_EQ(2u, names.size());
    const std::string newest = std::string(kRestoreDir) + "\\" + names.back() + "\\Files.txt";
    sys.PutFile(newest, "state\tended\r\n");  // no seal: cut or edited
    int reads = 0;
    form().AddPage({.sheet = &pages().shutdown.Sheet, .read = [&] { ++reads; }});

    for (ui::Answer skip : {ui::Answer::No, ui::Answer::Yes}) {
        prompts.Answer(ui::Answer::Yes);
        prompts.Answer(skip);
        form().UndoLastApply();
        const std::string asked = prompts.Questions().back();
        EXPECT_NE(std::string::npos, asked.find("Files.txt is missing or incomplete")) << asked;
        EXPECT_NE(std::string::npos, asked.find(TForm1::kSkipDamagedQuestion));
    }
    EXPECT_EQ(2, reads);
    // The older point's key goes back; the skipped point's change stays, as another
    // program's would.
    std::vector<std::string> expected = start, now = Machine();
    auto withoutBootFile = [](std::vector<std::string>& machine) {
        std::erase_if(machine,
                      [](const std::string& l) { return l.starts_with("file C:\\MSDOS.SYS"); });
    };
    withoutBootFile(expected);
    withoutBootFile(now);
    EXPECT_EQ(startBoot + "BootMulti=1\r\n", sys.FileText("C:\\MSDOS.SYS"));
    EXPECT_EQ(expected, now) << "the older point put back, the damaged one skipped";
    ASSERT_EQ(1u, prompts.Messages().size());
    EXPECT_NE(std::string::npos, prompts.Messages()[0].find("were put back"));
    EXPECT_TRUE(ListRestorePoints(sys, kRestoreDir).empty());
}

// What cannot be put back is named; the rest goes back and the point stays for another try.
TEST_F(UndoLastApplyTest, WhatCannotBePutBackIsNamedAndThePointKept) {
    ReadPass();
    Click(pages().boot.CheckBox1);     // C:\MSDOS.SYS
    Click(pages().system.CheckBox15);  // the registry
    form().Apply();
    sys.FailWhen(
        [](const fake::CallInfo& c) {
            return c.kind == fake::Call::WriteFile && vt::ToUpper(c.path) == "C:\\MSDOS.SYS";
        },
        ERROR_WRITE_FAULT);
    prompts.Answer(ui::Answer::Yes);
    form().UndoLastApply();
    ASSERT_EQ(1u, prompts.Messages().size());
    const std::string message = prompts.Messages()[0];
    EXPECT_NE(std::string::npos, message.find("could not be put back:\nC:\\MSDOS.SYS")) << message;
    EXPECT_EQ(1u, ListRestorePoints(sys, kRestoreDir).size());
    sys.ClearFaults();
    prompts.Answer(ui::Answer::Yes);
    form().UndoLastApply();
    EXPECT_TRUE(ListRestorePoints(sys, kRestoreDir).empty());
}

// --- Cut off, damaged, planted ---------------------------------------------------------------

// The cut tests stop the program after every platform call of a pass, one run each. The
// sanitizer and Wine runs, many times slower, take every VT_CUT_STRIDE-th call instead: they
// are there for memory faults and the compiler, the native runs for every cut.
int CutStride() {
    const char* stride = std::getenv("VT_CUT_STRIDE");
    return stride && std::atoi(stride) > 1 ? std::atoi(stride) : 1;
}

// The machine the cut and damage tests start the program on: C:\MSDOS.SYS protected as
// Windows 98 has it.
void SeedMachine(fake::FakePlatform& sys) {
    sys.MakeDirectories(kProgramDir);
    sys.SetCurrentDirectoryA(kProgramDir);
    sys.PutFile(std::string(kProgramDir) + "\\Config.DAT", std::string(20, '\0'));
    sys.PutFile("C:\\MSDOS.SYS",
                "[Paths]\r\nWinDir=C:\\WINDOWS\r\n\r\n[Options]\r\nBootGUI=1\r\nLogo=1\r\n",
                FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    sys.PutFile("C:\\WINDOWS\\SYSTEM.INI", "[386Enh]\r\n\r\n[vcache]\r\nMinFileCache=512\r\n");
    sys.MakeDirectories("C:\\WINDOWS\\Start Menu\\Programs");
    sys.MakeDirectories("C:\\WINDOWS\\Desktop");
    sys.MakeDirectories(
        "C:\\WINDOWS\\Application Data\\Microsoft\\Internet Explorer\\Quick Launch");
    sys.PutValue(HKEY_CURRENT_USER, kDesktop, "MenuShowDelay", REG_SZ, Text("400"));
    sys.PutValue(HKEY_CURRENT_USER, "Control Panel\\Sound", "Beep", REG_SZ, Text("yes"));
}

// Windows' own settings beside the program's, as a Windows 98 machine has them: what a
// planted point must not touch, and what the program's own points leave alone.
void SeedWindows(fake::FakePlatform& sys) {
    auto text = [&](HKEY root, const std::string& key, const char* name, const char* value) {
        sys.PutValue(root, key, name, REG_SZ, Text(value));
    };
    const std::string current = "Software\\Microsoft\\Windows\\CurrentVersion";
    const std::string net = "System\\CurrentControlSet\\Services\\Class\\Net\\";
    text(HKEY_LOCAL_MACHINE, current, "ProgramFilesDir", "C:\\Program Files");
    text(HKEY_LOCAL_MACHINE, current + "\\Run", "ScanRegistry", "C:\\WINDOWS\\scanregw.exe");
    text(HKEY_LOCAL_MACHINE, current + "\\Uninstall\\IE40", "DisplayName", "Internet Explorer 5");
    text(HKEY_LOCAL_MACHINE, current + "\\Uninstall\\IE40", "UninstallString", "ie5setup.exe");
    text(HKEY_LOCAL_MACHINE, current + "\\FS Templates", "", "Desktop");
    text(HKEY_LOCAL_MACHINE, current + "\\FS Templates\\Desktop", "", "Desktop computer");
    text(HKEY_LOCAL_MACHINE, net + "0000", "DriverDesc", "Dial-Up Adapter");
    text(HKEY_LOCAL_MACHINE, net + "0001", "DriverDesc", "NE2000 Compatible");
    text(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Services\\VxD\\MSTCP", "EnableDNS", "1");
    text(HKEY_CURRENT_USER, std::string(kExplorer) + "\\User Shell Folders", "Startup",
         "C:\\WINDOWS\\Start Menu\\Programs\\StartUp");
    sys.PutValue(HKEY_CURRENT_USER, std::string(kMenuOrder) + "\\Programs", "Order", REG_BINARY,
                 {1, 2, 3});
    text(HKEY_CLASSES_ROOT, "exefile\\shell\\open\\command", "", "\"%1\" %*");
    text(HKEY_CLASSES_ROOT, ".txt", "", "txtfile");
    text(HKEY_CLASSES_ROOT, ".txt", "Content Type", "text/plain");
    text(HKEY_CLASSES_ROOT, "txtfile\\shell\\open\\command", "", "NOTEPAD.EXE %1");
    text(HKEY_CLASSES_ROOT, ".bat", "", "batfile");
    text(HKEY_CLASSES_ROOT, "batfile\\shell\\edit\\command", "", "NOTEPAD.EXE %1");
    text(HKEY_CLASSES_ROOT, ".doc", "", "WordPad.Document.1");  // a type whose key is missing
    text(HKEY_CLASSES_ROOT, "Directory\\shell\\find\\command", "", "explorer.exe");
    text(HKEY_CLASSES_ROOT, "Unknown\\shell\\openas\\command", "", "rundll32.exe %1");
    text(HKEY_CLASSES_ROOT, "lnkfile", "IsShortcut", "");
    text(HKEY_CLASSES_ROOT, "CLSID\\{20D04FE0-3AEA-1069-A2D8-08002B30309D}", "", "My Computer");
    sys.PutFile("C:\\WINDOWS\\SYSTEM.INI",
                "[boot]\r\nshell=Explorer.exe\r\n\r\n[386Enh]\r\ndevice=*vmm\r\ndevice=*vcd\r\n"
                "\r\n[vcache]\r\nMinFileCache=512\r\n");
    sys.MakeDirectories("C:\\WINDOWS\\SYSTEM");
    sys.PutFile("C:\\WINDOWS\\SYSTEM\\oeminfo.ini",
                "[General]\r\nManufacturer=Acme\r\n\r\n[OEMSpecific]\r\nSubModel=7\r\n");
}

// One start of the program on `sys`: its windows made and every page read.
struct Started {
    Started(fake::FakePlatform& sys, ui::ScriptedPrompts& prompts) : program(sys, prompts) {
        AttachPages(program, sys, prompts);
        program.main.FormCreate();
        program.main.ReadPendingPages();  // as the idle window does
    }
    TForm1& form() { return program.main; }
    Program program;
};

// The machine but the restore points and the logon script's folder.
std::vector<std::string> MachineOf(const fake::FakePlatform& sys) {
    std::vector<std::string> lines = sys.Dump();
    std::erase_if(lines, [](const std::string& l) {
        std::string upper = vt::ToUpper(l);
        return upper.find("\\RESTORE") != std::string::npos ||
               upper.find("C:\\LOGON") != std::string::npos;
    });
    return lines;
}

DWORD Protection(fake::FakePlatform& sys) {
    return sys.GetFileAttributesA("C:\\MSDOS.SYS") & 0x07;
}

// Starts the program on `sys`, clicks every box and applies. The power goes at the `call`th
// platform call of the Apply: 0 never. Answers whether it went; `after` gets the machine as
// the whole Apply left it.
bool ApplyCutOff(fake::FakePlatform& sys, int call, std::vector<std::string>& before,
                 std::vector<std::string>& after) {
    ui::ScriptedPrompts prompts;
    Started first(sys, prompts);
    before = MachineOf(sys);
    for (ui::CheckBox* box : first.form().MarkableBoxes())
        if (box->Enabled()) {
            box->PressMouse(ui::MouseButton::Left);
            box->ReleaseMouse(ui::MouseButton::Left, true);
        }
    bool cut = false;
    try {
        if (call) sys.CutPowerAtCall(call);
        first.form().Apply();
        after = MachineOf(sys);
    } catch (const fake::PowerCut&) {
        cut = true;
    }
    sys.RestorePower();
    return cut;
}

// The program stopped after each single call of an Apply that changes every page; the next
// start finds the point unfinished and, told to, puts it back. The machine is then as before
// the Apply, or (a cut after the pass ended) as after it; never between, and C:\MSDOS.SYS
// always protected. Every seventh cut the user keeps what it changed, and a later Undo still
// puts everything back.
TEST(CutOffTest, EveryCutLeavesTheMachineAsBeforeOrAsAfter) {
    const std::string restore = std::string(kProgramDir) + "\\Restore";
    std::vector<std::string> before, after;
    {
        fake::FakePlatform whole;
        SeedMachine(whole);
        ASSERT_FALSE(ApplyCutOff(whole, 0, before, after));
        ASSERT_NE(before, after);
        EXPECT_FALSE(UnfinishedRestorePoint(whole, restore)) << "a pass that ended is none";
    }
    int cuts = 0;
    for (int call = 1;; call += CutStride()) {
        fake::FakePlatform sys;
        SeedMachine(sys);
        std::vector<std::string> ignored;
        if (!ApplyCutOff(sys, call, ignored, ignored)) break;
        ++cuts;
        const bool open = UnfinishedRestorePoint(sys, restore).has_value();
        const bool keep = open && call % 7 == 0;
        ui::ScriptedPrompts asked;
        if (open) asked.Answer(keep ? ui::Answer::No : ui::Answer::Yes);
        Started second(sys, asked);
        EXPECT_EQ(0x07u, Protection(sys)) << "cut at call " << call;
        EXPECT_TRUE(asked.Errors().empty()) << "cut at call " << call;
        if (keep) {
            asked.Answer(ui::Answer::Yes);
            second.form().UndoLastApply();
        }
        std::vector<std::string> now = MachineOf(sys);
        if (open)
            EXPECT_EQ(before, now) << "cut at call " << call;
        else
            EXPECT_TRUE(now == before || now == after) << "cut at call " << call;
    }
    EXPECT_GT(cuts * CutStride(), 100);
}

// --- After the cut: keep, put back, or the next logon's unattended run --------------------

// One change in each kind of store: C:\MSDOS.SYS, SYSTEM.INI, registry values of both
// hives, a shortcut and Config.DAT.
const char* const kOneOfEachStore[] = {"CheckBox4",  "CheckBox16", "CheckBox15",
                                       "CheckBox51", "CheckBox45", "CheckBox49"};
constexpr const char* kProfile = "C:\\Logon\\lab.vts";
constexpr const char* kLog = "C:\\Logon\\lab.log";

// The files of a dump, by path; not the whole spare Config.DAT
// leaves beside itself until its own write ends.
std::map<std::string, std::string> FilesOf(const std::vector<std::string>& dump) {
    std::map<std::string, std::string> files;
    for (const std::string& line : dump) {
        std::string path = line.substr(5, line.find('|') - 5);
        if (line.starts_with("file ") && !path.ends_with(".NEW")) files[path] = line;
    }
    return files;
}

// Each file as before or as after, never between (a missing one counts as its own state).
std::vector<std::string> FilesBetween(const std::vector<std::string>& now,
                                      const std::vector<std::string>& before,
                                      const std::vector<std::string>& after) {
    auto n = FilesOf(now), b = FilesOf(before), a = FilesOf(after);
    std::set<std::string> paths;
    for (auto* files : {&n, &b, &a})
        for (const auto& [path, _] : *files) paths.insert(path);
    std::vector<std::string> between;
    for (const std::string& path : paths)
        if (n[path] != b[path] && n[path] != a[path]) between.push_back(path);
    return between;
}

int RunUnattendedOn(fake::FakePlatform& sys, UnattendedRun::Command command) {
    int code =
        RunUnattended(sys, {command, kProfile, kLog, ""}, [](Program& program, ui::Prompts& asked) {
            AttachPages(program, program.main.Stores(), asked);
        });
    sys.ReleaseMutex(kSingleInstanceMutex);
    return code;
}

// Starts the program, changes one setting of each store, applies and with `undo` undoes;
// the program stops at the `call`th platform call of the Apply (or the Undo), 0 never, and
// with `powerLost` the machine loses what was not on disk. Answers whether it stopped.
bool SmallApplyCutOff(fake::FakePlatform& sys, bool undo, int call, bool powerLost) {
    ui::ScriptedPrompts prompts;
    Started first(sys, prompts);
    for (const char* name : kOneOfEachStore) {
        auto& box = Named<ui::CheckBox>(first.form(), name);
        box.PressMouse(ui::MouseButton::Left);
        box.ReleaseMouse(ui::MouseButton::Left, true);
    }
    bool cut = false;
    try {
        if (call && !undo) sys.CutPowerAtCall(call);
        first.form().Apply();
        if (undo) {
            prompts.Answer(ui::Answer::Yes);
            if (call) sys.CutPowerAtCall(call);
            first.form().UndoLastApply();
        }
    } catch (const fake::PowerCut&) {
        cut = true;
    }
    sys.RestorePower();
    if (powerLost) sys.LoseUnflushedWrites();
    return cut;
}

enum class Next { PutBack, Keep, Unattended };
struct CutCase {
    const char* name;
    bool undo;       // the Undo is cut, not the Apply
    bool powerLost;  // the power went, not only the program
    Next next;
};

class AfterTheCutTest : public ::testing::TestWithParam<CutCase> {};

// Whatever call the program stops at, and whatever follows (the user's answer at the next
// start, or the next logon's /apply), no file is left between its state before and after,
// C:\MSDOS.SYS is protected again, and a pass cut off is put back or kept whole: the
// unattended run puts it back and does nothing else, an Undo cut off is finished unasked.
TEST_P(AfterTheCutTest, NoFileIsLeftBetweenBeforeAndAfter) {
    const CutCase c = GetParam();
    const std::string restore = std::string(kProgramDir) + "\\Restore";
    std::vector<std::string> before, after;
    std::string profile;
    {
        fake::FakePlatform whole;
        SeedMachine(whole);
        before = MachineOf(whole);
        ASSERT_FALSE(SmallApplyCutOff(whole, false, 0, false));
        whole.LoseUnflushedWrites();  // a pass that ended is on disk
        after = MachineOf(whole);
        ASSERT_NE(before, after);
        whole.MakeDirectories("C:\\Logon");
        ASSERT_EQ(kExitDone, RunUnattendedOn(whole, UnattendedRun::Command::Export))
            << whole.FileText(kLog);
        profile = whole.FileText(kProfile);
    }
    int cuts = 0;
    for (int call = 1;; call += CutStride()) {
        fake::FakePlatform sys;
        SeedMachine(sys);
        sys.PutFile(kProfile, profile);
        if (!SmallApplyCutOff(sys, c.undo, call, c.powerLost)) break;
        ++cuts;
        SCOPED_TRACE("cut at call " + std::to_string(call));
        std::optional<UnfinishedPoint> open = UnfinishedRestorePoint(sys, restore);
        ui::ScriptedPrompts asked;
        if (c.next == Next::Unattended) {
            int code = RunUnattendedOn(sys, UnattendedRun::Command::Apply);
            if (open) {
                EXPECT_EQ(kExitPutBackCutOff, code) << sys.FileText(kLog);
                EXPECT_EQ(before, MachineOf(sys));
            } else {
                // Applied now, or found already applied.
                EXPECT_TRUE(code == kExitDone || code == kExitChanged ||
                            code == kExitChangedRestart)
                    << sys.FileText(kLog);
                EXPECT_EQ(std::vector<std::string>{}, FilesBetween(MachineOf(sys), before, after));
            }
        } else {
            if (open && !open->undoing)
                asked.Answer(c.next == Next::Keep ? ui::Answer::No : ui::Answer::Yes);
            Started second(sys, asked);
            EXPECT_TRUE(asked.Errors().empty());
            std::vector<std::string> now = MachineOf(sys);
            EXPECT_EQ(std::vector<std::string>{}, FilesBetween(now, before, after));
            if (open && (open->undoing || c.next == Next::PutBack)) {
                EXPECT_EQ(before, now);
            }
            if (open && open->undoing) {
                EXPECT_TRUE(asked.Questions().empty());
            }
            EXPECT_EQ(ReadConfigDat(sys, kProgramDir).ShowSplash(),
                      second.form().Config.ShowSplash())
                << "the window holds what the file holds";
        }
        EXPECT_EQ(0x07u, Protection(sys));
        EXPECT_FALSE(UnfinishedRestorePoint(sys, restore).has_value());
    }
    EXPECT_GT(cuts * CutStride(), 20);
}

INSTANTIATE_TEST_SUITE_P(
    Cuts, AfterTheCutTest,
    ::testing::Values(CutCase{"ApplyKept", false, false, Next::Keep},
                      CutCase{"ApplyThenLogon", false, false, Next::Unattended},
                      CutCase{"ApplyPowerLostPutBack", false, true, Next::PutBack},
                      CutCase{"ApplyPowerLostKept", false, true, Next::Keep},
                      CutCase{"ApplyPowerLostThenLogon", false, true, Next::Unattended},
                      CutCase{"UndoFinished", true, false, Next::Keep},
                      CutCase{"UndoThenLogon", true, false, Next::Unattended},
                      CutCase{"UndoPowerLost", true, true, Next::Keep}),
    [](const auto& info) { return std::string(info.param.name); });

// A full disk cuts a profile file short while Windows answers success, and a registry value
// can claim to be stored and not be. Either is a failure reported as one, with the offer to
// put back what the pass changed; No (and the unattended run, which answers No) keeps what is
// whole and puts back the file left incomplete. No question waits at the next start.
TEST(LostWriteTest, AWriteThatClaimsSuccessIsAFailureAndNoFileIsKeptIncomplete) {
    struct Case {
        const char* name;
        std::function<void(fake::FakePlatform&)> fault;
        const char* reported;
    };
    const Case cases[] = {
        {"full disk", [](fake::FakePlatform& sys) { sys.LimitGrowth("C:\\MSDOS.SYS", 3); },
         "Unable to write to C:\\MSDOS.SYS"},
        {"lost value",
         [](fake::FakePlatform& sys) {
             sys.IgnoreWhen([](const fake::CallInfo& call) {
                 return call.kind == fake::Call::RegSetValue && call.name == "Beep";
             });
         },
         "Failed to set data for 'Beep'"},
    };
    const std::string restore = std::string(kProgramDir) + "\\Restore";
    for (const Case& c : cases)
        for (const char* next : {"Yes", "No", "unattended"}) {
            SCOPED_TRACE(std::string(c.name) + ", " + next);
            fake::FakePlatform sys;
            SeedMachine(sys);
            const std::vector<std::string> before = MachineOf(sys);
            const std::string msdos = sys.FileText("C:\\MSDOS.SYS");
            ui::ScriptedPrompts prompts;
            if (next == std::string("unattended")) {
                sys.PutFile(kProfile,
                            "Veltrim 2000 settings profile, version 1\r\n[Boot]\r\n"
                            "Disable Autocreate Bootlog File=1\r\n[System]\r\n"
                            "Enable Beep on Error=0\r\n");
                c.fault(sys);
                EXPECT_EQ(kExitFailed, RunUnattendedOn(sys, UnattendedRun::Command::Apply));
                EXPECT_NE(std::string::npos,
                          sys.FileText(kLog).find(std::string("error: ") + c.reported));
            } else {
                Started program(sys, prompts);
                for (const char* name : kOneOfEachStore) {
                    auto& box = Named<ui::CheckBox>(program.form(), name);
                    box.PressMouse(ui::MouseButton::Left);
                    box.ReleaseMouse(ui::MouseButton::Left, true);
                }
                c.fault(sys);
                prompts.Answer(next == std::string("Yes") ? ui::Answer::Yes : ui::Answer::No);
                program.form().Apply();
                ASSERT_EQ(1u, prompts.Questions().size());
                EXPECT_TRUE(prompts.Questions()[0].starts_with(c.reported));
                if (next == std::string("Yes")) {
                    EXPECT_EQ(before, MachineOf(sys));
                }
            }
            sys.ClearFaults();
            if (c.name == std::string("full disk")) {
                EXPECT_EQ(msdos, sys.FileText("C:\\MSDOS.SYS")) << "whole, as before";
            } else {
                const std::string now = sys.FileText("C:\\MSDOS.SYS");
                EXPECT_TRUE(now == msdos ||
                            ProfileWriteLanded(msdos, now, "Options", "DisableLog", "1"))
                    << "whole, as before or as written";
            }
            EXPECT_EQ(0x07u, Protection(sys));
            if (c.name == std::string("lost value")) {
                EXPECT_EQ("yes", ReadRegistryText(sys, HKEY_CURRENT_USER, "Control Panel\\Sound",
                                                  "Beep", ""));
            }
            EXPECT_FALSE(UnfinishedRestorePoint(sys, restore).has_value());
        }
}

// The uninstaller leaves a write that was cut off to the program: it refuses, and the
// restore point that can put it back stays.
TEST(UninstallTest, RefusesWhileAWriteIsCutOff) {
    const std::string restore = std::string(kProgramDir) + "\\Restore";
    fake::FakePlatform sys;
    SeedMachine(sys);
    ASSERT_TRUE(SmallApplyCutOff(sys, false, 60, false));
    ASSERT_TRUE(UnfinishedRestorePoint(sys, restore).has_value());
    const std::vector<std::string> cut = sys.Dump();
    ui::ScriptedPrompts prompts;
    std::vector<std::string> log;
    for (bool putBack : {false, true}) {
        EXPECT_EQ(kUninstallUnfinished, UninstallProgramParts(sys, prompts, putBack, log));
        sys.ReleaseMutex(kSingleInstanceMutex);  // the uninstaller's run ended
        EXPECT_EQ(cut, sys.Dump()) << "nothing done";
    }
    ASSERT_FALSE(log.empty());
    EXPECT_NE(std::string::npos, log[0].find("Start Veltrim 2000 once"));
}

// The shortcuts and folders a point may put back or delete are those in the shell's folders
// of this machine, and those an earlier version made below the Windows directory.
TEST(ManagedScopeTest, TheProgramsShortcutsCountWhereTheShellKeepsThemAndBelowWindows) {
    fake::FakePlatform sys;
    sys.UseUserProfile("ann");
    sys.SetCurrentDirectoryA("C:\\");
    const ManagedScope scope = TakeManagedScope(sys, kProgramDir, ProgramStores());
    const std::string ann = "C:\\WINDOWS\\Profiles\\ann", windows = "C:\\WINDOWS";
    const std::pair<std::string, bool> cases[] = {
        {ann + "\\Desktop\\Veltrim 2000.lnk", true},
        {windows + "\\Desktop\\Veltrim 2000.lnk", true},
        {ann + "\\Start Menu\\Programs\\Veltrim 2000\\Readme.lnk", true},
        {ann + "\\Application Data\\Microsoft\\Internet Explorer\\Quick Launch\\Veltrim 2000.lnk",
         true},
        {ann + "\\Start Menu\\Recycle Bin.{645FF040-5081-101B-9F08-00AA002F954E}", true},
        {ann + "\\Desktop\\Letter.doc", false},
        {"C:\\WINDOWS\\Profiles\\bob\\Desktop\\Veltrim 2000.lnk", false},
    };
    for (const auto& [path, managed] : cases) EXPECT_EQ(managed, scope.ManagesFile(path)) << path;
}

// Each way a point can be damaged or planted: Undo refuses it whole, names the fault and
// changes nothing; the point stays.
TEST(DamagedPointTest, UndoRefusesADamagedOrPlantedPointWholeAndNamesTheFault) {
    const std::string restore = std::string(kProgramDir) + "\\Restore";
    const std::string point = restore + "\\2000-01-31 13.05.59";
    const ManagedScope scope = ProgramScope("C:\\WINDOWS", kProgramDir);
    auto seal = [](const std::string& text) { return SealedRestorePointText(text); };
    using pointfiles::kFilesFile;
    using pointfiles::kRegistryFile;
    auto plant = [&](const char* file, const std::string& body) {
        const std::string text =
            std::string(file) == kRegistryFile ? "REGEDIT4\r\n\r\n" + body : body;
        return [&point, &seal, file, text](fake::FakePlatform& sys) {
            sys.PutFile(point + "\\" + file, seal(text));
        };
    };
    struct Case {
        const char* name;
        std::function<void(fake::FakePlatform&)> damage;
        const char* named;  // in the message
    };
    const Case cases[] = {
        {"a missing copy", [&](auto& sys) { sys.DeleteFileA((point + "\\1 SYSTEM.INI").c_str()); },
         "1 SYSTEM.INI is missing"},
        {"a short copy", [&](auto& sys) { sys.PutFile(point + "\\1 SYSTEM.INI", "[386Enh]\r\n"); },
         "1 SYSTEM.INI is damaged"},
        {"a copy changed in place",
         [&](auto& sys) {
             std::string text = sys.FileText(point + "\\1 SYSTEM.INI");
             text[1] = 'X';
             sys.PutFile(point + "\\1 SYSTEM.INI", text);
         },
         "1 SYSTEM.INI is damaged"},
        {"a registry file cut at a line end",
         [&](auto& sys) {
             std::string text = sys.FileText(point + "\\Registry.reg");
             sys.PutFile(point + "\\Registry.reg", text.substr(0, text.find("\r\n") + 2));
         },
         "Registry.reg is missing or incomplete"},
        {"an emptied file list", [&](auto& sys) { sys.PutFile(point + "\\Files.txt", ""); },
         "Files.txt is missing or incomplete"},
        {"a planted key outside the program's",
         [&](auto& sys) {
             sys.PutFile(point + "\\Registry.reg",
                         seal("REGEDIT4\r\n\r\n[-HKEY_CURRENT_USER\\Software\\Vendor]\r\n\r\n"));
         },
         "HKEY_CURRENT_USER\\Software\\Vendor is not a key Veltrim 2000 manages"},
        {"a planted Run entry",
         [&](auto& sys) {
             sys.PutFile(point + "\\Registry.reg",
                         seal("REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\"
                              "CurrentVersion\\Run]\r\n\"x\"=\"C:\\\\x.exe\"\r\n\r\n"));
         },
         "CurrentVersion\\Run is not a key"},
        {"a file outside the program's",
         [&](auto& sys) {
             sys.PutFile(point + "\\Files.txt",
                         seal("state\tended\r\nnew file\t-\t-\tC:\\AUTOEXEC.BAT\t-\t-\r\n"));
         },
         "C:\\AUTOEXEC.BAT is not a file Veltrim 2000 manages"},
        // Planted with their seals recomputed: each would harm Windows, none is the program's.
        {"another program for every program",
         plant(kRegistryFile,
               "[HKEY_CLASSES_ROOT\\exefile\\shell\\open\\command]\r\n"
               "@=\"C:\\\\EVIL.EXE\"\r\n"),
         "HKEY_CLASSES_ROOT\\exefile\\shell\\open\\command is not a key"},
        {"the Startup folder moved",
         plant(kRegistryFile,
               "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\"
               "Explorer\\User Shell Folders]\r\n\"Startup\"=\"C:\\\\EVIL\"\r\n"),
         "User Shell Folders is not a key"},
        {"the program file type deleted", plant(kRegistryFile, "[-HKEY_CLASSES_ROOT\\exefile]\r\n"),
         "HKEY_CLASSES_ROOT\\exefile is not a key"},
        {"all of Software deleted", plant(kRegistryFile, "[-HKEY_LOCAL_MACHINE\\Software]\r\n"),
         "HKEY_LOCAL_MACHINE\\Software holds what Veltrim 2000 does not write"},
        {"every network adapter deleted",
         plant(kRegistryFile,
               "[-HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\Class\\Net]\r\n"),
         "Class\\Net is never made by Veltrim 2000"},
        {"every Add/Remove entry deleted",
         plant(kRegistryFile,
               "[-HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\"
               "Uninstall]\r\n"),
         "Uninstall is never made by Veltrim 2000"},
        {"a value beside the owner's",
         plant(kRegistryFile,
               "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion]"
               "\r\n\"ProgramFilesDir\"=\"C:\\\\EVIL\"\r\n"),
         "the value \"ProgramFilesDir\" is not one Veltrim 2000 writes"},
        {"text files run as batch files",
         plant(kRegistryFile, "[HKEY_CLASSES_ROOT\\.txt]\r\n@=\"batfile\"\r\n"),
         "is only ever set to \".txtfiles\""},
        {"a right-click entry as the double-click",
         plant(kRegistryFile,
               "[HKEY_CLASSES_ROOT\\txtfile\\Shell\\open\\command]\r\n"
               "@=\"C:\\\\EVIL.EXE\"\r\n"),
         "txtfile\\Shell\\open\\command is not a key"},
        {"SYSTEM.INI deleted",
         plant(kFilesFile, "state\tended\r\nnew file\t-\t-\tC:\\WINDOWS\\SYSTEM.INI\t-\t-\r\n"),
         "C:\\WINDOWS\\SYSTEM.INI is never made by Veltrim 2000"},
        {"MSDOS.SYS deleted",
         plant(kFilesFile, "state\tended\r\nnew file\t-\t-\tC:\\MSDOS.SYS\t-\t-\r\n"),
         "C:\\MSDOS.SYS is never made by Veltrim 2000"},
        {"a copy from outside the point",
         [&](auto& sys) {
             sys.PutFile(point + "\\Files.txt",
                         seal("state\tended\r\nfile\t00000000\t..\\..\\..\\evil.ini\tC:\\WINDOWS\\"
                              "SYSTEM.INI\t4\t00000000\r\n"));
         },
         "leads out of the restore point's folder"},
    };
    for (const Case& c : cases) {
        fake::FakePlatform sys;
        SeedMachine(sys);
        SeedWindows(sys);
        sys.PutValue(HKEY_CURRENT_USER, "Software\\Vendor", "Mine", REG_SZ, Text("kept"));
        sys.PutFile("C:\\AUTOEXEC.BAT", "@echo off\r\n");
        RestoreJournal journal(sys);
        journal.clock = [] { return std::string("2000-01-31 13.05.59"); };
        {
            auto pass = journal.Record(restore);
            ASSERT_TRUE(
                journal.WritePrivateProfileStringA("vcache", "MinFileCache", "1024", "SYSTEM.INI"));
        }
        c.damage(sys);
        std::vector<std::string> damaged = MachineOf(sys);
        try {
            UndoNewestRestorePoint(sys, restore, scope);
            ADD_FAILURE() << c.name << ": put back";
        } catch (const RestorePointDamaged& e) {
            EXPECT_NE(std::string::npos, std::string(e.what()).find(c.named))
                << c.name << ": " << e.what();
            EXPECT_TRUE(std::string(e.what()).starts_with(
                "The restore point \"2000-01-31 13.05.59\" cannot be used:\n"))
                << e.what();
        }
        EXPECT_EQ(damaged, MachineOf(sys)) << c.name;
        EXPECT_EQ(1u, ListRestorePoints(sys, restore).size()) << c.name;
    }
}

// A refused write is no change: the point holds nothing for it, and Undo touches nothing
// the pass did not change.
TEST(DamagedPointTest, AWriteThatWasRefusedLeavesNothingToPutBack) {
    fake::FakePlatform sys;
    SeedMachine(sys);
    sys.SetFileAttributesA("C:\\WINDOWS\\SYSTEM.INI", FILE_ATTRIBUTE_READONLY);
    const std::string restore = std::string(kProgramDir) + "\\Restore";
    RestoreJournal journal(sys);
    {
        auto pass = journal.Record(restore);
        journal.RegSetValueExA(HKEY_CURRENT_USER, "x", REG_SZ, nullptr, 0);
        TRegistry reg(journal);
        reg.SelectRoot(HKEY_CURRENT_USER);
        ASSERT_TRUE(reg.OpenPath(std::string("\\") + kDesktop, false));
        reg.WriteText("MenuShowDelay", "100");
        EXPECT_FALSE(
            journal.WritePrivateProfileStringA("vcache", "MinFileCache", "1024", "SYSTEM.INI"));
    }
    std::vector<std::string> names = ListRestorePoints(sys, restore);
    ASSERT_EQ(1u, names.size());
    std::string files = sys.FileText(restore + "\\" + names[0] + "\\Files.txt");
    EXPECT_EQ(std::string::npos, files.find("SYSTEM.INI")) << files;
    auto report = UndoNewestRestorePoint(sys, restore, kScope);
    ASSERT_TRUE(report.has_value());
    EXPECT_TRUE(report->failures.empty());
}

// --- Every point the program makes is its own ----------------------------------------------

class EveryPassTest;
struct PassCase {
    const char* name;
    std::function<void(EveryPassTest&)> run;
};

// On a machine with Windows' own settings beside the program's, each kind of pass the pages
// and tools make leaves a point that Undo takes whole and puts back.
class EveryPassTest : public UndoLastApplyTest, public ::testing::WithParamInterface<PassCase> {
  public:
    using PageTest::form;
    using PageTest::pages;
    using PageTest::program;
    using PageTest::prompts;

    EveryPassTest() {
        SeedWindows(sys);
        ReadPass();
    }

    Tools& tools() { return *std::static_pointer_cast<Tools>(program.tools); }
    void ClickEveryBox() {
        for (ui::CheckBox* box : form().MarkableBoxes())
            if (box->Enabled()) Click(*box);
    }
    void Apply() { form().Apply(); }
    // The pass changes the machine; Undo then puts it back as it was, without a word but its
    // report.
    void ExpectUndone(const std::string& what, const std::function<void()>& pass) {
        SCOPED_TRACE(what);
        const std::vector<std::string> before = Machine();
        pass();
        ASSERT_TRUE(prompts.Errors().empty()) << prompts.Errors().front();
        ASSERT_NE(before, Machine());
        prompts.Answer(ui::Answer::Yes);
        form().UndoLastApply();
        EXPECT_TRUE(prompts.Errors().empty()) << prompts.Errors().front();
        ASSERT_FALSE(prompts.Messages().empty());
        EXPECT_TRUE(prompts.Messages().back().starts_with("The settings were put back"))
            << prompts.Messages().back();
        EXPECT_EQ(before, Machine());
    }
    // A right-click entry of the type, made as the user makes one.
    void CreateEntry(const RightClickMenus::FileType& type) {
        RightClickMenus& menus = tools().rightClickMenus;
        if (!type.box.Checked()) Click(type.box);
        menus.MenuExt = type.ext;
        menus.Edit12.Type("View it");
        prompts.Pick("C:\\VIEW.EXE");
        menus.SpeedButton3.Click();
        menus.Button6.Click();
    }
    void RemoveEntry(const RightClickMenus::FileType& type) {
        tools().rightClickMenus.MenuExt = type.ext;
        tools().rightClickMenus.Button8Click();
    }
    void ChooseProgram(const std::string& name) {
        const std::vector<std::string>& items = tools().addRemove.ListBox2.Items();
        tools().addRemove.ListBox2.ChooseItem(
            static_cast<int>(std::find(items.begin(), items.end(), name) - items.begin()));
    }
};

TEST_P(EveryPassTest, UndoTakesThePointAndPutsTheMachineBack) {
    GetParam().run(*this);
}

INSTANTIATE_TEST_SUITE_P(
    Passes, EveryPassTest,
    ::testing::Values(PassCase{"EveryBoxTicked",
                               [](EveryPassTest& t) {
                                   t.ExpectUndone("ticked", [&] {
                                       t.ClickEveryBox();
                                       t.Apply();
                                   });
                               }},
                      // What the ticks made is taken away again: verbs, folders, shortcuts, values.
                      PassCase{"EveryBoxTickedAndCleared",
                               [](EveryPassTest& t) {
                                   t.ClickEveryBox();
                                   t.Apply();
                                   t.ExpectUndone("cleared", [&] {
                                       t.ClickEveryBox();
                                       t.Apply();
                                   });
                               }},
                      PassCase{"WindowsDefaults",
                               [](EveryPassTest& t) {
                                   t.ExpectUndone("defaults",
                                                  [&] { t.form().ResetToWindowsDefault(); });
                               }},
                      PassCase{"Presets",
                               [](EveryPassTest& t) {
                                   t.ExpectUndone("presets", [&] {
                                       t.pages().internet.SpeedButton5.Click();
                                       t.pages().internet2.SpeedButton7.Click();
                                       t.pages().diskCache.ComboBox1.ChooseItem(2);
                                       t.pages().fileCache.ComboBox3.ChooseItem(0);
                                       t.pages().fileCache.TrackBar5.Drag(3);
                                       t.pages().oemInfo.Manufacturer.Type("Other");
                                       t.pages().oemInfo.Line1.Type("Call us");
                                       t.Apply();
                                   });
                               }},
                      // Each type the page offers: below the type its extension names (there or
                      // missing), or below the page's own.
                      PassCase{"RightClickEntries",
                               [](EveryPassTest& t) {
                                   for (const RightClickMenus::FileType& type :
                                        t.tools().rightClickMenus.Types) {
                                       t.ExpectUndone(std::string("made for ") + type.ext,
                                                      [&] { t.CreateEntry(type); });
                                       t.CreateEntry(type);
                                       t.ExpectUndone(std::string("removed for ") + type.ext,
                                                      [&] { t.RemoveEntry(type); });
                                   }
                               }},
                      PassCase{"AddRemoveEntries",
                               [](EveryPassTest& t) {
                                   AddRemove& page = t.tools().addRemove;
                                   TForm5& dialog = t.program.uninstall;
                                   t.ExpectUndone("edited", [&] {
                                       t.ChooseProgram("Internet Explorer 5");
                                       page.Button2.Click();
                                       dialog.Edit1.Type("C:\\UNINST.EXE");
                                       dialog.Edit2.Type("Renamed");
                                       t.prompts.Answer(ui::Answer::Yes);
                                       dialog.Button1.Click();
                                   });
                                   t.ExpectUndone("removed", [&] {
                                       t.ChooseProgram("Internet Explorer 5");
                                       t.prompts.Answer(ui::Answer::Yes);
                                       page.Button3.Click();
                                   });
                               }}),
    [](const auto& info) { return std::string(info.param.name); });

// --- The uninstaller's part --------------------------------------------------------------

// What Setup's uninstaller asks of the program: every restore point goes (and with
// "/putback" is put back first, newest first), the right-click entries and the template go
// only when Windows is put back, and nothing happens while the program runs.
TEST(UninstallTest, PutBackLeavesWindowsAsBeforeTheFirstApplyAndKeepLeavesItAsItIs) {
    const std::string restore = std::string(kProgramDir) + "\\Restore";
    auto outsideProgram = [](const fake::FakePlatform& sys) {
        std::vector<std::string> lines = sys.Dump();
        std::erase_if(lines, [](const std::string& l) {
            return vt::ToUpper(l).find("\\VELTRIM 2000") != std::string::npos;
        });
        return lines;
    };
    for (bool putBack : {true, false}) {
        fake::FakePlatform sys;
        SeedMachine(sys);
        sys.PutValue(HKEY_LOCAL_MACHINE,
                     "Software\\Microsoft\\Windows\\CurrentVersion\\FS Templates", "", REG_SZ,
                     Text("Desktop"));
        sys.PutValue(HKEY_CLASSES_ROOT, ".txt", "", REG_SZ, Text("txtfile"));
        sys.PutValue(HKEY_CLASSES_ROOT, "txtfile\\shell\\open\\command", "", REG_SZ,
                     Text("NOTEPAD.EXE %1"));
        std::vector<std::string> before, after;
        {
            ui::ScriptedPrompts prompts;
            Started program(sys, prompts);
            before = outsideProgram(sys);
            auto& pages = *std::static_pointer_cast<Pages>(program.program.pages);
            for (ui::CheckBox* box : {&pages.boot.CheckBox1, &pages.system.CheckBox15}) {
                box->PressMouse(ui::MouseButton::Left);
                box->ReleaseMouse(ui::MouseButton::Left, true);
            }
            program.form().Apply();
            ASSERT_EQ(1u, ListRestorePoints(sys, restore).size());
            pages.fileCache.TrackBar5.Drag(3);  // the program's own template
            program.form().Apply();
            ASSERT_EQ(2u, ListRestorePoints(sys, restore).size());
            auto& menus = std::static_pointer_cast<Tools>(program.program.tools)->rightClickMenus;
            for (const RightClickMenus::FileType& type : menus.Types)
                if (std::string(type.ext) == ".txt") {
                    type.box.PressMouse(ui::MouseButton::Left);
                    type.box.ReleaseMouse(ui::MouseButton::Left, true);
                }
            menus.Edit12.Type("View it");
            prompts.Pick("C:\\VIEW.EXE");
            menus.SpeedButton3.Click();
            menus.Button6.Click();
            ASSERT_TRUE(menus.MadeEntry(".txt"));
            after = outsideProgram(sys);
            ASSERT_NE(before, after);
            ASSERT_EQ(3u, ListRestorePoints(sys, restore).size());
        }
        ui::ScriptedPrompts prompts;
        sys.HoldMutex(kSingleInstanceMutex);
        std::vector<std::string> log;
        EXPECT_EQ(kUninstallRunning, UninstallProgramParts(sys, prompts, putBack, log));
        EXPECT_EQ(3u, ListRestorePoints(sys, restore).size()) << "nothing while it runs";
        sys.ReleaseMutex(kSingleInstanceMutex);
        EXPECT_EQ(kUninstallDone, UninstallProgramParts(sys, prompts, putBack, log));
        EXPECT_EQ(putBack ? before : after, outsideProgram(sys)) << putBack;
        EXPECT_TRUE(ListRestorePoints(sys, restore).empty());
        EXPECT_FALSE(sys.HasFile(restore + "\\Points.txt"));
        for (const std::string& line : sys.Dump())
            EXPECT_EQ(std::string::npos, vt::ToUpper(line).find("\\RESTORE\\"))
                << "left in the restore folder: " << line;
    }
}

// --- Undo by the program's own changes ------------------------------------------------

void ClickAndApply(Started& program, std::initializer_list<const char*> boxes) {
    for (const char* name : boxes) {
        auto& box = Named<ui::CheckBox>(program.form(), name);
        box.PressMouse(ui::MouseButton::Left);
        box.ReleaseMouse(ui::MouseButton::Left, true);
    }
    program.form().Apply();
}

// Two passes, then a driver's line and another program's value in SYSTEM.INI: each Undo (in
// the window, then unattended) puts back its own pass's keys and keeps everyone else's.
TEST(UndoByChangesTest, UndoPutsBackThePassKeysAndKeepsWhatOthersChangedSince) {
    const std::string restore = std::string(kProgramDir) + "\\Restore";
    fake::FakePlatform sys;
    SeedMachine(sys);
    sys.MakeDirectories("C:\\Logon");
    const std::string systemIni = sys.FileText("C:\\WINDOWS\\SYSTEM.INI");
    const std::string msdos = sys.FileText("C:\\MSDOS.SYS");
    ui::ScriptedPrompts prompts;
    Started program(sys, prompts);
    ClickAndApply(program, {"CheckBox16", "CheckBox4"});  // LocalLoadHigh, DisableLog
    ClickAndApply(program, {"CheckBox18"});               // PageBuffers
    ASSERT_EQ(2u, ListRestorePoints(sys, restore).size());
    auto othersChanged = [](std::string text) {
        text.replace(text.find("[386Enh]\r\n"), 10, "[386Enh]\r\ndevice=newdrv.vxd\r\n");
        text.replace(text.find("MinFileCache=512"), 16, "MinFileCache=1024");
        return text;
    };
    sys.PutFile("C:\\WINDOWS\\SYSTEM.INI", othersChanged(sys.FileText("C:\\WINDOWS\\SYSTEM.INI")));

    prompts.Answer(ui::Answer::Yes);
    program.form().UndoLastApply();
    EXPECT_TRUE(prompts.Errors().empty());
    EXPECT_EQ(std::string::npos, sys.FileText("C:\\WINDOWS\\SYSTEM.INI").find("PageBuffers"));
    ASSERT_EQ(1u, ListRestorePoints(sys, restore).size());

    EXPECT_EQ(kExitChangedRestart, RunUnattendedOn(sys, UnattendedRun::Command::Undo))
        << sys.FileText(kLog);
    EXPECT_EQ(othersChanged(systemIni), sys.FileText("C:\\WINDOWS\\SYSTEM.INI"));
    EXPECT_EQ(msdos, sys.FileText("C:\\MSDOS.SYS"));
    EXPECT_EQ(0x07u, Protection(sys));
    EXPECT_TRUE(ListRestorePoints(sys, restore).empty());
}

// A point planted with a copy of SYSTEM.INI whose shell is another program: Undo puts back
// the key the pass changed and never the planter's line.
TEST(UndoByChangesTest, APlantedCopyPutsBackOnlyTheKeysTheProgramWrites) {
    const std::string restore = std::string(kProgramDir) + "\\Restore";
    const std::string point = restore + "\\2000-01-31 13.05.59";
    fake::FakePlatform sys;
    SeedMachine(sys);
    sys.PutFile("C:\\WINDOWS\\SYSTEM.INI",
                "[boot]\r\nshell=Explorer.exe\r\n\r\n[vcache]\r\nMinFileCache=512\r\n");
    RestoreJournal journal(sys);
    journal.clock = [] { return std::string("2000-01-31 13.05.59"); };
    {
        auto pass = journal.Record(restore);
        TIniFile(journal, "SYSTEM.INI").WriteText("vcache", "MinFileCache", "1024");
    }
    std::string copy = sys.FileText(point + "\\1 SYSTEM.INI");
    copy.replace(copy.find("Explorer.exe"), 12, "C:\\EVIL.EXE");
    sys.PutFile(point + "\\1 SYSTEM.INI", copy);
    sys.PutFile(point + "\\Files.txt",
                SealedRestorePointText("state\tended\r\nfile\t00000020\t1 SYSTEM.INI\tC:\\WINDOWS\\"
                                       "SYSTEM.INI\t" +
                                       std::to_string(copy.size()) + "\t" +
                                       pointfiles::Hex(pointfiles::Checksum(copy)) + "\r\n"));
    ASSERT_TRUE(UndoNewestRestorePoint(sys, restore, kScope));
    EXPECT_EQ("[boot]\r\nshell=Explorer.exe\r\n\r\n[vcache]\r\nMinFileCache=512\r\n",
              sys.FileText("C:\\WINDOWS\\SYSTEM.INI"));
}

// Wine rewrites a profile file one section per write() and Windows 98 may end a write at any
// cluster: whatever start of the file a cut leaves (nothing, one byte, the first section, all
// but the last byte), at any call of an Apply or of "Back to Windows Default", the next
// logon's run (exit 4) or the next start's Yes puts the pass back whole; a cut after the pass
// ended leaves every file as before or as after.
TEST(CutOffTest, ACutLeavingAnyStartOfAFileIsPutBackWhole) {
    const std::string restore = std::string(kProgramDir) + "\\Restore";
    using Keeps = std::function<std::size_t(const std::string&)>;
    auto bytes = [](std::size_t n) { return [n](const std::string&) { return n; }; };
    const Keeps firstSection = [](const std::string& text) {
        std::size_t next = text.find("\r\n[");
        return next == std::string::npos ? text.size() / 2 : next + 2;
    };
    // The pass, cut at `call` (0: never); answers whether it was cut.
    using Pass = std::function<bool(fake::FakePlatform&, int)>;
    const Pass apply = [](fake::FakePlatform& sys, int call) {
        return SmallApplyCutOff(sys, false, call, false);
    };
    const Pass reset = [](fake::FakePlatform& sys, int call) {
        ui::ScriptedPrompts prompts;
        Started program(sys, prompts);
        try {
            if (call) sys.CutPowerAtCall(call);
            program.form().ResetToWindowsDefault();
        } catch (const fake::PowerCut&) {
            sys.RestorePower();
            return true;
        }
        sys.RestorePower();
        return false;
    };
    struct Row {
        const char* name;
        Pass pass;
        Keeps keeps;
        bool unattended;  // the next logon's run, else the next start told Yes
    };
    const Row rows[] = {
        {"Apply, nothing left", apply, bytes(0), true},
        {"Apply, one byte left", apply, bytes(1), true},
        {"Apply, the first section left", apply, firstSection, true},
        {"Apply, all but the last byte left", apply,
         [](const std::string& text) { return text.size() - 1; }, true},
        {"Back to Windows Default, the first section left", reset, firstSection, false},
    };
    auto seeded = [](fake::FakePlatform& sys) {
        SeedMachine(sys);
        SeedWindows(sys);
        sys.MakeDirectories("C:\\Logon");
    };
    for (const Row& row : rows) {
        std::vector<std::string> before, after;
        {
            fake::FakePlatform whole;
            seeded(whole);
            before = MachineOf(whole);
            ASSERT_FALSE(row.pass(whole, 0)) << row.name;
            after = MachineOf(whole);
            ASSERT_NE(before, after) << row.name;
        }
        int cuts = 0;
        for (int call = 1;; call += CutStride()) {
            SCOPED_TRACE(std::string(row.name) + ", cut at call " + std::to_string(call));
            fake::FakePlatform sys;
            seeded(sys);
            sys.CutWritesKeeping(row.keeps);
            if (!row.pass(sys, call)) break;
            ++cuts;
            const bool open = UnfinishedRestorePoint(sys, restore).has_value();
            if (row.unattended) {
                int code = RunUnattendedOn(sys, UnattendedRun::Command::Undo);
                if (open) {
                    EXPECT_EQ(kExitPutBackCutOff, code) << sys.FileText(kLog);
                }
            } else {
                ui::ScriptedPrompts asked;
                if (open) asked.Answer(ui::Answer::Yes);
                Started next(sys, asked);
                EXPECT_TRUE(asked.Errors().empty());
            }
            if (open)
                EXPECT_EQ(before, MachineOf(sys));
            else
                EXPECT_EQ(std::vector<std::string>{}, FilesBetween(MachineOf(sys), before, after));
            EXPECT_EQ(0x07u, Protection(sys));
        }
        EXPECT_GT(cuts, 10) << row.name;
    }
}

// A blank line an editor added to the list of points hides none of them.
TEST(UndoByChangesTest, ABlankLineInTheListOfPointsHidesNone) {
    const std::string restore = std::string(kProgramDir) + "\\Restore";
    fake::FakePlatform sys;
    SeedMachine(sys);
    ui::ScriptedPrompts prompts;
    Started program(sys, prompts);
    ClickAndApply(program, {"CheckBox4"});
    const std::string list = restore + "\\Points.txt";
    std::string text = sys.FileText(list);
    sys.PutFile(list, text.insert(text.find("\r\n") + 2, "\r\n") + "\r\n");
    EXPECT_EQ(1u, ListRestorePoints(sys, restore).size());
}

}  // namespace
}  // namespace vt::testing
