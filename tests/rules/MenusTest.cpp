#include "rules/Menus.h"
#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

namespace {

std::vector<PackEntry> packOf(int levels) {
    std::vector<PackEntry> pack;
    for (int n = 1; n <= levels; ++n) {
        pack.push_back({n, "level" + std::to_string(n) + ".txt", "Title " + std::to_string(n),
                        "idea " + std::to_string(n)});
    }
    return pack;
}

std::set<std::string> solvedUpTo(int last) {
    std::set<std::string> solved;
    for (int n = 1; n <= last; ++n) {
        solved.insert("level" + std::to_string(n) + ".txt");
    }
    return solved;
}

std::vector<std::string> details(const Menu& menu) {
    std::vector<std::string> all;
    for (const MenuItem& item : menu.items) {
        all.push_back(item.detail);
    }
    return all;
}

const MenuItem& chosen(const Menu& menu) {
    return menu.items.at(menu.cursor);
}

} // namespace

TEST(Menus, TheTitleContinuesWithTheFirstLevelNotSolved) {
    const auto pack = packOf(30);
    struct Case {
        std::set<std::string> solved;
        const char* label;
        const char* id;
        const char* playing;
    };
    const Case cases[] = {
        {{}, "START", "continue", "level1.txt"},
        {solvedUpTo(3), "CONTINUE", "continue", "level4.txt"},
        // A gap: the first level not solved, not the one after the last solved.
        {{"level1.txt", "level3.txt"}, "CONTINUE", "continue", "level2.txt"},
        {solvedUpTo(30), "CONTINUE", "levels", ""},
    };
    for (const Case& c : cases) {
        const Menu title = titleMenu(pack, c.solved);
        EXPECT_EQ(chosen(title).label, c.label);
        EXPECT_EQ(chosen(title).id, c.id);
        EXPECT_EQ(continueLevel(pack, c.solved), c.playing);
        EXPECT_EQ(title.items.back().id, "quit");
    }
}

TEST(Menus, TheMapHasChaptersOfTenMarksAndYourLevels) {
    const Menu map = levelMap(packOf(30), {}, solvedUpTo(12), {}, {});
    int headings = 0, marked = 0;
    for (const MenuItem& item : map.items) {
        headings += item.heading;
        marked += item.label.rfind("* ", 0) == 0;
    }
    EXPECT_EQ(headings, 3 + 2); // three chapters, "Your levels" and its empty line
    EXPECT_EQ(marked, 12);
    EXPECT_EQ(chosen(map).id, "level13.txt");
    EXPECT_TRUE(chosen(map).suggested);
    EXPECT_EQ(map.items[0].label, "CHAPTER 1 - LESSONS");

    const Menu own =
        levelMap(packOf(2), {"/home/a/levels/mine.txt"}, {"mine.txt"}, {{"mine.txt", 6}}, {});
    EXPECT_EQ(own.items.back().id, "/home/a/levels/mine.txt");
    EXPECT_EQ(own.items.back().label, "* mine.txt");
    EXPECT_EQ(own.items.back().detail, "BEST 6");
}

