#include "compose/PageTable.h"

namespace vt {

namespace {

// A page that reads, writes and resets itself on its own tab, with its detail frames, what it
// writes and its rows wherever it has them; `change` adds what is its own.
template <typename Page>
PageDeclaration Declared(Page& page, const std::function<void(TForm1::PageEntry&)>& change = {}) {
    PageDeclaration declared{{.sheet = &page.Sheet,
                              .read = [&page] { page.Read(); },
                              .write = [&page] { page.Write(); },
                              .filled = {&page.Sheet}}};
    TForm1::PageEntry& entry = declared.entry;
    if constexpr (requires { page.ResetToWindowsDefault(); })
        entry.resetToWindowsDefault = [&page] { page.ResetToWindowsDefault(); };
    if constexpr (requires { page.HideDetails(); })
        entry.hideDetails = [&page] { page.HideDetails(); };
    if constexpr (requires { page.Touches(); }) entry.touches = page.Touches();
    if constexpr (requires { page.Rows(); }) declared.rows = &page.Rows();
    if (change) change(entry);
    return declared;
}

}  // namespace

std::vector<PageDeclaration> PageTable(Pages& p, Tools& t) {
    std::vector<ui::Control*> rightClickBoxes;
    for (const RightClickMenus::FileType& type : t.rightClickMenus.Types)
        rightClickBoxes.push_back(&type.box);
    RightClickMenus& rightClick = t.rightClickMenus;
    return {
        Declared(p.oemInfo),
        // Every entry data.ini names goes, whatever its box shows (a cleared box only closes
        // the fields). Its buttons write at once: nothing for the write pass.
        {{.sheet = &rightClick.Sheet,
          .read = [&rightClick] { rightClick.Read(); },
          .filled = rightClickBoxes,
          .resetToWindowsDefault =
              [&rightClick] {
                  for (const RightClickMenus::FileType& type : rightClick.Types)
                      if (rightClick.MadeEntry(type.ext))
                          rightClick.Remove_RightClickMenus(type.ext);
              },
          .hideDetails = [&rightClick] { rightClick.HideDetails(); }}},
        Declared(p.boot),
        Declared(p.system),
        // The Windows and Start Menu settings interleave: the Recycle Bin, the menu delay,
        // the other Windows settings, then the rest of the Start Menu.
        Declared(p.windows,
                 [&p](TForm1::PageEntry& e) { e.filled.push_back(&p.startMenu.GroupBox19); }),
        Declared(p.startMenu),
        Declared(p.diskCache,
                 [&p](TForm1::PageEntry& e) { e.shown = [&p] { p.diskCache.LayOutSizes(); }; }),
        // Without an adapter both internet pages take no input for the rest of the run; once
        // read, the connection list shows its first entry.
        Declared(p.internet,
                 [&p](TForm1::PageEntry& e) {
                     e.read = [&p] {
                         p.internet.Read();
                         if (!p.internet.ConnectionFound) {
                             p.internet.InternetDisable();
                             p.internet2.InternetDisable();
                         }
                         p.internet.ComboBox2.SetItemIndex(0);
                         p.internet.IsiDataInternet();
                     };
                 }),
        // Its own box opens the NDI cache size.
        Declared(p.internet2,
                 [&p](TForm1::PageEntry& e) {
                     e.created = [&p] { p.internet2.DisableCustomNdiCache(); };
                 }),
        Declared(p.fileCache,
                 [&p](TForm1::PageEntry& e) {
                     e.created = e.shown = [&p] { p.fileCache.FillMemoryGauges(); };
                 }),
        // The shortcut boxes are only ever ticked by the read pass: after an undo they start
        // from clear, as at window creation.
        Declared(p.programPage,
                 [&p](TForm1::PageEntry& e) {
                     e.beforeUndo = [&p] { p.programPage.ClearShortcutBoxes(); };
                 }),
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
