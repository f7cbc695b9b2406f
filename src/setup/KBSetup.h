#pragma once
#include <QDialog>

#include "core/kbmain.h"

class QCheckBox;
class QLineEdit;
class QWidget;

namespace kb {

// The settings screen, modal: the options panel (password switch, thank-you lines) or, when SetupMode is "R", the
// business-name panel. OK stores the shown panel's values and rewrites KB.CFG; Cancel and the close box store
// nothing.
class KBSetup : public QDialog {
    Q_OBJECT
public:
    explicit KBSetup(KBMain& kb, QWidget* parent = nullptr);

signals:
    // OK has stored the settings: the loan list caption shows the business name anew.
    void settingsStored();

private:
    QWidget* buildOptionsPanel();
    QWidget* buildBusinessNamePanel();
    void Form_Load();
    void cmdOK_Click();

    KBMain& kb_;
    bool businessNamePanel_ = false;
    QCheckBox* chkPassWrd_ = nullptr;
    QLineEdit* txtTYMsg_[2] = {};
    QLineEdit* Text1_ = nullptr;
};

}  // namespace kb
