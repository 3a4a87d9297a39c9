// A copy that expands a file in the LZ-compressed format, as the program's own files may be
// shipped, and still copies a file whose path LZ cannot open.
#pragma once

#include "platform/Platform.h"

#include <cstddef>
#include <string>

namespace vt {

// LZOpenFileA goes through OpenFile, which keeps the full path in OFSTRUCT's szPathName of
// OFS_MAXPATHNAME (128) bytes, its NUL among them.
inline constexpr std::size_t kOpenFilePathBytes = 128;

// True when `path` (a full path) with its NUL does not fit OpenFile's path.
bool TooLongForOpenFile(const std::string& path);

// Copies `from` to `to`, replacing `to`: through LZ (LZCopyFileA), which expands a compressed
// file; when either path is too long for OpenFile, byte for byte with CopyFileA instead.
// Answers whether the copy was made; GetLastError() then tells why not.
bool CopyExpanded(Platform& sys, const std::string& from, const std::string& to);

}  // namespace vt
