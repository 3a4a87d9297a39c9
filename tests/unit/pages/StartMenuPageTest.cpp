#include "unit/pages/PageFixture.h"

#include <algorithm>

namespace vt::testing {
namespace {

const char* const kPolicies = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
const char* const kAdvanced = "Software\\Microsoft\\Windows\\CurrentVersion\\explorer\\Advanced";
const char* const kMenuOrder = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MenuOrder";
const char* const kDesktop = "Control Panel\\Desktop";

class StartMenuPageTest : public PageTest {
  protected:
    StartMenuPageTest() { form().WindowsDir = "C:\\WINDOWS"; }
    StartMenuPage& page() { return pages().startMenu; }
    void ReadPage() { ReadPass(); }
    void WritePage() { WritePass(); }
    std::string ControlPanel() { return form().Folders.ControlPanelFolder(); }
    std::string RecycleBin() { return form().Folders.RecycleBinFolder(); }
};

struct PolicyCase {
    DWORD type;
    std::vector<BYTE> bytes;
    bool checked;
};

class PolicyReadTest : public StartMenuPageTest,
                       public ::testing::WithParamInterface<PolicyCase> {};

TEST_P(PolicyReadTest, OnlyBinaryOneOfAtMostFourBytesIsChecked) {
    sys.PutValue(HKEY_CURRENT_USER, kPolicies, "NoRun", GetParam().type, GetParam().bytes);
    ReadPage();
    EXPECT_EQ(GetParam().checked, page().CheckBox51.Checked());
}

INSTANTIATE_TEST_SUITE_P(Values, PolicyReadTest,
                         ::testing::Values(PolicyCase{REG_BINARY, {1, 0, 0, 0}, true},
                                           PolicyCase{REG_BINARY, {1}, true},
                                           PolicyCase{REG_BINARY, {1, 0}, true},
                                           PolicyCase{REG_BINARY, {1, 0, 0, 0, 0}, false},
                                           PolicyCase{REG_BINARY, {2, 0, 0, 0}, false},
                                           PolicyCase{REG_DWORD, {1, 0, 0, 0}, false}));

TEST_F(StartMenuPageTest, AShortPolicyValueIsNotMixedWithTheNumberReadBefore) {
    PutBytes(HKEY_CURRENT_USER, kPolicies, "NoFind", {0, 1, 0, 0});
    ReadPage();
    PutBytes(HKEY_CURRENT_USER, kPolicies, "NoFind", {1});
    ReadPage();
    EXPECT_TRUE(page().CheckBox50.Checked());
}

TEST_F(StartMenuPageTest, AnIntegerPolicyStaysAsStoredUntilItsBoxChanges) {
    PutNumber(HKEY_CURRENT_USER, kPolicies, "NoRun", 1);
    ReadPage();
    EXPECT_FALSE(page().CheckBox51.Checked());
    Click(page().CheckBox52);
    Click(page().CheckBox50);
    Click(page().CheckBox50);  // ticked and cleared again: unchanged
    WritePage();
    auto noRun = Value(HKEY_CURRENT_USER, kPolicies, "NoRun");
    ASSERT_TRUE(noRun);
    EXPECT_EQ(REG_DWORD, noRun->type);
    EXPECT_EQ((std::vector<BYTE>{1, 0, 0, 0}), noRun->bytes);
    EXPECT_EQ((std::vector<BYTE>{1, 0, 0, 0}),
              Value(HKEY_CURRENT_USER, kPolicies, "NoClose")->bytes);
    EXPECT_FALSE(Value(HKEY_CURRENT_USER, kPolicies, "NoFind"));
    Click(page().CheckBox51);  // now the user does tick it
    WritePage();
    noRun = Value(HKEY_CURRENT_USER, kPolicies, "NoRun");
    ASSERT_TRUE(noRun);
    EXPECT_EQ(REG_BINARY, noRun->type);
    EXPECT_EQ((std::vector<BYTE>{1, 0, 0, 0}), noRun->bytes);
}

struct DelayCase {
    const char* stored;  // nullptr: no value
    int shown;
};

class DelayReadTest : public StartMenuPageTest, public ::testing::WithParamInterface<DelayCase> {};

TEST_P(DelayReadTest, TheSpinEditShowsTheDelayHeldToItsRange) {
    if (GetParam().stored) PutText(HKEY_CURRENT_USER, kDesktop, "MenuShowDelay", GetParam().stored);
    ReadPage();
    EXPECT_EQ(GetParam().shown, page().SpinEdit2.Value());
}

INSTANTIATE_TEST_SUITE_P(Texts, DelayReadTest,
                         ::testing::Values(DelayCase{nullptr, 400}, DelayCase{"600", 500},
                                           DelayCase{"abc", 400}, DelayCase{"10", 10},
                                           DelayCase{"-3", 0}, DelayCase{"", 400}));

TEST_F(StartMenuPageTest, TheDelayIsEditedFromTheUncheckedBoxAndWrittenWhileChecked) {
    PutText(HKEY_CURRENT_USER, kDesktop, "MenuShowDelay", "250");
    ReadPage();
    EXPECT_FALSE(page().SpinEdit2.Visible());
    Click(page().CheckBox30);
    EXPECT_TRUE(page().SpinEdit2.Visible());
    EXPECT_TRUE(page().Label5.Visible());
    EXPECT_TRUE(page().Label6.Visible());
    page().SpinEdit2.Type("9999");
    EXPECT_EQ("999", page().SpinEdit2.Text()) << "at most three characters";
    page().SpinEdit2.LoseFocus();
    EXPECT_EQ("500", page().SpinEdit2.Text());
    page().SpinEdit2.Type("12");
    form().Apply();
    EXPECT_EQ("12", Value(HKEY_CURRENT_USER, kDesktop, "MenuShowDelay")->Text());
    EXPECT_TRUE(page().CheckBox30.Checked()) << "the read pass never sets the delay box";
    EXPECT_FALSE(page().SpinEdit2.Visible());

    page().SpinEdit2.Type("77");
    Click(page().CheckBox30);
    EXPECT_EQ(12, page().SpinEdit2.Value()) << "clearing the box discards the unsaved edit";
    EXPECT_FALSE(page().SpinEdit2.Visible());
    PutText(HKEY_CURRENT_USER, kDesktop, "MenuShowDelay", "300");
    WritePage();
    EXPECT_EQ("300", Value(HKEY_CURRENT_USER, kDesktop, "MenuShowDelay")->Text());
}

TEST_F(StartMenuPageTest, AnEmptiedDelayIsWrittenAsZero) {
    ReadPage();
    Click(page().CheckBox30);
    page().SpinEdit2.Type("");
    WritePage();
    EXPECT_EQ("0", Value(HKEY_CURRENT_USER, kDesktop, "MenuShowDelay")->Text());
}

TEST_F(StartMenuPageTest, TheSpecialFoldersFollowTheBoxesAndTheDisk) {
    ReadPage();
    EXPECT_FALSE(page().CheckBox58.Checked());
    Click(page().CheckBox58);
    Click(page().CheckBox60);
    WritePage();
    EXPECT_TRUE(sys.HasDirectory(ControlPanel())) << "created with its Start Menu parent";
    EXPECT_TRUE(sys.HasDirectory(RecycleBin()));
    ReadPage();
    EXPECT_TRUE(page().CheckBox58.Checked());

    sys.RemoveDirectoryA(ControlPanel().c_str());  // deleted outside the program
    ReadPage();
    EXPECT_FALSE(page().CheckBox58.Checked());

    sys.PutFile(RecycleBin() + "\\note.txt", "kept");
    Click(page().CheckBox60);
    EXPECT_NO_THROW(WritePage()) << "a folder that is not empty stays, silently";
    ReadPage();
    EXPECT_TRUE(page().CheckBox60.Checked());
}

TEST_F(StartMenuPageTest, AFolderThatCannotBeCreatedIsSkippedSilently) {
    ReadPage();
    Click(page().CheckBox58);
    // Every folder but the restore point's.
    sys.FailWhen(
        [](const fake::CallInfo& c) {
            return c.kind == fake::Call::CreateDirectory &&
                   c.path.find("\\Restore") == std::string::npos;
        },
        ERROR_ACCESS_DENIED);
    EXPECT_NO_THROW(WritePage());
    sys.ClearFaults();
    ReadPage();
    EXPECT_FALSE(page().CheckBox58.Checked());
}

TEST_F(StartMenuPageTest, AMenuOrderIsDeletedOnEveryPassWhileItsBoxIsTicked) {
    for (auto [box, menu, other] : {std::tuple{&page().CheckBox31, "Start Menu", "Favorites"},
                                    std::tuple{&page().CheckBox61, "Favorites", "Start Menu"}}) {
        const std::string order = std::string(kMenuOrder) + "\\" + menu;
        const std::string untouched = std::string(kMenuOrder) + "\\" + other;
        PutBytes(HKEY_CURRENT_USER, order + "\\Programs", "Order", {1});
        PutBytes(HKEY_CURRENT_USER, untouched, "Order", {1});
        ReadPage();
        Click(*box);
        for (int pass = 0; pass < 2; ++pass) {
            form().Apply();
            EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, order)) << menu << " pass " << pass;
            EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, untouched)) << menu;
            EXPECT_TRUE(box->Checked());
            // Explorer writes an order again as soon as the user drags an item.
            PutBytes(HKEY_CURRENT_USER, order + "\\Programs", "Order", {2});
        }
        Click(*box);
        form().Apply();
        EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, order)) << menu << ": a cleared box leaves it";
    }
}

