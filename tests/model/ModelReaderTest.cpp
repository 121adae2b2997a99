#include "Chunks.h"
#include "model/Model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <random>
#include <sstream>

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

TEST(ModelReader, ConvertsToYUpAndFlipsV) {
    const Loaded r = loadBytes("yup.3ds", file(object("tri", triangleMesh())));
    ASSERT_TRUE(r.model);
    const Model& m = *r.model;
    EXPECT_EQ(m.indexCount, 3u);
    EXPECT_EQ(m.vertexCount, 3u);
    EXPECT_EQ(m.texCoordSize, 36);
    EXPECT_EQ(m.texCoordComponents, 2);
    EXPECT_EQ(m.positions[0], 1);
    EXPECT_EQ(m.positions[1], 3);
    EXPECT_EQ(m.positions[2], -2);
    EXPECT_EQ(m.texCoords[0], 0.25f);
    EXPECT_EQ(m.texCoords[1], 0.25f);
    EXPECT_EQ(m.texCoords[3], 1.0f);
    ASSERT_EQ(m.indices.size(), 3u);
    EXPECT_EQ(m.indices[2], 2);
}

TEST(ModelReader, LogsTheLoadInOrder) {
    const Loaded r = loadBytes("log.3ds", file(object("tri", triangleMesh())));
    ASSERT_TRUE(r.model);
    const std::string path = tempPath("log.3ds");
    std::ostringstream radius;
    radius << r.model->radius;
    EXPECT_EQ(r.log, "LoadModel: " + path + "\nWith Angletrashold: 0.3\n\n\nvert: 3\n\ntex: 3\n" +
                         "absolutMax: " + radius.str() + "\n\n\n");
}

TEST(ModelReader, BytesInMemoryLoadLikeTheFileAndNameItInTheLog) {
    const Bytes bytes = file(object("tri", triangleMesh()));
    const Loaded fromFile = loadBytes("memory.3ds", bytes);
    ::testing::internal::CaptureStdout();
    const auto fromMemory = loadModelBytes(bytes, "memory.3ds", 0.3f, true);
    const std::string log = ::testing::internal::GetCapturedStdout();
    ASSERT_TRUE(fromFile.model);
    ASSERT_TRUE(fromMemory);
    EXPECT_EQ(fromMemory->positions, fromFile.model->positions);
    EXPECT_EQ(fromMemory->normals, fromFile.model->normals);
    EXPECT_EQ(fromMemory->texCoords, fromFile.model->texCoords);
    EXPECT_EQ(log.rfind("LoadModel: memory.3ds\n", 0), 0u) << log;
    // A fault names the given name.
    ::testing::internal::CaptureStdout();
    EXPECT_FALSE(loadModelBytes(Bytes(bytes.begin(), bytes.end() - 3), "cut.3ds", 0.3f, true));
    EXPECT_NE(::testing::internal::GetCapturedStdout().find("Bad model file cut.3ds: "),
              std::string::npos);
}

TEST(ModelReader, BoundingSphereIsBoxCentreAndFarthestVertex) {
    const Loaded r = loadBytes(
        "sphere.3ds",
        file(object("box", chunk(0x4100, cat({vertices({{-1, -2, -3}, {3, 2, 1}, {0, 0, 0}}),
                                              faces({{0, 1, 2}})})))));
    ASSERT_TRUE(r.model);
    // File (x, y, z) becomes (x, z, -y): box x in [-1, 3], y in [-3, 1], z in [-2, 2].
    EXPECT_FLOAT_EQ(r.model->centre[0], 1);
    EXPECT_FLOAT_EQ(r.model->centre[1], -1);
    EXPECT_FLOAT_EQ(r.model->centre[2], 0);
    EXPECT_FLOAT_EQ(r.model->centre[3], 1);
    EXPECT_FLOAT_EQ(r.model->radius, std::sqrt(4.0f + 4.0f + 4.0f));
}

TEST(ModelReader, SkipsUnknownChunksWhole) {
    // Material, viewport and key-frame chunks whose payloads look like vertex lists.
    const Bytes decoy = vertices({{9, 9, 9}});
    const Bytes editor = cat({chunk(0xAFFF, cat({chunk(0xA000, {'m', 0}), decoy})),
                              chunk(0x7012, decoy), object("tri", triangleMesh())});
    const Loaded r = loadBytes("skip.3ds", file(editor, chunk(0xB000, decoy)));
    ASSERT_TRUE(r.model);
    EXPECT_EQ(r.model->vertexCount, 3u);
    EXPECT_EQ(r.model->positions[0], 1);
}

