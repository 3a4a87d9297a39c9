#include "bench/CallRecorder.h"

#include <cstring>

namespace vt::bench {

namespace {

std::optional<std::string> Text(const char* text) {
    return text ? std::optional<std::string>(text) : std::nullopt;
}

bool IsRoot(HKEY key) {
    return key >= HKEY_CLASSES_ROOT && key <= HKEY_USERS;
}

}  // namespace

const char* OpName(Op op) {
    static const char* const names[] = {
#define VT_PLATFORM_CALL(ret, name, shortName, params, args) #name,
#include "platform/PlatformCalls.def"
    };
    return names[static_cast<int>(op)];
}

// A key handle the log has not seen (one opened before recording began) keeps its value:
// the replay cannot open it and its calls fail, which the replay reports.
std::uintptr_t CallRecorder::Number(HKEY key) const {
    if (IsRoot(key)) return key;
    auto found = numbers_.find(key);
    return found == numbers_.end() ? 0 : found->second;
}

RecordedCall& CallRecorder::Add(Op op, HKEY key) {
    if (!recording) {
        scratch_ = RecordedCall{};
        return scratch_;
    }
    RecordedCall& call = log.emplace_back();
    call.op = op;
    call.key = Number(key);
    return call;
}

void CallRecorder::Opened(RecordedCall& call, LONG rc, HKEY* result) {
    call.result = rc;
    if (rc != ERROR_SUCCESS || !result) return;
    if (IsRoot(*result)) {
        call.opened = *result;
        return;
    }
    numbers_[*result] = call.opened = next_++;
}

LONG CallRecorder::RegOpenKeyExA(HKEY key, const char* subKey, REGSAM sam, HKEY* result) {
    RecordedCall& call = Add(Op::RegOpenKeyExA, key);
    call.text[0] = Text(subKey);
    call.number[0] = sam;
    LONG rc = inner_.RegOpenKeyExA(key, subKey, sam, result);
    Opened(call, rc, result);
    return rc;
}

LONG CallRecorder::RegCreateKeyExA(HKEY key, const char* subKey, REGSAM sam, HKEY* result) {
    RecordedCall& call = Add(Op::RegCreateKeyExA, key);
    call.text[0] = Text(subKey);
    call.number[0] = sam;
    LONG rc = inner_.RegCreateKeyExA(key, subKey, sam, result);
    Opened(call, rc, result);
    return rc;
}

LONG CallRecorder::RegQueryValueExA(HKEY key, const char* name, DWORD* type, BYTE* data,
                                    DWORD* size) {
    RecordedCall& call = Add(Op::RegQueryValueExA, key);
    call.text[0] = Text(name);
    call.given = (type ? 1 : 0) | (data ? 2 : 0) | (size ? 4 : 0);
    call.number[0] = size ? *size : 0;
    return static_cast<LONG>(call.result = inner_.RegQueryValueExA(key, name, type, data, size));
}

LONG CallRecorder::RegSetValueExA(HKEY key, const char* name, DWORD type, const BYTE* data,
                                  DWORD size) {
    RecordedCall& call = Add(Op::RegSetValueExA, key);
    call.text[0] = Text(name);
    call.number[0] = type;
    call.number[1] = size;
    call.given = data ? 1 : 0;
    if (data && recording) call.data.assign(data, data + size);
    return static_cast<LONG>(call.result = inner_.RegSetValueExA(key, name, type, data, size));
}

LONG CallRecorder::RegDeleteValueA(HKEY key, const char* name) {
    RecordedCall& call = Add(Op::RegDeleteValueA, key);
    call.text[0] = Text(name);
    return static_cast<LONG>(call.result = inner_.RegDeleteValueA(key, name));
}

LONG CallRecorder::RegDeleteKeyA(HKEY key, const char* subKey) {
    RecordedCall& call = Add(Op::RegDeleteKeyA, key);
    call.text[0] = Text(subKey);
    return static_cast<LONG>(call.result = inner_.RegDeleteKeyA(key, subKey));
}

LONG CallRecorder::RegEnumKeyExA(HKEY key, DWORD index, char* name, DWORD* nameSize) {
    RecordedCall& call = Add(Op::RegEnumKeyExA, key);
    call.number[0] = index;
    call.number[1] = nameSize ? *nameSize : 0;
    return static_cast<LONG>(call.result = inner_.RegEnumKeyExA(key, index, name, nameSize));
}

LONG CallRecorder::RegQueryInfoKeyA(HKEY key, DWORD* subKeys, DWORD* maxSubKeyLen, DWORD* values) {
    RecordedCall& call = Add(Op::RegQueryInfoKeyA, key);
    call.given = (subKeys ? 1 : 0) | (maxSubKeyLen ? 2 : 0) | (values ? 4 : 0);
    return static_cast<LONG>(call.result =
                                 inner_.RegQueryInfoKeyA(key, subKeys, maxSubKeyLen, values));
}

LONG CallRecorder::RegEnumValueA(HKEY key, DWORD index, char* name, DWORD* nameSize, DWORD* type,
                                 BYTE* data, DWORD* dataSize) {
    RecordedCall& call = Add(Op::RegEnumValueA, key);
    call.number[0] = index;
    call.number[1] = nameSize ? *nameSize : 0;
    call.number[2] = dataSize ? *dataSize : 0;
    call.given = (type ? 1 : 0) | (data ? 2 : 0) | (dataSize ? 4 : 0);
    return static_cast<LONG>(
        call.result = inner_.RegEnumValueA(key, index, name, nameSize, type, data, dataSize));
}

LONG CallRecorder::RegCloseKey(HKEY key) {
    RecordedCall& call = Add(Op::RegCloseKey, key);
    LONG rc = inner_.RegCloseKey(key);
    call.result = rc;
    if (rc == ERROR_SUCCESS) numbers_.erase(key);
    return rc;
}

LONG CallRecorder::RegFlushKey(HKEY key) {
    RecordedCall& call = Add(Op::RegFlushKey, key);
    return static_cast<LONG>(call.result = inner_.RegFlushKey(key));
}

DWORD CallRecorder::GetPrivateProfileStringA(const char* section, const char* key,
                                             const char* defaultValue, char* buffer, DWORD size,
                                             const char* fileName) {
    RecordedCall& call = Add(Op::GetPrivateProfileStringA);
    call.text[0] = Text(section);
    call.text[1] = Text(key);
    call.text[2] = Text(fileName);
    call.given = defaultValue ? 1 : 0;
    if (defaultValue && recording)
        call.data.assign(defaultValue, defaultValue + std::strlen(defaultValue));
    call.number[0] = size;
    return static_cast<DWORD>(call.result = inner_.GetPrivateProfileStringA(
                                  section, key, defaultValue, buffer, size, fileName));
}

BOOL CallRecorder::WritePrivateProfileStringA(const char* section, const char* key,
                                              const char* value, const char* fileName) {
    RecordedCall& call = Add(Op::WritePrivateProfileStringA);
    call.text[0] = Text(section);
    call.text[1] = Text(key);
    call.text[2] = Text(fileName);
    call.given = value ? 1 : 0;
    if (value && recording) call.data.assign(value, value + std::strlen(value));
    return static_cast<BOOL>(call.result =
                                 inner_.WritePrivateProfileStringA(section, key, value, fileName));
}

UINT CallRecorder::GetWindowsDirectoryA(char* buffer, UINT size) {
    RecordedCall& call = Add(Op::GetWindowsDirectoryA);
    call.number[0] = size;
    return static_cast<UINT>(call.result = inner_.GetWindowsDirectoryA(buffer, size));
}

DWORD CallRecorder::GetCurrentDirectoryA(DWORD size, char* buffer) {
    RecordedCall& call = Add(Op::GetCurrentDirectoryA);
    call.number[0] = size;
    return static_cast<DWORD>(call.result = inner_.GetCurrentDirectoryA(size, buffer));
}

BOOL CallRecorder::SetCurrentDirectoryA(const char* path) {
    return OnPath(Op::SetCurrentDirectoryA, path,
                  [&] { return inner_.SetCurrentDirectoryA(path); });
}

DWORD CallRecorder::GetFileAttributesA(const char* path) {
    return OnPath(Op::GetFileAttributesA, path, [&] { return inner_.GetFileAttributesA(path); });
}

BOOL CallRecorder::SetFileAttributesA(const char* path, DWORD attributes) {
    RecordedCall& call = Add(Op::SetFileAttributesA);
    call.text[0] = Text(path);
    call.number[0] = attributes;
    return static_cast<BOOL>(call.result = inner_.SetFileAttributesA(path, attributes));
}

BOOL CallRecorder::DeleteFileA(const char* path) {
    return OnPath(Op::DeleteFileA, path, [&] { return inner_.DeleteFileA(path); });
}

BOOL CallRecorder::CreateDirectoryA(const char* path) {
    return OnPath(Op::CreateDirectoryA, path, [&] { return inner_.CreateDirectoryA(path); });
}

BOOL CallRecorder::RemoveDirectoryA(const char* path) {
    return OnPath(Op::RemoveDirectoryA, path, [&] { return inner_.RemoveDirectoryA(path); });
}

BOOL CallRecorder::CopyFileA(const char* from, const char* to, BOOL failIfExists) {
    RecordedCall& call = Add(Op::CopyFileA);
    call.text[0] = Text(from);
    call.text[1] = Text(to);
    call.number[0] = static_cast<DWORD>(failIfExists);
    return static_cast<BOOL>(call.result = inner_.CopyFileA(from, to, failIfExists));
}

BOOL CallRecorder::MoveFileA(const char* from, const char* to) {
    RecordedCall& call = Add(Op::MoveFileA);
    call.text[0] = Text(from);
    call.text[1] = Text(to);
    return static_cast<BOOL>(call.result = inner_.MoveFileA(from, to));
}

BOOL CallRecorder::ReadFileBytes(const char* path, std::vector<BYTE>* bytes, DWORD maxBytes) {
    return OnPath(Op::ReadFileBytes, path,
                  [&] { return inner_.ReadFileBytes(path, bytes, maxBytes); });
}

BOOL CallRecorder::WriteFileBytes(const char* path, const std::vector<BYTE>& bytes) {
    RecordedCall& call = Add(Op::WriteFileBytes);
    call.text[0] = Text(path);
    if (recording) call.data = bytes;
    return static_cast<BOOL>(call.result = inner_.WriteFileBytes(path, bytes));
}

BOOL CallRecorder::FlushFile(const char* path) {
    return OnPath(Op::FlushFile, path, [&] { return inner_.FlushFile(path); });
}

BOOL CallRecorder::LZCopyFileA(const char* from, const char* to) {
    RecordedCall& call = Add(Op::LZCopyFileA);
    call.text[0] = Text(from);
    call.text[1] = Text(to);
    return static_cast<BOOL>(call.result = inner_.LZCopyFileA(from, to));
}

BOOL CallRecorder::CreateShellLink(const char* target, const char* linkFile,
                                   const char* workingDirectory) {
    RecordedCall& call = Add(Op::CreateShellLink);
    call.text[0] = Text(target);
    call.text[1] = Text(linkFile);
    call.text[2] = Text(workingDirectory);
    return static_cast<BOOL>(call.result =
                                 inner_.CreateShellLink(target, linkFile, workingDirectory));
}

void CallRecorder::GlobalMemoryStatus(MEMORYSTATUS* status) {
    Add(Op::GlobalMemoryStatus);
    inner_.GlobalMemoryStatus(status);
}

BOOL CallRecorder::GetVersionExA(OSVERSIONINFOA* info) {
    RecordedCall& call = Add(Op::GetVersionExA);
    return static_cast<BOOL>(call.result = inner_.GetVersionExA(info));
}

DWORD CallRecorder::GetLastError() {
    Add(Op::GetLastError);
    return inner_.GetLastError();
}

HWND CallRecorder::FindWindowA(const char* className, const char* title) {
    Add(Op::FindWindowA);
    return inner_.FindWindowA(className, title);
}

BOOL CallRecorder::PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Add(Op::PostMessageA);
    return inner_.PostMessageA(window, message, wParam, lParam);
}

BOOL CallRecorder::ShellExecuteOpen(HWND owner, const char* verb, const char* file) {
    Add(Op::ShellExecuteOpen);
    return inner_.ShellExecuteOpen(owner, verb, file);
}

BOOL CallRecorder::SHGetSpecialFolderPathA(HWND owner, char* path, int folder, BOOL create) {
    Add(Op::SHGetSpecialFolderPathA);
    return inner_.SHGetSpecialFolderPathA(owner, path, folder, create);
}

}  // namespace vt::bench
