#include "loan/payoff_calc.h"

#include <gtest/gtest.h>

namespace kb {
namespace {

struct PayOffCase {
    const char* name;
    const char* balance;
    const char* apr;
    const char* loanDT;
    const char* newestPmtDT;  // none: the loan has no payments
    const char* payOffDT;
    std::int64_t payoff;  // ten-thousandths
    const char* text;
    bool error;
};
void PrintTo(const PayOffCase& c, std::ostream* os) { *os << c.name; }

class FigurePayOffTest : public ::testing::TestWithParam<PayOffCase> {};

TEST_P(FigurePayOffTest, BalancePlusInterestToThePayoffDate) {
    const PayOffCase& c = GetParam();
    const auto newestPmtDT = c.newestPmtDT ? std::optional<std::string>(c.newestPmtDT) : std::nullopt;
    const PayOffFigure figure = FigurePayOff(PayOffBasisOf(c.balance, c.apr, c.loanDT, newestPmtDT), c.payOffDT);
    EXPECT_EQ(figure.payoff.TenThousandths(), c.payoff);
    EXPECT_EQ(figure.text, c.text);
    EXPECT_EQ(!figure.error.empty(), c.error) << figure.error;
}

constexpr const char* kNewestPmtDT = "01/31/2024";

// 1000.00 at 18 % for 30 days: 14.794520547945 rounds to 14.7945. With payments the loan date is left aside.
INSTANTIATE_TEST_SUITE_P(
    PayOff, FigurePayOffTest,
    ::testing::Values(
        PayOffCase{"NoPaymentsFromLoanDate", "1000.00", "18", "01/01/2024", nullptr,
                   "01/31/2024", 10147945, "  1,014.79", false},
        PayOffCase{"FromNewestPaymentOverLeapFebruary", "1000.00", "18.000", "06/15/2023", kNewestPmtDT,
                   "03/01/2024", 10147945, "  1,014.79", false},
        PayOffCase{"SameDateAsNewestPayment", "1000.00", "18", "06/15/2023", kNewestPmtDT,
                   "01/31/2024", 10000000, "  1,000.00", false},
        PayOffCase{"BeforeNewestPayment", "1000.00", "18", "06/15/2023", kNewestPmtDT,
                   "01/01/2024", 9852055, "    985.21", false},
        // 9.99 held as 9.98999977111816 gives 9989.9998 where 9.99 itself would give 9990.0000.
        PayOffCase{"AprInSinglePrecision", "100000.00", "9.99", "01/01/2023", nullptr,
                   "01/01/2024", 1099899998, "109,990.00", false},
        PayOffCase{"EmptyLoanDateBalanceAlone", "1000.00", "18", "", nullptr,
                   "01/31/2024", 10000000, "  1,000.00", true},
        PayOffCase{"LongestDayCount", "1000.00", "18", "01/01/1930", nullptr,
                   "09/18/2019", 171590685, " 17,159.07", false},
        PayOffCase{"DayCountBeyond16Bits", "1000.00", "18", "01/01/1930", nullptr,
                   "09/19/2019", 10000000, "  1,000.00", true}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kb
