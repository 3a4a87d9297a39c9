// Track bars and progress bars.
#include "view/win32/ControlFamily.h"

#include <commctrl.h>

namespace vt::view {
namespace {

ChildClass ClassFor(const ui::Control& control) {
    const ::DWORD child = WS_CHILD | WS_CLIPSIBLINGS;
    if (control.GetKind() == ui::Kind::ProgressBar) return {PROGRESS_CLASSA, child | PBS_SMOOTH, 0};
    return {TRACKBAR_CLASSA, child | TBS_HORZ | TBS_AUTOTICKS | WS_TABSTOP | WS_GROUP, 0};
}

void Created(MadeWindow& made, FamilyHost&, ::DWORD) {
    if (made.control->GetKind() == ui::Kind::ProgressBar) {
        auto& bar = static_cast<ui::ProgressBar&>(*made.control);
        ::SendMessageA(made.hwnd, PBM_SETRANGE32, bar.MinValue(), bar.MaxValue());
        return;
    }
    auto& bar = static_cast<ui::TrackBar&>(*made.control);
    ::SendMessageA(made.hwnd, TBM_SETRANGEMIN, FALSE, bar.MinValue());
    ::SendMessageA(made.hwnd, TBM_SETRANGEMAX, TRUE, bar.MaxValue());
    if (bar.PageSize() > 0) {
        ::SendMessageA(made.hwnd, TBM_SETPAGESIZE, 0, bar.PageSize());
        ::SendMessageA(made.hwnd, TBM_SETLINESIZE, 0, bar.PageSize());
    }
}

void Mirror(MadeWindow& made, ui::Change change, FamilyHost&) {
    if (made.control->GetKind() == ui::Kind::ProgressBar) {
        if (change == ui::Change::Value)
            ::SendMessageA(made.hwnd, PBM_SETPOS,
                           static_cast<ui::ProgressBar&>(*made.control).Position(), 0);
        return;
    }
    auto& bar = static_cast<ui::TrackBar&>(*made.control);
    if (change == ui::Change::Range)
        ::SendMessageA(made.hwnd, TBM_SETRANGEMAX, TRUE, bar.MaxValue());
    if (change == ui::Change::Range || change == ui::Change::Value)
        ::SendMessageA(made.hwnd, TBM_SETPOS, TRUE, bar.Position());
}

void Scrolled(MadeWindow& made, FamilyHost& host) {
    if (made.control->GetKind() != ui::Kind::TrackBar) return;
    int position = static_cast<int>(::SendMessageA(made.hwnd, TBM_GETPOS, 0, 0));
    auto& bar = static_cast<ui::TrackBar&>(*made.control);
    host.Guard([&] { bar.Drag(position); });
}

}  // namespace

const ControlFamily kBarFamily = {
    .classFor = ClassFor, .created = Created, .mirror = Mirror, .scrolled = Scrolled};

}  // namespace vt::view
