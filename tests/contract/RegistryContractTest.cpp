// What the store accessors rely on from the registry functions.
#include "PlatformUnderTest.h"
#include "store/TRegistry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace vt::contract {
namespace {

constexpr const char* kScratch = "Software\\VtContract";

class RegistryContract : public ::testing::Test {
  protected:
    void SetUp() override {
        sys = MakePlatformUnderTest();
        DeleteTree(HKEY_CURRENT_USER, kScratch);
        ASSERT_EQ(ERROR_SUCCESS,
                  sys->RegCreateKeyExA(HKEY_CURRENT_USER, kScratch, KEY_ALL_ACCESS, &scratch));
    }
    void TearDown() override {
        for (HKEY key : opened) sys->RegCloseKey(key);
        sys->RegCloseKey(scratch);
        DeleteTree(HKEY_CURRENT_USER, kScratch);
    }

    // Children first: deleting a key with sub-keys may leave some of them.
    void DeleteTree(HKEY base, const char* path) {
        HKEY key = 0;
        if (sys->RegOpenKeyExA(base, path, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
        for (const std::string& child : Subkeys(key)) DeleteTree(key, child.c_str());
        sys->RegCloseKey(key);
        sys->RegDeleteKeyA(base, path);
    }

    HKEY Create(HKEY base, const char* path) {
        HKEY key = 0;
        EXPECT_EQ(ERROR_SUCCESS, sys->RegCreateKeyExA(base, path, KEY_ALL_ACCESS, &key)) << path;
        opened.push_back(key);
        return key;
    }
    LONG Open(HKEY base, const char* path, HKEY* key) {
        LONG rc = sys->RegOpenKeyExA(base, path, KEY_ALL_ACCESS, key);
        if (rc == ERROR_SUCCESS) opened.push_back(*key);
        return rc;
    }
    LONG SetString(HKEY key, const char* name, const char* data, DWORD size, DWORD type = REG_SZ) {
        return sys->RegSetValueExA(key, name, type, reinterpret_cast<const BYTE*>(data), size);
    }
    struct Query {
        LONG rc;
        DWORD type;
        DWORD size;
    };
    Query QuerySize(HKEY key, const char* name) {
        Query q{0, 0, 0};
        q.rc = sys->RegQueryValueExA(key, name, &q.type, nullptr, &q.size);
        return q;
    }
    std::vector<std::string> Subkeys(HKEY key) {
        std::vector<std::string> names;
        for (DWORD i = 0;; ++i) {
            char name[256];
            DWORD size = sizeof name;
            LONG rc = sys->RegEnumKeyExA(key, i, name, &size);
            if (rc == ERROR_NO_MORE_ITEMS) break;
            EXPECT_EQ(ERROR_SUCCESS, rc);
            if (rc != ERROR_SUCCESS) break;
            names.emplace_back(name, size);
        }
        return names;
    }

    std::unique_ptr<Platform> sys;
    HKEY scratch = 0;
    std::vector<HKEY> opened;
};

// A write pass flushes each hive it changed before it counts as ended: a root, or a user's
// key below HKEY_USERS opened by name.
TEST_F(RegistryContract, FlushingARootOrAnOpenKeyKeepsItsValuesAndItsHandle) {
    HKEY key = Create(scratch, "Flushed");
    ASSERT_EQ(ERROR_SUCCESS, SetString(key, "v", "kept", 5));
    EXPECT_EQ(ERROR_SUCCESS, sys->RegFlushKey(key));
    EXPECT_EQ(ERROR_SUCCESS, sys->RegFlushKey(HKEY_CURRENT_USER));
    EXPECT_EQ(ERROR_SUCCESS, sys->RegFlushKey(HKEY_LOCAL_MACHINE));
    HKEY defaultUser = 0;
    ASSERT_EQ(ERROR_SUCCESS, Open(HKEY_USERS, ".DEFAULT", &defaultUser));
    EXPECT_EQ(ERROR_SUCCESS, sys->RegFlushKey(defaultUser));
    EXPECT_EQ(5u, QuerySize(key, "v").size) << "the handle still reads";
}

TEST_F(RegistryContract, KeyNamesMatchWithoutCaseAndKeepTheCaseTheyWereCreatedWith) {
    Create(scratch, "MixedCase\\Inner");
    HKEY key = 0;
    EXPECT_EQ(ERROR_SUCCESS,
              Open(HKEY_CURRENT_USER, "SOFTWARE\\vtcontract\\mixedCASE\\INNER", &key));
    EXPECT_EQ(std::vector<std::string>{"MixedCase"}, Subkeys(scratch));
}

TEST_F(RegistryContract, ValueNamesMatchWithoutCase) {
    ASSERT_EQ(ERROR_SUCCESS, SetString(scratch, "SomeValue", "x", 2));
    EXPECT_EQ(ERROR_SUCCESS, QuerySize(scratch, "SOMEVALUE").rc);
    ASSERT_EQ(ERROR_SUCCESS, SetString(scratch, "somevalue", "longer", 7));
    EXPECT_EQ(7u, QuerySize(scratch, "SomeValue").size);
}

TEST_F(RegistryContract, StringSizesCountTheTerminatingNul) {
    struct Case {
        const char* name;
        const char* data;
        DWORD sizeGiven;
        DWORD sizeStored;
    };
    for (const Case& c :
         {Case{"Text", "abc", 4, 4}, Case{"Empty", "", 1, 1}, Case{"Unterminated", "abc", 3, 4},
          Case{"NothingGiven", "", 0, 1}, Case{"Short", "abc", 1, 4}, Case{"ZeroSize", "abc", 0, 4},
          Case{"PastTheNul", "ab\0cd", 6, 3}}) {
        ASSERT_EQ(ERROR_SUCCESS, SetString(scratch, c.name, c.data, c.sizeGiven)) << c.name;
        Query q = QuerySize(scratch, c.name);
        EXPECT_EQ(ERROR_SUCCESS, q.rc) << c.name;
        EXPECT_EQ(REG_SZ, q.type) << c.name;
        EXPECT_EQ(c.sizeStored, q.size) << c.name;
    }
    char buffer[8] = "zzzzzzz";
    DWORD type = 0, size = sizeof buffer;
    ASSERT_EQ(ERROR_SUCCESS, sys->RegQueryValueExA(scratch, "Unterminated", &type,
                                                   reinterpret_cast<BYTE*>(buffer), &size));
    EXPECT_EQ(0, std::memcmp(buffer, "abc\0", 4));
}

TEST_F(RegistryContract, AStringWithoutDataIsRefused) {
    for (DWORD size : {0u, 4u}) {
        EXPECT_EQ(ERROR_INVALID_PARAMETER, SetString(scratch, "Null", nullptr, size)) << size;
        EXPECT_EQ(ERROR_FILE_NOT_FOUND, QuerySize(scratch, "Null").rc) << size;
    }
}

TEST_F(RegistryContract, AnExpandableStringKeepsExactlyTheSizeGiven) {
    struct Case {
        const char* name;
        const char* data;
        DWORD size;
    };
    for (const Case& c :
         {Case{"Whole", "ab\0cd\0", 6}, Case{"Unterminated", "abc", 2}, Case{"None", "", 0}}) {
        ASSERT_EQ(ERROR_SUCCESS, SetString(scratch, c.name, c.data, c.size, REG_EXPAND_SZ));
        Query q = QuerySize(scratch, c.name);
        EXPECT_EQ(REG_EXPAND_SZ, q.type) << c.name;
        EXPECT_EQ(c.size, q.size) << c.name;
    }
    char buffer[8] = "zzzzzzz";
    DWORD type = 0, size = sizeof buffer;
    ASSERT_EQ(ERROR_SUCCESS, sys->RegQueryValueExA(scratch, "Whole", &type,
                                                   reinterpret_cast<BYTE*>(buffer), &size));
    EXPECT_EQ(0, std::memcmp(buffer, "ab\0cd\0z", 7));
    std::strcpy(buffer, "zzzzzzz");
    size = 3;
    ASSERT_EQ(ERROR_SUCCESS, sys->RegQueryValueExA(scratch, "Unterminated", &type,
                                                   reinterpret_cast<BYTE*>(buffer), &size));
    EXPECT_EQ(2u, size);
    EXPECT_EQ(0, std::memcmp(buffer, "ab\0z", 4)) << "a NUL is added where there is room";
}

TEST_F(RegistryContract, TheEmptyNameIsTheDefaultValue) {
    ASSERT_EQ(ERROR_SUCCESS, SetString(scratch, "", "default", 8));
    Query q{0, 0, 0};
    q.rc = sys->RegQueryValueExA(scratch, nullptr, &q.type, nullptr, &q.size);
    EXPECT_EQ(ERROR_SUCCESS, q.rc);
    EXPECT_EQ(8u, q.size);
    EXPECT_EQ(ERROR_SUCCESS, sys->RegDeleteValueA(scratch, nullptr));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, QuerySize(scratch, "").rc);
}

TEST_F(RegistryContract, MissingThingsAnswerFileNotFound) {
    HKEY key = 0;
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, Open(scratch, "NoSuchKey", &key));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, Open(scratch, "NoSuchKey\\Below", &key));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, QuerySize(scratch, "NoSuchValue").rc);
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, sys->RegDeleteValueA(scratch, "NoSuchValue"));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, sys->RegDeleteKeyA(scratch, "NoSuchKey"));
}

