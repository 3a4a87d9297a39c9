// List boxes and drop-down combo boxes.
#include "view/win32/ControlFamily.h"

namespace vt::view {
namespace {

ChildClass ClassFor(const ui::Control& control) {
    const ::DWORD child = WS_CHILD | WS_CLIPSIBLINGS;
    if (control.GetKind() == ui::Kind::ComboBox)
        return {"COMBOBOX",
                child | CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP | WS_GROUP, 0};
    return {"LISTBOX",
            child | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP | WS_GROUP,
            WS_EX_CLIENTEDGE};
}

void MirrorText(MadeWindow& made) {
    if (made.control->GetKind() != ui::Kind::ComboBox) return;
    const std::string& text = static_cast<ui::ComboBox&>(*made.control).Text();
    if (WindowText(made.hwnd) != text) ::SetWindowTextA(made.hwnd, text.c_str());
}

void MirrorSelection(MadeWindow& made) {
    if (made.control->GetKind() == ui::Kind::ComboBox) {
        ::SendMessageA(made.hwnd, CB_SETCURSEL,
                       static_cast<ui::ComboBox&>(*made.control).ItemIndex(), 0);
        MirrorText(made);
    } else {
        ::SendMessageA(made.hwnd, LB_SETCURSEL,
                       static_cast<ui::ListBox&>(*made.control).ItemIndex(), 0);
    }
}

void MirrorItems(MadeWindow& made) {
    bool combo = made.control->GetKind() == ui::Kind::ComboBox;
    const std::vector<std::string>& items = combo
                                                ? static_cast<ui::ComboBox&>(*made.control).Items()
                                                : static_cast<ui::ListBox&>(*made.control).Items();
    ::SendMessageA(made.hwnd, combo ? CB_RESETCONTENT : LB_RESETCONTENT, 0, 0);
    for (const std::string& entry : items)
        ::SendMessageA(made.hwnd, combo ? CB_ADDSTRING : LB_ADDSTRING, 0,
                       reinterpret_cast<::LPARAM>(entry.c_str()));
    MirrorSelection(made);
}

void Mirror(MadeWindow& made, ui::Change change, FamilyHost&) {
    if (change == ui::Change::Items) MirrorItems(made);
    if (change == ui::Change::Selection) MirrorSelection(made);
    if (change == ui::Change::Text) MirrorText(made);
}

void Command(MadeWindow& made, int code, FamilyHost& host) {
    if (made.control->GetKind() == ui::Kind::ComboBox) {
        auto& combo = static_cast<ui::ComboBox&>(*made.control);
        if (code == CBN_SELCHANGE) {
            int index = static_cast<int>(::SendMessageA(made.hwnd, CB_GETCURSEL, 0, 0));
            host.Guard([&] { combo.ChooseItem(index); });
        } else if (code == CBN_EDITCHANGE) {
            std::string text = WindowText(made.hwnd);
            host.Guard([&] { combo.Type(text); });
        }
    } else if (code == LBN_SELCHANGE) {
        int index = static_cast<int>(::SendMessageA(made.hwnd, LB_GETCURSEL, 0, 0));
        host.Guard([&] { static_cast<ui::ListBox&>(*made.control).ChooseItem(index); });
    }
}

}  // namespace

// A combo box's window text is its edit field's text: the model's text, not a caption.
const ControlFamily kListFamily = {
    .classFor = ClassFor, .captioned = false, .mirror = Mirror, .command = Command};

}  // namespace vt::view
