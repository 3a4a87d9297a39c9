// End to end: the notification-area icon and the auto shutdown of the real Veltrim.exe.
#include "e2e/Driver.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using e2e::CurrentDirectory;
using e2e::KeyExists;
using e2e::kMsdosSys;
using e2e::MsdosSysProtection;

namespace {

using e2e::RegistryText;

constexpr int kWait = 15000;
const char* const kSound = "Control Panel\\Sound";
constexpr DWORD kProtected = e2e::kMsdosSysProtected;

// Sets a text value, or deletes it for nothing.
void PutRegistryText(HKEY root, const char* path, const char* name, const std::string* text) {
    HKEY key = nullptr;
    if (::RegCreateKeyExA(root, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;
    if (text)
        ::RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text->c_str()),
                         static_cast<DWORD>(text->size() + 1));
    else
        ::RegDeleteValueA(key, name);
    ::RegCloseKey(key);
}

struct Search {
    DWORD processId;
    const char* className;
    bool visibleOnly;
    HWND found;
};

BOOL CALLBACK FindOwn(HWND hwnd, LPARAM lParam) {
    auto* search = reinterpret_cast<Search*>(lParam);
    char className[64] = "";
    ::GetClassNameA(hwnd, className, sizeof className);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(hwnd, &owner);
    if (owner == search->processId && std::string(className) == search->className &&
        (!search->visibleOnly || ::IsWindowVisible(hwnd))) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

// A top-level window of the process with that class.
HWND OwnWindow(DWORD processId, const char* className, bool visibleOnly) {
    Search search{processId, className, visibleOnly, nullptr};
    ::EnumWindows(FindOwn, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The shell's notification about the icon, as the shell posts it to the icon's window.
void NotifyIcon(HWND iconWindow, UINT mouseMessage) {
    ::PostMessageA(iconWindow, WM_USER, 0, mouseMessage);
}

// Item `index` (from 1) of the open popup menu, chosen with the keyboard.
void ChooseInMenu(HWND menu, int index) {
    for (int i = 0; i < index; ++i) ::PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
    ::PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
}

// True when Wine draws no windows (the null graphics driver): there is no notification area.
bool NullGraphicsDriver() {
    return RegistryText(HKEY_CURRENT_USER, "Software\\Wine\\Drivers", "Graphics") == "null";
}

class TrayTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ::SetFileAttributesA(kMsdosSys, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
        ::SetFileAttributesA(kMsdosSys, kProtected);
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = CurrentDirectory() + "\\" + test->name();
        ::CreateDirectoryA(dir_.c_str(), nullptr);
        std::array<std::uint32_t, 5> records{0, 0, 0, 0, 0};  // no welcome window
        std::ofstream(dir_ + "\\Config.DAT", std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char*>(records.data()), sizeof records);
        ASSERT_TRUE(::CopyFileA((CurrentDirectory() + "\\Veltrim.exe").c_str(),
                                (dir_ + "\\Veltrim.exe").c_str(), FALSE));
    }
    void TearDown() override {
        e2e::Stop(process_);
        EXPECT_TRUE(
            e2e::WaitUntil([] { return e2e::CountWindows("TForm1", nullptr) == 0; }, kWait));
    }

    HWND LaunchToMainWindow() {
        process_ = e2e::Start(dir_ + "\\Veltrim.exe", dir_);
        EXPECT_TRUE(process_.handle) << "Veltrim.exe did not start";
        return e2e::WaitWindow("TForm1", "Veltrim 2000", kWait);
    }
    // Presses "Hide" and answers the icon's hidden window.
    HWND HideToTray(HWND main) {
        e2e::ClickAndWait(e2e::Control(main, "Button7"));
        EXPECT_TRUE(e2e::WaitUntil([&] { return !::IsWindowVisible(main); }, kWait));
        return OwnWindow(process_.id, "TkbTrayIcon", false);
    }
    HWND WaitMenu() {
        HWND menu = nullptr;
        e2e::WaitUntil([&] { return (menu = OwnWindow(process_.id, "#32768", true)) != nullptr; },
                       kWait);
        return menu;
    }

    std::string dir_;
    e2e::Process process_;
};

// The shell's notifications posted to the icon's hidden window, as the shell posts them.
TEST_F(TrayTest, TheIconsMenuAndADoubleClickBringTheWindowBackAndExitEndsTheProgram) {
    HWND main = LaunchToMainWindow();
    ASSERT_TRUE(main);
    HWND icon = HideToTray(main);
    ASSERT_TRUE(icon) << "the icon's hidden window";
    EXPECT_FALSE(::IsWindowVisible(icon));

    NotifyIcon(icon, WM_RBUTTONUP);
    HWND menu = WaitMenu();
    ASSERT_TRUE(menu) << "a right click opens the menu";
    ChooseInMenu(menu, 1);  // "Restore"
    EXPECT_TRUE(e2e::WaitUntil([&] { return ::IsWindowVisible(main) != FALSE; }, kWait));

    HideToTray(main);
    for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_MBUTTONUP, WM_RBUTTONDBLCLK})
        NotifyIcon(icon, message);
    ::Sleep(300);
    EXPECT_FALSE(::IsWindowVisible(main));
    EXPECT_FALSE(OwnWindow(process_.id, "#32768", true)) << "no menu";
    NotifyIcon(icon, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(e2e::WaitUntil([&] { return ::IsWindowVisible(main) != FALSE; }, kWait));

    HideToTray(main);
    NotifyIcon(icon, WM_RBUTTONUP);
    menu = WaitMenu();
    ASSERT_TRUE(menu);
    ChooseInMenu(menu, 2);  // "Exit"
    EXPECT_EQ(0, e2e::WaitExit(process_, kWait)) << "nothing pending: no question";
    EXPECT_EQ(kProtected, MsdosSysProtection());
}

// With a display (Xvfb), Wine shows the icon in a tray of its own, whose icon windows pass
// the mouse on to the program.
TEST_F(TrayTest, UnderADisplayHideShowsTheIconAndADoubleClickOnItBringsTheWindowBack) {
    if (NullGraphicsDriver()) GTEST_SKIP() << "no notification area without a display";
    HWND main = LaunchToMainWindow();
    ASSERT_TRUE(main);
    HideToTray(main);
    HWND iconWindow = nullptr;
    bool shown = e2e::WaitUntil(
        [&] {
            HWND tray = ::FindWindowA("__winex11_standalone_tray", nullptr);
            if (!tray) tray = ::FindWindowA("Shell_TrayWnd", nullptr);
            iconWindow =
                tray ? ::FindWindowExA(tray, nullptr, "__winex11_tray_icon", nullptr) : nullptr;
            return iconWindow != nullptr;
        },
        5000);
    if (!shown) GTEST_SKIP() << "this desktop shows no notification area";
    ::PostMessageA(iconWindow, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(8, 8));
    EXPECT_TRUE(e2e::WaitUntil([&] { return ::IsWindowVisible(main) != FALSE; }, kWait));
    EXPECT_TRUE(e2e::WaitUntil(
        [] {
            HWND tray = ::FindWindowA("__winex11_standalone_tray", nullptr);
            return !tray || !::FindWindowExA(tray, nullptr, "__winex11_tray_icon", nullptr);
        },
        kWait))
        << "the icon goes when the window comes back";
    e2e::CloseWindow(main);
    EXPECT_EQ(0, e2e::WaitExit(process_, kWait));
}

// The real shutdown: Wine ends every windowed program of the machine (this test program is a
// console program and goes on). The changed setting is written first, and no box holds the
// shutdown up.
TEST_F(TrayTest, ACountdownWritesTheChangedSettingAndShutsWindowsDownWithoutABox) {
    std::string before = RegistryText(HKEY_CURRENT_USER, kSound, "Beep");
    const std::string yes = "yes";
    PutRegistryText(HKEY_CURRENT_USER, kSound, "Beep", &yes);
    struct Restore {
        std::string text;
        ~Restore() {
            bool missing = text == "<missing>" || text == "<no key>";
            PutRegistryText(HKEY_CURRENT_USER, kSound, "Beep", missing ? nullptr : &text);
        }
    } restore{before};

    HWND main = LaunchToMainWindow();
    ASSERT_TRUE(main);
    ASSERT_TRUE(e2e::ShowPage(main, 1, kWait));           // System
    e2e::ClickAndWait(e2e::Control(main, "CheckBox15"));  // "Enable Beep on Error": cleared
    ASSERT_TRUE(e2e::ShowPage(main, 10, kWait));          // Shutdown
    HWND run = e2e::Control(main, "SpeedButton11");
    EXPECT_FALSE(::IsWindowEnabled(run));
    e2e::ClickAndWait(e2e::Control(main, "CheckBox48"));
    EXPECT_TRUE(::IsWindowEnabled(e2e::Control(main, "SpinEdit5")));
    EXPECT_FALSE(::IsWindowEnabled(run)) << "no time yet";
    DWORD_PTR result = 0;
    ::SendMessageTimeoutA(e2e::Control(main, "SpinEdit5"), WM_SETTEXT, 0,
                          reinterpret_cast<LPARAM>("2"), SMTO_NORMAL, kWait, &result);
    ASSERT_TRUE(::IsWindowEnabled(run));
    e2e::ClickAndWait(run);
    e2e::ClickAndWait(e2e::Control(main, "Button7"));  // the countdown runs on in the background
    EXPECT_EQ("yes", RegistryText(HKEY_CURRENT_USER, kSound, "Beep")) << "nothing written yet";

    bool boxSeen = false;
    bool ended = e2e::WaitUntil(
        [&] {
            boxSeen = boxSeen || e2e::WaitMessageBox(process_.id, 0) != nullptr;
            return ::WaitForSingleObject(process_.handle, 0) == WAIT_OBJECT_0;
        },
        kWait);
    EXPECT_TRUE(ended) << "the shutdown ended the program";
    EXPECT_FALSE(boxSeen) << "no message box on the way";
    EXPECT_EQ("NO", RegistryText(HKEY_CURRENT_USER, kSound, "Beep"));
    EXPECT_EQ(kProtected, MsdosSysProtection()) << "the boot file got its attributes back";
}

}  // namespace
