// A Windows bitmap held in memory: parsed from a .bmp file and written back as a fresh one.
#pragma once

#include "platform/Platform.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vt {

class Bitmap {
  public:
    // Why a file is not shown.
    enum class Refusal {
        // No bitmap, one cut short, or one whose pixels this program does not draw (JPEG,
        // PNG); a file that is missing or too large.
        NoBitmap,
        // A whole bitmap that Windows 98 cannot show: its DIB engine draws bit fields only as
        // 5-5-5 or 5-6-5 at 16 bits a pixel and 8-8-8 at 32, and knows the info headers of
        // 12, 40, 108 (version 4) and 124 bytes (version 5), not those of 52, 56 or 64.
        NotForWindows98,
    };

    // The picture in a .bmp file's bytes; nothing when they are no Windows bitmap Windows 98
    // can show (a file header "BM", an info header of 12, 40, 108 or 124 bytes, 1 to 32 bits
    // a pixel, plain, bit-field or run-length pixels, every byte the headers promise present:
    // the whole grid, the masks, or runs that end inside the file and the picture). `why`,
    // when given, is set to the reason of a refusal.
    static std::optional<Bitmap> Parse(const std::vector<BYTE>& file, Refusal* why = nullptr);
    // The file from disk through the platform; nothing when it is missing, too large or no
    // bitmap Windows 98 can show.
    static std::optional<Bitmap> Load(Platform& sys, const std::string& path,
                                      Refusal* why = nullptr);

    int Width() const { return width_; }
    int Height() const { return height_; }
    // The device-independent bitmap: info header, colour table and pixels, as a view draws it.
    const std::vector<BYTE>& Dib() const { return dib_; }
    std::size_t PixelOffset() const { return pixelOffset_; }
    // A complete .bmp file: a new file header followed by the DIB.
    std::vector<BYTE> FileBytes() const;

  private:
    std::vector<BYTE> dib_;
    std::uint32_t pixelOffset_ = 0;  // from the start of the DIB
    int width_ = 0, height_ = 0;
};

}  // namespace vt
