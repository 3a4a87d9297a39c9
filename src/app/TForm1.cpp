#include "app/TForm1.h"

#include "platform/NoCase.h"
#include "store/Paths.h"

namespace vt {
namespace {

const std::vector<Slice> kReadOrder = {Slice::OemInfo,   Slice::RightClickMenus, Slice::Boot,
                                       Slice::System,    Slice::Windows,         Slice::StartMenu,
                                       Slice::DiskCache, Slice::Internet1,       Slice::Internet2,
                                       Slice::FileCache, Slice::Veltrim,         Slice::AddRemove};
const std::vector<Slice> kWriteOrder = {
    Slice::OemInfo,   Slice::Boot,      Slice::System,    Slice::Windows,   Slice::StartMenu,
    Slice::DiskCache, Slice::Internet1, Slice::Internet2, Slice::FileCache, Slice::Veltrim};
const char* const kPageIds[] = {"Page1", "Page2", "Page3", "Page4", "Page5"};

void Run(const std::function<void()>& step) {
    if (step) step();
}

}  // namespace

TForm1::TForm1(Platform& sys, ui::Prompts& prompts)
    : ui::Form(kClassName, kCaption, 534, 472), sys_(sys), prompts_(prompts) {
    SetBorder(ui::Border::Single, true, true);
    SetFont("MS Sans Serif", 8);
    PageControl1.SetBounds(0, 0, 534, 472);
    PageControl1.SetActivePage(&TabSheet1);
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
    OnCloseQuery = [this](bool& canClose) { FormCloseQuery(canClose); };
    OnActivate = [this] { FormActivate(); };
    DefaultButton = &Button1;
    CancelButton = &Button4;
}

// --- How pages plug in -----------------------------------------------------------------

void TForm1::RegisterSlice(Slice slice, std::function<void()> read, std::function<void()> write) {
    slices_[slice] = {std::move(read), std::move(write)};
}

void TForm1::RegisterDetails(const std::string& pageId, std::function<void()> hide) {
    details_[ToLower(pageId)].push_back(std::move(hide));
}

void TForm1::MarkOnPress(ui::CheckBox& box, const std::string& pageId, std::function<void()> then) {
    ClearedByApply(box);
    box.OnMouseDown = [this, &box, pageId, then = std::move(then)](ui::MouseButton button) {
        if (button != ui::MouseButton::Left) return;
        if (!pageId.empty()) HidePage(pageId);
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
    control.OnMouseMove = [&memo] {
        memo.SetEnabled(false);
        memo.Clear();
    };
}

// --- Passes ----------------------------------------------------------------------------

void TForm1::RunSlices(const std::vector<Slice>& order, bool reading) {
    for (Slice slice : order) {
        auto it = slices_.find(slice);
        if (it != slices_.end()) Run(reading ? it->second.first : it->second.second);
    }
}

void TForm1::BacaData() {
    RunSlices(kReadOrder, true);
}

void TForm1::TulisData() {
    RunSlices(kWriteOrder, false);
}

// --- Window handlers -------------------------------------------------------------------

void TForm1::FormCreate() {
    ProgramDir = TakeProgramDir(sys_);
    Config = ReadConfigDat(sys_, ProgramDir);
    Run(hooks.fillMemoryGauges);
    WindowsDir = TakeWindowsDir(sys_);
    Run(hooks.resetAutoShutdown);
    AutoShutdownActive = false;
    RestartPending = false;
    UninstallEdited = false;
    Run(hooks.disableEdit9);
    UnprotectMsdosSys(sys_);
    BacaData();
    PageControl1.SetActivePage(&TabSheet1);
    HideAllPages();
    Run(hooks.selectFirstAdapter);
    Run(hooks.autoShutDownDisable);
}

void TForm1::FormActivate() {
    if (!UninstallEdited) return;
    Run(hooks.refreshAddRemove);
    UninstallEdited = false;
}

void TForm1::FormCloseQuery(bool& canClose) {
    ProgramDir = TakeProgramDir(sys_);
    WriteConfigDat(sys_, ProgramDir, Config);
    if (KeepsCountdownRunning()) canClose = false;
    if (!RestartPending) return;
    HideAllPages();
    switch (prompts_.Confirm(kRestartQuestion, ui::Buttons::YesNoCancel)) {
        case ui::Answer::Yes:
            sys_.ExitWindowsEx(EWX_REBOOT);
            ProtectMsdosSys(sys_);
            break;
        case ui::Answer::No:
            ProtectMsdosSys(sys_);
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

bool TForm1::QueryEndSession() {
    bool canClose = true;
    FormCloseQuery(canClose);
    return canClose;
}

void TForm1::WMUser() {
    Show();
}

void TForm1::Exit1Click() {
    if (KeepsCountdownRunning()) return;
    Close();
}

// --- Marks, details, descriptions ------------------------------------------------------

void TForm1::HidePage(const std::string& pageId) {
    auto it = details_.find(ToLower(pageId));
    if (it == details_.end()) return;
    for (const auto& hide : it->second) hide();
}

void TForm1::HideAllPages() {
    for (const char* id : kPageIds) HidePage(id);
}

void TForm1::PageControl1Change() {
    HideAllPages();
    for (ui::Memo* memo : memos_) memo->SetEnabled(false);
    for (ui::Memo* memo : memos_) memo->Clear();
    if (PageControl1.ActivePage() == &TabSheet4) Run(hooks.layOutDiskCache);
    if (PageControl1.ActivePage() == &TabSheet8) Run(hooks.fillMemoryGauges);
}

// --- Commands --------------------------------------------------------------------------

void TForm1::Button5Click() {
    HideAllPages();
    for (ui::CheckBox* box : markable_) box->SetFontColor(ui::kBlack);
    TulisData();
    BacaData();
    Run(hooks.selectFirstAdapter);
}

void TForm1::Button1Click() {
    RestartPending = true;
    TulisData();
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