TEST(Menus, OwnLevelsWhoseLastCheckWasNotSolvableAreMarkedOnTheMapAndTheEditorsDoor) {
    const std::string file = ::testing::TempDir() + "/beamworks-checks.txt";
    std::remove(file.c_str());
    EXPECT_TRUE(readLevelChecks(file).empty());
    ASSERT_TRUE(recordLevelCheck(file, "a.txt", "no-solution"));
    ASSERT_TRUE(recordLevelCheck(file, "b.txt", "solvable"));
    ASSERT_TRUE(recordLevelCheck(file, "a.txt", "solved-as-placed")); // the last check counts
    std::ofstream(file, std::ios::app) << "c.txt maybe\nnoblank\n";   // lines left out
    const std::map<std::string, std::string> checks = readLevelChecks(file);
    EXPECT_EQ(checks, (std::map<std::string, std::string>{{"a.txt", "solved-as-placed"},
                                                          {"b.txt", "solvable"}}));
    const std::vector<std::string> own = {"/l/a.txt", "/l/b.txt", "/l/c.txt"};
    const Menu map = levelMap(packOf(1), own, {}, {}, {}, checks);
    const Menu door = makeMenu(own, checks);
    for (const Menu* menu : {&map, &door}) {
        const std::size_t n = menu->items.size();
        EXPECT_EQ(menu->items[n - 3].label, "! a.txt");
        EXPECT_EQ(menu->items[n - 3].detail, "NOT SOLVABLE AT ITS LAST CHECK");
        EXPECT_EQ(menu->items[n - 2].label, "b.txt");
        EXPECT_EQ(menu->items[n - 1].label, "c.txt"); // never checked: no mark
    }
    EXPECT_EQ(door.items.back().id, "edit:/l/c.txt");
    std::remove(file.c_str());
}

TEST(Menus, EachLevelShowsItsBestAndParAndAMarkAtParOrBetter) {
    // Over par, at par, solved by an older game, no par, not solved.
    const Menu map = levelMap(
        packOf(5), {}, solvedUpTo(4), {{"level1.txt", 4}, {"level2.txt", 3}, {"level4.txt", 2}},
        {{"level1.txt", 3}, {"level2.txt", 3}, {"level3.txt", 2}, {"level5.txt", 3}});
    const std::vector<std::string> shown = {
        "* 1 Title 1: BEST 4 - PAR 3 - idea 1", "*+ 2 Title 2: BEST 3 - PAR 3 - idea 2",
        "* 3 Title 3: PAR 2 - idea 3", "* 4 Title 4: BEST 2 - idea 4",
        "5 Title 5: NEXT - PAR 3 - idea 5"};
    for (std::size_t i = 0; i < shown.size(); ++i) {
        EXPECT_EQ(map.items[i + 1].label + ": " + map.items[i + 1].detail, shown[i]);
    }
}

TEST(Menus, TheCursorSkipsHeadingsAndStopsAtTheEnds) {
    Menu map = levelMap(packOf(12), {}, {}, {}, {});
    placeCursor(map, "level10.txt");
    moveCursor(map, 1); // over the heading of chapter 2
    EXPECT_EQ(chosen(map).id, "level11.txt");
    moveCursor(map, -100);
    EXPECT_EQ(chosen(map).id, "level1.txt");
    moveCursor(map, 100); // the empty "Your levels" lines cannot be chosen
    EXPECT_EQ(chosen(map).id, "level12.txt");
    placeCursor(map, "no such item");
    EXPECT_EQ(chosen(map).id, "level1.txt");
}

TEST(Menus, TheIdeaIsTheTeachesSentence) {
    const std::pair<const char*, const char*> cases[] = {
        {"Level 1\n\nTeaches: a mirror turns the beam. Click it.\n", "a mirror turns the beam"},
        {"Teaches: colours downstream of a\ncollector. More.", "colours downstream of a collector"},
        {"Teaches:   no full stop", "no full stop"},
        {"Title only\n", ""},
        {"Teaches:", ""},
    };
    for (const auto& [comment, idea] : cases) {
        EXPECT_EQ(levelIdea(comment), idea) << comment;
    }
}

TEST(Menus, ThePackAndYourLevelsAreReadFromTheirFolders) {
    const auto pack = readPack(BEAMWORKS_SOURCE_DIR "/data/levels");
    ASSERT_EQ(pack.size(), 30u);
    EXPECT_EQ(pack[0].title, "One mirror");
    EXPECT_EQ(pack[0].idea, "a mirror turns the beam");

    ScratchDir dir("menus");
    for (const char* name : {"b.txt", "a.txt", "notes.md"}) {
        std::ofstream(dir.path / name) << "x";
    }
    const auto own = levelFilesIn(dir.path.string());
    ASSERT_EQ(own.size(), 2u);
    EXPECT_EQ(std::filesystem::path(own[0]).filename(), "a.txt");
    EXPECT_TRUE(levelFilesIn((dir.path / "missing").string()).empty());
}

