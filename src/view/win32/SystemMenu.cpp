// The items the program adds to a window's system menu.
#include "view/win32/FormWindow.h"

namespace vt::view {

void FormWindow::AddSystemMenuItem(const std::string& text, std::function<bool()> enabled,
                                   std::function<void()> chosen) {
    ::UINT id = kFirstSystemItem + 16 * static_cast<::UINT>(systemItems_.size());
    ::HMENU menu = ::GetSystemMenu(hwnd_, FALSE);
    if (!menu) return;
    if (systemItems_.empty()) ::AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuA(menu, MF_STRING, id, text.c_str());
    systemItems_.push_back({id, std::move(enabled), std::move(chosen)});
}

bool FormWindow::HandleSystemMenu(::UINT msg, ::WPARAM wParam, ::LPARAM lParam) {
    if (systemItems_.empty()) return false;
    if (msg == WM_INITMENUPOPUP && HIWORD(lParam)) {
        ::HMENU menu = reinterpret_cast<::HMENU>(wParam);
        for (const SystemItem& item : systemItems_) {
            bool on = false;
            Guard([&] { on = !item.enabled || item.enabled(); });
            ::EnableMenuItem(menu, item.id, MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED));
        }
        return false;  // the default handling sets up the rest of the menu
    }
    if (msg == WM_SYSCOMMAND) {
        for (const SystemItem& item : systemItems_) {
            if ((wParam & 0xFFF0) != item.id) continue;
            // Chosen from the keyboard or posted while greyed, it does the same check.
            Guard([&] {
                if (!item.enabled || item.enabled()) item.chosen();
            });
            return true;
        }
    }
    return false;
}

}  // namespace vt::view
