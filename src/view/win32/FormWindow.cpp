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
                      FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
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
        case WM_MOUSEMOVE:
            MouseMovedTo({static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))},
                         form_);
            return 0;
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
        case DM_GETDEFID:  // same number as WM_USER: a posted WM_USER never comes here
            return DefaultButtonId();
        default:
            break;
    }
    return ::DefWindowProcA(hwnd_, msg, wParam, lParam);
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
    ::LRESULT result = 0;
    if (HandleChildMouse(item, msg, wParam, lParam, result)) return result;
    if (msg == WM_NCDESTROY) {
        ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        ::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<::LONG_PTR>(original));
    }
    if (const ControlFamily* family = FamilyOf(control.GetKind());
        family && family->message && family->message(item, msg, wParam, lParam, result))
        return result;
    return ::CallWindowProcA(original, hwnd, msg, wParam, lParam);
}

}  // namespace vt::view
