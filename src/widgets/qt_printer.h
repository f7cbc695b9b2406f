#pragma once
#include <QString>
#include <memory>
#include <string>

#include "core/dialogs.h"

class QPagedPaintDevice;
class QPdfWriter;
class QPrinter;
class QSaveFile;

namespace kb {

// Said when the system has no printer for a report to go to.
inline constexpr const char* kNoPrinterSetUp = "NO PRINTER IS SET UP";

// Points `printer` at what the print dialog chose: a PDF file of that name, or the named system printer. Throws
// std::runtime_error when the choice names neither (the system has no printer for the dialog to list) or names a
// printer that is not there or cannot be used. Printing to a file needs no printer.
void SetUpPrinter(QPrinter& printer, const PrinterChoice& choice);

// The words for a printer or file of `choice` that cannot be opened.
std::string CannotOpen(const PrinterChoice& choice);

// Puts every page of `device` on the paper named ("A4", "Letter"; empty or unknown: the device's own) with a margin
// of at least 12.7 mm on every side, or more where the printer needs it.
void SetPage(QPagedPaintDevice& device, const std::string& paper);

// Where a PDF file is proposed: the proposed name in the lender's documents folder, or in the home folder when there
// is none.
QString ProposedPdfFile(const PrintDialogOptions& options);

// Where one print job goes: the chosen printer, or a PDF document that replaces the chosen file only once it is
// complete, on the chosen paper and its margins (SetPage). Paint on `device()`, end the
// painting, then `finish()`; a job not finished prints nothing and leaves the file as it was.
class PrintTarget {
public:
    // Throws std::runtime_error as SetUpPrinter does, or when the file cannot be written.
    explicit PrintTarget(const PrinterChoice& choice);
    ~PrintTarget();
    PrintTarget(const PrintTarget&) = delete;
    PrintTarget& operator=(const PrintTarget&) = delete;

    QPagedPaintDevice& device() { return *device_; }
    // Writes the file; throws std::runtime_error when it cannot.
    void finish();
    // Gives the job up while it is being painted: a printer drops what it was sent.
    void abandon();

private:
    PrinterChoice choice_;
    std::unique_ptr<QSaveFile> file_;
    std::unique_ptr<QPdfWriter> pdf_;
    std::unique_ptr<QPrinter> printer_;
    QPagedPaintDevice* device_ = nullptr;
};

}  // namespace kb
