// The two base paths and the boot options file's attribute steps.
#pragma once

#include "platform/CodePage.h"
#include "platform/Platform.h"

#include <optional>
#include <string>

namespace vt {

inline constexpr const char* kMsdosSys = "C:\\MSDOS.SYS";
inline constexpr const char* kSystemIni = "SYSTEM.INI";  // resolved in the Windows directory
// The file system's performance templates (HKEY_LOCAL_MACHINE); the File-Cache page adds its own.
inline constexpr const char* kFsTemplates =
    "Software\\Microsoft\\Windows\\CurrentVersion\\FS Templates";

// The Windows directory (GetWindowsDirectoryA into 144 bytes); empty if it does not fit.
std::string TakeWindowsDir(Platform& sys);
// The current directory, where Config.DAT, data.ini and the kept Uninstall.lnk live, without
// a backslash at its end ("D:" when it is a drive's root), so that files are joined to it
// with one.
std::string TakeProgramDir(Platform& sys);

// Paths split and trimmed by the characters of the machine's code page: the folder part
// before the last backslash (empty when there is none; "D:" for a file in a root), the name
// after it, and the folder as a folder path ("D:" is the root "D:\").
std::string ParentOf(const std::string& path);
std::string NameOf(const std::string& path);
std::string FolderPath(const std::string& folder);
// The name says where it is (a backslash character, a '/' or a drive's colon), rather than
// being a bare file name of the Windows directory.
bool NamesAFolder(const std::string& name);

// The path with doubled backslashes closed up, "." parts dropped and each ".." taking the
// part before it away (never the drive or the share), and no backslash at its end but a
// root's: "C:\\WINDOWS\\..\\WINDOWS\\\\Desktop\\" is "C:\\WINDOWS\\Desktop".
std::string NormalisedPath(const std::string& path);

// What a path names, to compare two spellings of it: the serial number of its disk (0 when it
// cannot be had: the drive is then part of the path) and, below the disk's root, the short
// (8.3) form of its full path in upper case. A file that is not there yet is named by the
// short form of the nearest folder above it that is, and its own names as given.
struct PathIdentity {
    DWORD volume = 0;
    char drive = 0;  // the letter it was reached by, when the disk is known
    std::string path;
    // The two name the same file, or may (another drive letter of the same disk that names a
    // file of the same path below a folder: SUBST of that folder).
    bool operator==(const PathIdentity& other) const;
    // The path lies in `folder` or in a folder below it.
    bool Inside(const PathIdentity& folder) const;
};
PathIdentity IdentityOf(Platform& sys, const std::string& path);

// Archive only, so that the profile functions may rewrite the file. Answers the attributes
// the file had; nothing when there is no such file or it was not protected.
std::optional<DWORD> UnprotectMsdosSys(Platform& sys);
// Back to the attributes it had (read-only, hidden, system and archive).
void RestoreMsdosSys(Platform& sys, DWORD attributes);
// Sets a file's attributes so that read-only goes last (see RestoreMsdosSys); answers whether
// the last call took.
bool SetAttributesReadOnlyLast(Platform& sys, const std::string& path, DWORD attributes);

}  // namespace vt
