// The welcome window and the three companion windows of the main window. The pages that
// use the companions fill them in.
#pragma once

#include "about/TAboutBox.h"
#include "store/ConfigDat.h"
#include "platform/Platform.h"
#include "ui/Form.h"

#include <functional>

namespace vt {

// "Welcome": shown modally at start while ShowSplash is 1. Creating it clears FirstRun in
// Config.DAT.
class TForm3 : public ui::Form {
  public:
    static constexpr const char* kClassName = "TForm3";
    static constexpr const char* kCaption = "Welcome";

    TForm3();
    // Reads Config.DAT, sets FirstRun to 0 and rewrites the whole file; raises IoError.
    void FormCreate(Platform& sys, const std::string& programDir);

    ui::Image Image1{"Image1", this};
    ui::TitleLabel Label1{"Label1", this, "Veltrim 2000", "Verdana", 29, ui::kNavy};
    ui::TitleLabel Label2{"Label2", this, "for Windows 98", "Verdana", 21, ui::kNavy};
    ui::Label Label3{"Label3", this, "Version 5.0"};
    ui::Bevel Bevel1{"Bevel1", this};
    ui::Button SpeedButton2{"SpeedButton2", this, "OK", ui::Kind::SpeedButton};
};

// A companion window that keeps the window that opened it from input while it shows, and
// gives it back however it closes.
class OwnedForm : public ui::Form {
  public:
    // Shows the window with `owner` disabled.
    void Open(ui::Form& owner);

  protected:
    using ui::Form::Form;
    // Gives the owner its input back and hides.
    void GiveBack();

  private:
    ui::Form* owner_ = nullptr;
};

// "Help": one window, three texts lying on top of each other, one shown at a time. While it
// shows, the window that opened it takes no input; "Close" gives it back.
class TForm4 : public OwnedForm {
  public:
    TForm4();

    ui::Memo Memo1{"Memo1", this};  // Disk-Cache
    ui::Memo Memo2{"Memo2", this};  // File-Cache
    ui::Memo Memo3{"Memo3", this};  // Internet
    ui::Button Button1{"Button1", this, "Close"};

    // Shows `text` alone and the window, with `owner` disabled until "Close".
    void Open(ui::Form& owner, ui::Memo& text);
    void Button1Click();
};

// "Uninstal Command": the name and the uninstall command of one Add/Remove entry. While it
// shows, the window that opened it takes no input.
class TForm5 : public OwnedForm {
  public:
    TForm5();

    ui::Label Label2{"Label2", this, "Description"};
    ui::Label Label1{"Label1", this, "Command"};
    // In tab order: the command, OK, Cancel, then the name above them.
    ui::Edit Edit1{"Edit1", this};  // the uninstall command
    ui::Button Button1{"Button1", this, "OK"};
    ui::Button Button2{"Button2", this, "Cancel"};
    ui::Edit Edit2{"Edit2", this};  // the display name

    // OK runs `Save`, set by the page that opens the window, then gives the owner back and
    // closes; a `Save` that failed (and said so) answers false and leaves the window open for
    // "Cancel".
    std::function<bool()> Save;
    void Button1Click();
    void Button2Click();  // closes without saving
};

}  // namespace vt
