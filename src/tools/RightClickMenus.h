// The "Right Click Menus" page: one open-with entry of the user's own in the right-click menu
// of each of eighteen file types. An entry is a verb key of the file type under
// HKEY_CLASSES_ROOT, and a section of "data.ini" in the program's folder that remembers its
// name and command. "Create" and "Remove" act at once; the write pass has nothing to do here.
#pragma once

#include "app/TForm1.h"
#include "ui/Prompts.h"

#include <array>
#include <string>
#include <vector>

namespace vt {

class RightClickMenus {
  public:
    RightClickMenus(TForm1& form, Platform& sys, ui::Prompts& prompts);

    // The read pass: ticks the box of every type that "data.ini" gives a name and a command.
    void Read();
    // Loads the entry of `ext` into the fields, when its verb is still in the registry.
    void Read_RightClickMenus(const std::string& ext);
    // Records the fields as the entry of `ext` in "data.ini" and in the registry.
    void Save_RightClickMenus(const std::string& ext);
    // Forgets the entry of `ext` and takes away what the page made for it. Answers false when
    // its verb had been changed by someone else since, and was therefore left in place.
    bool Remove_RightClickMenus(const std::string& ext);
    // "data.ini" names an entry of the page for the type (its box may show it or not).
    bool MadeEntry(const std::string& ext);
    // Collapses the entry fields.
    void HideDetails();

    void Button6Click();  // "Create"
    void Button8Click();  // "Remove"
    void SpeedButton3Click();

    ui::TabSheet Sheet;
    ui::TitleLabel RxLabel12{"RxLabel12", &Sheet, "Right Click Menus", "Verdana", 24, ui::kNavy};
    ui::Label Label18{
        "Label18", &Sheet,
        "Right click menus are menus that appear when you click right mouse button on an object."};
    ui::Label Label19{"Label19", &Sheet,
                      "In this page you can add new menu that will allows you to open a file with "
                      "an application other then "};
    ui::Label Label20{"Label20", &Sheet,
                      "it's default application. To do that just click any file association you "
                      "want and choose the application."};
    // Three columns of six, top to bottom.
    ui::CheckBox CheckBox77{"CheckBox77", &Sheet, "avi files"};
    ui::CheckBox CheckBox65{"CheckBox65", &Sheet, "bat files"};
    ui::CheckBox CheckBox66{"CheckBox66", &Sheet, "bmp files"};
    ui::CheckBox CheckBox67{"CheckBox67", &Sheet, "doc files"};
    ui::CheckBox CheckBox68{"CheckBox68", &Sheet, "gif files"};
    ui::CheckBox CheckBox69{"CheckBox69", &Sheet, "html files"};
    ui::CheckBox CheckBox70{"CheckBox70", &Sheet, "ico files"};
    ui::CheckBox CheckBox71{"CheckBox71", &Sheet, "ini files"};
    ui::CheckBox CheckBox72{"CheckBox72", &Sheet, "jpg files "};
    ui::CheckBox CheckBox73{"CheckBox73", &Sheet, "mov files"};
    ui::CheckBox CheckBox74{"CheckBox74", &Sheet, "mp3 files"};
    ui::CheckBox CheckBox75{"CheckBox75", &Sheet, "dat files"};
    ui::CheckBox CheckBox76{"CheckBox76", &Sheet, "pcx files"};
    ui::CheckBox CheckBox78{"CheckBox78", &Sheet, "reg files"};
    ui::CheckBox CheckBox79{"CheckBox79", &Sheet, "txt files"};
    ui::CheckBox CheckBox80{"CheckBox80", &Sheet, "wav files"};
    ui::CheckBox CheckBox81{"CheckBox81", &Sheet, "wri files"};
    ui::CheckBox CheckBox82{"CheckBox82", &Sheet, "zip files"};
    ui::Label Label14{"Label14", &Sheet, "Application name :"};
    ui::Edit Edit12{"Edit12", &Sheet};
    ui::Label Label16{"Label16", &Sheet, "Application path :"};
    ui::Edit Edit13{"Edit13", &Sheet};
    ui::Button SpeedButton3{"SpeedButton3", &Sheet, "...", ui::Kind::SpeedButton};
    ui::Button Button6{"Button6", &Sheet, "Create"};
    ui::Button Button8{"Button8", &Sheet, "Remove"};

    struct FileType {
        ui::CheckBox& box;
        const char* ext;  // with its dot, exactly as stored
    };
    // In the order the read pass takes them, which is also the order on screen: one line per
    // column.
    // clang-format off
    const std::array<FileType, 18> Types{{
        {CheckBox77, ".avi"}, {CheckBox65, ".bat"}, {CheckBox66, ".bmp"}, {CheckBox67, ".doc"}, {CheckBox68, ".gif"}, {CheckBox69, ".html"},
        {CheckBox70, ".ico"}, {CheckBox71, ".ini"}, {CheckBox72, ".jpg"}, {CheckBox73, ".mov"}, {CheckBox74, ".mp3"}, {CheckBox75, ".dat"},
        {CheckBox76, ".pcx"}, {CheckBox78, ".reg"}, {CheckBox79, ".txt"}, {CheckBox80, ".wav"}, {CheckBox81, ".wri"}, {CheckBox82, ".zip"}}};
    // clang-format on

    static constexpr const char* kProgramFilter = "Programs (*.exe)|*.exe";

    std::string MenuExt;       // the type whose box was last pressed
    std::string MenuTitle;     // the entry's name, as last read or saved
    std::string MenuPlayer;    // the entry's command, as last read or saved
    std::string MenuFileType;  // the file type the extension names, as last read

  private:
    void LayOut();
    void PressBox(const FileType& type);
    void FieldChanged();
    std::string DataIni() const;
    void ReadEntry(const std::string& ext);
    // The extension's file type, empty when it has none or it cannot be read.
    std::string FileTypeOf(const std::string& ext);
    // Whether the verb is the one this page made: its command is still the one recorded.
    bool MadeByPage(const std::string& fileType, const std::string& title,
                    const std::string& player);
    bool VerbExists(const std::string& fileType, const std::string& title);
    void DeleteVerb(const std::string& fileType, const std::string& title);
    // The reason "Create" must not go ahead with the fields as they are; empty when it may.
    std::string Refusal();
    // What is left of a file type the page made: deleted when nothing but an empty verb
    // list remains. Answers whether the key is gone.
    bool RemoveOwnFileType(const std::string& fileType);
    void RemoveOwnExtension(const std::string& ext);

    TForm1& form_;
    Platform& sys_;
    ui::Prompts& prompts_;
};

}  // namespace vt
