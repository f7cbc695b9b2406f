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
// sheet of paper. With Preview pressed the pages are shown as they print; from the preview the lender prints on the
// printer chosen (paper prompts included), saves the pages as a PDF file, or closes it and nothing prints.
TEST(PrintFlowTest, PagesHoldTheirRowsUnderTheHeadingAndTheClosingLinesEndTheLastPage) {
    const Message first{kInsertBlankSheet, kAppTitle, Buttons::OKCancel, Icon::None};
    const Message later{"NEXT SHEET", kAppTitle, Buttons::OKCancel, Icon::None};
    const std::vector<Page> expected = {{"  1/3", " r1", " r2"}, {"  2/3", " r3", " r3b", " r4"},
                                        {"  3/3", " r5", "", "    TOTAL"}};
    EXPECT_EQ(ReportPages(FiveRows()), expected);
    const PrinterChoice office{"Office", "", false}, file{"", "/tmp/report.pdf", false};
    PrinterChoice preview = office;
    preview.preview = true;
    // The print dialog's answer, the preview's, the messages shown, the jobs opened and the outcome.
    const std::tuple<PrinterChoice, std::optional<PrinterChoice>, std::vector<Message>, std::size_t, PrintOutcome>
        cases[] = {
            {office, {}, {first, later, later}, 3, PrintOutcome::Printed},
            {file, {}, {}, 1, PrintOutcome::Printed},
            {preview, preview, {first, later, later}, 3, PrintOutcome::Printed},
            {preview, file, {}, 1, PrintOutcome::Printed},
            {preview, std::nullopt, {}, 0, PrintOutcome::Cancelled},
        };
    for (const auto& [chosen, fromPreview, messages, jobs, outcome] : cases) {
        SCOPED_TRACE(testing::Message() << chosen.printerName << chosen.preview << " then " << jobs << " jobs");
        ScriptedDialogs dialogs;
        test::FailingPrinting printing;
        dialogs.answerPrinter(chosen);
        if (chosen.preview) dialogs.answerPreview(fromPreview);
        for (std::size_t page = 0; page < messages.size(); ++page) dialogs.answerMessage(Answer::OK);
        EXPECT_EQ(PrintReport(dialogs, printing, FiveRows()), outcome);
        EXPECT_EQ(printing.pages, jobs ? expected : std::vector<Page>{});
        EXPECT_EQ(dialogs.previews, std::vector<std::vector<Page>>(chosen.preview, expected));
        EXPECT_EQ(dialogs.messages, messages);
        EXPECT_EQ(printing.jobs.size(), jobs);
        EXPECT_TRUE(dialogs.printDialogs.at(0).allowPrintToFile);
    }
}

TEST(PrintFlowTest, AFailedStepIsSkippedAndTheLastFailureIsShownAtTheEndUnlessTheRunnerGivesUp) {
    ScriptedDialogs dialogs;
    test::FailingPrinting printing, again;
    printing.failOpen = {1, 2};
    again.failOpen = {2};
    dialogs.answerPrinter(PrinterChoice{});
    for (int prompt = 1; prompt <= 3; ++prompt) dialogs.answerMessage(Answer::OK);
    EXPECT_EQ(PrintReport(dialogs, printing, FiveRows()), PrintOutcome::Printed);
    EXPECT_EQ(printing.pages, (std::vector<Page>{{"  3/3", " r5", "", "    TOTAL"}}));
    EXPECT_EQ(dialogs.messages.back(),
              (Message{"Printer not ready (page 2)", "Test - RPT", Buttons::OK, Icon::Critical}));

    dialogs.answerMessage(Answer::OK);
    dialogs.answerMessage(Answer::OK);
    const auto giveUpOnFailure = [](const std::function<void()>& step) {
        try {
            step();
        } catch (const std::exception&) {
            return false;
        }
        return true;
    };
    EXPECT_EQ(PrintPages(dialogs, again, PrinterChoice{}, FiveRows(), giveUpOnFailure), PrintOutcome::Abandoned);
    EXPECT_EQ(again.pages.size(), 1u);
    EXPECT_TRUE(dialogs.allAnswered());
}

// Each report's test checks the file name it offers; characters a file name cannot hold become dashes.
TEST(PrintFlowTest, ThePrintDialogOffersAPdfFileNamedForWhatItHolds) {
    const PrintDialogOptions options = ReportPrintDialog("Payment receipt", "A/1:7", std::chrono::year{2026} / 12 / 6);
    EXPECT_EQ(std::tuple(options.fileName, options.allowPrintToFile, options.offerPreview),
              std::tuple("Payment receipt A-1-7 2026-12-06.pdf", true, true));
}

}  // namespace
}  // namespace kb
