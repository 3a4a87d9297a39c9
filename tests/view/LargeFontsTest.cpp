// Every window of the program made by the real view in this process, on screens of 96, 120
// (Large Fonts) and 144 pixels per inch: each caption fits its control in the control's own
// font, no two shown controls of one parent overlap, each lies inside its parent, and the
// window fits the screen such a PC has.
#include "compose/PageTable.h"
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

std::string Text(const ::RECT& r) {
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" +
           std::to_string(r.right) + "," + std::to_string(r.bottom) + ")";
}

struct Placed {
    const ui::Control* control;  // null: a window of the level above (the main window's buttons)
    ::RECT place;
};

// Starts the program on the fake machine with the real view and inspects each window made.
class Inspecting : public testing::HeadlessHost {
  public:
    explicit Inspecting(int pixelsPerInch) : dpi_(pixelsPerInch) {}
    std::vector<std::string> faults;
    int clipped = 0, forms = 0;

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

  private:
    void Inspect(FormWindow& window, ui::Form& model, bool first = true) {
        form_ = window.Handle();
        ASSERT_TRUE(form_) << model.ClassName();
        forms += first;
        counting_ = first;
        prefix_ = model.ClassName() + ": ";
        ::RECT frame{}, client{};
        ::GetWindowRect(form_, &frame);
        ::SIZE screen = dpi_ > 120  ? ::SIZE{1280, 1024}
                        : dpi_ > 96 ? ::SIZE{1024, 768}
                                    : ::SIZE{800, 600};
        if (frame.right - frame.left > screen.cx || frame.bottom - frame.top > screen.cy)
            Fault(Text(frame) + " is larger than the screen");
        ::GetClientRect(form_, &client);
        Children(model, client, {});
    }
    void Fault(const std::string& fault) {
        if (std::find(faults.begin(), faults.end(), prefix_ + fault) == faults.end())
            faults.push_back(prefix_ + fault);
    }
    ::HWND WindowOf(const ui::Control& control) const {
        return ::GetDlgItem(form_, ControlId(control.Name()));
    }

    void Children(const ui::Control& parent, const ::RECT& area, std::vector<Placed> above) {
        std::vector<Placed> made;
        for (const ui::Control* child : parent.Children())
            if (::HWND window =
                    child->GetKind() == ui::Kind::TabSheet ? nullptr : WindowOf(*child)) {
                ::RECT r{};
                ::GetWindowRect(window, &r);
                ::MapWindowPoints(nullptr, form_, reinterpret_cast<::POINT*>(&r), 2);
                made.push_back({child, r});
            }
        std::vector<Placed> overPages = above;
        for (std::size_t i = 0; i < made.size(); ++i) {
            const auto& [control, place] = made[i];
            if (control->GetKind() == ui::Kind::PageControl) continue;
            overPages.push_back(made[i]);
            Caption(*control, WindowOf(*control));
            if (place.left < area.left || place.top < area.top || place.right > area.right ||
                place.bottom > area.bottom)
                Fault(control->Name() + " " + Text(place) + " leaves its parent " + Text(area));
            for (std::size_t j = i + 1; j < made.size(); ++j) Apart(made[i], made[j]);
            for (const Placed& over : above) Apart(made[i], over);
        }
        for (const auto& [control, place] : made) {
            ::RECT shown = place;  // a page control's pages lie in its display area
            if (control->GetKind() == ui::Kind::PageControl) {
                ::SendMessageA(WindowOf(*control), TCM_ADJUSTRECT, FALSE,
                               reinterpret_cast<::LPARAM>(&shown));
                for (const ui::Control* page : control->Children())
                    Children(*page, shown, overPages);
            } else {
                Children(*control, shown, {});
            }
        }
    }

