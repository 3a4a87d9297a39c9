// The fake's own test controls; its Windows behaviour is held by the contract suite.
#include "platform/fake/FakePlatform.h"

#include <gtest/gtest.h>

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
