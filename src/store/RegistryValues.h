// Registry values read and written whole: texts and numbers with their fallbacks, a number
// kept in the type it was found with, a value written creating its key.
#pragma once

#include "platform/Platform.h"
#include "store/Idioms.h"
#include "store/TRegistry.h"

#include <cstdint>
#include <optional>
#include <string>

namespace vt {

// Selects the root and opens the key below it: the read pass never creates keys, the write
// pass does.
bool OpenKey(TRegistry& reg, HKEY root, const std::string& path, bool canCreate);

// A registry text value read without creating the key; `fallback` when missing or unreadable.
std::string ReadRegistryText(Platform& sys, HKEY root, const std::string& path,
                             const std::string& name, const std::string& fallback);
bool HasRegistryValue(Platform& sys, HKEY root, const std::string& path, const std::string& name);
std::int32_t ReadRegistryNumber(Platform& sys, HKEY root, const std::string& path,
                                const std::string& name, std::int32_t fallback);
// A number stored as REG_DWORD or as binary of at most four bytes, with the type found.
struct StoredNumber {
    std::int32_t value;
    std::optional<DWORD> type;  // nothing: missing or unreadable, `value` is the fallback
    bool operator==(const StoredNumber&) const = default;
};
StoredNumber ReadRegistryNumberOfEitherType(Platform& sys, HKEY root, const std::string& path,
                                            const std::string& name, std::int32_t fallback);
// Writes the number keeping the type it was found with; a new value is a REG_DWORD.
void WriteRegistryNumberAs(Platform& sys, HKEY root, const std::string& path,
                           const std::string& name, const StoredNumber& number);

// Writes a registry value, creating the key.
void WriteRegistryValue(Platform& sys, HKEY root, const std::string& path, const std::string& name,
                        const RegValue& value, BinaryValue* buffer = nullptr);

}  // namespace vt
