#include "setup/KBSetup.h"

#include <QCheckBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <functional>

#include "core/config.h"
#include "core/error_trap.h"
#include "setup/setup_settings.h"
#include "widgets/window_parts.h"

namespace kb {

namespace {

constexpr const char* kCaption = "KESTREL BOOK SETUP";
constexpr const char* kPassWrdCaption = "Include Pass Word";
constexpr const char* kThankYouLabel = "Payment Reciept Thank You Message";
constexpr const char* kDealerNameLabel = "Dealer Name";
constexpr const char* kOKCaption = "OK";
constexpr const char* kCancelCaption = "CANCEL";
constexpr const char* kFormLoadLabel = "SETUP - FORM LOAD";
constexpr const char* kOKLabel = "SETUP - OK CMD";

// The text fields are wide enough for a thank-you line or a business name without scrolling.
constexpr int kFieldCharacters = 44;

QLineEdit* MakeField(QWidget* parent, const QString& objectName) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(objectName);
    field->setFont(FixedPitchFont(10));
    field->setMaxLength(32767);  // no limit of its own
    field->setMinimumWidth(QFontMetrics(field->font()).horizontalAdvance(QString(kFieldCharacters, '0')));
    return field;
}

// OK and CANCEL of panel `index` (0 the options, 1 the business name).
QHBoxLayout* MakeButtons(QWidget* panel, int index, QDialog* dialog, const std::function<void()>& ok) {
    auto* cmdOK = new QPushButton(kOKCaption, panel);
    cmdOK->setObjectName(QString("cmdOK_%1").arg(index));
    cmdOK->setDefault(true);
    auto* cmdCancel = new QPushButton(kCancelCaption, panel);
    cmdCancel->setObjectName(QString("cmdCancel_%1").arg(index));
    QObject::connect(cmdOK, &QPushButton::clicked, dialog, ok);
    QObject::connect(cmdCancel, &QPushButton::clicked, dialog, &QDialog::reject);

    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(cmdOK);
    row->addSpacing(24);
    row->addWidget(cmdCancel);
    row->addStretch(1);
    return row;
}

}  // namespace

KBSetup::KBSetup(KBMain& kb, QWidget* parent) : QDialog(parent), kb_(kb) {
    setObjectName("KBSetup");
    setWindowTitle(kCaption);
    setModal(true);
    businessNamePanel_ = IsBusinessNameMode(kb_.SetupMode);

    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);  // the window takes the size of the panel shown
    QWidget* options = buildOptionsPanel();
    QWidget* businessName = buildBusinessNamePanel();
    layout->addWidget(options);
    layout->addWidget(businessName);
    options->setVisible(!businessNamePanel_);
    businessName->setVisible(businessNamePanel_);

    Form_Load();
}

QWidget* KBSetup::buildOptionsPanel() {
    auto* panel = new QWidget(this);
    panel->setObjectName("pbxSetup_0");
    auto* layout = new QVBoxLayout(panel);
    chkPassWrd_ = new QCheckBox(kPassWrdCaption, panel);
    chkPassWrd_->setObjectName("chkPassWrd");
    layout->addWidget(chkPassWrd_);
    layout->addSpacing(8);
    layout->addWidget(new QLabel(kThankYouLabel, panel));
    for (int i = 0; i < 2; ++i) {
        txtTYMsg_[i] = MakeField(panel, QString("txtTYMsg_%1").arg(i));
        layout->addWidget(txtTYMsg_[i]);
    }
    txtTYMsg_[0]->setText(kDefaultThankYou);
    layout->addSpacing(8);
    layout->addLayout(MakeButtons(panel, 0, this, [this] { cmdOK_Click(); }));
    return panel;
}

QWidget* KBSetup::buildBusinessNamePanel() {
    auto* panel = new QWidget(this);
    panel->setObjectName("pbxSetup_1");
    auto* layout = new QVBoxLayout(panel);
    layout->addWidget(new QLabel(kDealerNameLabel, panel));
    Text1_ = MakeField(panel, "Text1");
    layout->addWidget(Text1_);
    layout->addSpacing(8);
    layout->addLayout(MakeButtons(panel, 1, this, [this] { cmdOK_Click(); }));
    return panel;
}

void KBSetup::Form_Load() {
    if (!FileExists(kConfigPath)) return;  // the panel keeps its defaults
    ErrorTrap trap(kb_.dialogs, kFormLoadLabel);
    trap.run([&] { LoadSettings(kb_, kConfigPath); });
    if (trap.failed()) {
        trap.record("KB.CFG cannot be read: " + trap.description() + ". The settings in use are shown.");
    }
    chkPassWrd_->setChecked(kb_.PassWrd);
    txtTYMsg_[0]->setText(QString::fromStdString(kb_.TYMsg1));
    txtTYMsg_[1]->setText(QString::fromStdString(kb_.TYMsg2));
    Text1_->setText(QString::fromStdString(kb_.DealerNm));
}

void KBSetup::cmdOK_Click() {
    ErrorTrap trap(kb_.dialogs, kOKLabel);
    SetupEntry entry;
    entry.businessNamePanel = businessNamePanel_;
    entry.dealerNm = Text1_->text().toStdString();
    entry.passWrd = chkPassWrd_->isChecked();
    entry.tyMsg1 = txtTYMsg_[0]->text().toStdString();
    entry.tyMsg2 = txtTYMsg_[1]->text().toStdString();
    StoreSettings(kb_, entry);
    trap.run([&] { WriteConfigFile(kConfigPath, SettingsOf(kb_)); });
    if (trap.failed()) {
        trap.record("KB.CFG cannot be written: " + trap.description() +
                    ". The new settings are in use until the program ends; the file keeps the old ones.");
    }
    emit settingsStored();
    accept();
}

}  // namespace kb
