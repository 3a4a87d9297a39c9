#include "unit/tools/ToolsFixture.h"

#include <algorithm>

namespace vt::testing {
namespace {

const char* const kUninstall = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
const char* const kAppWiz = "rundll32.exe shell32.dll,Control_RunDLL appwiz.cpl";

class AddRemoveTest : public ToolsTest {
  protected:
    AddRemoveTest() {
        Entry("IE40", "Microsoft Internet Explorer 5 and Internet Tools", kAppWiz);
        Entry("AddressBook", "Windows Address Book 5", kAppWiz);
        Entry("NetMeeting", "Microsoft NetMeeting 2.1", kAppWiz);
        Entry("Veltrim 2000", "Veltrim 2000", "C:\\VT\\UNINST.EXE");
    }
    void Entry(const std::string& key, const std::string& name, const std::string& command) {
        PutText(HKEY_LOCAL_MACHINE, Key(key), "DisplayName", name);
        PutText(HKEY_LOCAL_MACHINE, Key(key), "UninstallString", command);
    }
    static std::string Key(const std::string& key) { return std::string(kUninstall) + "\\" + key; }
    std::optional<std::string> Name(const std::string& key) {
        return Text(HKEY_LOCAL_MACHINE, Key(key), "DisplayName");
    }
    std::optional<std::string> Command(const std::string& key) {
        return Text(HKEY_LOCAL_MACHINE, Key(key), "UninstallString");
    }
    int Row(const std::string& displayName) {
        const auto& items = addRemove().ListBox2.Items();
        auto found = std::find(items.begin(), items.end(), displayName);
        return found == items.end() ? -1 : static_cast<int>(found - items.begin());
    }
    void Choose(const std::string& displayName) {
        addRemove().ListBox2.ChooseItem(Row(displayName));
    }
    // The dialog opened on the chosen row, as "Edit" opens it.
    void Edit() {
        Do([&] { addRemove().Button2.Click(); });
        ASSERT_TRUE(dialog().Visible());
    }
    void Ok(ui::Answer answer) {
        prompts.Answer(answer);
        Do([&] { dialog().Button1.Click(); });
    }
};

// --- The lists -------------------------------------------------------------------------

TEST_F(AddRemoveTest, TheListsShowTheNamedEntriesSortedAndEveryKey) {
    PutText(HKEY_LOCAL_MACHINE, Key("NoName"), "UninstallString", "C:\\X.EXE");
    PutText(HKEY_LOCAL_MACHINE, Key("acme"), "DisplayName", "acme tools");
    sys.PutValue(HKEY_LOCAL_MACHINE, Key("Odd"), "DisplayName", REG_DWORD, {1, 0, 0, 0});
    sys.ClearCalls();
    form().BacaData();
    EXPECT_EQ((std::vector<std::string>{"acme", "AddressBook", "IE40", "NetMeeting", "NoName",
                                        "Odd", "Veltrim 2000"}),
              addRemove().ListBox1.Items());
    EXPECT_EQ((std::vector<std::string>{
                  "acme tools", "Microsoft Internet Explorer 5 and Internet Tools",
                  "Microsoft NetMeeting 2.1", "Veltrim 2000", "Windows Address Book 5"}),
              addRemove().ListBox2.Items());
    EXPECT_EQ(std::vector<std::string>{}, Changes()) << "a read pass never writes";
    EXPECT_FALSE(addRemove().ListBox1.Visible()) << "the keys are never seen";
    EXPECT_TRUE(addRemove().ListBox2.Visible());
}

TEST_F(AddRemoveTest, WithoutTheUninstallKeyBothListsAreEmpty) {
    DeleteTree(HKEY_LOCAL_MACHINE, kUninstall);
    form().BacaData();
    EXPECT_TRUE(addRemove().ListBox1.Items().empty());
    EXPECT_TRUE(addRemove().ListBox2.Items().empty());
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstall)) << "not created";
}

