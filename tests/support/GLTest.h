// GoogleTest fixture for tests that draw: the display is open and the tick is settable.
#pragma once

#include <gtest/gtest.h>

#include "support/GLContext.h"

class GLTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { gltest::openDisplay(); }
    void SetUp() override { gltest::setTick(1000); }
    void TearDown() override { gltest::restoreTick(); }
};
