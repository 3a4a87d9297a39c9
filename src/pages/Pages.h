// The settings pages of the main window, plugged in before its FormCreate runs.
#pragma once

#include "app/Startup.h"
#include "pages/BootPage.h"
#include "pages/SystemPage.h"

namespace vt {

struct Pages {
    Pages(Program& program, Platform& sys, ui::Prompts& prompts)
        : boot(program.main, sys), system(program.main, sys, prompts) {}
    BootPage boot;
    SystemPage system;
};

inline void AttachPages(Program& program, Platform& sys, ui::Prompts& prompts) {
    program.pages = std::make_shared<Pages>(program, sys, prompts);
}

}  // namespace vt
