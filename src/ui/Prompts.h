// The questions the program asks its user: confirmation boxes, the application's error
// box and the file and folder dialogs.
#pragma once

#include <optional>
#include <string>

namespace vt::ui {

enum class Buttons { YesNo, YesNoCancel };
enum class Answer { Yes, No, Cancel };

class Prompts {
  public:
    virtual ~Prompts() = default;
    virtual Answer Confirm(const std::string& text, Buttons buttons) = 0;
    // The application's error box: the message of an error no handler caught.
    virtual void ShowError(const std::string& text) = 0;
    // A message to read, with "OK" (what an Undo put back).
    virtual void ShowMessage(const std::string& text) = 0;
    // A file-open dialog; nothing when the user cancels. `filter` as "Bitmaps (*.bmp)|*.bmp".
    virtual std::optional<std::string> OpenFile(const std::string& filter) = 0;
    // A file-save dialog that asks before replacing a file; `extension` is added to a name
    // typed without one. Nothing when the user cancels.
    virtual std::optional<std::string> SaveFile(const std::string& filter,
                                                const std::string& extension) = 0;
    // The folder browser; nothing when the user cancels.
    virtual std::optional<std::string> BrowseFolder(const std::string& title) = 0;
};

}  // namespace vt::ui
