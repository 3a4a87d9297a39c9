// What the uninstaller asks of the program before it deletes its files:
//   Veltrim.exe /uninstall            the restore points go (only the files they list)
//   Veltrim.exe /uninstall /putback   first every kept point is put back, newest first, the
//                                     right-click entries the program made are removed and
//                                     its file-cache template too once Windows no longer
//                                     uses it
#pragma once

#include "store/RestoreJournal.h"
#include "store/RestorePoints.h"
#include "platform/Platform.h"
#include "ui/Prompts.h"

#include <string>
#include <vector>

namespace vt {

inline constexpr int kUninstallDone = 0;
inline constexpr int kUninstallPartly = 1;  // something could not be put back: see the log
// The newest restore point is of a write or Undo that was cut off: only Veltrim 2000 itself
// may put it back or keep it, so nothing was done.
inline constexpr int kUninstallUnfinished = 2;
inline constexpr int kUninstallRunning = 3;  // Veltrim 2000 is open: nothing was done

// `log` gets one line for each thing put back and each that could not be.
int UninstallProgramParts(Platform& sys, ui::Prompts& prompts, bool putBack,
                          std::vector<std::string>& log);

}  // namespace vt
