#include "app/Unattended.h"

#include "app/ChangeLog.h"
#include "app/DryRun.h"
#include "platform/NoCase.h"
#include "store/FileLimits.h"
#include "store/Paths.h"
#include "store/RestorePointFiles.h"
#include "store/StoreError.h"
#include "store/TIniFile.h"

#include <algorithm>
#include <set>
#include <exception>

namespace vt {
namespace {

// The file's folder is not there (a log's or an export's): found before anything is done, so
// that a run nobody can read about changes nothing.
bool FolderMissing(Platform& sys, const std::string& file) {
    const std::string folder = ParentOf(file);
    if (folder.size() <= 2) return false;  // the current folder, a root
    DWORD attributes = sys.GetFileAttributesA(folder.c_str());
    return attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Every question answered No (the safe answer); what is said goes into the log.
class LoggedPrompts final : public ui::Prompts {
  public:
    explicit LoggedPrompts(std::vector<std::string>& log) : log_(log) {}
    ui::Answer Confirm(const std::string& text, ui::Buttons) override {
        log_.push_back("question answered No: " + OneLine(text));
        return ui::Answer::No;
    }
    void ShowError(const std::string& text) override { log_.push_back("error: " + OneLine(text)); }
    void ShowMessage(const std::string& text) override { log_.push_back("note: " + OneLine(text)); }
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

// Windows reads C:\MSDOS.SYS, SYSTEM.INI and its System key only when it starts.
bool NeedsRestart(const std::vector<std::string>& changes) {
    return std::any_of(changes.begin(), changes.end(), [](const std::string& line) {
        std::string upper = ToUpper(line);
        return upper.starts_with("C:\\MSDOS.SYS") ||
               upper.find("\\SYSTEM.INI") != std::string::npos ||
               upper.starts_with("HKEY_LOCAL_MACHINE\\SYSTEM\\");
    });
}

// A line the page did not carry out on this PC (a box that writes nothing where no value is
// stored, a number the page cannot keep): read back after the write, the page still shows
// something else. Such a line is skipped, never set.
void KeepWhatTookEffect(TForm1& form, const UnattendedRun& run, ProfileOutcome& outcome) {
    std::set<std::string> actions;
    if (form.ProfileFields)
        for (const ProfileField& field : form.ProfileFields())
            if (field.action) actions.insert("[" + field.section + "] " + field.key);
    form.BacaData();
    const std::vector<std::string> stillDiffer =
        form.ImportProfiles(run.Profiles()).outcome.changed;
    auto nameOf = [](const std::string& line) { return line.substr(0, line.find(": ")); };
    std::erase_if(outcome.changed, [&](const std::string& line) {
        if (actions.count(nameOf(line))) return false;
        auto differs =
            std::find_if(stillDiffer.begin(), stillDiffer.end(),
                         [&](const std::string& other) { return nameOf(other) == nameOf(line); });
        if (differs == stillDiffer.end()) return false;
        const std::string now = differs->substr(nameOf(*differs).size() + 2);
        outcome.skipped.push_back(nameOf(line) +
                                  ": the page does not change it on this PC (it shows " +
                                  now.substr(0, now.find(" -> ")) + " after the write)");
        return true;
    });
}

int ChangedCode(const std::vector<std::string>& changes) {
    if (changes.empty()) return kExitDone;
    return NeedsRestart(changes) ? kExitChangedRestart : kExitChanged;
}

// Applies (or with `dryRun` only checks) the run's profiles on the window `form`.
int ApplyProfileFiles(TForm1& form, const UnattendedRun& run, std::vector<std::string>& log,
                      Platform& sys, DryRunPlatform* dryRun) {
    TForm1::ImportResult result = form.ImportProfiles(run.Profiles());
    if (!result.errors.empty()) {
        for (const std::string& error : result.errors)
            Append(log, result.unreadable ? "error: " : "refused: ", SplitAt(error, '\n'));
        return result.unreadable ? kExitUnreachable : kExitRefused;
    }
    const std::size_t outcomeAt = log.size();
    std::optional<std::string> failure;
    try {
        failure = form.WriteSettled();
        if (failure) throw IoError(*failure);
        // The pass leaves a failed Config.DAT write to the window's close, which reports it;
        // here nothing closes.
        std::string programDir = TakeProgramDir(sys);
        if (!dryRun && ReadConfigDat(sys, programDir).ShowSplash() != form.Config.ShowSplash())
            throw IoError("Unable to write to " + programDir + ConfigDat::kFileName);
    } catch (const std::exception& e) {
        // A failed pass has told its error already, unless it asked about its restore point.
        const std::string line = "error: " + LoggedPrompts::OneLine(ErrorText(e));
        if (log.empty() || log.back() != line) log.push_back(line);
        failure = ErrorText(e);
    }
    ProfileOutcome outcome = result.outcome;
    if (!failure) {
        try {
            KeepWhatTookEffect(form, run, outcome);
        } catch (const std::exception& e) {
            log.push_back("note: the pages could not be read back: " +
                          LoggedPrompts::OneLine(ErrorText(e)));
        }
    }
    std::vector<std::string> said;
    Append(said, "set ", outcome.changed);
    Append(said, "skipped ", outcome.skipped);
    log.insert(log.begin() + static_cast<std::ptrdiff_t>(outcomeAt), said.begin(), said.end());
    std::vector<std::string> changes;
    if (dryRun) {
        changes = dryRun->Changes();
        Append(log, "pending ", changes);
    } else if (!form.LastRestorePoint().empty()) {
        changes = ChangeLines(ValuesInPoint(sys, form.LastRestorePoint()),
                              ValuesNow(sys, form.LastRestorePoint()));
        Append(log, "changed ", changes);
        log.push_back("restore point: " + form.LastRestorePoint());
    }
    return failure ? kExitFailed : ChangedCode(changes);
}

int UndoNewest(TForm1& form, std::vector<std::string>& log, Platform& sys) {
    std::vector<std::string> points = ListRestorePoints(sys, form.RestoreDir());
    if (points.empty()) {
        log.push_back("note: no restore point to put back");
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
        return report->failures.empty() ? ChangedCode(changes) : kExitFailed;
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
    log.push_back("recover: restore point " + point->name + ": " +
                  (point->undoing ? "its Undo" : "its write") +
                  " was cut off; putting it back, and nothing else this run");
    int code = UndoNewest(form, log, sys);
    return code == kExitFailed || code == kExitRefused ? code : kExitPutBackCutOff;
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

std::vector<std::string> UnattendedRun::Profiles() const {
    std::vector<std::string> all = {profile};
    all.insert(all.end(), moreProfiles.begin(), moreProfiles.end());
    return all;
}

std::optional<UnattendedRun> ParseUnattended(const std::vector<std::string>& words) {
    if (words.empty()) return std::nullopt;
    UnattendedRun run;
    std::string& error = run.refused;
    auto refuse = [&](const std::string& why) {
        if (error.empty()) error = why;
    };
    std::optional<UnattendedRun::Command> command;
    auto isFile = [&](std::size_t i) { return i < words.size() && !words[i].starts_with("/"); };
    // The whole line is read even after an error, so that its /log still gets the reason.
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string word = ToLower(words[i]);
        using enum UnattendedRun::Command;
        std::optional<UnattendedRun::Command> given;
        if (word == "/apply") given = Apply;
        if (word == "/check") given = Check;
        if (word == "/export") given = Export;
        if (word == "/undo") given = Undo;
        if (given) {
            if (command) refuse("Only one of /apply, /check, /undo and /export.");
            command = given;
            if (*given == Undo) continue;
            if (!isFile(i + 1)) {
                refuse(words[i] + " needs a file name.");
                continue;
            }
            run.profile = words[++i];
            // /apply and /check take several profiles; /export writes one.
            while (*given != Export && isFile(i + 1)) run.moreProfiles.push_back(words[++i]);
        } else if (word == "/replace") {
            run.replace = true;
        } else if (word == "/log") {
            if (!isFile(i + 1)) {
                refuse("/log needs a file name.");
                continue;
            }
            if (!run.log.empty()) refuse("/log is given twice.");
            if (run.log.empty()) run.log = words[i + 1];
            ++i;
        } else {
            refuse("Unknown part of the command line: " + words[i]);
        }
    }
    if (!command) refuse("/log needs /apply, /check, /undo or /export.");
    if (command) run.command = *command;
    if (run.replace && run.command != UnattendedRun::Command::Export)
        refuse("/replace goes with /export only.");
    return run;
}

namespace {

// The log (and an exported profile) replace no file that is not theirs to replace, nor the
// profile being applied.
std::optional<std::string> RefusedTarget(Platform& sys, const std::string& target,
                                         const UnattendedRun& run, const ManagedScope& scope) {
    if (target.empty()) return std::nullopt;
    // A profile kept by hand (its comments, the lines deleted from it) is replaced only when
    // the command says so.
    if (&target == &run.profile && run.command == UnattendedRun::Command::Export && !run.replace &&
        pointfiles::Exists(sys, target))
        return "\"" + target +
               "\" is there already: /export replaces a file only with /replace (export to a "
               "new file, then copy it).";
    if (&target == &run.log)
        for (const std::string& profile : run.Profiles())
            if (IdentityOf(sys, run.log) == IdentityOf(sys, profile))
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
    // A later word that names no file and no profile is a stray word, not a profile missing.
    for (const std::string& word : run.moreProfiles)
        if (!pointfiles::Exists(sys, word) && !ToLower(word).ends_with(".vts")) {
            log.push_back("refused: Unknown part of the command line: " + word +
                          " (no such file, and not a profile's name: profiles end in .vts)");
            return kExitRefused;
        }
    if (run.command == UnattendedRun::Command::Export && FolderMissing(sys, run.profile)) {
        log.push_back("unreachable: the folder of " + run.profile +
                      " is not there (a share or drive not connected?): nothing was exported");
        return kExitUnreachable;
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
        log.push_back("open: Veltrim 2000 is open on this PC: nothing was written.");
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
    const bool checking = run.command == UnattendedRun::Command::Check;
    // A check runs the window over a platform that keeps every write to itself.
    DryRunPlatform dryRun(sys);
    Program program(checking ? static_cast<Platform&>(dryRun) : sys, prompts);
    TForm1& form = program.main;
    form.Config = config;
    form.NoRestorePoints = checking;
    if (attachPages) attachPages(program, prompts);
    if (checking) {
        if (std::optional<UnfinishedPoint> point = UnfinishedRestorePoint(sys, form.RestoreDir()))
            log.push_back("note: restore point " + point->name +
                          " was cut off; the next /apply or /undo puts it back first");
    } else if (std::optional<int> code = PutBackCutOff(form, log, sys)) {
        return *code;
    }
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
        case UnattendedRun::Command::Check:
            code = ApplyProfileFiles(form, run, log, sys, checking ? &dryRun : nullptr);
            break;
        case UnattendedRun::Command::Undo:
            code = UndoNewest(form, log, sys);
            break;
    }
    // An Undo puts back what its point holds, whatever the pages could show.
    const bool done = code == kExitDone || code == kExitChanged || code == kExitChangedRestart;
    if (done && readFailed && run.command != UnattendedRun::Command::Undo) code = kExitFailed;
    return code;
}

}  // namespace

namespace {

// A log several PCs share is open to one run at a time (Windows 98 has no atomic append):
// the others wait for it, five seconds at most, then give up.
constexpr int kLogTries = 20;
constexpr DWORD kLogWait = 250;

// The block added at the log's end in one write; false when it could not be (GetLastError
// says why).
bool AppendToLog(Platform& sys, const std::string& path, const std::string& text) {
    const std::vector<BYTE> bytes(text.begin(), text.end());
    for (int attempt = 1;; ++attempt) {
        if (sys.AppendFileBytes(path.c_str(), bytes)) return true;
        const auto error = static_cast<LONG>(sys.GetLastError());
        if ((error != ERROR_SHARING_VIOLATION && error != ERROR_LOCK_VIOLATION) ||
            attempt == kLogTries)
            return false;
        sys.Sleep(kLogWait);
    }
}

// What the run did, said by the code of a run whose log was lost.
int WithLogLost(int code) {
    switch (code) {
        case kExitDone:
            return kExitUnreachable;
        case kExitChanged:
            return kExitChangedLogLost;
        case kExitChangedRestart:
            return kExitChangedRestartLogLost;
        default:
            return code;
    }
}

// The log file /log names: in a folder named so, this computer's own.
std::string LogFile(Platform& sys, const UnattendedRun& run) {
    if (run.log.empty()) return run.log;
    const DWORD attributes = sys.GetFileAttributesA(run.log.c_str());
    const bool folder =
        CodePage::Machine().EndsWith(run.log, '\\') ||
        (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY));
    if (!folder) return run.log;
    return TrimTrailing(run.log, '\\') + "\\" + (run.computer.empty() ? "unknown" : run.computer) +
           ".log";
}

// What the pages declare they write, from a window that is never shown.
ManagedStores Declared(Platform& sys,
                       const std::function<void(Program&, ui::Prompts&)>& attachPages) {
    std::vector<std::string> unused;
    LoggedPrompts prompts(unused);
    Program program(sys, prompts);
    if (attachPages) attachPages(program, prompts);
    return program.main.DeclaredStores();
}

}  // namespace

int RunUnattended(Platform& sys, const UnattendedRun& given,
                  const std::function<void(Program&, ui::Prompts&)>& attachPages) {
    UnattendedRun run = given;
    run.log = LogFile(sys, given);
    std::vector<std::string> log;
    const char* names[] = {"/apply", "/undo", "/export", "/check"};
    std::string command = names[static_cast<int>(run.command)];
    if (!run.profile.empty())
        for (const std::string& profile : run.Profiles()) command += " " + profile;
    auto known = [](const std::string& name) { return name.empty() ? "(unknown)" : name; };
    log.push_back("run " + pointfiles::LocalTime() + ", computer " + known(run.computer) +
                  ", user " + known(run.user) + ", Veltrim 2000 " + kProgramVersion + ": " +
                  (run.refused.empty() ? command : std::string("(command line refused)")));
    const ManagedScope scope =
        TakeManagedScope(sys, TakeProgramDir(sys), Declared(sys, attachPages));
    const std::optional<std::string> logRefused =
        run.log.empty() ? std::nullopt : RefusedTarget(sys, run.log, run, scope);
    auto finish = [&](int code) {
        if (run.log.empty()) return code;
        std::string text;
        for (const std::string& line : log) text += line + "\r\n";
        if (!logRefused &&
            AppendToLog(sys, run.log, text + "exit code " + std::to_string(code) + "\r\n"))
            return code;
        // Nobody could read what was done: the program's folder keeps it, the code says so.
        const std::string why =
            logRefused ? *logRefused : UnableToWrite(run.log, sys.GetLastError());
        const int lost = WithLogLost(code);
        AppendToLog(sys, TakeProgramDir(sys) + "\\" + kFallbackLog,
                    text + "note: this run's log was not written (" + LoggedPrompts::OneLine(why) +
                        ")\r\nexit code " + std::to_string(lost) + "\r\n");
        return lost;
    };
    if (!run.log.empty() && run.refused.empty() && FolderMissing(sys, run.log)) {
        log.push_back("unreachable: the folder of the log " + run.log +
                      " is not there: nothing was done");
        return finish(kExitUnreachable);
    }
    try {
        return finish(RunLogged(sys, run, scope, attachPages, log));
    } catch (const std::exception& e) {
        log.push_back("error: " + LoggedPrompts::OneLine(ErrorText(e)));
        return finish(kExitFailed);
    }
}

}  // namespace vt