TEST_F(StartMenuPageTest, AKeyThatCannotBeOpenedReadsAsMissingValues) {
    PutBytes(HKEY_CURRENT_USER, kPolicies, "NoFind", {1, 0, 0, 0});
    PutText(HKEY_LOCAL_MACHINE, kAdvanced, "StartMenuScrollPrograms", "FALSE");
    PutText(HKEY_CURRENT_USER, kDesktop, "MenuShowDelay", "10");
    sys.FailWhen([](const fake::CallInfo& c) { return c.kind == fake::Call::RegOpenKey; },
                 ERROR_ACCESS_DENIED);
    ReadPage();
    EXPECT_FALSE(page().CheckBox50.Checked());
    EXPECT_FALSE(page().CheckBox59.Checked());
    EXPECT_EQ(400, page().SpinEdit2.Value());
}

// The Windows and Start Menu settings interleave in both passes.
TEST_F(StartMenuPageTest, TheReadPassOrdersBothPagesAsOne) {
    PutNumber(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\FileSystem\\CDFS",
              "PreFetch", 228);
    PutBytes(HKEY_CLASSES_ROOT, "CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}\\ShellFolder",
             "Attributes", {0x40, 1, 0, 0x20});
    PutText(HKEY_CURRENT_USER, kDesktop, "MenuShowDelay", "400");
    PutText(HKEY_CURRENT_USER, kDesktop, "PaintDesktopVersion", "0");
    PutText(HKEY_CURRENT_USER, "Software\\Microsoft\\Internet Explorer\\Toolbar", "BackBitmapShell",
            "");
    for (const char* policy : {"NoFind", "NoRecentDocsHistory"})
        PutBytes(HKEY_CURRENT_USER, kPolicies, policy, {0});
    PutText(HKEY_LOCAL_MACHINE, kAdvanced, "StartMenuScrollPrograms", "TRUE");
    sys.ClearCalls();
    form().BacaData();
    std::vector<std::string> names;
    for (const fake::CallInfo& call : sys.Calls())
        if (call.kind == fake::Call::RegQueryValue && (names.empty() || names.back() != call.name))
            names.push_back(call.name);
    auto at = [&](const std::string& name) {
        return std::find(names.begin(), names.end(), name) - names.begin();
    };
    for (const char* name :
         {"PreFetch", "Attributes", "MenuShowDelay", "PaintDesktopVersion", "BackBitmapShell",
          "NoFind", "NoRecentDocsHistory", "StartMenuScrollPrograms"})
        ASSERT_LT(at(name), static_cast<long>(names.size())) << name << " is read";
    EXPECT_LT(at("PreFetch"), at("Attributes"));
    EXPECT_LT(at("Attributes"), at("MenuShowDelay"));
    EXPECT_LT(at("MenuShowDelay"), at("PaintDesktopVersion"));
    EXPECT_LT(at("BackBitmapShell"), at("NoFind"));
    EXPECT_LT(at("NoRecentDocsHistory"), at("StartMenuScrollPrograms"));
}

