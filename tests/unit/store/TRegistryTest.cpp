#include "platform/fake/FakePlatform.h"
#include "store/StoreError.h"
#include "store/TRegistry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace vt {
namespace {

using fake::Call;
using fake::FakePlatform;

class TRegistryTest : public ::testing::Test {
  protected:
    void Put(const char* path, const char* name, DWORD type, std::vector<BYTE> data) {
        sys.PutValue(HKEY_CURRENT_USER, path, name, type, data);
    }
    bool KeyExists(HKEY root, const char* path) {
        HKEY key = 0;
        if (sys.RegOpenKeyExA(root, path, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return false;
        sys.RegCloseKey(key);
        return true;
    }
    template <class F>
    std::string ErrorOf(F&& action) {
        try {
            action();
        } catch (const StoreError& e) {
            return e.what();
        }
        return "<no error>";
    }

    FakePlatform sys;
};

TEST_F(TRegistryTest, ANewAccessorHasTheCurrentUserRootAndNoKey) {
    TRegistry reg(sys);
    EXPECT_EQ(HKEY_CURRENT_USER, reg.RootKey());
    EXPECT_FALSE(reg.KeyOpen());
    EXPECT_EQ("", reg.CurrentPath());
    EXPECT_FALSE(reg.HasValue("Anything"));
    EXPECT_EQ("", reg.ReadText("Anything"));
    BYTE buffer[4] = {9, 9, 9, 9};
    EXPECT_EQ(0u, reg.ReadBytes("Anything", buffer, 4));
    EXPECT_EQ("Failed to get data for 'Anything'", ErrorOf([&] { reg.ReadNumber("Anything"); }));
    EXPECT_EQ("Failed to set data for 'NoRun'", ErrorOf([&] { reg.WriteText("NoRun", "1"); }));
    EXPECT_EQ("Failed to set data for 'NoRun'", ErrorOf([&] { reg.WriteNumber("NoRun", 1); }));
    EXPECT_EQ("Failed to set data for 'NoRun'",
              ErrorOf([&] { reg.WriteBytes("NoRun", buffer, 4); }));
    EXPECT_FALSE(reg.RemoveValue("Anything"));
    EXPECT_EQ(0u, reg.CountValues());
    std::vector<std::string> list{"stale"};
    reg.ListSubkeys(list);
    EXPECT_TRUE(list.empty());
}

TEST_F(TRegistryTest, OpenPathResolvesAbsoluteAndRelativePaths) {
    Put("Software\\A\\B\\C", "v", REG_SZ, {'1', 0});
    TRegistry reg(sys);
    ASSERT_TRUE(reg.OpenPath("Software\\A", false));  // no key open: from the root
    EXPECT_EQ("Software\\A", reg.CurrentPath());
    ASSERT_TRUE(reg.OpenPath("B", false));  // below the open key
    EXPECT_EQ("Software\\A\\B", reg.CurrentPath());
    ASSERT_TRUE(reg.OpenPath("C", false));
    EXPECT_EQ("Software\\A\\B\\C", reg.CurrentPath());
    EXPECT_TRUE(reg.HasValue("v"));
    ASSERT_TRUE(reg.OpenPath("\\Software\\A", false));  // from the root again
    EXPECT_EQ("Software\\A", reg.CurrentPath());
}

TEST_F(TRegistryTest, AFailedOpenKeepsThePreviousKey) {
    Put("Software\\A", "v", REG_SZ, {'1', 0});
    TRegistry reg(sys);
    ASSERT_TRUE(reg.OpenPath("\\Software\\A", false));
    EXPECT_FALSE(reg.OpenPath("Missing", false));
    EXPECT_FALSE(reg.OpenPath("\\Software\\Missing", false));
    EXPECT_EQ("Software\\A", reg.CurrentPath());
    EXPECT_TRUE(reg.HasValue("v"));
}

TEST_F(TRegistryTest, OnlyTheWriteModeCreatesKeysWithTheirParents) {
    TRegistry reg(sys);
    reg.SelectRoot(HKEY_LOCAL_MACHINE);
    EXPECT_FALSE(reg.OpenPath("\\Software\\New\\Deep", false));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, "Software\\New"));
    ASSERT_TRUE(reg.OpenPath("\\Software\\New\\Deep", true));
    ASSERT_TRUE(reg.OpenPath("shell", true));
    ASSERT_TRUE(reg.OpenPath("NotePad", true));
    EXPECT_EQ("Software\\New\\Deep\\shell\\NotePad", reg.CurrentPath());
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, "Software\\New\\Deep\\shell\\NotePad"));
}

