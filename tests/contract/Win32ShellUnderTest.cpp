#include "ShellUnderTest.h"

#include <windows.h>

namespace vt::contract {
namespace {

// A thread of its own (the win32 thread model has no std::thread).
::HANDLE chooser = nullptr;

// As a user at the keyboard: the arrow down to the item, then Enter; or Esc.
::DWORD WINAPI Choose(void* parameter) {
    const int index = static_cast<int>(reinterpret_cast<INT_PTR>(parameter));
    ::HWND menu = nullptr;
    for (int tries = 0; tries < 500 && !menu; ++tries) {
        menu = ::FindWindowA("#32768", nullptr);
        if (menu && !::IsWindowVisible(menu)) menu = nullptr;
        if (!menu) ::Sleep(10);
    }
    if (!menu) return 1;
    for (int i = 0; i < index; ++i) ::PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
    ::PostMessageA(menu, WM_KEYDOWN, index ? VK_RETURN : VK_ESCAPE, 0);
    return 0;
}

}  // namespace

HWND MakeOwnerWindow(Platform&) {
    ::HWND window = ::CreateWindowExA(WS_EX_TOOLWINDOW, "STATIC", "", WS_POPUP, 0, 0, 0, 0, nullptr,
                                      nullptr, ::GetModuleHandleA(nullptr), nullptr);
    return reinterpret_cast<HWND>(window);
}

void DestroyOwnerWindow(Platform&, HWND window) {
    ::DestroyWindow(reinterpret_cast<::HWND>(window));
}

void ChooseInNextMenu(Platform&, int index, const std::string&) {
    MenuDone();
    chooser =
        ::CreateThread(nullptr, 0, Choose, reinterpret_cast<void*>(INT_PTR{index}), 0, nullptr);
}

void MenuDone() {
    if (!chooser) return;
    ::WaitForSingleObject(chooser, INFINITE);
    ::CloseHandle(chooser);
    chooser = nullptr;
}

}  // namespace vt::contract