TEST_F(StartMenuPageTest, TheWritePassOrdersBothPagesAsOne) {
    form().BacaData();
    Click(page().CheckBox30);
    page().SpinEdit2.SetValue(100);
    Click(page().CheckBox50);
    Click(pages().windows.CheckBox29);
    Click(pages().windows.CheckBox37);
    Click(pages().system.CheckBox28);
    pages().system.TrackBar1.Drag(3);
    sys.ClearCalls();
    form().TulisData();
    std::vector<std::string> names;
    for (const fake::CallInfo& call : sys.Calls())
        if (call.kind == fake::Call::RegSetValue) names.push_back(call.name);
    auto at = [&](const std::string& name) {
        return std::find(names.begin(), names.end(), name) - names.begin();
    };
    EXPECT_LT(at("PreFetch"), at("Attributes"));
    EXPECT_LT(at("Attributes"), at("MenuShowDelay"));
    EXPECT_LT(at("MenuShowDelay"), at("SmoothScroll"));
    EXPECT_LT(at("SmoothScroll"), at("NoFind"));
    EXPECT_LT(at("NoFind"), static_cast<long>(names.size()));
}

// Without a Start menu folder the folder paths would start at the root of the drive.
TEST_F(StartMenuPageTest, WithoutAStartMenuFolderNoFolderIsMadeOrRemoved) {
    sys.MakeDirectories("\\Start Menu\\Recycle Bin.{645FF040-5081-101B-9F08-00AA002F954E}");
    form().WindowsDir.clear();
    form().Folders = ShellFolders::BelowWindows("");
    ReadPage();
    EXPECT_FALSE(page().CheckBox60.Checked());
    Click(page().CheckBox58);
    page().CheckBox60.SetChecked(true);
    sys.ClearCalls();
    WritePage();
    for (const fake::CallInfo& call : sys.Calls()) {
        EXPECT_NE(fake::Call::CreateDirectory, call.kind) << call.path;
        EXPECT_NE(fake::Call::RemoveDirectory, call.kind) << call.path;
    }
}

