// An edit box whose text stands for a whole number kept as text by its page.
#pragma once

#include "platform/WholeNumber.h"
#include "ui/Controls.h"

#include <functional>
#include <string>

namespace vt {

// On every change: a text that is no whole number of digits (and not empty) is refused by
// putting back the kept text with the caret at position 5; then the box's text becomes the
// kept text. A minus sign is refused too: no value behind these boxes can be negative.
// `kept` answers where the text is kept, or nothing when no value stands behind the box.
inline void KeepWholeNumberText(ui::Edit& edit, std::function<std::string*()> kept) {
    edit.OnChange = [&edit, kept = std::move(kept)] {
        std::string* text = kept();
        if (!text) return;
        if (!edit.Text().empty() &&
            (!WholeNumber(edit.Text()) || edit.Text().find('-') != std::string::npos)) {
            edit.SetText(*text);
            edit.SetCaretPosition(5);
        }
        *text = edit.Text();
    };
}

}  // namespace vt
