#include "pages/OemInfoPage.h"

#include "store/Folders.h"
#include "store/StoreError.h"
#include "store/TIniFile.h"

#include <algorithm>

namespace vt {
namespace {

const char* const kLogoFile = "oemlogo.bmp";
const char* const kInfoFile = "oeminfo.ini";

// What a refused picture is, in the message that names it.
std::string Refused(Bitmap::Refusal why, const char* otherwise) {
    return why == Bitmap::Refusal::NotForWindows98 ? " is not a bitmap Windows 98 can show"
                                                   : otherwise;
}

}  // namespace

std::array<OemInfoPage::Field, 5> OemInfoPage::Fields() {
    return {{{Manufacturer, "General", "Manufacturer"},
             {Model, "General", "Model"},
             {Line1, "Support Information", "Line1"},
             {Line2, "Support Information", "Line2"},
             {Line3, "Support Information", "Line3"}}};
}

OemInfoPage::OemInfoPage(TForm1& form, Platform& sys, ui::Prompts& prompts)
    : Sheet("TabSheet13", &form.PageControl1, "OEM Info", 11),
      form_(form),
      sys_(sys),
      prompts_(prompts) {
    for (ui::Edit* edit : {&Manufacturer, &Model, &Line1, &Line2, &Line3}) {
        edit->SetText(edit->Name());  // design texts; the read pass replaces them
        edit->SetMaxLength(kLongestLine);
    }
    Button9.OnClick = [this] { Button9Click(); };
    Button10.OnClick = [this] { Button10Click(); };
    const char* logoWarning =
        "Remember, if the manufacturer edit box is empty Windows will not show your company "
        "logo.";
    form.Describe(
        Memo9,
        {
            {Button10,
             "You can use this button to remove your company logo from System Properties dialog "
             "box."},
            {Manufacturer, "Fill this edit box with your company name."},
            {Model, "Fill this edit box with your computer model."},
            {Line1, "Fill this edit box with the first line of support information."},
            {Line2, "Fill this edit box with the second line of support information."},
            {Line3, "Fill this edit box with the third line of support information."},
        });
    form.Describe(GroupBox29, Memo9,
                  std::string("In this box you can see your company logo preview. ") + logoWarning);
    form.Describe(
        Button9, Memo9,
        std::string("You can use this button to change your company logo. ") + logoWarning);
    form.ClearsDescription(Sheet, Memo9);
    form.RegisterMemo(Memo9);
    LayOut();
    Image13.SetVisible(false);
}

void OemInfoPage::LayOut() {
    RxLabel13.SetBounds(8, 8, 0, 24);
    Label27.SetBounds(16, 44, 0, 13);
    Label28.SetBounds(16, 58, 0, 13);
    Label31.SetBounds(16, 80, 0, 13);
    GroupBox29.SetBounds(16, 94, 175, 129);
    Image13.SetBounds(8, 10, 159, 113);
    Button9.SetBounds(16, 228, 84, 25);
    Button10.SetBounds(107, 228, 84, 25);
    Label25.SetBounds(210, 80, 0, 13);
    Manufacturer.SetBounds(210, 96, 300, 21);
    Label26.SetBounds(210, 124, 0, 13);
    Model.SetBounds(210, 140, 300, 21);
    Label21.SetBounds(210, 168, 0, 13);
    Line1.SetBounds(210, 184, 300, 21);
    Line2.SetBounds(210, 208, 300, 21);
    Line3.SetBounds(210, 232, 300, 21);
    GroupBox30.SetBounds(8, 262, 340, 66);
    Memo9.SetBounds(10, 16, 320, 44);
    Memo9.SetEnabled(false);
}

std::string OemInfoPage::SystemFile(const char* name) const {
    return form_.WindowsDir + "\\system\\" + name;
}

void OemInfoPage::ShowPicture() {
    if (picture_)
        Image13.SetDib(picture_->Dib(), picture_->PixelOffset());
    else
        Image13.SetDib({}, 0);
}

// A logo file that is no bitmap is reported once it is found and left as it is; the other
// pages are still read.
void OemInfoPage::Read() {
    logoChanged_ = false;
    std::string logo = SystemFile(kLogoFile);
    LogoPath = !form_.WindowsDir.empty() && FileExists(sys_, logo) ? logo : "";
    logoFile_ = !LogoPath.empty();
    picture_.reset();
    if (!LogoPath.empty()) {
        Bitmap::Refusal why;
        picture_ = Bitmap::Load(sys_, LogoPath, &why);
        if (!picture_) {
            prompts_.ShowError(LogoPath + Refused(why, " is not a valid bitmap") +
                               ": no logo is shown.");
            LogoPath.clear();
        }
    }
    ShowPicture();
    Image13.SetVisible(!LogoPath.empty());
    TIniFile ini(sys_, SystemFile(kInfoFile));
    for (const Field& f : Fields()) f.edit.SetText(ini.ReadText(f.section, f.key, ""));
}

// A file that is no bitmap changes nothing: the logo and the preview stay as they were.
void OemInfoPage::Button9Click() {
    std::optional<std::string> chosen = prompts_.OpenFile(kPictureFilter);
    if (!chosen) return;
    Bitmap::Refusal why;
    std::optional<Bitmap> picture = Bitmap::Load(sys_, *chosen, &why);
    if (!picture) {
        prompts_.ShowError(*chosen + Refused(why, " is not a bitmap that can be shown") +
                           ". The logo is unchanged.");
        return;
    }
    picture_ = std::move(picture);
    LogoPath = *chosen;
    logoChanged_ = true;
    ShowPicture();
    Image13.SetVisible(true);
}

// A logo file that could not be shown goes too: "Clear" is the way to be rid of it.
void OemInfoPage::Button10Click() {
    if (!LogoPath.empty() || logoFile_) logoChanged_ = true;
    LogoPath.clear();
    Image13.SetVisible(false);
}

// Only what the user changed: the logo once changed or cleared, each field once edited. A
// file that did not exist is not created for untouched fields.
void OemInfoPage::Write() {
    if (form_.WindowsDir.empty()) return;
    if (logoChanged_) {
        std::string logo = SystemFile(kLogoFile);
        if (!LogoPath.empty()) {
            if (!sys_.WriteFileBytes(logo.c_str(), picture_->FileBytes()))
                throw IoError("Cannot create file " + logo);
        } else if (FileExists(sys_, logo) && !sys_.DeleteFileA(logo.c_str())) {
            throw IoError("Cannot delete file " + logo);
        }
    }
    // A line break is written as a blank; any other control character is refused.
    auto control = [](unsigned char c) {
        return (c < 0x20 && c != '\r' && c != '\n') || c == 0x7F;
    };
    for (const Field& f : Fields())
        if (f.edit.Changed() && std::any_of(f.edit.Text().begin(), f.edit.Text().end(), control))
            throw IoError(std::string("The ") + f.key + " of " + SystemFile(kInfoFile) +
                          " cannot hold a tab or another control character: nothing of it was "
                          "written.");
    TIniFile ini(sys_, SystemFile(kInfoFile));
    for (const Field& f : Fields())
        if (f.edit.Changed()) ini.WriteText(f.section, f.key, f.edit.Text());
}

ManagedStores OemInfoPage::Touches() {
    ManagedStores touches;
    for (const Field& f : Fields())
        touches.Add(ManagedIniKey{std::string("system\\") + kInfoFile, f.section, f.key});
    return touches;
}

void OemInfoPage::AddProfileFields(std::vector<ProfileField>& fields) {
    const std::string page = Sheet.Caption();
    fields.push_back(TextField(page, ProfileKey(Label25.Caption()), Manufacturer));
    fields.push_back(TextField(page, ProfileKey(Label26.Caption()), Model));
    int line = 0;
    for (ui::Edit* edit : {&Line1, &Line2, &Line3})
        fields.push_back(
            TextField(page, ProfileKey(Label21.Caption()) + " " + std::to_string(++line), *edit));
}
}  // namespace vt
