// The two base paths and the boot options file's attribute steps.
#pragma once

#include "platform/Platform.h"

#include <optional>
#include <string>

namespace vt {

inline constexpr const char* kMsdosSys = "C:\\MSDOS.SYS";
inline constexpr const char* kSystemIni = "SYSTEM.INI";  // resolved in the Windows directory
// The file system's performance templates (HKEY_LOCAL_MACHINE); the File-Cache page adds its own.
inline constexpr const char* kFsTemplates =
    "Software\\Microsoft\\Windows\\CurrentVersion\\FS Templates";

// The Windows directory (GetWindowsDirectoryA into 144 bytes); empty if it does not fit.
std::string TakeWindowsDir(Platform& sys);
// The current directory, where Config.DAT, data.ini and the kept Uninstall.lnk live.
std::string TakeProgramDir(Platform& sys);

// Archive only, so that the profile functions may rewrite the file. Answers the attributes
// the file had; nothing when there is no such file or it was not protected.
std::optional<DWORD> UnprotectMsdosSys(Platform& sys);
// Back to the attributes it had (read-only, hidden, system and archive).
void RestoreMsdosSys(Platform& sys, DWORD attributes);
// Sets a file's attributes so that read-only goes last (see RestoreMsdosSys); answers whether
// the last call took.
bool SetAttributesReadOnlyLast(Platform& sys, const std::string& path, DWORD attributes);

}  // namespace vt
