#include "platform/fake/FakePlatform.h"
#include "platform/NoCase.h"
#include "store/Paths.h"

#include <gtest/gtest.h>

#include <functional>

namespace vt {
namespace {

using fake::Call;
using fake::FakePlatform;

TEST(PathsTest, TheWindowsDirectoryIsTakenWithoutATrailingBackslash) {
    FakePlatform sys;
    EXPECT_EQ("C:\\WINDOWS", TakeWindowsDir(sys));
    sys.SetWindowsDirectory("D:\\WIN98");
    EXPECT_EQ("D:\\WIN98", TakeWindowsDir(sys));
}

TEST(PathsTest, AWindowsDirectoryLongerThanTheBufferGivesNothing) {
    FakePlatform sys;
    sys.SetWindowsDirectory("C:\\" + std::string(141, 'w'));  // 144 characters
    EXPECT_EQ("", TakeWindowsDir(sys));
    sys.SetWindowsDirectory("C:\\" + std::string(140, 'w'));  // 143 fit with the NUL
    EXPECT_EQ(143u, TakeWindowsDir(sys).size());
}

TEST(PathsTest, TheProgramDirectoryIsTheCurrentDirectory) {
    FakePlatform sys;
    sys.MakeDirectories("C:\\Program Files\\Veltrim 2000");
    ASSERT_TRUE(sys.SetCurrentDirectoryA("C:\\Program Files\\Veltrim 2000"));
    EXPECT_EQ("C:\\Program Files\\Veltrim 2000", TakeProgramDir(sys));
    sys.MakeDirectories("C:\\My Pictures");
    sys.SetCurrentDirectoryA("C:\\My Pictures");  // as a file dialog may do
    EXPECT_EQ("C:\\My Pictures", TakeProgramDir(sys));
}

TEST(PathsTest, TheBootFileGoesToArchiveOnlyAndBackToWhatItHad) {
    FakePlatform sys;
    sys.PutFile("C:\\MSDOS.SYS", "[Options]\r\n",
                FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    std::optional<DWORD> had = UnprotectMsdosSys(sys);
    ASSERT_TRUE(had);
    EXPECT_EQ(FILE_ATTRIBUTE_ARCHIVE, sys.GetFileAttributesA("C:\\MSDOS.SYS"));
    RestoreMsdosSys(sys, *had);
    EXPECT_EQ(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM,
              sys.GetFileAttributesA("C:\\MSDOS.SYS") & ~FILE_ATTRIBUTE_ARCHIVE);
    std::vector<DWORD> set;
    for (const auto& call : sys.Calls())
        if (call.kind == Call::SetFileAttributes) set.push_back(call.number);
    EXPECT_EQ((std::vector<DWORD>{0x20, 0x26, 0x27}), set)
        << "the archive bit it had comes back too";
}

TEST(PathsTest, AMissingBootFileIsNotReported) {
    FakePlatform sys;
    EXPECT_FALSE(UnprotectMsdosSys(sys)) << "nothing to give back later";
    EXPECT_FALSE(sys.HasFile("C:\\MSDOS.SYS"));
}

}  // namespace
}  // namespace vt

namespace vt {
namespace {

TEST(PathsTest, APathIsNormalisedToOneSpelling) {
    const std::pair<const char*, const char*> rows[] = {
        {"C:\\windows\\..\\windows\\Desktop", "C:\\windows\\Desktop"},
        {"C:\\WINDOWS\\\\Desktop\\", "C:\\WINDOWS\\Desktop"},
        {"C:\\WINDOWS\\.\\Start Menu\\.\\Programs", "C:\\WINDOWS\\Start Menu\\Programs"},
        {"C:\\..\\..\\WINDOWS", "C:\\WINDOWS"},
        {"C:\\", "C:\\"},
        {"\\\\SERVER\\NETLOGON\\..\\..\\x", "\\\\SERVER\\NETLOGON\\x"},
    };
    for (const auto& [path, normal] : rows) EXPECT_EQ(normal, NormalisedPath(path)) << path;
}

// Every spelling of one file names it: its short name, "..", upper or lower case, a second
// drive letter for the same disk; a file beside it does not.
TEST(PathsTest, SpellingsOfOneFileShareItsIdentity) {
    FakePlatform sys;
    sys.MakeDirectories("C:\\Program Files\\Veltrim 2000\\Restore");
    sys.PutFile("C:\\Program Files\\Veltrim 2000\\Config.DAT", "");
    sys.AddDriveAlias('S', 'C');
    const PathIdentity config = IdentityOf(sys, "C:\\Program Files\\Veltrim 2000\\Config.DAT");
    for (const char* spelling :
         {"C:\\PROGRA~1\\VELTRI~1\\CONFIG.DAT", "c:\\program files\\veltrim 2000\\config.dat",
          "C:\\Program Files\\Veltrim 2000\\Restore\\..\\Config.DAT",
          "S:\\Program Files\\Veltrim 2000\\Config.DAT"})
        EXPECT_EQ(config, IdentityOf(sys, spelling)) << spelling;
    EXPECT_NE(config, IdentityOf(sys, "C:\\Program Files\\Veltrim 2000\\Config.DA"));
    const PathIdentity restore = IdentityOf(sys, "C:\\Program Files\\Veltrim 2000\\Restore");
    EXPECT_TRUE(IdentityOf(sys, "S:\\PROGRA~1\\VELTRI~1\\RESTORE\\Points.txt").Inside(restore));
    EXPECT_FALSE(IdentityOf(sys, "C:\\Program Files\\Veltrim 2000\\Restored.txt").Inside(restore));
    // A file not there yet below a folder not there yet: named below the drive's root.
    EXPECT_EQ("\\NEWDIR\\X.LOG", IdentityOf(sys, "C:\\NewDir\\x.log").path);
    // Another letter of the same disk may be SUBST of a folder: the same short path below it
    // (as GetShortPathNameA gives it there) counts.
    EXPECT_EQ(config, IdentityOf(sys, "S:\\VELTRI~1\\Config.DAT"));
    EXPECT_NE(config, IdentityOf(sys, "C:\\Veltrim 2000\\Config.DAT"));
}

// 表 (95 5C) and ソ (83 5C) end with a backslash byte: on a Japanese machine that byte is half
// a character, on a Western one a backslash. Each row: the text, then what the Japanese and
// the Western machine make of it.
struct CodePageRow {
    const char* what;
    std::function<std::string(const std::string&)> make;
    std::string text, japanese, western;
};

TEST(PathsTest, PathsAreSplitAndTrimmedByTheCharactersOfTheCodePage) {
    const auto joined = [](const std::vector<std::string>& parts) {
        std::string out;
        for (const std::string& part : parts) out += "<" + part + ">";
        return out;
    };
    const CodePageRow rows[] = {
        {"folder", ParentOf, "C:\\VT\x95\x5C\\Restore", "C:\\VT\x95\x5C", "C:\\VT\x95\x5C"},
        {"folder", ParentOf, "C:\\VT\x95\x5C", "C:", "C:\\VT\x95"},
        {"name", NameOf, "C:\\A\\\x83\x5C\x83\x5C", "\x83\x5C\x83\x5C", ""},
        {"trimmed", [](const std::string& s) { return TrimTrailing(s, '\\'); },
         "C:\\VT\x95\x5C\\\\", "C:\\VT\x95\x5C", "C:\\VT\x95"},
        {"normalised", NormalisedPath, "C:\\VT\x95\x5C\\.\\x\\..\\", "C:\\VT\x95\x5C",
         "C:\\VT\x95"},
        {"key parts", [&](const std::string& s) { return joined(SplitAt(s, '\\')); },
         "Software\\\x95\x5C\x8E\xA6\\Sub", "<Software><\x95\x5C\x8E\xA6><Sub>",
         "<Software><\x95><\x8E\xA6><Sub>"},
        {"lower case", ToLower, "ABC\x83\x41\xC9", "abc\x83\x41\xC9", "abc\x83\x61\xE9"},
        {"names a folder", [](const std::string& s) { return std::to_string(NamesAFolder(s)); },
         "\x95\x5C.ini", "0", "1"},
    };
    for (const UINT codePage : {932u, 1252u}) {
        FakePlatform sys;
        sys.SetCodePage(codePage);
        for (const CodePageRow& row : rows)
            EXPECT_EQ(codePage == 932 ? row.japanese : row.western, row.make(row.text))
                << row.what << " in code page " << codePage;
        EXPECT_EQ(codePage == 1252, EqualNoCase("\x83\x41", "\x83\x61")) << codePage;
    }
}

// Installed in a drive's root, the program's folder is "D:" and its files are joined to it
// with one backslash; as a folder (a shortcut's working folder) it is "D:\".
TEST(PathsTest, AProgramInADrivesRootJoinsItsFilesWithOneBackslash) {
    FakePlatform sys;
    sys.MakeDirectories("D:\\");
    ASSERT_TRUE(sys.SetCurrentDirectoryA("D:\\"));
    EXPECT_EQ("D:", TakeProgramDir(sys));
    EXPECT_EQ("D:\\", FolderPath(TakeProgramDir(sys)));
    EXPECT_EQ("D:", ParentOf("D:\\Veltrim.exe"));
}

}  // namespace
}  // namespace vt
