#include "AppFixture.h"

#include "store/TRegistry.h"

namespace vt::testing {
namespace {

// The entries of the page table, by their place in it.
enum Slice {
    OemInfo,
    RightClickMenus,
    Boot,
    System,
    Windows,
    StartMenu,
    DiskCache,
    Internet1,
    Internet2,
    FileCache,
    Veltrim,
    AddRemove
};

class TForm1Test : public AppFixture {
  protected:
    void SetUp() override {
        AppFixture::SetUp();
        for (auto [s, sheet] : std::initializer_list<std::pair<Slice, ui::TabSheet*>>{
                 {Slice::OemInfo, &TabSheet13},
                 {Slice::RightClickMenus, &TabSheet12},
                 {Slice::Boot, &TabSheet1},
                 {Slice::System, &TabSheet2},
                 {Slice::Windows, &TabSheet3},
                 {Slice::StartMenu, &TabSheet9},
                 {Slice::DiskCache, &TabSheet4},
                 {Slice::Internet1, &TabSheet5},
                 {Slice::Internet2, &TabSheet11},
                 {Slice::FileCache, &TabSheet8},
                 {Slice::Veltrim, &TabSheet6},
                 {Slice::AddRemove, &TabSheet10}})
            form.AddPage({.sheet = sheet,
                          .read = [this, s] {
                              passes.push_back("read " + std::to_string(int(s)));
                              if (s == failingRead)
                                  throw RegistryError("Invalid data type for 'X'");
                          },
                          // The tools' buttons write at once: nothing for the write pass.
                          .write = s == Slice::RightClickMenus || s == Slice::AddRemove
                              ? std::function<void()>()
                              : [this, s] {
                                    passes.push_back("write " + std::to_string(int(s)));
                                    if (s == failingWrite)
                                        throw RegistryError("Failed to set data for 'NoRun'");
                                },
                          .filled = {sheet},
                          .resetToWindowsDefault = [this, s] { passes.push_back("reset " + std::to_string(int(s))); },
                          .hideDetails = s == Slice::Boot || s == Slice::StartMenu
                              ? std::function<void()>([this, s] { hidden.push_back(s == Slice::Boot ? "Page1" : "Page4"); })
                              : std::function<void()>(),
                          .shown = s == Slice::DiskCache || s == Slice::FileCache
                              ? std::function<void()>([this, s] { switches.push_back(s == Slice::DiskCache ? "disk" : "gauges"); })
                              : std::function<void()>(),
                          .uninstallEdited = s == Slice::AddRemove
                              ? std::function<void()>([this] { ++refreshes; })
                              : std::function<void()>(),
                          .touches = s == Slice::System
                              ? ManagedStores{MadeKey(HKEY_CURRENT_USER, "Control Panel\\Sound", {"Beep"})}
                              : ManagedStores()});
        form.MarkOnPress(box1);
        form.MarkOnPress(box43);
        form.RegisterMemo(memo1);
        form.RegisterMemo(memo7);
        form.FormCreate();
        form.Show();
        if (readWhileIdle) form.ReadPendingPages();
        passes.clear();
        hidden.clear();
        switches.clear();
    }
    // Runs a user action as the view does: an error reaches the error box.
    void Do(const std::function<void()>& action) { Guarded(prompts, action); }
    std::vector<std::string> Only(const std::string& prefix) {
        std::vector<std::string> kept;
        for (const auto& p : passes)
            if (p.rfind(prefix, 0) == 0) kept.push_back(p.substr(prefix.size()));
        return kept;
    }

