// Times the reports started from the loan list on a large book: the late payments window's list, the late
// payment report to its first page and to its end, and the payments received for one month, gathered and printed
// to the first page and to the end. Printing goes to pages that are counted, not kept; every question is answered
// OK and the print dialog confirmed.
// Usage: reports_bench [loans] [payments per loan] [runs]   (default 20000 50 15; the book is generated in a
// temporary directory and removed afterwards)
#include <unistd.h>

#include <QApplication>
#include <QListWidget>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "bench/book_generator.h"
#include "loanbook/sqlite_book.h"
#include "reports/frmLatePmt.h"
#include "reports/late_payments.h"
#include "reports/payments_received.h"
#include "store/store.h"

namespace {

using namespace std::chrono;
using Clock = steady_clock;

double Milliseconds(Clock::time_point start, Clock::time_point end = Clock::now()) {
    return duration<double, std::milli>(end - start).count();
}

double Median(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

int Argument(int argc, char** argv, int index, int fallback) {
    return argc > index ? std::stoi(argv[index]) : fallback;
}

class AnswerOK : public kb::Dialogs {
public:
    kb::Answer message(const std::string&, const std::string&, kb::Buttons, kb::Icon) override {
        ++messages;
        return kb::Answer::OK;
    }
    std::optional<std::string> prompt(const std::string&, const std::string&, const std::string&, bool) override {
        return std::nullopt;
    }
    std::optional<kb::PrinterChoice> choosePrinter(const kb::PrintDialogOptions&) override {
        return kb::PrinterChoice{};
    }
    std::optional<kb::PrinterChoice> previewPages(const std::vector<kb::PageLines>&, const kb::PrinterChoice& chosen,
                                                  const kb::PrintDialogOptions&) override {
        return chosen;
    }
    std::optional<std::string> chooseFolder(const std::string&, const std::string&) override { return std::nullopt; }
    std::optional<std::size_t> chooseItem(const std::string&, const std::string&,
                                          const std::vector<std::string>&) override {
        return std::nullopt;
    }
    int messages = 0;
};

// Counts pages and lines and notes when the first page was ended.
class CountingPrinting : public kb::Printing {
public:
    std::unique_ptr<kb::PrintJob> openJob(const kb::PrinterChoice&) override { return std::make_unique<Job>(*this); }
    void start() {
        pages = 0;
        lines = 0;
        firstPage = {};
    }
    int pages = 0;
    long lines = 0;
    Clock::time_point firstPage;

private:
    class Job : public kb::PrintJob {
    public:
        explicit Job(CountingPrinting& owner) : owner_(owner) {}
        void line(const std::string&) override { ++owner_.lines; }
        void newPage() override {
            if (owner_.pages++ == 0) owner_.firstPage = Clock::now();
        }
        void close() override { newPage(); }

    private:
        CountingPrinting& owner_;
    };
};

class FixedDay : public kb::Clock {
public:
    explicit FixedDay(kb::Date date) : date_(date) {}
    kb::Date today() const override { return date_; }

private:
    kb::Date date_;
};

// Runs a printing `runs` times after one run untimed; prints the medians to the first page and to the end.
void TimePrinting(const char* what, int runs, CountingPrinting& printing, const std::function<void()>& print) {
    std::vector<double> first, whole;
    print();
    for (int run = 0; run < runs; ++run) {
        printing.start();
        const auto start = Clock::now();
        print();
        const auto end = Clock::now();
        whole.push_back(Milliseconds(start, end));
        first.push_back(Milliseconds(start, printing.firstPage));
    }
    std::printf("%-44s first page %7.1f ms   whole %7.1f ms   (%d pages, %ld lines)\n", what, Median(first),
                Median(whole), printing.pages, printing.lines);
}

void TimeWork(const char* what, int runs, const std::function<std::size_t()>& work) {
    std::vector<double> times;
    std::size_t count = work();
    for (int run = 0; run < runs; ++run) {
        const auto start = Clock::now();
        count = work();
        times.push_back(Milliseconds(start));
    }
    std::printf("%-44s median %7.1f ms   min %7.1f   max %7.1f   (%zu rows)\n", what, Median(times),
                *std::min_element(times.begin(), times.end()), *std::max_element(times.begin(), times.end()), count);
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int loans = Argument(argc, argv, 1, 20000);
    const int paymentsPerLoan = Argument(argc, argv, 2, 50);
    const int runs = Argument(argc, argv, 3, 15);
    if (loans < 1 || paymentsPerLoan < 1 || runs < 1) {
        std::fprintf(stderr, "usage: reports_bench [loans] [payments per loan] [runs], each at least 1\n");
        return 2;
    }

    const auto dir = kb::bench::FreshFolder("kestrel-book-reports-bench");
    const auto generating = Clock::now();
    kb::bench::GenerateBook(dir.string(), loans, paymentsPerLoan);
    // The new files' pages go to the disk before timing starts, not while the first reports read them.
    ::sync();
    const kb::BookFiles files = kb::bench::BookIn(dir.string());
    std::printf("book: %d loans, %lld payments, generated in %.1f s; KB_Pmts.mdb %.1f MB\n", loans,
                static_cast<long long>(loans) * paymentsPerLoan, Milliseconds(generating) / 1000.0,
                static_cast<double>(std::filesystem::file_size(files.pmtsDB)) / 1e6);

    // The book is up to 11/30/2026; six weeks later nearly every loan is behind.
    AnswerOK dialogs;
    CountingPrinting printing;
    FixedDay today(year{2027} / 1 / 15);
    kb::KBMain kb(dialogs, printing, today);
    kb::SqliteBook book(kb);
    kb.book = &book;
    kb::bench::UseBookFiles(kb, files);
    const std::string caption = "KESTREL-BOOK VER8.03 for BENCH MOTORS";

    std::printf("median of %d runs\n", runs);
    TimeWork("late list: window opened and filled", runs, [&] {
        kb::frmLatePmt window(kb, caption);
        return static_cast<std::size_t>(window.findChild<QListWidget*>("lstLatePmts")->count());
    });
    TimeWork("late list: rows from the loans file", runs,
             [&] { return kb::FillLatePmts(*kb.book, today.today(), dialogs)->rows.size(); });
    TimeWork("late list: loans read", runs,
             [&] { return kb::LoanTable(kb.LoanDB).readAll(kb::LoanOrder::ByDueDate).size(); });
    TimePrinting("late payment report", runs, printing, [&] { kb::PrintLateList(kb, caption); });

    const kb::DateRange october{year{2026} / 10 / 1, year{2026} / 10 / 31};
    std::vector<kb::ReceivedPayment> workList;
    TimeWork("payments received: October gathered", runs, [&] {
        workList = kb::ReadPaymentsReceived(kb, october);
        return workList.size();
    });
    TimeWork("  of which the payments file read", runs, [&] {
        return kb::PaymentTable(kb.PmtsDB).readDateRange(october.first, october.last).size();
    });
    TimeWork("  (the same from every payment read)", std::min(runs, 2), [&] {
        kb::FigureReader figures;
        return kb::GatherPayments(kb::PaymentTable(kb.PmtsDB).readAll(), october, figures).size();
    });
    TimePrinting("payments received: October printed", runs, printing,
                 [&] { kb::PrintPmts(kb, caption, october, workList); });
    TimePrinting("payments received: OK to the printed report", runs, printing,
                 [&] { kb::PrintPmts(kb, caption, october, kb::ReadPaymentsReceived(kb, october)); });
    if (dialogs.messages == 0) std::printf("no paper prompt was shown: something went wrong\n");

    std::filesystem::remove_all(dir);
    return 0;
}
