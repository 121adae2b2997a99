// Laser simulation: one full update of a stress level (tracing every segment against every
// element) followed by the back-to-front ordering of the translucent objects for a fixed view.
// The levels come from bench/data (see make_stress_levels.py there).
//
// Counters: segments after the update, cuts (segments ended by a filter plane, not by a hit),
// elements (active objects, composite parts included), tests = segments x elements, and
// time_per_test = the time of one update (and ordering) divided by tests, in seconds.

#include "elements/ActiveObject.h"
#include "laser/LaserBeam.h"
#include "laser/Tracer.h"
#include "laser/TransparentOrder.h"
#include "laser/TransparentSet.h"
#include "level/Level.h"
#include "model/GameModels.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <iostream>
#include <memory>
#include <streambuf>
#include <string>

namespace {

// Swallows everything written to it, counting the lines.
class NullBuffer : public std::streambuf {
  public:
    long lines = 0;

  protected:
    int overflow(int c) override {
        lines += c == '\n';
        return traits_type::not_eof(c);
    }
    std::streamsize xsputn(const char* s, std::streamsize n) override {
        lines += std::count(s, s + n, '\n');
        return n;
    }
};

// Silences std::cout (the model loader's lines, the ordering's cycle notes) while it lives.
class QuietConsole {
  public:
    QuietConsole() : saved_(std::cout.rdbuf(&sink_)) {}
    ~QuietConsole() { std::cout.rdbuf(saved_); }
    QuietConsole(const QuietConsole&) = delete;
    QuietConsole& operator=(const QuietConsole&) = delete;

    long lines() const { return sink_.lines; }

  private:
    NullBuffer sink_;
    std::streambuf* saved_;
};

// Set by skip(): the run exits non-zero, so the smoke test fails as well.
bool anySkipped = false;

void skip(benchmark::State& state, const std::string& message) {
    anySkipped = true;
    state.SkipWithError(message.c_str());
}

// Loads the game models on first use; the error text, empty when they are all there.
const std::string& modelError() {
    static const std::string error = [] {
        QuietConsole quiet;
        const auto failed = loadGameModels(BEAMWORKS_GAME_DIR);
        return failed.empty() ? std::string() : "cannot load " + failed.front();
    }();
    return error;
}

// The viewer of the benchmarks: eye at (0, 80, 380), inside every stress room, looking down -Z.
Matrix benchView() {
    return Matrix::translation(0, -80, -380);
}

// What a stress level was built to produce.
struct Expected {
    std::size_t minSegments;
    std::size_t minCuts;
};

// Loads a stress level with the models in place; null after skip().
std::unique_ptr<Level> loadStressLevel(benchmark::State& state, const char* file) {
    if (!modelError().empty()) {
        skip(state, modelError());
        return nullptr;
    }
    const std::string path = std::string(BEAMWORKS_BENCH_DATA) + "/" + file;
    QuietConsole quiet;
    auto level = std::make_unique<Level>(path);
    if (!level->isLoaded()) {
        skip(state, "cannot read " + path);
        return nullptr;
    }
    return level;
}

// Segments that end where a filter plane cuts the beam: they hit nothing and go on.
std::size_t cutCount(const Level& level) {
    return static_cast<std::size_t>(
        std::count_if(level.laserBeams.begin(), level.laserBeams.end(), [](const LaserBeam* b) {
            return b->hitObject == nullptr && !b->nextSegments.empty();
        }));
}

// After an update: a level that yields fewer segments or cuts than it was built for no longer
// measures what it claims to, and the draw order must hold every translucent object once.
bool checkLevel(benchmark::State& state, const Level& level, Expected expected) {
    if (level.laserBeams.size() < expected.minSegments) {
        skip(state, "only " + std::to_string(level.laserBeams.size()) +
                        " segments, expected at least " + std::to_string(expected.minSegments));
        return false;
    }
    if (cutCount(level) < expected.minCuts) {
        skip(state, "only " + std::to_string(cutCount(level)) +
                        " filter plane cuts, expected at least " +
                        std::to_string(expected.minCuts));
        return false;
    }
    if (level.transparentSet->drawOrder.size() !=
        level.laserBeams.size() + level.colorFilters.size()) {
        skip(state, "the draw order does not hold every segment and filter once");
        return false;
    }
    return true;
}

void setCounters(benchmark::State& state, const Level& level) {
    const double segments = static_cast<double>(level.laserBeams.size());
    const double elements = static_cast<double>(level.activeObjects.size());
    state.counters["segments"] = segments;
    state.counters["cuts"] = static_cast<double>(cutCount(level));
    state.counters["elements"] = elements;
    state.counters["tests"] = segments * elements;
    // Seconds per test over the whole run (the console shows e.g. "130ns").
    state.counters["time_per_test"] =
        benchmark::Counter(segments * elements, benchmark::Counter::kIsIterationInvariantRate |
                                                    benchmark::Counter::kInvert);
}

void BM_LaserUpdate(benchmark::State& state, const char* file, Expected expected) {
    auto level = loadStressLevel(state, file);
    if (!level) {
        return;
    }
    const Matrix view = benchView();
    QuietConsole quiet;
    for (auto _ : state) {
        updateLasers(*level);
        orderTransparentObjects(*level->transparentSet, view);
        benchmark::DoNotOptimize(level->transparentSet->drawOrder.data());
        benchmark::ClobberMemory();
    }
    if (checkLevel(state, *level, expected)) {
        setCounters(state, *level);
    }
}

// The ordering alone, on the segments of one update: its share of BM_LaserUpdate.
void BM_TransparentOrder(benchmark::State& state, const char* file, Expected expected) {
    auto level = loadStressLevel(state, file);
    if (!level) {
        return;
    }
    const Matrix view = benchView();
    QuietConsole quiet;
    updateLasers(*level);
    const long before = quiet.lines();
    orderTransparentObjects(*level->transparentSet, view);
    // Passes in which no filter could be drawn (cycles among the filters).
    const long cycleNotes = quiet.lines() - before;
    for (auto _ : state) {
        orderTransparentObjects(*level->transparentSet, view);
        benchmark::DoNotOptimize(level->transparentSet->drawOrder.data());
        benchmark::ClobberMemory();
    }
    if (checkLevel(state, *level, expected)) {
        state.counters["segments"] = static_cast<double>(level->laserBeams.size());
        state.counters["filters"] = static_cast<double>(level->colorFilters.size());
        state.counters["cycle_notes"] = static_cast<double>(cycleNotes);
    }
}

// 16 segments (15 reflections), 40 mirrors as candidates.
constexpr Expected MIRRORS{16, 0};
// About 1 850 segments among 36 half mirrors.
constexpr Expected LATTICE{1000, 0};
// About 570 segments, over 300 of them ended by the planes of 8 filters.
constexpr Expected FILTERS{200, 200};

BENCHMARK_CAPTURE(BM_LaserUpdate, mirrors, "stress-mirrors.txt", MIRRORS)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_LaserUpdate, lattice, "stress-lattice.txt", LATTICE)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_LaserUpdate, filters, "stress-filters.txt", FILTERS)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_TransparentOrder, lattice, "stress-lattice.txt", LATTICE)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_TransparentOrder, filters, "stress-filters.txt", FILTERS)
    ->Unit(benchmark::kMicrosecond);

} // namespace

// As BENCHMARK_MAIN, but a benchmark that had to be skipped fails the run.
int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return anySkipped ? 1 : 0;
}
