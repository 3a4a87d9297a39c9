// The "Disk-Cache" page: the minimum, maximum and chunk sizes of the disk cache in [vcache]
// of SYSTEM.INI, each on a coarse grid, with named profiles that set all three.
#pragma once

#include "app/Companions.h"
#include "app/TForm1.h"

#include <array>
#include <string>

namespace vt {

class DiskCachePage {
  public:
    DiskCachePage(TForm1& form, Platform& sys, TForm4& help);

    void Read();   // the Disk-Cache slice of BacaData
    void Write();  // the Disk-Cache slice of TulisData
    // Its settings as a profile holds them, in the order an import sets them.
    void AddProfileFields(std::vector<ProfileField>& fields);
    // The keys and values the page's writes may change: what a restore point may put back.
    ManagedStores Touches();
    // "Back to Windows Default": the keys are deleted at once and the page shows what that
    // leaves, so that the next write does not put them back as "0".
    void ResetToWindowsDefault();
    // Each value just after its caption, each "KB" just after its value.
    void LayOutSizes();
    // The disk cache lives in SYSTEM.INI: without it, nothing to show or write.
    bool SystemIniFound();
    // Whether the size (0 minimum, 1 maximum, 2 chunk) is left to Windows: SYSTEM.INI held
    // none when the page was read and its track bar has not moved, or it is to be removed.
    bool SizeLeftToWindows(std::size_t index) const {
        return remove_[index] ? sizes_[index].bar.Position() == 0
                              : !stored_[index] && !sizes_[index].bar.Changed();
    }
    // The size left to Windows, as a settings profile's "(not set)" asks: shown as 0, its key
    // removed by the next write.
    void LeaveToWindows(std::size_t index);

    ui::TabSheet Sheet;
    ui::TitleLabel RxLabel9{"RxLabel9", &Sheet, "Disk-Cache Optimizer", "Verdana", 24, ui::kNavy};
    ui::Button SpeedButton10{"SpeedButton10", &Sheet, "Help", ui::Kind::SpeedButton};
    ui::Label Label8{"Label8", &Sheet, "Minimum Cache Size :"};
    ui::Label Label22{"Label22", &Sheet, "32024"};
    ui::Label Label11{"Label11", &Sheet, "KB"};
    ui::TrackBar TrackBar2{"TrackBar2", &Sheet, 0, 32};
    ui::Label Label9{"Label9", &Sheet, "Maximum Cache Size :"};
    ui::Label Label23{"Label23", &Sheet, "32024"};
    ui::Label Label12{"Label12", &Sheet, "KB"};
    ui::TrackBar TrackBar3{"TrackBar3", &Sheet, 0, 32};
    ui::Label Label10{"Label10", &Sheet, "Chunk Size :"};
    ui::Label Label24{"Label24", &Sheet, "1024"};
    ui::Label Label13{"Label13", &Sheet, "KB"};
    ui::TrackBar TrackBar4{"TrackBar4", &Sheet, 0, 32};
    ui::GroupBox GroupBox7{"GroupBox7", &Sheet};
    ui::Label Label7{"Label7", &GroupBox7, "Your system profiles is :"};
    ui::ComboBox ComboBox1{"ComboBox1", &GroupBox7};

  private:
    // One size: its key, its grid unit and the controls that show it.
    struct Size {
        const char* key;
        int unit;
        ui::Label& caption;
        ui::Label& value;
        ui::Label& kb;
        ui::TrackBar& bar;
    };
    void TrackBarChange(Size& size);
    void ComboBox1Change();
    static void PlaceAfter(ui::Label& label, const ui::Label& before);

    TForm1& form_;
    Platform& sys_;
    std::array<Size, 3> sizes_;
    std::array<bool, 3> stored_{}, remove_{};
};

}  // namespace vt
