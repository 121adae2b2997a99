#include "Chunks.h"
#include "model/ModelLoader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

using namespace chunks;

namespace {

std::string tempPath(const std::string& name) {
    return (std::filesystem::path(::testing::TempDir()) / ("beamworks_" + name)).string();
}

// One triangle in file coordinates, with a mapping list.
Bytes triangleMesh() {
    return chunk(0x4100, cat({vertices({{1, 2, 3}, {4, 5, 6}, {7, 8, 10}}),
                              mapping({{0.25f, 0.75f}, {1, 0}, {0, 1}}),
                              faces({{0, 1, 2}}, chunk(0x4150, {0, 0, 0, 0}))}));
}

struct Loaded {
    std::unique_ptr<Model> model;
    std::string log;
};

Loaded loadBytes(const std::string& name, const Bytes& bytes, float threshold = 0.3f,
                 bool tex = true) {
    const std::string path = tempPath(name);
    write(path, bytes);
    ::testing::internal::CaptureStdout();
    Loaded r;
    r.model = loadModel(path, threshold, tex);
    r.log = ::testing::internal::GetCapturedStdout();
    std::filesystem::remove(path);
    return r;
}

} // namespace

TEST(ModelReader, ConvertsToYUpFlipsVAndLoadsFromMemoryAlike) {
    const Bytes bytes = file(object("tri", triangleMesh()));
    const Loaded r = loadBytes("yup.3ds", bytes);
    ASSERT_TRUE(r.model);
    const Model& m = *r.model;
    EXPECT_EQ(m.indexCount, 3u);
    EXPECT_EQ(m.vertexCount, 3u);
    EXPECT_EQ(m.texCoordSize, 36);
    EXPECT_EQ(m.texCoordComponents, 2);
    // File (x, y, z) becomes (x, z, -y); (s, t) becomes (s, 1 - t).
    EXPECT_EQ(std::vector<float>(m.positions.begin(), m.positions.begin() + 3),
              (std::vector<float>{1, 3, -2}));
    EXPECT_EQ(m.texCoords[0], 0.25f);
    EXPECT_EQ(m.texCoords[1], 0.25f);
    EXPECT_EQ(m.texCoords[3], 1.0f);
    EXPECT_EQ(m.indices, (std::vector<std::uint16_t>{0, 1, 2}));
    EXPECT_NE(r.log.find("vert: 3"), std::string::npos) << r.log;

    ::testing::internal::CaptureStdout();
    const auto fromMemory = loadModelBytes(bytes, "memory.3ds", 0.3f, true);
    EXPECT_EQ(::testing::internal::GetCapturedStdout().rfind("LoadModel: memory.3ds\n", 0), 0u);
    ASSERT_TRUE(fromMemory);
    EXPECT_EQ(fromMemory->positions, m.positions);
    EXPECT_EQ(fromMemory->normals, m.normals);
    EXPECT_EQ(fromMemory->texCoords, m.texCoords);
}

TEST(ModelReader, BoundingSphereIsBoxCentreAndFarthestVertex) {
    const Loaded r = loadBytes(
        "sphere.3ds",
        file(object("box", chunk(0x4100, cat({vertices({{-1, -2, -3}, {3, 2, 1}, {0, 0, 0}}),
                                              faces({{0, 1, 2}})})))));
    ASSERT_TRUE(r.model);
    // Box x in [-1, 3], y in [-3, 1], z in [-2, 2].
    EXPECT_EQ(r.model->centre, (std::array<float, 4>{1, -1, 0, 1}));
    EXPECT_FLOAT_EQ(r.model->radius, std::sqrt(12.0f));
}

TEST(ModelReader, SkipsUnknownChunksWholeAndLaterListsReplaceEarlierOnes) {
    // Material, viewport and key-frame chunks whose payloads look like vertex lists.
    const Bytes decoy = vertices({{9, 9, 9}});
    const Bytes first = chunk(
        0x4100, cat({vertices({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}}),
                     mapping({{0, 0}, {1, 0}, {0, 1}, {1, 1}}), faces({{0, 1, 2}, {0, 2, 3}})}));
    const Bytes editor =
        cat({chunk(0xAFFF, cat({chunk(0xA000, {'m', 0}), decoy})), object("a", first),
             chunk(0x7012, decoy), object("tri", triangleMesh())});
    const Loaded r = loadBytes("skip.3ds", file(editor, chunk(0xB000, decoy)));
    ASSERT_TRUE(r.model);
    EXPECT_EQ(r.model->vertexCount, 3u);
    EXPECT_EQ(r.model->indexCount, 3u);
    EXPECT_EQ(r.model->texCoordSize, 36);
    EXPECT_EQ(r.model->positions[0], 1);
}

