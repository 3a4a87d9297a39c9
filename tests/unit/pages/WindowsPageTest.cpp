#include "unit/pages/PageFixture.h"

namespace vt::testing {
namespace {

const char* const kDesktop = "Control Panel\\Desktop";
const char* const kMetrics = "Control Panel\\Desktop\\WindowMetrics";
const char* const kUpdate = "System\\CurrentControlSet\\Control\\Update";
const char* const kMyComputer = "CLSID\\{20D04FE0-3AEA-1069-A2D8-08002B30309D}\\shell";
const char* const kRecycleBin = "CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}\\ShellFolder";
const char* const kBitmapIcon = "Paint.Picture\\DefaultIcon";
const char* const kPaintIcon = "C:\\PROGRA~1\\ACCESS~1\\MSPAINT.EXE,1";
const char* const kToolbar = "Software\\Microsoft\\Internet Explorer\\Toolbar";

class WindowsPageTest : public PageTest {
  protected:
    WindowsPage& page() { return pages().windows; }
    void ReadPage() { ReadPass(); }
    void WritePage() { WritePass(); }
    std::string DefaultText(HKEY root, const std::string& path) {
        auto stored = Value(root, path, "");
        return stored ? stored->Text() : "<missing>";
    }
};

TEST_F(WindowsPageTest, TheReadPassCreatesNoShortcutKey) {
    ReadPage();
    EXPECT_TRUE(page().CheckBox34.Checked()) << "without IsShortcut the arrows are off";
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "lnkfile"));
}

TEST_F(WindowsPageTest, MissingTextValuesShowCheckedAndStayMissing) {
    ReadPage();
    EXPECT_TRUE(page().CheckBox32.Checked()) << "no PaintDesktopVersion reads as \"0\"";
    EXPECT_TRUE(page().CheckBox38.Checked()) << "no MinAnimate reads as \"1\"";
    Click(page().CheckBox38);
    WritePage();
    EXPECT_FALSE(Value(HKEY_CURRENT_USER, kDesktop, "PaintDesktopVersion"))
        << "an untouched box creates nothing";
    EXPECT_FALSE(Value(HKEY_CURRENT_USER, kMetrics, "MinAnimate"))
        << "an unchecked box restores only a value that exists";
}

struct UpdateModeCase {
    std::vector<BYTE> bytes;
    DWORD type;
    bool checked;
};

class UpdateModeTest : public WindowsPageTest,
                       public ::testing::WithParamInterface<UpdateModeCase> {};

TEST_P(UpdateModeTest, TheStoredBytesDecideTheBox) {
    sys.PutValue(HKEY_LOCAL_MACHINE, kUpdate, "UpdateMode", GetParam().type, GetParam().bytes);
    ReadPage();
    EXPECT_EQ(GetParam().checked, page().CheckBox36.Checked());
}

INSTANTIATE_TEST_SUITE_P(Bytes, UpdateModeTest,
                         ::testing::Values(UpdateModeCase{{0x00}, REG_BINARY, true},
                                           UpdateModeCase{{0x01}, REG_BINARY, false},
                                           UpdateModeCase{{0, 0, 0, 0}, REG_BINARY, true},
                                           UpdateModeCase{
                                               {0, 0, 0, 0, 0}, REG_BINARY, false},  // too long: 9
                                           UpdateModeCase{{0, 0, 0, 0}, REG_DWORD, false}));

TEST_F(WindowsPageTest, AShortBinaryValueReplacesOnlyTheLowBytesOfTheKeptNumber) {
    PutBytes(HKEY_LOCAL_MACHINE, kUpdate, "UpdateMode", {0x01, 0x01, 0, 0});
    ReadPage();
    PutBytes(HKEY_LOCAL_MACHINE, kUpdate, "UpdateMode", {0x00});
    ReadPage();
    EXPECT_FALSE(page().CheckBox36.Checked()) << "00 over the kept 01 01 00 00 is 0x100";
}

