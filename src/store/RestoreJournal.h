// The platform wrapper that keeps a restore point of what a write pass changes (the points
// themselves: RestorePoints.h).
#pragma once

#include "platform/ForwardingPlatform.h"
#include "store/Regedit4.h"
#include "store/RestorePointFiles.h"

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace vt {

// The platform the pages write through. Outside a write pass every call goes straight on.
// During one, before the first change to each registry value or key, file, shortcut or
// folder, it saves that target as it is into the pass's restore point and writes the point
// out; only then does the change go through. A call that would change nothing (a value set
// to what it holds, a missing file deleted) saves nothing, so a pass that changes nothing
// leaves no point. When the point cannot be written the call throws RestorePointError
// before changing anything.
// Every change is on disk before the call returns (a profile file's cache flushed, the file
// flushed) and noted in the point as the change left it; a profile write that did not reach
// the file whole (a full disk) and a registry value not stored as given answer failure. The
// registry hives the pass changed are flushed before the point is marked as a pass that
// ended, so a point marked so is on disk whole.
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
    // The outermost pass's writes are done: the registry flushed and the point marked as a
    // pass that ended. Throws RegistryError when the registry cannot be flushed (the point
    // stays open) and RestorePointError when the mark cannot be written. The guard does the
    // same without a word when nobody asked.
    void Finish();
    // The point the pass under way writes, if it has changed anything yet.
    const std::string& PointFolder() const { return pointDir_; }
    // The pass's point holds something to put back (a change that was refused holds nothing).
    bool HoldsChanges() const { return !keys_.empty() || !values_.empty() || !paths_.empty(); }

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
    // After a refused whole-file write, the error that refused it (the journal's own reads
    // since may have set another).
    DWORD GetLastError() override;
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
    void FlushRegistry();
    // The hive a key lies in, for RegFlushKey: a root, or a user's key below HKEY_USERS.
    void Changed(const KeyName& key);
    // After a call that changed `path` to `bytes` (nothing: gone): the file flushed to disk
    // (unless the call did so) and, when the point holds it, noted as the change left it.
    // False when it could not be flushed.
    bool Settled(const std::string& path, bool flush,
                 const std::optional<std::vector<BYTE>>& bytes);
    void NoteAfter(const std::string& path, const std::optional<std::vector<BYTE>>& bytes);
    // Before a whole-file write: what it will leave, copied into the point and noted.
    void NoteIntent(const std::string& path, const std::vector<BYTE>& bytes);
    KeyName Locate(HKEY key, const char* subKey) const;
    void Track(LONG rc, HKEY* result, const KeyName& name);
    // Save one target as it is now, unless the point already has it; answers whether it was
    // saved now.
    bool SaveValue(const KeyName& key, const std::string& name);
    // A value change that was refused and left the value as saved: its entry goes.
    LONG DroppedValue(LONG rc, bool added, HKEY key, const char* name);
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
    std::set<std::string> saved_;                   // the targets above, by upper-case identity
    std::set<std::pair<HKEY, std::string>> hives_;  // the hives the pass changed
    bool ended_ = false;                            // the point is written as a pass that ended
    std::optional<DWORD> failedWith_;
};

}  // namespace vt
