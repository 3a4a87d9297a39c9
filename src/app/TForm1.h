// The main window: the page control the pages bring their tabs to, the four command buttons,
// the change marks, the description boxes and the Apply / OK / Cancel cycle. The pages
// plug into it as entries of the page table (their reads, writes, resets, detail frames and
// what they write), with their marked check boxes and described controls.
#pragma once

#include "store/ConfigDat.h"
#include "store/RestoreJournal.h"
#include "store/RestorePoints.h"
#include "store/ShellFolders.h"
#include "app/Profile.h"
#include "app/TkbTrayIcon.h"
#include "platform/Platform.h"
#include "ui/Form.h"
#include "ui/Menu.h"
#include "ui/Prompts.h"

#include <array>
#include <functional>
#include <initializer_list>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace vt {

class TForm1 : public ui::Form {
  public:
    TForm1(Platform& sys, ui::Prompts& prompts);

    static constexpr const char* kClassName = "TForm1";
    static constexpr const char* kCaption = "Veltrim 2000";

    // --- Controls ------------------------------------------------------------------------
    // The pages bring their tabs (each names its place among them).
    ui::PageControl PageControl1{"PageControl1", this};
    ui::Button Button1{"Button1", this, "OK"};
    ui::Button Button5{"Button5", this, "Apply"};
    ui::Button Button4{"Button4", this, "Cancel"};
    ui::Button Button7{"Button7", this, "Hide"};
    // The notification-area icon, which stands for the window while it is hidden.
    ui::PopupMenu PopupMenu1{"PopupMenu1"};
    ui::MenuItem Restore1{"Restore1", &PopupMenu1, "Restore"};
    ui::MenuItem Exit1{"Exit1", &PopupMenu1, "Exit"};
    TkbTrayIcon kbTrayIcon1;

    // --- Program-wide state --------------------------------------------------------------
    bool RestartPending = false;
    bool AutoShutdownActive = false;
    // The countdown has asked Windows to shut down: the end of the session goes unasked.
    bool ShutdownByCountdown = false;
    bool UninstallEdited = false;  // the uninstall-command editor changed an entry
    std::string WindowsDir;
    ShellFolders Folders;  // where the shell keeps the user's Desktop, Start Menu, ...
    // The main window as the view made it (0 until then): the owner of what the shell shows.
    HWND Handle = 0;
    std::string ProgramDir;
    ConfigDat Config;

    // --- How pages plug in ---------------------------------------------------------------
    // One entry of the page table: a page or tool as the window sees it. `filled` are the
    // controls the read fills (whole subtrees): what they show once it completes is what the
    // write compares against. A page whose read did not complete writes nothing.
    struct PageEntry {
        ui::TabSheet* sheet;              // the tab it lies on
        std::function<void()> read = {};  // none: nothing to read
        std::function<void()> write = {};
        std::vector<ui::Control*> filled = {};
        std::function<void()> resetToWindowsDefault = {};
        std::function<void()> hideDetails = {};      // puts its detail frames away
        std::function<void()> created = {};          // FormCreate, before any page is read
        std::function<void()> shown = {};            // its tab became the shown one
        std::function<void()> uninstallEdited = {};  // activated after the uninstall editor
        std::function<void()> beforeUndo = {};       // Undo, before its read pass
        ManagedStores touches = {};                  // what its writes may change
    };
    // The pages in the order every pass walks them (added in that order).
    void AddPage(PageEntry page);
    // What the pages declare they write: what a restore point may put back.
    const ManagedStores& DeclaredStores() const { return declared_; }
    // A check box that the left button marks navy after the detail frames of the page it lies
    // on are put away; `then` runs after the mark, before the box toggles.
    void MarkOnPress(ui::CheckBox& box, std::function<void()> then = {});
    // A box whose navy mark "Apply" clears (every marked box does this already).
    void ClearedByApply(ui::CheckBox& box) { markable_.push_back(&box); }
    // Mouse moves over `control` show `text` as the memo's only line.
    void Describe(ui::Control& control, ui::Memo& memo, const std::string& text);
    struct Description {
        ui::Control& control;
        const char* text;
    };
    void Describe(ui::Memo& memo, std::initializer_list<Description> descriptions);
    // Mouse moves over `control` disable and empty the memo.
    void ClearsDescription(ui::Control& control, ui::Memo& memo);
    // The description memos PageControl1Change disables and empties.
    void RegisterMemo(ui::Memo& memo) { memos_.push_back(&memo); }
    // A line the memo shows whenever no description does; empty: the memo rests disabled
    // and empty.
    void SetRestingNote(ui::Memo& memo, const std::string& note);

