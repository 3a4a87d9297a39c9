#include "view/win32/Placement.h"

#include "view/win32/FormWindow.h"

#include <commctrl.h>

#include <algorithm>

namespace vt::view {
namespace {

int& StandIn() {
    static int pixelsPerInch = 0;
    return pixelsPerInch;
}

// Controls whose place grows where their caption needs more room than the scaled one.
bool FittedToCaption(ui::Kind kind) {
    return kind == ui::Kind::Label || kind == ui::Kind::CheckBox || kind == ui::Kind::RadioButton;
}

}  // namespace

int PixelsPerInch() {
    if (StandIn() > 0) return StandIn();
    static const int screen = [] {
        ::HDC dc = ::GetDC(nullptr);
        int pixels = ::GetDeviceCaps(dc, LOGPIXELSY);
        ::ReleaseDC(nullptr, dc);
        return pixels > 0 ? pixels : 96;
    }();
    return screen;
}

void SetPixelsPerInch(int pixelsPerInch) {
    StandIn() = pixelsPerInch;
}

::SIZE TextExtent(::HWND window, ::HFONT font, const std::string& text, int wrapWidth) {
    ::HDC dc = ::GetDC(window);
    ::HGDIOBJ old = ::SelectObject(dc, font);
    ::SIZE size{};
    if (wrapWidth > 0) {
        ::RECT area{0, 0, wrapWidth, 0};
        ::DrawTextA(dc, text.c_str(), -1, &area, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
        size = {area.right, area.bottom};
    } else {
        ::GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    }
    ::SelectObject(dc, old);
    ::ReleaseDC(window, dc);
    return size;
}

int WidthAt96(::HWND window, ::HFONT font, const std::string& text) {
    int width = static_cast<int>(TextExtent(window, font, text).cx);
    return (width * 96 + PixelsPerInch() - 1) / PixelsPerInch();
}

bool FollowsCaption(const ui::Control& control) {
    return control.GetBounds().width == 0 || FittedToCaption(control.GetKind());
}

// Edges are scaled rather than lengths, so that controls that meet at 96 dpi meet on every
// screen. A text does not grow exactly with the screen: a caption that its scaled place cannot
// hold gets the room it needs, a wrapping label the height of its lines.
::RECT ScreenPlace(const ui::Control& control, ::POINT origin, ::HWND form, ::HFONT formFont,
                   ::HWND made) {
    const ui::Bounds& b = control.GetBounds();
    const int left = origin.x + Scaled(b.left), top = origin.y + Scaled(b.top);
    int width = Scaled(b.left + b.width) - Scaled(b.left);
    int height = Scaled(b.top + b.height) - Scaled(b.top);
    const ui::Kind kind = control.GetKind();
    if (!control.Caption().empty() && FollowsCaption(control)) {
        // A family may give its window a font of its own.
        ::HFONT font =
            made ? reinterpret_cast<::HFONT>(::SendMessageA(made, WM_GETFONT, 0, 0)) : nullptr;
        if (!font) font = formFont;
        ::SIZE text = TextExtent(form, font, control.Caption());
        if (b.width == 0) {  // a label that sizes itself to its text
            width = text.cx;
            if (b.height == 0 || kind == ui::Kind::Label)
                height = std::max(b.height == 0 ? 0 : height, static_cast<int>(text.cy));
        } else if (kind != ui::Kind::Label) {
            width = std::max(width, CheckMarkRoom() + static_cast<int>(text.cx));
        } else if (height < 2 * text.cy) {
            width = std::max(width, static_cast<int>(text.cx));
            height = std::max(height, static_cast<int>(text.cy));
        } else {
            height = std::max(
                height, static_cast<int>(TextExtent(form, font, control.Caption(), width).cy));
        }
    }
    if (kind == ui::Kind::TitleLabel) {  // room for the shadow
        int shift = Scaled(static_cast<const ui::TitleLabel&>(control).ShadowOffset());
        width += shift;
        height += shift;
    }
    if (kind == ui::Kind::ComboBox) height *= 8;  // room for the drop-down list
    return {left, top, left + width, top + height};
}

// --- The form window's controls ----------------------------------------------------------

::POINT FormWindow::Origin(const ui::Control& control) const {
    if (control.GetKind() == ui::Kind::Form) return {0, 0};
    if (!FamilyOf(control.GetKind())) {  // a tab sheet: its controls lie on the form
        ::RECT area = ChildArea(*control.Parent());
        return {area.left, area.top};
    }
    ::POINT origin = Origin(*control.Parent());
    return {origin.x + Scaled(control.GetBounds().left),
            origin.y + Scaled(control.GetBounds().top)};
}

::RECT FormWindow::ChildArea(const ui::Control& container) const {
    ::RECT area{0, 0, 0, 0};
    auto found = items_.find(&container);
    if (found == items_.end() || !found->second.hwnd) return area;
    const ControlFamily* family = FamilyOf(container.GetKind());
    if (family && family->childArea) area = family->childArea(found->second, hwnd_);
    return area;
}

::RECT FormWindow::PlaceOf(const ui::Control& control) const {
    auto made = items_.find(&control);
    return ScreenPlace(control, Origin(*control.Parent()), hwnd_, font_,
                       made != items_.end() ? made->second.hwnd : nullptr);
}

void FormWindow::MirrorBounds(ui::Control& control) {
    if (Item* item = Find(control); item && item->hwnd) {
        ::RECT place = PlaceOf(control);
        ::MoveWindow(item->hwnd, place.left, place.top, place.right - place.left,
                     place.bottom - place.top, TRUE);
        if (item->upDown)
            ::SendMessageA(item->upDown, UDM_SETBUDDY, reinterpret_cast<::WPARAM>(item->hwnd), 0);
    }
    for (ui::Control* child : control.Children()) MirrorBounds(*child);
}

}  // namespace vt::view
