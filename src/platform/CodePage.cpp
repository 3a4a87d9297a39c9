#include "platform/CodePage.h"

#include <algorithm>
#include <utility>

namespace vt {
namespace {

CodePage& MachineSlot() {
    static CodePage machine = CodePage::Ascii();
    return machine;
}

}  // namespace

CodePage::CodePage(UINT id, const std::array<bool, 256>& lead, const std::array<char, 256>& upper,
                   const std::array<char, 256>& lower)
    : id_(id),
      lead_(lead),
      upper_(upper),
      lower_(lower),
      doubleByte_(std::find(lead.begin(), lead.end(), true) != lead.end()) {}

CodePage CodePage::Ascii() {
    std::array<bool, 256> lead{};
    std::array<char, 256> upper{}, lower{};
    for (int b = 0; b < 256; ++b) {
        upper[b] = static_cast<char>(b >= 'a' && b <= 'z' ? b - 32 : b);
        lower[b] = static_cast<char>(b >= 'A' && b <= 'Z' ? b + 32 : b);
    }
    return CodePage(1252, lead, upper, lower);
}

CodePage CodePage::Of(Platform& sys) {
    std::array<bool, 256> lead{};
    std::array<char, 256> upper{}, lower{};
    for (int b = 0; b < 256; ++b) {
        lead[b] = b >= 0x80 && sys.IsDBCSLeadByte(static_cast<BYTE>(b));
        char one[1] = {static_cast<char>(b)};
        if (b != 0 && !lead[b]) sys.CharUpperBuffA(one, 1);
        upper[b] = one[0];
        one[0] = static_cast<char>(b);
        if (b != 0 && !lead[b]) sys.CharLowerBuffA(one, 1);
        lower[b] = one[0];
    }
    // A letter whose other case has no place in the code page (ƒ, µ) may come back as '?':
    // only a fold that the other fold undoes is one.
    std::array<char, 256> upperKept = upper, lowerKept = lower;
    for (int b = 0; b < 256; ++b) {
        auto at = [](char c) { return static_cast<unsigned char>(c); };
        if (lower[at(upper[b])] != static_cast<char>(b)) upperKept[b] = static_cast<char>(b);
        if (upper[at(lower[b])] != static_cast<char>(b)) lowerKept[b] = static_cast<char>(b);
    }
    return CodePage(sys.GetACP(), lead, upperKept, lowerKept);
}

const CodePage& CodePage::Machine() {
    return MachineSlot();
}

void CodePage::SetMachine(const CodePage& page) {
    MachineSlot() = page;
}

std::size_t CodePage::Next(std::string_view text, std::size_t at) const {
    if (at >= text.size()) return text.size();
    return IsLead(text[at]) && at + 1 < text.size() && text[at + 1] != '\0' ? at + 2 : at + 1;
}

std::size_t CodePage::Prev(std::string_view text, std::size_t at) const {
    std::size_t start = 0;
    while (start < at) {
        std::size_t next = Next(text, start);
        if (next >= at) break;
        start = next;
    }
    return start;
}

std::size_t CodePage::Find(std::string_view text, char c, std::size_t from) const {
    if (!doubleByte_) return text.find(c, from);
    for (std::size_t at = from; at < text.size(); at = Next(text, at))
        if (text[at] == c && !IsLead(c)) return at;
    return std::string_view::npos;
}

std::size_t CodePage::FindLast(std::string_view text, char c) const {
    if (!doubleByte_) return text.rfind(c);
    std::size_t found = std::string_view::npos;
    for (std::size_t at = Find(text, c); at != std::string_view::npos; at = Find(text, c, at + 1))
        found = at;
    return found;
}

bool CodePage::EndsWith(std::string_view text, char c) const {
    return !text.empty() && text.back() == c &&
           (!doubleByte_ || Prev(text, text.size()) == text.size() - 1);
}

// Each one-byte character through `table`; two-byte characters stay as they are.
std::string CodePage::Folded(std::string text, const std::array<char, 256>& table) const {
    for (std::size_t at = 0; at < text.size(); at = Next(text, at))
        if (!doubleByte_ || Next(text, at) == at + 1)
            text[at] = table[static_cast<unsigned char>(text[at])];
    return text;
}

std::string CodePage::Upper(std::string text) const {
    return Folded(std::move(text), upper_);
}

std::string CodePage::Lower(std::string text) const {
    return Folded(std::move(text), lower_);
}

bool CodePage::EqualNoCase(std::string_view a, std::string_view b) const {
    return a.size() == b.size() && Lower(std::string(a)) == Lower(std::string(b));
}

bool CodePage::LessNoCase(std::string_view a, std::string_view b) const {
    const std::string x = Lower(std::string(a)), y = Lower(std::string(b));
    return std::lexicographical_compare(x.begin(), x.end(), y.begin(), y.end(), [](char p, char q) {
        return static_cast<unsigned char>(p) < static_cast<unsigned char>(q);
    });
}

std::string TrimTrailing(std::string text, char c) {
    const CodePage& page = CodePage::Machine();
    while (page.EndsWith(text, c)) text.pop_back();
    return text;
}

std::vector<std::string> SplitAt(const std::string& text, char c) {
    const CodePage& page = CodePage::Machine();
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t at = page.Find(text, c); at != std::string::npos;
         at = page.Find(text, c, at + 1)) {
        parts.push_back(text.substr(start, at - start));
        start = at + 1;
    }
    parts.push_back(text.substr(start));
    return parts;
}

}  // namespace vt