TEST_F(TRegistryTest, SelectingAnotherRootClosesTheKeyButTheSameRootDoesNot) {
    Put("Software\\A", "v", REG_SZ, {'1', 0});
    TRegistry reg(sys);
    ASSERT_TRUE(reg.OpenPath("Software\\A", false));
    reg.SelectRoot(HKEY_CURRENT_USER);
    EXPECT_TRUE(reg.KeyOpen());
    reg.SelectRoot(HKEY_CLASSES_ROOT);
    EXPECT_FALSE(reg.KeyOpen());
    EXPECT_EQ(HKEY_CLASSES_ROOT, reg.RootKey());
    EXPECT_FALSE(reg.OpenPath("Software\\A", false));
}

TEST_F(TRegistryTest, HasKeyNeitherCreatesNorMoves) {
    Put("Software\\A\\B", "v", REG_SZ, {'1', 0});
    TRegistry reg(sys);
    ASSERT_TRUE(reg.OpenPath("Software\\A", false));
    EXPECT_TRUE(reg.HasKey("B"));
    EXPECT_TRUE(reg.HasKey("\\Software\\A\\B"));
    EXPECT_FALSE(reg.HasKey("Nope"));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, "Software\\A\\Nope"));
    EXPECT_EQ("Software\\A", reg.CurrentPath());
}

// Reads "Value" with one of the typed reads; the result as text, or the error's text.
enum class Reader { Text, Number };

struct ReadCase {
    Reader reader;
    const char* label;
    DWORD type;
    std::vector<BYTE> data;
    const char* expected;
};

class TypedReadTest : public TRegistryTest, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(TypedReadTest, ReadsItsOwnTypeAndRefusesTheRest) {
    const ReadCase& c = GetParam();
    Put("Software\\T", "Value", c.type, c.data);
    TRegistry reg(sys);
    reg.OpenPath("Software\\T", false);
    std::string result;
    try {
        result = c.reader == Reader::Text ? reg.ReadText("Value")
                                          : std::to_string(reg.ReadNumber("Value"));
    } catch (const StoreError& e) {
        result = e.what();
    }
    EXPECT_EQ(c.expected, result);
}

INSTANTIATE_TEST_SUITE_P(
    Types, TypedReadTest,
    ::testing::Values(
        ReadCase{Reader::Text, "string", REG_SZ, {'a', 'b', 'c', 0}, "abc"},
        ReadCase{Reader::Text, "expandable", REG_EXPAND_SZ, {'%', 'x', '%', 0}, "%x%"},
        ReadCase{Reader::Text, "empty string", REG_SZ, {0}, ""},
        ReadCase{Reader::Text, "cut at the first NUL", REG_SZ, {'a', 'b', 0, 'c', 'd', 0}, "ab"},
        ReadCase{Reader::Text, "integer", REG_DWORD, {1, 0, 0, 0}, "Invalid data type for 'Value'"},
        ReadCase{Reader::Text, "binary", REG_BINARY, {1, 0, 0, 0}, "Invalid data type for 'Value'"},
        ReadCase{Reader::Text, "empty binary", REG_BINARY, {}, ""},

        ReadCase{Reader::Number, "integer", REG_DWORD, {0xF4, 0x01, 0, 0}, "500"},
        ReadCase{Reader::Number, "negative", REG_DWORD, {0xFF, 0xFF, 0xFF, 0xFF}, "-1"},
        ReadCase{Reader::Number, "short string", REG_SZ, {'1', 0}, "Invalid data type for 'Value'"},
        ReadCase{Reader::Number,
                 "long string",
                 REG_SZ,
                 {'1', '2', '3', '4', '5', 0},
                 "Failed to get data for 'Value'"},
        ReadCase{Reader::Number,
                 "four bytes binary",
                 REG_BINARY,
                 {1, 0, 0, 0},
                 "Invalid data type for 'Value'"},
        ReadCase{Reader::Number,
                 "long binary",
                 REG_BINARY,
                 {1, 0, 0, 0, 0},
                 "Failed to get data for 'Value'"}),
    [](const auto& info) {
        std::string name =
            std::string(info.param.reader == Reader::Text ? "text_" : "number_") + info.param.label;
        std::replace(name.begin(), name.end(), ' ', '_');
        return name;
    });

TEST_F(TRegistryTest, ReadNumberOfAMissingValueFails) {
    Put("Software\\T", "Other", REG_DWORD, {1, 0, 0, 0});
    TRegistry reg(sys);
    reg.OpenPath("Software\\T", false);
    EXPECT_EQ("Failed to get data for 'Missing'", ErrorOf([&] { reg.ReadNumber("Missing"); }));
    EXPECT_EQ("", reg.ReadText("Missing"));
}

