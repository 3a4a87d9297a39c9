#include "platform/win32/Win32Platform.h"
#include "platform/win32/Windows98Records.h"

#include <windows.h>
#include "platform/win32/LateBound.h"

#include <shellapi.h>
#include <shlobj.h>
#include <objidl.h>

#include <cstring>

namespace vt {

HWND Win32Platform::FindWindowA(const char* className, const char* title) {
    return reinterpret_cast<HWND>(::FindWindowA(className, title));
}

BOOL Win32Platform::IsWindowVisible(HWND window) {
    return ::IsWindowVisible(reinterpret_cast<::HWND>(window));
}

BOOL Win32Platform::PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return ::PostMessageA(reinterpret_cast<::HWND>(window), message, wParam, lParam);
}

BOOL Win32Platform::ExitWindowsEx(UINT flags) {
    return ::ExitWindowsEx(flags, 0);
}

HANDLE Win32Platform::CreateMutexA(const char* name) {
    return reinterpret_cast<HANDLE>(::CreateMutexA(nullptr, FALSE, name));
}

BOOL Win32Platform::ShowWindow(HWND window, int command) {
    return ::ShowWindow(reinterpret_cast<::HWND>(window), command);
}

BOOL Win32Platform::SetForegroundWindow(HWND window) {
    return ::SetForegroundWindow(reinterpret_cast<::HWND>(window));
}

::NOTIFYICONDATAA Windows98NotifyIconRecord(const NOTIFYICONDATAA& data) {
    ::NOTIFYICONDATAA record{};
    record.cbSize = NOTIFYICONDATAA_V1_SIZE;
    record.hWnd = reinterpret_cast<::HWND>(data.hWnd);
    record.uID = data.uID;
    record.uFlags = data.uFlags;
    record.uCallbackMessage = data.uCallbackMessage;
    record.hIcon = reinterpret_cast<::HICON>(data.hIcon);
    static_assert(sizeof record.szTip >= sizeof data.szTip);
    std::memcpy(record.szTip, data.szTip, sizeof data.szTip);
    record.szTip[sizeof data.szTip - 1] = '\0';
    return record;
}

BOOL Win32Platform::Shell_NotifyIconA(DWORD message, const NOTIFYICONDATAA* data) {
    ::NOTIFYICONDATAA record = Windows98NotifyIconRecord(*data);
    auto notify = late::Bind<BOOL(WINAPI*)(DWORD, ::PNOTIFYICONDATAA)>(late::kShellNotifyIcon);
    return notify && notify(message, &record);
}

HINSTANCE Win32Platform::GetModuleHandleA(const char* moduleName) {
    return reinterpret_cast<HINSTANCE>(::GetModuleHandleA(moduleName));
}

UINT Win32Platform::RegisterWindowMessageA(const char* name) {
    return ::RegisterWindowMessageA(name);
}

HICON Win32Platform::LoadImageA(HINSTANCE instance, UINT resourceId, UINT type, int width,
                                int height, UINT flags) {
    return reinterpret_cast<HICON>(::LoadImageA(reinterpret_cast<::HINSTANCE>(instance),
                                                MAKEINTRESOURCEA(resourceId), type, width, height,
                                                flags));
}

BOOL Win32Platform::DestroyIcon(HICON icon) {
    return ::DestroyIcon(reinterpret_cast<::HICON>(icon));
}

BOOL Win32Platform::GetCursorPos(POINT* point) {
    ::POINT at{};
    BOOL ok = ::GetCursorPos(&at);
    point->x = at.x;
    point->y = at.y;
    return ok;
}

int Win32Platform::GetSystemMetrics(int index) {
    return ::GetSystemMetrics(index);
}

HMENU Win32Platform::CreatePopupMenu() {
    return reinterpret_cast<HMENU>(::CreatePopupMenu());
}

BOOL Win32Platform::AppendMenuA(HMENU menu, UINT flags, UINT id, const char* text) {
    return ::AppendMenuA(reinterpret_cast<::HMENU>(menu), flags, id, text);
}

BOOL Win32Platform::TrackPopupMenu(HMENU menu, UINT flags, int x, int y, HWND owner) {
    return ::TrackPopupMenu(reinterpret_cast<::HMENU>(menu), flags, x, y, 0,
                            reinterpret_cast<::HWND>(owner), nullptr);
}

BOOL Win32Platform::DestroyMenu(HMENU menu) {
    return ::DestroyMenu(reinterpret_cast<::HMENU>(menu));
}

BOOL Win32Platform::SetSystemPowerState(BOOL suspend, BOOL force) {
    return ::SetSystemPowerState(suspend, force);
}

