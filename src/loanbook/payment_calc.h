#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/currency.h"
#include "core/dates.h"
#include "core/figure_reader.h"
#include "store/records.h"

namespace kb {

// The labels under which failures of the payment rules are reported (the error convention's titles).
inline constexpr const char* kPmtCalcLabel = "KBLoan - PMT CALC";
inline constexpr const char* kCalcNextPmtDTLabel = "KBLoan - CALC NEXT PMT DT";

// The money fields of the payment entry panel: amount and late fee when left, principal, interest and balance after.
inline constexpr const char* kPaymentFieldMask = "#####0.00";

// ---- Interest ---------------------------------------------------------------------------------------------------

// The APR text (percent per year) as the rate is held: single precision.
float AprOf(std::string_view text);

// Simple interest on `balance` for `days` calendar days at `apr` percent over a 365-day year:
// balance * (apr / 36500) * days in double precision, in that order, rounded to currency ties to even.
// Throws std::overflow_error when the result leaves currency's range.
Currency Interest(Currency balance, float apr, long days);

// The date text interest runs from: the newest payment's date as the payment list shows it (in 10 characters), or
// the loan date when the loan has no payments (`newestPmtDT` none).
std::string InterestFromDT(std::string_view loanDT, const std::optional<std::string>& newestPmtDT);

// The date of the newest of `newestFirst`, the payments as the payment list shows them; none when there are none.
std::optional<std::string> NewestPmtDT(const std::vector<PaymentRecord>& newestFirst);

// ---- PmtCalc ----------------------------------------------------------------------------------------------------

// The texts PmtCalc reads from the screen.
struct PmtCalcInput {
    std::string pmtDT;      // entry field 0, mm/dd/yyyy
    std::string amount;     // entry field 1
    std::string lateFee;    // entry field 2
    std::string balance;    // loan field 16, the balance before the payment
    std::string apr;        // loan field 12
    std::string lastPmtDT;  // InterestFromDT(loan field 10, the newest payment's date)
};

enum class PmtCalcOutcome {
    NotComputed,  // no payment date or no amount above 0: the computed fields keep their texts
    BackPayment,  // dated before the last payment: show `message`, empty the date; computed fields keep their texts
    Computed,     // show the three texts
};

struct PmtCalcResult {
    PmtCalcOutcome outcome = PmtCalcOutcome::NotComputed;
    Currency interest;
    Currency principal;
    Currency balanceAfter;
    // Entry fields 5, 4 and 7: the values through kPaymentFieldMask, right-justified in 9 characters.
    std::string interestText;
    std::string principalText;
    std::string balanceText;
    // A message for the user (OK button, no icon, the program's title), or empty.
    std::string message;
    // A failure to report under kPmtCalcLabel, or empty. An unreadable date still computes, with no interest.
    std::string error;
};

PmtCalcResult PmtCalc(const PmtCalcInput& input);

// ---- Next due date ----------------------------------------------------------------------------------------------

// A count typed or stored as text (number of payments, payments per year): its numeric value rounded half to even,
// held within -32768..32767.
int PaymentCount(std::string_view text);

struct NextPmtDTResult {
    std::optional<Date> date;  // nullopt when the due date could not be stepped
    std::string error;         // a failure to report under kCalcNextPmtDTLabel, or empty
    // The date as the screen shows it, "mm/dd/yyyy"; empty when there is none.
    std::string text() const;
};

// The loan's next due date `nextPmtDT` (loan field 14, mm/dd/yyyy) moved by `nbrPayPer` payment periods, back when
// negative, each period chosen by `pmtsPerYr` (loan field 13). With payments per year 0 or empty each period is one
// day and that is reported as an error; an empty or unreadable due date gives no date and an error.
NextPmtDTResult CalcNextPmtDT(int nbrPayPer, std::string_view pmtsPerYr, std::string_view nextPmtDT);

// ---- The payment list -------------------------------------------------------------------------------------------

// The columns of a payment list row, each as wide as the row shows it: the date in 10 characters, the check number
// in 6, the late fee through "#0.00", the other amounts through "###,##0.00".
struct PaymentColumns {
    std::string date;
    std::string chkNbr;
    std::string amount;
    std::string lateFee;
    std::string interest;
    std::string principal;
    std::string balance;
};
// An amount that cannot be read leaves its column blank and is noted by `figures`.
PaymentColumns PaymentColumnsOf(const PaymentRecord& payment, FigureReader& figures);

// One row of the payment list, 72 characters: date, check number, amount, late fee, interest, principal, balance.
std::string PaymentRow(const PaymentRecord& payment, FigureReader& figures);

// The rows of a loan's payments, given oldest first (as the payments table reads them): newest first.
std::vector<std::string> PaymentRowsNewestFirst(const std::vector<PaymentRecord>& oldestFirst, FigureReader& figures);

// ---- Posting ----------------------------------------------------------------------------------------------------

// Why the payment of the entry panel cannot be posted on `today`, or nullopt when it can. The text is shown with an
// OK button, no icon and the program's title; nothing is stored.
std::optional<std::string> PostRefusal(std::string_view pmtDT, std::string_view amount, Date today);

// ---- Taking back the newest payment -----------------------------------------------------------------------------

// The key the newest payment of the loan `loanNbr` is taken back under: built from the loan number and the payment's
// date as the payment list shows it (in 10 characters), so a date stored in another form finds no payment.
std::string NewestPaymentKey(std::string_view loanNbr, const PaymentRecord& newest);

struct PaymentTakeBack {
    // "PAYMENT NOT FOUND - CAN'T DELETE" when there is no such payment (show it, OK, no icon): nothing changes.
    std::string message;
    Currency balance;         // the loan's balance before the payment: its balance after plus its principal
    std::string balanceText;  // loan field 16 and the loan's stored Balance, "#####0.00"
    NextPmtDTResult nextPmtDT;  // loan field 14 and the loan's stored NextPmtDT, with its error if any
};

// What deleting `payment` (the newest of its loan, as found by its key) winds the loan back to: the balance from
// the payment's own figures and the due date `nextPmtDT` stepped back by the payment's number of payments.
// Throws std::overflow_error only for amounts beyond currency's range.
PaymentTakeBack TakeBackPayment(const std::optional<PaymentRecord>& payment, std::string_view pmtsPerYr,
                                std::string_view nextPmtDT);

}  // namespace kb
