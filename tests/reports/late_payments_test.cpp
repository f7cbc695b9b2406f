#include "reports/late_payments.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "book_test_data.h"
#include "core/format.h"

namespace kb {
namespace {

using namespace std::chrono;
using test::Loan;
using test::Numbered;
using test::Padded;
using Page = std::vector<std::string>;
using Message = test::ScriptedDialogs::Message;

constexpr Date kToday = year{2026} / 12 / 6;
const std::string kHuge(400, '9');  // a figure too long to be read

TEST(LateRuleTest, ABalanceDueBeforeTodayIsLate) {
    // Due today, due yesterday, paid off, a balance too long to read (counts as 0, and is named), no due date (the
    // empty key is below every date).
    const std::tuple<std::optional<Date>, std::string, bool> cases[] = {
        {kToday, "100.00", false}, {year{2026} / 12 / 5, "100.00", true}, {year{2020} / 1 / 1, "0", false},
        {year{2026} / 12 / 5, "0.50", true},
        {year{2020} / 1 / 1, kHuge, false}, {std::nullopt, "100.00", true}, {std::nullopt, "", false}};
    for (const auto& [due, balance, late] : cases) {
        FigureReader figures;
        EXPECT_EQ(IsLate(Loan("A1", "", "", due, balance), kToday, figures), late) << FormatDate(due, "mm/dd/yyyy");
        EXPECT_EQ(figures.failure(), balance == kHuge ? "LOAN A1: Balance - Overflow" : "");
    }
}

TEST(LateRuleTest, RowsKeepTheirColumns) {
    FigureReader figures;
    // The name is cut at 32 characters; a payment of a million keeps its first 10 characters. Without a due date the
    // row is ten characters shorter.
    EXPECT_EQ(LatePmtRow(Loan("ABCDEFGH", "MARGARET ELIZABETH", "WORTHINGTON-SMYTHE", year{2026} / 1 / 31, "1",
                              "1234567.89"), figures),
              "01/31/2026 MARGARET ELIZABETH WORTHINGTON-S   1,234,567. " + std::string(13, ' ') + "ABCDEFGH");
    EXPECT_EQ(LatePmtRow(Loan("B2", "", "DOE", std::nullopt, "1", "", "555-0199"), figures),
              " " + Padded(" DOE", 32) + "         0.00 555-0199     B2      ");
}

TEST(LateListTest, LateLoansByDueDateThenLoanNumberAndAnUnreadableFileQuestioned) {
    test::TestBook book;
    const std::pair<const char*, std::optional<Date>> loans[] = {
        {"C3", year{2026} / 11 / 1}, {"A10", year{2026} / 11 / 1}, {"A2", year{2026} / 10 / 15}, {"Q1", {}},
        {"B5", kToday}};
    for (const auto& [nbr, due] : loans) book.add(Loan(nbr, "A", "X", due, "50"));
    book.add(Loan("Z9", "D", "X", year{2026} / 1 / 1, "0"));
    book.writeUnchecked(book.kb.LoanDB, "UPDATE KBLoan SET Payment = '" + kHuge + "' WHERE LoanNbr = 'A2'");
    const auto late = FillLatePmts(book.book, kToday, book.dialogs);
    ASSERT_TRUE(late);
    // Each row's loan number, and that of the loan kept beside it.
    std::vector<std::string> numbers;
    for (std::size_t i = 0; i < late->rows.size(); ++i)
        numbers.push_back(TrimRight(late->rows[i].substr(late->rows[i].size() - 8)) + "|" + late->loans.at(i).LoanNbr);
    EXPECT_EQ(numbers, (std::vector<std::string>{"Q1|Q1", "A2|A2", "A10|A10", "C3|C3"}));
    // The payment that cannot be read is left blank and named when the list is built.
    EXPECT_EQ(late->rows.at(1).substr(46, 10), std::string(10, ' '));
    EXPECT_EQ(book.dialogs.messages,
              (std::vector<Message>{{"LOAN A2: Payment - Overflow", "FILL LIST", Buttons::OK, Icon::Critical}}));

    // Two silent retries, then the question at the third failure (the retry scheme is checked on the printer below).
    book.dialogs.messages.clear();
    std::filesystem::remove(book.kb.LoanDB);
    book.dialogs.answerMessage(Answer::Cancel);
    EXPECT_FALSE(FillLatePmts(book.book, kToday, book.dialogs));
    EXPECT_EQ(book.dialogs.messages,
              (std::vector<Message>{{"KB_Loan.mdb was not found", kAppTitle, Buttons::RetryCancel, Icon::None}}));
}

// A book with `late` loans due 11/01/2026 and one due today, and a page of its late report with loans [first, last].
void LateBook(test::TestBook& book, int late) {
    for (int n = 1; n <= late; ++n)
        book.add(Loan(Numbered(n), "ANN", "ROW" + Numbered(n), year{2026} / 11 / 1, "1000", "410.55",
                      "217-555-01" + Numbered(n).substr(1)));
    book.add(Loan("M1", "NOT", "LATE", kToday, "1000", "410.55"));
}
Page LatePage(int first, int last) {
    Page page = {" KESTREL-BOOK VER8.03 for ACME MOTORS", "", " 12/06/2026                        LATE REPORT", "",
                 "  DUE-DATE  LOAN-NAME                            PAYMENT PHONE        LOAN #"};
    for (int n = first; n <= last; ++n)
        page.push_back(" 11/01/2026 " + Padded("ANN ROW" + Numbered(n), 32) + "      410.55 217-555-01" +
                       Numbered(n).substr(1) + " " + Numbered(n));
    return page;
}

// A page is printed after its paper prompt. A failed opening of a page is retried silently until the third failure
// of the run, which is asked about although the first page's retry succeeded in between; after Retry the count starts
// from 0 again and two more failures pass without a word.
TEST(LateReportTest, FortyEightLoansAPageAndAPromptOnlyWhenAnotherLateLoanFollows) {
    const Message prompt{"Insert blank sheet of paper in printer", kAppTitle, Buttons::OKCancel, Icon::None};
    const Message notReady{"Printer not ready (page 4)", kAppTitle, Buttons::RetryCancel, Icon::None};
    const Page page1 = LatePage(1, 48), page2 = LatePage(49, 49);
    const std::tuple<int, std::set<int>, std::vector<Answer>, PrintOutcome, std::vector<Page>, std::vector<Message>>
        cases[] = {
            {48, {}, {Answer::OK}, PrintOutcome::Printed, {page1}, {prompt}},
            {49, {}, {Answer::OK, Answer::OK}, PrintOutcome::Printed, {page1, page2}, {prompt, prompt}},
            {49, {}, {Answer::OK, Answer::Cancel}, PrintOutcome::Cancelled, {page1}, {prompt, prompt}},
            {0, {}, {}, PrintOutcome::NothingToPrint, {},
             {{"NO LATE PAYMENTS FOUND", kAppTitle, Buttons::OK, Icon::None}}},
            {49, {1, 2, 4}, {Answer::OK, Answer::OK, Answer::Cancel}, PrintOutcome::Abandoned, {page1},
             {prompt, prompt, notReady}},
            {49, {1, 2, 4, 5, 6}, {Answer::OK, Answer::OK, Answer::Retry}, PrintOutcome::Printed, {page1, page2},
             {prompt, prompt, notReady}},
        };
    for (const auto& [late, failOpen, answers, outcome, pages, messages] : cases) {
        SCOPED_TRACE(testing::Message() << late << " late, " << failOpen.size() << " failures");
        test::TestBook book;
        LateBook(book, late);
        book.printing.failOpen = failOpen;
        book.answer(PrinterChoice{}, answers);
        EXPECT_EQ(PrintLateList(book.kb, test::kCaption), outcome);
        EXPECT_EQ(book.printing.pages, pages);
        EXPECT_EQ(book.dialogs.messages, messages);
        EXPECT_EQ(book.dialogs.printDialogs.at(0).fileName, "Late payments 2026-12-06.pdf");
    }
}

}  // namespace
}  // namespace kb
