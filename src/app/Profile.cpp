#include "app/Profile.h"

#include "platform/NoCase.h"
#include "platform/WholeNumber.h"
#include "store/Paths.h"
#include "store/RestorePointFiles.h"
#include "store/RestorePoints.h"

#include <algorithm>
#include <set>
#include <map>

namespace vt {
namespace {

std::string TrimmedRight(std::string text) {
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
        text.pop_back();
    return text;
}

std::string Trimmed(std::string text) {
    text = TrimmedRight(std::move(text));
    std::size_t first = text.find_first_not_of(" \t");
    return first == std::string::npos ? std::string() : text.substr(first);
}

// Lines ended by CR LF, LF or a CR alone (as an old Macintosh editor leaves them); the text
// ends at a Ctrl+Z, the end of file many DOS editors leave behind.
std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    const std::size_t end = std::min(text.find('\x1a'), text.size());
    std::size_t start = 0;
    while (start < end) {
        std::size_t stop = std::min(text.find_first_of("\r\n", start), end);
        lines.push_back(text.substr(start, stop - start));
        if (stop < end && text[stop] == '\r' && stop + 1 < end && text[stop + 1] == '\n') ++stop;
        start = stop + 1;
    }
    return lines;
}

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

const ProfileField* FieldNamed(const std::vector<ProfileField>& fields, const std::string& section,
                               const std::string& key) {
    for (const ProfileField& field : fields)
        if (EqualNoCase(field.section, section) && EqualNoCase(field.key, key)) return &field;
    return nullptr;
}

bool Available(const ProfileField& field) {
    return !field.unavailable || !field.unavailable();
}

}  // namespace

std::string ProfileKey(const std::string& caption) {
    std::string key = TrimmedRight(caption);
    if (!key.empty() && key.back() == ':') key = TrimmedRight(key.substr(0, key.size() - 1));
    return key;
}

namespace {
constexpr const char* kCodePageComment = "; code page ";
}  // namespace

std::string CodePageComment(UINT codePage) {
    return kCodePageComment + std::to_string(codePage);
}

std::string WriteProfileText(const std::vector<ProfileField>& fields) {
    std::string text =
        std::string(kProfileHeader) + "\r\n" + CodePageComment(CodePage::Machine().Id()) + "\r\n";
    std::string section;
    // The boxes that do nothing but open their frame, by "section\nKEY".
    std::set<std::string> frameBoxes;
    for (const ProfileField& field : fields)
        if (!field.frameKey.empty() && field.needsKey.empty())
            frameBoxes.insert(field.section + "\n" + ToUpper(field.frameKey));
    for (const ProfileField& field : fields) {
        if (!Available(field) || field.refuses(field.shown()) ||
            frameBoxes.contains(field.section + "\n" + ToUpper(field.key)))
            continue;
        if (!field.needsKey.empty()) {
            const ProfileField* needed = FieldNamed(fields, field.section, field.needsKey);
            if (!needed || !Available(*needed) || !EqualNoCase(needed->shown(), field.needsValue))
                continue;
        }
        if (field.section != section) {
            section = field.section;
            text += "\r\n[" + section + "]\r\n";
        }
        text +=
            field.key + "=" + (field.missing && field.missing() ? kNotSet : field.shown()) + "\r\n";
    }
    return text + "\r\n" + kProfileEnd + "\r\n";
}

namespace {

bool IsNotSet(const std::string& value) {
    return EqualNoCase(value, kNotSet);
}

// The code page the comment before the first section names (0 when none does) and its line.
std::pair<UINT, int> NamedCodePage(const std::vector<std::string>& lines) {
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::string line = Trimmed(lines[i]);
        if (!line.empty() && line[0] == '[') break;
        const std::string prefix = kCodePageComment;
        if (line.size() > prefix.size() && EqualNoCase(line.substr(0, prefix.size()), prefix))
            if (auto number = WholeNumber(line.substr(prefix.size())))
                return {static_cast<UINT>(*number), static_cast<int>(i) + 1};
    }
    return {0, 0};
}

