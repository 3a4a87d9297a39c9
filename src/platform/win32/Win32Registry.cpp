#include "platform/win32/Win32Platform.h"

#include <windows.h>

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

}  // namespace vt