TEST_F(RegistryContract, NoKeyHandleIsAnInvalidHandle) {
    EXPECT_EQ(ERROR_INVALID_HANDLE, SetString(0, "x", "a", 2));
}

TEST_F(RegistryContract, ATooSmallBufferAnswersMoreDataWithTheSizeNeeded) {
    ASSERT_EQ(ERROR_SUCCESS, SetString(scratch, "Text", "abcdef", 7));
    for (DWORD given : {0u, 2u, 6u}) {
        BYTE buffer[8] = {};
        DWORD type = 0, size = given;
        EXPECT_EQ(ERROR_MORE_DATA, sys->RegQueryValueExA(scratch, "Text", &type, buffer, &size))
            << given;
        EXPECT_EQ(7u, size) << given;
    }
}

TEST_F(RegistryContract, BinaryAndDwordValuesKeepTheirTypesAndSizes) {
    const BYTE dword[4] = {0x78, 0x56, 0x34, 0x12};
    const BYTE bytes[6] = {1, 2, 3, 4, 5, 6};
    ASSERT_EQ(ERROR_SUCCESS, sys->RegSetValueExA(scratch, "Dword", REG_DWORD, dword, 4));
    ASSERT_EQ(ERROR_SUCCESS, sys->RegSetValueExA(scratch, "Six", REG_BINARY, bytes, 6));
    ASSERT_EQ(ERROR_SUCCESS, sys->RegSetValueExA(scratch, "One", REG_BINARY, bytes, 1));
    ASSERT_EQ(ERROR_SUCCESS, sys->RegSetValueExA(scratch, "None", REG_BINARY, bytes, 0));
    struct Case {
        const char* name;
        DWORD type;
        DWORD size;
    };
    for (const Case& c : {Case{"Dword", REG_DWORD, 4}, Case{"Six", REG_BINARY, 6},
                          Case{"One", REG_BINARY, 1}, Case{"None", REG_BINARY, 0}}) {
        Query q = QuerySize(scratch, c.name);
        EXPECT_EQ(ERROR_SUCCESS, q.rc) << c.name;
        EXPECT_EQ(c.type, q.type) << c.name;
        EXPECT_EQ(c.size, q.size) << c.name;
    }
    BYTE read[4] = {0xEE, 0xEE, 0xEE, 0xEE};
    DWORD type = 0, size = sizeof read;
    ASSERT_EQ(ERROR_SUCCESS, sys->RegQueryValueExA(scratch, "Dword", &type, read, &size));
    EXPECT_EQ(0, std::memcmp(read, dword, 4));
    size = 4;
    EXPECT_EQ(ERROR_MORE_DATA, sys->RegQueryValueExA(scratch, "Six", &type, read, &size));
    EXPECT_EQ(6u, size);
}