// One file's lines, each checked alone; errors by line number.
void CheckLines(const ProfileSource& profile, std::size_t source,
                const std::vector<ProfileField>& fields, std::vector<ProfileLine>& out,
                std::multimap<int, std::string>& errors) {
    const std::string& text = profile.text;
    // Notepad of later Windows starts a UTF-8 file with a byte-order mark.
    const char* const kByteOrderMark = "\xEF\xBB\xBF";
    std::vector<std::string> lines =
        Lines(text.rfind(kByteOrderMark, 0) == 0 ? text.substr(3) : text);
    auto error = [&](int number, const std::string& what) {
        errors.emplace(number, "Line " + std::to_string(number) + ": " + what);
    };
    const bool utf16 = text.rfind("\xFF\xFE", 0) == 0 || text.rfind("\xFE\xFF", 0) == 0 ||
                       (text.size() > 1 && text[1] == '\0');
    if (utf16) {
        errors.emplace(1,
                       "Line 1: this file is saved as Unicode (UTF-16) text, which Windows 98 "
                       "cannot read as a profile: open it in Notepad and save it again as ANSI "
                       "text");
        return;
    }
    if (lines.empty() || TrimmedRight(lines[0]) != kProfileHeader) {
        errors.emplace(1,
                       "Line 1: this is not a Veltrim 2000 settings profile (the first line must "
                       "be " +
                           Quoted(kProfileHeader) + ")");
        return;
    }
    const UINT here = CodePage::Machine().Id();
    if (auto [there, number] = NamedCodePage(lines);
        !profile.inThisCodePage && there && there != here &&
        std::any_of(text.begin(), text.end(),
                    [](char c) { return static_cast<unsigned char>(c) >= 0x80; })) {
        error(number, "this profile was written on a PC of code page " + std::to_string(there) +
                          " and holds letters beyond ASCII, which this PC (code page " +
                          std::to_string(here) +
                          ") would read as other letters: export it on a PC of code page " +
                          std::to_string(here) + ", or save it as UTF-8 text");
        return;
    }
    std::string section;
    bool sectionKnown = false;
    std::map<const ProfileField*, int> seen;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const int number = static_cast<int>(i) + 1;
        std::string line = Trimmed(lines[i]);
        if (line.empty() || line[0] == ';') continue;
        if (line.front() == '[') {
            const bool closed = CodePage::Machine().EndsWith(line, ']');
            section = closed ? Trimmed(line.substr(1, line.size() - 2)) : line;
            sectionKnown =
                closed && std::any_of(fields.begin(), fields.end(), [&](const ProfileField& f) {
                    return EqualNoCase(f.section, section);
                });
            if (!sectionKnown) error(number, "unknown page " + Quoted(line));
            continue;
        }
        std::size_t equals = lines[i].find('=');
        if (equals == std::string::npos) {
            error(number, Quoted(line) + " is not a setting (Name=value)");
            continue;
        }
        if (section.empty()) {
            error(number, "a setting before the first page, as [Boot]");
            continue;
        }
        if (!sectionKnown) continue;  // its page was reported
        std::string key = ProfileKey(Trimmed(lines[i].substr(0, equals)));
        // Blanks a text editor leaves around a value are no part of it.
        std::string value = lines[i].substr(equals + 1);
        value.erase(0, value.find_first_not_of(' '));
        value.erase(value.find_last_not_of(" \r") + 1);
        const ProfileField* field = FieldNamed(fields, section, key);
        if (!field) {
            error(number, "no setting " + Quoted(key) + " on page [" + section + "]");
            continue;
        }
        if (auto earlier = seen.find(field); earlier != seen.end()) {
            error(number, Quoted(key) + " is set again (first on line " +
                              std::to_string(earlier->second) + ")");
            continue;
        }
        seen[field] = number;
        if (IsNotSet(value)) {
            if (!field->unset)
                error(number, field->key + "=" + value +
                                  ": this setting cannot be left to Windows; give its value");
            else
                out.push_back(
                    {number, source, static_cast<std::size_t>(field - fields.data()), kNotSet});
            continue;
        }
        if (auto why = field->refuses(value)) {
            error(number, field->key + "=" + value + ": " + *why);
            continue;
        }
        out.push_back({number, source, static_cast<std::size_t>(field - fields.data()), value});
    }
}

}  // namespace

