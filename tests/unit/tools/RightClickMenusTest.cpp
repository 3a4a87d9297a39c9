#include "unit/tools/ToolsFixture.h"
#include "store/RestoreJournal.h"
#include "store/RestorePoints.h"

#include "platform/NoCase.h"

#include <algorithm>
#include <map>

namespace vt::testing {
namespace {

const char* const kViewer = "C:\\Program Files\\Viewer\\VIEW.EXE \"%1\"";
const char* const kEditor = "C:\\EDITOR.EXE \"%1\"";

class RightClickMenusTest : public ToolsTest {
  protected:
    RightClickMenusTest() {
        PutText(HKEY_CLASSES_ROOT, ".txt", "", "txtfile");
        PutText(HKEY_CLASSES_ROOT, "txtfile\\shell\\open\\command", "", "NOTEPAD.EXE %1");
        PutText(HKEY_CLASSES_ROOT, "txtfile\\shell\\print\\command", "", "NOTEPAD.EXE /p %1");
        PutText(HKEY_CLASSES_ROOT, ".html", "", "htmlfile");
    }
    ui::CheckBox& Box(const std::string& ext) {
        for (const RightClickMenus::FileType& type : menus().Types)
            if (type.ext == ext) return type.box;
        throw std::logic_error("no box for " + ext);
    }
    // Opens the fields on the type's box (cleared first if it is ticked).
    void OpenFields(const std::string& ext) {
        if (Box(ext).Checked()) Click(Box(ext));
        Click(Box(ext));
    }
    // Names an entry and picks its program as a user does, then presses "Create".
    void Create(const std::string& ext, const std::string& name, const std::string& program) {
        OpenFields(ext);
        menus().Edit12.Type(name);
        prompts.Pick(program);
        menus().SpeedButton3.Click();
        Do([&] { menus().Button6.Click(); });
    }
    void Remove(const std::string& ext) {
        OpenFields(ext);
        Do([&] { menus().Button8.Click(); });
    }
    std::optional<std::string> Command(const std::string& fileType, const std::string& verb) {
        return Text(HKEY_CLASSES_ROOT, fileType + "\\Shell\\" + verb + "\\command", "");
    }
    std::string IniValue(const std::string& section, const std::string& key) {
        char value[256] = "";
        sys.GetPrivateProfileStringA(section.c_str(), key.c_str(), "<missing>", value, sizeof value,
                                     DataIniPath().c_str());
        return value;
    }
    std::vector<ui::Control*> Fields() {
        return {&menus().Label14,      &menus().Label16, &menus().Edit12, &menus().Edit13,
                &menus().SpeedButton3, &menus().Button6, &menus().Button8};
    }
};

// --- The page --------------------------------------------------------------------------

struct BoxCase {
    const char* control;
    const char* caption;
    const char* ext;
    int column;
};

// The eighteen boxes, three columns of six, top to bottom, as the page shows them.
const BoxCase kBoxes[] = {
    {"CheckBox77", "avi files", ".avi", 1},  {"CheckBox65", "bat files", ".bat", 1},
    {"CheckBox66", "bmp files", ".bmp", 1},  {"CheckBox67", "doc files", ".doc", 1},
    {"CheckBox68", "gif files", ".gif", 1},  {"CheckBox69", "html files", ".html", 1},
    {"CheckBox70", "ico files", ".ico", 2},  {"CheckBox71", "ini files", ".ini", 2},
    {"CheckBox72", "jpg files ", ".jpg", 2}, {"CheckBox73", "mov files", ".mov", 2},
    {"CheckBox74", "mp3 files", ".mp3", 2},  {"CheckBox75", "dat files", ".dat", 2},
    {"CheckBox76", "pcx files", ".pcx", 3},  {"CheckBox78", "reg files", ".reg", 3},
    {"CheckBox79", "txt files", ".txt", 3},  {"CheckBox80", "wav files", ".wav", 3},
    {"CheckBox81", "wri files", ".wri", 3},  {"CheckBox82", "zip files", ".zip", 3},
};

TEST_F(RightClickMenusTest, TheEighteenBoxesStandInThreeColumnsInTheirOrder) {
    ASSERT_EQ(std::size(kBoxes), menus().Types.size());
    std::map<int, std::vector<int>> tops;  // by column's left edge
    for (std::size_t i = 0; i < menus().Types.size(); ++i) {
        const auto& type = menus().Types[i];
        const BoxCase& expected = kBoxes[i];
        EXPECT_EQ(expected.control, type.box.Name());
        EXPECT_EQ(expected.caption, type.box.Caption()) << expected.control;
        EXPECT_EQ(expected.ext, std::string(type.ext)) << expected.control;
        EXPECT_EQ(&menus().Sheet, type.box.Parent()) << expected.control;
        tops[type.box.GetBounds().left].push_back(type.box.GetBounds().top);
        int column = static_cast<int>(std::distance(tops.begin(), tops.end()));
        EXPECT_EQ(expected.column, column) << expected.control;
    }
    for (const auto& [left, column] : tops) {
        EXPECT_EQ(6u, column.size());
        EXPECT_TRUE(std::is_sorted(column.begin(), column.end())) << "top to bottom";
    }
    EXPECT_EQ("Right Click Menus", menus().RxLabel12.Caption());
    EXPECT_EQ("Right Click Menus", menus().Sheet.Caption());
    EXPECT_EQ("Application name :", menus().Label14.Caption());
    EXPECT_EQ("Application path :", menus().Label16.Caption());
    EXPECT_EQ("Create", menus().Button6.Caption());
    EXPECT_EQ("Remove", menus().Button8.Caption());
    EXPECT_EQ(
        "Right click menus are menus that appear when you click right mouse button on an object.",
        menus().Label18.Caption());
    EXPECT_EQ(
        "In this page you can add new menu that will allows you to open a file with an "
        "application other then ",
        menus().Label19.Caption());
    EXPECT_EQ(
        "it's default application. To do that just click any file association you want and "
        "choose the application.",
        menus().Label20.Caption());
    EXPECT_TRUE(menus().Edit13.ReadOnly());
    EXPECT_FALSE(menus().Edit12.ReadOnly());
    for (ui::Control* field : Fields()) EXPECT_FALSE(field->Enabled()) << "collapsed at start";
}

struct ReadCase {
    const char* section;  // as data.ini holds it
    const char* ext;
    bool ticked;
};

// data.ini alone decides, whatever the registry holds; nothing is written.
TEST_F(RightClickMenusTest, TheReadPassTicksTheTypesThatDataIniGivesANameAndACommand) {
    PutDataIni(
        "[.txt]\r\nTitle=Viewer\r\nplayer=C:\\VIEW.EXE \"%1\"\r\n"
        "[.html]\r\nTitle=Browser\r\nplayer=C:\\B.EXE \"%1\"\r\n"
        "[.bmp]\r\nTitle=Paint it\r\n"
        "[.gif]\r\nTitle=Show\r\nplayer=\r\n"
        "[.wav]\r\nplayer=C:\\PLAY.EXE \"%1\"\r\n"
        "[.htm]\r\nTitle=Other\r\nplayer=C:\\O.EXE \"%1\"\r\n");
    PutText(HKEY_CLASSES_ROOT, ".bmp", "", "Paint.Picture");
    PutText(HKEY_CLASSES_ROOT, "Paint.Picture\\Shell\\Paint it\\command", "", "C:\\P.EXE \"%1\"");
    PutText(HKEY_CLASSES_ROOT, "jpegfile\\Shell\\Look\\command", "", "C:\\L.EXE \"%1\"");
    Box(".zip").SetChecked(true);
    sys.ClearCalls();
    form().BacaData();
    const ReadCase cases[] = {
        {"[.txt]", ".txt", true},        {"[.html]", ".html", true},  {"no player", ".bmp", false},
        {"empty player", ".gif", false}, {"no Title", ".wav", false}, {"no section", ".jpg", false},
        {"no section", ".zip", false},
    };
    for (const ReadCase& c : cases) EXPECT_EQ(c.ticked, Box(c.ext).Checked()) << c.section;
    EXPECT_EQ(std::vector<std::string>{}, Changes()) << "a read pass never writes";
    sys.ClearCalls();
    menus().Read();  // the page's own part of the pass
    for (const fake::CallInfo& call : sys.Calls())
        EXPECT_EQ(std::string::npos, call.path.find("HKEY_CLASSES_ROOT"))
            << "the registry's file types are not asked: " << call.path;
}

TEST_F(RightClickMenusTest, PressingAnUntickedBoxLoadsTheEntryWithTheRegistrysCommand) {
    PutDataIni("[.txt]\r\nTitle=Viewer\r\nplayer=C:\\OLD.EXE \"%1\"\r\n");
    PutText(HKEY_CLASSES_ROOT, "txtfile\\Shell\\Viewer\\command", "", kViewer);
    form().BacaData();
    ASSERT_TRUE(Box(".txt").Checked());
    Click(Box(".txt"));  // ticked: collapses only
    EXPECT_FALSE(Box(".txt").Checked());
    EXPECT_EQ(ui::kNavy, Box(".txt").FontColor());
    for (ui::Control* field : Fields()) EXPECT_FALSE(field->Enabled()) << field->Name();
    EXPECT_EQ(kViewer, Command("txtfile", "Viewer")) << "nothing is deleted";

    Click(Box(".txt"));
    EXPECT_TRUE(Box(".txt").Checked());
    EXPECT_EQ(".txt", menus().MenuExt);
    EXPECT_EQ("Viewer", menus().Edit12.Text());
    EXPECT_EQ(kViewer, menus().Edit13.Text()) << "the registry's command, not data.ini's";
    EXPECT_EQ("txtfile", menus().MenuFileType);
    for (ui::Control* field : Fields()) EXPECT_TRUE(field->Enabled()) << field->Name();

    form().BacaData();
    EXPECT_TRUE(Box(".txt").Checked()) << "the entry survived the collapse";
}

TEST_F(RightClickMenusTest, AStoredNameWhoseVerbIsGoneLoadsNothing) {
    PutDataIni("[.txt]\r\nTitle=Viewer\r\nplayer=C:\\OLD.EXE \"%1\"\r\n");
    Click(Box(".txt"));
    EXPECT_EQ("", menus().Edit12.Text());
    EXPECT_EQ("", menus().Edit13.Text());
    EXPECT_TRUE(menus().Edit12.Enabled());
    EXPECT_FALSE(menus().Button6.Enabled());
    EXPECT_FALSE(menus().Button8.Enabled());
}

TEST_F(RightClickMenusTest, ACommandThatIsNoTextIsReportedAndLeavesThePathEmpty) {
    PutDataIni("[.txt]\r\nTitle=Viewer\r\nplayer=C:\\OLD.EXE \"%1\"\r\n");
    sys.PutValue(HKEY_CLASSES_ROOT, "txtfile\\Shell\\Viewer\\command", "", REG_DWORD, {1, 0, 0, 0});
    Do([&] { Box(".txt").PressMouse(ui::MouseButton::Left); });
    EXPECT_EQ(std::vector<std::string>{"Invalid data type for ''"}, prompts.Errors());
    EXPECT_EQ("Viewer", menus().Edit12.Text());
    EXPECT_EQ("", menus().Edit13.Text());
}

TEST_F(RightClickMenusTest, TheRightButtonAndTheKeyboardChangeNothingButWhatTheyMust) {
    PutText(HKEY_CLASSES_ROOT, "txtfile\\Shell\\Viewer\\command", "", kViewer);
    PutDataIni("[.txt]\r\nTitle=Viewer\r\nplayer=" + std::string(kViewer) + "\r\n");
    Box(".txt").PressMouse(ui::MouseButton::Right);
    Box(".txt").ToggleFromKeyboard();
    EXPECT_TRUE(Box(".txt").Checked()) << "the keyboard changes the tick";
    EXPECT_EQ(ui::kBlack, Box(".txt").FontColor());
    EXPECT_EQ("", menus().MenuExt);
    EXPECT_EQ("", menus().Edit12.Text());
    for (ui::Control* field : Fields()) EXPECT_FALSE(field->Enabled()) << field->Name();
    Box(".txt").ToggleFromKeyboard();
    EXPECT_EQ(kViewer, Command("txtfile", "Viewer")) << "clearing by keyboard deletes nothing";
}

TEST_F(RightClickMenusTest, PuttingThePagesDetailsAwayCollapsesTheFields) {
    Click(Box(".txt"));
    menus().Edit12.Type("Viewer");
    form().HideAllPages();
    EXPECT_EQ("", menus().Edit12.Text());
    for (ui::Control* field : Fields()) EXPECT_FALSE(field->Enabled()) << field->Name();
    Click(Box(".txt"));
    Click(Box(".txt"));
    ASSERT_TRUE(menus().Edit12.Enabled());
    form().PageControl1.ChoosePage(&tools.addRemove.Sheet);
    EXPECT_FALSE(menus().Edit12.Enabled()) << "a page switch collapses every page";
}

// --- Browse ----------------------------------------------------------------------------

TEST_F(RightClickMenusTest, BrowsingPutsTheProgramAndTheFileArgumentIntoThePath) {
    Click(Box(".txt"));
    prompts.Pick("C:\\Program Files\\Viewer\\VIEW.EXE");
    menus().SpeedButton3.Click();
    EXPECT_EQ(kViewer, menus().Edit13.Text());
    ASSERT_EQ(1u, prompts.Asks().size());
    EXPECT_EQ("Programs (*.exe)|*.exe", prompts.Asks()[0].text);
    EXPECT_FALSE(menus().Button6.Enabled()) << "no name yet";
    menus().Edit12.Type("Viewer");
    EXPECT_TRUE(menus().Button6.Enabled());
    EXPECT_TRUE(menus().Button8.Enabled());
    prompts.Pick(std::nullopt);
    menus().SpeedButton3.Click();
    EXPECT_EQ(kViewer, menus().Edit13.Text()) << "cancelled: nothing changes";
    menus().Edit12.Type("");
    EXPECT_TRUE(menus().Button6.Enabled()) << "emptying a field never disables";
}

// --- Create ----------------------------------------------------------------------------

TEST_F(RightClickMenusTest, CreateAddsTheVerbToTheFileTypeAndTheSectionToDataIni) {
    sys.ClearCalls();
    Create(".txt", "Open with Viewer", "C:\\Program Files\\Viewer\\VIEW.EXE");
    EXPECT_EQ(std::vector<std::string>{}, prompts.Errors());
    EXPECT_EQ(kViewer, Command("txtfile", "Open with Viewer"));
    EXPECT_EQ("Open with Viewer", IniValue(".txt", "Title"));
    EXPECT_EQ(kViewer, IniValue(".txt", "player"));
    EXPECT_EQ(std::nullopt, Text(HKEY_CLASSES_ROOT, "txtfile\\Shell\\Open with Viewer", ""))
        << "no default value on the verb key";
    EXPECT_EQ("txtfile", Text(HKEY_CLASSES_ROOT, ".txt", ""));
    EXPECT_EQ("NOTEPAD.EXE %1", Command("txtfile", "open"));
    EXPECT_FALSE(menus().Button6.Enabled());
    EXPECT_TRUE(menus().Button8.Enabled());
    for (const std::string& change : Changes())
        EXPECT_TRUE(change.find("data.ini") != std::string::npos ||
                    ToLower(change).find("hkey_classes_root\\txtfile\\shell\\open with viewer") ==
                        0)
            << change;
    form().BacaData();
    EXPECT_TRUE(Box(".txt").Checked()) << "ticked after a restart";
}

// The tools act at once, and keep a restore point as Apply does: "Undo last change..." takes
// a created entry away again, and brings a removed one back.
TEST_F(RightClickMenusTest, CreateAndRemoveKeepRestorePoints) {
    const std::vector<std::string> before = sys.Dump();
    auto withoutPoints = [&] {
        std::vector<std::string> lines = sys.Dump();
        std::erase_if(lines, [](const std::string& l) {
            return ToUpper(l).find("\\RESTORE") != std::string::npos;
        });
        return lines;
    };
    Create(".txt", "Open with Viewer", "C:\\Program Files\\Viewer\\VIEW.EXE");
    const std::vector<std::string> created = withoutPoints();
    Remove(".txt");
    ASSERT_EQ(2u, ListRestorePoints(sys, form().RestoreDir()).size());
    prompts.Answer(ui::Answer::Yes);
    form().UndoLastApply();
    EXPECT_EQ(created, withoutPoints()) << "the removed entry is back";
    prompts.Answer(ui::Answer::Yes);
    form().UndoLastApply();
    EXPECT_EQ(before, withoutPoints()) << "the created entry is gone";
    EXPECT_TRUE(prompts.Errors().empty());
}

TEST_F(RightClickMenusTest, ASecondCreateReplacesTheFirstVerb) {
    Create(".txt", "Viewer", "C:\\Program Files\\Viewer\\VIEW.EXE");
    menus().Edit12.Type("Editor");
    prompts.Pick("C:\\EDITOR.EXE");
    menus().SpeedButton3.Click();
    ASSERT_TRUE(menus().Button6.Enabled()) << "a changed field enables the button again";
    Do([&] { menus().Button6.Click(); });
    EXPECT_EQ(std::nullopt, Command("txtfile", "Viewer"));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "txtfile\\Shell\\Viewer"));
    EXPECT_EQ(kEditor, Command("txtfile", "Editor"));
    EXPECT_EQ("Editor", IniValue(".txt", "Title"));
    EXPECT_EQ(kEditor, IniValue(".txt", "player"));

