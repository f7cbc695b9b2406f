#pragma once
#include <chrono>
#include <ctime>

#include "core/clock.h"

namespace kb {

// Today's date on the computer's own calendar (local time).
class SystemClock : public Clock {
public:
    std::chrono::year_month_day today() const override {
        const std::time_t now = std::time(nullptr);
        std::tm local{};
        localtime_r(&now, &local);
        return std::chrono::year{local.tm_year + 1900} / (local.tm_mon + 1) / local.tm_mday;
    }
};

}  // namespace kb
