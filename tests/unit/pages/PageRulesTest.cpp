// Rules that several pages share, each one table over the pages that follow it.
#include "unit/pages/PageFixture.h"

#include "store/TIniFile.h"

#include <functional>
#include <set>

namespace vt::testing {
namespace {

// Where a setting lives: a registry value, or a key of an INI file.
struct Where {
    HKEY root;
    const char* path;  // the key, or the INI file
    const char* name;  // the value, or "section\key"
};

class PageRulesTest : public PageTest {
  protected:
    ui::CheckBox& Box(const char* name) { return Named<ui::CheckBox>(form(), name); }
    // The stored text; "<missing>" when there is none.
    std::string Stored(const Where& at) {
        if (!at.root) {
            std::string key = at.name;
            std::size_t slash = key.find('\\');
            return TIniFile(sys, at.path)
                .ReadText(key.substr(0, slash), key.substr(slash + 1), "<missing>");
        }
        auto value = Value(at.root, at.path, at.name);
        return value ? value->Text() : "<missing>";
    }
};

// Every box of a settings page describes itself in the page's memo while the mouse is over
// it: one line of its own, telling what the option does.
struct DescribedPage {
    const char* sheet;
    const char* memo;
};

class DescriptionTest : public PageRulesTest,
                        public ::testing::WithParamInterface<DescribedPage> {};

TEST_P(DescriptionTest, EveryBoxShowsItsOwnDescription) {
    auto& memo = Named<ui::Memo>(form(), GetParam().memo);
    std::set<std::string> seen;
    int boxes = 0;
    for (ui::Control* child : Named<ui::Control>(form(), GetParam().sheet).Children()) {
        if (child->GetKind() != ui::Kind::CheckBox) continue;
        ++boxes;
        child->MoveMouse();
        ASSERT_EQ(1u, memo.Lines().size()) << child->Name();
        EXPECT_EQ(0u, memo.Lines()[0].find("Use this option")) << child->Name();
        EXPECT_TRUE(seen.insert(memo.Lines()[0]).second) << child->Name() << ": another's text";
    }
    EXPECT_GE(boxes, 14) << "the walk missed boxes";
}

const DescribedPage kDescribedPages[] = {
    {"TabSheet1", "Memo1"}, {"TabSheet2", "Memo2"}, {"TabSheet3", "Memo3"}, {"TabSheet9", "Memo7"}};
INSTANTIATE_TEST_SUITE_P(Pages, DescriptionTest, ::testing::ValuesIn(kDescribedPages));

// Texts compared in upper case: a lower-case stored text ticks the box; clearing it writes
// the page's own text (or deletes the value).
struct UpperCaseRow {
    const char* box;
    Where at;
    const char* lower;
    const char* cleared;
};

class UpperCaseTest : public PageRulesTest, public ::testing::WithParamInterface<UpperCaseRow> {};

TEST_P(UpperCaseTest, ALowerCaseTextTicksTheBoxAndClearingWritesThePagesText) {
    const UpperCaseRow& row = GetParam();
    PutText(row.at.root, row.at.path, row.at.name, row.lower);
    ReadPass();
    EXPECT_TRUE(Box(row.box).Checked()) << row.box;
    Click(Box(row.box));
    WritePass();
    EXPECT_EQ(row.cleared, Stored(row.at)) << row.box;
}

const UpperCaseRow kUpperCaseRows[] = {
    {"CheckBox15", {HKEY_CURRENT_USER, "Control Panel\\Sound", "Beep"}, "yes", "NO"},
    {"CheckBox39",
     {HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\SmallIcons",
      "SmallIcons"},
     "yes",
     "<missing>"},
    {"CheckBox59",
     {HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\explorer\\Advanced",
      "StartMenuScrollPrograms"},
     "false",
     "TRUE"},
};
INSTANTIATE_TEST_SUITE_P(Pages, UpperCaseTest, ::testing::ValuesIn(kUpperCaseRows));

// A store error stops the write pass at the failing setting with its message: the settings
// before it are written, the ones after it are not.
struct FailingWriteRow {
    const char* page;
    const char* setUp;  // an INI file's text for C:\MSDOS.SYS, or nothing
    const char* first;  // ticked, written before the failing one
    const char* failing;
    fake::Call call;
    const char* callName;  // the value's name, or a line of the file written
    const char* message;
    Where written, unwritten;
};

class FailingWriteTest : public PageRulesTest,
                         public ::testing::WithParamInterface<FailingWriteRow> {};

TEST_P(FailingWriteTest, TheWritePassStopsAtTheFailingSettingWithItsMessage) {
    const FailingWriteRow& row = GetParam();
    if (row.setUp) sys.PutFile(kMsdosSys, row.setUp);
    ReadPass();
    Click(Box(row.first));
    Click(Box(row.failing));
    sys.FailWhen(
        [&](const fake::CallInfo& call) {
            return call.kind == row.call && call.name.find(row.callName) != std::string::npos &&
                   call.path.find("\\Restore\\") == std::string::npos;
        },
        ERROR_ACCESS_DENIED);
    try {
        WritePass();
        ADD_FAILURE() << row.page << ": the write should have failed";
    } catch (const StoreError& e) {
        EXPECT_EQ(std::string(row.message), e.what()) << row.page;
    }
    sys.ClearFaults();
    EXPECT_NE("<missing>", Stored(row.written)) << row.page << ": written before the failing one";
    EXPECT_EQ("<missing>", Stored(row.unwritten)) << row.page;
}

const FailingWriteRow kFailingWrites[] = {
    {"Boot",
     "[Options]\r\n",
     "CheckBox1",
     "CheckBox3",
     fake::Call::WriteFile,
     "BootMulti=",
     "Unable to write to C:\\MSDOS.SYS: the file is read-only or protected. Clear its "
     "read-only attribute and try again.",
     {0, kMsdosSys, "Options\\BootKeys"},
     {0, kMsdosSys, "Options\\BootMulti"}},
    {"System",
     nullptr,
     "CheckBox15",
     "CheckBox17",
     fake::Call::RegSetValue,
     "ContigFileAllocSize",
     "Failed to set data for 'ContigFileAllocSize'",
     {HKEY_CURRENT_USER, "Control Panel\\Sound", "Beep"},
     {HKEY_LOCAL_MACHINE, "Network\\Logon", "MustBeValidated"}},
};
INSTANTIATE_TEST_SUITE_P(Pages, FailingWriteTest, ::testing::ValuesIn(kFailingWrites));

// Without its file a page's file settings are disabled, its memo says why (also where a
// description would clear it), a box set by program creates no file; once the file is there
// the next read enables them and the note goes.
struct MissingFileRow {
    const char* file;
    const char* disabled[3];
    const char* stillEnabled;  // a box of the same page in the registry
    const char* memo;
    const char* sheet;
    const char* note;
    const char* contents;  // the file once it is there
    const char* tickedByIt;
};

class MissingFileTest : public PageRulesTest,
                        public ::testing::WithParamInterface<MissingFileRow> {};

TEST_P(MissingFileTest, TheFilesBoxesAreDisabledWithANoteAndNoFileIsCreated) {
    const MissingFileRow& row = GetParam();
    auto& memo = Named<ui::Memo>(form(), row.memo);
    ReadPass();
    for (const char* box : row.disabled) {
        if (box) {
            EXPECT_FALSE(Box(box).Enabled()) << box;
        }
    }
    if (row.stillEnabled) {
        EXPECT_TRUE(Box(row.stillEnabled).Enabled());
    }
    EXPECT_EQ(std::vector<std::string>{row.note}, memo.Lines());
    EXPECT_TRUE(memo.Enabled());
    Named<ui::Control>(form(), row.sheet).MoveMouse();
    EXPECT_EQ(std::vector<std::string>{row.note}, memo.Lines()) << "it stays";
    Box(row.tickedByIt).SetChecked(true);  // as a reset by program would
    WritePass();
    EXPECT_FALSE(sys.HasFile(row.file));

    sys.PutFile(row.file, row.contents);
    ReadPass();
    EXPECT_TRUE(Box(row.tickedByIt).Enabled());
    EXPECT_TRUE(Box(row.tickedByIt).Checked());
    Named<ui::Control>(form(), row.sheet).MoveMouse();
    EXPECT_TRUE(memo.Lines().empty());
}

const MissingFileRow kMissingFiles[] = {
    {kMsdosSys,
     {"CheckBox1", "CheckBox2", "CheckBox14"},
     nullptr,
     "Memo1",
     "TabSheet1",
     BootPage::kFileMissingNote,
     "[Options]\r\nBootMulti=1\r\n",
     "CheckBox3"},
    {"C:\\WINDOWS\\SYSTEM.INI",
     {"CheckBox16", "CheckBox18", nullptr},
     "CheckBox15",
     "Memo2",
     "TabSheet2",
     SystemPage::kFileMissingNote,
     "[386Enh]\r\nPageBuffers=32\r\n",
     "CheckBox18"},
};
INSTANTIATE_TEST_SUITE_P(Pages, MissingFileTest, ::testing::ValuesIn(kMissingFiles));

// The two delays (the boot menu's in C:\MSDOS.SYS, the Start menu's in the registry).
struct DelayRow {
    bool boot;         // else the Start menu's
    const char* held;  // a stored delay beyond the range, and what the spin edit shows
    const char* unreadable;
    int fallback;
};

class DelayTest : public PageRulesTest, public ::testing::WithParamInterface<DelayRow> {
  protected:
    static constexpr const char* kDesktop = "Control Panel\\Desktop";
    ui::SpinEdit& Spin() {
        return GetParam().boot ? pages().boot.SpinEdit1 : pages().startMenu.SpinEdit2;
    }
    ui::CheckBox& DelayBox() {
        return GetParam().boot ? pages().boot.CheckBox2 : pages().startMenu.CheckBox30;
    }
    const std::string& Kept() {
        return GetParam().boot ? pages().boot.KeptDelay() : pages().startMenu.KeptDelay();
    }
    Where At() {
        return GetParam().boot ? Where{0, kMsdosSys, "Options\\BootMenuDelay"}
                               : Where{HKEY_CURRENT_USER, kDesktop, "MenuShowDelay"};
    }
    // The boot menu's box is ticked by the read; the Start menu's only by the user.
    void Store(const std::string& delay) {
        if (GetParam().boot)
            sys.PutFile(kMsdosSys, "[Options]\r\nBootMenu=1\r\nBootMenuDelay=" + delay + "\r\n");
        else
            PutText(HKEY_CURRENT_USER, kDesktop, "MenuShowDelay", delay);
    }
    void Tick() {
        if (!DelayBox().Checked()) Click(DelayBox());
    }
};

TEST_P(DelayTest, AnUnreadableDelayShowsTheFallbackAndClearingTheBoxGoesBackToIt) {
    Store(GetParam().unreadable);
    ReadPass();
    EXPECT_EQ(GetParam().fallback, Spin().Value());
    EXPECT_EQ(GetParam().unreadable, Kept());
    Tick();
    Spin().Type("5");
    Click(DelayBox());  // about to be cleared: back to the kept delay
    EXPECT_FALSE(DelayBox().Checked());
    EXPECT_EQ(GetParam().fallback, Spin().Value());
    EXPECT_FALSE(Spin().Visible());
}

// Stays as stored while untouched (the boot menu's box, ticked by the read). Once the user
// touches the editor (ticks the Start menu's box, moves the spin edit, even back to what it
// showed) the delay it shows is written: the write compares with what is stored.
TEST_P(DelayTest, AHeldDelayIsWrittenOnceTheUserTouchesItsEditor) {
    const std::string stored = GetParam().held;
    Store(stored);
    form().Apply();
    if (GetParam().boot) {
        EXPECT_EQ(Spin().MaxValue(), Spin().Value());
        form().Apply();
        EXPECT_EQ(stored, Stored(At())) << "untouched";
        Spin().SetValue(Spin().Value() - 1);
        Spin().SetValue(Spin().Value() + 1);
    } else {
        Tick();
        EXPECT_EQ(Spin().MaxValue(), Spin().Value());
    }
    form().Apply();
    EXPECT_EQ(std::to_string(Spin().MaxValue()), Stored(At()));
}

const DelayRow kDelays[] = {{true, "45", "abc", 30}, {false, "900", "slow", 400}};
INSTANTIATE_TEST_SUITE_P(Pages, DelayTest, ::testing::ValuesIn(kDelays));

// A value editor whose value is missing (or no number) shows a stand-in the store does not
// hold: once the user touches the editor, what it shows is written, even the stand-in.
struct StandInRow {
    const char* what;
    const char* box;
    std::function<void(Pages&)> touch;  // after the box is ticked
    Where at;
    const char* untouched;  // stored after the tick alone; nullptr: the tick is the touch
    const char* written;
};

class StandInTest : public PageRulesTest, public ::testing::WithParamInterface<StandInRow> {};

TEST_P(StandInTest, AValueThatWasMissingIsWrittenOnceTheUserTouchesItsEditor) {
    const StandInRow& row = GetParam();
    auto stored = [&] {
        auto value = Value(row.at.root, row.at.path, row.at.name);
        if (!value) return std::string("<missing>");
        if (value->type == REG_DWORD) return std::to_string(value->bytes[0] | value->bytes[1] << 8);
        return value->Text();
    };
    PutText(HKEY_CURRENT_USER, "Control Panel\\Desktop\\WindowMetrics", "Shell Icon BPP", "abc");
    ReadPass();
    Click(Box(row.box));
    form().Apply();
    if (row.untouched) {
        EXPECT_EQ(row.untouched, stored());
    }
    Click(Box(row.box));
    Click(Box(row.box));
    row.touch(pages());
    form().Apply();
    EXPECT_EQ(row.written, stored());
}

constexpr const char* kCdfs = "System\\CurrentControlSet\\Control\\FileSystem\\CDFS";
auto Track(int there, int back) {
    return [there, back](Pages& p) {
        p.system.TrackBar1.Drag(there);
        p.system.TrackBar1.Drag(back);
    };
}
const StandInRow kStandIns[] = {
    {"no number: icon depth",
     "CheckBox24",
     [](Pages& p) {
         p.system.RadioButton2.Click();
         p.system.RadioButton1.Click();
     },
     {HKEY_CURRENT_USER, "Control Panel\\Desktop\\WindowMetrics", "Shell Icon BPP"},
     "abc",
     "16"},
    {"icon cache",
     "CheckBox25",
     Track(2, 0),
     {HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer",
      "Max Cached Icons"},
     "<missing>",
     "512"},
    {"CD-ROM cache",
     "CheckBox27",
     Track(1, 0),
     {HKEY_LOCAL_MACHINE, kCdfs, "CacheSize"},
     "<missing>",
     "620"},
    {"CD-ROM speed",
     "CheckBox28",
     Track(3, 0),
     {HKEY_LOCAL_MACHINE, kCdfs, "PreFetch"},
     "<missing>",
     "228"},
    {"delay: the Start menu's, shown by the tick",
     "CheckBox30",
     [](Pages&) {},
     {HKEY_CURRENT_USER, "Control Panel\\Desktop", "MenuShowDelay"},
     nullptr,
     "400"},
};
INSTANTIATE_TEST_SUITE_P(Pages, StandInTest, ::testing::ValuesIn(kStandIns));

// Every box a page keeps as a row lies on its page, above the description frame, clear of
// the other boxes: a row added to a page finds its place without a test of its own.
TEST_F(PageRulesTest, EveryRowsBoxFitsOnItsPageClearOfTheOthers) {
    Tools& tools = *std::static_pointer_cast<Tools>(program.tools);
    int pagesLaidOut = 0;
    for (PageDeclaration& page : PageTable(pages(), tools)) {
        std::vector<ui::CheckBox*> boxes =
            page.rows ? page.rows->Boxes() : std::vector<ui::CheckBox*>();
        if (boxes.size() < 7) continue;  // a page of its own layout
        ++pagesLaidOut;
        for (ui::CheckBox* box : boxes) {
            const ui::Bounds b = box->GetBounds();
            EXPECT_TRUE(b.left >= 8 && b.left + b.width <= form().ClientWidth() - 8 &&
                        b.top >= 40 && b.top + b.height <= 204)
                << box->Name() << " at " << b.left << "," << b.top;
            for (ui::CheckBox* other : boxes) {
                const ui::Bounds o = other->GetBounds();
                EXPECT_TRUE(other == box || b.left + b.width <= o.left ||
                            o.left + o.width <= b.left || b.top + b.height <= o.top ||
                            o.top + o.height <= b.top)
                    << box->Name() << " overlaps " << other->Name();
            }
        }
    }
    EXPECT_EQ(4, pagesLaidOut);
}

// The pages bring their tabs, each in its place whatever the order the pages are made in.
TEST_F(PageRulesTest, TheTabsShowInTheirOrder) {
    std::vector<std::string> captions;
    for (ui::TabSheet* page : form().PageControl1.Pages()) captions.push_back(page->Caption());
    EXPECT_EQ(
        (std::vector<std::string>{"Boot", "System", "Windows", "Start Menu", "Internet #1",
                                  "Internet #2", "Right Click Menus", "Add/Remove", "File-Cache",
                                  "Disk-Cache", "Shutdown", "OEM Info", "Veltrim"}),
        captions);
}

}  // namespace
}  // namespace vt::testing
