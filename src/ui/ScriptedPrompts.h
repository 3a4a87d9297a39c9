// Prompts answered from a script, recording what was asked: for tests.
#pragma once

#include "ui/Prompts.h"

#include <deque>
#include <functional>
#include <utility>
#include <stdexcept>
#include <vector>

namespace vt::ui {

class ScriptedPrompts final : public Prompts {
  public:
    struct Asked {
        std::string kind;  // "confirm", "error", "message", "open", "folder"
        std::string text;
        Buttons buttons = Buttons::YesNo;
    };

    void Answer(ui::Answer answer) { answers_.push_back(answer); }
    void Pick(std::optional<std::string> choice) { choices_.push_back(std::move(choice)); }
    const std::vector<Asked>& Asks() const { return asks_; }
    std::vector<std::string> Errors() const {
        std::vector<std::string> errors;
        for (const Asked& a : asks_)
            if (a.kind == "error") errors.push_back(a.text);
        return errors;
    }
    std::vector<std::string> Questions() const {
        std::vector<std::string> questions;
        for (const Asked& a : asks_)
            if (a.kind == "confirm") questions.push_back(a.text);
        return questions;
    }

    // Runs while a confirmation box is up, as the user's other input would.
    std::function<void()> WhileAsking;

    ui::Answer Confirm(const std::string& text, Buttons buttons) override {
        asks_.push_back({"confirm", text, buttons});
        if (auto whileAsking = std::exchange(WhileAsking, nullptr)) whileAsking();
        if (answers_.empty()) throw std::logic_error("unexpected question: " + text);
        ui::Answer answer = answers_.front();
        answers_.pop_front();
        return answer;
    }
    void ShowError(const std::string& text) override { asks_.push_back({"error", text}); }
    void ShowMessage(const std::string& text) override { asks_.push_back({"message", text}); }
    std::vector<std::string> Messages() const {
        std::vector<std::string> messages;
        for (const Asked& a : asks_)
            if (a.kind == "message") messages.push_back(a.text);
        return messages;
    }
    std::optional<std::string> OpenFile(const std::string& filter) override {
        return NextChoice("open", filter);
    }
    std::optional<std::string> SaveFile(const std::string& filter, const std::string&) override {
        return NextChoice("save", filter);
    }
    std::optional<std::string> BrowseFolder(const std::string& title) override {
        return NextChoice("folder", title);
    }

  private:
    std::optional<std::string> NextChoice(const char* kind, const std::string& text) {
        asks_.push_back({kind, text});
        if (choices_.empty()) throw std::logic_error("unexpected dialog: " + text);
        auto choice = choices_.front();
        choices_.pop_front();
        return choice;
    }

    std::deque<ui::Answer> answers_;
    std::deque<std::optional<std::string>> choices_;
    std::vector<Asked> asks_;
};

}  // namespace vt::ui
