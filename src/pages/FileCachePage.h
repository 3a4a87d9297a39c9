// The "File-Cache" page: the name and directory caches of the file system, chosen through
// the file-system template in force, and two gauges of free memory.
#pragma once

#include "app/Companions.h"
#include "app/TForm1.h"
#include "store/Paths.h"

#include <cstdint>
#include <string>

namespace vt {

class FileCachePage {
  public:
    FileCachePage(TForm1& form, Platform& sys, TForm4& help);

    void Read();   // the File-Cache slice of BacaData
    void Write();  // the File-Cache slice of TulisData
    // Its settings as a profile holds them, in the order an import sets them.
    void AddProfileFields(std::vector<ProfileField>& fields);
    // The keys and values the page's writes may change: what a restore point may put back.
    ManagedStores Touches();
    // "Back to Windows Default": the boxes set and the values written at once.
    void ResetToWindowsDefault();
    // Free physical and paging-file memory, in per cent.
    void FillMemoryGauges();

    ui::TabSheet Sheet;
    ui::TitleLabel RxLabel8{"RxLabel8", &Sheet, "File-Cache Optimizer", "Verdana", 24, ui::kNavy};
    ui::Button SpeedButton9{"SpeedButton9", &Sheet, "Help", ui::Kind::SpeedButton};
    ui::Label Label32{"Label32", &Sheet, "Free physical memory :"};
    ui::Label Label34{"Label34", &Sheet};
    ui::ProgressBar ProgressBar1{"ProgressBar1", &Sheet};
    ui::Label Label33{"Label33", &Sheet, "Free virtual memory :"};
    ui::Label Label46{"Label46", &Sheet};
    ui::ProgressBar ProgressBar2{"ProgressBar2", &Sheet};
    ui::Label Label29{"Label29", &Sheet, "Name Cache"};
    ui::TrackBar TrackBar5{"TrackBar5", &Sheet, 0, 12};
    ui::SpinEdit SpinEdit6{"SpinEdit6", &Sheet, 0, 6144};
    ui::Label Label30{"Label30", &Sheet, "Directory Cache"};
    ui::TrackBar TrackBar6{"TrackBar6", &Sheet, 0, 16};
    ui::SpinEdit SpinEdit7{"SpinEdit7", &Sheet, 0, 128};
    ui::GroupBox GroupBox12{"GroupBox12", &Sheet};
    ui::Label Label17{"Label17", &GroupBox12, "Typical role of this computer:"};
    ui::ComboBox ComboBox3{"ComboBox3", &GroupBox12};

    static constexpr const char* kTemplates = kFsTemplates;

    std::string TemplateName;
    std::int32_t NameCacheNumber = 0;
    std::int32_t PathCacheNumber = 0;

  private:
    void LayOut();
    void TrackBarChange(ui::TrackBar& bar, ui::SpinEdit& spin, int unit);
    void SpinEditChange(ui::SpinEdit& spin, ui::TrackBar& bar, int unit);
    void ComboBox3Change();
    // Moves a track bar without its reaction: the read pass and a role choice do so.
    void Follow(ui::TrackBar& bar, int position);

    Platform& sys_;
    bool quiet_ = false;  // the track-bar reactions are held off
};

}  // namespace vt
