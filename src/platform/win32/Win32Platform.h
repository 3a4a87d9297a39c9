// The platform seam on real Windows: each call passes straight through.
#pragma once

#include "platform/Platform.h"

namespace vt {

class Win32Platform final : public Platform {
  public:
#define VT_PLATFORM_CALL VT_PLATFORM_OVERRIDE
#include "platform/PlatformCalls.def"
};

}  // namespace vt
