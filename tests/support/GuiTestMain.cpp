#include <QApplication>
#include <QStandardPaths>
#include <gmock/gmock.h>

int main(int argc, char **argv)
{
#ifndef _WIN32
    // Window tests need no display: draw offscreen unless told otherwise.
    // (Windows draws with its own platform, on the desktop it runs on.)
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
    QApplication app(argc, argv);
    // Settings a window keeps go to a test folder, never the user's.
    QStandardPaths::setTestModeEnabled(true);
    ::testing::InitGoogleMock(&argc, argv);
    return RUN_ALL_TESTS();
}