TEST_F(AddRemoveTest, ThePageHasItsTitleButtonsAndNote) {
    EXPECT_EQ("Add/Remove", addRemove().Sheet.Caption());
    EXPECT_EQ("Add/Remove Program", addRemove().RxLabel7.Caption());
    EXPECT_EQ("Edit", addRemove().Button2.Caption());
    EXPECT_EQ("Remove", addRemove().Button3.Caption());
    EXPECT_EQ("Remember, removing an entry does not actually uninstal the ",
              addRemove().Label43.Caption());
    EXPECT_EQ("program.", addRemove().Label35.Caption());
    EXPECT_LT(addRemove().Label43.GetBounds().top, addRemove().Label35.GetBounds().top);
}

// --- The dialog ------------------------------------------------------------------------

TEST_F(AddRemoveTest, TheDialogIsASmallWindowWithoutTitleButtonsInItsTabOrder) {
    EXPECT_EQ("TForm5", dialog().ClassName());
    EXPECT_EQ("Uninstal Command", dialog().Caption());
    EXPECT_EQ(364, dialog().ClientWidth());
    EXPECT_EQ(149, dialog().ClientHeight());
    EXPECT_EQ(ui::Border::SingleNoButtons, dialog().BorderStyle());
    EXPECT_FALSE(dialog().HasSystemMenu()) << "no close box";
    EXPECT_FALSE(dialog().Visible());
    std::vector<std::string> tabOrder;
    for (const ui::Control* control : dialog().Children())
        if (control->GetKind() != ui::Kind::Label) tabOrder.push_back(control->Name());
    EXPECT_EQ((std::vector<std::string>{"Edit1", "Button1", "Button2", "Edit2"}), tabOrder);
    EXPECT_EQ(&dialog().Button1, dialog().DefaultButton);
    EXPECT_EQ(&dialog().Edit1, dialog().ActiveControl);
    EXPECT_EQ("Description", dialog().Label2.Caption());
    EXPECT_EQ("Command", dialog().Label1.Caption());
    EXPECT_EQ("OK", dialog().Button1.Caption());
    EXPECT_EQ("Cancel", dialog().Button2.Caption());
    EXPECT_LT(dialog().Edit2.GetBounds().top, dialog().Edit1.GetBounds().top)
        << "the name above the command";
}

TEST_F(AddRemoveTest, EditOpensTheDialogOnTheChosenEntryWithTheMainWindowDisabled) {
    std::vector<std::string> hidden;
    for (const char* page : {"Page1", "Page2", "Page3", "Page4"})
        form().AddPage({.sheet = &addRemove().Sheet,
                        .hideDetails = [&hidden, page] { hidden.push_back(page); }});
    form().BacaData();
    tools.rightClickMenus.CheckBox79.PressMouse(ui::MouseButton::Left);
    ASSERT_TRUE(tools.rightClickMenus.Edit12.Enabled());
    Choose("Veltrim 2000");
    Edit();
    EXPECT_EQ("Veltrim 2000", addRemove().UninstallKeyName);
    EXPECT_EQ("C:\\VT\\UNINST.EXE", dialog().Edit1.Text());
    EXPECT_EQ("Veltrim 2000", dialog().Edit2.Text());
    EXPECT_FALSE(form().Enabled());
    EXPECT_FALSE(tools.rightClickMenus.Edit12.Enabled()) << "every page's details collapse";
    EXPECT_EQ((std::vector<std::string>{"Page1", "Page2", "Page3", "Page4"}), hidden);
    EXPECT_TRUE(prompts.Questions().empty());
}

