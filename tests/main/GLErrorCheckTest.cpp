// OpenGL's error flags named and cleared, and the scene named when its frame leaves one.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <string>

#include "main/GLErrorCheck.h"
#include "main/Timeline.h"
#include "support/GLTest.h"

namespace {

class GLErrorCheckTest : public GLTest {};

// A scene whose every frame sets a matrix mode that does not exist.
class FaultyScene : public Scene {
  public:
    void render() override { glMatrixMode(GL_TEXTURE_2D); }
};

// A scene that leaves the state valid.
class CleanScene : public Scene {
  public:
    void render() override { glMatrixMode(GL_MODELVIEW); }
};

TEST_F(GLErrorCheckTest, ErrorsAreNamedOnceAndCleared) {
    EXPECT_EQ(GLErrorCheck::takeErrors(), "");
    glMatrixMode(GL_TEXTURE_2D);
    EXPECT_EQ(GLErrorCheck::takeErrors(), "GL_INVALID_ENUM");
    EXPECT_EQ(GLErrorCheck::takeErrors(), "");
    glPopAttrib(); // nothing pushed
    EXPECT_EQ(GLErrorCheck::takeErrors(), "GL_STACK_UNDERFLOW");
}

TEST_F(GLErrorCheckTest, TheBuildsThatCheckNameTheSceneWhoseFrameLeftAnError) {
    FaultyScene faulty;
    testing::internal::CaptureStderr();
    Timeline::renderScene(&faulty, "Faulty");
    const std::string err = testing::internal::GetCapturedStderr();
    if (GLErrorCheck::ENABLED) {
        EXPECT_EQ(err, "OpenGL error after a frame of Faulty: GL_INVALID_ENUM\n");
        EXPECT_EQ(GLErrorCheck::takeErrors(), ""); // the check read and cleared it
    } else {
        // The release build does not even read the flag: the error is still there.
        EXPECT_EQ(err, "");
        EXPECT_EQ(GLErrorCheck::takeErrors(), "GL_INVALID_ENUM");
    }

    // A clean frame says nothing.
    CleanScene clean;
    testing::internal::CaptureStderr();
    Timeline::renderScene(&clean, "Clean");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

} // namespace
