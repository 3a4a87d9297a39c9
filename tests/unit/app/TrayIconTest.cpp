#include "AppFixture.h"

#include <algorithm>
#include <cstring>
#include <tuple>

namespace vt::testing {
namespace {

using fake::Call;

// The component on its own: a main window, a menu and the hidden window the view would make.
class TrayIconTest : public ::testing::Test {
  protected:
    TrayIconTest() {
        sys.SetSystemMetric(SM_CYMENUSIZE, 18);
        sys.PlaceCursor({900, 740});
        tray.AttachWindow(trayWindow);
        tray.ApplicationHandle = appWindow;
        tray.SetPopupMenu(&menu);
        restore.OnClick = [this] { chosen.push_back("Restore"); };
        exit.OnClick = [this] { chosen.push_back("Exit"); };
        main.Show();
    }
    void Notify(UINT mouseMessage) { tray.WndProc(WM_USER, 0, mouseMessage); }
    std::size_t Count(DWORD message) const {
        const auto& requests = sys.NotifyIconRequests();
        return std::count_if(requests.begin(), requests.end(),
                             [message](const auto& r) { return r.message == message; });
    }

    fake::FakePlatform sys;
    HWND trayWindow = sys.AddWindow(TkbTrayIcon::kWindowClass, "", false);
    HWND appWindow = sys.AddWindow("TForm1", "Veltrim 2000", true);
    ui::Form main{"TForm1", "Veltrim 2000", 534, 472};
    ui::PopupMenu menu{"PopupMenu1"};
    ui::MenuItem restore{"Restore1", &menu, "Restore"};
    ui::MenuItem exit{"Exit1", &menu, "Exit"};
    TkbTrayIcon tray{sys, main};
    std::vector<std::string> chosen;
};

TEST_F(TrayIconTest, TheIconIsRegisteredWithTheFirstRecordOfEightyEightBytes) {
    tray.SetHint("Veltrim");
    tray.SetVisible(true);
    ASSERT_EQ(1u, sys.NotifyIconRequests().size());
    const auto& add = sys.NotifyIconRequests()[0];
    EXPECT_EQ(NIM_ADD, add.message);
    EXPECT_EQ(88u, add.data.cbSize);
    EXPECT_EQ(trayWindow, add.data.hWnd);
    EXPECT_EQ(0u, add.data.uID);
    EXPECT_EQ(7u, add.data.uFlags);
    EXPECT_EQ(WM_USER, add.data.uCallbackMessage);
    EXPECT_STREQ("Veltrim", add.data.szTip);
    EXPECT_TRUE(sys.TrayIcon(trayWindow, 0));
    // The program's small image, at the size the metrics name, its own (destroyed with it).
    ASSERT_EQ(1u, sys.Icons().count(add.data.hIcon));
    const auto& made = sys.Icons().at(add.data.hIcon);
    EXPECT_EQ(std::tuple(16, 16, 0u), std::tuple(made.width, made.height, made.flags & LR_SHARED));
}

// Explorer started again makes a new taskbar without the icons of the old one.
TEST_F(TrayIconTest, ANewTaskbarGetsTheIconBackOnlyWhenItIsShown) {
    const UINT taskbarCreated = sys.RegisteredMessage("TaskbarCreated");
    ASSERT_NE(0u, taskbarCreated) << "registered with the window";
    for (bool shown : {true, false}) {
        tray.SetVisible(shown);
        sys.RestartShell();
        EXPECT_TRUE(tray.WndProc(taskbarCreated, 0, 0));
        EXPECT_EQ(shown ? 1u : 0u, sys.TrayIconCount());
        EXPECT_TRUE(sys.NotifyIconRequests().back().answer);
    }
}

TEST_F(TrayIconTest, VisibleAddsAndDeletesOnlyOnAChange) {
    tray.SetVisible(false);
    EXPECT_TRUE(sys.NotifyIconRequests().empty());
    tray.SetVisible(true);
    tray.SetVisible(true);
    EXPECT_EQ(1u, Count(NIM_ADD));
    tray.SetVisible(false);
    tray.SetVisible(false);
    EXPECT_EQ(1u, Count(NIM_DELETE));
    EXPECT_EQ(0u, sys.TrayIconCount());
}

TEST_F(TrayIconTest, AHintLongerThanSixtyThreeCharactersIsCutInTheTipAndInTheProperty) {
    const std::string seventy(70, 'h');
    tray.SetHint(seventy);
    EXPECT_EQ(std::string(63, 'h'), tray.Hint());
    tray.SetVisible(true);
    EXPECT_EQ(std::string(63, 'h'), sys.TrayIcon(trayWindow, 0)->szTip);
    tray.SetHint(seventy + "more");  // the same 63 characters: nothing to tell the shell
    EXPECT_EQ(0u, Count(NIM_MODIFY));
    tray.SetHint("Veltrim 2000");
    EXPECT_EQ(1u, Count(NIM_MODIFY));
    EXPECT_STREQ("Veltrim 2000", sys.TrayIcon(trayWindow, 0)->szTip);
    tray.SetIcon(0x1234);
    EXPECT_EQ(2u, Count(NIM_MODIFY));
    EXPECT_EQ(0x1234u, sys.TrayIcon(trayWindow, 0)->hIcon);
}

TEST_F(TrayIconTest, AHiddenIconIsNotModified) {
    tray.SetHint("Veltrim");
    tray.SetIcon(0x1234);
    EXPECT_TRUE(sys.NotifyIconRequests().empty());
    tray.SetVisible(true);
    EXPECT_EQ(0x1234u, sys.TrayIcon(trayWindow, 0)->hIcon);
}

TEST_F(TrayIconTest, ARightClickOpensTheMenuRightAlignedAboveTheCursor) {
    sys.ClearCalls();
    Notify(WM_RBUTTONDOWN);
    EXPECT_TRUE(sys.ShownMenus().empty()) << "the press alone opens nothing";
    Notify(WM_RBUTTONUP);
    ASSERT_EQ(1u, sys.ShownMenus().size());
    const auto& shown = sys.ShownMenus()[0];
    EXPECT_EQ((std::vector<std::string>{"Restore", "Exit"}), shown.items);
    EXPECT_EQ(900, shown.x);
    EXPECT_EQ(740 - 2 * 18, shown.y) << "one menu height per item above the cursor";
    EXPECT_EQ(TPM_RIGHTALIGN, shown.flags & TPM_RIGHTALIGN);
    EXPECT_EQ(trayWindow, shown.owner);
    EXPECT_TRUE(chosen.empty()) << "closed without a choice";
    EXPECT_EQ(0u, sys.MenusAlive());
    // The hidden window comes forward before the menu opens and gets a null message after.
    std::vector<Call> order;
    for (const auto& call : sys.Calls())
        if (call.kind == Call::SetForegroundWindow || call.kind == Call::TrackPopupMenu ||
            call.kind == Call::PostMessage)
            order.push_back(call.kind);
    EXPECT_EQ(
        (std::vector<Call>{Call::SetForegroundWindow, Call::TrackPopupMenu, Call::PostMessage}),
        order);
    ASSERT_EQ(1u, sys.Posted().size());
    EXPECT_EQ(trayWindow, sys.Posted()[0].window);
    EXPECT_EQ(WM_NULL, sys.Posted()[0].message);
}

TEST_F(TrayIconTest, TheChosenItemRunsOnceTheMenuHasClosed) {
    sys.ChooseInNextMenu("Exit");
    Notify(WM_RBUTTONUP);
    EXPECT_EQ(std::vector<std::string>{"Exit"}, chosen);
    sys.ChooseInNextMenu("Restore");
    Notify(WM_RBUTTONUP);
    EXPECT_EQ((std::vector<std::string>{"Exit", "Restore"}), chosen);
}

// What each mouse notification does while the main window is hidden in the tray.
TEST_F(TrayIconTest, OnlyARightClickAndALeftDoubleClickDoAnything) {
    struct Case {
        const char* name;
        UINT message;
        bool menu;
        bool shows;
    };
    for (const Case& c : {Case{"left down", WM_LBUTTONDOWN, false, false},
                          Case{"left click", WM_LBUTTONUP, false, false},
                          Case{"middle click", WM_MBUTTONUP, false, false},
                          Case{"right down", WM_RBUTTONDOWN, false, false},
                          Case{"right click", WM_RBUTTONUP, true, false},
                          Case{"mouse move", WM_MOUSEMOVE, false, false},
                          Case{"left double click", WM_LBUTTONDBLCLK, false, true},
                          Case{"right double click", WM_RBUTTONDBLCLK, false, false},
                          Case{"middle double click", WM_MBUTTONDBLCLK, false, false}}) {
        main.Hide();
        tray.SetShowApplication(false);
        std::size_t menus = sys.ShownMenus().size();
        Notify(c.message);
        EXPECT_EQ(c.menu, sys.ShownMenus().size() > menus) << c.name;
        EXPECT_EQ(c.shows, main.Visible()) << c.name;
        EXPECT_EQ(c.shows, tray.ShowApplication()) << c.name;
    }
}

TEST_F(TrayIconTest, TheEventsComeWithTheirButtonsAndCanKeepTheDefaultActionsBack) {
    std::vector<std::string> events;
    auto name = [](ui::MouseButton b) {
        return b == ui::MouseButton::Left ? "L" : b == ui::MouseButton::Right ? "R" : "M";
    };
    tray.OnMouseDown = [&](TkbTrayIcon&, ui::MouseButton b) {
        events.push_back(std::string("down ") + name(b));
    };
    tray.OnMouseUp = [&](TkbTrayIcon&, ui::MouseButton b) {
        events.push_back(std::string("up ") + name(b));
    };
    tray.OnClick = [&](TkbTrayIcon&, ui::MouseButton b, bool& keep) {
        events.push_back(std::string("click ") + name(b));
        keep = false;
    };
    tray.OnDoubleClick = [&](TkbTrayIcon&, ui::MouseButton b, bool& keep) {
        events.push_back(std::string("double ") + name(b));
        keep = false;
    };
    tray.OnMouseMove = [&](TkbTrayIcon&) { events.push_back("move"); };
    main.Hide();
    for (UINT message : {WM_MOUSEMOVE, WM_RBUTTONDOWN, WM_RBUTTONUP, WM_MBUTTONDOWN, WM_MBUTTONUP,
                         WM_LBUTTONDBLCLK})
        Notify(message);
    EXPECT_EQ((std::vector<std::string>{"move", "down R", "click R", "up R", "down M", "click M",
                                        "up M", "double L"}),
              events);
    EXPECT_TRUE(sys.ShownMenus().empty()) << "the click handler kept the menu back";
    EXPECT_FALSE(main.Visible()) << "the double-click handler kept the window hidden";
}

TEST_F(TrayIconTest, OtherMessagesGoToTheDefaultWindowProcedure) {
    EXPECT_FALSE(tray.WndProc(WM_NULL, 0, 0));
    EXPECT_FALSE(tray.WndProc(WM_RBUTTONUP, 0, 0)) << "a mouse message to the window itself";
    EXPECT_TRUE(tray.WndProc(WM_USER, 0, WM_LBUTTONUP));
}

TEST_F(TrayIconTest, WithoutAMenuARightClickOpensNothingAndAMenuThatGoesIsForgotten) {
    {
        ui::PopupMenu shortLived{"PopupMenu2"};
        ui::MenuItem item{"Item1", &shortLived, "Item"};
        tray.SetPopupMenu(&shortLived);
    }
    EXPECT_EQ(nullptr, tray.PopupMenu());
    Notify(WM_RBUTTONUP);
    EXPECT_TRUE(sys.ShownMenus().empty());
    EXPECT_EQ(0u, sys.MenusAlive());
}

TEST_F(TrayIconTest, ShowApplicationShowsOrHidesTheTaskbarWindowAndTheMainWindow) {
    tray.SetShowApplication(false);
    EXPECT_FALSE(main.Visible());
    ASSERT_FALSE(sys.ShowRequests().empty());
    EXPECT_EQ(std::make_pair(appWindow, SW_HIDE), sys.ShowRequests().back());
    EXPECT_FALSE(sys.IsWindowVisible(appWindow));
    EXPECT_NE(appWindow, sys.ForegroundWindow()) << "a hidden window is never brought forward";
    tray.SetShowApplication(true);
    EXPECT_TRUE(main.Visible());
    EXPECT_EQ(std::make_pair(appWindow, SW_SHOW), sys.ShowRequests().back());
    EXPECT_EQ(appWindow, sys.ForegroundWindow());
}

TEST_F(TrayIconTest, AnIconTheShellRefusesCostsNothing) {
    sys.SetTrayAvailable(false);
    tray.SetVisible(true);
    EXPECT_TRUE(tray.Visible());
    EXPECT_FALSE(sys.NotifyIconRequests().back().answer);
    tray.SetVisible(false);
    EXPECT_EQ(2u, sys.NotifyIconRequests().size());
}

TEST_F(TrayIconTest, TakingTheWindowAwayOrDestroyingTheComponentDeletesTheIcon) {
    tray.SetVisible(true);
    tray.DetachWindow();
    EXPECT_EQ(0u, sys.TrayIconCount());
    EXPECT_EQ(0u, tray.Handle());
    {
        TkbTrayIcon other(sys, main);
        other.AttachWindow(trayWindow);
        other.SetVisible(true);
        EXPECT_EQ(1u, sys.TrayIconCount());
    }
    EXPECT_EQ(0u, sys.TrayIconCount());
    EXPECT_EQ(1u, sys.Icons().size()) << "this one's own: the other's ended with it";
}

// --- The main window and its icon ----------------------------------------------------------

class MainWindowTrayTest : public AppFixture {
  protected:
    void SetUp() override {
        AppFixture::SetUp();
        form.kbTrayIcon1.AttachWindow(trayWindow);
        form.kbTrayIcon1.ApplicationHandle = appWindow;
        form.FormCreate();
        form.Show();
    }
    // Never more than one icon, and one exactly while the window is hidden.
    void ExpectIconMatchesWindow(const std::string& after) {
        EXPECT_EQ(form.Visible() ? 0u : 1u, sys.TrayIconCount()) << after;
        EXPECT_EQ(!form.Visible(), form.kbTrayIcon1.Visible()) << after;
        for (const auto& request : sys.NotifyIconRequests())
            EXPECT_TRUE(request.answer) << after << ": every add and delete was in its place";
    }

