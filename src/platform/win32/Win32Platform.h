// The platform seam on real Windows: each call passes straight through.
#pragma once

#include "platform/Platform.h"

namespace vt {

class Win32Platform final : public Platform {
  public:
    LONG RegOpenKeyExA(HKEY key, const char* subKey, REGSAM sam, HKEY* result) override;
    LONG RegCreateKeyExA(HKEY key, const char* subKey, REGSAM sam, HKEY* result) override;
    LONG RegQueryValueExA(HKEY key, const char* name, DWORD* type, BYTE* data,
                          DWORD* size) override;
    LONG RegSetValueExA(HKEY key, const char* name, DWORD type, const BYTE* data,
                        DWORD size) override;
    LONG RegDeleteValueA(HKEY key, const char* name) override;
    LONG RegDeleteKeyA(HKEY key, const char* subKey) override;
    LONG RegEnumKeyExA(HKEY key, DWORD index, char* name, DWORD* nameSize) override;
    LONG RegQueryInfoKeyA(HKEY key, DWORD* subKeys, DWORD* maxSubKeyLen, DWORD* values) override;
    LONG RegEnumValueA(HKEY key, DWORD index, char* name, DWORD* nameSize, DWORD* type, BYTE* data,
                       DWORD* dataSize) override;
    LONG RegCloseKey(HKEY key) override;
    LONG RegFlushKey(HKEY key) override;

    DWORD GetPrivateProfileStringA(const char* section, const char* key, const char* defaultValue,
                                   char* buffer, DWORD size, const char* fileName) override;
    BOOL WritePrivateProfileStringA(const char* section, const char* key, const char* value,
                                    const char* fileName) override;

    UINT GetWindowsDirectoryA(char* buffer, UINT size) override;
    DWORD GetCurrentDirectoryA(DWORD size, char* buffer) override;
    BOOL SetCurrentDirectoryA(const char* path) override;
    DWORD GetFileAttributesA(const char* path) override;
    BOOL SetFileAttributesA(const char* path, DWORD attributes) override;
    BOOL DeleteFileA(const char* path) override;
    BOOL CreateDirectoryA(const char* path) override;
    BOOL RemoveDirectoryA(const char* path) override;
    BOOL CopyFileA(const char* from, const char* to, BOOL failIfExists) override;
    BOOL ReadFileBytes(const char* path, std::vector<BYTE>* bytes, DWORD maxBytes) override;
    BOOL WriteFileBytes(const char* path, const std::vector<BYTE>& bytes) override;
    BOOL FlushFile(const char* path) override;

    BOOL MoveFileA(const char* from, const char* to) override;
    BOOL LZCopyFileA(const char* from, const char* to) override;

    HWND FindWindowA(const char* className, const char* title) override;
    BOOL IsWindowVisible(HWND window) override;
    BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL ExitWindowsEx(UINT flags) override;
    HANDLE CreateMutexA(const char* name) override;
    BOOL ShowWindow(HWND window, int command) override;
    BOOL SetForegroundWindow(HWND window) override;

    BOOL Shell_NotifyIconA(DWORD message, const NOTIFYICONDATAA* data) override;
    HINSTANCE GetModuleHandleA(const char* moduleName) override;
    HICON LoadIconA(HINSTANCE instance, UINT resourceId) override;

    BOOL GetCursorPos(POINT* point) override;
    int GetSystemMetrics(int index) override;
    HMENU CreatePopupMenu() override;
    BOOL AppendMenuA(HMENU menu, UINT flags, UINT id, const char* text) override;
    BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, HWND owner) override;
    BOOL DestroyMenu(HMENU menu) override;

    BOOL SetSystemPowerState(BOOL suspend, BOOL force) override;

    BOOL CreateShellLink(const char* target, const char* linkFile,
                         const char* workingDirectory) override;
    BOOL ShellExecuteOpen(HWND owner, const char* verb, const char* file) override;
    BOOL SHGetSpecialFolderPathA(HWND owner, char* path, int folder, BOOL create) override;

    void GlobalMemoryStatus(MEMORYSTATUS* status) override;
    BOOL GetVersionExA(OSVERSIONINFOA* info) override;

    DWORD GetLastError() override;
};

}  // namespace vt
