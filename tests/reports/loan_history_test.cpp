#include "reports/loan_history.h"

#include <gtest/gtest.h>

#include "report_test_data.h"
#include "support/fixed_clock.h"
#include "support/scripted_dialogs.h"

namespace kb {
namespace {

using Page = std::vector<std::string>;
using Message = test::ScriptedDialogs::Message;

// A page of the history of test::ShownLoan: the 15 heading lines, then rows [first, last) at column 2.
Page HistoryPage(const std::string& pageOf, const std::vector<std::string>& rows, std::size_t first, std::size_t last) {
    Page page = {
        " KESTREL-BOOK VER8.03 for ACME MOTORS",
        "",
        "                                  LOAN HISTORY                    Page " + pageOf,
        "",
        "    Loan #: A1001",
        "     Customer: JOHN Q SMITH  ",
        "      Address: 12 ELM ST, SPRINGFIELD, IL 62701",
        "",
        "    Loan Date: 01/15/2024  Loan Amount:   1,234.50    APR: 12.500   Pmts/Yr: 12",
        " Next Pmt Due: 03/15/2025   Pmt Amount:     410.55",
        "",
        " " + std::string(80, '_'),
        "",
        "             CASH/      TOTAL     LATE",
        " DATE        CHECK      PAYMENT   FEE     INTEREST  PRINCIPAL    BALANCE",
    };
    for (std::size_t i = first; i < last; ++i) page.push_back(" " + rows[i]);
    return page;
}

const Message kFirst{kInsertBlankSheet, kAppTitle, Buttons::OKCancel, Icon::None};
const Message kAnother{kInsertAnotherSheet, kAppTitle, Buttons::OKCancel, Icon::None};

TEST(LoanHistoryTest, PagesHoldThirtyEightRowsUnderTheFullHeadingAndCancelEndsItSilently) {
    const auto rows1 = test::PaymentListRows(1), rows38 = test::PaymentListRows(38), rows39 = test::PaymentListRows(39);
    const auto payments1 = test::PaymentList(1), payments38 = test::PaymentList(38), payments39 = test::PaymentList(39);
    const Page full1of2 = HistoryPage(" 1 of  2", rows39, 0, 38);
    const struct {
        std::vector<PaymentRecord> payments;
        std::optional<PrinterChoice> printer;
        std::vector<Answer> answers;
        PrintOutcome outcome;
        std::vector<Page> pages;
        std::vector<Message> prompts;
    } cases[] = {
        {payments1, PrinterChoice{}, {Answer::OK}, PrintOutcome::Printed, {HistoryPage(" 1 of  1", rows1, 0, 1)},
         {kFirst}},
        {payments38, PrinterChoice{}, {Answer::OK}, PrintOutcome::Printed, {HistoryPage(" 1 of  1", rows38, 0, 38)},
         {kFirst}},
        {payments39, PrinterChoice{}, {Answer::OK, Answer::OK}, PrintOutcome::Printed,
         {full1of2, HistoryPage(" 2 of  2", rows39, 38, 39)}, {kFirst, kAnother}},
        {payments39, std::nullopt, {}, PrintOutcome::Cancelled, {}, {}},
        {payments39, PrinterChoice{}, {Answer::Cancel}, PrintOutcome::Cancelled, {}, {kFirst}},
        {payments39, PrinterChoice{}, {Answer::OK, Answer::Cancel}, PrintOutcome::Cancelled, {full1of2},
         {kFirst, kAnother}},
        {{}, PrinterChoice{}, {}, PrintOutcome::NothingToPrint, {}, {}},
    };
    for (const auto& c : cases) {
        test::ScriptedDialogs dialogs;
        test::FailingPrinting printing;
        test::FixedClock clock;
        KBMain kb(dialogs, printing, clock);
        dialogs.answerPrinter(c.printer);
        for (Answer answer : c.answers) dialogs.answerMessage(answer);
        const auto what =
            std::to_string(c.payments.size()) + " payments, " + std::to_string(c.answers.size()) + " answers";
        EXPECT_EQ(PrintLoanHistory(kb, {test::kCaption, test::ShownLoan(), c.payments}), c.outcome) << what;
        EXPECT_EQ(printing.pages, c.pages) << what;
        EXPECT_EQ(printing.opened, static_cast<int>(c.pages.size())) << what;
        EXPECT_EQ(dialogs.messages, c.prompts) << what;
        EXPECT_EQ(dialogs.printDialogs.at(0).fileName, "Loan history A1001 2026-12-06.pdf");
    }
    EXPECT_EQ(full1of2.size(), 53u);
}

TEST(LoanHistoryTest, PageNumbersAboveNinetyNineKeepTheirFirstTwoDigits) {
    EXPECT_EQ(LoanHistoryHeading({"", test::ShownLoan(), {}}, 100, 123)[2].lines().at(0).substr(66), "Page 10 of 12");
}

}  // namespace
}  // namespace kb
