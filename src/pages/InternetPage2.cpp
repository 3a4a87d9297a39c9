#include "pages/InternetPage2.h"

#include "pages/PageSettings.h"

#include "pages/InternetPage.h"

#include <tuple>

namespace vt {
namespace {

const char* const kKeepAliveName = "SessionKeepAlive";

}  // namespace

InternetPage2::InternetPage2(TForm1& form, Platform& sys, const bool& connectionFound)
    : Sheet("TabSheet11", &form.PageControl1, "Internet #2", 5),
      sys_(sys),
      connectionFound_(connectionFound) {
    const Store mstcp = Store::ExistingKey(HKEY_LOCAL_MACHINE, InternetPage::kMstcp);
    // clang-format off
    rows_ = {
        Setting{.box = &CheckBox43, .store = mstcp, .name = "PMTUDiscovery", .on = "0", .off = "1", .idiom = WriteIdiom::SetOrRestore, .fallback = "1", .windowsDefault = false,
                .description = "Use this option to disable TCP to discover the Maximum MTU over the path to a remote host."},
        Setting{.box = &CheckBox44, .store = mstcp, .name = "PMTUBlackHoleDetect", .on = "1", .off = "0", .idiom = WriteIdiom::SetOrRestore, .fallback = "0", .windowsDefault = false,
                .description = "Use this option to enable TCP to try to detect Black Hole routers."},
    };
    // clang-format on
    AttachSettings(form, rows_, Memo8);
    KeepWholeNumberText(Edit7, [this] { return &MaxConnectMinText.Now(); });
    KeepWholeNumberText(Edit8, [this] { return &MaxConnectMaxText.Now(); });
    KeepWholeNumberText(Edit10, [this] { return &MaxSocketsMinText.Now(); });
    KeepWholeNumberText(Edit11, [this] { return &MaxSocketsMaxText.Now(); });
    KeepWholeNumberText(Edit9, [this] { return &NdiCacheText.Now(); });
    struct NdiChoice {
        ui::RadioButton& button;
        const char* text;
    };
    for (NdiChoice c : {NdiChoice{RadioButton4, "0"}, NdiChoice{RadioButton6, "16"},
                        NdiChoice{RadioButton22, "32"}, NdiChoice{RadioButton23, "64"}})
        c.button.OnClick = [this, text = c.text] {
            Edit9.SetEnabled(false);
            NdiCacheText.Set(text);
        };
    RadioButton24.OnClick = [this] {
        Edit9.SetEnabled(true);
        Edit9.SetText(NdiCacheText.Now());
    };
    SpinEdit8.OnChange = [this] { KeepAliveText.Set(std::to_string(SpinEdit8.Value())); };
    SpeedButton6.OnClick = [this] {
        ApplyPreset({"0", RadioButton4, 3600, "64", "1", "255", "2"});
    };
    SpeedButton7.OnClick = [this] {
        ApplyPreset({"16", RadioButton6, 600, "128", "2", "1020", "32"});
    };

    const char* keepAlive =
        "Use this option to keep your download session from timing out. Suggestion: Try 600.";
    form.Describe(
        Memo8,
        {
            {GroupBox26, "Use this option to increase the NDI cache size. Suggestion: Try 16."},
            {GroupBox24,
             "Use this option to increase you Internet connection performance. Suggestion: Try "
             "2 and 128"},
            {GroupBox25,
             "Use this option to increase you Internet connection performance. Suggestion: Try "
             "32 and 1020"},
            {Label64, keepAlive},
            {SpinEdit8, keepAlive},
            {Label65, keepAlive},
        });
    for (ui::Control* clears : std::initializer_list<ui::Control*>{&Sheet, &GroupBox27, &Memo8})
        form.ClearsDescription(*clears, Memo8);
    form.RegisterMemo(Memo8);
    SpinEdit8.SetMaxLength(4);
    SpinEdit8.SetValue(3600);
    LayOut();
}

void InternetPage2::LayOut() {
    RxLabel6.SetBounds(8, 8, 0, 24);
    GroupBox24.SetBounds(8, 44, 250, 72);
    GroupBox25.SetBounds(266, 44, 250, 72);
    for (auto [minLabel, minEdit, maxLabel, maxEdit] :
         {std::tuple{&Label60, &Edit7, &Label61, &Edit8},
          std::tuple{&Label62, &Edit10, &Label63, &Edit11}}) {
        minLabel->SetBounds(12, 20, 0, 13);
        minEdit->SetBounds(110, 16, 70, 21);
        maxLabel->SetBounds(12, 44, 0, 13);
        maxEdit->SetBounds(110, 40, 70, 21);
    }
    GroupBox27.SetBounds(8, 122, 250, 94);
    CheckBox43.SetBounds(12, 14, 230, 17);
    CheckBox44.SetBounds(12, 36, 230, 17);
    Label64.SetBounds(12, 64, 0, 13);
    SpinEdit8.SetBounds(110, 60, 60, 21);
    Label65.SetBounds(176, 64, 0, 13);
    GroupBox26.SetBounds(266, 122, 250, 94);
    RadioButton4.SetBounds(12, 20, 110, 17);
    RadioButton6.SetBounds(12, 42, 100, 17);
    RadioButton22.SetBounds(12, 64, 100, 17);
    RadioButton23.SetBounds(130, 20, 100, 17);
    RadioButton24.SetBounds(130, 42, 100, 17);
    Edit9.SetBounds(130, 62, 60, 21);
    SpeedButton6.SetBounds(266, 224, 75, 25);
    SpeedButton7.SetBounds(350, 224, 75, 25);
    GroupBox22.SetBounds(8, 272, 340, 56);
    Memo8.SetBounds(10, 14, 320, 36);
    Memo8.SetEnabled(false);
}

void InternetPage2::Read() {
    rows_.Read(sys_);
    // Recorded after the box shows it: showing what was read is no setting.
    std::string keepAlive =
        ReadRegistryText(sys_, HKEY_LOCAL_MACHINE, InternetPage::kMstcp, kKeepAliveName, "3600");
    SpinEdit8.SetValue(WholeNumber(keepAlive).value_or(3600));
    KeepAliveText.Read(keepAlive);
    const std::string sockets = std::string(kParams) + "maxsockets";
    MaxSocketsMaxText.Read(ReadRegistryText(sys_, HKEY_LOCAL_MACHINE, sockets, "max", "255"));
    MaxSocketsMinText.Read(ReadRegistryText(sys_, HKEY_LOCAL_MACHINE, sockets, "min", "2"));
    Edit10.SetText(MaxSocketsMinText.Now());
    Edit11.SetText(MaxSocketsMaxText.Now());
    const std::string connect = std::string(kParams) + "maxconnect";
    MaxConnectMaxText.Read(ReadRegistryText(sys_, HKEY_LOCAL_MACHINE, connect, "max", "64"));
    MaxConnectMinText.Read(ReadRegistryText(sys_, HKEY_LOCAL_MACHINE, connect, "min", "1"));
    Edit7.SetText(MaxConnectMinText.Now());
    Edit8.SetText(MaxConnectMaxText.Now());
    std::string cache =
        ReadRegistryText(sys_, HKEY_LOCAL_MACHINE, std::string(kParams) + "cachesize", "", "0");
    NdiCacheText.Read(WholeNumber(cache) ? cache : "0");
    ShowNdiCache();
}

// The size selects its button by number ("016" is 16). Showing it is no change of the user's:
// what the button stores now counts as read.
void InternetPage2::ShowNdiCache() {
    int size = WholeNumber(NdiCacheText.Now()).value_or(0);
    ui::RadioButton* button = size == 0    ? &RadioButton4
                              : size == 16 ? &RadioButton6
                              : size == 32 ? &RadioButton22
                              : size == 64 ? &RadioButton23
                                           : nullptr;
    if (button) {
        button->SetChecked(true);
    } else {
        RadioButton24.SetChecked(true);
        Edit9.SetEnabled(true);
        Edit9.SetText(NdiCacheText.Now());
    }
    NdiCacheText.Read(NdiCacheText.Now());
}

void InternetPage2::ApplyPreset(const Preset& preset) {
    NdiCacheText.Set(preset.ndiCache);
    KeepAliveText.Set(std::to_string(preset.keepAlive));
    MaxConnectMaxText.Set(preset.connectMax);
    MaxConnectMinText.Set(preset.connectMin);
    MaxSocketsMaxText.Set(preset.socketsMax);
    MaxSocketsMinText.Set(preset.socketsMin);
    preset.ndiButton.SetChecked(true);
    CheckBox43.SetChecked(false);
    CheckBox44.SetChecked(false);
    SpinEdit8.SetValue(preset.keepAlive);
    Edit7.SetText(MaxConnectMinText.Now());
    Edit8.SetText(MaxConnectMaxText.Now());
    Edit10.SetText(MaxSocketsMinText.Now());
    Edit11.SetText(MaxSocketsMaxText.Now());
}

void InternetPage2::ResetToWindowsDefault() {
    NdiCacheText.Set("0");
    KeepAliveText.Set("3600");
    MaxConnectMaxText.Set("64");
    MaxConnectMinText.Set("1");
    MaxSocketsMaxText.Set("255");
    MaxSocketsMinText.Set("2");
    RadioButton4.SetChecked(true);
    rows_.ResetBoxes();
    // Without TCP/IP there is no key to hold it, as the write pass knows.
    TRegistry reg(sys_);
    if (!OpenKey(reg, HKEY_LOCAL_MACHINE, InternetPage::kMstcp, false)) return;
    reg.WriteText(kKeepAliveName, KeepAliveText.Now());
    KeepAliveText.Read(KeepAliveText.Now());  // stored now
}

void InternetPage2::InternetDisable() {
    for (ui::Control* control : std::initializer_list<ui::Control*>{
             &GroupBox24,    &GroupBox25,    &GroupBox26,   &GroupBox27,   &Label60,
             &Label61,       &Label62,       &Label63,      &Label64,      &Edit7,
             &Edit8,         &Edit9,         &Edit10,       &Edit11,       &CheckBox43,
             &CheckBox44,    &SpinEdit8,     &RadioButton4, &RadioButton6, &RadioButton22,
             &RadioButton23, &RadioButton24, &SpeedButton6, &SpeedButton7})
        control->SetEnabled(false);
}

// Without an adapter only the NDI cache size may be written; each value only once changed.
void InternetPage2::Write() {
    if (connectionFound_) {
        rows_.Write(sys_);
        // Set by the user or a preset, also to what the box showed, and unlike what is stored.
        if (KeepAliveText.Changed()) {
            TRegistry reg(sys_);
            OpenKey(reg, HKEY_LOCAL_MACHINE, InternetPage::kMstcp, false);
            reg.WriteText(kKeepAliveName, KeepAliveText.Now());
        }
        WriteLimits("maxsockets", MaxSocketsMaxText, MaxSocketsMinText);
        WriteLimits("maxconnect", MaxConnectMaxText, MaxConnectMinText);
    }
    if (NdiCacheText.Changed())
        WriteRegistryValue(sys_, HKEY_LOCAL_MACHINE, std::string(kParams) + "cachesize", "",
                           NdiCacheText.Now());
}

ManagedStores InternetPage2::Touches() {
    ManagedStores touches = rows_.Touches();
    touches.Add(OpenedKey(HKEY_LOCAL_MACHINE, InternetPage::kMstcp, {kKeepAliveName}));
    for (const char* key : {"maxsockets", "maxconnect"})
        touches.Add(MadeKey(HKEY_LOCAL_MACHINE, std::string(kParams) + key, {"max", "min"}));
    touches.Add(MadeKey(HKEY_LOCAL_MACHINE, std::string(kParams) + "cachesize", {""}));
    return touches;
}

// No check ties the minimum to the maximum: each text is written as it stands.
void InternetPage2::WriteLimits(const char* key, const ui::Recorded<std::string>& max,
                                const ui::Recorded<std::string>& min) {
    if (!max.Changed() && !min.Changed()) return;
    TRegistry reg(sys_);
    OpenKey(reg, HKEY_LOCAL_MACHINE, std::string(kParams) + key, true);
    if (max.Changed()) reg.WriteText("max", max.Now());
    if (min.Changed()) reg.WriteText("min", min.Now());
}

// A box of a frame that holds more than one is "Frame - Label".
void InternetPage2::AddProfileFields(std::vector<ProfileField>& fields) {
    const std::string page = Sheet.Caption();
    for (auto [frame, label, edit] :
         std::initializer_list<std::tuple<ui::GroupBox*, ui::Label*, ui::Edit*>>{
             {&GroupBox24, &Label60, &Edit7},
             {&GroupBox24, &Label61, &Edit8},
             {&GroupBox25, &Label62, &Edit10},
             {&GroupBox25, &Label63, &Edit11}})
        fields.push_back(
            TextField(page, ProfileKey(frame->Caption()) + " - " + ProfileKey(label->Caption()),
                      *edit, true));
    fields.push_back(BoxField(page, CheckBox43));
    fields.push_back(BoxField(page, CheckBox44));
    fields.push_back(SpinField(page, ProfileKey(Label64.Caption()), SpinEdit8));
    const std::string ndi = ProfileKey(GroupBox26.Caption());
    fields.push_back(RadioField(
        page, ndi, {&RadioButton4, &RadioButton6, &RadioButton22, &RadioButton23, &RadioButton24}));
    fields.push_back(Custom(TextField(page, ndi + " - Custom", Edit9, true), ndi, RadioButton24));
}

void InternetPage2::DisableCustomNdiCache() {
    Edit9.SetEnabled(false);
}

}  // namespace vt
