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

TEST(ModelReader, ReadsTheMeshYUpWithItsBoundingSphereAndABoxMappingWhenNoneIsRead) {
    const Loaded r = load(file({object("tri", triangleMesh())}));
    ASSERT_TRUE(r.model);
    const Model& m = *r.model;
    EXPECT_EQ(m.indices, (std::vector<std::uint16_t>{0, 1, 2}));
    // File (x, y, z) becomes (x, z, -y): the box is x in [1, 7], y in [3, 10], z in [-8, -2], and
    // the middle vertex is the nearest to its centre. (s, t) becomes (s, 1 - t).
    EXPECT_EQ(std::vector<float>(m.positions.begin(), m.positions.begin() + 3),
              (std::vector<float>{1, 3, -2}));
    EXPECT_EQ(m.centre, (std::array<float, 4>{4, 6.5f, -5, 1}));
    EXPECT_FLOAT_EQ(m.radius, 5.5f);
    EXPECT_EQ(m.texCoordComponents, 2);
    EXPECT_EQ(std::vector<float>(m.texCoords.begin(), m.texCoords.begin() + 4),
              (std::vector<float>{0.25f, 0.25f, 1, 1}));
    // Without the mapping: the box mapped onto the unit cube, finite even for a flat box.
    const Loaded box = load(file({object("tri", triangleMesh())}), false);
    ASSERT_TRUE(box.model);
    EXPECT_EQ(box.model->texCoordComponents, 3);
    EXPECT_EQ(box.model->texCoords, (std::vector<float>{0, 0, 1, 0.5f, 3 / 7.0f, 0.5f, 1, 1, 0}));
    const Loaded flat = load(file({object("f", mesh({vertices({{0, 0, 5}, {1, 0, 5}, {0, 1, 5}}),
                                                     faces({{0, 1, 2}})}))}),
                             false);
    ASSERT_TRUE(flat.model);
    for (float t : flat.model->texCoords) {
        EXPECT_TRUE(std::isfinite(t));
    }
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
         "face index 3"},
        {"name past chunk", chunk(MAIN, {chunk(OBJECT, {Bytes{'a', 'b', 'c'}})}), "object name"},
        // A list chunk that claims more than its parent holds keeps every read inside it.
        {"list past parent",
         file({object("t", mesh({chunk(VERTEX_LIST, {Bytes{3, 0, 1, 2, 3}}, 500)}))}),
         "vertex list"},
    };
    for (const auto& bad : cases) {
        const Loaded r = load(bad.bytes);
        EXPECT_EQ(r.model, nullptr) << bad.name;
        // The last line names the file and the fault.
        const std::string last = r.log.substr(r.log.rfind('\n', r.log.size() - 2) + 1);
        EXPECT_EQ(last.rfind("Bad model file test.3ds: ", 0), 0u) << r.log;
        EXPECT_NE(last.find(bad.fault), std::string::npos) << r.log;
    }
}

TEST(ModelReader, SlackThatOtherToolsLeaveIsToleratedAndLoadsTheSameMesh) {
    // Real files made by other tools, when the checkout has them beside it, and one of ours.
    std::vector<std::pair<std::string, Bytes>> files{
        {"ours", file({object("tri", triangleMesh())})}};
    std::error_code none;
    for (const auto& entry : std::filesystem::directory_iterator(
             std::filesystem::path(BEAMWORKS_TESTDATA_DIR) / "3ds-real", none)) {
        std::ifstream in(entry.path(), std::ios::binary);
        if (entry.path().extension() == ".3ds" || entry.path().extension() == ".3DS") {
            files.emplace_back(entry.path().filename(),
                               Bytes{std::istreambuf_iterator<char>(in), {}});
        }
    }
    int compared = 0;
    for (const auto& [name, original] : files) {
        const Loaded plain = load(original);
        compared += plain.model != nullptr; // one the reader refuses says nothing about slack
        // Up to five stray bytes after the last chunk, or a main chunk that runs past the file.
        Bytes stray = original, pastFile = original;
        for (int more = 1; more <= 5 && plain.model; ++more) {
            stray.push_back(0xA5);
            setLength(pastFile, 0, std::uint32_t(original.size()) + 1000 * more);
            for (const Bytes* bytes : {&stray, &pastFile}) {
                const Loaded r = load(*bytes);
                ASSERT_TRUE(r.model) << name << ", " << more << ": " << r.log;
                EXPECT_EQ(r.model->indices, plain.model->indices) << name;
                EXPECT_EQ(r.model->positions, plain.model->positions) << name;
            }
        }
    }
    EXPECT_GE(compared, 1);
}
