// What the notification-area icon relies on from the window, menu and shell functions.
#include "PlatformUnderTest.h"
#include "ShellUnderTest.h"

#include <gtest/gtest.h>

#include <cstring>

namespace vt::contract {
namespace {

class ShellContract : public ::testing::Test {
  protected:
    void SetUp() override {
        sys = MakePlatformUnderTest();
        owner = MakeOwnerWindow(*sys);
        ASSERT_NE(0u, owner);
    }
    void TearDown() override {
        MenuDone();
        DestroyOwnerWindow(*sys, owner);
    }
    NOTIFYICONDATAA Record(const char* tip) {
        NOTIFYICONDATAA record;
        record.hWnd = owner;
        record.uID = 0;
        record.uFlags = NIF_MESSAGE | NIF_TIP;
        record.uCallbackMessage = WM_USER;
        std::strcpy(record.szTip, tip);
        return record;
    }

    std::unique_ptr<Platform> sys;
    HWND owner = 0;
};

TEST_F(ShellContract, TheMenuItemHeightAndTheCursorAreThere) {
    int height = sys->GetSystemMetrics(SM_CYMENUSIZE);
    EXPECT_GE(height, 10);
    EXPECT_LE(height, 40);
    POINT cursor{-1, -1};
    EXPECT_TRUE(sys->GetCursorPos(&cursor));
    EXPECT_GE(cursor.x, 0);
    EXPECT_GE(cursor.y, 0);
}

TEST_F(ShellContract, ShowWindowAnswersWhetherTheWindowWasVisible) {
    EXPECT_FALSE(sys->IsWindowVisible(owner));
    EXPECT_FALSE(sys->ShowWindow(owner, SW_SHOW));
    EXPECT_TRUE(sys->IsWindowVisible(owner));
    EXPECT_TRUE(sys->ShowWindow(owner, SW_HIDE));
    EXPECT_FALSE(sys->IsWindowVisible(owner));
}

TEST_F(ShellContract, TheModuleIsFoundAndAMissingIconIsNone) {
    HINSTANCE module = sys->GetModuleHandleA(nullptr);
    EXPECT_NE(0u, module);
    EXPECT_EQ(0u, sys->LoadImageA(module, 999, IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
}

// The chosen item's id comes back; closing the menu with nothing chosen answers 0.
TEST_F(ShellContract, APopupMenuAnswersTheChosenItem) {
    struct Case {
        int index;
        const char* text;
        BOOL answer;
    };
    for (const Case& c : {Case{2, "Exit", 2}, Case{1, "Restore", 1}, Case{0, "", 0}}) {
        HMENU menu = sys->CreatePopupMenu();
        ASSERT_NE(0u, menu);
        EXPECT_TRUE(sys->AppendMenuA(menu, MF_STRING, 1, "Restore"));
        EXPECT_TRUE(sys->AppendMenuA(menu, MF_STRING, 2, "Exit"));
        sys->SetForegroundWindow(owner);
        ChooseInNextMenu(*sys, c.index, c.text);
        EXPECT_EQ(c.answer,
                  sys->TrackPopupMenu(menu, TPM_RIGHTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, 100,
                                      100, owner))
            << c.text;
        MenuDone();
        EXPECT_TRUE(sys->PostMessageA(owner, WM_NULL, 0, 0));
        EXPECT_TRUE(sys->DestroyMenu(menu));
        EXPECT_FALSE(sys->DestroyMenu(menu)) << "gone";
    }
}

// Where there is a notification area (not under Wine's null graphics driver), one icon per
// window and identifier: added once, changed and deleted only while there.
TEST_F(ShellContract, AnIconIsAddedOnceAndChangedOrDeletedOnlyWhileThere) {
    NOTIFYICONDATAA record = Record("Veltrim");
    EXPECT_FALSE(sys->Shell_NotifyIconA(NIM_MODIFY, &record));
    if (!sys->Shell_NotifyIconA(NIM_ADD, &record)) {
        EXPECT_FALSE(sys->Shell_NotifyIconA(NIM_DELETE, &record));
        GTEST_SKIP() << "no notification area";
    }
    EXPECT_FALSE(sys->Shell_NotifyIconA(NIM_ADD, &record)) << "already there";
    NOTIFYICONDATAA changed = Record("Veltrim 2000");
    EXPECT_TRUE(sys->Shell_NotifyIconA(NIM_MODIFY, &changed));
    EXPECT_TRUE(sys->Shell_NotifyIconA(NIM_DELETE, &record));
    EXPECT_FALSE(sys->Shell_NotifyIconA(NIM_DELETE, &record)) << "deleted";
}

}  // namespace
}  // namespace vt::contract
