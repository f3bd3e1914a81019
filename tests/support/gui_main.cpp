// A GoogleTest main for tests below the widgets that paint text or pictures
// (fonts need a QGuiApplication), on the offscreen platform.
#include <QGuiApplication>
#include <QStandardPaths>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    // Settings and standard folders under Qt's test folders, never the user's.
    QStandardPaths::setTestModeEnabled(true);
    QGuiApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
