// What the window, menu and notification-area contract needs beside the seam: an owner
// window of the test's own and a user who picks from the next popup menu.
#pragma once

#include "platform/Platform.h"

#include <string>

namespace vt::contract {

// A hidden top-level window of this process.
HWND MakeOwnerWindow(Platform& sys);
void DestroyOwnerWindow(Platform& sys, HWND window);
// The next menu TrackPopupMenu shows gets item `index` (counted from 1, with that `text`)
// chosen, or is closed with nothing chosen when `index` is 0.
void ChooseInNextMenu(Platform& sys, int index, const std::string& text);
// After the menu: whatever the choosing needed is finished.
void MenuDone();

}  // namespace vt::contract
