#include <gtest/gtest.h>
#include <QApplication>
#include <cstdlib>

#include "tests/support/TempHome.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
#ifdef QUILLANE_TEST_BIN_DIR
    setenv("QUILLANE_BIN_DIR", QUILLANE_TEST_BIN_DIR, 0);
#endif
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen")
                                                                    : qgetenv("QT_QPA_PLATFORM"));
    // The settings store and the desktop folder live under this temporary home.
    quillane::test::TempHome home;
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
