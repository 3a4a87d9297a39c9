#include "store/ProfileText.h"

#include "platform/NoCase.h"

#include <algorithm>
#include <iterator>
#include <optional>
#include <vector>

namespace vt {
namespace {

constexpr char kNoValue = '\x01';

std::string Trimmed(const std::string& text) {
    const char* blanks = " \t";
    std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

std::string EntryName(const std::string& section, const std::string& key) {
    return ToUpper(Trimmed(section)) + "\n" + ToUpper(Trimmed(key));
}

void EraseSection(std::map<std::string, std::string>& entries, const std::string& section) {
    const std::string prefix = ToUpper(Trimmed(section)) + "\n";
    for (auto it = entries.lower_bound(prefix);
         it != entries.end() && it->first.starts_with(prefix);)
        it = entries.erase(it);
}

}  // namespace

std::map<std::string, std::string> ProfileEntries(const std::string& text) {
    std::map<std::string, std::string> entries;
    std::string section;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) end = text.size();
        std::string line = Trimmed(text.substr(start, end - start));
        start = end + 1;
        if (line.empty() || line[0] == ';') continue;
        if (line[0] == '[') {
            std::size_t close = CodePage::Machine().Find(line, ']');
            section = line.substr(1, close == std::string::npos ? std::string::npos : close - 1);
            continue;
        }
        std::size_t equals = line.find('=');
        if (equals == std::string::npos)
            entries.emplace(EntryName(section, line), std::string(1, kNoValue));
        else
            entries.emplace(EntryName(section, line.substr(0, equals)),
                            Trimmed(line.substr(equals + 1)));
    }
    return entries;
}

bool ProfileWriteLanded(const std::string& before, const std::string& after, const char* section,
                        const char* key, const char* value) {
    std::map<std::string, std::string> expected = ProfileEntries(before);
    std::map<std::string, std::string> found = ProfileEntries(after);
    const std::string sectionName = section ? section : "";
    if (!key) {
        EraseSection(expected, sectionName);
        return found == expected;
    }
    const std::string name = EntryName(sectionName, key);
    if (value) {
        auto written = found.find(name);
        if (written == found.end() || written->second != Trimmed(value)) return false;
    }
    // A key written twice in a file keeps its second one after a removal of the first.
    expected.erase(name);
    found.erase(name);
    return found == expected;
}

namespace {

// One line of a profile text: where it starts, where its text ends and where the next begins.
struct Line {
    std::size_t start, end, next;
};

std::vector<Line> LinesOf(const std::string& text, std::size_t length) {
    std::vector<Line> lines;
    for (std::size_t start = 0; start < length;) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos || end > length) end = length;
        std::size_t next = end;
        if (next < length && text[next] == '\r') ++next;
        if (next < length && text[next] == '\n') ++next;
        lines.push_back({start, end, next});
        start = next;
    }
    return lines;
}

// A section line's name; nothing for any other line.
std::optional<std::string> SectionName(const std::string& line) {
    std::string trimmed = Trimmed(line);
    if (trimmed.empty() || trimmed[0] != '[') return std::nullopt;
    std::size_t close = CodePage::Machine().Find(trimmed, ']');
    return Trimmed(trimmed.substr(1, close == std::string::npos ? std::string::npos : close - 1));
}

// A key line's name; nothing for a blank line or a comment.
std::optional<std::string> KeyName(const std::string& line) {
    std::string trimmed = Trimmed(line);
    if (trimmed.empty() || trimmed[0] == ';') return std::nullopt;
    return Trimmed(trimmed.substr(0, trimmed.find('=')));
}

// Where the text ends for the profile functions: at the first Ctrl+Z.
std::size_t BodyLength(const std::string& text) {
    std::size_t eof = text.find('\x1a');
    return eof == std::string::npos ? text.size() : eof;
}

std::string LineBreakOf(const std::string& text) {
    if (text.find("\r\n") != std::string::npos) return "\r\n";
    if (text.find('\n') != std::string::npos) return "\n";
    return "\r\n";
}

}  // namespace

