// The main window's restore points: the one every write keeps, "Undo last change..." and
// the recovery of a pass that was cut off.
#include "app/TForm1.h"

#include "platform/NoCase.h"
#include "store/Paths.h"
#include "store/StoreError.h"

#include <exception>

namespace vt {

// --- Restore points --------------------------------------------------------------------

std::string TForm1::RestoreDir() {
    const std::string dir = ProgramDir.empty() ? TakeProgramDir(sys_) : ProgramDir;
    return TrimTrailing(dir, '\\') + "\\Restore";
}

RestoreJournal::Scope TForm1::KeepRestorePoint() {
    if (NoRestorePoints) return RestoreJournal::Scope(nullptr);
    return journal_.Record(RestoreDir());
}

std::optional<std::string> TForm1::WritePass(const std::function<void()>& writes) {
    CommitTyping();  // Enter, the countdown and the tray start a pass with the focus in a box
    if (journal_.Recording()) {
        writes();
        return std::nullopt;
    }
    std::optional<std::string> failure;
    {
        auto point = KeepRestorePoint();
        try {
            writes();
            journal_.Finish();
        } catch (const std::exception& e) {
            failure = ErrorText(e);
        }
    }
    if (failure) SettleFailedPass(*failure);
    return failure;
}

bool TForm1::CanUndo() {
    return !ListRestorePoints(sys_, RestoreDir()).empty();
}

ManagedScope TForm1::Managed() {
    std::string windows = WindowsDir.empty() ? TakeWindowsDir(sys_) : WindowsDir;
    std::string program = ProgramDir.empty() ? TakeProgramDir(sys_) : ProgramDir;
    return {windows, program, WindowsDir.empty() ? TakeShellFolders(sys_, windows) : Folders,
            declared_};
}

namespace {

std::string Named(std::string text, const std::string& point) {
    text.replace(text.find("%s"), 2, point);
    return text;
}

std::string Described(const UndoReport& report) {
    std::string text =
        report.failures.empty()
            ? "The settings were put back as they were before restore point " + report.point + "."
            : "Some settings of restore point " + report.point + " could not be put back:";
    for (const std::string& failure : report.failures) text += "\n" + failure;
    if (!report.failures.empty())
        text +=
            "\n\nEverything else was put back. The restore point is kept: \"Undo last "
            "change...\" tries it again.";
    else if (!report.removed)
        text += "\n\nThe restore point could not be taken off the list of restore points.";
    return text;
}

}  // namespace

std::optional<UndoReport> TForm1::PutBackNewestPoint() {
    for (;;) {
        try {
            return UndoNewestRestorePoint(sys_, RestoreDir(), Managed());
        } catch (const RestorePointDamaged& e) {
            std::vector<std::string> names = ListRestorePoints(sys_, RestoreDir());
            if (names.size() < 2) {
                prompts_.ShowError(std::string(e.what()) + "\n\nNothing was changed.");
                return std::nullopt;
            }
            if (prompts_.Confirm(std::string(e.what()) + "\n\n" + kSkipDamagedQuestion,
                                 ui::Buttons::YesNo) != ui::Answer::Yes)
                return std::nullopt;
            RemoveRestorePoint(sys_, RestoreDir(), names.back());
        }
    }
}

// As "Apply" does after its write: the marks go and every page shows what the stores hold,
// whatever became of the Undo.
void TForm1::UndoLastApply() {
    if (!CanUndo()) return;
    if (prompts_.Confirm(kUndoQuestion, ui::Buttons::YesNo) != ui::Answer::Yes) return;
    ReadPendingPages();
    HideAllPages();
    ClearMarks();
    std::optional<UndoReport> report;
    try {
        report = PutBackNewestPoint();
    } catch (const std::exception& e) {
        prompts_.ShowError(ErrorText(e));
    }
    TakeBackConfig();
    for (PageState& state : pages_)
        if (state.page.beforeUndo) state.page.beforeUndo();
    BacaData();
    if (report) prompts_.ShowMessage(Described(*report));
}

void TForm1::TakeBackConfig() {
    try {
        Config.SetShowSplash(ReadConfigDat(sys_, TakeProgramDir(sys_)).ShowSplash());
    } catch (const IoError&) {
        // Unreadable: the option stays as the window holds it.
    }
}

void TForm1::KeepWhatIsWhole(const std::string& point) {
    UndoReport report = KeepUnfinishedRestorePoint(sys_, RestoreDir(), point, Managed());
    if (report.filesPutBack.empty() && report.failures.empty()) return;
    std::string text = Named(kCutOffFilesNote, point);
    for (const std::string& file : report.filesPutBack) text += "\n" + file;
    if (!report.failures.empty()) text += "\n\nThese could not be put back:";
    for (const std::string& file : report.failures) text += "\n" + file;
    prompts_.ShowMessage(text);
}

// A pass cut off is put back or kept as the user says; an Undo cut off is finished, since
// putting the point back again is the same Undo whatever it had done.
void TForm1::RecoverUnfinishedPass() {
    // A window that keeps no restore points (a check) leaves one cut off to the next that does.
    if (NoRestorePoints) return;
    std::optional<UnfinishedPoint> point = UnfinishedRestorePoint(sys_, RestoreDir());
    if (!point) return;
    bool putBack = point->undoing || prompts_.Confirm(Named(kUnfinishedQuestion, point->name),
                                                      ui::Buttons::YesNo) == ui::Answer::Yes;
    if (putBack) {
        try {
            if (auto report = UndoNewestRestorePoint(sys_, RestoreDir(), Managed()))
                prompts_.ShowMessage(
                    (point->undoing ? Named(kFinishedUndoNote, point->name) + "\n\n" : "") +
                    Described(*report));
        } catch (const RestorePointDamaged& e) {
            prompts_.ShowError(std::string(e.what()) + "\n\nNothing was changed.");
            putBack = false;
        }
    }
    if (!putBack) KeepWhatIsWhole(point->name);
    TakeBackConfig();
}

void TForm1::SettleFailedPass(const std::string& failure) {
    const std::string folder = journal_.PointFolder();
    if (folder.empty() || !journal_.HoldsChanges()) {
        prompts_.ShowError(failure);
        return;
    }
    const std::string point = NameOf(folder);
    try {
        if (prompts_.Confirm(failure + "\n\n" + kFailedPassQuestion, ui::Buttons::YesNo) ==
            ui::Answer::Yes) {
            if (auto report = UndoNewestRestorePoint(sys_, RestoreDir(), Managed()))
                prompts_.ShowMessage(Described(*report));
        } else {
            KeepWhatIsWhole(point);
        }
    } catch (const std::exception& e) {
        prompts_.ShowError(ErrorText(e));
    }
    TakeBackConfig();
}

}  // namespace vt
