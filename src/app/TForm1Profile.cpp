// The main window's settings profiles: "Export settings..." and "Import settings...".
#include "app/TForm1.h"

namespace vt {

std::optional<std::string> TForm1::ExportProfile(const std::string& path) {
    if (!ProfileFields) return "No settings to export.";
    if (std::optional<std::string> refused = RefusedTextTarget(sys_, path, Managed()))
        return "Unable to write the settings profile: " + *refused;
    ReadPendingPages();
    if (!WriteTextFile(sys_, path, WriteProfileText(ProfileFields())))
        return "Unable to write the settings profile " + path + ".";
    return std::nullopt;
}

TForm1::ImportResult TForm1::ImportProfile(const std::string& path) {
    return ImportProfiles({path});
}

TForm1::ImportResult TForm1::ImportProfiles(const std::vector<std::string>& paths) {
    ImportResult result;
    std::vector<ProfileSource> sources;
    for (const std::string& path : paths) {
        std::optional<std::string> text = ReadProfileFile(sys_, path);
        if (text) {
            ProfileInCodePage readable = ProfileForThisCodePage(sys_, *text);
            if (readable.error)
                result.errors.push_back(RefusalMessage(path, {*readable.error}));
            else
                sources.push_back({path, readable.text, readable.inThisCodePage});
        } else if (sys_.GetLastError() == static_cast<DWORD>(ERROR_FILE_TOO_LARGE)) {
            result.errors.push_back("The settings profile " + path +
                                    " is too large to be one: it is not read.");
        } else {
            result.errors.push_back("Unable to read the settings profile " + path + ".");
            result.unreadable = true;
        }
    }
    if (!result.errors.empty() || !ProfileFields) return result;
    ReadPendingPages();  // a page read later would show what is stored again
    std::vector<ProfileField> fields = ProfileFields();
    CheckedProfile profile = CheckProfileTexts(sources, fields);
    if (!profile.errors.empty()) {
        std::string names;
        for (const std::string& path : paths) names += (names.empty() ? "" : " + ") + path;
        result.errors.push_back(RefusalMessage(names, profile.errors));
        return result;
    }
    HideAllPages();
    // The frames the profile opened stay open, showing what it set in them.
    result.outcome = ApplyProfile(profile, fields);
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
