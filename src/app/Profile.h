// Settings profiles: the settings of every page as a text file a person can read and edit,
// one section per page and one line per setting, keyed by the setting's caption and valued
// as its control shows it:
//
//   Veltrim 2000 settings profile, version 1
//   [Boot]
//   Disable Boot Function Keys=1
//   Boot menu delay=3
//
// Importing one sets the listed controls as the user would; nothing is written until the
// write pass runs.
#pragma once

#include "platform/Platform.h"
#include "store/RestorePoints.h"
#include "ui/Controls.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vt {

inline constexpr const char* kProfileHeader = "Veltrim 2000 settings profile, version 1";
inline constexpr const char* kProfileFilter = "Veltrim 2000 settings (*.vts)|*.vts";
inline constexpr const char* kProfileExtension = "vts";
// The last line of an exported profile: a replacement cut off before it is no whole profile.
inline constexpr const char* kProfileEnd = "; end of profile";
// The value of a setting with no stored value, which Windows decides: applied, it removes
// the stored value.
inline constexpr const char* kNotSet = "(not set)";

// One setting as a profile holds it.
struct ProfileField {
    std::string section;  // the page's tab caption
    std::string key;      // the setting's caption, trailing blanks trimmed
    // The value as the control shows it now.
    std::function<std::string()> shown;
    // Why the control cannot show `value`; nothing when it can.
    std::function<std::optional<std::string>(const std::string&)> refuses;
    // Sets the control to `value` as the user would: clicks, types, chooses.
    std::function<void(const std::string&)> choose;
    // Why this PC cannot take the setting now (the control is disabled, no adapter of that
    // kind): its line is skipped. Nothing when it can.
    std::function<std::optional<std::string>()> unavailable = {};
    // A setting reached through another one (the box that opens its frame, the "Custom" of
    // its group): a profile lists it only together with that key at that value.
    std::string needsKey = {};
    std::string needsValue = {};
    // A choice among captions: a value in other case names the same one.
    bool anyCase = false;
    // Whether the PC holds no stored value for the setting (an export says kNotSet), and
    // what leaves it so: the stored value removed by the write pass. A field without
    // `unset` refuses kNotSet.
    std::function<bool()> missing = {};
    std::function<void()> unset = {};
    // The box that opens this setting's frame (Detail). A box that does nothing else is not
    // exported: whether its frame is open is the window's state, not the PC's.
    std::string frameKey = {};
    // An action done on every write while set (a box that reads back cleared), not a stored
    // value: what the write did shows in the changes it made, not in the control read back.
    bool action = false;
};

// A profile line matched to its field.
struct ProfileLine {
    int number = 0;
    std::size_t source = 0;  // which of the profiles checked together
    std::size_t field = 0;   // index into the fields the profile was checked against
    std::string value;
};

struct CheckedProfile {
    std::vector<ProfileLine> lines;
    std::vector<std::string> errors;  // "Line 7: ...", one for each bad line
};

// The profile of the fields as their controls show them now; a field this PC cannot take, or
// one whose key it needs shows another value, is left out.
std::string WriteProfileText(const std::vector<ProfileField>& fields);
// Reads and checks the whole text: the header, each section and key, each value, repeats,
// and what each line needs.
CheckedProfile CheckProfileText(const std::string& text, const std::vector<ProfileField>& fields);
// Several profiles as one: each line checked in its file, a later file's line over an
// earlier one's, what a line needs looked for in all of them. With more than one file each
// error names its file first.
// A profile names the code page of the PC that wrote it in a comment after its first line
// ("; code page 932"); one of another code page is refused unless its text is all ASCII.
struct ProfileSource {
    std::string name;
    std::string text;
    bool inThisCodePage = false;  // converted to it already: the comment no longer counts
};
// A profile's text in this PC's code page: a text that begins with a UTF-8 byte-order mark is
// taken as UTF-8 and converted (inThisCodePage); `error` names the first line that cannot be,
// a character the code page has no place for or a byte that is no UTF-8.
struct ProfileInCodePage {
    std::string text;
    bool inThisCodePage = false;
    std::optional<std::string> error;
};
ProfileInCodePage ProfileForThisCodePage(Platform& sys, const std::string& text);
// The comment line an export writes after its first line.
std::string CodePageComment(UINT codePage);
CheckedProfile CheckProfileTexts(const std::vector<ProfileSource>& sources,
                                 const std::vector<ProfileField>& fields);

