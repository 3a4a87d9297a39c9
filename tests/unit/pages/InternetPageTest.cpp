#include "unit/pages/PageFixture.h"

namespace vt::testing {
namespace {

const char* const kNet = "System\\CurrentControlSet\\Services\\Class\\Net\\";
const char* const kMstcp = "System\\CurrentControlSet\\Services\\VxD\\MSTCP";
const char* const kParams = "System\\CurrentControlSet\\Services\\VxD\\NWLink\\Ndi\\params\\";

class InternetPageTest : public PageTest {
  protected:
    InternetPage& page() { return pages().internet; }
    InternetPage2& page2() { return pages().internet2; }
    void Adapter(int index, const char* description, const char* mtu = nullptr) {
        std::string key = std::string(kNet) + "000" + std::to_string(index);
        PutText(HKEY_LOCAL_MACHINE, key, "DriverDesc", description);
        if (mtu) PutText(HKEY_LOCAL_MACHINE, key, "IPMTU", mtu);
    }
    std::string Mtu(int index) {
        return Text(std::string(kNet) + "000" + std::to_string(index), "IPMTU");
    }
    std::string Text(const std::string& key, const std::string& name) {
        auto stored = Value(HKEY_LOCAL_MACHINE, key, name);
        if (!stored) return "<missing>";
        EXPECT_EQ(REG_SZ, stored->type) << key << " " << name;
        return stored->Text();
    }
    // What the main window does at start: read, select the first connection, show it.
    void Start() {
        PutText(HKEY_LOCAL_MACHINE, kMstcp, "EnableDHCP", "0");  // the key exists
        pages().internet2.DisableCustomNdiCache();               // as at window creation
        ReadPass();
    }
    void Apply() { form().Apply(); }
};

TEST_F(InternetPageTest, BothKindsAreListedPhoneLineFirstAndTheDialUpMtuIsShown) {
    Adapter(0, "Dial-Up Adapter", "576");
    Adapter(1, "NE2000 Compatible", "1500");
    Start();
    EXPECT_EQ((std::vector<std::string>{"Using a phone line and a modem",
                                        "Using a local area network (LAN)"}),
              page().ComboBox2.Items());
    EXPECT_EQ(0, page().ComboBox2.ItemIndex());
    EXPECT_TRUE(page().RadioButton5.Checked());
    page().ComboBox2.ChooseItem(1);
    EXPECT_TRUE(page().RadioButton7.Checked());
}

TEST_F(InternetPageTest, OnlyANetworkCardListsOnlyTheLan) {
    Adapter(2, "NE2000 Compatible");
    Start();
    EXPECT_EQ(std::vector<std::string>{"Using a local area network (LAN)"},
              page().ComboBox2.Items());
    EXPECT_TRUE(page().RadioButton18.Checked()) << "no IPMTU reads as 0";
}

// The walk goes past 0006 while keys follow without a gap.
TEST_F(InternetPageTest, TheLanMtuGoesIntoEveryLanAdapterKeyAndOnlyThere) {
    Adapter(0, "Dial-Up Adapter", "576");
    for (int index : {1, 3, 6, 7, 9}) Adapter(index, "NE2000 Compatible");
    Start();
    page().ComboBox2.ChooseItem(1);
    page().RadioButton7.Click();
    EXPECT_EQ("1500", page().LanMtu.Now());
    EXPECT_EQ("576", page().DialUpMtu.Now());
    Apply();
    EXPECT_EQ("576", Mtu(0));
    for (int index : {1, 3, 6, 7}) EXPECT_EQ("1500", Mtu(index)) << index;
    EXPECT_EQ("<missing>", Mtu(9)) << "after the gap at 0008";
}

// Adapters of one kind with different MTUs: the one chosen goes into every one of them,
// also when the page already showed it (the last one read), and by a preset too.
TEST_F(InternetPageTest, AChosenMtuGoesIntoEveryAdapterOfTheKindThatDiffers) {
    const std::vector<std::pair<const char*, std::function<void(InternetPage&)>>> ways = {
        {"the button shown", [](InternetPage& p) { p.RadioButton7.Click(); }},
        {"Automatic", [](InternetPage& p) { p.SpeedButton5.Click(); }},
    };
    for (const auto& [way, choose] : ways) {
        Adapter(1, "NE2000 Compatible", "576");
        Adapter(2, "NE2000 Compatible", "1500");
        Start();
        ASSERT_TRUE(page().RadioButton7.Checked()) << way;
        choose(page());
        Apply();
        EXPECT_EQ("1500", Mtu(1)) << way;
        EXPECT_EQ("1500", Mtu(2)) << way;
    }
}

// Text typed into the connection list selects no connection: the buttons then set no MTU.
TEST_F(InternetPageTest, TextTypedIntoTheConnectionListSelectsNoKind) {
    Adapter(0, "Dial-Up Adapter", "576");
    Adapter(1, "NE2000 Compatible", "1500");
    Start();
    page().ComboBox2.ChooseItem(1);
    page().ComboBox2.Type("my own text");
    EXPECT_EQ(-1, page().ComboBox2.ItemIndex());
    page().RadioButton18.Click();
    Apply();
    EXPECT_EQ("576", Mtu(0));
    EXPECT_EQ("1500", Mtu(1));
}

// Discovery looks at 0000 to 0006 only; the MTU walk skips gaps before 0006 and stops at one
// from 0006 on.
TEST_F(InternetPageTest, AdaptersAreDiscoveredFrom0000To0006) {
    Adapter(6, "Dial-Up Adapter", "576");
    Adapter(7, "NE2000 Compatible");
    Start();
    EXPECT_EQ(std::vector<std::string>{"Using a phone line and a modem"}, page().ComboBox2.Items());
    EXPECT_FALSE(page().LanPresent);
}

TEST_F(InternetPageTest, TheMtuWalkStopsAtAGapFrom0006On) {
    for (int index : {1, 7}) Adapter(index, "NE2000 Compatible");
    Start();
    page().SpeedButton5.Click();  // Automatic: 1500 for the card
    Apply();
    EXPECT_EQ("1500", Mtu(1)) << "the gap at 0000 is skipped";
    EXPECT_EQ("<missing>", Mtu(7)) << "past the gap at 0006";
}

TEST_F(InternetPageTest, AnUntouchedPageWritesNothingEvenWhereValuesAreMissing) {
    Adapter(0, "Dial-Up Adapter");
    Adapter(1, "NE2000 Compatible", "abc");
    PutNumber(HKEY_LOCAL_MACHINE, kMstcp, "DefaultTTL", 64);
    Start();
    EXPECT_TRUE(page().RadioButton18.Checked());
    EXPECT_TRUE(page().RadioButton15.Checked()) << "a number is no text: the default 32";
    sys.ClearCalls();
    Apply();
    for (const fake::CallInfo& call : sys.Calls())
        EXPECT_NE(fake::Call::RegSetValue, call.kind) << call.path << " " << call.name;
    EXPECT_EQ("<missing>", Mtu(0));
    page().ComboBox2.ChooseItem(1);
    EXPECT_TRUE(page().RadioButton8.Checked());
    EXPECT_EQ("abc", page().Edit3.Text());
}

TEST_F(InternetPageTest, ALetterTypedIntoTheCustomMtuIsRefusedAndAnEmptyBoxIsKept) {
    Adapter(0, "Dial-Up Adapter", "140");
    Start();
    ASSERT_TRUE(page().RadioButton8.Checked());
    EXPECT_TRUE(page().Edit3.Enabled());
    for (const char* refused : {"140x", "-1", "-"}) {
        page().Edit3.Type(refused);
        EXPECT_EQ("140", page().Edit3.Text()) << refused;
    }
    EXPECT_EQ(3, page().Edit3.CaretPosition());
    EXPECT_EQ("140", page().DialUpMtu.Now());
    page().Edit3.Type("");
    EXPECT_EQ("", page().DialUpMtu.Now());
    Apply();
    EXPECT_EQ("", Mtu(0)) << "an existing value takes the empty text";
    EXPECT_EQ("<missing>", Text(kMstcp, "DefaultRcvWindow"));
}

TEST_F(InternetPageTest, AnEmptiedBoxNeverCreatesAValue) {
    Adapter(0, "NE2000 Compatible", "1500");
    Start();
    EXPECT_FALSE(page().Edit4.Enabled());
    page().RadioButton14.Click();
    EXPECT_TRUE(page().Edit4.Enabled()) << "Custom opens the box";
    EXPECT_EQ("8192", page().Edit4.Text());
    page().Edit4.Type("");
    Apply();
    EXPECT_EQ("<missing>", Text(kMstcp, "DefaultRcvWindow"));
}

TEST_F(InternetPageTest, AStoredTimeToLiveOf255IsCustom) {
    Adapter(0, "NE2000 Compatible");
    PutText(HKEY_LOCAL_MACHINE, kMstcp, "DefaultTTL", "255");
    Start();
    EXPECT_TRUE(page().RadioButton19.Checked());
    EXPECT_TRUE(page().Edit5.Enabled());
    EXPECT_EQ("255", page().Edit5.Text());
}

struct AutomaticCase {
    bool dialUp, lan;
    int entry;
    const char *dialUpMtu, *lanMtu, *receiveWindow;
    const char* mtuButton;  // nullptr: none checked by the preset
    const char* receiveButton;
};

class AutomaticTest : public InternetPageTest,
                      public ::testing::WithParamInterface<AutomaticCase> {};

TEST_P(AutomaticTest, AutomaticSuitsTheKindsFound) {
    const AutomaticCase& c = GetParam();
    if (c.dialUp) Adapter(0, "Dial-Up Adapter", "1000");
    if (c.lan) Adapter(1, "NE2000 Compatible", "1000");
    Start();
    if (c.entry >= 0) page().ComboBox2.ChooseItem(c.entry);
    page().SpeedButton5.Click();
    EXPECT_EQ(c.dialUpMtu, page().DialUpMtu.Now());
    EXPECT_EQ(c.lanMtu, page().LanMtu.Now());
    EXPECT_EQ(c.receiveWindow, page().ReceiveWindowText.Now());
    EXPECT_EQ("128", page().TimeToLiveText.Now());
    EXPECT_TRUE(page().RadioButton17.Checked());
    for (ui::RadioButton* button : {&page().RadioButton5, &page().RadioButton7})
        EXPECT_EQ(c.mtuButton && button->Name() == c.mtuButton, button->Checked())
            << button->Name();
    for (ui::RadioButton* button :
         {&page().RadioButton9, &page().RadioButton10, &page().RadioButton11})
        EXPECT_EQ(button->Name() == c.receiveButton, button->Checked()) << button->Name();
    Apply();
    EXPECT_EQ(c.dialUp ? c.dialUpMtu : "<missing>", Mtu(0));
    EXPECT_EQ(c.lan ? c.lanMtu : "<missing>", Mtu(1));
    EXPECT_EQ(c.receiveWindow, Text(kMstcp, "DefaultRcvWindow"));
    EXPECT_EQ("128", Text(kMstcp, "DefaultTTL"));
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, AutomaticTest,
    ::testing::Values(
        AutomaticCase{true, false, 0, "576", "0", "2680", "RadioButton5", "RadioButton9"},
        AutomaticCase{false, true, 0, "0", "1500", "8760", "RadioButton7", "RadioButton11"},
        AutomaticCase{true, true, 0, "576", "1500", "5840", "RadioButton5", "RadioButton10"},
        AutomaticCase{true, true, 1, "576", "1500", "5840", "RadioButton7", "RadioButton10"}));

TEST_F(InternetPageTest, DefaultPutsEveryValueBack) {
    Adapter(0, "Dial-Up Adapter", "576");
    Adapter(1, "NE2000 Compatible", "1500");
    PutText(HKEY_LOCAL_MACHINE, kMstcp, "DefaultRcvWindow", "2680");
    PutText(HKEY_LOCAL_MACHINE, kMstcp, "DefaultTTL", "128");
    Start();
    page().SpeedButton4.Click();
    EXPECT_TRUE(page().RadioButton18.Checked());
    EXPECT_TRUE(page().RadioButton13.Checked());
    EXPECT_TRUE(page().RadioButton15.Checked());
    Apply();
    EXPECT_EQ("0", Mtu(0));
    EXPECT_EQ("0", Mtu(1));
    EXPECT_EQ("8192", Text(kMstcp, "DefaultRcvWindow"));
    EXPECT_EQ("32", Text(kMstcp, "DefaultTTL"));
}

// The texts each radio button writes, typed from the page's tables.
struct ButtonCase {
    const char* button;
    const char* key;  // below HKEY_LOCAL_MACHINE
    const char* name;
    const char* text;
};

class ButtonTableTest : public InternetPageTest,
                        public ::testing::WithParamInterface<ButtonCase> {};

TEST_P(ButtonTableTest, EachButtonWritesItsText) {
    const ButtonCase& c = GetParam();
    Adapter(0, "NE2000 Compatible", "1");
    PutText(HKEY_LOCAL_MACHINE, kMstcp, "DefaultRcvWindow", "1");
    PutText(HKEY_LOCAL_MACHINE, kMstcp, "DefaultTTL", "1");
    PutText(HKEY_LOCAL_MACHINE, std::string(kParams) + "cachesize", "", "1");
    Start();
    std::function<ui::Control*(ui::Control&)> find = [&](ui::Control& at) -> ui::Control* {
        if (at.Name() == c.button) return &at;
        for (ui::Control* child : at.Children())
            if (ui::Control* found = find(*child)) return found;
        return nullptr;
    };
    auto* button = static_cast<ui::RadioButton*>(find(form().PageControl1));
    ASSERT_TRUE(button);
    button->Click();
    Apply();
    EXPECT_EQ(c.text, Text(c.key, c.name));
}

INSTANTIATE_TEST_SUITE_P(
    Tables, ButtonTableTest,
    ::testing::Values(
        ButtonCase{"RadioButton18", "System\\CurrentControlSet\\Services\\Class\\Net\\0000",
                   "IPMTU", "0"},
        ButtonCase{"RadioButton5", "System\\CurrentControlSet\\Services\\Class\\Net\\0000", "IPMTU",
                   "576"},
        ButtonCase{"RadioButton7", "System\\CurrentControlSet\\Services\\Class\\Net\\0000", "IPMTU",
                   "1500"},
        ButtonCase{"RadioButton9", kMstcp, "DefaultRcvWindow", "2680"},
        ButtonCase{"RadioButton10", kMstcp, "DefaultRcvWindow", "5840"},
        ButtonCase{"RadioButton11", kMstcp, "DefaultRcvWindow", "8760"},
        ButtonCase{"RadioButton12", kMstcp, "DefaultRcvWindow", "10220"},
        ButtonCase{"RadioButton13", kMstcp, "DefaultRcvWindow", "8192"},
        ButtonCase{"RadioButton15", kMstcp, "DefaultTTL", "32"},
        ButtonCase{"RadioButton16", kMstcp, "DefaultTTL", "64"},
        ButtonCase{"RadioButton17", kMstcp, "DefaultTTL", "128"},
        ButtonCase{"RadioButton4",
                   "System\\CurrentControlSet\\Services\\VxD\\NWLink\\Ndi\\params\\cachesize", "",
                   "0"},
        ButtonCase{"RadioButton6",
                   "System\\CurrentControlSet\\Services\\VxD\\NWLink\\Ndi\\params\\cachesize", "",
                   "16"},
        ButtonCase{"RadioButton22",
                   "System\\CurrentControlSet\\Services\\VxD\\NWLink\\Ndi\\params\\cachesize", "",
                   "32"},
        ButtonCase{"RadioButton23",
                   "System\\CurrentControlSet\\Services\\VxD\\NWLink\\Ndi\\params\\cachesize", "",
                   "64"}));

TEST_F(InternetPageTest, WithoutAnAdapterBothPagesAreDisabledAndOnlyTheNdiSizeIsWritten) {
    Start();
    EXPECT_EQ(std::vector<std::string>{"No Internet connection available"},
              page().ComboBox2.Items());
    EXPECT_EQ(0, page().ComboBox2.ItemIndex());
    for (ui::Control* c : std::initializer_list<ui::Control*>{
             &page().ComboBox2, &page().RadioButton7, &page().Edit4, &page().SpeedButton5,
             &page2().CheckBox43, &page2().SpinEdit8, &page2().RadioButton6, &page2().Edit7,
             &page2().SpeedButton7})
        EXPECT_FALSE(c->Enabled()) << c->Name();
    EXPECT_TRUE(page().SpeedButton8.Enabled()) << "help stays";
    page().SpeedButton4.Click();  // as a reset by program would
    page2().CheckBox44.SetChecked(true);
    page2().RadioButton6.Click();
    Apply();
    EXPECT_EQ("<missing>", Text(kMstcp, "DefaultTTL"));
    EXPECT_EQ("<missing>", Text(kMstcp, "PMTUBlackHoleDetect"));
    EXPECT_EQ("16", Text(std::string(kParams) + "cachesize", ""));
}

TEST_F(InternetPageTest, HelpPutsTheDetailsAwayAndHoldsTheMainWindowUntilClose) {
    Start();
    Click(pages().boot.CheckBox2);
    ASSERT_TRUE(pages().boot.SpinEdit1.Visible());
    page().SpeedButton8.Click();
    TForm4& help = program.help;
    EXPECT_FALSE(pages().boot.SpinEdit1.Visible());
    EXPECT_FALSE(form().Enabled());
    EXPECT_TRUE(help.Visible());
    EXPECT_TRUE(help.Memo3.Visible());
    EXPECT_FALSE(help.Memo1.Visible());
    EXPECT_FALSE(help.Memo2.Visible());
    EXPECT_EQ("Internet Optimizer Settings", help.Memo3.Lines().front());
    EXPECT_EQ("Suggestion: Try 128. ", help.Memo3.Lines().back());
    EXPECT_EQ(&help.Button1, help.DefaultButton) << "Enter closes it";
    help.Button1.Click();
    EXPECT_TRUE(form().Enabled());
    EXPECT_FALSE(help.Visible());
}

// --- Internet #2 -------------------------------------------------------------------------

TEST_F(InternetPageTest, TheMtuBoxesStayMissingUntilTicked) {
    Adapter(0, "NE2000 Compatible");
    PutText(HKEY_LOCAL_MACHINE, kMstcp, "PMTUDiscovery", "0");
    Start();
    EXPECT_TRUE(page2().CheckBox43.Checked());
    EXPECT_FALSE(page2().CheckBox44.Checked());
    Click(page2().CheckBox43);
    EXPECT_EQ(ui::kNavy, page2().CheckBox43.FontColor());
    Apply();
    EXPECT_EQ("1", Text(kMstcp, "PMTUDiscovery"));
    EXPECT_EQ("<missing>", Text(kMstcp, "PMTUBlackHoleDetect"));
    EXPECT_EQ(ui::kBlack, page2().CheckBox43.FontColor());
    Click(page2().CheckBox43);
    Click(page2().CheckBox44);
    Apply();
    EXPECT_EQ("0", Text(kMstcp, "PMTUDiscovery"));
    EXPECT_EQ("1", Text(kMstcp, "PMTUBlackHoleDetect"));
    EXPECT_TRUE(page2().CheckBox43.Checked());
    EXPECT_TRUE(page2().CheckBox44.Checked());
}

TEST_F(InternetPageTest, TheNdiSizeComparesByNumberAndAnUntouchedOneStays) {
    Adapter(0, "NE2000 Compatible");
    const std::string cache = std::string(kParams) + "cachesize";
    PutText(HKEY_LOCAL_MACHINE, cache, "", "016");
    Start();
    EXPECT_TRUE(page2().RadioButton6.Checked());
    Apply();
    EXPECT_EQ("016", Text(cache, ""));
    PutText(HKEY_LOCAL_MACHINE, cache, "", "48");
    Apply();
    EXPECT_TRUE(page2().RadioButton24.Checked());
    EXPECT_TRUE(page2().Edit9.Enabled());
    EXPECT_EQ("48", page2().Edit9.Text());
}

TEST_F(InternetPageTest, AMissingNdiSizeShowsDisableAndStaysMissing) {
    Start();
    EXPECT_TRUE(page2().RadioButton4.Checked());
    EXPECT_FALSE(page2().Edit9.Enabled());
    Apply();
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, std::string(kParams) + "cachesize"));
}

