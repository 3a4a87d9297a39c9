// Records the store calls that pass through it (registry, profiles, files, shortcuts and the
// few system queries the pages make) with everything a replay needs to make them again:
// arguments, which out-pointers were given, buffer sizes, data and the result.
#pragma once

#include "platform/ForwardingPlatform.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace vt::bench {

// Each call of the seam, by the name Platform gives it. Of a window or shell call the recorder
// keeps only that it was made: a replay counts it and does not make it again.
enum class Op {
#define VT_PLATFORM_CALL(ret, name, shortName, params, args) name,
#include "platform/PlatformCalls.def"
};

const char* OpName(Op op);

struct RecordedCall {
    Op op{};
    // A predefined root (0x8000000x) or the number of a key an earlier call opened (1, 2...).
    std::uintptr_t key = 0;
    std::uintptr_t opened = 0;  // the number given to the key this call opened
    std::optional<std::string> text[3];
    DWORD number[3] = {0, 0, 0};  // access, type, index, attributes, sizes as given
    std::uint8_t given = 0;       // bit n: out-pointer n was given
    std::vector<BYTE> data;
    long long result = 0;
};

class CallRecorder final : public ForwardingPlatform {
  public:
    explicit CallRecorder(Platform& inner) : ForwardingPlatform(inner) {}

    // Only calls made while recording are kept.
    bool recording = false;
    std::vector<RecordedCall> log;

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
    BOOL MoveFileA(const char* from, const char* to) override;
    BOOL ReadFileBytes(const char* path, std::vector<BYTE>* bytes, DWORD maxBytes) override;
    BOOL WriteFileBytes(const char* path, const std::vector<BYTE>& bytes) override;
    BOOL FlushFile(const char* path) override;
    BOOL LZCopyFileA(const char* from, const char* to) override;
    BOOL CreateShellLink(const char* target, const char* linkFile,
                         const char* workingDirectory) override;
    void GlobalMemoryStatus(MEMORYSTATUS* status) override;
    BOOL GetVersionExA(OSVERSIONINFOA* info) override;
    DWORD GetLastError() override;
    HWND FindWindowA(const char* className, const char* title) override;
    BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL ShellExecuteOpen(HWND owner, const char* verb, const char* file) override;
    BOOL SHGetSpecialFolderPathA(HWND owner, char* path, int folder, BOOL create) override;

  private:
    RecordedCall& Add(Op op, HKEY key = 0);
    std::uintptr_t Number(HKEY key) const;
    // A call that takes one path and answers a number.
    template <class Call>
    auto OnPath(Op op, const char* path, Call call) {
        RecordedCall& record = Add(op);
        record.text[0] = path ? std::optional<std::string>(path) : std::nullopt;
        auto result = call();
        record.result = result;
        return result;
    }
    void Opened(RecordedCall& call, LONG rc, HKEY* result);

    std::map<HKEY, std::uintptr_t> numbers_;  // open keys by handle
    std::uintptr_t next_ = 1;
    RecordedCall scratch_;  // what Add gives back while not recording
};

}  // namespace vt::bench
