#include "pages/SystemPage.h"

#include "pages/PageLayout.h"
#include "pages/PageSettings.h"

#include "platform/NoCase.h"
#include "platform/WholeNumber.h"
#include "store/Folders.h"
#include "store/Paths.h"

#include <algorithm>
#include <array>

namespace vt {
namespace {

const char* const kCurrentVersion = "Software\\Microsoft\\Windows\\CurrentVersion";
const char* const kSetup = "Software\\Microsoft\\Windows\\CurrentVersion\\Setup";
const char* const kWindowMetrics = "Control Panel\\Desktop\\WindowMetrics";
const char* const kExplorer = "Software\\Microsoft\\Windows\\CurrentVersion\\explorer";
const char* const kCdfs = "System\\CurrentControlSet\\Control\\FileSystem\\CDFS";
const char* const kFileSystem = "System\\CurrentControlSet\\Control\\FileSystem";

// A track bar band: the kept values up to `upTo` take this position; a move sets `value`.
struct Band {
    std::int64_t upTo;
    std::int32_t value;
};
constexpr std::int64_t kAbove = INT64_MAX;

const std::array<Band, 5> kIconCacheBands = {
    {{512, 512}, {1024, 1024}, {2048, 2048}, {4096, 4096}, {kAbove, 8064}}};
const std::array<Band, 4> kCdCacheBands = {
    {{620, 620}, {1240, 1240}, {2480, 2480}, {kAbove, 4960}}};
const std::array<Band, 11> kSpeedBands = {{{228, 228},
                                           {346, 346},
                                           {402, 402},
                                           {540, 540},
                                           {580, 580},
                                           {700, 700},
                                           {732, 732},
                                           {940, 940},
                                           {1140, 1140},
                                           {1340, 1340},
                                           {kAbove, 1400}}};
const std::array<int, 11> kSpeeds = {4, 8, 10, 16, 18, 22, 24, 32, 40, 48, 50};

template <std::size_t N>
int BandOf(const std::array<Band, N>& bands, std::int64_t kept) {
    if (kept < 0) return 0;
    for (std::size_t i = 0; i < N; ++i)
        if (kept <= bands[i].upTo) return static_cast<int>(i);
    return static_cast<int>(N) - 1;
}

std::string IconCacheLabel(const std::string& count) {
    return "Up to " + count + " icons will be cached.";
}
std::string CdCacheLabel(std::int32_t size) {
    return "CD-ROM cache size : " + std::to_string(static_cast<std::int64_t>(size) * 2) + " kB";
}
std::string SpeedLabel(int position) {
    return "CD-ROM Speed : " + std::to_string(kSpeeds[position]) + "x";
}

}  // namespace

// In the page's read and write order.
SettingsList SystemPage::Settings() {
    const Store systemIni = Store::ExistingIni(kSystemIni, "386Enh");
    const Store sound = Store::Registry(HKEY_CURRENT_USER, "Control Panel\\Sound");
    const Store fileSystem = Store::Registry(HKEY_LOCAL_MACHINE, kFileSystem);
    const Store fdc = Store::Registry(HKEY_LOCAL_MACHINE,
                                      "System\\CurrentControlSet\\Services\\Class\\fdc\\0000");
    const Store logon = Store::Registry(HKEY_LOCAL_MACHINE, "Network\\Logon");
    const Store policies = Store::Registry(
        HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer");
    using enum WriteIdiom;
    // clang-format off
    return {
        Setting{.box = &CheckBox15, .store = sound, .name = "Beep", .on = "YES", .off = "NO", .idiom = SetOrRestore, .fallback = "NO", .windowsDefault = false, .upperCase = true,
         .description = "Use this option to generate a beep sound when an error occurs."},
        Setting{.box = &CheckBox16, .store = systemIni, .name = "LocalLoadHigh", .on = "1", .idiom = SetOrDelete, .fallback = "0", .windowsDefault = false,
         .description = "Use this option to get about 2-12 kb of conventional memory in Windows MS-DOS prompt."},
        Setting{.box = &CheckBox17, .store = fileSystem, .name = "ContigFileAllocSize", .on = 512, .idiom = SetOrDelete, .fallback = 0, .windowsDefault = false,
         .description = "Use this option to increase Windows performance when running multimedia applications."},
        Setting{.box = &CheckBox18, .store = systemIni, .name = "PageBuffers", .on = "32", .idiom = SetOrDelete, .fallback = "0", .windowsDefault = false,
         .description = "Use this option to increase your harddisk performance when Windows access swap file."},
        Setting{.box = &CheckBox19, .store = fileSystem, .name = "DisableLowDiskSpaceBroadcast", .on = Binary{0xFFFFFFFF}, .idiom = SetOrDelete, .fallback = Binary{9}, .windowsDefault = false,
         .description = "Use this option to disable warning message when your harddisk allmost full."},
        Setting{.box = &CheckBox20, .store = fdc, .name = "ForceFIFO", .on = "0", .idiom = SetOrDelete, .fallback = "1", .windowsDefault = false,
         .description = "Use this option to increase disk drive performance."},
        TextEditor(sys_, CheckBox21, {{&state_.sourcePath, HKEY_LOCAL_MACHINE, kSetup, "SourcePath", ""}},
                   "Use this option to change Windows installation directory.", [this] { PressEditor(CheckBox21, "WinDir"); }),
        TextEditor(sys_, CheckBox22,
                   {{&state_.owner, HKEY_LOCAL_MACHINE, kCurrentVersion, "RegisteredOwner", ""},
                    {&state_.organization, HKEY_LOCAL_MACHINE, kCurrentVersion, "RegisteredOrganization", ""}},
                   "Use this option to change Windows owner information.", [this] { PressEditor(CheckBox22, "Owner"); }),
        Setting{.box = &CheckBox23, .store = logon, .name = "MustBeValidated", .on = 1, .idiom = SetOrDelete, .fallback = 0, .windowsDefault = false,
         .description = "Use this option to prevent your Windows system from someone that does not have permission."},
        // Missing, or no whole number: the default either way.
        TextEditor(sys_, CheckBox24, {{&state_.iconDepth, HKEY_CURRENT_USER, kWindowMetrics, "Shell Icon BPP", "16", true}},
                   "Use this option to change icon color format. Choosing a higher setting allows more color to be displayed.",
                   [this] { PressEditor(CheckBox24, nullptr); }, false),
        TextEditor(sys_, CheckBox25, {{&state_.iconCache, HKEY_LOCAL_MACHINE, kExplorer, "Max Cached Icons", "512", true}},
                   "Use this option to configure how much icons will be cached at the same time. Suggestion: Try 2048.",
                   [this] { PressEditor(CheckBox25, "IconCache"); }, false),
        Setting{.box = &CheckBox26, .store = policies, .name = "NoDriveTypeAutoRun", .on = Binary{0xBD}, .off = Binary{0x95}, .idiom = SetOrRestore, .fallback = Binary{9}, .windowsDefault = false,
         .description = "Use this option to disable autoplay feature on data CD, but keep audio CD."},
        Editor{.box = &CheckBox27,
               .read = [this] { ReadNumber(state_.cdCache, "CacheSize", 620); },
               .write = [this] {
                   if (CheckBox27.Checked() && state_.cdCache.Changed())
                       WriteRegistryNumberAs(sys_, HKEY_LOCAL_MACHINE, kCdfs, "CacheSize", state_.cdCache.Now());
               },
               .description = "Use this option to increase your CD-ROM performance. Suggestion: Try 2480.",
               .press = [this] { PressEditor(CheckBox27, "CDCache"); },
               .windowsDefault = false,
               .touches = {MadeKey(HKEY_LOCAL_MACHINE, kCdfs, {"CacheSize"})}},
        Editor{.box = &CheckBox28,
               .read = [this] { ReadNumber(state_.prefetch, "PreFetch", 228); },
               .write = [this] {
                   if (CheckBox28.Checked() && state_.prefetch.Changed())
                       WriteRegistryNumberAs(sys_, HKEY_LOCAL_MACHINE, kCdfs, "PreFetch", state_.prefetch.Now());
               },
               .description = "Use this option to configure your CD-ROM speed. Suggestion: Set the value the same as your CD-ROM speed",
               .press = [this] { PressEditor(CheckBox28, "CDSpeed"); },
               .windowsDefault = false,
               .touches = {MadeKey(HKEY_LOCAL_MACHINE, kCdfs, {"PreFetch"})}},
    };
    // clang-format on
}

SystemPage::SystemPage(TForm1& form, Platform& sys, ui::Prompts& prompts)
    : Sheet("TabSheet2", &form.PageControl1, "System", 1),
      form_(form),
      sys_(sys),
      prompts_(prompts),
      settings_(Settings()) {
    form.ClearsDescription(Sheet, Memo2);
    form.ClearsDescription(GroupBox3, Memo2);
    form.RegisterMemo(Memo2);

    AttachSettings(form, settings_, Memo2);

    Edit1.OnChange = [this] {
        if (InMode("WinDir")) state_.sourcePath.Set(Edit1.Text());
        if (InMode("Owner")) state_.owner.Set(Edit1.Text());
    };
    Edit2.OnChange = [this] {
        if (InMode("Owner")) state_.organization.Set(Edit2.Text());
    };
    SpeedButton1.OnClick = [this] { SpeedButton1Click(); };
    TrackBar1.OnChange = [this] { TrackBar1Change(); };
    RadioButton1.OnClick = [this] { state_.iconDepth.Set("16"); };
    RadioButton2.OnClick = [this] { state_.iconDepth.Set("24"); };
    RadioButton3.OnClick = [this] { state_.iconDepth.Set("32"); };

    LayOut();
    HideDetails();
}

void SystemPage::ReadNumber(ui::Recorded<StoredNumber>& number, const char* name,
                            std::int32_t fallback) {
    StoredNumber stored =
        ReadRegistryNumberOfEitherType(sys_, HKEY_LOCAL_MACHINE, kCdfs, name, fallback);
    if (stored.type)
        number.Read(stored);
    else
        number.ReadInexact(stored);
}

void SystemPage::LayOut() {
    LayOutHeaderAndColumns(Image3, RxLabel2, settings_.Boxes());
    LayOutDescription(GroupBox3, Memo2);
    GroupBox4.SetBounds(8, 274, 340, 66);
    Label3.SetBounds(16, 10, 0, 13);
    Label4.SetBounds(168, 10, 0, 13);
    Edit1.SetBounds(16, 28, 137, 21);
    Edit2.SetBounds(168, 28, 150, 21);
    SpeedButton1.SetBounds(157, 28, 23, 21);
    TrackBar1.SetBounds(16, 18, 130, 30);
    RadioButton1.SetBounds(16, 32, 64, 17);
    RadioButton2.SetBounds(88, 32, 60, 17);
    RadioButton3.SetBounds(152, 32, 60, 17);
}

bool SystemPage::InMode(const char* mode) const {
    return EqualNoCase(state_.mode, mode);
}

void SystemPage::HideDetails() {
    for (ui::Control* widget : std::initializer_list<ui::Control*>{
             &Label3, &Label4, &Edit1, &Edit2, &SpeedButton1, &TrackBar1, &RadioButton1,
             &RadioButton2, &RadioButton3})
        widget->SetVisible(false);
}

// Runs before the box toggles: a checked editor is about to be cleared, an unchecked one set.
void SystemPage::PressEditor(ui::CheckBox& box, const char* mode) {
    if (mode) state_.mode = mode;
    if (!box.Checked()) {
        ShowEditor(box);
        return;
    }
    if (&box == &CheckBox21) state_.sourcePath.Revert();
    if (&box == &CheckBox22) {
        state_.owner.Revert();
        state_.organization.Revert();
    }
}

void SystemPage::ShowEditor(ui::CheckBox& box) {
    auto place = [](ui::Control& widget, int left, int top) {
        const ui::Bounds& b = widget.GetBounds();
        widget.SetBounds(left, top, b.width, b.height);
        widget.SetVisible(true);
    };
    if (&box == &CheckBox21) {
        Label3.SetCaption("Location :");
        place(Label3, 16, 10);
        Edit1.SetText(state_.sourcePath.Now());
        place(Edit1, 16, 28);
        place(SpeedButton1, 157, 28);
    } else if (&box == &CheckBox22) {
        Label3.SetCaption("Name :");
        place(Label3, 16, 10);
        Label4.SetCaption("Organization :");
        place(Label4, 168, 10);
        Edit1.SetText(state_.owner.Now());
        Edit2.SetText(state_.organization.Now());
        place(Edit1, 16, 28);
        place(Edit2, 168, 28);
    } else if (&box == &CheckBox24) {
        Label3.SetCaption("Icon Color Format :");
        place(Label3, 16, 10);
        if (state_.iconDepth.Now() == "16") RadioButton1.SetChecked(true);
        if (state_.iconDepth.Now() == "24") RadioButton2.SetChecked(true);
        if (state_.iconDepth.Now() == "32") RadioButton3.SetChecked(true);
        place(RadioButton1, 16, 32);
        place(RadioButton2, 88, 32);
        place(RadioButton3, 152, 32);
    } else if (&box == &CheckBox25) {
        Label3.SetCaption(IconCacheLabel(state_.iconCache.Now()));
        ShowTrack(130, 4, 153,
                  BandOf(kIconCacheBands, WholeNumber(state_.iconCache.Now()).value_or(512)));
    } else if (&box == &CheckBox27) {
        Label3.SetCaption(CdCacheLabel(state_.cdCache.Now().value));
        ShowTrack(130, 3, 153, BandOf(kCdCacheBands, state_.cdCache.Now().value));
    } else if (&box == &CheckBox28) {
        Label3.SetCaption(SpeedLabel(BandOf(kSpeedBands, state_.prefetch.Now().value)));
        ShowTrack(170, 10, 193, BandOf(kSpeedBands, state_.prefetch.Now().value));
    }
}

// The label first: when the position does not change, no move rewrites it.
void SystemPage::ShowTrack(int width, int maxValue, int labelLeft, int position) {
    Label3.SetBounds(labelLeft, 23, 0, 13);
    Label3.SetVisible(true);
    TrackBar1.SetBounds(16, 18, width, 30);
    TrackBar1.SetMaxValue(maxValue);
    TrackBar1.SetVisible(true);
    TrackBar1.SetPosition(position);
}

void SystemPage::TrackBar1Change() {
    int position = TrackBar1.Position();
    int labelLeft = 153;
    if (InMode("IconCache")) {
        state_.iconCache.Set(std::to_string(kIconCacheBands[std::min(position, 4)].value));
        Label3.SetCaption(IconCacheLabel(state_.iconCache.Now()));
    } else if (InMode("CDCache")) {
        state_.cdCache.Set({kCdCacheBands[std::min(position, 3)].value, state_.cdCache.Now().type});
        Label3.SetCaption(CdCacheLabel(state_.cdCache.Now().value));
    } else if (InMode("CDSpeed")) {
        state_.prefetch.Set(
            {kSpeedBands[std::min(position, 10)].value, state_.prefetch.Now().type});
        Label3.SetCaption(SpeedLabel(std::min(position, 10)));
        labelLeft = 193;
    } else {
        return;
    }
    Label3.SetBounds(labelLeft, 23, 0, 13);
    Label3.SetVisible(true);
}

void SystemPage::SpeedButton1Click() {
    state_.sourcePath.Set("");
    std::optional<std::string> chosen = prompts_.BrowseFolder("Select Directory");
    state_.sourcePath.Set(chosen && !chosen->empty() ? *chosen : state_.sourcePath.AsRead());
    Edit1.SetText(state_.sourcePath.Now());
}

void SystemPage::Read() {
    bool found = SystemIniFound();
    CheckBox16.SetEnabled(found);
    CheckBox18.SetEnabled(found);
    form_.SetRestingNote(Memo2, found ? "" : kFileMissingNote);
    settings_.Read(sys_);
}

bool SystemPage::SystemIniFound() {
    return !form_.WindowsDir.empty() && FileExists(sys_, form_.WindowsDir + "\\" + kSystemIni);
}

// The CD-ROM figures keep the type they were found with.
void SystemPage::ResetToWindowsDefault() {
    settings_.ResetBoxes();
    WriteRegistryValue(sys_, HKEY_CURRENT_USER, kWindowMetrics, "Shell Icon BPP",
                       std::string("16"));
    WriteRegistryValue(sys_, HKEY_LOCAL_MACHINE, kExplorer, "Max Cached Icons", std::string("512"));
    WriteRegistryNumberAs(sys_, HKEY_LOCAL_MACHINE, kCdfs, "CacheSize",
                          {620, state_.cdCache.AsRead().type});
    WriteRegistryNumberAs(sys_, HKEY_LOCAL_MACHINE, kCdfs, "PreFetch",
                          {228, state_.prefetch.AsRead().type});
}

namespace {

// A track bar over bands, in a profile by the figure its label shows for a band.
template <std::size_t N>
ProfileField BandField(const std::string& section, const std::string& key, ui::TrackBar& bar,
                       const std::array<Band, N>& bands, std::function<std::int64_t()> kept,
                       const std::function<std::string(int)>& figure) {
    std::vector<std::string> figures;
    for (std::size_t i = 0; i < N; ++i) figures.push_back(figure(static_cast<int>(i)));
    return ChoiceField(
        section, key, figures, [&bands, kept] { return BandOf(bands, kept()); },
        [&bar](int band) { bar.Drag(band); });
}

}  // namespace

void SystemPage::AddProfileFields(std::vector<ProfileField>& fields) {
    AddBoxFields(fields, Sheet);
    const std::string page = Sheet.Caption();
    // Label4 shows only while the owner's frame is open: its second text goes on in it.
    auto text = [&](ui::CheckBox& box, const char* part, ui::Edit& edit,
                    ui::Recorded<std::string>& value) {
        ProfileField field = TextField(page, ProfileKey(box.Caption()) + " - " + part, edit);
        field.shown = [&value] { return value.Now(); };
        fields.push_back(Detail(std::move(field), box, &box == &CheckBox22 ? &Label4 : nullptr));
    };
    text(CheckBox21, "Location", Edit1, state_.sourcePath);
    text(CheckBox22, "Name", Edit1, state_.owner);
    text(CheckBox22, "Organization", Edit2, state_.organization);
    ProfileField depth = RadioField(page, ProfileKey(CheckBox24.Caption()) + " - Format",
                                    {&RadioButton1, &RadioButton2, &RadioButton3});
    depth.shown = [this] { return state_.iconDepth.Now() + " Bit"; };
    fields.push_back(Detail(std::move(depth), CheckBox24));
    auto whole = [](const std::string& text) { return WholeNumber(text).value_or(512); };
    fields.push_back(
        Detail(BandField(
                   page, ProfileKey(CheckBox25.Caption()) + " - Icons", TrackBar1, kIconCacheBands,
                   [this, whole] { return whole(state_.iconCache.Now()); },
                   [](int band) { return std::to_string(kIconCacheBands[band].value); }),
               CheckBox25));
    fields.push_back(Detail(
        BandField(
            page, ProfileKey(CheckBox27.Caption()) + " - kB", TrackBar1, kCdCacheBands,
            [this] { return state_.cdCache.Now().value; },
            [](int band) { return std::to_string(std::int64_t{kCdCacheBands[band].value} * 2); }),
        CheckBox27));
    fields.push_back(Detail(BandField(
                                page, ProfileKey(CheckBox28.Caption()) + " - Speed", TrackBar1,
                                kSpeedBands, [this] { return state_.prefetch.Now().value; },
                                [](int band) { return std::to_string(kSpeeds[band]) + "x"; }),
                            CheckBox28));
}

// SYSTEM.INI is never created by a write: without it, its two rows stay as they are.
void SystemPage::Write() {
    settings_.Write(sys_);
}

ManagedStores SystemPage::Touches() {
    return settings_.Touches();
}

}  // namespace vt
