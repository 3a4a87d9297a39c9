// What the INI accessor relies on from the private-profile functions.
#include "PlatformUnderTest.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace vt::contract {
namespace {

constexpr const char* kDir = "C:\\VtContract";
constexpr const char* kIni = "C:\\VtContract\\test.ini";
constexpr const char* kBareName = "vtcontract.ini";

class ProfileContract : public ::testing::Test {
  protected:
    void SetUp() override {
        sys = MakePlatformUnderTest();
        Remove(kIni);
        Remove(WindowsFile(kBareName).c_str());
        sys->CreateDirectoryA(kDir);
    }
    void TearDown() override {
        Remove(kIni);
        Remove(WindowsFile(kBareName).c_str());
    }

    void Remove(const char* path) {
        sys->SetFileAttributesA(path, FILE_ATTRIBUTE_ARCHIVE);
        sys->DeleteFileA(path);
    }
    std::string WindowsFile(const char* name) {
        char dir[144] = {};
        sys->GetWindowsDirectoryA(dir, sizeof dir);
        return std::string(dir) + "\\" + name;
    }
    void Put(const char* path, const std::string& text) {
        ASSERT_TRUE(sys->WriteFileBytes(path, std::vector<BYTE>(text.begin(), text.end())));
    }
    std::string Contents(const char* path) {
        std::vector<BYTE> bytes;
        if (!sys->ReadFileBytes(path, &bytes, 1u << 20)) return "<missing>";
        return std::string(bytes.begin(), bytes.end());
    }
    std::string Read(const char* section, const char* key, const char* def,
                     const char* file = kIni) {
        char buffer[2048];
        std::memset(buffer, 'Z', sizeof buffer);
        DWORD n = sys->GetPrivateProfileStringA(section, key, def, buffer, sizeof buffer, file);
        EXPECT_EQ(std::strlen(buffer), n);
        return buffer;
    }
    std::vector<std::string> KeyNames(const char* section) {
        char buffer[16384];
        std::memset(buffer, 'Z', sizeof buffer);
        sys->GetPrivateProfileStringA(section, nullptr, nullptr, buffer, sizeof buffer, kIni);
        std::vector<std::string> names;
        for (const char* p = buffer; *p; p += std::strlen(p) + 1) names.emplace_back(p);
        return names;
    }

