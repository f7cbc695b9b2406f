#include "help/frmHelp.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <fstream>

#include "core/config.h"
#include "help/help_printing.h"
#include "help/rtf_reader.h"
#include "support/window_test.h"

namespace kb {
namespace {

// Keeps the plain text of every printed document; a preview prints where `fromPreview` says.
class RecordingHelpPrinting : public HelpPrinting {
public:
    void print(const QTextDocument& document, const PrinterChoice&) override {
        texts.push_back(document.toPlainText().toStdString());
    }
    std::optional<PrinterChoice> preview(const QTextDocument& document, const PrinterChoice&,
                                         const PrintDialogOptions&) override {
        previews.push_back(document.toPlainText().toStdString());
        return fromPreview;
    }
    std::vector<std::string> texts;
    std::vector<std::string> previews;
    std::optional<PrinterChoice> fromPreview;
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

class HelpViewerTest : public test::WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        std::ofstream(kHelpPath, std::ios::binary) << SmallHelpFile();
    }

    std::unique_ptr<frmHelp> Open(const std::string& target) {
        kb.HelpTarget = target;
        auto help = std::make_unique<frmHelp>(kb, helpPrinting);
        help->show();
        return help;
    }
    static QTextEdit* Box(frmHelp& help) { return help.findChild<QTextEdit*>("RichTextBox1"); }
    static std::string Shown(frmHelp& help) { return Box(help)->toPlainText().toStdString(); }
    static void Print(frmHelp& help) { QTest::mouseClick(help.findChild<QPushButton*>("cmdHlpPrint"), Qt::LeftButton); }

