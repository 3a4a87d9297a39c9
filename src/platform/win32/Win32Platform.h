// The platform seam on real Windows: each call passes straight through. The calls are made
// by family: Win32Registry.cpp, Win32Files.cpp (profiles, files and folders) and
// Win32Shell.cpp (shell, windows, session and system).
#pragma once

#include "platform/Platform.h"

namespace vt {

class Win32Platform final : public Platform {
  public:
#define VT_PLATFORM_CALL VT_PLATFORM_OVERRIDE
#include "platform/PlatformCalls.def"
};

}  // namespace vt
