#include "loan/payment_list_panel.h"

#include <QKeyEvent>
#include <QListWidget>
#include <QVBoxLayout>
#include <string>

#include "core/error_trap.h"
#include "loan/loan_panel.h"
#include "loanbook/book.h"
#include "loanbook/payment_calc.h"
#include "widgets/list_columns.h"
#include "widgets/window_parts.h"

namespace kb {

namespace {

constexpr const char* kPmtLstCaption = "PAYMENTS MADE";
constexpr const char* kFillPmtsLabel = "FILL PMTS";
constexpr const char* kDeletePmtsLabel = "DELETE PMTS";

// The list's height, in twips. The entry panel opens beside the list, not under it, so the list keeps its height
// while a payment is entered.
constexpr int kPmtLstTwips = 2940;
constexpr int kPmtRowCharacters = 72;

// The headings over the list's columns, in the list's characters (from 0): two lines, a heading longer than its
// column wrapped onto both. Above them the banner, centred over late fee, interest and principal.
constexpr ColumnHeading kPmtHeadings[] = {
    {"Pmt Date", 0, 10, Qt::AlignLeft, 1, 2},        {"Check #", 12, 8, Qt::AlignLeft, 1, 2},
    {"Total Payment", 20, 10, Qt::AlignRight, 1, 2}, {"Late", 32, 5, Qt::AlignRight, 1, 2},
    {"Interest", 39, 10, Qt::AlignRight, 1, 2},      {"Principal", 50, 10, Qt::AlignRight, 1, 2},
    {"Balance Due", 62, 10, Qt::AlignRight, 1, 2},
};
constexpr const char* kDistributionBanner = "!------------ Payment Distribution------------!";
constexpr int kDistributionFirstColumn = 32;
constexpr int kDistributionLastColumn = 59;

}  // namespace

PaymentListPanel::PaymentListPanel(KBMain& kb, const LoanPanel& loan, QWidget* parent)
    : QGroupBox(kPmtLstCaption, parent), kb_(kb), loan_(loan) {
    setObjectName("fraPmtLst");
    auto* layout = new QVBoxLayout(this);
    lstPmts_ = new QListWidget(this);
    lstPmts_->setObjectName("lstPmts");
    lstPmts_->setFont(FixedPitchFont());
    lstPmts_->setUniformItemSizes(true);
    lstPmts_->setFixedWidth(ListWidthForRows(*lstPmts_, kPmtRowCharacters));
    lstPmts_->setFixedHeight(TwipsToPixels(kPmtLstTwips));
    lstPmts_->installEventFilter(this);
    layout->addWidget(buildHeadings());
    layout->addWidget(lstPmts_);
}

QWidget* PaymentListPanel::buildHeadings() {
    constexpr int bannerWidth = std::char_traits<char>::length(kDistributionBanner);
    constexpr int bannerColumn = (kDistributionFirstColumn + kDistributionLastColumn + 1) / 2 - (bannerWidth + 1) / 2;
    std::vector<ColumnHeading> headings = {{kDistributionBanner, bannerColumn, bannerWidth + 1, Qt::AlignLeft}};
    headings.insert(headings.end(), std::begin(kPmtHeadings), std::end(kPmtHeadings));
    QWidget* strip = ColumnHeadings(this, *lstPmts_, headings, 3);
    strip->setObjectName("lblPmtHeadings");
    return strip;
}

void PaymentListPanel::FillPmts(const std::string& loanNbr) {
    ErrorTrap trap(kb_.dialogs, kFillPmtsLabel);
    FigureReader figures;
    std::vector<PaymentRecord> payments;
    std::vector<std::string> rows;
    // A list that could not be read keeps its rows: an empty one would pass for a loan without payments.
    if (!trap.run([&] {
            payments = kb_.book->payments(loanNbr);
            rows = PaymentRowsNewestFirst(payments, figures);
        }))
        return;
    figures.reportTo(trap);
    shownPayments_.assign(payments.rbegin(), payments.rend());
    lstPmts_->clear();
    lstPmts_->addItems(ToStringList(rows));
    emit paymentsListed(hasPayments());
}

bool PaymentListPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lstPmts_ && event->type() == QEvent::KeyPress) {
        const auto& key = static_cast<const QKeyEvent&>(*event);
        if (key.key() == Qt::Key_Delete) {
            lstPmts_KeyDown(key);
            return true;
        }
    }
    return QGroupBox::eventFilter(watched, event);
}

void PaymentListPanel::lstPmts_KeyDown(const QKeyEvent& event) {
    static constexpr const char* kConfirm = "ARE YOU SURE YOU WANT TO DELETE THE LAST PAYMENT MADE";
    // Only the newest payment can be taken back: the loan is wound back from its figures.
    if (event.key() != Qt::Key_Delete || lstPmts_->count() == 0 || lstPmts_->currentRow() != 0) return;
    if (kb_.dialogs.message(kConfirm, kAppTitle, Buttons::YesNo, Icon::None) != Answer::Yes) return;
    if (DeletePmt(NewestPaymentKey(loan_.loanOnFile(), shownPayments_.front()))) {
        delete lstPmts_->takeItem(0);
        shownPayments_.erase(shownPayments_.begin());
        emit paymentsListed(hasPayments());
    }
}

bool PaymentListPanel::DeletePmt(const std::string& pmtNbr) {
    ErrorTrap trap(kb_.dialogs, kDeletePmtsLabel);
    PaymentTakeBack takeBack;
    // The payment goes and the loan's balance and due date come back together, or nothing changes.
    const bool done = trap.run([&] {
        takeBack = kb_.book->takeBackPayment(loan_.loanOnFile(), pmtNbr, loan_.text(kPmtsPerYrField),
                                             loan_.text(kNextPmtDTField), loan_.shownOnFile({}));
    });
    if (!done) return false;
    if (!takeBack.message.empty()) {
        kb_.dialogs.message(takeBack.message, kAppTitle, Buttons::OK, Icon::None);
        return false;
    }
    emit dueDateAndBalanceChanged(QString::fromStdString(takeBack.nextPmtDT.text()),
                                  QString::fromStdString(takeBack.balanceText));
    if (!takeBack.nextPmtDT.error.empty()) {
        ErrorTrap stepTrap(kb_.dialogs, kCalcNextPmtDTLabel);
        stepTrap.record(takeBack.nextPmtDT.error);
    }
    return true;
}

}  // namespace kb
