#include "reports/payments_received.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "book_test_data.h"

namespace kb {
namespace {

using namespace std::chrono;
using test::Loan;
using test::Numbered;
using test::Padded;
using Page = std::vector<std::string>;
using Message = test::ScriptedDialogs::Message;

const Message kPaperPrompt{"Insert Blank Sheet of Paper in Printer", kAppTitle, Buttons::OKCancel, Icon::None};
const DateRange kMarch2001{year{2001} / 3 / 1, year{2001} / 3 / 31};

TEST(PaymentsReceivedTest, ConditionsAreCheckedInOrder) {
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"3/1/2001", "03/01/2001 ", nullptr},  // a one-day range
        {"03/31/2001", "03/01/2001", "INVALID DATE RANGE"},
        {"", "03/31/2001", "MISSING BEGINNING OR ENDING DATE"},
        {"13/45/2001", "", "INVALID BEGINNING DATE"},  // before the missing one
        {"03/01/2001", "02/30/2001", "INVALID ENDING DATE"},
    };
    for (const auto& [beginning, ending, refusal] : cases) {
        const Conditions conditions = CheckConditions(beginning, ending);
        EXPECT_STREQ(conditions.refusal, refusal) << beginning << " - " << ending;
        EXPECT_EQ(conditions.range.has_value(), refusal == nullptr);
    }
    EXPECT_EQ(CheckConditions("3/1/2001", "03/31/2001").range->first, kMarch2001.first);
}

Page PaymentsPage(const std::string& between, std::vector<std::string> rows, const char* total) {
    Page page = {"    KESTREL-BOOK VER8.03 for ACME MOTORS", "", "    PAYMENTS MADE BETWEEN " + between, "",
                 "    LOAN-#   LOAN-NAME                        DATE-REC     PAYMENT"};
    page.insert(page.end(), rows.begin(), rows.end());
    if (total) page.insert(page.end(), {"", std::string(46, ' ') + "Total: " + total});
    return page;
}

TEST(PaymentsReceivedTest, PageAcrossAYearChangeByDateThenLoanNumberNamesEachCustomer) {
    test::TestBook book;
    book.add(Loan("A2", "JOHN Q  ", "SMITH  ", {}));
    book.add(Loan("a10", "ANN", "LEE", {}));
    book.add(Loan("C3", "BO", "KIM", {}));
    for (const auto& [loanNbr, date, amount] :
         std::vector<std::tuple<const char*, const char*, const char*>>{{"C3", "01/02/2001", "30"},
                                                                        {"A2", "12/30/2000", "100.5"},
                                                                        {"A10", "12/30/2000", "1234"},
                                                                        {"GONE", "12/31/2000", "5"},
                                                                        {"C3", "02/01/2001", "99"}}) {
        book.pay(loanNbr, date, amount);
    }
    const DateRange range{year{2000} / 12 / 1, year{2001} / 1 / 31};
    book.answer(PrinterChoice{}, {Answer::OK});
    PrintPmts(book.kb, test::kCaption, range, ReadPaymentsReceived(book.kb, range));
    const Page expected = PaymentsPage("12/01/2000 and 01/31/2001",
                                       {"    A10      ANN LEE                         12/30/2000    1234.00",
                                        "    A2       JOHN Q SMITH                    12/30/2000     100.50",
                                        "    GONE     (LOAN NOT ON FILE)              12/31/2000       5.00",
                                        "    C3       BO KIM                          01/02/2001      30.00"},
                                       "     1,369.50");
    EXPECT_EQ(book.printing.pages, std::vector<Page>{expected});
    EXPECT_TRUE(book.dialogs.printDialogs.at(0).allowPrintToFile);
    EXPECT_EQ(book.dialogs.messages, std::vector{kPaperPrompt});

    std::filesystem::remove(book.kb.PmtsDB);
    EXPECT_TRUE(ReadPaymentsReceived(book.kb, range).empty());
    EXPECT_EQ(book.dialogs.messages.back(),
              (Message{"KB_Pmts.mdb was not found", "FILL LIST", Buttons::OK, Icon::Critical}));
}

std::vector<std::string> MarchRows(int first, int last) {
    std::vector<std::string> rows;
    for (int n = first; n <= last; ++n)
        rows.push_back("    " + Padded(Numbered(n), 9) + Padded("ANN ROW" + Numbered(n), 32) + "03/05/2001     100.00");
    return rows;
}

TEST(PaymentsReceivedTest, FortySixPaymentsAPageAndTheTotalAfterTheLast) {
    const std::string march = "03/01/2001 and 03/31/2001";
    const struct {
        int payments;
        std::optional<PrinterChoice> printer;
        std::vector<Answer> prompts;
        std::vector<Page> pages;
    } cases[] = {
        {46, PrinterChoice{}, {Answer::OK}, {PaymentsPage(march, MarchRows(1, 46), "     4,600.00")}},
        {47,
         PrinterChoice{},
         {Answer::OK, Answer::OK},
         {PaymentsPage(march, MarchRows(1, 46), nullptr), PaymentsPage(march, MarchRows(47, 47), "     4,700.00")}},
        {47, PrinterChoice{}, {Answer::OK, Answer::Cancel}, {PaymentsPage(march, MarchRows(1, 46), nullptr)}},
        {47, std::nullopt, {}, {}},
    };
    for (const auto& c : cases) {
        test::TestBook book;
        std::vector<PaymentRecord> payments;
        for (int n = 1; n <= c.payments; ++n) {
            book.add(Loan(Numbered(n), "ANN", "ROW" + Numbered(n), {}));
            payments.push_back({PmtKey(Numbered(n), "03/05/2001"), "03/05/2001", "100", "", "", "", "", {}, "", ""});
        }
        book.answer(c.printer, c.prompts);
        PrintPmts(book.kb, test::kCaption, kMarch2001, GatherPayments(payments, kMarch2001));
        EXPECT_EQ(book.printing.pages, c.pages) << c.payments;
        EXPECT_EQ(book.dialogs.messages, std::vector<Message>(c.prompts.size(), kPaperPrompt));
    }
    test::TestBook empty;
    EXPECT_EQ(PrintPmts(empty.kb, test::kCaption, kMarch2001, {}), PrintOutcome::NothingToPrint);
    EXPECT_TRUE(empty.dialogs.printDialogs.empty());
}

TEST(PaymentsReceivedTest, ALongNamePushesTheDateToTheNextLineAndStillCountsAsOneRow) {
    std::vector<LoanRecord> loans = {Loan("L01", "BARTHOLOMEW-JAMES", "WORTHINGTON-SMYTHE", {})};
    const std::vector<std::string> workList(46, "2001/03/05 L01           100.00");
    const Report report = PaymentsReceivedReport(test::kCaption, kMarch2001, workList, loans);
    EXPECT_EQ(report.rows.at(0).lines(), (std::vector<std::string>{"    L01      BARTHOLOMEW-JAMES WORTHINGTON-SMYTHE",
                                                                   std::string(45, ' ') + "03/05/2001     100.00"}));
    test::ScriptedDialogs dialogs;
    test::RecordingPrinting printing;
    dialogs.answerMessage(Answer::OK);
    PrintPages(dialogs, printing, {}, report, [](const std::function<void()>& step) { return step(), true; });
    ASSERT_EQ(printing.pages.size(), 1u);
    EXPECT_EQ(printing.pages[0].size(), 5u + 2 * 46u + 2u);  // each row two lines, all on one page
}

}  // namespace
}  // namespace kb
