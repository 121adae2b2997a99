// The shipped level pack, proven with the real simulation: every level is a closed, lit room in
// the documented format, unsolved as shipped, and solved by its solution file, which only moves
// what the player can move, to places the player can reach.

#include "app/GameRules.h"
#include "app/Placement.h"
#include "core/ActiveObject.h"
#include "core/Light.h"
#include "elements/Emitter.h"
#include "elements/Goal.h"
#include "elements/Holder.h"
#include "elements/Mirror.h"
#include "elements/MirrorHalf.h"
#include "elements/Wall.h"
#include "laser/Tracer.h"
#include "level/Level.h"
#include "support/TestModels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <fstream>
#include <memory>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int LEVEL_COUNT = 10;

std::string levelPath(int n) {
    return std::string(BEAMWORKS_SOURCE_DIR) + "/data/levels/level" + std::to_string(n) + ".txt";
}

std::string solutionPath(int n) {
    return std::string(BEAMWORKS_SOURCE_DIR) + "/data/levels/solutions/level" + std::to_string(n) +
           ".txt";
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        out.push_back(line);
    }
    return out;
}

// ---------------------------------------------------------------- the text of a level file

/// One object directive with the property lines that follow it.
struct Block {
    std::string keyword; ///< the three letters after '@'
    std::vector<std::string> properties;
};

struct ParsedFile {
    std::vector<Block> blocks;
    std::string comments;            ///< every line that is not a directive
    std::vector<std::string> errors; ///< lines that break the documented format
};

const std::regex OBJECT_LINE("@ (EMI|MIR|HMI|FIL|COL|WAL|FIN|LIG|CAM|LEV)[^@#+]*");
const std::string NUMBER = "-?[0-9]+(\\.[0-9]+)?";
const std::regex TRIPLE_LINE("[#+] (Pos|Sca) " + NUMBER + ";" + NUMBER + ";" + NUMBER + ";");
const std::regex ANGLE_LINE("[#+] (XRo|YRo|ZRo) " + NUMBER + ";");
const std::regex COLOUR_LINE("# Col [0-7]");
const std::regex TEXTURE_LINE("# Tex [0-9]+;");

// Splits a level file into its directives, checking each line against the documented format:
// '@', '#' and '+' only ever start a directive line, and each directive line has exactly the
// documented shape.
ParsedFile parse(const std::string& text) {
    ParsedFile file;
    for (unsigned char c : text) {
        if (c >= 0x80 || (c < 0x20 && c != '\n')) {
            file.errors.push_back("a byte outside printable ASCII: " + std::to_string(c));
        }
    }
    for (const std::string& line : lines(text)) {
        const bool directive =
            !line.empty() && (line[0] == '@' || line[0] == '#' || line[0] == '+');
        if (!directive) {
            if (line.find_first_of("@#+") != std::string::npos) {
                file.errors.push_back("a directive character inside comment text: " + line);
            }
            file.comments += line + "\n";
            continue;
        }
        if (line[0] == '@') {
            if (!std::regex_match(line, OBJECT_LINE)) {
                file.errors.push_back("not a documented object directive: " + line);
            }
            file.blocks.push_back({line.substr(2, 3), {}});
            continue;
        }
        if (!std::regex_match(line, TRIPLE_LINE) && !std::regex_match(line, ANGLE_LINE) &&
            !std::regex_match(line, COLOUR_LINE) && !std::regex_match(line, TEXTURE_LINE)) {
            file.errors.push_back("not a documented property directive: " + line);
        }
        if (file.blocks.empty()) {
            file.errors.push_back("a property before the first object: " + line);
            continue;
        }
        file.blocks.back().properties.push_back(line);
    }
    return file;
}

bool isMovable(const std::string& keyword) {
    return keyword == "MIR" || keyword == "HMI" || keyword == "FIL" || keyword == "LIG";
}

bool isTransform(const std::string& property) {
    const std::string word = property.substr(2, 3);
    return word == "Pos" || word == "XRo" || word == "YRo" || word == "ZRo";
}

std::vector<std::string> nonTransformLines(const Block& block) {
    std::vector<std::string> out;
    for (const std::string& p : block.properties) {
        if (!isTransform(p)) {
            out.push_back(p);
        }
    }
    return out;
}

// ---------------------------------------------------------------- the scene of a level file

std::unique_ptr<Level> load(const std::string& path) {
    std::unique_ptr<Level> level;
    captureStdout([&] { level = std::make_unique<Level>(path); });
    return level;
}

bool solvedAfterUpdate(Level& level) {
    updateLasers(level);
    return isLevelSolved(level);
}

