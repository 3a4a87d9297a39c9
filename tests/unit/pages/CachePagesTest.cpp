#include "unit/pages/PageFixture.h"

namespace vt::testing {
namespace {

const char* const kTemplates = "Software\\Microsoft\\Windows\\CurrentVersion\\FS Templates";
const char* const kSystemIniPath = "C:\\WINDOWS\\SYSTEM.INI";

std::vector<BYTE> Le(DWORD number) {
    return {BYTE(number), BYTE(number >> 8), BYTE(number >> 16), BYTE(number >> 24)};
}

class FileCacheTest : public PageTest {
  protected:
    FileCachePage& page() { return pages().fileCache; }
    void Template(const std::string& name, DWORD nameCache, DWORD pathCache) {
        std::string key = std::string(kTemplates) + "\\" + name;
        PutBytes(HKEY_LOCAL_MACHINE, key, "NameCache", Le(nameCache));
        PutBytes(HKEY_LOCAL_MACHINE, key, "PathCache", Le(pathCache));
    }
    void StockTemplates(const std::string& selected) {
        PutText(HKEY_LOCAL_MACHINE, kTemplates, "", selected);
        Template("Desktop", 0xA9, 0x10);
        Template("Mobile", 0x51, 0x10);
        Template("Server", 2729, 64);
    }
    void Choose(int role) { page().ComboBox3.ChooseItem(role); }
};

TEST_F(FileCacheTest, AServerTemplateShowsItsSizesAndARoleChangeWritesOnlyTheDefaultValue) {
    StockTemplates("Server");
    ReadPass();
    EXPECT_EQ(2729, page().SpinEdit6.Value());
    EXPECT_EQ(5, page().TrackBar5.Position());
    EXPECT_EQ(64, page().SpinEdit7.Value());
    EXPECT_EQ(8, page().TrackBar6.Position());
    EXPECT_EQ("Network Server", page().ComboBox3.Text());
    sys.ClearCalls();
    WritePass();
    for (const fake::CallInfo& call : sys.Calls())
        EXPECT_NE(fake::Call::RegSetValue, call.kind) << "untouched: " << call.name;

    Choose(2);  // "Mobile or docking system"
    EXPECT_EQ(337, page().SpinEdit6.Value());
    EXPECT_EQ(16, page().SpinEdit7.Value());
    EXPECT_EQ(2, page().TrackBar6.Position());
    EXPECT_EQ("Mobile or docking system", page().ComboBox3.Text());
    sys.ClearCalls();
    WritePass();
    std::vector<std::string> written;
    for (const fake::CallInfo& call : sys.Calls())
        if (call.kind == fake::Call::RegSetValue) written.push_back(call.path + "|" + call.name);
    EXPECT_EQ(std::vector<std::string>{std::string("HKEY_LOCAL_MACHINE\\") + kTemplates + "|"},
              written);
    EXPECT_EQ("Mobile", Value(HKEY_LOCAL_MACHINE, kTemplates, "")->Text());
}

// Enter presses OK (and the countdown writes) while the focus stays in the box: the number
// typed there is committed before the pass, as when the focus leaves it.
TEST_F(FileCacheTest, ANumberTypedIntoTheFocusedBoxIsCommittedBeforeTheWritePass) {
    StockTemplates("Desktop");
    ReadPass();
    page().TrackBar5.Drag(4);
    form().Typing = &page().SpinEdit6;
    page().SpinEdit6.Type("2100");
    form().Apply();
    EXPECT_EQ("Veltrim", Value(HKEY_LOCAL_MACHINE, kTemplates, "")->Text());
    EXPECT_EQ(Le(2100),
              Value(HKEY_LOCAL_MACHINE, std::string(kTemplates) + "\\Veltrim", "NameCache")->bytes);
}

TEST_F(FileCacheTest, DraggingTheNameCacheSelectsUserDefinedAndWritesTheOwnTemplate) {
    StockTemplates("Desktop");
    ReadPass();
    page().TrackBar5.Drag(3);
    EXPECT_EQ(1536, page().SpinEdit6.Value());
    EXPECT_EQ("User Defined", page().ComboBox3.Text());
    WritePass();
    const std::string own = std::string(kTemplates) + "\\Veltrim";
    EXPECT_EQ("Veltrim", Value(HKEY_LOCAL_MACHINE, kTemplates, "")->Text());
    EXPECT_EQ("Veltrim Settings", Value(HKEY_LOCAL_MACHINE, own, "")->Text());
    auto name = Value(HKEY_LOCAL_MACHINE, own, "NameCache");
    EXPECT_EQ(REG_BINARY, name->type);
    EXPECT_EQ((std::vector<BYTE>{0x00, 0x06, 0x00, 0x00}), name->bytes);
    EXPECT_EQ(Le(0x10), Value(HKEY_LOCAL_MACHINE, own, "PathCache")->bytes);
    ReadPass();
    EXPECT_EQ("User Defined", page().ComboBox3.Text()) << "\"Veltrim\" is no Windows role";
    EXPECT_EQ(1536, page().SpinEdit6.Value());
}

// The coupling waits for the whole number: the digits typed are never rewritten under the
// caret, and the number is held to the track bar's grid once the focus leaves the box.
TEST_F(FileCacheTest, TypingWithinAGridStepKeepsTheNumberAndTheRole) {
    StockTemplates("Desktop");
    ReadPass();
    page().TrackBar5.Drag(4);
    for (const char* typed : {"2", "21", "210", "2100"}) {
        page().SpinEdit6.Type(typed);
        EXPECT_EQ(typed, page().SpinEdit6.Text());
        EXPECT_EQ(4, page().TrackBar5.Position()) << typed;
    }
    page().SpinEdit6.LoseFocus();
    EXPECT_EQ("2100", page().SpinEdit6.Text()) << "within the fourth grid step";
    page().SpinEdit6.Type("1000");
    EXPECT_EQ("1000", page().SpinEdit6.Text());
    page().SpinEdit6.LoseFocus();
    EXPECT_EQ(1, page().TrackBar5.Position());
    EXPECT_EQ("512", page().SpinEdit6.Text());
    EXPECT_EQ("User Defined", page().ComboBox3.Text());
    Choose(1);
    page().SpinEdit6.Type("300");
    page().SpinEdit6.LoseFocus();
    EXPECT_EQ("300", page().SpinEdit6.Text());
    EXPECT_EQ("Desktop Computer", page().ComboBox3.Text());
    WritePass();
    EXPECT_EQ("Desktop", Value(HKEY_LOCAL_MACHINE, kTemplates, "")->Text());
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, std::string(kTemplates) + "\\Veltrim"))
        << "the 300 is not stored";
}

