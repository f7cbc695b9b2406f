// Times the payment operations of the loan record screen on a large book: reading one loan's payment list,
// posting a payment and taking the newest one back, each with its files opened and closed as the screen does.
// Usage: payments_bench [loans] [payments per loan] [runs]   (default 20000 50 50; the book is generated in a
// temporary directory and removed afterwards)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/book_generator.h"
#include "core/dates.h"
#include "loanbook/payment_calc.h"
#include "store/store.h"

namespace {

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void Report(const char* what, std::vector<double> times) {
    std::sort(times.begin(), times.end());
    std::printf("%-34s median %7.2f ms   min %7.2f   max %7.2f   (%zu runs)\n", what, times[times.size() / 2],
                times.front(), times.back(), times.size());
}

int Argument(int argc, char** argv, int index, int fallback) {
    return argc > index ? std::stoi(argv[index]) : fallback;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace kb;
    const int loans = Argument(argc, argv, 1, 20000);
    const int paymentsPerLoan = Argument(argc, argv, 2, 50);
    const int runs = std::min(Argument(argc, argv, 3, 50), loans);
    if (loans < 1 || paymentsPerLoan < 1 || runs < 1) {
        std::fprintf(stderr, "usage: payments_bench [loans] [payments per loan] [runs], each at least 1\n");
        return 2;
    }

    const auto dir = bench::FreshFolder("kestrel-book-payments-bench");
    const auto generating = Clock::now();
    bench::GenerateBook(dir.string(), loans, paymentsPerLoan);
    const BookFiles files = bench::BookIn(dir.string());
    std::printf("book: %d loans, %lld payments, generated in %.1f s; KB_Pmts.mdb %.1f MB\n", loans,
                static_cast<long long>(loans) * paymentsPerLoan, Milliseconds(generating) / 1000.0,
                static_cast<double>(std::filesystem::file_size(files.pmtsDB)) / 1e6);

    // Loans spread over the whole book, each used once.
    std::vector<std::string> loanNbrs;
    for (int run = 0; run < runs; ++run) loanNbrs.push_back(bench::GeneratedLoanNbr(run * (loans / runs)));

    const PaymentTable payments(files.pmtsDB);
    const LoanTable loanTable(files.loanDB);
    std::vector<double> listTimes;
    std::vector<double> postTimes;
    std::vector<double> takeBackTimes;
    std::vector<std::string> posted;
    for (const std::string& loanNbr : loanNbrs) {
        auto start = Clock::now();
        FigureReader figures;
        const std::vector<PaymentRecord> oldestFirst = payments.readLoan(loanNbr);
        const std::vector<std::string> rows = PaymentRowsNewestFirst(oldestFirst, figures);
        listTimes.push_back(Milliseconds(start));
        if (static_cast<int>(rows.size()) != paymentsPerLoan) {
            std::fprintf(stderr, "loan %s lists %zu payments\n", loanNbr.c_str(), rows.size());
            return 1;
        }

        // The next payment as the entry panel works it out: a month after the newest, the regular amount.
        const LoanRecord loan = loanTable.find(loanNbr).value();
        const std::string& newestPmtDT = oldestFirst.back().PmtDT;
        const std::string pmtDT = FormatDate(AddDays(*ParseStoredDate(newestPmtDT), 30), "mm/dd/yyyy");
        const PmtCalcResult split =
            PmtCalc({pmtDT, loan.Payment, "", loan.Balance, loan.APR, InterestFromDT(loan.LoanDT, newestPmtDT)});
        const NextPmtDTResult due = CalcNextPmtDT(1, loan.PmtsPerYr, FormatDate(loan.NextPmtDT, "mm/dd/yyyy"));
        const PaymentRecord payment{PmtKey(loanNbr, pmtDT), pmtDT,           loan.Payment, "",
                                    "1",                    split.principalText, split.interestText, due.date,
                                    split.balanceText,      "CASH"};
        start = Clock::now();
        PostPayment(files, loanNbr, payment);
        postTimes.push_back(Milliseconds(start));
        posted.push_back(payment.LoanNbr);
    }

    // Taking back what was posted, as the screen does: find the payment, wind the loan back from it, store both.
    for (std::size_t i = 0; i < posted.size(); ++i) {
        const LoanRecord loan = loanTable.find(loanNbrs[i]).value();
        const auto start = Clock::now();
        const PaymentTakeBack takeBack =
            TakeBackPayment(payments.find(posted[i]), loan.PmtsPerYr, FormatDate(loan.NextPmtDT, "mm/dd/yyyy"));
        DeletePayment(files, loanNbrs[i], posted[i], takeBack.balanceText, takeBack.nextPmtDT.date);
        takeBackTimes.push_back(Milliseconds(start));
        if (!takeBack.message.empty() || payments.find(posted[i])) {
            std::fprintf(stderr, "payment %s was not taken back\n", posted[i].c_str());
            return 1;
        }
    }

    Report("payment list of one loan", listTimes);
    Report("posting a payment", postTimes);
    Report("taking the newest payment back", takeBackTimes);
    std::filesystem::remove_all(dir);
    return 0;
}
