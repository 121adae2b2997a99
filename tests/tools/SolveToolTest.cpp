// The level solver, run as a real process on the small levels in tests/data/solver; every level
// it writes is read back by the checker. (That it solves each level of the pack is a test of its
// own per level, in tests/levels.)

#include "support/Process.h"
#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

const std::string SOURCE = BEAMWORKS_SOURCE_DIR;
const std::string GAME = BEAMWORKS_GAME_DIR;
const std::string SOLVE = "'" + GAME + "/beamworks-solve' --data '" + GAME + "' ";
const std::string CHECK = "'" + GAME + "/beamworks-check' --data '" + GAME + "' ";

/// The text without its turn and tilt lines, which the solver may change or add.
std::string withoutOrientation(const std::string& text) {
    std::istringstream in(text);
    std::string kept;
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("# YRo ", 0) != 0 && line.rfind("+ XRo ", 0) != 0) {
            kept += line + "\n";
        }
    }
    return kept;
}

} // namespace

TEST(SolveTool, SmallLevelsComeOutSolvedWithOnlyOrientationLinesChanged) {
    const std::pair<const char*, const char*> levels[] = {
        // An existing turn line is changed; a missing line is added after the block's last one.
        {"half-mirror-split.txt", "@ HMI\n# Pos 0;0;0;\n# YRo 45;\n@ FIL"},
        {"tilt.txt", "@ MIR\n# Pos 0;0;0;\n+ XRo -60;\n@ FIN"},
    };
    for (const auto& [name, turned] : levels) {
        SCOPED_TRACE(name);
        const std::string level = SOURCE + "/tests/data/solver/" + name;
        const std::string out = std::string(BEAMWORKS_BINARY_DIR) + "/solved-" + name;
        const ProcessResult run = runIn(GAME, SOLVE + "-o '" + out + "' '" + level + "'");
        ASSERT_EQ(run.status, 0) << run.out;
        EXPECT_NE(run.out.find(": solved by turning "), std::string::npos);
        const ProcessResult check = runIn(GAME, CHECK + "'" + out + "'");
        EXPECT_NE(check.out.find("solved=yes"), std::string::npos) << check.out;
        const std::string output = readFile(out);
        EXPECT_NE(output.find(turned), std::string::npos) << output;
        EXPECT_EQ(withoutOrientation(output), withoutOrientation(readFile(level)));
    }
}

TEST(SolveTool, ACarriedHolderIsWrittenAsAMoveAndTurnsAndReadsBackSolved) {
    const std::string level = SOURCE + "/tests/solver/levels/carry.txt";
    const std::string out = std::string(BEAMWORKS_BINARY_DIR) + "/solved-carry.txt";
    const ProcessResult run = runIn(GAME, SOLVE + "-o '" + out + "' '" + level + "'");
    ASSERT_EQ(run.status, 0) << run.out;
    EXPECT_NE(run.out.find(": solved by turning 0 elements and carrying 1 (2 moves, "),
              std::string::npos)
        << run.out;
    EXPECT_NE(runIn(GAME, CHECK + "'" + out + "'").out.find("solved=yes"), std::string::npos);
    // The position line gets the spot on the back wall; the turns follow it.
    EXPECT_NE(readFile(out).find("@ MIRROR\n# Pos -200;0;-390;\n# YRo 30;\n# ZRo "),
              std::string::npos)
        << readFile(out);
}

TEST(SolveTool, ElementsTurnedOffTheGridTakeNoMoreTurnsThanOnIt) {
    // Copies of pack levels with every mirror, half mirror and filter turned 1 to 7 degrees and
    // tilted -2 to 2 (as fine turns leave them) need as many turns as the levels as shipped.
    const ScratchDir dir("off-grid");
    const auto turned = [](const std::string& level) {
        const std::string said = runIn(GAME, "(" + SOLVE + "'" + level + "' >/dev/null)").out;
        return said.substr(said.find(':'), said.find(" (") - said.find(':'));
    };
    const std::string offGrid = R"(awk '{ print } /^@ (MIR|HMI|FIL)/ {
        print "# YRo " (k % 7 + 1) ";\n+ XRo " (k++ % 5 - 2) ";" }' )";
    for (const char* name : {"level3.txt", "level13.txt", "level24.txt"}) {
        const std::string level = SOURCE + "/data/levels/" + name, copy = dir.file(name);
        ASSERT_EQ(runIn(SOURCE, offGrid + "'" + level + "' > '" + copy + "'").status, 0);
        EXPECT_EQ(turned(copy), turned(level)) << name;
    }
}

TEST(SolveTool, ExitStatusSaysSolvedNoSolutionUnreadableOrOutOfTime) {
    const struct {
        const char* dir;
        const char* args;
        int status;
        const char* said;
    } cases[] = {
        {"solver", "walled-in.txt", 1,
         "walled-in.txt: no solution by turning or carrying in steps"},
        {"../solver/levels", "--par carry.txt", 0,
         "carry.txt: solved by turning 0 elements and carrying 1 (2 moves, par 2, "},
        {"../solver/levels", "walled-in-room.txt", 1,
         "walled-in-room.txt: no solution by turning or carrying in steps of 15 degrees"},
        {"solver", "--max-elements 1 --no-carry two-mirrors-filter.txt", 1,
         "two-mirrors-filter.txt: no solution by turning at most 1 element in steps of"},
        {"solver", "--max-elements 2 two-mirrors-filter.txt", 0,
         "two-mirrors-filter.txt: solved by turning 2 elements ("},
        {"", "solved.txt", 0, "solved.txt: solved by turning 0 elements ("},
        {"solver", "missing.txt", 2, "missing.txt"},
        {"game", "--time-limit 1e-9 level9.txt", 3, "level9.txt: no solution found within 1e-09 s"},
    };
    for (const auto& c : cases) {
        const std::string dir =
            c.dir == std::string("game") ? GAME : SOURCE + "/tests/data/" + c.dir;
        const ProcessResult r = runIn(dir, "(" + SOLVE + c.args + " >/dev/null)"); // the report
        EXPECT_EQ(r.status, c.status) << c.args;
        EXPECT_EQ(r.out.rfind(c.said, 0), 0u) << c.args << ": " << r.out;
    }
    // A level solved already comes back unchanged.
    EXPECT_EQ(runIn(SOURCE + "/tests/data", "(" + SOLVE + "solved.txt 2>/dev/null)").out,
              readFile(SOURCE + "/tests/data/solved.txt"));
}

TEST(SolveTool, WithoutModelsOrWithBadArgumentsItStops) {
    const std::string dir = SOURCE + "/tests/data/solver";
    const ProcessResult models = runIn(dir, "'" + GAME + "/beamworks-solve' one-mirror.txt");
    EXPECT_EQ(models.status, 2);
    EXPECT_NE(models.out.find("Auge.3ds"), std::string::npos) << models.out;
    for (const char* args :
         {"", "--step 7 one-mirror.txt", "--step x one-mirror.txt", "--time-limit 0 one-mirror.txt",
          "one-mirror.txt tilt.txt", "--bogus one-mirror.txt", "-o", "--max-elements 0 tilt.txt",
          "--max-elements -1 tilt.txt", "--max-elements 1.5 tilt.txt", "--max-elements x tilt.txt",
          "--max-elements"}) {
        const ProcessResult usage = runIn(dir, SOLVE + args);
        EXPECT_EQ(usage.status, 1) << args;
        EXPECT_NE(usage.out.find("usage: beamworks-solve"), std::string::npos) << args;
    }
}
