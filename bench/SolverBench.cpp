// The level solver on shipped levels: one whole solve per iteration, on a level freshly read
// from the game folder (reading it is not timed).
//
// Counters: states = laser updates of one solve, turned = elements it turns, and
// states_per_second over the whole run.

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

std::unique_ptr<Level> quietLevel(const std::string& path) {
    std::ostringstream sink;
    std::streambuf* saved = std::cout.rdbuf(sink.rdbuf());
    auto level = std::make_unique<Level>(path);
    std::cout.rdbuf(saved);
    return level;
}

void BM_Solve(benchmark::State& state, int number) {
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
    SolveResult result;
    long long states = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto level = quietLevel(path);
        state.ResumeTiming();
        result = solve(*level);
        states += result.states;
        if (result.outcome != SolveOutcome::Solved) {
            anyFailed = true;
            state.SkipWithError("not solved");
            return;
        }
    }
    state.counters["states"] = static_cast<double>(result.states);
    state.counters["turned"] = static_cast<double>(result.turns.size());
    state.counters["states_per_second"] =
        benchmark::Counter(static_cast<double>(states), benchmark::Counter::kIsRate);
}

} // namespace

BENCHMARK_CAPTURE(BM_Solve, level4, 4)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Solve, level7, 7)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Solve, level9, 9)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return anyFailed ? 1 : 0;
}
