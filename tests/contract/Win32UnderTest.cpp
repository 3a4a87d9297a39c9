#include "platform/win32/Win32Platform.h"
#include "PlatformUnderTest.h"

#include <objbase.h>

namespace vt::contract {

std::unique_ptr<Platform> MakePlatformUnderTest() {
    static const HRESULT com = ::CoInitialize(nullptr);  // as the program does at start
    (void)com;
    return std::make_unique<Win32Platform>();
}

}  // namespace vt::contract
