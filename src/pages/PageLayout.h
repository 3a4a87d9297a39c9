// The layout the settings pages share: the page icon and title, then fourteen check boxes
// in two columns of seven, and the description frame below them.
#pragma once

#include "ui/Controls.h"

#include <array>

namespace vt {

using FourteenBoxes = std::array<ui::CheckBox*, 14>;

inline void LayOutHeaderAndColumns(ui::Image& icon, ui::TitleLabel& title,
                                   const FourteenBoxes& boxes) {
    icon.SetBounds(8, 4, 32, 32);
    title.SetBounds(48, 8, 0, 24);
    for (int i = 0; i < 14; ++i) boxes[i]->SetBounds(i < 7 ? 16 : 264, 46 + (i % 7) * 22, 240, 17);
}

// The description frame under the columns, with its memo disabled until a mouse move.
inline void LayOutDescription(ui::GroupBox& frame, ui::Memo& memo, int height = 64) {
    frame.SetBounds(8, 204, 510, height);
    memo.SetBounds(10, 18, 490, height - 24);
    memo.SetEnabled(false);
}

}  // namespace vt
