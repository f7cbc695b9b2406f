#pragma once
#include <compare>
#include <cstdint>

namespace kb {

// Money in exact ten-thousandths (four decimal places) in a signed 64-bit count.
class Currency {
public:
    constexpr Currency() = default;
    static constexpr Currency FromTenThousandths(std::int64_t count) { return Currency(count); }
    // Rounds to four decimal places, ties to even. Throws std::overflow_error outside the 64-bit range.
    static Currency FromDouble(double value);
    double ToDouble() const;
    constexpr std::int64_t TenThousandths() const { return count_; }

    // Exact; throws std::overflow_error when the result leaves the 64-bit range.
    Currency operator+(Currency other) const;
    Currency operator-(Currency other) const;
    Currency operator-() const;
    Currency& operator+=(Currency other) { return *this = *this + other; }
    Currency& operator-=(Currency other) { return *this = *this - other; }
    constexpr auto operator<=>(const Currency&) const = default;

private:
    constexpr explicit Currency(std::int64_t count) : count_(count) {}
    std::int64_t count_ = 0;
};

}  // namespace kb
