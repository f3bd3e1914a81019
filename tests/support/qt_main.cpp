// A GoogleTest main for tests that need a QApplication (offscreen).
#include <QApplication>
#include <QStandardPaths>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    // Remembered settings go to a test folder, never the user's.
    QStandardPaths::setTestModeEnabled(true);
    QApplication application(argc, argv);
    // Settings and standard folders under Qt's test folders, never the user's.
    QStandardPaths::setTestModeEnabled(true);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