TEST(ModelReader, LaterListsReplaceEarlierOnes) {
    const Bytes first = chunk(
        0x4100, cat({vertices({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}}),
                     mapping({{0, 0}, {1, 0}, {0, 1}, {1, 1}}), faces({{0, 1, 2}, {0, 2, 3}})}));
    const Loaded r =
        loadBytes("two.3ds", file(cat({object("a", first), object("b", triangleMesh())})));
    ASSERT_TRUE(r.model);
    EXPECT_EQ(r.model->indexCount, 3u);
    EXPECT_EQ(r.model->texCoordSize, 36);
    EXPECT_EQ(r.model->positions[0], 1);
    EXPECT_NE(r.log.find("vert: 4"), std::string::npos);
    EXPECT_NE(r.log.find("vert: 3"), std::string::npos);
}

TEST(ModelReader, WithoutTexCoordsGeneratesBoxMapping) {
    const Loaded r = loadBytes("gen.3ds", file(object("tri", triangleMesh())), 0.3f, false);
    ASSERT_TRUE(r.model);
    const Model& m = *r.model;
    EXPECT_EQ(r.log.find("tex:"), std::string::npos);
    EXPECT_EQ(m.texCoordComponents, 3);
    EXPECT_EQ(m.texCoordSize, 9); // 3 floats per corner
    ASSERT_GE(m.texCoords.size(), 9u);
    // Vertex 0 is the box minimum on x and z... and the maximum on y; vertex 2 the opposite.
    EXPECT_FLOAT_EQ(m.texCoords[0], 0);
    EXPECT_FLOAT_EQ(m.texCoords[1], 0);
    EXPECT_FLOAT_EQ(m.texCoords[2], 1);
    EXPECT_FLOAT_EQ(m.texCoords[6], 1);
    EXPECT_FLOAT_EQ(m.texCoords[7], 1);
    EXPECT_FLOAT_EQ(m.texCoords[8], 0);
    for (float t : m.texCoords) {
        EXPECT_GE(t, 0.0f);
        EXPECT_LE(t, 1.0f);
    }
}

TEST(ModelReader, FlatBoxAxisGivesFiniteGeneratedCoordinates) {
    const Loaded r =
        loadBytes("flat.3ds",
                  file(object("f", chunk(0x4100, cat({vertices({{0, 0, 5}, {1, 0, 5}, {0, 1, 5}}),
                                                      faces({{0, 1, 2}})})))),
                  0.3f, false);
    ASSERT_TRUE(r.model);
    for (float t : r.model->texCoords) {
        EXPECT_TRUE(std::isfinite(t));
    }
}

TEST(ModelReader, MissingFilePrintsFileNotFound) {
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(read3dsFile(tempPath("does-not-exist.3ds"), true), nullptr);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "File not Found\n");
}

TEST(ModelReader, EmptyFileGivesEmptyModel) {
    const Loaded r = loadBytes("empty.3ds", {});
    ASSERT_TRUE(r.model);
    EXPECT_EQ(r.model->vertexCount, 0u);
    EXPECT_EQ(r.model->radius, 0.0f);
}

// Malformed input: one console line naming the file and the fault, and no model.
struct BadCase {
    const char* name;
    Bytes bytes;
    const char* fault;
};

class MalformedModel : public ::testing::TestWithParam<int> {};