    RecordingHelpPrinting helpPrinting;
    const PrinterChoice printer{"LASER", "", false};
};

TEST_F(HelpViewerTest, ASectionIsShownWithoutItsMarkersAndPrintsTheSelectionOrAllOfIt) {
    // Left out: the markers and the line break after the start marker; kept: the section's formatting.
    auto help = Open(std::string(kHelpPath) + "/S04E04");
    const QTextDocument& shown = *Box(*help)->document();
    EXPECT_EQ(Shown(*help), kSection4);
    EXPECT_EQ(shown.firstBlock().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    QTextCursor bold = shown.find("four");
    bold.setPosition(bold.selectionEnd());
    EXPECT_EQ(bold.charFormat().fontWeight(), QFont::Bold);

    dialogs.answerPrinter(printer);
    Print(*help);
    Box(*help)->setTextCursor(shown.find("second"));
    dialogs.answerPrinter(printer);
    Print(*help);
    EXPECT_EQ(helpPrinting.texts, (std::vector<std::string>{kSection4, "second"}));
    ASSERT_EQ(dialogs.printDialogs.size(), 2u);
    EXPECT_FALSE(dialogs.printDialogs[0].offerSelection);
    EXPECT_TRUE(dialogs.printDialogs[1].offerSelection);
    EXPECT_EQ(dialogs.printDialogs[0].fileName, "Help 2026-12-06.pdf");
}

// The whole file is shown without markers; one window prints it again and again, each time in the same three parts
// as far as the lender lets it. To a file the three parts are one document, and no sheet of paper is asked for; so
// is the preview, from which the lender prints or which the lender closes.
TEST_F(HelpViewerTest, TheWholeFileIsShownWithoutMarkersAndPrintsInThreeParts) {
    auto help = Open(kHelpPath);
    EXPECT_EQ(Shown(*help), "HELP TITLE\n\n" + kPrintedParts[0] + "\n\n" + kPrintedParts[1] + "\n\n" +
                                kPrintedParts[2] + "\n");
    EXPECT_EQ(Box(*help)->property("Tag").toString(), "ALL");
    const std::vector<std::string> parts(std::begin(kPrintedParts), std::end(kPrintedParts));
    const std::string whole = parts[0] + "\n" + parts[1] + "\n" + parts[2];
    PrinterChoice previewFirst = printer;
    previewFirst.preview = true;
    const struct {
        const char* name;
        std::optional<PrinterChoice> printer;
        std::vector<Answer> sheets;
        std::vector<std::string> printed;
        std::optional<PrinterChoice> fromPreview;
    } cases[] = {
        {"all three", printer, {Answer::OK, Answer::OK}, parts, {}},
        {"cancel at the first sheet", printer, {Answer::Cancel}, {parts[0]}, {}},
        {"print dialog cancelled", std::nullopt, {}, {}, {}},
        {"all three again", printer, {Answer::OK, Answer::OK}, parts, {}},
        {"to a file", PrinterChoice{"", "help.pdf", false}, {}, {whole}, {}},
        {"previewed, then printed", previewFirst, {Answer::OK, Answer::OK}, parts, printer},
        {"previewed, then closed", previewFirst, {}, {}, std::nullopt},
    };
    const test::ScriptedDialogs::Message anotherSheet{"INSERT ANOTHER SHEET OF PAPER", kAppTitle, Buttons::OKCancel,
                                                      Icon::None};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        helpPrinting.texts.clear();
        helpPrinting.previews.clear();
        helpPrinting.fromPreview = c.fromPreview;
        dialogs.messages.clear();
        dialogs.answerPrinter(c.printer);
        for (Answer answer : c.sheets) dialogs.answerMessage(answer);
        Print(*help);
        EXPECT_EQ(helpPrinting.texts, c.printed);
        const bool previewed = c.printer && c.printer->preview;
        EXPECT_EQ(helpPrinting.previews, previewed ? std::vector{whole} : std::vector<std::string>{});
        EXPECT_EQ(dialogs.messages, std::vector(c.sheets.size(), anotherSheet));
        EXPECT_TRUE(dialogs.printDialogs.back().offerSelection);
        EXPECT_TRUE(dialogs.allAnswered());
    }
}

TEST_F(HelpViewerTest, AboutShowsTheBusinessNameInBoldRed) {
    kb.DealerNm = "ACME MOTORS";
    auto help = Open("ABOUT");
    EXPECT_TRUE(Box(*help)->toPlainText().endsWith("\n  " + QString(20, ' ') + "ACME MOTORS\n  " + QString(20, ' ')));
    const QTextCharFormat format = Box(*help)->document()->find("ACME").charFormat();
    EXPECT_EQ(format.fontWeight(), QFont::Bold);
    EXPECT_EQ(format.fontPointSize(), 12);
    EXPECT_EQ(format.foreground().color(), QColor(255, 0, 0));
    EXPECT_EQ(Box(*help)->textCursor().position(), 0);
}

TEST_F(HelpViewerTest, AFileOrSectionThatCannotBeShownIsReported) {
    const std::pair<std::string, const char*> cases[] = {
        {std::string(kHelpPath) + "/S07E07", "^S07"},
        {"./MISSING.RTF", "./MISSING.RTF"},
    };
    for (const auto& [target, complaint] : cases) {
        dialogs.messages.clear();
        auto help = Open(target);
        EXPECT_EQ(Shown(*help), "") << target;
        ASSERT_EQ(dialogs.messages.size(), 1u);
        const auto& [text, title, buttons, icon] = dialogs.messages[0];
        EXPECT_EQ(std::tuple(title, icon, text.find(complaint) != std::string::npos),
                  std::tuple("HELP FORM LOAD", Icon::Critical, true)) << text;
    }
}

TEST_F(HelpViewerTest, TheFocusGoesToEXITWhichEscapeCloses) {
    auto help = Open(std::string(kHelpPath) + "/S01E01");
    QApplication::setActiveWindow(help.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(help.get()));
    auto* exit = help->findChild<QPushButton*>("cmdExit");
    Box(*help)->setFocus(Qt::MouseFocusReason);
    EXPECT_EQ(QApplication::focusWidget(), exit);

    QTest::keyClick(help->findChild<QPushButton*>("cmdHlpPrint"), Qt::Key_Escape);
    EXPECT_TRUE(help->isVisible());
    QTest::keyClick(exit, Qt::Key_Escape);
    EXPECT_FALSE(help->isVisible());
    EXPECT_EQ(kb.HelpTarget, "");
}

TEST_F(HelpViewerTest, TheHelpFileHoldsSixSectionsBetweenTwelveMarkers) {
    QTextDocument document;
    LoadRtfFile(KB_HELP_FILE, document);
    const QString text = document.toPlainText();
    EXPECT_EQ(text.count('^'), 12);
    // In order ^S01 ^E01 ^S02 ... ^E06, and no section is short.
    qsizetype previous = -1;
    for (int i = 0; i < 12; ++i) {
        const QString marker = QString("^%1%2").arg(i % 2 ? 'E' : 'S').arg(i / 2 + 1, 2, 10, QChar('0'));
        const qsizetype at = text.indexOf(marker);
        EXPECT_GT(at, previous + (i % 2 ? 400 : 0)) << marker.toStdString();
        previous = at;
    }
}

}  // namespace
}  // namespace kb
