#include "view/win32/TrayWindow.h"

#include <exception>

namespace vt::view {

TrayWindow::TrayWindow(TkbTrayIcon& tray, ::HWND application, ui::Prompts& prompts)
    : tray_(tray), prompts_(prompts) {
    ::HINSTANCE instance = ::GetModuleHandleA(nullptr);
    ::WNDCLASSEXA existing{};
    existing.cbSize = sizeof existing;
    if (!::GetClassInfoExA(instance, TkbTrayIcon::kWindowClass, &existing)) {
        ::WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = &Proc;
        wc.hInstance = instance;
        wc.lpszClassName = TkbTrayIcon::kWindowClass;
        ::RegisterClassExA(&wc);
    }
    hwnd_ = ::CreateWindowExA(WS_EX_TOOLWINDOW, TkbTrayIcon::kWindowClass, "", WS_POPUP, 0, 0, 0, 0,
                              nullptr, nullptr, instance, nullptr);
    if (hwnd_) ::SetWindowLongPtrA(hwnd_, GWLP_USERDATA, reinterpret_cast<::LONG_PTR>(this));
    tray_.AttachWindow(reinterpret_cast<HWND>(hwnd_));
    tray_.ApplicationHandle = reinterpret_cast<HWND>(application);
}

// The icon goes before the window it belongs to.
TrayWindow::~TrayWindow() {
    tray_.DetachWindow();
    tray_.ApplicationHandle = 0;
    if (hwnd_) {
        ::SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
        ::DestroyWindow(hwnd_);
    }
}

// No exception crosses the window procedure: the application's error box shows it.
::LRESULT CALLBACK TrayWindow::Proc(::HWND hwnd, ::UINT msg, ::WPARAM wParam, ::LPARAM lParam) {
    auto* self = reinterpret_cast<TrayWindow*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (self) {
        bool taken = false;
        try {
            taken = self->tray_.WndProc(msg, wParam, lParam);
        } catch (const std::exception& e) {
            self->prompts_.ShowError(e.what());
            taken = true;
        }
        if (taken) return 0;
    }
    return ::DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace vt::view
