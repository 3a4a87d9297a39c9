// The control model: plain objects with the states the pages use and the reactions they
// rely on. A view renders them and calls the user intents; tests call the same intents.
#pragma once

#include "ui/Recorded.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vt::ui {

using Color = std::uint32_t;  // 0x00BBGGRR
inline constexpr Color kBlack = 0x000000;
inline constexpr Color kNavy = 0x800000;

enum class MouseButton { Left, Right, Middle };

// What changed, so that a view updates only that.
enum class Change {
    Caption,
    Checked,
    Text,
    Value,
    Items,
    Selection,
    Enabled,
    Visible,
    Color,
    Bounds,
    Range,
    Closed,
};

struct Bounds {
    int left = 0, top = 0, width = 0, height = 0;
};

enum class Kind {
    CheckBox,
    RadioButton,
    SpinEdit,
    TrackBar,
    Edit,
    Memo,
    Label,
    TitleLabel,
    ComboBox,
    ListBox,
    ProgressBar,
    Button,
    SpeedButton,
    GroupBox,
    Bevel,
    Image,
    TabSheet,
    PageControl,
    Form,
};

class Control {
  public:
    Control(Kind kind, std::string name, Control* parent = nullptr);
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    Kind GetKind() const { return kind_; }
    const std::string& Name() const { return name_; }
    Control* Parent() const { return parent_; }
    const std::vector<Control*>& Children() const { return children_; }

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    const Bounds& GetBounds() const { return bounds_; }
    void SetBounds(int left, int top, int width, int height);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    Color FontColor() const { return fontColor_; }
    void SetFontColor(Color color);

    // User intents every control knows.
    void PressMouse(MouseButton button);
    void MoveMouse();

    // What a read pass left the control showing. A write pass leaves the setting behind a
    // control alone while the control still shows that; a control that no read pass filled
    // counts as unchanged.
    virtual void TakeBaseline() {}
    virtual void DropBaseline() {}
    virtual bool Changed() const { return false; }

    std::function<void(MouseButton)> OnMouseDown;
    std::function<void()> OnMouseMove;
    // The view's hook: called after each change of what it shows.
    std::function<void(Control&, Change)> OnViewChange;

  protected:
    void Notify(Change change);
    static std::vector<Control*>& ChildrenOf(Control& control) { return control.children_; }

  private:
    Kind kind_;
    std::string name_;
    Control* parent_;
    std::vector<Control*> children_;
    std::string caption_;
    Bounds bounds_;
    bool enabled_ = true;
    bool visible_ = true;
    Color fontColor_ = kBlack;
};

class CheckBox : public Control {
  public:
    CheckBox(std::string name, Control* parent, std::string caption = {});
    bool Checked() const { return checked_; }
    // By program: the click reaction runs when the state changes; no mouse handler runs.
    void SetChecked(bool checked);
    // The left button released over the box toggles it; released elsewhere, nothing.
    void ReleaseMouse(MouseButton button, bool inside);
    // Space bar: toggles without any mouse handler.
    void ToggleFromKeyboard();
    std::function<void()> OnClick;
    // A box that does not toggle itself changes only by program; the Space bar then runs
    // OnKeyboardToggle instead.
    void SetTogglesItself(bool toggles) { togglesItself_ = toggles; }
    std::function<void()> OnKeyboardToggle;
    // A box that stands for something done on every write while it is ticked, not for a
    // stored value: read again, it is cleared.
    bool IsAction() const { return action_; }
    void SetAction(bool action) { action_ = action; }

    void TakeBaseline() override { baseline_.Take(checked_); }
    void DropBaseline() override { baseline_.Drop(); }
    bool Changed() const override { return baseline_.Differs(checked_); }

  private:
    bool checked_ = false;
    bool togglesItself_ = true;
    bool action_ = false;
    Baseline<bool> baseline_;
};

class RadioButton : public Control {
  public:
    RadioButton(std::string name, Control* parent, std::string caption = {});
    bool Checked() const { return checked_; }
    // Checking clears the other radio buttons of the same parent; the click reaction runs
    // only when the button was not checked before. Unchecking runs nothing.
    void SetChecked(bool checked);
    // By the user: checks it, then tells OnChosen, also when it was checked already.
    void Click() {
        SetChecked(true);
        if (OnChosen) OnChosen();
    }
    std::function<void()> OnClick;
    std::function<void()> OnChosen;

    void TakeBaseline() override { baseline_.Take(checked_); }
    void DropBaseline() override { baseline_.Drop(); }
    bool Changed() const override { return baseline_.Differs(checked_); }

  private:
    bool checked_ = false;
    Baseline<bool> baseline_;
};

