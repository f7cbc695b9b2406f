#pragma once
#include <QLockFile>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/dialogs.h"

namespace kb {

// Opens the book's folder for this program alone: chosen from the command line's `arguments` (see
// ChooseBookFolder), made when missing, locked against a second program, given the help file shipped beside
// `executableFolder` when it has none, and made the working directory, where start-up finds every file.
// The book stays locked while the returned lock lives; a lock left by a program that was killed is taken over.
// Returns nullptr after saying why the book cannot be opened (a book already open in another program, a folder
// that cannot be made, a bad argument); nothing has been written then.
std::unique_ptr<QLockFile> OpenBookFolder(const std::vector<std::string>& arguments,
                                          const std::filesystem::path& executableFolder, Dialogs& dialogs);

// True when the command line asks for a copy of the book between its files and the server instead of the windows.
bool AsksForCopy(const std::vector<std::string>& arguments);
// Runs that copy in the book's folder, chosen as for a start and locked the same way, without a window: the
// report goes to the standard output, a refusal to the standard error. Returns the program's exit code.
int RunCopyFromCommandLine(const std::vector<std::string>& arguments);

}  // namespace kb
