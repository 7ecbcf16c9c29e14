// A library loaded after the start whose thread-local block lies 16 bytes into a page, as the JPEG
// decoder's came to lie once a lesson's textures were read after enough other work: the variable keeps
// its value, and the program still ends normally (its leak check at the end scans the block).
#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

TEST(LoadedLibrary, AThreadLocalBlockSixteenBytesIntoAPageIsKeptToTheEnd) {
    void* module = dlopen(HALVIX_THREAD_LOCAL_MODULE, RTLD_NOW);
    ASSERT_NE(module, nullptr) << dlerror();
    auto counter = reinterpret_cast<int* (*)()>(dlsym(module, "HxThreadLocalCounter"));
    ASSERT_NE(counter, nullptr);
    // Blocks of the variable's size until the next one begins 16 bytes into a page: the allocators hand
    // them out 32 bytes apart.  Its first read then allocates the variable's block there.
    std::vector<void*> blocks;
    for (int i = 0; i < 1024; ++i) {
        blocks.push_back(std::malloc(sizeof(int)));
        if ((reinterpret_cast<std::uintptr_t>(blocks.back()) + 32) % 4096 == 16)
            break;
    }
    int* const first = counter();
    for (void* block : blocks)
        std::free(block);
#if defined(__SANITIZE_ADDRESS__)
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(first) % 4096, 16u) << "the block no longer lies where it is tried";
#endif
    EXPECT_EQ(*first, 1);
    EXPECT_EQ(counter(), first);
    EXPECT_EQ(*first, 2);
    // Left loaded, as the image plugins are, until the program ends.
}
