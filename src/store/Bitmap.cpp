#include "store/Bitmap.h"

#include "store/FileLimits.h"

#include <cstdlib>

namespace vt {
namespace {

constexpr std::size_t kFileHeaderSize = 14;

std::uint32_t U32(const std::vector<BYTE>& b, std::size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}
std::uint16_t U16(const std::vector<BYTE>& b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}
void PutU32(std::vector<BYTE>& b, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<BYTE>(value >> (8 * i)));
}

constexpr std::uint32_t kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3;

// The red, green and blue masks: each one run of bits within the pixel, none overlapping.
bool MasksFit(const std::vector<BYTE>& b, std::size_t at, unsigned bitCount) {
    std::uint32_t seen = 0;
    for (int i = 0; i < 3; ++i) {
        std::uint32_t mask = U32(b, at + 4 * static_cast<std::size_t>(i));
        if (mask == 0 || (mask & seen) || (bitCount < 32 && (mask >> bitCount) != 0)) return false;
        std::uint32_t low = mask & (0u - mask);        // lowest bit set
        if (((mask + low) & mask) != 0) return false;  // not one run
        seen |= mask;
    }
    return true;
}

// The only bit fields Windows 95 and 98 draw: 5-5-5 and 5-6-5 at 16 bits a pixel, 8-8-8 at 32.
bool Windows98Masks(const std::vector<BYTE>& b, std::size_t at, unsigned bitCount) {
    const std::uint32_t red = U32(b, at), green = U32(b, at + 4), blue = U32(b, at + 8);
    if (bitCount == 16)
        return blue == 0x001F &&
               ((red == 0x7C00 && green == 0x03E0) || (red == 0xF800 && green == 0x07E0));
    return red == 0xFF0000 && green == 0x00FF00 && blue == 0x0000FF;
}

// Info headers of other systems, after the 40 bytes Windows 98 reads: the version 2 and 3
// headers (52 and 56 bytes, with the masks) and OS/2's second one (64).
bool UnknownToWindows98(std::uint32_t headerSize) {
    return headerSize == 52 || headerSize == 56 || headerSize == 64;
}

// The run-length-encoded pixels end within the file and never leave the grid.
bool RunsFit(const std::vector<BYTE>& b, std::size_t at, std::int64_t width, std::int64_t height,
             unsigned bitCount) {
    std::int64_t x = 0, y = 0;
    while (at + 2 <= b.size()) {
        unsigned count = b[at], code = b[at + 1];
        at += 2;
        if (count > 0) {  // a run of `count` pixels
            x += count;
            if (x > width) return false;
        } else if (code == 0) {  // end of line
            x = 0;
            if (++y > height) return false;
        } else if (code == 1) {  // end of bitmap
            return true;
        } else if (code == 2) {  // delta
            if (at + 2 > b.size()) return false;
            x += b[at];
            y += b[at + 1];
            at += 2;
            if (x > width || y >= height) return false;
        } else {  // `code` pixels as they are, padded to a whole word
            std::size_t bytes = bitCount == 8 ? code : (code + 1) / 2;
            at += (bytes + 1) / 2 * 2;
            x += code;
            if (x > width || at > b.size()) return false;
        }
        if (y >= height && !(count == 0 && code == 0 && y == height)) return false;
    }
    return false;
}

}  // namespace

