#include "bench/book_generator.h"

#include <SQLiteCpp/SQLiteCpp.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string_view>

#include "core/dates.h"
#include "core/format.h"
#include "core/kbmain.h"
#include "loanbook/payment_calc.h"

namespace kb::bench {

namespace {

using namespace std::chrono;

// The day the generated book is up to: every loan's last payment falls shortly before it.
constexpr Date kBookDate = year{2026} / 11 / 30;
constexpr const char* kDateMask = "mm/dd/yyyy";
constexpr const char* kMoneyMask = "#####0.00";

constexpr std::array<std::string_view, 40> kLastNames = {
    "SMITH",    "JOHNSON",  "WILLIAMS", "BROWN",    "JONES",    "GARCIA",   "MILLER",   "DAVIS",
    "RODRIGUEZ", "MARTINEZ", "HERNANDEZ", "LOPEZ",  "GONZALEZ", "WILSON",   "ANDERSON", "THOMAS",
    "TAYLOR",   "MOORE",    "JACKSON",  "MARTIN",   "LEE",      "PEREZ",    "THOMPSON", "WHITE",
    "HARRIS",   "SANCHEZ",  "CLARK",    "RAMIREZ",  "LEWIS",    "ROBINSON", "WALKER",   "YOUNG",
    "ALLEN",    "KING",     "WRIGHT",   "SCOTT",    "TORRES",   "NGUYEN",   "HILL",     "FLORES"};
constexpr std::array<std::string_view, 32> kFirstNames = {
    "JAMES",   "MARY",    "ROBERT", "PATRICIA", "JOHN",    "JENNIFER", "MICHAEL", "LINDA",
    "DAVID",   "ELIZABETH", "WILLIAM", "BARBARA", "RICHARD", "SUSAN",   "JOSEPH",  "JESSICA",
    "THOMAS",  "SARAH",   "CHARLES", "KAREN",   "CARLOS",  "NANCY",    "DANIEL",  "LISA",
    "MATTHEW", "BETTY",   "ANTHONY", "SANDRA",  "MARK",    "ASHLEY",   "PAUL",    "DONNA"};
constexpr std::array<std::string_view, 16> kStreets = {
    "MAIN ST",   "OAK AVE",     "ELM ST",      "MAPLE DR",   "CEDAR LN",    "PINE ST",    "WASHINGTON AVE",
    "LAKE RD",   "HILL ST",     "PARK AVE",    "RIVER RD",   "CHURCH ST",   "MILL RD",    "SUNSET BLVD",
    "BROADWAY",  "HIGHLAND AVE"};
struct Place {
    std::string_view city;
    std::string_view state;
    std::string_view zip;
    std::string_view areaCode;
};
constexpr std::array<Place, 10> kPlaces = {{{"SPRINGFIELD", "IL", "62701", "217"},
                                            {"COLUMBUS", "OH", "43215", "614"},
                                            {"FRANKLIN", "TN", "37064", "615"},
                                            {"GREENVILLE", "SC", "29601", "864"},
                                            {"MADISON", "WI", "53703", "608"},
                                            {"FAIRVIEW", "TX", "75069", "972"},
                                            {"SALEM", "OR", "97301", "503"},
                                            {"DOVER", "DE", "19901", "302"},
                                            {"AUBURN", "AL", "36830", "334"},
                                            {"RIVERSIDE", "CA", "92501", "951"}}};
constexpr std::array<std::string_view, 12> kVehicles = {
    "FORD F-150",     "CHEVY SILVERADO", "TOYOTA CAMRY", "HONDA CIVIC",  "NISSAN ALTIMA", "DODGE RAM 1500",
    "JEEP WRANGLER",  "HONDA ACCORD",    "FORD FOCUS",   "KIA OPTIMA",   "GMC SIERRA",    "HYUNDAI ELANTRA"};
constexpr std::array<double, 8> kRates = {6.9, 8.5, 9.9, 12.0, 14.5, 18.0, 21.9, 24.9};

class Generator {
public:
    explicit Generator(unsigned seed) : random_(seed) {}

