// Presses and moves of the mouse over the form and its controls, as the model's intents.
#include "view/win32/FormWindow.h"

namespace vt::view {
namespace {

// The button a press or a double click message stands for.
ui::MouseButton PressedButton(::UINT msg) {
    switch (msg) {
        case WM_RBUTTONDOWN:
        case WM_RBUTTONDBLCLK:
            return ui::MouseButton::Right;
        case WM_MBUTTONDOWN:
        case WM_MBUTTONDBLCLK:
            return ui::MouseButton::Middle;
        default:
            return ui::MouseButton::Left;
    }
}

}  // namespace

bool FormWindow::HandleChildMouse(Item& item, ::UINT msg, ::WPARAM wParam, ::LPARAM lParam,
                                  ::LRESULT& result) {
    ui::Control& control = *item.control;
    switch (msg) {
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDBLCLK:
            Guard([&] { control.PressMouse(PressedButton(msg)); });
            return false;
        case WM_LBUTTONDBLCLK:
            // The second press of a double click is a press like the first: its handler runs
            // again. A check box (BS_CHECKBOX without BS_NOTIFY) sends no BN_DOUBLECLICKED and
            // takes the double click as a button-down itself; handing it exactly that keeps one
            // toggle for each press and release, the release below doing the toggling.
            Guard([&] { control.PressMouse(ui::MouseButton::Left); });
            return false;
        case WM_LBUTTONUP: {
            ::HWND hwnd = item.hwnd;
            item.releasingMouse = true;
            result = ::CallWindowProcA(item.original, hwnd, msg, wParam, lParam);
            if (Item* still = ItemOfWindow(hwnd)) still->releasingMouse = false;
            return true;
        }
        case WM_MOUSEMOVE: {
            ::POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            ::MapWindowPoints(item.hwnd, hwnd_, &point, 1);
            MouseMovedTo(point, control);
            return false;
        }
        default:
            return false;
    }
}

void FormWindow::MouseMovedTo(::POINT point, ui::Control& fallback) {
    ui::Control* under = ControlAt(form_, point);
    Guard([&] { (under ? *under : fallback).MoveMouse(); });
}

// The deepest shown control under a point of the client area: static texts and frames
// let the mouse through to the window below, so their moves are found this way.
ui::Control* FormWindow::ControlAt(ui::Control& within, ::POINT point) {
    const auto& children = within.Children();
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        ui::Control& child = **it;
        if (!ShownByModel(child)) continue;
        ::RECT area;
        if (!FamilyOf(child.GetKind())) {  // a tab sheet
            area = ChildArea(within);
        } else if (Item* item = Find(child); item && item->hwnd) {
            ::GetWindowRect(item->hwnd, &area);
            ::MapWindowPoints(nullptr, hwnd_, reinterpret_cast<::POINT*>(&area), 2);
        } else {
            continue;
        }
        if (!::PtInRect(&area, point)) continue;
        if (ui::Control* deeper = ControlAt(child, point)) return deeper;
        return &child;
    }
    return nullptr;
}

}  // namespace vt::view
