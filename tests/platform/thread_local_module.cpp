// A library with a thread-local variable, for the tests to load after the start, as the image plugins
// load the JPEG decoder (which keeps one): the C library allocates the variable's block when a thread
// first reads it.
extern "C" __attribute__((visibility("default"))) int* HxThreadLocalCounter() {
    static thread_local int counter = 0;
    ++counter;
    return &counter;
}
