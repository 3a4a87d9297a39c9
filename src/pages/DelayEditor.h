// A delay shown in a spin edit between two labels: hidden until its box is pressed while
// unchecked, and set back to the delay last read when the box is pressed while checked.
#pragma once

#include "platform/WholeNumber.h"
#include "ui/Controls.h"

#include <string>

namespace vt {

class DelayEditor {
  public:
    DelayEditor(ui::Label& label, ui::SpinEdit& spin, ui::Label& unit, int fallback)
        : label_(label),
          spin_(spin),
          unit_(unit),
          fallback_(fallback),
          kept_(std::to_string(fallback)) {}

    // The text read from the store: kept, and shown as a number (the fallback if none).
    void Read(const std::string& text) {
        kept_ = text;
        spin_.SetValue(KeptNumber());
    }
    const std::string& Kept() const { return kept_; }

    void Hide() { Show(false); }
    // The delay is written while its box is ticked, once it differs from the delay read.
    bool Edited(const ui::CheckBox& box) const { return box.Checked() && spin_.Changed(); }
    // Runs before the box toggles: a checked box is about to be cleared, an unchecked one set.
    void Press(bool checked) {
        if (checked)
            spin_.SetValue(KeptNumber());
        else
            Show(true);
    }

  private:
    int KeptNumber() const { return WholeNumber(kept_).value_or(fallback_); }
    void Show(bool shown) {
        label_.SetVisible(shown);
        spin_.SetVisible(shown);
        unit_.SetVisible(shown);
    }

    ui::Label& label_;
    ui::SpinEdit& spin_;
    ui::Label& unit_;
    int fallback_;
    std::string kept_;
};

}  // namespace vt