TEST_F(FileCacheTest, TheSpinEditsHoldTheirRangesAndAnArrowStepIsAGridStep) {
    PutText(HKEY_LOCAL_MACHINE, kTemplates, "", "Veltrim");
    Template("Veltrim", 10000, 200);
    ReadPass();
    EXPECT_EQ(6144, page().SpinEdit6.Value());
    EXPECT_EQ(12, page().TrackBar5.Position());
    EXPECT_EQ(128, page().SpinEdit7.Value());
    EXPECT_EQ(16, page().TrackBar6.Position());
    EXPECT_EQ(512, page().SpinEdit6.Increment());
    EXPECT_EQ(8, page().SpinEdit7.Increment());
    EXPECT_EQ(4, page().SpinEdit6.MaxLength());
    EXPECT_EQ(3, page().SpinEdit7.MaxLength());
}

TEST_F(FileCacheTest, ATemplateNamingNoSubkeyReadsTheKeyItselfAndAStockMachineStaysUntouched) {
    PutText(HKEY_LOCAL_MACHINE, kTemplates, "", "");
    Template("Desktop", 0xA9, 0x10);
    ReadPass();
    EXPECT_EQ("User Defined", page().ComboBox3.Text());
    EXPECT_EQ(0, page().SpinEdit6.Value());
    sys.ClearCalls();
    form().Apply();
    for (const fake::CallInfo& call : sys.Calls())
        EXPECT_NE(fake::Call::RegSetValue, call.kind) << call.name;
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, std::string(kTemplates) + "\\Veltrim"));
}

TEST_F(FileCacheTest, EachRoleSetsItsSizesAndUserDefinedChoosesTheOwnTemplate) {
    StockTemplates("Desktop");
    ReadPass();
    Choose(3);  // "Network Server"
    EXPECT_EQ(2729, page().SpinEdit6.Value());
    EXPECT_EQ(64, page().SpinEdit7.Value());
    EXPECT_EQ("Server", page().TemplateName);
    Choose(0);  // "User Defined"
    EXPECT_EQ("Veltrim", page().TemplateName);
    EXPECT_EQ(2729, page().SpinEdit6.Value()) << "the sizes shown stay";
    EXPECT_EQ(64, page().SpinEdit7.Value());
}

