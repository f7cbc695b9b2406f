#include "support/scripted_dialogs.h"

namespace kb::test {

Answer ScriptedDialogs::message(const std::string& text, const std::string& title, Buttons buttons, Icon icon) {
    messages.push_back({text, title, buttons, icon});
    const std::string shown = "question \"" + text + "\" titled \"" + title + "\"";
    if (auto answer = next<Answer>(shown, buttons != Buttons::OK)) return *answer;
    return buttons == Buttons::OK ? Answer::OK : Answer::Cancel;
}

std::optional<std::string> ScriptedDialogs::prompt(const std::string& text, const std::string& title,
                                                   const std::string& initial, bool masked) {
    prompts.push_back({text, title, initial, masked});
    return next<std::optional<std::string>>("prompt \"" + text + "\"").value_or(std::nullopt);
}

std::optional<PrinterChoice> ScriptedDialogs::choosePrinter(const PrintDialogOptions& options) {
    printDialogs.push_back(options);
    return next<std::optional<PrinterChoice>>("print dialog").value_or(std::nullopt);
}

std::optional<PrinterChoice> ScriptedDialogs::previewPages(const std::vector<PageLines>& pages, const PrinterChoice&,
                                                          const PrintDialogOptions&) {
    previews.push_back(pages);
    return next<Preview>("preview").value_or(Preview{}).choice;
}

std::optional<std::string> ScriptedDialogs::chooseFolder(const std::string& title, const std::string&) {
    ADD_FAILURE() << "unexpected folder dialog \"" << title << "\"";
    return std::nullopt;
}

std::optional<std::size_t> ScriptedDialogs::chooseItem(const std::string& text, const std::string&,
                                                       const std::vector<std::string>& items) {
    choices.push_back(items);
    return next<std::optional<std::size_t>>("list choice \"" + text + "\"").value_or(std::nullopt);
}

}  // namespace kb::test
