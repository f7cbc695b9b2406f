#include "list/frmKBLst.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "core/config.h"
#include "core/error_trap.h"
#include "core/input_rules.h"
#include "help/help_menu.h"
#include "help/help_target.h"
#include "list/backup_commands.h"
#include "list/book_copy_menu.h"
#include "list/loan_row.h"
#include "loan/frmKBLoan.h"
#include "loanbook/book.h"
#include "reports/frmLatePmt.h"
#include "reports/frmRptCnd.h"
#include "widgets/kb_field.h"
#include "widgets/list_columns.h"
#include "widgets/window_parts.h"

namespace kb {

namespace {

// A menu (opened with Alt or a click) hands the focus back to the list when it closes; that is no return from another
// window, and a refill would lose the loan the menu command is about.
bool FocusBackFromMenu(Qt::FocusReason reason) {
    return reason == Qt::PopupFocusReason || reason == Qt::MenuBarFocusReason;
}

constexpr const char* kHeading = "ACCOUNT LIST for LOANS";
constexpr const char* kLoading = "LOADING LOAN LIST!!!";
constexpr const char* kCmdAddLabel = "KBLst - cmd ADD";
constexpr const char* kCmdProcessLabel = "KBLst - cmd PROCESS";
constexpr const char* kCmdDeleteLabel = "KBLst - cmd DELETE";
constexpr const char* kMnuAddLabel = "KBLst - mnu ADD";
constexpr const char* kMnuProcessLabel = "KBLst - mnu PROCESS";
constexpr const char* kMnuLatePmtLabel = "KBLst - mnu LATE PMT";
constexpr const char* kAddMode = "A";
constexpr const char* kProcessMode = "P";
constexpr const char* kDeleteMode = "D";

// The window's proportions of the screen and of the list panel.
constexpr double kScreenToWindowHeight = 1.05571;
constexpr double kWindowToPanelHeight = 1.13289;
constexpr double kWindowToPanelWidth = 1.01265;
constexpr int kRowCharacters = 74;

struct SortChoice {
    const char* objectName;
    const char* caption;
    const char* sortLabel;
    QKeySequence shortcut;
};

const std::array<SortChoice, 3>& SortChoices() {
    static const std::array<SortChoice, 3> choices = {{
        {"mnuIDSort", "&ID Sort", kIdSortLabel, QKeySequence(Qt::CTRL | Qt::Key_I)},
        {"mnuNameSort", "&Name Sort", kNameSortLabel, QKeySequence(Qt::CTRL | Qt::Key_N)},
        {"mnuDateSort", "&Due Date Sort", kDateSortLabel, QKeySequence(Qt::CTRL | Qt::Key_D)},
    }};
    return choices;
}

// "Next Payment" stands on the first line, above "Date Due" and "Amt Due".
constexpr ColumnHeading kColumnHeadings[] = {
    {"Loan ID", 0, 8, Qt::AlignLeft, 1},    {"Loan Name", 9, 32, Qt::AlignLeft, 1},
    {"Bal Due", 42, 10, Qt::AlignRight, 1}, {"Date Due", 53, 10, Qt::AlignRight, 1},
    {"Amt Due", 64, 10, Qt::AlignRight, 1}, {"Next Payment", 53, 21, Qt::AlignHCenter, 0},
};

constexpr HelpEntry kHelpEntries[] = {
    {"mnuAbout", "&About", nullptr},
    {"mnuOperation", "Program &Operation", "/S01E01"},
    {"mnuLoanList", "&Loan List", "/S02E02"},
    {"mnuLoanInfo", "Loan &Information Screen", "/S03E03"},
    {"mnuPayOff", "Loan &PayOFF", "/S03E03"},
    {"mnuEditing", "&Editing Fields", "/S04E04"},
};

}  // namespace

frmKBLst::frmKBLst(KBMain& kb, QWidget* parent) : QMainWindow(parent), kb_(kb) {
    setObjectName("frmKBLst");
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->addWidget(buildListPanel(), 1);
    layout->addWidget(buildButtons());
    setCentralWidget(central);
    buildMenus();

    // As narrow as the list allows: its rows whole beside the scroll bar.
    const QScreen* screen = QApplication::primaryScreen();
    const int height = screen ? static_cast<int>(screen->availableGeometry().height() / kScreenToWindowHeight) : 600;
    resize(minimumSizeHint().width(), height);
    SetCaption();
    lblLstLd_->show();
    kb_.ListDirty = false;
}

QWidget* frmKBLst::buildListPanel() {
    pbxList_ = new QWidget(this);
    pbxList_->setObjectName("pbxList");
    auto* layout = new QVBoxLayout(pbxList_);
    layout->setContentsMargins(0, 0, 0, 0);

    QLabel* heading = WindowHeading(pbxList_, "lblHeading", kHeading);
    layout->addWidget(heading);

    lblLoanSort_ = new QLabel(kIdSortLabel, pbxList_);
    lblLoanSort_->setObjectName("lblLoanSort");
    lblLoanSort_->setAlignment(Qt::AlignHCenter);
    layout->addWidget(lblLoanSort_);

    lstLoan_ = new QListWidget(pbxList_);
    lstLoan_->setObjectName("lstLoan");
    lstLoan_->setFont(FixedPitchFont());
    lstLoan_->setUniformItemSizes(true);
    lstLoan_->setMinimumWidth(ListWidthForRows(*lstLoan_, kRowCharacters));
    // Installed first, so that this window's key rules see the cursor keys before they select a row.
    SelectEndRowFromKeyboard(*lstLoan_);
    lstLoan_->installEventFilter(this);
    connect(lstLoan_, &QListWidget::itemDoubleClicked, this,
            [this] { OpenSelectedLoan(kProcessMode, kCmdProcessLabel); });
    layout->addWidget(ColumnHeadings(pbxList_, *lstLoan_, kColumnHeadings, 2, "lblLoan_"));
    layout->addWidget(lstLoan_, 1);

    lblLstLd_ = new QLabel(kLoading, lstLoan_);
    lblLstLd_->setObjectName("lblLstLd");
    lblLstLd_->move(8, 8);
    lblLstLd_->adjustSize();
    return pbxList_;
}

QWidget* frmKBLst::buildButtons() {
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    const std::tuple<QPushButton**, const char*, const char*, const char*> buttons[] = {
        {&cmdAdd_, "cmdAdd", "&Add", "Add New Loan"},
        {&cmdProcess_, "cmdProcess", "&Process", "Process Loan Selected"},
        {&cmdDelete_, "cmdDelete", "&Delete", "Delete Loan Selected"},
    };
    layout->addStretch(1);
    for (const auto& [button, name, caption, tip] : buttons) {
        *button = new QPushButton(caption, row);
        (*button)->setObjectName(name);
        (*button)->setToolTip(tip);
        layout->addWidget(*button);
        layout->addStretch(1);
    }
    connect(cmdAdd_, &QPushButton::clicked, this, [this] { cmdAdd_Click(kCmdAddLabel); });
    connect(cmdProcess_, &QPushButton::clicked, this, [this] { OpenSelectedLoan(kProcessMode, kCmdProcessLabel); });
    connect(cmdDelete_, &QPushButton::clicked, this, [this] { OpenSelectedLoan(kDeleteMode, kCmdDeleteLabel); });
    return row;
}

void frmKBLst::buildMenus() {
    QMenu* file = menuBar()->addMenu("&File");
    connect(AddAction(file, "mnuAdd", "&Add Loan"), &QAction::triggered, this, [this] { cmdAdd_Click(kMnuAddLabel); });
    connect(AddAction(file, "mnuProcess", "&Process"), &QAction::triggered, this,
            [this] { OpenSelectedLoan(kProcessMode, kMnuProcessLabel); });
    connect(AddAction(file, "mnuDelete", "&Delete Loan"), &QAction::triggered, this,
            [this] { OpenSelectedLoan(kDeleteMode, kCmdDeleteLabel); });
    file->addSeparator();
    connect(AddAction(file, "mnuBackUpNow", "Back &Up Now"), &QAction::triggered, this, [this] { BackUpNow(kb_); });
    connect(AddAction(file, "mnuBackUpTo", "Back Up &To..."), &QAction::triggered, this, [this] { BackUpTo(kb_); });
    connect(AddAction(file, "mnuRestore", "&Restore From Backup..."), &QAction::triggered, this, [this] {
        if (!RestoreFromBackup(kb_)) return;
        SetCaption();
        FillList();
    });
    connect(AddAction(file, "mnuExport", "&Export..."), &QAction::triggered, this, [this] { ExportToFolder(kb_); });
    AddBookCopyActions(file, kb_, [this] { FillList(); });
    file->addSeparator();
    connect(AddAction(file, "mnuExit", "E&xit"), &QAction::triggered, this, &QWidget::close);

    QMenu* reports = menuBar()->addMenu("&Reports");
    connect(AddAction(reports, "mnuLatePmt", "Late &Pmt List"), &QAction::triggered, this,
            &frmKBLst::mnuLatePmt_Click);
    connect(AddAction(reports, "mnuLoanRpt", "&Loan List"), &QAction::triggered, this, &frmKBLst::mnuLoanRpt_Click);
    connect(AddAction(reports, "mnuPmtRecRpt", "Pmts &Recieved"), &QAction::triggered, this,
            &frmKBLst::mnuPmtRecRpt_Click);

    QMenu* sort = menuBar()->addMenu("&Sort Options");
    sort->setObjectName("mnuSort");
    for (std::size_t i = 0; i < SortChoices().size(); ++i) {
        const SortChoice& choice = SortChoices()[i];
        sortActions_[i] = AddAction(sort, choice.objectName, choice.caption);
        sortActions_[i]->setShortcut(choice.shortcut);
        connect(sortActions_[i], &QAction::triggered, this, [this, i] { ChangeOrder(static_cast<int>(i)); });
    }
    sortActions_[0]->setEnabled(false);

    AddHelpMenu(menuBar(), kHelpEntries, kb_);
}

void frmKBLst::SetCaption() {
    setWindowTitle(QString::fromStdString("KESTREL-BOOK " + kb_.PrgVer + " for " + kb_.DealerNm));
}

void frmKBLst::FillList() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ErrorTrap trap(kb_.dialogs, kFillListLabel);
    FigureReader figures;
    std::vector<ListedLoan> listed;
    const bool read = trap.run([&] {
        listed = ListLoans(kb_.book->loans(SortOrderOf(lblLoanSort_->text().toStdString())), figures);
    });
    if (read) {
        QStringList items;
        items.reserve(static_cast<qsizetype>(listed.size()));
        for (const ListedLoan& loan : listed) items.append(QString::fromStdString(loan.row));
        lstLoan_->clear();
        lstLoan_->addItems(items);
        lstLoan_->setCurrentRow(-1);
        listed_ = std::move(listed);
    }
    figures.reportTo(trap);
    lblLstLd_->hide();
    QApplication::restoreOverrideCursor();
    const std::string failure = trap.failed() ? trap.description() : std::string();
    if (!failure.empty() && failure == lastFillError_) trap.clear();
    lastFillError_ = failure;
}