    std::unique_ptr<Platform> sys;
};

// A boot-options file as Windows 98 writes it: no blank lines, no blanks around '='.
const std::string kBootFile =
    "[Paths]\r\nWinDir=C:\\WINDOWS\r\nWinBootDir=C:\\WINDOWS\r\n"
    "[Options]\r\nBootMulti=1\r\nBootGUI=1\r\n;\r\n;The following lines are required\r\n"
    ";xxxxxxxxxxxxxxxxxxxxa\r\n;xxxxxxxxxxxxxxxxxxxxb\r\n";

TEST_F(ProfileContract, TheDefaultAnswersForAMissingFileSectionOrKey) {
    EXPECT_EQ("fallback", Read("Options", "BootMulti", "fallback"));
    Put(kIni, kBootFile);
    EXPECT_EQ("fallback", Read("NoSection", "BootMulti", "fallback"));
    EXPECT_EQ("fallback", Read("Options", "NoKey", "fallback"));
    EXPECT_EQ(" padded", Read("Options", "NoKey", " padded  "));
    EXPECT_EQ("", Read("Options", "NoKey", nullptr));
}

TEST_F(ProfileContract, AKeyWithAnEmptyValueReadsEmptyNotTheDefault) {
    Put(kIni, "[S]\r\nEmpty=\r\n");
    EXPECT_EQ("", Read("S", "Empty", "fallback"));
}

TEST_F(ProfileContract, SectionsAndKeysMatchWithoutCase) {
    Put(kIni, kBootFile);
    EXPECT_EQ("1", Read("OPTIONS", "bootgui", "x"));
    EXPECT_EQ("C:\\WINDOWS", Read("paths", "WINDIR", "x"));
}

TEST_F(ProfileContract, ValuesLoseSurroundingBlanksAndQuotes) {
    Put(kIni, "[S]\r\n  Spaced  =  some value  \r\nQuoted=\"in quotes\"\r\nHalf=\"open\r\n");
    EXPECT_EQ("some value", Read("S", "Spaced", "x"));
    EXPECT_EQ("in quotes", Read("S", "Quoted", "x"));
    EXPECT_EQ("\"open", Read("S", "Half", "x"));
}

TEST_F(ProfileContract, TheKeyListHoldsOnlyLinesWithAValue) {
    Put(kIni, kBootFile + "no equals sign\r\nBootMenu=0\r\n[Next]\r\nOther=1\r\n");
    EXPECT_EQ((std::vector<std::string>{"BootMulti", "BootGUI", "BootMenu"}), KeyNames("options"));
    EXPECT_TRUE(KeyNames("Missing").empty());
}

TEST_F(ProfileContract, AReadCutToTheBufferStaysTerminated) {
    Put(kIni, "[S]\r\nLong=abcdefgh\r\n");
    char buffer[5];
    EXPECT_EQ(4u, sys->GetPrivateProfileStringA("S", "Long", "", buffer, sizeof buffer, kIni));
    EXPECT_STREQ("abcd", buffer);
}

TEST_F(ProfileContract, WritingCreatesTheFileAndTheSection) {
    ASSERT_TRUE(sys->WritePrivateProfileStringA("First", "Key", "1", kIni));
    ASSERT_TRUE(sys->WritePrivateProfileStringA("Second", "Other", "two", kIni));
    ASSERT_TRUE(sys->WritePrivateProfileStringA("first", "Added", "3", kIni));
    EXPECT_EQ("[First]\r\nKey=1\r\nAdded=3\r\n[Second]\r\nOther=two\r\n", Contents(kIni));
}

TEST_F(ProfileContract, WritingAKeyKeepsEveryOtherLineByteForByte) {
    Put(kIni, kBootFile);
    ASSERT_TRUE(sys->WritePrivateProfileStringA("Options", "bootgui", "0", kIni));
    ASSERT_TRUE(sys->WritePrivateProfileStringA("Options", "BootMenu", "1", kIni));
    std::string expected = kBootFile;
    expected.replace(expected.find("BootGUI=1"), 9, "BootGUI=0");
    expected += "BootMenu=1\r\n";
    EXPECT_EQ(expected, Contents(kIni));
}

TEST_F(ProfileContract, ARewriteDropsBlankLinesAndTheBlanksAroundEquals) {
    const std::string loose = "; top\n\n[A]\nKey = 1\n\n[B]\nx=2";
    Put(kIni, loose);
    ASSERT_TRUE(sys->WritePrivateProfileStringA("A", "Key", "1", kIni));
    EXPECT_EQ(loose, Contents(kIni)) << "writing the value it already has leaves the file alone";
    ASSERT_TRUE(sys->WritePrivateProfileStringA("B", "x", "3", kIni));
    EXPECT_EQ("; top\r\n[A]\r\nKey=1\r\n[B]\r\nx=3\r\n", Contents(kIni));
}

TEST_F(ProfileContract, DeletingAKeyAndASection) {
    Put(kIni, kBootFile + "[Gone]\r\nA=1\r\n");
    EXPECT_TRUE(sys->WritePrivateProfileStringA("OPTIONS", "BootGUI", nullptr, kIni));
    EXPECT_TRUE(sys->WritePrivateProfileStringA("gone", nullptr, nullptr, kIni));
    std::string expected = kBootFile;
    expected.erase(expected.find("BootGUI=1\r\n"), 11);
    EXPECT_EQ(expected, Contents(kIni));
    EXPECT_TRUE(sys->WritePrivateProfileStringA("Missing", "Key", nullptr, kIni));
    EXPECT_TRUE(sys->WritePrivateProfileStringA("Missing", nullptr, nullptr, kIni));
    EXPECT_EQ(expected, Contents(kIni));
}

TEST_F(ProfileContract, DeletingWhatIsNotThereLeavesTheFileUntouched) {
    const std::string loose = "; top\n\n[A]\nKey = 1\n\n[B]\nx=2";
    Put(kIni, loose);
    EXPECT_TRUE(sys->WritePrivateProfileStringA("A", "Missing", nullptr, kIni));
    EXPECT_TRUE(sys->WritePrivateProfileStringA("Missing", "Key", nullptr, kIni));
    EXPECT_EQ(loose, Contents(kIni));
}

TEST_F(ProfileContract, ACarriageReturnAloneEndsALine) {
    Put(kIni, "[S]\rA=1\rB=2\r\r[T]\rC=3\r");
    EXPECT_EQ("2", Read("S", "B", "x"));
    ASSERT_TRUE(sys->WritePrivateProfileStringA("S", "A", "9", kIni));
    EXPECT_EQ("[S]\r\nA=9\r\nB=2\r\n[T]\r\nC=3\r\n", Contents(kIni));
}

TEST_F(ProfileContract, NoFileNameOrNoSectionIsRefused) {
    Put(kIni, kBootFile);
    EXPECT_FALSE(sys->WritePrivateProfileStringA("S", "Key", "v", ""));
    EXPECT_EQ(static_cast<DWORD>(ERROR_ACCESS_DENIED), sys->GetLastError());
    char windows[MAX_PATH] = {};
    sys->GetWindowsDirectoryA(windows, sizeof windows);
    EXPECT_EQ(FILE_ATTRIBUTE_DIRECTORY,
              sys->GetFileAttributesA(windows) & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_FALSE(sys->WritePrivateProfileStringA(nullptr, "Key", "v", kIni));
    EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND), sys->GetLastError());
    EXPECT_FALSE(sys->WritePrivateProfileStringA(nullptr, nullptr, nullptr, kIni))
        << "flushing the cache answers FALSE";
    EXPECT_EQ(kBootFile, Contents(kIni));
}