Point origin(Renderable& r) {
    const Matrix w = r.getWorldMatrix();
    return {w[12], w[13], w[14], 1};
}

struct Box {
    std::array<float, 3> min{}, max{};
    float centre(int axis) const { return (min[axis] + max[axis]) / 2; }
    bool contains(const Point& p, float margin = 0) const {
        for (int a = 0; a < 3; ++a) {
            if (p[a] < min[a] + margin || p[a] > max[a] - margin) {
                return false;
            }
        }
        return true;
    }
};

Box worldBox(Renderable& wall) {
    const Matrix w = wall.getWorldMatrix();
    Box box;
    box.min = {1e30f, 1e30f, 1e30f};
    box.max = {-1e30f, -1e30f, -1e30f};
    for (int corner = 0; corner < 8; ++corner) {
        Point p{corner & 1 ? 100.0f : -100.0f, corner & 2 ? 100.0f : -100.0f,
                corner & 4 ? 10.0f : -10.0f, 1};
        transformPoint(w, p);
        for (int a = 0; a < 3; ++a) {
            box.min[a] = std::min(box.min[a], p[a]);
            box.max[a] = std::max(box.max[a], p[a]);
        }
    }
    return box;
}

/// The room: the six outermost wall slabs, one per side, and the box between them. Empty
/// `problems` when the six slabs seal the box completely.
struct Room {
    Box inside;
    std::vector<Renderable*> shell;
    std::vector<std::string> problems;
};

Room findRoom(Level& level) {
    Room room;
    std::vector<std::pair<Renderable*, Box>> walls;
    for (ActiveObject* wall : level.walls) {
        walls.emplace_back(wall, worldBox(*wall));
    }
    // Per axis, the slabs thin along it; the outermost on each side bound the room.
    std::array<std::array<int, 2>, 3> side{};
    for (int a = 0; a < 3; ++a) {
        side[a] = {-1, -1};
        for (std::size_t i = 0; i < walls.size(); ++i) {
            const Box& b = walls[i].second;
            const float extent = b.max[a] - b.min[a];
            if (extent > b.max[(a + 1) % 3] - b.min[(a + 1) % 3] ||
                extent > b.max[(a + 2) % 3] - b.min[(a + 2) % 3]) {
                continue;
            }
            const float centre = b.centre(a);
            if (side[a][0] < 0 || centre < walls[side[a][0]].second.centre(a)) {
                side[a][0] = static_cast<int>(i);
            }
            if (side[a][1] < 0 || centre > walls[side[a][1]].second.centre(a)) {
                side[a][1] = static_cast<int>(i);
            }
        }
        if (side[a][0] < 0 || side[a][0] == side[a][1]) {
            room.problems.push_back("no pair of walls across axis " + std::to_string(a));
            return room;
        }
        room.inside.min[a] = walls[side[a][0]].second.max[a];
        room.inside.max[a] = walls[side[a][1]].second.min[a];
        if (!(room.inside.min[a] < room.inside.max[a])) {
            room.problems.push_back("the walls across axis " + std::to_string(a) + " overlap");
        }
    }
    // Each of the six slabs covers its whole face of the box, so every ray from inside meets
    // one of them.
    constexpr float EPS = 0.5f;
    for (int a = 0; a < 3; ++a) {
        for (int s = 0; s < 2; ++s) {
            const Box& b = walls[side[a][s]].second;
            room.shell.push_back(walls[side[a][s]].first);
            for (int o = 1; o < 3; ++o) {
                const int c = (a + o) % 3;
                if (b.min[c] > room.inside.min[c] + EPS || b.max[c] < room.inside.max[c] - EPS) {
                    room.problems.push_back("a gap beside the wall that bounds axis " +
                                            std::to_string(a) + " on side " + std::to_string(s));
                }
            }
        }
    }
    return room;
}

bool isShell(const Room& room, Renderable* wall) {
    return std::find(room.shell.begin(), room.shell.end(), wall) != room.shell.end();
}

std::vector<Holder*> holders(Level& level) {
    std::vector<Holder*> out;
    for (ActiveObject* object : level.activeObjects) {
        if (auto* holder = dynamic_cast<Holder*>(object)) {
            out.push_back(holder);
        }
    }
    return out;
}

ActiveObject* heldElement(Holder& holder) {
    return static_cast<ActiveObject*>(holder.frame()->children.front());
}

int mirrorCount(Level& level) {
    int count = 0;
    for (ActiveObject* object : level.activeObjects) {
        count += dynamic_cast<MirrorBase*>(object) != nullptr;
    }
    return count;
}