    Create(".txt", "EDITOR", "C:\\Program Files\\Viewer\\VIEW.EXE");  // its own name, other letters
    EXPECT_EQ(std::vector<std::string>{}, prompts.Errors());
    EXPECT_EQ(kViewer, Command("txtfile", "EDITOR"));
    EXPECT_EQ("EDITOR", IniValue(".txt", "Title"));
}

TEST_F(RightClickMenusTest, ATypeWithoutAFileTypeGetsOneOfItsOwnAndRemoveTakesBothKeysAway) {
    Click(Box(".zip"));
    EXPECT_EQ("", menus().Edit12.Text());
    EXPECT_EQ("", menus().Edit13.Text());
    Click(Box(".zip"));
    Create(".zip", "Unpack", "C:\\UNZIP.EXE");
    EXPECT_EQ(".zipfiles", Text(HKEY_CLASSES_ROOT, ".zip", ""));
    EXPECT_EQ("C:\\UNZIP.EXE \"%1\"", Command(".zipfiles", "Unpack"));
    Remove(".zip");
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, ".zip"));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, ".zipfiles"));
    EXPECT_EQ("<missing>", IniValue(".zip", "Title"));
    EXPECT_FALSE(Box(".zip").Checked());
}

// Someone else took the page's own type away, or only its commands: "Remove" (as "Back to
// Windows Default" runs it) takes the rest away and makes nothing again.
TEST_F(RightClickMenusTest, RemoveCreatesNothingAndTakesTheExtensionAwayWhenItsTypeIsGone) {
    Create(".zip", "Unpack", "C:\\UNZIP.EXE");
    Create(".dat", "Inspect", "C:\\HEX.EXE");
    DeleteTree(HKEY_CLASSES_ROOT, ".zipfiles");
    DeleteTree(HKEY_CLASSES_ROOT, ".datfiles\\Shell");
    sys.ClearCalls();
    for (const char* ext : {".zip", ".dat"}) {
        EXPECT_TRUE(menus().Remove_RightClickMenus(ext));
        EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, ext)) << ext;
        EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, std::string(ext) + "files")) << ext;
    }
    for (const fake::CallInfo& call : sys.Calls())
        EXPECT_NE(fake::Call::RegCreateKey, call.kind) << call.path;
}

