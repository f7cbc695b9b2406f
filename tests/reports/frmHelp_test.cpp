#include "reports/frmHelp.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <fstream>

#include "core/startup.h"
#include "reports/help_printing.h"
#include "reports/rtf_reader.h"
#include "support/fixed_clock.h"
#include "support/recording_printing.h"
#include "support/scripted_dialogs.h"
#include "support/temp_dir.h"

namespace kb {
namespace {

// Keeps the plain text of every printed document.
class RecordingHelpPrinting : public HelpPrinting {
public:
    void print(const QTextDocument& document, const PrinterChoice&) override {
        texts.push_back(document.toPlainText().toStdString());
    }
    std::vector<std::string> texts;
};

// A help file whose six sections are "Section n"; section 4 is centered, with a bold word and a second paragraph.
std::string SmallHelpFile() {
    std::string rtf = R"({\rtf1\ansi\deff0{\fonttbl{\f0\fmodern Courier New;}}\f0\fs20 HELP TITLE\par )";
    for (int n = 1; n <= 6; ++n) {
        const std::string number = "0" + std::to_string(n);
        const std::string body = n == 4 ? R"(\qc Section {\b four}\par\pard second line)" : "Section " + number;
        rtf += "^S" + number + "\\par " + body + "\\par ^E" + number + "\\par ";
    }
    return rtf + "}";
}

const std::string kSection4 = "Section four\nsecond line\n";
const std::string kPrintedParts[] = {"Section 01\n\n\nSection 02\n", "Section 03\n\n\nSection four\nsecond line\n",
                                     "Section 05\n\n\nSection 06\n"};

class HelpViewerTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::ofstream(kHelpPath, std::ios::binary) << SmallHelpFile();
        kb.DealerNm = kDefaultDealerNm;
    }

    std::unique_ptr<frmHelp> Open(const std::string& target) {
        kb.HelpTarget = target;
        auto help = std::make_unique<frmHelp>(kb, printing);
        help->show();
        return help;
    }
    static QTextEdit* Box(frmHelp& help) { return help.findChild<QTextEdit*>("RichTextBox1"); }
    static std::string Shown(frmHelp& help) { return Box(help)->toPlainText().toStdString(); }
    static void Click(frmHelp& help, const char* button) {
        QTest::mouseClick(help.findChild<QPushButton*>(button), Qt::LeftButton);
    }

    test::TempDir dir;
    test::WorkingDir inDir{dir.path()};
    test::ScriptedDialogs dialogs;
    test::RecordingPrinting pagePrinting;
    test::FixedClock clock;
    KBMain kb{dialogs, pagePrinting, clock};
    RecordingHelpPrinting printing;
    const PrinterChoice printer{"LASER", "", false};
};

