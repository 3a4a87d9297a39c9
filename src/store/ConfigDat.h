// Config.DAT: the program's options, five 32-bit little-endian records, 20 bytes.
#pragma once

#include "platform/Platform.h"

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace vt {

// An I/O error, named as the user sees it ("File not found", "Read beyond end of file").
class IoError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Config.DAT is there but holds no five records (another size): the message names it. A new
// file with the default options can take its place.
class ConfigDatDamaged : public IoError {
  public:
    using IoError::IoError;
};

struct ConfigDat {
    static constexpr const char* kFileName = "\\Config.DAT";
    // The records being written, kept until Config.DAT holds them whole.
    static constexpr const char* kSpareName = "\\Config.DAT.new";
    static constexpr std::size_t kSize = 20;
    std::array<std::int32_t, 5> records{};  // 1, 3 and 4 are reserved and kept as read

    // A new installation's: the welcome window shown, the reserved records 0.
    static ConfigDat Defaults() {
        ConfigDat config;
        config.SetShowSplash(1);
        return config;
    }

    std::int32_t ShowSplash() const { return records[0]; }
    void SetShowSplash(std::int32_t value) { records[0] = value; }
    std::int32_t FirstRun() const { return records[2]; }
    void SetFirstRun(std::int32_t value) { records[2] = value; }
};

// Reads all five records from ProgramDir + "\Config.DAT"; raises IoError (ConfigDatDamaged
// for a file of another size).
ConfigDat ReadConfigDat(Platform& sys, const std::string& programDir);
// Rewrites the whole file; raises IoError.
void WriteConfigDat(Platform& sys, const std::string& programDir, const ConfigDat& config);
// Writes these bytes as Config.DAT through its spare (never over a file of the spare's name
// that is not the program's); answers whether Config.DAT was written.
bool WriteConfigBytes(Platform& sys, const std::string& programDir, const std::vector<BYTE>& bytes);

}  // namespace vt
