// Veltrim 2000: the start sequence on the real platform.
#include "app/Startup.h"
#include "pages/Pages.h"
#include "platform/win32/Win32Platform.h"
#include "view/win32/Win32Prompts.h"
#include "view/win32/Win32StartHost.h"

#include <commctrl.h>
#include <objbase.h>

int WINAPI WinMain(::HINSTANCE, ::HINSTANCE, ::LPSTR, int) {
    ::INITCOMMONCONTROLSEX controls{
        sizeof controls, ICC_TAB_CLASSES | ICC_BAR_CLASSES | ICC_UPDOWN_CLASS | ICC_PROGRESS_CLASS};
    ::InitCommonControlsEx(&controls);
    ::CoInitialize(nullptr);

    vt::Win32Platform platform;
    vt::view::Win32StartHost* hostRef = nullptr;
    vt::view::Win32Prompts prompts(
        [&hostRef] { return hostRef ? hostRef->MainWindow() : nullptr; });
    vt::view::Win32StartHost host(prompts);
    hostRef = &host;
    int exitCode = vt::StartSequence(platform, prompts, host, [&](vt::Program& program) {
        vt::AttachPages(program, platform, prompts);
    });

    ::CoUninitialize();
    return exitCode;
}
