#pragma once
// How every figure is rounded: half away from zero on the decimal number a double stands for, as
// the spreadsheet's ROUND and a calculator round (34.15 gives 34.2, -0.05 gives -0.1), and sums of
// scores kept exact in whole thousandths, so that a quotient such as 2049 / 60 reaches the rounding
// as the double nearest to 34.15 and not as the trace of a binary sum.

#include <string>

namespace varnex {

/// The value rounded to `decimals` decimals (0 to 15), half away from zero, on the shortest
/// decimal text that reads back as the value: the double 34.15 (really 34.1499999…) gives 34.2.
/// A zero result is +0; infinities and NaN come back unchanged.
double roundHalfAway(double value, int decimals);

/// The value rounded by roundHalfAway, written with exactly `decimals` decimals ("34.2", "6.3").
std::string roundedText(double value, int decimals);

/// The value in whole thousandths, to the nearest, kept within ±10^15: a score or total of at
/// most three decimals exactly as typed, for sums without binary traces.
long long toThousandths(double value);

/// Whole thousandths divided by `divisor` (a head count), as the double nearest to the exact
/// quotient: 2049000 thousandths over 60 give the double nearest to 34.15, which rounds to 34.2.
double fromThousandths(long long thousandths, long long divisor = 1);

}  // namespace varnex
