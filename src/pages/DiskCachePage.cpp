#include "pages/DiskCachePage.h"

#include "platform/WholeNumber.h"
#include "store/Folders.h"
#include "store/Paths.h"
#include "store/TIniFile.h"

namespace vt {
namespace {

const char* const kSection = "vcache";

// "User Defined" first; then the minimum, maximum and chunk positions of each profile.
struct Profile {
    const char* item;
    std::array<int, 3> positions;
};
const std::array<Profile, 7> kProfiles = {{
    {"User Defined", {0, 0, 0}},
    {"Standard System", {2, 8, 16}},
    {"Power User", {6, 12, 16}},
    {"Multimedia", {2, 6, 32}},
    {"Gaming System", {1, 8, 8}},
    {"CD Writer", {12, 12, 8}},
    {"Low Memory System", {1, 6, 8}},
}};

}  // namespace

DiskCachePage::DiskCachePage(TForm1& form, Platform& sys, TForm4& help)
    : Sheet("TabSheet4", &form.PageControl1, "Disk-Cache", 9),
      form_(form),
      sys_(sys),
      sizes_{{{"MinFileCache", 1024, Label8, Label22, Label11, TrackBar2},
              {"MaxFileCache", 1024, Label9, Label23, Label12, TrackBar3},
              {"CHUNKSIZE", 32, Label10, Label24, Label13, TrackBar4}}} {
    std::vector<std::string> items;
    for (const Profile& profile : kProfiles) items.push_back(profile.item);
    ComboBox1.SetItems(items);
    ComboBox1.OnChange = [this] { ComboBox1Change(); };
    RxLabel9.SetBounds(8, 8, 0, 24);
    SpeedButton10.SetBounds(440, 10, 75, 22);
    int top = 56;
    for (Size& size : sizes_) {
        size.bar.SetPageSize(1);
        size.bar.OnChange = [this, &size] { TrackBarChange(size); };
        size.caption.SetBounds(16, top, 0, 13);
        size.value.SetBounds(0, top, 0, 13);
        size.kb.SetBounds(0, top, 0, 13);
        size.bar.SetBounds(16, top + 18, 490, 34);
        top += 62;
    }
    GroupBox7.SetBounds(8, 270, 340, 58);
    Label7.SetBounds(12, 12, 0, 13);
    ComboBox1.SetBounds(12, 28, 200, 21);
    SpeedButton10.OnClick = [&form, &help] {
        form.HideAllPages();
        help.Open(form, help.Memo1);
    };
    LayOutSizes();
}

void DiskCachePage::PlaceAfter(ui::Label& label, const ui::Label& before) {
    const ui::Bounds& b = label.GetBounds();
    label.SetBounds(before.GetBounds().left + before.Width() + 5, b.top, b.width, b.height);
}

void DiskCachePage::LayOutSizes() {
    for (Size& size : sizes_) {
        PlaceAfter(size.value, size.caption);
        PlaceAfter(size.kb, size.value);
    }
}

// Whoever moves a track bar, the profile becomes "User Defined"; only a read recognises one.
void DiskCachePage::TrackBarChange(Size& size) {
    ComboBox1.SetItemIndex(0);
    size.value.SetCaption(std::to_string(size.bar.Position() * size.unit));
    PlaceAfter(size.kb, size.value);
}

void DiskCachePage::ComboBox1Change() {
    int index = ComboBox1.ItemIndex();
    if (index >= 1) {
        for (std::size_t i = 0; i < sizes_.size(); ++i)
            sizes_[i].bar.SetPosition(kProfiles[index].positions[i]);
        ComboBox1.SetItemIndex(index);
    }
    for (Size& size : sizes_) PlaceAfter(size.value, size.caption);
    for (Size& size : sizes_)
        size.value.SetCaption(std::to_string(size.bar.Position() * size.unit));
    for (Size& size : sizes_) PlaceAfter(size.kb, size.value);
}

void DiskCachePage::Read() {
    TIniFile ini(sys_, kSystemIni);
    std::array<std::string, 3> texts;
    for (std::size_t i = 0; i < sizes_.size(); ++i) {
        texts[i] = ini.ReadText(kSection, sizes_[i].key, "0");
        stored_[i] = ini.HasValue(kSection, sizes_[i].key);
        remove_[i] = false;
    }
    for (std::size_t i = 0; i < sizes_.size(); ++i) {
        std::optional<int> number = WholeNumber(texts[i]);
        sizes_[i].bar.SetPosition(number ? *number / sizes_[i].unit : 0);
    }
    for (Size& size : sizes_)
        size.value.SetCaption(std::to_string(size.bar.Position() * size.unit));
    int profile = 0;
    for (int p = static_cast<int>(kProfiles.size()) - 1; p >= 1; --p)
        if (kProfiles[p].positions ==
            std::array<int, 3>{TrackBar2.Position(), TrackBar3.Position(), TrackBar4.Position()})
            profile = p;
    ComboBox1.SetItemIndex(profile);
}

void DiskCachePage::ResetToWindowsDefault() {
    for (Size& size : sizes_) size.bar.SetPosition(0);
    for (Size& size : sizes_) size.value.SetCaption("0");
    ComboBox1.SetItemIndex(0);
    if (SystemIniFound()) {
        TIniFile ini(sys_, kSystemIni);
        for (const Size& size : sizes_) ini.RemoveKey(kSection, size.key);
    }
    ui::TakeBaselines(Sheet);
}

void DiskCachePage::LeaveToWindows(std::size_t index) {
    Size& size = sizes_[index];
    size.bar.SetPosition(0);
    TrackBarChange(size);
    remove_[index] = true;
}

bool DiskCachePage::SystemIniFound() {
    return !form_.WindowsDir.empty() && FileExists(sys_, form_.WindowsDir + "\\" + kSystemIni);
}

// A profile other than the one read writes all three sizes; otherwise each size whose track
// bar moved. Off-grid or missing values behind untouched track bars stay as they are (also
// when "User Defined" or the profile shown is chosen again), and SYSTEM.INI is never created.
void DiskCachePage::Write() {
    bool profileChosen = ComboBox1.Changed() && ComboBox1.ItemIndex() >= 1;
    bool any = profileChosen;
    for (std::size_t i = 0; i < sizes_.size(); ++i)
        any = any || sizes_[i].bar.Changed() || remove_[i];
    if (!any || !SystemIniFound()) return;
    TIniFile ini(sys_, kSystemIni);
    for (std::size_t i = 0; i < sizes_.size(); ++i) {
        const Size& size = sizes_[i];
        if (remove_[i] && !(profileChosen || size.bar.Position() != 0)) {
            if (ini.HasValue(kSection, size.key)) ini.RemoveKey(kSection, size.key);
        } else if (profileChosen || size.bar.Changed()) {
            ini.WriteText(kSection, size.key, size.value.Caption());
        }
    }
}

ManagedStores DiskCachePage::Touches() {
    ManagedStores touches;
    for (const Size& size : sizes_) touches.Add(ManagedIniKey{kSystemIni, kSection, size.key});
    return touches;
}

// Without a stored size Windows sizes the cache itself: no position stands for that.
void DiskCachePage::AddProfileFields(std::vector<ProfileField>& fields) {
    for (std::size_t index = 0; index < sizes_.size(); ++index) {
        ProfileField size = TrackField(Sheet.Caption(), ProfileKey(sizes_[index].caption.Caption()),
                                       sizes_[index].bar);
        size.missing = [this, index] { return SizeLeftToWindows(index); };
        size.unset = [this, index] { LeaveToWindows(index); };
        size.unavailable = [this]() -> std::optional<std::string> {
            if (SystemIniFound()) return std::nullopt;
            return "SYSTEM.INI was not found in the Windows folder";
        };
        fields.push_back(std::move(size));
    }
}
}  // namespace vt