CheckedProfile CheckProfileText(const std::string& text, const std::vector<ProfileField>& fields) {
    return CheckProfileTexts({{"", text}}, fields);
}

CheckedProfile CheckProfileTexts(const std::vector<ProfileSource>& sources,
                                 const std::vector<ProfileField>& fields) {
    CheckedProfile checked;
    std::vector<std::multimap<int, std::string>> errors(sources.size());
    for (std::size_t source = 0; source < sources.size(); ++source) {
        std::vector<ProfileLine> lines;
        CheckLines(sources[source], source, fields, lines, errors[source]);
        // A later file's line stands for the setting.
        for (const ProfileLine& line : lines) {
            std::erase_if(checked.lines,
                          [&](const ProfileLine& earlier) { return earlier.field == line.field; });
            checked.lines.push_back(line);
        }
    }
    // A setting reached through another one needs that one in the same profile.
    for (const ProfileLine& line : checked.lines) {
        const ProfileField& field = fields[line.field];
        if (field.needsKey.empty()) continue;
        bool found =
            std::any_of(checked.lines.begin(), checked.lines.end(), [&](const ProfileLine& other) {
                const ProfileField& f = fields[other.field];
                return EqualNoCase(f.section, field.section) &&
                       EqualNoCase(f.key, field.needsKey) &&
                       EqualNoCase(ProfileKey(other.value), field.needsValue);
            });
        if (!found)
            errors[line.source].emplace(line.number, "Line " + std::to_string(line.number) + ": " +
                                                         field.key + " is set only together with " +
                                                         field.needsKey + "=" + field.needsValue +
                                                         " on page [" + field.section + "]");
    }
    for (std::size_t source = 0; source < sources.size(); ++source)
        for (auto& [_, text] : errors[source])
            checked.errors.push_back(
                (sources.size() > 1 ? sources[source].name + ": " : std::string()) + text);
    return checked;
}

ProfileOutcome ApplyProfile(const CheckedProfile& profile,
                            const std::vector<ProfileField>& fields) {
    ProfileOutcome outcome;
    // In the fields' order: a box before the frame it opens, a group before its "Custom".
    std::vector<ProfileLine> lines = profile.lines;
    std::stable_sort(lines.begin(), lines.end(),
                     [](const ProfileLine& a, const ProfileLine& b) { return a.field < b.field; });
    for (const ProfileLine& line : lines) {
        const ProfileField& field = fields[line.field];
        std::string name = "[" + field.section + "] " + field.key;
        if (field.unavailable)
            if (auto why = field.unavailable()) {
                outcome.skipped.push_back(name + ": " + *why);
                continue;
            }
        auto shown = [](const std::string& value) { return value.empty() ? "(empty)" : value; };
        if (line.value == kNotSet) {
            if (field.missing && field.missing()) continue;  // nothing stored already
            std::string before = field.shown();
            field.unset();
            outcome.changed.push_back(name + ": " + shown(before) + " -> " + kNotSet);
            continue;
        }
        std::string before = field.shown();
        if (before == line.value || (field.anyCase && EqualNoCase(before, line.value))) continue;
        field.choose(line.value);
        std::string after = field.shown();
        if (after == before) continue;  // "0200" typed is the 200 shown
        outcome.changed.push_back(name + ": " + shown(before) + " -> " + shown(after));
    }
    return outcome;
}

std::string RefusalMessage(const std::string& path, const std::vector<std::string>& errors) {
    std::string text = "The settings profile " + path +
                       " was not imported; nothing was changed. Correct these lines:";
    for (const std::string& error : errors) text += "\n" + error;
    return text;
}

namespace {

bool WholeProfile(const std::vector<BYTE>& bytes) {
    return std::string(bytes.begin(), bytes.end()).ends_with(std::string(kProfileEnd) + "\r\n");
}

}  // namespace

bool WriteTextFile(Platform& sys, const std::string& path, const std::string& text) {
    return pointfiles::ReplaceWhole(sys, path, text, WholeProfile);
}

