#include "platform/win32/Win32Platform.h"
#include "platform/win32/Windows98Records.h"

#include <windows.h>
#include <lzexpand.h>
#include "platform/win32/LateBound.h"

#include <shellapi.h>
#include <shlobj.h>
#include <objidl.h>

#include <cstring>

// Written out here: inside namespace vt, the macro's cast would name vt::HANDLE.
static const ::HANDLE kNoFile = INVALID_HANDLE_VALUE;

namespace vt {
namespace {

::HKEY ToWin(HKEY key) {
    return reinterpret_cast<::HKEY>(key);
}
HKEY FromWin(::HKEY key) {
    return reinterpret_cast<HKEY>(key);
}

LONG OpenOrCreate(bool create, HKEY key, const char* subKey, REGSAM sam, HKEY* result) {
    ::HKEY opened = nullptr;
    LONG rc = create ? ::RegCreateKeyExA(ToWin(key), subKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                         sam, nullptr, &opened, nullptr)
                     : ::RegOpenKeyExA(ToWin(key), subKey, 0, sam, &opened);
    if (rc == ERROR_SUCCESS) *result = FromWin(opened);
    return rc;
}

}  // namespace

LONG Win32Platform::RegOpenKeyExA(HKEY key, const char* subKey, REGSAM sam, HKEY* result) {
    return OpenOrCreate(false, key, subKey, sam, result);
}

LONG Win32Platform::RegCreateKeyExA(HKEY key, const char* subKey, REGSAM sam, HKEY* result) {
    return OpenOrCreate(true, key, subKey, sam, result);
}

LONG Win32Platform::RegQueryValueExA(HKEY key, const char* name, DWORD* type, BYTE* data,
                                     DWORD* size) {
    ::DWORD winType = 0;
    ::DWORD winSize = size ? *size : 0;
    LONG rc =
        ::RegQueryValueExA(ToWin(key), name, nullptr, &winType, data, size ? &winSize : nullptr);
    if (type) *type = winType;
    if (size) *size = winSize;
    return rc;
}

LONG Win32Platform::RegSetValueExA(HKEY key, const char* name, DWORD type, const BYTE* data,
                                   DWORD size) {
    return ::RegSetValueExA(ToWin(key), name, 0, type, data, size);
}

LONG Win32Platform::RegDeleteValueA(HKEY key, const char* name) {
    return ::RegDeleteValueA(ToWin(key), name);
}

LONG Win32Platform::RegDeleteKeyA(HKEY key, const char* subKey) {
    return ::RegDeleteKeyA(ToWin(key), subKey);
}

LONG Win32Platform::RegEnumKeyExA(HKEY key, DWORD index, char* name, DWORD* nameSize) {
    ::DWORD winSize = *nameSize;
    LONG rc =
        ::RegEnumKeyExA(ToWin(key), index, name, &winSize, nullptr, nullptr, nullptr, nullptr);
    *nameSize = winSize;
    return rc;
}

LONG Win32Platform::RegEnumValueA(HKEY key, DWORD index, char* name, DWORD* nameSize, DWORD* type,
                                  BYTE* data, DWORD* dataSize) {
    ::DWORD winName = *nameSize, winType = 0, winData = dataSize ? *dataSize : 0;
    LONG rc = ::RegEnumValueA(ToWin(key), index, name, &winName, nullptr, &winType, data,
                              dataSize ? &winData : nullptr);
    *nameSize = winName;
    if (type) *type = winType;
    if (dataSize) *dataSize = winData;
    return rc;
}

LONG Win32Platform::RegQueryInfoKeyA(HKEY key, DWORD* subKeys, DWORD* maxSubKeyLen, DWORD* values) {
    ::DWORD winSubKeys = 0, winMaxLen = 0, winValues = 0;
    LONG rc = ::RegQueryInfoKeyA(ToWin(key), nullptr, nullptr, nullptr, &winSubKeys, &winMaxLen,
                                 nullptr, &winValues, nullptr, nullptr, nullptr, nullptr);
    if (subKeys) *subKeys = winSubKeys;
    if (maxSubKeyLen) *maxSubKeyLen = winMaxLen;
    if (values) *values = winValues;
    return rc;
}

LONG Win32Platform::RegCloseKey(HKEY key) {
    return ::RegCloseKey(ToWin(key));
}

LONG Win32Platform::RegFlushKey(HKEY key) {
    return ::RegFlushKey(ToWin(key));
}

DWORD Win32Platform::GetPrivateProfileStringA(const char* section, const char* key,
                                              const char* defaultValue, char* buffer, DWORD size,
                                              const char* fileName) {
    return ::GetPrivateProfileStringA(section, key, defaultValue, buffer, size, fileName);
}

BOOL Win32Platform::WritePrivateProfileStringA(const char* section, const char* key,
                                               const char* value, const char* fileName) {
    return ::WritePrivateProfileStringA(section, key, value, fileName);
}

UINT Win32Platform::GetWindowsDirectoryA(char* buffer, UINT size) {
    return ::GetWindowsDirectoryA(buffer, size);
}

DWORD Win32Platform::GetCurrentDirectoryA(DWORD size, char* buffer) {
    return ::GetCurrentDirectoryA(size, buffer);
}

BOOL Win32Platform::SetCurrentDirectoryA(const char* path) {
    return ::SetCurrentDirectoryA(path);
}

DWORD Win32Platform::GetFileAttributesA(const char* path) {
    return ::GetFileAttributesA(path);
}

BOOL Win32Platform::SetFileAttributesA(const char* path, DWORD attributes) {
    return ::SetFileAttributesA(path, attributes);
}

BOOL Win32Platform::DeleteFileA(const char* path) {
    return ::DeleteFileA(path);
}

BOOL Win32Platform::CreateDirectoryA(const char* path) {
    return ::CreateDirectoryA(path, nullptr);
}

BOOL Win32Platform::RemoveDirectoryA(const char* path) {
    return ::RemoveDirectoryA(path);
}

BOOL Win32Platform::CopyFileA(const char* from, const char* to, BOOL failIfExists) {
    return ::CopyFileA(from, to, failIfExists);
}

BOOL Win32Platform::ReadFileBytes(const char* path, std::vector<BYTE>* bytes, DWORD maxBytes) {
    ::HANDLE file = ::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == kNoFile) return FALSE;
    bytes->clear();
    // The size is asked first, so that a huge file is refused before any of it is held; the
    // read stops at the limit too, should the file grow meanwhile.
    ::DWORD high = 0;
    ::DWORD size = ::GetFileSize(file, &high);
    BOOL ok = size != INVALID_FILE_SIZE || ::GetLastError() == NO_ERROR;
    if (ok && (high != 0 || size > maxBytes)) {
        ::CloseHandle(file);
        ::SetLastError(ERROR_FILE_TOO_LARGE);
        return FALSE;
    }
    if (ok) bytes->reserve(size);
    BYTE chunk[4096];
    ::DWORD got = 0;
    while (ok && (ok = ::ReadFile(file, chunk, sizeof chunk, &got, nullptr)) && got > 0) {
        if (bytes->size() + got > maxBytes) {
            ok = FALSE;
            ::SetLastError(ERROR_FILE_TOO_LARGE);
            break;
        }
        bytes->insert(bytes->end(), chunk, chunk + got);
    }
    ::DWORD error = ::GetLastError();
    ::CloseHandle(file);
    ::SetLastError(error);
    return ok;
}