// With user profiles the folders live in the user's Start menu; Back to Windows Default also
// takes away the empty ones an earlier version made below the Windows directory.
TEST_F(StartMenuPageTest, TheSpecialFoldersGoWhereTheShellKeepsTheStartMenu) {
    const ShellFolders earlier = form().Folders;
    sys.MakeDirectories(earlier.ControlPanelFolder());
    sys.MakeDirectories(earlier.RecycleBinFolder());
    sys.PutFile(earlier.RecycleBinFolder() + "\\note.txt", "kept");
    UseUserProfile();
    ReadPage();
    EXPECT_FALSE(page().CheckBox58.Checked()) << "not in the Start menu the user sees";
    Click(page().CheckBox58);
    WritePage();
    EXPECT_TRUE(
        sys.HasDirectory(std::string(kProfile) +
                         "\\Start Menu\\Control Panel.{21EC2020-3AEA-1069-A2DD-08002B30309D}"));
    ReadPage();
    page().ResetToWindowsDefault();
    WritePage();
    EXPECT_FALSE(sys.HasDirectory(ControlPanel()));
    EXPECT_FALSE(sys.HasDirectory(earlier.ControlPanelFolder()));
    EXPECT_TRUE(sys.HasFile(earlier.RecycleBinFolder() + "\\note.txt")) << "the user's file stays";
}

TEST_F(StartMenuPageTest, AFolderIsMadeOrRemovedOnlyWhenItsBoxChanged) {
    sys.MakeDirectories(ControlPanel());
    ReadPage();
    EXPECT_TRUE(page().CheckBox58.Checked());
    sys.ClearCalls();
    WritePage();
    for (const fake::CallInfo& call : sys.Calls())
        EXPECT_NE(fake::Call::RemoveDirectory, call.kind) << call.path;
    Click(page().CheckBox58);
    WritePage();
    EXPECT_FALSE(sys.HasDirectory(ControlPanel()));
}

TEST_F(StartMenuPageTest, APressOnAnyBoxPutsTheDelayAway) {
    ReadPage();
    Click(page().CheckBox30);
    EXPECT_TRUE(page().SpinEdit2.Visible());
    page().CheckBox51.PressMouse(ui::MouseButton::Left);
    EXPECT_FALSE(page().SpinEdit2.Visible());
    Click(page().CheckBox30);  // cleared
    Click(page().CheckBox30);  // ticked: shown
    Click(page().CheckBox30);  // cleared again: put away
    EXPECT_FALSE(page().SpinEdit2.Visible());
}

TEST_F(StartMenuPageTest, TickingTheMenuOrderWhereThereIsNoneCreatesNothing) {
    ReadPage();
    Click(page().CheckBox31);
    Click(page().CheckBox61);
    WritePage();
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kMenuOrder));
}

TEST_F(StartMenuPageTest, AnEmptyPolicyReadsAsZeroWhateverWasKept) {
    PutBytes(HKEY_CURRENT_USER, kPolicies, "NoFind", {1, 0, 0, 0});
    ReadPage();
    EXPECT_TRUE(page().CheckBox50.Checked());
    PutBytes(HKEY_CURRENT_USER, kPolicies, "NoFind", {});
    ReadPage();
    EXPECT_FALSE(page().CheckBox50.Checked());
}

}  // namespace
}  // namespace vt::testing
