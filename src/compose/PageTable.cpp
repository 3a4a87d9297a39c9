#include "compose/PageTable.h"

namespace vt {

std::vector<PageDeclaration> PageTable(Pages& p, Tools& t) {
    std::vector<ui::Control*> rightClickBoxes;
    for (const RightClickMenus::FileType& type : t.rightClickMenus.Types)
        rightClickBoxes.push_back(&type.box);
    RightClickMenus& rightClick = t.rightClickMenus;
    return {
        {{.sheet = &p.oemInfo.Sheet,
          .read = [&p] { p.oemInfo.Read(); },
          .write = [&p] { p.oemInfo.Write(); },
          .filled = {&p.oemInfo.Sheet},
          .touches = p.oemInfo.Touches()}},
        // Every entry data.ini names goes, whatever its box shows (a cleared box only closes
        // the fields). Its buttons write at once: nothing for the write pass.
        {{.sheet = &t.rightClickMenus.Sheet,
          .read = [&rightClick] { rightClick.Read(); },
          .filled = rightClickBoxes,
          .resetToWindowsDefault =
              [&rightClick] {
                  for (const RightClickMenus::FileType& type : rightClick.Types)
                      if (rightClick.MadeEntry(type.ext))
                          rightClick.Remove_RightClickMenus(type.ext);
              },
          .hideDetails = [&rightClick] { rightClick.HideDetails(); }}},
        {{.sheet = &p.boot.Sheet,
          .read = [&p] { p.boot.Read(); },
          .write = [&p] { p.boot.Write(); },
          .filled = {&p.boot.Sheet},
          .resetToWindowsDefault = [&p] { p.boot.ResetToWindowsDefault(); },
          .hideDetails = [&p] { p.boot.HideDetails(); },
          .touches = p.boot.Touches()},
         &p.boot.Rows()},
        {{.sheet = &p.system.Sheet,
          .read = [&p] { p.system.Read(); },
          .write = [&p] { p.system.Write(); },
          .filled = {&p.system.Sheet},
          .resetToWindowsDefault = [&p] { p.system.ResetToWindowsDefault(); },
          .hideDetails = [&p] { p.system.HideDetails(); },
          .touches = p.system.Touches()},
         &p.system.Rows()},
        // The Windows and Start Menu settings interleave: the Recycle Bin, the menu delay,
        // the other Windows settings, then the rest of the Start Menu.
        {{.sheet = &p.windows.Sheet,
          .read = [&p] { p.windows.Read(); },
          .write = [&p] { p.windows.Write(); },
          .filled = {&p.windows.Sheet, &p.startMenu.GroupBox19},
          .resetToWindowsDefault = [&p] { p.windows.ResetToWindowsDefault(); },
          .hideDetails = [&p] { p.windows.HideDetails(); },
          .touches = p.windows.Touches()},
         &p.windows.Rows()},
        {{.sheet = &p.startMenu.Sheet,
          .read = [&p] { p.startMenu.Read(); },
          .write = [&p] { p.startMenu.Write(); },
          .filled = {&p.startMenu.Sheet},
          .resetToWindowsDefault = [&p] { p.startMenu.ResetToWindowsDefault(); },
          .hideDetails = [&p] { p.startMenu.HideDetails(); },
          .touches = p.startMenu.Touches()},
         &p.startMenu.Rows()},
        {{.sheet = &p.diskCache.Sheet,
          .read = [&p] { p.diskCache.Read(); },
          .write = [&p] { p.diskCache.Write(); },
          .filled = {&p.diskCache.Sheet},
          .resetToWindowsDefault = [&p] { p.diskCache.ResetToWindowsDefault(); },
          .shown = [&p] { p.diskCache.LayOutSizes(); },
          .touches = p.diskCache.Touches()}},
        // Without an adapter both internet pages take no input for the rest of the run; once
        // read, the connection list shows its first entry.
        {{.sheet = &p.internet.Sheet,
          .read =
              [&p] {
                  p.internet.Read();
                  if (!p.internet.ConnectionFound) {
                      p.internet.InternetDisable();
                      p.internet2.InternetDisable();
                  }
                  p.internet.ComboBox2.SetItemIndex(0);
                  p.internet.IsiDataInternet();
              },
          .write = [&p] { p.internet.Write(); },
          .filled = {&p.internet.Sheet},
          .resetToWindowsDefault = [&p] { p.internet.ResetToWindowsDefault(); },
          .touches = p.internet.Touches()}},
        // Its own box opens the NDI cache size.
        {{.sheet = &p.internet2.Sheet,
          .read = [&p] { p.internet2.Read(); },
          .write = [&p] { p.internet2.Write(); },
          .filled = {&p.internet2.Sheet},
          .resetToWindowsDefault = [&p] { p.internet2.ResetToWindowsDefault(); },
          .created = [&p] { p.internet2.DisableCustomNdiCache(); },
          .touches = p.internet2.Touches()},
         &p.internet2.Rows()},
        {{.sheet = &p.fileCache.Sheet,
          .read = [&p] { p.fileCache.Read(); },
          .write = [&p] { p.fileCache.Write(); },
          .filled = {&p.fileCache.Sheet},
          .resetToWindowsDefault = [&p] { p.fileCache.ResetToWindowsDefault(); },
          .created = [&p] { p.fileCache.FillMemoryGauges(); },
          .shown = [&p] { p.fileCache.FillMemoryGauges(); },
          .touches = p.fileCache.Touches()}},
        // The shortcut boxes are only ever ticked by the read pass: after an undo they start
        // from clear, as at window creation.
        {{.sheet = &p.programPage.Sheet,
          .read = [&p] { p.programPage.Read(); },
          .write = [&p] { p.programPage.Write(); },
          .filled = {&p.programPage.Sheet},
          .resetToWindowsDefault = [&p] { p.programPage.ResetToWindowsDefault(); },
          .beforeUndo = [&p] { p.programPage.ClearShortcutBoxes(); }}},
        // Its buttons write at once: nothing for the write pass.
        {{.sheet = &t.addRemove.Sheet,
          .read = [&t] { t.addRemove.FillLists(); },
          .filled = {&t.addRemove.ListBox1, &t.addRemove.ListBox2},
          .uninstallEdited = [&t] { t.addRemove.FillLists(); },
          .touches = t.addRemove.Touches()}},
        // The countdown: nothing stored, only set back at the start.
        {{.sheet = &p.shutdown.Sheet,
          .created =
              [&p] {
                  p.shutdown.Reset();
                  p.shutdown.AutoShutDown_Disable();
              }}},
    };
}

void AttachPages(Program& program, [[maybe_unused]] Platform& sys, ui::Prompts& prompts) {
    auto pages = std::make_shared<Pages>(program, program.main.Stores(), prompts);
    auto tools = std::make_shared<Tools>(program, program.main.Stores(), prompts);
    for (PageDeclaration& page : PageTable(*pages, *tools))
        program.main.AddPage(std::move(page.entry));
    program.main.ProfileFields = [&p = *pages] { return ProfileFieldsOf(p); };
    pages->programPage.OnResetToWindowsDefault = [&main = program.main] {
        main.ResetToWindowsDefault();
    };
    program.pages = pages;
    program.tools = tools;
}

ManagedStores DeclaredStores(Platform& sys, ui::Prompts& prompts) {
    Program program(sys, prompts);
    AttachPages(program, sys, prompts);
    return program.main.DeclaredStores();
}

}  // namespace vt
