// The command line's unattended runs, for rolling one set-up out to many PCs from a logon
// script: no window, no welcome, no question; a log and an exit code say what happened.
//   Veltrim.exe /apply PROFILE... [/log LOG]  the profiles applied as "Import settings..."
//                                             and "Apply" would, later lines over earlier
//   Veltrim.exe /check PROFILE... [/log LOG]  the same without writing anything: what the
//                                             apply would set and change
//   Veltrim.exe /undo [/log LOG]              the newest restore point put back
//   Veltrim.exe /export PROFILE [/replace] [/log LOG]
//                                             this PC's settings saved as a profile; a file
//                                             already there only with /replace
// A log named by /log gains each run at its end, as one block; /log naming a folder (or
// ending in a backslash) is the file <computer>.log there. A log that cannot be written
// leaves the run's lines in Veltrim.log in the program's folder instead.
#pragma once

#include "app/Startup.h"

#include <functional>
#include <optional>
#include <string>

namespace vt {

// The exit codes, for a logon script's "if errorlevel" (highest first).
inline constexpr int kExitDone = 0;         // done, and nothing on this PC changed
inline constexpr int kExitFailed = 1;       // a read or write failed: the log says which
inline constexpr int kExitRefused = 2;      // the profile (or the command line) was refused
inline constexpr int kExitAlreadyOpen = 3;  // Veltrim 2000 is open on this PC
// An earlier write or Undo was cut off (power lost, program ended): this run put its restore
// point back and did nothing else. The next run does what is asked.
inline constexpr int kExitPutBackCutOff = 4;
// A profile could not be read (no such file, the share unreachable), or the log could not be
// written: nothing was changed.
inline constexpr int kExitUnreachable = 5;
// Settings were changed (/check: would be), and take effect without a restart.
inline constexpr int kExitChanged = 6;
// Settings were changed (/check: would be) that Windows reads only when it starts.
inline constexpr int kExitChangedRestart = 7;
// As 6 and 7, but the log could not be written: the run's lines are in the program's folder's
// Veltrim.log. A script that knows only 0 to 7 takes both for 7 (a restart at worst unneeded).
inline constexpr int kExitChangedLogLost = 8;
inline constexpr int kExitChangedRestartLogLost = 9;
// The program's folder's log for the runs whose own log could not be written.
inline constexpr const char* kFallbackLog = "Veltrim.log";

struct UnattendedRun {
    enum class Command { Apply, Undo, Export, Check };
    Command command = Command::Apply;
    std::string profile;
    std::string log;       // empty: no log
    std::string refused;   // why the command line cannot run: nothing is done
    bool replace = false;  // /export /replace: an existing file may be replaced
    // The profiles after the first, applied over it in their order.
    std::vector<std::string> moreProfiles = {};
    // Who runs it where, for the log's first line (empty: not known).
    std::string computer = {};
    std::string user = {};

    std::vector<std::string> Profiles() const;
};

inline constexpr const char* kProgramVersion = "5.0";

// The words of a command line, as Windows programs split it: blanks separate, double
// quotes group.
std::vector<std::string> CommandWords(const std::string& commandLine);
// An unattended run the words ask for; nothing when there are none (the window). Every word
// must be a switch or the file a switch takes: anything else, a command incomplete or
// given twice, is a run `refused` that says why and opens no window.
std::optional<UnattendedRun> ParseUnattended(const std::vector<std::string>& words);

// Runs it in the program's folder (the current directory) with paths already whole; answers
// the exit code. The log, when asked for, is written last.
// `attachPages` plugs the pages in, with the prompts that answer in the log.
int RunUnattended(Platform& sys, const UnattendedRun& run,
                  const std::function<void(Program&, ui::Prompts&)>& attachPages);

}  // namespace vt