    TForm1 form{sys, prompts};
    // The tabs the pages would bring.
    ui::TabSheet TabSheet1{"TabSheet1", &form.PageControl1, "Boot"};
    ui::TabSheet TabSheet2{"TabSheet2", &form.PageControl1, "System"};
    ui::TabSheet TabSheet3{"TabSheet3", &form.PageControl1, "Windows"};
    ui::TabSheet TabSheet9{"TabSheet9", &form.PageControl1, "Start Menu"};
    ui::TabSheet TabSheet5{"TabSheet5", &form.PageControl1, "Internet #1"};
    ui::TabSheet TabSheet11{"TabSheet11", &form.PageControl1, "Internet #2"};
    ui::TabSheet TabSheet12{"TabSheet12", &form.PageControl1, "Right Click Menus"};
    ui::TabSheet TabSheet10{"TabSheet10", &form.PageControl1, "Add/Remove"};
    ui::TabSheet TabSheet8{"TabSheet8", &form.PageControl1, "File-Cache"};
    ui::TabSheet TabSheet4{"TabSheet4", &form.PageControl1, "Disk-Cache"};
    ui::TabSheet TabSheet7{"TabSheet7", &form.PageControl1, "Shutdown"};
    ui::TabSheet TabSheet13{"TabSheet13", &form.PageControl1, "OEM Info"};
    ui::TabSheet TabSheet6{"TabSheet6", &form.PageControl1, "Veltrim"};
    ui::CheckBox box1{"CheckBox1", &TabSheet1, "Disable Windows Logo"};
    ui::CheckBox box43{"CheckBox43", &TabSheet11};
    ui::Memo memo1{"Memo1", &TabSheet1};
    ui::Memo memo7{"Memo7", &TabSheet9};
    std::vector<std::string> passes, hidden, switches;
    int refreshes = 0;
    std::optional<Slice> failingWrite, failingRead;
    bool readWhileIdle = true;  // as the window does once it is up
};

// A page whose read did not complete writes nothing until a read pass completes for it.
TEST_F(TForm1Test, AReadPassThatStopsLeavesItsPageAndTheOnesAfterUnwritten) {
    failingRead = Slice::Windows;
    Do([&] { form.Apply(); });
    EXPECT_EQ(1u, prompts.Errors().size());
    passes.clear();
    form.TulisData();
    EXPECT_EQ((std::vector<std::string>{std::to_string(int(Slice::OemInfo)),
                                        std::to_string(int(Slice::Boot)),
                                        std::to_string(int(Slice::System))}),
              Only("write "));
    EXPECT_FALSE(form.PageRead(TabSheet3));
    EXPECT_FALSE(form.PageRead(TabSheet8));
    EXPECT_TRUE(form.PageRead(TabSheet2));
    failingRead.reset();
    form.BacaData();
    passes.clear();
    form.TulisData();
    EXPECT_EQ(10u, Only("write ").size()) << "read again: every page writes";
}

TEST_F(TForm1Test, TheWindowIsLaidOutAsTheProgramDefinesIt) {
    EXPECT_EQ("TForm1", form.ClassName());
    EXPECT_EQ("Veltrim 2000", form.Caption());
    EXPECT_EQ(534, form.ClientWidth());
    EXPECT_EQ(472, form.ClientHeight());
    std::vector<std::string> buttons;
    for (ui::Control* child : form.Children())
        if (child->GetKind() == ui::Kind::Button) buttons.push_back(child->Caption());
    EXPECT_EQ((std::vector<std::string>{"OK", "Apply", "Cancel", "Hide"}), buttons);
    EXPECT_EQ(434, form.Button5.GetBounds().left);
    EXPECT_EQ(429, form.Button7.GetBounds().top);
}

TEST_F(TForm1Test, FormCreateReadsWithTheBootFileProtectedAndHidesEveryPage) {
    TForm1 fresh(sys, prompts);
    ui::TabSheet boot{"TabSheet1", &fresh.PageControl1, "Boot", 0};
    ui::TabSheet internet{"TabSheet5", &fresh.PageControl1, "Internet #1", 4};
    ui::TabSheet veltrim{"TabSheet6", &fresh.PageControl1, "Veltrim", 12};
    std::vector<std::string> steps;
    fresh.AddPage({.sheet = &boot,
                   .read = [&] { steps.push_back("read:" + std::to_string(MsdosAttributes())); },
                   .filled = {&boot},
                   .hideDetails = [&] { steps.push_back("hide"); }});
    fresh.AddPage({.sheet = &internet,
                   .read = [&] { steps.push_back("read internet"); },
                   .filled = {&internet},
                   .created = [&] { steps.push_back("created"); }});
    fresh.RestartPending = fresh.AutoShutdownActive = true;
    fresh.PageControl1.SetActivePage(&veltrim);
    fresh.FormCreate();
    EXPECT_EQ((std::vector<std::string>{"created", "read:7", "hide"}), steps)
        << "only the page the window opens on";
    EXPECT_TRUE(fresh.ReadSomethingPending());
    EXPECT_FALSE(fresh.ReadSomethingPending());
    EXPECT_EQ((std::vector<std::string>{"created", "read:7", "hide", "read internet"}), steps)
        << "the other pages while idle";
    EXPECT_EQ(&boot, fresh.PageControl1.ActivePage());
    EXPECT_FALSE(fresh.RestartPending);
    EXPECT_FALSE(fresh.AutoShutdownActive);
    EXPECT_EQ("C:\\WINDOWS", fresh.WindowsDir);
    EXPECT_EQ(kProgramDir, fresh.ProgramDir);
}

TEST_F(TForm1Test, ApplyClearsTheMarksThenWritesAndReadsEveryPageInOrder) {
    box1.PressMouse(ui::MouseButton::Left);
    box43.PressMouse(ui::MouseButton::Left);
    ASSERT_EQ(ui::kNavy, box1.FontColor());
    form.Button5.Click();
    EXPECT_EQ(ui::kBlack, box1.FontColor());
    EXPECT_EQ(ui::kBlack, box43.FontColor());
    EXPECT_EQ((std::vector<std::string>{"0", "2", "3", "4", "5", "6", "7", "8", "9", "10"}),
              Only("write "));
    EXPECT_EQ(
        (std::vector<std::string>{"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11"}),
        Only("read "));
    EXPECT_EQ("write 10", passes[9]) << "every write before the first read";
    EXPECT_FALSE(form.RestartPending);
    EXPECT_TRUE(form.Visible());
}

TEST_F(TForm1Test, AFailingWriteStopsApplyWithoutTheReadPass) {
    failingWrite = Slice::Windows;
    box1.PressMouse(ui::MouseButton::Left);
    Do([&] { form.Button5.Click(); });
    EXPECT_EQ(std::vector<std::string>{"Failed to set data for 'NoRun'"}, prompts.Errors());
    EXPECT_EQ((std::vector<std::string>{"0", "2", "3", "4"}), Only("write "));
    EXPECT_TRUE(Only("read ").empty());
    EXPECT_EQ(ui::kBlack, box1.FontColor()) << "the marks were already cleared";
    EXPECT_TRUE(form.Visible());
}

TEST_F(TForm1Test, AFailingWriteUnderOkKeepsTheWindowAndTheRestartDue) {
    failingWrite = Slice::StartMenu;
    Do([&] { form.Button1.Click(); });
    EXPECT_EQ(1u, prompts.Errors().size());
    EXPECT_TRUE(form.Visible());
    EXPECT_FALSE(form.Closed());
    EXPECT_TRUE(form.RestartPending);
    prompts.Answer(ui::Answer::No);
    EXPECT_TRUE(form.Close());
    EXPECT_EQ(std::vector<std::string>{TForm1::kRestartQuestion}, prompts.Questions());
}

TEST_F(TForm1Test, OkWritesWithoutReadingAndAsksToRestart) {
    box1.PressMouse(ui::MouseButton::Left);
    hidden.clear();
    prompts.Answer(ui::Answer::Yes);
    form.Button1.Click();
    EXPECT_EQ(10u, Only("write ").size());
    EXPECT_TRUE(Only("read ").empty());
    EXPECT_EQ(ui::kNavy, box1.FontColor()) << "OK leaves the marks";
    EXPECT_TRUE(form.Closed());
    ASSERT_EQ(1u, prompts.Asks().size());
    EXPECT_EQ(ui::Buttons::YesNoCancel, prompts.Asks()[0].buttons);
    EXPECT_EQ(std::vector<UINT>{EWX_REBOOT}, sys.ExitRequests());
    EXPECT_EQ(0x07u, MsdosAttributes());
    EXPECT_EQ((std::vector<std::string>{"Page1", "Page4"}), hidden)
        << "details put away before the prompt";
}

TEST_F(TForm1Test, TheRestartQuestionAnswers) {
    struct Case {
        ui::Answer answer;
        bool closed;
        std::size_t restarts;
        DWORD attributes;
    };
    for (const Case& c : {Case{ui::Answer::Yes, true, 1, 0x07}, Case{ui::Answer::No, true, 0, 0x07},
                          Case{ui::Answer::Cancel, false, 0, 0x07}}) {
        fake::FakePlatform machine;
        machine.PutFile("C:\\MSDOS.SYS", "[Options]\r\n", 0x07);
        machine.PutFile(std::string(kProgramDir) + "\\Config.DAT", ConfigBytes(1, 0));
        machine.SetCurrentDirectoryA(kProgramDir);
        ui::ScriptedPrompts asked;
        TForm1 main(machine, asked);
        main.FormCreate();
        main.Show();
        asked.Answer(c.answer);
        main.Button1.Click();
        EXPECT_EQ(c.closed, main.Closed());
        EXPECT_EQ(c.restarts, machine.ExitRequests().size());
        EXPECT_EQ(c.attributes, machine.GetFileAttributesA("C:\\MSDOS.SYS") & 0x07);
        if (c.answer == ui::Answer::Cancel) {
            EXPECT_FALSE(main.RestartPending);
            EXPECT_TRUE(main.Close()) << "a second close does not ask again";
            EXPECT_EQ(1u, asked.Questions().size());
            EXPECT_EQ(0x07u, machine.GetFileAttributesA("C:\\MSDOS.SYS") & 0x07)
                << "the close gives the file back what it had";
        }
    }
}

// Windows 9x asks the programs whether the session may end inside ExitWindowsEx: the restart
// just accepted is not asked about again there, where Cancel would refuse it. One Windows
// refuses is reported and stays due.
TEST_F(TForm1Test, TheRestartIsAskedOnceAndOneWindowsRefusesStaysDue) {
    for (bool refused : {false, true}) {
        TForm1 main(sys, prompts);
        std::vector<bool> sessionMayEnd;
        sys.WhileExitingWindows([&](UINT) { sessionMayEnd.push_back(main.QueryEndSession()); });
        if (refused) sys.FailNth(fake::Call::ExitWindows, 1, ERROR_ACCESS_DENIED);
        main.RestartPending = true;
        prompts.Answer(ui::Answer::Yes);
        EXPECT_TRUE(main.Close());
        EXPECT_EQ(refused ? 2u : 1u, prompts.Questions().size()) << "one question a close";
        EXPECT_EQ(std::vector<bool>(!refused, true), sessionMayEnd);
        EXPECT_EQ(refused, main.RestartPending);
        EXPECT_EQ(std::vector<std::string>(refused, TForm1::kRestartRefused), prompts.Errors());
    }
}

TEST_F(TForm1Test, ClosingAfterApplyOrCancelDoesNotAsk) {
    form.Button5.Click();
    EXPECT_EQ(0x07u, MsdosAttributes()) << "protected again right after its write";
    EXPECT_TRUE(form.Close());
    EXPECT_TRUE(prompts.Asks().empty());
    EXPECT_TRUE(sys.ExitRequests().empty());
    EXPECT_EQ(0x07u, MsdosAttributes()) << "given back what it had";
    EXPECT_EQ(ConfigBytes(0, 0), ConfigFile());
}

// C:\MSDOS.SYS keeps its attributes while the program runs and however it ends: it loses
// them only for the moment of its own write.
TEST_F(TForm1Test, EveryWayOfEndingGivesTheBootFileItsAttributesBack) {
    struct Way {
        const char* name;
        std::function<void(TForm1&, ui::ScriptedPrompts&)> end;
    };
    const std::vector<Way> ways = {
        {"Cancel", [](TForm1& f, ui::ScriptedPrompts&) { f.Button4.Click(); }},
        {"title bar", [](TForm1& f, ui::ScriptedPrompts&) { f.Close(); }},
        {"Exit", [](TForm1& f, ui::ScriptedPrompts&) { f.Exit1Click(); }},
        {"end of session",
         [](TForm1& f, ui::ScriptedPrompts&) { EXPECT_TRUE(f.QueryEndSession()); }},
        {"OK, then No",
         [](TForm1& f, ui::ScriptedPrompts& p) {
             p.Answer(ui::Answer::No);
             f.Button1.Click();
         }},
        {"OK, then Yes",
         [](TForm1& f, ui::ScriptedPrompts& p) {
             p.Answer(ui::Answer::Yes);
             f.Button1.Click();
         }},
    };
    for (const Way& way : ways) {
        for (DWORD had : {DWORD{0x07}, DWORD{0x03}}) {
            fake::FakePlatform machine;
            machine.PutFile("C:\\MSDOS.SYS", "[Options]\r\n", had);
            machine.PutFile(std::string(kProgramDir) + "\\Config.DAT", ConfigBytes(1, 0));
            machine.SetCurrentDirectoryA(kProgramDir);
            ui::ScriptedPrompts asked;
            TForm1 main(machine, asked);
            main.FormCreate();
            main.Show();
            EXPECT_EQ(had, machine.GetFileAttributesA("C:\\MSDOS.SYS") & 0x07) << way.name;
            way.end(main, asked);
            EXPECT_EQ(had, machine.GetFileAttributesA("C:\\MSDOS.SYS") & 0x07) << way.name;
        }
    }
}

TEST_F(TForm1Test, AnEndOfSessionThatDoesNotHappenLeavesTheFileProtected) {
    EXPECT_TRUE(form.QueryEndSession());
    EXPECT_EQ(0x07u, MsdosAttributes());
    form.Button5.Click();  // the session went on
    EXPECT_EQ(0x07u, MsdosAttributes());
}

TEST_F(TForm1Test, AnErrorWhileDecidingRefusesTheEndOfTheSession) {
    form.RestartPending = true;  // the restart question cannot be answered: it raises
    EXPECT_FALSE(form.QueryEndSession());
    EXPECT_EQ(
        std::vector<std::string>{std::string("unexpected question: ") + TForm1::kRestartQuestion},
        prompts.Errors());
    EXPECT_EQ(0x07u, MsdosAttributes()) << "still running, the file protected";
}

TEST_F(TForm1Test, OkPressedAgainWhileTheRestartQuestionIsOpenAsksOnce) {
    prompts.WhileAsking = [&] { form.Button1.Click(); };  // a second press while the box is up
    prompts.Answer(ui::Answer::No);
    form.Button1.Click();
    EXPECT_EQ(1u, prompts.Questions().size());
    EXPECT_TRUE(form.Closed());
}

TEST_F(TForm1Test, CancelClosesWithoutWritingOrAsking) {
    form.RestartPending = true;
    form.Button4.Click();
    EXPECT_TRUE(form.Closed());
    EXPECT_TRUE(Only("write ").empty());
    EXPECT_TRUE(prompts.Asks().empty());
}

TEST_F(TForm1Test, CloseRewritesConfigWithShowSplashAsLastSet) {
    form.Config.SetShowSplash(1);
    EXPECT_TRUE(form.Close());
    EXPECT_EQ(ConfigBytes(1, 0), ConfigFile());
}

TEST_F(TForm1Test, AConfigFileThatCannotBeWrittenIsReportedOnceAndTheWindowStillCloses) {
    sys.SetFileAttributesA((std::string(kProgramDir) + "\\Config.DAT").c_str(), 0x01);
    form.RestartPending = true;
    prompts.Answer(ui::Answer::Cancel);  // the first close is refused at the restart question
    EXPECT_FALSE(form.Close());
    EXPECT_TRUE(form.Close());
    EXPECT_EQ(std::vector<std::string>{"File access denied"}, prompts.Errors());
    EXPECT_TRUE(form.Closed());
}

TEST_F(TForm1Test, TheAutoShutdownQuestionComesBeforeTheRestartQuestion) {
    form.AutoShutdownActive = true;
    form.RestartPending = true;
    prompts.Answer(ui::Answer::No);   // do not exit
    prompts.Answer(ui::Answer::Yes);  // but restart
    EXPECT_FALSE(form.Close());
    EXPECT_EQ((std::vector<std::string>{TForm1::kAutoShutdownQuestion, TForm1::kRestartQuestion}),
              prompts.Questions());
    EXPECT_EQ(ui::Buttons::YesNo, prompts.Asks()[0].buttons);
    EXPECT_EQ(1u, sys.ExitRequests().size()) << "the restart is requested though the window stays";
    EXPECT_TRUE(form.Visible());
}

TEST_F(TForm1Test, OkWhileTheCountdownRunsHidesInsteadOfClosing) {
    form.AutoShutdownActive = true;
    form.Button1.Click();
    EXPECT_FALSE(form.Visible());
    EXPECT_FALSE(form.Closed());
    EXPECT_TRUE(prompts.Asks().empty());
    form.WMUser();
    EXPECT_TRUE(form.Visible());
    prompts.Answer(ui::Answer::Yes);
    prompts.Answer(ui::Answer::No);
    EXPECT_TRUE(form.Close());
    EXPECT_EQ(2u, prompts.Questions().size());
}

TEST_F(TForm1Test, HideKeepsTheProgramRunningUntilASecondStartBringsItBack) {
    form.Button7.Click();
    EXPECT_FALSE(form.Visible());
    EXPECT_FALSE(form.Closed());
    EXPECT_TRUE(prompts.Asks().empty());
    form.WMUser();
    EXPECT_TRUE(form.Visible());
}

TEST_F(TForm1Test, ExitFromTheTrayAsksTwiceWhileTheCountdownRuns) {
    form.AutoShutdownActive = true;
    prompts.Answer(ui::Answer::No);
    form.Exit1Click();
    EXPECT_FALSE(form.Closed());
    prompts.Answer(ui::Answer::Yes);
    prompts.Answer(ui::Answer::Yes);
    form.Exit1Click();
    EXPECT_TRUE(form.Closed());
    EXPECT_EQ(3u, prompts.Questions().size());
}

TEST_F(TForm1Test, TheEndOfTheSessionGetsTheCloseQuerysAnswer) {
    form.RestartPending = true;
    prompts.Answer(ui::Answer::Cancel);
    EXPECT_FALSE(form.QueryEndSession());
    EXPECT_TRUE(form.QueryEndSession()) << "Cancel cleared the pending restart";
}

TEST_F(TForm1Test, OnlyTheLeftButtonMarksAndHidesDetails) {
    box1.PressMouse(ui::MouseButton::Right);
    EXPECT_EQ(ui::kBlack, box1.FontColor());
    EXPECT_TRUE(hidden.empty());
    box1.PressMouse(ui::MouseButton::Left);
    box1.ReleaseMouse(ui::MouseButton::Left, false);
    EXPECT_EQ(ui::kNavy, box1.FontColor()) << "marked though released outside";
    EXPECT_FALSE(box1.Checked());
    EXPECT_EQ(std::vector<std::string>{"Page1"}, hidden);
    box43.PressMouse(ui::MouseButton::Left);
    EXPECT_EQ(ui::kNavy, box43.FontColor());
    EXPECT_EQ(1u, hidden.size()) << "a mark-only box hides nothing";
    ui::CheckBox keyboard{"CheckBox2", &TabSheet1};
    form.MarkOnPress(keyboard);
    keyboard.ToggleFromKeyboard();
    EXPECT_TRUE(keyboard.Checked());
    EXPECT_EQ(ui::kBlack, keyboard.FontColor());
}

// Alt+F4 or the close box (a close of the window) gives the main window back as "Close" does.
TEST_F(TForm1Test, EveryOwnedWindowGivesTheMainWindowBackHoweverItCloses) {
    TForm4 help;
    TForm5 editor;
    TAboutBox about;
    const std::vector<std::pair<const char*, std::function<void()>>> opens = {
        {"help", [&] { help.Open(form, help.Memo1); }},
        {"uninstall command", [&] { editor.Open(form); }},
        {"about", [&] { about.Open(form); }},
    };
    ui::Form* windows[] = {&help, &editor, &about};
    for (std::size_t i = 0; i < opens.size(); ++i) {
        for (int round = 0; round < 2; ++round) {  // and again once reopened
            opens[i].second();
            EXPECT_FALSE(form.Enabled()) << opens[i].first;
            EXPECT_TRUE(windows[i]->Close()) << opens[i].first;
            EXPECT_TRUE(form.Enabled()) << opens[i].first;
            EXPECT_FALSE(windows[i]->Visible()) << opens[i].first;
        }
    }
}

TEST_F(TForm1Test, DescriptionsFollowTheMouseAndAPageSwitchClearsThem) {
    form.Describe(box1, memo1, "Disable the Windows logo at start-up.");
    form.ClearsDescription(TabSheet1, memo1);
    memo1.SetEnabled(false);
    box1.MoveMouse();
    EXPECT_TRUE(memo1.Enabled());
    EXPECT_EQ(std::vector<std::string>{"Disable the Windows logo at start-up."}, memo1.Lines());
    TabSheet1.MoveMouse();
    EXPECT_FALSE(memo1.Enabled());
    EXPECT_TRUE(memo1.Lines().empty());
    box1.MoveMouse();
    memo7.SetEnabled(true);
    memo7.SetLines({"x"});
    form.PageControl1.ChoosePage(&TabSheet4);
    form.PageControl1.ChoosePage(&TabSheet8);
    for (ui::Memo* memo : {&memo1, &memo7}) {
        EXPECT_FALSE(memo->Enabled());
        EXPECT_TRUE(memo->Lines().empty());
    }
    EXPECT_EQ((std::vector<std::string>{"Page1", "Page4", "Page1", "Page4"}), hidden);
    EXPECT_EQ((std::vector<std::string>{"disk", "gauges"}), switches);
}

TEST_F(TForm1Test, ActivationRefreshesTheAddRemoveListsOnlyAfterAnEdit) {
    form.Activate();
    form.UninstallEdited = true;
    form.Activate();
    form.Activate();
    EXPECT_EQ(1, refreshes);
    EXPECT_FALSE(form.UninstallEdited);
}

// The window opens on the Boot page: only it is read before the window shows.
class LazyReadTest : public TForm1Test {
  protected:
    void SetUp() override {
        readWhileIdle = false;
        TForm1Test::SetUp();
    }
    std::vector<std::string> ReadNow() {
        std::vector<std::string> read = Only("read ");
        passes.clear();
        return read;
    }
};

TEST_F(LazyReadTest, TheOtherPagesAreReadOneAtATimeInTheTablesOrder) {
    std::vector<std::string> order;
    while (form.ReadSomethingPending()) order.push_back(ReadNow().at(0));
    EXPECT_EQ((std::vector<std::string>{"0", "1", "3", "4", "5", "6", "7", "8", "9", "10", "11"}),
              order)
        << "Boot was read before the window showed";
}

TEST_F(LazyReadTest, AShownPageIsReadAtOnceAndOnlyOnce) {
    form.PageControl1.ChoosePage(&TabSheet9);
    EXPECT_EQ(std::vector<std::string>{"5"}, ReadNow());
    form.PageControl1.ChoosePage(&TabSheet1);
    form.PageControl1.ChoosePage(&TabSheet9);
    EXPECT_TRUE(ReadNow().empty());
    form.ReadPendingPages();
    EXPECT_EQ(10u, ReadNow().size()) << "the shown pages are not read twice";
}

TEST_F(LazyReadTest, ApplyBeforeEveryPageIsReadWritesOnlyTheReadPages) {
    form.PageControl1.ChoosePage(&TabSheet2);
    passes.clear();
    form.Button5.Click();
    EXPECT_EQ((std::vector<std::string>{"2", "3"}), Only("write "));
    EXPECT_EQ(12u, Only("read ").size()) << "then every page is read";
}

TEST_F(LazyReadTest, BackToWindowsDefaultReadsWhatIsNotReadBeforeItsFirstReset) {
    form.ResetToWindowsDefault();
    ASSERT_GE(passes.size(), 12u);
    EXPECT_EQ("read 0", passes[0]);
    EXPECT_EQ("reset 0", passes[11]) << "every unread page read first";
    EXPECT_EQ(12u, Only("write ").size() + 2) << "then Apply writes every page";
}

TEST_F(LazyReadTest, UndoReadsWhatIsNotReadBeforeItPutsBack) {
    {
        auto point = form.KeepRestorePoint();
        TRegistry reg(form.Stores());
        reg.SelectRoot(HKEY_CURRENT_USER);
        reg.OpenPath("Control Panel\\Sound", true);
        reg.WriteText("Beep", "YES");
    }
    prompts.Answer(ui::Answer::Yes);
    form.UndoLastApply();
    std::vector<std::string> read = Only("read ");
    ASSERT_EQ(11u + 12u, read.size()) << "the unread pages, then every page after the undo";
    EXPECT_EQ("0", read[0]);
    EXPECT_EQ("11", read[10]);
    TRegistry check(sys);
    check.SelectRoot(HKEY_CURRENT_USER);
    EXPECT_FALSE(check.OpenPath("Control Panel\\Sound", false) && check.HasValue("Beep"))
        << "put back: the value was not there";
}

}  // namespace
}  // namespace vt::testing
