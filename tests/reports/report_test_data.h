#pragma once
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/kbmain.h"
#include "loanbook/loan_fields.h"
#include "store/records.h"
#include "support/fixed_clock.h"
#include "support/recording_printing.h"
#include "support/scripted_dialogs.h"

namespace kb::test {

inline constexpr const char* kCaption = "KESTREL-BOOK VER8.03 for ACME MOTORS";

// The loan fields as the screen shows them: an unsaved amount typed without decimals, names with trailing blanks.
inline LoanTexts ShownLoan() {
    return {"A1001", "SMITH  ", "JOHN Q  ", "12 ELM ST   ", "SPRINGFIELD ", "IL", "62701", "", "", "",
            "01/15/2024", "1234.5", "12.5", "12", "03/15/2025", "410.55", "830.12"};
}

// The day and balance of payment n of PaymentList.
inline std::string ListedDay(int n) { return std::to_string(10 + n % 18); }
inline std::string ListedBalance(int n) { return std::to_string(100 + n) + ".25"; }

// `count` payments of loan A1001, newest first, each with a date and balance of its own.
inline std::vector<PaymentRecord> PaymentList(int count) {
    std::vector<PaymentRecord> payments;
    for (int n = count; n >= 1; --n)
        payments.push_back({"A1001   202501" + ListedDay(n), "01/" + ListedDay(n) + "/2025", "410.55", "", "1",
                            "388.21", "12.34", std::nullopt, ListedBalance(n), n % 2 ? "CASH" : "1017"});
    return payments;
}

// The rows of PaymentList(count) in the payment list (72 characters each).
inline std::vector<std::string> PaymentListRows(int count) {
    std::vector<std::string> rows;
    for (int n = count; n >= 1; --n)
        rows.push_back("01/" + ListedDay(n) + "/2025  " + (n % 2 ? "CASH  " : "1017  ") +
                       "      410.55   0.00       12.34     388.21" + std::string(12 - ListedBalance(n).size(), ' ') +
                       ListedBalance(n));
    return rows;
}

// Records pages, but the jobs opened in the order numbered in `failOpen` cannot be opened.
class FailingPrinting : public RecordingPrinting {
public:
    std::unique_ptr<PrintJob> openJob(const PrinterChoice& choice) override {
        if (failOpen.count(++opened))
            throw std::runtime_error("Printer not ready (page " + std::to_string(opened) + ")");
        return RecordingPrinting::openJob(choice);
    }
    std::set<int> failOpen;
    int opened = 0;
};

// The seams' doubles and a KBMain on them, for printing reports; today is 12/06/2026.
struct ReportDoubles {
    // Queues the print dialog's answer and the paper prompts' answers.
    void answer(std::optional<PrinterChoice> printer, const std::vector<Answer>& prompts = {}) {
        dialogs.answerPrinter(std::move(printer));
        for (Answer prompt : prompts) dialogs.answerMessage(prompt);
    }

    ScriptedDialogs dialogs;
    FailingPrinting printing;
    FixedClock clock;
    KBMain kb{dialogs, printing, clock};
};

}  // namespace kb::test
