#include "reports/payment_receipt.h"

#include <gtest/gtest.h>

#include "report_test_data.h"
#include "support/fixed_clock.h"
#include "support/scripted_dialogs.h"

namespace kb {
namespace {

using Page = std::vector<std::string>;

// The two newest payments and the newest as the payment list shows it.
const PaymentRecord kNewestPayment{"A1001   20250315", "03/15/2025", "410.55", "10.00", "1", "297.67", "102.88",
                                   std::nullopt, "830.12", "1017"};
const PaymentRecord kPreviousPayment{"A1001   20250215", "02/15/2025", "400.00", "0.00", "1", "289.90", "110.10",
                                     std::nullopt, "1127.79", "CASH"};
const std::string kNewest = "03/15/2025  1017        410.55  10.00      102.88     297.67      830.12";

// The receipt of test::ShownLoan with the loan amount as printed, the balance-forward line and the foot.
Page ReceiptPage(const std::string& loanAmount, const std::string& forward, const Page& foot) {
    Page page = {
        "                                 PAYMENT RECEIPT",
        "",
        "       Loan #: A1001",
        "     Customer: JOHN Q SMITH  ",
        "      Address: 12 ELM ST, SPRINGFIELD, IL 62701",
        "",
        "    Loan Date: 01/15/2024  Loan Amount: " + loanAmount + "    APR: 12.500   Pmts/Yr: 12",
        " Next Pmt Due: 03/15/2025",
        "",
        " " + std::string(80, '_'),
        "",
        "             CASH/      TOTAL     LATE",
        " DATE        CHECK      PAYMENT   FEE     INTEREST  PRINCIPAL    BALANCE",
        forward,
        " " + kNewest,
        "",
        "",
        "",
    };
    page.insert(page.end(), foot.begin(), foot.end());
    return page;
}

TEST(PaymentReceiptTest, OnePageWithTheStateBeforeTheNewestPayment) {
    const std::string firstForward = " 01/15/2024                0.00                                  1,234.50";
    const Page defaultFoot = {" ___________", " ACME MOTORS", "", " THANK YOU FOR YOUR PAYMENT", " "};
    const struct {
        std::string loanAmount;
        std::vector<PaymentRecord> payments;
        std::string dealer, thanks1, thanks2;
        Page page;
    } cases[] = {
        {"1234.5", {kNewestPayment}, "ACME MOTORS", "THANK YOU FOR YOUR PAYMENT", "",
         ReceiptPage("  1,234.50", firstForward, defaultFoot)},
        // A later payment, with the loan amount emptied on the screen and not saved.
        {"", {kNewestPayment, kPreviousPayment, test::PaymentList(1)[0]}, "ACME MOTORS", "THANK YOU FOR YOUR PAYMENT",
         "",
         ReceiptPage("       .00", " 02/15/2025              400.00                                  1,127.79",
                     defaultFoot)},
        {"1234.5", {kNewestPayment}, "", "THANKS", "COME AGAIN",
         ReceiptPage("  1,234.50", firstForward, {" ", " ", "", " THANKS", " COME AGAIN"})},
    };
    for (const auto& c : cases) {
        test::ScriptedDialogs dialogs;
        test::FailingPrinting printing;
        test::FixedClock clock;
        KBMain kb(dialogs, printing, clock);
        ReceiptInput input{test::ShownLoan(), c.payments, c.dealer, c.thanks1, c.thanks2};
        input.fields[kLoanAmtField] = c.loanAmount;
        dialogs.answerPrinter(PrinterChoice{});
        dialogs.answerMessage(Answer::OK);
        EXPECT_EQ(PrintPaymentReceipt(kb, input), PrintOutcome::Printed);
        EXPECT_EQ(printing.pages, std::vector<Page>{c.page}) << c.payments.size() << " payments, " << c.dealer;
        EXPECT_EQ(dialogs.messages.at(0).text, kInsertBlankSheet);
        EXPECT_EQ(dialogs.printDialogs.at(0).fileName, "Payment receipt A1001 2026-12-06.pdf");
    }
}

TEST(PaymentReceiptTest, NoPaymentsOrCancelPrintsNothingWithoutAMessage) {
    const struct {
        std::vector<PaymentRecord> payments;
        std::vector<std::optional<PrinterChoice>> printer;  // empty: no print dialog expected
        std::vector<Answer> prompts;
        PrintOutcome outcome;
    } cases[] = {
        {{}, {}, {}, PrintOutcome::NothingToPrint},
        {{kNewestPayment}, {std::nullopt}, {}, PrintOutcome::Cancelled},
        {{kNewestPayment}, {PrinterChoice{}}, {Answer::Cancel}, PrintOutcome::Cancelled},
    };
    for (const auto& c : cases) {
        test::ScriptedDialogs dialogs;
        test::FailingPrinting printing;
        test::FixedClock clock;
        KBMain kb(dialogs, printing, clock);
        for (const auto& printer : c.printer) dialogs.answerPrinter(printer);
        for (Answer answer : c.prompts) dialogs.answerMessage(answer);
        EXPECT_EQ(PrintPaymentReceipt(kb, {test::ShownLoan(), c.payments, "ACME", "THANKS", ""}), c.outcome);
        EXPECT_EQ(dialogs.printDialogs.size(), c.printer.size());
        EXPECT_EQ(dialogs.messages.size(), c.prompts.size());
        EXPECT_EQ(printing.opened, 0);
    }
}

}  // namespace
}  // namespace kb
