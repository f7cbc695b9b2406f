#pragma once
#include <string>
#include <string_view>

#include "core/currency.h"
#include "core/error_trap.h"

namespace kb {

// The title of a failure to fill a list: the loans or the payments could not be read, or an amount among them.
inline constexpr const char* kFillListLabel = "FILL LIST";

// Reads the figures of the records a list or a report shows: the amounts, which the tables keep as text. A figure
// that cannot be read as a number (hundreds of digits, say, written into a file by another program) must not cost
// the list its other rows: its column is left blank, it counts as 0, and the failure is kept, naming the record and
// the field, to be reported once the rows are built.
class FigureReader {
public:
    // The figures of one record, named in a failure by its loan number and, for a payment, its date. It refers to
    // those two texts: it is used while the record is.
    class Record {
    public:
        // The figure right-justified in its column: Using of its numeric reading with the mask; blanks as wide as
        // the mask when it cannot be read.
        std::string column(std::string_view field, std::string_view stored, std::string_view mask) const;
        // The figure's numeric reading; 0 when it cannot be read.
        double number(std::string_view field, std::string_view stored) const;
        // The figure as money; 0 when it cannot be read.
        Currency money(std::string_view field, std::string_view stored) const;

    private:
        friend class FigureReader;
        Record(FigureReader& reader, std::string_view loanNbr, std::string_view pmtDT)
            : reader_(reader), loanNbr_(loanNbr), pmtDT_(pmtDT) {}
        template <class Value, class Read>
        Value read(std::string_view field, Value unreadable, Read&& read) const;
        std::string name() const;

        FigureReader& reader_;
        std::string_view loanNbr_;
        std::string_view pmtDT_;
    };

    // The loan's figures: "LOAN A1001" in a failure.
    Record loan(std::string_view loanNbr) { return Record(*this, loanNbr, {}); }
    // A payment's figures: "LOAN A1001, PAYMENT 03/15/2024" in a failure.
    Record payment(std::string_view loanNbr, std::string_view pmtDT) { return Record(*this, loanNbr, pmtDT); }

    // The last figure that could not be read, in words ("LOAN A1001: Balance - Overflow"); empty when every figure
    // was read.
    const std::string& failure() const { return failure_; }
    // Leaves that failure with the trap of the fill, which shows it when the fill ends.
    void reportTo(ErrorTrap& trap) const {
        if (!failure_.empty()) trap.record(failure_);
    }

private:
    std::string failure_;
};

}  // namespace kb
