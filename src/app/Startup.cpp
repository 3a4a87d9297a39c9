#include "app/Startup.h"

#include "store/Paths.h"

#include <exception>

namespace vt {

bool Guarded(ui::Prompts& prompts, const std::function<void()>& step) {
    try {
        step();
        return true;
    } catch (const std::exception& e) {
        prompts.ShowError(e.what());
        return false;
    }
}

int StartSequence(Platform& sys, ui::Prompts& prompts, StartHost& host,
                  const std::function<void(Program&)>& attachPages) {
    std::string programDir = TakeProgramDir(sys);
    ConfigDat config;
    try {
        config = ReadConfigDat(sys, programDir);
    } catch (const IoError& e) {
        prompts.ShowError(e.what());
        return 1;
    }
    std::string windowsDir = TakeWindowsDir(sys);
    if (config.FirstRun() == 1)
        sys.LZCopyFileA(
            (windowsDir + "\\Start Menu\\Programs\\Veltrim 2000\\Uninstall.lnk").c_str(),
            (programDir + "\\Uninstall.lnk").c_str());

    HWND running = sys.FindWindowA(TForm1::kClassName, TForm1::kCaption);
    HWND welcoming = sys.FindWindowA(TForm3::kClassName, TForm3::kCaption);
    if (running || welcoming) {
        if (running && !sys.IsWindowVisible(running)) sys.PostMessageA(running, WM_USER, 0, 0);
        return 0;
    }

    std::unique_ptr<TForm3> welcome;
    if (config.ShowSplash() == 1) {
        welcome = std::make_unique<TForm3>();
        Guarded(prompts, [&] { welcome->FormCreate(sys, programDir); });
        host.ShowModal(*welcome);
    }

    Program program(sys, prompts);
    if (attachPages) attachPages(program);
    Guarded(prompts, [&] { program.main.FormCreate(); });
    host.RunMessageLoop(program);

    if (welcome) welcome->Hide();
    return 0;
}

}  // namespace vt
