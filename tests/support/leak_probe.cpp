// A test program that leaks a block: the sanitizer run, with the settings of every test program, must
// report it (leak detection stays on).
#include <gtest/gtest.h>

namespace {
int* volatile g_block = nullptr;
}

TEST(LeakProbe, ABlockNoOneFreesIsLost) {
    g_block = new int[4]{1, 2, 3, 4};
    EXPECT_EQ(g_block[3], 4);
    g_block = nullptr;
}