class SpinEdit : public Control {
  public:
    SpinEdit(std::string name, Control* parent, int minValue, int maxValue);
    int MinValue() const { return min_; }
    int MaxValue() const { return max_; }
    // The text as a whole number held to the range; a text that is no number reads as the
    // minimum.
    int Value() const;
    void SetValue(int value);
    const std::string& Text() const { return text_; }
    // By program or typed: the change reaction runs only when the text differs.
    void SetText(const std::string& text);
    // Typing honours the maximum length.
    void Type(const std::string& text);
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int maxLength) { maxLength_ = maxLength; }
    // How far one click on an arrow moves the value.
    int Increment() const { return increment_; }
    void SetIncrement(int increment) { increment_ = increment; }
    void LoseFocus();  // a typed value out of range is held to it
    // OnChange runs on every change of the text, each typed character included; OnCommit
    // once the number is complete: set by program or an arrow, or the focus left the box.
    std::function<void()> OnChange;
    std::function<void()> OnCommit;

    void TakeBaseline() override { baseline_.Take(Value()); }
    void DropBaseline() override { baseline_.Drop(); }
    bool Changed() const override { return baseline_.Differs(Value()); }

  private:
    int Clamp(int value) const;
    int min_, max_;
    std::string text_;
    int maxLength_ = 0;  // 0: no limit
    int increment_ = 1;
    Baseline<int> baseline_;
};

class TrackBar : public Control {
  public:
    TrackBar(std::string name, Control* parent, int minValue, int maxValue);
    int MinValue() const { return min_; }
    int MaxValue() const { return max_; }
    int Position() const { return position_; }
    // Held to the range; the change reaction runs only on a real change.
    void SetPosition(int position);
    void Drag(int position) { SetPosition(position); }
    // A position beyond the new maximum is held to it, which is a change like any other.
    void SetMaxValue(int maxValue);
    // How far a page key (and an arrow key) moves the position; 0: the window's own choice.
    int PageSize() const { return pageSize_; }
    void SetPageSize(int pageSize) { pageSize_ = pageSize; }
    std::function<void()> OnChange;

    void TakeBaseline() override { baseline_.Take(position_); }
    void DropBaseline() override { baseline_.Drop(); }
    bool Changed() const override { return baseline_.Differs(position_); }

  private:
    int min_, max_, position_;
    int pageSize_ = 0;
    Baseline<int> baseline_;
};

class Edit : public Control {
  public:
    Edit(std::string name, Control* parent);
    const std::string& Text() const { return text_; }
    // The change reaction runs only when the text differs.
    void SetText(const std::string& text);
    // Typing honours the maximum length and read-only state.
    void Type(const std::string& text);
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int maxLength) { maxLength_ = maxLength; }
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }
    int CaretPosition() const { return caret_; }
    // Moves the caret (an empty selection) to `position`, held to the text.
    void SetCaretPosition(int position);
    void LoseFocus();
    std::function<void()> OnChange;
    std::function<void()> OnExit;

    void TakeBaseline() override { baseline_.Take(text_); }
    void DropBaseline() override { baseline_.Drop(); }
    bool Changed() const override { return baseline_.Differs(text_); }

  private:
    Baseline<std::string> baseline_;
    std::string text_;
    int maxLength_ = 0;  // 0: no limit
    bool readOnly_ = false;
    int caret_ = 0;
};

class Memo : public Control {
  public:
    Memo(std::string name, Control* parent);
    const std::vector<std::string>& Lines() const { return lines_; }
    void SetLines(std::vector<std::string> lines);
    void Clear() { SetLines({}); }
    std::string Text() const;  // lines joined with CRLF
    // A text to read rather than a description: a vertical scroll bar and the tooltip colours.
    bool Scrolled() const { return scrolled_; }
    void SetScrolled(bool scrolled) { scrolled_ = scrolled; }

  private:
    std::vector<std::string> lines_;
    bool scrolled_ = false;
};

// A label given no width sizes itself to its text.
class Label : public Control {
  public:
    Label(std::string name, Control* parent, std::string caption = {});
    // The width the label takes on screen: its own, or that of its text.
    int Width() const;
};

// Measures a text in the font of the windows; the view supplies the real measure, and
// without one a text counts 6 pixels a character.
void SetTextMeasure(std::function<int(const std::string&)> measure);
int MeasureText(const std::string& text);

// A title drawn in a font of its own with a shadow towards the upper right.
class TitleLabel : public Control {
  public:
    TitleLabel(std::string name, Control* parent, std::string caption, std::string fontName,
               int fontHeight, Color color);
    const std::string& FontName() const { return fontName_; }
    int FontHeight() const { return fontHeight_; }
    int ShadowOffset() const { return 2; }