TEST_F(ProfileContract, DeletingFromOrFlushingAMissingFileCreatesNothing) {
    EXPECT_TRUE(sys->WritePrivateProfileStringA("S", "Key", nullptr, kIni));
    EXPECT_FALSE(sys->WritePrivateProfileStringA(nullptr, nullptr, nullptr, kIni));
    EXPECT_EQ("<missing>", Contents(kIni));
}

TEST_F(ProfileContract, ABareFileNameLivesInTheWindowsDirectory) {
    ASSERT_TRUE(sys->WritePrivateProfileStringA("S", "Key", "v", kBareName));
    EXPECT_EQ("[S]\r\nKey=v\r\n", Contents(WindowsFile(kBareName).c_str()));
    EXPECT_EQ("v", Read("s", "key", "x", kBareName));
}

TEST_F(ProfileContract, AReadOnlyFileRefusesWritesUntilTheAttributeIsCleared) {
    Put(kIni, kBootFile);
    sys->SetFileAttributesA(kIni, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    sys->SetFileAttributesA(
        kIni, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    EXPECT_FALSE(sys->WritePrivateProfileStringA("Options", "BootMenu", "1", kIni));
    EXPECT_EQ(static_cast<DWORD>(ERROR_ACCESS_DENIED), sys->GetLastError());
    EXPECT_EQ(kBootFile, Contents(kIni));
    sys->SetFileAttributesA(kIni, FILE_ATTRIBUTE_ARCHIVE);
    EXPECT_TRUE(sys->WritePrivateProfileStringA("Options", "BootMenu", "1", kIni));
    EXPECT_EQ(kBootFile + "BootMenu=1\r\n", Contents(kIni));
}

TEST_F(ProfileContract, AReadOnlyFileRefusesEvenWritesThatChangeNothing) {
    Put(kIni, kBootFile);
    sys->SetFileAttributesA(kIni, FILE_ATTRIBUTE_READONLY);
    struct Case {
        const char* key;
        const char* value;
    };
    for (const Case& c :
         {Case{"BootGUI", nullptr}, Case{"Missing", nullptr}, Case{"BootGUI", "1"}}) {
        EXPECT_FALSE(sys->WritePrivateProfileStringA("Options", c.key, c.value, kIni)) << c.key;
        EXPECT_EQ(static_cast<DWORD>(ERROR_ACCESS_DENIED), sys->GetLastError()) << c.key;
    }
    EXPECT_EQ(kBootFile, Contents(kIni));
}

TEST_F(ProfileContract, AFileInAMissingFolderCannotBeWritten) {
    EXPECT_FALSE(sys->WritePrivateProfileStringA("S", "K", "v", "C:\\VtNoSuchFolder\\x.ini"));
    EXPECT_EQ(static_cast<DWORD>(ERROR_PATH_NOT_FOUND), sys->GetLastError());
    EXPECT_FALSE(sys->WritePrivateProfileStringA("S", "K", nullptr, "C:\\VtNoSuchFolder\\x.ini"))
        << "even a delete with nothing to delete";
    EXPECT_EQ(static_cast<DWORD>(ERROR_PATH_NOT_FOUND), sys->GetLastError());
}

}  // namespace
}  // namespace vt::contract
