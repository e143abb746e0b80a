// The test program's entry: real window coordinates at any DPI, then the cases.
#include "Driver.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    e2e::BecomeDpiAware();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