TEST_F(FileCacheTest, BackToWindowsDefaultIsTheDesktopRoleWithTheGaugesAtTheLeft) {
    StockTemplates("Server");
    ReadPass();
    page().ResetToWindowsDefault();
    EXPECT_EQ("Desktop", page().TemplateName);
    EXPECT_EQ("Desktop Computer", page().ComboBox3.Text());
    EXPECT_EQ(0, page().SpinEdit6.Value());
    EXPECT_EQ(0, page().SpinEdit7.Value());
    EXPECT_EQ(0, page().TrackBar5.Position());
    EXPECT_EQ(0, page().TrackBar6.Position());
}

// A PC without "FS Templates": a Windows role has no template to select and writes nothing;
// "User Defined" makes the key with its own template.
TEST_F(FileCacheTest, WithoutTemplatesAWindowsRoleWritesNothingAndUserDefinedMakesThem) {
    ReadPass();
    page().ResetToWindowsDefault();
    EXPECT_NO_THROW(WritePass());
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kTemplates));
    ReadPass();
    Choose(2);
    Choose(0);
    WritePass();
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, std::string(kTemplates) + "\\Veltrim"));
}

TEST_F(FileCacheTest, TheRoleListHoldsTheFourRolesInOrder) {
    EXPECT_EQ((std::vector<std::string>{"User Defined", "Desktop Computer",
                                        "Mobile or docking system", "Network Server"}),
              page().ComboBox3.Items());
}

struct GaugeCase {
    DWORD availPhys, totalPhys, availPage, totalPage;
    int physical, virtualMemory;
};

class GaugeTest : public FileCacheTest, public ::testing::WithParamInterface<GaugeCase> {};

TEST_P(GaugeTest, GaugesShowWholeKilobytePerCents) {
    const GaugeCase& c = GetParam();
    MEMORYSTATUS status{};
    status.dwAvailPhys = c.availPhys;
    status.dwTotalPhys = c.totalPhys;
    status.dwAvailPageFile = c.availPage;
    status.dwTotalPageFile = c.totalPage;
    sys.SetMemoryStatus(status);
    form().PageControl1.ChoosePage(&pages().fileCache.Sheet);
    EXPECT_EQ(c.physical, page().ProgressBar1.Position());
    EXPECT_EQ(c.virtualMemory, page().ProgressBar2.Position());
    EXPECT_EQ(std::to_string(c.physical) + " %", page().Label34.Caption());
    EXPECT_EQ(std::to_string(c.virtualMemory) + " %", page().Label46.Caption());
}

INSTANTIATE_TEST_SUITE_P(
    Figures, GaugeTest,
    ::testing::Values(GaugeCase{32u << 20, 128u << 20, 100u << 20, 200u << 20, 25, 50},
                      GaugeCase{1023, 2047, 0, 0, 0, 0},  // below a kilobyte; zero totals
                      GaugeCase{0xFFFFFC00u, 0xFFFFFC00u, 1u << 10, 3u << 10, 100, 33}));

// --- Disk-Cache ------------------------------------------------------------------------

class DiskCacheTest : public PageTest {
  protected:
    DiskCachePage& page() { return pages().diskCache; }
    void Vcache(const std::string& lines) {
        sys.PutFile(kSystemIniPath, "[386Enh]\r\ndevice=*vcd\r\n[vcache]\r\n" + lines);
    }
    std::string Key(const char* key) {
        TIniFile ini(sys, kSystemIni);
        return ini.ReadText("vcache", key, "<missing>");
    }
};

TEST_F(DiskCacheTest, AStockMachineWithoutTheKeysStaysUntouched) {
    Vcache("");
    const std::string before = sys.FileText(kSystemIniPath);
    ReadPass();
    EXPECT_EQ("0", page().Label22.Caption());
    EXPECT_EQ("User Defined", page().ComboBox1.Text());
    form().Apply();
    EXPECT_EQ(before, sys.FileText(kSystemIniPath));
}

// Off the grid, 2050 reads as the Standard System profile: choosing what is shown changes
// nothing.
TEST_F(DiskCacheTest, ChoosingUserDefinedOrTheProfileShownAgainWritesNothing) {
    Vcache("MinFileCache=3000\r\nMaxFileCache=65536\r\nchunksize=512\r\n");
    std::string before = sys.FileText(kSystemIniPath);
    ReadPass();
    page().ComboBox1.ChooseItem(0);
    WritePass();
    EXPECT_EQ(before, sys.FileText(kSystemIniPath));

    Vcache("MinFileCache=2050\r\nMaxFileCache=8192\r\nchunksize=512\r\n");
    before = sys.FileText(kSystemIniPath);
    ReadPass();
    ASSERT_EQ("Standard System", page().ComboBox1.Text());
    page().ComboBox1.ChooseItem(3);
    page().ComboBox1.ChooseItem(1);
    WritePass();
    EXPECT_EQ(before, sys.FileText(kSystemIniPath));
    page().ComboBox1.ChooseItem(0);
    WritePass();
    EXPECT_EQ(before, sys.FileText(kSystemIniPath)) << "User Defined is no profile";
    page().ComboBox1.Type("Gaming System");  // typed text selects no profile
    EXPECT_EQ(-1, page().ComboBox1.ItemIndex());
    WritePass();
    EXPECT_EQ(before, sys.FileText(kSystemIniPath)) << "typed text is no profile";
    page().ComboBox1.ChooseItem(3);
    WritePass();
    EXPECT_EQ("2048", Key("MinFileCache"));
    EXPECT_EQ("6144", Key("MaxFileCache"));
    EXPECT_EQ("1024", Key("chunksize"));
}

