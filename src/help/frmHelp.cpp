#include "help/frmHelp.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextEdit>
#include <QVBoxLayout>
#include <stdexcept>
#include <vector>

#include "core/error_trap.h"
#include "help/help_printing.h"
#include "help/help_text.h"
#include "help/rtf_reader.h"

namespace kb {

namespace {

constexpr const char* kCaption = "HELP";
constexpr const char* kPrintCaption = "&Print";
constexpr const char* kExitCaption = "EXIT";
constexpr const char* kFormLoadLabel = "HELP FORM LOAD";
constexpr const char* kAnotherSheet = "INSERT ANOTHER SHEET OF PAPER";
constexpr const char* kHelpFileName = "Help";
// The visible box's tag while it shows the whole file, which is then printed in three parts.
constexpr const char* kTagProperty = "Tag";
constexpr const char* kWholeFileTag = "ALL";

constexpr const char* kAboutTitle = "KESTREL-BOOK PROGRAM";
constexpr const char* kRightsNotice = "COPYRIGHT (C) 2003  ALL RIGHTS RESERVED";
constexpr const char* kVendorName = "HARROWDALE, INC.";
constexpr const char* kVendorNumbers = "PHONE (800) 555-0199   FAX (800) 555-0198";
constexpr int kAboutIndent = 20;
constexpr int kAboutNameIndent = 22;
constexpr int kAboutPointSize = 12;
const QColor kAboutColour(255, 0, 0);

// The box shows a line of 80 characters and 30 lines without scrolling.
constexpr int kBoxColumns = 82;
constexpr int kBoxLines = 30;

// The whole file is printed as sections 1 and 2, then 3 and 4, then 5 and 6.
constexpr int kPrintedParts = 3;

QString Marker(char kind, int section) { return QString("^%1%2").arg(kind).arg(section, 2, 10, QChar('0')); }

// Adds `part` at the end of `whole`, starting on a new page unless it is the first.
void AppendOnNewPage(QTextDocument& whole, const QTextDocument& part) {
    QTextCursor end(&whole);
    end.movePosition(QTextCursor::End);
    const bool first = whole.isEmpty();
    if (!first) end.insertBlock();
    const int start = end.position();
    end.insertFragment(QTextDocumentFragment(&part));
    if (first) return;
    QTextBlockFormat newPage;
    newPage.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    QTextCursor(whole.findBlock(start)).mergeBlockFormat(newPage);
}

QFont BoxFont() {
    QFont font("Courier New", 10);
    font.setStyleHint(QFont::TypeWriter);
    return font;
}

}  // namespace

frmHelp::frmHelp(KBMain& kb, HelpPrinting& printing, QWidget* parent)
    : QDialog(parent), kb_(kb), printing_(printing) {
    setObjectName("frmHelp");
    setWindowTitle(kCaption);

    RichTextBox1_ = new QTextEdit(this);
    RichTextBox1_->setObjectName("RichTextBox1");
    RichTextBox1_->setReadOnly(true);
    RichTextBox1_->setFont(BoxFont());
    RichTextBox1_->installEventFilter(this);
    const QFontMetrics metrics(RichTextBox1_->font());
    RichTextBox1_->setMinimumSize(metrics.horizontalAdvance(QString(kBoxColumns, '0')) + 24,
                                  metrics.lineSpacing() * kBoxLines);

    RichTextBox2_ = new QTextEdit(this);
    RichTextBox2_->setObjectName("RichTextBox2");
    RichTextBox2_->setFont(BoxFont());
    RichTextBox2_->hide();

    cmdHlpPrint_ = new QPushButton(kPrintCaption, this);
    cmdHlpPrint_->setObjectName("cmdHlpPrint");
    cmdHlpPrint_->setAutoDefault(false);
    connect(cmdHlpPrint_, &QPushButton::clicked, this, &frmHelp::cmdHlpPrint_Click);
    cmdExit_ = new QPushButton(kExitCaption, this);
    cmdExit_->setObjectName("cmdExit");
    cmdExit_->installEventFilter(this);
    connect(cmdExit_, &QPushButton::clicked, this, &QDialog::close);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdHlpPrint_);
    buttons->addSpacing(40);
    buttons->addWidget(cmdExit_);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(RichTextBox1_, 1);
    layout->addLayout(buttons);
    setTabOrder(cmdHlpPrint_, cmdExit_);
    cmdExit_->setFocus();

    Form_Load();
}

void frmHelp::Form_Load() {
    ErrorTrap trap(kb_.dialogs, kFormLoadLabel);
    trap.run([&] {
        const HelpRequest request = ReadHelpTarget(kb_.HelpTarget);
        switch (request.kind) {
            case HelpRequest::Kind::About: ShowAbout(); break;
            case HelpRequest::Kind::Section: ShowSection(request); break;
            case HelpRequest::Kind::WholeFile: ShowWholeFile(request); break;
        }
    });
}

