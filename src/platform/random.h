// The program's random numbers: the classic Windows sequence, 0..32767, reproducible from a seed.
#pragma once

constexpr int HX_RAND_MAX = 32767;

// Sets the state (1 when the program starts).
void HxSrand(unsigned seed);
// state = state * 214013 + 2531011; returns (state >> 16) & 0x7FFF.
int HxRand();
