// Where a control's window goes and how much room a text takes. Places and sizes in the model
// are written as on a 96-dpi screen; the view alone scales them to the screen's pixels per
// inch, and measures texts as the windows draw them.
#pragma once

#include "ui/Controls.h"

#include <windows.h>

#include <string>

namespace vt::view {

// The screen's pixels per inch (LOGPIXELSY; 120 with Large Fonts). The view scales the model's
// places and sizes by this and makes its fonts at it. A test stands in another value with
// SetPixelsPerInch (0: the screen's again).
int PixelsPerInch();
void SetPixelsPerInch(int pixelsPerInch);
// A length written at 96 dpi, on this screen.
inline int Scaled(int at96) {
    return ::MulDiv(at96, PixelsPerInch(), 96);
}
// What a check box or radio button takes before its caption: the box, the gap, the focus line.
inline int CheckMarkRoom() {
    return Scaled(13) + Scaled(4) + 1;
}

// The room a text takes in `font` as `window` draws it: on one line, or, given `wrapWidth`,
// broken into lines that many pixels wide as a static control breaks it.
::SIZE TextExtent(::HWND window, ::HFONT font, const std::string& text, int wrapWidth = 0);
// A text's width in the 96-dpi pixels the pages lay out in, rounded up: the text must fit once
// scaled back.
int WidthAt96(::HWND window, ::HFONT font, const std::string& text);

// Whether a control's place follows its caption: a label sized to its text, or a control that
// gets the room its caption needs.
bool FollowsCaption(const ui::Control& control);

// The control's place in `form`'s client area, its parent's children starting at `origin`.
// Its caption is measured in the font of its window `made` (none yet: `formFont`).
::RECT ScreenPlace(const ui::Control& control, ::POINT origin, ::HWND form, ::HFONT formFont,
                   ::HWND made);

}  // namespace vt::view
