// The fake's own test controls; its Windows behaviour is held by the contract suite.
#include "platform/fake/FakePlatform.h"

#include <gtest/gtest.h>

#include <functional>

namespace vt::fake {
namespace {

HKEY CreateKey(FakePlatform& sys, HKEY root, const char* path) {
    HKEY key = 0;
    EXPECT_EQ(ERROR_SUCCESS, sys.RegCreateKeyExA(root, path, KEY_ALL_ACCESS, &key));
    return key;
}

LONG SetText(FakePlatform& sys, HKEY key, const char* name) {
    return sys.RegSetValueExA(key, name, REG_SZ, reinterpret_cast<const BYTE*>("1"), 2);
}

// Windows 98's RegDeleteKeyA takes the whole tree, whatever the names of the sub-keys; a
// handle into the tree then answers as a deleted key.
TEST(FakePlatformTest, Windows98DeletesAKeyWithAllItsSubkeys) {
    FakePlatform sys;
    sys.SetBehaviour(Behaviour::Windows98);
    HKEY leaf = CreateKey(sys, HKEY_CURRENT_USER, "Software\\T\\A\\Leaf");
    CreateKey(sys, HKEY_CURRENT_USER, "Software\\T\\BB\\C");
    EXPECT_EQ(ERROR_SUCCESS, sys.RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\T"));
    HKEY key = 0;
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, sys.RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\T", 0, &key));
    EXPECT_EQ(ERROR_KEY_DELETED, SetText(sys, leaf, "v"));
    EXPECT_EQ(ERROR_SUCCESS, sys.RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, &key));
}

// Windows 98's profile writer changes the one line and keeps every other byte.
TEST(FakePlatformTest, Windows98EditsAProfileFileInPlace) {
    struct Case {
        const char* before;
        const char* section;
        const char* key;    // null: the section goes
        const char* value;  // null: the key goes
        const char* after;
    };
    const Case cases[] = {
        {"; top\r\n\r\n[A]\r\nx = 1 ; note\r\ny=2\r\n", "a", "X", "3",
         "; top\r\n\r\n[A]\r\nX=3\r\ny=2\r\n"},
        {"[A]\nx=1\n\n[B]\nz=0\n", "A", "new", "5", "[A]\nx=1\nnew=5\r\n\n[B]\nz=0\n"},
        {"[A]\r\nx=1", "B", "k", "v", "[A]\r\nx=1\r\n[B]\r\nk=v\r\n"},
        {"[A]", "A", "k", "v", "[A]\r\nk=v\r\n"},
        {"", "S", "k", "v", "[S]\r\nk=v\r\n"},
        {"[A]\r\nx=1\r\n  y = 2\r\n[B]\r\ny=9\r\n", "A", "Y", nullptr,
         "[A]\r\nx=1\r\n[B]\r\ny=9\r\n"},
        {"[A]\r\nx=1\r\n[B]\r\ny=9\r\n\r\n[C]\r\n", "b", nullptr, nullptr, "[A]\r\nx=1\r\n[C]\r\n"},
    };
    for (const Case& c : cases) {
        FakePlatform sys;
        sys.SetBehaviour(Behaviour::Windows98);
        sys.PutFile("C:\\T.INI", c.before);
        EXPECT_TRUE(sys.WritePrivateProfileStringA(c.section, c.key, c.value, "C:\\T.INI"));
        sys.EndProgram();
        EXPECT_EQ(c.after, sys.FileText("C:\\T.INI")) << c.before;
    }
    // Nothing to change leaves the file alone, odd blanks and all.
    for (const Case& c : {Case{"[A]\r\nx = 1 \r\n", "A", "x", "1", nullptr},
                          Case{"[A]\r\nx=1\r\n", "A", "y", nullptr, nullptr},
                          Case{"[A]\r\nx=1\r\n", "B", nullptr, nullptr, nullptr}}) {
        FakePlatform sys;
        sys.SetBehaviour(Behaviour::Windows98);
        sys.PutFile("C:\\T.INI", c.before);
        EXPECT_TRUE(sys.WritePrivateProfileStringA(c.section, c.key, c.value, "C:\\T.INI"));
        EXPECT_EQ(c.before, sys.FileText("C:\\T.INI"));
    }
}

// Windows 98 keeps the last profile file's changes in a cache: on disk only once flushed, by
// the all-NULL call, a write to another file or the end of the program; a flush that meets a
// file made read-only meanwhile is lost without a word.
TEST(FakePlatformTest, Windows98KeepsProfileChangesInACacheUntilFlushed) {
    struct Case {
        const char* name;
        std::function<void(FakePlatform&)> then;
        const char* onDisk;
    };
    const char* const before = "[A]\r\nx=1\r\n";
    const char* const after = "[A]\r\nx=2\r\n";
    const Case cases[] = {
        {"nothing", [](FakePlatform&) {}, before},
        {"flushed",
         [](FakePlatform& sys) {
             sys.WritePrivateProfileStringA(nullptr, nullptr, nullptr, "C:\\T.INI");
         },
         after},
        {"another file written",
         [](FakePlatform& sys) { sys.WritePrivateProfileStringA("B", "y", "1", "C:\\U.INI"); },
         after},
        {"the program ended", [](FakePlatform& sys) { sys.EndProgram(); }, after},
        {"made read-only, then flushed",
         [](FakePlatform& sys) {
             sys.SetFileAttributesA("C:\\T.INI", FILE_ATTRIBUTE_READONLY);
             sys.EndProgram();
         },
         before},
        {"power lost",
         [](FakePlatform& sys) {
             sys.LoseUnflushedWrites();
             sys.EndProgram();
         },
         before},
    };
    for (const Case& c : cases) {
        FakePlatform sys;
        sys.SetBehaviour(Behaviour::Windows98);
        sys.PutFile("C:\\T.INI", before);
        ASSERT_TRUE(sys.WritePrivateProfileStringA("A", "x", "2", "C:\\T.INI"));
        char value[8] = {};
        sys.GetPrivateProfileStringA("A", "x", "", value, sizeof value, "C:\\T.INI");
        EXPECT_STREQ("2", value) << c.name << ": the profile functions read the cache";
        c.then(sys);
        EXPECT_EQ(c.onDisk, sys.FileText("C:\\T.INI")) << c.name;
    }
}

// Wine closes two backslashes in a row up; Windows 98 takes the empty name between them for
// a folder, which is never there.
TEST(FakePlatformTest, Windows98FindsNothingBelowAnEmptyName) {
    for (Behaviour behaviour : {Behaviour::Wine, Behaviour::Windows98}) {
        FakePlatform sys;
        sys.SetBehaviour(behaviour);
        sys.PutFile("D:\\Config.DAT", "x");
        const bool wine = behaviour == Behaviour::Wine;
        EXPECT_EQ(wine, sys.GetFileAttributesA("D:\\\\Config.DAT") != INVALID_FILE_ATTRIBUTES);
        EXPECT_EQ(wine, sys.WriteFileBytes("C:\\WINDOWS\\\\new.ini", {'y'}) != FALSE);
    }
}

TEST(FakePlatformTest, FailNthFailsOnlyThatCallOfItsKind) {
    FakePlatform sys;
    HKEY key = CreateKey(sys, HKEY_CURRENT_USER, "Software\\F");
    sys.FailNth(Call::RegSetValue, 2, ERROR_WRITE_FAULT);
    EXPECT_EQ(ERROR_SUCCESS, SetText(sys, key, "a"));
    DWORD size = 0;
    EXPECT_EQ(ERROR_SUCCESS, sys.RegQueryValueExA(key, "a", nullptr, nullptr, &size));
    EXPECT_EQ(ERROR_WRITE_FAULT, SetText(sys, key, "b"));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, sys.RegQueryValueExA(key, "b", nullptr, nullptr, &size));
    EXPECT_EQ(ERROR_SUCCESS, SetText(sys, key, "c"));
}

TEST(FakePlatformTest, FailWhenMatchesOnTheCallsDetails) {
    FakePlatform sys;
    HKEY key = CreateKey(sys, HKEY_CLASSES_ROOT, "txtfile\\shell");
    sys.FailWhen(
        [](const CallInfo& c) {
            return c.kind == Call::RegSetValue && c.path == "HKEY_CLASSES_ROOT\\txtfile\\shell" &&
                   c.name == "Blocked";
        },
        ERROR_ACCESS_DENIED);
    EXPECT_EQ(ERROR_ACCESS_DENIED, SetText(sys, key, "Blocked"));
    EXPECT_EQ(ERROR_SUCCESS, SetText(sys, key, "Other"));
    EXPECT_TRUE(sys.WritePrivateProfileStringA("S", "Blocked", "1", "x.ini"));
    sys.ClearFaults();
    EXPECT_EQ(ERROR_SUCCESS, SetText(sys, key, "Blocked"));
}

TEST(FakePlatformTest, InjectedFileFailuresSetTheLastError) {
    FakePlatform sys;
    sys.FailWhen([](const CallInfo& c) { return c.kind == Call::ProfileWrite; },
                 ERROR_ACCESS_DENIED);
    EXPECT_FALSE(sys.WritePrivateProfileStringA("S", "K", "v", "SYSTEM.INI"));
    EXPECT_EQ(static_cast<DWORD>(ERROR_ACCESS_DENIED), sys.GetLastError());
    EXPECT_FALSE(sys.HasFile("C:\\WINDOWS\\SYSTEM.INI"));
}

TEST(FakePlatformTest, TheLogNamesEachCallWithItsResolvedPath) {
    FakePlatform sys;
    sys.ClearCalls();
    sys.WritePrivateProfileStringA("386Enh", "ConservativeSwapfileUsage", "1", "system.ini");
    sys.SetFileAttributesA("C:\\MSDOS.SYS", 7);
    ASSERT_EQ(2u, sys.Calls().size());
    EXPECT_EQ(Call::ProfileWrite, sys.Calls()[0].kind);
    EXPECT_EQ("C:\\WINDOWS\\system.ini", sys.Calls()[0].path);
    EXPECT_EQ("386Enh\\ConservativeSwapfileUsage", sys.Calls()[0].name);
    EXPECT_EQ(7u, sys.Calls()[1].number);
}

TEST(FakePlatformTest, AHandleToADeletedKeyAnswersKeyDeleted) {
    FakePlatform sys;
    HKEY parent = CreateKey(sys, HKEY_CURRENT_USER, "Software");
    HKEY doomed = CreateKey(sys, HKEY_CURRENT_USER, "Software\\Doomed\\Child");
    ASSERT_EQ(ERROR_SUCCESS, sys.RegDeleteKeyA(parent, "Doomed"));
    EXPECT_EQ(ERROR_KEY_DELETED, SetText(sys, doomed, "x"));
    EXPECT_EQ(ERROR_SUCCESS, sys.RegCloseKey(doomed));
    EXPECT_EQ(ERROR_INVALID_HANDLE, sys.RegCloseKey(doomed));
}

TEST(FakePlatformTest, AMutexAnotherProcessHoldsAnswersAlreadyExistsAndIsLogged) {
    FakePlatform sys;
    sys.HoldMutex("Held");
    EXPECT_NE(0u, sys.CreateMutexA("Held"));
    EXPECT_EQ(static_cast<DWORD>(ERROR_ALREADY_EXISTS), sys.GetLastError());
    EXPECT_NE(0u, sys.CreateMutexA("held"));
    EXPECT_EQ(static_cast<DWORD>(ERROR_SUCCESS), sys.GetLastError()) << "names keep their case";
    ASSERT_EQ(2u, sys.Calls().size());
    EXPECT_EQ(Call::CreateMutex, sys.Calls()[0].kind);
    EXPECT_EQ("Held", sys.Calls()[0].name);
}

TEST(FakePlatformTest, MemoryAndVersionAreWhatTheTestSets) {
    FakePlatform sys;
    MEMORYSTATUS status;
    status.dwTotalPhys = 32u << 20;
    status.dwAvailPhys = 1u << 20;
    sys.SetMemoryStatus(status);
    MEMORYSTATUS read;
    sys.GlobalMemoryStatus(&read);
    EXPECT_EQ(32u << 20, read.dwTotalPhys);
    EXPECT_EQ(1u << 20, read.dwAvailPhys);
    OSVERSIONINFOA version;
    version.dwMajorVersion = 5;
    version.dwPlatformId = VER_PLATFORM_WIN32_NT;
    sys.SetVersion(version);
    OSVERSIONINFOA got;
    ASSERT_TRUE(sys.GetVersionExA(&got));
    EXPECT_EQ(5u, got.dwMajorVersion);
    EXPECT_EQ(VER_PLATFORM_WIN32_NT, got.dwPlatformId);
}

}  // namespace
}  // namespace vt::fake
