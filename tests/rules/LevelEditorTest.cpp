#include "rules/LevelEditor.h"

#include "elements/ActiveObject.h"
#include "rules/Interaction.h"
#include "rules/LevelPack.h"
#include "rules/Menus.h"
#include "rules/RoomReach.h"
#include "support/LevelText.h"
#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <random>
#include <typeinfo>

namespace {

const double UP[3] = {0, 1, 0};

// The same scene: the same objects in the same order, standing alike, coloured alike, and the
// same start view.
void expectSameLevel(Level& a, Level& b, const std::string& what) {
    ASSERT_EQ(a.objects.size(), b.objects.size()) << what;
    for (std::size_t i = 0; i < a.objects.size(); ++i) {
        Renderable& x = *a.objects[i];
        Renderable& y = *b.objects[i];
        ASSERT_EQ(typeid(x), typeid(y)) << what << " object " << i;
        EXPECT_EQ(x.getWorldMatrix(), y.getWorldMatrix()) << what << " object " << i;
        EXPECT_EQ(x.vertexColors, y.vertexColors) << what << " object " << i;
        EXPECT_EQ(x.textureIndex, y.textureIndex) << what << " object " << i;
    }
    EXPECT_EQ(a.lights.size(), b.lights.size()) << what;
    EXPECT_EQ(a.cameraOffset, b.cameraOffset) << what;
    EXPECT_EQ(a.cameraPitch, b.cameraPitch) << what;
    EXPECT_EQ(a.cameraYaw, b.cameraYaw) << what;
}

// Every directive written anew from its values, the comments kept.
std::string rewritten(const std::string& text) {
    LevelDocument d;
    EXPECT_TRUE(d.parse(text));
    for (Piece& p : d.pieces) {
        for (Property& q : p.properties) {
            q.rewrite();
        }
    }
    return d.text();
}

class LevelEditorTest : public WithGameModels {
  protected:
    void SetUp() override {
        WithGameModels::SetUp();
        editor.createRoom(800, 600, 1000);
    }
    int placeOnFloor(PieceKind kind, double x, double z) {
        const double at[3] = {x, -140, z};
        return editor.place(kind, at, UP);
    }
    int first(PieceKind kind) const {
        for (int i = 0; i < editor.count(); ++i) {
            if (editor.piece(i).kind == kind) {
                return i;
            }
        }
        return -1;
    }
    LevelEditor editor;
};

} // namespace

TEST(LevelDocument, PackLevelsKeepTheirBytesAndTheirMeaningWhenWrittenAnew) {
    loadTestModels();
    for (int n = 1;; ++n) {
        const std::string file =
            std::string(BEAMWORKS_GAME_DIR) + "/level" + std::to_string(n) + ".txt";
        const std::string text = readFile(file);
        if (text.empty()) {
            EXPECT_GT(n, 30) << "the pack ends early";
            break;
        }
        LevelEditor editor;
        std::string error;
        ASSERT_TRUE(editor.open(text, &error)) << file << ": " << error;
        EXPECT_EQ(editor.text(), text) << file;
        EXPECT_EQ(editor.piece(0).kind, PieceKind::Emitter) << file;
        std::istringstream in(text);
        EXPECT_EQ(levelIdea(editor.introduction()), levelIdea(readLeadingComment(in))) << file;
        expectSameLevel(*editor.build(), *levelFromText(rewritten(text)), file);
    }
}

TEST(LevelDocument, CutsAsTheReaderReadsAndRefusesWhatItWouldStopAt) {
    LevelDocument d;
    // The byte after "Col " is the colour even when it is '@'; a keyword is any three bytes and
    // the value waits for the first blank, across lines.
    ASSERT_TRUE(d.parse("Title\n@ FILTER red one\n# Col @ MIR\n#\tPos\n 1;2;3;\n@ XYZZY\n"));
    ASSERT_EQ(d.pieces.size(), 2u);
    EXPECT_EQ(d.pieces[0].kind, PieceKind::Filter);
    EXPECT_EQ(d.pieces[0].name, "red one");
    ASSERT_EQ(d.pieces[0].properties.size(), 2u);
    EXPECT_EQ(d.pieces[0].properties[0].values, std::vector<double>{'@' - '0'});
    EXPECT_EQ(d.pieces[0].properties[1].values, (std::vector<double>{1, 2, 3}));
    EXPECT_EQ(d.pieces[1].kind, PieceKind::Other);
    EXPECT_EQ(d.leading, "Title\n");

    const char* refused[] = {"@ EMI\n# Pos 1;2;", "@ EMI\n# Col", "@ EM", "# Pos1;2;3;",
                             "ok\n\xff@ EMI\n"};
    for (const char* text : refused) {
        std::string error;
        EXPECT_FALSE(d.parse(text, &error)) << text;
        EXPECT_FALSE(error.empty()) << text;
    }
    EXPECT_TRUE(d.parse("@ EMI\n# Pos 1;\xff;3;\n")) << "0xFF inside a number is read";
}

