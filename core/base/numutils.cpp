#include "core/base/numutils.h"

#include <cmath>
#include <limits>

namespace {

// Clamps a whole-valued double into the 64-bit range (NaN gives 0).
std::int64_t ToInt64(double whole)
{
    if (std::isnan(whole))
        return 0;
    constexpr double limit = 9223372036854775808.0; // 2^63
    if (whole >= limit)
        return std::numeric_limits<std::int64_t>::max();
    if (whole < -limit)
        return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(whole);
}

} // namespace

std::int64_t Round(double value)
{
    // nearbyint follows the current rounding mode, which is round-to-nearest-even unless
    // someone changed it; compute explicitly so that the result never depends on it.
    const double floorValue = std::floor(value);
    const double diff = value - floorValue;
    double whole;
    if (diff < 0.5)
        whole = floorValue;
    else if (diff > 0.5)
        whole = floorValue + 1.0;
    else
        whole = std::fmod(floorValue, 2.0) == 0.0 ? floorValue : floorValue + 1.0;
    return ToInt64(whole);
}

std::int64_t Trunc(double value)
{
    return ToInt64(std::trunc(value));
}
