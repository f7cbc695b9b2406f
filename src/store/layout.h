#pragma once
#include <tuple>

#include "store/records.h"
#include "store/schema.h"

// The records of the three tables field by field: what every store reads and writes them through.

namespace kb {

// The members of each record in the order of its table's fields.
template <class Record>
struct Layout;

template <>
struct Layout<LoanRecord> {
    static constexpr const TableDef& table = kLoanTable;
    static constexpr auto members = std::make_tuple(
        &LoanRecord::LoanNbr, &LoanRecord::LastNm, &LoanRecord::FirstMI, &LoanRecord::Street, &LoanRecord::City,
        &LoanRecord::State, &LoanRecord::Zip, &LoanRecord::Phone, &LoanRecord::WrkPhone, &LoanRecord::Collateral,
        &LoanRecord::LoanDT, &LoanRecord::LoanAmt, &LoanRecord::APR, &LoanRecord::PmtsPerYr, &LoanRecord::NextPmtDT,
        &LoanRecord::Payment, &LoanRecord::Balance);
};

template <>
struct Layout<PaymentRecord> {
    static constexpr const TableDef& table = kPaymentTable;
    static constexpr auto members =
        std::make_tuple(&PaymentRecord::LoanNbr, &PaymentRecord::PmtDT, &PaymentRecord::Amount, &PaymentRecord::LateFee,
                        &PaymentRecord::NbrPmts, &PaymentRecord::Principal, &PaymentRecord::Interest,
                        &PaymentRecord::NextPmtDT, &PaymentRecord::Balance, &PaymentRecord::ChkNbr);
};

template <>
struct Layout<NoteRecord> {
    static constexpr const TableDef& table = kNoteTable;
    static constexpr auto members = std::make_tuple(&NoteRecord::LoanNbr, &NoteRecord::NoteDT, &NoteRecord::Subject,
                                                    &NoteRecord::Note, &NoteRecord::NoteID);
};

static_assert(std::tuple_size_v<decltype(Layout<LoanRecord>::members)> == kLoanFields.size());
static_assert(std::tuple_size_v<decltype(Layout<PaymentRecord>::members)> == kPaymentFields.size());
static_assert(std::tuple_size_v<decltype(Layout<NoteRecord>::members)> == kNoteFields.size());

}  // namespace kb
