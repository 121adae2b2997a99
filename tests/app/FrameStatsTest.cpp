#include "app/FrameStats.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

namespace {

FrameStats statsWith(const char* frames, const char* after) {
    setenv("BEAMWORKS_FRAMES", frames, 1);
    if (after) {
        setenv("BEAMWORKS_FRAMES_AFTER", after, 1);
    } else {
        unsetenv("BEAMWORKS_FRAMES_AFTER");
    }
    FrameStats s = FrameStats::fromEnvironment();
    unsetenv("BEAMWORKS_FRAMES");
    unsetenv("BEAMWORKS_FRAMES_AFTER");
    return s;
}

// A frame from `start` with one pass of `ms` milliseconds.
void frame(FrameStats& s, double start, double ms) {
    s.beginFrame(start);
    s.pass("scene", start + ms / 1000);
    s.endFrame(start + ms / 1000);
    s.recordFrameState(0, 1);
}

} // namespace

TEST(FrameStats, FramesBeforeTheDelayAreRunButNotCounted) {
    FrameStats s = statsWith("2", "1.5");
    ASSERT_TRUE(s.enabled());
    frame(s, 10.0, 500); // the first frame starts the clock
    frame(s, 11.0, 500);
    EXPECT_FALSE(s.done());
    frame(s, 11.5, 20); // 1.5 s after the first: counted
    EXPECT_FALSE(s.done());
    frame(s, 11.6, 40);
    EXPECT_TRUE(s.done());
    std::ostringstream out;
    s.print(out);
    EXPECT_NE(out.str().find("over 2 frames"), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("scene: mean 30.000 ms, p95 40.000 ms"), std::string::npos);
    // From one counted start to the next, the wait between frames included.
    EXPECT_NE(out.str().find("period: mean 100.000 ms, p95 100.000 ms"), std::string::npos);
    EXPECT_NE(out.str().find("after each frame: 0 0\n"), std::string::npos) << out.str();
}

TEST(FrameStats, NoDelayOrANonsenseOneCountsFromTheFirstFrame) {
    for (const char* after : {static_cast<const char*>(nullptr), "-3", "nan", "soon"}) {
        FrameStats s = statsWith("1", after);
        frame(s, 5.0, 10);
        EXPECT_TRUE(s.done()) << (after ? after : "none");
    }
}