TEST_F(InternetPageTest, KeepAliveIsHeldToItsRangeAndAnUntouchedTextStays) {
    Adapter(0, "NE2000 Compatible");
    PutText(HKEY_LOCAL_MACHINE, kMstcp, "SessionKeepAlive", "7200");
    Start();
    EXPECT_EQ(3600, page2().SpinEdit8.Value());
    EXPECT_EQ("7200", page2().KeepAliveText.Now()) << "the spin edit already showed 3600";
    Apply();
    EXPECT_EQ("7200", Text(kMstcp, "SessionKeepAlive"));
    PutText(HKEY_LOCAL_MACHINE, kMstcp, "SessionKeepAlive", "20");
    Apply();
    EXPECT_EQ(60, page2().SpinEdit8.Value());
    page2().SpinEdit8.Type("900");
    Apply();
    EXPECT_EQ("900", Text(kMstcp, "SessionKeepAlive"));
}

TEST_F(InternetPageTest, AutomaticOnThePageTwoWritesItsTextsAndAMinimumAboveTheMaximumStays) {
    Adapter(0, "NE2000 Compatible");
    PutText(HKEY_LOCAL_MACHINE, std::string(kParams) + "cachesize", "", "16");  // its button on
    Start();
    Click(page2().CheckBox44);
    page2().SpeedButton7.Click();
    EXPECT_EQ("2", page2().Edit7.Text());
    EXPECT_EQ("128", page2().Edit8.Text());
    EXPECT_EQ("32", page2().Edit10.Text());
    EXPECT_EQ("1020", page2().Edit11.Text());
    EXPECT_EQ(600, page2().SpinEdit8.Value());
    EXPECT_TRUE(page2().RadioButton6.Checked());
    EXPECT_FALSE(page2().CheckBox44.Checked());
    Apply();
    const std::string connect = std::string(kParams) + "maxconnect";
    const std::string sockets = std::string(kParams) + "maxsockets";
    EXPECT_EQ("2", Text(connect, "min"));
    EXPECT_EQ("128", Text(connect, "max"));
    EXPECT_EQ("32", Text(sockets, "min"));
    EXPECT_EQ("1020", Text(sockets, "max"));
    EXPECT_EQ("600", Text(kMstcp, "SessionKeepAlive"));
    EXPECT_EQ("16", Text(std::string(kParams) + "cachesize", ""));
    EXPECT_EQ("<missing>", Text(kMstcp, "PMTUBlackHoleDetect"));
    page2().Edit7.Type("200");
    page2().Edit8.Type("100");
    page2().Edit10.Type("4x");
    page2().Edit11.Type("-5");
    Apply();
    EXPECT_EQ("200", Text(connect, "min"));
    EXPECT_EQ("100", Text(connect, "max"));
    EXPECT_EQ("32", Text(sockets, "min")) << "the letter was refused";
    EXPECT_EQ("1020", Text(sockets, "max")) << "the minus sign was refused";
    page2().SpeedButton6.Click();
    Apply();
    EXPECT_EQ("1", Text(connect, "min"));
    EXPECT_EQ("64", Text(connect, "max"));
    EXPECT_EQ("3600", Text(kMstcp, "SessionKeepAlive"));
    EXPECT_EQ("0", Text(std::string(kParams) + "cachesize", ""));
}

