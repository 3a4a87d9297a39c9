// A profile file's text as the profile functions read it, to tell whether a write reached
// the file on disk whole: a full disk or a write cut short leaves a file that claims success
// and has lost its end.
#pragma once

#include <map>
#include <string>

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

}  // namespace vt
