// The layout the settings pages share: the page icon and title, then the check boxes in two
// columns, and the description frame below them.
#pragma once

#include "ui/Controls.h"

#include <algorithm>
#include <vector>

namespace vt {

// Two columns under the title, seven boxes each 22 pixels apart; a page with more boxes gets
// longer columns with the boxes closer together, so that they still end above the description.
inline void LayOutHeaderAndColumns(ui::Image& icon, ui::TitleLabel& title,
                                   const std::vector<ui::CheckBox*>& boxes) {
    constexpr int kTop = 46, kBottom = 200, kHeight = 17;
    icon.SetBounds(8, 4, 32, 32);
    title.SetBounds(48, 8, 0, 24);
    const int rows = std::max<int>(7, (static_cast<int>(boxes.size()) + 1) / 2);
    const int step = std::min(22, (kBottom - kTop - kHeight) / (rows - 1));
    for (int i = 0; i < static_cast<int>(boxes.size()); ++i)
        boxes[i]->SetBounds(16 + i / rows * 248, kTop + i % rows * step, 240, kHeight);
}

// The description frame under the columns, with its memo disabled until a mouse move.
inline void LayOutDescription(ui::GroupBox& frame, ui::Memo& memo, int height = 64) {
    frame.SetBounds(8, 204, 510, height);
    memo.SetBounds(10, 18, 490, height - 24);
    memo.SetEnabled(false);
}

}  // namespace vt
