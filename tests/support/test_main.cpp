// Entry of every test program: one application object, as in the utility,
// and GoogleTest.
#include <gtest/gtest.h>

#include "framework/app.h"
#include "support/test_kit.h"

namespace {
ZorvikApp theApp;
}

ZorvikApp& TestApp() { return theApp; }

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    AfxEnableControlContainer();
    theApp.m_kit.m_controller.Load();
    return RUN_ALL_TESTS();
}
