#include "core/dialogs.h"

#include "core/format.h"

namespace kb {

namespace {

// Characters that a file name cannot hold on one desktop or another.
constexpr std::string_view kNotInFileNames = "/\\:*?\"<>|";

}  // namespace

PrintDialogOptions ReportPrintDialog(std::string_view report, std::string_view loanNbr, Date day) {
    std::string name(report);
    const std::string loan = TrimRight(loanNbr);
    if (!loan.empty()) name += " " + loan;
    name += " " + ToIso(day);
    for (char& c : name)
        if (kNotInFileNames.find(c) != std::string_view::npos) c = '-';
    PrintDialogOptions options;
    options.allowPrintToFile = true;
    options.offerPreview = true;
    options.fileName = name + ".pdf";
    return options;
}

}  // namespace kb
