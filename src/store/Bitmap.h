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
    // The picture in a .bmp file's bytes; nothing when they are no Windows bitmap this program
    // can show (a file header "BM", an info header of 12 or 40 to 124 bytes, 1 to 32 bits a
    // pixel, plain, bit-field or run-length pixels, every byte the headers promise present:
    // the whole grid, the masks, or runs that end inside the file and the picture).
    static std::optional<Bitmap> Parse(const std::vector<BYTE>& file);
    // The file from disk through the platform; nothing when it is missing, too large or no
    // bitmap.
    static std::optional<Bitmap> Load(Platform& sys, const std::string& path);

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