TEST_F(RightClickMenusTest, AnExtensionWithOtherValuesKeepsThemWhenItsOwnTypeGoes) {
    PutText(HKEY_CLASSES_ROOT, ".dat", "Content Type", "application/octet-stream");
    Create(".dat", "Inspect", "C:\\HEX.EXE");
    EXPECT_EQ(".datfiles", Text(HKEY_CLASSES_ROOT, ".dat", ""));
    Remove(".dat");
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, ".datfiles"));
    EXPECT_EQ(std::nullopt, Text(HKEY_CLASSES_ROOT, ".dat", ""));
    EXPECT_EQ("application/octet-stream", Text(HKEY_CLASSES_ROOT, ".dat", "Content Type"));
}

TEST_F(RightClickMenusTest, HtmlEntriesLiveUnderTheirOwnSection) {
    Create(".html", "Edit page", "C:\\HTML.EXE");
    EXPECT_EQ("Edit page", IniValue(".html", "Title"));
    EXPECT_EQ("C:\\HTML.EXE \"%1\"", Command("htmlfile", "Edit page"));
    Click(Box(".html"));
    form().BacaData();
    EXPECT_TRUE(Box(".html").Checked());
    Remove(".html");
    EXPECT_EQ("<missing>", IniValue(".html", "Title"));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "htmlfile\\Shell\\Edit page"));
}