std::optional<std::string> RefusedTextTarget(Platform& sys, const std::string& path,
                                             const ManagedScope& scope) {
    // By what the path names, not how it is spelled: a short name, "..", another drive
    // letter for the same disk.
    const PathIdentity target = IdentityOf(sys, path);
    const std::string shown = "\"" + path + "\"";
    const std::vector<std::string> files = scope.Files();
    if (target.Inside(IdentityOf(sys, NormalisedPath(scope.programDir) + "\\Restore")) ||
        std::any_of(files.begin(), files.end(),
                    [&](const std::string& file) { return IdentityOf(sys, file) == target; }))
        return shown +
               " is a file of Veltrim 2000 or of the settings it manages: a profile or "
               "log never replaces it.";
    DWORD attributes = sys.GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return shown + " is a folder.";
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        return shown + " is read-only: a profile or log never replaces it.";
    return std::nullopt;
}

std::optional<std::string> ReadProfileFile(Platform& sys, const std::string& path) {
    // The read comes last, so that a failure leaves its own error (a file too large) behind.
    std::optional<std::vector<BYTE>> bytes;
    if (pointfiles::Exists(sys, path)) {
        bytes = pointfiles::ReadAll(sys, path, limits::kProfile);
    } else {
        bytes = pointfiles::ReadAll(sys, path + pointfiles::kNewSuffix, limits::kProfile);
        if (bytes && !WholeProfile(*bytes)) bytes.reset();
    }
    if (!bytes) return std::nullopt;
    return std::string(bytes->begin(), bytes->end());
}

namespace {

// UTF-8 as UTF-16; nothing when a byte is no part of a well-formed sequence.
std::optional<std::u16string> Utf16OfUtf8(const std::string& text) {
    std::u16string out;
    for (std::size_t at = 0; at < text.size();) {
        const auto lead = static_cast<unsigned char>(text[at]);
        const int more = lead < 0x80                   ? 0
                         : lead >= 0xC2 && lead < 0xE0 ? 1
                         : lead >= 0xE0 && lead < 0xF0 ? 2
                         : lead >= 0xF0 && lead < 0xF5 ? 3
                                                       : -1;
        if (more < 0 || at + more >= text.size()) return std::nullopt;
        char32_t code = more ? lead & (0x3F >> more) : lead;
        for (int i = 1; i <= more; ++i) {
            const auto next = static_cast<unsigned char>(text[at + i]);
            if ((next & 0xC0) != 0x80) return std::nullopt;
            code = code << 6 | (next & 0x3F);
        }
        const char32_t least[] = {0, 0x80, 0x800, 0x10000};
        if (code < least[more] || code > 0x10FFFF || (code >= 0xD800 && code < 0xE000))
            return std::nullopt;
        if (code >= 0x10000) {
            out += static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
        } else {
            out += static_cast<char16_t>(code);
        }
        at += more + 1;
    }
    return out;
}

// The line in the code page; nothing when a character of it has no place there (a best fit
// that would not read back as the same character counts as none).
std::optional<std::string> InCodePage(Platform& sys, const std::u16string& wide) {
    if (wide.empty()) return std::string();
    const int size = static_cast<int>(wide.size());
    std::string bytes(wide.size() * 2, '\0');
    BOOL usedDefault = FALSE;
    const int length =
        sys.WideCharToMultiByte(CP_ACP, 0, wide.data(), size, bytes.data(),
                                static_cast<int>(bytes.size()), nullptr, &usedDefault);
    if (length <= 0 || usedDefault) return std::nullopt;
    bytes.resize(static_cast<std::size_t>(length));
    std::u16string back(wide.size(), u'\0');
    const int units = sys.MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, back.data(), size);
    if (units != size || back != wide) return std::nullopt;
    return bytes;
}

}  // namespace

