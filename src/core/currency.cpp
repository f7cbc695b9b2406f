#include "core/currency.h"

#include <cmath>
#include <stdexcept>

namespace kb {

namespace {
constexpr double kScale = 10000.0;
constexpr double kTwoTo63 = 9223372036854775808.0;
}  // namespace

Currency Currency::FromDouble(double value) {
    // nearbyint in the default rounding mode rounds halves to even.
    const double scaled = std::nearbyint(value * kScale);
    if (!std::isfinite(scaled) || scaled < -kTwoTo63 || scaled >= kTwoTo63)
        throw std::overflow_error("Overflow");
    return Currency(static_cast<std::int64_t>(scaled));
}

double Currency::ToDouble() const { return static_cast<double>(count_) / kScale; }

Currency Currency::operator+(Currency other) const {
    std::int64_t sum;
    if (__builtin_add_overflow(count_, other.count_, &sum)) throw std::overflow_error("Overflow");
    return Currency(sum);
}

Currency Currency::operator-(Currency other) const {
    std::int64_t difference;
    if (__builtin_sub_overflow(count_, other.count_, &difference)) throw std::overflow_error("Overflow");
    return Currency(difference);
}

Currency Currency::operator-() const { return Currency() - *this; }

}  // namespace kb
