// Windows 98's shell and common dialogs refuse records of the sizes later versions use:
// Shell_NotifyIconA wants the 88-byte NOTIFYICONDATAA, GetOpenFileNameA the 76-byte
// OPENFILENAMEA. Wine takes every size, so only these checks keep the program right there.
#include "platform/win32/Windows98Records.h"
#include "view/win32/Win32Prompts.h"

#include <gtest/gtest.h>

#include <cstring>

namespace vt {
namespace {

TEST(Windows98Records, TheNotifyIconRecordIsTheFirstVersionWithTheTipCut) {
    NOTIFYICONDATAA data{};
    data.uID = 7;
    data.uFlags = NIF_TIP;
    std::memset(data.szTip, 'x', sizeof data.szTip);
    ::NOTIFYICONDATAA record = Windows98NotifyIconRecord(data);
    EXPECT_EQ(88u, record.cbSize);
    EXPECT_EQ(7u, record.uID);
    EXPECT_EQ(sizeof data.szTip - 1, std::strlen(record.szTip));
}

TEST(Windows98Records, TheOpenFileRecordHasTheWindows98Size) {
    char path[260] = "";
    ::OPENFILENAMEA record =
        view::Win32Prompts::Windows98OpenFileRecord(nullptr, "Bitmaps\0*.bmp\0", path, sizeof path);
    EXPECT_EQ(76u, record.lStructSize);
    EXPECT_EQ(path, record.lpstrFile);
    EXPECT_TRUE(record.Flags & OFN_NOCHANGEDIR) << "the current directory finds Config.DAT";
}

}  // namespace
}  // namespace vt
