// A profile file's text as the profile functions read it, to tell whether a write reached
// the file on disk whole: a full disk or a write cut short leaves a file that claims success
// and has lost its end.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace vt {

// Every key of the text by section and key name (upper case, joined by a line feed), the
// first of each, with its value without the blanks around it. A line without '=' inside a
// section counts as a key without a value; blank lines and ';' comments do not count.
std::map<std::string, std::string> ProfileEntries(const std::string& text);

// Whether `after` holds what `before` held with the one write made: `value` null removes
// the key, `key` null the section. Every other key must be there with its value, and none
// may be added.
bool ProfileWriteLanded(const std::string& before, const std::string& after, const char* section,
                        const char* key, const char* value);

// The text with one key set (`value` null: the key removed; `key` null: the whole section),
// every other byte kept as it was: comments, blank lines, the blanks around '=', NULs, the
// line ends, and whatever follows a Ctrl+Z (the DOS end of file). A new key goes after the
// last line of its section, a new section at the end of the text.
std::string EditedProfile(const std::string& text, const std::string& section, const char* key,
                          const char* value);

// Windows will not start from a C:\MSDOS.SYS of under 1,024 bytes; its own file carries
// comment lines of 'x' to stay above. A shorter text gets such lines before its end of file.
inline constexpr std::size_t kBootFileMinimum = 1024;
std::string PaddedBootFile(const std::string& text);

// A profile file's keys in their order, the first of each, names spelled as the file spells
// them and values without the blanks around them, by "SECTION\nKEY" in upper case.
struct IniKeyValue {
    std::string section;
    std::string key;
    std::string value;
};
std::map<std::string, IniKeyValue> ProfileKeys(const std::string& text);

// A profile file's keys as "<path> [<section>] <key>" with their values, names spelled as
// the file spells them and the blanks around them dropped; the first of each key counts.
std::map<std::string, std::string> ProfileValues(const std::string& path, const std::string& text);

}  // namespace vt
