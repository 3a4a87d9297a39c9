// The changes one benchmarked Apply writes: a box or value on every page that writes,
// alternating between two states so that every run changes something.
#pragma once

#include "compose/PageTable.h"

#include <vector>

namespace vt::bench {

inline void ChangeEveryPage(Pages& pages, int run) {
    std::vector<ui::CheckBox*> boxes = {
        &pages.boot.CheckBox3,       &pages.system.CheckBox15,
        &pages.windows.CheckBox37,   &pages.startMenu.CheckBox51,
        &pages.internet2.CheckBox44, &pages.programPage.NoSplashScreen};
    for (ui::CheckBox* box : boxes) box->ToggleFromKeyboard();
    pages.internet.ComboBox2.SetItemIndex(1);
    (run % 2 ? pages.internet.RadioButton7 : pages.internet.RadioButton18).Click();
    pages.fileCache.TrackBar5.SetPosition(run % 2 ? 3 : 1);
    pages.diskCache.TrackBar2.SetPosition(run % 2 ? 4 : 2);
    pages.oemInfo.Model.SetText(run % 2 ? "A" : "B");
}

}  // namespace vt::bench
