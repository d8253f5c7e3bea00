// The double-buffered timer queries end up in the right frame and pass, including passes that run
// in some frames only and the frames still in flight when timing finishes.
#include "gl_context.hpp"
#include "render/pass_timer.hpp"

#include <gtest/gtest.h>

TEST(PassTimer, EveryFrameGetsItsOwnPassTimesAndCpuTime) {
    GLint bits = 0;
    glGetQueryiv(GL_TIME_ELAPSED, GL_QUERY_COUNTER_BITS, &bits);
    ASSERT_GT(bits, 0) << "this driver has no timer queries";

    PassTimer timer;
    for (int frame = 0; frame < 5; ++frame) {
        beginTimedFrame(timer);
        beginTimedPass(timer, "clear");
        glClear(GL_COLOR_BUFFER_BIT);
        endTimedPass(timer);
        // A pass that joins in the third frame, as the character's passes do.
        if (frame >= 2) {
            beginTimedPass(timer, "late");
            glClear(GL_COLOR_BUFFER_BIT);
            endTimedPass(timer);
        }
    }
    finishTiming(timer);

    const TimingRecord& record = timer.record;
    ASSERT_EQ(record.passNames, (std::vector<std::string>{"clear", "late"}));
    ASSERT_EQ(record.frames.size(), 5u);
    for (size_t frame = 0; frame < 5; ++frame) {
        SCOPED_TRACE(frame);
        const FrameTimes& times = record.frames[frame];
        EXPECT_GE(times.cpuFrameMs, 0.0);
        ASSERT_GE(times.passMs.size(), 1u);
        EXPECT_GE(times.passMs[0], 0.0);
        const bool lateRan = frame >= 2;
        EXPECT_EQ(times.passMs.size() > 1 && times.passMs[1] >= 0.0, lateRan);
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
