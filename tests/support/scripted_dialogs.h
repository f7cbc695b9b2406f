#pragma once
#include <gtest/gtest.h>

#include <deque>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "core/dialogs.h"

namespace kb::test {

// Records every dialog the program shows and answers from a queue the test fills beforehand.
// A dialog with no answer queued for it fails the test (a message box with an OK button alone is answered OK).
class ScriptedDialogs : public Dialogs {
public:
    struct Message {
        std::string text;
        std::string title;
        Buttons buttons;
        Icon icon;
        bool operator==(const Message&) const = default;
    };
    struct Prompt {
        std::string text;
        std::string title;
        std::string initial;
        bool masked;
    };

    void answerMessage(Answer answer) { answers_.push_back(answer); }
    void answerPrompt(std::optional<std::string> text) { answers_.push_back(std::move(text)); }
    void answerPrinter(std::optional<PrinterChoice> choice) { answers_.push_back(std::move(choice)); }
    // Where the lender prints from the preview; nullopt: the lender closes it.
    void answerPreview(std::optional<PrinterChoice> choice) { answers_.push_back(Preview{std::move(choice)}); }
    void answerItem(std::optional<std::size_t> index) { answers_.push_back(index); }

    Answer message(const std::string& text, const std::string& title, Buttons, Icon) override;
    std::optional<std::string> prompt(const std::string& text, const std::string& title, const std::string& initial,
                                      bool masked) override;
    std::optional<PrinterChoice> choosePrinter(const PrintDialogOptions&) override;
    std::optional<PrinterChoice> previewPages(const std::vector<PageLines>& pages, const PrinterChoice& chosen,
                                              const PrintDialogOptions& options) override;
    std::optional<std::string> chooseFolder(const std::string& title, const std::string& start) override;
    std::optional<std::size_t> chooseItem(const std::string& text, const std::string& title,
                                          const std::vector<std::string>& items) override;

    std::vector<Message> messages;
    std::vector<Prompt> prompts;
    std::vector<PrintDialogOptions> printDialogs;
    // The pages of every preview shown.
    std::vector<std::vector<PageLines>> previews;
    // The items of every list choice shown.
    std::vector<std::vector<std::string>> choices;
    // True when every queued answer was used.
    bool allAnswered() const { return answers_.empty(); }

private:
    struct Preview {
        std::optional<PrinterChoice> choice;
    };
    using Queued = std::variant<Answer, std::optional<std::string>, std::optional<PrinterChoice>, Preview,
                                std::optional<std::size_t>>;
    // The answer queued next when it is of that kind; else the test fails, saying what was shown.
    template <class Kind>
    std::optional<Kind> next(const std::string& shown, bool failIfNone = true) {
        if (answers_.empty() || !std::holds_alternative<Kind>(answers_.front())) {
            if (failIfNone) ADD_FAILURE() << "unexpected " << shown;
            return std::nullopt;
        }
        Kind answer = std::get<Kind>(answers_.front());
        answers_.pop_front();
        return answer;
    }
    std::deque<Queued> answers_;
};

}  // namespace kb::test
