// Entry of every test program: one application object, as in the utility,
// and GoogleTest.
#include <gtest/gtest.h>

#include "app/zorvik_app.h"
#include "framework/app.h"

namespace {
ZorvikApp theApp;
}

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    AfxEnableControlContainer();
    return RUN_ALL_TESTS();
}