TEST(ModelReader, WithoutTexCoordsGeneratesFiniteBoxMapping) {
    const Loaded r = loadBytes("gen.3ds", file(object("tri", triangleMesh())), 0.3f, false);
    ASSERT_TRUE(r.model);
    const Model& m = *r.model;
    EXPECT_EQ(m.texCoordComponents, 3);
    ASSERT_GE(m.texCoords.size(), 9u);
    // Vertex 0 is the box minimum on x and z and the maximum on y; vertex 2 the opposite.
    EXPECT_EQ(std::vector<float>(m.texCoords.begin(), m.texCoords.begin() + 3),
              (std::vector<float>{0, 0, 1}));
    EXPECT_EQ(std::vector<float>(m.texCoords.begin() + 6, m.texCoords.begin() + 9),
              (std::vector<float>{1, 1, 0}));
    // A box flat along one axis still gives finite coordinates.
    const Loaded flat =
        loadBytes("flat.3ds",
                  file(object("f", chunk(0x4100, cat({vertices({{0, 0, 5}, {1, 0, 5}, {0, 1, 5}}),
                                                      faces({{0, 1, 2}})})))),
                  0.3f, false);
    ASSERT_TRUE(flat.model);
    for (float t : flat.model->texCoords) {
        EXPECT_TRUE(std::isfinite(t));
    }
}

TEST(ModelReader, MissingFileIsReportedAndAnEmptyOneGivesAnEmptyModel) {
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(read3dsFile(tempPath("does-not-exist.3ds"), true), nullptr);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "File not Found\n");
    const Loaded r = loadBytes("empty.3ds", {});
    ASSERT_TRUE(r.model);
    EXPECT_EQ(r.model->vertexCount, 0u);
}

TEST(ModelReader, MalformedInputIsRejectedWithOneLine) {
    const Bytes mesh = triangleMesh();
    Bytes countPastData;
    put16(countPastData, 50); // claims 50 vertices, holds one
    for (int i = 0; i < 3; ++i) {
        putFloat(countPastData, 1);
    }
    Bytes facesPastData;
    put16(facesPastData, 1000);
    put16(facesPastData, 0);
    const struct {
        const char* name;
        Bytes bytes;
        const char* fault;
    } cases[] = {
        {"short-length", file(chunk(0x7012, {1, 2, 3}, 3)), "has length 3"},
        {"vertices-past-data", file(object("t", chunk(0x4100, chunk(0x4110, countPastData)))),
         "vertex list"},
        {"faces-past-data", file(object("t", chunk(0x4100, chunk(0x4120, facesPastData)))),
         "face list"},
        {"mapping-past-data", file(object("t", chunk(0x4100, chunk(0x4140, {9, 0})))),
         "mapping list"},
        {"bad-index",
         file(object("t", chunk(0x4100, cat({vertices({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}),
                                             faces({{0, 1, 3}})})))),
         "face index 3 is not below the vertex count 3"},
        {"name-past-chunk", chunk(0x4D4D, chunk(0x4000, {'a', 'b', 'c'})), "object name"},
        // A list chunk that claims more than its parent holds keeps every read inside it.
        {"list-past-parent",
         file(object("t", chunk(0x4100, cat({chunk(0x4110, {3, 0, 1, 2, 3}, 500)})))),
         "vertex list"},
    };
    for (const auto& bad : cases) {
        const std::string path = tempPath(std::string(bad.name) + ".3ds");
        write(path, bad.bytes);
        ::testing::internal::CaptureStdout();
        const auto model = read3dsFile(path, true);
        const std::string log = ::testing::internal::GetCapturedStdout();
        std::filesystem::remove(path);
        EXPECT_EQ(model, nullptr) << bad.name;
        // The fault is the last line; the list lines logged before it are the usual ones.
        const std::size_t line = log.find("Bad model file " + path + ": ");
        ASSERT_NE(line, std::string::npos) << log;
        EXPECT_TRUE(line == 0 || log[line - 1] == '\n') << log;
        EXPECT_EQ(log.find('\n', line), log.size() - 1) << log;
        EXPECT_NE(log.find(bad.fault, line), std::string::npos) << log;
    }
}

TEST(ModelReader, EveryTruncationIsRejectedOrLoadedSafely) {
    const Bytes whole = file(object("tri", triangleMesh()), chunk(0xB000, {1, 2, 3}));
    const std::string path = tempPath("cut.3ds");
    int refused = 0;
    for (std::size_t n = 0; n < whole.size(); ++n) {
        write(path, Bytes(whole.begin(), whole.begin() + static_cast<long>(n)));
        ::testing::internal::CaptureStdout();
        const auto model = loadModel(path, 0.3f, true);
        ::testing::internal::GetCapturedStdout();
        // A cut through a list loses its data and refuses the model; a cut between chunks loads
        // what is whole.
        refused += model == nullptr;
        if (model) {
            for (std::uint16_t i : model->indices) {
                ASSERT_LT(i, model->vertexCount) << "prefix of " << n << " bytes";
            }
        }
    }
    EXPECT_GT(refused, 0);
    std::filesystem::remove(path);
}