    void Apart(const Placed& a, const Placed& b) {
        // Controls shown in place of one another (a detail frame's editors) may share a place.
        if (!a.control->Visible() || (b.control && !b.control->Visible())) return;
        ::RECT common{};
        if (::IntersectRect(&common, &a.place, &b.place))
            Fault(a.control->Name() + " " + Text(a.place) + " overlaps " +
                  (b.control ? b.control->Name() : "a window above") + " " + Text(b.place));
    }

    void Caption(const ui::Control& control, ::HWND window) {
        const std::string& text = control.Caption();
        const ui::Kind kind = control.GetKind();
        // Beside the text: a box and its gap, a button's edges or the frame's line before it.
        int margin = kind == ui::Kind::CheckBox || kind == ui::Kind::RadioButton ? 17
                     : kind == ui::Kind::TitleLabel                              ? 2
                     : kind == ui::Kind::Label                                   ? 0
                                                                                 : 8;
        bool captioned = kind == ui::Kind::Label || kind == ui::Kind::TitleLabel ||
                         FamilyOf(kind) == &kButtonFamily;
        if (text.empty() || !captioned) return;
        margin = ::MulDiv(margin, dpi_, 96);
        ::HDC dc = ::GetDC(window);
        ::HGDIOBJ old =
            ::SelectObject(dc, reinterpret_cast<::HFONT>(::SendMessageA(window, WM_GETFONT, 0, 0)));
        ::RECT client{}, needed{};
        ::GetClientRect(window, &client);
        if (kind == ui::Kind::Label) {  // broken into lines as a static control breaks it
            needed.right = client.right;
            ::DrawTextA(dc, text.c_str(), -1, &needed, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
        } else {
            ::SIZE size{};
            ::GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
            // A frame's caption stands on its line, a title's shadow falls below its box.
            bool line = kind == ui::Kind::GroupBox || kind == ui::Kind::TitleLabel;
            needed = {0, 0, size.cx + margin, line ? 0 : size.cy};
        }
        ::SelectObject(dc, old);
        ::ReleaseDC(window, dc);
        if (needed.right <= client.right && needed.bottom <= client.bottom) return;
        clipped += counting_;
        Fault(control.Name() + " \"" + text + "\" needs " + Text(needed) + ", has " + Text(client));
    }

    int dpi_;
    ui::ScriptedPrompts prompts_;
    ::HWND form_ = nullptr;
    bool counting_ = true;
    std::string prefix_;
};

// A Windows 98 PC has MS Sans Serif (for 96 and for 120 dpi); the test machine's Wine has its
// copies only where the machine was given them. Loaded as the program starts, before any
// window of any test has asked for a font.
const bool kWindowsFonts = [] {
    const std::string folder = "Z:\\usr\\share\\wine\\fonts\\";
    ::WIN32_FIND_DATAA found{};
    ::HANDLE search = ::FindFirstFileA((folder + "sserif*.fon").c_str(), &found);
    if (search == reinterpret_cast<::HANDLE>(static_cast<::LONG_PTR>(-1))) return false;
    do ::AddFontResourceA((folder + found.cFileName).c_str());
    while (::FindNextFileA(search, &found));
    ::FindClose(search);
    return true;
}();

std::string FaceOf(const char* name) {
    ::HFONT font = ::CreateFontA(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, 0, 0,
                                 0, DEFAULT_PITCH | FF_SWISS, name);
    ::HDC dc = ::GetDC(nullptr);
    ::HGDIOBJ old = ::SelectObject(dc, font);
    char face[LF_FACESIZE] = "";
    ::GetTextFaceA(dc, sizeof face, face);
    ::SelectObject(dc, old);
    ::ReleaseDC(nullptr, dc);
    ::DeleteObject(font);
    return face;
}

class LargeFontsTest : public testing::AppFixture, public ::testing::WithParamInterface<int> {
  protected:
    void SetUp() override {
        AppFixture::SetUp();
        ASSERT_EQ("MS Sans Serif", FaceOf("MS Sans Serif"))
            << "texts would be measured in another font than Windows 98's (Wine's fonts loaded: "
            << kWindowsFonts << ")";
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
