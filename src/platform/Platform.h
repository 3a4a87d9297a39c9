// The platform seam: every operating-system call the program makes, shaped after the
// Win32 function it stands for. Win32Platform passes straight through to Windows;
// FakePlatform is an in-memory Windows 98 machine for tests.
#pragma once

#include "platform/WinTypes.h"

#include <vector>

namespace vt {

class Platform {
  public:
    virtual ~Platform() = default;

    // Registry. Sub-key paths use backslashes; names compare without case. A path starting
    // with a backslash is refused (ERROR_BAD_PATHNAME). A predefined root opened with an
    // empty path answers the root itself.
    virtual LONG RegOpenKeyExA(HKEY key, const char* subKey, REGSAM sam, HKEY* result) = 0;
    // Creates the key and any missing parents; one leading backslash is ignored.
    virtual LONG RegCreateKeyExA(HKEY key, const char* subKey, REGSAM sam, HKEY* result) = 0;
    // data may be null to ask for the type and size only; a buffer that is too small
    // answers ERROR_MORE_DATA with *size set to the size needed. name null or "" is the
    // default value.
    virtual LONG RegQueryValueExA(HKEY key, const char* name, DWORD* type, BYTE* data,
                                  DWORD* size) = 0;
    // REG_SZ is stored up to its first NUL, NUL included, whatever `size` says; null data
    // is refused. Every other type is stored with exactly `size` bytes.
    virtual LONG RegSetValueExA(HKEY key, const char* name, DWORD type, const BYTE* data,
                                DWORD size) = 0;
    virtual LONG RegDeleteValueA(HKEY key, const char* name) = 0;
    // "" deletes `key` itself. Not every sub-key is always deleted along (see the fake), so
    // delete children first.
    virtual LONG RegDeleteKeyA(HKEY key, const char* subKey) = 0;
    // *nameSize: in, the buffer size; out, the name's length without its NUL.
    virtual LONG RegEnumKeyExA(HKEY key, DWORD index, char* name, DWORD* nameSize) = 0;
    virtual LONG RegQueryInfoKeyA(HKEY key, DWORD* subKeys, DWORD* maxSubKeyLen, DWORD* values) = 0;
    // The index-th value: *nameSize as for RegEnumKeyExA; type, data and dataSize as for
    // RegQueryValueExA (each may be null).
    virtual LONG RegEnumValueA(HKEY key, DWORD index, char* name, DWORD* nameSize, DWORD* type,
                               BYTE* data, DWORD* dataSize) = 0;
    virtual LONG RegCloseKey(HKEY key) = 0;
    // Writes the key's hive to disk now; until then a power loss may take back what was
    // written to it.
    virtual LONG RegFlushKey(HKEY key) = 0;

    // Private-profile files. A bare file name lives in the Windows directory.
    // key null: the section's key names, each NUL-terminated, then one more NUL.
    virtual DWORD GetPrivateProfileStringA(const char* section, const char* key,
                                           const char* defaultValue, char* buffer, DWORD size,
                                           const char* fileName) = 0;
    // value null deletes the key; key null deletes the section. Fails for a folder ("" is the
    // Windows directory), a missing folder, a read-only file (even when nothing would change)
    // and a null section.
    virtual BOOL WritePrivateProfileStringA(const char* section, const char* key, const char* value,
                                            const char* fileName) = 0;

    // Files and folders.
    virtual UINT GetWindowsDirectoryA(char* buffer, UINT size) = 0;
    virtual DWORD GetCurrentDirectoryA(DWORD size, char* buffer) = 0;
    virtual BOOL SetCurrentDirectoryA(const char* path) = 0;
    virtual DWORD GetFileAttributesA(const char* path) = 0;
    virtual BOOL SetFileAttributesA(const char* path, DWORD attributes) = 0;
    virtual BOOL DeleteFileA(const char* path) = 0;
    virtual BOOL CreateDirectoryA(const char* path) = 0;
    virtual BOOL RemoveDirectoryA(const char* path) = 0;
    virtual BOOL CopyFileA(const char* from, const char* to, BOOL failIfExists) = 0;
    // Renames a file, attributes kept; fails when `to` exists (ERROR_ALREADY_EXISTS).
    virtual BOOL MoveFileA(const char* from, const char* to) = 0;
    // Whole-file access (CreateFileA + ReadFile / WriteFile + CloseHandle). A file longer
    // than `maxBytes` is not read: ERROR_FILE_TOO_LARGE.
    virtual BOOL ReadFileBytes(const char* path, std::vector<BYTE>* bytes, DWORD maxBytes) = 0;
    // Creates or truncates the file; returns once the bytes are on disk (FlushFileBuffers).
    virtual BOOL WriteFileBytes(const char* path, const std::vector<BYTE>& bytes) = 0;
    // Puts what was written to an existing file on disk (CreateFileA for writing,
    // FlushFileBuffers, CloseHandle): a profile file after its cache was flushed.
    virtual BOOL FlushFile(const char* path) = 0;

