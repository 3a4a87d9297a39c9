// The platform seam: every operating-system call the program makes, shaped after the
// Win32 function it stands for. Win32Platform passes straight through to Windows;
// FakePlatform is an in-memory Windows 98 machine for tests. The calls and what each one
// answers are listed in PlatformCalls.def.
#pragma once

#include "platform/WinTypes.h"

#include <vector>

namespace vt {

class Platform {
  public:
    virtual ~Platform() = default;

#define VT_PLATFORM_CALL(ret, name, shortName, params, args) virtual ret name params = 0;
#include "platform/PlatformCalls.def"
};

}  // namespace vt

// One call declared as an override. A class that makes every call of the seam declares them all:
//   #define VT_PLATFORM_CALL VT_PLATFORM_OVERRIDE
//   #include "platform/PlatformCalls.def"
#define VT_PLATFORM_OVERRIDE(ret, name, shortName, params, args) ret name params override;
