#include "app/Main.h"

#include <QApplication>
#include <QPointer>
#include <memory>

#include "app/startup.h"
#include "core/error_trap.h"
#include "help/frmHelp.h"
#include "help/help_printing.h"
#include "list/frmKBLst.h"
#include "setup/KBSetup.h"
#include "widgets/progress_dialog.h"

namespace kb {

void Main(KBMain& kb) {
    kb.ShowProgress = [](const std::string& title) { return ShowProgressDialog(title, QApplication::activeWindow()); };
    if (!StartUp(kb)) return;
    ErrorTrap trap(kb.dialogs, "MAIN");
    trap.run([&] {
        kb.ShowHelp = [&kb, printing = std::make_shared<QtHelpPrinting>()] {
            frmHelp help(kb, *printing, QApplication::activeWindow());
            help.exec();
        };
        auto* list = new frmKBLst(kb);
        list->setAttribute(Qt::WA_DeleteOnClose);
        kb.ShowSetup = [&kb, list = QPointer<frmKBLst>(list)] {
            KBSetup setup(kb, QApplication::activeWindow());
            QObject::connect(&setup, &KBSetup::settingsStored, [list] {
                if (list) list->SetCaption();
            });
            setup.exec();
        };
        list->show();
        list->activateWindow();
    });
}

}  // namespace kb
