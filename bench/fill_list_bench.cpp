// Times the loan list's fill, from the loans file to the last row shown, in each order, for a large book.
// Usage: fill_list_bench [loans]   (default 20000; the book is generated in a temporary directory)
#include <QApplication>
#include <QListWidget>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/qt_dialogs.h"
#include "app/qt_printing.h"
#include "app/startup.h"
#include "app/system_clock.h"
#include "bench/book_generator.h"
#include "list/frmKBLst.h"
#include "list/loan_row.h"
#include "loanbook/sqlite_book.h"

namespace {

constexpr int kRuns = 15;

double MedianMilliseconds(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

template <class Work>
double MedianOf(Work&& work) {
    std::vector<double> times;
    for (int run = 0; run < kRuns; ++run) {
        const auto start = std::chrono::steady_clock::now();
        work();
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    return MedianMilliseconds(times);
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int loans = argc > 1 ? std::stoi(argv[1]) : 20000;
    const auto dir = kb::bench::FreshFolder("kestrel-book-fill-list-bench");
    kb::bench::GenerateBook(dir.string(), loans, 0);
    std::filesystem::current_path(dir);

    kb::QtDialogs dialogs;
    kb::QtPrinting printing;
    kb::SystemClock clock;
    kb::KBMain kb(dialogs, printing, clock);
    kb::SqliteBook book(kb);
    kb.book = &book;
    if (!kb::StartUp(kb)) return 1;
    kb::frmKBLst window(kb);
    window.show();
    auto* list = window.findChild<QListWidget*>("lstLoan");

    const std::pair<const char*, kb::LoanOrder> orders[] = {
        {"mnuIDSort", kb::LoanOrder::ById}, {"mnuNameSort", kb::LoanOrder::ByName},
        {"mnuDateSort", kb::LoanOrder::ByDueDate}};
    std::printf("median of %d runs, ms    read file  build rows  whole fill\n", kRuns);
    for (const auto& [menuItem, order] : orders) {
        window.findChild<QAction*>(menuItem)->trigger();  // sets the order and fills once
        const kb::LoanTable table(kb.LoanDB);
        const auto loansRead = table.readAll(order);
        const double read = MedianOf([&] { table.readAll(order); });
        const double rows = MedianOf([&] {
            kb::FigureReader figures;
            kb::LoanRows(loansRead, figures);
        });
        const double fill = MedianOf([&] {
            window.FillList();
            QApplication::processEvents();
        });
        std::printf("%-12s %6d rows  %9.1f  %10.1f  %10.1f\n", menuItem, list->count(), read, rows, fill);
    }
    std::filesystem::current_path(std::filesystem::temp_directory_path());
    std::filesystem::remove_all(dir);
    return 0;
}