    int between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
    template <class Array>
    const auto& pick(const Array& items) {
        return items[static_cast<std::size_t>(between(0, static_cast<int>(items.size()) - 1))];
    }

private:
    std::mt19937 random_;
};

std::string Text(std::string_view text) { return std::string(text); }

std::string Phone(std::string_view areaCode, Generator& generate) {
    char text[16];
    std::snprintf(text, sizeof text, "%.3s-555-%04d", areaCode.data(), generate.between(100, 9999));
    return text;
}

// The regular payment that pays `amount` off in `periods` payments at `apr` percent, `perYear` payments a year.
double RegularPayment(double amount, double apr, int perYear, int periods) {
    const double rate = apr / 100.0 / perYear;
    return std::ceil(amount * rate / (1.0 - std::pow(1.0 + rate, -periods)) * 100.0) / 100.0;
}

// The loan's date, so that its last payment falls in the weeks before the book's date.
Date LoanDate(int perYear, int payments, Generator& generate) {
    const Date end = AddDays(kBookDate, -generate.between(0, 40));
    if (payments == 0) return AddDays(end, -generate.between(0, 400));
    if (perYear == 12) return AddMonths(end, -(payments + 1));
    return AddDays(end, -static_cast<long>(payments + 1) * (perYear == 26 ? 14 : 7));
}

void Tune(SQLite::Database& db) {
    // Generation writes a new book once: it need not survive a crash, and it should be quick.
    db.exec("PRAGMA synchronous = OFF");
    db.exec("PRAGMA journal_mode = MEMORY");
    db.exec("PRAGMA cache_size = -262144");
}

template <std::size_t N>
void Bind(SQLite::Statement& statement, const std::array<std::string, N>& values) {
    for (std::size_t i = 0; i < N; ++i) statement.bind(static_cast<int>(i) + 1, values[i]);
}

}  // namespace

BookFiles BookIn(const std::string& dir) { return BookFilesIn(dir); }

std::filesystem::path FreshFolder(const std::string& name) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / name;
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

void UseBookFiles(KBMain& kb, const BookFiles& files) {
    kb.LoanDB = files.loanDB;
    kb.PmtsDB = files.pmtsDB;
    kb.NotesDB = files.notesDB;
}

std::string GeneratedLoanNbr(int index) {
    char text[16];
    std::snprintf(text, sizeof text, "L%07d", index + 1);
    return text;
}

void GenerateBook(const std::string& dir, int loans, int paymentsPerLoan) {
    const BookFiles files = BookIn(dir);
    CreateTableFile(files.loanDB, TableNumber::Loans);
    CreateTableFile(files.pmtsDB, TableNumber::Payments);
    CreateTableFile(files.notesDB, TableNumber::Notes);

    SQLite::Database loanDb(files.loanDB, SQLite::OPEN_READWRITE);
    SQLite::Database pmtsDb(files.pmtsDB, SQLite::OPEN_READWRITE);
    Tune(loanDb);
    Tune(pmtsDb);
    SQLite::Transaction loanTransaction(loanDb);
    SQLite::Transaction pmtsTransaction(pmtsDb);
    SQLite::Statement insertLoan(loanDb, "INSERT INTO KBLoan VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, "
                                         "?12, ?13, ?14, ?15, ?16, ?17)");
    SQLite::Statement insertPayment(pmtsDb, "INSERT INTO KBPmts VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10)");

    Generator generate(20261130u);
    for (int index = 0; index < loans; ++index) {
        const std::string loanNbr = GeneratedLoanNbr(index);
        const Place& place = generate.pick(kPlaces);
        const int kind = generate.between(1, 20);
        const int perYear = kind <= 15 ? 12 : kind <= 18 ? 26 : 52;
        const std::string perYearText = std::to_string(perYear);
        const double amount = generate.between(20, 500) * 50.0;
        const double apr = generate.pick(kRates);
        const int periods = paymentsPerLoan + generate.between(6, 60);
        const std::string payment = FormatNumber(RegularPayment(amount, apr, perYear, periods), kMoneyMask);
        const std::string aprText = FormatNumber(apr, "#0.000");
        const std::string loanDT = FormatDate(LoanDate(perYear, paymentsPerLoan, generate), kDateMask);

        std::string balance = FormatNumber(amount, kMoneyMask);
        NextPmtDTResult due = CalcNextPmtDT(1, perYearText, loanDT);
        std::string lastPmtDT = loanDT;
        for (int number = 0; number < paymentsPerLoan; ++number) {
            const std::string dueText = due.text();
            const bool late = generate.between(1, 12) == 1;
            const Date paid = AddDays(*due.date, late ? generate.between(4, 6) : generate.between(0, 3));
            const std::string pmtDT = FormatDate(paid, kDateMask);
            const std::string lateFee = late ? "15.00" : "";
            const std::string paidAmount = late ? FormatNumber(NumVal(payment) + 15.0, kMoneyMask) : payment;
            const PmtCalcResult split = PmtCalc({pmtDT, paidAmount, lateFee, balance, aprText, lastPmtDT});
            due = CalcNextPmtDT(1, perYearText, dueText);
            const std::string chkNbr =
                generate.between(1, 5) <= 2 ? std::string("CASH") : std::to_string(generate.between(1001, 9999));
            Bind(insertPayment, std::array<std::string, 10>{PmtKey(loanNbr, pmtDT), pmtDT, paidAmount, lateFee, "1",
                                                            split.principalText, split.interestText,
                                                            ToIso(*due.date), split.balanceText, chkNbr});
            insertPayment.exec();
            insertPayment.reset();
            balance = split.balanceText;
            lastPmtDT = pmtDT;
        }

        const bool business = generate.between(1, 10) == 1;
        const std::string wrkPhone = generate.between(1, 3) == 1 ? "" : Phone(place.areaCode, generate);
        Bind(insertLoan,
             std::array<std::string, 17>{
                 loanNbr,
                 business ? Text(generate.pick(kLastNames)) + " INC" : Text(generate.pick(kLastNames)),
                 Text(generate.pick(kFirstNames)) + " " + static_cast<char>('A' + generate.between(0, 25)),
                 std::to_string(generate.between(100, 9899)) + " " + Text(generate.pick(kStreets)),
                 Text(place.city), Text(place.state), Text(place.zip), Phone(place.areaCode, generate), wrkPhone,
                 std::to_string(generate.between(2012, 2026)) + " " + Text(generate.pick(kVehicles)), loanDT,
                 FormatNumber(amount, kMoneyMask), aprText, perYearText, ToIso(*due.date), payment, balance});
        insertLoan.exec();
        insertLoan.reset();
    }
    pmtsTransaction.commit();
    loanTransaction.commit();
}

}  // namespace kb::bench
