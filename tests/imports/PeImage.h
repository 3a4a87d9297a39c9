// What the Windows loader reads from a 32-bit PE file before it runs a line of it: the
// versions in the optional header, the import table and the TLS callbacks.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace vt::imports {

struct PeImage {
    std::uint16_t osMajor = 0, osMinor = 0;
    std::uint16_t subsystemMajor = 0, subsystemMinor = 0;
    std::uint16_t subsystem = 0;
    // DLL name in upper case -> imported names ("#n" for an import by ordinal).
    std::map<std::string, std::set<std::string>> imports;
    // Virtual addresses of the TLS callbacks, in the order the loader would call them.
    std::vector<std::uint32_t> tlsCallbacks;
};

// Reads the file; on a file that is not a 32-bit PE image, `error` says why.
bool ReadPeImage(const std::string& path, PeImage& image, std::string& error);

// The list of what Windows 98 SE exports: "DLL Function [source]" lines, '#' comments.
// DLL names in upper case.
std::map<std::string, std::set<std::string>> ReadExportList(const std::string& path);

// "DLL!Function" for every import of `image` outside `exports`.
std::vector<std::string> ImportsOutside(
    const PeImage& image, const std::map<std::string, std::set<std::string>>& exports);

}  // namespace vt::imports