TEST_F(RightClickMenusTest, AFailedDataIniWriteIsReportedAndTheRegistryIsLeftAlone) {
    PutDataIni("", FILE_ATTRIBUTE_READONLY);
    Create(".txt", "Viewer", "C:\\Program Files\\Viewer\\VIEW.EXE");
    ASSERT_EQ(1u, prompts.Errors().size());
    EXPECT_TRUE(prompts.Errors()[0].starts_with("Unable to write to " + DataIniPath() +
                                                ": the file is read-only"))
        << prompts.Errors()[0];
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "txtfile\\Shell\\Viewer"));
}

struct RefusalCase {
    std::string name;
    const char* why;
};

// Each refused name says why and leaves the registry and data.ini as they were.
TEST_F(RightClickMenusTest, CreateRefusesANameThatWouldOverwriteOrBreakAVerb) {
    PutText(HKEY_CLASSES_ROOT, "txtfile\\Shell\\Translate\\command", "", "C:\\TR.EXE %1");
    PutDataIni("[.txt]\r\nTitle=Viewer\r\nplayer=" + std::string(kViewer) + "\r\n");
    PutText(HKEY_CLASSES_ROOT, "txtfile\\Shell\\Viewer\\command", "", kViewer);
    const RefusalCase cases[] = {
        {"", "empty"},
        {"My\\Viewer", "a backslash"},
        {"open", "the file type's own verb"},
        {"PRINT", "the file type's own verb, in other letters"},
        {"Translate", "another program's verb"},
        {std::string(256, 'x'), "longer than the registry takes"},
        {"Two\r\nlines", "a line break"},
        {"Explore", "a verb of the shell's own, which the type does not have"},
        {"  Spaced  ", "blanks around it, which data.ini would trim"},
        {"\"Quoted\"", "quotation marks around it, which data.ini would take away"},
        {"'Quoted'", "single quotation marks around it"},
    };
    for (const RefusalCase& c : cases) {
        OpenFields(".txt");
        ASSERT_TRUE(menus().Button6.Enabled());
        menus().Edit12.Type(c.name);
        std::string iniBefore = DataIni();
        sys.ClearCalls();
        std::size_t errors = prompts.Errors().size();
        menus().Button6.Click();
        ASSERT_EQ(errors + 1, prompts.Errors().size()) << c.why;
        EXPECT_EQ(std::vector<std::string>{}, Changes()) << c.why;
        EXPECT_EQ(iniBefore, DataIni()) << c.why;
        EXPECT_TRUE(menus().Button6.Enabled()) << c.why << ": the user may correct the name";
    }
    const std::vector<std::string> errors = prompts.Errors();
    EXPECT_EQ("Type a name for the menu entry first.", errors[0]);
    EXPECT_EQ("The name of a menu entry cannot contain a backslash (\\).", errors[1]);
    EXPECT_EQ(
        "The file type txtfile already has a command named \"open\". Choose another name for "
        "the menu entry.",
        errors[2]);
    EXPECT_EQ("NOTEPAD.EXE %1", Command("txtfile", "open"));
    EXPECT_EQ("NOTEPAD.EXE /p %1", Command("txtfile", "print"));
    EXPECT_EQ("C:\\TR.EXE %1", Command("txtfile", "Translate"));
    EXPECT_EQ(kViewer, Command("txtfile", "Viewer"));
    EXPECT_EQ("The name of a menu entry can have at most 255 characters.", errors[5]);
    EXPECT_EQ(
        "\"Explore\" is a command of Windows itself. Choose another name for the menu "
        "entry.",
        errors[7]);
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "txtfile\\Shell\\Explore"));
}