    // Copies a file, expanding one in the LZ-compressed format (LZOpenFileA, LZCopy,
    // LZClose); a plain file is copied byte for byte.
    virtual BOOL LZCopyFileA(const char* from, const char* to) = 0;

    // Windows of other processes, messages and the session.
    virtual HWND FindWindowA(const char* className, const char* title) = 0;
    virtual BOOL IsWindowVisible(HWND window) = 0;
    virtual BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;
    virtual BOOL ExitWindowsEx(UINT flags) = 0;
    // A named mutex, not owned (CreateMutexA without security attributes). When another
    // process or an earlier call made it, GetLastError() answers ERROR_ALREADY_EXISTS.
    // There is no call to close it: the handle lives as long as the process.
    virtual HANDLE CreateMutexA(const char* name) = 0;
    virtual BOOL ShowWindow(HWND window, int command) = 0;
    virtual BOOL SetForegroundWindow(HWND window) = 0;

    // The notification area: the icon `data` names (owner window and identifier). NIM_ADD of
    // an icon already there, NIM_MODIFY and NIM_DELETE of one that is not, fail; without a
    // notification area every call fails.
    virtual BOOL Shell_NotifyIconA(DWORD message, const NOTIFYICONDATAA* data) = 0;
    // The module's own handle (GetModuleHandleA(nullptr)) and an icon of its resources.
    virtual HINSTANCE GetModuleHandleA(const char* moduleName) = 0;
    virtual HICON LoadIconA(HINSTANCE instance, UINT resourceId) = 0;

    // Popup menus, the cursor and the metrics they are placed by.
    virtual BOOL GetCursorPos(POINT* point) = 0;
    virtual int GetSystemMetrics(int index) = 0;
    virtual HMENU CreatePopupMenu() = 0;
    virtual BOOL AppendMenuA(HMENU menu, UINT flags, UINT id, const char* text) = 0;
    // Shows the menu and returns when it closes. With TPM_RETURNCMD: the chosen item's id, or
    // 0 when the user chose nothing.
    virtual BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, HWND owner) = 0;
    virtual BOOL DestroyMenu(HMENU menu) = 0;

    // Power: suspend (TRUE) or hibernate (FALSE), asking the other programs unless forced.
    virtual BOOL SetSystemPowerState(BOOL suspend, BOOL force) = 0;

    // The shell: a shortcut saved through the shell link object (IShellLinkA SetPath and
    // SetWorkingDirectory, IPersistFile Save); answers whether it was saved.
    virtual BOOL CreateShellLink(const char* target, const char* linkFile,
                                 const char* workingDirectory) = 0;
    // ShellExecuteA(owner, verb, file, no parameters, no directory, SW_SHOW); answers whether
    // the shell took it. The owner window gets any message box the shell shows.
    virtual BOOL ShellExecuteOpen(HWND owner, const char* verb, const char* file) = 0;
    // Where the shell keeps one of the user's folders (CSIDL_DESKTOPDIRECTORY, CSIDL_PROGRAMS,
    // CSIDL_STARTMENU, CSIDL_APPDATA): SHGetSpecialFolderPathA of SHELL32 4.71 and later, which
    // reads the "User Shell Folders" of the user's registry. `path` has room for MAX_PATH
    // characters; `create` makes a missing folder. FALSE when the shell cannot say.
    virtual BOOL SHGetSpecialFolderPathA(HWND owner, char* path, int folder, BOOL create) = 0;

    // System information.
    virtual void GlobalMemoryStatus(MEMORYSTATUS* status) = 0;
    virtual BOOL GetVersionExA(OSVERSIONINFOA* info) = 0;

    virtual DWORD GetLastError() = 0;
};

}  // namespace vt
