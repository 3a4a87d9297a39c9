// Folder helpers over the platform's file calls.
#pragma once

#include "platform/Platform.h"

#include <string>

namespace vt {

bool DirectoryExists(Platform& sys, const std::string& path);
bool FileExists(Platform& sys, const std::string& path);
// Creates the folder and any missing parents; true when the folder exists afterwards.
bool ForceDirectories(Platform& sys, const std::string& path);
// Removes an empty folder; false when it is missing, not empty or cannot be removed.
bool RemoveDir(Platform& sys, const std::string& path);

}  // namespace vt
