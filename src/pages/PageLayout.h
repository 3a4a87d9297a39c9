// The layout the settings pages share: the page icon and title, then the check boxes in
// columns of seven, and the description frame below them.
#pragma once

#include "ui/Controls.h"

#include <vector>

namespace vt {

inline void LayOutHeaderAndColumns(ui::Image& icon, ui::TitleLabel& title,
                                   const std::vector<ui::CheckBox*>& boxes) {
    icon.SetBounds(8, 4, 32, 32);
    title.SetBounds(48, 8, 0, 24);
    for (std::size_t i = 0; i < boxes.size(); ++i)
        boxes[i]->SetBounds(16 + static_cast<int>(i / 7) * 248, 46 + static_cast<int>(i % 7) * 22,
                            240, 17);
}

// The description frame under the columns, with its memo disabled until a mouse move.
inline void LayOutDescription(ui::GroupBox& frame, ui::Memo& memo, int height = 64) {
    frame.SetBounds(8, 204, 510, height);
    memo.SetBounds(10, 18, 490, height - 24);
    memo.SetEnabled(false);
}

}  // namespace vt
