#include "view/ControlId.h"

#include "app/Startup.h"
#include "compose/PageTable.h"
#include "platform/fake/FakePlatform.h"
#include "ui/ScriptedPrompts.h"

#include <gtest/gtest.h>

#include <map>

namespace vt {
namespace {

// A driver finds a control by the id its name gives, so two controls of one window must
// never share an id, and no id may be one of the dialog command ids (IDOK = 1 ...).
void CollectIds(const ui::Control& control, std::map<int, std::string>& seen) {
    for (const ui::Control* child : control.Children()) {
        int id = view::ControlId(child->Name());
        EXPECT_GE(id, view::kFirstControlId) << child->Name();
        EXPECT_LT(id, 0x8000) << child->Name();
        auto [at, fresh] = seen.emplace(id, child->Name());
        EXPECT_TRUE(fresh) << child->Name() << " has the id of " << at->second;
        CollectIds(*child, seen);
    }
}

TEST(ControlIdTest, EveryControlOfEachWindowHasAnIdOfItsOwn) {
    fake::FakePlatform sys;
    ui::ScriptedPrompts prompts;
    Program program(sys, prompts);
    AttachPages(program, sys, prompts);
    TForm3 welcome;
    for (const ui::Form* form : std::initializer_list<const ui::Form*>{
             &program.main, &program.about, &program.help, &program.uninstall, &welcome}) {
        std::map<int, std::string> seen;
        CollectIds(*form, seen);
    }
}

TEST(ControlIdTest, TheIdDependsOnTheWholeName) {
    EXPECT_EQ(view::ControlId("CheckBox17"), view::ControlId("CheckBox17"));
    EXPECT_NE(view::ControlId("CheckBox17"), view::ControlId("CheckBox1"));
    EXPECT_NE(view::ControlId("CheckBox17"), view::ControlId("CheckBox71"));
}

}  // namespace
}  // namespace vt
