#include "loanbook/payment_calc.h"

#include <gtest/gtest.h>

#include <array>
#include <tuple>

namespace kb {
namespace {

using namespace std::chrono;
using enum PmtCalcOutcome;

TEST(PmtCalcTest, SplitsThePaymentIntoInterestAndPrincipal) {
    // The entry, then interest, principal and balance after, in ten-thousandths and as shown.
    const std::tuple<PmtCalcInput, std::array<std::int64_t, 3>, std::array<std::string, 3>> cases[] = {
        {{"01/31/2024", "100.00", "", "1000.00", "12.000", "01/01/2024"}, {98630, 901370, 9098630},
         {"     9.86", "    90.14", "   909.86"}},
        {{"02/01/2024", "250.00", "15.00", "5000.00", "9.900", "01/01/2024"}, {420411, 1929589, 48070411},
         {"    42.04", "   192.96", "  4807.04"}},
        // No interest and no look at the dates, even one before the last payment.
        {{"01/15/2024", "100.00", "", "1000.00", "0", "02/01/2024"}, {0, 1000000, 9000000},
         {"     0.00", "   100.00", "   900.00"}},
        {{"03/15/2024", "100.00", "", "1000.00", "12.000", "03/15/2024"}, {0, 1000000, 9000000},
         {"     0.00", "   100.00", "   900.00"}},
        // The rate is single precision: 9.99 is 9.98999977..., 49.8131 where a double rate gives 49.8132.
        {{"07/01/2024", "100.00", "", "1000.00", "9.99", "01/01/2024"}, {498131, 501869, 9498131},
         {"    49.81", "    50.19", "   949.81"}},
        // The product lands on 549994.5 ten-thousandths and goes to even; interest above the amount raises the balance.
        {{"01/01/2024", "50.00", "", "999.99", "5.5", "01/01/2023"}, {549994, -49994, 10049894},
         {"    55.00", "    -5.00", "  1004.99"}},
    };
    for (const auto& [input, amounts, texts] : cases) {
        const PmtCalcResult r = PmtCalc(input);
        EXPECT_EQ(std::tuple(r.outcome, r.message + r.error,
                             std::array{r.interest.TenThousandths(), r.principal.TenThousandths(),
                                        r.balanceAfter.TenThousandths()},
                             std::array{r.interestText, r.principalText, r.balanceText}),
                  std::tuple(Computed, "", amounts, texts))
            << input.balance << " at " << input.apr;
    }
}

TEST(PmtCalcTest, RefusesOrSkipsWhatItCannotSplit) {
    // A loan without a loan date is reported, and the payment is split without interest.
    const std::tuple<PmtCalcInput, PmtCalcOutcome, std::string, bool> cases[] = {
        {{"   ", "100.00", "", "1000.00", "12", "01/01/2024"}, NotComputed, "", false},
        {{"01/31/2024", "0.00", "5.00", "1000.00", "12", "01/01/2024"}, NotComputed, "", false},
        {{"03/14/2024", "100.00", "", "1000.00", "12", "03/15/2024"}, BackPayment, "CAN'T POST A BACK PAYMENT", false},
        {{"03/14/2024", "100.00", "", "1000.00", "12", ""}, Computed, "", true},
        {{"03/14/2024", "100.00", "", "999999999999999", "12", "01/01/2024"}, NotComputed, "", true},
    };
    for (const auto& [input, outcome, message, error] : cases) {
        const PmtCalcResult r = PmtCalc(input);
        EXPECT_EQ(std::tuple(r.outcome, r.message, !r.error.empty(), r.balanceText.empty()),
                  std::tuple(outcome, message, error, outcome != Computed))
            << '"' << input.pmtDT << "\" " << input.amount << " from \"" << input.lastPmtDT << "\": " << r.error;
    }
    EXPECT_EQ(PmtCalc(std::get<0>(cases[3])).principal, Currency::FromTenThousandths(1000000));
}

TEST(CalcNextPmtDTTest, StepsByThePaymentsPerYear) {
    // The periods, the payments per year, the due date, the date stepped to and whether a failure is reported.
    const std::tuple<int, const char*, const char*, const char*, bool> cases[] = {
        {1, "12", "01/31/2024", "02/29/2024", false},  {2, "12", "01/31/2024", "03/29/2024", false},
        {1, "26", "01/31/2024", "02/14/2024", false},  {1, "4", "01/31/2024", "04/30/2024", false},
        {1, "1", "02/29/2024", "02/28/2025", false},   {2, "52", "01/31/2024", "02/14/2024", false},
        {1, "2", "01/31/2024", "08/01/2024", false},   {0, "12", "01/31/2024", "01/31/2024", false},
        {-1, "12", "02/29/2024", "01/29/2024", false}, {-2, "26", "03/15/2024", "02/16/2024", false},
        {-1, "4", "05/31/2024", "02/29/2024", false},
        // Rounded half to even: 12.5 is 12 a year, monthly.
        {1, "12.5", "01/31/2024", "02/29/2024", false},
        // No payments per year: one day per payment, reported.
        {3, "", "01/31/2024", "02/03/2024", true},    {-1, "0", "01/31/2024", "01/30/2024", true},
        {1, "12", "", "", true},                       {1, "12", "13/45/2024", "", true},
        {1, "1", "12/31/9999", "", true},
    };
    for (const auto& [count, perYear, start, expected, error] : cases) {
        const NextPmtDTResult result = CalcNextPmtDT(count, perYear, start);
        EXPECT_EQ(std::pair(result.text(), !result.error.empty()), std::pair(std::string(expected), error))
            << start << " + " << count << " at " << perYear << " a year: " << result.error;
    }
}

PaymentRecord Payment(std::string date, std::string check, std::string amount, std::string lateFee,
                      std::string interest, std::string principal, std::string balance, std::string nbrPmts = "1") {
    std::string key = "A17     " + date.substr(6, 4) + date.substr(0, 2) + date.substr(3, 2);
    return {key, date, amount, lateFee, nbrPmts, principal, interest, std::nullopt, balance, check};
}

TEST(PaymentListTest, RowsAreFixedColumnsNewestFirst) {
    FigureReader figures;
    const std::vector<std::string> rows = PaymentRowsNewestFirst(
        {Payment("03/15/2024", "CASH", "250.00", "", "    42.04", "   207.96", "  4792.04"),
         // Check number cut at 6, a late fee too wide for its 5 characters, a balance in the millions.
         Payment("04/15/2024", "1234567", "1250.00", "125.00", "", "", "1234567.891"),
         // Interest too long to be read as a number: its column is blank, and it is named.
         Payment("05/15/2024", "CASH", "250.00", "", std::string(400, '9'), "207.96", "4584.08")},
        figures);
    EXPECT_EQ(rows, (std::vector<std::string>{
                        "05/15/2024  CASH        250.00   0.00                 207.96    4,584.08",
                        "04/15/2024  123456    1,250.00  125.0        0.00       0.00  1,234,567.",
                        "03/15/2024  CASH        250.00   0.00       42.04     207.96    4,792.04"}));
    EXPECT_EQ(figures.failure(), "LOAN A17, PAYMENT 05/15/2024: Interest - Overflow");
}

TEST(PostingTest, RefusesFutureDatesAndMissingDateOrAmount) {
    const std::string later = "Can't Post with a Date Later Than Todays Date";
    const std::string missing = "CAN'T POST PMT WITHOUT PMT DATE AND PMT AMOUNT";
    const std::tuple<const char*, const char*, std::optional<std::string>> cases[] = {
        {"03/15/2024", "100.00", std::nullopt}, {"03/16/2024", "100.00", later}, {"01/01/2025", "0", later},
        {"", "100.00", missing},               {"03/15/2024", "0.00", missing}, {"03/15/2024", "", missing},
        {"03/15/2024", "-5.00", missing},
    };
    for (const auto& [date, amount, refusal] : cases)
        EXPECT_EQ(PostRefusal(date, amount, year{2024} / 3 / 15), refusal) << date << " " << amount;
}

TEST(TakeBackTest, RestoresBalanceAndStepsTheDueDateBack) {
    // The payment taken back, the payments per year and the due date, then the balance and due date restored.
    const std::tuple<PaymentRecord, const char*, const char*, const char*, const char*> cases[] = {
        // The first payment of 1000.00 at 12 %: the loan amount again; the shortened day stays at the 29th.
        {Payment("01/31/2024", "CASH", "100.00", "", "     9.86", "    90.14", "   909.86"), "12", "02/29/2024",
         "1000.00", "01/29/2024"},
        {Payment("03/15/2024", "CASH", "500.00", "", "    20.00", "   480.00", "  4520.00", "2"), "26", "03/15/2024",
         "5000.00", "02/16/2024"},
        {Payment("03/15/2024", "CASH", "50.00", "", "    20.00", "    30.00", "   970.00", "0"), "12", "04/15/2024",
         "1000.00", "04/15/2024"},
    };
    for (const auto& [payment, perYear, nextPmtDT, balance, restoredDue] : cases) {
        const PaymentTakeBack back = TakeBackPayment(payment, perYear, nextPmtDT);
        EXPECT_EQ(std::tuple(back.message, back.balanceText, back.nextPmtDT.text()),
                  std::tuple("", balance, restoredDue));
    }
    EXPECT_EQ(TakeBackPayment(std::nullopt, "12", "02/29/2024").message, "PAYMENT NOT FOUND - CAN'T DELETE");
    EXPECT_EQ(NewestPaymentKey("A17", std::get<0>(cases[1])), std::get<0>(cases[1]).LoanNbr);
}

}  // namespace
}  // namespace kb
