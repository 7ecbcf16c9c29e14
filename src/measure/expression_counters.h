// The six counters that the expression functions set, read and accumulate and that the series
// buttons loop over; 0 at start and never saved.
#pragma once

extern double g_counters[6];

// Counter n (1 to 6), or null for any other number.
double* HxExpressionCounter(int n);