// Where a segment ends must lie on what it hit: in a wall's slab, in another element's
// bounding sphere. A stop in mid-air would be an artefact of the hit test.
std::vector<std::string> misplacedEnds(Level& level) {
    std::vector<std::string> out;
    for (LaserBeam* segment : level.laserBeams) {
        ActiveObject* hit = segment->hitObject;
        if (!hit) {
            continue;
        }
        const Point end = segment->endPoint();
        bool onIt;
        if (dynamic_cast<Wall*>(hit)) {
            Box box = worldBox(*hit);
            onIt = box.contains(end, -1.0f);
        } else {
            const Point c = hit->getBoundingCenter();
            const float d =
                std::sqrt((end[0] - c[0]) * (end[0] - c[0]) + (end[1] - c[1]) * (end[1] - c[1]) +
                          (end[2] - c[2]) * (end[2] - c[2]));
            onIt = d <= hit->getBoundingRadius() + 1.0f;
        }
        if (!onIt) {
            out.push_back("a segment ends at (" + std::to_string(end[0]) + ", " +
                          std::to_string(end[1]) + ", " + std::to_string(end[2]) +
                          ") off the object it hit");
        }
    }
    return out;
}

// ---------------------------------------------------------------- the tests

class LevelPack : public ::testing::TestWithParam<int> {
  protected:
    void SetUp() override { loadTestModels(); }
    int n() const { return GetParam(); }
};

TEST_P(LevelPack, BothFilesFollowTheDocumentedFormat) {
    for (const std::string& path : {levelPath(n()), solutionPath(n())}) {
        const std::string text = readFile(path);
        ASSERT_FALSE(text.empty()) << path;
        const ParsedFile file = parse(text);
        for (const std::string& error : file.errors) {
            ADD_FAILURE() << path << ": " << error;
        }
        ASSERT_FALSE(file.blocks.empty()) << path;
        EXPECT_EQ(file.blocks.front().keyword, "EMI") << path << ": the emitter must come first";
        int emitters = 0;
        for (const Block& block : file.blocks) {
            emitters += block.keyword == "EMI";
        }
        EXPECT_EQ(emitters, 1) << path;
    }
    EXPECT_NE(parse(readFile(levelPath(n()))).comments.find("Teaches: "), std::string::npos)
        << "the comment at the top says what the level teaches";
}

TEST_P(LevelPack, IsAClosedLitRoomHoldingEverything) {
    for (const std::string& path : {levelPath(n()), solutionPath(n())}) {
        auto level = load(path);
        ASSERT_TRUE(level->isLoaded()) << path;
        ASSERT_FALSE(level->activeObjects.empty()) << path;
        EXPECT_NE(dynamic_cast<Emitter*>(level->activeObjects.front()), nullptr)
            << path << ": the first element must be the emitter";
        EXPECT_FALSE(level->lights.empty()) << path;
        EXPECT_FALSE(level->goals.empty()) << path;

        Room room = findRoom(*level);
        for (const std::string& problem : room.problems) {
            ADD_FAILURE() << path << ": " << problem;
        }
        ASSERT_TRUE(room.problems.empty());
        for (ActiveObject* object : level->activeObjects) {
            if (isShell(room, object)) {
                continue;
            }
            if (dynamic_cast<Wall*>(object)) {
                const Box b = worldBox(*object);
                EXPECT_TRUE(room.inside.contains({b.min[0], b.min[1], b.min[2], 1}, -0.5f) &&
                            room.inside.contains({b.max[0], b.max[1], b.max[2], 1}, -0.5f))
                    << path << ": an inner wall reaches out of the room";
                continue;
            }
            const Point p = origin(*object);
            EXPECT_TRUE(room.inside.contains(p)) << path << ": an element at (" << p[0] << ", "
                                                 << p[1] << ", " << p[2] << ") outside the room";
        }
        for (Light* light : level->lights) {
            EXPECT_TRUE(room.inside.contains(origin(*light))) << path << ": a light outside";
        }
        const Point eye{-level->cameraOffset[0], -level->cameraOffset[1], -level->cameraOffset[2],
                        1};
        EXPECT_TRUE(room.inside.contains(eye)) << path << ": the view starts outside the room";
    }
}

TEST_P(LevelPack, IsUnsolvedAsShippedAndSolvedByItsSolution) {
    auto level = load(levelPath(n()));
    EXPECT_FALSE(solvedAfterUpdate(*level)) << "the level is solved with the power on";
    for (const std::string& problem : misplacedEnds(*level)) {
        ADD_FAILURE() << "shipped: " << problem;
    }
    auto solution = load(solutionPath(n()));
    EXPECT_TRUE(solvedAfterUpdate(*solution)) << "the solution does not solve the level";
    for (const std::string& problem : misplacedEnds(*solution)) {
        ADD_FAILURE() << "solution: " << problem;
    }
}

