#include "platform/fake/FakePlatform.h"
#include "store/StoreError.h"
#include "store/ProfileText.h"
#include "store/TIniFile.h"

#include <gtest/gtest.h>

namespace vt {
namespace {

using fake::Call;
using fake::FakePlatform;

constexpr const char* kFile = "C:\\MSDOS.SYS";

class TIniFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        sys.PutFile(kFile,
                    "[Paths]\r\nWinDir=C:\\WINDOWS\r\n[Options]\r\nBootGUI=1\r\nLogo=\r\n"
                    ";BootMenu=1\r\n");
    }
    FakePlatform sys;
    TIniFile ini{sys, kFile};
};

TEST_F(TIniFileTest, ReadTextFallsBackToTheDefaultOnlyWhenTheKeyIsMissing) {
    EXPECT_EQ("1", ini.ReadText("Options", "BootGUI", "0"));
    EXPECT_EQ("", ini.ReadText("Options", "Logo", "1"));
    EXPECT_EQ("0", ini.ReadText("Options", "BootMenu", "0"));
    EXPECT_EQ("0", ini.ReadText("NoSection", "BootGUI", "0"));
    TIniFile missing(sys, "C:\\nowhere.ini");
    EXPECT_EQ("default", missing.ReadText("Options", "BootGUI", "default"));
}

TEST_F(TIniFileTest, ReadTextKeepsAtMost2047Characters) {
    sys.PutFile("C:\\long.ini", "[S]\r\nK=" + std::string(3000, 'x') + "\r\n");
    TIniFile longFile(sys, "C:\\long.ini");
    EXPECT_EQ(std::string(2047, 'x'), longFile.ReadText("S", "K", ""));
}

TEST_F(TIniFileTest, HasValueLooksKeysUpWithoutCase) {
    EXPECT_TRUE(ini.HasValue("options", "BOOTGUI"));
    EXPECT_TRUE(ini.HasValue("Options", "Logo"));
    EXPECT_FALSE(ini.HasValue("Options", "BootMenu")) << "a commented-out key is no key";
    EXPECT_FALSE(ini.HasValue("Options", "Boot"));
    EXPECT_FALSE(ini.HasValue("Missing", "BootGUI"));
}

// C:\MSDOS.SYS loses its read-only, hidden and system attributes for the one write only, and
// gets them back when the write is refused too. Other files are written as they are.
TEST_F(TIniFileTest, TheBootFileIsUnprotectedOnlyForItsOwnWrite) {
    constexpr DWORD kProtected =
        FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    sys.SetFileAttributesA(kFile, kProtected);
    sys.ClearCalls();
    ini.WriteText("Options", "BootMenu", "1");
    ini.RemoveKey("Options", "Logo");
    EXPECT_EQ("1", ini.ReadText("Options", "BootMenu", "0"));
    EXPECT_EQ(kProtected, sys.GetFileAttributesA(kFile) & kProtected);
    std::vector<DWORD> set;
    for (const fake::CallInfo& call : sys.Calls())
        if (call.kind == Call::SetFileAttributes) set.push_back(call.number & kProtected);
    EXPECT_EQ((std::vector<DWORD>{0, kProtected & ~DWORD{FILE_ATTRIBUTE_READONLY}, kProtected, 0,
                                  kProtected & ~DWORD{FILE_ATTRIBUTE_READONLY}, kProtected}),
              set);
    sys.FailNth(Call::WriteFile, 1, ERROR_WRITE_FAULT);
    EXPECT_THROW(ini.WriteText("Options", "BootMenu", "2"), IniFileError);
    EXPECT_EQ(kProtected, sys.GetFileAttributesA(kFile) & kProtected);

    sys.PutFile("C:\\OTHER.INI", "[A]\r\n", FILE_ATTRIBUTE_READONLY);
    TIniFile other(sys, "C:\\OTHER.INI");
    EXPECT_THROW(other.WriteText("A", "k", "v"), IniFileError) << "only the boot file is opened";
}

TEST_F(TIniFileTest, ALineBreakInAValueNeverMakesALineOfItsOwn) {
    ini.WriteText("Options", "BootGUI", "0\r\n[Evil]\r\nBoot\x1aMulti=1\n");
    EXPECT_EQ("0 [Evil] BootMulti=1", ini.ReadText("Options", "BootGUI", ""))
        << "nor a Ctrl+Z the end of the file";
    EXPECT_FALSE(ini.HasValue("Options", "BootMulti"));
    EXPECT_EQ("<none>", ini.ReadText("Evil", "BootMulti", "<none>"));
}

