#include "ui/Controls.h"

#include "platform/NoCase.h"
#include "platform/WholeNumber.h"

#include <algorithm>
#include <charconv>

namespace vt::ui {

// --- Control ---------------------------------------------------------------------------

Control::Control(Kind kind, std::string name, Control* parent)
    : kind_(kind), name_(std::move(name)), parent_(parent) {
    if (parent_) parent_->children_.push_back(this);
}

void Control::Notify(Change change) {
    if (OnViewChange) OnViewChange(*this, change);
}

void Control::SetCaption(const std::string& caption) {
    if (caption == caption_) return;
    caption_ = caption;
    Notify(Change::Caption);
}

void Control::SetBounds(int left, int top, int width, int height) {
    Bounds bounds{left, top, width, height};
    if (bounds.left == bounds_.left && bounds.top == bounds_.top && bounds.width == bounds_.width &&
        bounds.height == bounds_.height)
        return;
    bounds_ = bounds;
    Notify(Change::Bounds);
}

void Control::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    Notify(Change::Enabled);
}

void Control::SetVisible(bool visible) {
    if (visible == visible_) return;
    visible_ = visible;
    Notify(Change::Visible);
}

void Control::SetFontColor(Color color) {
    if (color == fontColor_) return;
    fontColor_ = color;
    Notify(Change::Color);
}

void Control::PressMouse(MouseButton button) {
    if (OnMouseDown) OnMouseDown(button);
}

void Control::MoveMouse() {
    if (OnMouseMove) OnMouseMove();
}

// --- CheckBox --------------------------------------------------------------------------

CheckBox::CheckBox(std::string name, Control* parent, std::string caption)
    : Control(Kind::CheckBox, std::move(name), parent) {
    SetCaption(caption);
}

void CheckBox::SetChecked(bool checked) {
    if (checked == checked_) return;
    checked_ = checked;
    Notify(Change::Checked);
    if (OnClick) OnClick();
}

void CheckBox::ReleaseMouse(MouseButton button, bool inside) {
    if (button == MouseButton::Left && inside && Enabled() && togglesItself_) SetChecked(!checked_);
}

void CheckBox::ToggleFromKeyboard() {
    if (!Enabled()) return;
    if (togglesItself_)
        SetChecked(!checked_);
    else if (OnKeyboardToggle)
        OnKeyboardToggle();
}

// --- RadioButton -----------------------------------------------------------------------

RadioButton::RadioButton(std::string name, Control* parent, std::string caption)
    : Control(Kind::RadioButton, std::move(name), parent) {
    SetCaption(caption);
}

void RadioButton::SetChecked(bool checked) {
    if (checked == checked_) return;
    checked_ = checked;
    Notify(Change::Checked);
    if (!checked) return;
    if (Parent()) {
        for (Control* sibling : Parent()->Children())
            if (sibling != this && sibling->GetKind() == Kind::RadioButton)
                static_cast<RadioButton*>(sibling)->SetChecked(false);
    }
    if (OnClick) OnClick();
}

// --- SpinEdit --------------------------------------------------------------------------

SpinEdit::SpinEdit(std::string name, Control* parent, int minValue, int maxValue)
    : Control(Kind::SpinEdit, std::move(name), parent),
      min_(minValue),
      max_(maxValue),
      text_(std::to_string(minValue)) {}

int SpinEdit::Clamp(int value) const {
    return std::clamp(value, min_, max_);
}

int SpinEdit::Value() const {
    std::optional<int> value = WholeNumber(text_);
    return value ? Clamp(*value) : min_;
}

void SpinEdit::SetValue(int value) {
    SetText(std::to_string(Clamp(value)));
    if (OnCommit) OnCommit();
}

void SpinEdit::SetText(const std::string& text) {
    if (text == text_) return;
    text_ = text;
    Notify(Change::Text);
    if (OnChange) OnChange();
}

void SpinEdit::Type(const std::string& text) {
    SetText(maxLength_ > 0 ? text.substr(0, maxLength_) : text);
}

void SpinEdit::LoseFocus() {
    SetValue(Value());
}

// --- TrackBar --------------------------------------------------------------------------

