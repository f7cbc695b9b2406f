#include "loanbook/csv_export.h"

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <span>
#include <system_error>

#include "store/schema.h"

namespace kb {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kWriteBuffer = 1 << 20;
// The byte order mark: spreadsheets that would otherwise take the file for the desktop's 8-bit code page read
// accented letters right with it.
constexpr const char* kUtf8Mark = "\xEF\xBB\xBF";

std::string Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

// A date the program stores as mm/dd/yyyy, written yyyy-mm-dd; a text that is no such date is kept as it is.
std::string DateText(std::string_view stored) {
    const std::string text = Trimmed(stored);
    const auto date = ParseStoredDate(text);
    return date ? ToIso(*date) : text;
}

std::string DateText(const std::optional<Date>& date) { return date ? ToIso(*date) : std::string(); }

std::vector<std::string> FieldNames(std::span<const Field> fields) {
    std::vector<std::string> names;
    for (const Field& field : fields) names.emplace_back(field.name);
    return names;
}

std::vector<std::string> LoanFields(const LoanRecord& loan) {
    return {loan.LoanNbr,         loan.LastNm,          loan.FirstMI,       loan.Street,
            loan.City,            loan.State,           loan.Zip,           loan.Phone,
            loan.WrkPhone,        loan.Collateral,      DateText(loan.LoanDT), Trimmed(loan.LoanAmt),
            Trimmed(loan.APR),    Trimmed(loan.PmtsPerYr), DateText(loan.NextPmtDT), Trimmed(loan.Payment),
            Trimmed(loan.Balance)};
}

std::vector<std::string> PaymentFields(const PaymentRecord& payment) {
    return {payment.LoanNbr,          DateText(payment.PmtDT),       Trimmed(payment.Amount),
            Trimmed(payment.LateFee), Trimmed(payment.NbrPmts),      Trimmed(payment.Principal),
            Trimmed(payment.Interest), DateText(payment.NextPmtDT),  Trimmed(payment.Balance),
            payment.ChkNbr};
}

std::vector<std::string> NoteFields(const NoteRecord& note) {
    return {note.LoanNbr, DateText(note.NoteDT), note.Subject, note.Note, std::to_string(note.NoteID)};
}

std::string SystemReason() { return std::error_code(errno, std::generic_category()).message(); }

// One CSV file being written under a temporary name beside its own; removed again unless it was kept.
class CsvFile {
public:
    CsvFile(const fs::path& folder, const char* name, const std::vector<std::string>& header)
        : name_(name), path_(folder / name), temporary_(folder / ("." + std::string(name) + ".partial")) {
        buffer_.resize(kWriteBuffer);
        out_.rdbuf()->pubsetbuf(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
        out_.open(temporary_, std::ios::binary | std::ios::trunc);
        if (!out_) throw StoreError(name_ + " cannot be written (" + SystemReason() + ")");
        out_ << kUtf8Mark;
        write(header);
    }
    CsvFile(const CsvFile&) = delete;
    CsvFile& operator=(const CsvFile&) = delete;
    ~CsvFile() {
        if (kept_) return;
        out_.close();
        std::error_code ignored;
        fs::remove(temporary_, ignored);
    }

    void write(const std::vector<std::string>& fields) { out_ << CsvLine(fields); }

    // Closes the file, making sure every byte reached the disk.
    void close() {
        out_.close();
        if (!out_) throw StoreError(name_ + " could not be written whole (" + SystemReason() + ")");
    }
    // Gives the closed file its own name.
    void keep() {
        std::error_code error;
        fs::rename(temporary_, path_, error);
        if (error) throw StoreError(name_ + " could not be written (" + error.message() + ")");
        kept_ = true;
    }

private:
    std::string name_;
    fs::path path_;
    fs::path temporary_;
    std::vector<char> buffer_;
    std::ofstream out_;
    bool kept_ = false;
};

// The export's progress, counted in loans: payments and notes come grouped by loan, so each change of loan among
// them is one more loan's worth of the file done. Loans, payments and notes are a third of the way each.
class ExportMeter {
public:
    ExportMeter(const Progress& progress, std::size_t loans) : progress_(progress), loans_(loans) {}
    void loanWritten() { step(); }
    void rowOf(std::string_view key) {
        const std::string_view loanNbr = key.substr(0, kLoanNbrChars);
        if (loanNbr == currentLoan_) return;
        currentLoan_ = loanNbr;
        step();
    }
    void nextFile() {
        ++files_;
        done_ = 0;
        currentLoan_.clear();
        report();
    }

private:
    static constexpr std::size_t kLoanNbrChars = 8;
    static constexpr std::size_t kReportEvery = 64;
    void step() {
        if (++done_ % kReportEvery == 0) report();
    }
    void report() const { ReportProgress(progress_, files_ * loans_ + std::min(done_, loans_), 3 * loans_); }

    const Progress& progress_;
    std::size_t loans_;
    std::size_t files_ = 0;
    std::size_t done_ = 0;
    std::string currentLoan_;
};

}  // namespace

std::string CsvLine(const std::vector<std::string>& fields) {
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) line += ',';
        const std::string& field = fields[i];
        if (field.find_first_of(",\"\r\n") == std::string::npos) {
            line += field;
            continue;
        }
        line += '"';
        for (char c : field) {
            if (c == '"') line += '"';
            line += c;
        }
        line += '"';
    }
    line += "\r\n";
    return line;
}

void ExportBook(Book& book, const fs::path& folder, const Progress& progress) {
    const std::vector<LoanRecord> loans = book.loans(LoanOrder::ById);
    ExportMeter meter(progress, loans.size());
    CsvFile loansCsv(folder, kLoansCsv, FieldNames(kLoanFields));
    for (const LoanRecord& loan : loans) {
        loansCsv.write(LoanFields(loan));
        meter.loanWritten();
    }
    meter.nextFile();
    CsvFile paymentsCsv(folder, kPaymentsCsv, FieldNames(kPaymentFields));
    book.eachPayment([&](const PaymentRecord& payment) {
        paymentsCsv.write(PaymentFields(payment));
        meter.rowOf(payment.LoanNbr);
    });
    meter.nextFile();
    CsvFile notesCsv(folder, kNotesCsv, FieldNames(kNoteFields));
    book.eachNote([&](const NoteRecord& note) {
        notesCsv.write(NoteFields(note));
        meter.rowOf(note.LoanNbr);
    });
    meter.nextFile();
    for (CsvFile* file : {&loansCsv, &paymentsCsv, &notesCsv}) file->close();
    for (CsvFile* file : {&loansCsv, &paymentsCsv, &notesCsv}) file->keep();
}

}  // namespace kb
