// The "Internet #2" page: NWLink connection and socket limits, the NDI cache size, and the
// path-MTU discovery, black-hole detection and keep-alive values of MSTCP.
#pragma once

#include "app/TForm1.h"
#include "pages/SettingsTable.h"
#include "pages/WholeNumberBox.h"

#include <string>
#include <vector>

namespace vt {

class InternetPage2 {
  public:
    // `connectionFound` is page "Internet #1"'s finding: without it only the NDI cache size
    // is ever written.
    InternetPage2(TForm1& form, Platform& sys, const bool& connectionFound);

    void Read();   // the Internet #2 slice of BacaData
    void Write();  // the Internet #2 slice of TulisData
    // The keys and values the page's writes may change: what a restore point may put back.
    ManagedStores Touches();
    // The settings it keeps as rows.
    SettingsList& Rows() { return rows_; }
    void InternetDisable();
    // At window creation: the custom size opens only with its own button.
    void DisableCustomNdiCache();
    // Its settings as a profile holds them, in the order an import sets them.
    void AddProfileFields(std::vector<ProfileField>& fields);
    // "Back to Windows Default": the boxes set and the values written at once.
    void ResetToWindowsDefault();

    ui::TabSheet Sheet;
    ui::TitleLabel RxLabel6{"RxLabel6", &Sheet, "Internet Optimizer", "Verdana", 24, ui::kNavy};
    ui::GroupBox GroupBox24{"GroupBox24", &Sheet, "Optimize Max Connect"};
    ui::Label Label60{"Label60", &GroupBox24, "Minimal value :"};
    ui::Edit Edit7{"Edit7", &GroupBox24};
    ui::Label Label61{"Label61", &GroupBox24, "Maximal value :"};
    ui::Edit Edit8{"Edit8", &GroupBox24};
    ui::GroupBox GroupBox25{"GroupBox25", &Sheet, "Optimize Max Sockets"};
    ui::Label Label62{"Label62", &GroupBox25, "Minimal value :"};
    ui::Edit Edit10{"Edit10", &GroupBox25};
    ui::Label Label63{"Label63", &GroupBox25, "Maximal value :"};
    ui::Edit Edit11{"Edit11", &GroupBox25};
    ui::GroupBox GroupBox27{"GroupBox27", &Sheet};
    ui::CheckBox CheckBox43{"CheckBox43", &GroupBox27, "Disable MTU Auto Discovery"};
    ui::CheckBox CheckBox44{"CheckBox44", &GroupBox27, "Enable Black Hole Detect"};
    ui::Label Label64{"Label64", &GroupBox27, "Session Keep Alive"};
    ui::SpinEdit SpinEdit8{"SpinEdit8", &GroupBox27, 60, 3600};
    ui::Label Label65{"Label65", &GroupBox27, "seconds"};
    ui::GroupBox GroupBox26{"GroupBox26", &Sheet, "Optimize NDI Cache Size"};
    ui::RadioButton RadioButton4{"RadioButton4", &GroupBox26, "Disable (default)"};
    ui::RadioButton RadioButton6{"RadioButton6", &GroupBox26, "16"};
    ui::RadioButton RadioButton22{"RadioButton22", &GroupBox26, "32"};
    ui::RadioButton RadioButton23{"RadioButton23", &GroupBox26, "64"};
    ui::RadioButton RadioButton24{"RadioButton24", &GroupBox26, "Custom"};
    ui::Edit Edit9{"Edit9", &GroupBox26};
    ui::Button SpeedButton6{"SpeedButton6", &Sheet, "Default", ui::Kind::SpeedButton};
    ui::Button SpeedButton7{"SpeedButton7", &Sheet, "Automatic", ui::Kind::SpeedButton};
    ui::GroupBox GroupBox22{"GroupBox22", &Sheet};
    ui::Memo Memo8{"Memo8", &GroupBox22};

    static constexpr const char* kParams =
        "System\\CurrentControlSet\\Services\\VxD\\NWLink\\Ndi\\params\\";

    ui::Recorded<std::string> MaxConnectMinText{"1"}, MaxConnectMaxText{"64"};
    ui::Recorded<std::string> MaxSocketsMinText{"2"}, MaxSocketsMaxText{"255"};
    ui::Recorded<std::string> NdiCacheText{"0"};
    // Recorded as stored: a stored time the spin edit had to hold to its range is written
    // once the user or a preset sets one, even the time the box already showed.
    ui::Recorded<std::string> KeepAliveText{"3600"};

  private:
    struct Preset {
        const char* ndiCache;
        ui::RadioButton& ndiButton;
        int keepAlive;
        const char *connectMax, *connectMin, *socketsMax, *socketsMin;
    };
    void LayOut();
    void ShowNdiCache();
    void ApplyPreset(const Preset& preset);
    void WriteLimits(const char* key, const ui::Recorded<std::string>& max,
                     const ui::Recorded<std::string>& min);

    Platform& sys_;
    const bool& connectionFound_;
    SettingsList rows_;  // the page's on/off settings, in its read and write order
};

}  // namespace vt
