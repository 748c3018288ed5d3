#include <QApplication>
#include <gtest/gtest.h>

// Every test runs headless: the offscreen platform unless the test's own
// environment names another (for example offscreen with a screen layout).
int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