TEST_F(RegistryContract, SubkeysEnumerateInNameOrderWithoutCase) {
    for (const char* name : {"zeta", "Beta", "alpha", "Gamma", "_under", "1st"})
        Create(scratch, name);
    EXPECT_EQ((std::vector<std::string>{"1st", "_under", "alpha", "Beta", "Gamma", "zeta"}),
              Subkeys(scratch));
    DWORD subKeys = 0, maxLen = 0, values = 99;
    ASSERT_EQ(ERROR_SUCCESS, sys->RegQueryInfoKeyA(scratch, &subKeys, &maxLen, &values));
    EXPECT_EQ(6u, subKeys);
    EXPECT_EQ(6u, maxLen);
    EXPECT_EQ(0u, values);
    char name[4];
    DWORD size = sizeof name;
    EXPECT_EQ(ERROR_MORE_DATA, sys->RegEnumKeyExA(scratch, 1, name, &size));
}

// A key's values are counted with its default value once that is set, as the right-click
// entries rely on to tell a key of their own from one that holds more.
TEST_F(RegistryContract, TheValueCountIncludesTheDefaultValueOnceSet) {
    HKEY key = Create(scratch, "Counted");
    DWORD subKeys = 9, maxLen = 9, values = 9;
    ASSERT_EQ(ERROR_SUCCESS, sys->RegQueryInfoKeyA(key, &subKeys, &maxLen, &values));
    EXPECT_EQ(0u, values);
    ASSERT_EQ(ERROR_SUCCESS, SetString(key, "", ".zipfiles", 10));
    ASSERT_EQ(ERROR_SUCCESS, sys->RegQueryInfoKeyA(key, &subKeys, &maxLen, &values));
    EXPECT_EQ(1u, values);
    ASSERT_EQ(ERROR_SUCCESS, SetString(key, "Content Type", "application/zip", 16));
    Create(key, "ShellNew");
    ASSERT_EQ(ERROR_SUCCESS, sys->RegQueryInfoKeyA(key, &subKeys, &maxLen, &values));
    EXPECT_EQ(2u, values);
    EXPECT_EQ(1u, subKeys);
    ASSERT_EQ(ERROR_SUCCESS, sys->RegDeleteValueA(key, ""));
    ASSERT_EQ(ERROR_SUCCESS, sys->RegQueryInfoKeyA(key, &subKeys, &maxLen, &values));
    EXPECT_EQ(1u, values);
    TRegistry reg(*sys);
    reg.SelectRoot(HKEY_CURRENT_USER);
    ASSERT_TRUE(reg.OpenPath(std::string(kScratch) + "\\Counted", false));
    EXPECT_EQ(1u, reg.CountValues());
}

