#include "app/qt_printing.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPrintDialog>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <map>

#include "app/qt_dialogs.h"
#include "report_test_data.h"
#include "reports/loan_history.h"
#include "support/fixed_clock.h"
#include "support/scripted_dialogs.h"
#include "support/temp_dir.h"

namespace kb {
namespace {

using test::TempDir;

// What a PDF file written by Qt shows: its page count and the lines drawn, in order (an empty line draws nothing).
// Qt's writer deflates content streams, puts each drawn line in a text object of its own (BT ... ET), shows it
// glyph by glyph (<gggg> Tj), and maps glyphs back to characters in the font's ToUnicode table (bfrange lists).
struct PdfFile {
    int pages = 0;
    std::vector<std::string> lines;
};

std::vector<unsigned> HexCodes(const std::string& text, std::size_t from, std::size_t to) {
    std::vector<unsigned> codes;
    for (std::size_t open = text.find('<', from); open < to; open = text.find('<', open + 1))
        codes.push_back(static_cast<unsigned>(std::stoul(text.substr(open + 1, 4), nullptr, 16)));
    return codes;
}

PdfFile ReadPdf(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    const std::string pdf((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string text;  // every stream, inflated, one after the other
    for (std::size_t at = pdf.find(">>\nstream\n"); at != std::string::npos; at = pdf.find(">>\nstream\n", at + 1)) {
        const std::size_t begin = at + 10, end = pdf.find("endstream", begin);
        QByteArray data("\x00\x10\x00\x00", 4);  // qUncompress's size hint: 1 MiB
        data.append(pdf.data() + begin, static_cast<qsizetype>(end - begin));
        const std::size_t dictionary = pdf.rfind("<<", at);
        const bool deflated = pdf.substr(dictionary, at - dictionary).find("/FlateDecode") != std::string::npos;
        text += (deflated ? qUncompress(data) : data.sliced(4)).toStdString() + "\n";
    }
    PdfFile file;
    for (std::size_t at = pdf.find("/Type /Page"); at != std::string::npos; at = pdf.find("/Type /Page", at + 1))
        file.pages += pdf[at + 11] != 's';
    std::map<unsigned, char> glyphs;
    for (std::size_t at = text.find("beginbfrange"); at != std::string::npos; at = text.find("beginbfrange", at + 1)) {
        for (std::size_t line = text.find('\n', at) + 1; text.compare(line, 10, "endbfrange") != 0;
             line = text.find('\n', line) + 1) {
            const auto codes = HexCodes(text, line, text.find('\n', line));  // first, last, then one code or a list
            for (unsigned glyph = codes[0]; glyph <= codes[1]; ++glyph) {
                const unsigned code = codes.size() > 3 ? codes[2 + glyph - codes[0]] : codes[2] + glyph - codes[0];
                glyphs[glyph] = code == '\t' ? ' ' : static_cast<char>(code);
            }
        }
    }
    for (std::size_t bt = text.find("BT\n"); bt != std::string::npos; bt = text.find("BT\n", bt + 1)) {
        file.lines.emplace_back();
        for (unsigned glyph : HexCodes(text, bt, text.find("\nET", bt))) file.lines.back() += glyphs.at(glyph);
    }
    return file;
}

TEST(QtPrintingTest, EachPageOfAReportIsAPdfFileOfItsOwnHoldingItsLines) {
    TempDir dir;
    test::ScriptedDialogs dialogs;
    QtPrinting printing;
    test::FixedClock clock;
    KBMain kb(dialogs, printing, clock);
    const LoanHistoryInput input{test::kCaption, test::ShownLoan(), test::PaymentList(39)};
    const std::vector<std::string> rows = test::PaymentListRows(39);
    dialogs.answerPrinter(PrinterChoice{"", dir.file("history.pdf"), false});
    dialogs.answerMessage(Answer::OK);
    dialogs.answerMessage(Answer::OK);
    ASSERT_EQ(PrintLoanHistory(kb, input), PrintOutcome::Printed);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2);
    for (int page : {1, 2}) {
        std::vector<std::string> drawn;
        for (const PrintLine& line : LoanHistoryHeading(input, page, 2))
            if (!line.lines()[0].empty()) drawn.push_back(line.lines()[0]);
        for (int row = (page - 1) * 38; row < std::min(page * 38, 39); ++row)
            drawn.push_back(" " + rows[row]);
        const PdfFile pdf = ReadPdf(dir.path() / (page == 1 ? "history.pdf" : "history-2.pdf"));
        EXPECT_EQ(pdf.pages, 1);
        EXPECT_EQ(pdf.lines, drawn) << "page " << page;
    }
}

TEST(QtPrintingTest, APageLongerThanTheSheetGoesOnOnAFurtherSheetOfTheSameFile) {
    TempDir dir;
    auto job = QtPrinting().openPage(PrinterChoice{"", dir.file("long.pdf"), false});
    for (int i = 1; i <= 150; ++i) job->line("LINE " + std::to_string(i));
    job->close();
    const PdfFile pdf = ReadPdf(dir.path() / "long.pdf");
    EXPECT_EQ(pdf.pages, 2);
    EXPECT_EQ(pdf.lines.size(), 150u);
    EXPECT_THROW(QtPrinting().openPage(PrinterChoice{"", dir.file("no-folder/x.pdf"), false}), std::runtime_error);
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

TEST(QtDialogsTest, ThePrintDialogOffersPrintingToAFileOnlyWhenAsked) {
    TempDir dir;
    for (bool toFile : {false, true}) {
        bool offered = !toFile;
        WhenPrintDialogShows([&](QPrintDialog& dialog) {
            offered = dialog.testOption(QAbstractPrintDialog::PrintToFile);
            if (!toFile) return dialog.reject();
            // The file entry ends the dialog's printer list (the names are those of Qt's own dialog).
            auto* printers = dialog.findChild<QComboBox*>("printers");
            printers->setCurrentIndex(printers->count() - 1);
            dialog.findChild<QLineEdit*>("filename")->setText(QString::fromStdString(dir.file("r.pdf")));
            dialog.accept();
        });
        const auto choice = QtDialogs().choosePrinter({toFile, false});
        EXPECT_EQ(offered, toFile);
        EXPECT_EQ(choice.has_value(), toFile);
        EXPECT_EQ(choice.value_or(PrinterChoice{}).outputFile, toFile ? dir.file("r.pdf") : "");
    }
}

}  // namespace
}  // namespace kb
