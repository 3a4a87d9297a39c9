#include "store/ConfigDat.h"

#include <vector>

namespace vt {
namespace {

IoError IoErrorFor(DWORD code) {
    switch (code) {
        case ERROR_FILE_NOT_FOUND:
            return IoError("File not found");
        case ERROR_PATH_NOT_FOUND:
            return IoError("Path not found");
        case ERROR_ACCESS_DENIED:
            return IoError("File access denied");
        default:
            return IoError("I/O error " + std::to_string(code));
    }
}

}  // namespace

constexpr std::size_t kSize = ConfigDat::kSize;
static_assert(kSize == ConfigDat{}.records.size() * 4);

namespace {

// The spare is the program's own only when it holds five records: another file of that name
// is the user's, and stays.
bool IsSpare(Platform& sys, const std::string& path, std::vector<BYTE>* bytes) {
    std::vector<BYTE> read;
    return sys.ReadFileBytes(path.c_str(), bytes ? bytes : &read, kSize) &&
           (bytes ? bytes : &read)->size() == kSize;
}

}  // namespace

ConfigDat ReadConfigDat(Platform& sys, const std::string& programDir) {
    const std::string path = programDir + ConfigDat::kFileName;
    std::vector<BYTE> bytes;
    // Read no further than five records: a larger file is no options file of the program's.
    if (!sys.ReadFileBytes(path.c_str(), &bytes, kSize)) {
        DWORD error = sys.GetLastError();
        if (error != static_cast<DWORD>(ERROR_FILE_TOO_LARGE)) throw IoErrorFor(error);
        throw ConfigDatDamaged(path + " is larger than the " + std::to_string(kSize) +
                               " bytes of Veltrim 2000's options: it is not the program's file.");
    }
    // Cut short by a write that was cut off: the whole spare written just before holds the
    // same records.
    std::vector<BYTE> spare;
    if (bytes.size() < kSize && IsSpare(sys, programDir + ConfigDat::kSpareName, &spare))
        bytes = spare;
    ConfigDat config;
    if (bytes.size() < kSize)
        throw ConfigDatDamaged(
            "Read beyond end of file: " + path + " holds " + std::to_string(bytes.size()) +
            " bytes; Veltrim 2000's options take " + std::to_string(kSize) + ".");
    for (std::size_t i = 0; i < config.records.size(); ++i) {
        const BYTE* p = &bytes[i * 4];
        config.records[i] = static_cast<std::int32_t>(p[0] | p[1] << 8 | p[2] << 16 |
                                                      static_cast<DWORD>(p[3]) << 24);
    }
    return config;
}

void WriteConfigDat(Platform& sys, const std::string& programDir, const ConfigDat& config) {
    std::vector<BYTE> bytes;
    for (std::int32_t record : config.records)
        for (int shift = 0; shift < 32; shift += 8)
            bytes.push_back(static_cast<BYTE>(static_cast<DWORD>(record) >> shift));
    if (!WriteConfigBytes(sys, programDir, bytes)) throw IoErrorFor(sys.GetLastError());
}

bool WriteConfigBytes(Platform& sys, const std::string& programDir,
                      const std::vector<BYTE>& bytes) {
    // The spare first: a write of the file itself cut off in the middle leaves it short, and
    // the next start reads the spare instead. It goes once the file is whole.
    const std::string spare = programDir + ConfigDat::kSpareName;
    bool spared = (sys.GetFileAttributesA(spare.c_str()) == INVALID_FILE_ATTRIBUTES ||
                   IsSpare(sys, spare, nullptr)) &&
                  sys.WriteFileBytes(spare.c_str(), bytes) != FALSE;
    if (!sys.WriteFileBytes((programDir + ConfigDat::kFileName).c_str(), bytes)) return false;
    if (spared) sys.DeleteFileA(spare.c_str());
    return true;
}

}  // namespace vt
