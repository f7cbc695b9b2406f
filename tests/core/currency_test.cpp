#include "core/currency.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>

namespace kb {
namespace {

Currency Tt(std::int64_t count) { return Currency::FromTenThousandths(count); }

TEST(CurrencyTest, FromDoubleRoundsToFourPlacesTiesToEven) {
    // Multiples of 1/32 are exact doubles whose ten-thousandths end in exactly one half.
    const std::pair<double, std::int64_t> cases[] = {
        {0.03125, 312},    {0.09375, 938},         {-0.03125, -312},      {-0.09375, -938},      {1.03125, 10312},
        {0.1 + 0.2, 3000}, {12.34564999, 123456}, {12.34565001, 123457}, {9e14, 9000000000000000000}};
    for (auto [value, count] : cases) EXPECT_EQ(Currency::FromDouble(value), Tt(count)) << value;
    for (double value : {9.3e14, -1e15, double(INFINITY), double(NAN)})
        EXPECT_THROW(Currency::FromDouble(value), std::overflow_error) << value;
}

TEST(CurrencyTest, ArithmeticIsExactAndRefusesOverflow) {
    Currency total;
    for (int i = 0; i < 10; ++i) total += Currency::FromDouble(0.1);
    EXPECT_EQ(total, Tt(10000));
    EXPECT_EQ(Tt(123456).ToDouble(), 12.3456);
    constexpr auto kMax = std::numeric_limits<std::int64_t>::max(), kMin = std::numeric_limits<std::int64_t>::min();
    EXPECT_EQ(Tt(kMax) + Tt(kMin), Tt(-1));
    EXPECT_THROW(Tt(kMax) + Tt(1), std::overflow_error);
    EXPECT_THROW(Tt(kMin) - Tt(1), std::overflow_error);
    EXPECT_THROW(Tt(0) - Tt(kMin), std::overflow_error);
    EXPECT_THROW(-Tt(kMin), std::overflow_error);
}

}  // namespace
}  // namespace kb
