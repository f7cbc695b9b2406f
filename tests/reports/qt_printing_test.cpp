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
#include <QTimer>
#include <filesystem>
#include <fstream>
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

// One page of a PDF file written by Qt: its size, the lines drawn on it, in order (an empty line draws nothing), and
// where the text lies, in points from the page's left and bottom edges.
struct PdfPage {
    double width = 0;
    double height = 0;
    std::vector<std::string> lines;
    double left = 1e9;    // the left edge of the leftmost character
    double right = 0;     // the right edge of the rightmost character
    double lowest = 1e9;  // the lowest baseline
};

// Qt's writer deflates streams, places each page with one matrix (a 0 0 d e f cm), puts each drawn line in a text
// object of its own (BT ... ET) and shows it glyph by glyph (x y Td <gggg> Tj), and maps glyphs back to characters in
// the font's ToUnicode table (bfrange lists).
std::string StreamAfter(const std::string& pdf, std::size_t from) {
    const std::size_t at = pdf.find(">>\nstream\n", from);
    const std::size_t begin = at + 10, end = pdf.find("endstream", begin);
    QByteArray data("\x00\x10\x00\x00", 4);  // qUncompress's size hint: 1 MiB
    data.append(pdf.data() + begin, static_cast<qsizetype>(end - begin));
    const std::size_t dictionary = pdf.rfind("<<", at);
    const bool deflated = pdf.substr(dictionary, at - dictionary).find("/FlateDecode") != std::string::npos;
    return (deflated ? qUncompress(data) : data.sliced(4)).toStdString();
}

std::vector<unsigned> HexCodes(const std::string& text, std::size_t from, std::size_t to) {
    std::vector<unsigned> codes;
    for (std::size_t open = text.find('<', from); open < to; open = text.find('<', open + 1))
        codes.push_back(static_cast<unsigned>(std::stoul(text.substr(open + 1, 4), nullptr, 16)));
    return codes;
}

std::map<unsigned, char> Glyphs(const std::string& pdf) {
    std::map<unsigned, char> glyphs;
    for (std::size_t at = pdf.find(">>\nstream\n"); at != std::string::npos; at = pdf.find(">>\nstream\n", at + 1)) {
        const std::string text = StreamAfter(pdf, at);
        for (std::size_t range = text.find("beginbfrange"); range != std::string::npos;
             range = text.find("beginbfrange", range + 1)) {
            for (std::size_t line = text.find('\n', range) + 1; text.compare(line, 10, "endbfrange") != 0;
                 line = text.find('\n', line) + 1) {
                const auto codes = HexCodes(text, line, text.find('\n', line));  // first, last, one code or a list
                for (unsigned glyph = codes[0]; glyph <= codes[1]; ++glyph) {
                    const unsigned code = codes.size() > 3 ? codes[2 + glyph - codes[0]] : codes[2] + glyph - codes[0];
                    glyphs[glyph] = code == '\t' ? ' ' : static_cast<char>(code);
                }
            }
        }
    }
    return glyphs;
}

// Reads a page's drawing, token by token (numbers are read whatever the desktop's language).
void ReadContent(const std::string& content, const std::map<unsigned, char>& glyphs, PdfPage& page) {
    std::istringstream in(content);
    std::vector<double> numbers;
    std::vector<double> place;  // the page's matrix
    double x = 0, y = 0, step = 0;
    for (std::string token; in >> token; numbers.push_back(QByteArray::fromStdString(token).toDouble())) {
        const auto number = [&](std::size_t back) { return numbers[numbers.size() - back]; };
        if (token == "cm" && place.empty()) {
            place.assign(numbers.end() - 6, numbers.end());
        } else if (token == "BT") {
            page.lines.emplace_back();
        } else if (token == "Tm") {
            x = number(2), y = number(1);
        } else if (token == "Td") {
            step = number(2), x += step, y += number(1);
        } else if (token.front() == '<') {
            page.lines.back() += glyphs.at(static_cast<unsigned>(std::stoul(token.substr(1, 4), nullptr, 16)));
            page.left = std::min(page.left, place[4] + place[0] * x);
            page.right = std::max(page.right, place[4] + place[0] * (x + step));
            page.lowest = std::min(page.lowest, place[5] - place[3] * y);  // the text matrix turns y over
        }
    }
}

std::vector<PdfPage> ReadPdf(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    const std::string pdf((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::map<unsigned, char> glyphs = Glyphs(pdf);
    std::vector<PdfPage> pages;
    for (std::size_t at = pdf.find("/Type /Page\n"); at != std::string::npos; at = pdf.find("/Type /Page\n", at + 1)) {
        PdfPage& page = pages.emplace_back();
        const std::size_t box = pdf.find("/MediaBox [0 0 ", at) + 15;
        std::istringstream size(pdf.substr(box, pdf.find(']', box) - box));
        std::string width, height;
        size >> width >> height;
        page.width = QByteArray::fromStdString(width).toDouble();
        page.height = QByteArray::fromStdString(height).toDouble();
        const std::size_t contents = pdf.find("/Contents ", at) + 10;
        const std::string object = "\n" + pdf.substr(contents, pdf.find(" 0 R", contents) - contents) + " 0 obj";
        ReadContent(StreamAfter(pdf, pdf.find(object)), glyphs, page);
    }
    return pages;
}

// The lines of a loan history page that draw something.
std::vector<std::string> HistoryPageText(const LoanHistoryInput& input, int page, int pages) {
    const std::vector<std::string> rows = test::PaymentListRows(static_cast<int>(input.payments.size()));
    std::vector<std::string> drawn;
    for (const PrintLine& line : LoanHistoryHeading(input, page, pages))
        if (!line.lines()[0].empty()) drawn.push_back(line.lines()[0]);
    const std::size_t perPage = kLoanHistoryRowsPerPage, first = static_cast<std::size_t>(page - 1) * perPage;
    for (std::size_t row = first; row < std::min(first + perPage, rows.size()); ++row) drawn.push_back(" " + rows[row]);
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
