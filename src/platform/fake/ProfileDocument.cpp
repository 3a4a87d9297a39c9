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

}  // namespace

ProfileDocument ProfileDocument::Parse(const std::string& text) {
    ProfileDocument doc;
    doc.sections_.push_back(Section{});
    for (const std::string& raw : SplitLines(text)) {
        std::string line = Trim(raw);
        if (line.empty()) continue;
        if (line.front() == '[') {
            std::size_t close = line.find(']');
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
