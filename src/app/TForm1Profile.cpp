// The main window's settings profiles: "Export settings..." and "Import settings...".
#include "app/TForm1.h"

namespace vt {

std::optional<std::string> TForm1::ExportProfile(const std::string& path) {
    if (!hooks.profileFields) return "No settings to export.";
    if (std::optional<std::string> refused = RefusedTextTarget(sys_, path, Managed()))
        return "Unable to write the settings profile: " + *refused;
    ReadPendingPages();
    if (!WriteTextFile(sys_, path, WriteProfileText(hooks.profileFields())))
        return "Unable to write the settings profile " + path + ".";
    return std::nullopt;
}

TForm1::ImportResult TForm1::ImportProfile(const std::string& path) {
    ImportResult result;
    std::optional<std::string> text = ReadProfileFile(sys_, path);
    if (!text) {
        result.errors.push_back(sys_.GetLastError() == static_cast<DWORD>(ERROR_FILE_TOO_LARGE)
                                    ? "The settings profile " + path +
                                          " is too large to be one: it is not read."
                                    : "Unable to read the settings profile " + path + ".");
        result.unreadable = true;
        return result;
    }
    if (!hooks.profileFields) return result;
    ReadPendingPages();  // a page read later would show what is stored again
    std::vector<ProfileField> fields = hooks.profileFields();
    CheckedProfile profile = CheckProfileText(*text, fields);
    if (!profile.errors.empty()) {
        result.errors.push_back(RefusalMessage(path, profile.errors));
        return result;
    }
    HideAllPages();
    result.outcome = ApplyProfile(profile, fields);
    HideAllPages();
    return result;
}

void TForm1::ExportSettings() {
    std::optional<std::string> path = prompts_.SaveFile(kProfileFilter, kProfileExtension);
    if (!path) return;
    if (std::optional<std::string> error = ExportProfile(*path)) prompts_.ShowError(*error);
}

void TForm1::ImportSettings() {
    std::optional<std::string> path = prompts_.OpenFile(kProfileFilter);
    if (!path) return;
    ImportResult result = ImportProfile(*path);
    if (!result.errors.empty()) {
        prompts_.ShowError(result.errors.front());
        return;
    }
    const ProfileOutcome& done = result.outcome;
    std::string text = done.changed.empty()
                           ? std::string("The settings profile changes nothing on this PC.")
                           : std::to_string(done.changed.size()) +
                                 " settings were set from the profile. They are written when "
                                 "you press \"Apply\" or \"OK\".";
    if (!done.skipped.empty()) {
        text += "\n\nSkipped:";
        for (const std::string& line : done.skipped) text += "\n" + line;
    }
    prompts_.ShowMessage(text);
}

}  // namespace vt
