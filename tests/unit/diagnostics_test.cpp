// The text of the GL debug callback, its two ignored ids, and which OpenGL versions are accepted. (The
// GLFW error line and the refusal of an older context are checked on the viewer by the platform
// robustness script.)
#include "app/diagnostics.hpp"
#include "app/window.hpp"

#include <gtest/gtest.h>

#include <tuple>

// Every source has its word; only errors have a type word; notifications have no severity word.
TEST(GlDebugMessage, JoinsTheMessageAndItsWordsIntoOneLine) {
    const struct {
        GLenum source, type;
        GLuint id;
        GLenum severity;
        const char* message;
        const char* line;
    } rows[] = {
        {GL_DEBUG_SOURCE_API, GL_DEBUG_TYPE_ERROR, 1282, GL_DEBUG_SEVERITY_HIGH, "GL_INVALID_OPERATION",
         "OpenGL Error: GL_INVALID_OPERATION [Source = API, Type = Error, Severity = High, ID = 1282]"},
        {GL_DEBUG_SOURCE_WINDOW_SYSTEM, GL_DEBUG_TYPE_PERFORMANCE, 7, GL_DEBUG_SEVERITY_NOTIFICATION, "slow",
         "OpenGL Error: slow [Source = Window System, Type = Unknown, Severity = Unknown, ID = 7]"},
        {GL_DEBUG_SOURCE_SHADER_COMPILER, GL_DEBUG_TYPE_ERROR, 1, GL_DEBUG_SEVERITY_LOW, "m",
         "OpenGL Error: m [Source = Shader Compiler, Type = Error, Severity = Low, ID = 1]"},
        {GL_DEBUG_SOURCE_THIRD_PARTY, GL_DEBUG_TYPE_MARKER, 4294967295u, GL_DEBUG_SEVERITY_MEDIUM, "",
         "OpenGL Error:  [Source = Third Party, Type = Unknown, Severity = Medium, ID = 4294967295]"},
        {GL_DEBUG_SOURCE_APPLICATION, GL_DEBUG_TYPE_ERROR, 2, GL_DEBUG_SEVERITY_HIGH, "a",
         "OpenGL Error: a [Source = Application, Type = Error, Severity = High, ID = 2]"},
        {GL_DEBUG_SOURCE_OTHER, GL_DEBUG_TYPE_ERROR, 3, GL_DEBUG_SEVERITY_HIGH, "o",
         "OpenGL Error: o [Source = Other, Type = Error, Severity = High, ID = 3]"},
        {GL_DEBUG_TYPE_ERROR, GL_DEBUG_TYPE_ERROR, 4, GL_DEBUG_SEVERITY_HIGH, "u",
         "OpenGL Error: u [Source = Unknown, Type = Error, Severity = High, ID = 4]"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(formatGlDebugMessage(row.source, row.type, row.id, row.severity, row.message), row.line);
}

TEST(GlDebugMessage, TheCallbackPrintsOneLineExceptForTheTwoIgnoredIds) {
    ::testing::internal::CaptureStdout();
    onGlDebugMessage(GL_DEBUG_SOURCE_API, GL_DEBUG_TYPE_ERROR, 131185, GL_DEBUG_SEVERITY_HIGH, -1, "a",
                     nullptr);
    onGlDebugMessage(GL_DEBUG_SOURCE_SHADER_COMPILER, GL_DEBUG_TYPE_OTHER, 131218, GL_DEBUG_SEVERITY_LOW, 1,
                     "b", nullptr);
    onGlDebugMessage(GL_DEBUG_SOURCE_API, GL_DEBUG_TYPE_ERROR, 131184, GL_DEBUG_SEVERITY_HIGH, 1, "c",
                     nullptr);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(),
              "OpenGL Error: c [Source = API, Type = Error, Severity = High, ID = 131184]\n");
}

TEST(GlVersion, ReadsTheVersionAtTheStartOfTheStringAndAcceptsFourThreeAndLaterOnly) {
    int major = -1;
    int minor = -1;
    parseGlVersion("4.5 (Core Profile) Mesa 22.3.6", major, minor);
    EXPECT_EQ(major * 10 + minor, 45);
    parseGlVersion("OpenGL ES 3.2", major, minor);
    EXPECT_EQ(major, 0);
    parseGlVersion(nullptr, major, minor);
    EXPECT_EQ(major * 10 + minor, 0);
    for (const auto& [wantMajor, wantMinor, accepted] :
         {std::tuple{4, 3, true}, {4, 6, true}, {5, 0, true}, {4, 2, false}, {3, 3, false}, {0, 0, false}})
        EXPECT_EQ(meetsRequiredGlVersion(wantMajor, wantMinor), accepted) << wantMajor << "." << wantMinor;
}