TEST(LevelDocument, UserTextNeverStartsADirective) {
    for (const std::string text : {"C++ @home #1", "a\xff"
                                                   "b\tc\n+"}) {
        const std::string safe = commentSafe(text, true);
        EXPECT_EQ(safe.find_first_of("@#+\xff\t"), std::string::npos) << safe;
    }
    EXPECT_EQ(commentSafe("C++ @home", false), "C plus plus at home");
    EXPECT_EQ(commentSafe("x\ny", false), "x y");
}

TEST_F(LevelEditorTest, ANewRoomIsAClosedPlayableLevel) {
    const auto level = editor.build();
    double low[3], high[3];
    ASSERT_TRUE(roomBox(*level, low, high));
    EXPECT_NEAR(high[0] - low[0], 800, 0.01);
    EXPECT_NEAR(high[1] - low[1], 600, 0.01);
    EXPECT_NEAR(high[2] - low[2], 1000, 0.01);
    EXPECT_LT(farthestRoomDistance(*level), ROOM_REACH_LIMIT);
    EXPECT_EQ(editor.piece(0).kind, PieceKind::Emitter);
    EXPECT_EQ(level->lights.size(), 1u);
    EXPECT_LT(level->cameraPitch, -30);
    EXPECT_FALSE(editor.title().empty());
    EXPECT_FALSE(editor.modified());
    EXPECT_FALSE(editor.canUndo());
}

TEST_F(LevelEditorTest, PlacingRefusesOverlapsAndPlacesOutsideTheRoom) {
    const int mirror = placeOnFloor(PieceKind::Mirror, 12, -12); // snapped to 0, 0
    ASSERT_GE(mirror, 0);
    const std::string placed = editor.text();
    auto level = editor.build();
    const int active = editor.activeIndexOf(mirror);
    ASSERT_GE(active, 0);
    EXPECT_EQ(editor.pieceOfActive(active), mirror);
    const Point c = level->activeObjects[active]->getBoundingCenter();
    EXPECT_NEAR(c[0], 0, 1e-3);
    EXPECT_NEAR(c[2], 0, 1e-3);

    EXPECT_EQ(placeOnFloor(PieceKind::Filter, 100, 0), -1);
    EXPECT_EQ(editor.refusal(), "too close to the mirror");
    EXPECT_EQ(placeOnFloor(PieceKind::Goal, 2000, 0), -1);
    EXPECT_EQ(editor.refusal(), "outside the room");
    EXPECT_EQ(placeOnFloor(PieceKind::Emitter, -300, 0), -1) << "one laser";
    const double nowhere[3] = {0, 0, 0};
    EXPECT_EQ(editor.place(PieceKind::Mirror, nowhere, nowhere), -1);
    EXPECT_EQ(editor.place(PieceKind::Camera, nowhere, UP), -1);
    EXPECT_EQ(editor.text(), placed) << "a refused edit changes nothing";
    EXPECT_FALSE(editor.open("@ EMI\n# Pos 1;"));
    EXPECT_EQ(editor.text(), placed) << "a level that does not open leaves the one open";

    // On the left wall the holder stands out of it on its foot, its y axis along the normal.
    const double wall[3] = {-400, 100, 0}, right[3] = {1, 0, 0};
    const int hung = editor.place(PieceKind::HalfMirror, wall, right);
    ASSERT_GE(hung, 0);
    level = editor.build();
    Renderable* holder = level->activeObjects[editor.activeIndexOf(hung)]->parent->parent;
    Point y{0, 1, 0, 0}, o{0, 0, 0, 1};
    transformPoint(holder->getWorldMatrix(), y);
    transformPoint(holder->getWorldMatrix(), o);
    EXPECT_NEAR(y[0], 1, 1e-5);
    EXPECT_NEAR(o[0], -260, 1e-3);
    EXPECT_EQ(editor.pieceOfActive(editor.activeIndexOf(hung) + 2), hung) << "the holder";
    EXPECT_EQ(editor.activeIndexOf(first(PieceKind::Camera)), -1);
    EXPECT_EQ(editor.pieceOfActive(-1), -1);
}

