#include "reports/loan_history.h"

#include <gtest/gtest.h>

#include "report_test_data.h"

namespace kb {
namespace {

using Page = std::vector<std::string>;
using Message = test::ScriptedDialogs::Message;

// A page of the history of test::ShownLoan: the 15 heading lines, then rows [first, last) at column 2.
Page HistoryPage(const std::string& pageOf, const std::vector<std::string>& rows, std::size_t first, std::size_t last) {
    Page page = {" KESTREL-BOOK VER8.03 for ACME MOTORS", "",
                 "                                  LOAN HISTORY                    Page " + pageOf, "",
                 "    Loan #: A1001", "     Customer: JOHN Q SMITH  ",
                 "      Address: 12 ELM ST, SPRINGFIELD, IL 62701", "",
                 "    Loan Date: 01/15/2024  Loan Amount:   1,234.50    APR: 12.500   Pmts/Yr: 12",
                 " Next Pmt Due: 03/15/2025   Pmt Amount:     410.55", "", " " + std::string(80, '_'), "",
                 "             CASH/      TOTAL     LATE",
                 " DATE        CHECK      PAYMENT   FEE     INTEREST  PRINCIPAL    BALANCE"};
    for (std::size_t i = first; i < last; ++i) page.push_back(" " + rows[i]);
    return page;
}

TEST(LoanHistoryTest, PagesHoldThirtyEightRowsUnderTheFullHeadingAndCancelEndsItSilently) {
    const Message first{kInsertBlankSheet, kAppTitle, Buttons::OKCancel, Icon::None};
    const Message another{kInsertAnotherSheet, kAppTitle, Buttons::OKCancel, Icon::None};
    const auto rows38 = test::PaymentListRows(38), rows39 = test::PaymentListRows(39);
    const Page full1of2 = HistoryPage(" 1 of  2", rows39, 0, 38);
    const std::tuple<int, std::optional<PrinterChoice>, std::vector<Answer>, PrintOutcome, std::vector<Page>,
                     std::vector<Message>> cases[] = {
        {38, PrinterChoice{}, {Answer::OK}, PrintOutcome::Printed, {HistoryPage(" 1 of  1", rows38, 0, 38)}, {first}},
        {39, PrinterChoice{}, {Answer::OK, Answer::OK}, PrintOutcome::Printed,
         {full1of2, HistoryPage(" 2 of  2", rows39, 38, 39)}, {first, another}},
        {39, PrinterChoice{}, {Answer::OK, Answer::Cancel}, PrintOutcome::Cancelled, {full1of2}, {first, another}},
        {0, PrinterChoice{}, {}, PrintOutcome::NothingToPrint, {}, {}},
    };
    for (const auto& [payments, printer, answers, outcome, pages, prompts] : cases) {
        SCOPED_TRACE(testing::Message() << payments << " payments, " << answers.size() << " answers");
        test::ReportDoubles doubles;
        doubles.answer(printer, answers);
        EXPECT_EQ(PrintLoanHistory(doubles.kb, {test::kCaption, test::ShownLoan(), test::PaymentList(payments)}),
                  outcome);
        EXPECT_EQ(doubles.printing.pages, pages);
        EXPECT_EQ(doubles.printing.opened, static_cast<int>(pages.size()));
        EXPECT_EQ(doubles.dialogs.messages, prompts);
        EXPECT_EQ(doubles.dialogs.printDialogs.at(0).fileName, "Loan history A1001 2026-12-06.pdf");
    }
}

TEST(LoanHistoryTest, PageNumbersAboveNinetyNineKeepTheirFirstTwoDigits) {
    EXPECT_EQ(LoanHistoryHeading({"", test::ShownLoan(), {}}, 100, 123)[2].lines().at(0).substr(66), "Page 10 of 12");
}

}  // namespace
}  // namespace kb
