#include "loan/payoff_calc.h"

#include <gtest/gtest.h>

namespace kb {
namespace {

TEST(FigurePayOffTest, BalancePlusInterestToThePayoffDate) {
    const std::optional<std::string> none, newest = "01/31/2024";
    // The balance, APR, loan date, newest payment's date (none: no payments) and payoff date, then the payoff in
    // ten-thousandths, as shown, and whether a failure is reported. 1000.00 at 18 % for 30 days: 14.794520547945
    // rounds to 14.7945. With payments the loan date is left aside.
    const std::tuple<const char*, const char*, const char*, std::optional<std::string>, const char*, std::int64_t,
                     const char*, bool>
        cases[] = {
            {"1000.00", "18", "01/01/2024", none, "01/31/2024", 10147945, "  1,014.79", false},
            {"1000.00", "18.000", "06/15/2023", newest, "03/01/2024", 10147945, "  1,014.79", false},  // leap February
            {"1000.00", "18", "06/15/2023", newest, "01/31/2024", 10000000, "  1,000.00", false},
            {"1000.00", "18", "06/15/2023", newest, "01/01/2024", 9852055, "    985.21", false},  // before it
            // 9.99 held as 9.98999977111816 gives 9989.9998 where 9.99 itself would give 9990.0000.
            {"100000.00", "9.99", "01/01/2023", none, "01/01/2024", 1099899998, "109,990.00", false},
            {"1000.00", "18", "", none, "01/31/2024", 10000000, "  1,000.00", true},  // no loan date: the balance alone
            // The longest day count, and one beyond 16 bits.
            {"1000.00", "18", "01/01/1930", none, "09/18/2019", 171590685, " 17,159.07", false},
            {"1000.00", "18", "01/01/1930", none, "09/19/2019", 10000000, "  1,000.00", true},
        };
    for (const auto& [balance, apr, loanDT, newestPmtDT, payOffDT, payoff, text, error] : cases) {
        const PayOffFigure figure = FigurePayOff(PayOffBasisOf(balance, apr, loanDT, newestPmtDT), payOffDT);
        EXPECT_EQ(std::tuple(figure.payoff.TenThousandths(), figure.text, !figure.error.empty()),
                  std::tuple(payoff, text, error))
            << loanDT << " / " << newestPmtDT.value_or("none") << " to " << payOffDT << ": " << figure.error;
    }
}

}  // namespace
}  // namespace kb