// A new name the registry refuses leaves the old entry: its verb and its line in data.ini.
TEST_F(RightClickMenusTest, ARenameTheRegistryRefusesKeepsTheOldEntry) {
    Create(".txt", "Viewer", "C:\\VIEW.EXE");
    const std::string ini = DataIni();
    sys.FailWhen(
        [](const fake::CallInfo& c) {
            return c.kind == fake::Call::RegCreateKey &&
                   c.path.find("Renamed") != std::string::npos;
        },
        ERROR_ACCESS_DENIED);
    OpenFields(".txt");
    menus().Edit12.Type("Renamed");
    prompts.Answer(ui::Answer::No);  // keep: the page already put data.ini back
    menus().Button6.Click();
    sys.ClearFaults();
    ASSERT_EQ(1u, prompts.Questions().size());
    EXPECT_TRUE(prompts.Questions()[0].starts_with("Failed to set data for"));
    EXPECT_TRUE(menus().Button6.Enabled()) << "for another try";
    EXPECT_EQ(ini, DataIni());
    EXPECT_TRUE(Command("txtfile", "Viewer").has_value());
    EXPECT_FALSE(Command("txtfile", "Renamed").has_value());
}

TEST_F(RightClickMenusTest, CreateRefusesTheNameOfItsEntryOnceAnotherProgramChangedItsVerb) {
    PutDataIni("[.txt]\r\nTitle=Viewer\r\nplayer=" + std::string(kViewer) + "\r\n");
    PutText(HKEY_CLASSES_ROOT, "txtfile\\Shell\\Viewer\\command", "", "C:\\OTHER.EXE %1");
    Click(Box(".txt"));
    ASSERT_EQ("Viewer", menus().Edit12.Text());
    sys.ClearCalls();
    menus().Button6.Click();
    EXPECT_EQ(1u, prompts.Errors().size());
    EXPECT_EQ(std::vector<std::string>{}, Changes());
    EXPECT_EQ("C:\\OTHER.EXE %1", Command("txtfile", "Viewer"));
}

