// The form's keyboard: Tab, Enter and Esc as in a dialog box, Ctrl+Tab through the pages.
#include "view/win32/FormWindow.h"

#include "view/ControlId.h"

namespace vt::view {

bool FormWindow::PreTranslate(::MSG& msg) {
    if (!hwnd_) return false;
    if (msg.hwnd == hwnd_ && msg.message == WM_USER) {
        if (OnUserMessage) Guard(OnUserMessage);
        return true;
    }
    if (!::IsWindowVisible(hwnd_)) return false;
    if (msg.hwnd != hwnd_ && !::IsChild(hwnd_, msg.hwnd)) return false;
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_TAB && (::GetKeyState(VK_CONTROL) < 0)) {
        for (auto& [control, item] : items_) {
            const ControlFamily* family = FamilyOf(item.control->GetKind());
            if (!family || !family->stepped) continue;
            family->stepped(item, ::GetKeyState(VK_SHIFT) < 0 ? -1 : 1, *this);
            return true;
        }
    }
    return ::IsDialogMessageA(hwnd_, &msg);
}

::LRESULT FormWindow::DefaultButtonId() {
    ui::Button* button = FocusedButton();
    if (!button) button = form_.DefaultButton;
    if (!button) return 0;
    return MAKELRESULT(ControlId(button->Name()), DC_HASDEFID);
}

ui::Button* FormWindow::FocusedButton() {
    ::HWND focus = ::GetFocus();
    for (auto& [control, item] : items_)
        if (item.hwnd == focus && (item.control->GetKind() == ui::Kind::Button ||
                                   item.control->GetKind() == ui::Kind::SpeedButton))
            return static_cast<ui::Button*>(item.control);
    return nullptr;
}

}  // namespace vt::view
