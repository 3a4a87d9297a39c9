// Text in the machine's ANSI code page, walked by characters. In the double-byte code pages
// of Japanese, Chinese and Korean Windows (932, 936, 949, 950) a lead byte and the byte after
// it are one character, and that second byte may be 0x5C, a backslash, or a letter: a path,
// key or name is split, trimmed or compared only where a whole character stands.
//
// The machine's code page is asked once, through the platform seam, when the program starts;
// every walk after that uses the tables it answered.
#pragma once

#include "platform/Platform.h"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vt {

class CodePage {
  public:
    // ASCII letters fold, every byte is a character: what the program assumes until it knows.
    static CodePage Ascii();
    // The machine's: lead bytes from IsDBCSLeadByte, the case of each one-byte character from
    // CharUpperBuffA and CharLowerBuffA. Two-byte characters keep their case.
    static CodePage Of(Platform& sys);
    // A code page from its tables (the fake machine's models).
    CodePage(UINT id, const std::array<bool, 256>& lead, const std::array<char, 256>& upper,
             const std::array<char, 256>& lower);

    // The one the program walks its text by; Ascii until SetMachine.
    static const CodePage& Machine();
    static void SetMachine(const CodePage& page);

    UINT Id() const { return id_; }
    bool IsLead(char byte) const { return lead_[static_cast<unsigned char>(byte)]; }
    bool IsDoubleByte() const { return doubleByte_; }

    // Where the character after the one at `at` starts (as CharNextA: a lead byte with nothing
    // after it is a character of its own).
    std::size_t Next(std::string_view text, std::size_t at) const;
    // Where the character before `at` starts (as CharPrevA: 0 when `at` is at the start).
    std::size_t Prev(std::string_view text, std::size_t at) const;
    // The first or last one-byte character `c` at or after `from` (a character's start); npos
    // when there is none. A trail byte equal to `c` is not one.
    std::size_t Find(std::string_view text, char c, std::size_t from = 0) const;
    std::size_t FindLast(std::string_view text, char c) const;
    bool EndsWith(std::string_view text, char c) const;

    std::string Upper(std::string text) const;
    std::string Lower(std::string text) const;
    bool EqualNoCase(std::string_view a, std::string_view b) const;
    bool LessNoCase(std::string_view a, std::string_view b) const;

  private:
    std::string Folded(std::string text, const std::array<char, 256>& table) const;

    UINT id_;
    std::array<bool, 256> lead_;
    std::array<char, 256> upper_;
    std::array<char, 256> lower_;
    bool doubleByte_;  // any lead byte at all: single-byte pages take the short ways
};

// By the machine's code page: `text` without the `c` characters it ends with, and `text` cut
// at each `c` character (an empty text gives one empty part).
std::string TrimTrailing(std::string text, char c);
std::vector<std::string> SplitAt(const std::string& text, char c);

}  // namespace vt
