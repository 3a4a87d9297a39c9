// The stored values a restore point names, for the log of an unattended run: what a write
// pass changed (the point holds them as they were) and what an Undo put back.
#pragma once

#include "platform/Platform.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace vt {

// "HKEY_CURRENT_USER\Control Panel\Sound\Beep" -> "\"YES\"", "C:\MSDOS.SYS [Options] BootGUI"
// -> "1"; a missing value is "(missing)".
using StoredValues = std::map<std::string, std::string>;

// A whole file as the log shows it: "(missing)", "shortcut" for a .lnk file, else its size and
// checksum; a folder that is there is "folder". /check's lines and /apply's use the same.
std::string FileShown(const std::string& path, const std::optional<std::string>& bytes);
inline constexpr const char* kFolderShown = "folder";

// The values the point at `pointDir` names, as the point saved them.
StoredValues ValuesInPoint(Platform& sys, const std::string& pointDir);
// The same values as the stores hold them now.
StoredValues ValuesNow(Platform& sys, const std::string& pointDir);
// "HKEY_...\name: before -> after", one for each value that differs.
std::vector<std::string> ChangeLines(const StoredValues& before, const StoredValues& after);

}  // namespace vt
