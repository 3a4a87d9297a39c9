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
        // Without an adapter both internet pages take no input for the rest of the run.
        program.main.RegisterSlice(
            Slice::Internet1,
            [this] {
                internet.Read();
                if (internet.ConnectionFound) return;
                internet.InternetDisable();
                internet2.InternetDisable();
            },
            [this] { internet.Write(); }, {&internet.Sheet});
        program.main.RegisterSlice(
            Slice::Internet2, [this] { internet2.Read(); }, [this] { internet2.Write(); },
            {&internet2.Sheet});
        program.main.hooks.selectFirstAdapter = [this] {
            internet.ComboBox2.SetItemIndex(0);
            internet.IsiDataInternet();
        };
        program.main.hooks.disableEdit9 = [this] { internet2.Edit9.SetEnabled(false); };
        program.main.RegisterSlice(
            Slice::FileCache, [this] { fileCache.Read(); }, [this] { fileCache.Write(); },
            {&fileCache.Sheet});
        program.main.RegisterSlice(
            Slice::DiskCache, [this] { diskCache.Read(); }, [this] { diskCache.Write(); },
            {&diskCache.Sheet});
        program.main.hooks.fillMemoryGauges = [this] { fileCache.FillMemoryGauges(); };
        program.main.hooks.layOutDiskCache = [this] { diskCache.LayOutSizes(); };
        program.main.hooks.resetAutoShutdown = [this] { shutdown.Reset(); };
        program.main.hooks.autoShutDownDisable = [this] { shutdown.AutoShutDown_Disable(); };
        // The shortcut boxes are only ever ticked by the read pass: after an undo they start
        // from clear, as at window creation.
        program.main.hooks.beforeUndoRead = [this] {
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

    // "Back to Windows Default", answered Yes: every page in its order, the right-click
    // entries first, then "Apply". A store error stops it where it happens.
    void BackToWindowsDefault(RightClickMenus& menus, TForm1& form) {
        auto point = form.KeepRestorePoint();  // one restore point for all of it
        // Every entry data.ini names, whatever its box shows (a cleared box only closes the
        // fields).
        for (const RightClickMenus::FileType& type : menus.Types)
            if (menus.MadeEntry(type.ext)) menus.Remove_RightClickMenus(type.ext);
        boot.ResetToWindowsDefault();
        system.ResetToWindowsDefault();
        windows.ResetToWindowsDefault();
        startMenu.ResetToWindowsDefault();
        fileCache.ResetToWindowsDefault();
        diskCache.ResetToWindowsDefault();
        internet.ResetToWindowsDefault();
        internet2.ResetToWindowsDefault();
        programPage.ResetToWindowsDefault();
        form.Button5Click();
    }
};

// The pages and tools write through the main window's Stores() (the platform `sys` it was
// made with, keeping restore points of the write passes).
inline void AttachPages(Program& program, [[maybe_unused]] Platform& sys, ui::Prompts& prompts) {
    auto pages = std::make_shared<Pages>(program, program.main.Stores(), prompts);
    auto tools = std::make_shared<Tools>(program, program.main.Stores(), prompts);
    pages->programPage.OnResetToWindowsDefault = [pages = pages.get(), tools = tools.get(),
                                                  &main = program.main] {
        pages->BackToWindowsDefault(tools->rightClickMenus, main);
    };
    program.pages = pages;
    program.tools = tools;
}

}  // namespace vt
