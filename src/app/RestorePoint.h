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

#include "app/Regedit4.h"
#include "platform/ForwardingPlatform.h"

#include <functional>
#include <map>
#include <optional>
#include <set>
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

// What a point may put back: the registry keys the pages and tools write, the files they
// write (in the Windows folder, the program's folder and C:\MSDOS.SYS), and nothing else.
struct ManagedScope {
    std::string windowsDir;  // "C:\WINDOWS"
    std::string programDir;  // where Config.DAT lives
    // Why the program does not manage this key (or this key's subtree, for a removal);
    // nothing when it does.
    std::optional<std::string> RefuseKey(HKEY root, const std::string& path, bool tree) const;
    bool ManagesFile(const std::string& path) const;
};

// What an Undo did: the settings, files and shortcuts it put back, and what it could not.
struct UndoReport {
    std::string point;  // the folder name: its date and time
    std::vector<std::string> filesPutBack;
    std::vector<std::string> failures;
    bool removed = true;  // taken off the list of points
};

inline constexpr std::size_t kKeptRestorePoints = 10;

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
};

// The platform the pages write through. Outside a write pass every call goes straight on.
// During one, before the first change to each registry value or key, file, shortcut or
// folder, it saves that target as it is into the pass's restore point and writes the point
// out; only then does the change go through. A call that would change nothing (a value set
// to what it holds, a missing file deleted) saves nothing, so a pass that changes nothing
// leaves no point. When the point cannot be written the call throws RestorePointError
// before changing anything.
class RestoreJournal final : public ForwardingPlatform {
  public:
    explicit RestoreJournal(Platform& sys);
    ~RestoreJournal() override;

    // Records until the guard goes. Nested guards share the outermost one's point.
    class Scope {
      public:
        explicit Scope(RestoreJournal* journal) : journal_(journal) {}
        Scope(Scope&& other) noexcept : journal_(other.journal_) { other.journal_ = nullptr; }
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;
        Scope& operator=(Scope&&) = delete;
        ~Scope() {
            if (journal_) journal_->End();
        }

      private:
        RestoreJournal* journal_;
    };
    // `restoreDir`: the folder that holds the points ("...\Restore").
    [[nodiscard]] Scope Record(const std::string& restoreDir);
    bool Recording() const { return depth_ > 0; }
    // The point the pass under way writes, if it has changed anything yet.
    const std::string& PointFolder() const { return pointDir_; }

    // The point's folder name: the local date and time, "2000-01-31 13.05.59".
    std::function<std::string()> clock;

    // --- The seam ----------------------------------------------------------------------
    LONG RegOpenKeyExA(HKEY key, const char* subKey, REGSAM sam, HKEY* result) override;
    LONG RegCreateKeyExA(HKEY key, const char* subKey, REGSAM sam, HKEY* result) override;
    LONG RegSetValueExA(HKEY key, const char* name, DWORD type, const BYTE* data,
                        DWORD size) override;
    LONG RegDeleteValueA(HKEY key, const char* name) override;
    LONG RegDeleteKeyA(HKEY key, const char* subKey) override;
    LONG RegCloseKey(HKEY key) override;
    BOOL WritePrivateProfileStringA(const char* section, const char* key, const char* value,
                                    const char* fileName) override;
    BOOL SetFileAttributesA(const char* path, DWORD attributes) override;
    BOOL DeleteFileA(const char* path) override;
    BOOL CreateDirectoryA(const char* path) override;
    BOOL RemoveDirectoryA(const char* path) override;
    BOOL CopyFileA(const char* from, const char* to, BOOL failIfExists) override;
    BOOL WriteFileBytes(const char* path, const std::vector<BYTE>& bytes) override;
    BOOL LZCopyFileA(const char* from, const char* to) override;
    BOOL CreateShellLink(const char* target, const char* linkFile,
                         const char* workingDirectory) override;

  private:
    struct KeyName {
        HKEY root = 0;
        std::string path;
    };
    struct KeyBefore {
        KeyName key;
        bool existed;
    };
    struct ValueBefore {
        KeyName key;
        std::string name;
        std::optional<regedit4::Data> data;
    };

    void End();
    KeyName Locate(HKEY key, const char* subKey) const;
    void Track(LONG rc, HKEY* result, const KeyName& name);
    // Save one target as it is now, unless the point already has it.
    void SaveValue(const KeyName& key, const std::string& name);
    void SaveCreatedKeys(const KeyName& key);
    void SaveTree(const KeyName& key);
    // Answers whether the path was added now (a call that then fails takes it back out).
    bool SavePath(PathBefore::Kind kind, const std::string& path);
    BOOL Dropped(BOOL ok, bool added, const std::string& path);
    std::string AbsolutePath(const std::string& path);
    std::string ProfilePath(const char* fileName);
    // Writing the point, created on its first entry.
    void OpenPoint();
    void WriteRegistry();
    void WriteFiles();
    void Write(const std::string& path, const std::string& text);
    [[noreturn]] void Unwritable(const std::string& path) const;

    int depth_ = 0;
    std::string restoreDir_;
    std::string pointDir_;  // empty until the pass's first change
    std::map<HKEY, KeyName> handles_;
    std::vector<KeyBefore> keys_;
    std::vector<ValueBefore> values_;
    std::vector<PathBefore> paths_;
    std::set<std::string> saved_;  // the targets above, by upper-case identity
    bool ended_ = false;           // the point is written as a pass that ended
};

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
// power failed in the middle of it).
std::optional<std::string> UnfinishedRestorePoint(Platform& sys, const std::string& restoreDir);
// Keeps what an unfinished pass changed: the point becomes an ordinary one, and the files it
// saved get back the read-only, hidden and system attributes they had (the pass lifts them
// only for the moment of a write).
void KeepUnfinishedRestorePoint(Platform& sys, const std::string& restoreDir,
                                const std::string& name, const ManagedScope& scope);

}  // namespace vt
