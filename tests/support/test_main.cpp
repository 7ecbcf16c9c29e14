// Test entry: a QApplication for fonts, images and widgets, then GoogleTest.  The per-user data
// folder (where the settings file lives) is a fresh temporary folder, so that no test reads or
// writes the files of the user running it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

#include <cstdlib>

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
