// The editor's judge on small levels with known verdicts, and the background judge on texts that
// come faster than it can judge them.

#include "solver/Judge.h"
#include "support/LevelText.h"
#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

std::string dataFile(const std::string& name) {
    return readFile(std::string(BEAMWORKS_SOURCE_DIR) + "/tests/" + name);
}

std::string packText(int n) {
    return readFile(std::string(BEAMWORKS_GAME_DIR) + "/level" + std::to_string(n) + ".txt");
}

bool hasLine(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// A magenta goal in the laser's line: no filter or collector makes magenta of white.
const char* const MAGENTA_GOAL = "@ EMI\n# Pos 0;0;300;\n@ MIR\n# Pos 0;0;0;\n"
                                 "@ FIN\n# Pos 200;0;0;\n# Col 5\n";

} // namespace

TEST(Judge, SaysWhatTheSolverKnowsAndWarns) {
    using Kind = Verdict::Kind;
    const struct {
        std::string text;
        Kind kind;
        const char* headline;
        std::vector<std::string> changes; // how each line begins
        const char* reason;
        std::vector<std::string> warnings; // among others
        int moves = -1;
    } cases[] = {
        {dataFile("data/solved.txt"),
         Kind::SolvedAsPlaced,
         "SOLVED AS PLACED",
         {},
         "",
         {"LASER 1 IS OUT OF THE START VIEW", "FILTER 2 IS OUT OF THE START VIEW",
          "THE WALLS DO NOT CLOSE THE ROOM AROUND THE EYE"}},
        {dataFile("data/solver/one-mirror.txt"),
         Kind::Solvable,
         "SOLVABLE IN 1 MOVE",
         {"TURN MIRROR 2 45 DEGREES RIGHT"},
         "",
         {"ONE MOVE SOLVES IT"},
         1},
        // Carried and turned there: two moves on one line.
        {dataFile("solver/levels/carry.txt"),
         Kind::Solvable,
         "SOLVABLE IN 2 MOVES",
         {"CARRY MIRROR 2 ON THE BACK WALL, "},
         "",
         {},
         2},
        {dataFile("data/solver/walled-in.txt"),
         Kind::NoSolution,
         "NO SOLUTION",
         {},
         "THE WHITE GOAL: NO LIGHT CAN REACH IT",
         {}},
        {MAGENTA_GOAL,
         Kind::NoSolution,
         "NO SOLUTION",
         {},
         "THE MAGENTA GOAL: NO FILTER OR COLLECTOR MAKES MAGENTA",
         {"NO FILTER OR COLLECTOR MAKES MAGENTA"}},
        {dataFile("data/view.txt"),
         Kind::NoSolution,
         "NO SOLUTION",
         {},
         "",
         {"MIRROR 2 IS OUT OF THE START VIEW", "FILTER 7 IS OUT OF THE START VIEW"}},
        {dataFile("data/reach-far.txt"),
         Kind::NoSolution,
         "NO SOLUTION",
         {},
         "THE LEVEL HAS NO LASER",
         {"THE ROOM REACHES 2452 UNITS FROM THE EYE, PAST 1990"}},
        // Bad input: nothing at all, or nothing to light.
        {"", Kind::NoSolution, "NO SOLUTION", {}, "THE LEVEL HAS NO LASER", {}},
        {"@ EMI\n@ MIR\n# Pos 0;0;-200;\n",
         Kind::NoSolution,
         "NO SOLUTION",
         {},
         "THE LEVEL HAS NO GOAL",
         {}},
        {"not a level\n@ NOSUCHTHING\n# Pos x;y;\n",
         Kind::NoSolution,
         "NO SOLUTION",
         {},
         "THE LEVEL HAS NO LASER",
         {}},
    };
    loadTestModels();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 60));
        const auto level = levelFromText(c.text);
        const Verdict v = judgeLevel(*level);
        EXPECT_EQ(v.kind, c.kind);
        EXPECT_EQ(v.headline(), c.headline);
        ASSERT_EQ(v.changes.size(), c.changes.size());
        for (std::size_t i = 0; i < c.changes.size(); ++i) {
            EXPECT_EQ(v.changes[i].rfind(c.changes[i], 0), 0u) << v.changes[i];
        }
        EXPECT_EQ(v.reason, c.reason);
        for (const std::string& warning : c.warnings) {
            EXPECT_TRUE(hasLine(v.warnings, warning)) << warning;
        }
        EXPECT_EQ(v.moves, c.moves);
        EXPECT_EQ(hasLine(v.warnings, "ONE MOVE SOLVES IT"), c.moves == 1);
    }
}

TEST(Judge, StopsOnCancelOrTimeLimitStillLooking) {
    loadTestModels();
    const auto level = levelFromText(packText(9));
    const std::atomic<bool> cancelled{true};
    for (const Verdict& v : {judgeLevel(*level, &cancelled), judgeLevel(*level, nullptr, 1e-9)}) {
        EXPECT_EQ(v.kind, Verdict::Kind::StillLooking);
        EXPECT_EQ(v.headline(), "STILL LOOKING");
        EXPECT_EQ(v.consoleLine(), "");
        EXPECT_TRUE(v.changes.empty());
        EXPECT_EQ(v.reason, "");
    }
}

TEST(Judge, BackgroundGivesOnlyTheNewestTextsVerdictOnceAndStopsWhenDestroyed) {
    loadTestModels();
    using Clock = std::chrono::steady_clock;
    std::thread::id worker;
    {
        BackgroundJudge judge([&worker] { worker = std::this_thread::get_id(); });
        Verdict v;
        EXPECT_FALSE(judge.busy());
        EXPECT_FALSE(judge.poll(v));
        // A long search, then at once a level one move solves: only the second is heard of.
        judge.submit(packText(26));
        EXPECT_TRUE(judge.busy());
        judge.submit(dataFile("data/solver/one-mirror.txt"));
        const auto deadline = Clock::now() + std::chrono::seconds(60);
        while (judge.busy() && Clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        ASSERT_TRUE(judge.poll(v));
        EXPECT_EQ(v.consoleLine(), "Check: solvable in 1 move");
        EXPECT_FALSE(judge.poll(v));
        EXPECT_NE(worker, std::this_thread::get_id());

        // Still searching when it goes: the search is cancelled and the thread joined.
        judge.submit(packText(26));
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        EXPECT_TRUE(judge.busy());
    }
}