TEST_F(WindowsPageTest, TheRecycleBinAttributesAreWrittenAsBinaryOnceTheBoxChanges) {
    PutNumber(HKEY_CLASSES_ROOT, kRecycleBin, "Attributes", 0x20000170);
    ReadPage();
    EXPECT_FALSE(page().CheckBox29.Checked()) << "an integer is no binary value";
    WritePage();
    auto stored = Value(HKEY_CLASSES_ROOT, kRecycleBin, "Attributes");
    ASSERT_TRUE(stored);
    EXPECT_EQ(REG_DWORD, stored->type) << "untouched";
    Click(page().CheckBox29);
    form().Apply();
    EXPECT_TRUE(page().CheckBox29.Checked());
    stored = Value(HKEY_CLASSES_ROOT, kRecycleBin, "Attributes");
    EXPECT_EQ(REG_BINARY, stored->type);
    EXPECT_EQ((std::vector<BYTE>{0x70, 0x01, 0x00, 0x20}), stored->bytes);
    Click(page().CheckBox29);
    WritePage();
    EXPECT_EQ((std::vector<BYTE>{0x40, 0x01, 0x00, 0x20}),
              Value(HKEY_CLASSES_ROOT, kRecycleBin, "Attributes")->bytes);
}

TEST_F(WindowsPageTest, TheShortcutArrowGoesWithTheIsShortcutValue) {
    PutText(HKEY_CLASSES_ROOT, "lnkfile", "IsShortcut", "yes");
    ReadPage();
    EXPECT_FALSE(page().CheckBox34.Checked());
    Click(page().CheckBox34);
    WritePage();
    EXPECT_FALSE(Value(HKEY_CLASSES_ROOT, "lnkfile", "IsShortcut"));
    ReadPage();
    EXPECT_TRUE(page().CheckBox34.Checked());
    Click(page().CheckBox34);
    WritePage();
    auto stored = Value(HKEY_CLASSES_ROOT, "lnkfile", "IsShortcut");
    ASSERT_TRUE(stored);
    EXPECT_EQ(REG_SZ, stored->type);
    EXPECT_EQ("", stored->Text());
}

TEST_F(WindowsPageTest, AnotherProgramsMyComputerCommandStaysUntilTheBoxIsCleared) {
    PutText(HKEY_CLASSES_ROOT, std::string(kMyComputer) + "\\Open\\Command", "", "other.exe");
    ReadPage();
    EXPECT_FALSE(page().CheckBox35.Checked());
    WritePage();
    EXPECT_EQ("other.exe",
              DefaultText(HKEY_CLASSES_ROOT, std::string(kMyComputer) + "\\Open\\Command"));

    Click(page().CheckBox35);
    form().Apply();
    EXPECT_EQ(WindowsPage::kExplorerCommand,
              DefaultText(HKEY_CLASSES_ROOT, std::string(kMyComputer) + "\\Open\\Command"));
    EXPECT_TRUE(page().CheckBox35.Checked());
    Click(page().CheckBox35);
    WritePage();
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, std::string(kMyComputer) + "\\Open"));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, kMyComputer));
}

TEST_F(WindowsPageTest, TheContextMenuVerbsAreWrittenStepByStepAndRemovedWhole) {
    PutText(HKEY_CLASSES_ROOT, "Unknown\\shell\\Notepad\\Extra", "", "left over");
    ReadPage();
    EXPECT_FALSE(page().CheckBox40.Checked());
    Click(page().CheckBox40);
    Click(page().CheckBox41);
    WritePage();
    EXPECT_EQ("Notepad", DefaultText(HKEY_CLASSES_ROOT, "Unknown\\shell"));
    EXPECT_EQ("&Notepad", DefaultText(HKEY_CLASSES_ROOT, "Unknown\\shell\\NotePad"));
    EXPECT_EQ("notepad.exe %1", DefaultText(HKEY_CLASSES_ROOT, "Unknown\\shell\\Notepad\\Command"));
    EXPECT_EQ("Command Prompt Here", DefaultText(HKEY_CLASSES_ROOT, "Directory\\shell\\DOS"));
    EXPECT_EQ("C:\\Command.com /k cd \"%1\"",
              DefaultText(HKEY_CLASSES_ROOT, "Directory\\shell\\DOS\\Command"));
    ReadPage();
    EXPECT_TRUE(page().CheckBox40.Checked());
    EXPECT_TRUE(page().CheckBox41.Checked());

    Click(page().CheckBox40);
    Click(page().CheckBox41);
    WritePage();
    EXPECT_EQ("", DefaultText(HKEY_CLASSES_ROOT, "Unknown\\shell"));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "Unknown\\shell\\Notepad"));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "Directory\\shell\\DOS"));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, "Directory\\shell"));
}

