// What only shows: labels, the pages' shadowed titles, bevels and pictures.
#include "view/win32/ControlFamily.h"

#include <algorithm>
#include <cstdlib>

namespace vt::view {
namespace {

const char* const kTitleFont = "VeltrimTitleFont";

ChildClass ClassFor(const ui::Control& control) {
    const ::DWORD child = WS_CHILD | WS_CLIPSIBLINGS;
    switch (control.GetKind()) {
        case ui::Kind::TitleLabel:
            return {"STATIC", child | SS_OWNERDRAW, 0};
        case ui::Kind::Bevel:
            return {"STATIC", child | SS_ETCHEDHORZ, 0};
        case ui::Kind::Image:
            return {"STATIC", child | SS_ICON | SS_CENTERIMAGE, 0};
        default:
            return {"STATIC", child | SS_LEFT | SS_NOPREFIX, 0};
    }
}

// A title has a font of its own, which goes with its window.
void Created(MadeWindow& made, FamilyHost&, ::DWORD) {
    if (made.control->GetKind() != ui::Kind::TitleLabel) return;
    auto& title = static_cast<ui::TitleLabel&>(*made.control);
    ::HFONT font =
        ::CreateFontA(-Scaled(title.FontHeight()), 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE,
                      DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                      DEFAULT_PITCH | FF_SWISS, title.FontName().c_str());
    ::SetPropA(made.hwnd, kTitleFont, font);
    ::SendMessageA(made.hwnd, WM_SETFONT, reinterpret_cast<::WPARAM>(font), FALSE);
}

// The picture centred on the dialog colour in a bitmap of the control's size: a static
// control centring it itself (SS_CENTERIMAGE) fills the margin with the picture's top-left
// pixel. A picture larger than the control shows its middle.
::HBITMAP CenteredPicture(::HWND control, const ui::Image& image) {
    ::RECT area{};
    ::GetClientRect(control, &area);
    const auto* info = reinterpret_cast<const ::BITMAPINFO*>(image.Dib().data());
    const int width = info->bmiHeader.biWidth;
    const int height = std::abs(info->bmiHeader.biHeight);
    ::HDC screen = ::GetDC(nullptr);
    ::HDC memory = ::CreateCompatibleDC(screen);
    ::HBITMAP bitmap = ::CreateCompatibleBitmap(screen, std::max<int>(area.right, 1),
                                                std::max<int>(area.bottom, 1));
    ::HGDIOBJ previous = ::SelectObject(memory, bitmap);
    ::FillRect(memory, &area, ::GetSysColorBrush(COLOR_BTNFACE));
    ::SetDIBitsToDevice(memory, (area.right - width) / 2, (area.bottom - height) / 2,
                        static_cast<::DWORD>(width), static_cast<::DWORD>(height), 0, 0, 0,
                        static_cast<::UINT>(height), image.Dib().data() + image.DibBitsOffset(),
                        info, DIB_RGB_COLORS);
    ::SelectObject(memory, previous);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    return bitmap;
}

void SetStaticType(::HWND hwnd, ::LONG_PTR type, ::LONG_PTR cleared) {
    ::SetWindowLongPtrA(hwnd, GWL_STYLE, (::GetWindowLongPtrA(hwnd, GWL_STYLE) & ~cleared) | type);
}

void ReplaceBitmap(::HWND hwnd, ::HANDLE bitmap) {
    ::HANDLE old = reinterpret_cast<::HANDLE>(
        ::SendMessageA(hwnd, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<::LPARAM>(bitmap)));
    if (old) ::DeleteObject(old);
}

void MirrorPicture(MadeWindow& made, FamilyHost& host) {
    auto& image = static_cast<ui::Image&>(*made.control);
    const std::string& picture = image.Picture();
    if (!image.Dib().empty()) {
        SetStaticType(made.hwnd, SS_BITMAP, SS_TYPEMASK | SS_CENTERIMAGE);
        host.MirrorBounds(image);
        ReplaceBitmap(made.hwnd, CenteredPicture(made.hwnd, image));
        host.MirrorBounds(image);  // the control keeps the size the page gave it
    } else if (picture.empty()) {
        SetStaticType(made.hwnd, SS_ICON, SS_TYPEMASK);
        ::SendMessageA(
            made.hwnd, STM_SETICON,
            reinterpret_cast<::WPARAM>(::LoadIconA(Instance(), MAKEINTRESOURCEA(kIconId))), 0);
    } else {
        SetStaticType(made.hwnd, SS_BITMAP, SS_TYPEMASK);
        ReplaceBitmap(made.hwnd,
                      ::LoadImageA(nullptr, picture.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    }
}

void Mirror(MadeWindow& made, ui::Change change, FamilyHost& host) {
    if (change == ui::Change::Value && made.control->GetKind() == ui::Kind::Image)
        MirrorPicture(made, host);
}

void Drawn(MadeWindow& made, const ::DRAWITEMSTRUCT& draw, FamilyHost& host) {
    if (made.control->GetKind() != ui::Kind::TitleLabel) return;
    auto& title = static_cast<ui::TitleLabel&>(*made.control);
    ::RECT area = draw.rcItem;
    ::FillRect(draw.hDC, &area, host.FaceBrush());
    ::SetBkMode(draw.hDC, TRANSPARENT);
    ::HGDIOBJ old = ::SelectObject(
        draw.hDC, reinterpret_cast<::HFONT>(::SendMessageA(made.hwnd, WM_GETFONT, 0, 0)));
    int shift = Scaled(title.ShadowOffset());
    ::RECT shadow{area.left + shift, area.top, area.right, area.bottom};
    ::RECT face{area.left, area.top + shift, area.right, area.bottom};
    ::SetTextColor(draw.hDC, ::GetSysColor(COLOR_BTNSHADOW));
    ::DrawTextA(draw.hDC, title.Caption().c_str(), -1, &shadow, DT_LEFT | DT_NOPREFIX);
    ::SetTextColor(draw.hDC, title.FontColor());
    ::DrawTextA(draw.hDC, title.Caption().c_str(), -1, &face, DT_LEFT | DT_NOPREFIX);
    ::SelectObject(draw.hDC, old);
}

bool Message(MadeWindow& made, ::UINT msg, ::WPARAM, ::LPARAM, ::LRESULT&) {
    if (msg == WM_NCDESTROY)
        if (::HANDLE font = ::RemovePropA(made.hwnd, kTitleFont)) ::DeleteObject(font);
    return false;
}

}  // namespace

const ControlFamily kStaticFamily = {
    .classFor = ClassFor, .created = Created, .mirror = Mirror, .drawn = Drawn, .message = Message};

}  // namespace vt::view
