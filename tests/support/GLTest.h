// GoogleTest fixture for tests that draw: the display is open and the tick is settable, and a
// test that leaves an OpenGL error behind fails.
#pragma once

#include <gtest/gtest.h>

#include "main/GLErrorCheck.h"
#include "support/GLContext.h"

class GLTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { gltest::openDisplay(); }
    void SetUp() override {
        // An error pending now was left by code outside the fixture: reported as such here and
        // cleared, so that the check in TearDown holds this test to its own calls only.
        const std::string before = GLErrorCheck::takeErrors();
        EXPECT_EQ(before, "") << "OpenGL errors pending before the test began";
        gltest::setTick(1000);
    }
    void TearDown() override {
        gltest::restoreTick();
        EXPECT_EQ(GLErrorCheck::takeErrors(), "") << "OpenGL errors left behind by the test";
    }
};
