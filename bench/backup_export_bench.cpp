// Times the daily backup (the three files copied with SQLite's online backup and each copy checked) and the export
// of the whole book as CSV files, read through the Book interface, on a large book.
// Usage: backup_export_bench [loans] [payments per loan] [runs]   (default 20000 50 3; the book is generated in a
// temporary directory and removed afterwards)
#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/qt_dialogs.h"
#include "app/qt_printing.h"
#include "app/system_clock.h"
#include "bench/book_generator.h"
#include "loanbook/csv_export.h"
#include "loanbook/sqlite_book.h"
#include "store/backups.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

int Argument(int argc, char** argv, int index, int fallback) {
    return argc > index ? std::stoi(argv[index]) : fallback;
}

// Runs `work` the given number of times and prints the median and the extremes.
template <class Work>
void Time(const char* what, int runs, Work&& work) {
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        const auto start = Clock::now();
        work();
        times.push_back(Seconds(start));
    }
    std::sort(times.begin(), times.end());
    std::printf("%-36s median %6.2f s   min %6.2f   max %6.2f   (%d runs)\n", what, times[times.size() / 2],
                times.front(), times.back(), runs);
}

}  // namespace

int main(int argc, char** argv) {
    using namespace kb;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    namespace fs = std::filesystem;
    const int loans = Argument(argc, argv, 1, 20000);
    const int paymentsPerLoan = Argument(argc, argv, 2, 50);
    const int runs = Argument(argc, argv, 3, 3);
    if (loans < 1 || paymentsPerLoan < 0 || runs < 1) {
        std::fprintf(stderr, "usage: backup_export_bench [loans] [payments per loan] [runs]\n");
        return 2;
    }

    const fs::path dir = bench::FreshFolder("kestrel-book-backup-export-bench");
    bench::GenerateBook(dir.string(), loans, paymentsPerLoan);
    fs::current_path(dir);
    const BookFiles files = bench::BookIn(".");
    std::printf("book: %d loans, %lld payments; KB_Pmts.mdb %.1f MB\n", loans,
                static_cast<long long>(loans) * paymentsPerLoan,
                static_cast<double>(fs::file_size(files.pmtsDB)) / 1e6);

    QtDialogs dialogs;
    QtPrinting printing;
    SystemClock clock;
    KBMain kb(dialogs, printing, clock);
    bench::UseBookFiles(kb, files);
    SqliteBook book(kb);
    kb.book = &book;

    const fs::path backupDir = kBackupDir;
    Time("daily backup (copy and check)", runs, [&] {
        fs::remove_all(backupDir);
        DailyBackup(kb);
    });
    const fs::path exportDir = dir / "export";
    fs::create_directories(exportDir);
    Time("export of loans, payments, notes", runs, [&] { ExportBook(book, exportDir, {}); });
    std::printf("payments.csv %.1f MB\n", static_cast<double>(fs::file_size(exportDir / kPaymentsCsv)) / 1e6);

    fs::current_path(fs::temp_directory_path());
    fs::remove_all(dir);
    return 0;
}
