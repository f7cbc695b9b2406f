#include "reports/late_statement.h"

#include <gtest/gtest.h>

#include "book_test_data.h"
#include "core/format.h"

namespace kb {
namespace {

using namespace std::chrono;
using Page = std::vector<std::string>;
using Message = test::ScriptedDialogs::Message;

TEST(LateStatementTest, MissedPaymentsCountCalendarMonthsUpToToday) {
    const std::tuple<Date, Date, std::optional<int>> cases[] = {
        // 11/15 and 12/15 count; 01/15 is still to come on 01/10 and counts from 01/15 on.
        {year{2025} / 11 / 15, year{2026} / 1 / 10, 2}, {year{2025} / 11 / 15, year{2026} / 1 / 15, 3},
        // The day shrinks for good at the end of a short month: 01/31, 02/28, 03/28.
        {year{2026} / 1 / 31, year{2026} / 3 / 30, 3}, {year{2026} / 1 / 31, year{2026} / 3 / 27, 2},
        {year{2024} / 1 / 31, year{2024} / 3 / 28, 2},  // 02/29 of a leap year, then 03/29
        {year{2026} / 12 / 7, year{2026} / 12 / 6, 0},
        // After this month the count would never reach today's month.
        {year{2027} / 1 / 1, year{2026} / 12 / 31, std::nullopt},
    };
    for (const auto& [due, today, missed] : cases)
        EXPECT_EQ(MissedPayments(due, today), missed) << FormatDate(due, "mm/dd/yyyy") << FormatDate(today, "mm/dd");
}

TEST(LateStatementTest, TotalDueIsTheMissedPaymentsTimesThePayment) {
    const std::tuple<int, const char*, const char*> cases[] = {
        {2, "125.25", "250.50"}, {2, "125.5", "251.00"}, {3, "1,000.00", "3.00"}, {12, "9999999.99", "119999999.88"}};
    for (const auto& [missed, payment, printed] : cases)
        EXPECT_EQ(FormatNumber(TotalDue(missed, payment).ToDouble(), "#####0.00"), printed) << payment;
}

Page Letter(const std::string& dueLine) {
    Page page(12, "");
    const std::string right(44, ' ');
    page.insert(page.end(), {"         12/06/2026", "", "", "         Dear " + test::Padded("JOHN Q SMITH", 32), "",
                             "              As you can see your account with us is seriouusly",
                             "         past due. Please remit amount past due within 7 working",
                             "         days or this account will be turned over for collection.", "", "",
                             "              " + dueLine, "", "", right + "Thank You", "", "", right + "M.K. Tolliver"});
    return page;
}

TEST(LateStatementTest, LetterForTheSelectedLoanOrARefusal) {
    const Message prompt{"Insert blank sheet of paper in printer", kAppTitle, Buttons::OKCancel, Icon::None};
    const auto refusal = [](const char* text) { return Message{text, kAppTitle, Buttons::OK, Icon::None}; };
    using Case = std::tuple<const char*, std::optional<PrinterChoice>, std::vector<Answer>, std::vector<Page>,
                            std::vector<Message>>;
    const Case cases[] = {
        // Due 10/15, today 12/06: two payments missed. The loan number is found whatever its case.
        {"a17", PrinterChoice{}, {Answer::OK}, {Letter("Due Date: 10/15/2026      Total Due: 250.50")}, {prompt}},
        {"A17     ", std::nullopt, {}, {}, {}},
        {"GONE", PrinterChoice{}, {}, {}, {refusal("RECORD NOT FOUND")}},
        {"B2", PrinterChoice{}, {}, {}, {refusal("LOAN HAS NO DUE DATE")}},
        // Due next month, or today: nothing is past due yet.
        {"C3", PrinterChoice{}, {}, {}, {refusal("NO PAYMENT PAST DUE")}},
        {"E5", PrinterChoice{}, {}, {}, {refusal("NO PAYMENT PAST DUE")}},
    };
    const std::tuple<const char*, const char*, std::optional<Date>> loans[] = {
        {"A17", "JOHN Q  ", year{2026} / 10 / 15}, {"B2", "ANN", std::nullopt}, {"C3", "BO", year{2027} / 1 / 2},
        {"E5", "CY", year{2026} / 12 / 6}};
    for (const auto& [loanNbr, printer, prompts, pages, messages] : cases) {
        test::TestBook book;
        for (const auto& [nbr, first, due] : loans) book.add(test::Loan(nbr, first, "SMITH  ", due, "900", "125.25"));
        book.answer(printer, prompts);
        PrintLateStatement(book.kb, loanNbr);
        EXPECT_EQ(book.printing.pages, pages) << loanNbr;
        EXPECT_EQ(book.dialogs.messages, messages) << loanNbr;
        EXPECT_EQ(book.dialogs.printDialogs.at(0).fileName, "Late statement " + TrimRight(loanNbr) + " 2026-12-06.pdf");
    }
}

}  // namespace
}  // namespace kb
