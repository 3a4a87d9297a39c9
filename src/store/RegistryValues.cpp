#include "store/RegistryValues.h"

#include "store/StoreError.h"

namespace vt {

bool OpenKey(TRegistry& reg, HKEY root, const std::string& path, bool canCreate) {
    reg.SelectRoot(root);
    return reg.OpenPath(path, canCreate);
}

std::string ReadRegistryText(Platform& sys, HKEY root, const std::string& path,
                             const std::string& name, const std::string& fallback) {
    TRegistry reg(sys);
    if (!OpenKey(reg, root, path, false)) return fallback;
    return GuardedReadText(reg, name, fallback);
}

bool HasRegistryValue(Platform& sys, HKEY root, const std::string& path, const std::string& name) {
    TRegistry reg(sys);
    return OpenKey(reg, root, path, false) && reg.HasValue(name);
}

std::int32_t ReadRegistryNumber(Platform& sys, HKEY root, const std::string& path,
                                const std::string& name, std::int32_t fallback) {
    TRegistry reg(sys);
    if (!OpenKey(reg, root, path, false)) return fallback;
    return GuardedReadNumber(reg, name, fallback);
}

StoredNumber ReadRegistryNumberOfEitherType(Platform& sys, HKEY root, const std::string& path,
                                            const std::string& name, std::int32_t fallback) {
    TRegistry reg(sys);
    if (!OpenKey(reg, root, path, false)) return {fallback, std::nullopt};
    std::optional<DWORD> type = reg.ValueType(name);
    try {
        if (type == REG_DWORD) return {reg.ReadNumber(name), type};
        if (type == REG_BINARY) {
            BinaryValue bytes;
            bytes.SetNumber(0);
            reg.ReadBytes(name, bytes.Data(), BinaryValue::kSize);
            return {static_cast<std::int32_t>(bytes.Number()), type};
        }
    } catch (const StoreError&) {
    }
    return {fallback, std::nullopt};
}

void WriteRegistryNumberAs(Platform& sys, HKEY root, const std::string& path,
                           const std::string& name, const StoredNumber& number) {
    if (number.type == REG_BINARY)
        WriteRegistryValue(sys, root, path, name, Binary{static_cast<DWORD>(number.value)});
    else
        WriteRegistryValue(sys, root, path, name, number.value);
}

void WriteRegistryValue(Platform& sys, HKEY root, const std::string& path, const std::string& name,
                        const RegValue& value, BinaryValue* buffer) {
    TRegistry reg(sys);
    OpenKey(reg, root, path, true);
    WriteRegValue(reg, name, value, buffer);
}

}  // namespace vt
