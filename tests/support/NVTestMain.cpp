#include "tests/support/NVTestEnvironment.h"

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new NVJuceEnvironment());
    return RUN_ALL_TESTS();
}
