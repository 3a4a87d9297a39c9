// INI accessor: reads through the private-profile functions, writes by editing the file's
// bytes (see Write). It holds only the file name.
#pragma once

#include "platform/Platform.h"

#include <string>

namespace vt {

// "Unable to write to <file>", with the cause the platform's error gives and what to do.
std::string UnableToWrite(const std::string& path, DWORD error);

// Windows 98 keeps profile changes in a cache of its own: the file on disk stays the old one
// until the cache is flushed (the all-NULL WritePrivateProfileStringA) or moves to another
// file. Whatever reads the file whole (restore points, Undo, the change log) or changes it
// otherwise (its attributes, a copy put back) flushes first. Wine writes through at once.
void FlushProfileCache(Platform& sys, const std::string& fileName);

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
    // One write, flushed before C:\MSDOS.SYS gets its attributes back: a change left in the
    // cache would meet a read-only file later and be lost.
    void Write(const std::string& section, const char* key, const char* value);
    // The file's whole path: a bare name lies in the Windows folder.
    std::string FullPath();

    Platform& sys_;
    std::string fileName_;
};

}  // namespace vt
