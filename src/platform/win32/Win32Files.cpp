#include "platform/win32/Win32Platform.h"

#include <windows.h>
#include <lzexpand.h>

// Written out here: inside namespace vt, the macro's cast would name vt::HANDLE.
static const ::HANDLE kNoFile = INVALID_HANDLE_VALUE;

namespace vt {

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

DWORD Win32Platform::GetFullPathNameA(const char* path, DWORD size, char* buffer) {
    char* filePart = nullptr;
    return ::GetFullPathNameA(path, size, buffer, &filePart);
}

DWORD Win32Platform::GetShortPathNameA(const char* longPath, char* buffer, DWORD size) {
    return ::GetShortPathNameA(longPath, buffer, size);
}

BOOL Win32Platform::GetVolumeInformationA(const char* root, DWORD* serialNumber) {
    ::DWORD serial = 0, longestName = 0, flags = 0;
    BOOL ok = ::GetVolumeInformationA(root, nullptr, 0, &serial, &longestName, &flags, nullptr, 0);
    if (ok && serialNumber) *serialNumber = serial;
    return ok;
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

namespace {

// Writes the bytes, puts them on disk and closes the file, keeping the error of the first
// step that failed. A write that stops short is a full disk.
BOOL WriteFlushAndClose(::HANDLE file, const std::vector<BYTE>& bytes) {
    ::DWORD written = 0;
    BOOL ok =
        ::WriteFile(file, bytes.data(), static_cast<::DWORD>(bytes.size()), &written, nullptr);
    if (ok && written != bytes.size()) {
        ok = FALSE;
        ::SetLastError(ERROR_DISK_FULL);
    }
    ok = ok && ::FlushFileBuffers(file);
    ::DWORD error = ::GetLastError();
    ::CloseHandle(file);
    ::SetLastError(error);
    return ok;
}

}  // namespace

// An existing hidden or system file is opened with those attributes: CreateFileA refuses
// CREATE_ALWAYS with FILE_ATTRIBUTE_NORMAL on it. A write that stops short is a full disk.
BOOL Win32Platform::WriteFileBytes(const char* path, const std::vector<BYTE>& bytes) {
    constexpr ::DWORD kKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    ::DWORD attributes = ::GetFileAttributesA(path);
    ::DWORD create = attributes != INVALID_FILE_ATTRIBUTES && (attributes & kKept)
                         ? (attributes & (kKept | FILE_ATTRIBUTE_ARCHIVE))
                         : FILE_ATTRIBUTE_NORMAL;
    ::HANDLE file = ::CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, create, nullptr);
    if (file == kNoFile) return FALSE;
    return WriteFlushAndClose(file, bytes);
}

BOOL Win32Platform::AppendFileBytes(const char* path, const std::vector<BYTE>& bytes) {
    ::HANDLE file =
        ::CreateFileA(path, GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == kNoFile) return FALSE;
    if (::SetFilePointer(file, 0, nullptr, FILE_END) == INVALID_SET_FILE_POINTER) {
        ::DWORD error = ::GetLastError();
        ::CloseHandle(file);
        ::SetLastError(error);
        return FALSE;
    }
    return WriteFlushAndClose(file, bytes);
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

}  // namespace vt
