#include "platform/fake/ProfileDocument.h"

#include "platform/NoCase.h"

#include <algorithm>
#include <utility>

namespace vt::fake {
namespace {

std::string Trim(const std::string& s) {
    const char* blanks = " \t\r\n";
    std::size_t first = s.find_first_not_of(blanks);
    if (first == std::string::npos) return {};
    std::size_t last = s.find_last_not_of(blanks);
    return s.substr(first, last - first + 1);
}

// A CR, an LF or any run of them ends a line; the empty lines between are dropped later.
std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

std::string Unquote(const std::string& value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

// Lines with their own ends ("\r\n", "\n", "\r", or none at the end of the file).
struct RawLine {
    std::string text, end;
};

std::vector<RawLine> SplitRawLines(const std::string& text) {
    std::vector<RawLine> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back({text.substr(start), ""});
            break;
        }
        std::size_t next = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
        lines.push_back({text.substr(start, end - start), text.substr(end, next - end)});
        start = next;
    }
    return lines;
}

// The section a trimmed line opens, if it is a section header.
std::optional<std::string> HeaderName(const std::string& line) {
    if (line.empty() || line.front() != '[') return std::nullopt;
    std::size_t close = CodePage::Machine().Find(line, ']');
    return Trim(line.substr(1, close == std::string::npos ? std::string::npos : close - 1));
}

}  // namespace

std::optional<std::string> ProfileDocument::EditInPlace(const std::string& text,
                                                        const std::string& section, const char* key,
                                                        const char* value) {
    std::vector<RawLine> lines = SplitRawLines(text);
    // The section's header line and the end of its lines (one past the last non-blank one).
    bool found = false;
    std::size_t header = 0, end = 0;  // header: the line after the section's header
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::optional<std::string> name = HeaderName(Trim(lines[i].text));
        if (!found) {
            if (name && EqualNoCase(*name, section)) {
                found = true;
                header = end = i + 1;
            }
        } else if (name) {
            break;
        } else if (!Trim(lines[i].text).empty()) {
            end = i + 1;
        }
    }
    std::size_t keyLine = lines.size();
    if (found && key) {
        for (std::size_t i = header; i < end; ++i) {
            std::string line = Trim(lines[i].text);
            if (EqualNoCase(Trim(line.substr(0, line.find('='))), key)) {
                keyLine = i;
                break;
            }
        }
    }
    auto join = [&] {
        std::string out;
        for (const RawLine& line : lines) out += line.text + line.end;
        return out;
    };
    if (!key) {  // the section: its header up to the next header
        if (!found) return std::nullopt;
        std::size_t next = header;
        while (next < lines.size() && !HeaderName(Trim(lines[next].text))) ++next;
        lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(header - 1),
                    lines.begin() + static_cast<std::ptrdiff_t>(next));
        return join();
    }
    if (!value) {
        if (keyLine == lines.size()) return std::nullopt;
        lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(keyLine));
        return join();
    }
    const std::string entry = std::string(key) + "=" + value;
    if (keyLine != lines.size()) {
        const std::string& old = lines[keyLine].text;
        std::size_t eq = old.find('=');
        if (eq != std::string::npos && Trim(old.substr(eq + 1)) == value) return std::nullopt;
        lines[keyLine].text = entry;
        return join();
    }
    if (found) {
        if (lines[end - 1].end.empty()) lines[end - 1].end = "\r\n";
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(end), RawLine{entry, "\r\n"});
    } else {
        if (!lines.empty() && lines.back().end.empty()) lines.back().end = "\r\n";
        lines.push_back({"[" + section + "]", "\r\n"});
        lines.push_back({entry, "\r\n"});
    }
    return join();
}

ProfileDocument ProfileDocument::Parse(const std::string& text) {
    ProfileDocument doc;
    doc.sections_.push_back(Section{});
    for (const std::string& raw : SplitLines(text)) {
        std::string line = Trim(raw);
        if (line.empty()) continue;
        if (line.front() == '[') {
            std::size_t close = CodePage::Machine().Find(line, ']');
            std::string name =
                line.substr(1, close == std::string::npos ? std::string::npos : close - 1);
            doc.sections_.push_back(Section{Trim(name), {}});
            continue;
        }
        std::size_t eq = line.find('=');
        Entry entry;
        if (eq == std::string::npos) {
            entry.name = line;
        } else {
            entry.name = Trim(line.substr(0, eq));
            entry.value = Trim(line.substr(eq + 1));
        }
        doc.sections_.back().entries.push_back(std::move(entry));
    }
    return doc;
}

std::string ProfileDocument::Serialize() const {
    std::string out;
    for (std::size_t i = 0; i < sections_.size(); ++i) {
        const Section& section = sections_[i];
        if (i > 0) out += "[" + section.name + "]\r\n";
        for (const Entry& entry : section.entries) {
            out += entry.name;
            if (entry.value) out += "=" + *entry.value;
            out += "\r\n";
        }
    }
    return out;
}

const ProfileDocument::Section* ProfileDocument::FindSection(const std::string& name) const {
    for (std::size_t i = 1; i < sections_.size(); ++i)
        if (EqualNoCase(sections_[i].name, name)) return &sections_[i];
    return nullptr;
}

ProfileDocument::Section* ProfileDocument::FindSection(const std::string& name) {
    return const_cast<Section*>(std::as_const(*this).FindSection(name));
}

std::optional<std::string> ProfileDocument::Find(const std::string& section,
                                                 const std::string& key) const {
    const Section* found = FindSection(section);
    if (!found) return std::nullopt;
    for (const Entry& entry : found->entries)
        if (entry.value && EqualNoCase(entry.name, key)) return Unquote(*entry.value);
    return std::nullopt;
}

std::optional<std::vector<std::string>> ProfileDocument::KeyNames(
    const std::string& section) const {
    const Section* found = FindSection(section);
    if (!found) return std::nullopt;
    std::vector<std::string> names;
    for (const Entry& entry : found->entries)
        if (entry.value) names.push_back(entry.name);
    return names;
}

bool ProfileDocument::Set(const std::string& section, const std::string& key,
                          const std::string& value) {
    Section* found = FindSection(section);
    if (!found) {
        sections_.push_back(Section{section, {}});
        found = &sections_.back();
    }
    for (Entry& entry : found->entries) {
        if (!EqualNoCase(entry.name, key)) continue;
        if (entry.value == value) return false;
        entry.value = value;
        return true;
    }
    found->entries.push_back(Entry{key, value});
    return true;
}

bool ProfileDocument::RemoveKey(const std::string& section, const std::string& key) {
    Section* found = FindSection(section);
    if (!found) return false;
    auto& entries = found->entries;
    auto it = std::find_if(entries.begin(), entries.end(),
                           [&](const Entry& e) { return EqualNoCase(e.name, key); });
    if (it == entries.end()) return false;
    entries.erase(it);
    return true;
}

bool ProfileDocument::RemoveSection(const std::string& section) {
    std::size_t before = sections_.size();
    sections_.erase(std::remove_if(sections_.begin() + 1, sections_.end(),
                                   [&](const Section& s) { return EqualNoCase(s.name, section); }),
                    sections_.end());
    return sections_.size() != before;
}

}  // namespace vt::fake
