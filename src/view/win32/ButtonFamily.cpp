// Check boxes, radio buttons, push and speed buttons, frames.
#include "view/win32/ControlFamily.h"

#include <algorithm>

namespace vt::view {
namespace {

ChildClass ClassFor(const ui::Control& control) {
    const ::DWORD child = WS_CHILD | WS_CLIPSIBLINGS;
    switch (control.GetKind()) {
        case ui::Kind::CheckBox:
            return {"BUTTON", child | BS_CHECKBOX | WS_TABSTOP, 0};
        case ui::Kind::RadioButton: {
            // The first radio button of a frame starts a group for the arrow keys.
            const auto& siblings = control.Parent()->Children();
            auto first = std::find_if(siblings.begin(), siblings.end(), [](ui::Control* c) {
                return c->GetKind() == ui::Kind::RadioButton;
            });
            ::DWORD group = (*first == &control) ? WS_GROUP | WS_TABSTOP : 0;
            return {"BUTTON", child | BS_RADIOBUTTON | group, 0};
        }
        case ui::Kind::GroupBox:
            return {"BUTTON", child | BS_GROUPBOX, 0};
        default:
            return {"BUTTON", child | BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP, 0};
    }
}

bool IsChecked(const ui::Control& control) {
    switch (control.GetKind()) {
        case ui::Kind::CheckBox:
            return static_cast<const ui::CheckBox&>(control).Checked();
        case ui::Kind::RadioButton:
            return static_cast<const ui::RadioButton&>(control).Checked();
        default:
            return false;
    }
}

void Mirror(MadeWindow& made, ui::Change change, FamilyHost&) {
    if (change == ui::Change::Checked)
        ::SendMessageA(made.hwnd, BM_SETCHECK, IsChecked(*made.control) ? BST_CHECKED : 0, 0);
}

void Created(MadeWindow& made, FamilyHost& host, ::DWORD) {
    if (IsChecked(*made.control)) Mirror(made, ui::Change::Checked, host);
}

void Command(MadeWindow& made, int code, FamilyHost& host) {
    if (code != BN_CLICKED) return;
    ui::Control& control = *made.control;
    switch (control.GetKind()) {
        case ui::Kind::CheckBox: {
            auto& box = static_cast<ui::CheckBox&>(control);
            if (made.releasingMouse)
                host.Guard([&] { box.ReleaseMouse(ui::MouseButton::Left, true); });
            else
                host.Guard([&] { box.ToggleFromKeyboard(); });
            break;
        }
        case ui::Kind::RadioButton:
            host.Guard([&] { static_cast<ui::RadioButton&>(control).Click(); });
            break;
        case ui::Kind::Button:
        case ui::Kind::SpeedButton:
            host.Guard([&] { static_cast<ui::Button&>(control).Click(); });
            break;
        default:
            break;
    }
}

bool Message(MadeWindow& made, ::UINT msg, ::WPARAM wParam, ::LPARAM lParam, ::LRESULT& result) {
    ui::Control& control = *made.control;
    switch (msg) {
        case WM_LBUTTONDBLCLK:
            // A check box (BS_CHECKBOX without BS_NOTIFY) sends no BN_DOUBLECLICKED and takes
            // the double click as a button-down itself; handing it exactly that keeps one
            // toggle for each press and release, the release doing the toggling. (The form
            // window has run the press already.)
            if (control.GetKind() != ui::Kind::CheckBox) return false;
            result = ::CallWindowProcA(made.original, made.hwnd, WM_LBUTTONDOWN, wParam, lParam);
            return true;
        case WM_SETCURSOR:
            if ((control.GetKind() != ui::Kind::Button &&
                 control.GetKind() != ui::Kind::SpeedButton) ||
                !static_cast<ui::Button&>(control).HandCursor())
                return false;
            if (::HCURSOR hand = ::LoadCursorA(nullptr, IDC_HAND)) {
                ::SetCursor(hand);
                result = TRUE;
                return true;
            }
            return false;
        case WM_ERASEBKGND: {
            // A frame draws only its line and caption: what lay behind it (a page shown
            // before) is painted over with the dialog colour.
            if (control.GetKind() != ui::Kind::GroupBox) return false;
            ::RECT area{};
            ::GetClientRect(made.hwnd, &area);
            ::FillRect(reinterpret_cast<::HDC>(wParam), &area, ::GetSysColorBrush(COLOR_BTNFACE));
            result = TRUE;
            return true;
        }
        default:
            return false;
    }
}

}  // namespace

const ControlFamily kButtonFamily = {.classFor = ClassFor,
                                     .created = Created,
                                     .mirror = Mirror,
                                     .command = Command,
                                     .message = Message};

}  // namespace vt::view
