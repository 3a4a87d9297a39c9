// Seeding helper for the default Windows 98 machine, run inside the Wine prefix:
//   seedtool shortcut LINK TARGET [ARGUMENTS] [WORKING_DIRECTORY]
//   seedtool attributes PATH HEX      (SetFileAttributesA, e.g. 7 = read-only+hidden+system)
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

int MakeShortcut(int argc, char** argv) {
    ::CoInitialize(nullptr);
    IShellLinkA* link = nullptr;
    HRESULT hr = ::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                    reinterpret_cast<void**>(&link));
    if (SUCCEEDED(hr)) {
        link->SetPath(argv[3]);
        if (argc > 4) link->SetArguments(argv[4]);
        if (argc > 5) link->SetWorkingDirectory(argv[5]);
        IPersistFile* file = nullptr;
        hr = link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
        if (SUCCEEDED(hr)) {
            wchar_t wide[MAX_PATH];
            ::MultiByteToWideChar(CP_ACP, 0, argv[2], -1, wide, MAX_PATH);
            hr = file->Save(wide, TRUE);
            file->Release();
        }
        link->Release();
    }
    ::CoUninitialize();
    if (FAILED(hr)) std::fprintf(stderr, "seedtool: %s: error 0x%08lx\n", argv[2], hr);
    return FAILED(hr) ? 1 : 0;
}

int SetAttributes(char** argv) {
    DWORD attributes = std::strtoul(argv[3], nullptr, 16);
    if (::SetFileAttributesA(argv[2], attributes)) return 0;
    std::fprintf(stderr, "seedtool: %s: error %lu\n", argv[2], ::GetLastError());
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 4 && std::strcmp(argv[1], "shortcut") == 0) return MakeShortcut(argc, argv);
    if (argc == 4 && std::strcmp(argv[1], "attributes") == 0) return SetAttributes(argv);
    std::fprintf(stderr,
                 "usage: seedtool shortcut LINK TARGET [ARGUMENTS] [WORKING_DIRECTORY]\n"
                 "       seedtool attributes PATH HEX\n");
    return 2;
}
