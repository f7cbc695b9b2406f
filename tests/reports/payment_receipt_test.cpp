#include "reports/payment_receipt.h"

#include <gtest/gtest.h>

#include "report_test_data.h"

namespace kb {
namespace {

using Page = std::vector<std::string>;

// The two newest payments.
const PaymentRecord kNewestPayment{"A1001   20250315", "03/15/2025", "410.55", "10.00", "1", "297.67", "102.88",
                                   std::nullopt, "830.12", "1017"};
const PaymentRecord kPreviousPayment{"A1001   20250215", "02/15/2025", "400.00", "0.00", "1", "289.90", "110.10",
                                     std::nullopt, "1127.79", "CASH"};

// The receipt of test::ShownLoan with the loan amount as printed, the balance-forward line and the foot.
Page ReceiptPage(const std::string& loanAmount, const std::string& forward, const Page& foot) {
    Page page = {"                                 PAYMENT RECEIPT", "", "       Loan #: A1001",
                 "     Customer: JOHN Q SMITH  ", "      Address: 12 ELM ST, SPRINGFIELD, IL 62701", "",
                 "    Loan Date: 01/15/2024  Loan Amount: " + loanAmount + "    APR: 12.500   Pmts/Yr: 12",
                 " Next Pmt Due: 03/15/2025", "", " " + std::string(80, '_'), "",
                 "             CASH/      TOTAL     LATE",
                 " DATE        CHECK      PAYMENT   FEE     INTEREST  PRINCIPAL    BALANCE", forward,
                 " 03/15/2025  1017        410.55  10.00      102.88     297.67      830.12", "", "", ""};
    page.insert(page.end(), foot.begin(), foot.end());
    return page;
}

TEST(PaymentReceiptTest, OnePageWithTheStateBeforeTheNewestPayment) {
    const std::string firstForward = " 01/15/2024                0.00                                  1,234.50";
    const Page foot = {" ___________", " ACME MOTORS", "", " THANKS", " "};
    const std::tuple<std::string, std::vector<PaymentRecord>, std::string, std::string, Page> cases[] = {
        {"1234.5", {kNewestPayment}, "ACME MOTORS", "", ReceiptPage("  1,234.50", firstForward, foot)},
        // A later payment, with the loan amount emptied on the screen and not saved.
        {"", {kNewestPayment, kPreviousPayment, test::PaymentList(1)[0]}, "ACME MOTORS", "",
         ReceiptPage("       .00", " 02/15/2025              400.00                                  1,127.79",
                     foot)},
        {"1234.5", {kNewestPayment}, "", "COME AGAIN",
         ReceiptPage("  1,234.50", firstForward, {" ", " ", "", " THANKS", " COME AGAIN"})},
    };
    for (const auto& [loanAmount, payments, dealer, thanks2, page] : cases) {
        test::ReportDoubles doubles;
        ReceiptInput input{test::ShownLoan(), payments, dealer, "THANKS", thanks2};
        input.fields[kLoanAmtField] = loanAmount;
        doubles.answer(PrinterChoice{}, {Answer::OK});
        EXPECT_EQ(PrintPaymentReceipt(doubles.kb, input), PrintOutcome::Printed);
        EXPECT_EQ(doubles.printing.pages, std::vector<Page>{page}) << payments.size() << " payments, " << dealer;
        EXPECT_EQ(doubles.dialogs.messages.at(0).text, kInsertBlankSheet);
        EXPECT_EQ(doubles.dialogs.printDialogs.at(0).fileName, "Payment receipt A1001 2026-12-06.pdf");
    }
}

TEST(PaymentReceiptTest, NoPaymentsOrCancelPrintsNothingWithoutAMessage) {
    // The payments, the print dialog's answer (none: no print dialog expected), the paper prompt's answers.
    const std::tuple<std::vector<PaymentRecord>, std::vector<std::optional<PrinterChoice>>, std::vector<Answer>,
                     PrintOutcome> cases[] = {
        {{}, {}, {}, PrintOutcome::NothingToPrint},
        {{kNewestPayment}, {std::nullopt}, {}, PrintOutcome::Cancelled},
        {{kNewestPayment}, {PrinterChoice{}}, {Answer::Cancel}, PrintOutcome::Cancelled},
    };
    for (const auto& [payments, printer, prompts, outcome] : cases) {
        test::ReportDoubles doubles;
        if (!printer.empty()) doubles.answer(printer[0], prompts);
        EXPECT_EQ(PrintPaymentReceipt(doubles.kb, {test::ShownLoan(), payments, "ACME", "THANKS", ""}), outcome);
        EXPECT_EQ(doubles.dialogs.printDialogs.size(), printer.size());
        EXPECT_EQ(doubles.dialogs.messages.size(), prompts.size());
        EXPECT_EQ(doubles.printing.opened, 0);
    }
}

}  // namespace
}  // namespace kb