void frmHelp::ShowAbout() {
    const QString indent(kAboutIndent, ' ');
    const QString nameIndent(kAboutNameIndent, ' ');
    const QStringList lines = {
        "", "", "", "",
        indent + kAboutTitle, indent + kRightsNotice, indent + kVendorName, indent + kVendorNumbers,
        "", indent, nameIndent + QString::fromStdString(kb_.DealerNm), nameIndent,
    };
    RichTextBox1_->setPlainText(lines.join('\n'));
    QTextCursor all(RichTextBox1_->document());
    all.select(QTextCursor::Document);
    QTextCharFormat format;
    format.setFontWeight(QFont::Bold);
    format.setFontPointSize(kAboutPointSize);
    format.setForeground(kAboutColour);
    all.mergeCharFormat(format);
    RichTextBox1_->moveCursor(QTextCursor::Start);
}

void frmHelp::ShowSection(const HelpRequest& request) {
    QTextDocument& working = *RichTextBox2_->document();
    LoadRtfFile(request.file, working);
    const bool found =
        CutSection(working, QString::fromStdString(request.startMarker), QString::fromStdString(request.endMarker));
    ShowDocument(working);
    if (!found) {
        throw std::runtime_error("The help file " + request.file + " has no text between " + request.startMarker +
                                 " and " + request.endMarker);
    }
}

void frmHelp::ShowWholeFile(const HelpRequest& request) {
    QTextDocument& working = *RichTextBox2_->document();
    LoadRtfFile(request.file, working);
    RemoveAllMarkers(working);
    ShowDocument(working);
    RichTextBox1_->setProperty(kTagProperty, kWholeFileTag);
    // The working copy keeps the markers, which printing cuts the file by.
    LoadRtfFile(request.file, working);
}

void frmHelp::ShowDocument(const QTextDocument& document) {
    QTextDocument* shown = document.clone(RichTextBox1_);
    shown->setDefaultFont(RichTextBox1_->font());
    RichTextBox1_->setDocument(shown);
    RichTextBox1_->moveCursor(QTextCursor::Start);
}

void frmHelp::cmdHlpPrint_Click() {
    if (RichTextBox1_->property(kTagProperty).toString() == kWholeFileTag)
        PrintWholeFile();
    else
        PrintShown();
}

void frmHelp::PrintShown() {
    const QTextCursor selection = RichTextBox1_->textCursor();
    PrintDialogOptions options = ReportPrintDialog(kHelpFileName, "", kb_.clock.today());
    options.offerSelection = selection.hasSelection();
    const std::optional<PrinterChoice> chosen = kb_.dialogs.choosePrinter(options);
    if (!chosen) return;
    std::unique_ptr<QTextDocument> printed;
    if (selection.hasSelection()) {
        printed = std::make_unique<QTextDocument>();
        QTextCursor(printed.get()).insertFragment(selection.selection());
    } else {
        printed.reset(RichTextBox1_->document()->clone());
    }
    if (const std::optional<PrinterChoice> printer = Previewed(*printed, *chosen, options)) Print(*printed, *printer);
}

void frmHelp::PrintWholeFile() {
    PrintDialogOptions options = ReportPrintDialog(kHelpFileName, "", kb_.clock.today());
    options.offerSelection = true;
    const std::optional<PrinterChoice> chosen = kb_.dialogs.choosePrinter(options);
    if (!chosen) return;
    std::vector<std::unique_ptr<QTextDocument>> parts;
    QTextDocument whole;
    for (int part = 0; part < kPrintedParts; ++part) {
        // Each part is cut from a fresh copy of the file's text with its markers.
        const int first = 2 * part + 1;
        std::unique_ptr<QTextDocument> block(RichTextBox2_->document()->clone());
        RemoveMarker(*block, Marker('E', first));
        RemoveMarker(*block, Marker('S', first + 1));
        if (!CutSection(*block, Marker('S', first), Marker('E', first + 1))) continue;
        AppendOnNewPage(whole, *block);
        parts.push_back(std::move(block));
    }
    const std::optional<PrinterChoice> printer = Previewed(whole, *chosen, options);
    if (!printer) return;
    // A file has no sheets to insert: the parts go into one document, each from the top of a page.
    if (!printer->outputFile.empty()) return Print(whole, *printer);
    for (std::size_t part = 0; part < parts.size(); ++part) {
        if (part > 0 && kb_.dialogs.message(kAnotherSheet, kAppTitle, Buttons::OKCancel, Icon::None) != Answer::OK)
            return;
        Print(*parts[part], *printer);
    }
}

std::optional<PrinterChoice> frmHelp::Previewed(QTextDocument& document, const PrinterChoice& chosen,
                                                const PrintDialogOptions& options) {
    if (!chosen.preview) return chosen;
    document.setDefaultFont(RichTextBox1_->font());
    return printing_.preview(document, chosen, options);
}

void frmHelp::Print(QTextDocument& document, const PrinterChoice& printer) {
    document.setDefaultFont(RichTextBox1_->font());
    try {
        printing_.print(document, printer);
    } catch (...) {
    }
}

bool frmHelp::eventFilter(QObject* watched, QEvent* event) {
    // The visible box never keeps the focus.
    if (watched == RichTextBox1_ && event->type() == QEvent::FocusIn) {
        cmdExit_->setFocus();
    } else if (watched == cmdExit_ && event->type() == QEvent::KeyPress &&
               static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        close();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void frmHelp::keyPressEvent(QKeyEvent* event) {
    // Escape closes the viewer only from EXIT.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void frmHelp::done(int result) {
    kb_.HelpTarget.clear();
    QDialog::done(result);
}

}  // namespace kb
