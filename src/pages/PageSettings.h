// A page's settings plugged into the main window: every box of the list marks itself navy on
// a left press (after the detail frames of its page are put away) and shows its description in the
// page's memo while the mouse is over it.
#pragma once

#include "app/TForm1.h"
#include "pages/SettingsTable.h"

#include <string>

namespace vt {

inline void AttachSettings(TForm1& form, SettingsList& list, ui::Memo& memo) {
    for (Entry& entry : list.Entries()) {
        auto [box, description] =
            std::visit([](const auto& e) { return std::pair(e.box, e.description); }, entry);
        if (!box) continue;
        auto* editor = std::get_if<Editor>(&entry);
        form.MarkOnPress(*box, editor ? editor->press : std::function<void()>());
        if (description) form.Describe(*box, memo, description);
    }
}

}  // namespace vt
