// The fake machine's ANSI code page: 1252 (Western, one byte a character) or 932 (Japanese,
// lead bytes 0x81-0x9F and 0xE0-0xFC). One-byte characters fold as CharUpperBuffA folds them;
// two-byte characters keep their case. Conversion to and from UTF-16 knows every character of
// 1252; of 932 the ASCII range, the half-width katakana and the few kanji and kana the tests
// name (an unknown two-byte character reads as U+30FB, as Windows' table has it).
#include "platform/fake/FakePlatform.h"

#include <algorithm>
#include <cstring>
#include <map>

namespace vt::fake {
namespace {

constexpr char16_t kWindows1252High[32] = {
    0x20AC, 0x81,   0x201A, 0x192,  0x201E, 0x2026, 0x2020, 0x2021, 0x2C6,  0x2030, 0x160,
    0x2039, 0x152,  0x8D,   0x17D,  0x8F,   0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x2DC,  0x2122, 0x161,  0x203A, 0x153,  0x9D,   0x17E,  0x178};

// Two-byte characters of 932 the fake knows, with their UTF-16.
constexpr std::pair<std::uint16_t, char16_t> kJapaneseKnown[] = {
    {0x955C, u'\u8868'},  // 表
    {0x8EA6, u'\u793A'},  // 示
    {0x835C, u'\u30BD'},  // ソ
    {0x945C, u'\u80FD'},  // 能
    {0x8341, u'\u30A2'},  // ア
    {0x8361, u'\u30C2'},  // ヂ
    {0x8145, u'\u30FB'},  // ・
};

bool IsJapaneseLead(int b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

char FoldWestern(int b, bool upper) {
    if (upper) {
        if (b >= 'a' && b <= 'z') return static_cast<char>(b - 32);
        if (b >= 0xE0 && b <= 0xFE && b != 0xF7) return static_cast<char>(b - 32);
        if (b == 0x9A || b == 0x9C || b == 0x9E) return static_cast<char>(b - 0x10);
        if (b == 0xFF) return static_cast<char>(0x9F);
    } else {
        if (b >= 'A' && b <= 'Z') return static_cast<char>(b + 32);
        if (b >= 0xC0 && b <= 0xDE && b != 0xD7) return static_cast<char>(b + 32);
        if (b == 0x8A || b == 0x8C || b == 0x8E) return static_cast<char>(b + 0x10);
        if (b == 0x9F) return static_cast<char>(0xFF);
    }
    return static_cast<char>(b);
}

}  // namespace

CodePage FakePlatform::CodePageModel(UINT id) {
    std::array<bool, 256> lead{};
    std::array<char, 256> upper{}, lower{};
    const bool japanese = id == 932;
    for (int b = 0; b < 256; ++b) {
        lead[b] = japanese && IsJapaneseLead(b);
        const bool ascii = b < 0x80;
        upper[b] = japanese && !ascii ? static_cast<char>(b) : FoldWestern(b, true);
        lower[b] = japanese && !ascii ? static_cast<char>(b) : FoldWestern(b, false);
    }
    return CodePage(japanese ? 932 : 1252, lead, upper, lower);
}

void FakePlatform::SetCodePage(UINT id) {
    codePage_ = std::make_unique<CodePage>(CodePageModel(id));
    CodePage::SetMachine(*codePage_);
}

// One character of the code page at `text` (one or two bytes) as UTF-16.
char16_t FakePlatform::ToUtf16(const char* text, std::size_t& length) const {
    const auto b = static_cast<unsigned char>(text[0]);
    length = 1;
    if (codePage_->Id() != 932) return b >= 0x80 && b < 0xA0 ? kWindows1252High[b - 0x80] : b;
    if (b < 0x80) return b;
    if (b >= 0xA1 && b <= 0xDF) return static_cast<char16_t>(0xFF61 + (b - 0xA1));
    if (!IsJapaneseLead(b) || text[1] == '\0') return u'\u30FB';
    length = 2;
    const auto code = static_cast<std::uint16_t>(b << 8 | static_cast<unsigned char>(text[1]));
    for (const auto& [bytes, unit] : kJapaneseKnown)
        if (bytes == code) return unit;
    return u'\u30FB';
}

// `unit` in the code page: one or two bytes, or none when it has no place there.
std::string FakePlatform::FromUtf16(char16_t unit) const {
    if (codePage_->Id() != 932) {
        if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF))
            return std::string(1, static_cast<char>(unit));
        for (int i = 0; i < 32; ++i)
            if (kWindows1252High[i] == unit) return std::string(1, static_cast<char>(0x80 + i));
        return {};
    }
    if (unit < 0x80) return std::string(1, static_cast<char>(unit));
    if (unit >= 0xFF61 && unit <= 0xFF9F)
        return std::string(1, static_cast<char>(0xA1 + (unit - 0xFF61)));
    for (const auto& [bytes, known] : kJapaneseKnown)
        if (known == unit) return {static_cast<char>(bytes >> 8), static_cast<char>(bytes & 0xFF)};
    return {};
}

