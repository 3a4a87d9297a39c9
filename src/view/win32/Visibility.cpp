// Which windows show and take input: a control shows when it and every control it lies in do,
// a page only while it is the one its page control shows; the form window shows with its model.
#include "view/win32/FormWindow.h"

namespace vt::view {

bool FormWindow::ShownByModel(const ui::Control& control) const {
    for (const ui::Control* c = &control; c && c->GetKind() != ui::Kind::Form; c = c->Parent()) {
        if (!c->Visible()) return false;
        if (c->GetKind() == ui::Kind::TabSheet &&
            static_cast<const ui::PageControl*>(c->Parent())->ActivePage() != c)
            return false;
    }
    return true;
}

bool FormWindow::EnabledByModel(const ui::Control& control) const {
    for (const ui::Control* c = &control; c && c->GetKind() != ui::Kind::Form; c = c->Parent())
        if (!c->Enabled()) return false;
    return true;
}

void FormWindow::MirrorVisibility(ui::Control& control) {
    if (control.GetKind() == ui::Kind::TabSheet && ShownByModel(control) &&
        CreatePendingPage(&control))
        return;  // made as the model shows it
    if (Item* item = Find(control); item && item->hwnd) {
        int show = ShownByModel(control) ? SW_SHOWNA : SW_HIDE;
        ::ShowWindow(item->hwnd, show);
        if (item->upDown) ::ShowWindow(item->upDown, show);
    }
    for (ui::Control* child : control.Children()) MirrorVisibility(*child);
}

void FormWindow::MirrorEnabled(ui::Control& control) {
    if (Item* item = Find(control); item && item->hwnd) {
        bool enabled = EnabledByModel(control);
        ::EnableWindow(item->hwnd, enabled);
        if (item->upDown) ::EnableWindow(item->upDown, enabled);
    }
    for (ui::Control* child : control.Children()) MirrorEnabled(*child);
}

void FormWindow::MirrorForm(ui::Change change) {
    if (!hwnd_) return;
    switch (change) {
        case ui::Change::Caption:
            ::SetWindowTextA(hwnd_, form_.Caption().c_str());
            break;
        case ui::Change::Enabled:
            ::EnableWindow(hwnd_, form_.Enabled() ? TRUE : FALSE);
            break;
        case ui::Change::Visible:
            if (form_.Visible()) {
                if (!placed_) CentreOnScreen();
                ::ShowWindow(hwnd_, SW_SHOW);
                ::SetForegroundWindow(hwnd_);
                if (form_.ActiveControl)
                    if (Item* item = Find(*form_.ActiveControl); item && item->hwnd)
                        ::SetFocus(item->hwnd);
            } else {
                ::ShowWindow(hwnd_, SW_HIDE);
            }
            break;
        case ui::Change::Closed:
            // A close that came in a sent message (another program's click, the end of the
            // session) runs inside GetMessage, which waits on for a posted one: give it one.
            ::PostMessageA(hwnd_, WM_NULL, 0, 0);
            break;
        default:
            break;
    }
}

void FormWindow::CentreOnScreen() {
    ::RECT work{}, frame{};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    ::GetWindowRect(hwnd_, &frame);
    int width = frame.right - frame.left, height = frame.bottom - frame.top;
    ::SetWindowPos(hwnd_, nullptr, work.left + (work.right - work.left - width) / 2,
                   work.top + (work.bottom - work.top - height) / 2, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    placed_ = true;
}

}  // namespace vt::view
