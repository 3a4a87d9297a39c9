// What the program relies on from the file, folder and system-information functions, and
// from a named mutex.
#include "PlatformUnderTest.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace vt::contract {
namespace {

constexpr const char* kDir = "C:\\VtFiles";
constexpr const char* kFile = "C:\\VtFiles\\data.bin";
constexpr const char* kCopy = "C:\\VtFiles\\copy.bin";
constexpr const char* kSub = "C:\\VtFiles\\Sub";
constexpr const char* kSubSub = "C:\\VtFiles\\Sub\\Deeper";
constexpr const char* kLink = "C:\\VtFiles\\Program.lnk";
constexpr const char* kLongDir = "C:\\VtFiles\\A Long Folder Name";
constexpr const char* kLongFile = "C:\\VtFiles\\A Long Folder Name\\settings file.ini";
constexpr DWORD kAnySize = 1u << 20;

class FilesContract : public ::testing::Test {
  protected:
    void SetUp() override {
        sys = MakePlatformUnderTest();
        Clean();
        ASSERT_TRUE(sys->CreateDirectoryA(kDir));
    }
    void TearDown() override { Clean(); }

    void Clean() {
        for (const char* file : {kFile, kCopy, kLink, kLongFile}) {
            sys->SetFileAttributesA(file, FILE_ATTRIBUTE_ARCHIVE);
            sys->DeleteFileA(file);
        }
        for (const char* dir : {kSubSub, kSub, kLongDir, kDir}) sys->RemoveDirectoryA(dir);
    }
    void Put(const char* path, const std::string& text) {
        ASSERT_TRUE(sys->WriteFileBytes(path, std::vector<BYTE>(text.begin(), text.end())));
    }

    std::unique_ptr<Platform> sys;
};

TEST_F(FilesContract, TheWindowsDirectoryFitsAndAnswersItsLength) {
    char buffer[144];
    UINT length = sys->GetWindowsDirectoryA(buffer, sizeof buffer);
    ASSERT_GT(length, 2u);
    EXPECT_EQ(std::strlen(buffer), length);
    EXPECT_TRUE(std::strncmp(buffer, "C:\\", 3) == 0) << buffer;
    char small[3];
    EXPECT_EQ(length + 1, sys->GetWindowsDirectoryA(small, sizeof small));
    EXPECT_EQ(FILE_ATTRIBUTE_DIRECTORY, sys->GetFileAttributesA(buffer) & FILE_ATTRIBUTE_DIRECTORY);
}

// A file written through the profile functions, a copy or a shortcut is put on disk by
// opening it for writing and flushing it.
TEST_F(FilesContract, FlushingNeedsAFileThatMayBeWritten) {
    Put(kFile, "abc");
    EXPECT_TRUE(sys->FlushFile(kFile));
    EXPECT_FALSE(sys->FlushFile(kCopy));
    EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND), sys->GetLastError());
    ASSERT_TRUE(sys->SetFileAttributesA(kFile, FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(sys->FlushFile(kFile));
    EXPECT_EQ(static_cast<DWORD>(ERROR_ACCESS_DENIED), sys->GetLastError());
    std::vector<BYTE> bytes;
    ASSERT_TRUE(sys->ReadFileBytes(kFile, &bytes, kAnySize));
    EXPECT_EQ("abc", std::string(bytes.begin(), bytes.end()));
}

TEST_F(FilesContract, TheCurrentDirectoryFollowsSetCurrentDirectory) {
    char before[MAX_PATH];
    ASSERT_GT(sys->GetCurrentDirectoryA(sizeof before, before), 0u);
    ASSERT_TRUE(sys->SetCurrentDirectoryA(kDir));
    char now[MAX_PATH];
    DWORD length = sys->GetCurrentDirectoryA(sizeof now, now);
    EXPECT_STREQ(kDir, now);
    EXPECT_EQ(std::strlen(kDir), length);
    Put("relative.bin", "r");
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, sys->GetFileAttributesA("C:\\VtFiles\\relative.bin"));
    sys->DeleteFileA("relative.bin");
    ASSERT_TRUE(sys->SetCurrentDirectoryA(before));
    EXPECT_FALSE(sys->SetCurrentDirectoryA("C:\\VtFiles\\NoSuchFolder"));
}

