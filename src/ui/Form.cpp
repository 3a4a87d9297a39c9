#include "ui/Form.h"

namespace vt::ui {

Form::Form(std::string className, std::string caption, int clientWidth, int clientHeight)
    : Control(Kind::Form, className, nullptr),
      className_(std::move(className)),
      clientWidth_(clientWidth),
      clientHeight_(clientHeight) {
    SetCaption(caption);
    SetVisible(false);
}

void Form::SetBorder(Border border, bool systemMenu, bool minimize) {
    border_ = border;
    systemMenu_ = systemMenu;
    minimize_ = minimize;
}

void Form::SetFont(std::string name, int points) {
    fontName_ = std::move(name);
    fontPoints_ = points;
}

void Form::CommitTyping() {
    if (!Typing) return;
    if (Typing->GetKind() == Kind::SpinEdit)
        static_cast<SpinEdit*>(Typing)->LoseFocus();
    else if (Typing->GetKind() == Kind::Edit)
        static_cast<Edit*>(Typing)->LoseFocus();
}

void Form::Show() {
    if (Visible()) return;
    closed_ = false;
    SetVisible(true);
    if (OnShow) OnShow();
}

void Form::Hide() {
    if (!Visible()) return;
    SetVisible(false);
    if (OnHide) OnHide();
}

bool Form::Close() {
    bool canClose = true;
    if (OnCloseQuery) OnCloseQuery(canClose);
    if (!canClose) return false;
    Hide();
    closed_ = true;
    Notify(Change::Closed);
    if (OnClosed) OnClosed();
    return true;
}

void Form::Activate() {
    if (OnActivate) OnActivate();
}

}  // namespace vt::ui
