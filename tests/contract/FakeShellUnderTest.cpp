#include "platform/fake/FakePlatform.h"
#include "ShellUnderTest.h"

namespace vt::contract {

HWND MakeOwnerWindow(Platform& sys) {
    return static_cast<fake::FakePlatform&>(sys).AddWindow("VtOwner", "", false);
}

void DestroyOwnerWindow(Platform&, HWND) {}

void ChooseInNextMenu(Platform& sys, int index, const std::string& text) {
    static_cast<fake::FakePlatform&>(sys).ChooseInNextMenu(index ? text : std::string());
}

void MenuDone() {}

}  // namespace vt::contract
