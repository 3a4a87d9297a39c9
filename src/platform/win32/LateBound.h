// The shell, COM and the common dialogs, loaded at their first use instead of with the
// program: a start needs none of them, and loading the three with Veltrim.exe costs a start
// about 10 ms under Wine (docs/benchmarks.md). Windows 98 has all three; should one be
// missing, its calls answer failure as their own failures do.
#pragma once

#include <windows.h>

namespace vt::late {

// The function `name` of `dll`, loaded once; nothing when either is missing.
template <typename Function>
Function Bind(const char* dll, const char* name) {
    ::HMODULE module = ::GetModuleHandleA(dll);
    if (!module) module = ::LoadLibraryA(dll);
    ::FARPROC found = module ? ::GetProcAddress(module, name) : nullptr;
    // Through the generic function type, which every function pointer converts from.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found));
}

// COM for this thread, set up at its first use and taken down at the end of the program.
bool UseCom();
void EndCom();

}  // namespace vt::late
