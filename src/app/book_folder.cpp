#include "app/book_folder.h"

#include <system_error>

#include "app/startup.h"
#include "core/config.h"

namespace kb {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kBookOption = "--book";
constexpr const char* kHomeBookFolder = "Kestrel-Book";
constexpr const char* kUsage =
    "Start the program as: kestrel-book [--book FOLDER] [--copy-book-to-server | --copy-book-from-server]";

std::string Quoted(const fs::path& path) {
    return "\"" + path.string() + "\"";
}

}  // namespace

StartArguments ParseStartArguments(const std::vector<std::string>& arguments) {
    StartArguments parsed;
    for (auto argument = arguments.begin(); argument != arguments.end(); ++argument) {
        std::string folder;
        if (const auto copy = CopyCommand(*argument)) {
            parsed.copy = copy;
            continue;
        }
        if (*argument == kBookOption) {
            if (std::next(argument) == arguments.end())
                throw BookFolderError("--book needs the folder of the book after it. " + std::string(kUsage));
            folder = *++argument;
        } else if (argument->starts_with(std::string(kBookOption) + "=")) {
            folder = argument->substr(kBookOption.size() + 1);
        } else {
            throw BookFolderError("Unknown argument \"" + *argument + "\". " + kUsage);
        }
        if (folder.empty()) throw BookFolderError("--book needs the folder of the book. " + std::string(kUsage));
        parsed.book = folder;
    }
    return parsed;
}

fs::path ChooseBookFolder(const std::optional<fs::path>& asked, const fs::path& current, const std::string& home) {
    if (asked) return (current / *asked).lexically_normal();
    if (FileExists((current / fs::path(kLoanPath).filename()).string())) return current;
    if (home.empty())
        throw BookFolderError("There is no home folder (HOME is not set) to keep the book in. " + std::string(kUsage));
    return (fs::path(home) / kHomeBookFolder).lexically_normal();
}

void CreateBookFolder(const fs::path& folder) {
    std::error_code error;
    fs::create_directories(folder, error);
    if (error) throw BookFolderError("The book's folder " + Quoted(folder) + " cannot be made: " + error.message() + ".");
    if (!fs::is_directory(folder, error))
        throw BookFolderError("The book's folder " + Quoted(folder) + " is a file, not a folder.");
}

void CopyHelpFileIn(const fs::path& folder, const fs::path& helpSource) {
    const fs::path target = folder / fs::path(kHelpPath).filename();
    std::error_code error;
    if (fs::exists(target, error) || !fs::is_regular_file(helpSource, error)) return;
    // Copied under a passing name and renamed, so that a failed copy leaves no half help file behind.
    fs::path passing = target;
    passing += ".new";
    fs::copy_file(helpSource, passing, fs::copy_options::overwrite_existing, error);
    if (!error) fs::rename(passing, target, error);
    if (error) {
        std::error_code ignored;
        fs::remove(passing, ignored);
        throw BookFolderError("The help file cannot be copied into " + Quoted(folder) + ": " + error.message() + ".");
    }
}

fs::path ShippedHelpFile(const fs::path& executableFolder) {
    return (executableFolder / ".." / "share" / "kestrel-book" / fs::path(kHelpPath).filename()).lexically_normal();
}

}  // namespace kb
