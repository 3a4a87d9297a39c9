#include "view/win32/Win32StartHost.h"

namespace vt::view {

Win32StartHost::~Win32StartHost() = default;

void Win32StartHost::Pump(const std::function<bool()>& done) {
    ::MSG msg;
    while (!done()) {
        // With nothing to paint or answer, the pages and windows not needed yet are read and
        // made one by one.
        if (!::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE) && DoSomethingPending()) continue;
        if (::GetMessageA(&msg, nullptr, 0, 0) <= 0) break;
        bool taken = false;
        for (auto& window : windows_)
            if (window->PreTranslate(msg)) {
                taken = true;
                break;
            }
        if (taken) continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

// Every page is read before a page's windows are made: a page shows what is stored.
bool Win32StartHost::DoSomethingPending() {
    bool read = false;
    if (form_ && (!Guarded(prompts_, [&] { read = form_->ReadSomethingPending(); }) || read))
        return true;  // a page that failed is shown failed once and left unread
    for (auto& window : windows_)
        if (window->CreateSomethingPending()) return true;
    return false;
}

void Win32StartHost::ShowModal(TForm3& welcome) {
    auto window = std::make_unique<FormWindow>(welcome, prompts_);
    window->Create(nullptr);
    FormWindow& shown = *window;
    windows_.push_back(std::move(window));
    welcome.Show();
    Pump([&] { return welcome.Closed() || !::IsWindow(shown.Handle()); });
}

void Win32StartHost::RunMessageLoop(Program& program) {
    auto main = std::make_unique<FormWindow>(program.main, prompts_);
    main->Create(nullptr);
    main_ = main.get();
    program.main.Handle = reinterpret_cast<HWND>(main_->Handle());
    main_->OnQueryEndSession = [&program] { return program.main.QueryEndSession(); };
    main_->OnUserMessage = [&program] { program.main.WMUser(); };
    main_->OnEndSession = [&program](bool ending) { program.main.EndSession(ending); };
    main_->AddSystemMenuItem(
        "Undo last change...", [&program] { return program.main.CanUndo(); },
        [&program] { program.main.UndoLastApply(); });
    main_->AddSystemMenuItem("Export settings...", {},
                             [&program] { program.main.ExportSettings(); });
    main_->AddSystemMenuItem("Import settings...", {},
                             [&program] { program.main.ImportSettings(); });
    windows_.push_back(std::move(main));
    tray_ = std::make_unique<TrayWindow>(program.main.kbTrayIcon1, main_->Handle(), prompts_);
    for (ui::Form* companion :
         std::initializer_list<ui::Form*>{&program.about, &program.help, &program.uninstall}) {
        auto window = std::make_unique<FormWindow>(*companion, prompts_);
        window->CreateWhenShown(main_->Handle());
        windows_.push_back(std::move(window));
    }
    form_ = &program.main;
    program.main.Show();
    Pump([&] { return program.main.Closed(); });
    form_ = nullptr;
    main_ = nullptr;
    tray_.reset();
    windows_.clear();  // the models outlive their windows
}

}  // namespace vt::view
