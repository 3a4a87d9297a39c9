// The "OEM Info" page: the manufacturer's logo, name, model and support lines that System
// Properties shows, kept in oeminfo.ini and oemlogo.bmp in the Windows system folder.
#pragma once

#include "app/TForm1.h"
#include "pages/WholeNumberBox.h"
#include "store/Bitmap.h"
#include "ui/Prompts.h"

#include <array>
#include <optional>
#include <string>

namespace vt {

class OemInfoPage {
  public:
    OemInfoPage(TForm1& form, Platform& sys, ui::Prompts& prompts);
    // Each field is one line of System Properties; Windows 98's profile functions take no
    // longer value whole.
    static constexpr int kLongestLine = 255;

    void Read();   // the first slice of BacaData
    void Write();  // the first slice of TulisData
    // Its settings as a profile holds them, in the order an import sets them.
    void AddProfileFields(std::vector<ProfileField>& fields);
    // The keys and values the page's writes may change: what a restore point may put back.
    ManagedStores Touches();

    ui::TabSheet Sheet;
    ui::TitleLabel RxLabel13{"RxLabel13", &Sheet, "OEM Information", "Verdana", 24, ui::kNavy};
    ui::Label Label27{"Label27", &Sheet,
                      "In this page you can include your company logo and contact "};
    ui::Label Label28{"Label28", &Sheet, "information in the System Properties dialog box."};
    ui::Label Label31{"Label31", &Sheet, "Company Logo"};
    ui::GroupBox GroupBox29{"GroupBox29", &Sheet};
    ui::Image Image13{"Image13", &GroupBox29};
    ui::Button Button9{"Button9", &Sheet, "Change"};
    ui::Button Button10{"Button10", &Sheet, "Clear"};
    ui::Label Label25{"Label25", &Sheet, "Manufacturer :"};
    ui::Edit Manufacturer{"Manufacturer", &Sheet};
    ui::Label Label26{"Label26", &Sheet, "Model :"};
    ui::Edit Model{"Model", &Sheet};
    ui::Label Label21{"Label21", &Sheet, "Support Information :"};
    ui::Edit Line1{"Line1", &Sheet};
    ui::Edit Line2{"Line2", &Sheet};
    ui::Edit Line3{"Line3", &Sheet};
    ui::GroupBox GroupBox30{"GroupBox30", &Sheet, "Description"};
    ui::Memo Memo9{"Memo9", &GroupBox30};

    static constexpr const char* kPictureFilter = "Bitmaps (*.bmp)|*.bmp";

    // The picture the preview shows and the write pass saves; empty: no logo.
    std::string LogoPath;
    const std::optional<Bitmap>& Picture() const { return picture_; }

  private:
    // The five fields in the order they are written.
    struct Field {
        ui::Edit& edit;
        const char* section;
        const char* key;
    };
    std::array<Field, 5> Fields();
    void LayOut();
    void Button9Click();
    void Button10Click();
    void ShowPicture();
    std::string SystemFile(const char* name) const;

    TForm1& form_;
    Platform& sys_;
    ui::Prompts& prompts_;
    std::optional<Bitmap> picture_;
    bool logoChanged_ = false;  // "Change" or "Clear" since the last read
    bool logoFile_ = false;     // an oemlogo.bmp was there at the last read, shown or not
};

}  // namespace vt