// Turned as play's carry sets them down, standing on their foot (the origin 140 off the surface).
TEST_F(LevelEditorTest, HoldersStandOnEverySurfaceAsACarryInPlaySetsThem) {
    const double s = std::sqrt(0.5);
    const double surfaces[][6] = {
        {0, -140, 0, 0, 1, 0},     {0, 460, 0, 0, -1, 0},  {-400, 0, 0, 1, 0, 0},
        {400, 0, 0, -1, 0, 0},     {0, 0, -500, 0, 0, 1},  {250, 0, 500, 0, 0, -1},
        {100, -100, 100, s, s, 0}, {-250, 0, 0, 0, -s, s},
    };
    for (const auto& c : surfaces) {
        LevelEditor room;
        room.createRoom(800, 600, 1000);
        room.snapping = false;
        const int i = room.place(PieceKind::Mirror, c, c + 3);
        ASSERT_GE(i, 0) << c[3] << " " << c[4] << " " << c[5];
        auto level = room.build();
        Renderable* holder = level->activeObjects[room.activeIndexOf(i)]->parent->parent;
        auto reference = levelFromText("@ MIR\n");
        Renderable& carried = *reference->objects.back();
        placeOnWall(carried, carried.getWorldMatrix(), {float(c[0]), float(c[1]), float(c[2]), 1},
                    {float(c[3]), float(c[4]), float(c[5]), 0});
        const Matrix a = holder->getWorldMatrix(), b = carried.getWorldMatrix();
        for (int k = 0; k < 12; ++k) {
            EXPECT_NEAR(a[k], b[k], 1e-3) << "normal " << c[3] << " " << c[4] << " " << c[5];
        }
        for (int k = 0; k < 3; ++k) {
            EXPECT_NEAR(a[12 + k], c[k] + 140 * c[3 + k], 1e-2) << "normal " << c[3];
        }
    }
}

TEST_F(LevelEditorTest, EditsThatMakeNoSenseOrCollideAreRefused) {
    const int mirror = placeOnFloor(PieceKind::Mirror, 0, 0);
    const int filter = placeOnFloor(PieceKind::Filter, 300, 0);
    ASSERT_GE(filter, 0);
    const std::string before = editor.text();
    const double half[3] = {1, 0.5, 2}, flat[3] = {1, 0, 1}, left[3] = {-250, 0, 0},
                 out[3] = {-2000, 0, 0};
    EXPECT_FALSE(editor.stepColour(mirror));
    EXPECT_FALSE(editor.scale(mirror, half));
    EXPECT_FALSE(editor.tilt(first(PieceKind::Emitter), 10));
    EXPECT_FALSE(editor.remove(first(PieceKind::Emitter)));
    EXPECT_FALSE(editor.remove(first(PieceKind::Lamp))) << "the only lamp";
    EXPECT_FALSE(editor.move(filter, left)) << "onto the mirror";
    EXPECT_FALSE(editor.move(filter, out));
    EXPECT_FALSE(editor.scale(first(PieceKind::Wall), flat));
    EXPECT_FALSE(editor.turn(first(PieceKind::Wall), 90)) << "walls stand square";
    EXPECT_FALSE(editor.move(editor.count(), left));
    EXPECT_EQ(editor.text(), before);
    EXPECT_EQ(editor.duplicate(first(PieceKind::Emitter)), -1);
    const int copy = editor.duplicate(filter);
    ASSERT_GE(copy, 0);
    EXPECT_EQ(editor.build()->colorFilters.size(), 2u);
}