TrackBar::TrackBar(std::string name, Control* parent, int minValue, int maxValue)
    : Control(Kind::TrackBar, std::move(name), parent),
      min_(minValue),
      max_(maxValue),
      position_(minValue) {}

void TrackBar::SetPosition(int position) {
    position = std::clamp(position, min_, max_);
    if (position == position_) return;
    position_ = position;
    Notify(Change::Value);
    if (OnChange) OnChange();
}

// --- Edit ------------------------------------------------------------------------------

void TrackBar::SetMaxValue(int maxValue) {
    if (maxValue == max_) return;
    max_ = maxValue;
    Notify(Change::Range);
    SetPosition(position_);
}

Edit::Edit(std::string name, Control* parent) : Control(Kind::Edit, std::move(name), parent) {}

void Edit::SetText(const std::string& text) {
    if (text == text_) return;
    text_ = text;
    caret_ = std::min<int>(caret_, static_cast<int>(text_.size()));
    Notify(Change::Text);
    if (OnChange) OnChange();
}

void Edit::Type(const std::string& text) {
    if (readOnly_ || !Enabled()) return;
    SetText(maxLength_ > 0 ? text.substr(0, maxLength_) : text);
    caret_ = static_cast<int>(text_.size());
}

void Edit::SetCaretPosition(int position) {
    caret_ = std::clamp(position, 0, static_cast<int>(text_.size()));
    Notify(Change::Selection);
}

void Edit::LoseFocus() {
    if (OnExit) OnExit();
}

// --- Memo, labels ----------------------------------------------------------------------

Memo::Memo(std::string name, Control* parent) : Control(Kind::Memo, std::move(name), parent) {}

void Memo::SetLines(std::vector<std::string> lines) {
    if (lines == lines_) return;
    lines_ = std::move(lines);
    Notify(Change::Text);
}

std::string Memo::Text() const {
    std::string text;
    for (std::size_t i = 0; i < lines_.size(); ++i) text += (i ? "\r\n" : "") + lines_[i];
    return text;
}

Label::Label(std::string name, Control* parent, std::string caption)
    : Control(Kind::Label, std::move(name), parent) {
    SetCaption(caption);
}

int Label::Width() const {
    return GetBounds().width > 0 ? GetBounds().width : MeasureText(Caption());
}

namespace {
std::function<int(const std::string&)>& Measure() {
    static std::function<int(const std::string&)> measure;
    return measure;
}
}  // namespace

void SetTextMeasure(std::function<int(const std::string&)> measure) {
    Measure() = std::move(measure);
}

int MeasureText(const std::string& text) {
    return Measure() ? Measure()(text) : 6 * static_cast<int>(text.size());
}

TitleLabel::TitleLabel(std::string name, Control* parent, std::string caption, std::string fontName,
                       int fontHeight, Color color)
    : Control(Kind::TitleLabel, std::move(name), parent),
      fontName_(std::move(fontName)),
      fontHeight_(fontHeight) {
    SetCaption(caption);
    SetFontColor(color);
}

// --- ComboBox, ListBox -----------------------------------------------------------------

ComboBox::ComboBox(std::string name, Control* parent)
    : Control(Kind::ComboBox, std::move(name), parent) {}

void ComboBox::SetItems(std::vector<std::string> items) {
    items_ = std::move(items);
    itemIndex_ = -1;
    Notify(Change::Items);
}

void ComboBox::SetItemIndex(int index) {
    if (index < -1 || index >= static_cast<int>(items_.size())) index = -1;
    itemIndex_ = index;
    if (index >= 0) text_ = items_[index];
    Notify(Change::Selection);
}

void ComboBox::SetText(const std::string& text) {
    if (text == text_) return;
    text_ = text;
    Notify(Change::Text);
}

void ComboBox::ChooseItem(int index) {
    SetItemIndex(index);
    if (OnChange) OnChange();
}

void ComboBox::Type(const std::string& text) {
    itemIndex_ = -1;
    SetText(text);
    if (OnChange) OnChange();
}

ListBox::ListBox(std::string name, Control* parent)
    : Control(Kind::ListBox, std::move(name), parent) {}