namespace {

// Offsets of the chunks directly inside the chunk at `at` (its header included in nothing).
std::vector<std::size_t> childChunks(const Bytes& b, std::size_t at, std::size_t dataStart) {
    std::vector<std::size_t> found;
    const std::size_t end = std::min<std::size_t>(
        b.size(), at + (b[at + 2] | b[at + 3] << 8 | b[at + 4] << 16 | b[at + 5] << 24));
    for (std::size_t pos = dataStart; pos + 6 <= end;) {
        found.push_back(pos);
        const std::size_t length =
            b[pos + 2] | b[pos + 3] << 8 | b[pos + 4] << 16 | b[pos + 5] << 24;
        if (length < 6) {
            break;
        }
        pos += length;
    }
    return found;
}

void addToLength(Bytes& b, std::size_t at, std::uint32_t extra) {
    std::uint32_t length = b[at + 2] | b[at + 3] << 8 | b[at + 4] << 16 | b[at + 5] << 24;
    length += extra;
    for (int i = 0; i < 4; ++i) {
        b[at + 2 + i] = static_cast<std::uint8_t>(length >> (8 * i));
    }
}

} // namespace

TEST(ModelReader, SlackThatOtherToolsLeaveIsToleratedAndLoadsTheSameMesh) {
    // Real files made by other tools, when the checkout has them beside it, and one of ours.
    std::vector<std::string> paths;
    const std::filesystem::path real = std::filesystem::path(BEAMWORKS_TESTDATA_DIR) / "3ds-real";
    if (std::filesystem::is_directory(real)) {
        for (const auto& entry : std::filesystem::directory_iterator(real)) {
            const std::string ext = entry.path().extension().string();
            if (ext == ".3ds" || ext == ".3DS") {
                paths.push_back(entry.path().string());
            }
        }
    }
    const std::string ours = tempPath("ours.3ds");
    write(ours, file(cat({chunk(0xAFFF, {1, 2, 3, 4}), object("tri", triangleMesh())})));
    paths.push_back(ours);
    std::sort(paths.begin(), paths.end());
    int compared = 0;
    for (const std::string& path : paths) {
        SCOPED_TRACE(path);
        std::ifstream in(path, std::ios::binary);
        const Bytes original{std::istreambuf_iterator<char>(in), {}};
        const Loaded plain = loadBytes("plain.3ds", original);
        if (!plain.model) {
            continue; // a file the reader refuses as it is says nothing about slack
        }
        ++compared;
        std::vector<std::pair<std::string, Bytes>> variants;
        for (int stray = 1; stray <= 5; ++stray) {
            Bytes b = original;
            b.insert(b.end(), static_cast<std::size_t>(stray), std::uint8_t{0xA5});
            variants.emplace_back(std::to_string(stray) + " stray bytes", b);
        }
        Bytes pastFile = original;
        addToLength(pastFile, 0, 1000);
        variants.emplace_back("main chunk past the file", pastFile);
        // The last container inside the main chunk claims more than the main chunk holds.
        const std::vector<std::size_t> children = childChunks(original, 0, 6);
        if (!children.empty()) {
            Bytes pastParent = original;
            pastParent.insert(pastParent.end(), 3, std::uint8_t{0});
            addToLength(pastParent, children.back(), 200);
            variants.emplace_back("last child past its parent", pastParent);
        }
        for (const auto& [what, bytes] : variants) {
            const Loaded r = loadBytes("slack.3ds", bytes);
            ASSERT_TRUE(r.model) << what << ": " << r.log;
            EXPECT_EQ(r.model->vertexCount, plain.model->vertexCount) << what;
            EXPECT_EQ(r.model->indices, plain.model->indices) << what;
            EXPECT_EQ(r.model->positions, plain.model->positions) << what;
        }
    }
    std::filesystem::remove(ours);
    EXPECT_GE(compared, 1);
}

TEST(ModelReader, RandomCorruptionNeverReadsOutOfBounds) {
    const Bytes whole = file(cat({chunk(0xAFFF, {1, 2, 3, 4}), object("tri", triangleMesh())}),
                             chunk(0xB000, {1, 2, 3}));
    const std::string path = tempPath("fuzz.3ds");
    std::mt19937 rng(1234);
    int loaded = 0;
    for (int round = 0; round < 400; ++round) {
        Bytes b = whole;
        const int flips = 1 + static_cast<int>(rng() % 4);
        for (int f = 0; f < flips; ++f) {
            b[rng() % b.size()] = static_cast<std::uint8_t>(rng());
        }
        write(path, b);
        ::testing::internal::CaptureStdout();
        const auto model = loadModel(path, 0.3f, round % 2 == 0);
        ::testing::internal::GetCapturedStdout();
        if (model) {
            ++loaded;
            for (std::uint16_t i : model->indices) {
                ASSERT_LT(i, model->vertexCount);
            }
            ASSERT_EQ(model->positions.size(), 3u * model->vertexCount);
            ASSERT_EQ(model->normals.size(), 3u * model->vertexCount);
        }
    }
    std::filesystem::remove(path);
    EXPECT_GT(loaded, 0); // some flips land in float data and still load
}
