// A binary setting's 4-byte buffer: a 32-bit little-endian number, kept for the whole run
// and shared by the read and the write pass.
#pragma once

#include "platform/WinTypes.h"

#include <array>

namespace vt {

class BinaryValue {
  public:
    static constexpr DWORD kSize = 4;

    DWORD Number() const {
        return bytes_[0] | bytes_[1] << 8 | bytes_[2] << 16 | static_cast<DWORD>(bytes_[3]) << 24;
    }
    void SetNumber(DWORD number) {
        for (std::size_t i = 0; i < kSize; ++i) bytes_[i] = static_cast<BYTE>(number >> (8 * i));
    }
    BYTE* Data() { return bytes_.data(); }
    const BYTE* Data() const { return bytes_.data(); }

  private:
    std::array<BYTE, kSize> bytes_{};
};

}  // namespace vt
