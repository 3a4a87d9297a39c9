#include "app/Startup.h"

#include "store/ExpandedCopy.h"
#include "store/Folders.h"
#include "store/Paths.h"
#include "store/ShellFolders.h"
#include "store/StoreError.h"

#include <exception>
#include <optional>

namespace vt {

bool Guarded(ui::Prompts& prompts, const std::function<void()>& step) {
    try {
        step();
        return true;
    } catch (const std::exception& e) {
        prompts.ShowError(ErrorText(e));
        return false;
    }
}

namespace {

// Config.DAT is read; one of another size may be replaced by the defaults when the user says
// so. Nothing when the start cannot go on (the error was shown).
std::optional<ConfigDat> StartOptions(Platform& sys, ui::Prompts& prompts,
                                      const std::string& programDir) {
    try {
        return ReadConfigDat(sys, programDir);
    } catch (const ConfigDatDamaged& e) {
        if (prompts.Confirm(std::string(e.what()) +
                                "\n\nReplace it with a new Config.DAT holding the default options?",
                            ui::Buttons::YesNo) != ui::Answer::Yes)
            return std::nullopt;
        try {
            WriteConfigDat(sys, programDir, ConfigDat::Defaults());
            return ConfigDat::Defaults();
        } catch (const IoError& written) {
            prompts.ShowError(std::string(written.what()) + " (" + programDir +
                              ConfigDat::kFileName + ")");
        }
    } catch (const IoError& e) {
        prompts.ShowError(e.what());
    }
    return std::nullopt;
}

// The group's Uninstall.lnk, kept in the program's folder for the Veltrim page to make the
// group again from. A group without one says nothing; a copy that fails says so, or the
// group made again would point at nothing.
void KeepUninstallShortcut(Platform& sys, ui::Prompts& prompts, const std::string& group,
                           const std::string& programDir) {
    const std::string from = group + "\\Uninstall.lnk";
    const std::string to = programDir + "\\Uninstall.lnk";
    if (FileExists(sys, from) && !CopyExpanded(sys, from, to))
        prompts.ShowError("Cannot copy file " + from + " to " + to);
}

}  // namespace

int StartSequence(Platform& sys, ui::Prompts& prompts, StartHost& host,
                  const std::function<void(Program&)>& attachPages) {
    // The mutex settles two starts at the same moment, before either has a window to find
    // or a message to show. Its handle stays open as long as this process runs.
    bool another = sys.CreateMutexA(kSingleInstanceMutex) != 0 &&
                   sys.GetLastError() == static_cast<DWORD>(ERROR_ALREADY_EXISTS);
    HWND running = sys.FindWindowA(TForm1::kClassName, TForm1::kCaption);
    HWND welcoming = sys.FindWindowA(TForm3::kClassName, TForm3::kCaption);
    if (another || running || welcoming) {
        // Windows 98 keeps the foreground from a process in the background, as the first one
        // is: the window it shows would come up behind the others. This start holds the
        // foreground and hands it over.
        if (running && !sys.IsWindowVisible(running) && sys.PostMessageA(running, WM_USER, 0, 0))
            sys.SetForegroundWindow(running);
        return 0;
    }

    std::string programDir = TakeProgramDir(sys);
    std::optional<ConfigDat> read = StartOptions(sys, prompts, programDir);
    if (!read) return 1;
    ConfigDat config = *read;
    if (config.FirstRun() == 1) {
        const std::string group = TakeShellFolders(sys, TakeWindowsDir(sys)).Group();
        if (!group.empty()) KeepUninstallShortcut(sys, prompts, group, programDir);
    }

    std::unique_ptr<TForm3> welcome;
    if (config.ShowSplash() == 1) {
        welcome = std::make_unique<TForm3>();
        if (Guarded(prompts, [&] { welcome->FormCreate(sys, programDir); })) config.SetFirstRun(0);
        host.ShowModal(*welcome);
    }

    Program program(sys, prompts);
    // Should the main window fail to read the file again, the close still writes back the
    // records this start read, never zeros.
    program.main.Config = config;
    if (attachPages) attachPages(program);
    Guarded(prompts, [&] { program.main.FormCreate(); });
    program.about.FormCreate(sys);
    host.RunMessageLoop(program);

    if (welcome) welcome->Hide();
    return 0;
}

}  // namespace vt