TEST_F(DiskCacheTest, BackToWindowsDefaultRemovesTheSizesAndLeavesNothingToWrite) {
    Vcache("MinFileCache=2048\r\nMaxFileCache=8192\r\nchunksize=512\r\n");
    ReadPass();
    page().ResetToWindowsDefault();
    for (ui::TrackBar* bar : {&page().TrackBar2, &page().TrackBar3, &page().TrackBar4})
        EXPECT_EQ(0, bar->Position()) << bar->Name();
    EXPECT_EQ("0", page().Label22.Caption());
    EXPECT_EQ("User Defined", page().ComboBox1.Text());
    for (const char* key : {"MinFileCache", "MaxFileCache", "chunksize"})
        EXPECT_EQ("<missing>", Key(key)) << key;
    const std::string after = sys.FileText(kSystemIniPath);
    WritePass();
    EXPECT_EQ(after, sys.FileText(kSystemIniPath));
}

TEST_F(DiskCacheTest, OffGridValuesShowOnTheGridAndStayUntilMoved) {
    Vcache("MinFileCache=3000\r\nMaxFileCache=65536\r\nchunksize=-5\r\n");
    ReadPass();
    EXPECT_EQ(2, page().TrackBar2.Position());
    EXPECT_EQ("2048", page().Label22.Caption());
    EXPECT_EQ(32, page().TrackBar3.Position());
    EXPECT_EQ("32768", page().Label23.Caption());
    EXPECT_EQ(0, page().TrackBar4.Position());
    WritePass();
    EXPECT_EQ("3000", Key("MinFileCache"));
    page().TrackBar3.Drag(31);
    page().TrackBar3.Drag(32);
    page().TrackBar2.Drag(3);
    WritePass();
    EXPECT_EQ("3072", Key("MinFileCache"));
    EXPECT_EQ("65536", Key("MaxFileCache")) << "moved and back: unchanged";
    EXPECT_EQ("-5", Key("CHUNKSIZE"));
}

struct ProfileCase {
    const char* stored;  // MinFileCache, MaxFileCache, CHUNKSIZE lines
    const char* selected;
};

class ProfileReadTest : public DiskCacheTest, public ::testing::WithParamInterface<ProfileCase> {};

TEST_P(ProfileReadTest, OnlyExactPositionsRecogniseAProfile) {
    Vcache(GetParam().stored);
    ReadPass();
    EXPECT_EQ(GetParam().selected, page().ComboBox1.Text());
}

INSTANTIATE_TEST_SUITE_P(
    Profiles, ProfileReadTest,
    ::testing::Values(
        ProfileCase{"MinFileCache=2048\r\nMaxFileCache=8192\r\nCHUNKSIZE=512\r\n",
                    "Standard System"},
        ProfileCase{"MinFileCache=2048\r\nMaxFileCache=8192\r\nCHUNKSIZE=544\r\n", "User Defined"},
        ProfileCase{"MinFileCache=6144\r\nMaxFileCache=12288\r\nCHUNKSIZE=512\r\n", "Power User"},
        ProfileCase{"MinFileCache=2048\r\nMaxFileCache=6144\r\nCHUNKSIZE=1024\r\n", "Multimedia"},
        ProfileCase{"MinFileCache=1024\r\nMaxFileCache=8192\r\nCHUNKSIZE=256\r\n", "Gaming System"},
        ProfileCase{"MinFileCache=12288\r\nMaxFileCache=12288\r\nCHUNKSIZE=256\r\n", "CD Writer"},
        ProfileCase{"MinFileCache=1024\r\nMaxFileCache=6144\r\nCHUNKSIZE=256\r\n",
                    "Low Memory System"}));

// Each profile, chosen, writes its three sizes; typed from the profile table.
struct ProfileWriteCase {
    int item;
    const char *name, *min, *max, *chunk;
};