std::vector<BadCase> badCases() {
    const Bytes mesh = triangleMesh();
    Bytes countPastData;
    put16(countPastData, 50); // claims 50 vertices, holds one
    for (int i = 0; i < 3; ++i) {
        putFloat(countPastData, 1);
    }
    Bytes facesPastData;
    put16(facesPastData, 1000);
    put16(facesPastData, 0);
    Bytes mapPastData;
    put16(mapPastData, 9);
    return {
        {"short-length", file(chunk(0x7012, {1, 2, 3}, 3)), "has length 3"},
        {"zero-length", cat({chunk(0x4D4D, {}, 0)}), "has length 0"},
        {"past-parent", file(cat({chunk(0x7012, {1, 2, 3, 4}, 40), object("t", mesh)})),
         "runs past its parent"},
        {"past-file", chunk(0x4D4D, {}, 1000), "runs past the end of the file"},
        {"vertex-count-past-data", file(object("t", chunk(0x4100, chunk(0x4110, countPastData)))),
         "vertex list"},
        {"face-count-past-data", file(object("t", chunk(0x4100, chunk(0x4120, facesPastData)))),
         "face list"},
        {"mapping-past-data", file(object("t", chunk(0x4100, chunk(0x4140, mapPastData)))),
         "mapping list"},
        {"bad-index",
         file(object("t", chunk(0x4100, cat({vertices({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}),
                                             faces({{0, 1, 3}})})))),
         "face index 3 is not below the vertex count 3"},
        {"faces-without-vertices", file(object("t", chunk(0x4100, faces({{0, 0, 0}})))),
         "not below the vertex count 0"},
        {"name-past-chunk", chunk(0x4D4D, chunk(0x4000, {'a', 'b', 'c'})), "object name"},
        {"header-cut", cat({file(object("t", mesh)), Bytes{0x10, 0x41, 0x01}}), "chunk header"},
    };
}

TEST_P(MalformedModel, IsRejectedWithOneLine) {
    const BadCase bad = badCases()[GetParam()];
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
    EXPECT_EQ(line == 0 || log[line - 1] == '\n', true) << log;
    EXPECT_EQ(log.find('\n', line), log.size() - 1) << log;
    EXPECT_NE(log.find(bad.fault, line), std::string::npos) << log;
}

INSTANTIATE_TEST_SUITE_P(Faults, MalformedModel,
                         ::testing::Range(0, static_cast<int>(badCases().size())),
                         [](const ::testing::TestParamInfo<int>& info) {
                             std::string name = badCases()[info.param].name;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

TEST(ModelReader, EveryTruncationIsRejectedOrLoadedSafely) {
    const Bytes whole = file(object("tri", triangleMesh()), chunk(0xB000, {1, 2, 3}));
    const std::string path = tempPath("cut.3ds");
    for (std::size_t n = 0; n < whole.size(); ++n) {
        write(path, Bytes(whole.begin(), whole.begin() + static_cast<long>(n)));
        ::testing::internal::CaptureStdout();
        const auto model = loadModel(path, 0.3f, true);
        ::testing::internal::GetCapturedStdout();
        // Any prefix that cuts into the main chunk leaves it running past the end of the file.
        if (n > 0) {
            EXPECT_EQ(model, nullptr) << "prefix of " << n << " bytes";
        }
    }
    std::filesystem::remove(path);
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

TEST(ModelReader, RealFilesFromOtherToolsLoadWithTheirLastLists) {
    const std::filesystem::path dir = std::filesystem::path(BEAMWORKS_TESTDATA_DIR) / "3ds-real";
    if (!std::filesystem::exists(dir)) {
        GTEST_SKIP() << "no shared test data at " << dir;
    }
    struct Expected {
        const char* file;
        unsigned vertices, faces, mapping;
    };
    const Expected expected[] = {
        {"CameraRollAnim.3ds", 26, 12, 26},
        {"CameraRollAnimWithChildObject.3ds", 26, 12, 26},
        {"RotatingCube.3DS", 26, 12, 26},
        {"TargetCameraAnim.3ds", 26, 12, 26},
        {"cube_with_diffuse_texture.3DS", 32, 12, 32},
        {"cube_with_specular_texture.3DS", 32, 12, 32},
        {"cubes_with_alpha.3DS", 26, 12, 26},
        {"fels.3ds", 386, 768, 0},
        {"test1.3ds", 32, 12, 32},
    };
    for (const Expected& e : expected) {
        const std::string path = (dir / e.file).string();
        ::testing::internal::CaptureStdout();
        const auto raw = read3dsFile(path, true);
        const auto model = loadModel(path, 0.3f, true);
        ::testing::internal::GetCapturedStdout();
        ASSERT_TRUE(raw) << e.file;
        EXPECT_EQ(raw->vertexCount, e.vertices) << e.file;
        EXPECT_EQ(raw->indexCount, 3 * e.faces) << e.file;
        EXPECT_EQ(raw->texCoordSize, static_cast<int>(12 * e.mapping)) << e.file;
        ASSERT_TRUE(model) << e.file;
        EXPECT_GE(model->vertexCount, e.vertices) << e.file;
        for (float n : model->normals) {
            ASSERT_TRUE(std::isfinite(n)) << e.file;
        }
    }
}
