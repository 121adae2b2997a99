#pragma once
// The game's front door without a window: the title screen's items, the map of the levels, the
// settings screen's lines and what a key does to them. The game draws a menu as a panel of rows
// (a label and a detail) with one row chosen; choosing runs what the item's id says.

#include "rules/CommandTable.h"
#include "rules/SettingsFile.h"

#include <cstddef>
#include <map>
#include <set>
#include <string>
#include <vector>

enum class MenuScreen { None, Title, Levels, Settings, Help, Make };

/// The console's name of a screen ("title"), "" for None.
const char* menuScreenName(MenuScreen screen);

struct MenuItem {
    /// What choosing it does: "continue", "levels", "settings", "help", "quit"; a level file to
    /// play; "set:NAME" a setting (NAME as in the settings file); "key:ID" a command's keys;
    /// "reset-keys". Headings have none.
    std::string id;
    std::string label;
    std::string detail;
    bool heading = false;   ///< a chapter's name: shown, never chosen
    bool suggested = false; ///< the level the player would play next
};

struct Menu {
    MenuScreen screen = MenuScreen::None;
    std::string title;
    std::vector<MenuItem> items;
    std::size_t cursor = 0;
    std::vector<std::string> footer;
};

/// Moves the cursor `step` items on, over the headings, stopping at the first and last item
/// that can be chosen.
void moveCursor(Menu& menu, int step);
/// Puts the cursor on the item with this id, else on the first item that can be chosen.
void placeCursor(Menu& menu, const std::string& id);

/// The editor's door: a new level in a small or a large room ("new:small", "new:large"), or one
/// of the player's own levels ("edit:PATH", the paths as given).
Menu makeMenu(const std::vector<std::string>& ownLevels,
              const std::map<std::string, std::string>& checks = {});

/// The editor's last verdict on each of the player's levels, by file name ("mine.txt"):
/// "solvable", "no-solution", "solved-as-placed" or "still-looking", from the lines "NAME WORD" of
/// the file at `path` (a line it cannot use is left out; no file, no verdicts).
std::map<std::string, std::string> readLevelChecks(const std::string& path);
/// Records the verdict on the level file `name` in the file at `path`, written whole. False when
/// it cannot be written.
bool recordLevelCheck(const std::string& path, const std::string& name, const std::string& word);
/// The mark and the words the map and the editor's door give a level of the player's whose last
/// check was not "solvable": "!" and "NOT SOLVABLE AT ITS LAST CHECK"; none otherwise.
std::pair<std::string, std::string> checkMark(const std::map<std::string, std::string>& checks,
                                              const std::string& name);

/// A level of the pack as the map shows it.
struct PackEntry {
    int number = 0;
    std::string file; ///< "level4.txt"
    std::string title;
    std::string idea; ///< what it teaches, from its "Teaches: ..." line
};

/// What a level's leading comment says it teaches: the words after "Teaches:" up to the end of
/// their sentence; "" when it says nothing.
std::string levelIdea(const std::string& leadingComment);

/// The pack in `folder` ("" for the working directory): level1.txt, level2.txt, ... up to the
/// first missing one, each with the title and the idea of its leading comment.
std::vector<PackEntry> readPack(const std::string& folder);

/// The paths of the level files (".txt") in `folder`, by name; none when it does not exist.
std::vector<std::string> levelFilesIn(const std::string& folder);

/// The pack level a player goes on with: the first not yet solved ("" when all are).
std::string continueLevel(const std::vector<PackEntry>& pack, const std::set<std::string>& solved);

/// The title screen: Continue (Start when nothing is solved), Levels, Settings, Help, Quit.
Menu titleMenu(const std::vector<PackEntry>& pack, const std::set<std::string>& solved);

/// The map: the pack by chapters of ten, each level with its title, its best moves, its par and
/// its idea ("BEST 4 - PAR 3 - tilting"), marked "*" when solved and "*+" when solved at or under
/// its par, the suggested level marked; then "Your levels" (file paths, shown by their names,
/// with their best). `best` and `par` are by level file name.
Menu levelMap(const std::vector<PackEntry>& pack, const std::vector<std::string>& ownLevels,
              const std::set<std::string>& solved, const std::map<std::string, int>& best,
              const std::map<std::string, int>& par,
              const std::map<std::string, std::string>& checks = {});

/// The settings screen: every setting with its value, every command with its keys, and a line
/// that puts the default keys back.
Menu settingsMenu(const PlayerSettings& settings, const KeyBindings& bindings);

/// Changes the setting NAME one step: `direction` -1 or +1 along its values (on and off flip
/// either way; 0, as Enter does, is +1). Returns false for an unknown name or a value at its end.
bool changeSetting(PlayerSettings& settings, const std::string& name, int direction);

/// Puts what the settings screen's line NAME changes into the game's settings, leaving the
/// others as they are (applySetting).
void applySettingLine(const PlayerSettings& settings, const std::string& name, GameSettings& game);

/// Binds `chord` to the command, in place of its keys. Refused, with the message to show, when
/// another command has the key ("T IS THE KEY OF CARRY"); "" when bound. The settings' list of
/// keys that differ from the defaults follows the bindings.
std::string bindKey(KeyBindings& bindings, PlayerSettings& settings, Command command,
                    const KeyChord& chord);

/// Every command back to its default keys.
void resetKeys(KeyBindings& bindings, PlayerSettings& settings);
