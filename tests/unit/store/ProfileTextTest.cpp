#include "store/ProfileText.h"
#include "store/RestorePointFiles.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace vt {
namespace {

struct EditRow {
    const char* name;
    std::string before;
    const char* section;
    const char* key;    // null: the section goes
    const char* value;  // null: the key goes
    std::string after;
};

// One key changes; every other byte stays as the file had it.
TEST(ProfileTextTest, AnEditChangesOneKeyAndKeepsEveryOtherByte) {
    const std::string dosEnd = "\x1a";
    const EditRow rows[] = {
        {"blanks around '=' kept", "[Options]\r\nBootGUI = 1\r\nLogo=1\r\n", "Options", "BootGUI",
         "0", "[Options]\r\nBootGUI = 0\r\nLogo=1\r\n"},
        {"same value: nothing", "[Options]\r\nBootGUI =  1 \r\n", "options", "bootgui", "1",
         "[Options]\r\nBootGUI =  1 \r\n"},
        {"a key added after the section's last line, before its blank line",
         "[386Enh]\r\ndevice=*vmm\r\n\r\n[vcache]\r\n", "386enh", "PageBuffers", "32",
         "[386Enh]\r\ndevice=*vmm\r\nPageBuffers=32\r\n\r\n[vcache]\r\n"},
        {"a section added before the Ctrl+Z", "[Paths]\r\nWinDir=C:\\WINDOWS\r\n" + dosEnd,
         "Options", "BootMenu", "1",
         "[Paths]\r\nWinDir=C:\\WINDOWS\r\n[Options]\r\nBootMenu=1\r\n" + dosEnd},
        {"a last line without its end", "[Options]\r\nLogo=1", "Options", "BootMenu", "1",
         "[Options]\r\nLogo=1\r\nBootMenu=1\r\n"},
        {"a NUL on another line stays", std::string("[A]\r\nx=1\r\n;\0\r\n", 14), "A", "x", "2",
         std::string("[A]\r\nx=2\r\n;\0\r\n", 14)},
        {"line feeds alone stay so", "[A]\nx=1\n", "A", "y", "2", "[A]\nx=1\ny=2\n"},
        {"the first of a key given twice", "[A]\r\nx=1\r\n[A]\r\nx=2\r\n", "A", "x", "3",
         "[A]\r\nx=3\r\n[A]\r\nx=2\r\n"},
        {"a key removed with its line", "[A]\r\nx=1\r\ny=2\r\n", "A", "x", nullptr,
         "[A]\r\ny=2\r\n"},
        {"a missing key removed: nothing", "[A]\r\ny=2\r\n", "A", "x", nullptr, "[A]\r\ny=2\r\n"},
        {"a section removed up to the next", "[A]\r\nx=1\r\n[B]\r\ny=2\r\n", "A", nullptr, nullptr,
         "[B]\r\ny=2\r\n"},
        {"a key after the Ctrl+Z is no key", "[A]\r\n" + dosEnd + "x=1\r\n", "A", "x", "2",
         "[A]\r\nx=2\r\n" + dosEnd + "x=1\r\n"},
        {"a new file", "", "vcache", "MinFileCache", "512", "[vcache]\r\nMinFileCache=512\r\n"},
    };
    for (const EditRow& row : rows)
        EXPECT_EQ(row.after, EditedProfile(row.before, row.section, row.key, row.value))
            << row.name;
}

TEST(ProfileTextTest, AShortBootFileIsPaddedWithCommentLinesBeforeItsEnd) {
    const std::string text = "[Options]\r\nBootGUI=1\r\n\x1a";
    const std::string padded = PaddedBootFile(text);
    EXPECT_GE(padded.size(), kBootFileMinimum);
    EXPECT_LT(padded.size(), kBootFileMinimum + 8);
    EXPECT_TRUE(padded.starts_with("[Options]\r\nBootGUI=1\r\n;xxx"));
    EXPECT_TRUE(padded.ends_with("x\r\n\x1a"));
    EXPECT_EQ(ProfileKeys(text).size(), ProfileKeys(padded).size()) << "only comments added";
    EXPECT_EQ(padded, PaddedBootFile(padded));
}

TEST(ProfileTextTest, KeysAreNamedAsSpelledWithoutTheirBlanks) {
    const auto values =
        ProfileValues("C:\\MSDOS.SYS", "[Options]\r\n AutoScan = 1 \r\nautoscan=2\r\n");
    ASSERT_EQ(1u, values.size());
    EXPECT_EQ("1", values.at("C:\\MSDOS.SYS [Options] AutoScan"));
}

std::optional<std::vector<BYTE>> Bytes(const std::string& text) {
    return std::vector<BYTE>(text.begin(), text.end());
}

// A write of the program's empties the file and writes from its start: every start of what
// it wrote, cut at any byte, is found to be one; a line another program added never is.
TEST(ProfileTextTest, EveryStartOfAWriteIsACutAndNothingElseIs) {
    const std::string before = "[boot]\r\nshell=Explorer.exe\r\n\r\n[386Enh]\r\ndevice=*vmm\r\n";
    const std::string written = EditedProfile(before, "386Enh", "PageBuffers", "32");
    for (std::size_t length = 0; length < written.size(); ++length) {
        if (written.substr(0, length) == before) continue;  // whole, as it was
        auto found = pointfiles::WholeVersionOfCut(Bytes(written.substr(0, length)), Bytes(before),
                                                   Bytes(written));
        ASSERT_TRUE(found) << length;
        // A start of both is a start of what was being written.
        EXPECT_EQ(Bytes(written), *found) << length;
    }
    for (std::size_t length = written.size() - 20; length < before.size(); ++length)
        EXPECT_EQ(Bytes(before), pointfiles::WholeVersionOfCut(Bytes(before.substr(0, length)),
                                                               Bytes(before), std::nullopt));
    // FAT may leave the rest of the file's clusters zero: a start, then zeros, up to its length.
    const std::string zeroed = written.substr(0, 20) + std::string(written.size() - 20, '\0');
    EXPECT_EQ(Bytes(written),
              pointfiles::WholeVersionOfCut(Bytes(zeroed), Bytes(before), Bytes(written)));
    for (const std::string& whole :
         {before, written, written + "device=newdrv.vxd\r\n", written + std::string(1, '\0')})
        EXPECT_FALSE(pointfiles::WholeVersionOfCut(Bytes(whole), Bytes(before), Bytes(written)));
    EXPECT_FALSE(pointfiles::WholeVersionOfCut(std::nullopt, Bytes(before), Bytes(written)));
}

}  // namespace
}  // namespace vt
