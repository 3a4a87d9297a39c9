#include "app/Unattended.h"

#include "app/ChangeLog.h"
#include "platform/NoCase.h"
#include "store/Paths.h"
#include "store/StoreError.h"
#include "store/RestorePointFiles.h"

#include <exception>

namespace vt {
namespace {

// Every question answered No (the safe answer); what is said goes into the log.
class LoggedPrompts final : public ui::Prompts {
  public:
    explicit LoggedPrompts(std::vector<std::string>& log) : log_(log) {}
    ui::Answer Confirm(const std::string& text, ui::Buttons) override {
        log_.push_back("question answered No: " + OneLine(text));
        return ui::Answer::No;
    }
    void ShowError(const std::string& text) override { log_.push_back("error: " + OneLine(text)); }
    void ShowMessage(const std::string& text) override { log_.push_back(OneLine(text)); }
    std::optional<std::string> OpenFile(const std::string&) override { return std::nullopt; }
    std::optional<std::string> SaveFile(const std::string&, const std::string&) override {
        return std::nullopt;
    }
    std::optional<std::string> BrowseFolder(const std::string&) override { return std::nullopt; }

    static std::string OneLine(std::string text) {
        for (char& c : text)
            if (c == '\n' || c == '\r') c = ' ';
        return text;
    }