TEST_F(InternetPageTest, TheDescriptionsOfPageTwoFollowTheMouse) {
    page2().SpinEdit8.MoveMouse();
    EXPECT_EQ(std::vector<std::string>{"Use this option to keep your download session from "
                                       "timing out. Suggestion: Try 600."},
              page2().Memo8.Lines());
    page2().GroupBox27.MoveMouse();
    EXPECT_TRUE(page2().Memo8.Lines().empty());
    page2().GroupBox26.MoveMouse();
    EXPECT_EQ(
        std::vector<std::string>{
            "Use this option to increase the NDI cache size. Suggestion: Try 16."},
        page2().Memo8.Lines());
}

// A stored time the spin edit cannot show (held to 3600) stays untouched, and is written once
// the user or a preset sets a time, even the one the box showed.
TEST_F(InternetPageTest, AnExplicitKeepAliveIsWrittenEvenWhenTheBoxAlreadyShowedIt) {
    Adapter(0, "NE2000 Compatible");
    const std::vector<std::pair<const char*, std::function<void(InternetPage2&)>>> ways = {
        {"untouched", nullptr},
        {"Default", [](InternetPage2& p) { p.SpeedButton6.Click(); }},
        {"typed",
         [](InternetPage2& p) {
             p.SpinEdit8.Type("3");
             p.SpinEdit8.Type("3600");
         }},
    };
    for (const auto& [way, act] : ways) {
        PutText(HKEY_LOCAL_MACHINE, kMstcp, "SessionKeepAlive", "7200");
        Start();
        EXPECT_EQ(3600, page2().SpinEdit8.Value()) << way;
        if (act) act(page2());
        Apply();
        EXPECT_EQ(act ? "3600" : "7200", Text(kMstcp, "SessionKeepAlive")) << way;
    }
}

