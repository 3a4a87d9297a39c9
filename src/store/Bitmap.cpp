#include "store/Bitmap.h"

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

}  // namespace

std::optional<Bitmap> Bitmap::Parse(const std::vector<BYTE>& file) {
    if (file.size() < kFileHeaderSize + 12 || file[0] != 'B' || file[1] != 'M') return std::nullopt;
    std::uint32_t pixels = U32(file, 10);
    std::uint32_t headerSize = U32(file, kFileHeaderSize);
    std::int64_t width = 0, height = 0;
    unsigned bitCount = 0, colours = 0, entrySize = 4;
    if (headerSize == 12) {  // the old OS/2 core header
        width = U16(file, kFileHeaderSize + 4);
        height = U16(file, kFileHeaderSize + 6);
        bitCount = U16(file, kFileHeaderSize + 10);
        entrySize = 3;
    } else if (headerSize >= 40 && file.size() >= kFileHeaderSize + 40) {
        width = static_cast<std::int32_t>(U32(file, kFileHeaderSize + 4));
        height = static_cast<std::int32_t>(U32(file, kFileHeaderSize + 8));
        bitCount = U16(file, kFileHeaderSize + 14);
        colours = U32(file, kFileHeaderSize + 32);
    } else {
        return std::nullopt;
    }
    height = std::llabs(height);  // a negative height runs top-down
    if (width <= 0 || height <= 0 || width > 32767 || height > 32767) return std::nullopt;
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 &&
        bitCount != 32)
        return std::nullopt;
    if (bitCount <= 8 && colours == 0) colours = 1u << bitCount;
    if (colours > 256) return std::nullopt;
    std::uint64_t rowBytes = (static_cast<std::uint64_t>(width) * bitCount + 31) / 32 * 4;
    std::uint64_t tableEnd = kFileHeaderSize + headerSize + std::uint64_t{colours} * entrySize;
    if (pixels < kFileHeaderSize + headerSize || tableEnd > file.size()) return std::nullopt;
    // Compressed pixels may be shorter than a full grid; plain ones must all be there.
    std::uint32_t compression = headerSize >= 40 ? U32(file, kFileHeaderSize + 16) : 0;
    std::uint64_t needed = compression == 0 ? rowBytes * static_cast<std::uint64_t>(height) : 1;
    if (pixels + needed > file.size()) return std::nullopt;

    Bitmap bitmap;
    bitmap.dib_.assign(file.begin() + kFileHeaderSize, file.end());
    bitmap.pixelOffset_ = pixels - static_cast<std::uint32_t>(kFileHeaderSize);
    bitmap.width_ = static_cast<int>(width);
    bitmap.height_ = static_cast<int>(height);
    return bitmap;
}

std::optional<Bitmap> Bitmap::Load(Platform& sys, const std::string& path) {
    std::vector<BYTE> bytes;
    if (!sys.ReadFileBytes(path.c_str(), &bytes)) return std::nullopt;
    return Parse(bytes);
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
