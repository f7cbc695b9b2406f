#pragma once
#include <QDialog>
#include <memory>
#include <optional>

#include "core/kbmain.h"
#include "help/help_target.h"

class QPushButton;
class QTextDocument;
class QTextEdit;

namespace kb {

class HelpPrinting;

// The help viewer ("HELP"), modal: the About text, one section of the help file or the whole file, as HelpTarget
// says when it opens. It prints what it shows; the whole file is printed in three parts, each on a sheet of its own.
// Closing it clears HelpTarget.
class frmHelp : public QDialog {
    Q_OBJECT
public:
    frmHelp(KBMain& kb, HelpPrinting& printing, QWidget* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void done(int result) override;

private:
    void Form_Load();
    void ShowAbout();
    void ShowSection(const HelpRequest& request);
    void ShowWholeFile(const HelpRequest& request);
    // The visible box takes a copy of `document`, with the caret at its start.
    void ShowDocument(const QTextDocument& document);
    void cmdHlpPrint_Click();
    void PrintShown();
    void PrintWholeFile();
    // Where `document` is to print: on the printer chosen, or where the lender says in its preview when the lender
    // asked for one; nullopt when the lender closed the preview.
    std::optional<PrinterChoice> Previewed(QTextDocument& document, const PrinterChoice& chosen,
                                           const PrintDialogOptions& options);
    // Printing reports nothing: a job that fails is dropped.
    void Print(QTextDocument& document, const PrinterChoice& printer);

    KBMain& kb_;
    HelpPrinting& printing_;
    QTextEdit* RichTextBox1_ = nullptr;
    QTextEdit* RichTextBox2_ = nullptr;
    QPushButton* cmdHlpPrint_ = nullptr;
    QPushButton* cmdExit_ = nullptr;
};

}  // namespace kb