class ProfileWriteTest : public DiskCacheTest,
                         public ::testing::WithParamInterface<ProfileWriteCase> {};

TEST_P(ProfileWriteTest, AChosenProfileWritesItsSizesAndStaysSelected) {
    const ProfileWriteCase& c = GetParam();
    Vcache("MinFileCache=99\r\n");
    ReadPass();
    page().ComboBox1.ChooseItem(c.item);
    EXPECT_EQ(c.name, page().ComboBox1.Text());
    EXPECT_EQ(c.min, page().Label22.Caption());
    EXPECT_EQ(c.max, page().Label23.Caption());
    EXPECT_EQ(c.chunk, page().Label24.Caption());
    WritePass();
    EXPECT_EQ(c.min, Key("MinFileCache"));
    EXPECT_EQ(c.max, Key("MaxFileCache"));
    EXPECT_EQ(c.chunk, Key("CHUNKSIZE"));
    EXPECT_EQ("*vcd", TIniFile(sys, kSystemIni).ReadText("386Enh", "device", "-"));
}

INSTANTIATE_TEST_SUITE_P(
    Profiles, ProfileWriteTest,
    ::testing::Values(ProfileWriteCase{1, "Standard System", "2048", "8192", "512"},
                      ProfileWriteCase{2, "Power User", "6144", "12288", "512"},
                      ProfileWriteCase{3, "Multimedia", "2048", "6144", "1024"},
                      ProfileWriteCase{4, "Gaming System", "1024", "8192", "256"},
                      ProfileWriteCase{5, "CD Writer", "12288", "12288", "256"},
                      ProfileWriteCase{6, "Low Memory System", "1024", "6144", "256"}));

TEST_F(DiskCacheTest, DraggingAfterAProfileSelectsUserDefinedAndAMinimumAboveTheMaximumIsKept) {
    Vcache("");
    ReadPass();
    page().ComboBox1.ChooseItem(1);
    page().TrackBar2.Drag(3);
    EXPECT_EQ("User Defined", page().ComboBox1.Text());
    page().TrackBar2.Drag(2);
    EXPECT_EQ("User Defined", page().ComboBox1.Text()) << "only a read recognises a profile";
    page().TrackBar2.Drag(12);
    page().TrackBar3.Drag(6);
    WritePass();
    EXPECT_EQ("12288", Key("MinFileCache"));
    EXPECT_EQ("6144", Key("MaxFileCache"));
}

TEST_F(DiskCacheTest, EachKbLabelStandsFivePixelsAfterItsValue) {
    Vcache("");
    ReadPass();
    page().TrackBar4.Drag(32);
    const ui::Bounds& value = page().Label24.GetBounds();
    EXPECT_EQ(value.left + ui::MeasureText("1024") + 5, page().Label13.GetBounds().left);
    form().PageControl1.ChoosePage(&pages().diskCache.Sheet);
    EXPECT_EQ(page().Label8.GetBounds().left + ui::MeasureText("Minimum Cache Size :") + 5,
              page().Label22.GetBounds().left);
    EXPECT_EQ(page().Label22.GetBounds().left + ui::MeasureText(page().Label22.Caption()) + 5,
              page().Label11.GetBounds().left);
}

TEST_F(DiskCacheTest, TheTrackBarsMoveOnePositionAPage) {
    for (ui::TrackBar* bar : {&page().TrackBar2, &page().TrackBar3, &page().TrackBar4}) {
        EXPECT_EQ(1, bar->PageSize()) << bar->Name();
        EXPECT_EQ(32, bar->MaxValue());
    }
}

TEST_F(DiskCacheTest, WithoutSystemIniNothingIsCreated) {
    ReadPass();
    page().ComboBox1.ChooseItem(5);
    WritePass();
    EXPECT_FALSE(sys.HasFile(kSystemIniPath));
}

TEST_F(DiskCacheTest, HelpOpensOnTheDiskCacheTextAndFileCacheOnItsOwn) {
    page().SpeedButton10.Click();
    EXPECT_TRUE(program.help.Memo1.Visible());
    EXPECT_FALSE(program.help.Memo3.Visible());
    EXPECT_EQ("How to Configure Disk-Cache ?", program.help.Memo1.Lines().front());
    program.help.Button1.Click();
    pages().fileCache.SpeedButton9.Click();
    EXPECT_TRUE(program.help.Memo2.Visible());
    EXPECT_FALSE(program.help.Memo1.Visible());
    EXPECT_EQ("How to Configure File Cache ?", program.help.Memo2.Lines().front());
}

}  // namespace
}  // namespace vt::testing
