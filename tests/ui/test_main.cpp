// The window tests need a QApplication: it is created here, on the offscreen platform unless the
// environment asks for another one, with the user's folders redirected to Qt's test locations.
// The offscreen screen is 1280×720, the smallest screen the window is made for.

#include <gtest/gtest.h>

#include <QApplication>
#include <QStandardPaths>

int main(int argc, char** argv) {
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (platform.isEmpty() || platform == "offscreen")
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" VARNEX_UI_TEST_SCREEN);
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
