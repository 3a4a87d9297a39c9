// A delay shown in a spin edit between two labels: hidden until its box is pressed while
// unchecked, and set back to the delay last read when the box is pressed while checked. The
// delay is recorded as stored, so a stored delay the spin edit holds to its range is written
// once the user sets one, even the one the box showed.
#pragma once

#include "platform/WholeNumber.h"
#include "ui/Controls.h"
#include "ui/Recorded.h"

#include <string>

namespace vt {

class DelayEditor {
  public:
    DelayEditor(ui::Label& label, ui::SpinEdit& spin, ui::Label& unit, int fallback)
        : label_(label),
          spin_(spin),
          unit_(unit),
          fallback_(fallback),
          kept_(std::to_string(fallback)) {
        spin_.OnChange = [this] {
            if (!showing_) kept_.Set(std::to_string(spin_.Value()));
        };
    }
    DelayEditor(const DelayEditor&) = delete;
    DelayEditor& operator=(const DelayEditor&) = delete;

    // The text read from the store (`stored` false: the fallback read for a missing value):
    // recorded, and shown as a number (the fallback if none).
    void Read(const std::string& text, bool stored) {
        if (stored)
            kept_.Read(text);
        else
            kept_.ReadInexact(text);
        ShowKept();
    }
    const std::string& Kept() const { return kept_.AsRead(); }

    void Hide() { Show(false); }
    // The delay is written while its box is ticked, once what the spin edit shows is not
    // what is stored.
    bool Edited(const ui::CheckBox& box) const { return box.Checked() && kept_.Changed(); }
    // Runs before the box toggles: a checked box is about to be cleared, an unchecked one set.
    // Ticked, the box takes the delay it shows: a stored one the spin edit holds to its range,
    // or a missing one, is then written as shown.
    void Press(bool checked) {
        if (checked) {
            kept_.Revert();
            ShowKept();
        } else {
            Show(true);
            kept_.Take(std::to_string(spin_.Value()));
        }
    }

  private:
    void ShowKept() {
        showing_ = true;
        spin_.SetValue(WholeNumber(kept_.Now()).value_or(fallback_));
        showing_ = false;
    }
    void Show(bool shown) {
        label_.SetVisible(shown);
        spin_.SetVisible(shown);
        unit_.SetVisible(shown);
    }

    ui::Label& label_;
    ui::SpinEdit& spin_;
    ui::Label& unit_;
    int fallback_;
    ui::Recorded<std::string> kept_;
    bool showing_ = false;  // the editor itself sets the spin edit
};

}  // namespace vt
