// The unit tests run twice: as Wine behaves, and with VT_FAKE_BEHAVIOUR=windows98 as Windows
// 98 itself does where the two differ (deleting a key with sub-keys, writing a profile file).
#include "platform/fake/FakePlatform.h"

#include <cstdlib>
#include <string>

namespace {

const bool chosen = [] {
    const char* behaviour = std::getenv("VT_FAKE_BEHAVIOUR");
    if (behaviour && std::string(behaviour) == "windows98")
        vt::fake::FakePlatform::SetDefaultBehaviour(vt::fake::Behaviour::Windows98);
    return true;
}();

}  // namespace