std::string EditedProfile(const std::string& text, const std::string& section, const char* key,
                          const char* value) {
    const std::size_t body = BodyLength(text);
    const std::vector<Line> lines = LinesOf(text, body);
    const std::string lineBreak = LineBreakOf(text);
    auto lineText = [&](const Line& line) {
        return text.substr(line.start, line.end - line.start);
    };
    // The section's heading line and the lines up to the next heading.
    std::optional<std::size_t> heading;
    std::size_t sectionEnd = lines.size();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::optional<std::string> name = SectionName(lineText(lines[i]));
        if (!name) continue;
        if (heading) {
            sectionEnd = i;
            break;
        }
        if (EqualNoCase(*name, Trimmed(section))) heading = i;
    }
    std::string out = text;
    if (!key) {
        if (!heading) return text;
        std::size_t from = lines[*heading].start;
        std::size_t to = sectionEnd < lines.size() ? lines[sectionEnd].start : body;
        return out.erase(from, to - from);
    }
    std::optional<std::size_t> found;
    std::size_t last = heading.value_or(0);
    if (heading)
        for (std::size_t i = *heading + 1; i < sectionEnd; ++i) {
            std::string line = lineText(lines[i]);
            if (!Trimmed(line).empty()) last = i;
            std::optional<std::string> name = KeyName(line);
            if (!found && name && EqualNoCase(*name, Trimmed(key))) found = i;
        }
    if (found) {
        const Line& line = lines[*found];
        if (!value) return out.erase(line.start, line.next - line.start);
        std::string current = lineText(line);
        std::size_t equals = current.find('=');
        if (equals != std::string::npos && Trimmed(current.substr(equals + 1)) == Trimmed(value))
            return text;
        // The value goes where the old one began, after the blanks that follow '='.
        std::size_t from = equals == std::string::npos
                               ? line.end
                               : line.start + current.find_first_not_of(" \t", equals + 1);
        if (from > line.end || from < line.start) from = line.end;
        std::string replacement = (equals == std::string::npos ? "=" : "") + std::string(value);
        return out.replace(from, line.end - from, replacement);
    }
    if (!value) return text;
    const std::string entry = Trimmed(key) + "=" + value + lineBreak;
    if (heading) {
        const Line& after = lines[last];
        // A last line without its line end (the end of the text) gets one first.
        std::string insert = (after.next == after.end ? lineBreak : "") + entry;
        return out.insert(after.next, insert);
    }
    std::string insert;
    if (body > 0 && text[body - 1] != '\n' && text[body - 1] != '\r') insert += lineBreak;
    insert += "[" + Trimmed(section) + "]" + lineBreak + entry;
    return out.insert(body, insert);
}

std::string PaddedBootFile(const std::string& text) {
    if (text.size() >= kBootFileMinimum) return text;
    const std::string lineBreak = LineBreakOf(text);
    std::size_t body = BodyLength(text);
    std::string padding;
    if (body > 0 && text[body - 1] != '\n' && text[body - 1] != '\r') padding += lineBreak;
    while (text.size() + padding.size() < kBootFileMinimum) {
        std::size_t room = kBootFileMinimum - text.size() - padding.size();
        std::size_t xs =
            std::clamp<std::size_t>(room, 3 + lineBreak.size(), 72) - 1 - lineBreak.size();
        padding += ";" + std::string(xs, 'x') + lineBreak;
    }
    return std::string(text).insert(body, padding);
}

std::map<std::string, IniKeyValue> ProfileKeys(const std::string& text) {
    std::map<std::string, IniKeyValue> keys;
    std::string section;
    const std::size_t body = BodyLength(text);
    for (const Line& line : LinesOf(text, body)) {
        std::string content = text.substr(line.start, line.end - line.start);
        if (std::optional<std::string> name = SectionName(content)) {
            section = *name;
            continue;
        }
        std::optional<std::string> key = KeyName(content);
        if (!key) continue;
        std::size_t equals = content.find('=');
        keys.emplace(
            ToUpper(section) + "\n" + ToUpper(*key),
            IniKeyValue{
                section, *key,
                equals == std::string::npos ? std::string() : Trimmed(content.substr(equals + 1))});
    }
    return keys;
}

std::map<std::string, std::string> ProfileValues(const std::string& path, const std::string& text) {
    std::map<std::string, std::string> values;
    for (const auto& [_, entry] : ProfileKeys(text))
        values[path + " [" + entry.section + "] " + entry.key] = entry.value;
    return values;
}

}  // namespace vt
