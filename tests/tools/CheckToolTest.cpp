// The level checker, run as a real process on the small levels in tests/data.

#include "support/Process.h"

#include <gtest/gtest.h>

namespace {

const std::string DATA = std::string(BEAMWORKS_SOURCE_DIR) + "/tests/data";
const std::string TOOL = std::string("'") + BEAMWORKS_GAME_DIR + "/beamworks-check'";

ProcessResult check(const std::string& args) {
    return runIn(DATA, TOOL + " --data '" + BEAMWORKS_GAME_DIR + "' " + args);
}

} // namespace

TEST(CheckTool, SummaryGoalAndSegmentLines) {
    const ProcessResult r = check("--goals solved.txt unsolved.txt crossings.txt");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "solved.txt: segments=2 goals=1/1 solved=yes\n"
                     "  goal 1 colour=1 satisfied=yes beams=1\n"
                     "unsolved.txt: segments=1 goals=0/2 solved=no\n"
                     "  goal 1 colour=1 satisfied=no beams=1\n"
                     "  goal 2 colour=7 satisfied=no beams=0\n"
                     "crossings.txt: segments=3 goals=0/0 solved=yes\n");
    EXPECT_EQ(check("--segments solved.txt").out,
              "solved.txt: segments=2 goals=1/1 solved=yes\n"
              "  segment 1 colour=7 intensity=32 from=(0.00,0.00,0.00) to=(0.00,0.00,-200.00) "
              "owner=Emitter hit=ColorFilter mask=1\n"
              "  segment 2 colour=1 intensity=32 from=(0.00,0.00,-200.00) to=(0.00,0.00,-485.00) "
              "owner=ColorFilter hit=FinshHead mask=0\n");
}

TEST(CheckTool, ViewLinesNameTheElementsOutsideTheTurnedStartView) {
    // Looking along -x: straight ahead of an unturned view is outside, and so is what stands
    // behind the eye. Walls do not count. Without a camera the eye sits in the laser, and the
    // filter close ahead is bigger than the view: only wholly inside counts. Neither has a room;
    // the last two have one, within the far distance and past it.
    const ProcessResult r = check("--view --goals view.txt solved.txt reach.txt reach-far.txt");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "view.txt: segments=1 goals=0/1 solved=no\n"
                     "  goal 1 colour=7 satisfied=no beams=0\n"
                     "  view: 2/4 elements in the start view\n"
                     "  outside: Mirror 2\n"
                     "  outside: ColorFilter 7\n"
                     "  farthest: the walls do not close the room around the eye\n"
                     "solved.txt: segments=2 goals=1/1 solved=yes\n"
                     "  goal 1 colour=1 satisfied=yes beams=1\n"
                     "  view: 1/3 elements in the start view\n"
                     "  outside: Emitter 1\n"
                     "  outside: ColorFilter 2\n"
                     "  farthest: the walls do not close the room around the eye\n"
                     "reach.txt: segments=0 goals=0/0 solved=yes\n"
                     "  view: 0/0 elements in the start view\n"
                     "  farthest: 1300 units from the eye (far distance 2000)\n"
                     "reach-far.txt: segments=0 goals=0/0 solved=yes\n"
                     "  view: 0/0 elements in the start view\n"
                     "  farthest: 2452 units from the eye (far distance 2000): too far, keep the "
                     "room within 1990\n");
    // Where the elements ahead lie in the window: the laser straight ahead in the middle, the
    // goal a little to its right.
    const ProcessResult screen = check("--screen view.txt");
    EXPECT_NE(screen.out.find("  screen: Emitter 1 at 512 384\n"), std::string::npos) << screen.out;
    EXPECT_NE(screen.out.find("  screen: FinshHead 6 at 570 384\n"), std::string::npos);
    EXPECT_EQ(screen.out.find("screen: Mirror 2"), std::string::npos); // beside the eye
}

TEST(CheckTool, BadInputExitCodes) {
    // An unreadable level: the others are still checked, and the status is 2.
    const ProcessResult r = check("missing.txt solved.txt");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "missing.txt: cannot read the level file\n"
                     "solved.txt: segments=2 goals=1/1 solved=yes\n");
    // No models where it looks for them.
    const ProcessResult models = runIn(DATA, TOOL + " solved.txt");
    EXPECT_EQ(models.status, 2);
    EXPECT_NE(models.out.find("cannot load model file Auge.3ds"), std::string::npos);
    // Bad usage.
    const ProcessResult usage = runIn(DATA, TOOL + " --bogus x.txt");
    EXPECT_EQ(usage.status, 1);
    EXPECT_NE(usage.out.find("usage: beamworks-check"), std::string::npos);
    EXPECT_EQ(check("").status, 1);
}
