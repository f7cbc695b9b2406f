#include "app/qt_dialogs.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace kb {

namespace {

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
    // The system's default printer comes preselected; copies, page ranges and page sizes are not offered, as every
    // report prints all its pages once at the printer's default page.
    const QPrinterInfo defaultPrinter = QPrinterInfo::defaultPrinter();
    QPrinter printer(QPrinter::HighResolution);
    if (!defaultPrinter.isNull()) printer.setPrinterName(defaultPrinter.printerName());
    QPrintDialog dialog(&printer, QApplication::activeWindow());
    QAbstractPrintDialog::PrintDialogOptions shown;
    if (options.allowPrintToFile) shown |= QAbstractPrintDialog::PrintToFile;
    if (options.offerSelection) shown |= QAbstractPrintDialog::PrintSelection;
    dialog.setOptions(shown);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    PrinterChoice choice;
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty()) {
        choice.outputFile = printer.outputFileName().toStdString();
    } else {
        choice.printerName = printer.printerName().toStdString();
    }
    choice.selectionOnly = printer.printRange() == QPrinter::Selection;
    return choice;
}

}  // namespace kb
