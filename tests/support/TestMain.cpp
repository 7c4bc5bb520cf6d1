#include <gtest/gtest.h>

#include "tests/support/TempHome.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    quillane::test::TempHome home;  // no test may touch the real home folder
    return RUN_ALL_TESTS();
}
