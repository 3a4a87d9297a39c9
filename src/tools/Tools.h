// The tool pages whose buttons act at once, plugged into the main window and its companions
// before its FormCreate runs.
#pragma once

#include "app/Startup.h"
#include "tools/AddRemove.h"
#include "tools/RightClickMenus.h"

namespace vt {

struct Tools {
    Tools(Program& program, Platform& sys, ui::Prompts& prompts)
        : rightClickMenus(program.main, sys, prompts),
          addRemove(program.main, program.uninstall, sys, prompts) {}
    Tools(const Tools&) = delete;
    Tools& operator=(const Tools&) = delete;

    RightClickMenus rightClickMenus;
    AddRemove addRemove;
};

}  // namespace vt