TEST_F(FilesContract, AttributesReadBackWithTheArchiveBit) {
    Put(kFile, "x");
    EXPECT_TRUE(sys->SetFileAttributesA(kFile, FILE_ATTRIBUTE_ARCHIVE));
    EXPECT_EQ(FILE_ATTRIBUTE_ARCHIVE, sys->GetFileAttributesA(kFile));
    // Hidden and system first: Wine run by a normal user cannot add them to a read-only file.
    EXPECT_TRUE(sys->SetFileAttributesA(kFile, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
    EXPECT_TRUE(sys->SetFileAttributesA(
        kFile, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
    EXPECT_EQ(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                  FILE_ATTRIBUTE_ARCHIVE,
              sys->GetFileAttributesA(kFile));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, sys->GetFileAttributesA("C:\\VtFiles\\missing.bin"));
    EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND), sys->GetLastError());
    EXPECT_FALSE(sys->SetFileAttributesA("C:\\VtFiles\\missing.bin", FILE_ATTRIBUTE_ARCHIVE));
}

TEST_F(FilesContract, AReadOnlyFileCannotBeDeletedOrOverwritten) {
    Put(kFile, "keep");
    sys->SetFileAttributesA(kFile, FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(sys->DeleteFileA(kFile));
    EXPECT_EQ(static_cast<DWORD>(ERROR_ACCESS_DENIED), sys->GetLastError());
    EXPECT_FALSE(sys->WriteFileBytes(kFile, {'n', 'e', 'w'}));
    std::vector<BYTE> bytes;
    ASSERT_TRUE(sys->ReadFileBytes(kFile, &bytes, kAnySize));
    EXPECT_EQ("keep", std::string(bytes.begin(), bytes.end()));
}

// A log's block goes at the end of the file, which it makes when there is none; a read-only
// file or a missing folder refuses it.
TEST_F(FilesContract, AnAppendAddsAtTheEndAndIsRefusedWhereAWriteIs) {
    ASSERT_TRUE(sys->AppendFileBytes(kFile, {'o', 'n', 'e'}));
    ASSERT_TRUE(sys->AppendFileBytes(kFile, {'t', 'w', 'o'}));
    std::vector<BYTE> bytes;
    ASSERT_TRUE(sys->ReadFileBytes(kFile, &bytes, kAnySize));
    EXPECT_EQ("onetwo", std::string(bytes.begin(), bytes.end()));
    sys->SetFileAttributesA(kFile, FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(sys->AppendFileBytes(kFile, {'x'}));
    EXPECT_EQ(static_cast<DWORD>(ERROR_ACCESS_DENIED), sys->GetLastError());
    EXPECT_FALSE(sys->AppendFileBytes("C:\\VtFiles\\NoSuchFolder\\x.log", {'x'}));
    EXPECT_EQ(static_cast<DWORD>(ERROR_PATH_NOT_FOUND), sys->GetLastError());
}

TEST_F(FilesContract, FilesRoundTripAndMissingOnesSayNotFound) {
    std::vector<BYTE> twenty(20);
    for (std::size_t i = 0; i < twenty.size(); ++i) twenty[i] = static_cast<BYTE>(i * 13);
    ASSERT_TRUE(sys->WriteFileBytes(kFile, twenty));
    std::vector<BYTE> back;
    ASSERT_TRUE(sys->ReadFileBytes(kFile, &back, kAnySize));
    EXPECT_EQ(twenty, back);
    ASSERT_TRUE(sys->WriteFileBytes(kFile, {1, 2}));
    ASSERT_TRUE(sys->ReadFileBytes(kFile, &back, kAnySize));
    EXPECT_EQ((std::vector<BYTE>{1, 2}), back);
    EXPECT_FALSE(sys->ReadFileBytes("C:\\VtFiles\\missing.bin", &back, kAnySize));
    EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND), sys->GetLastError());
    // A file over the limit is refused whole, one at the limit read whole.
    ASSERT_TRUE(sys->WriteFileBytes(kFile, twenty));
    back = {9};
    EXPECT_FALSE(sys->ReadFileBytes(kFile, &back, 19));
    EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_TOO_LARGE), sys->GetLastError());
    EXPECT_TRUE(back.empty());
    ASSERT_TRUE(sys->ReadFileBytes(kFile, &back, 20));
    EXPECT_EQ(twenty, back);
    EXPECT_FALSE(sys->DeleteFileA("C:\\VtFiles\\missing.bin"));
    EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND), sys->GetLastError());
}

