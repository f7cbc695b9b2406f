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

TEST(LateRuleTest, ABalanceDueBeforeTodayIsLate) {
    const std::string huge(400, '9');
    const std::tuple<std::optional<Date>, std::string, bool> cases[] = {
        {kToday, "100.00", false},              // due today
        {year{2026} / 12 / 5, "100.00", true},  // due yesterday
        {year{2020} / 1 / 1, "0", false},       // paid off
        {year{2020} / 1 / 1, "DUE", false},     // not a number: reads 0
        {year{2020} / 1 / 1, huge, false},      // too long to read: counts as 0, and is named
        {std::nullopt, "100.00", true},         // no due date: the empty key is below every date
        {std::nullopt, "", false},
    };
    for (const auto& [due, balance, late] : cases) {
        FigureReader figures;
        EXPECT_EQ(IsLate(Loan("A1", "", "", due, balance), kToday, figures), late) << FormatDate(due, "mm/dd/yyyy");
        EXPECT_EQ(figures.failure(), balance == huge ? "LOAN A1: Balance - Overflow" : "");
    }
}

TEST(LateRuleTest, RowsKeepTheirColumns) {
    FigureReader figures;
    // The name is cut at 32 characters; a payment of a million keeps its first 10 characters.
    EXPECT_EQ(LatePmtRow(Loan("ABCDEFGH", "MARGARET ELIZABETH", "WORTHINGTON-SMYTHE", year{2026} / 1 / 31, "1",
                              "1234567.89"),
                         figures),
              "01/31/2026 MARGARET ELIZABETH WORTHINGTON-S   1,234,567. " + std::string(13, ' ') + "ABCDEFGH");
    // Without a due date the row is ten characters shorter.
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
    book.writeUnchecked(book.kb.LoanDB,
                        "UPDATE KBLoan SET Payment = '" + std::string(400, '9') + "' WHERE LoanNbr = 'A2'");
    const auto late = FillLatePmts(book.book, kToday, book.dialogs);
    ASSERT_TRUE(late);
    std::vector<std::string> numbers, loansBeside;
    for (const std::string& row : late->rows) numbers.push_back(TrimRight(row.substr(row.size() - 8)));
    for (const LoanRecord& loan : late->loans) loansBeside.push_back(loan.LoanNbr);
    EXPECT_EQ(numbers, (std::vector<std::string>{"Q1", "A2", "A10", "C3"}));
    EXPECT_EQ(loansBeside, numbers);
    // The payment that cannot be read is left blank and named when the list is built.
    EXPECT_EQ(late->rows.at(1).substr(46, 10), std::string(10, ' '));
    EXPECT_EQ(book.dialogs.messages,
              (std::vector<Message>{{"LOAN A2: Payment - Overflow", "FILL LIST", Buttons::OK, Icon::Critical}}));
    book.dialogs.messages.clear();

    // Two silent retries, then the question at the third failure (the retry scheme is checked on the printer below).
    std::filesystem::remove(book.kb.LoanDB);
    book.dialogs.answerMessage(Answer::Cancel);
    EXPECT_FALSE(FillLatePmts(book.book, kToday, book.dialogs));
    EXPECT_EQ(book.dialogs.messages,
              (std::vector<Message>{{"KB_Loan.mdb was not found", kAppTitle, Buttons::RetryCancel, Icon::None}}));
}

// A page of the late report with the late loans [first, last] that `LateBook` makes.
Page LatePage(int first, int last) {
    Page page = {" KESTREL-BOOK VER8.03 for ACME MOTORS", "", " 12/06/2026                        LATE REPORT", "",
                 "  DUE-DATE  LOAN-NAME                            PAYMENT PHONE        LOAN #"};
    for (int n = first; n <= last; ++n)
        page.push_back(" 11/01/2026 " + Padded("ANN ROW" + Numbered(n), 32) + "      410.55 217-555-01" +
                       Numbered(n).substr(1) + " " + Numbered(n));
    return page;
}

void LateBook(test::TestBook& book, int late) {
    for (int n = 1; n <= late; ++n)
        book.add(Loan(Numbered(n), "ANN", "ROW" + Numbered(n), year{2026} / 11 / 1, "1000", "410.55",
                      "217-555-01" + Numbered(n).substr(1)));
    book.add(Loan("M1", "NOT", "LATE", kToday, "1000", "410.55"));
}

TEST(LateReportTest, FortyEightLoansAPageAndAPromptOnlyWhenAnotherLateLoanFollows) {
    const Message prompt{"Insert blank sheet of paper in printer", kAppTitle, Buttons::OKCancel, Icon::None};
    const Message none{"NO LATE PAYMENTS FOUND", kAppTitle, Buttons::OK, Icon::None};
    const std::tuple<int, std::vector<Answer>, PrintOutcome, std::vector<Page>> cases[] = {
        {48, {Answer::OK}, PrintOutcome::Printed, {LatePage(1, 48)}},
        {49, {Answer::OK, Answer::OK}, PrintOutcome::Printed, {LatePage(1, 48), LatePage(49, 49)}},
        {49, {Answer::OK, Answer::Cancel}, PrintOutcome::Cancelled, {LatePage(1, 48)}},
        {0, {}, PrintOutcome::NothingToPrint, {}},
    };
    for (const auto& [late, prompts, outcome, pages] : cases) {
        test::TestBook book;
        LateBook(book, late);
        book.answer(PrinterChoice{}, prompts);
        EXPECT_EQ(PrintLateList(book.kb, test::kCaption), outcome) << late;
        EXPECT_EQ(book.printing.pages, pages) << late;
        EXPECT_EQ(book.dialogs.messages, late ? std::vector(prompts.size(), prompt) : std::vector{none}) << late;
        EXPECT_EQ(book.dialogs.printDialogs.at(0).fileName, "Late payments 2026-12-06.pdf");
    }
}

TEST(LateReportTest, PrinterFailuresAreRetriedSilentlyUntilTheThirdOfTheRun) {
    const Message question{"Printer not ready (page 4)", kAppTitle, Buttons::RetryCancel, Icon::None};
    const std::tuple<std::set<int>, std::vector<Answer>, std::size_t> cases[] = {
        // The openings of a page, retries counted, that fail; the third failure of the run is asked about
        // although the first page's retry succeeded in between.
        {{1, 2, 4}, {Answer::OK, Answer::OK, Answer::Cancel}, 1},
        // Retry counts from 0 again: two more failures pass without a word.
        {{1, 2, 4, 5, 6}, {Answer::OK, Answer::OK, Answer::Retry}, 2},
    };
    for (const auto& [failOpen, answers, pages] : cases) {
        test::TestBook book;
        LateBook(book, 49);
        book.printing.failOpen = failOpen;
        book.answer(PrinterChoice{}, answers);
        PrintLateList(book.kb, test::kCaption);
        EXPECT_EQ(book.printing.pages.size(), pages);
        EXPECT_TRUE(book.dialogs.allAnswered());
        EXPECT_EQ(book.dialogs.messages.back(), question);
    }
}

}  // namespace
}  // namespace kb
