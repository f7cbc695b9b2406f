#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "core/dates.h"

namespace kb {

// One record of each table, with the field names of the files. Text fields read as empty when the file holds null.

struct LoanRecord {  // table KBLoan in KB_Loan.mdb
    std::string LoanNbr;
    std::string LastNm;
    std::string FirstMI;
    std::string Street;
    std::string City;
    std::string State;
    std::string Zip;
    std::string Phone;
    std::string WrkPhone;
    std::string Collateral;
    std::string LoanDT;
    std::string LoanAmt;
    std::string APR;
    std::string PmtsPerYr;
    std::optional<Date> NextPmtDT;
    std::string Payment;
    std::string Balance;
    bool operator==(const LoanRecord&) const = default;
};

struct PaymentRecord {  // table KBPmts in KB_Pmts.mdb
    std::string LoanNbr;  // the PmtKey
    std::string PmtDT;
    std::string Amount;
    std::string LateFee;
    std::string NbrPmts;
    std::string Principal;
    std::string Interest;
    std::optional<Date> NextPmtDT;
    std::string Balance;
    std::string ChkNbr;
    bool operator==(const PaymentRecord&) const = default;
};

struct NoteRecord {  // table KBNotes in KB_Notes.mdb
    std::string LoanNbr;  // the NoteKey
    std::string NoteDT;
    std::string Subject;
    std::string Note;
    std::int64_t NoteID = 0;  // field "Note-ID"
    bool operator==(const NoteRecord&) const = default;
};

}  // namespace kb
