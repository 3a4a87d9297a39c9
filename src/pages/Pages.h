// The settings pages of the main window, plugged in before its FormCreate runs.
#pragma once

#include "app/Startup.h"
#include "pages/BootPage.h"
#include "pages/StartMenuPage.h"
#include "pages/SystemPage.h"
#include "pages/WindowsPage.h"

namespace vt {

struct Pages {
    Pages(Program& program, Platform& sys, ui::Prompts& prompts)
        : boot(program.main, sys),
          system(program.main, sys, prompts),
          windows(program.main, sys, prompts),
          startMenu(program.main, sys) {
        // The Windows and Start Menu settings interleave: the Recycle Bin, the menu delay,
        // the other Windows settings, then the rest of the Start Menu.
        program.main.RegisterSlice(
            Slice::Windows,
            [this] {
                windows.ReadRecycleBin();
                startMenu.ReadDelay();
                windows.ReadOthers();
            },
            [this] {
                windows.WriteRecycleBin();
                startMenu.WriteDelay();
                windows.WriteOthers();
            },
            {&windows.Sheet, &startMenu.GroupBox19});
        program.main.RegisterSlice(
            Slice::StartMenu, [this] { startMenu.Read(); }, [this] { startMenu.Write(); },
            {&startMenu.Sheet});
    }
    Pages(const Pages&) = delete;
    Pages& operator=(const Pages&) = delete;

    BootPage boot;
    SystemPage system;
    WindowsPage windows;
    StartMenuPage startMenu;
};

inline void AttachPages(Program& program, Platform& sys, ui::Prompts& prompts) {
    program.pages = std::make_shared<Pages>(program, sys, prompts);
}

}  // namespace vt
