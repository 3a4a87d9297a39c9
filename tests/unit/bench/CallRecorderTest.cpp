// The recorder behind the Apply benchmark: a replay can only make the same calls again if
// the log names keys by the order they were opened and keeps what the calls were given.
#include "bench/CallRecorder.h"
#include "platform/fake/FakePlatform.h"

#include <gtest/gtest.h>

namespace vt::bench {
namespace {

TEST(CallRecorderTest, KeysAreNumberedInTheOrderTheyWereOpenedAndRootsKeepTheirValue) {
    fake::FakePlatform sys;
    CallRecorder recorder(sys);
    recorder.recording = true;
    HKEY first = 0, second = 0, missing = 0;
    ASSERT_EQ(ERROR_SUCCESS,
              recorder.RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\A", KEY_ALL_ACCESS, &first));
    ASSERT_EQ(ERROR_SUCCESS, recorder.RegCreateKeyExA(first, "B", KEY_ALL_ACCESS, &second));
    EXPECT_NE(ERROR_SUCCESS, recorder.RegOpenKeyExA(second, "none", KEY_ALL_ACCESS, &missing));
    recorder.RegCloseKey(second);
    recorder.RegSetValueExA(second, "after", REG_SZ, reinterpret_cast<const BYTE*>("x"), 2);

    ASSERT_EQ(5u, recorder.log.size());
    const auto& log = recorder.log;
    EXPECT_EQ(Op::RegCreateKeyExA, log[0].op);
    EXPECT_EQ(HKEY_CURRENT_USER, log[0].key);
    EXPECT_EQ("Software\\A", *log[0].text[0]);
    EXPECT_EQ(static_cast<DWORD>(KEY_ALL_ACCESS), log[0].number[0]);
    EXPECT_EQ(1u, log[0].opened);
    EXPECT_EQ(1u, log[1].key);
    EXPECT_EQ(2u, log[1].opened);
    EXPECT_EQ(2u, log[2].key);
    EXPECT_EQ(0u, log[2].opened) << "a failed open names no key";
    EXPECT_NE(ERROR_SUCCESS, log[2].result);
    EXPECT_EQ(Op::RegCloseKey, log[3].op);
    EXPECT_EQ(0u, log[4].key) << "a closed handle is no longer key 2";
}

TEST(CallRecorderTest, KeepsWhatACallWasGivenAndWhatItAnswered) {
    fake::FakePlatform sys;
    sys.PutFile("C:\\WINDOWS\\SYSTEM.INI", "[vcache]\r\nMaxFileCache=4096\r\n");
    CallRecorder recorder(sys);
    recorder.recording = true;
    HKEY key = 0;
    recorder.RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\V", KEY_ALL_ACCESS, &key);
    const BYTE bytes[] = {1, 2, 3, 4};
    recorder.RegSetValueExA(key, "Bin", REG_BINARY, bytes, 4);
    DWORD size = 16, type = 0;
    BYTE data[16];
    recorder.RegQueryValueExA(key, "Bin", &type, data, &size);
    recorder.RegQueryValueExA(key, nullptr, nullptr, nullptr, &size);
    char buffer[64];
    recorder.GetPrivateProfileStringA("vcache", "MaxFileCache", "", buffer, sizeof buffer,
                                      "SYSTEM.INI");
    recorder.WritePrivateProfileStringA("vcache", "MaxFileCache", nullptr, "SYSTEM.INI");
    recorder.GetFileAttributesA("C:\\NONE.TXT");

    const auto& log = recorder.log;
    ASSERT_EQ(7u, log.size());
    EXPECT_EQ(static_cast<DWORD>(REG_BINARY), log[1].number[0]);
    EXPECT_EQ(4u, log[1].number[1]);
    EXPECT_EQ(std::vector<BYTE>(bytes, bytes + 4), log[1].data);
    EXPECT_EQ(7, log[2].given) << "type, data and size were all given";
    EXPECT_EQ(16u, log[2].number[0]) << "the buffer size as given, not as answered";
    EXPECT_EQ(ERROR_SUCCESS, log[2].result);
    EXPECT_FALSE(log[3].text[0].has_value()) << "the default value is named by null";
    EXPECT_EQ(4, log[3].given);
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, log[3].result);
    EXPECT_EQ(4, log[4].result) << "the length of \"4096\"";
    EXPECT_EQ(64u, log[4].number[0]);
    EXPECT_EQ("SYSTEM.INI", *log[4].text[2]);
    EXPECT_EQ(1, log[4].given) << "an empty default is still a default";
    EXPECT_EQ(0, log[5].given) << "a null value deletes the key";
    EXPECT_EQ(TRUE, log[5].result);
    EXPECT_EQ(Op::GetFileAttributesA, log[6].op);
    EXPECT_EQ("C:\\NONE.TXT", *log[6].text[0]);
    EXPECT_EQ(static_cast<long long>(INVALID_FILE_ATTRIBUTES), log[6].result);
}

TEST(CallRecorderTest, KeepsNothingWhileNotRecording) {
    fake::FakePlatform sys;
    CallRecorder recorder(sys);
    HKEY key = 0;
    EXPECT_EQ(ERROR_SUCCESS,
              recorder.RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Q", KEY_ALL_ACCESS, &key));
    EXPECT_TRUE(recorder.log.empty());
    recorder.recording = true;
    recorder.RegCloseKey(key);
    ASSERT_EQ(1u, recorder.log.size());
    EXPECT_EQ(1u, recorder.log[0].key) << "a key opened before recording still has its number";
}

}  // namespace
}  // namespace vt::bench
