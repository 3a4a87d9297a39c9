#include "unit/pages/PageFixture.h"

#include "store/Bitmap.h"

#include <optional>

namespace vt::testing {
namespace {

const char* const kInfo = "C:\\WINDOWS\\system\\oeminfo.ini";
const char* const kLogo = "C:\\WINDOWS\\system\\oemlogo.bmp";

void Put16(std::string& b, unsigned v) {
    b += char(v & 0xFF);
    b += char((v >> 8) & 0xFF);
}
void Put32(std::string& b, unsigned v) {
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}

// A 24-bit bitmap file of the given size; `reserved` lands in the file header's spare bytes.
std::string BitmapFile(int width, int height, unsigned reserved = 0, int bitCount = 24) {
    int rowBytes = (width * bitCount + 31) / 32 * 4;
    int colours = bitCount <= 8 ? 1 << bitCount : 0;
    std::string b = "BM";
    Put32(b, 14 + 40 + colours * 4 + rowBytes * height);
    Put32(b, reserved);
    Put32(b, 14 + 40 + colours * 4);
    Put32(b, 40);
    Put32(b, width);
    Put32(b, height);
    Put16(b, 1);
    Put16(b, bitCount);
    for (int i = 0; i < 6; ++i) Put32(b, 0);
    b.append(colours * 4, '\x11');
    b.append(rowBytes * height, '\x7F');
    return b;
}

// The same with the old OS/2 core header (12 bytes, 16-bit sizes), 24-bit.
std::string CoreBitmapFile(int width, int height) {
    int rowBytes = (width * 24 + 31) / 32 * 4;
    std::string b = "BM";
    Put32(b, 14 + 12 + rowBytes * height);
    Put32(b, 0);
    Put32(b, 14 + 12);
    Put32(b, 12);
    Put16(b, width);
    Put16(b, height);
    Put16(b, 1);
    Put16(b, 24);
    b.append(rowBytes * height, '\x7F');
    return b;
}

// A bitmap with the given compression and an info header of `header` bytes; `masks` follow
// a 40-byte header or lie inside a larger one, then come the colours and `pixels` as given.
std::string PackedBitmapFile(int width, int height, int bitCount, unsigned compression,
                             std::string masks, const std::string& pixels, unsigned header = 40) {
    if (header > 40) masks.resize(header - 40, '\0');
    int colours = bitCount <= 8 ? 1 << bitCount : 0;
    unsigned offset = static_cast<unsigned>(14 + 40 + masks.size() + colours * 4);
    std::string b = "BM";
    Put32(b, offset + static_cast<unsigned>(pixels.size()));
    Put32(b, 0);
    Put32(b, offset);
    for (unsigned v : {header, static_cast<unsigned>(width), static_cast<unsigned>(height)})
        Put32(b, v);
    Put16(b, 1);
    Put16(b, bitCount);
    Put32(b, compression);
    for (int i = 0; i < 5; ++i) Put32(b, 0);
    return b + masks + std::string(colours * 4, '\x11') + pixels;
}

std::string Masks(unsigned red, unsigned green, unsigned blue) {
    std::string m;
    for (unsigned v : {red, green, blue}) Put32(m, v);
    return m;
}

std::vector<BYTE> Bytes(const std::string& s) {
    return std::vector<BYTE>(s.begin(), s.end());
}

struct BitmapCase {
    const char* what;
    std::string file;
    bool valid;
};

class BitmapTest : public ::testing::TestWithParam<BitmapCase> {};

TEST_P(BitmapTest, OnlyCompleteWindowsBitmapsParse) {
    EXPECT_EQ(GetParam().valid, Bitmap::Parse(Bytes(GetParam().file)).has_value())
        << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Files, BitmapTest,
    ::testing::Values(
        BitmapCase{"24 bit", BitmapFile(159, 113), true},
        BitmapCase{"8 bit with its colours", BitmapFile(16, 16, 0, 8), true},
        BitmapCase{"1 bit", BitmapFile(33, 2, 0, 1), true},
        BitmapCase{"one pixel wide", BitmapFile(1, 3), true},
        BitmapCase{"OS/2 core header", CoreBitmapFile(9, 7), true},
        BitmapCase{"OS/2 core header cut short", CoreBitmapFile(9, 7).substr(0, 60), false},
        BitmapCase{"12 bit", BitmapFile(4, 4, 0, 12), false},
        BitmapCase{"no BM", "XM" + BitmapFile(4, 4).substr(2), false},
        BitmapCase{"pixels cut short", BitmapFile(40, 40).substr(0, 200), false},
        BitmapCase{"zero width", BitmapFile(0, 4), false},
        BitmapCase{"a text file", "hello, world", false},
        BitmapCase{
            "bit fields, the whole grid",
            PackedBitmapFile(2, 2, 32, 3, Masks(0xFF0000, 0xFF00, 0xFF), std::string(16, '\0')),
            true},
        BitmapCase{"bit fields, 32767 by 32767 in 82 bytes",
                   PackedBitmapFile(32767, 32767, 32, 3, Masks(0xFF0000, 0xFF00, 0xFF),
                                    std::string(16, '\0')),
                   false},
        BitmapCase{
            "bit fields, overlapping masks",
            PackedBitmapFile(2, 2, 32, 3, Masks(0xFF00FF, 0xFF00, 0xFF), std::string(16, '\0')),
            false},
        BitmapCase{"bit fields, a mask of two runs",
                   PackedBitmapFile(2, 2, 16, 3, Masks(0x7C00, 0x3E0, 0x11), std::string(8, '\0')),
                   false},
        BitmapCase{"bit fields, masks cut off",
                   PackedBitmapFile(1, 1, 32, 3, "", std::string(4, '\0')), false},
        BitmapCase{
            "8-bit runs, whole",
            PackedBitmapFile(2, 2, 8, 1, "", std::string("\x02\x05\x00\x00\x02\x05\x00\x01", 8)),
            true},
        BitmapCase{"8-bit runs, one byte for 32767 by 32767",
                   PackedBitmapFile(32767, 32767, 8, 1, "", "\x01"), false},
        BitmapCase{"8-bit runs, a run past the row",
                   PackedBitmapFile(2, 2, 8, 1, "", std::string("\x05\x05\x00\x01", 4)), false},
        BitmapCase{"8-bit runs, no end",
                   PackedBitmapFile(2, 2, 8, 1, "", std::string("\x02\x05\x00\x00", 4)), false},
        BitmapCase{"4-bit runs, pixels past the file",
                   PackedBitmapFile(4, 1, 4, 2, "", std::string("\x00\x04\x12", 3)), false},
        BitmapCase{"JPEG inside", PackedBitmapFile(2, 2, 24, 4, "", "\xFF\xD8\xFF\xE0"), false},
        BitmapCase{"empty", "", false}));

// Windows 98's DIB engine draws bit fields only as 5-5-5 or 5-6-5 (16 bits) and 8-8-8 (32
// bits), and knows the info headers of 12, 40, 108 and 124 bytes.
TEST(BitmapFileTest, WhatWindows98CannotShowIsRefusedForThatReason) {
    using R = Bitmap::Refusal;
    struct Case {
        unsigned header, bits, red, green, blue;  // no masks: plain pixels
        std::optional<R> refused;
    } cases[] = {{40, 16, 0x7C00, 0x3E0, 0x1F, {}},
                 {108, 16, 0xF800, 0x7E0, 0x1F, {}},
                 {124, 32, 0xFF0000, 0xFF00, 0xFF, {}},
                 {108, 24, 0, 0, 0, {}},
                 {40, 16, 0xF00, 0xF0, 0xF, R::NotForWindows98},
                 {40, 32, 0xFF, 0xFF00, 0xFF0000, R::NotForWindows98},
                 {56, 16, 0xF800, 0x7E0, 0x1F, R::NotForWindows98},
                 {64, 24, 0, 0, 0, R::NotForWindows98},
                 {41, 24, 0, 0, 0, R::NoBitmap}};
    for (const Case& c : cases) {
        const std::string masks = c.red ? Masks(c.red, c.green, c.blue) : "";
        R why = c.refused == R::NoBitmap ? R::NotForWindows98 : R::NoBitmap;  // to be set
        auto bitmap = Bitmap::Parse(Bytes(PackedBitmapFile(2, 2, int(c.bits), c.red ? 3 : 0, masks,
                                                           std::string(16, '\0'), c.header)),
                                    &why);
        EXPECT_EQ(c.refused, bitmap ? std::nullopt : std::optional(why)) << c.header << c.bits;
    }
}

TEST(BitmapFileTest, AParsedBitmapIsWrittenAsAFreshFileOfTheSameSize) {
    auto bitmap = Bitmap::Parse(Bytes(BitmapFile(20, 10, 0xDEADBEEF)));
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(20, bitmap->Width());
    EXPECT_EQ(10, bitmap->Height());
    std::vector<BYTE> file = bitmap->FileBytes();
    EXPECT_EQ(Bytes(BitmapFile(20, 10)), file) << "the spare header bytes are not copied";
    auto again = Bitmap::Parse(file);
    ASSERT_TRUE(again);
    EXPECT_EQ(bitmap->Dib(), again->Dib());
}

class OemInfoTest : public PageTest {
  protected:
    OemInfoPage& page() { return pages().oemInfo; }
    std::string Key(const char* section, const char* key) {
        return TIniFile(sys, kInfo).ReadText(section, key, "<missing>");
    }
};

TEST_F(OemInfoTest, WithoutFilesTheFieldsAreEmptyAndAnUntouchedPageCreatesNothing) {
    sys.MakeDirectories("C:\\WINDOWS\\system");
    EXPECT_EQ("Manufacturer", page().Manufacturer.Text()) << "design text before the read";
    form().Apply();
    for (ui::Edit* field :
         {&page().Manufacturer, &page().Model, &page().Line1, &page().Line2, &page().Line3})
        EXPECT_EQ("", field->Text()) << field->Name();
    EXPECT_FALSE(page().Image13.Visible());
    form().Apply();
    EXPECT_FALSE(sys.HasFile(kInfo));
    EXPECT_FALSE(sys.HasFile(kLogo));
}

TEST_F(OemInfoTest, EditedFieldsAreWrittenAndOtherKeysOfTheFileStay) {
    sys.PutFile(kInfo,
                "[General]\r\nManufacturer=Old\r\nModel=M1\r\n[Support Information]\r\n"
                "Line1=a\r\nLine4=kept\r\n");
    ReadPass();
    EXPECT_EQ("Old", page().Manufacturer.Text());
    EXPECT_EQ("M1", page().Model.Text());
    page().Manufacturer.Type("Example Computers");
    page().Line2.Type("Call example.com");
    page().Model.Type("");
    WritePass();
    EXPECT_EQ("Example Computers", Key("General", "Manufacturer"));
    EXPECT_EQ("", Key("General", "Model")) << "an emptied field is an empty value";
    EXPECT_EQ("a", Key("Support Information", "Line1"));
    EXPECT_EQ("Call example.com", Key("Support Information", "Line2"));
    EXPECT_EQ("<missing>", Key("Support Information", "Line3")) << "untouched";
    EXPECT_EQ("kept", Key("Support Information", "Line4"));
}

TEST_F(OemInfoTest, ChangeLoadsThePictureAndApplySavesItAsAFreshBitmap) {
    sys.MakeDirectories("C:\\WINDOWS\\system");
    sys.PutFile("C:\\My Pictures\\logo.bmp", BitmapFile(159, 113, 0x12345678));
    ReadPass();
    prompts.Pick("C:\\My Pictures\\logo.bmp");
    page().Button9.Click();
    EXPECT_EQ("Bitmaps (*.bmp)|*.bmp", prompts.Asks().back().text);
    EXPECT_TRUE(page().Image13.Visible());
    EXPECT_FALSE(page().Image13.Dib().empty());
    EXPECT_FALSE(sys.HasFile(kLogo)) << "nothing is written before the write pass";
    form().Apply();
    auto saved = Bitmap::Parse(Bytes(sys.FileText(kLogo)));
    ASSERT_TRUE(saved);
    EXPECT_EQ(159, saved->Width());
    EXPECT_EQ(113, saved->Height());
    EXPECT_EQ(BitmapFile(159, 113), sys.FileText(kLogo));
    EXPECT_EQ(kLogo, page().LogoPath) << "read back";
    EXPECT_TRUE(page().Image13.Visible());
}

TEST_F(OemInfoTest, ClearThenApplyDeletesTheLogoAndCancellingTheDialogChangesNothing) {
    sys.PutFile(kLogo, BitmapFile(8, 8));
    ReadPass();
    EXPECT_TRUE(page().Image13.Visible());
    prompts.Pick(std::nullopt);
    page().Button9.Click();
    EXPECT_EQ(kLogo, page().LogoPath);
    page().Button10.Click();
    EXPECT_FALSE(page().Image13.Visible());
    EXPECT_TRUE(sys.HasFile(kLogo)) << "until the write pass";
    form().Apply();
    EXPECT_FALSE(sys.HasFile(kLogo));
    EXPECT_FALSE(page().Image13.Visible());
}

TEST_F(OemInfoTest, AFileThatIsNoBitmapChangesNothing) {
    sys.PutFile(kLogo, BitmapFile(8, 8));
    sys.PutFile("C:\\notes.bmp", "not a picture");
    ReadPass();
    std::vector<unsigned char> shown = page().Image13.Dib();
    prompts.Pick("C:\\notes.bmp");
    page().Button9.Click();
    ASSERT_EQ(1u, prompts.Errors().size());
    EXPECT_NE(std::string::npos, prompts.Errors()[0].find("C:\\notes.bmp"));
    EXPECT_EQ(kLogo, page().LogoPath);
    EXPECT_EQ(shown, page().Image13.Dib());
    form().Apply();
    EXPECT_EQ(BitmapFile(8, 8), sys.FileText(kLogo));
}

TEST_F(OemInfoTest, APictureWindows98CannotShowIsNamedSo) {
    sys.PutFile(kLogo, PackedBitmapFile(2, 2, 24, 0, "", std::string(16, '\0'), 56));
    ReadPass();
    prompts.Pick(kLogo);
    page().Button9.Click();
    const std::string refused = std::string(kLogo) + " is not a bitmap Windows 98 can show";
    EXPECT_EQ((std::vector<std::string>{refused + ": no logo is shown.",
                                        refused + ". The logo is unchanged."}),
              prompts.Errors());
}

TEST_F(OemInfoTest, AnUnreadableLogoIsReportedAndTheOtherPagesAreStillRead) {
    sys.PutFile(kLogo, "garbage");
    sys.PutFile(kMsdosSys, "[Options]\r\nBootMulti=1\r\n");
    ReadPass();
    ASSERT_EQ(1u, prompts.Errors().size());
    EXPECT_FALSE(page().Image13.Visible());
    EXPECT_TRUE(pages().boot.CheckBox3.Checked()) << "the read pass went on";
    form().Apply();
    EXPECT_EQ("garbage", sys.FileText(kLogo)) << "left as it is";
    // "Clear" removes it, and the next read has nothing to report.
    page().Button10.Click();
    form().Apply();
    EXPECT_FALSE(sys.HasFile(kLogo));
    EXPECT_EQ(2u, prompts.Errors().size()) << "reported by the read after the first Apply only";
    // A logo that cannot be deleted stops the pass with its name.
    sys.PutFile(kLogo, BitmapFile(8, 8), FILE_ATTRIBUTE_READONLY);
    ReadPass();
    page().Button10.Click();
    form().Apply();
    EXPECT_EQ(3u, prompts.Errors().size()) << "a refused delete leaves nothing to put back";
    EXPECT_TRUE(sys.HasFile(kLogo));
}

TEST_F(OemInfoTest, TheDescriptionsWarnAboutAnEmptyManufacturer) {
    page().Button9.MoveMouse();
    ASSERT_EQ(1u, page().Memo9.Lines().size());
    EXPECT_EQ(
        "You can use this button to change your company logo. Remember, if the "
        "manufacturer edit box is empty Windows will not show your company logo.",
        page().Memo9.Lines()[0]);
    page().Line3.MoveMouse();
    EXPECT_EQ(std::vector<std::string>{"Fill this edit box with the third line of support "
                                       "information."},
              page().Memo9.Lines());
    page().Sheet.MoveMouse();
    EXPECT_FALSE(page().Memo9.Enabled());
}

}  // namespace
}  // namespace vt::testing
