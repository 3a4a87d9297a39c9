// An INI file as Windows' private-profile functions see it (measured on Wine): lines end at
// a CR or an LF, they are trimmed, blank lines dropped, "name=value" split at the first '=' with
// the blanks around both halves removed, lines without '=' kept as names without a value, and the
// whole file written back with CRLF line ends.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vt::fake {

class ProfileDocument {
  public:
    struct Entry {
        std::string name;
        std::optional<std::string> value;
    };
    struct Section {
        std::string name;  // empty for the lines before the first section
        std::vector<Entry> entries;
    };

    static ProfileDocument Parse(const std::string& text);
    std::string Serialize() const;

    // The value of a key that has one, as GetPrivateProfileString returns it (quotes around
    // the whole value removed).
    std::optional<std::string> Find(const std::string& section, const std::string& key) const;
    // Names of the section's keys that have a value; nullopt when the section is missing.
    std::optional<std::vector<std::string>> KeyNames(const std::string& section) const;

    // Windows 98's profile writer: the same change made to the file's own bytes, every other
    // line kept as it stands (comments, blank lines, blanks around '=', line ends). A new key
    // goes after the last line of its section, a new section at the end of the file. key null
    // removes the section, value null the key. nullopt when nothing would change.
    static std::optional<std::string> EditInPlace(const std::string& text,
                                                  const std::string& section, const char* key,
                                                  const char* value);

    // Each returns whether the document changed.
    bool Set(const std::string& section, const std::string& key, const std::string& value);
    bool RemoveKey(const std::string& section, const std::string& key);
    bool RemoveSection(const std::string& section);

  private:
    Section* FindSection(const std::string& name);
    const Section* FindSection(const std::string& name) const;

    std::vector<Section> sections_;
};

}  // namespace vt::fake
