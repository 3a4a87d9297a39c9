#include "ShellUnderTest.h"

#include <windows.h>

#include <thread>

namespace vt::contract {
namespace {

std::thread chooser;

}  // namespace

HWND MakeOwnerWindow(Platform&) {
    ::HWND window = ::CreateWindowExA(WS_EX_TOOLWINDOW, "STATIC", "", WS_POPUP, 0, 0, 0, 0, nullptr,
                                      nullptr, ::GetModuleHandleA(nullptr), nullptr);
    return reinterpret_cast<HWND>(window);
}

void DestroyOwnerWindow(Platform&, HWND window) {
    ::DestroyWindow(reinterpret_cast<::HWND>(window));
}

// As a user at the keyboard: the arrow down to the item, then Enter; or Esc.
void ChooseInNextMenu(Platform&, int index, const std::string&) {
    MenuDone();
    chooser = std::thread([index] {
        ::HWND menu = nullptr;
        for (int tries = 0; tries < 500 && !menu; ++tries) {
            menu = ::FindWindowA("#32768", nullptr);
            if (menu && !::IsWindowVisible(menu)) menu = nullptr;
            if (!menu) ::Sleep(10);
        }
        if (!menu) return;
        for (int i = 0; i < index; ++i) ::PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
        ::PostMessageA(menu, WM_KEYDOWN, index ? VK_RETURN : VK_ESCAPE, 0);
    });
}

void MenuDone() {
    if (chooser.joinable()) chooser.join();
}

}  // namespace vt::contract