TEST_F(WindowsPageTest, TheBatchFileVerbIsWrittenBothWaysOnceChanged) {
    PutText(HKEY_CLASSES_ROOT, "batfile\\shell", "", "print");
    ReadPage();
    EXPECT_FALSE(page().CheckBox42.Checked());
    WritePage();
    EXPECT_EQ("print", DefaultText(HKEY_CLASSES_ROOT, "batfile\\shell")) << "untouched";
    Click(page().CheckBox42);
    form().Apply();
    EXPECT_EQ("edit", DefaultText(HKEY_CLASSES_ROOT, "batfile\\shell"));
    Click(page().CheckBox42);
    WritePage();
    EXPECT_EQ("", DefaultText(HKEY_CLASSES_ROOT, "batfile\\shell"));
}

TEST_F(WindowsPageTest, TheOldBitmapIconIsSavedOnceAndPutBack) {
    PutText(HKEY_CLASSES_ROOT, kBitmapIcon, "", kPaintIcon);
    form().Apply();
    EXPECT_FALSE(page().CheckBox63.Checked());
    Click(page().CheckBox63);
    form().Apply();
    EXPECT_TRUE(page().CheckBox63.Checked());
    EXPECT_EQ("%1", DefaultText(HKEY_CLASSES_ROOT, kBitmapIcon));
    form().Apply();  // the second pass reads "%1" and saves nothing
    EXPECT_EQ(kPaintIcon, Value(HKEY_CLASSES_ROOT, kBitmapIcon, "OldBitmapIcon")->Text());
    EXPECT_EQ(REG_SZ, Value(HKEY_CLASSES_ROOT, kBitmapIcon, "OldBitmapIcon")->type);

    Click(page().CheckBox63);
    form().Apply();
    EXPECT_EQ(kPaintIcon, DefaultText(HKEY_CLASSES_ROOT, kBitmapIcon));
    EXPECT_FALSE(Value(HKEY_CLASSES_ROOT, kBitmapIcon, "OldBitmapIcon"));
    EXPECT_FALSE(page().CheckBox63.Checked());
}

TEST_F(WindowsPageTest, AnExpandableIconKeepsItsTypeThroughTheThumbnailAndBack) {
    sys.PutValue(HKEY_CLASSES_ROOT, kBitmapIcon, "", REG_EXPAND_SZ,
                 {'%', 'W', '%', '\\', 'p', '.', 'e', 'x', 'e', ',', '1', 0});
    ReadPage();
    Click(page().CheckBox63);
    form().Apply();
    EXPECT_EQ(REG_EXPAND_SZ, Value(HKEY_CLASSES_ROOT, kBitmapIcon, "OldBitmapIcon")->type);
    EXPECT_EQ(REG_SZ, Value(HKEY_CLASSES_ROOT, kBitmapIcon, "")->type);
    Click(page().CheckBox63);
    WritePage();
    auto restored = Value(HKEY_CLASSES_ROOT, kBitmapIcon, "");
    EXPECT_EQ(REG_EXPAND_SZ, restored->type);
    EXPECT_EQ("%W%\\p.exe,1", restored->Text());
}

TEST_F(WindowsPageTest, AStaleSavedIconIsNotWrittenOverAnIconSetLater) {
    PutText(HKEY_CLASSES_ROOT, kBitmapIcon, "", "C:\\new.exe,2");
    PutText(HKEY_CLASSES_ROOT, kBitmapIcon, "OldBitmapIcon", kPaintIcon);
    form().Apply();
    form().Apply();
    EXPECT_EQ("C:\\new.exe,2", DefaultText(HKEY_CLASSES_ROOT, kBitmapIcon));
    EXPECT_EQ(kPaintIcon, Value(HKEY_CLASSES_ROOT, kBitmapIcon, "OldBitmapIcon")->Text());
}

