#pragma once
#include <chrono>

namespace kb {

class Clock {
public:
    virtual ~Clock() = default;
    virtual std::chrono::year_month_day today() const = 0;
};

}  // namespace kb
