// Renders one form of the control model as a real window: one child window per control,
// the user's input forwarded as the model's intents, every model change mirrored back.
#pragma once

#include "ui/Form.h"
#include "ui/Prompts.h"
#include "view/win32/ControlFamily.h"

#include <windows.h>

#include <functional>
#include <map>
#include <vector>

namespace vt::view {

class FormWindow : private FamilyHost {
  public:
    FormWindow(ui::Form& form, ui::Prompts& prompts);
    ~FormWindow();
    FormWindow(const FormWindow&) = delete;
    FormWindow& operator=(const FormWindow&) = delete;

    // Creates the window and its controls, hidden; shows it if the model is visible.
    void Create(::HWND owner);
    // Creates the window the first time the model shows it, or when asked below.
    void CreateWhenShown(::HWND owner);
    // Pages not shown yet get their windows when first shown; until then the model alone
    // holds them. This makes one such page, or the window itself if CreateWhenShown waits for
    // it: the work of a moment when the message queue is empty. False: nothing left to make.
    bool CreateSomethingPending();
    ::HWND Handle() const { return hwnd_; }
    ui::Form& Model() { return form_; }

    // Before dispatch: the posted WM_USER (its number is also DM_GETDEFID, which the dialog
    // keyboard sends), then Tab, Enter, Esc and Ctrl+Tab. True when the message was taken.
    bool PreTranslate(::MSG& msg);

    // Window messages the main window answers with the program's logic.
    std::function<bool()> OnQueryEndSession;
    std::function<void()> OnUserMessage;
    // WM_ENDSESSION: whether the session ends after all.
    std::function<void(bool ending)> OnEndSession;

    // An item appended to the window's system menu (Alt+Space): greyed whenever `enabled`
    // says no as the menu opens; choosing it runs `chosen`. The first item's command is
    // kFirstSystemItem, the next one's 16 more (WM_SYSCOMMAND keeps the low four bits).
    static constexpr ::UINT kFirstSystemItem = 0x0110;
    void AddSystemMenuItem(const std::string& text, std::function<bool()> enabled,
                           std::function<void()> chosen);

  private:
    using Item = MadeWindow;

    static ::LRESULT CALLBACK FormProc(::HWND hwnd, ::UINT msg, ::WPARAM wParam, ::LPARAM lParam);
    static ::LRESULT CALLBACK ChildProc(::HWND hwnd, ::UINT msg, ::WPARAM wParam, ::LPARAM lParam);
    ::LRESULT HandleFormMessage(::UINT msg, ::WPARAM wParam, ::LPARAM lParam);
    // WM_INITMENUPOPUP and WM_SYSCOMMAND for the added system-menu items: true when taken.
    bool HandleSystemMenu(::UINT msg, ::WPARAM wParam, ::LPARAM lParam);
    ::LRESULT HandleChildMessage(Item& item, ::UINT msg, ::WPARAM wParam, ::LPARAM lParam);
    void OnCommand(int id, int code);
    ::LRESULT OnNotify(const ::NMHDR& header);
    ::LRESULT OnControlColor(::HDC dc, ::HWND child);

    // --- What the control families ask of the window ---------------------------------
    void Guard(const std::function<void()>& action) override;
    ::HWND FormHandle() const override { return hwnd_; }
    bool EnabledByModel(const ui::Control& control) const override;
    void MirrorBounds(ui::Control& control) override;
    void MirrorVisibility(ui::Control& control) override;
    ::HBRUSH FaceBrush() const override { return faceBrush_; }

    // --- Creation (FormWindow.cpp) ----------------------------------------------------
    void HookForm();
    void CreateChildren(ui::Control& parent);
    // False when the page's windows were made already.
    bool CreatePendingPage(const ui::Control* page);
    void StackLikeTheRest(ui::Control& page);
    void PutLowestUnderAll();
    void PutContainersUnder(ui::Control& parent);
    void CreateChild(ui::Control& control);
    void Subclass(Item& item);
    void Hook(ui::Control& control);
    void Unhook(ui::Control& control);

    // --- Geometry (Placement.cpp) -----------------------------------------------------
    ::POINT Origin(const ui::Control& control) const;  // of its children, in client pixels
    // Where the children of a control without windows of their own lie (a tab control's
    // display area), in client pixels.
    ::RECT ChildArea(const ui::Control& container) const;
    ::RECT PlaceOf(const ui::Control& control) const;

    // --- Visibility and enabling (Visibility.cpp) -------------------------------------
    bool ShownByModel(const ui::Control& control) const;
    void MirrorEnabled(ui::Control& control);

    // --- The mouse (Mouse.cpp) --------------------------------------------------------
    // Presses and moves over a control's window before its own handling; true when answered.
    bool HandleChildMouse(Item& item, ::UINT msg, ::WPARAM wParam, ::LPARAM lParam,
                          ::LRESULT& result);
    // A move to `point` of the client area, over `fallback` when no shown control lies there.
    void MouseMovedTo(::POINT point, ui::Control& fallback);
    ui::Control* ControlAt(ui::Control& within, ::POINT point);

    // --- The keyboard (Keyboard.cpp) --------------------------------------------------
    // DM_GETDEFID: the button Enter presses.
    ::LRESULT DefaultButtonId();
    ui::Button* FocusedButton();

    // --- Mirroring the model (FormWindow.cpp) -----------------------------------------
    void Mirror(ui::Control& control, ui::Change change);
    void MirrorForm(ui::Change change);
    void MirrorTimer(ui::Timer& timer);
    void CentreOnScreen();

    Item* Find(const ui::Control& control);
    Item* FindById(int id);
    Item* ItemOfWindow(::HWND hwnd);

    ui::Form& form_;
    ui::Prompts& prompts_;
    ::HWND hwnd_ = nullptr;
    ::HFONT font_ = nullptr;
    ::HBRUSH faceBrush_ = nullptr;
    std::map<const ui::Control*, Item> items_;
    std::vector<Item> innerFields_;  // the edit fields of combo boxes
    bool mirroring_ = false;         // our own SetWindowText must not come back as typing
    bool placed_ = false;
    struct SystemItem {
        ::UINT id;
        std::function<bool()> enabled;
        std::function<void()> chosen;
    };
    std::vector<SystemItem> systemItems_;
    ::HWND owner_ = nullptr;
    bool createWhenShown_ = false;
    bool formHooked_ = false;
    std::vector<ui::TabSheet*> pendingPages_;  // in the order of the tabs
};

}  // namespace vt::view
