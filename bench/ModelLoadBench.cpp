// Model loading: every game model, and one large generated mesh.

#include "QuietConsole.h"
#include "assets/Writer3ds.h"
#include "model/GameModels.h"
#include "model/ModelLoader.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <iostream>
#include <sstream>

namespace {

void BM_LoadAllGameModels(benchmark::State& state) {
    QuietConsole quiet;
    for (auto _ : state) {
        const auto failed = loadGameModels(BEAMWORKS_GAME_DIR);
        if (!failed.empty()) {
            state.SkipWithError(("cannot load " + failed.front()).c_str());
            break;
        }
        benchmark::DoNotOptimize(gameModels().wall.get());
    }
}
BENCHMARK(BM_LoadAllGameModels)->Unit(benchmark::kMillisecond);

// 60 ribbons of 2 x 500 vertices (60 000 vertices, 59 880 triangles), each bent in gentle waves
// that smooth over and folded sharply every 50 columns, which splits those vertices.
Mesh3ds largeMesh() {
    Mesh3ds mesh;
    mesh.name = "ribbons";
    constexpr int RIBBONS = 60, COLUMNS = 500;
    for (int r = 0; r < RIBBONS; ++r) {
        const auto base = static_cast<std::uint16_t>(mesh.positions.size());
        float x = 0, z = 0;
        for (int c = 0; c < COLUMNS; ++c) {
            const bool fold = c % 50 == 25;
            const float heading = (fold ? 1.6f : 0.2f) * std::sin(0.3f * static_cast<float>(c));
            x += std::cos(heading);
            z += std::sin(heading);
            const float y = 3.0f * static_cast<float>(r);
            mesh.positions.push_back({x, y, z + (fold ? 2.0f : 0.0f)});
            mesh.positions.push_back({x, y + 2.0f, z + (fold ? 2.0f : 0.0f)});
            mesh.texCoords.push_back({static_cast<float>(c) / COLUMNS, 0});
            mesh.texCoords.push_back({static_cast<float>(c) / COLUMNS, 1});
            if (c > 0) {
                const auto a = static_cast<std::uint16_t>(base + 2 * (c - 1));
                mesh.faces.push_back(
                    {a, static_cast<std::uint16_t>(a + 2), static_cast<std::uint16_t>(a + 1)});
                mesh.faces.push_back({static_cast<std::uint16_t>(a + 1),
                                      static_cast<std::uint16_t>(a + 2),
                                      static_cast<std::uint16_t>(a + 3)});
            }
        }
    }
    return mesh;
}

void BM_LoadLargeMesh(benchmark::State& state) {
    const std::string path =
        (std::filesystem::temp_directory_path() / "beamworks_bench_large.3ds").string();
    std::string error;
    if (!write3ds(path, largeMesh(), &error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    QuietConsole quiet;
    std::uint32_t vertices = 0;
    for (auto _ : state) {
        auto model = loadModel(path, 0.3f, true);
        if (!model) {
            state.SkipWithError("large mesh refused");
            break;
        }
        vertices = model->vertexCount;
        benchmark::DoNotOptimize(model.get());
    }
    state.counters["vertices"] = vertices;
    std::filesystem::remove(path);
}
BENCHMARK(BM_LoadLargeMesh)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
