// What the program relies on from the machine's ANSI code page: its lead bytes, how
// CharNextA and CharPrevA walk a string, the case of one-byte characters, and the conversion
// to and from UTF-16. Run on the machine as set up (code page 1252) and, with VT_CODE_PAGE=932,
// on one started with a Japanese locale.
#include "PlatformUnderTest.h"
#include "platform/CodePage.h"
#include "platform/fake/FakePlatform.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace vt::contract {
namespace {

class CodePageContract : public ::testing::Test {
  protected:
    void SetUp() override {
        sys = MakePlatformUnderTest();
        page = std::make_unique<CodePage>(CodePage::Of(*sys));
    }
    bool Japanese() const { return sys->GetACP() == 932; }

    std::unique_ptr<Platform> sys;
    std::unique_ptr<CodePage> page;
};

TEST_F(CodePageContract, TheMachineHasTheCodePageItWasStartedWith) {
    const char* expected = std::getenv("VT_CODE_PAGE");
    EXPECT_EQ(expected ? static_cast<UINT>(std::atoi(expected)) : 1252u, sys->GetACP());
    EXPECT_EQ(Japanese(), page->IsDoubleByte());
}

// The fake machine's tables are this machine's: every lead byte and the case of every
// one-byte character.
TEST_F(CodePageContract, TheFakesModelOfThisCodePageAgrees) {
    const CodePage model = fake::FakePlatform::CodePageModel(sys->GetACP());
    for (int b = 1; b < 256; ++b) {
        const std::string one(1, static_cast<char>(b));
        EXPECT_EQ(model.IsLead(one[0]), page->IsLead(one[0])) << "byte " << b;
        if (page->IsLead(one[0])) continue;
        EXPECT_EQ(model.Upper(one), page->Upper(one)) << "byte " << b;
        EXPECT_EQ(model.Lower(one), page->Lower(one)) << "byte " << b;
    }
}

// The walk over the tables steps as CharNextA and CharPrevA do, the second byte of 表 (95 5C)
// and ソ (83 5C) and a lead byte at the very end included.
TEST_F(CodePageContract, TheWalkStepsAsCharNextAndCharPrevDo) {
    for (const std::string text :
         {"C:\\VT\x95\x5C\\Restore", "\x83\x5C\x83\x41\x83\x61\\", "ab\\\x95", "\xB1\\x"}) {
        const char* start = text.c_str();
        for (std::size_t at = 0; at <= text.size(); at = page->Next(text, at)) {
            EXPECT_EQ(page->Next(text, at), sys->CharNextA(start + at) - start) << text << at;
            EXPECT_EQ(page->Prev(text, at), sys->CharPrevA(start, start + at) - start)
                << text << at;
            if (at == text.size()) break;
        }
    }
    const std::string table = "C:\\VT\x95\x5C";
    EXPECT_EQ(Japanese() ? 2u : 6u, page->FindLast(table, '\\'));
    EXPECT_EQ(!Japanese(), page->EndsWith(table, '\\'));
}

// Letters fold, accented ones of 1252 too; the second byte of ア (83 41) and ヂ (83 61) does
// not, and half-width katakana have no case.
TEST_F(CodePageContract, CaseFoldsOnlyOneByteCharacters) {
    std::string text = Japanese() ? "abc\x83\x41\x83\x61\xB1" : "abc\xE9\xFF";
    sys->CharUpperBuffA(text.data(), static_cast<DWORD>(text.size()));
    EXPECT_EQ(Japanese() ? "ABC\x83\x41\x83\x61\xB1" : "ABC\xC9\x9F", text);
    EXPECT_EQ(text, page->Upper(Japanese() ? "abc\x83\x41\x83\x61\xB1" : "abc\xE9\xFF"));
    EXPECT_EQ(!Japanese(), page->EqualNoCase("\x83\x41", "\x83\x61")) << "ƒA and ƒa in 1252";
    EXPECT_TRUE(page->EqualNoCase("Software\\Classes", "SOFTWARE\\classes"));
}

TEST_F(CodePageContract, TextConvertsToAndFromUtf16) {
    const std::string ansi = Japanese() ? "a\x95\x5C\x8E\xA6\xB1" : "a\xE9\x80";
    const std::u16string wide = Japanese() ? u"a\u8868\u793A\uFF71" : u"a\u00E9\u20AC";
    WCHAR units[16] = {};
    int count =
        sys->MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), units, 16);
    EXPECT_EQ(wide, std::u16string(units, count > 0 ? count : 0));
    char bytes[16] = {};
    BOOL usedDefault = TRUE;
    count = sys->WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), bytes,
                                     16, nullptr, &usedDefault);
    EXPECT_EQ(ansi, std::string(bytes, count > 0 ? count : 0));
    EXPECT_FALSE(usedDefault);
    const WCHAR thai[] = {u'\u0E01'};
    count = sys->WideCharToMultiByte(CP_ACP, 0, thai, 1, bytes, 16, nullptr, &usedDefault);
    EXPECT_EQ(1, count);
    EXPECT_TRUE(usedDefault);
}

}  // namespace
}  // namespace vt::contract
