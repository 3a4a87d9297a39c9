#include "pages/FileCachePage.h"

#include "pages/SettingsTable.h"
#include "store/BinaryValue.h"
#include "store/StoreError.h"

#include <array>
#include <utility>

namespace vt {
namespace {

constexpr int kNameUnit = 512;
constexpr int kPathUnit = 8;
const char* const kOwnTemplate = "Veltrim";
const char* const kOwnTitle = "Veltrim Settings";

// "User Defined" first; the Windows roles with their template and cache sizes.
struct Role {
    const char* item;
    const char* templateName;
    int nameCache, pathCache;
};
const std::array<Role, 4> kRoles = {{
    {"User Defined", nullptr, 0, 0},
    {"Desktop Computer", "Desktop", 0, 0},
    {"Mobile or docking system", "Mobile", 337, 16},
    {"Network Server", "Server", 2729, 64},
}};

// A missing value, or one that is no binary of at most 4 bytes, leaves the number as it was.
void ReadNumber(TRegistry& reg, const char* name, std::int32_t& number) {
    BinaryValue bytes;
    bytes.SetNumber(static_cast<DWORD>(number));
    try {
        reg.ReadBytes(name, bytes.Data(), BinaryValue::kSize);
        number = static_cast<std::int32_t>(bytes.Number());
    } catch (const StoreError&) {
    }
}

void WriteNumber(TRegistry& reg, const char* name, std::int32_t number) {
    BinaryValue bytes;
    bytes.SetNumber(static_cast<DWORD>(number));
    reg.WriteBytes(name, bytes.Data(), BinaryValue::kSize);
}

// Kilobytes by dropping the low 10 bits; a zero total shows 0.
int PerCent(DWORD available, DWORD total) {
    DWORD availableKb = available >> 10, totalKb = total >> 10;
    return totalKb == 0 ? 0 : static_cast<int>(availableKb * 100u / totalKb);
}

}  // namespace

FileCachePage::FileCachePage(TForm1& form, Platform& sys, TForm4& help)
    : Sheet("TabSheet8", &form.PageControl1, "File-Cache", 8), sys_(sys) {
    std::vector<std::string> items;
    for (const Role& role : kRoles) items.push_back(role.item);
    ComboBox3.SetItems(items);
    SpinEdit6.SetIncrement(kNameUnit);
    SpinEdit6.SetMaxLength(4);
    SpinEdit7.SetIncrement(kPathUnit);
    SpinEdit7.SetMaxLength(3);
    SpinEdit6.SetValue(0);
    SpinEdit7.SetValue(0);
    TrackBar5.OnChange = [this] { TrackBarChange(TrackBar5, SpinEdit6, kNameUnit); };
    TrackBar6.OnChange = [this] { TrackBarChange(TrackBar6, SpinEdit7, kPathUnit); };
    // Coupled once the number is complete: typed digits are not rewritten under the caret.
    SpinEdit6.OnCommit = [this] { SpinEditChange(SpinEdit6, TrackBar5, kNameUnit); };
    SpinEdit7.OnCommit = [this] { SpinEditChange(SpinEdit7, TrackBar6, kPathUnit); };
    ComboBox3.OnChange = [this] { ComboBox3Change(); };
    SpeedButton9.OnClick = [&form, &help] {
        form.HideAllPages();
        help.Open(form, help.Memo2);
    };
    LayOut();
}

void FileCachePage::LayOut() {
    RxLabel8.SetBounds(8, 8, 0, 24);
    SpeedButton9.SetBounds(440, 10, 75, 22);
    Label32.SetBounds(16, 52, 0, 13);
    Label34.SetBounds(470, 52, 0, 13);
    ProgressBar1.SetBounds(140, 50, 320, 17);
    Label33.SetBounds(16, 80, 0, 13);
    Label46.SetBounds(470, 80, 0, 13);
    ProgressBar2.SetBounds(140, 78, 320, 17);
    Label29.SetBounds(16, 122, 0, 13);
    TrackBar5.SetBounds(130, 114, 300, 34);
    SpinEdit6.SetBounds(440, 118, 64, 21);
    Label30.SetBounds(16, 170, 0, 13);
    TrackBar6.SetBounds(130, 162, 300, 34);
    SpinEdit7.SetBounds(440, 166, 64, 21);
    GroupBox12.SetBounds(8, 270, 340, 58);
    Label17.SetBounds(12, 12, 0, 13);
    ComboBox3.SetBounds(12, 28, 200, 21);
}

void FileCachePage::FillMemoryGauges() {
    MEMORYSTATUS status{};
    status.dwLength = 32;
    sys_.GlobalMemoryStatus(&status);
    ProgressBar1.SetPosition(PerCent(status.dwAvailPhys, status.dwTotalPhys));
    ProgressBar2.SetPosition(PerCent(status.dwAvailPageFile, status.dwTotalPageFile));
    Label34.SetCaption(std::to_string(ProgressBar1.Position()) + " %");
    Label46.SetCaption(std::to_string(ProgressBar2.Position()) + " %");
}

void FileCachePage::Follow(ui::TrackBar& bar, int position) {
    bool wasQuiet = std::exchange(quiet_, true);
    bar.SetPosition(position);
    quiet_ = wasQuiet;
}

// The spin edits hold the values; the track bars show them on a coarse grid.
void FileCachePage::TrackBarChange(ui::TrackBar& bar, ui::SpinEdit& spin, int unit) {
    if (quiet_) return;
    spin.SetValue(bar.Position() * unit);
    ComboBox3.SetItemIndex(0);
}

void FileCachePage::SpinEditChange(ui::SpinEdit& spin, ui::TrackBar& bar, int unit) {
    bar.SetPosition(spin.Value() / unit);
}

void FileCachePage::ComboBox3Change() {
    int index = ComboBox3.ItemIndex();
    if (index < 0) return;
    if (index == 0) {
        TemplateName = kOwnTemplate;
        return;
    }
    const Role& role = kRoles[index];
    bool wasQuiet = std::exchange(quiet_, true);
    SpinEdit6.SetValue(role.nameCache);
    SpinEdit7.SetValue(role.pathCache);
    quiet_ = wasQuiet;
    TemplateName = role.templateName;
}

void FileCachePage::ResetToWindowsDefault() {
    SpinEdit6.SetValue(0);
    SpinEdit7.SetValue(0);
    TemplateName = "Desktop";
    TrackBar5.SetPosition(0);
    TrackBar6.SetPosition(0);
    ComboBox3.SetItemIndex(1);
}

void FileCachePage::Read() {
    TRegistry reg(sys_);
    TemplateName.clear();
    if (OpenKey(reg, HKEY_LOCAL_MACHINE, kTemplates, false)) {
        try {
            TemplateName = reg.ReadText("");
        } catch (const StoreError&) {
        }
        // An empty name, or one that names no subkey, leaves "FS Templates" itself open.
        reg.OpenPath(TemplateName, false);
        ReadNumber(reg, "NameCache", NameCacheNumber);
        ReadNumber(reg, "PathCache", PathCacheNumber);
    }
    bool wasQuiet = std::exchange(quiet_, true);
    SpinEdit6.SetValue(NameCacheNumber);
    SpinEdit7.SetValue(PathCacheNumber);
    Follow(TrackBar5, SpinEdit6.Value() / kNameUnit);
    Follow(TrackBar6, SpinEdit7.Value() / kPathUnit);
    quiet_ = wasQuiet;
    int role = 0;
    for (int i = 1; i < static_cast<int>(kRoles.size()); ++i)
        if (TemplateName == kRoles[i].templateName) role = i;
    ComboBox3.SetItemIndex(role);
}

// Written only once the user moved a cache size or chose a role: a Windows role selects its
// template; "User Defined" writes the program's own template and selects it.
void FileCachePage::Write() {
    if (!ComboBox3.Changed() && !SpinEdit6.Changed() && !SpinEdit7.Changed()) return;
    NameCacheNumber = SpinEdit6.Value();
    PathCacheNumber = SpinEdit7.Value();
    TRegistry reg(sys_);
    // A Windows role names one of the templates Windows keeps; where there are none, Windows
    // uses its own figures and there is nothing to select.
    const bool windowsRole = ComboBox3.ItemIndex() != 0;
    if (!OpenKey(reg, HKEY_LOCAL_MACHINE, kTemplates, !windowsRole)) return;
    if (windowsRole) {
        reg.WriteText("", TemplateName);
        return;
    }
    reg.WriteText("", kOwnTemplate);
    reg.OpenPath(kOwnTemplate, true);
    if (GuardedReadText(reg, "", "") != kOwnTitle) reg.WriteText("", kOwnTitle);
    WriteNumber(reg, "NameCache", NameCacheNumber);
    WriteNumber(reg, "PathCache", PathCacheNumber);
}

ManagedStores FileCachePage::Touches() {
    // The template chosen, and the program's own.
    return {OpenedKey(HKEY_LOCAL_MACHINE, kTemplates, {""}),
            MadeKey(HKEY_LOCAL_MACHINE, std::string(kTemplates) + "\\" + kOwnTemplate,
                    {"", "NameCache", "PathCache"})};
}

void FileCachePage::AddProfileFields(std::vector<ProfileField>& fields) {
    const std::string page = Sheet.Caption();
    fields.push_back(ListField(page, ProfileKey(Label17.Caption()), ComboBox3));
    fields.push_back(SpinField(page, ProfileKey(Label29.Caption()), SpinEdit6));
    fields.push_back(SpinField(page, ProfileKey(Label30.Caption()), SpinEdit7));
}
}  // namespace vt
