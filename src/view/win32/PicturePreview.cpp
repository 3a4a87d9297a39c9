// The program's platform headers come before <windows.h>.
#include "platform/win32/Win32Platform.h"
#include "store/Bitmap.h"
#include "view/win32/PicturePreview.h"

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <optional>

namespace vt::view {
namespace {

// A dialog template in memory: the child dialog and its one picture control, the template
// and its item each on a DWORD boundary, as the dialog manager reads them.
struct alignas(4) PreviewTemplate {
    ::DLGTEMPLATE dialog;             // 18 bytes
    ::WORD menu, windowClass, title;  // none of each: the item starts on a DWORD (24)
    ::DLGITEMTEMPLATE item;
    ::WORD itemClass[2];  // 0xFFFF and the atom of "STATIC"
    ::WORD itemTitle, creationData;
};
static_assert(sizeof(::DLGTEMPLATE) == 18 && sizeof(::DLGITEMTEMPLATE) == 18);
static_assert(offsetof(PreviewTemplate, item) == 24, "the item on a DWORD boundary");

void Fill(PreviewTemplate& t) {
    t.dialog.style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | DS_3DLOOK | DS_CONTROL;
    t.dialog.cdit = 1;
    t.dialog.cx = 200;
    t.dialog.cy = 86;
    t.item.style = WS_CHILD | WS_VISIBLE | SS_BITMAP | SS_SUNKEN;
    t.item.x = 6;
    t.item.y = 2;
    t.item.cx = 188;
    t.item.cy = 80;
    t.item.id = kPreviewId;
    t.itemClass[0] = 0xFFFF;
    t.itemClass[1] = 0x0082;
}

// The picture scaled to fit the control (never enlarged), centred on the dialog colour.
::HBITMAP Fitted(::HWND control, const Bitmap& picture) {
    ::RECT area{};
    ::GetClientRect(control, &area);
    const int width = std::max<int>(area.right, 1), height = std::max<int>(area.bottom, 1);
    const double scale = std::min({1.0, static_cast<double>(width) / picture.Width(),
                                   static_cast<double>(height) / picture.Height()});
    const int shownWidth = std::max(1, static_cast<int>(picture.Width() * scale));
    const int shownHeight = std::max(1, static_cast<int>(picture.Height() * scale));
    const auto* info = reinterpret_cast<const ::BITMAPINFO*>(picture.Dib().data());
    ::HDC screen = ::GetDC(nullptr);
    ::HDC memory = ::CreateCompatibleDC(screen);
    ::HBITMAP bitmap = ::CreateCompatibleBitmap(screen, width, height);
    ::HGDIOBJ previous = ::SelectObject(memory, bitmap);
    ::FillRect(memory, &area, ::GetSysColorBrush(COLOR_BTNFACE));
    ::SetStretchBltMode(memory, COLORONCOLOR);  // Windows 98 has no HALFTONE
    ::StretchDIBits(memory, (width - shownWidth) / 2, (height - shownHeight) / 2, shownWidth,
                    shownHeight, 0, 0, picture.Width(), picture.Height(),
                    picture.Dib().data() + picture.PixelOffset(), info, DIB_RGB_COLORS, SRCCOPY);
    ::SelectObject(memory, previous);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    return bitmap;
}

void Show(::HWND preview, ::HBITMAP bitmap) {
    ::HGDIOBJ old = reinterpret_cast<::HGDIOBJ>(
        ::SendMessageA(preview, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<::LPARAM>(bitmap)));
    if (old) ::DeleteObject(old);
}

// The file the selection names, read through the same checks as the logo itself: a file
// that is no bitmap this program can show (or is far too large) shows nothing.
void ShowSelected(::HWND child) {
    ::HWND preview = ::GetDlgItem(child, kPreviewId);
    if (!preview) return;
    char path[MAX_PATH] = "";
    ::LRESULT length = ::SendMessageA(::GetParent(child), CDM_GETFILEPATH, sizeof path,
                                      reinterpret_cast<::LPARAM>(path));
    Win32Platform platform;
    std::optional<Bitmap> picture;
    if (length > 0 && static_cast<std::size_t>(length) <= sizeof path)
        picture = Bitmap::Load(platform, path);
    Show(preview, picture ? Fitted(preview, *picture) : nullptr);
}

::UINT_PTR CALLBACK PreviewHook(::HWND child, ::UINT message, ::WPARAM, ::LPARAM lParam) {
    if (message == WM_NOTIFY &&
        reinterpret_cast<const ::NMHDR*>(lParam)->code == static_cast<::UINT>(CDN_SELCHANGE))
        ShowSelected(child);
    else if (message == WM_DESTROY)
        Show(::GetDlgItem(child, kPreviewId), nullptr);
    return 0;
}

}  // namespace

// Fixed memory (GMEM_FIXED, zeroed), whose handle is also its address (aligned for any
// type): the dialog may lock the handle or read it as the address, both are the template.
PicturePreview::PicturePreview(::OPENFILENAMEA& dialog)
    : memory_(::GlobalAlloc(GMEM_ZEROINIT, sizeof(PreviewTemplate))) {
    auto* made = memory_ ? static_cast<PreviewTemplate*>(::GlobalLock(memory_)) : nullptr;
    if (!made) return;
    Fill(*made);
    dialog.Flags |= OFN_EXPLORER | OFN_ENABLEHOOK | OFN_ENABLETEMPLATEHANDLE;
    dialog.hInstance = static_cast<::HINSTANCE>(memory_);
    dialog.lpfnHook = PreviewHook;
}

PicturePreview::~PicturePreview() {
    if (!memory_) return;
    ::GlobalUnlock(memory_);
    ::GlobalFree(memory_);
}

}  // namespace vt::view
