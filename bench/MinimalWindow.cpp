// The yardstick for start-up time: a Win32 program that opens one window and nothing else.
// Built a second time with WITH_IMPORTS, it also loads the DLLs Veltrim.exe imports, which
// separates their loading from the rest of Veltrim's start.
#include <windows.h>
#ifdef WITH_IMPORTS
#include <commctrl.h>
#include <lzexpand.h>
#endif

namespace {

#ifdef WITH_IMPORTS
constexpr const char* kClassName = "MinimalImports";
// Referenced, so that the linker keeps one import of each DLL.
// (The shell, COM and the common dialogs Veltrim.exe loads only at their first use.)
void* volatile imports[] = {reinterpret_cast<void*>(&::InitCommonControlsEx),
                            reinterpret_cast<void*>(&::LZClose),
                            reinterpret_cast<void*>(&::CreateFontA),
                            reinterpret_cast<void*>(&::RegOpenKeyExA)};
#else
constexpr const char* kClassName = "MinimalWindow";
#endif

LRESULT CALLBACK Procedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_DESTROY) ::PostQuitMessage(0);
    return ::DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = Procedure;
    wc.hInstance = instance;
    wc.lpszClassName = kClassName;
    ::RegisterClassA(&wc);
    HWND hwnd = ::CreateWindowA(kClassName, "Minimal", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                CW_USEDEFAULT, 534, 472, nullptr, nullptr, instance, nullptr);
    ::ShowWindow(hwnd, show);
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) ::DispatchMessageA(&msg);
    return 0;
}