TEST_F(TRegistryTest, ReadBytesCopiesOnlyWhatIsStored) {
    Put("Software\\T", "Two", REG_BINARY, {0xAA, 0xBB});
    Put("Software\\T", "Untyped", REG_NONE, {1, 2, 3});
    Put("Software\\T", "Six", REG_BINARY, {1, 2, 3, 4, 5, 6});
    Put("Software\\T", "Dword", REG_DWORD, {1, 0, 0, 0});
    Put("Software\\T", "Text", REG_SZ, {'1', 0});
    TRegistry reg(sys);
    reg.OpenPath("Software\\T", false);
    BYTE buffer[4] = {1, 2, 3, 4};
    EXPECT_EQ(2u, reg.ReadBytes("Two", buffer, 4));
    EXPECT_EQ((std::vector<BYTE>{0xAA, 0xBB, 3, 4}), std::vector<BYTE>(buffer, buffer + 4));
    EXPECT_EQ(3u, reg.ReadBytes("Untyped", buffer, 4));
    EXPECT_EQ(0u, reg.ReadBytes("Missing", buffer, 4));
    EXPECT_EQ((std::vector<BYTE>{1, 2, 3, 4}), std::vector<BYTE>(buffer, buffer + 4));
    for (const char* name : {"Six", "Dword", "Text"})
        EXPECT_EQ("Invalid data type for '" + std::string(name) + "'",
                  ErrorOf([&] { reg.ReadBytes(name, buffer, 4); }));
}

TEST_F(TRegistryTest, WritesStoreTheDocumentedTypesAndSizes) {
    TRegistry reg(sys);
    ASSERT_TRUE(reg.OpenPath("Software\\W", true));
    reg.WriteText("Text", "abc");
    reg.WriteText("Empty", "");
    reg.WriteText("", "default");
    reg.WriteNumber("Number", -2);
    const BYTE bytes[4] = {1, 0, 0, 0};
    reg.WriteBytes("Binary", bytes, 4);
    struct Expect {
        const char* name;
        DWORD type;
        std::vector<BYTE> data;
    };
    for (const Expect& e :
         {Expect{"Text", REG_SZ, {'a', 'b', 'c', 0}}, Expect{"Empty", REG_SZ, {0}},
          Expect{"", REG_SZ, {'d', 'e', 'f', 'a', 'u', 'l', 't', 0}},
          Expect{"Number", REG_DWORD, {0xFE, 0xFF, 0xFF, 0xFF}},
          Expect{"Binary", REG_BINARY, {1, 0, 0, 0}}}) {
        HKEY key = 0;
        ASSERT_EQ(ERROR_SUCCESS,
                  sys.RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\W", KEY_ALL_ACCESS, &key));
        BYTE data[16];
        DWORD type = 0, size = sizeof data;
        ASSERT_EQ(ERROR_SUCCESS, sys.RegQueryValueExA(key, e.name, &type, data, &size)) << e.name;
        EXPECT_EQ(e.type, type) << e.name;
        EXPECT_EQ(e.data, std::vector<BYTE>(data, data + size)) << e.name;
        sys.RegCloseKey(key);
    }
}

TEST_F(TRegistryTest, ARefusedWriteNamesTheValue) {
    TRegistry reg(sys);
    ASSERT_TRUE(reg.OpenPath("Software\\W", true));
    sys.FailWhen([](const fake::CallInfo& c) { return c.kind == Call::RegSetValue; },
                 ERROR_ACCESS_DENIED);
    EXPECT_EQ("Failed to set data for 'MenuShowDelay'",
              ErrorOf([&] { reg.WriteText("MenuShowDelay", "400"); }));
}

TEST_F(TRegistryTest, RemoveKeyTakesTheWholeSubtree) {
    Put("Software\\Tree\\A\\A1", "v", REG_SZ, {'1', 0});
    Put("Software\\Tree\\A\\A2\\Deep", "v", REG_SZ, {'1', 0});
    Put("Software\\Tree\\B", "v", REG_SZ, {'1', 0});
    Put("Software\\Keep", "v", REG_SZ, {'1', 0});
    TRegistry reg(sys);
    ASSERT_TRUE(reg.OpenPath("Software", false));
    EXPECT_TRUE(reg.RemoveKey("Tree"));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, "Software\\Tree"));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, "Software\\Keep"));
    EXPECT_EQ("Software", reg.CurrentPath());
    EXPECT_TRUE(reg.HasKey("Keep"));
    EXPECT_FALSE(reg.RemoveKey("Tree"));
}

