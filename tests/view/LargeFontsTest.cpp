// Every window of the program made by the real view in this process, on screens of 96, 120
// (Large Fonts) and 144 pixels per inch: each caption fits its control in the control's own
// font, no two controls of one parent overlap, each lies inside its parent, and the window
// fits the screen such a PC has.
#include "pages/Pages.h"
#include "unit/app/AppFixture.h"
#include "view/ControlId.h"
#include "view/win32/ControlFamily.h"
#include "view/win32/FormWindow.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace vt::view {
namespace {

std::string Describe(const ::RECT& r) {
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" +
           std::to_string(r.right) + "," + std::to_string(r.bottom) + ")";
}

bool Inside(const ::RECT& inner, const ::RECT& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

// The faults of one made window, in its client coordinates.
class Inspection {
  public:
    Inspection(::HWND form, int pixelsPerInch) : form_(form), dpi_(pixelsPerInch) {}

    void Window(ui::Form& model, ::SIZE screen) {
        ::RECT frame{};
        ::GetWindowRect(form_, &frame);
        if (frame.right - frame.left > screen.cx || frame.bottom - frame.top > screen.cy)
            faults.push_back(model.ClassName() + " " + Describe(frame) + " is larger than " +
                             std::to_string(screen.cx) + "x" + std::to_string(screen.cy));
        ::RECT client{};
        ::GetClientRect(form_, &client);
        Children(model, client, {});
    }

    std::vector<std::string> faults;
    int clipped = 0;

  private:
    struct Made {
        const ui::Control* control;  // null: a window of another level
        ::RECT place;
    };

    ::HWND WindowOf(const ui::Control& control) const {
        return ::GetDlgItem(form_, ControlId(control.Name()));
    }
    ::RECT Place(::HWND window) const {
        ::RECT r{};
        ::GetWindowRect(window, &r);
        ::MapWindowPoints(nullptr, form_, reinterpret_cast<::POINT*>(&r), 2);
        return r;
    }

    // `above`: controls of the levels around this one that lie over it (the main window's
    // buttons over the pages).
    void Children(const ui::Control& parent, const ::RECT& area, std::vector<::RECT> above) {
        std::vector<Made> made;
        for (const ui::Control* child : parent.Children()) {
            if (child->GetKind() == ui::Kind::TabSheet) continue;
            if (::HWND window = WindowOf(*child)) made.push_back({child, Place(window)});
        }
        for (std::size_t i = 0; i < made.size(); ++i) {
            const auto& [control, place] = made[i];
            if (control->GetKind() == ui::Kind::PageControl) continue;
            Caption(*control, WindowOf(*control));
            if (!Inside(place, area))
                faults.push_back(control->Name() + " " + Describe(place) + " leaves its parent " +
                                 Describe(area));
            for (std::size_t j = i + 1; j < made.size(); ++j) Apart(made[i], made[j]);
            for (const ::RECT& over : above) Apart(made[i], {nullptr, over});
        }
        std::vector<::RECT> overPages = above;
        for (const Made& m : made)
            if (m.control->GetKind() != ui::Kind::PageControl) overPages.push_back(m.place);
        for (const Made& m : made) {
            if (m.control->GetKind() == ui::Kind::PageControl) {
                ::RECT shown = m.place;
                ::SendMessageA(WindowOf(*m.control), TCM_ADJUSTRECT, FALSE,
                               reinterpret_cast<::LPARAM>(&shown));
                for (const ui::Control* page : m.control->Children())
                    Children(*page, shown, overPages);
            } else if (!m.control->Children().empty()) {
                Children(*m.control, m.place, {});
            }
        }
    }

    void Apart(const Made& a, const Made& b) {
        // Controls shown in place of one another (a detail frame's editors) may share a place.
        if (!a.control->Visible() || (b.control && !b.control->Visible())) return;
        ::RECT common{};
        if (!::IntersectRect(&common, &a.place, &b.place)) return;
        faults.push_back(a.control->Name() + " " + Describe(a.place) + " overlaps " +
                         (b.control ? b.control->Name() : std::string("a window above")) + " " +
                         Describe(b.place));
    }

    // What the control's caption needs beside its text, and whether it may break into lines.
    void Caption(const ui::Control& control, ::HWND window) {
        const std::string& text = control.Caption();
        if (text.empty()) return;
        int margin = 0;
        bool wraps = false;
        switch (control.GetKind()) {
            case ui::Kind::CheckBox:
            case ui::Kind::RadioButton:
                margin = ::MulDiv(17, dpi_, 96);  // the box and the gap after it
                break;
            case ui::Kind::Button:
            case ui::Kind::SpeedButton:
            case ui::Kind::GroupBox:
                margin = ::MulDiv(8, dpi_, 96);  // the edges, or the line before the caption
                break;
            case ui::Kind::TitleLabel:
                margin = ::MulDiv(2, dpi_, 96);  // the shadow
                break;
            case ui::Kind::Label:
                wraps = true;
                break;
            default:
                return;
        }
        ::HDC dc = ::GetDC(window);
        ::HGDIOBJ old =
            ::SelectObject(dc, reinterpret_cast<::HFONT>(::SendMessageA(window, WM_GETFONT, 0, 0)));
        ::RECT client{};
        ::GetClientRect(window, &client);
        ::RECT needed{0, 0, client.right - margin, 0};
        if (wraps) {
            ::DrawTextA(dc, text.c_str(), -1, &needed, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
            needed.right += margin;
        } else {
            ::SIZE size{};
            ::GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
            needed = {0, 0, size.cx + margin, size.cy};
        }
        if (control.GetKind() == ui::Kind::TitleLabel) needed.bottom = 0;  // its line: below
        ::SelectObject(dc, old);
        ::ReleaseDC(window, dc);
        // A frame's caption stands on its top line: only its width counts.
        bool tall = control.GetKind() != ui::Kind::GroupBox && needed.bottom > client.bottom;
        if (needed.right > client.right || tall) {
            ++clipped;
            faults.push_back(control.Name() + " \"" + text + "\" needs " + Describe(needed) +
                             ", has " + Describe(client));
        }
    }

    ::HWND form_;
    int dpi_;
};

// Starts the program on the fake machine with the real view, and inspects each window.
class Inspecting : public testing::HeadlessHost {
  public:
    explicit Inspecting(int pixelsPerInch) : dpi_(pixelsPerInch) {}

    void ShowModal(TForm3& welcome) override {
        FormWindow window{welcome, prompts_};
        window.Create(nullptr);
        welcome.Show();
        Inspect(window, welcome);
        welcome.SpeedButton2.Click();
    }
    void RunMessageLoop(Program& program) override {
        FormWindow main{program.main, prompts_};
        main.Create(nullptr);
        program.main.Show();
        while (program.main.ReadSomethingPending() || main.CreateSomethingPending()) {
        }
        Inspect(main, program.main);
        // The detail editors, each shown as a press on its box shows it.
        std::function<void(ui::Control&)> pressBoxes = [&](ui::Control& parent) {
            for (ui::Control* child : parent.Children()) {
                pressBoxes(*child);
                if (child->GetKind() != ui::Kind::CheckBox) continue;
                Guarded(prompts_, [&] { child->PressMouse(ui::MouseButton::Left); });
                Inspect(main, program.main, false);
            }
        };
        pressBoxes(program.main);
        for (ui::Form* companion :
             std::initializer_list<ui::Form*>{&program.about, &program.help, &program.uninstall}) {
            FormWindow window{*companion, prompts_};
            window.Create(main.Handle());
            Inspect(window, *companion);
        }
    }

    std::vector<std::string> faults;
    int clipped = 0, forms = 0;

  private:
    void Inspect(FormWindow& window, ui::Form& model, bool first = true) {
        ASSERT_TRUE(window.Handle()) << model.ClassName();
        forms += first;
        Inspection inspection(window.Handle(), dpi_);
        ::SIZE screen = dpi_ > 120  ? ::SIZE{1280, 1024}
                        : dpi_ > 96 ? ::SIZE{1024, 768}
                                    : ::SIZE{800, 600};
        inspection.Window(model, screen);
        for (const std::string& fault : inspection.faults)
            if (std::find(faults.begin(), faults.end(), model.ClassName() + ": " + fault) ==
                faults.end())
                faults.push_back(model.ClassName() + ": " + fault);
        if (first) clipped += inspection.clipped;
    }

    int dpi_;
    ui::ScriptedPrompts prompts_;
};

// A Windows 98 PC has MS Sans Serif (for 96 and for 120 dpi); the test machine's Wine finds
// its own copies only where the machine was given them. Without them every text is measured in
// a wider font than any user sees.
// Loaded as the program starts, before any window of any test has asked for a font.
const bool kWindowsFonts = [] {
    const std::string folder = "Z:\\usr\\share\\wine\\fonts\\";
    ::WIN32_FIND_DATAA found{};
    ::HANDLE search = ::FindFirstFileA((folder + "sserif*.fon").c_str(), &found);
    if (search == reinterpret_cast<::HANDLE>(static_cast<::LONG_PTR>(-1))) return false;
    do {
        ::AddFontResourceA((folder + found.cFileName).c_str());
    } while (::FindNextFileA(search, &found));
    ::FindClose(search);
    return true;
}();

class LargeFontsTest : public testing::AppFixture, public ::testing::WithParamInterface<int> {
  protected:
    void SetUp() override {
        AppFixture::SetUp();
        (void)kWindowsFonts;
        sys.PutFile(std::string(testing::kProgramDir) + "\\Config.DAT", testing::ConfigBytes(1, 0));
        SetPixelsPerInch(GetParam());
    }
    void TearDown() override { SetPixelsPerInch(0); }
};

TEST_P(LargeFontsTest, EveryCaptionFitsAndNoControlOverlapsOrLeavesItsWindow) {
    Inspecting host(GetParam());
    StartSequence(sys, prompts, host,
                  [this](Program& program) { AttachPages(program, sys, prompts); });
    EXPECT_EQ(5, host.forms) << "the welcome, main, About, help and command windows";
    std::string all;
    for (const std::string& fault : host.faults) all += "\n  " + fault;
    EXPECT_TRUE(host.faults.empty())
        << host.clipped << " captions clipped, " << host.faults.size() << " faults:" << all;
}

INSTANTIATE_TEST_SUITE_P(Screens, LargeFontsTest, ::testing::Values(96, 120, 144));

}  // namespace
}  // namespace vt::view
