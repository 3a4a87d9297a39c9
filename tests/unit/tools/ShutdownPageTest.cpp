#include "unit/pages/PageFixture.h"

#include <algorithm>

namespace vt::testing {
namespace {

using fake::Call;

const char* const kProgram = "C:\\Program Files\\Veltrim 2000";
const char* const kSound = "Control Panel\\Sound";

class ShutdownPageTest : public PageTest {
  protected:
    void SetUp() override {
        sys.PutFile("C:\\MSDOS.SYS", "[Options]\r\nBootGUI=1\r\n", 0x07);
        sys.PutFile(std::string(kProgram) + "\\Config.DAT", std::string(20, '\0'));
        ASSERT_TRUE(sys.SetCurrentDirectoryA(kProgram));
        PutText(HKEY_CURRENT_USER, kSound, "Beep", "yes");
        form().FormCreate();
        form().ReadPendingPages();  // as the idle window does
        form().Show();
        page().Timer1.OnViewChange = [this](ui::Timer&) { ++timerRestarts; };
        sys.ClearCalls();
    }
    ShutdownPage& page() { return pages().shutdown; }
    // Types the time into the three boxes, as the user does.
    void SetTime(int hours, int minutes, int seconds) {
        page().SpinEdit3.Type(std::to_string(hours));
        page().SpinEdit4.Type(std::to_string(minutes));
        page().SpinEdit5.Type(std::to_string(seconds));
    }
    void Run(int hours, int minutes, int seconds) {
        if (!page().CheckBox48.Checked()) Click(page().CheckBox48);
        SetTime(hours, minutes, seconds);
        page().SpeedButton11.Click();
    }
    // The Beep box of the System page changed since the read: the write pass stores "NO".
    void ChangeASetting() { Click(pages().system.CheckBox15); }
    std::optional<std::string> Beep() {
        auto stored = Value(HKEY_CURRENT_USER, kSound, "Beep");
        return stored ? std::optional<std::string>(stored->Text()) : std::nullopt;
    }
    // Where in the call log the first call of `kind` is; the log's size when there is none.
    std::size_t FirstCall(Call kind, const std::string& name = {}) {
        const auto& calls = sys.Calls();
        return std::find_if(calls.begin(), calls.end(),
                            [&](const fake::CallInfo& c) {
                                return c.kind == kind && (name.empty() || c.name == name);
                            }) -
               calls.begin();
    }
    std::vector<ui::Control*> TimeEntry() {
        ShutdownPage& p = page();
        return {&p.GroupBox17, &p.GroupBox18,    &p.SpinEdit3,    &p.SpinEdit4,
                &p.SpinEdit5,  &p.Label37,       &p.Label38,      &p.Label40,
                &p.Label41,    &p.RadioButton20, &p.RadioButton21};
    }