ProfileInCodePage ProfileForThisCodePage(Platform& sys, const std::string& text) {
    const std::string kByteOrderMark = "\xEF\xBB\xBF";
    if (!text.starts_with(kByteOrderMark)) return {text, false, std::nullopt};
    ProfileInCodePage out{{}, true, std::nullopt};
    int number = 1;
    for (const std::string& line : SplitAt(text.substr(kByteOrderMark.size()), '\n')) {
        std::optional<std::u16string> wide = Utf16OfUtf8(line);
        std::optional<std::string> bytes = wide ? InCodePage(sys, *wide) : std::nullopt;
        if (!bytes) {
            out.error =
                "Line " + std::to_string(number) +
                (wide ? ": a character of this line has no place in this PC's code page (" +
                            std::to_string(CodePage::Machine().Id()) + ")"
                      : ": this line is not UTF-8 text, as the file's byte-order mark says");
            return out;
        }
        out.text += (number > 1 ? "\n" : "") + *bytes;
        ++number;
    }
    return out;
}

// --- Fields of the common controls ------------------------------------------------------

namespace {

std::function<std::optional<std::string>()> WhileEnabled(const ui::Control& control) {
    return [&control]() -> std::optional<std::string> {
        for (const ui::Control* c = &control; c; c = c->Parent())
            if (!c->Enabled()) return "the setting cannot be changed on this PC";
        return std::nullopt;
    };
}

// Digits only, and a number that fits.
std::optional<int> Digits(const std::string& value) {
    if (value.find_first_not_of("0123456789") != std::string::npos) return std::nullopt;
    return WholeNumber(value);
}

std::optional<std::string> NumberProblem(const std::string& value, int minValue, int maxValue) {
    std::optional<int> number = Digits(value);
    if (!number) return "not a whole number";
    if (*number < minValue || *number > maxValue)
        return "out of range (" + std::to_string(minValue) + " to " + std::to_string(maxValue) +
               ")";
    return std::nullopt;
}

}  // namespace

void ClickBox(ui::CheckBox& box) {
    box.PressMouse(ui::MouseButton::Left);
    box.ReleaseMouse(ui::MouseButton::Left, true);
}

ProfileField Detail(ProfileField field, ui::CheckBox& box, const ui::Control* open) {
    field.unavailable = WhileEnabled(box);
    field.frameKey = ProfileKey(box.Caption());
    field.choose = [&box, open, choose = std::move(field.choose)](const std::string& value) {
        if (!box.Checked() || !open || !open->Visible()) {
            if (box.Checked()) ClickBox(box);
            ClickBox(box);
        }
        choose(value);
    };
    return field;
}

ProfileField Custom(ProfileField field, const std::string& groupKey, ui::RadioButton& custom) {
    field.needsKey = groupKey;
    field.needsValue = ProfileKey(custom.Caption());
    field.unavailable = WhileEnabled(custom);
    field.choose = [&custom, choose = std::move(field.choose)](const std::string& value) {
        if (!custom.Checked()) custom.Click();
        choose(value);
    };
    return field;
}

ProfileField BoxField(const std::string& section, ui::CheckBox& box) {
    ProfileField field{section,
                       ProfileKey(box.Caption()),
                       [&box] { return std::string(box.Checked() ? "1" : "0"); },
                       [](const std::string& value) -> std::optional<std::string> {
                           if (value == "1" || value == "0") return std::nullopt;
                           return "1 (ticked) or 0 (cleared)";
                       },
                       [&box](const std::string& value) {
                           if (box.Checked() != (value == "1")) ClickBox(box);
                       },
                       WhileEnabled(box)};
    field.action = box.IsAction();
    return field;
}

ProfileField SpinField(const std::string& section, const std::string& key, ui::SpinEdit& spin) {
    return {section,
            key,
            [&spin] { return std::to_string(spin.Value()); },
            [&spin](const std::string& value) {
                return NumberProblem(value, spin.MinValue(), spin.MaxValue());
            },
            [&spin](const std::string& value) {
                // A box coupled to a track bar puts a number of another grid step onto the
                // grid when it loses the focus; typed again, within its step, it stays.
                const int wanted = *WholeNumber(value);
                for (int typed = 0; typed < 2 && (typed == 0 || spin.Value() != wanted); ++typed) {
                    spin.Type(std::to_string(wanted));  // "0400" would not fit
                    spin.LoseFocus();
                }
            },
            WhileEnabled(spin)};
}

