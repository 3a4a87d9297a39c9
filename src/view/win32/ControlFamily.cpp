#include "view/win32/ControlFamily.h"

#include <algorithm>
#include <cstring>

namespace vt::view {

const ControlFamily* FamilyOf(ui::Kind kind) {
    switch (kind) {
        case ui::Kind::CheckBox:
        case ui::Kind::RadioButton:
        case ui::Kind::Button:
        case ui::Kind::SpeedButton:
        case ui::Kind::GroupBox:
            return &kButtonFamily;
        case ui::Kind::Edit:
        case ui::Kind::SpinEdit:
        case ui::Kind::Memo:
            return &kEditFamily;
        case ui::Kind::ListBox:
        case ui::Kind::ComboBox:
            return &kListFamily;
        case ui::Kind::TrackBar:
        case ui::Kind::ProgressBar:
            return &kBarFamily;
        case ui::Kind::Label:
        case ui::Kind::TitleLabel:
        case ui::Kind::Bevel:
        case ui::Kind::Image:
            return &kStaticFamily;
        case ui::Kind::PageControl:
            return &kTabFamily;
        case ui::Kind::TabSheet:
        case ui::Kind::Form:
            break;
    }
    return nullptr;
}

std::string WindowText(::HWND hwnd) {
    int length = ::GetWindowTextLengthA(hwnd);
    std::string text(length + 1, '\0');
    ::GetWindowTextA(hwnd, text.data(), length + 1);
    text.resize(std::min<size_t>(text.size() - 1, std::strlen(text.c_str())));
    return text;
}

}  // namespace vt::view
