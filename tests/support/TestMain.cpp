#include <gtest/gtest.h>
#include <cstdlib>

#include "tests/support/TempHome.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
#ifdef QUILLANE_TEST_BIN_DIR
    setenv("QUILLANE_BIN_DIR", QUILLANE_TEST_BIN_DIR, 0);
#endif
    quillane::test::TempHome home;  // no test may touch the real home folder
    return RUN_ALL_TESTS();
}