    // The settings of every page as a profile holds them (export and import).
    std::function<std::vector<ProfileField>()> ProfileFields;

    // --- Handlers ------------------------------------------------------------------------
    void FormCreate();
    void FormActivate();
    void FormCloseQuery(bool& canClose);
    void WMUser();
    void FormShow();
    void FormHide();
    void Restore1Click();
    void PageControl1Change();
    void Button5Click();
    void Button1Click();
    void Button4Click();
    void Button7Click();
    void Exit1Click();
    // WM_QUERYENDSESSION: the close query's answer.
    bool QueryEndSession();
    // WM_ENDSESSION: whether the session ends after all.
    void EndSession(bool ending);

    // --- Restore points ----------------------------------------------------------------
    // The platform the pages and tools reach the stores through: during a write pass it
    // keeps a restore point of whatever the pass changes, saved before the change.
    Platform& Stores() { return journal_; }
    // Everything written until the guard goes shares one restore point; a write pass inside
    // ("Back to Windows Default" ends with "Apply") joins it.
    [[nodiscard]] RestoreJournal::Scope KeepRestorePoint();
    // A window over a platform that writes nothing ("/check") keeps no restore point.
    bool NoRestorePoints = false;
    // Runs `writes` under one restore point and settles it: once they are done, the point is
    // marked ended only after the registry is flushed. Should they fail, the user reads why
    // and chooses to put back what they changed or keep it (a file left incomplete is put
    // back either way). Answers the failure, already reported; nothing when all went well.
    // Inside another pass the writes join it, and the outer one settles.
    std::optional<std::string> WritePass(const std::function<void()>& writes);
    // "Undo last change..." of the system menu: there is a point to put back.
    bool CanUndo();
    // Asks, puts back the newest restore point (or, when it is damaged and the user agrees,
    // the next older one), says what went back and what did not, and reads every page again.
    void UndoLastApply();
    std::string RestoreDir();
    // The folder of the restore point the last write pass kept; empty when it changed nothing.
    const std::string& LastRestorePoint() const { return journal_.PointFolder(); }
    ManagedScope Managed();
    // At an interactive start: a write pass that was cut off (power lost, program ended) left
    // an open restore point; the user chooses to put back what it changed or keep it.
    void RecoverUnfinishedPass();
    static constexpr const char* kUndoQuestion =
        "Put back the settings as they were before the last change?";
    static constexpr const char* kUnfinishedQuestion =
        "Veltrim 2000 was stopped while it was writing settings (restore point %s): some "
        "settings may be changed and others not.\n\nPut back every setting that write had "
        "changed?\n\nYes puts them back; No keeps them as they are now (\"Undo last change...\" "
        "can still put them back later).";
    static constexpr const char* kFinishedUndoNote =
        "Veltrim 2000 was stopped while it was putting back restore point %s, and has now "
        "finished putting it back.";
    static constexpr const char* kCutOffFilesNote =
        "These files were being written when Veltrim 2000 was stopped or the write failed, and "
        "were left incomplete; they were put back as they were before restore point %s:";
    static constexpr const char* kFailedPassQuestion =
        "Put back every setting this write had changed?\n\nYes puts them back as they were; No "
        "keeps those that were written (a file left incomplete is put back all the same).";
    static constexpr const char* kSkipDamagedQuestion =
        "Nothing was changed.\n\nSkip this restore point and put back the one before it?";

