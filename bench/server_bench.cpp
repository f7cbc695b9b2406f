// Times, on a book kept in the SQLite files and the same book copied onto a PostgreSQL server, what a desk waits
// for most: opening a loan (the loan, its payments and its notes) and posting a payment through the Book, each
// payment then taken back so that every run finds the book as generated.
// Usage: KB_BENCH_SERVER="host=... port=... database=... user=..." server_bench [loans] [payments per loan] [runs]
// (default 20000 50 50). The database named must be empty; the files are generated in a temporary directory and
// removed afterwards, the server's tables are left for the next run to be refused.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "bench/book_generator.h"
#include "core/kbmain.h"
#include "core/printing.h"
#include "loanbook/payment_calc.h"
#include "loanbook/sqlite_book.h"
#include "server/book_copy.h"
#include "server/pg_book.h"

namespace {

using Stopwatch = std::chrono::steady_clock;
using namespace kb;

double Milliseconds(Stopwatch::time_point start) {
    return std::chrono::duration<double, std::milli>(Stopwatch::now() - start).count();
}

double Median(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

int Argument(int argc, char** argv, int index, int fallback) {
    return argc > index ? std::stoi(argv[index]) : fallback;
}

// The seams a SqliteBook's shared values need and the bench never uses.
struct NoDialogs : Dialogs {
    Answer message(const std::string&, const std::string&, Buttons, Icon) override { return Answer::OK; }
    std::optional<std::string> prompt(const std::string&, const std::string&, const std::string&, bool) override {
        return std::nullopt;
    }
    std::optional<PrinterChoice> choosePrinter(const PrintDialogOptions&) override { return std::nullopt; }
    std::optional<PrinterChoice> previewPages(const std::vector<PageLines>&, const PrinterChoice&,
                                              const PrintDialogOptions&) override {
        return std::nullopt;
    }
    std::optional<std::string> chooseFolder(const std::string&, const std::string&) override { return std::nullopt; }
    std::optional<std::size_t> chooseItem(const std::string&, const std::string&,
                                          const std::vector<std::string>&) override {
        return std::nullopt;
    }
};
struct NoPrinting : Printing {
    std::unique_ptr<PrintJob> openJob(const PrinterChoice&) override { return nullptr; }
};
struct TodayClock : kb::Clock {
    Date today() const override { return std::chrono::year{2100} / 1 / 1; }
};

// The payment the entry panel would offer a month after the newest, on the loan as opened.
EntryTexts NextPayment(const LoanRecord& loan, const std::vector<PaymentRecord>& payments) {
    const std::string& newestPmtDT = payments.back().PmtDT;
    const std::string pmtDT = FormatDate(AddDays(*ParseStoredDate(newestPmtDT), 30), "mm/dd/yyyy");
    const PmtCalcResult split =
        PmtCalc({pmtDT, loan.Payment, "", loan.Balance, loan.APR, InterestFromDT(loan.LoanDT, newestPmtDT)});
    const NextPmtDTResult due = CalcNextPmtDT(1, loan.PmtsPerYr, FormatDate(loan.NextPmtDT, "mm/dd/yyyy"));
    return {pmtDT, loan.Payment, "", "1", split.principalText, split.interestText, due.text(), split.balanceText, "CASH"};
}

struct Timings {
    std::vector<double> open;
    std::vector<double> post;
};

// Opens each loan, posts its next payment and takes it back again; false when anything went otherwise.
bool Time(Book& book, const std::vector<std::string>& loanNbrs, Timings& timings) {
    for (const std::string& loanNbr : loanNbrs) {
        auto start = Stopwatch::now();
        const LoanRecord loan = book.loan(loanNbr).value();
        const std::vector<PaymentRecord> payments = book.payments(loanNbr);
        const std::vector<NoteRecord> notes = book.notes(loanNbr);
        timings.open.push_back(Milliseconds(start));

        const EntryTexts entry = NextPayment(loan, payments);
        const std::string shownDue = FormatDate(loan.NextPmtDT, "mm/dd/yyyy");
        start = Stopwatch::now();
        const Refusal refusal =
            book.postPayment(loanNbr, entry, TodayClock().today(), {loan.Balance, shownDue, payments.back().LoanNbr});
        timings.post.push_back(Milliseconds(start));
        if (refusal) {
            std::fprintf(stderr, "loan %s: %s\n", loanNbr.c_str(), refusal->c_str());
            return false;
        }
        const PaymentTakeBack back =
            book.takeBackPayment(loanNbr, PmtKey(loanNbr, entry[kPmtDTEntry]), loan.PmtsPerYr, entry[kNextPmtDTEntry],
                                 {{}, entry[kNextPmtDTEntry], {}});
        if (!back.message.empty()) {
            std::fprintf(stderr, "loan %s: %s\n", loanNbr.c_str(), back.message.c_str());
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const int loans = Argument(argc, argv, 1, 20000);
    const int paymentsPerLoan = Argument(argc, argv, 2, 50);
    const int runs = std::min(Argument(argc, argv, 3, 50), loans);
    const char* address = std::getenv("KB_BENCH_SERVER");
    if (loans < 1 || paymentsPerLoan < 1 || runs < 1 || address == nullptr) {
        std::fprintf(stderr, "usage: KB_BENCH_SERVER=\"host=... port=... database=... user=...\" server_bench "
                             "[loans] [payments per loan] [runs]\n");
        return 2;
    }
    try {
        const ServerSettings server = ParseServerSettings(address);
        const auto dir = bench::FreshFolder("kestrel-book-server-bench");
        bench::GenerateBook(dir.string(), loans, paymentsPerLoan);
        const BookFiles files = bench::BookIn(dir.string());
        auto start = Stopwatch::now();
        const BookCopy copy = CopyFilesToServer(files, server);
        std::printf("book: %zu loans, %zu payments, copied to the server in %.1f s\n", copy.copy.loans,
                    copy.copy.payments, Milliseconds(start) / 1000.0);

        std::vector<std::string> loanNbrs;
        for (int run = 0; run < runs; ++run) loanNbrs.push_back(bench::GeneratedLoanNbr(run * (loans / runs)));
        NoDialogs dialogs;
        NoPrinting printing;
        TodayClock clock;
        KBMain kb(dialogs, printing, clock);
        bench::UseBookFiles(kb, files);
        SqliteBook inFiles(kb);
        PgBook onServer(server);
        Timings fileTimes;
        Timings serverTimes;
        if (!Time(inFiles, loanNbrs, fileTimes) || !Time(onServer, loanNbrs, serverTimes)) return 1;
        std::printf("%-44s %10s %10s   (median of %d runs, ms)\n", "", "files", "server", runs);
        std::printf("%-44s %10.2f %10.2f\n", "opening a loan (loan, payments, notes)", Median(fileTimes.open),
                    Median(serverTimes.open));
        std::printf("%-44s %10.2f %10.2f\n", "posting a payment", Median(fileTimes.post), Median(serverTimes.post));
        std::filesystem::remove_all(dir);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
