// The picture preview of an open dialog for bitmaps: the chosen bitmap, scaled to fit, below
// the dialog's own controls.
#pragma once

#include <windows.h>

#include <commdlg.h>

namespace vt::view {

// The preview added to a Windows 98 open-file record (an Explorer-style dialog with a child
// template and a hook) for as long as the object lives: keep it until the dialog has closed.
// The template goes to the dialog as OFN_ENABLETEMPLATEHANDLE asks, the handle of a memory
// object (GlobalAlloc), freed with the object. Without memory the dialog has no preview.
class PicturePreview {
  public:
    explicit PicturePreview(::OPENFILENAMEA& dialog);
    ~PicturePreview();
    PicturePreview(const PicturePreview&) = delete;
    PicturePreview& operator=(const PicturePreview&) = delete;

  private:
    ::HGLOBAL memory_ = nullptr;
};

// The preview's control in the child dialog.
inline constexpr int kPreviewId = 0x4000;

}  // namespace vt::view
