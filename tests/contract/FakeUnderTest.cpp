#include "platform/fake/FakePlatform.h"
#include "PlatformUnderTest.h"

namespace vt::contract {

std::unique_ptr<Platform> MakePlatformUnderTest() {
    return std::make_unique<fake::FakePlatform>();
}

}  // namespace vt::contract
