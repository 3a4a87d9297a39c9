// The hidden window that receives the shell's notifications for the notification-area icon
// and hands them to the icon's model. Windows 98 knows no message-only windows: this one is
// a top-level window that is never shown and has no taskbar button.
#pragma once

#include "app/TkbTrayIcon.h"
#include "ui/Prompts.h"

#include <windows.h>

namespace vt::view {

class TrayWindow {
  public:
    // `application`: the window with the taskbar button that the icon stands for.
    TrayWindow(TkbTrayIcon& tray, ::HWND application, ui::Prompts& prompts);
    ~TrayWindow();
    TrayWindow(const TrayWindow&) = delete;
    TrayWindow& operator=(const TrayWindow&) = delete;

    ::HWND Handle() const { return hwnd_; }

  private:
    static ::LRESULT CALLBACK Proc(::HWND hwnd, ::UINT msg, ::WPARAM wParam, ::LPARAM lParam);

    TkbTrayIcon& tray_;
    ui::Prompts& prompts_;
    ::HWND hwnd_ = nullptr;
};

}  // namespace vt::view
