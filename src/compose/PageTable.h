// The pages and tools of the main window and the page table that plugs them in before its
// FormCreate runs.
#pragma once

#include "app/Startup.h"
#include "pages/BootPage.h"
#include "pages/DiskCachePage.h"
#include "pages/FileCachePage.h"
#include "pages/InternetPage.h"
#include "pages/InternetPage2.h"
#include "pages/OemInfoPage.h"
#include "pages/StartMenuPage.h"
#include "pages/SystemPage.h"
#include "pages/WindowsPage.h"
#include "tools/ProgramPage.h"
#include "tools/RightClickMenus.h"
#include "tools/ShutdownPage.h"
#include "tools/Tools.h"

namespace vt {

struct Pages {
    Pages(Program& program, Platform& sys, ui::Prompts& prompts)
        : boot(program.main, sys),
          system(program.main, sys, prompts),
          windows(program.main, sys, prompts),
          startMenu(program.main, sys),
          internet(program.main, sys, program.help),
          internet2(program.main, sys, internet.ConnectionFound),
          fileCache(program.main, sys, program.help),
          diskCache(program.main, sys, program.help),
          oemInfo(program.main, sys, prompts),
          shutdown(program.main, sys, prompts),
          programPage(program.main, sys, prompts, program.about) {
        windows.StartMenuDelay = startMenu.DelayEntry();
    }
    Pages(const Pages&) = delete;
    Pages& operator=(const Pages&) = delete;

    BootPage boot;
    SystemPage system;
    WindowsPage windows;
    StartMenuPage startMenu;
    InternetPage internet;
    InternetPage2 internet2;
    FileCachePage fileCache;
    DiskCachePage diskCache;
    OemInfoPage oemInfo;
    ShutdownPage shutdown;
    ProgramPage programPage;
};

// The settings of the pages as a settings profile holds them, in the order an import sets
// them: each page's boxes, then what the boxes open.
std::vector<ProfileField> ProfileFieldsOf(Pages& pages);

// The page table: every page and tool of the main window, in the one order in which the read
// pass, the write pass and "Back to Windows Default" walk them, with what each declares it
// writes. `rows` are the page's settings where it keeps them as rows.
struct PageDeclaration {
    TForm1::PageEntry entry;
    SettingsList* rows = nullptr;
};
std::vector<PageDeclaration> PageTable(Pages& pages, Tools& tools);

// The pages and tools write through the main window's Stores() (the platform it was made
// with, keeping restore points of the write passes). The program keeps them as long as the
// window.
void AttachPages(Program& program, Platform& sys, ui::Prompts& prompts);

// What every page and tool declares it writes, from a window model that is never shown.
ManagedStores DeclaredStores(Platform& sys, ui::Prompts& prompts);

}  // namespace vt
