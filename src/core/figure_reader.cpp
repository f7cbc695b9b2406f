#include "core/figure_reader.h"

#include <exception>

#include "core/format.h"

namespace kb {

template <class Value, class Read>
Value FigureReader::Record::read(std::string_view field, Value unreadable, Read&& read) const {
    try {
        return read();
    } catch (const std::exception& error) {
        reader_.failure_ = name() + ": " + std::string(field) + " - " + error.what();
        return unreadable;
    }
}

std::string FigureReader::Record::name() const {
    std::string name = "LOAN " + std::string(loanNbr_.substr(0, loanNbr_.find_last_not_of(' ') + 1));
    if (!pmtDT_.empty()) name += ", PAYMENT " + std::string(pmtDT_);
    return name;
}

std::string FigureReader::Record::column(std::string_view field, std::string_view stored,
                                         std::string_view mask) const {
    return read(field, std::string(mask.size(), ' '), [&] { return Using(NumVal(stored), mask); });
}

double FigureReader::Record::number(std::string_view field, std::string_view stored) const {
    return read(field, 0.0, [&] { return NumVal(stored); });
}

Currency FigureReader::Record::money(std::string_view field, std::string_view stored) const {
    return read(field, Currency(), [&] { return Currency::FromDouble(NumVal(stored)); });
}

}  // namespace kb
