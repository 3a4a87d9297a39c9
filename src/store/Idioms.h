// The read and write idioms every settings page uses.
#pragma once

#include "store/BinaryValue.h"
#include "store/TIniFile.h"
#include "store/TRegistry.h"

#include <cstdint>
#include <string>
#include <variant>

namespace vt {

// Guarded reads: the value when it exists and reads cleanly, otherwise the default.
std::string GuardedReadText(TRegistry& reg, const std::string& name,
                            const std::string& defaultValue);
std::int32_t GuardedReadNumber(TRegistry& reg, const std::string& name, std::int32_t defaultValue);
// Fills `buffer` from a binary value; on a missing value or an error it takes the default
// number. A value shorter than 4 bytes replaces only that many bytes.
void GuardedReadBytes(TRegistry& reg, const std::string& name, BinaryValue& buffer,
                      DWORD defaultNumber);

// What a check box writes, by its idiom:
//  - SetOrDelete:  checked writes the on value; unchecked deletes the value;
//  - SetOrRestore: checked writes the on value; unchecked writes the off value only where a
//                  value already exists;
//  - CheckedOnly:  checked writes the on value; unchecked leaves everything alone;
//  - OnOrOff:      checked writes the on value; unchecked writes the off value, always.
enum class WriteIdiom { SetOrDelete, SetOrRestore, CheckedOnly, OnOrOff };

struct Binary {
    DWORD number;
    friend bool operator==(const Binary&, const Binary&) = default;
};
// A registry value as a page gives it: REG_SZ text, REG_DWORD number, or 4-byte binary.
using RegValue = std::variant<std::string, std::int32_t, Binary>;

// Writes one value; a binary value goes through the setting's run-long buffer.
void WriteRegValue(TRegistry& reg, const std::string& name, const RegValue& value,
                   BinaryValue* buffer = nullptr);

void WriteByIdiom(TRegistry& reg, WriteIdiom idiom, bool checked, const std::string& name,
                  const RegValue& on, const RegValue& off, BinaryValue* buffer = nullptr);
void WriteByIdiom(TIniFile& ini, WriteIdiom idiom, bool checked, const std::string& section,
                  const std::string& key, const std::string& on, const std::string& off);

}  // namespace vt
