// The 3DS reader on files built byte by byte here, malformed ones among them, and on real files
// made by other tools when the checkout has them beside it.

#include "model/Chunks3ds.h"
#include "model/ModelLoader.h"
#include "support/TestModels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

using namespace chunk3ds;

namespace {

using Bytes = std::vector<std::uint8_t>;

void put(Bytes& b, std::uint32_t v, int size) {
    for (int i = 0; i < size; ++i) {
        b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }
}

std::uint32_t lengthAt(const Bytes& b, std::size_t at) {
    return b[at + 2] | b[at + 3] << 8 | b[at + 4] << 16 | std::uint32_t(b[at + 5]) << 24;
}

void setLength(Bytes& b, std::size_t at, std::uint32_t length) {
    for (int i = 0; i < 4; ++i) {
        b[at + 2 + i] = static_cast<std::uint8_t>(length >> (8 * i));
    }
}

/// A chunk holding the parts one after the other, with its true length or `length` instead.
Bytes chunk(std::uint16_t id, std::initializer_list<Bytes> parts, long length = -1) {
    Bytes b;
    put(b, id, 2);
    put(b, 0, 4);
    for (const Bytes& p : parts) {
        b.insert(b.end(), p.begin(), p.end());
    }
    setLength(b, 0, length >= 0 ? std::uint32_t(length) : std::uint32_t(b.size()));
    return b;
}

/// A list chunk: the count, then each item's numbers, floats or 16-bit, and `tail` after them.
template <class T, std::size_t N>
Bytes list(std::uint16_t id, const std::vector<std::array<T, N>>& items, const Bytes& tail = {}) {
    Bytes p;
    put(p, std::uint32_t(items.size()), 2);
    for (const auto& item : items) {
        for (T x : item) {
            std::uint32_t bits = 0;
            std::memcpy(&bits, &x, sizeof x);
            put(p, bits, sizeof x);
        }
        if (id == FACE_LIST) {
            put(p, 7, 2); // edge flags
        }
    }
    return chunk(id, {p, tail});
}

Bytes vertices(const std::vector<std::array<float, 3>>& v) {
    return list(VERTEX_LIST, v);
}
Bytes faces(const std::vector<std::array<std::uint16_t, 3>>& f, const Bytes& sub = {}) {
    return list(FACE_LIST, f, sub);
}
Bytes mapping(const std::vector<std::array<float, 2>>& uv) {
    return list(MAPPING, uv);
}
Bytes mesh(std::initializer_list<Bytes> lists) {
    return chunk(TRIANGLE_MESH, lists);
}
Bytes object(const std::string& name, const Bytes& mesh) {
    Bytes p(name.begin(), name.end());
    p.push_back(0);
    return chunk(OBJECT, {p, mesh});
}
Bytes file(std::initializer_list<Bytes> editorContent, const Bytes& afterEditor = {}) {
    return chunk(MAIN, {chunk(EDITOR, editorContent), afterEditor});
}

// One triangle in file coordinates, with a mapping list and smoothing groups after the faces.
Bytes triangleMesh() {
    return mesh({vertices({{1, 2, 3}, {4, 5, 6}, {7, 8, 10}}),
                 mapping({{0.25f, 0.75f}, {1, 0}, {0, 1}}),
                 faces({{0, 1, 2}}, chunk(SMOOTHING, {Bytes{0, 0, 0, 0}}))});
}

struct Loaded {
    std::unique_ptr<Model> model;
    std::string log;
};

Loaded load(const Bytes& bytes, bool tex = true) {
    Loaded r;
    r.log = captureStdout([&] { r.model = loadModelBytes(bytes, "test.3ds", 0.3f, tex); });
    return r;
}

} // namespace

TEST(ModelReader, ConvertsToYUpAndFlipsV) {
    const Loaded r = load(file({object("tri", triangleMesh())}));
    ASSERT_TRUE(r.model);
    const Model& m = *r.model;
    EXPECT_EQ(m.indices, (std::vector<std::uint16_t>{0, 1, 2}));
    EXPECT_EQ(m.texCoordSize, 36);
    EXPECT_EQ(m.texCoordComponents, 2);
    // File (x, y, z) becomes (x, z, -y); (s, t) becomes (s, 1 - t).
    EXPECT_EQ(std::vector<float>(m.positions.begin(), m.positions.begin() + 3),
              (std::vector<float>{1, 3, -2}));
    EXPECT_EQ(std::vector<float>(m.texCoords.begin(), m.texCoords.begin() + 4),
              (std::vector<float>{0.25f, 0.25f, 1, 1}));
}

TEST(ModelReader, BoundingSphereIsBoxCentreAndFarthestVertex) {
    const Loaded r = load(file({object(
        "box", mesh({vertices({{-1, -2, -3}, {3, 2, 1}, {0, 0, 0}}), faces({{0, 1, 2}})}))}));
    ASSERT_TRUE(r.model);
    // Box x in [-1, 3], y in [-3, 1], z in [-2, 2].
    EXPECT_EQ(r.model->centre, (std::array<float, 4>{1, -1, 0, 1}));
    EXPECT_FLOAT_EQ(r.model->radius, std::sqrt(12.0f));
    EXPECT_EQ(load({}).model->vertexCount, 0u); // an empty file: an empty model
}