ProfileField TrackField(const std::string& section, const std::string& key, ui::TrackBar& bar) {
    return {section,
            key,
            [&bar] { return std::to_string(bar.Position()); },
            [&bar](const std::string& value) {
                return NumberProblem(value, bar.MinValue(), bar.MaxValue());
            },
            [&bar](const std::string& value) { bar.Drag(*WholeNumber(value)); },
            WhileEnabled(bar)};
}

ProfileField TextField(const std::string& section, const std::string& key, ui::Edit& edit,
                       bool wholeNumber) {
    return {section,
            key,
            [&edit] { return edit.Text(); },
            [&edit, wholeNumber](const std::string& value) -> std::optional<std::string> {
                const std::size_t longest = edit.MaxLength() > 0
                                                ? static_cast<std::size_t>(edit.MaxLength())
                                                : kLongestProfileText;
                if (value.size() > longest)
                    return "longer than " + std::to_string(longest) + " characters";
                if (std::any_of(value.begin(), value.end(), [](char c) {
                        return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
                    }))
                    return "holds a control character (a tab, an escape, a NUL...)";
                if (wholeNumber && !value.empty() && !Digits(value)) return "not a whole number";
                return std::nullopt;
            },
            [&edit](const std::string& value) {
                edit.SetText(value);
                edit.LoseFocus();
            },
            WhileEnabled(edit)};
}

ProfileField ChoiceField(const std::string& section, const std::string& key,
                         std::vector<std::string> items, std::function<int()> shown,
                         std::function<void(int)> choose) {
    auto indexOf = [items](const std::string& value) {
        for (std::size_t i = 0; i < items.size(); ++i)
            if (EqualNoCase(Trimmed(items[i]), Trimmed(value))) return static_cast<int>(i);
        return -1;
    };
    std::string listed;
    for (const std::string& item : items) listed += (listed.empty() ? "" : ", ") + item;
    return {section,
            key,
            [items, shown] {
                int index = shown();
                return index >= 0 && index < static_cast<int>(items.size()) ? items[index]
                                                                            : std::string();
            },
            [indexOf, listed](const std::string& value) -> std::optional<std::string> {
                if (indexOf(value) >= 0) return std::nullopt;
                return "not one of " + listed;
            },
            [indexOf, choose](const std::string& value) { choose(indexOf(value)); },
            {},
            {},
            {},
            true};
}

ProfileField RadioField(const std::string& section, const std::string& key,
                        std::vector<ui::RadioButton*> buttons) {
    std::vector<std::string> captions;
    for (ui::RadioButton* button : buttons) captions.push_back(ProfileKey(button->Caption()));
    ProfileField field = ChoiceField(
        section, key, captions,
        [buttons] {
            for (std::size_t i = 0; i < buttons.size(); ++i)
                if (buttons[i]->Checked()) return static_cast<int>(i);
            return -1;
        },
        [buttons](int index) { buttons[index]->Click(); });
    field.unavailable = WhileEnabled(*buttons.front());
    return field;
}

ProfileField ListField(const std::string& section, const std::string& key, ui::ComboBox& combo) {
    ProfileField field = ChoiceField(
        section, key, combo.Items(),
        [&combo] {
            for (std::size_t i = 0; i < combo.Items().size(); ++i)
                if (combo.Items()[i] == combo.Text()) return static_cast<int>(i);
            return -1;
        },
        [&combo](int index) { combo.ChooseItem(index); });
    field.unavailable = WhileEnabled(combo);
    return field;
}

namespace {

std::string SheetOf(const ui::Control& control) {
    for (const ui::Control* c = &control; c; c = c->Parent())
        if (c->GetKind() == ui::Kind::TabSheet) return c->Caption();
    return {};
}

}  // namespace

void AddBoxFields(std::vector<ProfileField>& fields, ui::Control& root,
                  std::initializer_list<const ui::CheckBox*> except) {
    for (ui::Control* child : root.Children()) {
        auto* box = dynamic_cast<ui::CheckBox*>(child);
        if (box && std::find(except.begin(), except.end(), box) == except.end())
            fields.push_back(BoxField(SheetOf(*box), *box));
        if (child->GetKind() == ui::Kind::GroupBox) AddBoxFields(fields, *child, except);
    }
}

}  // namespace vt
