// Edits, spin edits (an edit with up-down arrows) and memos.
#include "view/win32/ControlFamily.h"

#include "ui/Form.h"

#include <commctrl.h>

namespace vt::view {
namespace {

ChildClass ClassFor(const ui::Control& control) {
    const ::DWORD child = WS_CHILD | WS_CLIPSIBLINGS;
    if (control.GetKind() != ui::Kind::Memo)
        return {"EDIT", child | ES_AUTOHSCROLL | WS_TABSTOP | WS_GROUP, WS_EX_CLIENTEDGE};
    if (static_cast<const ui::Memo&>(control).Scrolled())
        return {"EDIT", child | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL,
                WS_EX_CLIENTEDGE};
    return {"EDIT", child | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL, 0};
}

std::string ModelText(const ui::Control& control) {
    switch (control.GetKind()) {
        case ui::Kind::Edit:
            return static_cast<const ui::Edit&>(control).Text();
        case ui::Kind::SpinEdit:
            return static_cast<const ui::SpinEdit&>(control).Text();
        default:
            return static_cast<const ui::Memo&>(control).Text();
    }
}

void Created(MadeWindow& made, FamilyHost& host, ::DWORD state) {
    switch (made.control->GetKind()) {
        case ui::Kind::SpinEdit: {
            auto& spin = static_cast<ui::SpinEdit&>(*made.control);
            made.upDown = ::CreateWindowExA(
                0, UPDOWN_CLASSA, nullptr,
                WS_CHILD | WS_CLIPSIBLINGS | UDS_ALIGNRIGHT | UDS_ARROWKEYS | state, 0, 0, 0, 0,
                host.FormHandle(), nullptr, Instance(), nullptr);
            ::SendMessageA(made.upDown, UDM_SETBUDDY, reinterpret_cast<::WPARAM>(made.hwnd), 0);
            ::SendMessageA(made.upDown, UDM_SETRANGE32, spin.MinValue(), spin.MaxValue());
            ::SendMessageA(made.hwnd, EM_LIMITTEXT, spin.MaxLength(), 0);
            break;
        }
        case ui::Kind::Edit: {
            auto& edit = static_cast<ui::Edit&>(*made.control);
            ::SendMessageA(made.hwnd, EM_LIMITTEXT, edit.MaxLength(), 0);
            ::SendMessageA(made.hwnd, EM_SETREADONLY, edit.ReadOnly(), 0);
            break;
        }
        default:
            break;
    }
}

void Mirror(MadeWindow& made, ui::Change change, FamilyHost&) {
    if (change == ui::Change::Text) {
        std::string text = ModelText(*made.control);
        if (WindowText(made.hwnd) != text) ::SetWindowTextA(made.hwnd, text.c_str());
    } else if (change == ui::Change::Selection && made.control->GetKind() == ui::Kind::Edit) {
        int caret = static_cast<ui::Edit&>(*made.control).CaretPosition();
        ::SendMessageA(made.hwnd, EM_SETSEL, caret, caret);
    }
}

// The form the control lies on, which keeps which box is being typed in.
ui::Form* FormOf(ui::Control& control) {
    for (ui::Control* c = &control; c; c = c->Parent())
        if (c->GetKind() == ui::Kind::Form) return static_cast<ui::Form*>(c);
    return nullptr;
}

void Command(MadeWindow& made, int code, FamilyHost& host) {
    ui::Control& control = *made.control;
    if (ui::Form* form = FormOf(control)) {
        if (code == EN_SETFOCUS) form->Typing = &control;
        if (code == EN_KILLFOCUS && form->Typing == &control) form->Typing = nullptr;
    }
    if (control.GetKind() == ui::Kind::Edit) {
        auto& edit = static_cast<ui::Edit&>(control);
        if (code == EN_CHANGE) {
            std::string text = WindowText(made.hwnd);
            host.Guard([&] { edit.SetText(text); });
        } else if (code == EN_KILLFOCUS) {
            host.Guard([&] { edit.LoseFocus(); });
        }
    } else if (control.GetKind() == ui::Kind::SpinEdit) {
        auto& spin = static_cast<ui::SpinEdit&>(control);
        if (code == EN_CHANGE) {
            std::string text = WindowText(made.hwnd);
            host.Guard([&] { spin.Type(text); });
        } else if (code == EN_KILLFOCUS) {
            host.Guard([&] { spin.LoseFocus(); });
        }
    }
}

bool Notified(MadeWindow& made, const ::NMHDR& header, FamilyHost& host, ::LRESULT& result) {
    if (!made.upDown || made.upDown != header.hwndFrom ||
        header.code != static_cast<::UINT>(UDN_DELTAPOS))
        return false;
    const auto& delta = reinterpret_cast<const ::NMUPDOWN&>(header);
    auto& spin = static_cast<ui::SpinEdit&>(*made.control);
    host.Guard([&] { spin.SetValue(spin.Value() + delta.iDelta * spin.Increment()); });
    result = 1;  // the model moved the value; the arrows keep their own hands off
    return true;
}

// A scrolled memo reads like a tooltip; the others grey out with the model.
bool Colored(MadeWindow& made, ::HDC dc, FamilyHost& host, ::LRESULT& result) {
    if (made.control->GetKind() != ui::Kind::Memo) return false;
    if (static_cast<ui::Memo&>(*made.control).Scrolled()) {
        ::SetTextColor(dc, ::GetSysColor(COLOR_INFOTEXT));
        ::SetBkColor(dc, ::GetSysColor(COLOR_INFOBK));
        result = reinterpret_cast<::LRESULT>(::GetSysColorBrush(COLOR_INFOBK));
        return true;
    }
    bool enabled = host.EnabledByModel(*made.control);
    ::SetTextColor(dc, ::GetSysColor(enabled ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
    ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
    result = reinterpret_cast<::LRESULT>(host.FaceBrush());
    return true;
}

}  // namespace

const ControlFamily kEditFamily = {.classFor = ClassFor,
                                   .captioned = false,
                                   .created = Created,
                                   .mirror = Mirror,
                                   .command = Command,
                                   .notified = Notified,
                                   .colored = Colored};

}  // namespace vt::view