BOOL Win32Platform::WriteFileBytes(const char* path, const std::vector<BYTE>& bytes) {
    ::HANDLE file = ::CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == kNoFile) return FALSE;
    ::DWORD written = 0;
    BOOL ok =
        ::WriteFile(file, bytes.data(), static_cast<::DWORD>(bytes.size()), &written, nullptr) &&
        written == bytes.size() && ::FlushFileBuffers(file);
    ::DWORD error = ::GetLastError();
    ::CloseHandle(file);
    ::SetLastError(error);
    return ok;
}

BOOL Win32Platform::FlushFile(const char* path) {
    ::HANDLE file = ::CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == kNoFile) return FALSE;
    BOOL ok = ::FlushFileBuffers(file);
    ::DWORD error = ::GetLastError();
    ::CloseHandle(file);
    ::SetLastError(error);
    return ok;
}

BOOL Win32Platform::MoveFileA(const char* from, const char* to) {
    return ::MoveFileA(from, to);
}

BOOL Win32Platform::LZCopyFileA(const char* from, const char* to) {
    OFSTRUCT sourceInfo{}, targetInfo{};
    INT source = ::LZOpenFileA(const_cast<char*>(from), &sourceInfo, OF_READ);
    if (source < 0) return FALSE;
    INT target = ::LZOpenFileA(const_cast<char*>(to), &targetInfo, OF_CREATE);
    if (target < 0) {
        ::LZClose(source);
        return FALSE;
    }
    LONG copied = ::LZCopy(source, target);
    ::LZClose(source);
    ::LZClose(target);
    return copied >= 0;
}

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

HICON Win32Platform::LoadIconA(HINSTANCE instance, UINT resourceId) {
    return reinterpret_cast<HICON>(
        ::LoadIconA(reinterpret_cast<::HINSTANCE>(instance), MAKEINTRESOURCEA(resourceId)));
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

}  // namespace vt
