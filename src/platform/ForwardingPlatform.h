// A platform that passes every call on to another one: the base of the platforms that watch
// or change some calls on their way (the restore journal, the benchmarks' recorder).
#pragma once

#include "platform/Platform.h"

namespace vt {

class ForwardingPlatform : public Platform {
  public:
    explicit ForwardingPlatform(Platform& inner) : inner_(inner) {}

    LONG RegOpenKeyExA(HKEY key, const char* subKey, REGSAM sam, HKEY* result) override {
        return inner_.RegOpenKeyExA(key, subKey, sam, result);
    }
    LONG RegCreateKeyExA(HKEY key, const char* subKey, REGSAM sam, HKEY* result) override {
        return inner_.RegCreateKeyExA(key, subKey, sam, result);
    }
    LONG RegQueryValueExA(HKEY key, const char* name, DWORD* type, BYTE* data,
                          DWORD* size) override {
        return inner_.RegQueryValueExA(key, name, type, data, size);
    }
    LONG RegSetValueExA(HKEY key, const char* name, DWORD type, const BYTE* data,
                        DWORD size) override {
        return inner_.RegSetValueExA(key, name, type, data, size);
    }
    LONG RegDeleteValueA(HKEY key, const char* name) override {
        return inner_.RegDeleteValueA(key, name);
    }
    LONG RegDeleteKeyA(HKEY key, const char* subKey) override {
        return inner_.RegDeleteKeyA(key, subKey);
    }
    LONG RegEnumKeyExA(HKEY key, DWORD index, char* name, DWORD* nameSize) override {
        return inner_.RegEnumKeyExA(key, index, name, nameSize);
    }
    LONG RegQueryInfoKeyA(HKEY key, DWORD* subKeys, DWORD* maxSubKeyLen, DWORD* values) override {
        return inner_.RegQueryInfoKeyA(key, subKeys, maxSubKeyLen, values);
    }
    LONG RegEnumValueA(HKEY key, DWORD index, char* name, DWORD* nameSize, DWORD* type, BYTE* data,
                       DWORD* dataSize) override {
        return inner_.RegEnumValueA(key, index, name, nameSize, type, data, dataSize);
    }
    LONG RegCloseKey(HKEY key) override { return inner_.RegCloseKey(key); }
    LONG RegFlushKey(HKEY key) override { return inner_.RegFlushKey(key); }
    DWORD GetPrivateProfileStringA(const char* section, const char* key, const char* defaultValue,
                                   char* buffer, DWORD size, const char* fileName) override {
        return inner_.GetPrivateProfileStringA(section, key, defaultValue, buffer, size, fileName);
    }
    BOOL WritePrivateProfileStringA(const char* section, const char* key, const char* value,
                                    const char* fileName) override {
        return inner_.WritePrivateProfileStringA(section, key, value, fileName);
    }
    UINT GetWindowsDirectoryA(char* buffer, UINT size) override {
        return inner_.GetWindowsDirectoryA(buffer, size);
    }
    DWORD GetCurrentDirectoryA(DWORD size, char* buffer) override {
        return inner_.GetCurrentDirectoryA(size, buffer);
    }
    BOOL SetCurrentDirectoryA(const char* path) override {
        return inner_.SetCurrentDirectoryA(path);
    }
    DWORD GetFileAttributesA(const char* path) override { return inner_.GetFileAttributesA(path); }
    BOOL SetFileAttributesA(const char* path, DWORD attributes) override {
        return inner_.SetFileAttributesA(path, attributes);
    }
    BOOL DeleteFileA(const char* path) override { return inner_.DeleteFileA(path); }
    BOOL CreateDirectoryA(const char* path) override { return inner_.CreateDirectoryA(path); }
    BOOL RemoveDirectoryA(const char* path) override { return inner_.RemoveDirectoryA(path); }
    BOOL CopyFileA(const char* from, const char* to, BOOL failIfExists) override {
        return inner_.CopyFileA(from, to, failIfExists);
    }
    BOOL ReadFileBytes(const char* path, std::vector<BYTE>* bytes, DWORD maxBytes) override {
        return inner_.ReadFileBytes(path, bytes, maxBytes);
    }
    BOOL WriteFileBytes(const char* path, const std::vector<BYTE>& bytes) override {
        return inner_.WriteFileBytes(path, bytes);
    }
    BOOL FlushFile(const char* path) override { return inner_.FlushFile(path); }
    BOOL MoveFileA(const char* from, const char* to) override { return inner_.MoveFileA(from, to); }
    BOOL LZCopyFileA(const char* from, const char* to) override {
        return inner_.LZCopyFileA(from, to);
    }
    HWND FindWindowA(const char* className, const char* title) override {
        return inner_.FindWindowA(className, title);
    }
    BOOL IsWindowVisible(HWND window) override { return inner_.IsWindowVisible(window); }
    BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override {
        return inner_.PostMessageA(window, message, wParam, lParam);
    }
    BOOL ExitWindowsEx(UINT flags) override { return inner_.ExitWindowsEx(flags); }
    HANDLE CreateMutexA(const char* name) override { return inner_.CreateMutexA(name); }
    BOOL ShowWindow(HWND window, int command) override {
        return inner_.ShowWindow(window, command);
    }
    BOOL SetForegroundWindow(HWND window) override { return inner_.SetForegroundWindow(window); }
    BOOL Shell_NotifyIconA(DWORD message, const NOTIFYICONDATAA* data) override {
        return inner_.Shell_NotifyIconA(message, data);
    }
    HINSTANCE GetModuleHandleA(const char* moduleName) override {
        return inner_.GetModuleHandleA(moduleName);
    }
    HICON LoadIconA(HINSTANCE instance, UINT resourceId) override {
        return inner_.LoadIconA(instance, resourceId);
    }
    BOOL GetCursorPos(POINT* point) override { return inner_.GetCursorPos(point); }
    int GetSystemMetrics(int index) override { return inner_.GetSystemMetrics(index); }
    HMENU CreatePopupMenu() override { return inner_.CreatePopupMenu(); }
    BOOL AppendMenuA(HMENU menu, UINT flags, UINT id, const char* text) override {
        return inner_.AppendMenuA(menu, flags, id, text);
    }
    BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, HWND owner) override {
        return inner_.TrackPopupMenu(menu, flags, x, y, owner);
    }
    BOOL DestroyMenu(HMENU menu) override { return inner_.DestroyMenu(menu); }
    BOOL SetSystemPowerState(BOOL suspend, BOOL force) override {
        return inner_.SetSystemPowerState(suspend, force);
    }
    BOOL CreateShellLink(const char* target, const char* linkFile,
                         const char* workingDirectory) override {
        return inner_.CreateShellLink(target, linkFile, workingDirectory);
    }
    BOOL ShellExecuteOpen(HWND owner, const char* verb, const char* file) override {
        return inner_.ShellExecuteOpen(owner, verb, file);
    }
    BOOL SHGetSpecialFolderPathA(HWND owner, char* path, int folder, BOOL create) override {
        return inner_.SHGetSpecialFolderPathA(owner, path, folder, create);
    }
    void GlobalMemoryStatus(MEMORYSTATUS* status) override { inner_.GlobalMemoryStatus(status); }
    BOOL GetVersionExA(OSVERSIONINFOA* info) override { return inner_.GetVersionExA(info); }
    DWORD GetLastError() override { return inner_.GetLastError(); }

  protected:
    Platform& inner_;
};

}  // namespace vt