TEST_F(AddRemoveTest, RenamingAnEntryWritesOnlyItsNameAndTheListFollowsOnActivation) {
    PutText(HKEY_LOCAL_MACHINE, Key("NetMeeting"), "UninstallString", "%windir%\\conf.exe /u",
            REG_EXPAND_SZ);
    form().BacaData();
    Choose("Microsoft NetMeeting 2.1");
    Edit();
    dialog().Edit2.Type("Another Meeting");
    sys.ClearCalls();
    Ok(ui::Answer::Yes);
    EXPECT_EQ(std::vector<std::string>{"Are you sure ?"}, prompts.Questions());
    EXPECT_EQ(ui::Buttons::YesNo, prompts.Asks()[0].buttons);
    EXPECT_EQ("Another Meeting", Name("NetMeeting"));
    EXPECT_EQ(
        (std::vector<std::string>{"HKEY_LOCAL_MACHINE\\" + Key("NetMeeting") + "|DisplayName"}),
        Changes())
        << "the command the user did not change stays as stored";
    EXPECT_EQ(REG_EXPAND_SZ, Type(HKEY_LOCAL_MACHINE, Key("NetMeeting"), "UninstallString"));
    EXPECT_FALSE(dialog().Visible());
    EXPECT_TRUE(form().Enabled());
    EXPECT_TRUE(form().UninstallEdited);
    EXPECT_NE(-1, Row("Microsoft NetMeeting 2.1")) << "refilled only when the window is active";

    form().Activate();
    EXPECT_FALSE(form().UninstallEdited);
    EXPECT_EQ((std::vector<std::string>{"Another Meeting",
                                        "Microsoft Internet Explorer 5 and Internet Tools",
                                        "Veltrim 2000", "Windows Address Book 5"}),
              addRemove().ListBox2.Items());
}

TEST_F(AddRemoveTest, ANewCommandKeepsTheTypeItWasStoredWith) {
    PutText(HKEY_LOCAL_MACHINE, Key("NetMeeting"), "UninstallString", "%windir%\\conf.exe /u",
            REG_EXPAND_SZ);
    form().BacaData();
    Choose("Microsoft NetMeeting 2.1");
    Edit();
    EXPECT_EQ("%windir%\\conf.exe /u", dialog().Edit1.Text());
    dialog().Edit1.Type("%windir%\\conf.exe /remove");
    Ok(ui::Answer::Yes);
    EXPECT_EQ("%windir%\\conf.exe /remove", Command("NetMeeting"));
    EXPECT_EQ(REG_EXPAND_SZ, Type(HKEY_LOCAL_MACHINE, Key("NetMeeting"), "UninstallString"));
    EXPECT_EQ("Microsoft NetMeeting 2.1", Name("NetMeeting"));
}

TEST_F(AddRemoveTest, AMissingCommandShowsEmptyAndIsNotCreated) {
    PutText(HKEY_LOCAL_MACHINE, Key("Bare"), "DisplayName", "Bare entry");
    sys.PutValue(HKEY_LOCAL_MACHINE, Key("Odd"), "DisplayName", REG_SZ, {'O', 0});
    sys.PutValue(HKEY_LOCAL_MACHINE, Key("Odd"), "UninstallString", REG_BINARY, {1, 2});
    form().BacaData();
    for (const char* name : {"Bare entry", "O"}) {
        dialog().Edit1.SetText("left over from before");
        Choose(name);
        Edit();
        EXPECT_EQ("", dialog().Edit1.Text()) << name;
        sys.ClearCalls();
        Ok(ui::Answer::Yes);
        EXPECT_EQ(std::vector<std::string>{}, Changes()) << name;
    }
    EXPECT_EQ(std::nullopt, Command("Bare"));
    EXPECT_EQ(REG_BINARY, Type(HKEY_LOCAL_MACHINE, Key("Odd"), "UninstallString"));
}

TEST_F(AddRemoveTest, NoInTheDialogClosesItWithoutWriting) {
    form().BacaData();
    Edit();
    dialog().Edit2.Type("Renamed");
    dialog().Edit1.Type("C:\\NEW.EXE");
    sys.ClearCalls();
    Ok(ui::Answer::No);
    EXPECT_EQ(std::vector<std::string>{}, Changes());
    EXPECT_FALSE(dialog().Visible());
    EXPECT_TRUE(form().Enabled());
    EXPECT_FALSE(form().UninstallEdited);
}

TEST_F(AddRemoveTest, WithoutAChosenEntryOkWritesNowhere) {
    form().BacaData();
    dialog().Open(form());
    dialog().Edit2.Type("Renamed");
    sys.ClearCalls();
    dialog().Button1.Click();
    EXPECT_TRUE(prompts.Questions().empty());
    EXPECT_EQ(std::vector<std::string>{}, Changes());
    EXPECT_EQ(std::nullopt, Text(HKEY_LOCAL_MACHINE, kUninstall, "DisplayName"));
    EXPECT_FALSE(dialog().Visible());
    EXPECT_TRUE(form().Enabled());
}

