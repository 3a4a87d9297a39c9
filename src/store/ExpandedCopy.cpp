#include "store/ExpandedCopy.h"

namespace vt {

bool TooLongForOpenFile(const std::string& path) {
    return path.size() + 1 >= kOpenFilePathBytes;
}

bool CopyExpanded(Platform& sys, const std::string& from, const std::string& to) {
    if (TooLongForOpenFile(from) || TooLongForOpenFile(to))
        return sys.CopyFileA(from.c_str(), to.c_str(), FALSE) != FALSE;
    return sys.LZCopyFileA(from.c_str(), to.c_str()) != FALSE;
}

}  // namespace vt
