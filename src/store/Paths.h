// The two base paths and the boot options file's attribute steps.
#pragma once

#include "platform/Platform.h"

#include <string>

namespace vt {

inline constexpr const char* kMsdosSys = "C:\\MSDOS.SYS";
inline constexpr const char* kSystemIni = "SYSTEM.INI";  // resolved in the Windows directory

// The Windows directory (GetWindowsDirectoryA into 144 bytes); empty if it does not fit.
std::string TakeWindowsDir(Platform& sys);
// The current directory, where Config.DAT, data.ini and the kept Uninstall.lnk live.
std::string TakeProgramDir(Platform& sys);

// Archive only, so that the profile functions may rewrite the file.
void UnprotectMsdosSys(Platform& sys);
// Back to read-only + hidden + system.
void ProtectMsdosSys(Platform& sys);

}  // namespace vt
