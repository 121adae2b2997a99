// The level checker, run as a real process on the small levels in tests/data.

#include "support/Process.h"

#include <gtest/gtest.h>

namespace {

const std::string DATA = std::string(BEAMWORKS_SOURCE_DIR) + "/tests/data";

ProcessResult check(const std::string& args) {
    return runIn(DATA, std::string("'") + BEAMWORKS_GAME_DIR + "/beamworks-check' --data '" +
                           BEAMWORKS_GAME_DIR + "' " + args);
}

} // namespace

TEST(CheckTool, SummaryLinePerLevel) {
    const ProcessResult r = check("solved.txt unsolved.txt crossings.txt");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "solved.txt: segments=2 goals=1/1 solved=yes\n"
                     "unsolved.txt: segments=1 goals=0/2 solved=no\n"
                     "crossings.txt: segments=3 goals=0/0 solved=yes\n");
}

TEST(CheckTool, GoalLines) {
    const ProcessResult r = check("--goals unsolved.txt");
    EXPECT_EQ(r.out, "unsolved.txt: segments=1 goals=0/2 solved=no\n"
                     "  goal 1 colour=1 satisfied=no beams=1\n"
                     "  goal 2 colour=7 satisfied=no beams=0\n");
}

TEST(CheckTool, SegmentLinesInOrderWithMasks) {
    const ProcessResult r = check("--segments crossings.txt solved.txt");
    EXPECT_EQ(r.out,
              "crossings.txt: segments=3 goals=0/0 solved=yes\n"
              "  segment 1 colour=7 intensity=32 from=(0.00,0.00,0.00) to=(0.00,0.00,-100.00) "
              "owner=Emitter hit=none mask=3\n"
              "  segment 2 colour=7 intensity=32 from=(0.00,0.00,-100.00) to=(0.00,0.00,-200.00) "
              "owner=Emitter hit=none mask=2\n"
              "  segment 3 colour=7 intensity=32 from=(0.00,0.00,-200.00) to=(0.00,0.00,-390.00) "
              "owner=Emitter hit=Wall mask=0\n"
              "solved.txt: segments=2 goals=1/1 solved=yes\n"
              "  segment 1 colour=7 intensity=32 from=(0.00,0.00,0.00) to=(0.00,0.00,-200.00) "
              "owner=Emitter hit=ColorFilter mask=1\n"
              "  segment 2 colour=1 intensity=32 from=(0.00,0.00,-200.00) to=(0.00,0.00,-485.00) "
              "owner=ColorFilter hit=FinshHead mask=0\n");
}

TEST(CheckTool, UnreadableFileGoesOnAndExitsTwo) {
    const ProcessResult r = check("missing.txt solved.txt");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "missing.txt: cannot read the level file\n"
                     "solved.txt: segments=2 goals=1/1 solved=yes\n");
}

TEST(CheckTool, MissingModelsAndBadUsage) {
    const ProcessResult models =
        runIn(DATA, std::string("'") + BEAMWORKS_GAME_DIR + "/beamworks-check' solved.txt");
    EXPECT_EQ(models.status, 2);
    EXPECT_NE(models.out.find("cannot load model file Auge.3ds"), std::string::npos);
    const ProcessResult usage =
        runIn(DATA, std::string("'") + BEAMWORKS_GAME_DIR + "/beamworks-check' --bogus x.txt");
    EXPECT_EQ(usage.status, 1);
    EXPECT_NE(usage.out.find("usage: beamworks-check"), std::string::npos);
    const ProcessResult none = check("");
    EXPECT_EQ(none.status, 1);
}

TEST(CheckTool, TheDefaultLevelLoadsFromTheGameFolder) {
    const ProcessResult r = runIn(BEAMWORKS_GAME_DIR, "./beamworks-check level2.txt");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.rfind("level2.txt: segments=", 0), 0u) << r.out;
}
