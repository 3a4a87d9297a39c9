// The records Windows 98 knows: its shell refuses the larger ones of later versions.
#pragma once

#include "platform/Platform.h"

#include <windows.h>

namespace vt {

// NOTIFYICONDATAA of the first version (88 bytes); the tip is cut to fit.
::NOTIFYICONDATAA Windows98NotifyIconRecord(const NOTIFYICONDATAA& data);

}  // namespace vt
