#include "loan/frmKBLoan.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/kb_field.h"
#include "core/error_trap.h"
#include "core/startup.h"
#include "store/store.h"

namespace kb {

namespace {

constexpr const char* kHeading = "LOAN INFORMATION";
constexpr const char* kPmtLstCaption = "PAYMENTS MADE";
constexpr const char* kAddPmtCaption = "ADD PAYMENT";

constexpr const char* kFormLoadLabel = "KBLoan - FORM LOAD";
constexpr const char* kTxtLoanLabel = "KBLoan - txt LOAN";
constexpr const char* kSaveLabel = "KBLoan - cmd Save";
constexpr const char* kOKLabel = "KBLoan - cmd OK";

// Mode "P" shows the loan number it cannot change in light blue on the button face.
const QColor kLockedText(0, 0, 255);

// The payment list frame and its list, in twips (15 to a pixel on a 96 dpi screen).
constexpr int kPmtLstFrameTwips = 3580;
constexpr int kPmtLstTwips = 2940;
constexpr int kPmtRowCharacters = 72;
constexpr int TwipsToPixels(int twips) { return twips / 15; }

// The loan fields in two columns: the customer (0 to 9) and the loan's terms (10 to 16).
constexpr int kFirstTermsField = kLoanDTField;

std::string RightTrimmed(std::string text) {
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

QFont FixedPitchFont() {
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(9);
    return font;
}

QPushButton* MakeButton(QWidget* parent, const char* objectName, const char* caption, const char* toolTip) {
    auto* button = new QPushButton(QString::fromUtf8(caption), parent);
    button->setObjectName(objectName);
    if (toolTip) button->setToolTip(QString::fromUtf8(toolTip));
    return button;
}

QAction* AddAction(QMenu* menu, const char* objectName, const char* caption) {
    QAction* action = menu->addAction(QString::fromUtf8(caption));
    action->setObjectName(objectName);
    return action;
}

struct HelpEntry {
    const char* objectName;
    const char* caption;
    const char* target;  // after the help file's path; none: the About text
    const char* label;   // the error label; none: no step that can fail
};

constexpr const char* kLoanInfoLabel = "KBLoan - mnu LOAN INFO";
constexpr HelpEntry kHelpEntries[] = {
    {"mnuAbout", "&About", nullptr, nullptr},
    {"mnuLoanInfo", "Loan &Information", "/S03E03", kLoanInfoLabel},
    {"mnuDelPmt", "&Delete Last Payment Made", "/S06E06", "KBLoan - mnu Del Pmt"},
    {"mnuPayOff", "Loan &PayOff", "/S03E03", kLoanInfoLabel},
    {"mnuEditing", "&Editing Fields", "/S04E04", "KBLoan - mnu EDITING"},
};

}  // namespace

frmKBLoan::frmKBLoan(KBMain& kb, QWidget* loanList) : QWidget(nullptr, Qt::Window), kb_(kb), loanList_(loanList) {
    setObjectName("frmKBLoan");
    setAttribute(Qt::WA_DeleteOnClose);

    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(buildMenus());
    layout->addWidget(buildLoanPanel());

    auto* lower = new QHBoxLayout;
    lower->addWidget(buildPaymentList(), 0, Qt::AlignTop);
    // The panels that take turns beside the payment list.
    auto* side = new QVBoxLayout;
    fraAddPmt_ = new QGroupBox(kAddPmtCaption, this);
    fraAddPmt_->setObjectName("fraAddPmt");
    side->addWidget(fraAddPmt_);
    side->addWidget(buildDeletePanel());
    for (int i = 2; i < 4; ++i) {
        auto* panel = new QFrame(this);
        panel->setObjectName(QString("pbxLoan_%1").arg(i));
        panel->setFrameShape(QFrame::StyledPanel);
        panel->hide();
        pbxLoan_[static_cast<std::size_t>(i)] = panel;
        side->addWidget(panel);
    }
    side->addStretch(1);
    lower->addLayout(side, 1);
    layout->addLayout(lower, 1);

    Form_Load();
}

QMenuBar* frmKBLoan::buildMenus() {
    auto* bar = new QMenuBar(this);
    QMenu* file = bar->addMenu("&File");
    connect(AddAction(file, "mnuExit", "E&xit"), &QAction::triggered, this, [this] { cmdExit_Click(); });

    QMenu* reports = bar->addMenu("&Reports");
    AddAction(reports, "mnuPmtReceipt", "&Payment Receipt");
    AddAction(reports, "mnuHistory", "Loan &History");

    QMenu* help = bar->addMenu("&Help");
    for (const HelpEntry& entry : kHelpEntries) {
        const std::string target = entry.target ? std::string(kHelpPath) + entry.target : "ABOUT";
        connect(AddAction(help, entry.objectName, entry.caption), &QAction::triggered, this,
                [this, label = entry.label, target] { ShowHelpSection(label, target); });
    }
    return bar;
}

QWidget* frmKBLoan::buildLoanPanel() {
    auto* panel = new QFrame(this);
    panel->setObjectName("pbxLoan_0");
    panel->setFrameShape(QFrame::StyledPanel);
    pbxLoan_[0] = panel;
    auto* layout = new QVBoxLayout(panel);

    auto* heading = new QLabel(kHeading, panel);
    heading->setObjectName("lblHeading");
    heading->setAlignment(Qt::AlignHCenter);
    QFont bold = heading->font();
    bold.setBold(true);
    bold.setPointSize(bold.pointSize() + 2);
    heading->setFont(bold);
    layout->addWidget(heading);

    auto* grid = new QGridLayout;
    grid->setColumnMinimumWidth(2, 24);
    grid->setColumnStretch(4, 1);
    const QFontMetrics metrics(font());
    const int charWidth = metrics.horizontalAdvance('X');
    for (int i = 0; i < kLoanFieldCount; ++i) {
        const LoanFieldDef& def = LoanFieldDefs()[static_cast<std::size_t>(i)];
        auto* label = new QLabel(QString::fromUtf8(def.label), panel);
        label->setObjectName(QString("lblLoan_%1").arg(i));
        auto* field = new KBField(QString("txtLoan_%1").arg(i), def.inputClass, kb_, panel);
        field->setMaxLength(def.maxLength);
        field->setToolTip(QString::fromUtf8(def.toolTip));
        field->setFixedWidth(charWidth * (def.maxLength + 1) + 10);
        label->setBuddy(field);
        txtLoan_[static_cast<std::size_t>(i)] = field;

        const bool terms = i >= kFirstTermsField;
        const int row = terms ? i - kFirstTermsField : i;
        const int column = terms ? 3 : 0;
        grid->addWidget(label, row, column, Qt::AlignRight);
        grid->addWidget(field, row, column + 1, Qt::AlignLeft);

        connect(field, &KBField::gotFocus, this, [this, i] { txtLoan_GotFocus(i); });
        connect(field, &KBField::lostFocus, this, [this, i] { txtLoan_LostFocus(i); });
        connect(field, &QLineEdit::textChanged, this, [this] { kb_.ListDirty = true; });
    }
    // The balance moves only with the loan amount and the payments: neither Tab nor the mouse enters it.
    txtLoan_[kBalanceField]->setFocusPolicy(Qt::NoFocus);
    layout->addLayout(grid);
    layout->addStretch(1);

    auto* buttons = new QHBoxLayout;
    cmdSave_ = MakeButton(panel, "cmdSave", "&Save", "Save Loan Info");
    cmdExit_ = MakeButton(panel, "cmdExit", "&Exit", "Exit Loan Screen");
    cmdMkPmt_ = MakeButton(panel, "cmdMkPmt", "&Add Pmt", "Add Payment to Loan");
    cmdNotes_ = MakeButton(panel, "cmdNotes", "&Notes", "Notes on this Loan");
    cmdPayOff_ = MakeButton(panel, "cmdPayOff", "Figure &PayOff", "Figure Loan Payoff");
    buttons->addStretch(1);
    for (QPushButton* button : {cmdSave_, cmdExit_, cmdMkPmt_, cmdNotes_, cmdPayOff_}) {
        buttons->addWidget(button);
        buttons->addStretch(1);
    }
    cmdMkPmt_->hide();  // no payment before the loan is on file
    layout->addLayout(buttons);

    connect(cmdSave_, &QPushButton::clicked, this, [this] { cmdSave_Click(); });
    connect(cmdExit_, &QPushButton::clicked, this, [this] { cmdExit_Click(); });
    return panel;
}

QWidget* frmKBLoan::buildDeletePanel() {
    auto* panel = new QFrame(this);
    panel->setObjectName("pbxLoan_1");
    panel->setFrameShape(QFrame::StyledPanel);
    pbxLoan_[1] = panel;
    auto* layout = new QVBoxLayout(panel);
    QFont bold = font();
    bold.setBold(true);
    for (const char* text : {"Are you sure you want to delete", "this Loan"}) {
        auto* label = new QLabel(text, panel);
        label->setAlignment(Qt::AlignHCenter);
        label->setFont(bold);
        layout->addWidget(label);
    }
    auto* buttons = new QHBoxLayout;
    cmdOK_ = MakeButton(panel, "cmdOK", "&OK", nullptr);
    cmdCancel_ = MakeButton(panel, "cmdCancel", "&Cancel", nullptr);
    buttons->addWidget(cmdOK_);
    buttons->addWidget(cmdCancel_);
    layout->addLayout(buttons);
    connect(cmdOK_, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdCancel_, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
    panel->hide();
    return panel;
}

QGroupBox* frmKBLoan::buildPaymentList() {
    fraPmtLst_ = new QGroupBox(kPmtLstCaption, this);
    fraPmtLst_->setObjectName("fraPmtLst");
    auto* layout = new QVBoxLayout(fraPmtLst_);
    lstPmts_ = new QListWidget(fraPmtLst_);
    lstPmts_->setObjectName("lstPmts");
    lstPmts_->setFont(FixedPitchFont());
    lstPmts_->setUniformItemSizes(true);
    const QFontMetrics metrics(lstPmts_->font());
    lstPmts_->setFixedWidth(metrics.horizontalAdvance(QString(kPmtRowCharacters + 3, '0')) +
                            2 * lstPmts_->frameWidth());
    layout->addWidget(lstPmts_);
    return fraPmtLst_;
}

void frmKBLoan::Form_Load() {
    ErrorTrap trap(kb_.dialogs, kFormLoadLabel);
    if (loanList_) {
        setWindowTitle(loanList_->windowTitle());
        loanList_->setEnabled(false);
    }

    fraAddPmt_->hide();
    fraPmtLst_->setFixedHeight(TwipsToPixels(kPmtLstFrameTwips));
    lstPmts_->setFixedHeight(TwipsToPixels(kPmtLstTwips));

    const std::string mode = kb_.LoanMode;
    if (mode != "P" && mode != "D") {
        fraPmtLst_->setEnabled(false);
        cmdNotes_->hide();
        txtLoan_[kLoanNbrField]->setFocus(Qt::OtherFocusReason);
    } else {
        std::optional<LoanRecord> loan;
        const bool read = trap.run([&] { loan = LoanTable(kb_.LoanDB).find(kb_.CurLoanNbr); });
        if (loan) {
            showLoan(*loan);
            loanNbr_ = loan->LoanNbr;
            cmdMkPmt_->show();
        } else {
            static constexpr const char* kNotFound = "RECORD NOT FOUND";
            if (read) kb_.dialogs.message(kNotFound, kAppTitle, Buttons::OK, Icon::None);
            // Without its loan the screen has nothing to show: it closes as soon as it is running.
            QMetaObject::invokeMethod(this, [this] { cmdExit_Click(); }, Qt::QueuedConnection);
        }
        if (mode == "D") {
            pbxLoan_[1]->show();
            pbxLoan_[0]->setEnabled(false);
            cmdOK_->setFocus(Qt::OtherFocusReason);
        } else {
            lockLoanNumber();
            txtLoan_[kLastNmField]->setFocus(Qt::OtherFocusReason);
        }
    }
    if (loanList_) loanList_->hide();
}

void frmKBLoan::lockLoanNumber() {
    KBField* field = txtLoan_[kLoanNbrField];
    field->setReadOnly(true);
    field->setFocusPolicy(Qt::NoFocus);
    field->setToolTip(QString());
    QPalette palette = field->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Button));
    palette.setColor(QPalette::Text, kLockedText);
    field->setPalette(palette);
}

void frmKBLoan::showLoan(const LoanRecord& loan) {
    const LoanTexts texts = TextsOfLoan(loan);
    // The caret at the start of each field, where typing replaces the text.
    for (std::size_t i = 0; i < texts.size(); ++i) {
        txtLoan_[i]->setText(QString::fromStdString(texts[i]));
        txtLoan_[i]->setCursorPosition(0);
    }
}

LoanTexts frmKBLoan::fieldTexts() const {
    LoanTexts texts;
    for (std::size_t i = 0; i < texts.size(); ++i) texts[i] = txtLoan_[i]->text().toStdString();
    return texts;
}

bool frmKBLoan::hasPayments() const { return lstPmts_->count() > 0; }

void frmKBLoan::LoanFields(bool disp) {
    for (KBField* field : txtLoan_) field->setEnabled(disp);
    for (QPushButton* button : {cmdExit_, cmdMkPmt_, cmdSave_, cmdNotes_, cmdPayOff_}) button->setEnabled(disp);
}

void frmKBLoan::txtLoan_GotFocus(int index) {
    ErrorTrap trap(kb_.dialogs, kTxtLoanLabel);
    trap.run([&] {
        KBField* field = txtLoan_[static_cast<std::size_t>(index)];
        const std::string text = field->text().toStdString();
        const std::string entering = EnteringText(index, text);
        if (entering == text) return;
        field->setText(QString::fromStdString(entering));
        field->setCursorPosition(0);
    });
}

void frmKBLoan::txtLoan_LostFocus(int index) {
    ErrorTrap trap(kb_.dialogs, kTxtLoanLabel);
    trap.run([&] {
        KBField* field = txtLoan_[static_cast<std::size_t>(index)];
        const std::string text = field->text().toStdString();
        const std::string leaving = LeavingText(index, text);
        if (leaving != text) field->setText(QString::fromStdString(leaving));
        KBField* amount = txtLoan_[kLoanAmtField];
        KBField* balance = txtLoan_[kBalanceField];
        if (BalanceTakesAmount(index, kb_.LoanMode, hasPayments(), amount->text().toStdString(),
                               balance->text().toStdString()))
            balance->setText(amount->text());
    });
}

void frmKBLoan::cmdSave_Click() {
    static constexpr const char* kNoLoanNumber = "CAN'T SAVE WITHOUT A LOAN NUMBER";
    static constexpr const char* kNoLastName = "CAN'T SAVE WITHOUT A LAST NAME";
    // Saving by its access key leaves the focus in the field: leave it first, so that its text is finished.
    for (KBField* field : txtLoan_) {
        if (field->hasFocus()) cmdSave_->setFocus(Qt::OtherFocusReason);
    }
    const LoanTexts texts = fieldTexts();
    if (RightTrimmed(texts[kLoanNbrField]).empty()) {
        kb_.dialogs.message(kNoLoanNumber, kAppTitle, Buttons::OK, Icon::None);
        return;
    }
    if (RightTrimmed(texts[kLastNmField]).empty()) {
        kb_.dialogs.message(kNoLastName, kAppTitle, Buttons::OK, Icon::None);
        return;
    }
    ErrorTrap trap(kb_.dialogs, kSaveLabel);
    const bool saved = trap.run([&] {
        LoanRecord loan = LoanOfTexts(texts);
        const LoanTable table(kb_.LoanDB);
        if (loanNbr_.empty()) {
            table.add(loan);
        } else {
            loan.LoanNbr = loanNbr_;
            table.update(loan);
        }
    });
    if (!saved) return;  // the refusal is shown and the loan stays on the screen as typed
    kb_.ListDirty = true;
    close();
}

void frmKBLoan::cmdExit_Click() {
    kb_.LoanMode.clear();
    close();
}

void frmKBLoan::cmdOK_Click() {
    pbxLoan_[0]->setEnabled(true);
    {
        ErrorTrap trap(kb_.dialogs, kOKLabel);
        trap.run([&] {
            DeleteLoan(BookFiles{kb_.LoanDB, kb_.PmtsDB, kb_.NotesDB}, loanNbr_);
            kb_.ListDirty = true;
        });
    }
    cmdExit_Click();
}

void frmKBLoan::cmdCancel_Click() {
    pbxLoan_[0]->setEnabled(true);
    cmdExit_Click();
}

void frmKBLoan::ShowHelpSection(const char* label, const std::string& target) {
    const auto show = [&] {
        kb_.HelpTarget = target;
        if (kb_.ShowHelp) kb_.ShowHelp();
    };
    if (!label) return show();
    ErrorTrap trap(kb_.dialogs, label);
    trap.run(show);
}

void frmKBLoan::closeEvent(QCloseEvent* event) {
    Form_Unload();
    QWidget::closeEvent(event);
}

void frmKBLoan::Form_Unload() {
    if (unloaded_) return;
    unloaded_ = true;
    if (loanList_) {
        loanList_->setEnabled(true);
        loanList_->show();
        loanList_->activateWindow();
    }
    if (kb_.ListDirty) {
        emit loanListDirty();
        kb_.ListDirty = false;
    }
    kb_.LoanMode.clear();
}

}  // namespace kb
