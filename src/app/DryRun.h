// "/check": the write pass run against the machine as it is, with nothing written. Every
// change the pages make is kept in memory and read back from there, so that the pass goes as
// it would; the machine itself is only read.
#pragma once

#include "platform/ForwardingPlatform.h"
#include "store/Regedit4.h"

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace vt {

class DryRunPlatform final : public ForwardingPlatform {
  public:
    explicit DryRunPlatform(Platform& inner) : ForwardingPlatform(inner), inner_(inner) {}

    // Each stored value the pass would change, as a restore point's log names it:
    // "HKEY_...\path\name: before -> after", "C:\MSDOS.SYS [Options] BootMenu: 0 -> 1".
    std::vector<std::string> Changes();

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
    LONG RegFlushKey(HKEY) override { return ERROR_SUCCESS; }
    DWORD GetPrivateProfileStringA(const char* section, const char* key, const char* defaultValue,
                                   char* buffer, DWORD size, const char* fileName) override;
    BOOL WritePrivateProfileStringA(const char* section, const char* key, const char* value,
                                    const char* fileName) override;
    DWORD GetFileAttributesA(const char* path) override;
    BOOL SetFileAttributesA(const char* path, DWORD attributes) override;
    BOOL DeleteFileA(const char* path) override;
    BOOL CreateDirectoryA(const char* path) override;
    BOOL RemoveDirectoryA(const char* path) override;
    BOOL CopyFileA(const char* from, const char* to, BOOL failIfExists) override;
    BOOL MoveFileA(const char* from, const char* to) override;
    BOOL ReadFileBytes(const char* path, std::vector<BYTE>* bytes, DWORD maxBytes) override;
    BOOL WriteFileBytes(const char* path, const std::vector<BYTE>& bytes) override;
    BOOL FlushFile(const char*) override { return TRUE; }
    BOOL LZCopyFileA(const char* from, const char* to) override;
    BOOL PostMessageA(HWND, UINT, WPARAM, LPARAM) override { return TRUE; }
    BOOL ExitWindowsEx(UINT) override { return TRUE; }
    BOOL SetSystemPowerState(BOOL, BOOL) override { return TRUE; }
    BOOL CreateShellLink(const char* target, const char* linkFile,
                         const char* workingDirectory) override;
    BOOL ShellExecuteOpen(HWND, const char*, const char*) override { return TRUE; }
    DWORD GetLastError() override { return lastError_ ? *lastError_ : inner_.GetLastError(); }

  private:
    struct Key {
        HKEY root = 0;
        std::string path;  // below the root
    };
    std::optional<Key> KeyOf(HKEY key, const char* subKey) const;
    static std::string Id(const Key& key);
    bool Gone(const Key& key) const;  // deleted by the pass, not made again
    HKEY Made(const Key& key);
    std::string WholePath(const char* fileName);
    std::optional<std::vector<BYTE>> FileNow(const std::string& path);
    BOOL Answer(BOOL ok, DWORD error = ERROR_SUCCESS);

    Platform& inner_;
    std::map<HKEY, Key> handles_;                                    // every open key's name
    std::set<HKEY> own_;                                             // keys only the pass made
    std::map<std::string, Key> madeKeys_;                            // by Id
    std::set<std::string> goneKeys_;                                 // by Id
    std::map<std::string, std::pair<Key, std::string>> valueNames_;  // by Id + "\n" + NAME
    std::map<std::string, std::optional<regedit4::Data>> values_;
    // INI values by file, "SECTION\nKEY", and the names as written.
    struct IniValue {
        std::string section, key;
        std::optional<std::string> value;
    };
    std::map<std::string, std::map<std::string, IniValue>> ini_;
    std::map<std::string, std::optional<std::vector<BYTE>>> files_;  // by upper-case path
    std::map<std::string, std::string> fileNames_;                   // as first written
    std::map<std::string, DWORD> attributes_;
    std::map<std::string, std::string> folderNames_;  // made or removed, as first named
    std::optional<DWORD> lastError_;
    std::uintptr_t nextHandle_ = 0x7F5E0000;
};

}  // namespace vt
