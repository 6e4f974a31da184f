#include "dilution.h"

#include <cmath>
#include <cstdint>

namespace {

// A double-precision number whose exponent is not bounded: mantissa x 2^exponent, with the
// mantissa in [0.5, 1) or zero.
struct Wide
{
    double mantissa;
    std::int64_t exponent;
};

Wide normalized(double mantissa, std::int64_t exponent)
{
    if (mantissa == 0 || !std::isfinite(mantissa))
        return {mantissa, 0};
    int shift = 0;
    const double m = std::frexp(mantissa, &shift);
    return {m, exponent + shift};
}

Wide wide(double value)
{
    return normalized(value, 0);
}

// Products and quotients of mantissas in [0.5, 1) can neither overflow nor underflow, so the one
// rounding of the double operation is the rounding of the exact result.
Wide multiply(Wide a, Wide b)
{
    return normalized(a.mantissa * b.mantissa, a.exponent + b.exponent);
}

Wide divide(Wide a, Wide b)
{
    return normalized(a.mantissa / b.mantissa, a.exponent - b.exponent);
}

Wide subtract(Wide a, Wide b)
{
    if (b.mantissa == 0)
        return a;
    if (a.mantissa == 0)
        return {-b.mantissa, b.exponent};
    // Align on the larger exponent. A value more than 1000 binary places smaller is far below
    // half a unit in the last place of the larger one and cannot change the rounded result.
    const std::int64_t top = std::max(a.exponent, b.exponent);
    const std::int64_t da = top - a.exponent, db = top - b.exponent;
    if (da > 1000)
        return {-b.mantissa, b.exponent};
    if (db > 1000)
        return a;
    const double difference = std::ldexp(a.mantissa, -int(da)) - std::ldexp(b.mantissa, -int(db));
    return normalized(difference, top);
}

// Stores a wide value as a double: out of range it becomes infinite, or 0 or subnormal.
double stored(Wide value)
{
    if (value.mantissa == 0 || !std::isfinite(value.mantissa))
        return value.mantissa;
    if (value.exponent > 2000)
        return std::copysign(HUGE_VAL, value.mantissa);
    if (value.exponent < -2000)
        return std::copysign(0.0, value.mantissa);
    return std::ldexp(value.mantissa, int(value.exponent));
}

Wide stockVolumeOf(double c1, double c2, double v)
{
    return divide(multiply(wide(c2), wide(v)), wide(c1));
}

} // namespace

Dilution CalculateDilution(double stockConcentration, double finalConcentration, double finalVolume)
{
    const Wide stock = stockVolumeOf(stockConcentration, finalConcentration, finalVolume);
    const Wide diluent = subtract(
        wide(finalVolume), stockVolumeOf(stockConcentration, finalConcentration, finalVolume));
    return {stored(stock), stored(diluent)};
}
