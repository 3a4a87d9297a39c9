#include "view/win32/FormWindow.h"

#include "view/ControlId.h"

#include <algorithm>
#include <exception>
#include <stdexcept>
#include <string>

namespace vt::view {
namespace {

// A control's window keeps its form window in the slot Windows leaves to the program
// (GWLP_USERDATA), read for every message it gets: a window property costs a call to the
// Wine server at each read (measured: 0.05 ms of each control's making, docs/benchmarks.md).
::LONG_PTR Self(FormWindow* window) {
    return reinterpret_cast<::LONG_PTR>(window);
}

::DWORD FormStyle(const ui::Form& form) {
    switch (form.BorderStyle()) {
        case ui::Border::Single:
            return WS_OVERLAPPED | WS_CAPTION | (form.HasSystemMenu() ? WS_SYSMENU : 0) |
                   (form.HasMinimize() ? WS_MINIMIZEBOX : 0);
        case ui::Border::SingleNoButtons:
            return WS_OVERLAPPED | WS_CAPTION;
        case ui::Border::Dialog:
            return WS_POPUP | WS_CAPTION | DS_MODALFRAME | (form.HasSystemMenu() ? WS_SYSMENU : 0);
    }
    return WS_OVERLAPPEDWINDOW;
}

::DWORD FormExStyle(const ui::Form& form) {
    return form.BorderStyle() == ui::Border::Dialog ? WS_EX_DLGMODALFRAME : 0;
}

void RegisterFormClass(const std::string& className) {
    ::WNDCLASSEXA existing{};
    existing.cbSize = sizeof existing;
    if (::GetClassInfoExA(Instance(), className.c_str(), &existing)) return;
    ::WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = ::DefWindowProcA;  // each window switches to its own procedure
    wc.hInstance = Instance();
    wc.hIcon = ::LoadIconA(Instance(), MAKEINTRESOURCEA(kIconId));
    wc.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<::HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = className.c_str();
    ::RegisterClassExA(&wc);
}

// The button a press or a double click message stands for.
ui::MouseButton PressedButton(::UINT msg) {
    switch (msg) {
        case WM_RBUTTONDOWN:
        case WM_RBUTTONDBLCLK:
            return ui::MouseButton::Right;
        case WM_MBUTTONDOWN:
        case WM_MBUTTONDBLCLK:
            return ui::MouseButton::Middle;
        default:
            return ui::MouseButton::Left;
    }
}

}  // namespace

FormWindow::FormWindow(ui::Form& form, ui::Prompts& prompts) : form_(form), prompts_(prompts) {}

FormWindow::~FormWindow() {
    ui::SetTextMeasure(nullptr);
    Unhook(form_);
    for (ui::Timer* timer : form_.Timers()) timer->OnViewChange = nullptr;
    if (hwnd_) {
        ::SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
        ::DestroyWindow(hwnd_);
    }
    if (font_) ::DeleteObject(font_);
    if (faceBrush_) ::DeleteObject(faceBrush_);
}

void FormWindow::Guard(const std::function<void()>& action) {
    try {
        action();
    } catch (const std::exception& e) {
        prompts_.ShowError(e.what());
    }
}

// --- Creation --------------------------------------------------------------------------

void FormWindow::Create(::HWND owner) {
    RegisterFormClass(form_.ClassName());
    ::RECT frame{0, 0, Scaled(form_.ClientWidth()), Scaled(form_.ClientHeight())};
    ::AdjustWindowRectEx(&frame, FormStyle(form_), FALSE, FormExStyle(form_));
    hwnd_ =
        ::CreateWindowExA(FormExStyle(form_), form_.ClassName().c_str(), form_.Caption().c_str(),
                          FormStyle(form_), CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left,
                          frame.bottom - frame.top, owner, nullptr, Instance(), this);
    if (!hwnd_) return;
    ::SetWindowLongPtrA(hwnd_, GWLP_USERDATA, reinterpret_cast<::LONG_PTR>(this));
    ::SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<::LONG_PTR>(&FormProc));

    font_ =
        ::CreateFontA(-::MulDiv(form_.FontPoints(), PixelsPerInch(), 72), 0, 0, 0, FW_NORMAL, FALSE,
                      FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                      DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, form_.FontName().c_str());
    faceBrush_ = ::CreateSolidBrush(::GetSysColor(COLOR_BTNFACE));
    // Pages that lay labels out after one another measure texts as this window draws them,
    // in the 96-dpi pixels they lay out in (rounded up: the text must fit once scaled back).
    ui::SetTextMeasure([this](const std::string& text) { return WidthAt96(hwnd_, font_, text); });