TEST_F(WindowsPageTest, ForeignVerbsStayWhileTheirBoxesAreUntouched) {
    PutText(HKEY_CLASSES_ROOT, "Unknown\\shell", "", "openas");
    PutText(HKEY_CLASSES_ROOT, "Unknown\\shell\\NotePad\\Command", "", "mynotepad.exe %1");
    PutText(HKEY_CLASSES_ROOT, "Directory\\shell\\DOS\\Command", "", "4dos.com");
    ReadPage();
    EXPECT_FALSE(page().CheckBox40.Checked());
    EXPECT_FALSE(page().CheckBox41.Checked());
    form().Apply();
    EXPECT_EQ("openas", DefaultText(HKEY_CLASSES_ROOT, "Unknown\\shell"));
    EXPECT_EQ("mynotepad.exe %1",
              DefaultText(HKEY_CLASSES_ROOT, "Unknown\\shell\\NotePad\\Command"));
    EXPECT_EQ("4dos.com", DefaultText(HKEY_CLASSES_ROOT, "Directory\\shell\\DOS\\Command"));
}

TEST_F(WindowsPageTest, ClearingTheThumbnailWithoutASavedIconLeavesItInPlace) {
    PutText(HKEY_CLASSES_ROOT, kBitmapIcon, "", "%1");
    ReadPage();
    EXPECT_TRUE(page().CheckBox63.Checked());
    Click(page().CheckBox63);
    WritePage();
    EXPECT_EQ("%1", DefaultText(HKEY_CLASSES_ROOT, kBitmapIcon));
}

TEST_F(WindowsPageTest, ASavedIconThatIsNoTextStopsTheWritePass) {
    PutText(HKEY_CLASSES_ROOT, kBitmapIcon, "", "%1");
    PutNumber(HKEY_CLASSES_ROOT, kBitmapIcon, "OldBitmapIcon", 5);
    ReadPage();
    Click(page().CheckBox63);
    EXPECT_THROW(WritePage(), StoreError);
    EXPECT_EQ("%1", DefaultText(HKEY_CLASSES_ROOT, kBitmapIcon));
}

TEST_F(WindowsPageTest, TheToolbarBackgroundEditorOpensOnlyFromTheUncheckedBox) {
    PutText(HKEY_CURRENT_USER, kToolbar, "BackBitmapShell", "C:\\WINDOWS\\Clouds.bmp");
    ReadPage();
    EXPECT_FALSE(page().Edit6.Visible());
    Click(page().CheckBox62);
    EXPECT_TRUE(page().CheckBox62.Checked());
    EXPECT_TRUE(page().Edit6.Visible());
    EXPECT_TRUE(page().SpeedButton2.Visible());
    EXPECT_EQ("Explorer toolbar background file", page().Label49.Caption());
    EXPECT_EQ("C:\\WINDOWS\\Clouds.bmp", page().Edit6.Text());

    prompts.Pick(std::nullopt);
    page().SpeedButton2.Click();
    EXPECT_EQ("C:\\WINDOWS\\Clouds.bmp", page().ToolbarBitmapPath()) << "cancel changes nothing";
    EXPECT_EQ("open", prompts.Asks().back().kind);
    EXPECT_EQ("Bitmaps (*.bmp)|*.bmp", prompts.Asks().back().text);
    prompts.Pick(std::string("C:\\WINDOWS\\Setup.bmp"));
    page().SpeedButton2.Click();
    EXPECT_EQ("C:\\WINDOWS\\Setup.bmp", page().Edit6.Text());

    Click(page().CheckBox33);  // any other box closes the editor
    EXPECT_FALSE(page().Edit6.Visible());
    form().Apply();
    EXPECT_EQ("C:\\WINDOWS\\Setup.bmp",
              Value(HKEY_CURRENT_USER, kToolbar, "BackBitmapShell")->Text());
    EXPECT_TRUE(page().CheckBox62.Checked()) << "the read pass never sets the editor's box";

    Click(page().CheckBox62);
    EXPECT_FALSE(page().Edit6.Visible()) << "the checked box is cleared, not edited";
    page().Edit6.SetText("C:\\typed.bmp");
    EXPECT_EQ("C:\\typed.bmp", page().ToolbarBitmapPath());
    PutText(HKEY_CURRENT_USER, kToolbar, "BackBitmapShell", "C:\\elsewhere.bmp");
    WritePage();
    EXPECT_EQ("C:\\elsewhere.bmp", Value(HKEY_CURRENT_USER, kToolbar, "BackBitmapShell")->Text())
        << "an unchecked editor writes nothing";
}

