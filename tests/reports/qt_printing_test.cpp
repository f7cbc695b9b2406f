#include "app/qt_printing.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTimer>
#include <filesystem>
#include <map>
#include <sstream>

#include "app/qt_dialogs.h"
#include "report_test_data.h"
#include "reports/loan_history.h"
#include "support/fixed_clock.h"
#include "support/scripted_dialogs.h"
#include "support/temp_dir.h"
#include "widgets/print_preview.h"

namespace kb {
namespace {

using test::FixedClock;
using test::TempDir;

// One page of a PDF file as pdftotext reads it back: its size, its lines top to bottom, each as its words with one
// blank between them, and where the text lies, in points from the page's left and bottom edges.
struct PdfPage {
    double width = 0;
    double height = 0;
    std::vector<std::string> lines;
    double left = 1e9;    // the left edge of the leftmost word
    double right = 0;     // the right edge of the rightmost word
    double lowest = 1e9;  // the bottom of the lowest word
};

std::vector<PdfPage> ReadPdf(const std::filesystem::path& path) {
    QProcess pdftotext;
    pdftotext.start("pdftotext", {"-bbox", QString::fromStdString(path.string()), "-"});
    EXPECT_TRUE(pdftotext.waitForFinished()) << "pdftotext (poppler-utils) is needed";
    const QString boxes = QString::fromUtf8(pdftotext.readAllStandardOutput());
    static const QRegularExpression item(R"re(<page width="([\d.]+)" height="([\d.]+)"|<word xMin="([\d.]+)" )re"
                                         R"re(yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re");
    std::vector<PdfPage> pages;
    std::vector<std::map<double, std::map<double, std::string>>> words;  // of each page, by top and left
    for (const QRegularExpressionMatch& match : item.globalMatch(boxes)) {
        const auto number = [&](int field) { return match.captured(field).toDouble(); };
        if (match.capturedLength(1) > 0) {
            pages.emplace_back().width = number(1);
            pages.back().height = number(2);
            words.emplace_back();
            continue;
        }
        PdfPage& page = pages.back();
        words.back()[number(4)][number(3)] = match.captured(7).toStdString();
        page.left = std::min(page.left, number(3));
        page.right = std::max(page.right, number(5));
        page.lowest = std::min(page.lowest, page.height - number(6));
    }
    for (std::size_t page = 0; page < pages.size(); ++page) {
        for (const auto& [top, line] : words[page]) {
            std::string text;
            for (const auto& [left, word] : line) text += (text.empty() ? "" : " ") + word;
            pages[page].lines.push_back(text);
        }
    }
    return pages;
}

// The words of a line, one blank between them.
std::string Words(const std::string& line) {
    std::istringstream in(line);
    std::string words;
    for (std::string word; in >> word;) words += (words.empty() ? "" : " ") + word;
    return words;
}

// The lines of a loan history page that draw something, as their words.
std::vector<std::string> HistoryPageText(const LoanHistoryInput& input, int page, int pages) {
    const std::vector<std::string> rows = test::PaymentListRows(static_cast<int>(input.payments.size()));
    std::vector<std::string> drawn;
    for (const PrintLine& line : LoanHistoryHeading(input, page, pages))
        if (!Words(line.lines()[0]).empty()) drawn.push_back(Words(line.lines()[0]));
    const std::size_t perPage = kLoanHistoryRowsPerPage, first = static_cast<std::size_t>(page - 1) * perPage;
    for (std::size_t row = first; row < std::min(first + perPage, rows.size()); ++row) drawn.push_back(Words(rows[row]));
    return drawn;
}

// On A4 and on Letter, every page keeps at least half an inch (36 points) of paper on every side.
TEST(QtPrintingTest, AReportPrintedToAFileIsOnePdfHoldingItsPagesInOrderWithinTheMargins) {
    const std::pair<const char*, double> papers[] = {{"A4", 595}, {"Letter", 612}};
    for (const auto& [paper, width] : papers) {
        TempDir dir;
        test::ScriptedDialogs dialogs;
        QtPrinting printing;
        test::FixedClock clock;
        KBMain kb(dialogs, printing, clock);
        const LoanHistoryInput input{test::kCaption, test::ShownLoan(), test::PaymentList(77)};
        dialogs.answerPrinter(PrinterChoice{"", dir.file("history.pdf"), false, paper});
        ASSERT_EQ(PrintLoanHistory(kb, input), PrintOutcome::Printed);
        EXPECT_TRUE(dialogs.messages.empty());  // no paper prompt
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
        const std::vector<PdfPage> pdf = ReadPdf(dir.path() / "history.pdf");
        ASSERT_EQ(pdf.size(), 3u) << paper;
        for (int page : {1, 2, 3}) {
            const PdfPage& printed = pdf[page - 1];
            EXPECT_EQ(printed.lines, HistoryPageText(input, page, 3)) << paper << " page " << page;
            EXPECT_NEAR(printed.width, width, 1);
            EXPECT_GE(printed.left, 36) << paper;
            EXPECT_LE(printed.right, printed.width - 36) << paper;
            EXPECT_GE(printed.lowest, 36) << paper;
        }
    }
}

// The preview draws the pages as they print, and its Print prints them on the printer chosen, as the report does.
TEST(QtPrintingTest, ThePreviewShowsThePagesAsTheyPrint) {
    TempDir dir;
    const LoanHistoryInput input{test::kCaption, test::ShownLoan(), test::PaymentList(77)};
    const std::vector<PageLines> pages = ReportPages(LoanHistoryReport(input));
    QPrinter pdf(QPrinter::HighResolution);
    pdf.setOutputFileName(QString::fromStdString(dir.file("preview.pdf")));
    DrawPages(pdf, pages);
    const std::vector<PdfPage> drawn = ReadPdf(dir.path() / "preview.pdf");
    ASSERT_EQ(drawn.size(), 3u);
    for (int page : {1, 2, 3}) EXPECT_EQ(drawn[page - 1].lines, HistoryPageText(input, page, 3)) << "page " << page;

    QPrinter printer(QPrinter::HighResolution);
    QPrintPreviewDialog preview(&printer);
    std::optional<PrinterChoice> answer;
    const PrinterChoice chosen{"Office", "", false, "Letter", true};
    PreparePrintPreview(preview, [&pages](QPrinter& on) { DrawPages(on, pages); }, chosen, {}, answer);
    auto* shown = preview.findChild<QPrintPreviewWidget*>();
    shown->updatePreview();
    EXPECT_EQ(shown->pageCount(), 3);
    for (QAction* action : preview.findChildren<QAction*>())
        if (action->text() == "Print") action->trigger();
    ASSERT_TRUE(answer.has_value());
    EXPECT_EQ(answer->printerName, "Office");
    EXPECT_TRUE(preview.findChild<QAction*>("actSaveAsPdf")->isVisible());
}

TEST(QtPrintingTest, APageLongerThanTheSheetGoesOnOnAFurtherSheetAndAFileGivenUpStaysAsItWas) {
    TempDir dir;
    auto job = QtPrinting().openJob(PrinterChoice{"", dir.file("long.pdf"), false});
    for (int i = 1; i <= 150; ++i) job->line("LINE " + std::to_string(i));
    job->close();
    const std::vector<PdfPage> pdf = ReadPdf(dir.path() / "long.pdf");
    ASSERT_EQ(pdf.size(), 2u);
    EXPECT_EQ(pdf[0].lines.size() + pdf[1].lines.size(), 150u);
    QtPrinting().openJob(PrinterChoice{"", dir.file("long.pdf"), false})->line("GIVEN UP");
    EXPECT_EQ(ReadPdf(dir.path() / "long.pdf").size(), 2u);
    EXPECT_THROW(QtPrinting().openJob(PrinterChoice{"", dir.file("no-folder/x.pdf"), false}), std::runtime_error);
}

// The offscreen platform has no printer: a report sent to none, or to one that is not there, says why under its
// label with the stop icon, and asks for no sheet of paper.
TEST(QtPrintingTest, APrinterThatIsNotThereIsReportedUnderTheReportsLabel) {
    const std::pair<const char*, const char*> cases[] = {
        {"", "NO PRINTER IS SET UP"},
        {"Office Laser", "The printer cannot be opened: Office Laser"},
    };
    for (const auto& [printer, words] : cases) {
        test::ScriptedDialogs dialogs;
        QtPrinting printing;
        test::FixedClock clock;
        KBMain kb(dialogs, printing, clock);
        dialogs.answerPrinter(PrinterChoice{printer, "", false});
        PrintLoanHistory(kb, {test::kCaption, test::ShownLoan(), test::PaymentList(1)});
        const test::ScriptedDialogs::Message said{words, kLoanHistoryLabel, Buttons::OK, Icon::Critical};
        EXPECT_EQ(dialogs.messages, std::vector<test::ScriptedDialogs::Message>{said});
    }
}

// Runs `answer` on the print dialog once it shows.
void WhenPrintDialogShows(std::function<void(QPrintDialog&)> answer) {
    QTimer::singleShot(0, [answer] {
        auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        answer(*dialog);
    });
}

// The offscreen platform has no printer: the print dialog says so, and has a PDF file of the proposed name
// preselected, in the documents folder or, when there is none, in the home folder. Preview leaves it as Print does,
// asking for the pages to be shown first.
TEST(QtDialogsTest, WithNoPrinterThePrintDialogSaysSoAndOffersTheProposedPdfFile) {
    for (const auto& [documents, preview] : {std::pair{"Documents", false}, std::pair{"", true}}) {
        TempDir home;
        const QByteArray homeBefore = qgetenv("HOME");
        qputenv("HOME", QByteArray::fromStdString(home.path().string()));
        std::filesystem::create_directories(home.path() / documents);
        const std::string proposed = (home.path() / documents / "Loan history A1001 2026-12-06.pdf").string();
        WhenPrintDialogShows([&](QPrintDialog& dialog) {
            EXPECT_TRUE(dialog.windowTitle().contains("NO PRINTER IS SET UP"));
            EXPECT_TRUE(dialog.findChild<QLabel*>("lblNoPrinter")->isVisible());
            EXPECT_EQ(dialog.findChild<QComboBox*>("printers")->currentText(), "Print to File (PDF)");
            EXPECT_EQ(dialog.findChild<QLineEdit*>("filename")->text().toStdString(), proposed);
            QPushButton* print = dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
            (preview ? dialog.findChild<QPushButton*>("cmdPreview") : print)->click();
        });
        const auto choice = QtDialogs().choosePrinter(ReportPrintDialog("Loan history", "A1001", FixedClock().date));
        ASSERT_TRUE(choice.has_value()) << preview;
        EXPECT_EQ(choice->outputFile, proposed) << documents;
        EXPECT_EQ(choice->preview, preview);
        qputenv("HOME", homeBefore);
    }
}

}  // namespace
}  // namespace kb
