#include "list/loan_list_report.h"

#include <gtest/gtest.h>

#include "list/loan_row.h"
#include "reports/book_test_data.h"

namespace kb {
namespace {

using namespace std::chrono;
using test::Loan;
using Page = std::vector<std::string>;
using Message = test::ScriptedDialogs::Message;

TEST(LoanListReportTest, ListedLoansKeepTheirOwnAmountsBesideTheRows) {
    const std::vector<LoanRecord> loans = {Loan("A1", "JOHN", "SMITH", year{2026} / 1 / 15, "1234567.89", "12.345"),
                                           Loan("", "NO", "NUMBER", {}, "5", "5"), Loan("B2", "ANN", "DOE", {}),
                                           Loan("C3", "BO", "KIM", {}, "9", "1" + std::string(400, '0'))};
    FigureReader figures, rowFigures;
    const std::vector<ListedLoan> listed = ListLoans(loans, figures);
    ASSERT_EQ(listed.size(), 3u);
    EXPECT_EQ((std::vector{listed[0].row, listed[1].row, listed[2].row}), LoanRows(loans, rowFigures));
    EXPECT_EQ((std::vector{listed[0].loan, listed[1].loan, listed[2].loan}),
              (std::vector{loans[0], loans[2], loans[3]}));
    // The row cuts the balance to its column; the value beside it is whole. A payment too long to be read counts as 0
    // in the totals, and is named.
    const auto tt = Currency::FromTenThousandths;
    EXPECT_EQ((std::vector{listed[0].balance, listed[0].payment, listed[1].balance, listed[2].balance,
                           listed[2].payment}),
              (std::vector{tt(12345678900), tt(123450), Currency(), tt(90000), Currency()}));
    EXPECT_EQ(figures.failure(), "LOAN C3: Payment - Overflow");
}

TEST(LoanListTypeAheadTest, FirstLoanWhoseKeyInTheOrderStartsWithWhatWasTyped) {
    FigureReader figures;
    const std::vector<ListedLoan> byName = ListLoans(
        {Loan("C3", "ZOE", "Adams", {}), Loan("A10", "JOHN", "SMITH", {}), Loan("B20", "MARY", "smith", {})}, figures);
    const std::vector<ListedLoan> byId = ListLoans(
        {Loan("A1", "JOHN", "SMITH", {}), Loan("a10", "JOHN", "SMITH", {}), Loan("B20", "MARY", "smith", {})}, figures);
    const std::tuple<const std::vector<ListedLoan>&, LoanOrder, const char*, int> cases[] = {
        {byName, LoanOrder::ByName, "sm", 1}, {byName, LoanOrder::ByName, "ADAMSX", -1},
        {byName, LoanOrder::ByName, "c", -1}, {byId, LoanOrder::ById, "A10", 1},
        {byId, LoanOrder::ByDueDate, "b", 2}, {byId, LoanOrder::ById, "s", -1},
    };
    for (const auto& [loans, order, typed, row] : cases) EXPECT_EQ(TypeAheadRow(loans, order, typed), row) << typed;
}

// `count` listed loans: the first owes a million and more, the others 100.00; each pays 410.55.
std::vector<ListedLoan> Listed(int count) {
    std::vector<LoanRecord> loans;
    for (int n = 1; n <= count; ++n)
        loans.push_back(Loan(test::Numbered(n), "A", "B", {}, n == 1 ? "1234567.89" : "100.00", "410.55"));
    FigureReader figures;
    return ListLoans(loans, figures);
}

Page ListPage(const std::vector<ListedLoan>& loans, std::size_t first, std::size_t last, const char* totals) {
    Page page = {" KESTREL-BOOK VER8.03 for ACME MOTORS", "", std::string(38, ' ') + "LOANS", "",
                 std::string(55, ' ') + "----NEXT PAYMENT----",
                 " LOAN-#   LOAN-NAME                         BALANCE    DUE-DATE     PAYMENT"};
    for (std::size_t i = first; i < last; ++i) page.push_back(" " + loans[i].row);
    if (totals) page.insert(page.end(), {"", std::string(34, ' ') + "Total: " + totals});
    return page;
}

TEST(LoanListReportTest, FortySixRowsAPageWithTheTotalsOfTheLoansOwnAmounts) {
    const Message prompt{"Insert Blank Sheet of Paper in Printer", kAppTitle, Buttons::OKCancel, Icon::None};
    const auto loans46 = Listed(46), loans47 = Listed(47);
    const Page first47 = ListPage(loans47, 0, 46, nullptr);
    const std::tuple<std::vector<ListedLoan>, std::optional<PrinterChoice>, std::vector<Answer>, std::vector<Page>>
        cases[] = {
            // The last row fills the page: the totals go on that same page.
            {loans46, PrinterChoice{}, {Answer::OK}, {ListPage(loans46, 0, 46, " 1,239,067.89             18,885.30")}},
            {loans47, PrinterChoice{}, {Answer::OK, Answer::OK},
             {first47, ListPage(loans47, 46, 47, " 1,239,167.89             19,295.85")}},
            {loans47, PrinterChoice{}, {Answer::OK, Answer::Cancel}, {first47}},
        };
    for (const auto& [loans, printer, prompts, pages] : cases) {
        test::TestBook book;
        book.answer(printer, prompts);
        PrintLoanList(book.kb, test::kCaption, loans);
        EXPECT_EQ(book.printing.pages, pages) << loans.size();
        EXPECT_EQ(book.dialogs.messages, std::vector<Message>(prompts.size(), prompt));
        EXPECT_EQ(book.dialogs.printDialogs.at(0).fileName, "Loan list 2026-12-06.pdf");
    }
}

}  // namespace
}  // namespace kb