TEST_F(HelpViewerTest, OneSectionWithoutItsMarkersOrTheLineBreakAfterThem) {
    auto help = Open(std::string(kHelpPath) + "/S04E04");
    EXPECT_EQ(help->windowTitle(), "HELP");
    EXPECT_EQ(Shown(*help), kSection4);
    const QTextDocument& shown = *Box(*help)->document();
    EXPECT_EQ(shown.firstBlock().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    QTextCursor bold = shown.find("four");
    bold.setPosition(bold.selectionEnd());
    EXPECT_EQ(bold.charFormat().fontWeight(), QFont::Bold);
    EXPECT_FALSE(Box(*help)->property("Tag").toString() == "ALL");
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(HelpViewerTest, TheWholeFileWithoutAnyMarker) {
    auto help = Open(kHelpPath);
    const std::string shown = Shown(*help);
    EXPECT_EQ(shown.find('^'), std::string::npos);
    EXPECT_EQ(shown.substr(0, 23), "HELP TITLE\n\nSection 01\n");
    std::size_t previous = 0;
    for (const char* section : {"Section 01", "Section 02", "Section 03", "Section four", "Section 05", "Section 06"}) {
        const std::size_t at = shown.find(section);
        EXPECT_GT(at, previous) << section;
        previous = at;
    }
    EXPECT_EQ(Box(*help)->property("Tag").toString(), "ALL");
}

TEST_F(HelpViewerTest, PrintingTheWholeFileTwicePrintsTheSameThreeParts) {
    auto help = Open(kHelpPath);
    for (int time = 0; time < 2; ++time) {
        dialogs.answerPrinter(printer);
        dialogs.answerMessage(Answer::OK);
        dialogs.answerMessage(Answer::OK);
        Click(*help, "cmdHlpPrint");
    }
    ASSERT_EQ(printing.texts.size(), 6u);
    for (std::size_t i = 0; i < 6; ++i) EXPECT_EQ(printing.texts[i], kPrintedParts[i % 3]) << i;
    ASSERT_EQ(dialogs.printDialogs.size(), 2u);
    EXPECT_TRUE(dialogs.printDialogs[0].offerSelection);
    const test::ScriptedDialogs::Message anotherSheet{"INSERT ANOTHER SHEET OF PAPER", kAppTitle, Buttons::OKCancel,
                                                      Icon::None};
    EXPECT_EQ(dialogs.messages, std::vector<test::ScriptedDialogs::Message>(4, anotherSheet));
    EXPECT_TRUE(dialogs.allAnswered());
}

TEST_F(HelpViewerTest, CancelStopsThePrinting) {
    const struct {
        const char* name;
        std::optional<PrinterChoice> printer;
        std::vector<Answer> sheets;
        std::size_t partsPrinted;
    } cases[] = {
        {"print dialog", std::nullopt, {}, 0},
        {"first sheet", printer, {Answer::Cancel}, 1},
        {"second sheet", printer, {Answer::OK, Answer::Cancel}, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        printing.texts.clear();
        auto help = Open(kHelpPath);
        dialogs.answerPrinter(c.printer);
        for (Answer answer : c.sheets) dialogs.answerMessage(answer);
        Click(*help, "cmdHlpPrint");
        ASSERT_EQ(printing.texts.size(), c.partsPrinted);
        for (std::size_t i = 0; i < c.partsPrinted; ++i) EXPECT_EQ(printing.texts[i], kPrintedParts[i]);
        EXPECT_TRUE(dialogs.allAnswered());
    }
}

TEST_F(HelpViewerTest, ASectionPrintsTheSelectionOrAllOfIt) {
    auto help = Open(std::string(kHelpPath) + "/S04E04");
    dialogs.answerPrinter(printer);
    Click(*help, "cmdHlpPrint");
    QTextCursor selection = Box(*help)->document()->find("second");
    Box(*help)->setTextCursor(selection);
    dialogs.answerPrinter(printer);
    Click(*help, "cmdHlpPrint");
    EXPECT_EQ(printing.texts, (std::vector<std::string>{kSection4, "second"}));
    ASSERT_EQ(dialogs.printDialogs.size(), 2u);
    EXPECT_FALSE(dialogs.printDialogs[0].offerSelection);
    EXPECT_TRUE(dialogs.printDialogs[1].offerSelection);
}

TEST_F(HelpViewerTest, AboutShowsTheBusinessNameInBoldRed) {
    kb.DealerNm = "ACME MOTORS";
    auto help = Open("ABOUT");
    const QString blanks(20, ' ');
    const QString expected = "\n\n\n\n" + blanks + "KESTREL-BOOK PROGRAM\n" + blanks +
                             "COPYRIGHT (C) 2003  ALL RIGHTS RESERVED\n" + blanks + "HARROWDALE, INC.\n" + blanks +
                             "PHONE (800) 555-0199   FAX (800) 555-0198\n\n" + blanks + "\n  " + blanks +
                             "ACME MOTORS\n  " + blanks;
    EXPECT_EQ(Box(*help)->toPlainText(), expected);
    QTextCursor name = Box(*help)->document()->find("ACME");
    const QTextCharFormat format = name.charFormat();
    EXPECT_EQ(format.fontWeight(), QFont::Bold);
    EXPECT_EQ(format.fontPointSize(), 12);
    EXPECT_EQ(format.foreground().color(), QColor(255, 0, 0));
    EXPECT_EQ(Box(*help)->textCursor().position(), 0);
}

TEST_F(HelpViewerTest, AFileOrSectionThatCannotBeShownIsReported) {
    const std::pair<std::string, const char*> cases[] = {
        {std::string(kHelpPath) + "/S07E07", "^S07"},
        {"./MISSING.RTF/S01E01", "./MISSING.RTF"},
        {"./MISSING.RTF", "./MISSING.RTF"},
    };
    for (const auto& [target, complaint] : cases) {
        SCOPED_TRACE(target);
        dialogs.messages.clear();
        auto help = Open(target);
        EXPECT_EQ(Shown(*help), "");
        ASSERT_EQ(dialogs.messages.size(), 1u);
        EXPECT_EQ(dialogs.messages[0].title, "HELP FORM LOAD");
        EXPECT_EQ(dialogs.messages[0].icon, Icon::Critical);
        EXPECT_NE(dialogs.messages[0].text.find(complaint), std::string::npos) << dialogs.messages[0].text;
    }
}

TEST_F(HelpViewerTest, TheFocusGoesToEXITWhichEscapeCloses) {
    auto help = Open(std::string(kHelpPath) + "/S01E01");
    help->show();
    QApplication::setActiveWindow(help.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(help.get()));
    auto* exit = help->findChild<QPushButton*>("cmdExit");
    auto* print = help->findChild<QPushButton*>("cmdHlpPrint");
    Box(*help)->setFocus(Qt::MouseFocusReason);
    EXPECT_EQ(QApplication::focusWidget(), exit);

    print->setFocus();
    QTest::keyClick(print, Qt::Key_Escape);
    EXPECT_TRUE(help->isVisible());
    exit->setFocus();
    QTest::keyClick(exit, Qt::Key_Escape);
    EXPECT_FALSE(help->isVisible());
    EXPECT_EQ(kb.HelpTarget, "");
}

TEST_F(HelpViewerTest, TheHelpFileHoldsSixSectionsBetweenTwelveMarkers) {
    QTextDocument document;
    LoadRtfFile(KB_HELP_FILE, document);
    const QString text = document.toPlainText();
    EXPECT_EQ(text.count('^'), 12);
    qsizetype previous = -1;
    for (int n = 1; n <= 6; ++n) {
        for (const char kind : {'S', 'E'}) {
            const QString marker = QString("^%1%2").arg(kind).arg(n, 2, 10, QChar('0'));
            const qsizetype at = text.indexOf(marker);
            EXPECT_GT(at, previous) << marker.toStdString();
            if (kind == 'E') {
                EXPECT_GT(at - previous, 400) << "section " << n << " is short";
            }
            previous = at;
        }
    }
}

}  // namespace
}  // namespace kb
