// INI accessor over the private-profile functions. It holds only the file name; nothing
// is cached or flushed here (the system's profile cache decides when the file is written).
#pragma once

#include "platform/Platform.h"

#include <string>

namespace vt {

class TIniFile {
  public:
    TIniFile(Platform& platform, std::string fileName);

    const std::string& FileName() const { return fileName_; }

    std::string ReadText(const std::string& section, const std::string& key,
                         const std::string& defaultValue);
    void WriteText(const std::string& section, const std::string& key, const std::string& value);
    // Raises "Unable to write to %s" when the file refuses; a key already missing is no error.
    void RemoveKey(const std::string& section, const std::string& key);
    void RemoveSection(const std::string& section);
    bool HasValue(const std::string& section, const std::string& key);
    // Whether the file is there; a bare name is one in the Windows folder, as the profile
    // functions take it.
    bool FileExists();

    static constexpr DWORD kReadBufferSize = 2048;
    static constexpr DWORD kKeyListBufferSize = 16384;

  private:
    Platform& sys_;
    std::string fileName_;
};

}  // namespace vt
