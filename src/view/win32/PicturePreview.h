// The picture preview of an open dialog for bitmaps: the chosen bitmap, scaled to fit, below
// the dialog's own controls.
#pragma once

#include <windows.h>

#include <commdlg.h>

namespace vt::view {

// Adds the preview to a Windows 98 open-file record (an Explorer-style dialog with a child
// template and a hook).
void AddPicturePreview(::OPENFILENAMEA& dialog);

// The preview's control in the child dialog.
inline constexpr int kPreviewId = 0x4000;

}  // namespace vt::view
