#include "platform/fake/FakePlatform.h"
#include "PlatformUnderTest.h"

#include <cstdlib>

namespace vt::contract {

// VT_CODE_PAGE=932: the fake machine of a Japanese Windows.
std::unique_ptr<Platform> MakePlatformUnderTest() {
    auto machine = std::make_unique<fake::FakePlatform>();
    if (const char* codePage = std::getenv("VT_CODE_PAGE"))
        machine->SetCodePage(static_cast<UINT>(std::atoi(codePage)));
    return machine;
}

}  // namespace vt::contract
