#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/dates.h"

namespace kb {

enum class Buttons { OK, OKCancel, YesNo, RetryCancel };
enum class Icon { None, Critical };
enum class Answer { OK, Cancel, Yes, No, Retry };

struct PrintDialogOptions {
    bool allowPrintToFile = false;
    bool offerSelection = false;
    // A Preview button beside Print: the pages are shown before anything prints.
    bool offerPreview = false;
    // The name proposed for a PDF file, without a folder: the print dialog puts it in the lender's documents folder.
    std::string fileName{};
};

struct PrinterChoice {
    std::string printerName;
    std::string outputFile;
    bool selectionOnly = false;
    // The paper chosen in the dialog, by its short name ("A4", "Letter"); empty: the printer's own.
    std::string paper{};
    // The lender pressed Preview: the pages are to be shown before they print.
    bool preview = false;
};

// The text lines of one printed page.
using PageLines = std::vector<std::string>;

// Every message box, text prompt and print dialog of the program goes through here.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual Answer message(const std::string& text, const std::string& title, Buttons, Icon) = 0;
    // nullopt: the user cancelled.
    virtual std::optional<std::string> prompt(const std::string& text, const std::string& title,
                                              const std::string& initial, bool masked) = 0;
    // nullopt: the user cancelled.
    virtual std::optional<PrinterChoice> choosePrinter(const PrintDialogOptions&) = 0;
    // Shows the pages as they will print on the chosen printer, page by page. Returns where they are to print:
    // `chosen` when the lender prints from the preview, a PDF file when the lender saves them as one (its name
    // proposed as `options` say); nullopt when the lender closes the preview.
    virtual std::optional<PrinterChoice> previewPages(const std::vector<PageLines>& pages, const PrinterChoice& chosen,
                                                      const PrintDialogOptions& options) = 0;
    // A folder chosen in the system's folder dialog, which opens at `start`. nullopt: the user cancelled.
    virtual std::optional<std::string> chooseFolder(const std::string& title, const std::string& start) = 0;
    // The index of the item chosen from the list of `items` under `text`. nullopt: the user cancelled.
    virtual std::optional<std::size_t> chooseItem(const std::string& text, const std::string& title,
                                                  const std::vector<std::string>& items) = 0;
};

// The print dialog of a report: it offers a preview and printing to a PDF file, and proposes a name saying what the
// file holds: the report's name, the loan number where there is one, and the day ("Loan history A1001
// 2026-12-06.pdf").
PrintDialogOptions ReportPrintDialog(std::string_view report, std::string_view loanNbr, Date day);

// The title of a message box that has no title of its own.
inline constexpr const char* kAppTitle = "Kestrel-Book";

}  // namespace kb
