#include "reports/payments_received.h"

#include <gtest/gtest.h>

#include <array>
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

TEST(PaymentsReceivedTest, ConditionsAreCheckedInOrder) {
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"3/1/2001", "03/01/2001 ", nullptr},  // a one-day range
        {"03/31/2001", "03/01/2001", "INVALID DATE RANGE"},
        {"", "03/31/2001", "MISSING BEGINNING OR ENDING DATE"},
        {"13/45/2001", "", "INVALID BEGINNING DATE"},  // before the missing one
        {"03/01/2001", "02/30/2001", "INVALID ENDING DATE"},
    };
    for (const auto& [beginning, ending, refusal] : cases)
        EXPECT_STREQ(CheckConditions(beginning, ending).refusal, refusal) << beginning << " - " << ending;
}

Page PaymentsPage(const std::string& between, std::vector<std::string> rows, const char* total) {
    Page page = {"    KESTREL-BOOK VER8.03 for ACME MOTORS", "", "    PAYMENTS MADE BETWEEN " + between, "",
                 "    LOAN-#   LOAN-NAME                        DATE-REC     PAYMENT"};
    page.insert(page.end(), rows.begin(), rows.end());
    if (total) page.insert(page.end(), {"", std::string(46, ' ') + "Total: " + total});
    return page;
}

// Prints the range's payments from the book's files, answering OK at `pages` paper prompts, and checks the messages:
// those shown while the payments are read, then the prompts.
std::vector<Page> Printed(test::TestBook& book, const DateRange& range, std::size_t pages,
                          std::vector<Message> messages = {}) {
    book.printing.pages.clear();
    book.dialogs.messages.clear();
    book.answer(PrinterChoice{}, std::vector<Answer>(pages, Answer::OK));
    EXPECT_EQ(PrintPmts(book.kb, test::kCaption, range, ReadPaymentsReceived(book.kb, range)), PrintOutcome::Printed);
    messages.insert(messages.end(), pages, kPaperPrompt);
    EXPECT_EQ(book.dialogs.messages, messages);
    EXPECT_EQ(book.dialogs.printDialogs.back().fileName, "Payments received 2026-12-06.pdf");
    return book.printing.pages;
}

// A long name pushes the date to the next line; an amount that cannot be read is left blank and named.
TEST(PaymentsReceivedTest, PageAcrossAYearChangeByDateThenLoanNumberNamesEachCustomer) {
    test::TestBook book;
    const std::array<const char*, 3> loans[] = {
        {"A2", "JOHN Q  ", "SMITH  "}, {"a10", "ANN", "LEE"}, {"C3", "BO", "KIM"}};
    for (const auto& [nbr, first, last] : loans) book.add(Loan(nbr, first, last, {}));
    const std::array<const char*, 3> payments[] = {{"C3", "01/02/2001", "30"},  {"A2", "12/30/2000", "100.5"},
                                                   {"A10", "12/30/2000", "1234"}, {"GONE", "12/31/2000", "5"},
                                                   {"C3", "02/01/2001", "99"},  {"B7", "01/03/2001", "1"}};
    for (const auto& [nbr, date, amount] : payments) book.pay(nbr, date, amount);
    book.writeUnchecked(book.kb.PmtsDB,
                        "UPDATE KBPmts SET Amount = '" + std::string(400, '9') + "' WHERE PmtDT = '01/03/2001'");
    book.writeUnchecked(book.kb.LoanDB, "UPDATE KBLoan SET FirstMI = 'BARTHOLOMEW-JAMES', LastNm = 'WORTHINGTON-SMYTHE'"
                                        " WHERE LoanNbr = 'C3'");
    const DateRange range{year{2000} / 12 / 1, year{2001} / 1 / 31};
    const Page expected = PaymentsPage("12/01/2000 and 01/31/2001",
                                       {"    A10      ANN LEE                         12/30/2000    1234.00",
                                        "    A2       JOHN Q SMITH                    12/30/2000     100.50",
                                        "    GONE     (LOAN NOT ON FILE)              12/31/2000       5.00",
                                        "    C3       BARTHOLOMEW-JAMES WORTHINGTON-SMYTHE",
                                        std::string(45, ' ') + "01/02/2001      30.00",
                                        "    B7       (LOAN NOT ON FILE)              01/03/2001           "},
                                       "     1,369.50");
    const Message overflow{"LOAN B7, PAYMENT 01/03/2001: Amount - Overflow", "FILL LIST", Buttons::OK, Icon::Critical};
    EXPECT_EQ(Printed(book, range, 1, {overflow}), std::vector<Page>{expected});

    std::filesystem::remove(book.kb.PmtsDB);
    EXPECT_EQ(PrintPmts(book.kb, test::kCaption, range, ReadPaymentsReceived(book.kb, range)),
              PrintOutcome::NothingToPrint);
    EXPECT_EQ(book.dialogs.messages.back(),
              (Message{"KB_Pmts.mdb was not found", "FILL LIST", Buttons::OK, Icon::Critical}));
    EXPECT_EQ(book.dialogs.printDialogs.size(), 1u);
}

TEST(PaymentsReceivedTest, FortySixPaymentsAPageAndTheTotalAfterTheLast) {
    const DateRange march{year{2001} / 3 / 1, year{2001} / 3 / 31};
    const auto page = [](int first, int last, const char* total) {
        std::vector<std::string> rows;
        for (int n = first; n <= last; ++n)
            rows.push_back("    " + Padded(Numbered(n), 9) + Padded("ANN ROW" + Numbered(n), 32) + "03/05/2001" +
                           "     100.00");
        return PaymentsPage("03/01/2001 and 03/31/2001", rows, total);
    };
    test::TestBook book;
    for (int n = 1; n <= 47; ++n) {
        if (n == 47) {  // 46 payments fill the page exactly, and the total still goes on it
            EXPECT_EQ(Printed(book, march, 1), std::vector<Page>{page(1, 46, "     4,600.00")});
        }
        book.add(Loan(Numbered(n), "ANN", "ROW" + Numbered(n), {}));
        book.pay(Numbered(n), "03/05/2001", "100");
    }
    EXPECT_EQ(Printed(book, march, 2), (std::vector<Page>{page(1, 46, nullptr), page(47, 47, "     4,700.00")}));
}

}  // namespace
}  // namespace kb
