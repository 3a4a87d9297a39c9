// The shell, COM and the common dialogs, loaded at their first use instead of with the
// program: a start needs none of them, and loading the three with Veltrim.exe costs a start
// about 10 ms under Wine (docs/benchmarks.md). Windows 98 has all three; should one be
// missing, its calls answer failure as their own failures do.
#pragma once

#include <windows.h>

namespace vt::late {

struct Export {
    const char* dll;  // as the export list names it
    const char* name;
};

// Every function bound late, so that a test holds them to what Windows 98 SE exports as it
// does the import table.
inline constexpr Export kCoInitialize{"OLE32.DLL", "CoInitialize"};
inline constexpr Export kCoUninitialize{"OLE32.DLL", "CoUninitialize"};
inline constexpr Export kCoCreateInstance{"OLE32.DLL", "CoCreateInstance"};
inline constexpr Export kCoTaskMemFree{"OLE32.DLL", "CoTaskMemFree"};
inline constexpr Export kShellExecute{"SHELL32.DLL", "ShellExecuteA"};
inline constexpr Export kShellNotifyIcon{"SHELL32.DLL", "Shell_NotifyIconA"};
inline constexpr Export kBrowseForFolder{"SHELL32.DLL", "SHBrowseForFolderA"};
inline constexpr Export kPathFromIdList{"SHELL32.DLL", "SHGetPathFromIDListA"};
inline constexpr Export kSpecialFolderPath{"SHELL32.DLL", "SHGetSpecialFolderPathA"};
inline constexpr Export kGetOpenFileName{"COMDLG32.DLL", "GetOpenFileNameA"};
inline constexpr Export kGetSaveFileName{"COMDLG32.DLL", "GetSaveFileNameA"};
inline constexpr Export kAll[] = {kCoInitialize,    kCoUninitialize, kCoCreateInstance,
                                  kCoTaskMemFree,   kShellExecute,   kShellNotifyIcon,
                                  kBrowseForFolder, kPathFromIdList, kSpecialFolderPath,
                                  kGetOpenFileName, kGetSaveFileName};

// The function, its DLL loaded at the first call; nothing when either is missing.
template <typename Function>
Function Bind(const Export& function) {
    ::HMODULE module = ::GetModuleHandleA(function.dll);
    if (!module) module = ::LoadLibraryA(function.dll);
    ::FARPROC found = module ? ::GetProcAddress(module, function.name) : nullptr;
    // Through the generic function type, which every function pointer converts from.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found));
}

// COM for this thread, set up at its first use and taken down at the end of the program.
bool UseCom();
void EndCom();

}  // namespace vt::late
