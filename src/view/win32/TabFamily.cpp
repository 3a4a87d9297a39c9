// Page controls: a tab control with a tab for each page. The pages have no windows of their
// own; their controls lie on the form, in the tab control's display area.
#include "view/win32/ControlFamily.h"

#include <commctrl.h>

#include <algorithm>

namespace vt::view {
namespace {

ui::PageControl& Pages(const MadeWindow& made) {
    return static_cast<ui::PageControl&>(*made.control);
}

ChildClass ClassFor(const ui::Control&) {
    return {WC_TABCONTROLA,
            WS_CHILD | WS_CLIPSIBLINGS | TCS_MULTILINE | TCS_BUTTONS | TCS_FLATBUTTONS |
                WS_TABSTOP | WS_GROUP,
            0};
}

void Created(MadeWindow& made, FamilyHost&, ::DWORD) {
    int index = 0;
    for (ui::TabSheet* page : Pages(made).Pages()) {
        ::TCITEMA tab{};
        tab.mask = TCIF_TEXT;
        std::string caption = page->Caption();
        tab.pszText = caption.data();
        ::SendMessageA(made.hwnd, TCM_INSERTITEMA, index++, reinterpret_cast<::LPARAM>(&tab));
    }
}

// The tab of the page shown, and the pages' controls shown or hidden with it.
void Mirror(MadeWindow& made, ui::Change change, FamilyHost& host) {
    if (change != ui::Change::Selection) return;
    ui::PageControl& pages = Pages(made);
    auto list = pages.Pages();
    auto found = std::find(list.begin(), list.end(), pages.ActivePage());
    ::SendMessageA(made.hwnd, TCM_SETCURSEL,
                   found == list.end() ? -1 : static_cast<int>(found - list.begin()), 0);
    for (ui::TabSheet* page : list) host.MirrorVisibility(*page);
}

void ChildChanged(MadeWindow& made, ui::Control& page, ui::Change change, FamilyHost&) {
    if (change != ui::Change::Caption) return;
    auto list = Pages(made).Pages();
    int index = static_cast<int>(std::find(list.begin(), list.end(), &page) - list.begin());
    ::TCITEMA tab{};
    tab.mask = TCIF_TEXT;
    std::string caption = page.Caption();
    tab.pszText = caption.data();
    ::SendMessageA(made.hwnd, TCM_SETITEMA, index, reinterpret_cast<::LPARAM>(&tab));
}

bool Notified(MadeWindow& made, const ::NMHDR& header, FamilyHost& host, ::LRESULT& result) {
    if (made.hwnd != header.hwndFrom || header.code != static_cast<::UINT>(TCN_SELCHANGE))
        return false;
    ui::PageControl& pages = Pages(made);
    int index = static_cast<int>(::SendMessageA(made.hwnd, TCM_GETCURSEL, 0, 0));
    auto list = pages.Pages();
    if (index >= 0 && index < static_cast<int>(list.size()))
        host.Guard([&] { pages.ChoosePage(list[index]); });
    result = 0;
    return true;
}

::RECT DisplayArea(const MadeWindow& made, ::HWND form) {
    ::RECT area{0, 0, 0, 0};
    ::GetWindowRect(made.hwnd, &area);
    ::MapWindowPoints(nullptr, form, reinterpret_cast<::POINT*>(&area), 2);
    ::SendMessageA(made.hwnd, TCM_ADJUSTRECT, FALSE, reinterpret_cast<::LPARAM>(&area));
    return area;
}

void Stepped(MadeWindow& made, int step, FamilyHost& host) {
    ui::PageControl& pages = Pages(made);
    auto list = pages.Pages();
    if (list.empty()) return;
    int at =
        static_cast<int>(std::find(list.begin(), list.end(), pages.ActivePage()) - list.begin());
    int next = (at + step + static_cast<int>(list.size())) % static_cast<int>(list.size());
    host.Guard([&] { pages.ChoosePage(list[next]); });
}

}  // namespace

const ControlFamily kTabFamily = {.classFor = ClassFor,
                                  .captioned = false,
                                  .lowest = true,
                                  .created = Created,
                                  .mirror = Mirror,
                                  .notified = Notified,
                                  .childChanged = ChildChanged,
                                  .childArea = DisplayArea,
                                  .stepped = Stepped};

}  // namespace vt::view