  private:
    std::vector<std::string>& log_;
};

void Append(std::vector<std::string>& log, const std::string& prefix,
            const std::vector<std::string>& lines) {
    for (const std::string& line : lines) log.push_back(prefix + line);
}

int ApplyProfileFile(TForm1& form, const UnattendedRun& run, std::vector<std::string>& log,
                     Platform& sys) {
    TForm1::ImportResult result = form.ImportProfile(run.profile);
    if (!result.errors.empty()) {
        for (const std::string& error : result.errors)
            Append(log,
                   result.unreadable ? "error: " : "refused: ", pointfiles::Split(error, '\n'));
        return result.unreadable ? kExitFailed : kExitRefused;
    }
    Append(log, "set ", result.outcome.changed);
    Append(log, "", result.outcome.skipped);
    int code = kExitDone;
    try {
        if (std::optional<std::string> failure = form.WriteSettled()) throw IoError(*failure);
        // The pass leaves a failed Config.DAT write to the window's close, which reports it;
        // here nothing closes.
        std::string programDir = TakeProgramDir(sys);
        if (ReadConfigDat(sys, programDir).ShowSplash() != form.Config.ShowSplash())
            throw IoError("Unable to write to " + programDir + ConfigDat::kFileName);
    } catch (const std::exception& e) {
        log.push_back("error: " + LoggedPrompts::OneLine(ErrorText(e)));
        code = kExitFailed;
    }
    if (!form.LastRestorePoint().empty()) {
        Append(log, "changed ",
               ChangeLines(ValuesInPoint(sys, form.LastRestorePoint()),
                           ValuesNow(sys, form.LastRestorePoint())));
        log.push_back("restore point: " + form.LastRestorePoint());
    }
    return code;
}

int UndoNewest(TForm1& form, std::vector<std::string>& log, Platform& sys) {
    std::vector<std::string> points = ListRestorePoints(sys, form.RestoreDir());
    if (points.empty()) {
        log.push_back("no restore point to put back");
        return kExitDone;
    }
    std::string point = form.RestoreDir() + "\\" + points.back();
    std::vector<std::string> changes =
        ChangeLines(ValuesNow(sys, point), ValuesInPoint(sys, point));
    try {
        std::optional<UndoReport> report =
            UndoNewestRestorePoint(sys, form.RestoreDir(), form.Managed());
        if (!report) return kExitDone;
        Append(log, "put back ", changes);
        Append(log, "error: ", report->failures);
        return report->failures.empty() ? kExitDone : kExitFailed;
    } catch (const RestorePointDamaged& e) {
        log.push_back("refused: " + LoggedPrompts::OneLine(e.what()));
        return kExitRefused;
    } catch (const std::exception& e) {
        log.push_back("error: " + LoggedPrompts::OneLine(ErrorText(e)));
        return kExitFailed;
    }
}

// A write or Undo cut off on an earlier run is put back, never kept: nobody is here to judge
// what it left, and a file it was writing may be incomplete.
std::optional<int> PutBackCutOff(TForm1& form, std::vector<std::string>& log, Platform& sys) {
    std::optional<UnfinishedPoint> point = UnfinishedRestorePoint(sys, form.RestoreDir());
    if (!point) return std::nullopt;
    log.push_back("restore point " + point->name + ": " +
                  (point->undoing ? "its Undo" : "its write") +
                  " was cut off; putting it back, and nothing else this run");
    int code = UndoNewest(form, log, sys);
    return code == kExitDone ? kExitPutBackCutOff : code;
}

}  // namespace

std::vector<std::string> CommandWords(const std::string& commandLine) {
    std::vector<std::string> words;
    std::string word;
    bool quoted = false, inWord = false;
    for (char c : commandLine) {
        if (c == '"') {
            quoted = !quoted;
            inWord = true;
        } else if ((c == ' ' || c == '\t') && !quoted) {
            if (inWord) words.push_back(word);
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord) words.push_back(word);
    return words;
}

std::optional<UnattendedRun> ParseUnattended(const std::vector<std::string>& words) {
    UnattendedRun run;
    std::string& error = run.refused;
    std::optional<UnattendedRun::Command> command;
    bool unattended = false;  // a switch of these was given
    for (std::size_t i = 0; i < words.size() && error.empty(); ++i) {
        std::string word = ToLower(words[i]);
        auto file = [&]() {
            if (i + 1 < words.size() && !words[i + 1].starts_with("/")) return words[++i];
            error = words[i] + " needs a file name.";
            return std::string();
        };
        auto take = [&](UnattendedRun::Command c) {
            if (command && *command != c) error = "Only one of /apply, /undo and /export.";
            command = c;
        };
        if (word == "/apply" || word == "/export") {
            take(word == "/apply" ? UnattendedRun::Command::Apply : UnattendedRun::Command::Export);
            run.profile = file();
        } else if (word == "/undo") {
            take(UnattendedRun::Command::Undo);
        } else if (word == "/log") {
            run.log = file();
        } else if (unattended || command) {
            error = "Unknown part of the command line: " + words[i];
        }
        unattended = unattended || command || !run.log.empty();
    }
    if (!unattended && !command) return std::nullopt;
    if (!command && error.empty()) error = "/log needs /apply, /undo or /export.";
    if (command) run.command = *command;
    return run;
}

namespace {

// The log (and an exported profile) replace no file that is not theirs to replace, nor the
// profile being applied.
std::optional<std::string> RefusedTarget(Platform& sys, const std::string& target,
                                         const UnattendedRun& run, const ManagedScope& scope) {
    if (target.empty()) return std::nullopt;
    if (&target == &run.log && EqualNoCase(run.log, run.profile))
        return "the log \"" + run.log + "\" would replace the profile.";
    return RefusedTextTarget(sys, target, scope);
}

// The run itself; answers its exit code, every step it took in `log`.
int RunLogged(Platform& sys, const UnattendedRun& run, const ManagedScope& scope,
              const std::function<void(Program&, ui::Prompts&)>& attachPages,
              std::vector<std::string>& log) {
    if (!run.refused.empty()) {
        log.push_back("refused: " + run.refused);
        return kExitRefused;
    }
    std::vector<const std::string*> targets = {&run.log};
    if (run.command == UnattendedRun::Command::Export) targets.push_back(&run.profile);
    for (const std::string* target : targets)
        if (std::optional<std::string> refused = RefusedTarget(sys, *target, run, scope)) {
            log.push_back("refused: " + *refused);
            return kExitRefused;
        }
    bool another = sys.CreateMutexA(kSingleInstanceMutex) != 0 &&
                   sys.GetLastError() == static_cast<DWORD>(ERROR_ALREADY_EXISTS);
    if (another || sys.FindWindowA(TForm1::kClassName, TForm1::kCaption) ||
        sys.FindWindowA(TForm3::kClassName, TForm3::kCaption)) {
        log.push_back("Veltrim 2000 is open on this PC: nothing was written.");
        return kExitAlreadyOpen;
    }
    ConfigDat config;
    try {
        config = ReadConfigDat(sys, TakeProgramDir(sys));
    } catch (const IoError& e) {
        log.push_back("error: " + std::string(e.what()) + " (" + TakeProgramDir(sys) + ")");
        return kExitFailed;
    }

    LoggedPrompts prompts(log);
    Program program(sys, prompts);
    TForm1& form = program.main;
    form.Config = config;
    if (attachPages) attachPages(program, prompts);
    if (std::optional<int> code = PutBackCutOff(form, log, sys)) return *code;
    if (!Guarded(prompts, [&] { form.FormCreate(); })) return kExitFailed;
    // A page that cannot be read is logged and left unread, so unwritten.
    bool readFailed = false;
    for (bool more = true; more;)
        if (!Guarded(prompts, [&] { more = form.ReadSomethingPending(); })) readFailed = true;

    int code = kExitDone;
    switch (run.command) {
        case UnattendedRun::Command::Export:
            // A page that could not be read shows no stored values: they are not rolled out.
            if (readFailed) {
                log.push_back("error: nothing was exported");
                code = kExitFailed;
            } else if (std::optional<std::string> error = form.ExportProfile(run.profile)) {
                log.push_back("error: " + *error);
                code = kExitFailed;
            } else {
                log.push_back("exported to " + run.profile);
            }
            break;
        case UnattendedRun::Command::Apply:
            code = ApplyProfileFile(form, run, log, sys);
            break;
        case UnattendedRun::Command::Undo:
            code = UndoNewest(form, log, sys);
            break;
    }
    // An Undo puts back what its point holds, whatever the pages could show.
    if (code == kExitDone && readFailed && run.command != UnattendedRun::Command::Undo)
        code = kExitFailed;
    return code;
}

}  // namespace

int RunUnattended(Platform& sys, const UnattendedRun& run,
                  const std::function<void(Program&, ui::Prompts&)>& attachPages) {
    std::vector<std::string> log;
    const char* names[] = {"/apply", "/undo", "/export"};
    log.push_back("Veltrim 2000 " +
                  (run.refused.empty() ? std::string(names[static_cast<int>(run.command)]) +
                                             (run.profile.empty() ? "" : " " + run.profile)
                                       : std::string("command line")) +
                  ", " + pointfiles::LocalTime());
    const ManagedScope scope{TakeWindowsDir(sys), TakeProgramDir(sys)};
    const bool logAllowed = !run.log.empty() && !RefusedTarget(sys, run.log, run, scope);
    auto finish = [&](int code) {
        log.push_back("exit code " + std::to_string(code));
        if (logAllowed) {
            std::string text;
            for (const std::string& line : log) text += line + "\r\n";
            WriteTextFile(sys, run.log, text);
        }
        return code;
    };
    try {
        return finish(RunLogged(sys, run, scope, attachPages, log));
    } catch (const std::exception& e) {
        log.push_back("error: " + LoggedPrompts::OneLine(ErrorText(e)));
        return finish(kExitFailed);
    }
}

}  // namespace vt
