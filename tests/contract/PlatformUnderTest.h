// The contract suite runs against whichever platform the test program links in:
// the fake natively, the real Win32 functions under Wine.
#pragma once

#include "platform/Platform.h"

#include <memory>

namespace vt::contract {

std::unique_ptr<Platform> MakePlatformUnderTest();

}  // namespace vt::contract
