#include "store/Regedit4.h"

#include "platform/CodePage.h"
#include "platform/NoCase.h"

#include <cctype>
#include <cstdio>
#include <stdexcept>

namespace vt::regedit4 {
namespace {

constexpr HKEY kCurrentConfig = 0x80000005u;
constexpr HKEY kDynData = 0x80000006u;

struct Root {
    HKEY key;
    const char* name;
};
constexpr Root kRoots[] = {
    {HKEY_CLASSES_ROOT, "HKEY_CLASSES_ROOT"},   {HKEY_CURRENT_USER, "HKEY_CURRENT_USER"},
    {HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE"}, {HKEY_USERS, "HKEY_USERS"},
    {kCurrentConfig, "HKEY_CURRENT_CONFIG"},    {kDynData, "HKEY_DYN_DATA"}};

// Backslash and quote characters are escaped; the second byte of a two-byte character is not,
// as regedit of a double-byte Windows reads it.
std::string Quoted(const std::string& text) {
    const CodePage& page = CodePage::Machine();
    std::string out = "\"";
    for (std::size_t at = 0, next = 0; at < text.size(); at = next) {
        next = page.Next(text, at);
        if (next == at + 1 && (text[at] == '\\' || text[at] == '"')) out += '\\';
        out.append(text, at, next - at);
    }
    return out + "\"";
}

// A text the quoted form carries exactly: printable characters and one closing NUL.
bool PlainText(const std::vector<BYTE>& bytes) {
    if (bytes.empty() || bytes.back() != 0) return false;
    for (std::size_t i = 0; i + 1 < bytes.size(); ++i)
        if (bytes[i] < 0x20 || bytes[i] > 0x7E) return false;
    return true;
}

// hex bytes, wrapped as the Registry Editor wraps them: a comma and backslash ending each
// line but the last, the next indented by two spaces.
std::string HexList(std::string head, const std::vector<BYTE>& bytes) {
    std::string out;
    std::string line = std::move(head);
    char byte[4];
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(byte, sizeof byte, "%02x", bytes[i]);
        line += byte;
        if (i + 1 == bytes.size()) break;
        line += ',';
        if (line.size() > 75) {
            out += line + "\\\r\n";
            line = "  ";
        }
    }
    return out + line;
}

std::string DataText(const std::string& nameText, const Data& data) {
    std::string head = nameText + "=";
    if (data.type == REG_SZ && PlainText(data.bytes))
        return head + Quoted(std::string(data.bytes.begin(), data.bytes.end() - 1));
    if (data.type == REG_DWORD && data.bytes.size() == 4) {
        char number[16];
        std::snprintf(
            number, sizeof number, "dword:%08lx",
            static_cast<unsigned long>(data.bytes[0] | data.bytes[1] << 8 | data.bytes[2] << 16 |
                                       static_cast<DWORD>(data.bytes[3]) << 24));
        return head + number;
    }
    if (data.type == REG_BINARY) return HexList(head + "hex:", data.bytes);
    char type[24];
    std::snprintf(type, sizeof type, "hex(%lx):", static_cast<unsigned long>(data.type));
    return HexList(head + type, data.bytes);
}

[[noreturn]] void Unreadable(const std::string& line) {
    throw std::invalid_argument("Not a line of a registry file: " + line);
}

// A 32-bit number in 1 to 8 hex digits, as the Registry Editor writes one; else the line is
// refused (a longer number is no value the registry can hold).
DWORD HexNumber(const std::string& digits, const std::string& line) {
    if (digits.empty() || digits.size() > 8) Unreadable(line);
    DWORD number = 0;
    for (char c : digits) {
        if (!std::isxdigit(static_cast<unsigned char>(c))) Unreadable(line);
        int lower = std::tolower(static_cast<unsigned char>(c));
        number =
            number << 4 | static_cast<DWORD>(std::isdigit(lower) ? lower - '0' : lower - 'a' + 10);
    }
    return number;
}

// Reads a quoted text starting at `at` (the opening quote); leaves `at` past the closing one.
std::string Unquote(const std::string& line, std::size_t& at) {
    const CodePage& page = CodePage::Machine();
    std::string text;
    for (++at; at < line.size();) {
        std::size_t next = page.Next(line, at);
        if (next == at + 1 && line[at] == '"') {
            ++at;
            return text;
        }
        if (next == at + 1 && line[at] == '\\' && next < line.size()) {
            at = next;
            next = page.Next(line, at);
        }
        text.append(line, at, next - at);
        at = next;
    }
    Unreadable(line);
}

std::vector<BYTE> HexBytes(const std::string& list, const std::string& line) {
    std::vector<BYTE> bytes;
    std::string digits;
    auto flush = [&] {
        if (digits.empty()) return;
        if (digits.size() > 2) Unreadable(line);
        bytes.push_back(static_cast<BYTE>(HexNumber(digits, line)));
        digits.clear();
    };
    for (char c : list) {
        if (std::isxdigit(static_cast<unsigned char>(c)))
            digits += c;
        else if (c == ',')
            flush();
        else if (c != ' ' && c != '\t')
            Unreadable(line);
    }
    flush();
    return bytes;
}

Entry ReadEntry(const std::string& line) {
    Entry entry;
    std::size_t at = 0;
    if (line[0] == '@')
        at = 1;
    else if (line[0] == '"')
        entry.name = Unquote(line, at);
    else
        Unreadable(line);
    if (at >= line.size() || line[at] != '=') Unreadable(line);
    std::string data = line.substr(at + 1);
    if (data == "-") return entry;
    if (!data.empty() && data[0] == '"') {
        std::size_t quote = 0;
        std::string text = Unquote(data, quote);
        std::vector<BYTE> bytes(text.begin(), text.end());
        bytes.push_back(0);
        entry.data = Data{REG_SZ, bytes};
    } else if (data.rfind("dword:", 0) == 0) {
        DWORD number = HexNumber(data.substr(6), line);
        entry.data = Data{
            REG_DWORD, {BYTE(number), BYTE(number >> 8), BYTE(number >> 16), BYTE(number >> 24)}};
    } else if (data.rfind("hex:", 0) == 0) {
        entry.data = Data{REG_BINARY, HexBytes(data.substr(4), line)};
    } else if (data.rfind("hex(", 0) == 0 && data.find("):") != std::string::npos) {
        std::size_t close = data.find("):");
        DWORD type = HexNumber(data.substr(4, close - 4), line);
        entry.data = Data{type, HexBytes(data.substr(close + 2), line)};
    } else {
        Unreadable(line);
    }
    return entry;
}

Section ReadSection(const std::string& line) {
    const CodePage& page = CodePage::Machine();
    if (!page.EndsWith(line, ']')) Unreadable(line);
    Section section;
    std::string name = line.substr(1, line.size() - 2);
    if (!name.empty() && name[0] == '-') {
        section.remove = true;
        name.erase(0, 1);
    }
    std::size_t slash = page.Find(name, '\\');
    std::optional<HKEY> root = RootByName(name.substr(0, slash));
    if (!root) Unreadable(line);
    section.root = *root;
    if (slash != std::string::npos) section.path = name.substr(slash + 1);
    section.path = TrimTrailing(section.path, '\\');
    return section;
}

}  // namespace

std::string RootName(HKEY root) {
    for (const Root& r : kRoots)
        if (r.key == root) return r.name;
    return {};
}

std::optional<HKEY> RootByName(const std::string& name) {
    for (const Root& r : kRoots)
        if (EqualNoCase(name, r.name)) return r.key;
    return std::nullopt;
}

std::string Notation(const Data& data) {
    return DataText("", data).substr(1);
}

std::string Write(const std::vector<Section>& sections) {
    std::string out = "REGEDIT4\r\n";
    for (const Section& section : sections) {
        std::string key = RootName(section.root);
        if (!section.path.empty()) key += "\\" + section.path;
        out += "\r\n[" + std::string(section.remove ? "-" : "") + key + "]\r\n";
        for (const Entry& entry : section.entries) {
            std::string name = entry.name.empty() ? "@" : Quoted(entry.name);
            out += (entry.data ? DataText(name, *entry.data) : name + "=-") + "\r\n";
        }
    }
    return out + "\r\n";
}

std::vector<Section> Read(const std::string& text) {
    std::vector<Section> sections;
    std::vector<std::string> lines;
    std::string line;
    bool continued = false;
    auto finish = [&] {
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
        continued = CodePage::Machine().EndsWith(line, '\\') &&
                    line.find('=') != std::string::npos &&
                    line.find('"', line.find('=')) == std::string::npos;
        if (continued) {
            line.pop_back();
            return;
        }
        lines.push_back(line);
        line.clear();
    };
    for (char c : text) {
        if (c != '\n') {
            if (continued && line.back() == ',' && (c == ' ' || c == '\t')) continue;
            line += c;
            continue;
        }
        finish();
    }
    finish();
    bool header = false;
    for (const std::string& l : lines) {
        if (l.empty() || l[0] == ';') continue;
        if (!header) {
            if (l != "REGEDIT4") Unreadable(l);
            header = true;
        } else if (l[0] == '[') {
            sections.push_back(ReadSection(l));
        } else if (sections.empty() || sections.back().remove) {
            Unreadable(l);
        } else {
            sections.back().entries.push_back(ReadEntry(l));
        }
    }
    return sections;
}

}  // namespace vt::regedit4