TEST_F(RightClickMenusTest, RenamingLeavesAVerbAnotherProgramChangedInPlace) {
    PutDataIni("[.txt]\r\nTitle=Viewer\r\nplayer=" + std::string(kViewer) + "\r\n");
    PutText(HKEY_CLASSES_ROOT, "txtfile\\Shell\\Viewer\\command", "", "C:\\OTHER.EXE %1");
    Create(".txt", "Editor", "C:\\EDITOR.EXE");
    EXPECT_EQ(std::vector<std::string>{}, prompts.Errors());
    EXPECT_EQ("C:\\OTHER.EXE %1", Command("txtfile", "Viewer"));
    EXPECT_EQ(kEditor, Command("txtfile", "Editor"));
}

// --- Remove ----------------------------------------------------------------------------

TEST_F(RightClickMenusTest, RemoveOnAWindowsFileTypeDeletesOnlyTheVerb) {
    Create(".txt", "Viewer", "C:\\Program Files\\Viewer\\VIEW.EXE");
    sys.ClearCalls();
    Remove(".txt");
    EXPECT_EQ(std::vector<std::string>{}, prompts.Errors());
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "txtfile\\Shell\\Viewer"));
    EXPECT_EQ("NOTEPAD.EXE %1", Command("txtfile", "open"));
    EXPECT_EQ("NOTEPAD.EXE /p %1", Command("txtfile", "print"));
    EXPECT_EQ("txtfile", Text(HKEY_CLASSES_ROOT, ".txt", ""));
    EXPECT_EQ("<missing>", IniValue(".txt", "Title"));
    EXPECT_EQ("<missing>", IniValue(".txt", "player"));
    EXPECT_FALSE(Box(".txt").Checked());
    EXPECT_EQ("", menus().Edit12.Text());
    EXPECT_EQ("", menus().Edit13.Text());
    EXPECT_FALSE(menus().Button6.Enabled());
    EXPECT_FALSE(menus().Button8.Enabled());
    std::vector<std::string> registryChanges;
    for (const std::string& change : Changes())
        if (change.find("data.ini") == std::string::npos)
            registryChanges.push_back(ToLower(change));
    EXPECT_EQ((std::vector<std::string>{"hkey_classes_root\\txtfile\\shell\\viewer\\command|",
                                        "hkey_classes_root\\txtfile\\shell\\viewer|"}),
              registryChanges);
}