TEST_F(LevelEditorTest, ColoursGoRoundAndTurnsAddUp) {
    const int filter = placeOnFloor(PieceKind::Filter, 0, 0);
    std::vector<int> seen;
    for (int i = 0; i < 8; ++i) {
        ASSERT_TRUE(editor.stepColour(filter));
        const std::string t = editor.text();
        seen.push_back(t[t.rfind("Col ") + 4] - '0');
    }
    EXPECT_EQ(seen, (std::vector<int>{2, 3, 4, 5, 6, 7, 1, 2}));

    ASSERT_TRUE(editor.turn(filter, 30));
    ASSERT_TRUE(editor.turn(filter, 15));
    ASSERT_TRUE(editor.tilt(filter, 20));
    auto level = editor.build();
    Renderable* element = level->activeObjects[editor.activeIndexOf(filter)];
    Point z{0, 0, -1, 0};
    transformPoint(element->getWorldMatrix(), z);
    // Heading 45 degrees to the left of -z, tilted up by 20.
    EXPECT_NEAR(z[1], std::sin(20 * M_PI / 180), 1e-5);
    EXPECT_NEAR(z[0], -std::cos(20 * M_PI / 180) * std::sin(M_PI / 4), 1e-5);
}

TEST_F(LevelEditorTest, UndoAndRedoWalkTheHistory) {
    const std::string start = editor.text();
    EXPECT_FALSE(editor.undo()) << "nothing before the start";
    const int mirror = placeOnFloor(PieceKind::Mirror, 0, 0);
    const std::string placed = editor.text();
    const double step[3] = {30, 0, 0}; // snapped: 25
    ASSERT_TRUE(editor.move(mirror, step));
    EXPECT_NE(editor.text().find("# Pos 25;"), std::string::npos);
    const std::string moved = editor.text();
    EXPECT_TRUE(editor.modified());
    editor.markSaved();
    EXPECT_FALSE(editor.modified());

    ASSERT_TRUE(editor.undo());
    EXPECT_EQ(editor.text(), placed);
    EXPECT_TRUE(editor.modified());
    ASSERT_TRUE(editor.undo());
    EXPECT_EQ(editor.text(), start);
    EXPECT_FALSE(editor.undo());
    ASSERT_TRUE(editor.redo());
    ASSERT_TRUE(editor.redo());
    EXPECT_EQ(editor.text(), moved);
    EXPECT_FALSE(editor.modified()) << "back at what was saved";
    EXPECT_FALSE(editor.redo());

    ASSERT_TRUE(editor.undo());
    ASSERT_TRUE(editor.turn(mirror, 10));
    EXPECT_FALSE(editor.canRedo()) << "a new edit drops the steps undone";
    ASSERT_TRUE(editor.remove(mirror));
    ASSERT_TRUE(editor.undo());
    EXPECT_EQ(editor.piece(mirror).kind, PieceKind::Mirror);
}

TEST_F(LevelEditorTest, TitleAndIntroductionAreWhatThePackReads) {
    ASSERT_TRUE(editor.setTitle("Beamworks level 31: Fish + chips @ #2\nsecond line"));
    ASSERT_TRUE(editor.setIntroduction(
        "mixing colours. Send red and green into the collector; the yellow light it sends out "
        "opens the goal, which stands far away on the other side of the room."));
    EXPECT_FALSE(editor.setTitle(" \n"));
    const std::string text = editor.text();
    std::istringstream in(text);
    const std::string lead = readLeadingComment(in);
    EXPECT_EQ(levelTitle(lead, "x"), "Beamworks level 31: Fish plus chips at number 2 second line");
    EXPECT_EQ(editor.title(), levelTitle(lead, "x"));
    EXPECT_EQ(levelIdea(lead), "mixing colours");
    EXPECT_EQ(editor.introduction().rfind("Teaches: mixing colours. Send red", 0), 0u);
    EXPECT_LT(text.find("Teaches:"), text.find("@ EMI"));

    const int laser = first(PieceKind::Emitter);
    ASSERT_TRUE(editor.rename(laser, "the #1 laser"));
    EXPECT_EQ(editor.piece(laser).name, "the number 1 laser");
    LevelEditor reopened;
    ASSERT_TRUE(reopened.open(editor.text()));
    EXPECT_EQ(reopened.piece(laser).name, "the number 1 laser");
    EXPECT_EQ(reopened.piece(laser).properties.size(), editor.piece(laser).properties.size());

    ASSERT_TRUE(editor.setIntroduction("Teaches: nothing."));
    EXPECT_EQ(editor.introduction(), "Teaches: nothing.");
    ASSERT_TRUE(editor.setIntroduction(""));
    EXPECT_EQ(editor.introduction(), "");
    EXPECT_EQ(editor.title(), levelTitle(lead, "x"));
    EXPECT_EQ(editor.build()->objects.size(), levelFromText(text)->objects.size());
}

