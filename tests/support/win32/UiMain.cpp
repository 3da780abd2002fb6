// gtest's main for the wizard on the Win32 backend. The settings are the test program's own
// registry key (named after it, so never the installed program's), emptied before and after.
#include <gtest/gtest.h>

#include "tests/support/Backend.h"

int main(int argc, char** argv) {
    backend::ClearSettings();
    ::testing::InitGoogleTest(&argc, argv);
    const int status = RUN_ALL_TESTS();
    backend::ClearSettings();
    return status;
}