// What setting a checked profile did, in the fields' order.
struct ProfileOutcome {
    std::vector<std::string> changed;  // "[Boot] Boot menu delay: 3 -> 5"
    std::vector<std::string> skipped;  // "[Internet #1] Receive Window: why it cannot be set"
};
ProfileOutcome ApplyProfile(const CheckedProfile& profile, const std::vector<ProfileField>& fields);

// The message that refuses a profile: the file and each bad line.
std::string RefusalMessage(const std::string& path, const std::vector<std::string>& errors);

// Profiles and logs are written whole under a second name ("....new") that then replaces the
// first, so a write cut off at any byte leaves the old file or the new one.
bool WriteTextFile(Platform& sys, const std::string& path, const std::string& text);
// Why a profile or log may not be written to `path`, nothing when it may: a file of the
// restore points, one the settings manage (SYSTEM.INI, Config.DAT...), a read-only file or a
// folder is never replaced by one.
std::optional<std::string> RefusedTextTarget(Platform& sys, const std::string& path,
                                             const ManagedScope& scope);
// A profile's text; when a replacement was cut off between its delete and its rename, the
// whole replacement. Nothing when it cannot be read (GetLastError says why: a file larger
// than a profile can be answers ERROR_FILE_TOO_LARGE).
std::optional<std::string> ReadProfileFile(Platform& sys, const std::string& path);

// --- Making fields for the common controls ----------------------------------------------
// A caption as a key: trailing blanks and a closing colon trimmed ("Boot menu delay : ").
std::string ProfileKey(const std::string& caption);

// One of `items` (any case, blanks around ignored): `shown` answers the index the control
// shows (-1: none), `choose` sets one as the user would.
ProfileField ChoiceField(const std::string& section, const std::string& key,
                         std::vector<std::string> items, std::function<int()> shown,
                         std::function<void(int)> choose);

// Each field below is skipped while its control is disabled.
// "1" or "0", keyed by the box's caption.
ProfileField BoxField(const std::string& section, ui::CheckBox& box);
ProfileField SpinField(const std::string& section, const std::string& key, ui::SpinEdit& spin);
ProfileField TrackField(const std::string& section, const std::string& key, ui::TrackBar& bar);
// A text box; `wholeNumber`: only whole numbers (of at most the box's length).
// The longest text a field without a limit of its own takes from a profile: a path.
inline constexpr std::size_t kLongestProfileText = 259;
ProfileField TextField(const std::string& section, const std::string& key, ui::Edit& edit,
                       bool wholeNumber = false);
// A radio group by its buttons' captions (trailing blanks trimmed).
ProfileField RadioField(const std::string& section, const std::string& key,
                        std::vector<ui::RadioButton*> buttons);
// A drop-down list by its items' texts.
ProfileField ListField(const std::string& section, const std::string& key, ui::ComboBox& combo);
// A left click on the box, pressed and released over it.
void ClickBox(ui::CheckBox& box);
// A field for each box below `root` (frames included), in the order of the controls, but
// those in `except`; each keyed in the section of the tab it lies on.
void AddBoxFields(std::vector<ProfileField>& fields, ui::Control& root,
                  std::initializer_list<const ui::CheckBox*> except = {});
// A setting of the frame a box opens: set by opening the frame as the user does (a ticked
// box cleared and ticked again), then as `field` sets it. `open`: a control shown only while
// the frame is open for this box, which then stays open. A box that is a setting of its own
// (not one ticked to change the frame's value) sets `needsKey` too.
ProfileField Detail(ProfileField field, ui::CheckBox& box, const ui::Control* open = nullptr);
// The number of a radio group's "Custom" button: listed with the group at "Custom"; set by
// choosing "Custom" (unless chosen), then as `field` sets it.
ProfileField Custom(ProfileField field, const std::string& groupKey, ui::RadioButton& custom);

}  // namespace vt
