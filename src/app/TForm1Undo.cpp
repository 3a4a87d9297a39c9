// The main window's restore points: the one every write keeps, "Undo last change..." and
// the recovery of a pass that was cut off.
#include "app/TForm1.h"

#include "platform/NoCase.h"
#include "store/Paths.h"

#include <exception>

namespace vt {

// --- Restore points --------------------------------------------------------------------

std::string TForm1::RestoreDir() {
    std::string dir = ProgramDir.empty() ? TakeProgramDir(sys_) : ProgramDir;
    if (!dir.empty() && dir.back() == '\\') dir.pop_back();
    return dir + "\\Restore";
}

RestoreJournal::Scope TForm1::KeepRestorePoint() {
    return journal_.Record(RestoreDir());
}

bool TForm1::CanUndo() {
    return !ListRestorePoints(sys_, RestoreDir()).empty();
}

ManagedScope TForm1::Managed() {
    std::string windows = WindowsDir.empty() ? TakeWindowsDir(sys_) : WindowsDir;
    std::string program = ProgramDir.empty() ? TakeProgramDir(sys_) : ProgramDir;
    return {windows, program};
}

namespace {

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
        prompts_.ShowError(e.what());
    }
    std::string configDat = TakeProgramDir(sys_) + ConfigDat::kFileName;
    for (const std::string& file : report ? report->filesPutBack : std::vector<std::string>{}) {
        if (!EqualNoCase(file, configDat)) continue;
        try {
            Config.SetShowSplash(ReadConfigDat(sys_, TakeProgramDir(sys_)).ShowSplash());
        } catch (const IoError&) {
            // Unreadable: the option stays as the window holds it.
        }
    }
    if (hooks.clearShortcutBoxes) hooks.clearShortcutBoxes();
    BacaData();
    if (report) prompts_.ShowMessage(Described(*report));
}

void TForm1::RecoverUnfinishedPass() {
    std::optional<std::string> point = UnfinishedRestorePoint(sys_, RestoreDir());
    if (!point) return;
    std::string question = kUnfinishedQuestion;
    question.replace(question.find("%s"), 2, *point);
    if (prompts_.Confirm(question, ui::Buttons::YesNo) == ui::Answer::Yes) {
        try {
            if (auto report = UndoNewestRestorePoint(sys_, RestoreDir(), Managed()))
                prompts_.ShowMessage(Described(*report));
            return;
        } catch (const RestorePointDamaged& e) {
            prompts_.ShowError(std::string(e.what()) + "\n\nNothing was changed.");
        }
    }
    KeepUnfinishedRestorePoint(sys_, RestoreDir(), *point, Managed());
}

}  // namespace vt