UINT FakePlatform::GetACP() {
    return codePage_->Id();
}

BOOL FakePlatform::IsDBCSLeadByte(BYTE byte) {
    return codePage_->IsLead(static_cast<char>(byte));
}

char* FakePlatform::CharNextA(const char* at) {
    const std::string_view text(at);
    return const_cast<char*>(at + codePage_->Next(text, 0));
}

char* FakePlatform::CharPrevA(const char* start, const char* at) {
    const std::string_view text(start, static_cast<std::size_t>(at - start));
    return const_cast<char*>(start + codePage_->Prev(text, text.size()));
}

DWORD FakePlatform::CharUpperBuffA(char* text, DWORD length) {
    std::string folded = codePage_->Upper(std::string(text, length));
    std::memcpy(text, folded.data(), length);
    return length;
}

DWORD FakePlatform::CharLowerBuffA(char* text, DWORD length) {
    std::string folded = codePage_->Lower(std::string(text, length));
    std::memcpy(text, folded.data(), length);
    return length;
}

int FakePlatform::MultiByteToWideChar(UINT codePage, DWORD, const char* text, int length,
                                      WCHAR* wide, int wideLength) {
    if (codePage != CP_ACP || !text) return Fail(ERROR_INVALID_PARAMETER);
    const std::string source =
        length < 0 ? std::string(text, std::strlen(text) + 1) : std::string(text, length);
    std::u16string units;
    for (std::size_t at = 0, step = 0; at < source.size(); at += step)
        units += ToUtf16(source.c_str() + at, step);
    if (wideLength == 0) return static_cast<int>(units.size());
    if (static_cast<int>(units.size()) > wideLength) return Fail(ERROR_INSUFFICIENT_BUFFER);
    std::copy(units.begin(), units.end(), wide);
    return static_cast<int>(units.size());
}

int FakePlatform::WideCharToMultiByte(UINT codePage, DWORD, const WCHAR* wide, int wideLength,
                                      char* text, int length, const char* defaultChar,
                                      BOOL* usedDefault) {
    if (codePage != CP_ACP || !wide) return Fail(ERROR_INVALID_PARAMETER);
    std::size_t count = 0;
    if (wideLength < 0)
        while (wide[count++] != 0) {
        }
    else
        count = static_cast<std::size_t>(wideLength);
    std::string bytes;
    if (usedDefault) *usedDefault = FALSE;
    for (std::size_t i = 0; i < count; ++i) {
        std::string one = FromUtf16(wide[i]);
        if (one.empty()) {
            one = defaultChar ? std::string(1, *defaultChar) : "?";
            if (usedDefault) *usedDefault = TRUE;
        }
        bytes += one;
    }
    if (length == 0) return static_cast<int>(bytes.size());
    if (static_cast<int>(bytes.size()) > length) return Fail(ERROR_INSUFFICIENT_BUFFER);
    std::memcpy(text, bytes.data(), bytes.size());
    return static_cast<int>(bytes.size());
}

}  // namespace vt::fake
