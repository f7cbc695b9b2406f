#pragma once
#include <string>

#include "core/progress.h"

class QWidget;

namespace kb {

// A progress dialog for a long step, titled `title`: it shows only once the step has taken a moment, and its
// Cancel button stops the step. The dialog lives as long as the Progress returned.
Progress ShowProgressDialog(const std::string& title, QWidget* parent);

}  // namespace kb