TEST_F(RightClickMenusTest, RemoveTakesALeftOverTypeOfItsOwnAway) {
    PutDataIni("[.txt]\r\nTitle=Viewer\r\nplayer=" + std::string(kViewer) + "\r\n");
    PutText(HKEY_CLASSES_ROOT, ".txtfiles\\Shell\\Viewer\\command", "", kViewer);
    PutText(HKEY_CLASSES_ROOT, "txtfile\\Shell\\Viewer\\command", "", kViewer);
    Remove(".txt");
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, ".txtfiles"));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "txtfile\\Shell\\Viewer"));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, ".txt"));
}

TEST_F(RightClickMenusTest, RemoveLeavesAVerbAnotherProgramChangedAndSaysSo) {
    Create(".txt", "Viewer", "C:\\Program Files\\Viewer\\VIEW.EXE");
    PutText(HKEY_CLASSES_ROOT, "txtfile\\Shell\\Viewer\\command", "", "C:\\OTHER.EXE %1");
    Remove(".txt");
    EXPECT_EQ("C:\\OTHER.EXE %1", Command("txtfile", "Viewer"));
    ASSERT_EQ(1u, prompts.Errors().size());
    EXPECT_NE(std::string::npos, prompts.Errors()[0].find("\"Viewer\""));
    EXPECT_EQ("<missing>", IniValue(".txt", "Title")) << "the page no longer keeps it";
    EXPECT_FALSE(Box(".txt").Checked());
}

