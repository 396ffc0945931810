// The tests' main for code that draws text without a window (the PDF writer among every
// export): fonts need a Qt Gui application, here on the offscreen platform.
#include <QGuiApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
