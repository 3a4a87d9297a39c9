#include "imports/PeImage.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <sstream>

namespace vt::imports {
namespace {

std::string Upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

class Bytes {
  public:
    explicit Bytes(std::vector<char> data) : data_(std::move(data)) {}
    bool Has(std::uint32_t offset, std::uint32_t size) const {
        return offset <= data_.size() && size <= data_.size() - offset;
    }
    std::uint32_t U32(std::uint32_t offset) const { return Little(offset, 4); }
    std::uint16_t U16(std::uint32_t offset) const {
        return static_cast<std::uint16_t>(Little(offset, 2));
    }
    std::string Text(std::uint32_t offset) const {
        std::string text;
        while (offset < data_.size() && data_[offset]) text += data_[offset++];
        return text;
    }

  private:
    std::uint32_t Little(std::uint32_t offset, int size) const {
        if (!Has(offset, static_cast<std::uint32_t>(size))) return 0;
        std::uint32_t value = 0;
        for (int i = size - 1; i >= 0; --i)
            value = (value << 8) | static_cast<unsigned char>(data_[offset + i]);
        return value;
    }
    std::vector<char> data_;
};

struct Section {
    std::uint32_t address, size, fileOffset;
};

}  // namespace

bool ReadPeImage(const std::string& path, PeImage& image, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot open " + path;
        return false;
    }
    Bytes file(std::vector<char>(std::istreambuf_iterator<char>(in), {}));
    if (file.U16(0) != 0x5A4D) {
        error = path + " has no MZ header";
        return false;
    }
    const std::uint32_t pe = file.U32(0x3C);
    if (file.U32(pe) != 0x00004550 || file.U16(pe + 4) != 0x014C) {
        error = path + " is not a 32-bit x86 PE image";
        return false;
    }
    const std::uint16_t sectionCount = file.U16(pe + 6);
    const std::uint32_t optional = pe + 24;
    if (file.U16(optional) != 0x10B) {
        error = path + " has no PE32 optional header";
        return false;
    }
    const std::uint32_t imageBase = file.U32(optional + 28);
    image.osMajor = file.U16(optional + 40);
    image.osMinor = file.U16(optional + 42);
    image.subsystemMajor = file.U16(optional + 48);
    image.subsystemMinor = file.U16(optional + 50);
    image.subsystem = file.U16(optional + 68);
    const std::uint32_t directories = optional + 96;

    std::vector<Section> sections;
    const std::uint32_t table = optional + file.U16(pe + 20);
    for (std::uint16_t i = 0; i < sectionCount; ++i) {
        const std::uint32_t entry = table + 40u * i;
        sections.push_back({file.U32(entry + 12),
                            std::max(file.U32(entry + 8), file.U32(entry + 16)),
                            file.U32(entry + 20)});
    }
    auto offsetOf = [&](std::uint32_t rva) -> std::uint32_t {
        for (const Section& s : sections)
            if (rva >= s.address && rva < s.address + s.size) return rva - s.address + s.fileOffset;
        return 0xFFFFFFFF;
    };

    const std::uint32_t importRva = file.U32(directories + 8);
    for (std::uint32_t entry = offsetOf(importRva); importRva && file.Has(entry, 20); entry += 20) {
        const std::uint32_t lookup = file.U32(entry) ? file.U32(entry) : file.U32(entry + 16);
        const std::uint32_t nameRva = file.U32(entry + 12);
        if (!nameRva) break;
        std::set<std::string>& names = image.imports[Upper(file.Text(offsetOf(nameRva)))];
        for (std::uint32_t thunk = offsetOf(lookup); file.Has(thunk, 4) && file.U32(thunk);
             thunk += 4) {
            const std::uint32_t value = file.U32(thunk);
            names.insert(value & 0x80000000u ? "#" + std::to_string(value & 0xFFFF)
                                             : file.Text(offsetOf(value) + 2));
        }
    }

    const std::uint32_t tlsRva = file.U32(directories + 9 * 8);
    if (tlsRva) {
        const std::uint32_t callbacks = file.U32(offsetOf(tlsRva) + 12);
        for (std::uint32_t at = offsetOf(callbacks - imageBase); file.Has(at, 4) && file.U32(at);
             at += 4)
            image.tlsCallbacks.push_back(file.U32(at));
    }
    return true;
}

std::map<std::string, std::set<std::string>> ReadExportList(const std::string& path) {
    std::map<std::string, std::set<std::string>> exports;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream words(line);
        std::string dll, function;
        if (words >> dll >> function) exports[Upper(dll)].insert(function);
    }
    return exports;
}

std::vector<std::string> ImportsOutside(
    const PeImage& image, const std::map<std::string, std::set<std::string>>& exports) {
    std::vector<std::string> outside;
    for (const auto& [dll, names] : image.imports) {
        auto known = exports.find(dll);
        for (const std::string& name : names)
            if (known == exports.end() || !known->second.count(name))
                outside.push_back(dll + "!" + name);
    }
    return outside;
}

}  // namespace vt::imports