    HookForm();
    for (ui::Timer* timer : form_.Timers()) {
        timer->OnViewChange = [this](ui::Timer& t) { MirrorTimer(t); };
        MirrorTimer(*timer);
    }
    CreateChildren(form_);
    // A later child lies under the earlier ones, and siblings clip each other: frames must go
    // under what they hold, and page controls under everything else.
    PutContainersUnder(form_);
    PutLowestUnderAll();
    if (form_.Visible()) MirrorForm(ui::Change::Visible);
}

void FormWindow::CreateWhenShown(::HWND owner) {
    owner_ = owner;
    createWhenShown_ = true;
    HookForm();
    if (form_.Visible()) Create(owner_);
}

void FormWindow::HookForm() {
    if (formHooked_) return;
    formHooked_ = true;
    form_.OnViewChange = [this](ui::Control&, ui::Change change) {
        if (hwnd_)
            MirrorForm(change);
        else if (createWhenShown_ && change == ui::Change::Visible && form_.Visible())
            Create(owner_);
    };
}

// A page that is not shown gets its windows when it is first shown, or when the window has
// nothing else to do; until then the model alone holds its state.
void FormWindow::CreateChildren(ui::Control& parent) {
    for (ui::Control* child : parent.Children()) {
        CreateChild(*child);
        if (child->GetKind() == ui::Kind::TabSheet && !ShownByModel(*child))
            pendingPages_.push_back(static_cast<ui::TabSheet*>(child));
        else
            CreateChildren(*child);
    }
}

bool FormWindow::CreatePendingPage(const ui::Control* page) {
    auto found = std::find(pendingPages_.begin(), pendingPages_.end(), page);
    if (found == pendingPages_.end()) return false;
    ui::TabSheet& sheet = **found;
    pendingPages_.erase(found);
    CreateChildren(sheet);
    StackLikeTheRest(sheet);
    return true;
}

bool FormWindow::CreateSomethingPending() {
    if (!hwnd_ && createWhenShown_) {
        Guard([&] { Create(owner_); });
        return true;
    }
    if (pendingPages_.empty()) return false;
    Guard([&] { CreatePendingPage(pendingPages_.front()); });
    return true;
}