TEST_P(LevelPack, SolutionMovesOnlyMovableElements) {
    const ParsedFile level = parse(readFile(levelPath(n())));
    const ParsedFile solution = parse(readFile(solutionPath(n())));
    ASSERT_EQ(level.blocks.size(), solution.blocks.size()) << "same objects in the same order";
    int moved = 0;
    for (std::size_t i = 0; i < level.blocks.size(); ++i) {
        const Block& a = level.blocks[i];
        const Block& b = solution.blocks[i];
        ASSERT_EQ(a.keyword, b.keyword) << "object " << i + 1;
        if (isMovable(a.keyword)) {
            EXPECT_EQ(nonTransformLines(a), nonTransformLines(b))
                << "object " << i + 1 << " (" << a.keyword << ") changed colour or size";
            moved += a.properties != b.properties;
        } else {
            EXPECT_EQ(a.properties, b.properties)
                << "object " << i + 1 << " (" << a.keyword << ") is not movable";
        }
    }
    EXPECT_GT(moved, 0) << "the solution moves nothing";
}

TEST_P(LevelPack, SolutionIsReachable) {
    auto level = load(levelPath(n()));
    auto solution = load(solutionPath(n()));
    const Room room = findRoom(*solution);
    ASSERT_TRUE(room.problems.empty());
    const std::vector<Holder*> before = holders(*level);
    const std::vector<Holder*> after = holders(*solution);
    ASSERT_EQ(before.size(), after.size());
    for (std::size_t i = 0; i < after.size(); ++i) {
        // Every movable element is free in the shipped level and in the solution: a selected
        // element that overlaps another one would lock the player's clicks.
        EXPECT_FALSE(isPlacementBlocked(*level, heldElement(*before[i])))
            << "holder " << i + 1 << " overlaps another element as shipped";
        EXPECT_FALSE(isPlacementBlocked(*solution, heldElement(*after[i])))
            << "holder " << i + 1 << " overlaps another element in the solution";
        EXPECT_TRUE(room.inside.contains(origin(*after[i])))
            << "holder " << i + 1 << " left the room";
        // A holder stands on the floor or, carried, on a wall: its y axis is the inward normal
        // of one of the room's axis-aligned faces.
        const Matrix w = after[i]->getWorldMatrix();
        const float up[3] = {w[4], w[5], w[6]};
        const float length = std::sqrt(up[0] * up[0] + up[1] * up[1] + up[2] * up[2]);
        const float largest = std::max({std::fabs(up[0]), std::fabs(up[1]), std::fabs(up[2])});
        EXPECT_NEAR(largest / length, 1.0f, 1e-4f) << "holder " << i + 1 << " stands on no wall";
    }
}

TEST_P(LevelPack, SolutionIsNotOnAKnifeEdge) {
    // Each moved element turned or tilted a fifth of a degree either way, as a drag would:
    // the level stays solved.
    const float delta = 0.2f * static_cast<float>(PI) / 180.0f;
    auto level = load(levelPath(n()));
    auto solution = load(solutionPath(n()));
    const std::vector<Holder*> before = holders(*level);
    const std::vector<Holder*> after = holders(*solution);
    ASSERT_EQ(before.size(), after.size());
    for (std::size_t i = 0; i < after.size(); ++i) {
        if (before[i]->getWorldMatrix() == after[i]->getWorldMatrix() &&
            before[i]->frame()->getWorldMatrix() == after[i]->frame()->getWorldMatrix()) {
            continue;
        }
        ActiveObject* element = heldElement(*after[i]);
        for (const float a : {delta, -delta}) {
            element->rotateY(a);
            EXPECT_TRUE(solvedAfterUpdate(*solution)) << "holder " << i + 1 << " turned " << a;
            element->rotateY(-a);
            element->rotateX(a);
            EXPECT_TRUE(solvedAfterUpdate(*solution)) << "holder " << i + 1 << " tilted " << a;
            element->rotateX(-a);
        }
    }
}

TEST_P(LevelPack, ReflectionLimitsAreAnnounced) {
    auto level = load(levelPath(n()));
    const int mirrors = mirrorCount(*level);
    EXPECT_LT(mirrors, 8) << "eight mirrors or more switch reflections off altogether";
    const std::string comments = parse(readFile(levelPath(n()))).comments;
    const bool announced = comments.find("only one") != std::string::npos &&
                           comments.find("level of reflections") != std::string::npos;
    EXPECT_EQ(announced, mirrors >= 4) << mirrors << " mirrors and half mirrors";
}

