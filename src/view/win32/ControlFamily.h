// What the form window knows of each family of controls, one family to a file: its window
// class and styles, what follows creation, how it mirrors a change of the model and how its
// window's notifications become the model's intents. The form window keeps what all
// controls share (creation walk, geometry, visibility, mouse moves, the keyboard) and finds
// a control's family through FamilyOf.
#pragma once

#include "ui/Controls.h"
#include "view/win32/Placement.h"

#include <windows.h>

#include <functional>
#include <string>

namespace vt::view {

// The window made for one control of the model.
struct MadeWindow {
    ui::Control* control = nullptr;
    ::HWND hwnd = nullptr;
    int id = 0;
    ::HWND upDown = nullptr;  // the arrows of a spin edit
    ::WNDPROC original = nullptr;
    bool releasingMouse = false;  // a check box's BN_CLICKED comes from the mouse
};

// What a family asks of the form window it lives in.
class FamilyHost {
  public:
    // Every model call from a window procedure goes through here: an error becomes the
    // application's error box and the window stays.
    virtual void Guard(const std::function<void()>& action) = 0;
    virtual ::HWND FormHandle() const = 0;
    virtual bool EnabledByModel(const ui::Control& control) const = 0;
    virtual void MirrorBounds(ui::Control& control) = 0;
    virtual void MirrorVisibility(ui::Control& control) = 0;
    virtual ::HBRUSH FaceBrush() const = 0;

  protected:
    ~FamilyHost() = default;
};

struct ChildClass {
    const char* className;
    ::DWORD style;
    ::DWORD exStyle;
};

struct ControlFamily {
    ChildClass (*classFor)(const ui::Control& control);
    // Whether the window text is the model's caption: an edit's is the model's text, a tab
    // control has none.
    bool captioned = true;
    // Whether its window lies under every other window of the form: what lies on a tab
    // control's pages lies over it.
    bool lowest = false;
    // Right after creation; `state` is the WS_VISIBLE / WS_DISABLED it was made with.
    void (*created)(MadeWindow& made, FamilyHost& host, ::DWORD state) = nullptr;
    // A change of the model other than place, visibility and enabling.
    void (*mirror)(MadeWindow& made, ui::Change change, FamilyHost& host) = nullptr;
    void (*command)(MadeWindow& made, int code, FamilyHost& host) = nullptr;
    // WM_HSCROLL from the control.
    void (*scrolled)(MadeWindow& made, FamilyHost& host) = nullptr;
    // WM_NOTIFY from the control or its arrows; true when answered with `result`.
    bool (*notified)(MadeWindow& made, const ::NMHDR& header, FamilyHost& host,
                     ::LRESULT& result) = nullptr;
    // WM_CTLCOLOR...: true when answered with `result`.
    bool (*colored)(MadeWindow& made, ::HDC dc, FamilyHost& host, ::LRESULT& result) = nullptr;
    // WM_DRAWITEM for an owner-drawn control.
    void (*drawn)(MadeWindow& made, const ::DRAWITEMSTRUCT& draw, FamilyHost& host) = nullptr;
    // A message to the control's own window, before the generic handling; true when answered.
    bool (*message)(MadeWindow& made, ::UINT msg, ::WPARAM wParam, ::LPARAM lParam,
                    ::LRESULT& result) = nullptr;

    // For a control whose children have no windows of their own (a tab control's pages): a
    // change of such a child other than place, visibility and enabling.
    void (*childChanged)(MadeWindow& made, ui::Control& child, ui::Change change,
                         FamilyHost& host) = nullptr;
    // Where such children lie, in the client pixels of the form window `form`.
    ::RECT (*childArea)(const MadeWindow& made, ::HWND form) = nullptr;
    // Ctrl+Tab (`step` 1) or Ctrl+Shift+Tab (-1) in the form: the next or the previous child.
    void (*stepped)(MadeWindow& made, int step, FamilyHost& host) = nullptr;
};

// Nothing for tab sheets and forms: a tab sheet has no window of its own, the form window
// makes its own.
const ControlFamily* FamilyOf(ui::Kind kind);

extern const ControlFamily kButtonFamily;  // check boxes, radio buttons, buttons, frames
extern const ControlFamily kEditFamily;    // edits, spin edits, memos
extern const ControlFamily kListFamily;    // list boxes, combo boxes
extern const ControlFamily kBarFamily;     // track bars, progress bars
extern const ControlFamily kStaticFamily;  // labels, titles, bevels, images
extern const ControlFamily kTabFamily;     // page controls

inline ::HINSTANCE Instance() {
    return ::GetModuleHandleA(nullptr);
}
std::string WindowText(::HWND hwnd);
inline constexpr int kIconId = 1;

}  // namespace vt::view