// A page made late lies where making all windows at once would have put it, so that the Tab
// key goes through the window in the same order: after the windows of the pages before it,
// its frames under the other windows and the page control lowest.
void FormWindow::StackLikeTheRest(ui::Control& page) {
    std::vector<std::pair<::HWND, bool>> order;  // non-frame windows; true: on the page
    std::function<void(ui::Control&, bool)> collect = [&](ui::Control& control, bool onPage) {
        onPage = onPage || &control == &page;
        if (Item* item = Find(control); item && item->hwnd && control.Children().empty()) {
            order.emplace_back(item->hwnd, onPage);
            if (item->upDown) order.emplace_back(item->upDown, onPage);
        }
        for (ui::Control* child : control.Children()) collect(*child, onPage);
    };
    collect(form_, false);
    ::HWND previous = HWND_TOP;
    for (auto [window, onPage] : order) {
        if (onPage)
            ::SetWindowPos(window, previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        previous = window;
    }
    PutContainersUnder(page);
    PutLowestUnderAll();
}

void FormWindow::PutLowestUnderAll() {
    for (auto& [control, item] : items_)
        if (FamilyOf(control->GetKind())->lowest)
            ::SetWindowPos(item.hwnd, HWND_BOTTOM, 0, 0, 0, 0,
                           SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// Depth first, so that each frame ends up under the frames inside it.
void FormWindow::PutContainersUnder(ui::Control& parent) {
    for (ui::Control* child : parent.Children()) PutContainersUnder(*child);
    Item* item = Find(parent);
    if (!parent.Children().empty() && item && item->hwnd)
        ::SetWindowPos(item->hwnd, HWND_BOTTOM, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void FormWindow::CreateChild(ui::Control& control) {
    Hook(control);
    const ControlFamily* family = FamilyOf(control.GetKind());
    if (!family) return;  // a tab sheet: its controls lie on the form
    ChildClass kind = family->classFor(control);
    Item& item = items_[&control];
    item.control = &control;
    ::RECT place = PlaceOf(control);
    int id = ControlId(control.Name());
    item.id = id;
    // Caption, visibility and state go in with the creation: each later call costs a round
    // trip, and a page has dozens of controls.
    ::DWORD state =
        (ShownByModel(control) ? WS_VISIBLE : 0) | (EnabledByModel(control) ? 0 : WS_DISABLED);
    item.hwnd = ::CreateWindowExA(
        kind.exStyle, kind.className, family->captioned ? control.Caption().c_str() : nullptr,
        kind.style | state, place.left, place.top, place.right - place.left,
        place.bottom - place.top, hwnd_, reinterpret_cast<::HMENU>(static_cast<::UINT_PTR>(id)),
        Instance(), nullptr);
    if (!item.hwnd) return;
    ::SendMessageA(item.hwnd, WM_SETFONT, reinterpret_cast<::WPARAM>(font_), FALSE);
    Subclass(item);
    if (family->created) family->created(item, *this, state);
    // Sized to its text in a font of its own: measured again in that font.
    if (control.GetBounds().width == 0 &&
        reinterpret_cast<::HFONT>(::SendMessageA(item.hwnd, WM_GETFONT, 0, 0)) != font_)
        MirrorBounds(control);
    for (ui::Change change :
         {ui::Change::Items, ui::Change::Selection, ui::Change::Text, ui::Change::Value})
        Mirror(control, change);
}

void FormWindow::Hook(ui::Control& control) {
    control.OnViewChange = [this](ui::Control& changed, ui::Change change) {
        Mirror(changed, change);
    };
}

void FormWindow::Unhook(ui::Control& control) {
    control.OnViewChange = nullptr;
    for (ui::Control* child : control.Children()) Unhook(*child);
}

void FormWindow::Subclass(Item& item) {
    ::SetWindowLongPtrA(item.hwnd, GWLP_USERDATA, Self(this));
    item.original = reinterpret_cast<::WNDPROC>(
        ::SetWindowLongPtrA(item.hwnd, GWLP_WNDPROC, reinterpret_cast<::LONG_PTR>(&ChildProc)));
    // A combo box's edit field gets the same treatment, so mouse moves over it describe.
    if (item.control->GetKind() == ui::Kind::ComboBox) {
        ::HWND field = ::GetWindow(item.hwnd, GW_CHILD);
        if (field) {
            ::SetWindowLongPtrA(field, GWLP_USERDATA, Self(this));
            Item inner{item.control, field, 0};
            inner.original = reinterpret_cast<::WNDPROC>(
                ::SetWindowLongPtrA(field, GWLP_WNDPROC, reinterpret_cast<::LONG_PTR>(&ChildProc)));
            innerFields_.push_back(inner);
        }
    }
}

// --- Geometry --------------------------------------------------------------------------

bool FormWindow::ShownByModel(const ui::Control& control) const {
    for (const ui::Control* c = &control; c && c->GetKind() != ui::Kind::Form; c = c->Parent()) {
        if (!c->Visible()) return false;
        if (c->GetKind() == ui::Kind::TabSheet &&
            static_cast<const ui::PageControl*>(c->Parent())->ActivePage() != c)
            return false;
    }
    return true;
}

bool FormWindow::EnabledByModel(const ui::Control& control) const {
    for (const ui::Control* c = &control; c && c->GetKind() != ui::Kind::Form; c = c->Parent())
        if (!c->Enabled()) return false;
    return true;
}

// The deepest shown control under a point of the client area: static texts and frames
// let the mouse through to the window below, so their moves are found this way.
ui::Control* FormWindow::ControlAt(ui::Control& within, ::POINT point) {
    const auto& children = within.Children();
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        ui::Control& child = **it;
        if (!ShownByModel(child)) continue;
        ::RECT area;
        if (!FamilyOf(child.GetKind())) {  // a tab sheet
            area = ChildArea(within);
        } else if (Item* item = Find(child); item && item->hwnd) {
            ::GetWindowRect(item->hwnd, &area);
            ::MapWindowPoints(nullptr, hwnd_, reinterpret_cast<::POINT*>(&area), 2);
        } else {
            continue;
        }
        if (!::PtInRect(&area, point)) continue;
        if (ui::Control* deeper = ControlAt(child, point)) return deeper;
        return &child;
    }
    return nullptr;
}

// --- Mirroring the model ---------------------------------------------------------------

FormWindow::Item* FormWindow::Find(const ui::Control& control) {
    auto found = items_.find(&control);
    return found == items_.end() ? nullptr : &found->second;
}

FormWindow::Item* FormWindow::FindById(int id) {
    for (auto& [control, item] : items_)
        if (item.hwnd && item.id == id) return &item;
    return nullptr;
}

FormWindow::Item* FormWindow::ItemOfWindow(::HWND hwnd) {
    for (auto& [control, item] : items_)
        if (item.hwnd == hwnd) return &item;
    for (Item& inner : innerFields_)
        if (inner.hwnd == hwnd) return &inner;
    return nullptr;
}

void FormWindow::Mirror(ui::Control& control, ui::Change change) {
    if (control.GetKind() == ui::Kind::Form) return MirrorForm(change);
    if (change == ui::Change::Visible) return MirrorVisibility(control);
    if (change == ui::Change::Enabled) return MirrorEnabled(control);
    if (change == ui::Change::Bounds) return MirrorBounds(control);
    const ControlFamily* family = FamilyOf(control.GetKind());
    if (!family) {  // a tab sheet: shown in its parent's window
        Item* parent = Find(*control.Parent());
        if (!parent || !parent->hwnd) return;
        if (const ControlFamily* holder = FamilyOf(control.Parent()->GetKind());
            holder && holder->childChanged)
            holder->childChanged(*parent, control, change, *this);
        return;
    }
    Item* item = Find(control);
    if (!item || !item->hwnd) return;
    mirroring_ = true;
    if (change == ui::Change::Caption) {
        if (family->captioned) ::SetWindowTextA(item->hwnd, control.Caption().c_str());
        // Sized to its text, or given the room a new text needs.
        if (FollowsCaption(control)) MirrorBounds(control);
    } else if (change == ui::Change::Color) {
        ::InvalidateRect(item->hwnd, nullptr, TRUE);
    } else if (family->mirror) {
        family->mirror(*item, change, *this);
    }
    mirroring_ = false;
}

void FormWindow::MirrorVisibility(ui::Control& control) {
    if (control.GetKind() == ui::Kind::TabSheet && ShownByModel(control) &&
        CreatePendingPage(&control))
        return;  // made as the model shows it
    if (Item* item = Find(control); item && item->hwnd) {
        int show = ShownByModel(control) ? SW_SHOWNA : SW_HIDE;
        ::ShowWindow(item->hwnd, show);
        if (item->upDown) ::ShowWindow(item->upDown, show);
    }
    for (ui::Control* child : control.Children()) MirrorVisibility(*child);
}

void FormWindow::MirrorEnabled(ui::Control& control) {
    if (Item* item = Find(control); item && item->hwnd) {
        bool enabled = EnabledByModel(control);
        ::EnableWindow(item->hwnd, enabled);
        if (item->upDown) ::EnableWindow(item->upDown, enabled);
    }
    for (ui::Control* child : control.Children()) MirrorEnabled(*child);
}

void FormWindow::MirrorForm(ui::Change change) {
    if (!hwnd_) return;
    switch (change) {
        case ui::Change::Caption:
            ::SetWindowTextA(hwnd_, form_.Caption().c_str());
            break;
        case ui::Change::Enabled:
            ::EnableWindow(hwnd_, form_.Enabled() ? TRUE : FALSE);
            break;
        case ui::Change::Visible:
            if (form_.Visible()) {
                if (!placed_) CentreOnScreen();
                ::ShowWindow(hwnd_, SW_SHOW);
                ::SetForegroundWindow(hwnd_);
                if (form_.ActiveControl)
                    if (Item* item = Find(*form_.ActiveControl); item && item->hwnd)
                        ::SetFocus(item->hwnd);
            } else {
                ::ShowWindow(hwnd_, SW_HIDE);
            }
            break;
        case ui::Change::Closed:
            // A close that came in a sent message (another program's click, the end of the
            // session) runs inside GetMessage, which waits on for a posted one: give it one.
            ::PostMessageA(hwnd_, WM_NULL, 0, 0);
            break;
        default:
            break;
    }
}

void FormWindow::MirrorTimer(ui::Timer& timer) {
    auto& timers = form_.Timers();
    ::UINT_PTR id =
        static_cast<::UINT_PTR>(std::find(timers.begin(), timers.end(), &timer) - timers.begin()) +
        1;
    if (timer.Enabled()) {
        if (!::SetTimer(hwnd_, id, timer.Interval(), nullptr) && hwnd_)
            throw std::runtime_error("Not enough timers available");
    } else
        ::KillTimer(hwnd_, id);
}

void FormWindow::CentreOnScreen() {
    ::RECT work{}, frame{};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    ::GetWindowRect(hwnd_, &frame);
    int width = frame.right - frame.left, height = frame.bottom - frame.top;
    ::SetWindowPos(hwnd_, nullptr, work.left + (work.right - work.left - width) / 2,
                   work.top + (work.bottom - work.top - height) / 2, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    placed_ = true;
}

// --- Input -----------------------------------------------------------------------------

::LRESULT CALLBACK FormWindow::FormProc(::HWND hwnd, ::UINT msg, ::WPARAM wParam, ::LPARAM lParam) {
    auto* self = reinterpret_cast<FormWindow*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!self) return ::DefWindowProcA(hwnd, msg, wParam, lParam);
    return self->HandleFormMessage(msg, wParam, lParam);
}

::LRESULT FormWindow::HandleFormMessage(::UINT msg, ::WPARAM wParam, ::LPARAM lParam) {
    if (HandleSystemMenu(msg, wParam, lParam)) return 0;
    switch (msg) {
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_NOTIFY:
            return OnNotify(*reinterpret_cast<const ::NMHDR*>(lParam));
        case WM_HSCROLL:
            if (Item* item = ItemOfWindow(reinterpret_cast<::HWND>(lParam)))
                if (const ControlFamily* family = FamilyOf(item->control->GetKind());
                    family && family->scrolled)
                    family->scrolled(*item, *this);
            return 0;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
            return OnControlColor(reinterpret_cast<::HDC>(wParam),
                                  reinterpret_cast<::HWND>(lParam));
        case WM_DRAWITEM: {
            const auto& draw = *reinterpret_cast<const ::DRAWITEMSTRUCT*>(lParam);
            if (Item* item = ItemOfWindow(draw.hwndItem))
                if (const ControlFamily* family = FamilyOf(item->control->GetKind());
                    family && family->drawn)
                    family->drawn(*item, draw, *this);
            return TRUE;
        }
        case WM_TIMER: {
            auto& timers = form_.Timers();
            if (wParam >= 1 && wParam <= timers.size()) {
                ui::Timer* timer = timers[wParam - 1];
                Guard([&] { timer->Fire(); });
            }
            return 0;
        }
        case WM_MOUSEMOVE: {
            ::POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            ui::Control* under = ControlAt(form_, point);
            Guard([&] { (under ? *under : static_cast<ui::Control&>(form_)).MoveMouse(); });
            return 0;
        }
        case WM_ACTIVATE:
            if (LOWORD(wParam) != WA_INACTIVE) Guard([&] { form_.Activate(); });
            break;
        case WM_CLOSE:
            Guard([&] { form_.Close(); });
            return 0;
        case WM_QUERYENDSESSION: {
            bool allowed = true;
            if (OnQueryEndSession) Guard([&] { allowed = OnQueryEndSession(); });
            return allowed ? TRUE : FALSE;
        }
        case WM_ENDSESSION:
            if (OnEndSession) Guard([&] { OnEndSession(wParam != FALSE); });
            return 0;
        case DM_GETDEFID: {  // same number as WM_USER: a posted WM_USER never comes here
            ui::Button* button = FocusedButton();
            if (!button) button = form_.DefaultButton;
            if (!button) return 0;
            return MAKELRESULT(ControlId(button->Name()), DC_HASDEFID);
        }
        default:
            break;
    }
    return ::DefWindowProcA(hwnd_, msg, wParam, lParam);
}

ui::Button* FormWindow::FocusedButton() {
    ::HWND focus = ::GetFocus();
    for (auto& [control, item] : items_)
        if (item.hwnd == focus && (item.control->GetKind() == ui::Kind::Button ||
                                   item.control->GetKind() == ui::Kind::SpeedButton))
            return static_cast<ui::Button*>(item.control);
    return nullptr;
}

void FormWindow::OnCommand(int id, int code) {
    if (id == IDOK || id == IDCANCEL) {
        ui::Button* button = id == IDOK ? form_.DefaultButton : form_.CancelButton;
        if (button) Guard([&] { button->Click(); });
        return;
    }
    Item* item = FindById(id);
    if (!item || mirroring_) return;
    if (const ControlFamily* family = FamilyOf(item->control->GetKind()); family && family->command)
        family->command(*item, code, *this);
}

::LRESULT FormWindow::OnNotify(const ::NMHDR& header) {
    for (auto& [control, item] : items_) {
        ::LRESULT result = 0;
        if (const ControlFamily* family = FamilyOf(item.control->GetKind());
            family && family->notified && family->notified(item, header, *this, result))
            return result;
    }
    return 0;
}

::LRESULT FormWindow::OnControlColor(::HDC dc, ::HWND child) {
    Item* item = ItemOfWindow(child);
    if (!item)
        return ::DefWindowProcA(hwnd_, WM_CTLCOLORSTATIC, reinterpret_cast<::WPARAM>(dc),
                                reinterpret_cast<::LPARAM>(child));
    ::LRESULT result = 0;
    if (const ControlFamily* family = FamilyOf(item->control->GetKind());
        family && family->colored && family->colored(*item, dc, *this, result))
        return result;
    ::SetTextColor(dc, item->control->FontColor());
    ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
    return reinterpret_cast<::LRESULT>(faceBrush_);
}

::LRESULT CALLBACK FormWindow::ChildProc(::HWND hwnd, ::UINT msg, ::WPARAM wParam,
                                         ::LPARAM lParam) {
    auto* self = reinterpret_cast<FormWindow*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (self)
        if (Item* item = self->ItemOfWindow(hwnd))
            return self->HandleChildMessage(*item, msg, wParam, lParam);
    return ::DefWindowProcA(hwnd, msg, wParam, lParam);
}

::LRESULT FormWindow::HandleChildMessage(Item& item, ::UINT msg, ::WPARAM wParam, ::LPARAM lParam) {
    ::WNDPROC original = item.original;
    ::HWND hwnd = item.hwnd;
    ui::Control& control = *item.control;
    switch (msg) {
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDBLCLK:
            Guard([&] { control.PressMouse(PressedButton(msg)); });
            break;
        case WM_LBUTTONDBLCLK:
            // The second press of a double click is a press like the first: its handler runs
            // again. A check box (BS_CHECKBOX without BS_NOTIFY) sends no BN_DOUBLECLICKED and
            // takes the double click as a button-down itself; handing it exactly that keeps one
            // toggle for each press and release, the release below doing the toggling.
            Guard([&] { control.PressMouse(ui::MouseButton::Left); });
            break;
        case WM_LBUTTONUP: {
            item.releasingMouse = true;
            ::LRESULT result = ::CallWindowProcA(original, hwnd, msg, wParam, lParam);
            if (Item* still = ItemOfWindow(hwnd)) still->releasingMouse = false;
            return result;
        }
        case WM_MOUSEMOVE: {
            ::POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            ::MapWindowPoints(hwnd, hwnd_, &point, 1);
            ui::Control* under = ControlAt(form_, point);
            Guard([&] { (under ? *under : control).MoveMouse(); });
            break;
        }
        case WM_NCDESTROY:
            ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
            ::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<::LONG_PTR>(original));
            break;
        default:
            break;
    }
    ::LRESULT result = 0;
    if (const ControlFamily* family = FamilyOf(control.GetKind());
        family && family->message && family->message(item, msg, wParam, lParam, result))
        return result;
    return ::CallWindowProcA(original, hwnd, msg, wParam, lParam);
}

// --- Keyboard --------------------------------------------------------------------------

bool FormWindow::PreTranslate(::MSG& msg) {
    if (!hwnd_) return false;
    if (msg.hwnd == hwnd_ && msg.message == WM_USER) {
        if (OnUserMessage) Guard(OnUserMessage);
        return true;
    }
    if (!::IsWindowVisible(hwnd_)) return false;
    if (msg.hwnd != hwnd_ && !::IsChild(hwnd_, msg.hwnd)) return false;
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_TAB && (::GetKeyState(VK_CONTROL) < 0)) {
        for (auto& [control, item] : items_) {
            const ControlFamily* family = FamilyOf(item.control->GetKind());
            if (!family || !family->stepped) continue;
            family->stepped(item, ::GetKeyState(VK_SHIFT) < 0 ? -1 : 1, *this);
            return true;
        }
    }
    return ::IsDialogMessageA(hwnd_, &msg);
}

}  // namespace vt::view
