#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "core/currency.h"

namespace kb {

// What the payoff window takes from the loan record screen when it opens.
struct PayOffBasis {
    Currency loanBal;
    float apr = 0.0f;
    std::string lastPmtDT;  // the date interest runs from, mm/dd/yyyy
};

// The basis from the loan record screen's texts: the balance, the APR, the loan date, and the date of the newest
// payment, none when the loan has no payments. Interest then runs from the loan date.
PayOffBasis PayOffBasisOf(std::string_view balance, std::string_view apr, std::string_view loanDT,
                          const std::optional<std::string>& newestPmtDT);

struct PayOffFigure {
    // False when there is no payoff date: show `message` (OK, no icon, the program's title), the amount keeps its text.
    bool computed = false;
    std::string message;
    Currency payoff;
    std::string text;   // the amount as the window shows it, 10 characters
    std::string error;  // a failure to report; the amount is then the balance without interest
};

// The balance plus simple interest from the basis's date to `payOffDT` (mm/dd/yyyy), the same interest as a payment
// earns. The day count is held in 16 bits: dates more than 32767 days apart are refused with an error.
PayOffFigure FigurePayOff(const PayOffBasis& basis, std::string_view payOffDT);

}  // namespace kb
