// An in-memory Windows 98 machine behind the platform seam, for tests: a registry tree
// (HKEY_CLASSES_ROOT is HKEY_LOCAL_MACHINE\Software\Classes), files and folders with
// attributes, private-profile files, memory and version figures a test sets, a log of
// every call and fault injection. Where Windows 98 and Wine differ, it behaves as Wine
// set up as Windows 98 does (the contract suite holds both to the same answers), or, in its
// Windows 98 mode, as Windows 98 itself.
#pragma once

#include "platform/CodePage.h"
#include "platform/Platform.h"

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace vt::fake {

// The calls as the log and the faults name them: each call of the seam by its short name in
// PlatformCalls.def, and the flush of the profile cache. IsWindowVisible, GlobalMemoryStatus,
// GetVersion, GetLastError, Sleep and the code page's calls are never logged.
enum class Call {
#define VT_PLATFORM_CALL(ret, name, shortName, params, args) shortName,
#include "platform/PlatformCalls.def"
    ProfileFlush,  // WritePrivateProfileStringA with all three null
};

// One call as the log and the fault predicates see it. For registry calls `path` is the
// full key path ("HKEY_CURRENT_USER\Software\...", sub-key included; keys below
// HKEY_LOCAL_MACHINE\Software\Classes are named "HKEY_CLASSES_ROOT\...") and `name` the
// value name; for profile calls `path` is the resolved file, `name` "section" or "section\key";
// for file calls `path` is the resolved path and `number` the attributes set (a whole-file
// write: `name` the text written); for a mutex
// `name` is its name; for window, menu and notification-area calls `handle` is the window or
// menu, `number` the command, message or flags, `name` the tip or item text.
struct CallInfo {
    Call kind;
    std::string path;
    std::string name;
    DWORD number = 0;
    std::uintptr_t handle = 0;
};

// The two systems the program runs on, where they differ:
// - RegDeleteKeyA of a key with sub-keys: Windows 98 deletes the whole tree; Wine (like
//   Windows NT) deletes only part of it (see DeleteWithSubkeys) and refuses the rest.
// - WritePrivateProfileStringA: Windows 98 edits the file in place and keeps every other line
//   as it stands; Wine writes the whole file anew (blank lines dropped, blanks around '='
//   normalised, CRLF line ends).
// - Windows 98 keeps the changes of one profile file in a write-back cache: the profile
//   functions read them at once, the file on disk (raw reads, copies) stays as it was until
//   the cache is flushed: by the all-NULL WritePrivateProfileStringA, by a write to another
//   file, or when the program ends (EndProgram). A flush to a file that became read-only in
//   the meantime is lost without a word. Wine writes through at once.
// - A file path with two backslashes in a row below the drive ("D:\\Config.DAT"): Windows 98
//   takes the empty name between them for a folder, which is not there; Wine closes the
//   backslashes up.
enum class Behaviour { Wine, Windows98 };

// Thrown by every call once the power is cut: the program stops where it stands and the
// machine keeps what the calls before had done. Not an std::exception, so that no handler of
// the program's catches it.
struct PowerCut {};

class FakePlatform final : public Platform {
  public:
    FakePlatform();
    ~FakePlatform() override;

    // The behaviour new machines get (the test programs run once with each).
    static void SetDefaultBehaviour(Behaviour behaviour);
    static Behaviour DefaultBehaviour();
    void SetBehaviour(Behaviour behaviour) { behaviour_ = behaviour; }
    Behaviour GetBehaviour() const { return behaviour_; }

    // --- Test controls -------------------------------------------------------------------
    // Fail the nth call of `kind` from now on (1 = the next one) with `error`.
    void FailNth(Call kind, int nth, LONG error);
    // Fail every call for which `match` is true with `error`.
    void FailWhen(std::function<bool(const CallInfo&)> match, LONG error);
    void ClearFaults();
    // Every call for which `match` is true answers success and changes nothing, as a write
    // that claims success and was lost does (registry values, profile and whole-file writes).
    void IgnoreWhen(std::function<bool(const CallInfo&)> match);
    // A full disk: a profile write whose file would grow past `bytes` stops there, mid-line,
    // and still answers TRUE, as Wine's does.
    void CutProfileWritesAt(std::size_t bytes) { profileRoom_ = bytes; }
    // A full disk for whole-file writes: the file at `path` may grow by `bytes` at most; a
    // write that would make it longer stops there and answers ERROR_DISK_FULL, as WriteFile
    // does. A write that does not make it grow goes through.
    void LimitGrowth(const std::string& path, std::size_t bytes);
    // Another process (another PC's run on a shared log) has the file open: the next
    // `attempts` exclusive opens of it fail with ERROR_SHARING_VIOLATION.
    void HoldOpen(const std::string& path, int attempts);
    // The time Sleep was asked to wait, in all.
    DWORD Slept() const { return slept_; }
    // The nth call from now on (1 = the next one) and every one after it throw PowerCut;
    // RestorePower ends that. A whole-file write that the cut hits leaves the file emptied
    // and half written, as a write cut off in the middle does.
    void CutPowerAtCall(int nth) { powerLeft_ = nth; }
    // How much of the text a write the cut hits has put on disk: half unless told. Wine
    // rewrites a profile file one section per write() and Windows 98 may stop a write at any
    // cluster, so a cut may end at any byte, line or section.
    void CutWritesKeeping(std::function<std::size_t(const std::string& text)> keeps) {
        cutKeeps_ = std::move(keeps);
    }
    void RestorePower() { powerLeft_ = 0; }
    bool PowerIsCut() const { return powerLeft_ < 0; }
    // The power went, not only the program: what was not yet on disk is gone. A registry
    // hive comes back as its last RegFlushKey left it; a file written through the profile
    // functions, CopyFileA, LZCopyFileA or a shortcut as its last FlushFile or whole-file
    // write (which returns once on disk) left it.
    void LoseUnflushedWrites();
    // The program ended: Windows 98 writes its profile cache out.
    void EndProgram() { WriteOutProfileCache(); }
    const std::vector<CallInfo>& Calls() const { return calls_; }
    void ClearCalls() { calls_.clear(); }

    void SetWindowsDirectory(const std::string& path);
    // Another drive letter for the same disk (SUBST of its root, a mapped drive).
    void AddDriveAlias(char drive, char sameAs);
    // A machine with user profiles: the shell's Desktop, Start Menu (with Programs) and
    // Application Data folders below WINDOWS\Profiles\<user>, named in "User Shell Folders"
    // and made, as Windows 98 lays them out when profiles are switched on.
    void UseUserProfile(const std::string& user);

    // Top-level windows of other processes, as FindWindowA sees them.
    HWND AddWindow(const std::string& className, const std::string& title, bool visible);
    struct PostedMessage {
        HWND window;
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    const std::vector<PostedMessage>& Posted() const { return posted_; }
    const std::vector<UINT>& ExitRequests() const { return exitRequests_; }
    // What ExitWindowsEx does before it returns: Windows 9x asks the running programs there
    // whether the session may end (WM_QUERYENDSESSION), the caller among them.
    void WhileExitingWindows(std::function<void(UINT flags)> asking) {
        whileExiting_ = std::move(asking);
    }
    // Another process made the named mutex: CreateMutexA answers ERROR_ALREADY_EXISTS.
    void HoldMutex(const std::string& name) { mutexes_.insert(name); }
    // That process ended: the mutex is gone with it.
    void ReleaseMutex(const std::string& name) { mutexes_.erase(name); }
    // The notification area: every Shell_NotifyIconA request with its answer, and the icons
    // it holds now, by owner window and identifier. Without one (as under Wine's null
    // graphics driver) every request fails.
    struct NotifyIconRequest {
        DWORD message;
        NOTIFYICONDATAA data;
        BOOL answer;
    };
    const std::vector<NotifyIconRequest>& NotifyIconRequests() const { return notifyRequests_; }
    const NOTIFYICONDATAA* TrayIcon(HWND window, UINT id) const;
    std::size_t TrayIconCount() const { return trayIcons_.size(); }
    void SetTrayAvailable(bool available) { trayAvailable_ = available; }
    // Explorer started again: its new taskbar holds none of the icons.
    void RestartShell() { trayIcons_.clear(); }
    // ShowWindow requests, in order, and the window SetForegroundWindow last named.
    const std::vector<std::pair<HWND, int>>& ShowRequests() const { return showRequests_; }
    HWND ForegroundWindow() const { return foreground_; }
    // A popup menu as TrackPopupMenu showed it.
    struct ShownMenu {
        std::vector<std::string> items;  // the texts, in order; item n has id n + 1 when
        std::vector<UINT> ids;           // appended so
        UINT flags;
        int x, y;
        HWND owner;
    };
    const std::vector<ShownMenu>& ShownMenus() const { return shownMenus_; }
    // The user's choice in the next menu shown, by the item's text; without one, or with a
    // text the menu lacks, the menu closes with nothing chosen.
    void ChooseInNextMenu(const std::string& text) { menuChoices_.push_back(text); }
    std::size_t MenusAlive() const { return menus_.size(); }
    void PlaceCursor(POINT point) { cursor_ = point; }
    void SetSystemMetric(int index, int value) { metrics_[index] = value; }
    // SetSystemPowerState requests: (suspend, force).
    const std::vector<std::pair<BOOL, BOOL>>& PowerRequests() const { return powerRequests_; }
    static constexpr HINSTANCE kModule = 0x400000;
    // The icons LoadImageA made from the module's icon resource 1 (32 by 32 and 16 by 16
    // images) and DestroyIcon has not ended yet, with the size and flags each was asked for.
    struct LoadedIcon {
        int width, height;
        UINT flags;
    };
    const std::map<HICON, LoadedIcon>& Icons() const { return icons_; }
    // The number RegisterWindowMessageA answers for a name.
    UINT RegisteredMessage(const std::string& name) const;

    // The machine's ANSI code page, 1252 (a new machine's) or 932; the program's text is
    // walked by it from now on (FakeText.cpp says what the fake knows of each).
    void SetCodePage(UINT id);
    static CodePage CodePageModel(UINT id);

    void SetMemoryStatus(const MEMORYSTATUS& status) { memory_ = status; }
    void SetVersion(const OSVERSIONINFOA& version) { version_ = version; }

    // Convenience for arranging and checking a machine; they bypass faults and the log.
    void PutFile(const std::string& path, const std::string& contents, DWORD attributes = 0);
    // Stores a value exactly as given (type and bytes), creating its key.
    void PutValue(HKEY root, const std::string& path, const std::string& name, DWORD type,
                  const std::vector<BYTE>& data);
    std::string FileText(const std::string& path) const;
    bool HasFile(const std::string& path) const;
    bool HasDirectory(const std::string& path) const;
    // The whole machine, one line per key, value, folder and file (attributes and contents
    // included), in a fixed order: two machines are alike when their dumps are.
    std::vector<std::string> Dump() const;
    void MakeDirectories(const std::string& path);

    // ShellExecuteOpen requests, in order.
    struct ShellRequest {
        HWND owner;
        std::string verb, file;
    };
    const std::vector<ShellRequest>& ShellOpened() const { return shellOpened_; }

    // --- The seam ----------------------------------------------------------------------
    // Made by family: FakeRegistry.cpp, FakeFiles.cpp (profiles, files and folders) and
    // FakeShell.cpp (shell, windows, session and system). A shortcut is a file whose text is
    // "LINK " + target + "|" + working directory. SHGetSpecialFolderPathA answers the folder
    // "User Shell Folders" names when it exists, else the one below the Windows directory (a
    // machine without user profiles); a missing folder is made only when asked, and otherwise
    // answers FALSE.
#define VT_PLATFORM_CALL VT_PLATFORM_OVERRIDE
#include "platform/PlatformCalls.def"

  private:
    struct Key;
    struct File {
        std::vector<BYTE> data;
        DWORD attributes = 0;  // read-only, hidden, system only
    };
    struct Fault {
        std::function<bool(const CallInfo&)> match;
        LONG error;
    };

    // Logs the call and answers the injected error, or ERROR_SUCCESS; sets ignored_ when the
    // call is to change nothing.
    LONG Enter(const CallInfo& call);
    BOOL Fail(LONG error);
    char16_t ToUtf16(const char* text, std::size_t& length) const;
    std::string FromUtf16(char16_t unit) const;

    std::shared_ptr<Key> Resolve(HKEY key) const;
    // Resolves a handle to a key that still exists; answers the error otherwise.
    LONG Live(HKEY key, std::shared_ptr<Key>& node) const;
    std::string KeyPath(HKEY key, const char* subKey) const;
    HKEY NewHandle(std::shared_ptr<Key> key);
    LONG OpenOrCreate(Call kind, HKEY key, const char* subKey, HKEY* result);
    LONG DeleteWithSubkeys(Key& parent, const std::string& name);
    static void MarkDeleted(Key& key);
    static std::shared_ptr<Key> Clone(const Key& key);
    std::shared_ptr<Key> HiveOf(std::shared_ptr<Key> node) const;
    // Before the first change to a hive since its last flush, what a power loss returns to.
    void Unflushed(const std::shared_ptr<Key>& node);
    // Before a change that stays in the file cache until flushed.
    void UnflushedFile(const std::string& fullPath);

    // The path as GetFullPathNameA spells it, and the file or folder it names (another drive
    // letter for the same disk and short names read as the long ones).
    std::string TextualPath(const std::string& path) const;
    std::string FullPath(const std::string& path) const;
    static std::string ShortPart(const std::string& part);
    std::string ParentOf(const std::string& fullPath) const;
    LONG MissingFileError(const std::string& fullPath) const;
    std::string ProfilePath(const char* fileName) const;
    // A file that may be written: there and not read-only, or not there in an existing folder.
    bool Writable(const std::string& fullPath) const;
    // The profile file's text once the write is made; nothing when it would not change.
    std::optional<std::string> ProfileEdit(const std::string& fullPath, const char* section,
                                           const char* key, const char* value) const;
    // Windows 98's profile cache: the file's text as the profile functions see it.
    std::string ProfileText(const std::string& fullPath) const;
    void WriteOutProfileCache();

    std::shared_ptr<Key> localMachine_;
    std::shared_ptr<Key> users_;
    std::shared_ptr<Key> currentUser_;
    std::shared_ptr<Key> classesRoot_;
    std::map<HKEY, std::shared_ptr<Key>> handles_;
    HKEY nextHandle_ = 0x1000;

    std::map<std::string, File> files_;               // by upper-case full path
    std::map<std::string, std::string> directories_;  // upper-case full path -> as created
    std::string windowsDir_ = "C:\\WINDOWS";
    std::string currentDir_ = "C:\\";

    struct Window {
        std::string className, title;
        bool visible;
    };
    std::map<HWND, Window> windows_;
    std::vector<PostedMessage> posted_;
    std::vector<UINT> exitRequests_;
    std::function<void(UINT)> whileExiting_;
    std::set<std::string> mutexes_;  // names of the machine's mutexes (case counts)
    HANDLE nextMutex_ = 0x2000;
    std::vector<std::pair<HWND, int>> showRequests_;
    HWND foreground_ = 0;

    bool trayAvailable_ = true;
    std::map<std::pair<HWND, UINT>, NOTIFYICONDATAA> trayIcons_;
    std::vector<NotifyIconRequest> notifyRequests_;

    struct MenuItem {
        UINT id;
        std::string text;
    };
    std::map<HMENU, std::vector<MenuItem>> menus_;
    HMENU nextMenu_ = 0x5000;
    std::vector<ShownMenu> shownMenus_;
    std::vector<std::string> menuChoices_;
    POINT cursor_{};
    std::map<int, int> metrics_;
    std::map<HICON, LoadedIcon> icons_;
    HICON nextIcon_ = 0x7001;
    std::map<std::string, UINT> registeredMessages_;  // by upper-case name
    std::vector<std::pair<BOOL, BOOL>> powerRequests_;

    MEMORYSTATUS memory_{};
    OSVERSIONINFOA version_{};

    std::vector<ShellRequest> shellOpened_;
    std::vector<CallInfo> calls_;
    std::vector<Fault> faults_;
    std::vector<std::function<bool(const CallInfo&)>> ignores_;
    bool ignored_ = false;
    std::size_t profileRoom_ = 0;  // 0: the disk has room
    // The hives as last flushed (by the path of their root key), and the files whose last
    // change is not on disk yet, as they are on disk (nothing: not there).
    std::map<std::string, std::shared_ptr<Key>> flushedHives_;
    std::map<std::string, std::optional<File>> unflushedFiles_;
    // Windows 98: the one profile file whose changes are not written out yet, and its text.
    struct ProfileCache {
        std::string path;  // full path as written
        std::string text;
    };
    std::optional<ProfileCache> profileCache_;
    DWORD lastError_ = 0;
    std::unique_ptr<CodePage> codePage_;
    std::map<std::string, int> heldOpen_;  // by upper-case full path
    DWORD slept_ = 0;
    Behaviour behaviour_;
    std::map<std::string, std::size_t> roomToGrow_;  // by upper-case path
    std::map<char, char> driveAliases_;
    std::function<std::size_t(const std::string&)> cutKeeps_;
    std::size_t CutLength(const std::string& text) const;
    int powerLeft_ = 0;  // 0: no cut armed; -1: cut
};

}  // namespace vt::fake
