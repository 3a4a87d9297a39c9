#include "store/Idioms.h"

#include "store/StoreError.h"

namespace vt {

std::string GuardedReadText(TRegistry& reg, const std::string& name,
                            const std::string& defaultValue) {
    if (!reg.HasValue(name)) return defaultValue;
    try {
        return reg.ReadText(name);
    } catch (const StoreError&) {
        return defaultValue;
    }
}

std::int32_t GuardedReadNumber(TRegistry& reg, const std::string& name, std::int32_t defaultValue) {
    if (!reg.HasValue(name)) return defaultValue;
    try {
        return reg.ReadNumber(name);
    } catch (const StoreError&) {
        return defaultValue;
    }
}

void GuardedReadBytes(TRegistry& reg, const std::string& name, BinaryValue& buffer,
                      DWORD defaultNumber) {
    if (!reg.HasValue(name)) {
        buffer.SetNumber(defaultNumber);
        return;
    }
    try {
        reg.ReadBytes(name, buffer.Data(), BinaryValue::kSize);
    } catch (const StoreError&) {
        buffer.SetNumber(defaultNumber);
    }
}

void WriteRegValue(TRegistry& reg, const std::string& name, const RegValue& value,
                   BinaryValue* buffer) {
    if (const auto* text = std::get_if<std::string>(&value)) {
        reg.WriteText(name, *text);
    } else if (const auto* number = std::get_if<std::int32_t>(&value)) {
        reg.WriteNumber(name, *number);
    } else {
        BinaryValue scratch;
        BinaryValue& target = buffer ? *buffer : scratch;
        target.SetNumber(std::get<Binary>(value).number);
        reg.WriteBytes(name, target.Data(), BinaryValue::kSize);
    }
}

void WriteByIdiom(TRegistry& reg, WriteIdiom idiom, bool checked, const std::string& name,
                  const RegValue& on, const RegValue& off, BinaryValue* buffer) {
    if (checked) {
        WriteRegValue(reg, name, on, buffer);
        return;
    }
    switch (idiom) {
        case WriteIdiom::SetOrDelete:
            reg.RemoveValue(name);
            break;
        case WriteIdiom::SetOrRestore:
            if (reg.HasValue(name)) WriteRegValue(reg, name, off, buffer);
            break;
        case WriteIdiom::CheckedOnly:
            break;
        case WriteIdiom::OnOrOff:
            WriteRegValue(reg, name, off, buffer);
            break;
    }
}

void WriteByIdiom(TIniFile& ini, WriteIdiom idiom, bool checked, const std::string& section,
                  const std::string& key, const std::string& on, const std::string& off) {
    if (checked) {
        ini.WriteText(section, key, on);
        return;
    }
    switch (idiom) {
        case WriteIdiom::SetOrDelete:
            ini.RemoveKey(section, key);
            break;
        case WriteIdiom::SetOrRestore:
            if (ini.HasValue(section, key)) ini.WriteText(section, key, off);
            break;
        case WriteIdiom::CheckedOnly:
            break;
        case WriteIdiom::OnOrOff:
            ini.WriteText(section, key, off);
            break;
    }
}

}  // namespace vt