void frmKBLst::ChangeOrder(int index) {
    lblLoanSort_->setText(SortChoices()[static_cast<std::size_t>(index)].sortLabel);
    lblLoanSort_->repaint();
    FillList();
    for (std::size_t i = 0; i < sortActions_.size(); ++i) sortActions_[i]->setEnabled(static_cast<int>(i) != index);
}

void frmKBLst::cmdAdd_Click(const char* label) {
    ErrorTrap trap(kb_.dialogs, label);
    trap.run([&] {
        kb_.LoanMode = kAddMode;
        OpenLoanScreen();
    });
}

void frmKBLst::OpenSelectedLoan(const char* mode, const char* label) {
    static constexpr const char* kNoLoanSelected = "NO LOAN HAS BEEN SELECTED";
    const QList<QListWidgetItem*> selected = lstLoan_->selectedItems();
    if (selected.isEmpty()) {
        kb_.dialogs.message(kNoLoanSelected, kAppTitle, Buttons::OK, Icon::None);
        return;
    }
    ErrorTrap trap(kb_.dialogs, label);
    trap.run([&] {
        kb_.LoanMode = mode;
        // The selected row's loan number as the row shows it, padded to its 8 characters: the loan record screen
        // looks it up with the blanks on the right, which the lookup ignores.
        const ListedLoan& listed = listed_.at(static_cast<std::size_t>(lstLoan_->row(selected.front())));
        kb_.CurLoanNbr = LoanNbrAsListed(listed.loan);
        OpenLoanScreen();
    });
}

