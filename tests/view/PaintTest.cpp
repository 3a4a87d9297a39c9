// What the Win32 view paints itself, in a window of this process: frames cover what lay
// behind them, and a picture smaller than its box is centred on the dialog colour.
#include "ui/Form.h"
#include "ui/ScriptedPrompts.h"
#include "view/ControlId.h"
#include "view/win32/FormWindow.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

namespace vt::view {
namespace {

constexpr int kPicture = 4;  // a red square of 4 by 4 pixels

struct Shown : ui::Form {
    Shown() : ui::Form("TVtPaint", "Paint", 200, 120) {
        GroupBox1.SetBounds(10, 10, 120, 60);
        Image1.SetBounds(140, 10, 40, 30);
        // 24-bit bottom-up rows of 12 bytes, blue-green-red.
        std::vector<unsigned char> dib(40 + kPicture * 12, 0);
        auto* header = reinterpret_cast<::BITMAPINFOHEADER*>(dib.data());
        header->biSize = 40;
        header->biWidth = kPicture;
        header->biHeight = kPicture;
        header->biPlanes = 1;
        header->biBitCount = 24;
        for (int pixel = 0; pixel < kPicture * kPicture; ++pixel) dib[40 + pixel * 3 + 2] = 0xFF;
        Image1.SetDib(dib, 40);
    }
    ui::GroupBox GroupBox1{"GroupBox1", this, "Frame"};
    ui::Image Image1{"Image1", this};
};

class PaintTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window.Create(nullptr);
        form.Show();
        ASSERT_TRUE(window.Handle());
    }
    ::HWND Child(const char* name) { return ::GetDlgItem(window.Handle(), ControlId(name)); }

    Shown form;
    ui::ScriptedPrompts prompts;
    FormWindow window{form, prompts};
};

TEST_F(PaintTest, AFramePaintsOverWhatLayBehindIt) {
    ::HWND frame = Child("GroupBox1");
    ASSERT_TRUE(frame);
    ::HDC screen = ::GetDC(nullptr);
    ::HDC memory = ::CreateCompatibleDC(screen);
    ::HBITMAP canvas = ::CreateCompatibleBitmap(screen, 200, 100);
    ::HGDIOBJ previous = ::SelectObject(memory, canvas);
    ::RECT all{0, 0, 200, 100};
    ::FillRect(memory, &all, static_cast<::HBRUSH>(::GetStockObject(BLACK_BRUSH)));  // leftovers
    EXPECT_TRUE(::SendMessageA(frame, WM_ERASEBKGND, reinterpret_cast<::WPARAM>(memory), 0));
    EXPECT_EQ(::GetSysColor(COLOR_BTNFACE), ::GetPixel(memory, 60, 30));
    ::SelectObject(memory, previous);
    ::DeleteObject(canvas);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
}

TEST_F(PaintTest, ASmallPictureIsCentredOnTheDialogColour) {
    ::HWND image = Child("Image1");
    ASSERT_TRUE(image);
    auto bitmap = reinterpret_cast<::HBITMAP>(::SendMessageA(image, STM_GETIMAGE, IMAGE_BITMAP, 0));
    ASSERT_TRUE(bitmap);
    ::BITMAP info{};
    ASSERT_TRUE(::GetObjectA(bitmap, sizeof info, &info));
    ::RECT box{};
    ::GetClientRect(image, &box);
    EXPECT_EQ(box.right, info.bmWidth) << "as large as its box";
    EXPECT_EQ(box.bottom, info.bmHeight);
    ::HDC memory = ::CreateCompatibleDC(nullptr);
    ::HGDIOBJ previous = ::SelectObject(memory, bitmap);
    EXPECT_EQ(::GetSysColor(COLOR_BTNFACE), ::GetPixel(memory, 0, 0)) << "not the top-left pixel";
    EXPECT_EQ(::GetSysColor(COLOR_BTNFACE),
              ::GetPixel(memory, info.bmWidth - 1, info.bmHeight - 1));
    EXPECT_EQ(RGB(255, 0, 0), ::GetPixel(memory, info.bmWidth / 2, info.bmHeight / 2));
    ::SelectObject(memory, previous);
    ::DeleteDC(memory);
}

}  // namespace
}  // namespace vt::view