    HWND trayWindow = sys.AddWindow(TkbTrayIcon::kWindowClass, "", false);
    HWND appWindow = sys.AddWindow("TForm1", "Veltrim 2000", true);
    TForm1 form{sys, prompts};
};

TEST_F(MainWindowTrayTest, TheIconIsTheMainWindowsWithItsMenu) {
    EXPECT_EQ("Veltrim", form.kbTrayIcon1.Hint());
    EXPECT_EQ(&form.PopupMenu1, form.kbTrayIcon1.PopupMenu());
    ASSERT_EQ(2u, form.PopupMenu1.Items().size());
    EXPECT_EQ("Restore", form.PopupMenu1.Items()[0]->Caption());
    EXPECT_EQ("Exit", form.PopupMenu1.Items()[1]->Caption());
    EXPECT_FALSE(form.kbTrayIcon1.Visible()) << "no icon while the window shows";
    EXPECT_TRUE(form.kbTrayIcon1.ShowApplication());
}

TEST_F(MainWindowTrayTest, EveryHideAddsTheIconOnceAndEveryShowRemovesIt) {
    struct Way {
        const char* name;
        std::function<void()> go;
    };
    const std::vector<Way> hides = {
        {"Hide", [&] { form.Button7.Click(); }},
        {"OK while the countdown runs",
         [&] {
             form.AutoShutdownActive = true;
             form.Button1.Click();
             form.AutoShutdownActive = false;
         }},
        {"hidden by program", [&] { form.Hide(); }},
    };
    const std::vector<Way> shows = {
        {"Restore",
         [&] {
             sys.ChooseInNextMenu("Restore");
             form.kbTrayIcon1.WndProc(WM_USER, 0, WM_RBUTTONUP);
         }},
        {"left double click", [&] { form.kbTrayIcon1.WndProc(WM_USER, 0, WM_LBUTTONDBLCLK); }},
        {"second start", [&] { form.WMUser(); }},
        {"shown by program", [&] { form.Show(); }},
    };
    for (const Way& hide : hides) {
        for (const Way& show : shows) {
            std::string path = std::string(hide.name) + ", then " + show.name;
            std::size_t adds = 0, deletes = 0;
            for (const auto& r : sys.NotifyIconRequests())
                (r.message == NIM_ADD ? adds : deletes) += 1;
            hide.go();
            EXPECT_FALSE(form.Visible()) << path;
            EXPECT_FALSE(sys.IsWindowVisible(appWindow)) << path << ": no taskbar button";
            ExpectIconMatchesWindow(path);
            form.Hide();  // hidden again: nothing more
            show.go();
            EXPECT_TRUE(form.Visible()) << path;
            EXPECT_TRUE(sys.IsWindowVisible(appWindow)) << path;
            ExpectIconMatchesWindow(path);
            form.WMUser();  // a second start now: nothing more
            std::size_t addsNow = 0, deletesNow = 0;
            for (const auto& r : sys.NotifyIconRequests())
                (r.message == NIM_ADD ? addsNow : deletesNow) += 1;
            EXPECT_EQ(adds + 1, addsNow) << path;
            EXPECT_EQ(deletes + 1, deletesNow) << path;
        }
    }
    EXPECT_TRUE(prompts.Asks().empty());
}

TEST_F(MainWindowTrayTest, ClosingTheWindowPutsNoIconIntoTheTray) {
    form.Button4.Click();
    EXPECT_TRUE(form.Closed());
    EXPECT_TRUE(sys.NotifyIconRequests().empty());
}

TEST_F(MainWindowTrayTest, ExitFromTheIconsMenuClosesTheProgram) {
    form.Button7.Click();
    sys.ChooseInNextMenu("Exit");
    form.kbTrayIcon1.WndProc(WM_USER, 0, WM_RBUTTONUP);
    EXPECT_TRUE(form.Closed());
    EXPECT_TRUE(prompts.Asks().empty()) << "no countdown, no restart due: no question";
    EXPECT_EQ(0x07u, MsdosAttributes());
}

TEST_F(MainWindowTrayTest, ExitWhileTheCountdownRunsAsksAndNoKeepsTheProgramInTheTray) {
    form.AutoShutdownActive = true;
    form.Button1.Click();  // OK: written and hidden, the restart question waits for the close
    ASSERT_FALSE(form.Visible());
    prompts.Answer(ui::Answer::No);
    sys.ChooseInNextMenu("Exit");
    form.kbTrayIcon1.WndProc(WM_USER, 0, WM_RBUTTONUP);
    EXPECT_FALSE(form.Closed());
    EXPECT_FALSE(form.Visible());
    EXPECT_TRUE(form.kbTrayIcon1.Visible());
    EXPECT_EQ(std::vector<std::string>{TForm1::kAutoShutdownQuestion}, prompts.Questions());
}

// The shutdown the countdown asked for: whoever is at the computer, nobody is asked.
TEST_F(MainWindowTrayTest, TheCountdownsShutdownEndsTheSessionWithoutAQuestion) {
    form.AutoShutdownActive = true;
    form.Button1.Click();  // a restart is due and the countdown runs: two questions pending
    form.ShutdownByCountdown = true;
    sys.SetFileAttributesA((std::string(kProgramDir) + "\\Config.DAT").c_str(), 0x01);
    EXPECT_TRUE(form.QueryEndSession());
    EXPECT_TRUE(prompts.Asks().empty()) << "no question and no error box";
    EXPECT_EQ(0x07u, MsdosAttributes()) << "the boot file gets its attributes back";
    EXPECT_TRUE(sys.ExitRequests().empty()) << "no restart on top of the shutdown";
}

TEST_F(MainWindowTrayTest, ASessionThatGoesOnAfterAllAsksAgainNextTime) {
    form.AutoShutdownActive = true;
    form.ShutdownByCountdown = true;
    form.EndSession(true);
    EXPECT_TRUE(form.ShutdownByCountdown);
    form.EndSession(false);  // another program refused the shutdown
    EXPECT_FALSE(form.ShutdownByCountdown);
    prompts.Answer(ui::Answer::No);
    EXPECT_FALSE(form.QueryEndSession()) << "the user's own shutdown asks about the countdown";
    EXPECT_EQ(std::vector<std::string>{TForm1::kAutoShutdownQuestion}, prompts.Questions());
}

}  // namespace
}  // namespace vt::testing
