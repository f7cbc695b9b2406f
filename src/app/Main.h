#pragma once
#include "core/kbmain.h"

namespace kb {

// Start-up in the working directory, then the loan list window, shown and focused. When it returns without having
// opened that window (a wrong password), the program ends.
void Main(KBMain& kb);

}  // namespace kb
