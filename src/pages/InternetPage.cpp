#include "pages/InternetPage.h"

#include "pages/SettingsTable.h"

namespace vt {
namespace {

const char* const kMtuName = "IPMTU";
const char* const kReceiveWindowName = "DefaultRcvWindow";
const char* const kTimeToLiveName = "DefaultTTL";

// Written only where the value exists or the text is not empty: an emptied box never creates
// a value.
void WriteUnlessEmptyAndMissing(TRegistry& reg, const std::string& name, const std::string& text) {
    if (reg.HasValue(name) || !text.empty()) reg.WriteText(name, text);
}

}  // namespace

InternetPage::InternetPage(TForm1& form, Platform& sys, TForm4& help)
    : Sheet("TabSheet5", &form.PageControl1, "Internet #1", 4),
      form_(form),
      sys_(sys),
      mtu_{{{RadioButton18, "0"}, {RadioButton5, "576"}, {RadioButton7, "1500"}},
           RadioButton8,
           Edit3},
      receiveWindow_{{{RadioButton9, "2680"},
                      {RadioButton10, "5840"},
                      {RadioButton11, "8760"},
                      {RadioButton12, "10220"},
                      {RadioButton13, "8192"}},
                     RadioButton14,
                     Edit4},
      timeToLive_{{{RadioButton15, "32"}, {RadioButton16, "64"}, {RadioButton17, "128"}},
                  RadioButton19,
                  Edit5} {
    Bind(mtu_, [this] { return CurrentMtu(); });
    Bind(receiveWindow_, [this] { return &ReceiveWindowText.Now(); });
    Bind(timeToLive_, [this] { return &TimeToLiveText.Now(); });
    ComboBox2.OnChange = [this] { ComboBox2Change(); };
    SpeedButton4.OnClick = [this] { SpeedButton4Click(); };
    SpeedButton5.OnClick = [this] { SpeedButton5Click(); };
    SpeedButton8.OnClick = [this, &form, &help] {
        form.HideAllPages();
        help.Open(form, help.Memo3);
    };
    form.ClearsDescription(Sheet, Memo4);
    form.ClearsDescription(GroupBox9, Memo4);
    form.RegisterMemo(Memo4);
    LayOut();
}

void InternetPage::LayOut() {
    RxLabel5.SetBounds(8, 8, 0, 24);
    SpeedButton8.SetBounds(440, 10, 75, 22);
    GroupBox9.SetBounds(8, 44, 250, 132);
    Label48.SetBounds(12, 18, 0, 13);
    ComboBox2.SetBounds(12, 34, 226, 21);
    RadioButton18.SetBounds(12, 64, 100, 17);
    RadioButton5.SetBounds(12, 84, 100, 17);
    RadioButton7.SetBounds(12, 104, 100, 17);
    RadioButton8.SetBounds(130, 64, 100, 17);
    Edit3.SetBounds(130, 84, 60, 21);
    GroupBox10.SetBounds(266, 44, 250, 132);
    RadioButton9.SetBounds(12, 20, 100, 17);
    RadioButton10.SetBounds(12, 40, 100, 17);
    RadioButton11.SetBounds(12, 60, 100, 17);
    RadioButton12.SetBounds(12, 80, 100, 17);
    RadioButton13.SetBounds(130, 20, 110, 17);
    RadioButton14.SetBounds(130, 40, 100, 17);
    Edit4.SetBounds(130, 60, 60, 21);
    GroupBox11.SetBounds(8, 182, 250, 84);
    RadioButton15.SetBounds(12, 20, 100, 17);
    RadioButton16.SetBounds(12, 40, 100, 17);
    RadioButton17.SetBounds(12, 60, 100, 17);
    RadioButton19.SetBounds(130, 20, 100, 17);
    Edit5.SetBounds(130, 40, 60, 21);
    SpeedButton4.SetBounds(266, 192, 75, 25);
    SpeedButton5.SetBounds(350, 192, 75, 25);
    GroupBox8.SetBounds(8, 272, 340, 56);
    Memo4.SetBounds(10, 14, 320, 36);
    Memo4.SetEnabled(false);
    for (ui::Edit* edit : {&Edit3, &Edit4, &Edit5}) {
        edit->SetMaxLength(5);
        edit->SetEnabled(false);
    }
}

// A fixed button stores its text and puts the box away; "Custom" opens the box on the text.
void InternetPage::Bind(Group& group, std::function<std::string*()> kept) {
    for (Choice& choice : group.fixed) {
        choice.button.OnClick = [&group, kept, text = choice.text] {
            group.edit.SetEnabled(false);
            if (std::string* value = kept()) *value = text;
        };
        choice.button.OnChosen = [this, kept] { MarkChosen(kept()); };
    }
    group.custom.OnChosen = [this, kept] { MarkChosen(kept()); };
    group.custom.OnClick = [&group, kept] {
        group.edit.SetEnabled(true);
        if (std::string* value = kept()) group.edit.SetText(*value);
    };
    KeepWholeNumberText(group.edit, kept);
}

// Texts compare exactly: "0576" is a custom MTU.
void InternetPage::Show(Group& group, const std::string& text) {
    for (Choice& choice : group.fixed)
        if (text == choice.text) {
            choice.button.SetChecked(true);
            return;
        }
    group.custom.SetChecked(true);
    group.edit.SetEnabled(true);
    group.edit.SetText(text);
}

// The kind the MTU buttons stand for: the only kind found, or the one chosen in the list.
std::string* InternetPage::CurrentMtu() {
    if (DialUpPresent && !LanPresent) return &DialUpMtu.Now();
    if (LanPresent && !DialUpPresent) return &LanMtu.Now();
    if (!ConnectionFound) return nullptr;
    if (ComboBox2.ItemIndex() == 0) return &DialUpMtu.Now();
    if (ComboBox2.ItemIndex() == 1) return &LanMtu.Now();
    return nullptr;
}

std::string InternetPage::AdapterKey(int index) {
    std::string key = kNetClass;
    key.append("000").append(std::to_string(index));
    return key;
}

// The MTU of a kind the user (or a preset) set: written into every adapter key of the kind
// that holds another value, even when the page showed that value already.
void InternetPage::MarkChosen(const std::string* value) {
    if (value == &DialUpMtu.Now()) dialUpChosen_ = true;
    if (value == &LanMtu.Now()) lanChosen_ = true;
}

void InternetPage::Read() {
    dialUpChosen_ = lanChosen_ = false;
    dialUpMtuStored_ = lanMtuStored_ = receiveWindowStored_ = timeToLiveStored_ = {};
    for (int index = 0; index <= 6; ++index) {
        TRegistry reg(sys_);
        if (!OpenKey(reg, HKEY_LOCAL_MACHINE, AdapterKey(index), false)) continue;
        bool dialUp = GuardedReadText(reg, "DriverDesc", "") == kDialUp;
        (dialUp ? DialUpPresent : LanPresent) = true;
        ConnectionFound = true;
        (dialUp ? DialUpMtu : LanMtu).Read(GuardedReadText(reg, kMtuName, "0"));
        (dialUp ? dialUpMtuStored_ : lanMtuStored_).stored = reg.HasValue(kMtuName);
    }
    std::vector<std::string> entries;
    if (DialUpPresent) entries.push_back(kPhoneLine);
    if (LanPresent) entries.push_back(kLan);
    if (!ConnectionFound) entries.push_back(kNoConnection);
    if (entries != ComboBox2.Items()) ComboBox2.SetItems(entries);
    if (!ConnectionFound) ComboBox2.SetItemIndex(0);

    TRegistry reg(sys_);
    bool open = OpenKey(reg, HKEY_LOCAL_MACHINE, kMstcp, false);
    ReceiveWindowText.Read(open ? GuardedReadText(reg, kReceiveWindowName, "8192") : "8192");
    TimeToLiveText.Read(open ? GuardedReadText(reg, kTimeToLiveName, "32") : "32");
    receiveWindowStored_.stored = open && reg.HasValue(kReceiveWindowName);
    timeToLiveStored_.stored = open && reg.HasValue(kTimeToLiveName);
}

void InternetPage::IsiDataInternet() {
    if (LanPresent && !DialUpPresent)
        Show(mtu_, LanMtu.Now());
    else if (DialUpPresent)
        Show(mtu_, DialUpMtu.Now());
    Show(receiveWindow_, ReceiveWindowText.Now());
    Show(timeToLive_, TimeToLiveText.Now());
}

void InternetPage::InternetDisable() {
    for (ui::Control* control : std::initializer_list<ui::Control*>{
             &GroupBox9,     &GroupBox10,    &GroupBox11,    &Label48,       &ComboBox2,
             &RadioButton18, &RadioButton5,  &RadioButton7,  &RadioButton8,  &RadioButton9,
             &RadioButton10, &RadioButton11, &RadioButton12, &RadioButton13, &RadioButton14,
             &RadioButton15, &RadioButton16, &RadioButton17, &RadioButton19, &Edit3,
             &Edit4,         &Edit5,         &SpeedButton4,  &SpeedButton5})
        control->SetEnabled(false);
}

// The same values as " Default".
void InternetPage::ResetToWindowsDefault() {
    SpeedButton4Click();
}

void InternetPage::ComboBox2Change() {
    if (ComboBox2.ItemIndex() == 0)
        Show(mtu_, DialUpPresent ? DialUpMtu.Now() : LanMtu.Now());
    else if (ComboBox2.ItemIndex() == 1)
        Show(mtu_, LanMtu.Now());
}

void InternetPage::SpeedButton4Click() {
    DialUpMtu.Set("0");
    LanMtu.Set("0");
    dialUpChosen_ = lanChosen_ = true;
    ReceiveWindowText.Set("8192");
    TimeToLiveText.Set("32");
    RadioButton18.SetChecked(true);
    RadioButton13.SetChecked(true);
    RadioButton15.SetChecked(true);
}

void InternetPage::SpeedButton5Click() {
    if (!ConnectionFound) return;
    if (DialUpPresent) DialUpMtu.Set("576");
    if (LanPresent) LanMtu.Set("1500");
    dialUpChosen_ = DialUpPresent;
    lanChosen_ = LanPresent;
    ReceiveWindowText.Set(DialUpPresent && LanPresent ? "5840" : DialUpPresent ? "2680" : "8760");
    TimeToLiveText.Set("128");
    bool showsLan = !DialUpPresent || (LanPresent && ComboBox2.ItemIndex() == 1);
    if (showsLan)
        RadioButton7.SetChecked(true);
    else if (!LanPresent || ComboBox2.ItemIndex() == 0)
        RadioButton5.SetChecked(true);
    (DialUpPresent && LanPresent ? RadioButton10
     : DialUpPresent             ? RadioButton9
                                 : RadioButton11)
        .SetChecked(true);
    RadioButton17.SetChecked(true);
}

// Only what the user changed is written: the MTU of a kind whose text changed goes into
// every adapter key of that kind, the MSTCP values that changed into that key.
void InternetPage::Write() {
    if (!ConnectionFound) return;
    if (DialUpMtu.Changed() || LanMtu.Changed() || dialUpChosen_ || lanChosen_ ||
        dialUpMtuStored_.remove || lanMtuStored_.remove)
        WriteMtu();
    const bool removeReceive = Removes(receiveWindowStored_, ReceiveWindowText, "8192");
    const bool removeTtl = Removes(timeToLiveStored_, TimeToLiveText, "32");
    if (!ReceiveWindowText.Changed() && !TimeToLiveText.Changed() && !removeReceive && !removeTtl)
        return;
    TRegistry reg(sys_);
    bool open = OpenKey(reg, HKEY_LOCAL_MACHINE, kMstcp, false);
    if (removeReceive) {
        if (open && reg.HasValue(kReceiveWindowName)) reg.RemoveValue(kReceiveWindowName);
    } else if (ReceiveWindowText.Changed()) {
        WriteUnlessEmptyAndMissing(reg, kReceiveWindowName, ReceiveWindowText.Now());
    }
    if (removeTtl) {
        if (open && reg.HasValue(kTimeToLiveName)) reg.RemoveValue(kTimeToLiveName);
    } else if (TimeToLiveText.Changed()) {
        WriteUnlessEmptyAndMissing(reg, kTimeToLiveName, TimeToLiveText.Now());
    }
}

// "(not set)" of a profile: the page shows Windows' default and the write removes the value.
void InternetPage::AddUnset(ProfileField& field, Presence& presence,
                            ui::Recorded<std::string>& value, const char* windowsDefault) {
    field.missing = [this, &presence, &value, windowsDefault] {
        return presence.remove ? Removes(presence, value, windowsDefault)
                               : !presence.stored && !value.Changed();
    };
    field.unset = [this, &presence, &value, windowsDefault] {
        presence.remove = true;
        value.Set(windowsDefault);
        IsiDataInternet();
    };
}

// A frame's radio buttons by their captions, and its "Custom" box.
void InternetPage::AddGroupFields(std::vector<ProfileField>& fields, const std::string& key,
                                  Group& group) {
    std::vector<ui::RadioButton*> buttons;
    for (Choice& choice : group.fixed) buttons.push_back(&choice.button);
    buttons.push_back(&group.custom);
    fields.push_back(RadioField(Sheet.Caption(), key, buttons));
    fields.push_back(
        Custom(TextField(Sheet.Caption(), key + " - Custom", group.edit, true), key, group.custom));
}

void InternetPage::AddProfileFields(std::vector<ProfileField>& fields) {
    const std::string frame = ProfileKey(GroupBox9.Caption());
    struct Kind {
        const char* name;
        const bool& present;
        ui::Recorded<std::string>& mtu;
        int item;  // in the connection list while both kinds are there
    };
    // The MTU buttons stand for one kind at a time: each kind's fields show its own value,
    // choose the kind in the list first, and are skipped without an adapter of the kind.
    for (const Kind& kind :
         {Kind{"Dial-Up", DialUpPresent, DialUpMtu, 0}, Kind{"LAN", LanPresent, LanMtu, 1}}) {
        std::size_t first = fields.size();
        AddGroupFields(fields, frame + " - " + kind.name, mtu_);
        AddUnset(fields[first], kind.name == std::string("LAN") ? lanMtuStored_ : dialUpMtuStored_,
                 kind.mtu, "0");
        fields[first].shown = [this, kind] {
            for (const Choice& choice : mtu_.fixed)
                if (kind.mtu.Now() == choice.text) return ProfileKey(choice.button.Caption());
            return ProfileKey(mtu_.custom.Caption());
        };
        fields[first + 1].shown = [kind] { return kind.mtu.Now(); };
        for (std::size_t i = first; i < fields.size(); ++i) {
            fields[i].choose = [this, kind, choose = fields[i].choose](const std::string& value) {
                if (DialUpPresent && LanPresent && ComboBox2.ItemIndex() != kind.item)
                    ComboBox2.ChooseItem(kind.item);
                choose(value);
            };
            fields[i].unavailable = [this, kind]() -> std::optional<std::string> {
                if (!kind.present) return "this PC has no " + std::string(kind.name) + " adapter";
                if (!GroupBox9.Enabled()) return "the setting cannot be changed on this PC";
                return std::nullopt;
            };
        }
    }
    AddGroupFields(fields, ProfileKey(GroupBox10.Caption()), receiveWindow_);
    AddUnset(fields[fields.size() - 2], receiveWindowStored_, ReceiveWindowText, "8192");
    AddGroupFields(fields, ProfileKey(GroupBox11.Caption()), timeToLive_);
    AddUnset(fields[fields.size() - 2], timeToLiveStored_, TimeToLiveText, "32");
}

// Keys 0000 to 0006 may have gaps; past them the walk goes on while keys follow.
void InternetPage::WriteMtu() {
    for (int index = 0;; ++index) {
        TRegistry reg(sys_);
        if (!OpenKey(reg, HKEY_LOCAL_MACHINE, AdapterKey(index), false)) {
            if (index >= 6) break;
            continue;
        }
        const bool dialUp = GuardedReadText(reg, "DriverDesc", "") == kDialUp;
        const ui::Recorded<std::string>& mtu = dialUp ? DialUpMtu : LanMtu;
        const bool chosen = dialUp ? dialUpChosen_ : lanChosen_;
        if (Removes(dialUp ? dialUpMtuStored_ : lanMtuStored_, mtu, "0")) {
            if (reg.HasValue(kMtuName)) reg.RemoveValue(kMtuName);
            continue;
        }
        if ((mtu.Changed() || chosen) && GuardedReadText(reg, kMtuName, "") != mtu.Now())
            WriteUnlessEmptyAndMissing(reg, kMtuName, mtu.Now());
    }
}

ManagedStores InternetPage::Touches() {
    // The adapters' keys and MSTCP are only ever opened.
    return {OpenedKey(HKEY_LOCAL_MACHINE, std::string(kNetClass) + "*", {kMtuName}),
            OpenedKey(HKEY_LOCAL_MACHINE, kMstcp, {kReceiveWindowName, kTimeToLiveName})};
}

}  // namespace vt
