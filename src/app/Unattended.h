// The command line's unattended runs, for rolling one set-up out to many PCs from a logon
// script: no window, no welcome, no question; a log and an exit code say what happened.
//   Veltrim.exe /apply PROFILE [/log LOG]   the profile applied as "Import settings..."
//                                           and "Apply" would
//   Veltrim.exe /undo [/log LOG]            the newest restore point put back
//   Veltrim.exe /export PROFILE [/log LOG]  this PC's settings saved as a profile
#pragma once

#include "app/Startup.h"

#include <functional>
#include <optional>
#include <string>

namespace vt {

inline constexpr int kExitDone = 0;         // applied, or nothing to change
inline constexpr int kExitFailed = 1;       // a read or write failed: the log says which
inline constexpr int kExitRefused = 2;      // the profile (or the command) was refused
inline constexpr int kExitAlreadyOpen = 3;  // Veltrim 2000 is open on this PC
// An earlier write or Undo was cut off (power lost, program ended): this run put its restore
// point back and did nothing else. The next run does what is asked.
inline constexpr int kExitPutBackCutOff = 4;

struct UnattendedRun {
    enum class Command { Apply, Undo, Export };
    Command command = Command::Apply;
    std::string profile;
    std::string log;      // empty: no log
    std::string refused;  // why the command line cannot run: nothing is done
};

// The words of a command line, as Windows programs split it: blanks separate, double
// quotes group.
std::vector<std::string> CommandWords(const std::string& commandLine);
// An unattended run the words ask for; nothing when they ask for the window. A command
// that is incomplete or unknown says why in `refused`.
std::optional<UnattendedRun> ParseUnattended(const std::vector<std::string>& words);

// Runs it in the program's folder (the current directory) with paths already whole; answers
// the exit code. The log, when asked for, is written last.
// `attachPages` plugs the pages in, with the prompts that answer in the log.
int RunUnattended(Platform& sys, const UnattendedRun& run,
                  const std::function<void(Program&, ui::Prompts&)>& attachPages);

}  // namespace vt