void ListBox::SetItems(std::vector<std::string> items) {
    items_ = std::move(items);
    std::stable_sort(items_.begin(), items_.end(), LessNoCase);
    itemIndex_ = -1;
    Notify(Change::Items);
}

void ListBox::AddItem(const std::string& item) {
    items_.insert(std::upper_bound(items_.begin(), items_.end(), item, LessNoCase), item);
    itemIndex_ = -1;
    Notify(Change::Items);
}

void ListBox::SetItemIndex(int index) {
    if (index < -1 || index >= static_cast<int>(items_.size())) index = -1;
    itemIndex_ = index;
    Notify(Change::Selection);
}

void ListBox::ChooseItem(int index) {
    SetItemIndex(index);
    if (OnClick) OnClick();
}

// --- The rest --------------------------------------------------------------------------

ProgressBar::ProgressBar(std::string name, Control* parent, int minValue, int maxValue)
    : Control(Kind::ProgressBar, std::move(name), parent),
      min_(minValue),
      max_(maxValue),
      position_(minValue) {}

void ProgressBar::SetPosition(int position) {
    position = std::clamp(position, min_, max_);
    if (position == position_) return;
    position_ = position;
    Notify(Change::Value);
}

Button::Button(std::string name, Control* parent, std::string caption, Kind kind)
    : Control(kind, std::move(name), parent) {
    SetCaption(caption);
}

void Button::Click() {
    if (Enabled() && OnClick) OnClick();
}

GroupBox::GroupBox(std::string name, Control* parent, std::string caption)
    : Control(Kind::GroupBox, std::move(name), parent) {
    SetCaption(caption);
}

Bevel::Bevel(std::string name, Control* parent) : Control(Kind::Bevel, std::move(name), parent) {}

Image::Image(std::string name, Control* parent) : Control(Kind::Image, std::move(name), parent) {}

void Image::SetPicture(const std::string& picture) {
    if (picture == picture_) return;
    picture_ = picture;
    Notify(Change::Value);
}

void Image::SetDib(std::vector<unsigned char> dib, std::size_t bitsOffset) {
    dib_ = std::move(dib);
    dibBitsOffset_ = bitsOffset;
    Notify(Change::Value);
}

TabSheet::TabSheet(std::string name, Control* parent, std::string caption, int place)
    : Control(Kind::TabSheet, std::move(name), parent), place_(place) {
    SetCaption(caption);
    if (!parent || place < 0) return;
    std::vector<Control*>& siblings = ChildrenOf(*parent);
    siblings.pop_back();  // itself, added last
    auto later = std::find_if(siblings.begin(), siblings.end(), [place](Control* sibling) {
        return sibling->GetKind() == Kind::TabSheet &&
               static_cast<TabSheet*>(sibling)->place_ > place;
    });
    siblings.insert(later, this);
}

PageControl::PageControl(std::string name, Control* parent)
    : Control(Kind::PageControl, std::move(name), parent) {}

std::vector<TabSheet*> PageControl::Pages() const {
    std::vector<TabSheet*> pages;
    for (Control* child : Children())
        if (child->GetKind() == Kind::TabSheet) pages.push_back(static_cast<TabSheet*>(child));
    return pages;
}

void PageControl::SetActivePage(TabSheet* page) {
    if (page == active_) return;
    active_ = page;
    Notify(Change::Selection);
}

void PageControl::ChoosePage(TabSheet* page) {
    if (page == active_) return;
    SetActivePage(page);
    if (OnChange) OnChange();
}

void Timer::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    if (OnViewChange) OnViewChange(*this);
}

void Timer::SetInterval(unsigned interval) {
    if (interval == interval_) return;
    interval_ = interval;
    if (OnViewChange) OnViewChange(*this);
}

void Timer::Fire() {
    if (enabled_ && OnTimer) OnTimer();
}

}  // namespace vt::ui

namespace vt::ui {

void TakeBaselines(Control& root) {
    root.TakeBaseline();
    for (Control* child : root.Children()) TakeBaselines(*child);
}

void DropBaselines(Control& root) {
    root.DropBaseline();
    for (Control* child : root.Children()) DropBaselines(*child);
}

}  // namespace vt::ui
