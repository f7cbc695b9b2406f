#pragma once
#include <string>

#include "core/kbmain.h"

namespace kb {

// The loan file, whose presence marks a folder that holds a book.
inline constexpr const char* kLoanPath = "./KB_Loan.mdb";

// Start-up in the working directory up to the opening of the loan list: the shared values, the missing database
// files created, KB.CFG read, the password asked when the switch is on, the day's first backup made. Reports its
// failures under "MAIN".
// Returns false when the program must end (a wrong password or Cancel), silently.
bool StartUp(KBMain& kb);

}  // namespace kb