TEST_F(FilesContract, CopyingAPlainFile) {
    Put(kFile, "shortcut bytes");
    ASSERT_TRUE(sys->CopyFileA(kFile, kCopy, FALSE));
    std::vector<BYTE> bytes;
    ASSERT_TRUE(sys->ReadFileBytes(kCopy, &bytes, kAnySize));
    EXPECT_EQ("shortcut bytes", std::string(bytes.begin(), bytes.end()));
    EXPECT_FALSE(sys->CopyFileA(kFile, kCopy, TRUE));
    EXPECT_TRUE(sys->CopyFileA(kFile, kCopy, FALSE));
    EXPECT_FALSE(sys->CopyFileA("C:\\VtFiles\\missing.bin", kCopy, FALSE));
    EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND), sys->GetLastError());
}

// The restore points rely on it: a file written under a second name and renamed.
TEST_F(FilesContract, MovingAFileKeepsItsBytesAndAttributesAndNeverReplacesOne) {
    Put(kFile, "journal");
    ASSERT_TRUE(sys->SetFileAttributesA(kFile, FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(sys->MoveFileA(kFile, kCopy));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, sys->GetFileAttributesA(kFile));
    EXPECT_EQ(DWORD{FILE_ATTRIBUTE_HIDDEN}, sys->GetFileAttributesA(kCopy) & FILE_ATTRIBUTE_HIDDEN);
    std::vector<BYTE> bytes;
    ASSERT_TRUE(sys->ReadFileBytes(kCopy, &bytes, kAnySize));
    EXPECT_EQ("journal", std::string(bytes.begin(), bytes.end()));
    Put(kFile, "other");
    EXPECT_FALSE(sys->MoveFileA(kFile, kCopy));
    EXPECT_EQ(static_cast<DWORD>(ERROR_ALREADY_EXISTS), sys->GetLastError());
    EXPECT_FALSE(sys->MoveFileA("C:\\VtFiles\\missing.bin", kLink));
    EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND), sys->GetLastError());
    sys->SetFileAttributesA(kCopy, FILE_ATTRIBUTE_ARCHIVE);
}

TEST_F(FilesContract, TheLzCopyCopiesAPlainFileByteForByte) {
    std::string bytes("L\0\0\0\x01\x14\x02", 7);  // a shortcut header, not the LZ magic
    bytes += std::string(300, 'x');
    Put(kFile, bytes);
    ASSERT_TRUE(sys->LZCopyFileA(kFile, kCopy));
    std::vector<BYTE> copied;
    ASSERT_TRUE(sys->ReadFileBytes(kCopy, &copied, kAnySize));
    EXPECT_EQ(bytes, std::string(copied.begin(), copied.end()));
    EXPECT_FALSE(sys->LZCopyFileA("C:\\VtFiles\\missing.lnk", kCopy));
}

// LZ opens its files through OpenFile, whose OFSTRUCT holds 128 bytes of path: a file of a
// longer path is copied with CopyFileA.
TEST_F(FilesContract, TheLzCopyRefusesAPathOpenFileCannotHoldWhichCopyFileTakes) {
    const std::string deep = std::string(kDir) + "\\" + std::string(117, 'n');  // 128 long
    Put(kFile, "shortcut");
    EXPECT_FALSE(sys->LZCopyFileA(kFile, deep.c_str()));
    EXPECT_TRUE(sys->CopyFileA(kFile, deep.c_str(), FALSE));
    EXPECT_FALSE(sys->LZCopyFileA(deep.c_str(), kCopy));
    EXPECT_TRUE(sys->DeleteFileA(deep.c_str()));
}

TEST_F(FilesContract, NoWindowOfAClassThatNobodyRegistered) {
    EXPECT_EQ(0u, sys->FindWindowA("VtNoSuchClass", "Veltrim 2000"));
    EXPECT_FALSE(sys->IsWindowVisible(0));
    EXPECT_FALSE(sys->PostMessageA(0x7FFF0, WM_USER, 0, 0));
}

TEST_F(FilesContract, FoldersAreCreatedOneLevelAtATimeAndRemovedOnlyWhenEmpty) {
    EXPECT_FALSE(sys->CreateDirectoryA(kSubSub));
    EXPECT_EQ(static_cast<DWORD>(ERROR_PATH_NOT_FOUND), sys->GetLastError());
    ASSERT_TRUE(sys->CreateDirectoryA(kSub));
    EXPECT_FALSE(sys->CreateDirectoryA(kSub));
    EXPECT_EQ(static_cast<DWORD>(ERROR_ALREADY_EXISTS), sys->GetLastError());
    ASSERT_TRUE(sys->CreateDirectoryA(kSubSub));
    EXPECT_FALSE(sys->RemoveDirectoryA(kSub));
    EXPECT_EQ(static_cast<DWORD>(ERROR_DIR_NOT_EMPTY), sys->GetLastError());
    EXPECT_TRUE(sys->RemoveDirectoryA(kSubSub));
    EXPECT_TRUE(sys->RemoveDirectoryA(kSub));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, sys->GetFileAttributesA(kSub));
}

