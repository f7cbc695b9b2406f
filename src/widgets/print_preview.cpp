#include "widgets/print_preview.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScreen>
#include <QToolBar>

#include "widgets/qt_printer.h"

namespace kb {

namespace {

constexpr const char* kSaveAsPdf = "Save as PDF...";
constexpr const char* kSaveAsPdfTitle = "Save as PDF";
constexpr const char* kPdfFiles = "PDF files (*.pdf)";
constexpr double kShareOfScreen = 0.8;

// The preview's own actions, by their names in Qt's preview.
QAction* PreviewAction(QPrintPreviewDialog& preview, const char* name) {
    const QString text = QCoreApplication::translate("QPrintPreviewDialog", name);
    for (QAction* action : preview.findChildren<QAction*>())
        if (action->text() == text) return action;
    return nullptr;
}

// The preview printer stands for the chosen one: same paper, same margins. A printer that cannot be opened shows
// the pages on the system's default paper; printing then says what is wrong.
void SetUpPreviewPrinter(QPrinter& printer, const PrinterChoice& chosen) {
    try {
        if (chosen.outputFile.empty()) SetUpPrinter(printer, chosen);
    } catch (const std::exception&) {
    }
    SetPage(printer, chosen.paper);
}

}  // namespace

void PreparePrintPreview(QPrintPreviewDialog& preview, const PaintPages& paint, const PrinterChoice& chosen,
                         const PrintDialogOptions& options, std::optional<PrinterChoice>& answer) {
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                     [paint](QPrinter* printer) { paint(*printer); });
    for (const char* fixed : {"Page setup", "Portrait", "Landscape"})
        if (QAction* action = PreviewAction(preview, fixed)) action->setVisible(false);
    if (QAction* print = PreviewAction(preview, "Print")) {
        QObject::disconnect(print, &QAction::triggered, nullptr, nullptr);
        QObject::connect(print, &QAction::triggered, &preview, [&preview, &answer, chosen] {
            answer = chosen;
            preview.accept();
        });
    }
    QToolBar* toolbar = preview.findChild<QToolBar*>();
    if (!toolbar) return;
    QAction* save = toolbar->addAction(kSaveAsPdf);
    save->setObjectName("actSaveAsPdf");
    QObject::connect(save, &QAction::triggered, &preview, [&preview, &answer, chosen, options] {
        QString file = QFileDialog::getSaveFileName(&preview, kSaveAsPdfTitle, ProposedPdfFile(options), kPdfFiles);
        if (file.isEmpty()) return;
        if (QFileInfo(file).suffix().isEmpty()) file += ".pdf";
        answer = PrinterChoice{"", file.toStdString(), false, chosen.paper};
        preview.accept();
    });
}

std::optional<PrinterChoice> ShowPrintPreview(const PaintPages& paint, const PrinterChoice& chosen,
                                              const PrintDialogOptions& options) {
    QPrinter printer(QPrinter::HighResolution);
    SetUpPreviewPrinter(printer, chosen);
    // The preview's title says what it shows.
    printer.setDocName(QFileInfo(QString::fromStdString(options.fileName)).completeBaseName());
    QPrintPreviewDialog preview(&printer, QApplication::activeWindow());
    // Large enough to read a page at once.
    if (const QScreen* screen = preview.screen()) preview.resize(screen->availableSize() * kShareOfScreen);
    std::optional<PrinterChoice> answer;
    PreparePrintPreview(preview, paint, chosen, options, answer);
    preview.exec();
    return answer;
}

}  // namespace kb
