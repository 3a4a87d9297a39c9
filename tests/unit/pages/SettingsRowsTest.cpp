// Every on/off setting of the Boot, System, Windows and Start Menu pages, typed from the
// pages' tables: the box is ticked and cleared through the passes the main window runs, and
// the raw stored value (type and bytes, or the INI text) is checked after each write.
#include "unit/pages/PageFixture.h"

#include <functional>

namespace vt::testing {
namespace {

using Bytes = std::vector<BYTE>;

Bytes Sz(const std::string& text) {
    Bytes bytes(text.begin(), text.end());
    bytes.push_back(0);
    return bytes;
}
Bytes Le(DWORD number) {
    return {BYTE(number), BYTE(number >> 8), BYTE(number >> 16), BYTE(number >> 24)};
}

// A registry row: the value stored while cleared is `off` (nothing: the value is deleted).
struct RegistryRow {
    const char* box;
    HKEY root;
    const char* path;
    const char* name;
    DWORD type;
    Bytes on;
    std::optional<Bytes> off;
    bool checkedWhenMissing = false;
};

std::ostream& operator<<(std::ostream& out, const RegistryRow& row) {
    return out << row.box << " " << row.name;
}

const char* const kFileSystem = "System\\CurrentControlSet\\Control\\FileSystem";
const char* const kPolicies = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";

const RegistryRow kRegistryRows[] = {
    // System page
    {"CheckBox15", HKEY_CURRENT_USER, "Control Panel\\Sound", "Beep", REG_SZ, Sz("YES"), Sz("NO")},
    {"CheckBox17", HKEY_LOCAL_MACHINE, kFileSystem, "ContigFileAllocSize", REG_DWORD, Le(512),
     std::nullopt},
    {"CheckBox19", HKEY_LOCAL_MACHINE, kFileSystem, "DisableLowDiskSpaceBroadcast", REG_BINARY,
     Bytes{0xFF, 0xFF, 0xFF, 0xFF}, std::nullopt},
    {"CheckBox20", HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Services\\Class\\fdc\\0000",
     "ForceFIFO", REG_SZ, Sz("0"), std::nullopt},
    {"CheckBox23", HKEY_LOCAL_MACHINE, "Network\\Logon", "MustBeValidated", REG_DWORD, Le(1),
     std::nullopt},
    {"CheckBox26", HKEY_CURRENT_USER, kPolicies, "NoDriveTypeAutoRun", REG_BINARY,
     Bytes{0xBD, 0, 0, 0}, Bytes{0x95, 0, 0, 0}},
    // Windows page
    {"CheckBox29", HKEY_CLASSES_ROOT, "CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}\\ShellFolder",
     "Attributes", REG_BINARY, Bytes{0x70, 0x01, 0x00, 0x20}, Bytes{0x40, 0x01, 0x00, 0x20}},
    {"CheckBox32", HKEY_CURRENT_USER, "Control Panel\\Desktop", "PaintDesktopVersion", REG_SZ,
     Sz("0"), Sz("1"), true},
    {"CheckBox33", HKEY_USERS, ".DEFAULT\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer",
     "link", REG_BINARY, Bytes{0, 0, 0, 0}, Bytes{0x14, 0, 0, 0}},
    {"CheckBox36", HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\Update", "UpdateMode",
     REG_BINARY, Bytes{0, 0, 0, 0}, Bytes{1, 0, 0, 0}},
    {"CheckBox37", HKEY_CURRENT_USER, "Control Panel\\Desktop", "SmoothScroll", REG_BINARY,
     Bytes{1, 0, 0, 0}, std::nullopt},
    {"CheckBox38", HKEY_CURRENT_USER, "Control Panel\\Desktop\\WindowMetrics", "MinAnimate", REG_SZ,
     Sz("1"), Sz("0"), true},
    {"CheckBox39", HKEY_CURRENT_USER,
     "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\SmallIcons", "SmallIcons", REG_SZ,
     Sz("YES"), std::nullopt},
    {"CheckBox42", HKEY_CLASSES_ROOT, "batfile\\shell", "", REG_SZ, Sz("edit"), Sz("")},
    // Start Menu page
    {"CheckBox50", HKEY_CURRENT_USER, kPolicies, "NoFind", REG_BINARY, Le(1), Le(0)},
    {"CheckBox51", HKEY_CURRENT_USER, kPolicies, "NoRun", REG_BINARY, Le(1), Le(0)},
    {"CheckBox52", HKEY_CURRENT_USER, kPolicies, "NoClose", REG_BINARY, Le(1), Le(0)},
    {"CheckBox53", HKEY_CURRENT_USER, kPolicies, "NoFavoritesMenu", REG_BINARY, Le(1), Le(0)},
    {"CheckBox54", HKEY_CURRENT_USER, kPolicies, "NoRecentDocsMenu", REG_BINARY, Le(1), Le(0)},
    {"CheckBox55", HKEY_CURRENT_USER, kPolicies, "NoLogOff", REG_BINARY, Le(1), Le(0)},
    {"CheckBox56", HKEY_CURRENT_USER, kPolicies, "ClearRecentDocsOnExit", REG_BINARY, Le(1), Le(0)},
    {"CheckBox57", HKEY_CURRENT_USER, kPolicies, "NoRecentDocsHistory", REG_BINARY, Le(1), Le(0)},
    {"CheckBox59", HKEY_LOCAL_MACHINE,
     "Software\\Microsoft\\Windows\\CurrentVersion\\explorer\\Advanced", "StartMenuScrollPrograms",
     REG_SZ, Sz("FALSE"), Sz("TRUE")},
};

class RegistryRowTest : public PageTest, public ::testing::WithParamInterface<RegistryRow> {
  protected:
    ui::CheckBox& Box() { return Named<ui::CheckBox>(form().PageControl1, GetParam().box); }
    std::optional<Stored> Now() { return Value(GetParam().root, GetParam().path, GetParam().name); }
    void ExpectStored(const std::optional<Bytes>& bytes, const char* when) {
        const RegistryRow& row = GetParam();
        auto stored = Now();
        if (!bytes) {
            EXPECT_FALSE(stored) << when << ": deleted";
            return;
        }
        ASSERT_TRUE(stored) << when;
        EXPECT_EQ(row.type, stored->type) << when;
        EXPECT_EQ(*bytes, stored->bytes) << when;
    }
};

// Cleared, ticked, cleared: each change writes what the table says, and the read-back
// shows the box as it was left.
TEST_P(RegistryRowTest, TickingAndClearingWriteTheTableValues) {
    const RegistryRow& row = GetParam();
    if (row.off) sys.PutValue(row.root, row.path, row.name, row.type, *row.off);
    form().Apply();
    ASSERT_FALSE(Box().Checked());
    Click(Box());
    form().Apply();
    ExpectStored(row.on, "ticked");
    EXPECT_TRUE(Box().Checked()) << "read back";
    Click(Box());
    form().Apply();
    ExpectStored(row.off, "cleared");
    EXPECT_FALSE(Box().Checked()) << "read back";
}

// An untouched box, or one ticked and cleared again, leaves a value it cannot show alone.
TEST_P(RegistryRowTest, AValueTheBoxCannotShowStaysByteForByte) {
    const RegistryRow& row = GetParam();
    const Bytes odd = {0x07, 0x00};
    sys.PutValue(row.root, row.path, row.name, REG_MULTI_SZ, odd);
    form().Apply();
    Click(Box());
    Click(Box());
    form().Apply();
    auto stored = Now();
    ASSERT_TRUE(stored);
    EXPECT_EQ(REG_MULTI_SZ, stored->type);
    EXPECT_EQ(odd, stored->bytes);
}

TEST_P(RegistryRowTest, AMissingValueShowsItsDefaultAndStaysMissingWhileTheBoxIsUntouched) {
    form().Apply();
    EXPECT_EQ(GetParam().checkedWhenMissing, Box().Checked());
    form().Apply();
    EXPECT_FALSE(Now());
    EXPECT_FALSE(KeyExists(GetParam().root, GetParam().path)) << "the passes create no key";
}

INSTANTIATE_TEST_SUITE_P(Pages, RegistryRowTest, ::testing::ValuesIn(kRegistryRows));

// An INI row: the text stored while cleared is `off` (nothing: the key is deleted).
struct IniRow {
    const char* box;
    const char* file;
    const char* section;
    const char* key;
    const char* on;
    const char* off;
};

std::ostream& operator<<(std::ostream& out, const IniRow& row) {
    return out << row.box << " " << row.key;
}

const IniRow kIniRows[] = {
    {"CheckBox1", "C:\\MSDOS.SYS", "Options", "BootKeys", "0", "1"},
    {"CheckBox2", "C:\\MSDOS.SYS", "Options", "BootMenu", "1", "0"},
    {"CheckBox3", "C:\\MSDOS.SYS", "Options", "BootMulti", "1", "0"},
    {"CheckBox4", "C:\\MSDOS.SYS", "Options", "DisableLog", "1", "0"},
    {"CheckBox5", "C:\\MSDOS.SYS", "Options", "SystemReg", "0", "1"},
    {"CheckBox6", "C:\\MSDOS.SYS", "Options", "BootGUI", "0", "1"},
    {"CheckBox7", "C:\\MSDOS.SYS", "Options", "BootWarn", "0", "1"},
    {"CheckBox8", "C:\\MSDOS.SYS", "Options", "Network", "1", "0"},
    {"CheckBox9", "C:\\MSDOS.SYS", "Options", "DoubleBuffer", "1", "0"},
    {"CheckBox10", "C:\\MSDOS.SYS", "Options", "DBLSpace", "0", "1"},
    {"CheckBox11", "C:\\MSDOS.SYS", "Options", "DRVSpace", "0", "1"},
    {"CheckBox12", "C:\\MSDOS.SYS", "Options", "LoadTop", "0", "1"},
    {"CheckBox13", "C:\\MSDOS.SYS", "Options", "Logo", "0", "1"},
    {"CheckBox14", "C:\\MSDOS.SYS", "Options", "AutoScan", "0", "1"},
    {"CheckBox16", "C:\\WINDOWS\\SYSTEM.INI", "386Enh", "LocalLoadHigh", "1", nullptr},
    {"CheckBox18", "C:\\WINDOWS\\SYSTEM.INI", "386Enh", "PageBuffers", "32", nullptr},
};

class IniRowTest : public PageTest, public ::testing::WithParamInterface<IniRow> {
  protected:
    void SetUp() override {
        sys.PutFile("C:\\MSDOS.SYS", "[Options]\r\n");
        sys.PutFile("C:\\WINDOWS\\SYSTEM.INI", "[386Enh]\r\n");
    }
    ui::CheckBox& Box() { return Named<ui::CheckBox>(form().PageControl1, GetParam().box); }
    std::string Stored() {
        TIniFile ini(sys, GetParam().file);
        return ini.ReadText(GetParam().section, GetParam().key, "<missing>");
    }
    std::string Line(const char* value) {
        return value ? std::string(GetParam().key) + "=" + value + "\r\n" : "";
    }
};

TEST_P(IniRowTest, TickingAndClearingWriteTheTableTexts) {
    const IniRow& row = GetParam();
    sys.PutFile(row.file, std::string("[") + row.section + "]\r\n" + Line(row.off));
    form().Apply();
    ASSERT_FALSE(Box().Checked());
    Click(Box());
    form().Apply();
    EXPECT_EQ(row.on, Stored()) << "ticked";
    EXPECT_TRUE(Box().Checked());
    Click(Box());
    form().Apply();
    EXPECT_EQ(row.off ? row.off : "<missing>", Stored()) << "cleared";
    EXPECT_FALSE(Box().Checked());
}

TEST_P(IniRowTest, AnUntouchedOrOddLineStaysByteForByte) {
    const IniRow& row = GetParam();
    const std::string contents =
        std::string("[") + row.section + "]\r\n" + row.key + "=" + row.on + " ; kept\r\n";
    sys.PutFile(row.file, contents);
    form().Apply();
    Click(Box());
    Click(Box());
    form().Apply();
    EXPECT_EQ(contents, sys.FileText(row.file));
}

TEST_P(IniRowTest, AMissingKeyShowsTheBoxClearedAndStaysMissing) {
    form().Apply();
    EXPECT_FALSE(Box().Checked());
    form().Apply();
    EXPECT_EQ("<missing>", Stored());
}

INSTANTIATE_TEST_SUITE_P(Pages, IniRowTest, ::testing::ValuesIn(kIniRows));

}  // namespace
}  // namespace vt::testing