TEST(Menus, EverySettingStepsBothWaysAndReachesTheGameAlone) {
    const PlayerSettings defaults;
    for (const MenuItem& item : settingsMenu(defaults, KeyBindings()).items) {
        if (item.id.rfind("set:", 0) != 0) {
            continue;
        }
        const std::string name = item.id.substr(4);
        PlayerSettings s;
        // From the default one way or the other, then back.
        int way = changeSetting(s, name, 1) ? 1 : -1;
        if (way < 0) {
            ASSERT_TRUE(changeSetting(s, name, -1)) << name;
        }
        EXPECT_FALSE(s == defaults) << name;
        EXPECT_NE(details(settingsMenu(s, KeyBindings())), details(settingsMenu(defaults, {})))
            << name << ": the screen shows the change";
        ASSERT_TRUE(changeSetting(s, name, -way)) << name;
        EXPECT_TRUE(s == defaults) << name;
    }
    PlayerSettings unknown;
    EXPECT_FALSE(changeSetting(unknown, "no_such", 1));

    PlayerSettings loud;
    loud.musicVolume = 95;
    EXPECT_TRUE(changeSetting(loud, "music_volume", 1));
    EXPECT_EQ(loud.musicVolume, 100);
    EXPECT_FALSE(changeSetting(loud, "music_volume", 1));
    loud.musicVolume = 95;
    EXPECT_TRUE(changeSetting(loud, "music_volume", -1));
    EXPECT_EQ(loud.musicVolume, 90);

    // A window size off the list steps to its neighbours on the list.
    PlayerSettings odd;
    odd.width = 1100;
    odd.height = 700;
    EXPECT_TRUE(changeSetting(odd, "window_size", 1));
    EXPECT_EQ(odd.width, 1280);
    EXPECT_EQ(odd.height, 720);

    // Only the setting changed reaches the game: a size from the command line stays.
    GameSettings game;
    game.screenWidth = 640;
    loud.musicVolume = 30;
    loud.width = 1920;
    applySetting(loud, "music_volume", game);
    EXPECT_EQ(game.musicVolume, 30);
    EXPECT_EQ(game.screenWidth, 640);
}

TEST(Menus, AKeyTakenElsewhereIsRefusedByTheOtherCommandsName) {
    KeyBindings bindings;
    PlayerSettings s;
    EXPECT_EQ(bindKey(bindings, s, Command::Hint, {'W', false, false}),
              "W IS THE KEY OF MOVE FORWARD");
    // A held command moves with its key whatever the modifiers: Ctrl+W is taken too.
    EXPECT_EQ(bindKey(bindings, s, Command::Hint, {'W', true, false}),
              "CTRL+W IS THE KEY OF MOVE FORWARD");
    // Ctrl+R is free although R restarts: a press needs its modifiers.
    EXPECT_EQ(bindKey(bindings, s, Command::Hint, {'R', true, false}), "");
    EXPECT_EQ(bindings.commandFor('R', true, false), Command::Hint);
    EXPECT_EQ(bindings.commandFor('H', false, false), Command::None);
    ASSERT_EQ(s.keys.size(), 1u);
    std::ostringstream file;
    writeSettings(file, s);
    EXPECT_NE(file.str().find("key.hint = Ctrl+R"), std::string::npos) << file.str();

    // The command's own key again is no conflict; reset brings every default back.
    EXPECT_EQ(bindKey(bindings, s, Command::Hint, {'R', true, false}), "");
    resetKeys(bindings, s);
    EXPECT_TRUE(s.keys.empty());
    EXPECT_EQ(bindings.commandFor('H', false, false), Command::Hint);
}
