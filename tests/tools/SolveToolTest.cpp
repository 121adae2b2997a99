// The level solver, run as a real process on the small levels in tests/data/solver; every level
// it writes is read back by the checker. (That it solves each level of the pack is a test of its
// own per level, in tests/levels.)

#include "support/Process.h"

#include <gtest/gtest.h>

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

} // namespace

TEST(SolveTool, SmallLevelsComeOutSolvedWithOnlyOrientationLinesChanged) {
    std::map<std::string, std::string> outputs;
    for (const char* name : {"half-mirror-split.txt", "tilt.txt"}) {
        SCOPED_TRACE(name);
        const std::string level = SOURCE + "/tests/data/solver/" + name;
        const std::string out = std::string(BEAMWORKS_BINARY_DIR) + "/solved-" + name;
        const ProcessResult run = runIn(GAME, SOLVE + "-o '" + out + "' '" + level + "'");
        ASSERT_EQ(run.status, 0) << run.out;
        EXPECT_NE(run.out.find(": solved by turning "), std::string::npos);
        const ProcessResult check = runIn(GAME, CHECK + "'" + out + "'");
        EXPECT_NE(check.out.find("solved=yes"), std::string::npos) << check.out;
        outputs[name] = readFile(out);
        EXPECT_NE(outputs[name], readFile(level));
        expectOnlyOrientationLinesDiffer(readFile(level), outputs[name]);
    }
    // An existing turn line is changed; a missing line is added after the block's last one.
    EXPECT_NE(outputs["half-mirror-split.txt"].find("@ HMI\n# Pos 0;0;0;\n# YRo 45;\n@ FIL"),
              std::string::npos);
    EXPECT_NE(outputs["tilt.txt"].find("@ MIR\n# Pos 0;0;0;\n+ XRo -60;\n@ FIN"),
              std::string::npos);
}

TEST(SolveTool, ExitStatusSaysSolvedNoSolutionUnreadableOrOutOfTime) {
    const struct {
        const char* dir;
        const char* args;
        int status;
        const char* said;
    } cases[] = {
        {"solver", "walled-in.txt", 1, "walled-in.txt: no solution by turning in steps of"},
        {"solver", "--max-elements 1 two-mirrors-filter.txt", 1,
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
