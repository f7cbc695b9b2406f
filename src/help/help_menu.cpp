#include "help/help_menu.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "core/error_trap.h"
#include "help/help_target.h"
#include "widgets/window_parts.h"

namespace kb {

void AddHelpMenu(QMenuBar* bar, std::span<const HelpEntry> entries, KBMain& kb) {
    QMenu* help = bar->addMenu("&Help");
    for (const HelpEntry& entry : entries) {
        QObject::connect(AddAction(help, entry.objectName, entry.caption), &QAction::triggered, help,
                         [&kb, label = entry.label, target = HelpTargetFor(entry.target)] {
                             const auto show = [&] {
                                 kb.HelpTarget = target;
                                 if (kb.ShowHelp) kb.ShowHelp();
                             };
                             if (!label) return show();
                             ErrorTrap trap(kb.dialogs, label);
                             trap.run(show);
                         });
    }
}

}  // namespace kb
