#pragma once
#include <QGroupBox>
#include <string>
#include <vector>

#include "core/kbmain.h"
#include "store/records.h"

class QKeyEvent;
class QListWidget;

namespace kb {

class LoanPanel;

// The payment list of the loan record screen (`fraPmtLst`, "PAYMENTS MADE"): the loan's payments, newest first,
// one fixed-width row each. The Delete key on the newest row takes that payment back.
class PaymentListPanel : public QGroupBox {
    Q_OBJECT
public:
    // `loan` is the loan panel whose loan the payments belong to.
    PaymentListPanel(KBMain& kb, const LoanPanel& loan, QWidget* parent);

    // Refills the list with the loan's payments, newest first.
    void FillPmts(const std::string& loanNbr);
    // Takes back the payment with that key and winds the loan back, both stored together; false when the payment
    // was not found or the store refused (nothing changed then).
    bool DeletePmt(const std::string& pmtNbr);

    // The payments the list shows, row by row: newest first.
    const std::vector<PaymentRecord>& shownPayments() const { return shownPayments_; }
    bool hasPayments() const { return !shownPayments_.empty(); }

signals:
    // The list was refilled or lost its newest row: whether it still holds payments.
    void paymentsListed(bool listed);
    // A payment taken back has wound the loan's due date and balance back.
    void dueDateAndBalanceChanged(const QString& nextPmtDT, const QString& balance);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildHeadings();
    void lstPmts_KeyDown(const QKeyEvent& event);

    KBMain& kb_;
    const LoanPanel& loan_;
    QListWidget* lstPmts_ = nullptr;
    std::vector<PaymentRecord> shownPayments_;
};

}  // namespace kb