INSTANTIATE_TEST_SUITE_P(EveryLevel, LevelPack, ::testing::Range(1, LEVEL_COUNT + 1),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return "Level" + std::to_string(info.param);
                         });

TEST(LevelPackFiles, TheOpeningLevelIsAGentleStart) {
    loadTestModels();
    auto level = load(levelPath(2));
    EXPECT_EQ(level->lights.size(), 1u);
    int mirrors = 0;
    for (ActiveObject* object : level->activeObjects) {
        mirrors += dynamic_cast<Mirror*>(object) != nullptr;
    }
    EXPECT_GE(mirrors, 2);
    EXPECT_FALSE(level->colorFilters.empty());
    EXPECT_EQ(level->goals.size(), 1u);
    EXPECT_EQ(findRoom(*level).problems.size(), 0u);
}

TEST(LevelPackFiles, NoLevelBeyondThePackAndNoStraySolution) {
    EXPECT_TRUE(readFile(levelPath(LEVEL_COUNT + 1)).empty());
    EXPECT_TRUE(readFile(solutionPath(LEVEL_COUNT + 1)).empty());
    EXPECT_TRUE(readFile(solutionPath(0)).empty());
}

// The checks above must catch broken files: each defect below is found.
TEST(LevelPackChecks, FormatCheckFindsStrayAndUnknownDirectives) {
    EXPECT_TRUE(parse("A comment.\n@ EMI\n# Pos 0;0;0;\n").errors.empty());
    EXPECT_TRUE(parse("Aim at the goal, then press enter.\n@ EMI\n").errors.empty());
    EXPECT_FALSE(parse("Score: 1+1\n@ EMI\n").errors.empty());
    EXPECT_FALSE(parse("Room 7 is #1\n@ EMI\n").errors.empty());
    EXPECT_FALSE(parse("@ EMI\nMail me at x@y\n").errors.empty());
    EXPECT_FALSE(parse("@ BOX\n").errors.empty());               // no such object
    EXPECT_FALSE(parse("@ EMI\n# Rot 5;\n").errors.empty());     // no such property
    EXPECT_FALSE(parse("@ EMI\n# Pos 0;0;\n").errors.empty());   // a triple needs three numbers
    EXPECT_FALSE(parse("@ EMI\n# YRo 90\n").errors.empty());     // a number ends with ';'
    EXPECT_FALSE(parse("@ FIL\n+ Col 1\n").errors.empty());      // colours take '#'
    EXPECT_FALSE(parse("@ FIL\n# Col 9\n").errors.empty());      // codes 0 to 7
    EXPECT_FALSE(parse("# Pos 0;0;0;\n@ EMI\n").errors.empty()); // a property before objects
    EXPECT_FALSE(parse("@ EMI  # Pos 1;2;3;\n").errors.empty()); // two directives, one line
    EXPECT_FALSE(parse("@ EMI\n\xff").errors.empty());
}

TEST(LevelPackChecks, RoomCheckFindsGapsAndMissingWalls) {
    loadTestModels();
    const std::string shell = "@ WAL\n# Pos 0;-150;0;\n# XRo 90;\n# Sca 4;4;1;\n"
                              "@ WAL\n# Pos 0;270;0;\n# XRo 90;\n# Sca 4;4;1;\n"
                              "@ WAL\n# Pos 0;60;-410;\n# Sca 4.2;2.2;1;\n"
                              "@ WAL\n# Pos 0;60;410;\n# Sca 4.2;2.2;1;\n"
                              "@ WAL\n# Pos -410;60;0;\n# YRo 90;\n# Sca 4.2;2.2;1;\n";
    const std::string right = "@ WAL\n# Pos 410;60;0;\n# YRo 90;\n# Sca 4.2;2.2;1;\n";
    const auto room = [](const std::string& text) {
        Level level;
        std::istringstream in(text);
        level.read(in);
        return findRoom(level);
    };
    const Room closed = room(shell + right);
    EXPECT_TRUE(closed.problems.empty());
    EXPECT_NEAR(closed.inside.min[0], -400, 1e-3);
    EXPECT_NEAR(closed.inside.max[1], 260, 1e-3);
    EXPECT_FALSE(room(shell).problems.empty()); // no right wall
    const std::string narrow = "@ WAL\n# Pos 410;60;0;\n# YRo 90;\n# Sca 3;2.2;1;\n";
    EXPECT_FALSE(room(shell + narrow).problems.empty()); // a gap at the corners
}

} // namespace