TEST_F(AddRemoveTest, CancelClosesWithoutAQuestion) {
    form().BacaData();
    Edit();
    dialog().Edit2.Type("Renamed");
    sys.ClearCalls();
    dialog().Button2.Click();
    EXPECT_TRUE(prompts.Questions().empty());
    EXPECT_EQ(std::vector<std::string>{}, Changes());
    EXPECT_FALSE(dialog().Visible());
    EXPECT_TRUE(form().Enabled());
}

TEST_F(AddRemoveTest, AFailedWriteIsReportedAndTheDialogStaysOpenForCancel) {
    form().BacaData();
    Choose("Windows Address Book 5");
    Edit();
    DeleteTree(HKEY_LOCAL_MACHINE, Key("AddressBook"));
    dialog().Edit1.Type("C:\\NEW.EXE");
    Ok(ui::Answer::Yes);
    EXPECT_EQ(std::vector<std::string>{"Failed to set data for 'UninstallString'"},
              prompts.Errors());
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, Key("AddressBook"))) << "never made again";
    EXPECT_TRUE(dialog().Visible());
    EXPECT_FALSE(form().Enabled());
    dialog().Button2.Click();
    EXPECT_FALSE(dialog().Visible());
    EXPECT_TRUE(form().Enabled());
}

// --- Choosing the entry ----------------------------------------------------------------

struct ChoiceCase {
    const char* selected;  // nothing: no row selected
    const char* key;
};

TEST_F(AddRemoveTest, TheChosenRowIsTheSelectedOneOrTheFirst) {
    form().BacaData();
    const ChoiceCase cases[] = {
        {nullptr, "IE40"},  // "Microsoft Internet Explorer ..." sorts first
        {"Windows Address Book 5", "AddressBook"},
        {"Veltrim 2000", "Veltrim 2000"},
    };
    for (const ChoiceCase& c : cases) {
        addRemove().ListBox2.SetItemIndex(c.selected ? Row(c.selected) : -1);
        Edit();
        EXPECT_EQ(c.key, addRemove().UninstallKeyName) << (c.selected ? c.selected : "none");
        dialog().Button2.Click();
    }
}

TEST_F(AddRemoveTest, OfTwoEqualNamesTheKeyThatSortsLastIsChosen) {
    Entry("Zeta Setup", "Veltrim 2000", "C:\\ZETA.EXE");
    Entry("Alpha Setup", "Veltrim 2000", "C:\\ALPHA.EXE");
    form().BacaData();
    EXPECT_EQ(3, std::count(addRemove().ListBox2.Items().begin(),
                            addRemove().ListBox2.Items().end(), "Veltrim 2000"));
    for (int row : {Row("Veltrim 2000"), Row("Veltrim 2000") + 2}) {
        addRemove().ListBox2.ChooseItem(row);
        Edit();
        EXPECT_EQ("Zeta Setup", addRemove().UninstallKeyName);
        EXPECT_EQ("C:\\ZETA.EXE", dialog().Edit1.Text());
        dialog().Button2.Click();
    }
    addRemove().ListBox2.ChooseItem(Row("Veltrim 2000"));
    prompts.Answer(ui::Answer::Yes);
    addRemove().Button3.Click();
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, Key("Zeta Setup")));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, Key("Alpha Setup")));
}

TEST_F(AddRemoveTest, AKeyWithoutADisplayNameIsNeverChosenForAnEmptyName) {
    PutText(HKEY_LOCAL_MACHINE, Key("Aaa"), "DisplayName", "");
    PutText(HKEY_LOCAL_MACHINE, Key("Zzz"), "UninstallString", "C:\\HIDDEN.EXE");
    form().BacaData();
    ASSERT_EQ(0, Row(""));
    addRemove().ListBox2.ChooseItem(0);
    prompts.Answer(ui::Answer::Yes);
    addRemove().Button3.Click();
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, Key("Aaa")));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, Key("Zzz"))) << "an entry nobody saw stays";
}

// --- Remove ----------------------------------------------------------------------------

