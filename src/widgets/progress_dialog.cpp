#include "widgets/progress_dialog.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProgressDialog>
#include <algorithm>
#include <memory>

namespace kb {

namespace {

constexpr int kShowAfterMs = 600;
constexpr int kSteps = 1000;
// Between two steps of the bar the window is still repainted, and Cancel heard, this often.
constexpr int kEventsEveryMs = 50;

struct ShownProgress {
    std::unique_ptr<QProgressDialog> dialog;
    QElapsedTimer sinceEvents;
};

}  // namespace

Progress ShowProgressDialog(const std::string& title, QWidget* parent) {
    auto shown = std::make_shared<ShownProgress>();
    shown->dialog = std::make_unique<QProgressDialog>(QString::fromStdString(title) + "...", "Cancel", 0, kSteps,
                                                      parent);
    shown->dialog->setObjectName("dlgProgress");
    shown->dialog->setWindowTitle(QString::fromStdString(title));
    shown->dialog->setWindowModality(Qt::ApplicationModal);
    shown->dialog->setMinimumDuration(kShowAfterMs);
    shown->dialog->setValue(0);
    shown->sinceEvents.start();
    return [shown](std::uint64_t done, std::uint64_t total) {
        const int value = total ? static_cast<int>(std::min(done, total) * kSteps / total) : 0;
        if (value != shown->dialog->value()) {
            shown->dialog->setValue(value);
            shown->sinceEvents.restart();
        } else if (shown->sinceEvents.elapsed() > kEventsEveryMs) {
            QCoreApplication::processEvents();
            shown->sinceEvents.restart();
        }
        return !shown->dialog->wasCanceled();
    };
}

}  // namespace kb