    void BacaData();  // the read pass: every page, now
    // The write pass: every page that was read; a store error stops it where it happens.
    void TulisData();
    // The write pass as the user's commands run it: settled (WritePass), so that a failure is
    // reported with the offer to put back what it changed. Answers the failure.
    std::optional<std::string> WriteSettled();
    // At start only the pages the window opens on are read; the others wait until the window
    // is idle, or until they are shown or needed. Reads the next one in the table's order:
    // false when none is left.
    bool ReadSomethingPending();
    void ReadPendingPages();
    // "Apply": the details put away, the marks cleared, the write pass, then the read pass.
    void Apply();
    // Whether the last read of the pages on `sheet` completed, so that their writes may run.
    bool PageRead(const ui::TabSheet& sheet) const;
    // "Back to Windows Default", answered Yes: every page's reset in the table's order, then
    // "Apply", under one restore point. A store error stops it where it happens.
    void ResetToWindowsDefault();

    // --- Settings profiles -------------------------------------------------------------
    // "Export settings...": every page read, then what they show saved where the user says.
    void ExportSettings();
    // "Import settings...": a profile the user chooses, checked whole, sets its controls as
    // the user would; nothing is written until "Apply" or "OK".
    void ImportSettings();
    // The same without dialogs. Export answers the error, or nothing.
    std::optional<std::string> ExportProfile(const std::string& path);
    struct ImportResult {
        std::vector<std::string> errors;  // a bad file sets nothing
        bool unreadable = false;          // the file could not be read at all
        ProfileOutcome outcome;
    };
    ImportResult ImportProfile(const std::string& path);
    // Several profiles as one: checked together, a later line over an earlier one.
    ImportResult ImportProfiles(const std::vector<std::string>& paths);

    const std::vector<ui::CheckBox*>& MarkableBoxes() const { return markable_; }

    static constexpr const char* kAutoShutdownQuestion =
        "If you exit now, AutoShutdown process will be canceled. Do you want to exit?";
    static constexpr const char* kRestartQuestion =
        "You must restart your computer before the new settings will take effect. Do you want "
        "to restart your computer now?";
    static constexpr const char* kRestartRefused =
        "Windows did not restart. Restart your computer yourself before the new settings take "
        "effect.";

    // Every page's detail frames put away.
    void HideAllPages();

  private:
    // While the countdown runs: asks whether to exit anyway; true when the user says No.
    bool KeepsCountdownRunning();
    void RewriteConfigDat();
    // After settings were put back: the option the window keeps of Config.DAT read again, so
    // that the close does not write back what was undone.
    void TakeBackConfig();
    // A pass that failed: `failure` shown, with the offer to put its point back.
    void SettleFailedPass(const std::string& failure);
    // Keeps what an unfinished or failed pass wrote whole, and says which files it put back.
    void KeepWhatIsWhole(const std::string& point);
    void ClearMarks();
    void RestMemo(ui::Memo& memo);
    // Puts back the newest point, or with the user's leave the older ones past a damaged
    // one; answers what was done, or nothing when nothing changed.
    std::optional<UndoReport> PutBackNewestPoint();

    struct PageState {
        PageEntry page;
        bool readComplete = false;
        bool pending = false;  // not read since the start
    };
    void ReadPage(PageState& state);
    // The pages whose controls lie on `sheet`, read now if they wait.
    void ReadPagesOn(const ui::Control& sheet);

    Platform& sys_;
    ui::Prompts& prompts_;
    RestoreJournal journal_;
    std::vector<PageState> pages_;  // the page table
    ManagedStores declared_;
    std::vector<ui::CheckBox*> markable_;
    std::vector<ui::Memo*> memos_;
    std::map<ui::Memo*, std::string> notes_;
    bool configErrorShown_ = false;
    bool committing_ = false;  // "OK" is running: a second press waits for nothing
    bool closing_ = false;     // the close query allowed the close: the hide is no trip to the tray
};

}  // namespace vt
