#include "platform/fake/FakePlatform.h"
#include "store/StoreError.h"
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

TEST_F(TIniFileTest, WriteTextRaisesWithTheFileNameWhenRefused) {
    ini.WriteText("Options", "BootMenu", "1");
    EXPECT_EQ("1", ini.ReadText("Options", "BootMenu", "0"));
    sys.SetFileAttributesA(kFile, FILE_ATTRIBUTE_READONLY);
    try {
        ini.WriteText("Options", "BootMenu", "0");
        FAIL() << "a read-only file took the write";
    } catch (const IniFileError& e) {
        EXPECT_STREQ("Unable to write to C:\\MSDOS.SYS", e.what());
    }
}

TEST_F(TIniFileTest, RefusedDeletesOfKeysAndSectionsAreReported) {
    ini.RemoveKey("Options", "BootGUI");
    EXPECT_FALSE(ini.HasValue("Options", "BootGUI"));
    EXPECT_NO_THROW(ini.RemoveKey("Options", "NoSuchKey"));
    sys.FailWhen([](const fake::CallInfo& c) { return c.kind == Call::ProfileWrite; },
                 ERROR_ACCESS_DENIED);
    EXPECT_THROW(ini.RemoveKey("Options", "Logo"), IniFileError);
    EXPECT_THROW(ini.RemoveSection("Options"), IniFileError);
    sys.ClearFaults();
    ini.RemoveSection("Options");
    EXPECT_EQ("[Paths]\r\nWinDir=C:\\WINDOWS\r\n", sys.FileText(kFile));
}

}  // namespace
}  // namespace vt
