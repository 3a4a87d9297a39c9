#include "compose/Uninstalling.h"

#include "app/Startup.h"
#include "store/RegistryValues.h"
#include "store/Paths.h"
#include "store/StoreError.h"
#include "store/TRegistry.h"
#include "compose/PageTable.h"

namespace vt {
namespace {

// Every kept point, newest first, through the same code as "Undo last change...". A damaged
// point is named and passed over; what could not be put back is named.
bool PutBackEveryPoint(Platform& sys, const std::string& restore, const ManagedScope& scope,
                       std::vector<std::string>& log) {
    bool whole = true;
    for (std::vector<std::string> names; !(names = ListRestorePoints(sys, restore)).empty();) {
        try {
            std::optional<UndoReport> report = UndoNewestRestorePoint(sys, restore, scope);
            if (!report) break;
            log.push_back("Put back the settings changed at " + report->point + ".");
            for (const std::string& failure : report->failures)
                log.push_back("Could not put back " + failure + ".");
            whole = whole && report->failures.empty();
            if (!report->removed) RemoveRestorePoint(sys, restore, report->point);
        } catch (const RestorePointDamaged& e) {
            log.push_back(e.what());
            whole = false;
            RemoveRestorePoint(sys, restore, names.back());
        }
    }
    return whole;
}

// The entries the right-click page made (data.ini names them) and the file-cache template of
// the program, once Windows no longer uses it as the default.
bool RemoveOwnEntries(Platform& sys, ui::Prompts& prompts, const std::string& programDir,
                      std::vector<std::string>& log) {
    bool whole = true;
    Program program(sys, prompts);
    program.main.ProgramDir = programDir;
    program.main.WindowsDir = TakeWindowsDir(sys);
    Tools tools(program, sys, prompts);
    for (const RightClickMenus::FileType& type : tools.rightClickMenus.Types) {
        if (!tools.rightClickMenus.MadeEntry(type.ext)) continue;
        try {
            if (tools.rightClickMenus.Remove_RightClickMenus(type.ext))
                log.push_back(std::string("Removed the right-click entry of ") + type.ext + ".");
            else
                log.push_back(std::string("Kept the right-click entry of ") + type.ext +
                              ": another program changed it.");
        } catch (const StoreError& e) {
            log.push_back(e.what());
            whole = false;
        }
    }
    const std::string templates = kFsTemplates;
    if (ReadRegistryText(sys, HKEY_LOCAL_MACHINE, templates, "", "") != "Veltrim") {
        TRegistry reg(sys);
        if (OpenKey(reg, HKEY_LOCAL_MACHINE, templates, false) && reg.HasKey("Veltrim")) {
            if (reg.RemoveKey("Veltrim")) {
                log.push_back("Removed the file-cache template \"Veltrim\".");
            } else {
                log.push_back("Could not remove the file-cache template \"Veltrim\".");
                whole = false;
            }
        }
    }
    return whole;
}

}  // namespace

int UninstallProgramParts(Platform& sys, ui::Prompts& prompts, bool putBack,
                          std::vector<std::string>& log) {
    if (sys.CreateMutexA(kSingleInstanceMutex) != 0 &&
        sys.GetLastError() == static_cast<DWORD>(ERROR_ALREADY_EXISTS))
        return kUninstallRunning;
    const std::string programDir = TakeProgramDir(sys);
    const std::string restore = programDir + "\\Restore";
    const ManagedScope scope = TakeManagedScope(sys, programDir, DeclaredStores(sys, prompts));
    if (std::optional<UnfinishedPoint> point = UnfinishedRestorePoint(sys, restore)) {
        log.push_back("Veltrim 2000 was stopped while it was writing settings (restore point " +
                      point->name +
                      "). Start Veltrim 2000 once, so that it puts back or keeps that write, "
                      "then uninstall it again.");
        return kUninstallUnfinished;
    }
    bool whole = true;
    if (putBack) {
        whole = PutBackEveryPoint(sys, restore, scope, log);
        whole = RemoveOwnEntries(sys, prompts, programDir, log) && whole;
    }
    for (const std::string& name : ListRestorePoints(sys, restore)) {
        try {
            RemoveRestorePoint(sys, restore, name);
        } catch (const RestorePointError& e) {
            log.push_back(e.what());
        }
    }
    RemoveRestorePointList(sys, restore);
    return whole ? kUninstallDone : kUninstallPartly;
}

}  // namespace vt
