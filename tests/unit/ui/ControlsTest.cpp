#include "ui/Controls.h"
#include "ui/Form.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vt::ui {
namespace {

TEST(CheckBoxTest, TheMouseHandlerSeesTheStateBeforeTheToggle) {
    GroupBox frame("GroupBox1", nullptr);
    CheckBox box("CheckBox2", &frame, "Display Windows Boot Menu");
    std::vector<std::string> events;
    box.OnMouseDown = [&](MouseButton) {
        events.push_back(box.Checked() ? "down:on" : "down:off");
    };
    box.OnClick = [&] { events.push_back(box.Checked() ? "click:on" : "click:off"); };
    box.PressMouse(MouseButton::Left);
    box.ReleaseMouse(MouseButton::Left, true);
    EXPECT_EQ((std::vector<std::string>{"down:off", "click:on"}), events);
}

TEST(CheckBoxTest, WhatTogglesAndWhatRunsWhichHandler) {
    struct Case {
        const char* label;
        void (*act)(CheckBox&);
        bool checked;
        int mouseDowns, clicks;
    };
    const Case cases[] = {
        {"released outside",
         [](CheckBox& b) {
             b.PressMouse(MouseButton::Left), b.ReleaseMouse(MouseButton::Left, false);
         },
         false, 1, 0},
        {"right button",
         [](CheckBox& b) {
             b.PressMouse(MouseButton::Right), b.ReleaseMouse(MouseButton::Right, true);
         },
         false, 1, 0},
        {"keyboard", [](CheckBox& b) { b.ToggleFromKeyboard(); }, true, 0, 1},
        {"by program", [](CheckBox& b) { b.SetChecked(true); }, true, 0, 1},
        {"by program, unchanged", [](CheckBox& b) { b.SetChecked(false); }, false, 0, 0},
    };
    for (const Case& c : cases) {
        CheckBox box("CheckBox1", nullptr);
        int downs = 0, clicks = 0;
        box.OnMouseDown = [&](MouseButton) { ++downs; };
        box.OnClick = [&] { ++clicks; };
        c.act(box);
        EXPECT_EQ(c.checked, box.Checked()) << c.label;
        EXPECT_EQ(c.mouseDowns, downs) << c.label;
        EXPECT_EQ(c.clicks, clicks) << c.label;
    }
}

TEST(RadioButtonTest, ButtonsOfOneFrameExcludeEachOtherAndClickOnlyWhenNewlyChecked) {
    GroupBox frame("GroupBox4", nullptr);
    GroupBox other("GroupBox5", nullptr);
    RadioButton b16("RadioButton1", &frame, "16 Bit");
    RadioButton b24("RadioButton2", &frame, "24 Bit");
    RadioButton elsewhere("RadioButton9", &other);
    int clicks16 = 0, clicks24 = 0;
    b16.OnClick = [&] { ++clicks16; };
    b24.OnClick = [&] { ++clicks24; };
    elsewhere.SetChecked(true);
    b16.SetChecked(true);
    b16.SetChecked(true);
    EXPECT_EQ(1, clicks16);
    b24.Click();
    EXPECT_TRUE(b24.Checked());
    EXPECT_FALSE(b16.Checked());
    EXPECT_TRUE(elsewhere.Checked());
    EXPECT_EQ(1, clicks16) << "being unchecked runs nothing";
    EXPECT_EQ(1, clicks24);
}

TEST(SpinEditTest, ValuesAreHeldToTheRange) {
    SpinEdit spin("SpinEdit1", nullptr, 0, 30);
    int changes = 0;
    spin.OnChange = [&] { ++changes; };
    struct Case {
        const char* text;
        int value;
    };
    for (Case c : {Case{"12", 12}, Case{"45", 30}, Case{"-3", 0}, Case{"abc", 0}, Case{"", 0},
                   Case{"7x", 0}, Case{" 5", 5}}) {
        spin.SetText(c.text);
        EXPECT_EQ(c.value, spin.Value()) << c.text;
        EXPECT_EQ(c.text, spin.Text()) << "the typed text stays until focus leaves";
    }
    EXPECT_EQ(7, changes);
    spin.SetText(" 5");
    EXPECT_EQ(7, changes) << "the same text runs no change reaction";
    spin.SetValue(99);
    EXPECT_EQ("30", spin.Text());
    spin.Type("31");
    spin.LoseFocus();
    EXPECT_EQ("30", spin.Text());
    spin.Type("oops");
    spin.LoseFocus();
    EXPECT_EQ("0", spin.Text());
}

TEST(TrackBarTest, ReactsOnlyToARealChangeAndHoldsTheRange) {
    TrackBar bar("TrackBar1", nullptr, 1, 8);
    std::vector<int> seen;
    bar.OnChange = [&] { seen.push_back(bar.Position()); };
    bar.SetPosition(4);
    bar.SetPosition(4);
    bar.Drag(20);
    bar.SetPosition(8);
    bar.SetPosition(-5);
    EXPECT_EQ((std::vector<int>{4, 8, 1}), seen);
}

TEST(TrackBarTest, LoweringTheMaximumBelowThePositionIsAChange) {
    TrackBar bar("TrackBar1", nullptr, 0, 10);
    bar.SetPosition(10);
    std::vector<int> seen;
    bar.OnChange = [&] { seen.push_back(bar.Position()); };
    bar.SetMaxValue(4);
    bar.SetMaxValue(8);
    EXPECT_EQ(4, bar.Position());
    EXPECT_EQ(std::vector<int>{4}, seen);
}

// The read pass records what each control shows; a value set back counts as unchanged.
TEST(BaselineTest, ControlsReportAChangeOnlyAgainstWhatTheReadPassShowed) {
    GroupBox frame("GroupBox1", nullptr);
    CheckBox box("CheckBox1", &frame);
    SpinEdit spin("SpinEdit1", &frame, 0, 30);
    TrackBar bar("TrackBar1", &frame, 0, 4);
    Edit edit("Edit1", &frame);
    RadioButton radio("RadioButton1", &frame);
    ComboBox combo("ComboBox1", &frame);
    std::vector<Control*> all = {&box, &spin, &bar, &edit, &radio, &combo};
    box.SetChecked(true);
    for (Control* c : all) EXPECT_FALSE(c->Changed()) << c->Name() << ": never read";
    TakeBaselines(frame);
    box.SetChecked(false);
    spin.SetValue(12);
    bar.SetPosition(2);
    edit.SetText("x");
    radio.SetChecked(true);
    combo.SetText("y");
    for (Control* c : all) EXPECT_TRUE(c->Changed()) << c->Name();
    box.SetChecked(true);
    spin.SetText("0");
    bar.SetPosition(0);
    edit.SetText("");
    radio.SetChecked(false);
    combo.SetText("");
    for (Control* c : all) EXPECT_FALSE(c->Changed()) << c->Name() << ": back as read";
    spin.SetValue(3);
    DropBaselines(frame);
    EXPECT_FALSE(spin.Changed()) << "a dropped baseline is no change";
}

TEST(EditTest, ChangeReactionOnlyForADifferentTextAndTypingHonoursLimits) {
    Edit edit("Edit1", nullptr);
    int changes = 0;
    edit.OnChange = [&] { ++changes; };
    edit.SetText("C:\\WINDOWS\\OPTIONS\\CABS");
    edit.SetText("C:\\WINDOWS\\OPTIONS\\CABS");
    EXPECT_EQ(1, changes);
    edit.SetMaxLength(5);
    edit.Type("abcdefgh");
    EXPECT_EQ("abcde", edit.Text());
    EXPECT_EQ(5, edit.CaretPosition());
    edit.SetReadOnly(true);
    edit.Type("zzz");
    EXPECT_EQ("abcde", edit.Text());
    edit.SetCaretPosition(99);
    EXPECT_EQ(5, edit.CaretPosition());
}

TEST(ComboBoxTest, SelectingByProgramRunsNothingButChoosingDoes) {
    ComboBox combo("ComboBox2", nullptr);
    int changes = 0;
    combo.OnChange = [&] { ++changes; };
    combo.SetItems({"Dial-Up Adapter", "NE2000 Compatible"});
    combo.SetItemIndex(0);
    EXPECT_EQ(0, changes);
    EXPECT_EQ("Dial-Up Adapter", combo.Text());
    combo.ChooseItem(1);
    EXPECT_EQ(1, changes);
    EXPECT_EQ(1, combo.ItemIndex());
    combo.SetItemIndex(7);
    EXPECT_EQ(-1, combo.ItemIndex());
}

TEST(ListBoxTest, ItemsStaySortedWithoutRegardToCase) {
    ListBox list("ListBox1", nullptr);
    list.SetItems({"zip", "Adobe", "beta", "Zeta"});
    list.AddItem("alpha");
    EXPECT_EQ((std::vector<std::string>{"Adobe", "alpha", "beta", "Zeta", "zip"}), list.Items());
}

TEST(ControlTest, TheViewHearsOnlyRealChanges) {
    CheckBox box("CheckBox1", nullptr);
    std::vector<Change> heard;
    box.OnViewChange = [&](Control&, Change c) { heard.push_back(c); };
    box.SetFontColor(kNavy);
    box.SetFontColor(kNavy);
    box.SetChecked(true);
    box.SetVisible(false);
    box.SetEnabled(true);
    EXPECT_EQ((std::vector<Change>{Change::Color, Change::Checked, Change::Visible}), heard);
}

TEST(PageControlTest, OnlyTheUserSwitchRunsTheChangeReaction) {
    PageControl pages("PageControl1", nullptr);
    TabSheet boot("TabSheet1", &pages, "Boot");
    TabSheet system("TabSheet2", &pages, "System");
    int changes = 0;
    pages.OnChange = [&] { ++changes; };
    pages.SetActivePage(&system);
    EXPECT_EQ(0, changes);
    pages.ChoosePage(&boot);
    EXPECT_EQ(1, changes);
    EXPECT_EQ(&boot, pages.ActivePage());
    EXPECT_EQ(2u, pages.Pages().size());
}

TEST(FormTest, ARefusedCloseQueryKeepsTheWindow) {
    Form form("TForm9", "Test", 100, 100);
    bool allow = false;
    form.OnCloseQuery = [&](bool& canClose) { canClose = allow; };
    form.Show();
    EXPECT_FALSE(form.Close());
    EXPECT_TRUE(form.Visible());
    allow = true;
    EXPECT_TRUE(form.Close());
    EXPECT_TRUE(form.Closed());
    EXPECT_FALSE(form.Visible());
}

TEST(TimerTest, FiresOnlyWhileEnabled) {
    Timer timer("Timer1");
    int ticks = 0;
    timer.OnTimer = [&] { ++ticks; };
    timer.Fire();
    timer.SetEnabled(true);
    timer.Fire();
    EXPECT_EQ(1, ticks);
}

}  // namespace
}  // namespace vt::ui
