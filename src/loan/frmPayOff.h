#pragma once
#include <QPointer>
#include <QWidget>
#include <optional>
#include <string>

#include "core/kbmain.h"
#include "loan/payoff_calc.h"

class QLineEdit;
class QPushButton;

namespace kb {

class KBField;

// The payoff window: the amount that pays the open loan off on a date the user types. It copies the loan's
// figures when it opens, stores nothing, and keeps the loan record screen disabled while it is open.
class frmPayOff : public QWidget {
    Q_OBJECT
public:
    // The texts of the loan record screen's Balance, APR and Date fields and the date of the loan's newest payment
    // (none when the loan has no payments). Not shown yet: the caller shows it and gives it the focus.
    frmPayOff(KBMain& kb, QWidget* loanScreen, const QString& balance, const QString& apr, const QString& loanDT,
              const std::optional<std::string>& newestPmtDT);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_Load(const QString& balance, const QString& apr, const QString& loanDT,
                   const std::optional<std::string>& newestPmtDT);
    void Form_Unload();
    // True when the key is dealt with here and goes no further.
    bool txtPODate_KeyPress(QKeyEvent& event);
    void txtPOAmt_GotFocus();

    KBMain& kb_;
    QPointer<QWidget> loanScreen_;
    PayOffBasis basis_;
    KBField* txtPODate_ = nullptr;
    QLineEdit* txtPOAmt_ = nullptr;
    QPushButton* cmdExit_ = nullptr;
};

}  // namespace kb