TEST(ModelReader, SkipsUnknownChunksWholeAndLaterListsReplaceEarlierOnes) {
    // Material, viewport and key-frame chunks whose payloads look like vertex lists.
    const Bytes decoy = vertices({{9, 9, 9}});
    const Bytes first =
        mesh({vertices({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}}),
              mapping({{0, 0}, {1, 0}, {0, 1}, {1, 1}}), faces({{0, 1, 2}, {0, 2, 3}})});
    const Loaded r =
        load(file({chunk(MATERIAL, {chunk(MATERIAL_NAME, {Bytes{'m', 0}}), decoy}),
                   object("a", first), chunk(0x7012, {decoy}), object("tri", triangleMesh())},
                  chunk(KEYFRAMES, {decoy})));
    ASSERT_TRUE(r.model);
    EXPECT_EQ(r.model->vertexCount, 3u);
    EXPECT_EQ(r.model->indexCount, 3u);
    EXPECT_EQ(r.model->texCoordSize, 36);
    EXPECT_EQ(r.model->positions[0], 1);
}

TEST(ModelReader, WithoutTexCoordsGeneratesFiniteBoxMapping) {
    const Loaded r = load(file({object("tri", triangleMesh())}), false);
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
    const Loaded flat = load(file({object("f", mesh({vertices({{0, 0, 5}, {1, 0, 5}, {0, 1, 5}}),
                                                     faces({{0, 1, 2}})}))}),
                             false);
    ASSERT_TRUE(flat.model);
    for (float t : flat.model->texCoords) {
        EXPECT_TRUE(std::isfinite(t));
    }
}

TEST(ModelReader, MalformedInputIsRejectedWithOneLine) {
    Bytes countPastData{50, 0}; // claims 50 vertices, holds one
    countPastData.resize(2 + 12);
    const Bytes facesPastData{0xE8, 0x03, 0, 0}; // 1000 faces
    const struct {
        const char* name;
        Bytes bytes;
        const char* fault;
    } cases[] = {
        {"short length", file({chunk(0x7012, {Bytes{1, 2, 3}}, 3)}), "has length 3"},
        {"vertices past data", file({object("t", mesh({chunk(VERTEX_LIST, {countPastData})}))}),
         "vertex list"},
        {"faces past data", file({object("t", mesh({chunk(FACE_LIST, {facesPastData})}))}),
         "face list"},
        {"mapping past data", file({object("t", mesh({chunk(MAPPING, {Bytes{9, 0}})}))}),
         "mapping list"},
        {"bad index",
         file({object("t",
                      mesh({vertices({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}), faces({{0, 1, 3}})}))}),
         "face index 3 is not below the vertex count 3"},
        {"name past chunk", chunk(MAIN, {chunk(OBJECT, {Bytes{'a', 'b', 'c'}})}), "object name"},
        // A list chunk that claims more than its parent holds keeps every read inside it.
        {"list past parent",
         file({object("t", mesh({chunk(VERTEX_LIST, {Bytes{3, 0, 1, 2, 3}}, 500)}))}),
         "vertex list"},
    };
    for (const auto& bad : cases) {
        const Loaded r = load(bad.bytes);
        EXPECT_EQ(r.model, nullptr) << bad.name;
        // The fault is the last line; the list lines logged before it are the usual ones.
        const std::size_t line = r.log.find("Bad model file test.3ds: ");
        ASSERT_NE(line, std::string::npos) << r.log;
        EXPECT_TRUE(line == 0 || r.log[line - 1] == '\n') << r.log;
        EXPECT_EQ(r.log.find('\n', line), r.log.size() - 1) << r.log;
        EXPECT_NE(r.log.find(bad.fault, line), std::string::npos) << r.log;
    }
}

TEST(ModelReader, SlackThatOtherToolsLeaveIsToleratedAndLoadsTheSameMesh) {
    // Real files made by other tools, when the checkout has them beside it, and one of ours.
    std::vector<std::pair<std::string, Bytes>> files{
        {"ours", file({object("tri", triangleMesh())})}};
    const std::filesystem::path real = std::filesystem::path(BEAMWORKS_TESTDATA_DIR) / "3ds-real";
    if (std::filesystem::is_directory(real)) {
        for (const auto& entry : std::filesystem::directory_iterator(real)) {
            const std::string ext = entry.path().extension().string();
            if (ext != ".3ds" && ext != ".3DS") {
                continue;
            }
            std::ifstream in(entry.path(), std::ios::binary);
            files.emplace_back(entry.path().filename().string(),
                               Bytes{std::istreambuf_iterator<char>(in), {}});
        }
    }
    int compared = 0;
    for (const auto& [name, original] : files) {
        SCOPED_TRACE(name);
        const Loaded plain = load(original);
        if (!plain.model) {
            continue; // a file the reader refuses as it is says nothing about slack
        }
        ++compared;
        std::vector<std::pair<std::string, Bytes>> variants;
        for (int stray = 1; stray <= 5; ++stray) {
            Bytes b = original;
            b.insert(b.end(), std::size_t(stray), std::uint8_t{0xA5});
            variants.emplace_back(std::to_string(stray) + " stray bytes", b);
        }
        Bytes pastFile = original;
        setLength(pastFile, 0, lengthAt(original, 0) + 1000);
        variants.emplace_back("main chunk past the file", pastFile);
        for (const auto& [what, bytes] : variants) {
            const Loaded r = load(bytes);
            ASSERT_TRUE(r.model) << what << ": " << r.log;
            EXPECT_EQ(r.model->indices, plain.model->indices) << what;
            EXPECT_EQ(r.model->positions, plain.model->positions) << what;
        }
    }
    EXPECT_GE(compared, 1);
}
