// The files of a restore point: the list of points, Registry.reg and Files.txt, each sealed
// with a checksum line and replaced through a second name, and the saved copies' records.
// Shared by the journal that writes points and by Undo, which reads them.
#pragma once

#include "platform/CodePage.h"
#include "platform/Platform.h"
#include "store/FileLimits.h"
#include "store/Regedit4.h"

#include <functional>

#include <optional>
#include <string>
#include <vector>

namespace vt {

// A file, shortcut or folder as it was before the pass touched it.
struct PathBefore {
    enum Kind { File, Shortcut, Folder };
    Kind kind = File;
    std::string path;
    bool existed = false;
    DWORD attributes = 0;  // of a file that existed
    std::string copy;      // the saved copy's name in the point's folder
    DWORD size = 0;        // the copy's size and checksum
    DWORD checksum = 0;
    // The file as the pass's last change to it left it on disk, when the point knows: a
    // file found neither so nor as before was cut off in the middle of a write.
    enum class After { Unknown, Missing, Written };
    After after = After::Unknown;
    DWORD afterSize = 0;
    DWORD afterChecksum = 0;
    // The copy of what the pass's last write to the file was about to write, saved before
    // the write began; empty when the point has none.
    std::string afterCopy;
};

namespace pointfiles {

inline constexpr const char* kList = "Points.txt";
inline constexpr const char* kRegistryFile = "Registry.reg";
inline constexpr const char* kFilesFile = "Files.txt";
inline constexpr const char* kClasses = "Software\\Classes";
inline constexpr const char* kNewSuffix = ".new";
inline constexpr DWORD kProtection =
    FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

bool IsRoot(HKEY key);
// `base` and `subKey` joined, empty parts dropped.
std::string JoinKey(const std::string& base, const char* subKey);
// The local date and time, "2000-01-31 13.05.59".
std::string LocalTime();
std::string BaseName(const std::string& path);
// A name that stays inside the folder it is joined to: no path, drive or device parts, no
// control characters, not "." or "..".
bool PlainName(const std::string& name);
bool Exists(Platform& sys, const std::string& path);
bool IsFolder(Platform& sys, const std::string& path);
// The whole file; nothing when it is missing, unreadable or longer than `maxBytes`.
std::optional<std::vector<BYTE>> ReadAll(Platform& sys, const std::string& path, DWORD maxBytes);
// A file the settings manage, whole as it is on disk: Windows 98's profile cache is flushed
// first (FlushProfileCache), so that a change made through the profile functions is in it.
std::optional<std::vector<BYTE>> ReadOnDisk(Platform& sys, const std::string& path);
// Why the read just made failed, as the end of a sentence naming the file: " is missing.",
// " is larger than 8 MB." and so on.
std::string WhyUnread(Platform& sys);
// CRC-32 (the one of ZIP files).
DWORD Checksum(const std::string& bytes);
std::string Hex(DWORD number);
std::string Sealed(const std::string& body);
// The whole file, or else its whole replacement that a cut kept from being renamed.
std::optional<std::string> ReadSealed(Platform& sys, const std::string& path, DWORD maxBytes);
// Written whole under the second name, then put in the first one's place: at every moment
// one whole version is there to read. `whole` tells a finished second version from one a cut
// stopped; a replacement cut off between its delete and its rename is finished first, so that
// the write does not overwrite the only whole version.
bool ReplaceWhole(Platform& sys, const std::string& path, const std::string& text,
                  const std::function<bool(const std::vector<BYTE>&)>& whole);
// Written whole under the second name, then put in the first one's place.
bool WriteSealed(Platform& sys, const std::string& path, const std::string& body);
// A registry value of an open key as it is stored; nothing when missing or unreadable.
std::optional<regedit4::Data> ReadValue(Platform& sys, HKEY key, const char* name);
void DeleteSealed(Platform& sys, const std::string& path);
std::vector<std::string> ReadList(Platform& sys, const std::string& restoreDir);
void WriteList(Platform& sys, const std::string& restoreDir, const std::vector<std::string>& names);

// Where a point stands: its pass is under way ("open"), ended ("ended"), or an Undo of it is
// under way ("undoing"). A point not "ended" names what a cut-off pass or Undo left.
enum class PointState { Open, Ended, Undoing };
std::string FilesText(const std::vector<PathBefore>& paths, PointState state);
struct FilesList {
    PointState state = PointState::Open;
    std::vector<PathBefore> paths;
};
// Throws RestorePointDamaged on a line that is not one of a point.
FilesList ReadFilesText(const std::string& text);
// The file is as the pass found it or as the pass's last change left it, not in between.
bool IsWhole(Platform& sys, const PathBefore& entry);

// A write of the program's empties a file and writes it from its start, so a cut leaves a
// clean start of what it was writing: ended at any byte, line or section. A file found so,
// shorter than what was `written` (or than what it was `before`) and its start, is the
// program's own unfinished write: the answer is the whole version it is the start of. So is
// such a start followed by zeros up to at most that version's length (FAT gives a file its
// clusters before their bytes arrive).
// Anything else (nothing found, a file as before or as written, lines another program
// changed or added) answers nothing: it is no cut of the program's.
std::optional<std::vector<BYTE>> WholeVersionOfCut(const std::optional<std::vector<BYTE>>& now,
                                                   const std::optional<std::vector<BYTE>>& before,
                                                   const std::optional<std::vector<BYTE>>& written);
// The entry's copy of what the pass wrote, when it is there whole as the entry notes it.
std::optional<std::vector<BYTE>> AfterCopy(Platform& sys, const std::string& pointDir,
                                           const PathBefore& entry);
// The name in the point's folder of what an Undo is about to write to the entry's file
// (sealed), so that an Undo cut off in the middle of the write can finish it.
std::string UndoCopyName(const PathBefore& entry);

}  // namespace pointfiles
}  // namespace vt
