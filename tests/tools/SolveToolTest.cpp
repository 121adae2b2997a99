// The level solver, run as a real process on the small levels in tests/data/solver and on the
// pack; every level it writes is read back by the checker.

#include "support/Process.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <vector>

namespace {

const std::string SOURCE = BEAMWORKS_SOURCE_DIR;
const std::string GAME = BEAMWORKS_GAME_DIR;
const std::string SOLVE = "'" + GAME + "/beamworks-solve' --data '" + GAME + "' ";
const std::string CHECK = "'" + GAME + "/beamworks-check' --data '" + GAME + "' ";

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> list;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        list.push_back(line);
    }
    return list;
}

bool orientationLine(const std::string& line) {
    return line.rfind("# YRo ", 0) == 0 || line.rfind("+ XRo ", 0) == 0;
}

// The output keeps every line of the input but turn and tilt lines, which it may change or add.
void expectOnlyOrientationLinesDiffer(const std::string& input, const std::string& output) {
    const std::vector<std::string> in = lines(input), out = lines(output);
    std::size_t i = 0, o = 0;
    while (i < in.size() && o < out.size()) {
        if (in[i] == out[o] || (orientationLine(in[i]) && orientationLine(out[o]))) {
            ++i, ++o;
        } else {
            ASSERT_TRUE(orientationLine(out[o])) << "changed line: " << out[o];
            ++o;
        }
    }
    EXPECT_EQ(i, in.size());
    for (; o < out.size(); ++o) {
        EXPECT_TRUE(orientationLine(out[o])) << out[o];
    }
}

struct Solved {
    ProcessResult run;
    std::string input;
    std::string output;
};

// Solves `level` into a file of the build tree and checks the file with the checker.
Solved solveAndCheck(const std::string& level, const std::string& name) {
    const std::string out = std::string(BEAMWORKS_BINARY_DIR) + "/solved-" + name;
    Solved s{runIn(GAME, SOLVE + "--time-limit 120 -o '" + out + "' '" + level + "' 2>&1"),
             readFile(level), ""};
    if (s.run.status == 0) {
        s.output = readFile(out);
        const ProcessResult check = runIn(GAME, CHECK + "'" + out + "'");
        EXPECT_NE(check.out.find("solved=yes"), std::string::npos) << check.out;
        EXPECT_NE(check.out.find("goals="), std::string::npos);
    }
    return s;
}

} // namespace

TEST(SolveTool, SmallLevelsComeOutSolvedWithOnlyOrientationLinesChanged) {
    std::map<std::string, std::string> outputs;
    for (const char* name :
         {"one-mirror.txt", "two-mirrors-filter.txt", "half-mirror-split.txt", "tilt.txt"}) {
        SCOPED_TRACE(name);
        const Solved s = solveAndCheck(SOURCE + "/tests/data/solver/" + name, name);
        ASSERT_EQ(s.run.status, 0) << s.run.out;
        EXPECT_NE(s.run.out.find(": solved by turning "), std::string::npos);
        EXPECT_NE(s.output, s.input);
        expectOnlyOrientationLinesDiffer(s.input, s.output);
        outputs[name] = s.output;
    }
    // An existing turn line is changed; a missing line is added after the block's last one.
    EXPECT_NE(outputs["half-mirror-split.txt"].find("@ HMI\n# Pos 0;0;0;\n# YRo 45;\n@ FIL"),
              std::string::npos);
    EXPECT_NE(outputs["tilt.txt"].find("@ MIR\n# Pos 0;0;0;\n+ XRo -60;\n@ FIN"),
              std::string::npos);
}

TEST(SolveTool, EveryPackLevelWithoutCarryingIsSolved) {
    for (int n : {1, 2, 3, 4, 5, 6, 7, 9}) {
        const std::string name = "level" + std::to_string(n) + ".txt";
        SCOPED_TRACE(name);
        const Solved s = solveAndCheck(GAME + "/" + name, name);
        ASSERT_EQ(s.run.status, 0) << s.run.out;
        expectOnlyOrientationLinesDiffer(s.input, s.output);
    }
    // The mirror of level 8 has to be carried to the ceiling first.
    const ProcessResult carried = runIn(GAME, SOLVE + "level8.txt");
    EXPECT_EQ(carried.status, 1);
    EXPECT_EQ(carried.out, "level8.txt: no solution by turning in steps of 15 degrees\n");
}

TEST(SolveTool, ABoundOnTheElementsToTurn) {
    const std::string dir = SOURCE + "/tests/data/solver";
    const ProcessResult one = runIn(dir, SOLVE + "--max-elements 1 two-mirrors-filter.txt");
    EXPECT_EQ(one.status, 1);
    EXPECT_EQ(one.out, "two-mirrors-filter.txt: no solution by turning at most 1 element in "
                       "steps of 15 degrees\n");
    const ProcessResult two =
        runIn(dir, "(" + SOLVE + "--max-elements 2 two-mirrors-filter.txt >/dev/null)");
    EXPECT_EQ(two.status, 0);
    EXPECT_EQ(two.out.rfind("two-mirrors-filter.txt: solved by turning 2 elements (", 0), 0u);
    for (const char* bound : {"0", "-1", "1.5", "x", ""}) {
        const ProcessResult usage =
            runIn(dir, SOLVE + "--max-elements " + bound + " one-mirror.txt");
        EXPECT_EQ(usage.status, 1) << bound;
        EXPECT_NE(usage.out.find("usage: beamworks-solve"), std::string::npos) << bound;
    }
}

TEST(SolveTool, SolvedLevelComesBackUnchanged) {
    const ProcessResult r = runIn(SOURCE + "/tests/data", "(" + SOLVE + "solved.txt 2>/dev/null)");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, readFile(SOURCE + "/tests/data/solved.txt"));
    const ProcessResult report =
        runIn(SOURCE + "/tests/data", "(" + SOLVE + "solved.txt >/dev/null)");
    EXPECT_EQ(report.out.rfind("solved.txt: solved by turning 0 elements (", 0), 0u) << report.out;
}

TEST(SolveTool, TimeLimitAndBadInput) {
    const std::string dir = SOURCE + "/tests/data/solver";
    const ProcessResult slow = runIn(GAME, SOLVE + "--time-limit 1e-9 level9.txt");
    EXPECT_EQ(slow.status, 3);
    EXPECT_EQ(slow.out, "level9.txt: no solution found within 1e-09 s\n");
    EXPECT_EQ(runIn(dir, SOLVE + "missing.txt").status, 2);
    const ProcessResult models = runIn(dir, "'" + GAME + "/beamworks-solve' one-mirror.txt");
    EXPECT_EQ(models.status, 2);
    EXPECT_NE(models.out.find("cannot load model file Auge.3ds"), std::string::npos);
    for (const char* args :
         {"", "--step 7 one-mirror.txt", "--step x one-mirror.txt", "--time-limit 0 one-mirror.txt",
          "one-mirror.txt tilt.txt", "--bogus one-mirror.txt", "-o"}) {
        const ProcessResult usage = runIn(dir, SOLVE + args);
        EXPECT_EQ(usage.status, 1) << args;
        EXPECT_NE(usage.out.find("usage: beamworks-solve"), std::string::npos) << args;
    }
}
