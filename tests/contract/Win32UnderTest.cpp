#include "platform/win32/Win32Platform.h"
#include "PlatformUnderTest.h"

namespace vt::contract {

std::unique_ptr<Platform> MakePlatformUnderTest() {
    return std::make_unique<Win32Platform>();
}

}  // namespace vt::contract
