#include "unit/pages/PageFixture.h"

namespace vt::testing {
namespace {

const char* const kPolicies = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
const char* const kCdfs = "System\\CurrentControlSet\\Control\\FileSystem\\CDFS";
const char* const kCurrentVersion = "Software\\Microsoft\\Windows\\CurrentVersion";
const char* const kSetup = "Software\\Microsoft\\Windows\\CurrentVersion\\Setup";
const char* const kExplorer = "Software\\Microsoft\\Windows\\CurrentVersion\\explorer";

class SystemPageTest : public PageTest {
  protected:
    SystemPage& page() { return pages().system; }
    const SystemPage::State& state() { return page().GetState(); }
};

TEST_F(SystemPageTest, BeepIsComparedInUpperCaseAndRestoredOnlyWhenPresent) {
    PutText(HKEY_CURRENT_USER, "Control Panel\\Sound", "Beep", "yes");
    ReadPass();
    EXPECT_TRUE(page().CheckBox15.Checked());
    Click(page().CheckBox15);
    WritePass();
    EXPECT_EQ("NO", Value(HKEY_CURRENT_USER, "Control Panel\\Sound", "Beep")->Text());
}

TEST_F(SystemPageTest, AnUncheckedBeepWritesNothingWhenTheValueIsMissing) {
    ReadPass();
    WritePass();
    EXPECT_FALSE(Value(HKEY_CURRENT_USER, "Control Panel\\Sound", "Beep"));
}

TEST_F(SystemPageTest, SystemIniKeysAreWrittenWhileCheckedAndDeletedWhenNot) {
    sys.PutFile("C:\\WINDOWS\\SYSTEM.INI", "[386Enh]\r\nPageBuffers=32\r\ndevice=*vcd\r\n");
    ReadPass();
    EXPECT_TRUE(page().CheckBox18.Checked());
    EXPECT_FALSE(page().CheckBox16.Checked());
    Click(page().CheckBox16);
    Click(page().CheckBox18);
    WritePass();
    TIniFile ini(sys, kSystemIni);
    EXPECT_EQ("1", ini.ReadText("386Enh", "LocalLoadHigh", "-"));
    EXPECT_FALSE(ini.HasValue("386Enh", "PageBuffers"));
    EXPECT_EQ("*vcd", ini.ReadText("386Enh", "device", "-"));
}

TEST_F(SystemPageTest, AnIntegerAutoRunValueReadsUncheckedAndStaysUntilTheBoxChanges) {
    PutNumber(HKEY_CURRENT_USER, kPolicies, "NoDriveTypeAutoRun", 0xFF);
    ReadPass();
    EXPECT_FALSE(page().CheckBox26.Checked());
    WritePass();
    auto stored = Value(HKEY_CURRENT_USER, kPolicies, "NoDriveTypeAutoRun");
    ASSERT_TRUE(stored);
    EXPECT_EQ(REG_DWORD, stored->type) << "an administrator's FF keeps every drive quiet";
    EXPECT_EQ((std::vector<BYTE>{0xFF, 0, 0, 0}), stored->bytes);
    Click(page().CheckBox26);
    Click(page().CheckBox26);
    Click(page().CheckBox26);
    WritePass();
    stored = Value(HKEY_CURRENT_USER, kPolicies, "NoDriveTypeAutoRun");
    EXPECT_EQ(REG_BINARY, stored->type);
    EXPECT_EQ((std::vector<BYTE>{0xBD, 0, 0, 0}), stored->bytes);
}

TEST_F(SystemPageTest, BinaryAutoRunBdShowsCheckedAndAShortValueKeepsTheHighBytes) {
    PutBytes(HKEY_CURRENT_USER, kPolicies, "NoDriveTypeAutoRun", {0xBD, 0, 0, 0});
    ReadPass();
    EXPECT_TRUE(page().CheckBox26.Checked());
    PutBytes(HKEY_CURRENT_USER, kPolicies, "NoDriveTypeAutoRun", {0x95});
    ReadPass();
    EXPECT_FALSE(page().CheckBox26.Checked()) << "95 over the kept BD 00 00 00 is 95";
}

TEST_F(SystemPageTest, ContiguousAllocationIsAnIntegerDeletedWhenUnchecked) {
    PutNumber(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\FileSystem",
              "ContigFileAllocSize", 512);
    ReadPass();
    EXPECT_TRUE(page().CheckBox17.Checked());
    Click(page().CheckBox17);
    WritePass();
    EXPECT_FALSE(Value(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\FileSystem",
                       "ContigFileAllocSize"));
}

TEST_F(SystemPageTest, TheReadPassNeverSetsTheValueEditors) {
    PutText(HKEY_LOCAL_MACHINE, kSetup, "SourcePath", "D:\\WIN98\\");
    page().CheckBox22.SetChecked(true);
    ReadPass();
    EXPECT_FALSE(page().CheckBox21.Checked());
    EXPECT_TRUE(page().CheckBox22.Checked());
    EXPECT_EQ("D:\\WIN98\\", state().sourcePath);
}

TEST_F(SystemPageTest, MaxCachedIconsThatIsNoNumberIsKeptAs512AtPositionZero) {
    PutText(HKEY_LOCAL_MACHINE, kExplorer, "Max Cached Icons", "abc");
    ReadPass();
    EXPECT_EQ("512", state().iconCache);
    page().TrackBar1.SetPosition(3);
    Click(page().CheckBox25);
    EXPECT_EQ(0, page().TrackBar1.Position());
    EXPECT_EQ("Up to 512 icons will be cached.", page().Label3.Caption());
    WritePass();
    EXPECT_EQ("abc", Value(HKEY_LOCAL_MACHINE, kExplorer, "Max Cached Icons")->Text())
        << "the editor still shows what was read";
    page().TrackBar1.Drag(2);
    WritePass();
    EXPECT_EQ("2048", Value(HKEY_LOCAL_MACHINE, kExplorer, "Max Cached Icons")->Text());
}

TEST_F(SystemPageTest, TheCdCacheKeepsItsSizeWhenTheTrackStaysWhereItsBandIs) {
    PutNumber(HKEY_LOCAL_MACHINE, kCdfs, "CacheSize", 2000);
    ReadPass();
    page().TrackBar1.SetPosition(2);  // left there by an earlier editor
    Click(page().CheckBox27);
    EXPECT_EQ(2000, state().cdCache.value);
    EXPECT_EQ("CD-ROM cache size : 4000 kB", page().Label3.Caption());
}

TEST_F(SystemPageTest, TheCdCacheSnapsToItsBandWhenTheTrackMoves) {
    PutNumber(HKEY_LOCAL_MACHINE, kCdfs, "CacheSize", 2000);
    ReadPass();
    page().TrackBar1.SetPosition(0);
    Click(page().CheckBox27);
    EXPECT_EQ(2, page().TrackBar1.Position());
    EXPECT_EQ(2480, state().cdCache.value);
    EXPECT_EQ("CD-ROM cache size : 4960 kB", page().Label3.Caption());
    WritePass();
    auto stored = Value(HKEY_LOCAL_MACHINE, kCdfs, "CacheSize");
    ASSERT_TRUE(stored);
    EXPECT_EQ(REG_DWORD, stored->type);
    EXPECT_EQ((std::vector<BYTE>{0xB0, 0x09, 0, 0}), stored->bytes);
}

struct SpeedCase {
    std::int32_t prefetch;
    int position;
    const char* label;
};

class SpeedBandTest : public SystemPageTest, public ::testing::WithParamInterface<SpeedCase> {};

TEST_P(SpeedBandTest, PrefetchLiesInItsBand) {
    PutNumber(HKEY_LOCAL_MACHINE, kCdfs, "PreFetch", GetParam().prefetch);
    ReadPass();
    page().TrackBar1.SetPosition(0);
    Click(page().CheckBox28);
    EXPECT_EQ(GetParam().position, page().TrackBar1.Position());
    EXPECT_EQ(GetParam().label, page().Label3.Caption());
}

INSTANTIATE_TEST_SUITE_P(Bands, SpeedBandTest,
                         ::testing::Values(SpeedCase{-5, 0, "CD-ROM Speed : 4x"},
                                           SpeedCase{228, 0, "CD-ROM Speed : 4x"},
                                           SpeedCase{229, 1, "CD-ROM Speed : 8x"},
                                           SpeedCase{732, 6, "CD-ROM Speed : 24x"},
                                           SpeedCase{1340, 9, "CD-ROM Speed : 48x"},
                                           SpeedCase{99999, 10, "CD-ROM Speed : 50x"}));

TEST_F(SystemPageTest, CancellingTheFolderBrowserRestoresThePathAsRead) {
    PutText(HKEY_LOCAL_MACHINE, kSetup, "SourcePath", "D:\\WIN98\\");
    ReadPass();
    Click(page().CheckBox21);
    EXPECT_TRUE(page().Edit1.Visible());
    page().Edit1.Type("E:\\EDITED");
    EXPECT_EQ("E:\\EDITED", state().sourcePath);
    prompts.Pick(std::nullopt);
    page().SpeedButton1.Click();
    EXPECT_EQ("D:\\WIN98\\", state().sourcePath);
    EXPECT_EQ("D:\\WIN98\\", page().Edit1.Text());
    prompts.Pick(std::string("C:\\CABS"));
    page().SpeedButton1.Click();
    WritePass();
    EXPECT_EQ("C:\\CABS", Value(HKEY_LOCAL_MACHINE, kSetup, "SourcePath")->Text());
}

TEST_F(SystemPageTest, ClearingTheOwnerEditorRestoresWhatWasReadAndWritesNothing) {
    PutText(HKEY_LOCAL_MACHINE, kCurrentVersion, "RegisteredOwner", "Ann");
    PutText(HKEY_LOCAL_MACHINE, kCurrentVersion, "RegisteredOrganization", "Org");
    ReadPass();
    Click(page().CheckBox22);
    page().Edit1.Type("Bob");
    page().Edit2.Type("Other");
    form().Button5Click();  // Apply writes the edit and reads it back
    EXPECT_EQ("Bob", Value(HKEY_LOCAL_MACHINE, kCurrentVersion, "RegisteredOwner")->Text());
    EXPECT_TRUE(page().CheckBox22.Checked()) << "the read pass keeps the editor's state";
    Click(page().CheckBox22);
    EXPECT_FALSE(page().Edit1.Visible());
    EXPECT_EQ("Bob", state().owner);
    EXPECT_EQ("Other", state().organization);
    PutText(HKEY_LOCAL_MACHINE, kCurrentVersion, "RegisteredOwner", "Changed elsewhere");
    WritePass();
    EXPECT_EQ("Changed elsewhere",
              Value(HKEY_LOCAL_MACHINE, kCurrentVersion, "RegisteredOwner")->Text());
}

TEST_F(SystemPageTest, AnIconDepthOfEightSelectsNoButtonAndIsWrittenBack) {
    PutText(HKEY_CURRENT_USER, "Control Panel\\Desktop\\WindowMetrics", "Shell Icon BPP", "8");
    ReadPass();
    Click(page().CheckBox24);
    EXPECT_TRUE(page().RadioButton1.Visible());
    EXPECT_FALSE(page().RadioButton1.Checked() || page().RadioButton2.Checked() ||
                 page().RadioButton3.Checked());
    WritePass();
    EXPECT_EQ("8",
              Value(HKEY_CURRENT_USER, "Control Panel\\Desktop\\WindowMetrics", "Shell Icon BPP")
                  ->Text());
    page().RadioButton3.Click();
    WritePass();
    EXPECT_EQ("32",
              Value(HKEY_CURRENT_USER, "Control Panel\\Desktop\\WindowMetrics", "Shell Icon BPP")
                  ->Text());
}

TEST_F(SystemPageTest, AFailingRegistryWriteStopsThePassWithItsMessage) {
    ReadPass();
    Click(page().CheckBox17);
    Click(page().CheckBox23);
    sys.FailWhen(
        [](const fake::CallInfo& call) {
            return call.kind == fake::Call::RegSetValue && call.name == "ContigFileAllocSize";
        },
        ERROR_ACCESS_DENIED);
    EXPECT_THROW(WritePass(), RegistryError);
    sys.ClearFaults();
    EXPECT_FALSE(Value(HKEY_LOCAL_MACHINE, "Network\\Logon", "MustBeValidated"))
        << "settings after the failing one are not written";
}

}  // namespace
}  // namespace vt::testing
