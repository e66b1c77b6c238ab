#include <gtest/gtest.h>

#include "engine/hooks.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    qx::init_operator_table();
    return RUN_ALL_TESTS();
}