TEST_F(AddRemoveTest, RemoveDeletesTheEntrysKeyAndRefillsAtOnce) {
    PutText(HKEY_LOCAL_MACHINE, Key("NetMeeting") + "\\Parts", "Count", "3");
    form().BacaData();
    Choose("Microsoft NetMeeting 2.1");
    sys.ClearCalls();
    prompts.Answer(ui::Answer::Yes);
    addRemove().Button3.Click();
    EXPECT_EQ(std::vector<std::string>{"Are you sure ?"}, prompts.Questions());
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, Key("NetMeeting")));
    for (const std::string& change : Changes())
        EXPECT_EQ(0u, change.find("HKEY_LOCAL_MACHINE\\" + Key("NetMeeting"))) << change;
    EXPECT_EQ(-1, Row("Microsoft NetMeeting 2.1"));
    EXPECT_EQ((std::vector<std::string>{"AddressBook", "IE40", "Veltrim 2000"}),
              addRemove().ListBox1.Items());
}

TEST_F(AddRemoveTest, NoAtRemoveDeletesNothing) {
    form().BacaData();
    sys.ClearCalls();
    prompts.Answer(ui::Answer::No);
    addRemove().Button3.Click();
    EXPECT_EQ(std::vector<std::string>{}, Changes());
    EXPECT_EQ(4u, addRemove().ListBox2.Items().size());
}

struct EmptyCase {
    const char* button;
    const char* message;
};

TEST_F(AddRemoveTest, WithAnEmptyListEditAndRemoveSaySoAndDoNothing) {
    form().BacaData();
    addRemove().ListBox2.ClearItems();
    addRemove().ListBox1.ClearItems();
    sys.ClearCalls();
    const EmptyCase cases[] = {{"Button2", "There is no entry to edit."},
                               {"Button3", "There is no entry to remove."}};
    for (const EmptyCase& c : cases) {
        (std::string(c.button) == "Button2" ? addRemove().Button2 : addRemove().Button3).Click();
        ASSERT_FALSE(prompts.Errors().empty()) << c.button;
        EXPECT_EQ(c.message, prompts.Errors().back());
    }
    EXPECT_TRUE(prompts.Questions().empty());
    EXPECT_FALSE(dialog().Visible());
    EXPECT_TRUE(form().Enabled());
    EXPECT_EQ(std::vector<std::string>{}, Changes());
}

// The registry changed since the lists were filled: nothing acts on an earlier choice.
TEST_F(AddRemoveTest, AnEntryThatIsGoneIsNeitherEditedNorRemoved) {
    form().BacaData();
    Choose("Veltrim 2000");
    Edit();
    dialog().Button2.Click();
    ASSERT_EQ("Veltrim 2000", addRemove().UninstallKeyName);
    PutText(HKEY_LOCAL_MACHINE, Key("Veltrim 2000"), "DisplayName", "Renamed elsewhere");
    sys.ClearCalls();
    std::size_t errors = prompts.Errors().size();
    addRemove().Button2.Click();
    EXPECT_FALSE(dialog().Visible());
    EXPECT_TRUE(form().Enabled());
    EXPECT_EQ(errors + 1, prompts.Errors().size());
    auto shows = [&](const std::string& name) {
        const auto& rows = addRemove().ListBox2.Items();
        return std::find(rows.begin(), rows.end(), name) != rows.end();
    };
    EXPECT_TRUE(shows("Renamed elsewhere")) << "the lists are filled again";
    EXPECT_FALSE(shows("Veltrim 2000"));

    Choose("Renamed elsewhere");
    PutText(HKEY_LOCAL_MACHINE, Key("Veltrim 2000"), "DisplayName", "Renamed again");
    prompts.Answer(ui::Answer::Yes);
    addRemove().Button3.Click();
    EXPECT_EQ(errors + 2, prompts.Errors().size());
    EXPECT_NE(std::string::npos, prompts.Errors().back().find("\"Renamed elsewhere\""));
    EXPECT_EQ(std::vector<std::string>{}, Changes());
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, Key("Veltrim 2000")));
    EXPECT_TRUE(shows("Renamed again"));
    EXPECT_EQ("", addRemove().UninstallKeyName);
}

}  // namespace
}  // namespace vt::testing
