#include "app/Main.h"

#include "core/error_trap.h"
#include "core/startup.h"
#include "list/frmKBLst.h"

namespace kb {

void Main(KBMain& kb) {
    if (!StartUp(kb)) return;
    ErrorTrap trap(kb.dialogs, "MAIN");
    trap.run([&] {
        auto* list = new frmKBLst(kb);
        list->setAttribute(Qt::WA_DeleteOnClose);
        list->show();
        list->activateWindow();
    });
}

}  // namespace kb
