#include "reports/late_payments.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "book_test_data.h"

namespace kb {
namespace {

using namespace std::chrono;
using test::Loan;
using test::Numbered;
using test::Padded;
using Page = std::vector<std::string>;
using Message = test::ScriptedDialogs::Message;

constexpr Date kToday = year{2026} / 12 / 6;
const Message kPaperPrompt{"Insert blank sheet of paper in printer", kAppTitle, Buttons::OKCancel, Icon::None};
const Message kNoneLate{"NO LATE PAYMENTS FOUND", kAppTitle, Buttons::OK, Icon::None};

TEST(LateRuleTest, ABalanceDueBeforeTodayIsLate) {
    const struct {
        std::optional<Date> due;
        const char* balance;
        bool late;
    } cases[] = {
        {kToday, "100.00", false},              // due today
        {year{2026} / 12 / 5, "100.00", true},  // due yesterday
        {year{2025} / 12 / 31, "0.01", true},
        {year{2020} / 1 / 1, "0", false},    // paid off
        {year{2020} / 1 / 1, "DUE", false},  // not a number: reads 0
        {year{2020} / 1 / 1, "-5", false},
        {std::nullopt, "100.00", true},  // no due date: the empty key is below every date
        {std::nullopt, "", false},
        {year{2027} / 1 / 1, "1", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsLate(Loan("A1", "", "", c.due, c.balance), kToday), c.late)
            << FormatDate(c.due, "mm/dd/yyyy") << " balance " << c.balance;
    }
}

TEST(LateRuleTest, RowsKeepTheirColumns) {
    const std::pair<LoanRecord, std::string> cases[] = {
        // The name is cut at 32 characters; a payment of a million keeps its first 10 characters.
        {Loan("ABCDEFGH", "MARGARET ELIZABETH", "WORTHINGTON-SMYTHE", year{2026} / 1 / 31, "1", "1234567.89"),
         "01/31/2026 MARGARET ELIZABETH WORTHINGTON-S   1,234,567. " + std::string(13, ' ') + "ABCDEFGH"},
        // Without a due date the row is ten characters shorter.
        {Loan("B2", "", "DOE", std::nullopt, "1", "", "555-0199"),
         " " + Padded(" DOE", 32) + "         0.00 555-0199     B2      "},
    };
    for (const auto& [loan, row] : cases) EXPECT_EQ(LatePmtRow(loan), row);
}

TEST(LateListTest, LateLoansByDueDateThenLoanNumberAndAnUnreadableFileRetried) {
    test::TestBook book;
    for (const LoanRecord& loan :
         {Loan("C3", "A", "X", year{2026} / 11 / 1, "50"), Loan("A10", "B", "X", year{2026} / 11 / 1, "50"),
          Loan("A2", "C", "X", year{2026} / 10 / 15, "50"), Loan("Z9", "D", "X", year{2026} / 1 / 1, "0"),
          Loan("Q1", "E", "X", {}, "50"), Loan("B5", "F", "X", kToday, "50")}) {
        book.add(loan);
    }
    const auto rows = FillLatePmts(book.kb.LoanDB, kToday, book.dialogs);
    ASSERT_TRUE(rows);
    std::vector<std::string> numbers;
    for (const std::string& row : *rows) numbers.push_back(TrimRight(row.substr(row.size() - 8)));
    EXPECT_EQ(numbers, (std::vector<std::string>{"Q1", "A2", "A10", "C3"}));

    // Two silent retries, then the question at the third failure; Retry starts the count again.
    std::filesystem::remove(book.kb.LoanDB);
    book.dialogs.answerMessage(Answer::Retry);
    book.dialogs.answerMessage(Answer::Cancel);
    EXPECT_FALSE(FillLatePmts(book.kb.LoanDB, kToday, book.dialogs));
    const Message question{"KB_Loan.mdb was not found", kAppTitle, Buttons::RetryCancel, Icon::None};
    EXPECT_EQ(book.dialogs.messages, (std::vector<Message>{question, question}));
}

// A page of the late report with the late loans [first, last] that `LateBook` makes.
Page LatePage(int first, int last) {
    Page page = {" KESTREL-BOOK VER8.03 for ACME MOTORS", "", " 12/06/2026                        LATE REPORT", "",
                 "  DUE-DATE  LOAN-NAME                            PAYMENT PHONE        LOAN #"};
    for (int n = first; n <= last; ++n) {
        page.push_back(" 11/01/2026 " + Padded("ANN ROW" + Numbered(n), 32) + "      410.55 217-555-01" +
                       Numbered(n).substr(1) + " " + Numbered(n));
    }
    return page;
}

void LateBook(test::TestBook& book, int late) {
    for (int n = 1; n <= late; ++n) {
        book.add(Loan(Numbered(n), "ANN", "ROW" + Numbered(n), year{2026} / 11 / 1, "1000", "410.55",
                      "217-555-01" + Numbered(n).substr(1)));
    }
    book.add(Loan("M1", "NOT", "LATE", kToday, "1000", "410.55"));
}

TEST(LateReportTest, FortyEightLoansAPageAndAPromptOnlyWhenAnotherLateLoanFollows) {
    const struct {
        int late;
        std::vector<Answer> prompts;
        PrintOutcome outcome;
        std::vector<Page> pages;
    } cases[] = {
        {48, {Answer::OK}, PrintOutcome::Printed, {LatePage(1, 48)}},
        {49, {Answer::OK, Answer::OK}, PrintOutcome::Printed, {LatePage(1, 48), LatePage(49, 49)}},
        {49, {Answer::OK, Answer::Cancel}, PrintOutcome::Cancelled, {LatePage(1, 48)}},
        {0, {}, PrintOutcome::NothingToPrint, {}},
    };
    for (const auto& c : cases) {
        test::TestBook book;
        LateBook(book, c.late);
        book.answer(PrinterChoice{}, c.prompts);
        EXPECT_EQ(PrintLateList(book.kb, test::kCaption), c.outcome) << c.late;
        EXPECT_EQ(book.printing.pages, c.pages) << c.late;
        const auto messages = c.late ? std::vector<Message>(c.prompts.size(), kPaperPrompt) : std::vector{kNoneLate};
        EXPECT_EQ(book.dialogs.messages, messages) << c.late;
        EXPECT_FALSE(book.dialogs.printDialogs.at(0).allowPrintToFile);
    }
}

TEST(LateReportTest, PrinterFailuresAreRetriedSilentlyUntilTheThirdOfTheRun) {
    const Message question{"Printer not ready (page 4)", kAppTitle, Buttons::RetryCancel, Icon::None};
    const struct {
        std::set<int> failOpen;  // the openings of a page, retries counted, that fail
        std::vector<Answer> answers;
        std::size_t pages;
    } cases[] = {
        {{1, 2}, {Answer::OK, Answer::OK}, 2},
        // The third failure of the run, although the first page's retry succeeded in between.
        {{1, 2, 4}, {Answer::OK, Answer::OK, Answer::Cancel}, 1},
        // Retry counts from 0 again: two more failures pass without a word.
        {{1, 2, 4, 5, 6}, {Answer::OK, Answer::OK, Answer::Retry}, 2},
    };
    for (const auto& c : cases) {
        test::TestBook book;
        LateBook(book, 49);
        book.printing.failOpen = c.failOpen;
        book.answer(PrinterChoice{}, c.answers);
        PrintLateList(book.kb, test::kCaption);
        EXPECT_EQ(book.printing.pages.size(), c.pages);
        EXPECT_TRUE(book.dialogs.allAnswered());
        EXPECT_EQ(book.dialogs.messages.back() == question, c.answers.size() == 3);
    }
}

}  // namespace
}  // namespace kb