TEST_F(RegistryContract, CreatingMakesEveryMissingParent) {
    Create(scratch, "A\\B\\C");
    HKEY key = 0;
    EXPECT_EQ(ERROR_SUCCESS, Open(scratch, "A", &key));
    EXPECT_EQ(ERROR_SUCCESS, Open(scratch, "A\\B\\C", &key));
}

TEST_F(RegistryContract, DeletingTakesSubkeysAlongWhileEachNameIsShorterThanTheOneBefore) {
    HKEY deep = Create(scratch, "Tree\\Branch\\Leaf");
    ASSERT_EQ(ERROR_SUCCESS, SetString(deep, "v", "1", 2));
    Create(scratch, "Tree\\Other");
    EXPECT_EQ(ERROR_SUCCESS, sys->RegDeleteKeyA(scratch, "Tree"));
    HKEY key = 0;
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, Open(scratch, "Tree", &key));
    EXPECT_TRUE(Subkeys(scratch).empty());
}

TEST_F(RegistryContract, DeletingKeepsSubkeysFromTheFirstWhoseNameIsNotShorter) {
    for (const char* path : {"Tree\\A\\Child", "Tree\\BB\\Child"}) Create(scratch, path);
    EXPECT_EQ(ERROR_ACCESS_DENIED, sys->RegDeleteKeyA(scratch, "Tree"));
    HKEY tree = 0;
    ASSERT_EQ(ERROR_SUCCESS, Open(scratch, "Tree", &tree));
    EXPECT_EQ(std::vector<std::string>{"BB"}, Subkeys(tree));
    HKEY bb = 0;
    ASSERT_EQ(ERROR_SUCCESS, Open(tree, "BB", &bb));
    EXPECT_EQ(std::vector<std::string>{"Child"}, Subkeys(bb));
}

TEST_F(RegistryContract, TheAccessorRemovesATreeWhateverItsNames) {
    for (const char* path : {"Tree\\A\\Child", "Tree\\BB\\C", "Tree\\BB\\DD\\E"})
        Create(scratch, path);
    TRegistry reg(*sys);
    reg.SelectRoot(HKEY_CURRENT_USER);
    ASSERT_TRUE(reg.OpenPath(kScratch, false));
    EXPECT_TRUE(reg.RemoveKey("Tree"));
    HKEY key = 0;
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, Open(scratch, "Tree", &key));
    EXPECT_TRUE(Subkeys(scratch).empty());
}

TEST_F(RegistryContract, TheEmptySubkeyDeletesTheKeyItself) {
    HKEY doomed = Create(scratch, "Doomed\\Child");
    HKEY parent = 0;
    ASSERT_EQ(ERROR_SUCCESS, Open(scratch, "Doomed", &parent));
    EXPECT_EQ(ERROR_INVALID_PARAMETER, sys->RegDeleteKeyA(parent, nullptr));
    EXPECT_EQ(ERROR_SUCCESS, sys->RegDeleteKeyA(parent, ""));
    EXPECT_TRUE(Subkeys(scratch).empty());
    EXPECT_EQ(ERROR_KEY_DELETED, SetString(doomed, "x", "1", 2));
}

