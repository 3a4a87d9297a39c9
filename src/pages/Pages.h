// The settings pages of the main window, plugged in before its FormCreate runs.
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
        program.main.hooks.disableCustomNdiCache = [this] { internet2.Edit9.SetEnabled(false); };
        program.main.hooks.fillMemoryGauges = [this] { fileCache.FillMemoryGauges(); };
        program.main.hooks.layOutDiskCache = [this] { diskCache.LayOutSizes(); };
        program.main.hooks.resetAutoShutdown = [this] { shutdown.Reset(); };
        program.main.hooks.autoShutDownDisable = [this] { shutdown.AutoShutDown_Disable(); };
        // The shortcut boxes are only ever ticked by the read pass: after an undo they start
        // from clear, as at window creation.
        program.main.hooks.clearShortcutBoxes = [this] {
            for (ui::CheckBox* box :
                 {&programPage.CheckBox45, &programPage.CheckBox46, &programPage.CheckBox47})
                box->SetChecked(false);
        };
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

// The page table: the one order in which the read pass, the write pass and "Back to Windows
// Default" walk the pages and tools. The pages live as long as the window (the program
// keeps them).
inline void AddPageTable(TForm1& form, Pages& p, Tools& t) {
    std::vector<ui::Control*> rightClickBoxes;
    for (const RightClickMenus::FileType& type : t.rightClickMenus.Types)
        rightClickBoxes.push_back(&type.box);
    // clang-format off
    std::vector<TForm1::PageEntry> table = {
        {Slice::OemInfo, [&p = p, &t = t] { p.oemInfo.Read(); }, [&p = p, &t = t] { p.oemInfo.Write(); }, {&p.oemInfo.Sheet}},
        // Every entry data.ini names goes, whatever its box shows (a cleared box only closes
        // the fields). Its buttons write at once: nothing for the write pass.
        {Slice::RightClickMenus, [&p = p, &t = t] { t.rightClickMenus.Read(); }, {}, rightClickBoxes,
         [&p = p, &t = t] {
             for (const RightClickMenus::FileType& type : t.rightClickMenus.Types)
                 if (t.rightClickMenus.MadeEntry(type.ext)) t.rightClickMenus.Remove_RightClickMenus(type.ext);
         }},
        {Slice::Boot, [&p = p, &t = t] { p.boot.Read(); }, [&p = p, &t = t] { p.boot.Write(); }, {&p.boot.Sheet},
         [&p = p, &t = t] { p.boot.ResetToWindowsDefault(); }},
        {Slice::System, [&p = p, &t = t] { p.system.Read(); }, [&p = p, &t = t] { p.system.Write(); }, {&p.system.Sheet},
         [&p = p, &t = t] { p.system.ResetToWindowsDefault(); }},
        // The Windows and Start Menu settings interleave: the Recycle Bin, the menu delay,
        // the other Windows settings, then the rest of the Start Menu.
        {Slice::Windows, [&p = p, &t = t] { p.windows.Read(); }, [&p = p, &t = t] { p.windows.Write(); },
         {&p.windows.Sheet, &p.startMenu.GroupBox19}, [&p = p, &t = t] { p.windows.ResetToWindowsDefault(); }},
        {Slice::StartMenu, [&p = p, &t = t] { p.startMenu.Read(); }, [&p = p, &t = t] { p.startMenu.Write(); }, {&p.startMenu.Sheet},
         [&p = p, &t = t] { p.startMenu.ResetToWindowsDefault(); }},
        {Slice::DiskCache, [&p = p, &t = t] { p.diskCache.Read(); }, [&p = p, &t = t] { p.diskCache.Write(); }, {&p.diskCache.Sheet},
         [&p = p, &t = t] { p.diskCache.ResetToWindowsDefault(); }},
        // Without an adapter both internet pages take no input for the rest of the run; once
        // read, the connection list shows its first entry.
        {Slice::Internet1,
         [&p = p, &t = t] {
             p.internet.Read();
             if (!p.internet.ConnectionFound) {
                 p.internet.InternetDisable();
                 p.internet2.InternetDisable();
             }
             p.internet.ComboBox2.SetItemIndex(0);
             p.internet.IsiDataInternet();
         },
         [&p = p, &t = t] { p.internet.Write(); }, {&p.internet.Sheet}, [&p = p, &t = t] { p.internet.ResetToWindowsDefault(); }},
        {Slice::Internet2, [&p = p, &t = t] { p.internet2.Read(); }, [&p = p, &t = t] { p.internet2.Write(); }, {&p.internet2.Sheet},
         [&p = p, &t = t] { p.internet2.ResetToWindowsDefault(); }},
        {Slice::FileCache, [&p = p, &t = t] { p.fileCache.Read(); }, [&p = p, &t = t] { p.fileCache.Write(); }, {&p.fileCache.Sheet},
         [&p = p, &t = t] { p.fileCache.ResetToWindowsDefault(); }},
        {Slice::Veltrim, [&p = p, &t = t] { p.programPage.Read(); }, [&p = p, &t = t] { p.programPage.Write(); }, {&p.programPage.Sheet},
         [&p = p, &t = t] { p.programPage.ResetToWindowsDefault(); }},
        // Its buttons write at once: nothing for the write pass.
        {Slice::AddRemove, [&p = p, &t = t] { t.addRemove.FillLists(); }, {}, {&t.addRemove.ListBox1, &t.addRemove.ListBox2}},
    };
    // clang-format on
    for (TForm1::PageEntry& page : table) form.AddPage(std::move(page));
}

// The pages and tools write through the main window's Stores() (the platform `sys` it was
// made with, keeping restore points of the write passes).
inline void AttachPages(Program& program, [[maybe_unused]] Platform& sys, ui::Prompts& prompts) {
    auto pages = std::make_shared<Pages>(program, program.main.Stores(), prompts);
    auto tools = std::make_shared<Tools>(program, program.main.Stores(), prompts);
    AddPageTable(program.main, *pages, *tools);
    program.main.hooks.profileFields = [&p = *pages] { return ProfileFieldsOf(p); };
    pages->programPage.OnResetToWindowsDefault = [&main = program.main] {
        main.ResetToWindowsDefault();
    };
    program.pages = pages;
    program.tools = tools;
}

}  // namespace vt