TEST_F(WindowsPageTest, PressesMarkTheBoxAndApplyClearsTheMarks) {
    ReadPage();
    page().CheckBox37.PressMouse(ui::MouseButton::Right);
    EXPECT_EQ(ui::kBlack, page().CheckBox37.FontColor());
    Click(page().CheckBox37);
    EXPECT_EQ(ui::kNavy, page().CheckBox37.FontColor());
    form().Apply();
    EXPECT_EQ(ui::kBlack, page().CheckBox37.FontColor());
    EXPECT_EQ((std::vector<BYTE>{1, 0, 0, 0}),
              Value(HKEY_CURRENT_USER, kDesktop, "SmoothScroll")->bytes);
    Click(page().CheckBox37);
    WritePass();
    EXPECT_FALSE(Value(HKEY_CURRENT_USER, kDesktop, "SmoothScroll"));
}

TEST_F(WindowsPageTest, ClearingTheArrowBoxCreatesTheShortcutClassWhereItIsMissing) {
    ReadPage();
    EXPECT_TRUE(page().CheckBox34.Checked()) << "no IsShortcut: no arrow";
    Click(page().CheckBox34);
    WritePage();
    auto stored = Value(HKEY_CLASSES_ROOT, "lnkfile", "IsShortcut");
    ASSERT_TRUE(stored);
    EXPECT_EQ((std::vector<BYTE>{0}), stored->bytes);
}

TEST_F(WindowsPageTest, SwitchingPagesPutsTheToolbarEditorAway) {
    ReadPage();
    Click(page().CheckBox62);
    for (ui::Control* c :
         std::initializer_list<ui::Control*>{&page().Label49, &page().Edit6, &page().SpeedButton2})
        EXPECT_TRUE(c->Visible()) << c->Name();
    form().PageControl1.ChoosePage(&pages().system.Sheet);
    for (ui::Control* c :
         std::initializer_list<ui::Control*>{&page().Label49, &page().Edit6, &page().SpeedButton2})
        EXPECT_FALSE(c->Visible()) << c->Name();
}

TEST_F(WindowsPageTest, TheVerbsAndTheThumbnailAreBuiltWhereNoKeyExists) {
    ReadPage();
    Click(page().CheckBox40);
    Click(page().CheckBox41);
    Click(page().CheckBox63);
    WritePage();
    EXPECT_EQ("Notepad", DefaultText(HKEY_CLASSES_ROOT, "Unknown\\shell"));
    EXPECT_EQ("&Notepad", DefaultText(HKEY_CLASSES_ROOT, "Unknown\\shell\\NotePad"));
    EXPECT_EQ("notepad.exe %1", DefaultText(HKEY_CLASSES_ROOT, "Unknown\\shell\\NotePad\\Command"));
    EXPECT_EQ("Command Prompt Here", DefaultText(HKEY_CLASSES_ROOT, "Directory\\shell\\DOS"));
    EXPECT_EQ("%1", DefaultText(HKEY_CLASSES_ROOT, kBitmapIcon));
    EXPECT_EQ("", Value(HKEY_CLASSES_ROOT, kBitmapIcon, "OldBitmapIcon")->Text());
}

}  // namespace
}  // namespace vt::testing
