// The level solver on the shipped levels: one whole solve per iteration, on a level freshly read
// from the game folder (reading it is not timed), for every level of the pack from its shipped
// state (level/N), and for a few with every mirror, half mirror and filter turned 1 to 7 degrees
// and tilted -2 to 2 off the grid, as a player's fine turns leave them (turned/N).
//
// Counters: states = laser updates of one solve, moves = the solution's moves (a turn one, a
// carry one, a carry and a turn two), turned and carried = elements turned where they stand and
// holders carried, states_per_second over the whole run. A solve stops after 30 s; a level not
// solved by then is reported as an error (and the run exits non-zero).

#include "elements/ActiveObject.h"
#include "level/Level.h"
#include "model/GameModels.h"
#include "solver/Solver.h"

#include <benchmark/benchmark.h>

#include <iostream>
#include <memory>
#include <sstream>
#include <string>

namespace {

// Set when a level could not be solved: the run exits non-zero, so the smoke test fails too.
bool anyFailed = false;

constexpr double TIME_LIMIT_SECONDS = 30;

std::unique_ptr<Level> quietLevel(const std::string& path) {
    std::ostringstream sink;
    std::streambuf* saved = std::cout.rdbuf(sink.rdbuf());
    auto level = std::make_unique<Level>(path);
    std::cout.rdbuf(saved);
    return level;
}

// Turns every turnable element off the grid, as the solve tool's test does to level files.
void turnOffTheGrid(Level& level) {
    const float degree = 3.14159265f / 180;
    int k = 0;
    for (ActiveObject* element : turnableElements(level)) {
        element->rotateY(static_cast<float>(k % 7 + 1) * degree);
        element->rotateX(static_cast<float>(k % 5 - 2) * degree);
        ++k;
    }
}

void BM_Solve(benchmark::State& state, int number, bool turned) {
    std::ostringstream sink;
    std::streambuf* saved = std::cout.rdbuf(sink.rdbuf());
    const bool models = loadGameModels(BEAMWORKS_GAME_DIR).empty();
    std::cout.rdbuf(saved);
    const std::string path =
        std::string(BEAMWORKS_GAME_DIR) + "/level" + std::to_string(number) + ".txt";
    if (!models || !quietLevel(path)->isLoaded()) {
        anyFailed = true;
        state.SkipWithError(("cannot load the models or " + path).c_str());
        return;
    }
    SolveOptions options;
    options.timeLimitSeconds = TIME_LIMIT_SECONDS;
    SolveResult result;
    long long states = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto level = quietLevel(path);
        if (turned) {
            turnOffTheGrid(*level);
        }
        state.ResumeTiming();
        result = solve(*level, options);
        states += result.states;
        if (result.outcome != SolveOutcome::Solved) {
            anyFailed = true;
            state.SkipWithError("not solved within the time limit");
            return;
        }
    }
    int carried = 0;
    for (const ElementTurn& turn : result.turns) {
        carried += turn.carry.carried ? 1 : 0;
    }
    state.counters["states"] = static_cast<double>(result.states);
    state.counters["moves"] = result.moves;
    state.counters["turned"] = static_cast<double>(result.turns.size()) - carried;
    state.counters["carried"] = carried;
    state.counters["states_per_second"] =
        benchmark::Counter(static_cast<double>(states), benchmark::Counter::kIsRate);
}

} // namespace

int main(int argc, char** argv) {
    for (int n = 1; n <= 30; ++n) {
        benchmark::RegisterBenchmark(("level/" + std::to_string(n)).c_str(), BM_Solve, n, false)
            ->Unit(benchmark::kMillisecond);
    }
    for (int n : {3, 13, 24, 30}) {
        benchmark::RegisterBenchmark(("turned/" + std::to_string(n)).c_str(), BM_Solve, n, true)
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return anyFailed ? 1 : 0;
}
