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
        // An error left by a test outside this fixture is not this test's: said, and cleared.
        const std::string before = GLErrorCheck::takeErrors();
        EXPECT_EQ(before, "") << "OpenGL errors pending before the test began";
        gltest::setTick(1000);
    }
    void TearDown() override {
        gltest::restoreTick();
        EXPECT_EQ(GLErrorCheck::takeErrors(), "") << "OpenGL errors left behind by the test";
    }
};
