// Test entry: a QApplication for fonts, images and widgets, then GoogleTest.  The per-user data
// folder (where the settings file lives) is a fresh temporary folder, so that no test reads or
// writes the files of the user running it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

#include <cstdlib>

#if defined(__SANITIZE_ADDRESS__)
// Under the sanitizers, __tls_get_addr is not followed.  gcc 12's runtime, following it, guesses the
// extent of the thread-local block a library loaded after the start gets on its first read (the JPEG
// decoder the image plugins load keeps such a variable): when the block happens to begin 16 bytes into
// a page, it takes the 16 bytes before it, which are the allocator's own header of the block, for the
// header glibc 2.19 wrote there, and reads the block's start and size from them.  The leak check at the
// program's end then scans from an address near 0, its tracer faults ("Tracer caught signal 11") and the
// program fails after every test passed.  Where the block lies depends on all that was allocated before
// it (the tests run, the environment: a desktop session's XDG_RUNTIME_DIR was enough).  Not followed,
// those blocks are still scanned, as the leak check holds what the dynamic linker allocates reachable
// and scans it, and leaks are still reported.
extern "C" const char* __asan_default_options() {
    return "intercept_tls_get_addr=0";
}
#endif

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QTemporaryDir dataHome;
    if (dataHome.isValid())
        setenv("XDG_DATA_HOME", dataHome.path().toLocal8Bit().constData(), 1);
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName("Vorlane");
    QCoreApplication::setApplicationName("HalvixTest");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
