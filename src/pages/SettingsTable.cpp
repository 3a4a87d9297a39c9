#include "pages/SettingsTable.h"

#include "platform/NoCase.h"
#include "platform/WholeNumber.h"
#include "store/StoreError.h"

#include <algorithm>

namespace vt {
namespace {

// Texts compared in upper case are brought to upper case on both sides first.
RegValue Comparable(RegValue value, bool upperCase) {
    if (auto* text = std::get_if<std::string>(&value); text && upperCase) *text = ToUpper(*text);
    return value;
}

RegValue ReadRegistry(Platform& sys, Setting& setting) {
    const Store& store = setting.store;
    const RegValue& fallback = setting.fallback;
    if (const auto* text = std::get_if<std::string>(&fallback))
        return ReadRegistryText(sys, store.root, store.path, setting.name, *text);
    if (const auto* number = std::get_if<std::int32_t>(&fallback))
        return ReadRegistryNumber(sys, store.root, store.path, setting.name, *number);
    TRegistry reg(sys);
    bool open = OpenKey(reg, store.root, store.path, false);
    DWORD defaultNumber = std::get<Binary>(fallback).number;
    if (open)
        GuardedReadBytes(reg, setting.name, setting.kept, defaultNumber);
    else
        setting.kept.SetNumber(defaultNumber);
    return Binary{setting.kept.Number()};
}

bool Matches(const RegValue& stored, const RegValue& wanted, bool upperCase) {
    return Comparable(stored, upperCase) == Comparable(wanted, upperCase);
}

}  // namespace

void ReadSetting(Platform& sys, Setting& setting) {
    RegValue stored;
    if (setting.store.IsIni()) {
        TIniFile ini(sys, setting.store.file);
        stored = ini.ReadText(setting.store.section, setting.name,
                              std::get<std::string>(setting.fallback));
    } else {
        stored = ReadRegistry(sys, setting);
    }
    setting.box->SetChecked(
        Matches(stored, setting.checkedWhen.value_or(setting.on), setting.upperCase));
}

void WriteSetting(Platform& sys, Setting& setting) {
    if (!setting.box->Changed()) return;
    bool checked = setting.box->Checked();
    if (setting.store.IsIni()) {
        TIniFile ini(sys, setting.store.file);
        if (!setting.store.createFile && !ini.FileExists()) return;
        WriteByIdiom(ini, setting.idiom, checked, setting.store.section, setting.name,
                     std::get<std::string>(setting.on), std::get<std::string>(setting.off));
        return;
    }
    TRegistry reg(sys);
    OpenKey(reg, setting.store.root, setting.store.path, setting.store.createKey);
    WriteByIdiom(reg, setting.idiom, checked, setting.name, setting.on, setting.off, &setting.kept);
}

SettingsList::SettingsList(std::initializer_list<Entry> entries) : entries_(entries) {
    for (Entry& entry : entries_)
        if (auto* editor = std::get_if<Editor>(&entry); editor && editor->box && !editor->read)
            editor->box->SetAction(true);
}

void SettingsList::Read(Platform& sys) {
    for (Entry& entry : entries_) {
        if (auto* row = std::get_if<Setting>(&entry))
            ReadSetting(sys, *row);
        else if (auto& read = std::get<Editor>(entry).read)
            read();
    }
}

void SettingsList::Write(Platform& sys) {
    for (Entry& entry : entries_) {
        if (auto* row = std::get_if<Setting>(&entry))
            WriteSetting(sys, *row);
        else if (auto& write = std::get<Editor>(entry).write)
            write();
    }
}

Editor TextEditor(Platform& sys, ui::CheckBox& box, std::vector<EditedText> texts,
                  const char* description, std::function<void()> press,
                  std::optional<bool> windowsDefault) {
    auto read = [sys = &sys, texts] {
        for (const EditedText& t : texts) {
            std::string stored = ReadRegistryText(*sys, t.root, t.path, t.name, t.fallback);
            if (!HasRegistryValue(*sys, t.root, t.path, t.name) ||
                (t.wholeNumber && !WholeNumber(stored)))
                t.value->ReadInexact(t.fallback);
            else
                t.value->Read(stored);
        }
    };
    auto write = [sys = &sys, box = &box, texts] {
        for (const EditedText& t : texts)
            if (box->Checked() && t.value->Changed())
                WriteRegistryValue(*sys, t.root, t.path, t.name, t.value->Now());
    };
    ManagedStores touches;
    for (const EditedText& t : texts) touches.Add(MadeKey(t.root, t.path, {t.name}));
    return {.box = &box,
            .read = read,
            .write = write,
            .description = description,
            .press = std::move(press),
            .windowsDefault = windowsDefault,
            .touches = std::move(touches)};
}

void SettingsList::ResetBoxes() {
    for (Entry& entry : entries_) {
        auto [box, windowsDefault] =
            std::visit([](auto& e) { return std::pair(e.box, e.windowsDefault); }, entry);
        if (box && windowsDefault) box->SetChecked(*windowsDefault);
    }
}

ManagedStores SettingsList::Touches() const {
    ManagedStores touches;
    for (const Entry& entry : entries_) {
        if (const auto* editor = std::get_if<Editor>(&entry)) {
            touches.Add(editor->touches);
            continue;
        }
        const Setting& row = std::get<Setting>(entry);
        if (row.store.IsIni())
            touches.Add(ManagedIniKey{row.store.file, row.store.section, row.name});
        else if (row.store.createKey)
            touches.Add(MadeKey(row.store.root, row.store.path, {row.name}));
        else
            touches.Add(OpenedKey(row.store.root, row.store.path, {row.name}));
    }
    return touches;
}

std::vector<ui::CheckBox*> SettingsList::Boxes() const {
    std::vector<ui::CheckBox*> boxes;
    std::vector<std::pair<int, ui::CheckBox*>> placed;
    for (const Entry& entry : entries_) {
        auto [box, cell] =
            std::visit([](const auto& e) { return std::pair(e.box, e.cell); }, entry);
        if (!box) continue;
        if (cell >= 0)
            placed.emplace_back(cell, box);
        else
            boxes.push_back(box);
    }
    std::sort(placed.begin(), placed.end());
    for (auto [cell, box] : placed)
        boxes.insert(boxes.begin() + std::min<std::size_t>(cell, boxes.size()), box);
    return boxes;
}

}  // namespace vt
