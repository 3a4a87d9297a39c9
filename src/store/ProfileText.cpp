#include "store/ProfileText.h"

#include "platform/NoCase.h"

#include <iterator>

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
            std::size_t close = line.find(']');
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

}  // namespace vt
