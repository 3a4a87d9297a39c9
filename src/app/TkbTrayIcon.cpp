#include "app/TkbTrayIcon.h"

#include <algorithm>
#include <cstring>

namespace vt {
namespace {

constexpr UINT kProgramIconResource = 1;

}  // namespace

TkbTrayIcon::TkbTrayIcon(Platform& sys, ui::Form& mainForm) : sys_(sys), mainForm_(mainForm) {}

TkbTrayIcon::~TkbTrayIcon() {
    SetPopupMenu(nullptr);
    SetVisible(false);
    if (programIcon_) sys_.DestroyIcon(programIcon_);
}

// --- Properties --------------------------------------------------------------------------

NOTIFYICONDATAA TkbTrayIcon::Record() {
    NOTIFYICONDATAA record;
    record.cbSize = NOTIFYICONDATAA_V1_SIZE;
    record.hWnd = handle_;
    record.uID = kIconId;
    record.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    record.uCallbackMessage = kCallbackMessage;
    // The notification area shows small icons: the program's own 16-by-16 image (LoadIconA
    // would give the 32-by-32 one, which the shell shrinks).
    if (!icon_ && !programIcon_)
        programIcon_ = sys_.LoadImageA(sys_.GetModuleHandleA(nullptr), kProgramIconResource,
                                       IMAGE_ICON, sys_.GetSystemMetrics(SM_CXSMICON),
                                       sys_.GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR);
    record.hIcon = icon_ ? icon_ : programIcon_;
    std::size_t length = std::min(hint_.size(), kMaxHint);
    std::memcpy(record.szTip, hint_.data(), length);
    record.szTip[length] = '\0';
    return record;
}

void TkbTrayIcon::SetHint(const std::string& hint) {
    std::string cut = hint.substr(0, kMaxHint);
    if (cut == hint_) return;
    hint_ = cut;
    if (visible_) {
        NOTIFYICONDATAA record = Record();
        sys_.Shell_NotifyIconA(NIM_MODIFY, &record);
    }
}

void TkbTrayIcon::SetIcon(HICON icon) {
    if (icon == icon_) return;
    icon_ = icon;
    if (visible_) {
        NOTIFYICONDATAA record = Record();
        sys_.Shell_NotifyIconA(NIM_MODIFY, &record);
    }
}

void TkbTrayIcon::SetPopupMenu(ui::PopupMenu* menu) {
    if (menu == popupMenu_) return;
    if (popupMenu_) popupMenu_->Unwatch(this);
    popupMenu_ = menu;
    if (popupMenu_) popupMenu_->Watch(this, [this] { popupMenu_ = nullptr; });
}

void TkbTrayIcon::SetVisible(bool visible) {
    if (visible == visible_) return;
    visible_ = visible;
    NOTIFYICONDATAA record = Record();
    sys_.Shell_NotifyIconA(visible ? NIM_ADD : NIM_DELETE, &record);
}

// Showing or hiding the main window calls back here (its FormShow and FormHide): the inner
// call finds the work under way and leaves it to the outer one.
void TkbTrayIcon::SetShowApplication(bool show) {
    showApplication_ = show;
    if (applying_) return;
    applying_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{applying_};
    if (ApplicationHandle) sys_.ShowWindow(ApplicationHandle, show ? SW_SHOW : SW_HIDE);
    if (show)
        mainForm_.Show();
    else
        mainForm_.Hide();
    // A hidden window is never brought forward: keys typed next would go nowhere.
    if (show && ApplicationHandle) sys_.SetForegroundWindow(ApplicationHandle);
}

// --- The hidden window -------------------------------------------------------------------

void TkbTrayIcon::AttachWindow(HWND window) {
    handle_ = window;
    if (!taskbarCreated_) taskbarCreated_ = sys_.RegisterWindowMessageA(kTaskbarCreated);
}

void TkbTrayIcon::DetachWindow() {
    SetVisible(false);
    handle_ = 0;
}

bool TkbTrayIcon::WndProc(UINT message, WPARAM, LPARAM lParam) {
    // Explorer started again with a new taskbar, which holds none of the old icons.
    if (taskbarCreated_ && message == taskbarCreated_) {
        if (visible_) {
            NOTIFYICONDATAA record = Record();
            sys_.Shell_NotifyIconA(NIM_ADD, &record);
        }
        return true;
    }
    if (message != kCallbackMessage) return false;
    switch (static_cast<UINT>(lParam)) {
        case WM_MOUSEMOVE:
            if (OnMouseMove) OnMouseMove(*this);
            break;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN: {
            ui::MouseButton button = lParam == WM_LBUTTONDOWN   ? ui::MouseButton::Left
                                     : lParam == WM_RBUTTONDOWN ? ui::MouseButton::Right
                                                                : ui::MouseButton::Middle;
            if (OnMouseDown) OnMouseDown(*this, button);
            break;
        }
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP: {
            ui::MouseButton button = lParam == WM_LBUTTONUP   ? ui::MouseButton::Left
                                     : lParam == WM_RBUTTONUP ? ui::MouseButton::Right
                                                              : ui::MouseButton::Middle;
            Click(button);
            if (OnMouseUp) OnMouseUp(*this, button);
            break;
        }
        case WM_LBUTTONDBLCLK:
            DoubleClick(ui::MouseButton::Left);
            break;
        case WM_RBUTTONDBLCLK:
            DoubleClick(ui::MouseButton::Right);
            break;
        case WM_MBUTTONDBLCLK:
            DoubleClick(ui::MouseButton::Middle);
            break;
        default:
            break;
    }
    return true;
}

void TkbTrayIcon::Click(ui::MouseButton button) {
    bool defaultAction = true;
    if (OnClick) OnClick(*this, button, defaultAction);
    if (button == ui::MouseButton::Right && defaultAction) PopUp();
}

void TkbTrayIcon::DoubleClick(ui::MouseButton button) {
    bool defaultAction = true;
    if (OnDoubleClick) OnDoubleClick(*this, button, defaultAction);
    if (button == ui::MouseButton::Left && defaultAction) SetShowApplication(true);
}

// Right-aligned to the cursor and one item height per item above it. The hidden window comes
// to the foreground first and gets a null message after, so that a click elsewhere closes the
// menu; the chosen item runs once the menu is gone.
void TkbTrayIcon::PopUp() {
    if (!popupMenu_ || popupMenu_->Items().empty()) return;
    POINT cursor;
    sys_.GetCursorPos(&cursor);
    HMENU menu = sys_.CreatePopupMenu();
    if (!menu) return;
    const std::vector<ui::MenuItem*> items = popupMenu_->Items();
    for (std::size_t i = 0; i < items.size(); ++i)
        sys_.AppendMenuA(menu, MF_STRING, static_cast<UINT>(i + 1), items[i]->Caption().c_str());
    sys_.SetForegroundWindow(handle_);
    int above = sys_.GetSystemMetrics(SM_CYMENUSIZE) * static_cast<int>(items.size());
    BOOL chosen = sys_.TrackPopupMenu(menu, TPM_RIGHTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD,
                                      cursor.x, cursor.y - above, handle_);
    sys_.DestroyMenu(menu);
    sys_.PostMessageA(handle_, WM_NULL, 0, 0);
    if (chosen > 0 && static_cast<std::size_t>(chosen) <= items.size()) items[chosen - 1]->Click();
}

}  // namespace vt
