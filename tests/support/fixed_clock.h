#pragma once
#include "core/clock.h"

namespace kb::test {

class FixedClock : public Clock {
public:
    explicit FixedClock(std::chrono::year_month_day date = std::chrono::year{2026} / 12 / 6) : date(date) {}
    std::chrono::year_month_day today() const override { return date; }
    std::chrono::year_month_day date;
};

}  // namespace kb::test
