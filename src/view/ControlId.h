// The child-window id of a control: derived from its name, so that a program driving the
// window from outside finds a control with GetDlgItem(form, ControlId("CheckBox17")).
#pragma once

#include <cstdint>
#include <string_view>

namespace vt::view {

// Ids start above IDOK / IDCANCEL and the other dialog command ids and stay below 0x8000.
inline constexpr int kFirstControlId = 0x100;
inline constexpr int kControlIdSpan = 0x7E00;

constexpr int ControlId(std::string_view name) {
    std::uint32_t hash = 2166136261u;  // FNV-1a
    for (char c : name) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 16777619u;
    }
    return kFirstControlId + static_cast<int>(hash % kControlIdSpan);
}

}  // namespace vt::view
