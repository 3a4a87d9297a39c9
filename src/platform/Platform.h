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
    virtual LONG RegCloseKey(HKEY key) = 0;

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
    // Whole-file access (CreateFileA + ReadFile / WriteFile + CloseHandle).
    virtual BOOL ReadFileBytes(const char* path, std::vector<BYTE>* bytes) = 0;
    // Creates or truncates the file.
    virtual BOOL WriteFileBytes(const char* path, const std::vector<BYTE>& bytes) = 0;

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

    // System information.
    virtual void GlobalMemoryStatus(MEMORYSTATUS* status) = 0;
    virtual BOOL GetVersionExA(OSVERSIONINFOA* info) = 0;

    virtual DWORD GetLastError() = 0;
};

}  // namespace vt
