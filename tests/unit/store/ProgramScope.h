// The restore scope of the whole program: what every page and tool declares it writes.
#pragma once

#include "compose/PageTable.h"
#include "platform/fake/FakePlatform.h"
#include "ui/ScriptedPrompts.h"

namespace vt::testing {

inline const ManagedStores& ProgramStores() {
    static const ManagedStores stores = [] {
        fake::FakePlatform sys;
        ui::ScriptedPrompts prompts;
        return DeclaredStores(sys, prompts);
    }();
    return stores;
}

inline ManagedScope ProgramScope(const std::string& windowsDir, const std::string& programDir) {
    return {windowsDir, programDir, ShellFolders::BelowWindows(windowsDir), ProgramStores()};
}

}  // namespace vt::testing
