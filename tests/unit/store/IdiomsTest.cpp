#include "platform/fake/FakePlatform.h"
#include "store/Idioms.h"
#include "store/StoreError.h"

#include <gtest/gtest.h>

#include <optional>

namespace vt {
namespace {

using fake::Call;
using fake::FakePlatform;

constexpr const char* kKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";

class IdiomsTest : public ::testing::Test {
  protected:
    void Put(const char* name, DWORD type, std::vector<BYTE> data) {
        sys.PutValue(HKEY_CURRENT_USER, kKey, name, type, data);
    }
    // The stored value as (type, bytes), or nothing.
    std::optional<std::pair<DWORD, std::vector<BYTE>>> Stored(const char* name) {
        HKEY key = 0;
        if (sys.RegOpenKeyExA(HKEY_CURRENT_USER, kKey, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
            return std::nullopt;
        BYTE data[64];
        DWORD type = 0, size = sizeof data;
        LONG rc = sys.RegQueryValueExA(key, name, &type, data, &size);
        sys.RegCloseKey(key);
        if (rc != ERROR_SUCCESS) return std::nullopt;
        return std::make_pair(type, std::vector<BYTE>(data, data + size));
    }

    FakePlatform sys;
};

TEST_F(IdiomsTest, GuardedReadsTakeTheDefaultForMissingOrUnreadableValues) {
    Put("Text", REG_SZ, {'o', 'k', 0});
    Put("Number", REG_DWORD, {7, 0, 0, 0});
    Put("WrongForText", REG_DWORD, {1, 0, 0, 0});
    Put("WrongForNumber", REG_SZ, {'1', 0});
    TRegistry reg(sys);
    reg.OpenPath(kKey, false);
    EXPECT_EQ("ok", GuardedReadText(reg, "Text", "def"));
    EXPECT_EQ("def", GuardedReadText(reg, "Missing", "def"));
    EXPECT_EQ("def", GuardedReadText(reg, "WrongForText", "def"));
    EXPECT_EQ(7, GuardedReadNumber(reg, "Number", 99));
    EXPECT_EQ(99, GuardedReadNumber(reg, "Missing", 99));
    EXPECT_EQ(99, GuardedReadNumber(reg, "WrongForNumber", 99));
}

TEST_F(IdiomsTest, GuardedReadsWithNoKeyOpenTakeTheDefault) {
    TRegistry reg(sys);
    reg.OpenPath("\\Software\\Missing", false);
    BinaryValue buffer;
    buffer.SetNumber(5);
    GuardedReadBytes(reg, "NoRun", buffer, 0);
    EXPECT_EQ(0u, buffer.Number());
    EXPECT_EQ("x", GuardedReadText(reg, "NoRun", "x"));
}

struct BinaryCase {
    const char* label;
    DWORD type;
    std::vector<BYTE> stored;
    DWORD before;
    DWORD expected;
};

class GuardedReadBytesTest : public IdiomsTest, public ::testing::WithParamInterface<BinaryCase> {};

TEST_P(GuardedReadBytesTest, FillsTheRunLongBuffer) {
    const BinaryCase& c = GetParam();
    Put("Value", c.type, c.stored);
    TRegistry reg(sys);
    reg.OpenPath(kKey, false);
    BinaryValue buffer;
    buffer.SetNumber(c.before);
    GuardedReadBytes(reg, "Value", buffer, 0x2A);
    EXPECT_EQ(c.expected, buffer.Number());
}

INSTANTIATE_TEST_SUITE_P(
    Values, GuardedReadBytesTest,
    ::testing::Values(
        BinaryCase{"four_bytes", REG_BINARY, {1, 0, 0, 0}, 0xFFFFFFFF, 1},
        BinaryCase{"one_byte_keeps_the_high_bytes", REG_BINARY, {0x02}, 0x11223344, 0x11223302},
        BinaryCase{"one_byte_at_the_first_read", REG_BINARY, {0x02}, 0, 2},
        BinaryCase{"dword_takes_the_default", REG_DWORD, {1, 0, 0, 0}, 0, 0x2A},
        BinaryCase{"five_bytes_take_the_default", REG_BINARY, {1, 0, 0, 0, 0}, 0, 0x2A},
        BinaryCase{"string_takes_the_default", REG_SZ, {'1', 0}, 0, 0x2A}),
    [](const auto& info) { return std::string(info.param.label); });

struct IdiomCase {
    WriteIdiom idiom;
    bool checked;
    bool existedBefore;
    std::optional<DWORD> after;  // the binary number stored afterwards
};

class RegistryWriteIdiomTest : public IdiomsTest,
                               public ::testing::WithParamInterface<IdiomCase> {};

TEST_P(RegistryWriteIdiomTest, WritesDeletesOrLeavesTheValue) {
    const IdiomCase& c = GetParam();
    if (c.existedBefore) Put("NoRun", REG_BINARY, {9, 0, 0, 0});
    TRegistry reg(sys);
    reg.OpenPath(kKey, true);
    BinaryValue buffer;
    WriteByIdiom(reg, c.idiom, c.checked, "NoRun", Binary{1}, Binary{0}, &buffer);
    auto stored = Stored("NoRun");
    if (!c.after) {
        EXPECT_FALSE(stored.has_value());
        return;
    }
    ASSERT_TRUE(stored.has_value());
    EXPECT_EQ(REG_BINARY, stored->first);
    BinaryValue expected;
    expected.SetNumber(*c.after);
    EXPECT_EQ(std::vector<BYTE>(expected.Data(), expected.Data() + 4), stored->second);
    if (*c.after != 9) {
        EXPECT_EQ(*c.after, buffer.Number()) << "the run-long buffer follows";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Idioms, RegistryWriteIdiomTest,
    ::testing::Values(IdiomCase{WriteIdiom::SetOrDelete, true, false, 1},
                      IdiomCase{WriteIdiom::SetOrDelete, false, true, std::nullopt},
                      IdiomCase{WriteIdiom::SetOrDelete, false, false, std::nullopt},
                      IdiomCase{WriteIdiom::SetOrRestore, true, false, 1},
                      IdiomCase{WriteIdiom::SetOrRestore, false, true, 0},
                      IdiomCase{WriteIdiom::SetOrRestore, false, false, std::nullopt},
                      IdiomCase{WriteIdiom::CheckedOnly, true, false, 1},
                      IdiomCase{WriteIdiom::CheckedOnly, false, true, 9},
                      IdiomCase{WriteIdiom::CheckedOnly, false, false, std::nullopt},
                      IdiomCase{WriteIdiom::OnOrOff, true, false, 1},
                      IdiomCase{WriteIdiom::OnOrOff, false, false, 0}));

TEST_F(IdiomsTest, TextAndNumberValuesKeepTheirTypes) {
    TRegistry reg(sys);
    reg.OpenPath(kKey, true);
    WriteByIdiom(reg, WriteIdiom::SetOrRestore, true, "Text", std::string("yes"),
                 std::string("no"));
    WriteByIdiom(reg, WriteIdiom::SetOrRestore, true, "Number", std::int32_t{3}, std::int32_t{0});
    EXPECT_EQ(REG_SZ, Stored("Text")->first);
    EXPECT_EQ((std::vector<BYTE>{'y', 'e', 's', 0}), Stored("Text")->second);
    EXPECT_EQ(REG_DWORD, Stored("Number")->first);
    EXPECT_EQ((std::vector<BYTE>{3, 0, 0, 0}), Stored("Number")->second);
}

TEST_F(IdiomsTest, AWriteBelowAKeyThatCouldNotBeOpenedRaises) {
    sys.FailWhen([](const fake::CallInfo& c) { return c.kind == Call::RegCreateKey; },
                 ERROR_ACCESS_DENIED);
    TRegistry reg(sys);
    reg.OpenPath(kKey, true);
    EXPECT_NO_THROW(
        WriteByIdiom(reg, WriteIdiom::SetOrDelete, false, "NoRun", Binary{1}, Binary{0}));
    EXPECT_THROW(WriteByIdiom(reg, WriteIdiom::SetOrDelete, true, "NoRun", Binary{1}, Binary{0}),
                 RegistryError);
}

class IniWriteIdiomTest : public ::testing::TestWithParam<IdiomCase> {};

TEST_P(IniWriteIdiomTest, WritesRemovesOrLeavesTheKey) {
    const IdiomCase& c = GetParam();
    FakePlatform sys;
    sys.PutFile("C:\\MSDOS.SYS",
                std::string("[Options]\r\nBootGUI=1\r\n") + (c.existedBefore ? "Logo=9\r\n" : ""));
    TIniFile ini(sys, "C:\\MSDOS.SYS");
    WriteByIdiom(ini, c.idiom, c.checked, "Options", "Logo", "1", "0");
    std::string expected = "[Options]\r\nBootGUI=1\r\n";
    if (c.after) expected += "Logo=" + std::to_string(*c.after) + "\r\n";
    EXPECT_EQ(expected, sys.FileText("C:\\MSDOS.SYS"));
}

INSTANTIATE_TEST_SUITE_P(
    Idioms, IniWriteIdiomTest,
    ::testing::Values(IdiomCase{WriteIdiom::SetOrDelete, true, false, 1},
                      IdiomCase{WriteIdiom::SetOrDelete, false, true, std::nullopt},
                      IdiomCase{WriteIdiom::SetOrRestore, false, true, 0},
                      IdiomCase{WriteIdiom::SetOrRestore, false, false, std::nullopt},
                      IdiomCase{WriteIdiom::CheckedOnly, false, true, 9},
                      IdiomCase{WriteIdiom::CheckedOnly, true, true, 1},
                      IdiomCase{WriteIdiom::OnOrOff, false, false, 0}));

}  // namespace
}  // namespace vt
