// The program's questions as real message boxes and common dialogs.
#pragma once

#include "ui/Prompts.h"

#include <windows.h>

#include <functional>

namespace vt::view {

class Win32Prompts final : public ui::Prompts {
  public:
    // `owner` answers the window the boxes belong to (none before the main window exists).
    explicit Win32Prompts(std::function<::HWND()> owner) : owner_(std::move(owner)) {}

    ui::Answer Confirm(const std::string& text, ui::Buttons buttons) override;
    void ShowError(const std::string& text) override;
    void ShowMessage(const std::string& text) override;
    std::optional<std::string> OpenFile(const std::string& filter) override;
    std::optional<std::string> SaveFile(const std::string& filter,
                                        const std::string& extension) override;
    std::optional<std::string> BrowseFolder(const std::string& title) override;

    // The open-file record in the size Windows 98's common dialogs know (76 bytes).
    static ::OPENFILENAMEA Windows98OpenFileRecord(::HWND owner, const char* filterPairs,
                                                   char* path, ::DWORD pathSize);

    static constexpr const char* kConfirmCaption = "Confirm";
    static constexpr const char* kErrorCaption = "Veltrim 2000";

  private:
    // The program's active window (a companion such as "Uninstal Command" while it asks), so
    // that closing the box gives that window its activation back; else the main window.
    ::HWND Owner() const {
        if (::HWND active = ::GetActiveWindow()) return active;
        return owner_ ? owner_() : nullptr;
    }
    std::function<::HWND()> owner_;
};

}  // namespace vt::view
