#include "loanbook/payment_calc.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <stdexcept>

#include "core/format.h"
#include "store/store.h"

namespace kb {

namespace {

constexpr const char* kBackPayment = "CAN'T POST A BACK PAYMENT";
constexpr const char* kLaterThanToday = "Can't Post with a Date Later Than Todays Date";
constexpr const char* kNoDateOrAmount = "CAN'T POST PMT WITHOUT PMT DATE AND PMT AMOUNT";
constexpr const char* kPaymentNotFound = "PAYMENT NOT FOUND - CAN'T DELETE";
constexpr const char* kListMoneyMask = "###,##0.00";
constexpr const char* kListLateFeeMask = "#0.00";
constexpr const char* kDateMask = "mm/dd/yyyy";
// The payment list's fixed-width text columns.
constexpr std::size_t kRowDateLength = 10;
constexpr std::size_t kRowChkNbrLength = 6;

Currency MoneyOf(std::string_view text) { return Currency::FromDouble(NumVal(text)); }

std::string NotADate(std::string_view what, std::string_view text) {
    return std::string(what) + " \"" + std::string(text) + "\" is not a date";
}

// One period of the payment schedule.
struct Period {
    enum class Unit { Years, Quarters, Months, Days } unit = Unit::Days;
    long days = 1;
};

Date Step(Date date, const Period& period, int direction) {
    switch (period.unit) {
        case Period::Unit::Years:
            return AddYears(date, direction);
        case Period::Unit::Quarters:
            return AddQuarters(date, direction);
        case Period::Unit::Months:
            return AddMonths(date, direction);
        case Period::Unit::Days:
            break;
    }
    return AddDays(date, direction * period.days);
}

bool InDateRange(Date date) {
    const int year = static_cast<int>(date.year());
    return year >= 100 && year <= 9999;
}

}  // namespace

// ---- Interest ---------------------------------------------------------------------------------------------------

float AprOf(std::string_view text) { return static_cast<float>(NumVal(text)); }

Currency Interest(Currency balance, float apr, long days) {
    const double dailyRate = static_cast<double>(apr) / 36500.0;
    // The order of the products decides the last place: 999.99 at 5.5 % for 365 days is 54.9994, not 54.9995.
    const double perDay = balance.ToDouble() * dailyRate;
    return Currency::FromDouble(perDay * static_cast<double>(days));
}

std::string InterestFromDT(std::string_view loanDT, const std::optional<std::string>& newestPmtDT) {
    return newestPmtDT ? PadRight(*newestPmtDT, kRowDateLength) : std::string(loanDT);
}

std::optional<std::string> NewestPmtDT(const std::vector<PaymentRecord>& newestFirst) {
    if (newestFirst.empty()) return std::nullopt;
    return newestFirst.front().PmtDT;
}

// ---- PmtCalc ----------------------------------------------------------------------------------------------------

PmtCalcResult PmtCalc(const PmtCalcInput& input) {
    PmtCalcResult result;
    try {
        const Currency amount = MoneyOf(input.amount);
        const Currency lateFee = MoneyOf(input.lateFee);
        const Currency balance = MoneyOf(input.balance);
        const float apr = AprOf(input.apr);
        if (TrimRight(input.pmtDT).empty() || amount <= Currency()) return result;

        long days = 0;
        if (apr != 0.0f) {
            const auto from = ParseStoredDate(TrimRight(input.lastPmtDT));
            const auto to = ParseStoredDate(TrimRight(input.pmtDT));
            if (!from) {
                result.error = NotADate("The loan date or last payment date", input.lastPmtDT);
            } else if (!to) {
                result.error = NotADate("The payment date", input.pmtDT);
            } else {
                days = DaysBetween(*from, *to);
            }
            if (days < 0) {
                result.outcome = PmtCalcOutcome::BackPayment;
                result.message = kBackPayment;
                return result;
            }
            result.interest = Interest(balance, apr, days);
        }
        result.principal = amount - lateFee - result.interest;
        result.balanceAfter = balance - result.principal;
        result.interestText = Using(result.interest.ToDouble(), kPaymentFieldMask);
        result.principalText = Using(result.principal.ToDouble(), kPaymentFieldMask);
        result.balanceText = Using(result.balanceAfter.ToDouble(), kPaymentFieldMask);
        result.outcome = PmtCalcOutcome::Computed;
    } catch (const std::overflow_error& overflow) {
        PmtCalcResult failed;
        failed.error = overflow.what();
        return failed;
    }
    return result;
}

// ---- Next due date ----------------------------------------------------------------------------------------------

int PaymentCount(std::string_view text) {
    const double rounded = std::nearbyint(NumVal(text));
    return static_cast<int>(std::clamp(rounded, -32768.0, 32767.0));
}

std::string NextPmtDTResult::text() const { return FormatDate(date, kDateMask); }

NextPmtDTResult CalcNextPmtDT(int nbrPayPer, std::string_view pmtsPerYr, std::string_view nextPmtDT) {
    NextPmtDTResult result;
    const double perYear = std::nearbyint(NumVal(pmtsPerYr));
    Period period;
    if (perYear == 1) {
        period.unit = Period::Unit::Years;
    } else if (perYear == 4) {
        period.unit = Period::Unit::Quarters;
    } else if (perYear == 12) {
        period.unit = Period::Unit::Months;
    } else if (perYear == 52) {
        period.days = 7;
    } else if (perYear == 0) {
        result.error = "Payments per year is 0 or empty: the due date was moved one day per payment";
    } else {
        period.days = static_cast<long>(std::trunc(365.0 / perYear + 0.5));
    }

    const auto start = ParseStoredDate(TrimRight(nextPmtDT));
    if (!start) {
        result.error = NotADate("The next payment date", nextPmtDT);
        return result;
    }
    const int direction = nbrPayPer < 0 ? -1 : 1;
    Date date = *start;
    // One period at a time: a day of the month shortened by one step stays shortened in the next.
    for (long i = 0; i < std::abs(static_cast<long>(nbrPayPer)); ++i) {
        date = Step(date, period, direction);
        if (!InDateRange(date)) {
            result.error = "The next payment date would fall outside the years 100 to 9999";
            return result;
        }
    }
    result.date = date;
    return result;
}

// ---- The payment list -------------------------------------------------------------------------------------------

PaymentColumns PaymentColumnsOf(const PaymentRecord& payment, FigureReader& figures) {
    // The payment key starts with the loan number in 8 characters.
    const FigureReader::Record figure = figures.payment(std::string_view(payment.LoanNbr).substr(0, 8), payment.PmtDT);
    return {
        PadRight(payment.PmtDT, kRowDateLength),
        PadRight(payment.ChkNbr, kRowChkNbrLength),
        figure.column("Amount", payment.Amount, kListMoneyMask),
        figure.column("LateFee", payment.LateFee, kListLateFeeMask),
        figure.column("Interest", payment.Interest, kListMoneyMask),
        figure.column("Principal", payment.Principal, kListMoneyMask),
        figure.column("Balance", payment.Balance, kListMoneyMask),
    };
}

std::string PaymentRow(const PaymentRecord& payment, FigureReader& figures) {
    const PaymentColumns c = PaymentColumnsOf(payment, figures);
    return c.date + "  " + c.chkNbr + "  " + c.amount + "  " + c.lateFee + "  " + c.interest + " " + c.principal +
           "  " + c.balance;
}

std::vector<std::string> PaymentRowsNewestFirst(const std::vector<PaymentRecord>& oldestFirst,
                                                FigureReader& figures) {
    std::vector<std::string> rows;
    rows.reserve(oldestFirst.size());
    for (auto payment = oldestFirst.rbegin(); payment != oldestFirst.rend(); ++payment)
        rows.push_back(PaymentRow(*payment, figures));
    return rows;
}

// ---- Posting ----------------------------------------------------------------------------------------------------

std::optional<std::string> PostRefusal(std::string_view pmtDT, std::string_view amount, Date today) {
    const auto date = ParseStoredDate(TrimRight(pmtDT));
    if (date && *date > today) return kLaterThanToday;
    // The date field holds a checked date or nothing; anything else cannot make a payment key either.
    if (!date || !(NumVal(amount) > 0)) return kNoDateOrAmount;
    return std::nullopt;
}

// ---- Taking back the newest payment -----------------------------------------------------------------------------

std::string NewestPaymentKey(std::string_view loanNbr, const PaymentRecord& newest) {
    return PmtKey(loanNbr, PadRight(newest.PmtDT, kRowDateLength));
}

PaymentTakeBack TakeBackPayment(const std::optional<PaymentRecord>& payment, std::string_view pmtsPerYr,
                                std::string_view nextPmtDT) {
    PaymentTakeBack result;
    if (!payment) {
        result.message = kPaymentNotFound;
        return result;
    }
    result.balance = MoneyOf(payment->Balance) + MoneyOf(payment->Principal);
    result.balanceText = FormatNumber(result.balance.ToDouble(), kPaymentFieldMask);
    result.nextPmtDT = CalcNextPmtDT(-PaymentCount(payment->NbrPmts), pmtsPerYr, nextPmtDT);
    return result;
}

}  // namespace kb
