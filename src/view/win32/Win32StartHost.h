// The start sequence's windows on real Windows: the modal welcome window, then the main
// window and its companions with the message loop.
#pragma once

#include "app/Startup.h"
#include "view/win32/FormWindow.h"
#include "view/win32/TrayWindow.h"

#include <memory>
#include <vector>

namespace vt::view {

class Win32StartHost final : public StartHost {
  public:
    explicit Win32StartHost(ui::Prompts& prompts) : prompts_(prompts) {}
    ~Win32StartHost() override;

    void ShowModal(TForm3& welcome) override;
    void RunMessageLoop(Program& program) override;

    // The main window once it exists: the owner of message boxes.
    ::HWND MainWindow() const { return main_ ? main_->Handle() : nullptr; }

  private:
    // Dispatches messages until `done` answers true or the thread is told to quit.
    void Pump(const std::function<bool()>& done);
    // With nothing to paint or answer: reads one page not read yet, else makes one window or
    // page not shown yet; false when nothing is left.
    bool DoSomethingPending();

    ui::Prompts& prompts_;
    std::vector<std::unique_ptr<FormWindow>> windows_;
    FormWindow* main_ = nullptr;
    std::unique_ptr<TrayWindow> tray_;  // the main window's notification-area icon
    TForm1* form_ = nullptr;            // the main window's model while its loop runs
};

}  // namespace vt::view
