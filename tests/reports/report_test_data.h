#pragma once
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "book/loan_fields.h"
#include "support/recording_printing.h"

namespace kb::test {

inline constexpr const char* kCaption = "KESTREL-BOOK VER8.03 for ACME MOTORS";

// The loan fields as the screen shows them: an unsaved amount typed without decimals, names with trailing blanks.
inline LoanTexts ShownLoan() {
    return {"A1001", "SMITH  ", "JOHN Q  ", "12 ELM ST   ", "SPRINGFIELD ", "IL", "62701", "", "", "",
            "01/15/2024", "1234.5", "12.5", "12", "03/15/2025", "410.55", "830.12"};
}

// `count` payment list rows (72 characters each), newest first, each with a date and balance of its own.
inline std::vector<std::string> PaymentListRows(int count) {
    std::vector<std::string> rows;
    for (int n = count; n >= 1; --n) {
        const std::string day = std::to_string(10 + n % 18), balance = std::to_string(100 + n) + ".25";
        rows.push_back("01/" + day + "/2025  " + (n % 2 ? "CASH  " : "1017  ") + "      410.55   0.00       12.34" +
                       "     388.21" + std::string(12 - balance.size(), ' ') + balance);
    }
    return rows;
}

// Records pages, but the pages opened in the order numbered in `failOpen` cannot be opened.
class FailingPrinting : public RecordingPrinting {
public:
    std::unique_ptr<PageJob> openPage(const PrinterChoice& choice) override {
        if (failOpen.count(++opened))
            throw std::runtime_error("Printer not ready (page " + std::to_string(opened) + ")");
        return RecordingPrinting::openPage(choice);
    }
    std::set<int> failOpen;
    int opened = 0;
};

}  // namespace kb::test