std::optional<Bitmap> Bitmap::Parse(const std::vector<BYTE>& file, Refusal* why) {
    if (why) *why = Refusal::NoBitmap;
    if (file.size() < kFileHeaderSize + 12 || file[0] != 'B' || file[1] != 'M') return std::nullopt;
    std::uint32_t pixels = U32(file, 10);
    std::uint32_t headerSize = U32(file, kFileHeaderSize);
    std::int64_t width = 0, height = 0;
    unsigned bitCount = 0, colours = 0, entrySize = 4;
    std::uint32_t compression = kRgb;
    if (headerSize == 12) {  // the old OS/2 core header
        width = U16(file, kFileHeaderSize + 4);
        height = U16(file, kFileHeaderSize + 6);
        bitCount = U16(file, kFileHeaderSize + 10);
        entrySize = 3;
    } else if ((headerSize == 40 || headerSize == 108 || headerSize == 124 ||
                UnknownToWindows98(headerSize)) &&
               file.size() >= kFileHeaderSize + 40) {
        width = static_cast<std::int32_t>(U32(file, kFileHeaderSize + 4));
        height = static_cast<std::int32_t>(U32(file, kFileHeaderSize + 8));
        bitCount = U16(file, kFileHeaderSize + 14);
        compression = U32(file, kFileHeaderSize + 16);
        colours = U32(file, kFileHeaderSize + 32);
    } else {
        return std::nullopt;
    }
    const bool topDown = height < 0;
    height = std::llabs(height);
    if (width <= 0 || height <= 0 || width > 32767 || height > 32767) return std::nullopt;
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 &&
        bitCount != 32)
        return std::nullopt;
    if (bitCount <= 8 && colours == 0) colours = 1u << bitCount;
    if (colours > 256) return std::nullopt;
    // Bit fields: three masks after a 40-byte header, inside the larger ones.
    const std::uint64_t masksEnd = compression == kBitFields && headerSize == 40 ? 12 : 0;
    std::uint64_t tableEnd =
        kFileHeaderSize + std::uint64_t{headerSize} + masksEnd + std::uint64_t{colours} * entrySize;
    if (pixels < kFileHeaderSize + headerSize + masksEnd || tableEnd > file.size() ||
        pixels > file.size())
        return std::nullopt;
    const std::uint64_t rowBytes = (static_cast<std::uint64_t>(width) * bitCount + 31) / 32 * 4;
    const std::uint64_t grid = rowBytes * static_cast<std::uint64_t>(height);
    bool windows98Shows = !UnknownToWindows98(headerSize);
    switch (compression) {
        case kBitFields:
            if ((bitCount != 16 && bitCount != 32) || headerSize + masksEnd < 52 ||
                !MasksFit(file, kFileHeaderSize + 40, bitCount))
                return std::nullopt;
            windows98Shows = windows98Shows && Windows98Masks(file, kFileHeaderSize + 40, bitCount);
            [[fallthrough]];
        case kRgb:
            if (pixels + grid > file.size()) return std::nullopt;
            break;
        case kRle8:
        case kRle4:
            if (topDown || bitCount != (compression == kRle8 ? 8u : 4u) ||
                !RunsFit(file, pixels, width, height, bitCount))
                return std::nullopt;
            break;
        default:  // JPEG, PNG and the rest: not a picture this program draws
            return std::nullopt;
    }
    if (!windows98Shows) {
        if (why) *why = Refusal::NotForWindows98;
        return std::nullopt;
    }

    Bitmap bitmap;
    bitmap.dib_.assign(file.begin() + kFileHeaderSize, file.end());
    bitmap.pixelOffset_ = pixels - static_cast<std::uint32_t>(kFileHeaderSize);
    bitmap.width_ = static_cast<int>(width);
    bitmap.height_ = static_cast<int>(height);
    return bitmap;
}

std::optional<Bitmap> Bitmap::Load(Platform& sys, const std::string& path, Refusal* why) {
    if (why) *why = Refusal::NoBitmap;
    std::vector<BYTE> bytes;
    if (!sys.ReadFileBytes(path.c_str(), &bytes, limits::kBitmap)) return std::nullopt;
    return Parse(bytes, why);
}

std::vector<BYTE> Bitmap::FileBytes() const {
    std::vector<BYTE> file = {'B', 'M'};
    PutU32(file, static_cast<std::uint32_t>(kFileHeaderSize + dib_.size()));
    PutU32(file, 0);  // reserved
    PutU32(file, static_cast<std::uint32_t>(kFileHeaderSize) + pixelOffset_);
    file.insert(file.end(), dib_.begin(), dib_.end());
    return file;
}

}  // namespace vt