void frmKBLst::OpenLoanScreen() {
    auto* screen = new frmKBLoan(kb_, this);
    connect(screen, &frmKBLoan::loanListDirty, this, &frmKBLst::FillList);
    screen->show();
    screen->activateWindow();
}

void frmKBLst::mnuLatePmt_Click() {
    ErrorTrap trap(kb_.dialogs, kMnuLatePmtLabel);
    trap.run([&] {
        frmLatePmt late(kb_, windowTitle().toStdString(), this);
        late.exec();
    });
}

void frmKBLst::mnuLoanRpt_Click() { PrintLoanList(kb_, windowTitle().toStdString(), listed_); }

void frmKBLst::mnuPmtRecRpt_Click() {
    auto* conditions = new frmRptCnd(kb_, this);
    conditions->show();
    conditions->activateWindow();
}

// Letters and digits typed into the list select the first loan whose key in the list's order starts with them; a
// pause longer than the desktop's keyboard interval starts a new search. Keys with Control or Alt are left alone.
bool frmKBLst::typeAhead(const QKeyEvent& key) {
    const QString text = key.text();
    if ((key.modifiers() & (Qt::ControlModifier | Qt::AltModifier)) || text.size() != 1 ||
        text[0].unicode() > 127 || !text[0].isLetterOrNumber())
        return false;
    if (!typedSince_.isValid() || typedSince_.elapsed() > QApplication::keyboardInputInterval()) typed_.clear();
    typedSince_.restart();
    typed_ += text.toStdString();
    const int row = TypeAheadRow(listed_, SortOrderOf(lblLoanSort_->text().toStdString()), typed_);
    if (row >= 0) lstLoan_->setCurrentRow(row);
    return true;
}

bool frmKBLst::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lstLoan_ && event->type() == QEvent::FocusIn &&
        !FocusBackFromMenu(static_cast<const QFocusEvent&>(*event).reason())) {
        repaint();
        FillList();
    } else if (watched == lstLoan_ && event->type() == QEvent::KeyPress) {
        const auto& key = static_cast<const QKeyEvent&>(*event);
        if (SpecialKeys(VirtualKeyCode(key), ShiftState(key), kb_) || typeAhead(key)) return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmKBLst::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    pbxList_->setMaximumSize(static_cast<int>(width() / kWindowToPanelWidth),
                             static_cast<int>(height() / kWindowToPanelHeight));
}

}  // namespace kb