TEST_F(RightClickMenusTest, ATypeOfItsOwnThatGainedAnotherVerbStays) {
    Create(".zip", "Unpack", "C:\\UNZIP.EXE");
    PutText(HKEY_CLASSES_ROOT, ".zipfiles\\Shell\\Scan\\command", "", "C:\\SCAN.EXE %1");
    Remove(".zip");
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, ".zipfiles\\Shell\\Unpack"));
    EXPECT_EQ("C:\\SCAN.EXE %1", Command(".zipfiles", "Scan"));
    EXPECT_EQ(".zipfiles", Text(HKEY_CLASSES_ROOT, ".zip", "")) << "still names the type";
}

// A section without a command cannot claim a verb, not even one whose command is missing too.
TEST_F(RightClickMenusTest, AnEntryWithoutACommandOwnsNoVerb) {
    PutDataIni("[.txt]\r\nTitle=open\r\nplayer=\r\n");
    sys.PutValue(HKEY_CLASSES_ROOT, "txtfile\\shell\\open\\command", "", REG_SZ, {0});
    sys.ClearCalls();
    menus().Remove_RightClickMenus(".txt");
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, "txtfile\\shell\\open\\command"));
    for (const std::string& change : Changes())
        EXPECT_NE(std::string::npos, change.find("data.ini")) << change;
}

TEST_F(RightClickMenusTest, RemoveWithoutAnEntryDeletesNothing) {
    PutDataIni("[.txt]\r\nplayer=C:\\A.EXE \"%1\"\r\n");
    Click(Box(".txt"));
    menus().Edit12.Type("Anything");
    prompts.Pick("C:\\A.EXE");
    menus().SpeedButton3.Click();
    sys.ClearCalls();
    menus().Button8.Click();
    for (const std::string& change : Changes())
        EXPECT_NE(std::string::npos, change.find("data.ini")) << change;
    EXPECT_EQ(std::vector<std::string>{}, prompts.Errors()) << "no verb to speak of";
    EXPECT_FALSE(Box(".txt").Checked());
    EXPECT_EQ("NOTEPAD.EXE %1", Command("txtfile", "open"));
}

// 表示 (95 5C 8E A6): on a Japanese machine its second byte is half of 表, not a backslash, and
// the entry is made whole, with its restore point in the program's folder of the same kind
// of name; on a Western machine that byte is a backslash and the name is refused.
TEST_F(RightClickMenusTest, ANameIsReadByTheCharactersOfTheMachinesCodePage) {
    const std::string name = "\x95\x5C\x8E\xA6", folder = "C:\\VT\x95\x5C";
    for (const UINT codePage : {932u, 1252u}) {
        sys.SetCodePage(codePage);
        sys.MakeDirectories(folder);
        form().ProgramDir = folder;
        const std::size_t errors = prompts.Errors().size();
        Create(".txt", name, "C:\\Program Files\\Viewer\\VIEW.EXE");
        if (codePage == 1252) {
            EXPECT_EQ(errors + 1, prompts.Errors().size());
            continue;
        }
        ASSERT_EQ(errors, prompts.Errors().size()) << prompts.Errors().back();
        EXPECT_EQ(kViewer, Command("txtfile", name));
        EXPECT_NE(std::string::npos, sys.FileText(folder + "\\data.ini").find("Title=" + name));
        EXPECT_EQ(folder + "\\Restore", form().RestoreDir());
        EXPECT_EQ(1u, ListRestorePoints(sys, form().RestoreDir()).size());
        Remove(".txt");
        EXPECT_EQ(std::nullopt, Command("txtfile", name));
        EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "txtfile\\Shell\\\x95"));
        prompts.Answer(ui::Answer::Yes);
        form().UndoLastApply();
        EXPECT_EQ(kViewer, Command("txtfile", name)) << "Undo brings the entry back";
        EXPECT_FALSE(sys.HasDirectory(folder + "Restore"));
    }
}

}  // namespace
}  // namespace vt::testing
