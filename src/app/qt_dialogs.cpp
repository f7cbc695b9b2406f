#include "app/qt_dialogs.h"

#include <QApplication>
#include <QBoxLayout>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTimer>

#include "app/qt_printing.h"
#include "widgets/print_preview.h"
#include "widgets/qt_printer.h"

namespace kb {

namespace {

constexpr const char* kNoPrinterNote = ": print to a PDF file instead.";
// The file name field of the system's print dialog.
constexpr const char* kFileNameField = "filename";
constexpr const char* kPreviewCaption = "Pre&view";
// Set on the print dialog when it was left by its Preview button.
constexpr const char* kPreviewAsked = "previewAsked";

// Preview accepts the dialog as Print does (the dialog's own checks of a file name included), asking for a preview.
void AddPreviewButton(QPrintDialog& dialog) {
    auto* buttons = dialog.findChild<QDialogButtonBox*>();
    if (!buttons || !buttons->button(QDialogButtonBox::Ok)) return;
    QPushButton* preview = buttons->addButton(kPreviewCaption, QDialogButtonBox::ActionRole);
    preview->setObjectName("cmdPreview");
    QObject::connect(preview, &QPushButton::clicked, &dialog, [&dialog, buttons] {
        dialog.setProperty(kPreviewAsked, true);
        buttons->button(QDialogButtonBox::Ok)->click();
        if (dialog.isVisible()) dialog.setProperty(kPreviewAsked, false);
    });
}

QMessageBox::StandardButtons ButtonsOf(Buttons buttons) {
    switch (buttons) {
        case Buttons::OK: return QMessageBox::Ok;
        case Buttons::OKCancel: return QMessageBox::Ok | QMessageBox::Cancel;
        case Buttons::YesNo: return QMessageBox::Yes | QMessageBox::No;
        case Buttons::RetryCancel: return QMessageBox::Retry | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

Answer AnswerOf(int button) {
    switch (button) {
        case QMessageBox::Ok: return Answer::OK;
        case QMessageBox::Yes: return Answer::Yes;
        case QMessageBox::No: return Answer::No;
        case QMessageBox::Retry: return Answer::Retry;
        default: return Answer::Cancel;
    }
}

}  // namespace

Answer QtDialogs::message(const std::string& text, const std::string& title, Buttons buttons, Icon icon) {
    QMessageBox box(icon == Icon::Critical ? QMessageBox::Critical : QMessageBox::NoIcon,
                    QString::fromStdString(title), QString::fromStdString(text), ButtonsOf(buttons),
                    QApplication::activeWindow());
    return AnswerOf(box.exec());
}

std::optional<std::string> QtDialogs::prompt(const std::string& text, const std::string& title,
                                             const std::string& initial, bool masked) {
    bool accepted = false;
    QString answer = QInputDialog::getText(QApplication::activeWindow(), QString::fromStdString(title),
                                           QString::fromStdString(text),
                                           masked ? QLineEdit::Password : QLineEdit::Normal,
                                           QString::fromStdString(initial), &accepted);
    if (!accepted) return std::nullopt;
    return answer.toStdString();
}

std::optional<PrinterChoice> QtDialogs::choosePrinter(const PrintDialogOptions& options) {
    QPrinter printer(QPrinter::HighResolution);
    PreparePrinter(printer, options);
    QPrintDialog dialog(&printer, QApplication::activeWindow());
    PreparePrintDialog(dialog, options);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    PrinterChoice choice;
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty()) {
        choice.outputFile = printer.outputFileName().toStdString();
    } else {
        choice.printerName = printer.printerName().toStdString();
    }
    choice.selectionOnly = printer.printRange() == QPrinter::Selection;
    choice.paper = printer.pageLayout().pageSize().key().toStdString();
    choice.preview = dialog.property(kPreviewAsked).toBool();
    return choice;
}

std::optional<PrinterChoice> QtDialogs::previewPages(const std::vector<PageLines>& pages, const PrinterChoice& chosen,
                                                     const PrintDialogOptions& options) {
    return ShowPrintPreview([&pages](QPrinter& printer) { DrawPages(printer, pages); }, chosen, options);
}

std::optional<std::string> QtDialogs::chooseFolder(const std::string& title, const std::string& start) {
    const QString folder = QFileDialog::getExistingDirectory(QApplication::activeWindow(), QString::fromStdString(title),
                                                             QString::fromStdString(start));
    if (folder.isEmpty()) return std::nullopt;
    return folder.toStdString();
}

std::optional<std::size_t> QtDialogs::chooseItem(const std::string& text, const std::string& title,
                                                 const std::vector<std::string>& items) {
    QStringList shown;
    for (const std::string& item : items) shown.append(QString::fromStdString(item));
    bool accepted = false;
    const QString chosen = QInputDialog::getItem(QApplication::activeWindow(), QString::fromStdString(title),
                                                 QString::fromStdString(text), shown, 0, false, &accepted);
    if (!accepted || !shown.contains(chosen)) return std::nullopt;
    return static_cast<std::size_t>(shown.indexOf(chosen));
}

void PreparePrinter(QPrinter& printer, const PrintDialogOptions& options) {
    if (!QPrinterInfo::availablePrinterNames().isEmpty()) {
        const QPrinterInfo defaultPrinter = QPrinterInfo::defaultPrinter();
        if (!defaultPrinter.isNull()) printer.setPrinterName(defaultPrinter.printerName());
    } else if (options.allowPrintToFile) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(ProposedPdfFile(options));
    }
}

void PreparePrintDialog(QPrintDialog& dialog, const PrintDialogOptions& options) {
    // Copies, page ranges and page sizes are not offered, as every report prints all its pages once.
    QAbstractPrintDialog::PrintDialogOptions shown;
    if (options.allowPrintToFile) shown |= QAbstractPrintDialog::PrintToFile;
    if (options.offerSelection) shown |= QAbstractPrintDialog::PrintSelection;
    dialog.setOptions(shown);
    if (options.offerPreview) AddPreviewButton(dialog);
    if (QPrinterInfo::availablePrinterNames().isEmpty()) {
        auto* noPrinter = new QLabel(QString(kNoPrinterSetUp) + kNoPrinterNote, &dialog);
        noPrinter->setObjectName("lblNoPrinter");
        if (auto* layout = qobject_cast<QBoxLayout*>(dialog.layout())) layout->insertWidget(0, noPrinter);
        dialog.setWindowTitle(dialog.windowTitle() + " - " + kNoPrinterSetUp);
    } else if (options.allowPrintToFile) {
        // The file name waits in the dialog's file field for a PDF file chosen instead of the printer: the dialog
        // fills the field when it shows, so the name goes in just after.
        QTimer::singleShot(0, &dialog, [&dialog, file = ProposedPdfFile(options)] {
            if (auto* field = dialog.findChild<QLineEdit*>(kFileNameField)) field->setText(file);
        });
    }
}

}  // namespace kb
