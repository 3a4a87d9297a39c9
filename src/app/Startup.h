// The start sequence of the process, on any platform and any view.
#pragma once

#include "app/Companions.h"
#include "app/TForm1.h"
#include "platform/Platform.h"
#include "ui/Prompts.h"

#include <functional>
#include <memory>

namespace vt {

// The windows of one run of the program.
struct Program {
    Program(Platform& sys, ui::Prompts& prompts) : main(sys, prompts) {}
    TForm1 main;
    TAboutBox about;
    TForm4 help;
    TForm5 uninstall;
    // The pages and tools that plugged into the windows above; they go before the windows do.
    std::shared_ptr<void> pages;
    std::shared_ptr<void> tools;
};

// What the view supplies: showing the welcome window modally and running the message loop.
class StartHost {
  public:
    virtual ~StartHost() = default;
    // Returns when the welcome window has closed.
    virtual void ShowModal(TForm3& welcome) = 0;
    // Shows the main window and returns when it has closed.
    virtual void RunMessageLoop(Program& program) = 0;
};

// Held by the running instance; a start that finds it taken only wakes that instance.
inline constexpr const char* kSingleInstanceMutex = "Veltrim 2000 single instance";

// Runs `step`; an error it raises is shown in the application's error box. Answers whether
// the step completed.
bool Guarded(ui::Prompts& prompts, const std::function<void()>& step);

// Answers the process exit code. `attachPages` lets the pages plug into the main window
// before its FormCreate runs.
int StartSequence(Platform& sys, ui::Prompts& prompts, StartHost& host,
                  const std::function<void(Program&)>& attachPages = {});

}  // namespace vt
