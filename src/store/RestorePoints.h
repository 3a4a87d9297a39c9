// Restore points: what a write pass changes, saved as it was before the change, so that the
// last Apply can be undone. They live in "Restore" in ProgramDir, one folder per pass named
// by its date and time, listed oldest first in "Restore\Points.txt"; the ten newest are kept.
// A point's folder holds
//   Registry.reg  REGEDIT4 text that puts every value and key the pass changed back as it
//                 was (also importable by hand: regedit /s Registry.reg);
//   Files.txt     where the point stands ("state open" until its pass ends, "state undoing"
//                 while an Undo puts it back, else "state ended"), then the files,
//                 shortcuts and folders the pass changed, created or removed, one a line:
//                 kind, attributes, the saved copy, the path, the copy's size and checksum
//                 (tab-separated);
//   "<n> <name>"  the saved copies of the files.
// Points.txt, Registry.reg and Files.txt end with a line holding the checksum of what comes
// before, and each is rewritten under a second name ("....new") that then replaces it, so a
// write cut off at any byte leaves the previous whole version or the new one. A pass saves
// each target into the point before it changes it, so a point whose state is not "ended"
// names everything a pass or an Undo that was cut off may have changed.
#pragma once

#include "platform/Platform.h"
#include "store/ManagedStores.h"
#include "store/ShellFolders.h"

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace vt {

// A restore point could not be written or read back; the message says where.
class RestorePointError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A point that is incomplete, altered, or names something the program does not manage: it
// is refused whole, before anything is changed. The message names each fault.
class RestorePointDamaged : public RestorePointError {
  public:
    using RestorePointError::RestorePointError;
};

// What a point may put back: exactly the registry values the pages and tools write, the
// keys they make or delete, and the files they write (in the Windows folder, the program's
// folder and C:\MSDOS.SYS); nothing else. A point's seals are checksums anyone can
// recompute, so this is what keeps a planted point from doing harm:
//   - a value goes back only where its key and its name are ones the program writes;
//   - a key the program deletes whole (a right-click entry's verb, an Add/Remove entry, the
//     Start Menu's stored orders) comes back with whatever it held;
//   - a key is removed ([-key]) only when the program makes keys of its kind (or keys below
//     it) and it holds nothing but what the program writes: never a file type, a tree of
//     Windows' own or a key another program filled;
//   - a saved copy goes back only to a file the program writes; a copy of SYSTEM.INI,
//     MSDOS.SYS or oeminfo.ini goes back whole only while the file is as the pass left it,
//     and otherwise only the keys the pass changed go back, among those the program writes
//     (every other line stays as it is now); a file is deleted only when the program makes
//     files of that name.
struct ManagedScope {
    std::string windowsDir;  // "C:\WINDOWS"
    std::string programDir;  // where Config.DAT lives
    // Where the shell keeps the user's folders; the places below the Windows directory, where
    // earlier versions made the shortcuts, count as well.
    ShellFolders folders = ShellFolders::BelowWindows(windowsDir);
    ManagedStores stores = {};  // what the pages and tools declare they write
    bool ManagesFile(const std::string& path) const;
    // Every file it writes (not the folders), as the program spells them.
    std::vector<std::string> Files() const;
};
ManagedScope TakeManagedScope(Platform& sys, const std::string& programDir,
                              const ManagedStores& stores);

// The verbs the shell itself gives a meaning (the double-click's "open", printing, the
// folder verbs, a batch file's "edit"): the right-click page never makes one, and a restore
// point never puts one back.
bool IsShellVerb(const std::string& name);

// What an Undo did: the settings, files and shortcuts it put back, and what it could not.
struct UndoReport {
    std::string point;  // the point's name as listed: its date and time
    std::vector<std::string> filesPutBack;
    std::vector<std::string> failures;
    bool removed = true;  // taken off the list of points
};

inline constexpr std::size_t kKeptRestorePoints = 10;

// A point file's text with the closing line that vouches for it (its CRC-32).
std::string SealedRestorePointText(const std::string& body);

// The points kept in `restoreDir`, oldest first; only those whose folder is there.
std::vector<std::string> ListRestorePoints(Platform& sys, const std::string& restoreDir);
// Deletes a point's files (only those inside its folder) and folder and takes it off the list.
void RemoveRestorePoint(Platform& sys, const std::string& restoreDir, const std::string& name);
// Deletes the list of points once it names none that is still there.
void RemoveRestorePointList(Platform& sys, const std::string& restoreDir);
// Checks the newest point whole (every file there with its checksum, the REGEDIT4 text
// complete, everything in it managed by the program), then puts back all it holds (registry
// through TRegistry, then the folders, files and shortcuts), going on past a part that
// fails, and removes it when all went back. Nothing when there is no point. A damaged point
// throws RestorePointDamaged and changes nothing.
std::optional<UndoReport> UndoNewestRestorePoint(Platform& sys, const std::string& restoreDir,
                                                 const ManagedScope& scope);
// The newest point, when the pass that wrote it never ended (the program was stopped or the
// power failed in the middle of it), or an Undo of it never ended.
struct UnfinishedPoint {
    std::string name;
    bool undoing = false;  // an Undo was cut off: putting the point back finishes it
};
std::optional<UnfinishedPoint> UnfinishedRestorePoint(Platform& sys, const std::string& restoreDir);
// Keeps what an unfinished pass changed, as far as it is whole: a file the pass's own write
// was cut off in the middle of (a clean start of what it was writing or of what it was, at
// any byte, line or section) is put back as it was; a file another program changed since
// stays. The point becomes an ordinary one, and the files it saved get back the read-only,
// hidden and system attributes they had (the pass lifts them only for the moment of a
// write). The report names the files put back and those that could not be.
UndoReport KeepUnfinishedRestorePoint(Platform& sys, const std::string& restoreDir,
                                      const std::string& name, const ManagedScope& scope);

}  // namespace vt
