#pragma once
#include "core/dialogs.h"

namespace kb {

// The system's message boxes, text prompt and print dialog.
class QtDialogs : public Dialogs {
public:
    Answer message(const std::string& text, const std::string& title, Buttons, Icon) override;
    std::optional<std::string> prompt(const std::string& text, const std::string& title, const std::string& initial,
                                      bool masked) override;
    std::optional<PrinterChoice> choosePrinter(const PrintDialogOptions&) override;
};

}  // namespace kb
