// How large a file the program reads may be. Every file is read whole into memory, so each
// read names its limit and a larger file is refused (ERROR_FILE_TOO_LARGE) before any of it
// is held.
#pragma once

#include "platform/WinTypes.h"

namespace vt::limits {

// A file the settings write (SYSTEM.INI, MSDOS.SYS, oeminfo.ini, a shortcut, data.ini) and
// its saved copy in a restore point.
inline constexpr DWORD kManagedFile = 8u << 20;
// The OEM logo: a picture far larger than System Properties can show.
inline constexpr DWORD kBitmap = 8u << 20;
// Registry.reg and Files.txt of a restore point.
inline constexpr DWORD kPointFile = 8u << 20;
// The list of restore points: ten names.
inline constexpr DWORD kPointList = 64u << 10;
// data.ini: Windows 98's profile functions read no more than its first 64 KB.
inline constexpr DWORD kDataIni = 64u << 10;
// A settings profile or an unattended run's log: some eighty lines.
inline constexpr DWORD kProfile = 1u << 20;

}  // namespace vt::limits