TEST_F(InternetPageTest, EachLimitIsWrittenOnItsOwnOnceEdited) {
    Adapter(0, "NE2000 Compatible");
    Start();
    // Missing limits show the Windows defaults.
    EXPECT_EQ("1", page2().Edit7.Text());
    EXPECT_EQ("64", page2().Edit8.Text());
    EXPECT_EQ("2", page2().Edit10.Text());
    EXPECT_EQ("255", page2().Edit11.Text());
    page2().Edit7.Type("3");
    Apply();
    const std::string connect = std::string(kParams) + "maxconnect";
    EXPECT_EQ("3", Text(connect, "min"));
    EXPECT_EQ("<missing>", Text(connect, "max")) << "untouched";
    page2().Edit11.Type("300");
    Apply();
    EXPECT_EQ("300", Text(std::string(kParams) + "maxsockets", "max"));
    EXPECT_EQ("<missing>", Text(std::string(kParams) + "maxsockets", "min"));
}

TEST_F(InternetPageTest, TheReadPassCreatesNoAdapterKey) {
    Start();
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Services\\Class\\Net"));
}

TEST_F(InternetPageTest, WithoutTheMstcpKeyTheWindowsValuesShowAndNothingIsCreatedOrReset) {
    Adapter(0, "NE2000 Compatible");
    pages().internet2.DisableCustomNdiCache();  // as at window creation
    ReadPass();
    EXPECT_TRUE(page().RadioButton13.Checked()) << "8192";
    EXPECT_TRUE(page().RadioButton15.Checked()) << "32";
    Apply();
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kMstcp));
    page2().ResetToWindowsDefault();  // as "Back to Windows Default" does, then Apply
    Apply();
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kMstcp));
}

