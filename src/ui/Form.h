// A top-level window of the model: class name and caption (the single-instance protocol
// finds windows by both), client size, border, and the close query.
#pragma once

#include "ui/Controls.h"

#include <string>
#include <vector>

namespace vt::ui {

enum class Border {
    Single,           // fixed single border
    SingleNoButtons,  // fixed single border, no title-bar buttons
    Dialog,           // fixed dialog border
};

class Form : public Control {
  public:
    Form(std::string className, std::string caption, int clientWidth, int clientHeight);

    const std::string& ClassName() const { return className_; }
    int ClientWidth() const { return clientWidth_; }
    int ClientHeight() const { return clientHeight_; }

    Border BorderStyle() const { return border_; }
    bool HasSystemMenu() const { return systemMenu_; }
    bool HasMinimize() const { return minimize_; }
    void SetBorder(Border border, bool systemMenu, bool minimize);
    const std::string& FontName() const { return fontName_; }
    int FontPoints() const { return fontPoints_; }
    void SetFont(std::string name, int points);

    std::vector<Timer*>& Timers() { return timers_; }

    // The buttons that Enter and Esc press.
    Button* DefaultButton = nullptr;
    Button* CancelButton = nullptr;
    // The control that has the keyboard focus when the window shows.
    Control* ActiveControl = nullptr;
    // The edit box or spin edit the user is typing in, as the view reports it: Enter and
    // timers start a write without the focus leaving it.
    Control* Typing = nullptr;
    // What the box being typed in holds is taken as when the focus leaves it.
    void CommitTyping();

    // Shows and hides the window, running FormShow / FormHide.
    void Show();
    void Hide();
    // Runs the close query; when it allows, the window closes. Answers whether it closed.
    bool Close();
    bool Closed() const { return closed_; }
    // The window became the active one.
    void Activate();

    std::function<void(bool& canClose)> OnCloseQuery;
    std::function<void()> OnShow;
    std::function<void()> OnHide;
    std::function<void()> OnActivate;
    std::function<void()> OnClosed;

  private:
    std::string className_;
    int clientWidth_, clientHeight_;
    Border border_ = Border::Single;
    bool systemMenu_ = true;
    bool minimize_ = true;
    std::string fontName_ = "MS Sans Serif";
    int fontPoints_ = 8;
    std::vector<Timer*> timers_;
    bool closed_ = false;
};

}  // namespace vt::ui
