#include "compose/PageTable.h"

#include <algorithm>

namespace vt {
namespace {

std::string SheetOf(const ui::Control& control) {
    for (const ui::Control* c = &control; c; c = c->Parent())
        if (c->GetKind() == ui::Kind::TabSheet) return c->Caption();
    return {};
}

// The boxes below `root` in the order of its controls, but those in `except`.
void AddBoxes(std::vector<ProfileField>& fields, ui::Control& root,
              std::initializer_list<const ui::CheckBox*> except = {}) {
    for (ui::Control* child : root.Children()) {
        auto* box = dynamic_cast<ui::CheckBox*>(child);
        if (box && std::find(except.begin(), except.end(), box) == except.end())
            fields.push_back(BoxField(SheetOf(*box), *box));
        if (child->GetKind() == ui::Kind::GroupBox) AddBoxes(fields, *child, except);
    }
}

}  // namespace

std::vector<ProfileField> ProfileFieldsOf(Pages& p) {
    std::vector<ProfileField> fields;

    AddBoxes(fields, p.boot.Sheet);
    // The boot menu's delay counts only with the menu shown.
    ProfileField delay = Detail(
        SpinField(SheetOf(p.boot.Sheet), ProfileKey(p.boot.Label1.Caption()), p.boot.SpinEdit1),
        p.boot.CheckBox2);
    delay.needsKey = ProfileKey(p.boot.CheckBox2.Caption());
    delay.needsValue = "1";
    fields.push_back(std::move(delay));

    AddBoxes(fields, p.system.Sheet);
    p.system.AddProfileFields(fields);

    AddBoxes(fields, p.windows.Sheet);
    ProfileField bitmap =
        TextField(SheetOf(p.windows.Sheet),
                  ProfileKey(p.windows.CheckBox62.Caption()) + " - Bitmap", p.windows.Edit6);
    bitmap.shown = [&windows = p.windows] { return windows.ToolbarBitmapPath(); };
    fields.push_back(Detail(std::move(bitmap), p.windows.CheckBox62));

    AddBoxes(fields, p.startMenu.Sheet);
    fields.push_back(
        Detail(SpinField(SheetOf(p.startMenu.Sheet), ProfileKey(p.startMenu.Label5.Caption()),
                         p.startMenu.SpinEdit2),
               p.startMenu.CheckBox30));

    p.internet.AddProfileFields(fields);
    p.internet2.AddProfileFields(fields);

    FileCachePage& file = p.fileCache;
    const std::string fileCache = SheetOf(file.Sheet);
    fields.push_back(ListField(fileCache, ProfileKey(file.Label17.Caption()), file.ComboBox3));
    fields.push_back(SpinField(fileCache, ProfileKey(file.Label29.Caption()), file.SpinEdit6));
    fields.push_back(SpinField(fileCache, ProfileKey(file.Label30.Caption()), file.SpinEdit7));

    DiskCachePage& disk = p.diskCache;
    std::size_t index = 0;
    for (auto [label, bar] : std::initializer_list<std::pair<ui::Label*, ui::TrackBar*>>{
             {&disk.Label8, &disk.TrackBar2},
             {&disk.Label9, &disk.TrackBar3},
             {&disk.Label10, &disk.TrackBar4}}) {
        ProfileField size = TrackField(SheetOf(disk.Sheet), ProfileKey(label->Caption()), *bar);
        // Without a stored size Windows sizes the cache itself: no position stands for that.
        size.missing = [&disk, index] { return disk.SizeLeftToWindows(index); };
        size.unset = [&disk, index] { disk.LeaveToWindows(index); };
        ++index;
        size.unavailable = [&disk]() -> std::optional<std::string> {
            if (disk.SystemIniFound()) return std::nullopt;
            return "SYSTEM.INI was not found in the Windows folder";
        };
        fields.push_back(std::move(size));
    }

    OemInfoPage& oem = p.oemInfo;
    const std::string oemPage = SheetOf(oem.Sheet);
    fields.push_back(TextField(oemPage, ProfileKey(oem.Label25.Caption()), oem.Manufacturer));
    fields.push_back(TextField(oemPage, ProfileKey(oem.Label26.Caption()), oem.Model));
    int line = 0;
    for (ui::Edit* edit : {&oem.Line1, &oem.Line2, &oem.Line3})
        fields.push_back(TextField(
            oemPage, ProfileKey(oem.Label21.Caption()) + " " + std::to_string(++line), *edit));

    // "Back to Windows Default" acts at once: no setting.
    AddBoxes(fields, p.programPage.Sheet, {&p.programPage.BackToWindowsDefault});
    return fields;
}

}  // namespace vt
