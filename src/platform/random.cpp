// The classic Windows linear congruential generator.
#include "platform/random.h"

#include <cstdint>

namespace {
std::uint32_t g_randState = 1;
}

void HxSrand(unsigned seed) { g_randState = seed; }

int HxRand() {
    g_randState = g_randState * 214013u + 2531011u;
    return int((g_randState >> 16) & 0x7FFF);
}