// Taken from the root, "Open" or "DOS" would name a top-level key of HKEY_CLASSES_ROOT.
TEST_F(TRegistryTest, ARelativeDeleteWithNoKeyOpenDeletesNothing) {
    Put("Open\\Command", "", REG_SZ, {'x', 0});
    Put("Software\\Other", "v", REG_SZ, {'1', 0});
    TRegistry reg(sys);
    reg.SelectRoot(HKEY_CURRENT_USER);
    EXPECT_FALSE(reg.OpenPath("Software\\Missing", false));
    EXPECT_FALSE(reg.RemoveKey("Open"));
    EXPECT_FALSE(reg.RemoveValue("v"));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, "Open\\Command"));
    ASSERT_TRUE(reg.OpenPath("Software", false));
    EXPECT_FALSE(reg.RemoveKey("")) << "never the open key itself";
    EXPECT_FALSE(reg.RemoveKey("\\"));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, "Software\\Other"));
    EXPECT_TRUE(reg.RemoveKey("\\Open")) << "an absolute path still works";
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, "Open"));
}

TEST_F(TRegistryTest, ValueTypeTellsTheStoredTypeAndWriteTextCanKeepAnExpandableText) {
    Put("Software\\Types", "expand", REG_EXPAND_SZ, {'%', '1', 0});
    TRegistry reg(sys);
    EXPECT_FALSE(reg.ValueType("expand")) << "no key open";
    ASSERT_TRUE(reg.OpenPath("Software\\Types", true));
    EXPECT_EQ(REG_EXPAND_SZ, reg.ValueType("expand"));
    EXPECT_FALSE(reg.ValueType("missing"));
    reg.WriteText("copy", "%SystemRoot%", REG_EXPAND_SZ);
    EXPECT_EQ(REG_EXPAND_SZ, reg.ValueType("copy"));
    EXPECT_EQ("%SystemRoot%", reg.ReadText("copy"));
    reg.WriteText("plain", "x");
    EXPECT_EQ(REG_SZ, reg.ValueType("plain"));
}

TEST_F(TRegistryTest, RemoveKeyDeletesChildrenDeepestFirstFromTheLastIndex) {
    Put("Software\\Tree\\A\\Inner", "v", REG_SZ, {'1', 0});
    Put("Software\\Tree\\B", "v", REG_SZ, {'1', 0});
    sys.ClearCalls();
    TRegistry reg(sys);
    reg.RemoveKey("\\Software\\Tree");
    std::vector<std::string> deleted;
    for (const auto& call : sys.Calls())
        if (call.kind == Call::RegDeleteKey) deleted.push_back(call.path);
    EXPECT_EQ(
        (std::vector<std::string>{
            "HKEY_CURRENT_USER\\Software\\Tree\\B", "HKEY_CURRENT_USER\\Software\\Tree\\A\\Inner",
            "HKEY_CURRENT_USER\\Software\\Tree\\A", "HKEY_CURRENT_USER\\Software\\Tree"}),
        deleted);
}

TEST_F(TRegistryTest, ListSubkeysInEnumerationOrder) {
    for (const char* name : {"Software\\L\\txtfile", "Software\\L\\Batfile", "Software\\L\\.ini"})
        Put(name, "", REG_SZ, {0});
    TRegistry reg(sys);
    reg.OpenPath("Software\\L", false);
    std::vector<std::string> list{"stale"};
    reg.ListSubkeys(list);
    EXPECT_EQ((std::vector<std::string>{".ini", "Batfile", "txtfile"}), list);
}

TEST_F(TRegistryTest, TheAccessorClosesItsKeysButNeverARoot) {
    Put("Software\\A\\B", "v", REG_SZ, {'1', 0});
    sys.ClearCalls();
    {
        TRegistry reg(sys);
        reg.SelectRoot(HKEY_CURRENT_USER);
        reg.OpenPath("Software\\A", false);
        reg.OpenPath("B", false);
    }
    int opens = 0, closes = 0;
    for (const auto& call : sys.Calls()) {
        opens += call.kind == Call::RegOpenKey;
        if (call.kind == Call::RegCloseKey) {
            ++closes;
            EXPECT_NE("HKEY_CURRENT_USER", call.path);
        }
    }
    EXPECT_EQ(2, opens);
    EXPECT_EQ(2, closes);
}

}  // namespace
}  // namespace vt
