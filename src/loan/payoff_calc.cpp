#include "loan/payoff_calc.h"

#include <cstdint>
#include <limits>
#include <stdexcept>

#include "core/dates.h"
#include "core/format.h"
#include "loanbook/payment_calc.h"

namespace kb {

namespace {

constexpr const char* kNoPayOffDate = "CAN'T FIGURE A PAYOFF AMOUNT WITHOUT A DATE";
constexpr const char* kPayOffMask = "###,##0.00";

std::string NotADate(std::string_view what, std::string_view text) {
    return std::string(what) + " \"" + std::string(text) + "\" is not a date";
}

}  // namespace

PayOffBasis PayOffBasisOf(std::string_view balance, std::string_view apr, std::string_view loanDT,
                          const std::optional<std::string>& newestPmtDT) {
    return {Currency::FromDouble(NumVal(balance)), AprOf(apr), InterestFromDT(loanDT, newestPmtDT)};
}

PayOffFigure FigurePayOff(const PayOffBasis& basis, std::string_view payOffDT) {
    PayOffFigure figure;
    const std::string date = TrimRight(payOffDT);
    if (date.empty()) {
        figure.message = kNoPayOffDate;
        return figure;
    }
    figure.computed = true;

    // A failed day count leaves no interest: the amount shown is then the balance alone, with the error.
    std::int16_t days = 0;
    const auto from = ParseStoredDate(TrimRight(basis.lastPmtDT));
    const auto to = ParseStoredDate(date);
    if (!from) {
        figure.error = NotADate("The loan date or last payment date", basis.lastPmtDT);
    } else if (!to) {
        figure.error = NotADate("The payoff date", payOffDT);
    } else {
        const long span = DaysBetween(*from, *to);
        if (span < std::numeric_limits<std::int16_t>::min() || span > std::numeric_limits<std::int16_t>::max()) {
            figure.error = "The payoff date " + std::string(date) + " is more than 32767 days from " +
                           basis.lastPmtDT;
        } else {
            days = static_cast<std::int16_t>(span);
        }
    }

    try {
        figure.payoff = basis.loanBal + Interest(basis.loanBal, basis.apr, days);
    } catch (const std::overflow_error& overflow) {
        figure.error = overflow.what();
        figure.payoff = basis.loanBal;
    }
    figure.text = Using(figure.payoff.ToDouble(), kPayOffMask);
    return figure;
}

}  // namespace kb
