#include "unit/pages/PageFixture.h"

namespace vt::testing {
namespace {

constexpr const char* kPaths = "[Paths]\r\nWinDir=C:\\WINDOWS\r\n\r\n";

class BootPageTest : public PageTest {
  protected:
    void PutOptions(const std::string& lines) {
        sys.PutFile(kMsdosSys, std::string(kPaths) + "[Options]\r\n" + lines);
    }
    std::string Option(const std::string& key) {
        TIniFile ini(sys, kMsdosSys);
        return ini.ReadText("Options", key, "<missing>");
    }
    BootPage& boot() { return pages().boot; }
};

// The box stands checked only for the exact text of its checked value.
struct ShownCase {
    const char* stored;  // nullptr: the key is missing
    bool checked;
};

class BootKeysShownTest : public BootPageTest, public ::testing::WithParamInterface<ShownCase> {};

TEST_P(BootKeysShownTest, DisableBootFunctionKeysIsCheckedOnlyForExactlyZero) {
    const ShownCase& c = GetParam();
    PutOptions(c.stored ? std::string("BootKeys=") + c.stored + "\r\n" : "");
    ReadPass();
    EXPECT_EQ(c.checked, boot().CheckBox1.Checked());
}

INSTANTIATE_TEST_SUITE_P(Texts, BootKeysShownTest,
                         ::testing::Values(ShownCase{"0", true}, ShownCase{"1", false},
                                           ShownCase{"00", false}, ShownCase{"no", false},
                                           ShownCase{"", false}, ShownCase{nullptr, false}));

TEST_F(BootPageTest, AMissingFileShowsEveryDefaultAndTheDelayThirty) {
    ReadPass();
    for (ui::CheckBox* box :
         {&boot().CheckBox1, &boot().CheckBox2, &boot().CheckBox9, &boot().CheckBox14})
        EXPECT_FALSE(box->Checked()) << box->Name();
    EXPECT_EQ(30, boot().SpinEdit1.Value());
}

TEST_F(BootPageTest, AnUncheckedBoxWritesOnlyKeysThatExist) {
    PutOptions("AutoScan=0\r\nBootGUI=1\r\n");
    ReadPass();
    EXPECT_TRUE(boot().CheckBox14.Checked());
    Click(boot().CheckBox14);  // clears "Disable Autoscan on Boot Up"
    WritePass();
    EXPECT_EQ("1", Option("AutoScan"));
    EXPECT_EQ("1", Option("BootGUI"));
    for (const char* key : {"BootKeys", "BootMenu", "Logo", "Network", "DoubleBuffer"})
        EXPECT_EQ("<missing>", Option(key)) << key;
}

TEST_F(BootPageTest, CheckedBoxesWriteTheirValuesWhetherTheKeyExistsOrNot) {
    PutOptions("");
    ReadPass();
    Click(boot().CheckBox1);
    Click(boot().CheckBox3);
    Click(boot().CheckBox13);
    WritePass();
    EXPECT_EQ("0", Option("BootKeys"));
    EXPECT_EQ("1", Option("BootMulti"));
    EXPECT_EQ("0", Option("Logo"));
}

TEST_F(BootPageTest, TickingTheBootMenuShowsTheDelayAndWritesIt) {
    PutOptions("BootMenuDelay=5\r\n");
    ReadPass();
    EXPECT_EQ(5, boot().SpinEdit1.Value());
    EXPECT_FALSE(boot().SpinEdit1.Visible());
    Click(boot().CheckBox2);
    EXPECT_TRUE(boot().SpinEdit1.Visible());
    EXPECT_TRUE(boot().Label1.Visible());
    EXPECT_EQ(ui::kNavy, boot().CheckBox2.FontColor());
    boot().SpinEdit1.Type("12");
    form().Apply();  // Apply
    EXPECT_EQ("1", Option("BootMenu"));
    EXPECT_EQ("12", Option("BootMenuDelay"));
    EXPECT_FALSE(boot().SpinEdit1.Visible());
    EXPECT_EQ(ui::kBlack, boot().CheckBox2.FontColor());
    EXPECT_TRUE(boot().CheckBox2.Checked()) << "read back after the write";
}

TEST_F(BootPageTest, TheDelayIsLeftAloneWhileTheBootMenuIsUnticked) {
    PutOptions("BootMenuDelay=7\r\n");
    ReadPass();
    boot().SpinEdit1.SetValue(20);
    WritePass();
    EXPECT_EQ("7", Option("BootMenuDelay"));
}

TEST_F(BootPageTest, ACheckedBootMenuWritesTheDelayReadBackUnchanged) {
    PutOptions("BootMenu=1\r\nBootMenuDelay=9\r\n");
    ReadPass();
    WritePass();
    EXPECT_EQ("9", Option("BootMenuDelay"));
}

TEST_F(BootPageTest, ARightButtonPressNeitherMarksNorShowsTheDelay) {
    ReadPass();
    boot().CheckBox2.PressMouse(ui::MouseButton::Right);
    EXPECT_EQ(ui::kBlack, boot().CheckBox2.FontColor());
    EXPECT_FALSE(boot().SpinEdit1.Visible());
}

TEST_F(BootPageTest, TheDescriptionFollowsTheMouse) {
    boot().CheckBox9.MoveMouse();
    ASSERT_EQ(1u, boot().Memo1.Lines().size());
    EXPECT_EQ(0u, boot().Memo1.Lines()[0].find("Use this option to enable double buffering"));
    EXPECT_TRUE(boot().Memo1.Enabled());
    boot().Sheet.MoveMouse();
    EXPECT_TRUE(boot().Memo1.Lines().empty());
    EXPECT_FALSE(boot().Memo1.Enabled());
}

TEST_F(BootPageTest, DelaysThatAreNoWholeNumberShowThirty) {
    for (const char* text : {"99999999999", "+-4", "-", "4x", ""}) {
        PutOptions(std::string("BootMenuDelay=") + text + "\r\n");
        ReadPass();
        EXPECT_EQ(30, boot().SpinEdit1.Value()) << text;
    }
    PutOptions("BootMenuDelay= +7\r\n");
    ReadPass();
    EXPECT_EQ(7, boot().SpinEdit1.Value());
}

TEST_F(BootPageTest, LinesOfUntouchedBoxesStayByteForByte) {
    const std::string untouched =
        "DoubleBuffer=1 ; needed for SCSI\r\nBootMulti=1\r\nBootMenuDelay=abc\r\n";
    PutOptions(untouched + "BootGUI=1\r\n");
    ReadPass();
    EXPECT_FALSE(boot().CheckBox9.Checked()) << "the comment is part of the text";
    Click(boot().CheckBox6);  // "Disable Boot into GUI"
    form().Apply();
    EXPECT_EQ("[Paths]\r\nWinDir=C:\\WINDOWS\r\n\r\n[Options]\r\n" + untouched + "BootGUI=0\r\n",
              sys.FileText(kMsdosSys));
}

TEST_F(BootPageTest, TheDelayIsWrittenOnlyWhenItDiffersFromTheOneRead) {
    PutOptions("BootMenu=1\r\nBootMenuDelay=09\r\n");
    ReadPass();
    WritePass();
    EXPECT_EQ("09", Option("BootMenuDelay")) << "9 as shown: the text stays";
    boot().SpinEdit1.SetValue(12);
    WritePass();
    EXPECT_EQ("12", Option("BootMenuDelay"));
}

TEST_F(BootPageTest, OnlyTheBootMenuBoxShowsTheDelayAndItsOwnSecondPressPutsItAway) {
    PutOptions("");
    ReadPass();
    Click(boot().CheckBox2);
    EXPECT_TRUE(boot().SpinEdit1.Visible());
    Click(boot().CheckBox2);
    EXPECT_FALSE(boot().SpinEdit1.Visible());
    for (ui::CheckBox* box : {&boot().CheckBox1, &boot().CheckBox3, &boot().CheckBox14}) {
        Click(*box);
        EXPECT_FALSE(boot().SpinEdit1.Visible()) << box->Name();
        EXPECT_EQ(ui::kNavy, box->FontColor()) << box->Name();
    }
}

}  // namespace
}  // namespace vt::testing
