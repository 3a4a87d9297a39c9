// Command-line driver for scripts (screenshots, the run command): one action per start.
//   vtdrive wait CLASS CAPTION         wait until that window is visible (exit 1 after 30 s)
//   vtdrive click CLASS CAPTION NAME   click the control NAME of that window
//   vtdrive hover CLASS CAPTION NAME   move the mouse over the control NAME of that window
//   vtdrive page INDEX                 show page INDEX (0 = first) of the main window
//   vtdrive close CLASS CAPTION        close that window as its title-bar button does
//   vtdrive show CLASS CAPTION         show that window although it is hidden (for pictures)
#include "e2e/Driver.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int kWait = 30000;

int Usage() {
    std::fprintf(
        stderr,
        "usage: vtdrive wait CLASS CAPTION | click CLASS CAPTION NAME | hover CLASS "
        "CAPTION NAME | page INDEX | close CLASS CAPTION | menu CLASS CAPTION | endmenu CLASS "
        "CAPTION\n");
    return 2;
}

// Clicks the page's tab as a user does, so that the program sees the page change.
int ShowPage(int index) {
    HWND main = e2e::WaitWindow("TForm1", "Veltrim 2000", kWait);
    return main && e2e::ShowPage(main, index, kWait) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Usage();
    const char* command = argv[1];
    if (std::strcmp(command, "page") == 0 && argc == 3) return ShowPage(std::atoi(argv[2]));
    if (std::strcmp(command, "show") == 0 && argc == 4) {
        HWND hidden = ::FindWindowA(argv[2], argv[3]);
        if (!hidden) return 1;
        ::ShowWindow(hidden, SW_SHOWNORMAL);
        return 0;
    }
    if (argc < 4) return Usage();
    HWND window = e2e::WaitWindow(argv[2], argv[3], kWait);
    if (!window) {
        std::fprintf(stderr, "vtdrive: no window %s \"%s\"\n", argv[2], argv[3]);
        return 1;
    }
    if (std::strcmp(command, "wait") == 0) return 0;
    if (std::strcmp(command, "close") == 0) {
        e2e::CloseWindow(window);
        return 0;
    }
    // The window menu, opened as Alt+Space opens it, and closed again with Esc.
    if (std::strcmp(command, "menu") == 0) {
        ::PostMessageA(window, WM_SYSCOMMAND, SC_KEYMENU, ' ');
        return e2e::WaitUntil([] { return ::FindWindowA("#32768", nullptr) != nullptr; }, kWait)
                   ? 0
                   : 1;
    }
    if (std::strcmp(command, "endmenu") == 0) {
        for (HWND menu; (menu = ::FindWindowA("#32768", nullptr)) && ::IsWindowVisible(menu);) {
            ::PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
            ::Sleep(100);
        }
        ::PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0);
        return 0;
    }
    bool click = std::strcmp(command, "click") == 0;
    if ((click || std::strcmp(command, "hover") == 0) && argc == 5) {
        HWND control = e2e::Control(window, argv[4]);
        if (!control) return 1;
        click ? e2e::Click(control) : e2e::Hover(control);
        return 0;
    }
    return Usage();
}
