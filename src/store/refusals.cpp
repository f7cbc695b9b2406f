#include "store/refusals.h"

#include <algorithm>
#include <filesystem>
#include <utility>

#include "core/format.h"

namespace kb {

namespace {

// A payment or note key split into the loan number (right-trimmed) and what follows its 8 characters.
std::pair<std::string, std::string> SplitKey(std::string_view key) {
    const std::string loanPart = PaddedLoanNbr(key);
    const std::size_t cut = std::min(key.size(), loanPart.size());
    return {TrimRight(loanPart), std::string(key.substr(cut))};
}

std::string PaymentDateOfKey(std::string_view suffix) {
    if (suffix.size() != 8) return std::string(suffix);
    return std::string(suffix.substr(4, 2)) + "/" + std::string(suffix.substr(6, 2)) + "/" +
           std::string(suffix.substr(0, 4));
}

std::string NoteNumberOfKey(std::string_view suffix) {
    const std::size_t first = suffix.find_first_not_of('0');
    if (first == std::string_view::npos) return suffix.empty() ? std::string() : "0";
    return std::string(suffix.substr(first));
}

}  // namespace

std::string FileName(const std::string& path) { return std::filesystem::path(path).filename().string(); }

std::string NotOnFile(const Target& target) {
    const auto [loanNbr, suffix] = SplitKey(target.key);
    if (target.table == &kPaymentTable) {
        return "Payment not found: loan " + loanNbr + " has no payment dated " + PaymentDateOfKey(suffix);
    }
    if (target.table == &kNoteTable) {
        return "Note not found: loan " + loanNbr + " has no note number " + NoteNumberOfKey(suffix);
    }
    return "Loan number " + target.key + " is not on file";
}

std::string NoSuchField(const Target& target, std::string_view field) {
    return target.file + ": table " + std::string(target.table->name) + " has no field " + std::string(field);
}

std::string AlreadyOnFile(const Target& target) {
    const auto [loanNbr, suffix] = SplitKey(target.key);
    if (target.table == &kPaymentTable) {
        return "Loan " + loanNbr + " already has a payment dated " + PaymentDateOfKey(suffix);
    }
    if (target.table == &kNoteTable) return "Loan " + loanNbr + " already has note number " + NoteNumberOfKey(suffix);
    return "Loan number " + target.key + " is already on file";
}

std::string NoteNumberTaken(const Target& target) {
    return "Note number " + NoteNumberOfKey(SplitKey(target.key).second) + " is already on file";
}

std::string EmptyKey(const TableDef& table) {
    if (&table == &kLoanTable) return "The loan number is empty";
    return "The " + std::string(table.recordNoun) + " has no loan number";
}

std::string DescribeRefusedValue(const Target& target, std::string_view constraint, std::string_view message) {
    if (constraint == kBlankKeyConstraint) return EmptyKey(*target.table);
    const Field* field = FindField(*target.table, constraint);
    if (field != nullptr && field->type == FieldType::Date) return std::string(field->caption) + " is not a date";
    if (field != nullptr && field->type == FieldType::Text) {
        return std::string(field->caption) + " holds at most " + std::to_string(field->size) + " characters";
    }
    return target.file + ": " + std::string(message);
}

}  // namespace kb
