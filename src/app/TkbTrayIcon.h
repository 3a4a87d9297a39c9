// The program's icon in the notification area: registers it with the shell, takes the shell's
// mouse notifications, opens its popup menu above the cursor and shows or hides the whole
// application (the main window with its taskbar button).
#pragma once

#include "platform/Platform.h"
#include "ui/Form.h"
#include "ui/Menu.h"

#include <functional>
#include <string>

namespace vt {

class TkbTrayIcon {
  public:
    // `mainForm`: the window that ShowApplication shows and hides.
    TkbTrayIcon(Platform& sys, ui::Form& mainForm);
    ~TkbTrayIcon();
    TkbTrayIcon(const TkbTrayIcon&) = delete;
    TkbTrayIcon& operator=(const TkbTrayIcon&) = delete;

    static constexpr UINT kIconId = 0;
    static constexpr UINT kCallbackMessage = WM_USER;
    static constexpr std::size_t kMaxHint = 63;
    // The window class of the hidden window that receives the shell's notifications.
    static constexpr const char* kWindowClass = "TkbTrayIcon";
    // The registered message the shell sends every top-level window once it has made the
    // taskbar anew: a shown icon is then added again.
    static constexpr const char* kTaskbarCreated = "TaskbarCreated";

    // --- Properties ----------------------------------------------------------------------
    const std::string& Hint() const { return hint_; }
    // Keeps the first 63 characters; a different text updates a shown icon.
    void SetHint(const std::string& hint);
    HICON Icon() const { return icon_; }
    // 0: the program's own icon. A different image updates a shown icon.
    void SetIcon(HICON icon);
    ui::PopupMenu* PopupMenu() const { return popupMenu_; }
    // Forgotten by itself when the menu goes first.
    void SetPopupMenu(ui::PopupMenu* menu);
    bool ShowAtDesignTime = false;  // a designer's setting: nothing at run time
    bool ShowApplication() const { return showApplication_; }
    // Shows or hides the application's window (its taskbar button) and the main window; a
    // shown application comes to the foreground.
    void SetShowApplication(bool show);
    bool Visible() const { return visible_; }
    // Adds (true) or deletes (false) the icon; the shell's answer is not checked, so an icon
    // that could not be added costs nothing: a second start still brings the window back.
    void SetVisible(bool visible);

    // --- Events --------------------------------------------------------------------------
    // `defaultAction` starts true; left so, a right click opens the popup menu and a left
    // double click shows the application.
    using ClickEvent =
        std::function<void(TkbTrayIcon& sender, ui::MouseButton button, bool& defaultAction)>;
    using MouseEvent = std::function<void(TkbTrayIcon& sender, ui::MouseButton button)>;
    ClickEvent OnClick;
    ClickEvent OnDoubleClick;
    MouseEvent OnMouseDown;
    MouseEvent OnMouseUp;
    std::function<void(TkbTrayIcon& sender)> OnMouseMove;

    // --- What the view supplies ----------------------------------------------------------
    // The hidden window the shell notifies (0: none yet); attaching it registers the
    // taskbar's message. Taking the window away deletes a shown icon first.
    HWND Handle() const { return handle_; }
    void AttachWindow(HWND window);
    void DetachWindow();
    // The application's own window, the one with the taskbar button.
    HWND ApplicationHandle = 0;
    // A message to the hidden window; true when the component took it, false for the default
    // window procedure.
    bool WndProc(UINT message, WPARAM wParam, LPARAM lParam);

  private:
    NOTIFYICONDATAA Record();
    void Click(ui::MouseButton button);
    void DoubleClick(ui::MouseButton button);
    void PopUp();

    Platform& sys_;
    ui::Form& mainForm_;
    std::string hint_;
    HICON icon_ = 0;
    HICON programIcon_ = 0;  // made at the first record, ended with the component
    UINT taskbarCreated_ = 0;
    ui::PopupMenu* popupMenu_ = nullptr;
    bool showApplication_ = true;
    bool applying_ = false;  // SetShowApplication runs: the window's show and hide call back
    bool visible_ = false;
    HWND handle_ = 0;
};

}  // namespace vt