TEST_F(FilesContract, TheVersionIsWindows98SecondEdition) {
    OSVERSIONINFOA info;
    ASSERT_TRUE(sys->GetVersionExA(&info));
    EXPECT_EQ(4u, info.dwMajorVersion);
    EXPECT_EQ(10u, info.dwMinorVersion);
    EXPECT_EQ(VER_PLATFORM_WIN32_WINDOWS, info.dwPlatformId);
    EXPECT_EQ(2222u, info.dwBuildNumber & 0xFFFF);
    EXPECT_STREQ(" A ", info.szCSDVersion);
}

TEST_F(FilesContract, TheMemoryStatusIsConsistent) {
    MEMORYSTATUS status;
    sys->GlobalMemoryStatus(&status);
    EXPECT_GT(status.dwTotalPhys, 0u);
    EXPECT_LE(status.dwAvailPhys, status.dwTotalPhys);
    EXPECT_LE(status.dwMemoryLoad, 100u);
    EXPECT_GT(status.dwTotalVirtual, 0u);
}

TEST(MutexContract, ANamedMutexMadeAgainAnswersAlreadyExists) {
    std::unique_ptr<Platform> sys = MakePlatformUnderTest();
    HANDLE first = sys->CreateMutexA("VtContract mutex");
    ASSERT_NE(0u, first);
    EXPECT_EQ(static_cast<DWORD>(ERROR_SUCCESS), sys->GetLastError());
    HANDLE second = sys->CreateMutexA("VtContract mutex");
    ASSERT_NE(0u, second);
    EXPECT_EQ(static_cast<DWORD>(ERROR_ALREADY_EXISTS), sys->GetLastError());
    EXPECT_NE(first, second);
    sys->CreateMutexA("VTCONTRACT MUTEX");
    EXPECT_EQ(static_cast<DWORD>(ERROR_SUCCESS), sys->GetLastError()) << "names keep their case";
}

// A shortcut is a file the shell writes; saving it again replaces it.
TEST_F(FilesContract, AShellLinkIsSavedAsAFileAndReplacedWhenSavedAgain) {
    Put(kFile, "program");
    EXPECT_TRUE(sys->CreateShellLink(kFile, kLink, kDir));
    DWORD attributes = sys->GetFileAttributesA(kLink);
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, attributes);
    EXPECT_FALSE(attributes & FILE_ATTRIBUTE_DIRECTORY);
    std::vector<BYTE> first;
    ASSERT_TRUE(sys->ReadFileBytes(kLink, &first, kAnySize));
    EXPECT_FALSE(first.empty());
    EXPECT_TRUE(sys->CreateShellLink(kCopy, kLink, kDir));
    std::vector<BYTE> second;
    ASSERT_TRUE(sys->ReadFileBytes(kLink, &second, kAnySize));
    EXPECT_NE(first, second) << "the new target replaced the old one";
    EXPECT_FALSE(sys->CreateShellLink(kFile, "C:\\VtNoSuchFolder\\x.lnk", kDir))
        << "no folder: nothing saved";
}

