// The "Internet #1" page: the IP MTU of the network adapters by kind of connection, the
// default TCP receive window and the default time to live.
#pragma once

#include "app/Companions.h"
#include "app/Profile.h"
#include "app/TForm1.h"
#include "pages/WholeNumberBox.h"

#include <string>
#include <vector>

namespace vt {

class InternetPage {
  public:
    InternetPage(TForm1& form, Platform& sys, TForm4& help);

    void Read();   // the Internet #1 slice of BacaData: adapters found, MTU, MSTCP
    void Write();  // the Internet #1 slice of TulisData
    // The keys and values the page's writes may change: what a restore point may put back.
    ManagedStores Touches();
    // Shows the texts on the radio buttons (after the first connection has been selected).
    void IsiDataInternet();
    // No adapter: the page takes no input (the help button excepted).
    void InternetDisable();
    // "Back to Windows Default": the boxes set and the values written at once.
    void ResetToWindowsDefault();
    // The MTU of each kind of connection, the receive window and the time to live, as a
    // settings profile holds them.
    void AddProfileFields(std::vector<ProfileField>& fields);

    ui::TabSheet Sheet;
    ui::TitleLabel RxLabel5{"RxLabel5", &Sheet, "Internet Optimizer", "Verdana", 24, ui::kNavy};
    ui::Button SpeedButton8{"SpeedButton8", &Sheet, "Help", ui::Kind::SpeedButton};
    ui::GroupBox GroupBox9{"GroupBox9", &Sheet, "Internet Protocol MTU"};
    ui::Label Label48{"Label48", &GroupBox9, "Your Internet Connection"};
    ui::ComboBox ComboBox2{"ComboBox2", &GroupBox9};
    ui::RadioButton RadioButton18{"RadioButton18", &GroupBox9, "0 (Default)"};
    ui::RadioButton RadioButton5{"RadioButton5", &GroupBox9, "576"};
    ui::RadioButton RadioButton7{"RadioButton7", &GroupBox9, "1500"};
    ui::RadioButton RadioButton8{"RadioButton8", &GroupBox9, "Custom"};
    ui::Edit Edit3{"Edit3", &GroupBox9};
    ui::GroupBox GroupBox10{"GroupBox10", &Sheet, "Receive Window"};
    ui::RadioButton RadioButton9{"RadioButton9", &GroupBox10, "2680"};
    ui::RadioButton RadioButton10{"RadioButton10", &GroupBox10, "5840"};
    ui::RadioButton RadioButton11{"RadioButton11", &GroupBox10, "8760"};
    ui::RadioButton RadioButton12{"RadioButton12", &GroupBox10, "10220"};
    ui::RadioButton RadioButton13{"RadioButton13", &GroupBox10, "Windows Default"};
    ui::RadioButton RadioButton14{"RadioButton14", &GroupBox10, "Custom"};
    ui::Edit Edit4{"Edit4", &GroupBox10};
    ui::GroupBox GroupBox11{"GroupBox11", &Sheet, "Time to Alive"};
    ui::RadioButton RadioButton15{"RadioButton15", &GroupBox11, "32 (Default)"};
    ui::RadioButton RadioButton16{"RadioButton16", &GroupBox11, "64"};
    ui::RadioButton RadioButton17{"RadioButton17", &GroupBox11, "128"};
    ui::RadioButton RadioButton19{"RadioButton19", &GroupBox11, "Custom"};
    ui::Edit Edit5{"Edit5", &GroupBox11};
    ui::Button SpeedButton4{"SpeedButton4", &Sheet, " Default", ui::Kind::SpeedButton};
    ui::Button SpeedButton5{"SpeedButton5", &Sheet, "Automatic", ui::Kind::SpeedButton};
    ui::GroupBox GroupBox8{"GroupBox8", &Sheet};
    ui::Memo Memo4{"Memo4", &GroupBox8};

    static constexpr const char* kNetClass = "System\\CurrentControlSet\\Services\\Class\\Net\\";
    static constexpr const char* kMstcp = "System\\CurrentControlSet\\Services\\VxD\\MSTCP";
    static constexpr const char* kDialUp = "Dial-Up Adapter";
    static constexpr const char* kPhoneLine = "Using a phone line and a modem";
    static constexpr const char* kLan = "Using a local area network (LAN)";
    static constexpr const char* kNoConnection = "No Internet connection available";

    // Set by the read pass, never cleared; page "Internet #2" reads ConnectionFound.
    bool DialUpPresent = false;
    bool LanPresent = false;
    bool ConnectionFound = false;
    ui::Recorded<std::string> DialUpMtu{"0"};
    ui::Recorded<std::string> LanMtu{"0"};
    ui::Recorded<std::string> ReceiveWindowText{"8192"};
    ui::Recorded<std::string> TimeToLiveText{"32"};

  private:
    // One frame of radio buttons standing for one kept text.
    struct Choice {
        ui::RadioButton& button;
        const char* text;
    };
    struct Group {
        std::vector<Choice> fixed;
        ui::RadioButton& custom;
        ui::Edit& edit;
    };

    void LayOut();
    void Bind(Group& group, std::function<std::string*()> kept);
    static void Show(Group& group, const std::string& text);
    std::string* CurrentMtu();
    void ComboBox2Change();
    void SpeedButton4Click();
    void SpeedButton5Click();
    static std::string AdapterKey(int index);
    void WriteMtu();

    // Whether a value was stored when the page was read, and whether a settings profile's
    // "(not set)" asks that it be removed (while the page still shows Windows' default).
    struct Presence {
        bool stored = false;
        bool remove = false;
    };
    bool Removes(const Presence& presence, const ui::Recorded<std::string>& value,
                 const char* windowsDefault) const {
        return presence.remove && value.Now() == windowsDefault;
    }
    void AddUnset(ProfileField& field, Presence& presence, ui::Recorded<std::string>& value,
                  const char* windowsDefault);

    TForm1& form_;
    Platform& sys_;
    Group mtu_, receiveWindow_, timeToLive_;
    Presence dialUpMtuStored_, lanMtuStored_, receiveWindowStored_, timeToLiveStored_;
    bool dialUpChosen_ = false, lanChosen_ = false;
    void MarkChosen(const std::string* value);
    void AddGroupFields(std::vector<ProfileField>& fields, const std::string& key, Group& group);
};

}  // namespace vt