TEST_F(LevelEditorTest, TheStartViewIsTheCamerasLines) {
    const double eye[3] = {10.7, 200.2, -300.9};
    ASSERT_TRUE(editor.setStartView(eye, -40, 25));
    const auto level = editor.build();
    EXPECT_EQ(level->cameraOffset, (std::array<float, 3>{-10, -200, 300}));
    EXPECT_EQ(level->cameraPitch, -40);
    EXPECT_EQ(level->cameraYaw, 25);
    EXPECT_FALSE(editor.setStartView(eye, -90, 0));
    EXPECT_FALSE(editor.setStartView(eye, NAN, 0));
}

TEST_F(LevelEditorTest, ThousandsOfRandomEditsWriteAndReadBackAlike) {
    std::mt19937 random(20261208);
    const PieceKind kinds[] = {PieceKind::Mirror,    PieceKind::HalfMirror, PieceKind::Filter,
                               PieceKind::Collector, PieceKind::Wall,       PieceKind::Goal,
                               PieceKind::Lamp,      PieceKind::Emitter};
    auto any = [&](double lo, double hi) {
        return std::uniform_real_distribution<double>(lo, hi)(random);
    };
    int kept = 0, most = 0;
    for (int i = 0; i < 2000; ++i) {
        const int n = editor.count();
        const int p = std::uniform_int_distribution<int>(-1, n)(random);
        editor.snapping = random() % 4 != 0;
        const double d[3] = {any(-300, 300), any(-100, 100), any(-300, 300)};
        const double f[3] = {any(0.5, 2), any(0.5, 2), any(0.5, 2)};
        const double normals[4][3] = {{0, 1, 0}, {0, -1, 0}, {1, 0, 0}, {0, 0, -1}};
        const double* normal = normals[random() % 4];
        const double at[3] = {normal[0] ? -400 : d[0], normal[1] ? 160 - normal[1] * 300 : d[1],
                              normal[2] ? 500 : d[2]};
        const std::string before = editor.text();
        bool changed = false;
        switch (random() % 12) {
        case 0:
            changed = editor.place(kinds[random() % 8], at, normal) >= 0;
            break;
        case 1:
            changed = editor.move(p, d);
            break;
        case 2:
            changed = editor.turn(p, d[0]);
            break;
        case 3:
            changed = editor.tilt(p, d[1]);
            break;
        case 4:
            changed = editor.stepColour(p);
            break;
        case 5:
            changed = editor.scale(p, f);
            break;
        case 6:
            changed = editor.duplicate(p) >= 0;
            break;
        case 7:
        case 10: // as often as elements come, so that the level stays small
            changed = editor.remove(p);
            break;
        case 8:
            changed = editor.undo();
            break;
        case 9:
            changed = editor.redo();
            break;
        default:
            changed = editor.setTitle(std::to_string(d[0]) + " +@#");
        }
        if (!changed) {
            ASSERT_EQ(editor.text(), before) << "a refused edit, step " << i;
            continue;
        }
        ++kept;
        most = std::max(most, editor.count());
        const std::string text = editor.text();
        LevelEditor again;
        ASSERT_TRUE(again.open(text)) << "step " << i;
        ASSERT_EQ(again.text(), text) << "step " << i;
        ASSERT_EQ(editor.piece(0).kind, PieceKind::Emitter) << "step " << i;
        if (i % 50 == 0) {
            expectSameLevel(*editor.build(), *levelFromText(rewritten(text)),
                            "step " + std::to_string(i));
        }
    }
    EXPECT_GT(kept, 500);
    EXPECT_GT(most, 15);
}

TEST(WriteFileWhole, ReplacesTheFileOrLeavesItAlone) {
    ScratchDir dir("editor");
    const std::string path = (dir.path / "level.txt").string();
    ASSERT_TRUE(writeFileWhole(path, "one"));
    ASSERT_TRUE(writeFileWhole(path, "two\n"));
    EXPECT_EQ(readFile(path), "two\n");
    EXPECT_FALSE(writeFileWhole((dir.path / "missing" / "level.txt").string(), "x"));
    std::filesystem::create_directory(dir.path / "taken.txt");
    EXPECT_FALSE(writeFileWhole((dir.path / "taken.txt").string(), "x"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path), {}), 2)
        << "no temporary file left behind";
}