// Every help and About button first puts away the detail frames of all five pages.
TEST_F(InternetPageTest, HelpAndAboutButtonsPutEveryDetailFrameAway) {
    sys.PutFile(kMsdosSys, "[Options]\r\n");
    std::vector<ui::Button*> buttons = {&page().SpeedButton8, &pages().fileCache.SpeedButton9,
                                        &pages().diskCache.SpeedButton10,
                                        &pages().programPage.SpeedButton15};
    for (ui::Button* button : buttons) {
        ReadPass();
        Click(pages().boot.CheckBox2);        // Page1
        Click(pages().system.CheckBox21);     // Page2
        Click(pages().windows.CheckBox62);    // Page3
        Click(pages().startMenu.CheckBox30);  // Page4
        ASSERT_TRUE(pages().system.Edit1.Visible());
        button->Click();
        EXPECT_FALSE(pages().boot.SpinEdit1.Visible()) << button->Name();
        EXPECT_FALSE(pages().system.Edit1.Visible()) << button->Name();
        EXPECT_FALSE(pages().windows.Edit6.Visible()) << button->Name();
        EXPECT_FALSE(pages().startMenu.SpinEdit2.Visible()) << button->Name();
        EXPECT_FALSE(form().Enabled());
        program.help.Button1.Click();
        program.about.SpeedButton1.Click();
        EXPECT_TRUE(form().Enabled());
        for (ui::CheckBox* box : {&pages().boot.CheckBox2, &pages().system.CheckBox21,
                                  &pages().windows.CheckBox62, &pages().startMenu.CheckBox30})
            box->SetChecked(false);
    }
}

}  // namespace
}  // namespace vt::testing
