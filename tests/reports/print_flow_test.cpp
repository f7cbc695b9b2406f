#include "reports/print_flow.h"

#include <gtest/gtest.h>

#include "report_test_data.h"
#include "support/scripted_dialogs.h"

namespace kb {
namespace {

using test::ScriptedDialogs;
using Page = std::vector<std::string>;
using Message = ScriptedDialogs::Message;

// Five rows, two a page, under a heading numbering the pages, with a total after the last row. Row 3 prints as two
// lines and still counts as one row.
Report FiveRows() {
    Report report{"Test - RPT", {true, false}, kInsertBlankSheet, "NEXT SHEET", {}, {}, 2,
                  {PrintLine(), PrintLine().at(5, "TOTAL")}};
    report.heading = [](int page, int pages) {
        return std::vector<PrintLine>{PrintLine().at(3, std::to_string(page) + "/" + std::to_string(pages))};
    };
    for (std::string row : {"r1", "r2", "r3", "r4", "r5"}) report.rows.push_back(PrintLine().at(2, row));
    report.rows[2].at(2, "r3b");
    return report;
}

// On paper each page is a job of its own after its paper prompt; to a file the report is one job and asks for no
// sheet of paper.
TEST(PrintFlowTest, PagesHoldTheirRowsUnderTheHeadingAndTheClosingLinesEndTheLastPage) {
    const Message first{kInsertBlankSheet, kAppTitle, Buttons::OKCancel, Icon::None};
    const Message later{"NEXT SHEET", kAppTitle, Buttons::OKCancel, Icon::None};
    const struct {
        PrinterChoice printer;
        std::vector<Message> prompts;
        std::size_t jobs;
    } cases[] = {
        {{"Office", "", false}, {first, later, later}, 3},
        {{"", "/tmp/report.pdf", false}, {}, 1},
    };
    for (const auto& c : cases) {
        ScriptedDialogs dialogs;
        test::FailingPrinting printing;
        dialogs.answerPrinter(c.printer);
        for (std::size_t page = 0; page < c.prompts.size(); ++page) dialogs.answerMessage(Answer::OK);
        EXPECT_EQ(PrintReport(dialogs, printing, FiveRows()), PrintOutcome::Printed);
        const std::vector<Page> expected = {{"  1/3", " r1", " r2"}, {"  2/3", " r3", " r3b", " r4"},
                                            {"  3/3", " r5", "", "    TOTAL"}};
        EXPECT_EQ(printing.pages, expected);
        EXPECT_EQ(ReportPages(FiveRows()), expected);
        EXPECT_EQ(dialogs.messages, c.prompts);
        EXPECT_EQ(printing.jobs.size(), c.jobs);
        EXPECT_TRUE(dialogs.printDialogs.at(0).allowPrintToFile);
    }
}

TEST(PrintFlowTest, AFailedStepIsSkippedAndTheLastFailureIsShownAtTheEndUnlessTheRunnerGivesUp) {
    ScriptedDialogs dialogs;
    test::FailingPrinting printing;
    printing.failOpen = {1, 2};
    dialogs.answerPrinter(PrinterChoice{});
    for (int page = 1; page <= 3; ++page) dialogs.answerMessage(Answer::OK);
    EXPECT_EQ(PrintReport(dialogs, printing, FiveRows()), PrintOutcome::Printed);
    EXPECT_EQ(printing.pages, (std::vector<Page>{{"  3/3", " r5", "", "    TOTAL"}}));
    EXPECT_EQ(dialogs.messages.back(),
              (Message{"Printer not ready (page 2)", "Test - RPT", Buttons::OK, Icon::Critical}));

    test::FailingPrinting again;
    again.failOpen = {2};
    dialogs.answerMessage(Answer::OK);
    dialogs.answerMessage(Answer::OK);
    auto giveUpOnFailure = [](const std::function<void()>& step) {
        try {
            step();
            return true;
        } catch (const std::exception&) {
            return false;
        }
    };
    EXPECT_EQ(PrintPages(dialogs, again, PrinterChoice{}, FiveRows(), giveUpOnFailure), PrintOutcome::Abandoned);
    EXPECT_EQ(again.pages.size(), 1u);
    EXPECT_TRUE(dialogs.allAnswered());
}

// The preview shows the pages as they print; from it the lender prints on the printer chosen (paper prompts
// included), saves the pages as a PDF file, or closes it and nothing prints.
TEST(PrintFlowTest, ThePreviewShowsThePagesAndTheyPrintWhereTheLenderSaysThere) {
    PrinterChoice office{"Office", "", false};
    office.preview = true;
    const struct {
        std::optional<PrinterChoice> fromPreview;
        std::size_t prompts;
        std::size_t jobs;
        PrintOutcome outcome;
    } cases[] = {
        {office, 3, 3, PrintOutcome::Printed},
        {PrinterChoice{"", "/tmp/report.pdf", false}, 0, 1, PrintOutcome::Printed},
        {std::nullopt, 0, 0, PrintOutcome::Cancelled},
    };
    for (const auto& c : cases) {
        ScriptedDialogs dialogs;
        test::FailingPrinting printing;
        dialogs.answerPrinter(office);
        dialogs.answerPreview(c.fromPreview);
        for (std::size_t page = 0; page < c.prompts; ++page) dialogs.answerMessage(Answer::OK);
        EXPECT_EQ(PrintReport(dialogs, printing, FiveRows()), c.outcome);
        EXPECT_EQ(dialogs.previews, std::vector<std::vector<PageLines>>{ReportPages(FiveRows())});
        EXPECT_EQ(printing.pages, c.jobs ? ReportPages(FiveRows()) : std::vector<Page>{});
        EXPECT_EQ(dialogs.messages.size(), c.prompts);
        EXPECT_EQ(printing.jobs.size(), c.jobs);
    }
}

TEST(PrintFlowTest, ThePrintDialogOffersAPdfFileNamedForWhatItHolds) {
    const struct {
        const char* report;
        const char* loanNbr;
        const char* fileName;
    } cases[] = {
        {"Loan history", "A1001", "Loan history A1001 2026-12-06.pdf"},
        {"Loan list", "", "Loan list 2026-12-06.pdf"},
        {"Late statement", "A17     ", "Late statement A17 2026-12-06.pdf"},
        {"Payment receipt", "A/1:7", "Payment receipt A-1-7 2026-12-06.pdf"},
    };
    for (const auto& c : cases) {
        const PrintDialogOptions options = ReportPrintDialog(c.report, c.loanNbr, std::chrono::year{2026} / 12 / 6);
        EXPECT_EQ(options.fileName, c.fileName);
        EXPECT_TRUE(options.allowPrintToFile);
        EXPECT_TRUE(options.offerPreview);
    }
}

}  // namespace
}  // namespace kb