  private:
    std::string fontName_;
    int fontHeight_;
};

class ComboBox : public Control {
  public:
    ComboBox(std::string name, Control* parent);
    const std::vector<std::string>& Items() const { return items_; }
    void SetItems(std::vector<std::string> items);
    int ItemIndex() const { return itemIndex_; }
    // By program: no change reaction.
    void SetItemIndex(int index);
    const std::string& Text() const { return text_; }
    void SetText(const std::string& text);
    // By the user: selects and runs the change reaction.
    void ChooseItem(int index);
    // Typed by the user into the edit field: no item is selected any more (as a real combo
    // box answers CB_GETCURSEL with -1), and the change reaction runs.
    void Type(const std::string& text);
    std::function<void()> OnChange;

    void TakeBaseline() override { baseline_.Take(text_); }
    void DropBaseline() override { baseline_.Drop(); }
    bool Changed() const override { return baseline_.Differs(text_); }

  private:
    std::vector<std::string> items_;
    int itemIndex_ = -1;
    std::string text_;
    Baseline<std::string> baseline_;
};

// Keeps its items sorted without regard to case.
class ListBox : public Control {
  public:
    ListBox(std::string name, Control* parent);
    const std::vector<std::string>& Items() const { return items_; }
    void SetItems(std::vector<std::string> items);
    void AddItem(const std::string& item);
    void ClearItems() { SetItems({}); }
    int ItemIndex() const { return itemIndex_; }
    void SetItemIndex(int index);
    void ChooseItem(int index);
    std::function<void()> OnClick;

  private:
    std::vector<std::string> items_;
    int itemIndex_ = -1;
};

class ProgressBar : public Control {
  public:
    ProgressBar(std::string name, Control* parent, int minValue = 0, int maxValue = 100);
    int Position() const { return position_; }
    void SetPosition(int position);
    int MinValue() const { return min_; }
    int MaxValue() const { return max_; }

  private:
    int min_, max_, position_;
};

// Push, speed and glyph buttons.
class Button : public Control {
  public:
    Button(std::string name, Control* parent, std::string caption, Kind kind = Kind::Button);
    void Click();
    bool HandCursor() const { return handCursor_; }
    void SetHandCursor(bool hand) { handCursor_ = hand; }
    std::function<void()> OnClick;

  private:
    bool handCursor_ = false;
};

class GroupBox : public Control {
  public:
    GroupBox(std::string name, Control* parent, std::string caption = {});
};

// A thin sunken rule.
class Bevel : public Control {
  public:
    Bevel(std::string name, Control* parent);
};

class Image : public Control {
  public:
    Image(std::string name, Control* parent);
    const std::string& Picture() const { return picture_; }
    void SetPicture(const std::string& picture);
    // A picture held in memory, drawn centred and not stretched: a device-independent bitmap
    // (info header, colour table, pixels) and where its pixels start. Empty: none.
    const std::vector<unsigned char>& Dib() const { return dib_; }
    std::size_t DibBitsOffset() const { return dibBitsOffset_; }
    void SetDib(std::vector<unsigned char> dib, std::size_t bitsOffset);

  private:
    std::string picture_;
    std::vector<unsigned char> dib_;
    std::size_t dibBitsOffset_ = 0;
};

// A page of a page control. Given a place, it takes it among the pages: the tabs show in the
// order of their places, whichever page was made first.
class TabSheet : public Control {
  public:
    TabSheet(std::string name, Control* parent, std::string caption, int place = -1);

  private:
    int place_;
};

class PageControl : public Control {
  public:
    PageControl(std::string name, Control* parent);
    std::vector<TabSheet*> Pages() const;
    TabSheet* ActivePage() const { return active_; }
    // By program: no change reaction.
    void SetActivePage(TabSheet* page);
    // By the user: switches and then runs the change reaction.
    void ChoosePage(TabSheet* page);
    std::function<void()> OnChange;

  private:
    TabSheet* active_ = nullptr;
};

// Every control of the tree below `root`, `root` included.
void TakeBaselines(Control& root);
void DropBaselines(Control& root);

// A window timer: the view starts a real timer while it is enabled.
class Timer {
  public:
    explicit Timer(std::string name, unsigned interval = 1000)
        : name_(std::move(name)), interval_(interval) {}
    const std::string& Name() const { return name_; }
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    unsigned Interval() const { return interval_; }
    void SetInterval(unsigned interval);
    void Fire();  // one tick, when enabled
    std::function<void()> OnTimer;
    std::function<void(Timer&)> OnViewChange;

  private:
    std::string name_;
    unsigned interval_;
    bool enabled_ = false;
};

}  // namespace vt::ui
