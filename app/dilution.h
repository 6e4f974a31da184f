#pragma once

// The two volumes of a dilution: take `stockVolume` of the stock solution and add
// `diluentVolume` of diluent to get the final volume at the final concentration.
struct Dilution
{
    double stockVolume;
    double diluentVolume;
};

// stock volume = (final concentration x final volume) / stock concentration, and
// diluent volume = final volume - stock volume, the stock volume computed afresh in the same
// order. Every product, quotient and difference is rounded to double precision, but while it is
// an intermediate value its exponent is not limited to a double's range: only the stored results
// become infinite or subnormal. The stock concentration must not be zero.
Dilution CalculateDilution(double stockConcentration, double finalConcentration,
                           double finalVolume);