    int timerRestarts = 0;
};

TEST_F(ShutdownPageTest, ThePageShowsItsTextsExactly) {
    ShutdownPage& p = page();
    EXPECT_EQ("TabSheet7", p.Sheet.Name());
    EXPECT_EQ("Shutdown", p.Sheet.Caption());
    const std::vector<std::pair<ui::Control*, std::string>> texts = {
        {&p.RxLabel10, "Auto Shutdown"},
        {&p.CheckBox48, "Enable AutoShutdown Feature"},
        {&p.GroupBox17, "Set Timer"},
        {&p.Label37, "Shutdown or suspend the computer after :"},
        {&p.Label38, "hours"},
        {&p.Label40, "minutes"},
        {&p.Label41, "seconds"},
        {&p.GroupBox18, "What do you want to do "},
        {&p.RadioButton20, "Suspend the computer"},
        {&p.RadioButton21, "Shutdown the computer"},
        {&p.SpeedButton11, "Run"},
        {&p.GroupBox16, "How to use AutoShutdown"},
        {&p.Label39, "1. Set the time you want to shutdown or suspend your computer."},
        {&p.Label44, "2. Choose what you want to do at that time."},
        {&p.Label45, "3. Press \"Run\" button."},
        {&p.Label42, "Use AutoShutdown to shutdown or suspend your computer "},
        {&p.Label15, "automaticly in specified time."},
    };
    for (const auto& [control, text] : texts)
        EXPECT_EQ(text, control->Caption()) << control->Name();
    EXPECT_EQ(ui::kNavy, p.GroupBox15.FontColor());
    EXPECT_EQ(ui::kBlack, p.Label42.FontColor());
    for (ui::SpinEdit* spin : {&p.SpinEdit3, &p.SpinEdit4, &p.SpinEdit5})
        EXPECT_EQ(0, spin->MinValue()) << spin->Name();
    EXPECT_EQ(23, p.SpinEdit3.MaxValue());
    EXPECT_EQ(59, p.SpinEdit4.MaxValue());
    EXPECT_EQ(59, p.SpinEdit5.MaxValue());
    auto& timers = form().Timers();
    EXPECT_NE(timers.end(), std::find(timers.begin(), timers.end(), &p.Timer1))
        << "a timer of the main window";
}

TEST_F(ShutdownPageTest, TheFeatureStartsOffWithShutdownChosen) {
    for (ui::Control* control : TimeEntry()) EXPECT_FALSE(control->Enabled()) << control->Name();
    EXPECT_FALSE(page().SpeedButton11.Enabled());
    EXPECT_TRUE(page().CheckBox48.Enabled());
    EXPECT_FALSE(page().CheckBox48.Checked());
    EXPECT_TRUE(page().RadioButton21.Checked());
    EXPECT_FALSE(page().RadioButton20.Checked());
    EXPECT_FALSE(page().Timer1.Enabled());
    EXPECT_EQ(0, page().ShutdownSeconds);
    EXPECT_FALSE(form().AutoShutdownActive);
}

TEST_F(ShutdownPageTest, TickingEnablesTheTimeEntryButRunWaitsForATime) {
    Click(page().CheckBox48);
    for (ui::Control* control : TimeEntry()) EXPECT_TRUE(control->Enabled()) << control->Name();
    EXPECT_FALSE(page().SpeedButton11.Enabled());
    EXPECT_EQ(ui::kBlack, page().CheckBox48.FontColor()) << "no change mark";
    page().CheckBox48.ToggleFromKeyboard();  // the keyboard counts as much as the mouse
    for (ui::Control* control : TimeEntry()) EXPECT_FALSE(control->Enabled()) << control->Name();
}

TEST_F(ShutdownPageTest, TheTimeGivesTheDelayAndRunIsEnabledOnlyForOneThatIsNotZero) {
    struct Case {
        const char *hours, *minutes, *seconds;
        int delay;
    };
    for (const Case& c :
         {Case{"0", "0", "0", 0}, Case{"0", "0", "1", 1}, Case{"0", "1", "0", 60},
          Case{"1", "0", "0", 3600}, Case{"23", "59", "59", 86399}, Case{"99", "75", "60", 86399},
          Case{"x", "", "-3", 0}, Case{"2", "30", "", 9000}}) {
        std::string label = std::string(c.hours) + ":" + c.minutes + ":" + c.seconds;
        Click(page().CheckBox48);
        page().SpinEdit3.Type(c.hours);
        page().SpinEdit4.Type(c.minutes);
        page().SpinEdit5.Type(c.seconds);
        EXPECT_EQ(c.delay, page().ShutdownSeconds) << label;
        EXPECT_EQ(c.delay != 0, page().SpeedButton11.Enabled()) << label;
        page().SpeedButton11.Click();
        EXPECT_EQ(c.delay != 0, form().AutoShutdownActive) << label;
        EXPECT_EQ(c.delay != 0, page().Timer1.Enabled()) << label;
        if (c.delay) {
            EXPECT_EQ(unsigned(c.delay) * 1000u, page().Timer1.Interval()) << label;
        }
        Click(page().CheckBox48);  // off again for the next case
    }
}

TEST_F(ShutdownPageTest, RunRestartsTheCountdownOnlyWhenTheDelayChanged) {
    Run(0, 0, 1);
    EXPECT_EQ(1000u, page().Timer1.Interval());
    int restarts = timerRestarts;
    page().SpeedButton11.Click();
    EXPECT_EQ(restarts, timerRestarts) << "the same delay: the countdown runs on";
    page().SpinEdit5.Type("5");
    EXPECT_EQ(1000u, page().Timer1.Interval()) << "a new time waits for Run";
    EXPECT_EQ(restarts, timerRestarts);
    page().SpeedButton11.Click();
    EXPECT_EQ(5000u, page().Timer1.Interval());
    EXPECT_EQ(restarts + 1, timerRestarts) << "a new delay starts again from now";
}

TEST_F(ShutdownPageTest, ClearingTheBoxWhileTheCountdownRunsStopsItAndZeroesTheTime) {
    Run(1, 2, 3);
    ASSERT_TRUE(page().Timer1.Enabled());
    Click(page().CheckBox48);
    EXPECT_FALSE(page().Timer1.Enabled());
    EXPECT_FALSE(form().AutoShutdownActive);
    EXPECT_FALSE(page().SpeedButton11.Enabled());
    for (ui::SpinEdit* spin : {&page().SpinEdit3, &page().SpinEdit4, &page().SpinEdit5})
        EXPECT_EQ("0", spin->Text()) << spin->Name();
    EXPECT_EQ(0, page().ShutdownSeconds);
    EXPECT_EQ(0, page().HoursSeconds + page().MinutesSeconds + page().SecondsPart);
    page().Timer1.Fire();
    EXPECT_TRUE(sys.ExitRequests().empty()) << "a stopped countdown never fires";
}

TEST_F(ShutdownPageTest, TheEndOfTheCountdownWritesWhatChangedThenShutsDownAndStaysArmed) {
    ChangeASetting();
    Run(0, 0, 3);
    EXPECT_EQ("yes", Beep()) << "nothing written before the end";
    page().Timer1.Fire();
    EXPECT_EQ("NO", Beep());
    EXPECT_EQ(std::vector<UINT>{EWX_SHUTDOWN}, sys.ExitRequests());
    EXPECT_LT(FirstCall(Call::RegSetValue, "Beep"), FirstCall(Call::ExitWindows))
        << "written before the shutdown is asked for";
    EXPECT_TRUE(page().Timer1.Enabled()) << "should the shutdown not happen, it comes again";
    EXPECT_TRUE(form().AutoShutdownActive);
    EXPECT_TRUE(page().CheckBox48.Checked());
    EXPECT_EQ(3, page().ShutdownSeconds);
    EXPECT_TRUE(sys.PowerRequests().empty());
    EXPECT_TRUE(prompts.Asks().empty());

    page().Timer1.Fire();  // another full delay later
    EXPECT_EQ((std::vector<UINT>{EWX_SHUTDOWN, EWX_SHUTDOWN}), sys.ExitRequests());
}

TEST_F(ShutdownPageTest, TheShutdownItAsksForIsNotHeldUpByTheProgramsQuestions) {
    ChangeASetting();
    Run(0, 0, 2);
    form().Button1.Click();  // OK: written, a restart due, and hidden since the countdown runs
    ASSERT_FALSE(form().Visible());
    page().Timer1.Fire();
    ASSERT_TRUE(form().ShutdownByCountdown);
    EXPECT_TRUE(form().QueryEndSession()) << "Windows asks; the program lets it go";
    EXPECT_TRUE(prompts.Asks().empty()) << "neither the countdown nor the restart question";
    EXPECT_EQ(0x07u, sys.GetFileAttributesA("C:\\MSDOS.SYS") & 0x07);
    EXPECT_EQ(std::vector<UINT>{EWX_SHUTDOWN}, sys.ExitRequests()) << "no restart asked for";
}

TEST_F(ShutdownPageTest, ShutdownThatCouldNotBeAskedForLeavesTheUsersOwnEndOfSessionAsking) {
    sys.FailNth(Call::ExitWindows, 1, ERROR_ACCESS_DENIED);
    Run(0, 0, 2);
    page().Timer1.Fire();
    EXPECT_FALSE(form().ShutdownByCountdown);
    prompts.Answer(ui::Answer::Yes);
    EXPECT_TRUE(form().QueryEndSession());
    EXPECT_EQ(std::vector<std::string>{TForm1::kAutoShutdownQuestion}, prompts.Questions());
}

TEST_F(ShutdownPageTest, TheEndOfTheCountdownWithSuspendWritesThenClearsEverythingAndSuspends) {
    ChangeASetting();
    Run(0, 1, 0);
    page().RadioButton20.Click();  // chosen while the countdown runs: read at its end
    page().Timer1.Fire();
    EXPECT_EQ("NO", Beep());
    ASSERT_EQ(1u, sys.PowerRequests().size());
    EXPECT_EQ(std::make_pair(FALSE, FALSE), sys.PowerRequests()[0]);
    EXPECT_LT(FirstCall(Call::RegSetValue, "Beep"), FirstCall(Call::SetSystemPowerState));
    EXPECT_TRUE(sys.ExitRequests().empty());
    EXPECT_FALSE(page().CheckBox48.Checked());
    EXPECT_FALSE(page().Timer1.Enabled());
    EXPECT_FALSE(form().AutoShutdownActive);
    EXPECT_FALSE(form().ShutdownByCountdown);
    EXPECT_EQ(0, page().ShutdownSeconds);
    for (ui::SpinEdit* spin : {&page().SpinEdit3, &page().SpinEdit4, &page().SpinEdit5})
        EXPECT_EQ(0, spin->Value());
    for (ui::Control* control : TimeEntry()) EXPECT_FALSE(control->Enabled()) << control->Name();
    EXPECT_FALSE(page().SpeedButton11.Enabled());
}

TEST_F(ShutdownPageTest, AFailedWritePassShowsItsMessageAndTriesAgainAfterTheNextDelay) {
    for (bool shutdown : {true, false}) {
        SCOPED_TRACE(shutdown ? "shutdown" : "suspend");
        std::size_t errors = prompts.Errors().size();
        std::size_t exits = sys.ExitRequests().size();
        std::size_t suspends = sys.PowerRequests().size();
        ChangeASetting();
        Run(0, 0, 5);
        (shutdown ? page().RadioButton21 : page().RadioButton20).Click();
        sys.FailWhen([](const fake::CallInfo& c) { return c.kind == Call::RegSetValue; },
                     ERROR_ACCESS_DENIED);
        page().Timer1.Fire();
        ASSERT_EQ(errors + 1, prompts.Errors().size());
        EXPECT_EQ("Failed to set data for 'Beep'", prompts.Errors().back());
        EXPECT_EQ(exits, sys.ExitRequests().size());
        EXPECT_EQ(suspends, sys.PowerRequests().size());
        EXPECT_TRUE(page().Timer1.Enabled());
        EXPECT_EQ(5000u, page().Timer1.Interval()) << "the same delay again";
        EXPECT_TRUE(form().AutoShutdownActive);
        EXPECT_FALSE(form().ShutdownByCountdown);

        sys.ClearFaults();
        page().Timer1.Fire();
        EXPECT_EQ("NO", Beep());
        EXPECT_EQ(exits + (shutdown ? 1 : 0), sys.ExitRequests().size());
        EXPECT_EQ(suspends + (shutdown ? 0 : 1), sys.PowerRequests().size());
        // Back to the start for the other choice.
        if (page().CheckBox48.Checked()) Click(page().CheckBox48);
        PutText(HKEY_CURRENT_USER, kSound, "Beep", "yes");
        form().BacaData();
    }
}

TEST_F(ShutdownPageTest, NeitherApplyNorTheReadPassTouchesThePage) {
    Run(0, 0, 7);
    form().Button5.Click();
    EXPECT_TRUE(page().CheckBox48.Checked());
    EXPECT_EQ("7", page().SpinEdit5.Text());
    EXPECT_TRUE(page().Timer1.Enabled());
    EXPECT_TRUE(form().AutoShutdownActive);
}

TEST_F(ShutdownPageTest, ANewStartOfTheMainWindowHasTheFeatureOffAndTheTimeZero) {
    Run(0, 0, 9);
    page().RadioButton20.Click();
    form().FormCreate();
    EXPECT_FALSE(page().Timer1.Enabled());
    EXPECT_FALSE(form().AutoShutdownActive);
    EXPECT_TRUE(page().RadioButton21.Checked());
    EXPECT_EQ(0, page().ShutdownSeconds);
    EXPECT_EQ("0", page().SpinEdit5.Text());
    EXPECT_FALSE(page().SpeedButton11.Enabled());
}

}  // namespace
}  // namespace vt::testing