// The shell answers the user's folders from "User Shell Folders" when the value there names a
// folder that exists, as a machine with user profiles has them; a value naming no folder is
// not answered.
TEST_F(FilesContract, TheShellsFoldersComeFromUserShellFoldersWhenTheyExist) {
    const std::string explorer = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\";
    const struct {
        int id;
        const char* value;
    } folders[] = {{CSIDL_DESKTOPDIRECTORY, "Desktop"},
                   {CSIDL_PROGRAMS, "Programs"},
                   {CSIDL_STARTMENU, "Start Menu"},
                   {CSIDL_APPDATA, "AppData"}};
    // Wine also writes what it answers into "Shell Folders": both keys are put back after.
    HKEY keys[2] = {};
    for (int k = 0; k < 2; ++k)
        ASSERT_EQ(
            ERROR_SUCCESS,
            sys->RegCreateKeyExA(HKEY_CURRENT_USER,
                                 (explorer + (k ? "Shell Folders" : "User Shell Folders")).c_str(),
                                 KEY_ALL_ACCESS, &keys[k]));
    ASSERT_TRUE(sys->CreateDirectoryA(kSub));
    for (const auto& folder : folders) {
        SCOPED_TRACE(folder.value);
        DWORD types[2] = {}, sizes[2] = {MAX_PATH, MAX_PATH};
        BYTE saved[2][MAX_PATH] = {};
        bool had[2] = {};
        for (int k = 0; k < 2; ++k)
            had[k] = sys->RegQueryValueExA(keys[k], folder.value, &types[k], saved[k], &sizes[k]) ==
                     ERROR_SUCCESS;
        auto point = [&](const char* path) {
            ASSERT_EQ(ERROR_SUCCESS,
                      sys->RegSetValueExA(keys[0], folder.value, REG_SZ,
                                          reinterpret_cast<const BYTE*>(path),
                                          static_cast<DWORD>(std::strlen(path) + 1)));
        };
        char found[MAX_PATH + 1] = {};
        point(kSub);
        EXPECT_TRUE(sys->SHGetSpecialFolderPathA(0, found, folder.id, FALSE));
        EXPECT_STREQ(kSub, found);
        point(kSubSub);  // no such folder
        std::memset(found, 0, sizeof found);
        if (sys->SHGetSpecialFolderPathA(0, found, folder.id, FALSE)) {
            EXPECT_STRNE(kSubSub, found);
            DWORD attributes = sys->GetFileAttributesA(found);
            EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES &&
                        (attributes & FILE_ATTRIBUTE_DIRECTORY))
                << found;
        }
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, sys->GetFileAttributesA(kSubSub)) << "nothing made";
        for (int k = 0; k < 2; ++k)
            if (had[k])
                sys->RegSetValueExA(keys[k], folder.value, types[k], saved[k], sizes[k]);
            else
                sys->RegDeleteValueA(keys[k], folder.value);
    }
    for (HKEY key : keys) sys->RegCloseKey(key);
}

// One file by every spelling: the full path resolves "." and ".." without looking at the
// disk; the short path of a file that is there reaches the same file; the disk's serial
// number is the same at every asking.
TEST_F(FilesContract, EverySpellingOfAPathReachesTheSameFile) {
    char buffer[MAX_PATH + 1] = {};
    const char* dotted = "C:\\VtFiles\\Sub\\..\\.\\data.bin";
    DWORD length = sys->GetFullPathNameA(dotted, sizeof buffer, buffer);
    EXPECT_EQ(std::string(kFile), buffer);
    EXPECT_EQ(std::strlen(kFile), length);
    char small[4];
    EXPECT_EQ(std::strlen(kFile) + 1, sys->GetFullPathNameA(dotted, sizeof small, small));

    ASSERT_TRUE(sys->CreateDirectoryA(kLongDir));
    Put(kLongFile, "[A]\r\nx=1\r\n");
    length = sys->GetShortPathNameA(kLongFile, buffer, sizeof buffer);
    ASSERT_GT(length, 0u);
    const std::string shortPath = buffer;
    EXPECT_EQ(std::string::npos, shortPath.find(' ')) << shortPath;
    std::vector<BYTE> bytes;
    ASSERT_TRUE(sys->ReadFileBytes(shortPath.c_str(), &bytes, kAnySize)) << shortPath;
    EXPECT_EQ("[A]\r\nx=1\r\n", std::string(bytes.begin(), bytes.end()));
    EXPECT_EQ(0u, sys->GetShortPathNameA("C:\\VtFiles\\A Long Folder Name\\none.ini", buffer,
                                         sizeof buffer));

    // A hidden and system file is written whole and keeps those attributes (CREATE_ALWAYS with
    // plain attributes would be refused).
    const DWORD hidden = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    ASSERT_TRUE(sys->SetFileAttributesA(kLongFile, hidden));
    Put(kLongFile, "[A]\r\nx=2\r\n");
    EXPECT_EQ(hidden, sys->GetFileAttributesA(kLongFile) & hidden);
    ASSERT_TRUE(sys->SetFileAttributesA(kLongFile, FILE_ATTRIBUTE_ARCHIVE));

    DWORD serial = 0, again = 0;
    ASSERT_TRUE(sys->GetVolumeInformationA("C:\\", &serial));
    ASSERT_TRUE(sys->GetVolumeInformationA("c:\\", &again));
    EXPECT_EQ(serial, again);
}

}  // namespace
}  // namespace vt::contract
