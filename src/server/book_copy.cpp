#include "server/book_copy.h"

#include <algorithm>
#include <filesystem>

#include "core/format.h"
#include "server/pg_book.h"

namespace kb {

namespace {

constexpr const char* kFigureMask = "###,###,###,##0.00";
constexpr std::size_t kLabelWidth = 18;
constexpr std::size_t kColumnWidth = 20;

Currency Money(std::string_view text) { return Currency::FromDouble(NumVal(text)); }

std::string RightJustified(const std::string& text) {
    return std::string(kColumnWidth - std::min(kColumnWidth, text.size()), ' ') + text;
}

std::string Row(std::string_view label, const std::string& original, const std::string& copy) {
    return TrimRight(PadRight(label, kLabelWidth) + RightJustified(original) + RightJustified(copy)) + "\n";
}

std::string Count(std::size_t count) { return std::to_string(count); }
std::string Sum(Currency sum) { return FormatNumber(sum.ToDouble(), kFigureMask); }

void CreateMissingFiles(const BookFiles& files) {
    const std::pair<const std::string*, TableNumber> tables[] = {
        {&files.loanDB, TableNumber::Loans}, {&files.pmtsDB, TableNumber::Payments}, {&files.notesDB, TableNumber::Notes}};
    for (const auto& [path, table] : tables) {
        if (!std::filesystem::exists(*path)) CreateTableFile(*path, table);
    }
}

}  // namespace

BookFigures FiguresOf(const BookContents& book) {
    BookFigures figures{book.loans.size(), book.payments.size(), book.notes.size(), {}, {}};
    for (const LoanRecord& loan : book.loans) figures.balances += Money(loan.Balance);
    for (const PaymentRecord& payment : book.payments) figures.amounts += Money(payment.Amount);
    return figures;
}

BookCopy CopyFilesToServer(const BookFiles& files, const ServerSettings& server) {
    const BookContents original = ReadBook(files);
    PgBook book(server);
    book.loadEmptyBook(original);
    return {CopyDirection::ToServer, FiguresOf(original), FiguresOf(book.readBook())};
}

BookCopy CopyServerToFiles(const ServerSettings& server, const BookFiles& files) {
    const BookContents original = PgBook(server).readBook();
    CreateMissingFiles(files);
    LoadEmptyBook(files, original);
    return {CopyDirection::FromServer, FiguresOf(original), FiguresOf(ReadBook(files))};
}

std::string CopyReport(const BookCopy& copy) {
    const bool toServer = copy.direction == CopyDirection::ToServer;
    std::string report = toServer ? "BOOK COPIED FROM THE FILES TO THE SERVER\n" : "BOOK COPIED FROM THE SERVER TO THE FILES\n";
    report += Row("", toServer ? "FILES" : "SERVER", toServer ? "SERVER" : "FILES");
    report += Row("LOANS", Count(copy.original.loans), Count(copy.copy.loans));
    report += Row("PAYMENTS", Count(copy.original.payments), Count(copy.copy.payments));
    report += Row("NOTES", Count(copy.original.notes), Count(copy.copy.notes));
    report += Row("SUM OF BALANCES", Sum(copy.original.balances), Sum(copy.copy.balances));
    report += Row("SUM OF PAYMENTS", Sum(copy.original.amounts), Sum(copy.copy.amounts));
    report += copy.agrees() ? "THE COPY AGREES WITH THE BOOK" : "THE COPY DOES NOT AGREE WITH THE BOOK";
    return report;
}

std::optional<CopyDirection> CopyCommand(std::string_view argument) {
    if (argument == "--copy-book-to-server") return CopyDirection::ToServer;
    if (argument == "--copy-book-from-server") return CopyDirection::FromServer;
    return std::nullopt;
}

int RunCopyCommand(CopyDirection direction, const std::string& folder, std::ostream& out, std::ostream& err) {
    try {
        const std::optional<ServerSettings> server = ReadServerSettings(folder);
        if (!server) {
            err << "No book server is set up: " << kServerSettingsFile << " is not in " << folder << "\n";
            return 2;
        }
        const BookFiles files = BookFilesIn(folder);
        const BookCopy copy = direction == CopyDirection::ToServer ? CopyFilesToServer(files, *server)
                                                                   : CopyServerToFiles(*server, files);
        out << CopyReport(copy) << "\n";
        return copy.agrees() ? 0 : 1;
    } catch (const StoreError& error) {
        err << "Nothing was copied: " << error.what() << "\n";
        return 2;
    }
}

}  // namespace kb