// The component library is set up on the GUI thread at the first shortcut.
BOOL Win32Platform::CreateShellLink(const char* target, const char* linkFile,
                                    const char* workingDirectory) {
    auto create = late::Bind<HRESULT(WINAPI*)(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID*)>(
        late::kCoCreateInstance);
    ::IShellLinkA* link = nullptr;
    if (!late::UseCom() || !create ||
        FAILED(create(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                      reinterpret_cast<void**>(&link))))
        return FALSE;
    link->SetPath(target);
    link->SetWorkingDirectory(workingDirectory);
    ::IPersistFile* file = nullptr;
    BOOL saved = FALSE;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        wchar_t wide[MAX_PATH] = L"";
        ::MultiByteToWideChar(CP_ACP, 0, linkFile, -1, wide, MAX_PATH);
        saved = SUCCEEDED(file->Save(wide, TRUE));
        file->Release();
    }
    link->Release();
    return saved;
}

BOOL Win32Platform::ShellExecuteOpen(HWND owner, const char* verb, const char* file) {
    auto execute = late::Bind<::HINSTANCE(WINAPI*)(::HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT)>(
        late::kShellExecute);
    return execute && reinterpret_cast<INT_PTR>(execute(reinterpret_cast<::HWND>(owner), verb, file,
                                                        nullptr, nullptr, SW_SHOW)) > 32;
}

BOOL Win32Platform::SHGetSpecialFolderPathA(HWND owner, char* path, int folder, BOOL create) {
    auto find = late::Bind<::BOOL(WINAPI*)(::HWND, LPSTR, int, ::BOOL)>(late::kSpecialFolderPath);
    return find && find(reinterpret_cast<::HWND>(owner), path, folder, create);
}

void Win32Platform::GlobalMemoryStatus(MEMORYSTATUS* status) {
    ::MEMORYSTATUS winStatus{};
    winStatus.dwLength = sizeof winStatus;
    ::GlobalMemoryStatus(&winStatus);
    status->dwMemoryLoad = winStatus.dwMemoryLoad;
    status->dwTotalPhys = static_cast<DWORD>(winStatus.dwTotalPhys);
    status->dwAvailPhys = static_cast<DWORD>(winStatus.dwAvailPhys);
    status->dwTotalPageFile = static_cast<DWORD>(winStatus.dwTotalPageFile);
    status->dwAvailPageFile = static_cast<DWORD>(winStatus.dwAvailPageFile);
    status->dwTotalVirtual = static_cast<DWORD>(winStatus.dwTotalVirtual);
    status->dwAvailVirtual = static_cast<DWORD>(winStatus.dwAvailVirtual);
}

BOOL Win32Platform::GetVersionExA(OSVERSIONINFOA* info) {
    ::OSVERSIONINFOA winInfo{};
    winInfo.dwOSVersionInfoSize = sizeof winInfo;
    if (!::GetVersionExA(&winInfo)) return FALSE;
    info->dwMajorVersion = winInfo.dwMajorVersion;
    info->dwMinorVersion = winInfo.dwMinorVersion;
    info->dwBuildNumber = winInfo.dwBuildNumber;
    info->dwPlatformId = winInfo.dwPlatformId;
    std::memcpy(info->szCSDVersion, winInfo.szCSDVersion, sizeof info->szCSDVersion);
    return TRUE;
}

DWORD Win32Platform::GetLastError() {
    return ::GetLastError();
}

void Win32Platform::Sleep(DWORD milliseconds) {
    ::Sleep(milliseconds);
}

UINT Win32Platform::GetACP() {
    return ::GetACP();
}

BOOL Win32Platform::IsDBCSLeadByte(BYTE byte) {
    return ::IsDBCSLeadByte(byte);
}

char* Win32Platform::CharNextA(const char* at) {
    return ::CharNextA(at);
}

char* Win32Platform::CharPrevA(const char* start, const char* at) {
    return ::CharPrevA(start, at);
}

DWORD Win32Platform::CharUpperBuffA(char* text, DWORD length) {
    return ::CharUpperBuffA(text, length);
}

DWORD Win32Platform::CharLowerBuffA(char* text, DWORD length) {
    return ::CharLowerBuffA(text, length);
}

int Win32Platform::MultiByteToWideChar(UINT codePage, DWORD flags, const char* text, int length,
                                       WCHAR* wide, int wideLength) {
    return ::MultiByteToWideChar(codePage, flags, text, length, reinterpret_cast<wchar_t*>(wide),
                                 wideLength);
}

int Win32Platform::WideCharToMultiByte(UINT codePage, DWORD flags, const WCHAR* wide,
                                       int wideLength, char* text, int length,
                                       const char* defaultChar, BOOL* usedDefault) {
    return ::WideCharToMultiByte(codePage, flags, reinterpret_cast<const wchar_t*>(wide),
                                 wideLength, text, length, defaultChar, usedDefault);
}

}  // namespace vt
