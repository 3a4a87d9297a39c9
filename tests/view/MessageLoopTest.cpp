// A window closed by another thread's sent message (a test driver's click, the end of the
// session) must wake a message loop that waits in GetMessage for posted messages only.
#include "ui/Form.h"
#include "ui/ScriptedPrompts.h"
#include "view/ControlId.h"
#include "view/win32/FormWindow.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace vt::view {
namespace {

struct Closable : ui::Form {
    Closable() : ui::Form("TVtClosable", "Closable", 200, 120) {
        Button1.SetBounds(10, 10, 75, 25);
        Button1.OnClick = [this] { Close(); };
    }
    ui::Button Button1{"Button1", this, "Close"};
};

// Clicks the button by a sent message, then wakes the loop itself if it still waits 5 s on.
struct Driver {
    ::HWND button;
    ::DWORD loopThread;
    volatile bool loopEnded = false, rescued = false;
    static ::DWORD WINAPI Run(void* data) {
        auto& d = *static_cast<Driver*>(data);
        ::Sleep(200);  // the loop is waiting by then
        ::SendMessageA(d.button, BM_CLICK, 0, 0);
        for (int waited = 0; waited < 5000 && !d.loopEnded; waited += 10) ::Sleep(10);
        if (!d.loopEnded) d.rescued = ::PostThreadMessageA(d.loopThread, WM_NULL, 0, 0);
        return 0;
    }
};

TEST(MessageLoopTest, ACloseFromASentClickEndsTheLoop) {
    Closable form;
    ui::ScriptedPrompts prompts;
    FormWindow window{form, prompts};
    window.Create(nullptr);
    form.Show();
    Driver driver{::GetDlgItem(window.Handle(), ControlId("Button1")), ::GetCurrentThreadId()};
    ASSERT_TRUE(driver.button);
    ::HANDLE thread = ::CreateThread(nullptr, 0, Driver::Run, &driver, 0, nullptr);
    ASSERT_TRUE(thread);
    ::MSG msg;
    while (!form.Closed() && ::GetMessageA(&msg, nullptr, 0, 0) > 0) ::DispatchMessageA(&msg);
    driver.loopEnded = true;
    ::WaitForSingleObject(thread, INFINITE);
    ::CloseHandle(thread);
    EXPECT_TRUE(form.Closed());
    EXPECT_FALSE(driver.rescued) << "the loop slept on after the window closed";
}

}  // namespace
}  // namespace vt::view
