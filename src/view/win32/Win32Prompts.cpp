#include "view/win32/Win32Prompts.h"

#include "platform/win32/LateBound.h"
#include "view/win32/PicturePreview.h"

#include <commdlg.h>
#include <shlobj.h>

namespace vt::view {
namespace {

// "Bitmaps (*.bmp)|*.bmp" becomes the dialog's NUL-separated, double-NUL-ended list.
std::string FilterPairs(std::string filter) {
    for (char& c : filter)
        if (c == '|') c = '\0';
    filter.append(2, '\0');
    return filter;
}

}  // namespace

ui::Answer Win32Prompts::Confirm(const std::string& text, ui::Buttons buttons) {
    ::UINT kind = buttons == ui::Buttons::YesNo ? MB_YESNO : MB_YESNOCANCEL;
    switch (::MessageBoxA(Owner(), text.c_str(), kConfirmCaption, kind | MB_ICONQUESTION)) {
        case IDYES:
            return ui::Answer::Yes;
        case IDNO:
            return ui::Answer::No;
        default:
            // Esc or the close box on a Yes/No box is the safe answer.
            return buttons == ui::Buttons::YesNo ? ui::Answer::No : ui::Answer::Cancel;
    }
}

void Win32Prompts::ShowError(const std::string& text) {
    ::MessageBoxA(Owner(), text.c_str(), kErrorCaption, MB_OK | MB_ICONSTOP);
}

void Win32Prompts::ShowMessage(const std::string& text) {
    ::MessageBoxA(Owner(), text.c_str(), kErrorCaption, MB_OK | MB_ICONINFORMATION);
}

std::optional<std::string> Win32Prompts::OpenFile(const std::string& filter) {
    std::string pairs = FilterPairs(filter);
    char path[MAX_PATH] = "";
    ::OPENFILENAMEA dialog = Windows98OpenFileRecord(Owner(), pairs.c_str(), path, sizeof path);
    // A dialog for pictures shows the one chosen.
    std::optional<PicturePreview> preview;
    if (filter.find("*.bmp") != std::string::npos) preview.emplace(dialog);
    auto open = late::Bind<BOOL(WINAPI*)(::LPOPENFILENAMEA)>(late::kGetOpenFileName);
    if (!open || !open(&dialog)) return std::nullopt;
    return std::string(path);
}

std::optional<std::string> Win32Prompts::SaveFile(const std::string& filter,
                                                  const std::string& extension) {
    std::string pairs = FilterPairs(filter);
    char path[MAX_PATH] = "";
    ::OPENFILENAMEA dialog = Windows98OpenFileRecord(Owner(), pairs.c_str(), path, sizeof path);
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    dialog.lpstrDefExt = extension.c_str();
    auto save = late::Bind<BOOL(WINAPI*)(::LPOPENFILENAMEA)>(late::kGetSaveFileName);
    if (!save || !save(&dialog)) return std::nullopt;
    return std::string(path);
}

::OPENFILENAMEA Win32Prompts::Windows98OpenFileRecord(::HWND owner, const char* filterPairs,
                                                      char* path, ::DWORD pathSize) {
    ::OPENFILENAMEA dialog{};
    dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filterPairs;
    dialog.lpstrFile = path;
    dialog.nMaxFile = pathSize;
    // Config.DAT and data.ini are found through the current directory: browsing must not
    // move it.
    dialog.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    return dialog;
}

std::optional<std::string> Win32Prompts::BrowseFolder(const std::string& title) {
    char display[MAX_PATH] = "";
    ::BROWSEINFOA browse{};
    browse.hwndOwner = Owner();
    browse.pidlRoot = nullptr;  // the desktop
    browse.pszDisplayName = display;
    browse.lpszTitle = title.c_str();
    browse.ulFlags = BIF_RETURNONLYFSDIRS;
    auto browseFor = late::Bind<::LPITEMIDLIST(WINAPI*)(::LPBROWSEINFOA)>(late::kBrowseForFolder);
    auto pathOf = late::Bind<BOOL(WINAPI*)(::LPCITEMIDLIST, LPSTR)>(late::kPathFromIdList);
    auto release = late::Bind<void(WINAPI*)(LPVOID)>(late::kCoTaskMemFree);
    if (!late::UseCom() || !browseFor || !pathOf || !release) return std::nullopt;
    ::LPITEMIDLIST chosen = browseFor(&browse);
    if (!chosen) return std::nullopt;
    char path[MAX_PATH] = "";
    bool isFolder = pathOf(chosen, path);
    release(chosen);
    if (!isFolder) return std::nullopt;
    return std::string(path);
}

}  // namespace vt::view
