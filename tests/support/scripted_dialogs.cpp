#include "support/scripted_dialogs.h"

#include <gtest/gtest.h>

namespace kb::test {

Answer ScriptedDialogs::message(const std::string& text, const std::string& title, Buttons buttons, Icon icon) {
    messages.push_back({text, title, buttons, icon});
    if (!answers_.empty() && std::holds_alternative<Answer>(answers_.front())) {
        Answer answer = std::get<Answer>(answers_.front());
        answers_.pop_front();
        return answer;
    }
    if (buttons == Buttons::OK) return Answer::OK;
    ADD_FAILURE() << "unexpected question \"" << text << "\" titled \"" << title << "\"";
    return Answer::Cancel;
}

std::optional<std::string> ScriptedDialogs::prompt(const std::string& text, const std::string& title,
                                                   const std::string& initial, bool masked) {
    prompts.push_back({text, title, initial, masked});
    if (!answers_.empty() && std::holds_alternative<std::optional<std::string>>(answers_.front())) {
        auto answer = std::get<std::optional<std::string>>(answers_.front());
        answers_.pop_front();
        return answer;
    }
    ADD_FAILURE() << "unexpected prompt \"" << text << "\"";
    return std::nullopt;
}

std::optional<PrinterChoice> ScriptedDialogs::choosePrinter(const PrintDialogOptions& options) {
    printDialogs.push_back(options);
    if (!answers_.empty() && std::holds_alternative<std::optional<PrinterChoice>>(answers_.front())) {
        auto answer = std::get<std::optional<PrinterChoice>>(answers_.front());
        answers_.pop_front();
        return answer;
    }
    ADD_FAILURE() << "unexpected print dialog";
    return std::nullopt;
}

std::optional<PrinterChoice> ScriptedDialogs::previewPages(const std::vector<PageLines>& pages, const PrinterChoice&,
                                                          const PrintDialogOptions&) {
    previews.push_back(pages);
    if (!answers_.empty() && std::holds_alternative<Preview>(answers_.front())) {
        auto answer = std::get<Preview>(answers_.front()).choice;
        answers_.pop_front();
        return answer;
    }
    ADD_FAILURE() << "unexpected preview";
    return std::nullopt;
}

std::optional<std::string> ScriptedDialogs::chooseFolder(const std::string& title, const std::string&) {
    if (!answers_.empty() && std::holds_alternative<Folder>(answers_.front())) {
        auto answer = std::get<Folder>(answers_.front()).folder;
        answers_.pop_front();
        return answer;
    }
    ADD_FAILURE() << "unexpected folder dialog \"" << title << "\"";
    return std::nullopt;
}

std::optional<std::size_t> ScriptedDialogs::chooseItem(const std::string& text, const std::string&,
                                                       const std::vector<std::string>& items) {
    choices.push_back(items);
    if (!answers_.empty() && std::holds_alternative<std::optional<std::size_t>>(answers_.front())) {
        auto answer = std::get<std::optional<std::size_t>>(answers_.front());
        answers_.pop_front();
        return answer;
    }
    ADD_FAILURE() << "unexpected list choice \"" << text << "\"";
    return std::nullopt;
}

}  // namespace kb::test
