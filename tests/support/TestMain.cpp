#include <QApplication>
#include <gtest/gtest.h>

// Every test runs headless: the offscreen platform unless the test's own
// environment names another (for example offscreen with a screen layout).
int main(int argc, char* argv[])
{
    // A test that asks for the X platform where there is no X display runs
    // offscreen instead, where its cases that need a window system skip.
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (platform.isEmpty() || (platform == "xcb" && qEnvironmentVariableIsEmpty("DISPLAY")))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
