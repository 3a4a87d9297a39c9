#include "app/TForm1.h"

#include "platform/NoCase.h"
#include "store/Paths.h"
#include "store/StoreError.h"

#include <algorithm>
#include <exception>

namespace vt {
namespace {

void Run(const std::function<void()>& step) {
    if (step) step();
}

}  // namespace

TForm1::TForm1(Platform& sys, ui::Prompts& prompts)
    : ui::Form(kClassName, kCaption, 534, 472),
      kbTrayIcon1(sys, *this),
      sys_(sys),
      prompts_(prompts),
      journal_(sys) {
    SetBorder(ui::Border::Single, true, true);
    SetFont("MS Sans Serif", 8);
    PageControl1.SetBounds(0, 0, 534, 472);
    struct Place {
        ui::Button& button;
        int left, top;
    };
    for (Place p : {Place{Button1, 355, 402}, Place{Button5, 434, 402}, Place{Button4, 355, 429},
                    Place{Button7, 434, 429}}) {
        p.button.SetBounds(p.left, p.top, 75, 25);
        p.button.SetHandCursor(true);
    }
    Button1.OnClick = [this] { Button1Click(); };
    Button5.OnClick = [this] { Button5Click(); };
    Button4.OnClick = [this] { Button4Click(); };
    Button7.OnClick = [this] { Button7Click(); };
    PageControl1.OnChange = [this] { PageControl1Change(); };
    OnCloseQuery = [this](bool& canClose) {
        FormCloseQuery(canClose);
        closing_ = canClose;
    };
    OnShow = [this] { FormShow(); };
    OnHide = [this] { FormHide(); };
    kbTrayIcon1.SetHint("Veltrim");
    kbTrayIcon1.SetPopupMenu(&PopupMenu1);
    Restore1.OnClick = [this] { Restore1Click(); };
    Exit1.OnClick = [this] { Exit1Click(); };
    OnActivate = [this] { FormActivate(); };
    DefaultButton = &Button1;
    CancelButton = &Button4;
}

// --- How pages plug in -----------------------------------------------------------------

void TForm1::AddPage(PageEntry page) {
    declared_.Add(page.touches);
    pages_.push_back({std::move(page)});
}

void TForm1::MarkOnPress(ui::CheckBox& box, std::function<void()> then) {
    if (std::find(markable_.begin(), markable_.end(), &box) == markable_.end()) ClearedByApply(box);
    box.OnMouseDown = [this, &box, then = std::move(then)](ui::MouseButton button) {
        if (button != ui::MouseButton::Left) return;
        const ui::Control* sheet = &box;
        while (sheet && sheet->GetKind() != ui::Kind::TabSheet) sheet = sheet->Parent();
        for (PageState& state : pages_)
            if (state.page.sheet == sheet) Run(state.page.hideDetails);
        box.SetFontColor(ui::kNavy);
        Run(then);
    };
}

void TForm1::Describe(ui::Control& control, ui::Memo& memo, const std::string& text) {
    control.OnMouseMove = [&memo, text] {
        memo.SetEnabled(true);
        memo.SetLines({text});
    };
}

void TForm1::Describe(ui::Memo& memo, std::initializer_list<Description> descriptions) {
    for (const Description& d : descriptions) Describe(d.control, memo, d.text);
}

void TForm1::ClearsDescription(ui::Control& control, ui::Memo& memo) {
    control.OnMouseMove = [this, &memo] { RestMemo(memo); };
}

void TForm1::SetRestingNote(ui::Memo& memo, const std::string& note) {
    notes_[&memo] = note;
    RestMemo(memo);
}

void TForm1::RestMemo(ui::Memo& memo) {
    auto note = notes_.find(&memo);
    if (note != notes_.end() && !note->second.empty()) {
        memo.SetEnabled(true);
        memo.SetLines({note->second});
        return;
    }
    memo.SetEnabled(false);
    memo.Clear();
}

// --- Passes ----------------------------------------------------------------------------

// A read that stops on an error leaves its slice and every slice after it unread.
void TForm1::BacaData() {
    for (PageState& state : pages_) state.readComplete = state.pending = false;
    for (PageState& state : pages_) ReadPage(state);
}

// A page whose read fails stays unread (and so unwritten) until the next read pass.
void TForm1::ReadPage(PageState& state) {
    state.pending = state.readComplete = false;
    for (ui::Control* control : state.page.filled) ui::DropBaselines(*control);
    Run(state.page.read);
    for (ui::Control* control : state.page.filled) ui::TakeBaselines(*control);
    state.readComplete = true;
}

bool TForm1::ReadSomethingPending() {
    for (PageState& state : pages_)
        if (state.pending) {
            ReadPage(state);
            return true;
        }
    return false;
}

void TForm1::ReadPendingPages() {
    while (ReadSomethingPending()) {
    }
}

namespace {

bool Within(const ui::Control& control, const ui::Control& sheet) {
    for (const ui::Control* c = &control; c; c = c->Parent())
        if (c == &sheet) return true;
    return false;
}

}  // namespace

void TForm1::ReadPagesOn(const ui::Control& sheet) {
    for (PageState& state : pages_)
        if (state.pending && std::any_of(state.page.filled.begin(), state.page.filled.end(),
                                         [&](ui::Control* c) { return Within(*c, sheet); }))
            ReadPage(state);
}

void TForm1::TulisData() {
    auto point = KeepRestorePoint();
    std::int32_t splash = Config.ShowSplash();
    for (PageState& state : pages_)
        if (state.readComplete) Run(state.page.write);
    // The splash option lives in Config.DAT: written as soon as a pass changes it, so that
    // the pass's restore point holds it too (the close writes the file again anyway).
    if (Config.ShowSplash() != splash) {
        try {
            WriteConfigDat(journal_, TakeProgramDir(sys_), Config);
        } catch (const IoError&) {
            // The close reports it.
        }
    }
    journal_.Finish();
}

std::optional<std::string> TForm1::WriteSettled() {
    return WritePass([this] { TulisData(); });
}

bool TForm1::PageRead(const ui::TabSheet& sheet) const {
    bool read = false;
    for (const PageState& state : pages_)
        if (state.page.sheet == &sheet) {
            if (!state.readComplete) return false;
            read = true;
        }
    return read;
}

void TForm1::ResetToWindowsDefault() {
    ReadPendingPages();  // a reset of an unread page would never be written
    // One restore point for all of it; a store error stops it where it happens.
    std::optional<std::string> failure = WritePass([this] {
        for (PageState& state : pages_) Run(state.page.resetToWindowsDefault);
        HideAllPages();
        ClearMarks();
        TulisData();
    });
    if (!failure) BacaData();
}

// --- Window handlers -------------------------------------------------------------------

void TForm1::FormCreate() {
    ProgramDir = TakeProgramDir(sys_);
    Config = ReadConfigDat(sys_, ProgramDir);  // on failure the records given stay
    WindowsDir = TakeWindowsDir(sys_);
    Folders = TakeShellFolders(sys_, WindowsDir);
    for (PageState& state : pages_) Run(state.page.created);
    AutoShutdownActive = false;
    RestartPending = false;
    UninstallEdited = false;
    try {
        RecoverUnfinishedPass();
    } catch (const std::exception& e) {
        prompts_.ShowError(ErrorText(e));  // the pages are read all the same
    }
    for (PageState& state : pages_) {
        state.readComplete = false;
        state.pending = true;
    }
    // It opens on the first tab; the other pages are read while the window is idle.
    if (std::vector<ui::TabSheet*> tabs = PageControl1.Pages(); !tabs.empty()) {
        PageControl1.SetActivePage(tabs.front());
        ReadPagesOn(*tabs.front());
    }
    HideAllPages();
}

void TForm1::FormActivate() {
    if (!UninstallEdited) return;
    for (PageState& state : pages_) Run(state.page.uninstallEdited);
    UninstallEdited = false;
}

void TForm1::FormCloseQuery(bool& canClose) {
    RewriteConfigDat();
    if (KeepsCountdownRunning()) canClose = false;
    if (!RestartPending) return;
    HideAllPages();
    switch (prompts_.Confirm(kRestartQuestion, ui::Buttons::YesNoCancel)) {
        case ui::Answer::Yes:
            // Windows 9x asks this window whether the session may end before ExitWindowsEx
            // returns: answered now, the question is not asked again there, where a Cancel
            // would refuse the restart just accepted. Refused, the restart is still due.
            RestartPending = false;
            if (!sys_.ExitWindowsEx(EWX_REBOOT)) {
                RestartPending = true;
                prompts_.ShowError(kRestartRefused);
            }
            break;
        case ui::Answer::No:
            break;
        case ui::Answer::Cancel:
            RestartPending = false;
            canClose = false;
            break;
    }
}

bool TForm1::KeepsCountdownRunning() {
    return AutoShutdownActive &&
           prompts_.Confirm(kAutoShutdownQuestion, ui::Buttons::YesNo) == ui::Answer::No;
}

// A locked or read-only file is reported once; it never keeps the window from closing.
void TForm1::RewriteConfigDat() {
    ProgramDir = TakeProgramDir(sys_);
    try {
        WriteConfigDat(sys_, ProgramDir, Config);
    } catch (const IoError& e) {
        if (!configErrorShown_) prompts_.ShowError(e.what());
        configErrorShown_ = true;
    }
}

// An error while deciding refuses the end of the session: nothing is left half done. A
// shutdown the countdown asked for goes ahead unasked: nobody may be there to answer.
bool TForm1::QueryEndSession() {
    if (ShutdownByCountdown) {
        try {
            WriteConfigDat(sys_, TakeProgramDir(sys_), Config);
        } catch (const std::exception&) {
            // No box now: nobody may be there to close it.
        }
        return true;
    }
    bool canClose = true;
    try {
        FormCloseQuery(canClose);
    } catch (const std::exception& e) {
        prompts_.ShowError(ErrorText(e));
        return false;
    }
    return canClose;
}

void TForm1::EndSession(bool ending) {
    if (!ending) ShutdownByCountdown = false;  // another program kept the session going
}

// A second start of the program.
void TForm1::WMUser() {
    kbTrayIcon1.SetShowApplication(true);
    kbTrayIcon1.SetVisible(false);
    Show();
}

// Shown by any path: the window and its taskbar button come back, the icon goes.
void TForm1::FormShow() {
    closing_ = false;
    kbTrayIcon1.SetShowApplication(true);
    if (kbTrayIcon1.Visible()) kbTrayIcon1.SetVisible(false);
}

// Hidden by any path but the close: the icon takes the taskbar button's place, once.
void TForm1::FormHide() {
    if (closing_) return;
    kbTrayIcon1.SetShowApplication(false);
    if (!kbTrayIcon1.Visible()) kbTrayIcon1.SetVisible(true);
}

void TForm1::Restore1Click() {
    Show();
}

void TForm1::Exit1Click() {
    if (KeepsCountdownRunning()) return;
    Close();
}

// --- Marks, details, descriptions ------------------------------------------------------

void TForm1::HideAllPages() {
    for (PageState& state : pages_) Run(state.page.hideDetails);
}

void TForm1::PageControl1Change() {
    if (ui::TabSheet* shown = PageControl1.ActivePage()) ReadPagesOn(*shown);
    HideAllPages();
    for (ui::Memo* memo : memos_) RestMemo(*memo);
    for (PageState& state : pages_)
        if (state.page.sheet == PageControl1.ActivePage()) Run(state.page.shown);
}

// --- Commands --------------------------------------------------------------------------

void TForm1::Button5Click() {
    Apply();
}

// After a failure the controls keep what the user chose, for another try.
void TForm1::Apply() {
    HideAllPages();
    ClearMarks();
    if (!WriteSettled()) BacaData();
}

void TForm1::ClearMarks() {
    for (ui::CheckBox* box : markable_) box->SetFontColor(ui::kBlack);
}

void TForm1::Button1Click() {
    if (committing_) return;
    committing_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{committing_};
    RestartPending = true;
    if (WriteSettled()) return;  // the window stays open
    if (AutoShutdownActive)
        Hide();
    else
        Close();
}

// The notification-area icon takes over while the window is hidden.
void TForm1::Button7Click() {
    Hide();
}

void TForm1::Button4Click() {
    RestartPending = false;
    Close();
}

}  // namespace vt
