// Veltrim 2000: the start sequence on the real platform.
#include "app/Startup.h"
#include "app/Unattended.h"
#include "compose/PageTable.h"
#include "platform/NoCase.h"
#include "platform/win32/LateBound.h"
#include "platform/win32/Win32Platform.h"
#include "store/Paths.h"
#include "store/StoreError.h"
#include "compose/Uninstalling.h"
#include "view/win32/Win32Prompts.h"
#include "view/win32/Win32StartHost.h"

#include <commctrl.h>

#include <cctype>
#include <string>
#include <vector>

namespace {

// Veltrim.exe /uninstall [/putback] [/log FILE]: run by the uninstaller, without a window;
// the log goes where the uninstaller asks (its own temporary folder), for it to show.
int UninstallMode(const std::vector<std::string>& words) {
    vt::Win32Platform platform;
    vt::view::Win32Prompts prompts([] { return static_cast<::HWND>(nullptr); });
    std::vector<std::string> log;
    bool putBack = false;
    std::string logFile;
    for (std::size_t i = 0; i < words.size(); ++i) {
        std::string word = vt::ToLower(words[i]);
        if (word == "/putback") putBack = true;
        if (word == "/log" && i + 1 < words.size()) logFile = words[++i];
    }
    int code = vt::kUninstallPartly;
    try {
        code = vt::UninstallProgramParts(platform, prompts, putBack, log);
    } catch (const std::exception& e) {
        log.push_back(vt::ErrorText(e));
    }
    std::string text;
    for (const std::string& line : log) text += line + "\r\n";
    if (!logFile.empty())
        platform.WriteFileBytes(logFile.c_str(), std::vector<BYTE>(text.begin(), text.end()));
    return code;
}

// A path of the command line made whole against the current directory.
std::string WholePath(const std::string& path) {
    char whole[MAX_PATH];
    char* name = nullptr;
    ::DWORD length = ::GetFullPathNameA(path.c_str(), sizeof whole, whole, &name);
    return length == 0 || length >= sizeof whole ? path : std::string(whole, length);
}

// Veltrim.exe /apply, /check, /undo, /export: run in the program's own folder, wherever the logon
// script that starts it stands.
int UnattendedMode(vt::UnattendedRun run) {
    vt::Win32Platform platform;
    if (!run.log.empty()) run.log = WholePath(run.log);
    if (!run.profile.empty()) run.profile = WholePath(run.profile);
    for (std::string& profile : run.moreProfiles) profile = WholePath(profile);
    char name[256] = "";
    ::DWORD size = sizeof name;
    if (::GetComputerNameA(name, &size)) run.computer = name;
    size = sizeof name;
    if (::GetUserNameA(name, &size)) run.user = name;
    char exe[MAX_PATH];
    ::DWORD length = ::GetModuleFileNameA(nullptr, exe, sizeof exe);
    const std::string folder = vt::ParentOf(std::string(exe, length < sizeof exe ? length : 0));
    if (!folder.empty()) ::SetCurrentDirectoryA(vt::FolderPath(folder).c_str());
    int code = vt::RunUnattended(platform, run, [&](vt::Program& program, vt::ui::Prompts& asked) {
        vt::AttachPages(program, platform, asked);
    });
    vt::late::EndCom();
    return code;
}

}  // namespace

int WINAPI WinMain(::HINSTANCE, ::HINSTANCE, ::LPSTR commandLine, int) {
    {
        // Every path, key and name is walked by the characters of the machine's code page.
        vt::Win32Platform platform;
        vt::CodePage::SetMachine(vt::CodePage::Of(platform));
    }
    std::vector<std::string> words = vt::CommandWords(commandLine ? commandLine : "");
    if (!words.empty() && vt::ToLower(words[0]) == "/uninstall") return UninstallMode(words);
    if (auto run = vt::ParseUnattended(words)) return UnattendedMode(*run);

    ::INITCOMMONCONTROLSEX controls{
        sizeof controls, ICC_TAB_CLASSES | ICC_BAR_CLASSES | ICC_UPDOWN_CLASS | ICC_PROGRESS_CLASS};
    ::InitCommonControlsEx(&controls);

    vt::Win32Platform platform;
    vt::view::Win32StartHost* hostRef = nullptr;
    vt::view::Win32Prompts prompts(
        [&hostRef] { return hostRef ? hostRef->MainWindow() : nullptr; });
    vt::view::Win32StartHost host(prompts);
    hostRef = &host;
    int exitCode = 1;
    try {
        exitCode = vt::StartSequence(platform, prompts, host, [&](vt::Program& program) {
            vt::AttachPages(program, platform, prompts);
        });
    } catch (const std::exception& e) {
        // Whatever escaped every step's own handling ends the program with its message.
        ::MessageBoxA(nullptr, vt::ErrorText(e).c_str(), "Veltrim 2000", MB_OK | MB_ICONSTOP);
    }

    vt::late::EndCom();
    return exitCode;
}