TEST_F(TIniFileTest, WriteTextRaisesWithTheFileNameWhenRefused) {
    ini.WriteText("Options", "BootMenu", "1");
    EXPECT_EQ("1", ini.ReadText("Options", "BootMenu", "0"));
    // Each cause is named, with what to do about it.
    for (const auto& [error, cause] :
         std::vector<std::pair<LONG, std::string>>{{ERROR_ACCESS_DENIED, ": the file is read-only"},
                                                   {ERROR_SHARING_VIOLATION, ": another program"},
                                                   {ERROR_DISK_FULL, ": the disk is full"},
                                                   {ERROR_WRITE_FAULT, ""}}) {
        sys.FailNth(Call::WriteFile, 1, error);
        try {
            ini.WriteText("Options", "BootMenu", "0");
            FAIL() << "a refused file took the write";
        } catch (const IniFileError& e) {
            EXPECT_EQ("Unable to write to C:\\MSDOS.SYS" + cause,
                      std::string(e.what()).substr(0, 31 + cause.size()));
        }
        EXPECT_EQ("1", ini.ReadText("Options", "BootMenu", "0"));
    }
}

TEST_F(TIniFileTest, RefusedDeletesOfKeysAndSectionsAreReported) {
    ini.RemoveKey("Options", "BootGUI");
    EXPECT_FALSE(ini.HasValue("Options", "BootGUI"));
    EXPECT_NO_THROW(ini.RemoveKey("Options", "NoSuchKey"));
    sys.FailWhen([](const fake::CallInfo& c) { return c.kind == Call::WriteFile; },
                 ERROR_ACCESS_DENIED);
    EXPECT_THROW(ini.RemoveKey("Options", "Logo"), IniFileError);
    EXPECT_THROW(ini.RemoveSection("Options"), IniFileError);
    sys.ClearFaults();
    ini.RemoveSection("Options");
    EXPECT_EQ("[Paths]\r\nWinDir=C:\\WINDOWS\r\n", sys.FileText(kFile));
}

}  // namespace
}  // namespace vt

namespace vt::testing {
namespace {

// Whether a profile write reached the file whole: the file as Windows left it against the
// file before and the one change. A full disk cuts it short, mid-line or at a line's end.
TEST(ProfileTextTest, AWriteLandedWhenOnlyItsOneChangeIsThere) {
    struct Case {
        const char* before;
        const char* after;
        const char* key;  // in section "a"
        const char* value;
        bool landed;
    };
    const char* const file = "[a]\r\nk=1\r\nj=2\r\n\r\n[b]\r\nx=1\r\n";
    for (const Case& c : std::initializer_list<Case>{
             {file, "[a]\r\nk=2\r\nj=2\r\n[b]\r\nx=1\r\n", "k", "2", true},
             {file, "[A]\r\n K = 2 \r\nj=2\r\n[B]\r\nX=1", "K", "2", true},  // rewritten
             {file, file, "k", "2", false},                                  // never written
             {file, "[a]\r\nk=2\r\nj=2\r\n[b]\r\nx", "k", "2", false},       // cut mid-line
             {file, "[a]\r\nk=2\r\nj=2\r\n", "k", "2", false},               // cut at a line end
             {file, "[a]\r\nk=2\r\nj=2\r\nz=9\r\n[b]\r\nx=1\r\n", "k", "2", false},  // more
             {file, "[a]\r\nk=1\r\nj=2\r\nn=3\r\n[b]\r\nx=1\r\n", "n", "3", true},   // new key
             {"", "[a]\r\nn=3\r\n", "n", "3", true},                                 // new file
             {file, "[a]\r\nj=2\r\n[b]\r\nx=1\r\n", "k", nullptr, true},             // removed
             {file, "[a]\r\n[b]\r\nx=1\r\n", "k", nullptr, false},                   // and j too
             {file, "[b]\r\nx=1\r\n", nullptr, nullptr, true},  // the section removed
             {file, "[a]\r\nk=1\r\n[b]\r\nx=1\r\n", nullptr, nullptr, false},
         }) {
        SCOPED_TRACE(std::string(c.after) + " / " + (c.key ? c.key : "(section)"));
        EXPECT_EQ(c.landed, ProfileWriteLanded(c.before, c.after, "a", c.key, c.value));
    }
}

}  // namespace
}  // namespace vt::testing
