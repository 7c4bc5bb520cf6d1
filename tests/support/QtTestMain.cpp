#include <QApplication>
#include <gtest/gtest.h>

#include "tests/support/TempHome.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty()
                                   ? QByteArray("offscreen")
                                   : qgetenv("QT_QPA_PLATFORM"));
    // The settings store and the desktop folder live under this temporary home.
    quillane::test::TempHome home;
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