TEST_F(RegistryContract, ALeadingBackslashIsABadPathExceptOnceForCreating) {
    HKEY key = 0;
    EXPECT_EQ(ERROR_BAD_PATHNAME, Open(HKEY_CURRENT_USER, "\\Software\\VtContract", &key));
    EXPECT_EQ(ERROR_BAD_PATHNAME, Open(HKEY_CLASSES_ROOT, "\\txtfile", &key));
    EXPECT_EQ(ERROR_BAD_PATHNAME, sys->RegCreateKeyExA(scratch, "\\\\Twice", KEY_ALL_ACCESS, &key));
    Create(scratch, "\\Once");
    EXPECT_EQ(std::vector<std::string>{"Once"}, Subkeys(scratch));
    EXPECT_EQ(ERROR_BAD_PATHNAME, sys->RegDeleteKeyA(scratch, "\\Once"));
    EXPECT_EQ(ERROR_SUCCESS, sys->RegDeleteKeyA(scratch, "Once\\"));
    // A lone backslash: opening a root with it is a bad path too; creating with it gives a
    // new handle to the root itself.
    ASSERT_EQ(ERROR_SUCCESS, SetString(scratch, "Seen", "1", 2));
    for (HKEY root : {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS}) {
        EXPECT_EQ(ERROR_BAD_PATHNAME, Open(root, "\\", &key)) << root;
        HKEY copy = Create(root, "\\");
        EXPECT_NE(root, copy);
    }
    HKEY copy = Create(HKEY_CURRENT_USER, "\\"), below = 0;
    ASSERT_EQ(ERROR_SUCCESS, Open(copy, kScratch, &below));
    EXPECT_EQ(ERROR_SUCCESS, QuerySize(below, "Seen").rc);
}

TEST_F(RegistryContract, APredefinedRootOpenedWithTheEmptyPathIsItself) {
    HKEY root = 0;
    ASSERT_EQ(ERROR_SUCCESS, Open(HKEY_CURRENT_USER, "", &root));
    EXPECT_EQ(HKEY_CURRENT_USER, root);
    ASSERT_EQ(ERROR_SUCCESS, Open(HKEY_CLASSES_ROOT, nullptr, &root));
    EXPECT_EQ(HKEY_CLASSES_ROOT, root);
    ASSERT_EQ(ERROR_SUCCESS, SetString(scratch, "Through", "root", 5));
    HKEY below = 0;
    ASSERT_EQ(ERROR_SUCCESS, Open(HKEY_CURRENT_USER, "", &root));
    ASSERT_EQ(ERROR_SUCCESS, Open(root, kScratch, &below));
    EXPECT_EQ(5u, QuerySize(below, "Through").size);
}

TEST_F(RegistryContract, OpeningTheEmptyPathGivesANewHandleToTheSameKey) {
    HKEY again = 0;
    ASSERT_EQ(ERROR_SUCCESS, Open(scratch, "", &again));
    EXPECT_NE(scratch, again);
    ASSERT_EQ(ERROR_SUCCESS, SetString(again, "ThroughCopy", "1", 2));
    EXPECT_EQ(ERROR_SUCCESS, QuerySize(scratch, "ThroughCopy").rc);
}

TEST_F(RegistryContract, ClassesRootIsSoftwareClassesOfTheLocalMachine) {
    HKEY key = Create(HKEY_CLASSES_ROOT, "VtContractType");
    ASSERT_EQ(ERROR_SUCCESS, SetString(key, "", "through HKCR", 13));
    HKEY other = 0;
    ASSERT_EQ(ERROR_SUCCESS, Open(HKEY_LOCAL_MACHINE, "Software\\Classes\\vtcontracttype", &other));
    EXPECT_EQ(13u, QuerySize(other, "").size);
    Create(HKEY_LOCAL_MACHINE, "SOFTWARE\\Classes\\VtContractType\\shell");
    HKEY shell = 0;
    EXPECT_EQ(ERROR_SUCCESS, Open(HKEY_CLASSES_ROOT, "VtContractType\\Shell", &shell));
    EXPECT_EQ(ERROR_SUCCESS, sys->RegDeleteKeyA(HKEY_CLASSES_ROOT, "VtContractType"));
}

TEST_F(RegistryContract, CurrentUserIsNotTheDefaultUser) {
    ASSERT_EQ(ERROR_SUCCESS, SetString(scratch, "OnlyHere", "1", 2));
    HKEY key = 0;
    LONG rc = Open(HKEY_USERS, ".DEFAULT\\Software\\VtContract", &key);
    if (rc == ERROR_SUCCESS) {
        EXPECT_NE(ERROR_SUCCESS, QuerySize(key, "OnlyHere").rc);
    }
    HKEY defaultUser = 0;
    EXPECT_EQ(ERROR_SUCCESS, Open(HKEY_USERS, ".DEFAULT", &defaultUser));
}

}  // namespace
}  // namespace vt::contract
