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

constexpr std::size_t kSize = ConfigDat{}.records.size() * 4;

ConfigDat ReadConfigDat(Platform& sys, const std::string& programDir) {
    std::vector<BYTE> bytes;
    if (!sys.ReadFileBytes((programDir + ConfigDat::kFileName).c_str(), &bytes))
        throw IoErrorFor(sys.GetLastError());
    // Cut short by a write that was cut off: the whole spare written just before holds the
    // same records.
    std::vector<BYTE> spare;
    if (bytes.size() < kSize &&
        sys.ReadFileBytes((programDir + ConfigDat::kSpareName).c_str(), &spare) &&
        spare.size() >= kSize)
        bytes = spare;
    ConfigDat config;
    if (bytes.size() < kSize) throw IoError("Read beyond end of file");
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
    // The spare first: a write of the file itself cut off in the middle leaves it short, and
    // the next start reads the spare instead. It goes once the file is whole.
    const std::string spare = programDir + ConfigDat::kSpareName;
    bool spared = sys.WriteFileBytes(spare.c_str(), bytes) != FALSE;
    if (!sys.WriteFileBytes((programDir + ConfigDat::kFileName).c_str(), bytes))
        throw IoErrorFor(sys.GetLastError());
    if (spared) sys.DeleteFileA(spare.c_str());
}

}  // namespace vt
