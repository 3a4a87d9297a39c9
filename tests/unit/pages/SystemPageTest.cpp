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
    EXPECT_EQ("D:\\WIN98\\", state().sourcePath.Now());
}

TEST_F(SystemPageTest, MaxCachedIconsThatIsNoNumberIsKeptAs512AtPositionZero) {
    PutText(HKEY_LOCAL_MACHINE, kExplorer, "Max Cached Icons", "abc");
    ReadPass();
    EXPECT_EQ("512", state().iconCache.Now());
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
    EXPECT_EQ(2000, state().cdCache.Now().value);
    EXPECT_EQ("CD-ROM cache size : 4000 kB", page().Label3.Caption());
}

TEST_F(SystemPageTest, ANegativeCdCacheLiesInTheFirstBand) {
    PutNumber(HKEY_LOCAL_MACHINE, kCdfs, "CacheSize", static_cast<DWORD>(-5));
    ReadPass();
    page().TrackBar1.SetPosition(3);  // left there by an earlier editor
    Click(page().CheckBox27);
    EXPECT_EQ(0, page().TrackBar1.Position());
}

TEST_F(SystemPageTest, TheCdCacheSnapsToItsBandWhenTheTrackMoves) {
    PutNumber(HKEY_LOCAL_MACHINE, kCdfs, "CacheSize", 2000);
    ReadPass();
    page().TrackBar1.SetPosition(0);
    Click(page().CheckBox27);
    EXPECT_EQ(2, page().TrackBar1.Position());
    EXPECT_EQ(2480, state().cdCache.Now().value);
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
    EXPECT_EQ("E:\\EDITED", state().sourcePath.Now());
    prompts.Pick(std::nullopt);
    page().SpeedButton1.Click();
    EXPECT_EQ("D:\\WIN98\\", state().sourcePath.Now());
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
    form().Apply();  // Apply writes the edit and reads it back
    EXPECT_EQ("Bob", Value(HKEY_LOCAL_MACHINE, kCurrentVersion, "RegisteredOwner")->Text());
    EXPECT_TRUE(page().CheckBox22.Checked()) << "the read pass keeps the editor's state";
    Click(page().CheckBox22);
    EXPECT_FALSE(page().Edit1.Visible());
    EXPECT_EQ("Bob", state().owner.Now());
    EXPECT_EQ("Other", state().organization.Now());
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

// The editors share one track bar: the next editor's smaller maximum is a move like any other.
TEST_F(SystemPageTest, TheSharedTrackBarReactsWhenTheNextEditorLowersItsMaximum) {
    PutText(HKEY_LOCAL_MACHINE, kExplorer, "Max Cached Icons", "9000");
    PutNumber(HKEY_LOCAL_MACHINE, kCdfs, "PreFetch", 1400);
    PutNumber(HKEY_LOCAL_MACHINE, kCdfs, "CacheSize", 3000);
    ReadPass();
    Click(page().CheckBox28);  // speed editor: top band, position 10
    EXPECT_EQ(10, page().TrackBar1.Position());
    Click(page().CheckBox25);  // icon cache editor: maximum 4
    EXPECT_EQ(4, page().TrackBar1.Position());
    EXPECT_EQ("8064", state().iconCache.Now());
    EXPECT_EQ("Up to 8064 icons will be cached.", page().Label3.Caption());
    Click(page().CheckBox27);  // CD-ROM cache editor: maximum 3
    EXPECT_EQ(3, page().TrackBar1.Position());
    EXPECT_EQ(4960, state().cdCache.Now().value);
    EXPECT_EQ("CD-ROM cache size : 9920 kB", page().Label3.Caption());
    WritePass();
    EXPECT_EQ("8064", Value(HKEY_LOCAL_MACHINE, kExplorer, "Max Cached Icons")->Text());
    EXPECT_EQ((std::vector<BYTE>{0x60, 0x13, 0, 0}),
              Value(HKEY_LOCAL_MACHINE, kCdfs, "CacheSize")->bytes);
}

// Windows 98 keeps the CD-ROM figures as 4-byte binary values.
TEST_F(SystemPageTest, BinaryCdromFiguresReadAsNumbersAndKeepTheirType) {
    PutBytes(HKEY_LOCAL_MACHINE, kCdfs, "CacheSize", {0xD6, 0x04, 0, 0});  // 1238
    PutBytes(HKEY_LOCAL_MACHINE, kCdfs, "PreFetch", {0xE4, 0, 0, 0});      // 228
    ReadPass();
    EXPECT_EQ(1238, state().cdCache.Now().value);
    Click(page().CheckBox27);
    EXPECT_EQ("CD-ROM cache size : 2480 kB", page().Label3.Caption()) << "snapped to its band";
    page().TrackBar1.Drag(3);
    Click(page().CheckBox28);
    page().TrackBar1.Drag(1);
    WritePass();
    auto cache = Value(HKEY_LOCAL_MACHINE, kCdfs, "CacheSize");
    EXPECT_EQ(REG_BINARY, cache->type);
    EXPECT_EQ((std::vector<BYTE>{0x60, 0x13, 0, 0}), cache->bytes);  // 4960
    auto prefetch = Value(HKEY_LOCAL_MACHINE, kCdfs, "PreFetch");
    EXPECT_EQ(REG_BINARY, prefetch->type);
    EXPECT_EQ((std::vector<BYTE>{0x5A, 0x01, 0, 0}), prefetch->bytes);  // 346
}

TEST_F(SystemPageTest, BackToWindowsDefaultClearsTheBoxesAndWritesTheStockFiguresInTheirTypes) {
    PutBytes(HKEY_LOCAL_MACHINE, kCdfs, "CacheSize", {0xD6, 0x04, 0, 0});
    PutNumber(HKEY_LOCAL_MACHINE, kCdfs, "PreFetch", 1400);
    PutText(HKEY_LOCAL_MACHINE, kExplorer, "Max Cached Icons", "9000");
    PutText(HKEY_CURRENT_USER, "Control Panel\\Desktop\\WindowMetrics", "Shell Icon BPP", "8");
    PutText(HKEY_CURRENT_USER, "Control Panel\\Sound", "Beep", "yes");
    ReadPass();
    ASSERT_TRUE(page().CheckBox15.Checked());
    page().ResetToWindowsDefault();
    for (ui::CheckBox* box :
         {&page().CheckBox15, &page().CheckBox16, &page().CheckBox17, &page().CheckBox18,
          &page().CheckBox19, &page().CheckBox20, &page().CheckBox23, &page().CheckBox26})
        EXPECT_FALSE(box->Checked()) << box->Name();
    auto cache = Value(HKEY_LOCAL_MACHINE, kCdfs, "CacheSize");
    ASSERT_TRUE(cache);
    EXPECT_EQ(REG_BINARY, cache->type);
    EXPECT_EQ((std::vector<BYTE>{0x6C, 0x02, 0, 0}), cache->bytes);  // 620
    auto prefetch = Value(HKEY_LOCAL_MACHINE, kCdfs, "PreFetch");
    ASSERT_TRUE(prefetch);
    EXPECT_EQ(REG_DWORD, prefetch->type);
    EXPECT_EQ((std::vector<BYTE>{0xE4, 0, 0, 0}), prefetch->bytes);  // 228
    EXPECT_EQ("512", Value(HKEY_LOCAL_MACHINE, kExplorer, "Max Cached Icons")->Text());
    EXPECT_EQ("16",
              Value(HKEY_CURRENT_USER, "Control Panel\\Desktop\\WindowMetrics", "Shell Icon BPP")
                  ->Text());
}

TEST_F(SystemPageTest, AMissingCdromFigureIsWrittenAsAnInteger) {
    ReadPass();
    Click(page().CheckBox27);
    page().TrackBar1.Drag(1);
    WritePass();
    auto cache = Value(HKEY_LOCAL_MACHINE, kCdfs, "CacheSize");
    ASSERT_TRUE(cache);
    EXPECT_EQ(REG_DWORD, cache->type);
    EXPECT_EQ((std::vector<BYTE>{0xD8, 0x04, 0, 0}), cache->bytes);  // 1240
}

TEST_F(SystemPageTest, ARefusedDeleteIsReportedLikeARefusedWrite) {
    sys.PutFile("C:\\WINDOWS\\SYSTEM.INI", "[386Enh]\r\nLocalLoadHigh=1\r\n");
    ReadPass();
    Click(page().CheckBox16);
    sys.FailWhen(
        [](const fake::CallInfo& c) {
            return c.kind == fake::Call::WriteFile && c.path == "C:\\WINDOWS\\SYSTEM.INI";
        },
        ERROR_ACCESS_DENIED);
    try {
        WritePass();
        FAIL() << "the refused delete went unnoticed";
    } catch (const IniFileError& e) {
        EXPECT_TRUE(std::string(e.what()).starts_with(
            "Unable to write to C:\\WINDOWS\\SYSTEM.INI: the file is read-only"))
            << e.what();
    }
}

TEST_F(SystemPageTest, UntouchedRowsAndEditorsLeaveOddValuesAsStored) {
    sys.PutFile("C:\\WINDOWS\\SYSTEM.INI",
                "[386Enh]\r\nLocalLoadHigh=1\r\nPageBuffers=32\r\n[386Enh]\r\nPageBuffers=16\r\n");
    PutBytes(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\FileSystem",
             "DisableLowDiskSpaceBroadcast", {0x0C, 0, 0, 0});
    PutNumber(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\FileSystem",
              "ContigFileAllocSize", 1024);
    PutText(HKEY_CURRENT_USER, "Control Panel\\Sound", "Beep", "yes");
    PutText(HKEY_LOCAL_MACHINE, "Network\\Logon", "MustBeValidated", "1");
    PutText(HKEY_CURRENT_USER, "Control Panel\\Desktop\\WindowMetrics", "Shell Icon BPP", "8");
    sys.PutValue(HKEY_LOCAL_MACHINE, kCurrentVersion, "RegisteredOwner", REG_EXPAND_SZ,
                 {'%', 'U', '%', 0});
    const std::string ini = sys.FileText("C:\\WINDOWS\\SYSTEM.INI");
    ReadPass();
    for (ui::CheckBox* editor : {&page().CheckBox21, &page().CheckBox22, &page().CheckBox24,
                                 &page().CheckBox25, &page().CheckBox27, &page().CheckBox28})
        Click(*editor);  // opened and ticked, nothing edited
    sys.ClearCalls();
    WritePass();
    for (const fake::CallInfo& call : sys.Calls()) {
        EXPECT_NE(fake::Call::RegSetValue, call.kind) << call.path << " " << call.name;
        EXPECT_NE(fake::Call::RegDeleteValue, call.kind) << call.path << " " << call.name;
        EXPECT_NE(fake::Call::ProfileWrite, call.kind) << call.path << " " << call.name;
    }
    EXPECT_EQ(ini, sys.FileText("C:\\WINDOWS\\SYSTEM.INI"));
}

// The band tables of the three track-bar editors, at each band's edges: the position the
// stored value shows, and the value and label a move to that position gives.
struct BandCase {
    const char* editor;
    std::int32_t lowest, highest;  // the stored values the band holds
    int position;
    const char* moved;  // the value a move to the position writes
    const char* label;
};

std::ostream& operator<<(std::ostream& out, const BandCase& c) {
    return out << c.editor << " " << c.position;
}

class BandTest : public SystemPageTest, public ::testing::WithParamInterface<BandCase> {
  protected:
    ui::CheckBox& Editor() {
        std::string editor = GetParam().editor;
        return editor == "icons"   ? page().CheckBox25
               : editor == "cache" ? page().CheckBox27
                                   : page().CheckBox28;
    }
    void Store(std::int32_t value) {
        std::string editor = GetParam().editor;
        if (editor == "icons")
            PutText(HKEY_LOCAL_MACHINE, kExplorer, "Max Cached Icons", std::to_string(value));
        else
            PutNumber(HKEY_LOCAL_MACHINE, kCdfs, editor == "cache" ? "CacheSize" : "PreFetch",
                      static_cast<DWORD>(value));
    }
    std::string Written() {
        std::string editor = GetParam().editor;
        if (editor == "icons")
            return Value(HKEY_LOCAL_MACHINE, kExplorer, "Max Cached Icons")->Text();
        auto stored =
            Value(HKEY_LOCAL_MACHINE, kCdfs, editor == "cache" ? "CacheSize" : "PreFetch");
        return std::to_string(stored->bytes[0] | stored->bytes[1] << 8);
    }
};

TEST_P(BandTest, TheStoredValueShowsItsBandAndAMoveWritesTheBandValue) {
    const BandCase& c = GetParam();
    for (std::int32_t stored : {c.lowest, c.highest}) {
        Store(stored);
        form().Apply();
        Click(Editor());
        EXPECT_EQ(c.position, page().TrackBar1.Position()) << stored;
        Click(Editor());  // cleared again
    }
    page().TrackBar1.SetPosition(c.position == 0 ? 1 : 0);
    Click(Editor());
    EXPECT_TRUE(page().TrackBar1.Visible());
    EXPECT_TRUE(page().Label3.Visible());
    page().TrackBar1.Drag(c.position);
    EXPECT_EQ(c.label, page().Label3.Caption());
    WritePass();
    EXPECT_EQ(c.moved, Written());
}

INSTANTIATE_TEST_SUITE_P(
    Editors, BandTest,
    ::testing::Values(BandCase{"icons", 0, 512, 0, "512", "Up to 512 icons will be cached."},
                      BandCase{"icons", 513, 1024, 1, "1024", "Up to 1024 icons will be cached."},
                      BandCase{"icons", 1025, 2048, 2, "2048", "Up to 2048 icons will be cached."},
                      BandCase{"icons", 2049, 4096, 3, "4096", "Up to 4096 icons will be cached."},
                      BandCase{"icons", 4097, 99999, 4, "8064", "Up to 8064 icons will be cached."},
                      BandCase{"cache", 0, 620, 0, "620", "CD-ROM cache size : 1240 kB"},
                      BandCase{"cache", 621, 1240, 1, "1240", "CD-ROM cache size : 2480 kB"},
                      BandCase{"cache", 1241, 2480, 2, "2480", "CD-ROM cache size : 4960 kB"},
                      BandCase{"cache", 2481, 30000, 3, "4960", "CD-ROM cache size : 9920 kB"},
                      BandCase{"speed", 0, 228, 0, "228", "CD-ROM Speed : 4x"},
                      BandCase{"speed", 229, 346, 1, "346", "CD-ROM Speed : 8x"},
                      BandCase{"speed", 347, 402, 2, "402", "CD-ROM Speed : 10x"},
                      BandCase{"speed", 403, 540, 3, "540", "CD-ROM Speed : 16x"},
                      BandCase{"speed", 541, 580, 4, "580", "CD-ROM Speed : 18x"},
                      BandCase{"speed", 581, 700, 5, "700", "CD-ROM Speed : 22x"},
                      BandCase{"speed", 701, 732, 6, "732", "CD-ROM Speed : 24x"},
                      BandCase{"speed", 733, 940, 7, "940", "CD-ROM Speed : 32x"},
                      BandCase{"speed", 941, 1140, 8, "1140", "CD-ROM Speed : 40x"},
                      BandCase{"speed", 1141, 1340, 9, "1340", "CD-ROM Speed : 48x"},
                      BandCase{"speed", 1341, 9999, 10, "1400", "CD-ROM Speed : 50x"}));

TEST_F(SystemPageTest, TheIconDepthSelectsItsButtonAndOtherDepthsLeaveThemAlone) {
    struct Case {
        const char* stored;
        bool sixteen, twentyFour, thirtyTwo;
    };
    for (Case c : {Case{"x", true, false, false}, Case{"32", false, false, true},
                   Case{"24", false, true, false}, Case{"8", false, true, false},
                   Case{"16", true, false, false}}) {
        PutText(HKEY_CURRENT_USER, "Control Panel\\Desktop\\WindowMetrics", "Shell Icon BPP",
                c.stored);
        ReadPass();
        Click(page().CheckBox24);
        EXPECT_EQ(c.sixteen, page().RadioButton1.Checked()) << c.stored;
        EXPECT_EQ(c.twentyFour, page().RadioButton2.Checked()) << c.stored;
        EXPECT_EQ(c.thirtyTwo, page().RadioButton3.Checked()) << c.stored;
        Click(page().CheckBox24);
    }
}

TEST_F(SystemPageTest, ClearingAnEditorPutsBackOnlyItsOwnValueAsRead) {
    PutText(HKEY_LOCAL_MACHINE, kSetup, "SourcePath", "D:\\WIN98\\");
    PutText(HKEY_LOCAL_MACHINE, kCurrentVersion, "RegisteredOwner", "Ann");
    ReadPass();
    Click(page().CheckBox21);
    page().Edit1.Type("E:\\");
    Click(page().CheckBox22);
    page().Edit1.Type("Bob");
    Click(page().CheckBox22);  // cleared: the owner goes back, the path stays edited
    EXPECT_EQ("Ann", state().owner.Now());
    EXPECT_EQ("E:\\", state().sourcePath.Now());
    Click(page().CheckBox21);
    EXPECT_EQ("D:\\WIN98\\", state().sourcePath.Now());
}

TEST_F(SystemPageTest, EachTrackEditorEndsAtItsTopBandAndANegativeValueStartsAtZero) {
    PutNumber(HKEY_LOCAL_MACHINE, kCdfs, "CacheSize", static_cast<DWORD>(-5));
    ReadPass();
    struct Editor {
        ui::CheckBox& box;
        int top;
    };
    for (Editor e : {Editor{page().CheckBox25, 4}, Editor{page().CheckBox27, 3},
                     Editor{page().CheckBox28, 10}}) {
        page().TrackBar1.SetPosition(1);
        Click(e.box);
        if (&e.box == &page().CheckBox27) {
            EXPECT_EQ(0, page().TrackBar1.Position()) << "a size below 0";
        }
        page().TrackBar1.Drag(50);
        EXPECT_EQ(e.top, page().TrackBar1.Position()) << e.box.Name();
        Click(e.box);
    }
}

TEST_F(SystemPageTest, APressOnAnotherBoxPutsTheEditorAway) {
    ReadPass();
    Click(page().CheckBox21);
    EXPECT_TRUE(page().Edit1.Visible());
    page().CheckBox15.PressMouse(ui::MouseButton::Left);
    EXPECT_FALSE(page().Edit1.Visible());
    EXPECT_FALSE(page().SpeedButton1.Visible());
    Click(page().CheckBox21);  // cleared
    Click(page().CheckBox25);  // the icon cache editor: the path editor's widgets go first
    EXPECT_FALSE(page().Edit1.Visible());
    EXPECT_TRUE(page().TrackBar1.Visible());
}

TEST_F(SystemPageTest, TheChosenIconDepthIsWritten) {
    for (auto [radio, depth] :
         {std::pair{&page().RadioButton2, "24"}, std::pair{&page().RadioButton3, "32"},
          std::pair{&page().RadioButton1, "16"}}) {
        ReadPass();
        if (!page().CheckBox24.Checked()) Click(page().CheckBox24);
        radio->Click();
        WritePass();
        EXPECT_EQ(depth, Value(HKEY_CURRENT_USER, "Control Panel\\Desktop\\WindowMetrics",
                               "Shell Icon BPP")
                             ->Text());
    }
}

}  // namespace
}  // namespace vt::testing
