#include "rules/Menus.h"

#include "level/Level.h"
#include "rules/LevelEditor.h"
#include "rules/LevelPack.h"
#include "rules/Par.h"
#include "rules/WindowConstants.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <optional>
#include <sstream>
#include <utility>

namespace {

const char* const CHAPTER_NAMES[] = {"LESSONS", "COMBINATIONS", "MASTERY"};
constexpr int LEVELS_PER_CHAPTER = 10;

bool choosable(const MenuItem& item) {
    return !item.heading;
}

std::optional<int> lookUp(const std::map<std::string, int>& values, const std::string& file) {
    const auto found = values.find(file);
    return found != values.end() ? std::optional<int>(found->second) : std::nullopt;
}

// A level's mark on the map: "* " solved, "*+ " solved at or under par, "" not solved.
std::string solvedMark(bool solved, std::optional<int> best, std::optional<int> par) {
    return !solved ? "" : isAtPar(best, par) ? "*+ " : "* ";
}

// The parts of a detail that are there, joined by " - ".
std::string joined(std::initializer_list<std::string> parts) {
    std::string text;
    for (const std::string& part : parts) {
        if (!part.empty()) {
            text += (text.empty() ? "" : " - ") + part;
        }
    }
    return text;
}

std::string scoreText(const char* what, std::optional<int> value) {
    return value ? what + std::to_string(*value) : "";
}

std::string levelLine(const PackEntry& entry) {
    return "LEVEL " + std::to_string(entry.number) + " - " + entry.title;
}

// One step along an ordered list of values, from wherever the value is between them.
template <class T> bool stepAlong(T& value, const std::vector<T>& values, int direction) {
    if (direction >= 0) {
        for (const T& v : values) {
            if (value < v) {
                value = v;
                return true;
            }
        }
    } else {
        for (auto v = values.rbegin(); v != values.rend(); ++v) {
            if (*v < value) {
                value = *v;
                return true;
            }
        }
    }
    return false;
}

std::string number(double value) {
    std::ostringstream text;
    text << value;
    return text.str();
}

std::string onOff(bool on) {
    return on ? "ON" : "OFF";
}

/// A line of the settings screen: its name, the settings file's name of what it changes (which
/// says how it goes into the game's settings), what the screen calls it, its value as shown, and
/// one step along its values.
struct SettingLine {
    const char* name;
    const char* fileName;
    const char* label;
    std::string (*value)(const PlayerSettings&);
    bool (*change)(PlayerSettings&, int direction);
};

/// Window sizes offered, by width then height.
const std::vector<long long> WINDOW_SIZES = {800'00600,  1024'00768, 1280'00720, 1280'00800,
                                             1366'00768, 1600'00900, 1920'01080, 2560'01440};
constexpr long long SIZE_KEY = 100000;

const std::vector<double> SPEEDS = {0.25, 0.5, 0.75, 1, 1.25, 1.5, 2, 2.5, 3, 4};
const std::vector<double> SCALES = {1, 1.5, 2};

bool flip(bool& value) {
    value = !value;
    return true;
}

/// A volume to the next whole ten that way; false at its end.
bool stepVolume(int& volume, int direction) {
    const int v = volume;
    volume = std::clamp(direction < 0 ? (v - 1) / 10 * 10 : (v / 10 + 1) * 10, 0, 100);
    return volume != v;
}

const std::vector<SettingLine>& settingLines() {
    static const std::vector<SettingLine> lines = {
        {"window_size", "width", "WINDOW SIZE",
         [](const PlayerSettings& s) {
             return std::to_string(s.width) + " X " + std::to_string(s.height);
         },
         [](PlayerSettings& s, int d) {
             long long size = s.width * SIZE_KEY + s.height;
             if (!stepAlong(size, WINDOW_SIZES, d)) {
                 return false;
             }
             s.width = static_cast<int>(size / SIZE_KEY);
             s.height = static_cast<int>(size % SIZE_KEY);
             return true;
         }},
        {"fullscreen", "fullscreen", "FULL SCREEN",
         [](const PlayerSettings& s) { return onOff(s.fullscreen); },
         [](PlayerSettings& s, int) { return flip(s.fullscreen); }},
        {"music", "music", "MUSIC", [](const PlayerSettings& s) { return onOff(s.music); },
         [](PlayerSettings& s, int) { return flip(s.music); }},
        {"music_volume", "music_volume", "MUSIC VOLUME",
         [](const PlayerSettings& s) { return std::to_string(s.musicVolume); },
         [](PlayerSettings& s, int d) { return stepVolume(s.musicVolume, d); }},
        {"effects", "effects", "SOUND EFFECTS",
         [](const PlayerSettings& s) { return onOff(s.effects); },
         [](PlayerSettings& s, int) { return flip(s.effects); }},
        {"effects_volume", "effects_volume", "EFFECTS VOLUME",
         [](const PlayerSettings& s) { return std::to_string(s.effectsVolume); },
         [](PlayerSettings& s, int d) { return stepVolume(s.effectsVolume, d); }},
        {"look_speed", "look_speed", "VIEW TURNING SPEED",
         [](const PlayerSettings& s) { return number(s.lookSpeed); },
         [](PlayerSettings& s, int d) { return stepAlong(s.lookSpeed, SPEEDS, d); }},
        {"turn_speed", "turn_speed", "DRAG TURNING SPEED",
         [](const PlayerSettings& s) { return number(s.turnSpeed); },
         [](PlayerSettings& s, int d) { return stepAlong(s.turnSpeed, SPEEDS, d); }},
        {"invert_look", "invert_look", "INVERT VERTICAL TURNING",
         [](const PlayerSettings& s) { return onOff(s.invertLook); },
         [](PlayerSettings& s, int) { return flip(s.invertLook); }},
        {"ui_scale", "ui_scale", "INTERFACE SCALE",
         [](const PlayerSettings& s) { return number(s.uiScale); },
         [](PlayerSettings& s, int d) { return stepAlong(s.uiScale, SCALES, d); }},
        {"colour_labels", "colour_labels", "COLOUR LABELS AT START",
         [](const PlayerSettings& s) { return onOff(s.colourLabels); },
         [](PlayerSettings& s, int) { return flip(s.colourLabels); }},
        {"reflections", "reflections", "REFLECTIONS",
         [](const PlayerSettings& s) {
             return std::string(s.reflections == 0   ? "OFF"
                                : s.reflections == 1 ? "ONE LEVEL"
                                                     : "TWO LEVELS");
         },
         [](PlayerSettings& s, int d) {
             // Enter goes round; the arrows stop at the ends.
             if (d == 0) {
                 s.reflections = (s.reflections + 1) % 3;
                 return true;
             }
             return stepAlong(s.reflections, {0, 1, 2}, d);
         }},
        {"shadows", "shadows", "SHADOWS", [](const PlayerSettings& s) { return onOff(s.shadows); },
         [](PlayerSettings& s, int) { return flip(s.shadows); }},
        {"energy", "energy", "ENERGY",
         [](const PlayerSettings& s) {
             return std::string(s.relaxedEnergy ? "RELAXED: THE POWER NEVER RUNS OUT"
                                                : "LIMITED: 300 SECONDS");
         },
         [](PlayerSettings& s, int) { return flip(s.relaxedEnergy); }},
    };
    return lines;
}

const SettingLine* findLine(const std::string& name) {
    for (const SettingLine& line : settingLines()) {
        if (name == line.name) {
            return &line;
        }
    }
    return nullptr;
}

std::string keysText(const std::vector<KeyChord>& keys) {
    return keys.empty() ? "NO KEY" : chordNames(keys);
}

// The settings' list of bindings that differ from the table's, from the bindings.
void recordKeys(const KeyBindings& bindings, PlayerSettings& settings) {
    settings.keys.clear();
    for (const CommandInfo& info : commandTable()) {
        if (bindings.keysOf(info.command) != info.keys) {
            settings.keys.emplace_back(info.command, bindings.keysOf(info.command));
        }
    }
}

} // namespace

const char* menuScreenName(MenuScreen screen) {
    switch (screen) {
    case MenuScreen::Title:
        return "title";
    case MenuScreen::Levels:
        return "levels";
    case MenuScreen::Settings:
        return "settings";
    case MenuScreen::Help:
        return "help";
    case MenuScreen::Make:
        return "make";
    case MenuScreen::None:
        break;
    }
    return "";
}

void moveCursor(Menu& menu, int step) {
    const int direction = step < 0 ? -1 : 1;
    for (int moved = 0; moved != step;) {
        std::size_t next = menu.cursor;
        do {
            if ((direction < 0 && next == 0) || (direction > 0 && next + 1 >= menu.items.size())) {
                return; // no item to choose that way
            }
            next += direction;
        } while (!choosable(menu.items[next]));
        menu.cursor = next;
        moved += direction;
    }
}

void placeCursor(Menu& menu, const std::string& id) {
    menu.cursor = 0;
    for (std::size_t i = 0; i < menu.items.size(); ++i) {
        if (choosable(menu.items[i]) && menu.items[i].id == id) {
            menu.cursor = i;
            return;
        }
    }
    if (!menu.items.empty() && !choosable(menu.items[0])) {
        moveCursor(menu, 1);
    }
}

std::string levelIdea(const std::string& leadingComment) {
    const std::string mark = "Teaches:";
    const std::size_t at = leadingComment.find(mark);
    if (at == std::string::npos) {
        return "";
    }
    std::string idea = leadingComment.substr(at + mark.size());
    const std::size_t end = idea.find_first_of(".!?");
    idea = idea.substr(0, end);
    std::replace(idea.begin(), idea.end(), '\n', ' ');
    const std::size_t first = idea.find_first_not_of(" \t\r");
    const std::size_t last = idea.find_last_not_of(" \t\r");
    return first == std::string::npos ? "" : idea.substr(first, last - first + 1);
}

std::vector<PackEntry> readPack(const std::string& folder) {
    std::vector<PackEntry> pack;
    for (int n = 1;; ++n) {
        const std::string file = "level" + std::to_string(n) + ".txt";
        std::ifstream in(folder.empty() ? file : (std::filesystem::path(folder) / file).string());
        if (!in) {
            return pack;
        }
        const std::string comment = readLeadingComment(in);
        // "Beamworks level 4: Shared colours" is "Shared colours" on the map.
        std::string title = levelTitle(comment, file);
        const std::size_t colon = title.find(": ");
        if (title.rfind("Beamworks level", 0) == 0 && colon != std::string::npos) {
            title = title.substr(colon + 2);
        }
        pack.push_back({n, file, title, levelIdea(comment)});
    }
}

std::vector<std::string> levelFilesIn(const std::string& folder) {
    std::vector<std::string> files;
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        if (it->path().extension() == ".txt" && it->is_regular_file(error)) {
            files.push_back(it->path().string());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::string continueLevel(const std::vector<PackEntry>& pack, const std::set<std::string>& solved) {
    for (const PackEntry& entry : pack) {
        if (solved.count(entry.file) == 0) {
            return entry.file;
        }
    }
    return "";
}

Menu titleMenu(const std::vector<PackEntry>& pack, const std::set<std::string>& solved) {
    Menu menu;
    menu.screen = MenuScreen::Title;
    menu.title = "BEAMWORKS";
    const std::string next = continueLevel(pack, solved);
    const bool started = std::any_of(pack.begin(), pack.end(),
                                     [&](const PackEntry& e) { return solved.count(e.file) > 0; });
    MenuItem go{"continue", started ? "CONTINUE" : "START", "", false, false};
    for (const PackEntry& entry : pack) {
        if (entry.file == next) {
            go.detail = levelLine(entry);
        }
    }
    if (next.empty()) {
        go.id = "levels"; // everything is solved: the player chooses
        go.detail = "EVERY LEVEL SOLVED - CHOOSE ONE";
    }
    menu.items = {
        go,
        {"levels", "LEVELS", "the map of the levels", false, false},
        {"make", "MAKE A LEVEL", "the level editor, with the solver as its judge", false, false},
        {"settings", "SETTINGS", "window, sound, view, energy, keys", false, false},
        {"help", "HELP", "the controls", false, false},
        {"quit", "QUIT", "leave the game", false, false}};
    menu.footer = {"UP / DOWN: CHOOSE - ENTER: GO - ESC: QUIT"};
    return menu;
}

Menu makeMenu(const std::vector<std::string>& ownLevels,
              const std::map<std::string, std::string>& checks) {
    Menu menu;
    menu.screen = MenuScreen::Make;
    menu.title = "MAKE A LEVEL";
    menu.items = {{"new:small", "NEW LEVEL", "a small room, 1000 x 700 x 1000", false, false},
                  {"new:large", "NEW LEVEL", "a large room, 1250 x 800 x 1250", false, false},
                  {"", "YOUR LEVELS", "", true, false}};
    if (ownLevels.empty()) {
        menu.items.push_back({"", "none yet", "", true, false});
    }
    for (const std::string& path : ownLevels) {
        const std::string name = std::filesystem::path(path).filename().string();
        const auto [mark, words] = checkMark(checks, name);
        menu.items.push_back(
            {"edit:" + path, mark + name, words.empty() ? "edit it" : words, false, false});
    }
    menu.footer = {"ENTER: EDIT - ESC: BACK"};
    return menu;
}

std::map<std::string, std::string> readLevelChecks(const std::string& path) {
    std::map<std::string, std::string> checks;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        const std::size_t blank = line.rfind(' ');
        if (blank == std::string::npos || blank == 0) {
            continue;
        }
        const std::string word = line.substr(blank + 1);
        if (word == "solvable" || word == "no-solution" || word == "solved-as-placed" ||
            word == "still-looking") {
            checks[line.substr(0, blank)] = word;
        }
    }
    return checks;
}

bool recordLevelCheck(const std::string& path, const std::string& name, const std::string& word) {
    std::map<std::string, std::string> checks = readLevelChecks(path);
    checks[name] = word;
    std::string text;
    for (const auto& [level, verdict] : checks) {
        text += level + " " + verdict + "\n";
    }
    return writeFileWhole(path, text);
}

std::pair<std::string, std::string> checkMark(const std::map<std::string, std::string>& checks,
                                              const std::string& name) {
    const auto found = checks.find(name);
    if (found == checks.end() || found->second == "solvable") {
        return {"", ""};
    }
    return {"! ", "NOT SOLVABLE AT ITS LAST CHECK"};
}

Menu levelMap(const std::vector<PackEntry>& pack, const std::vector<std::string>& ownLevels,
              const std::set<std::string>& solved, const std::map<std::string, int>& best,
              const std::map<std::string, int>& par,
              const std::map<std::string, std::string>& checks) {
    Menu menu;
    menu.screen = MenuScreen::Levels;
    menu.title = "LEVELS";
    const std::string next = continueLevel(pack, solved);
    int chapter = -1;
    for (const PackEntry& entry : pack) {
        const int c = (entry.number - 1) / LEVELS_PER_CHAPTER;
        if (c != chapter) {
            chapter = c;
            const int named = static_cast<int>(std::size(CHAPTER_NAMES));
            menu.items.push_back({"",
                                  "CHAPTER " + std::to_string(c + 1) +
                                      (c < named ? std::string(" - ") + CHAPTER_NAMES[c] : ""),
                                  "", true, false});
        }
        const std::optional<int> levelBest = lookUp(best, entry.file);
        const std::optional<int> levelPar = lookUp(par, entry.file);
        const bool suggested = entry.file == next;
        menu.items.push_back({entry.file,
                              solvedMark(solved.count(entry.file) > 0, levelBest, levelPar) +
                                  std::to_string(entry.number) + " " + entry.title,
                              joined({suggested ? "NEXT" : "", scoreText("BEST ", levelBest),
                                      scoreText("PAR ", levelPar), entry.idea}),
                              false, suggested});
    }
    menu.items.push_back({"", "YOUR LEVELS", "", true, false});
    if (ownLevels.empty()) {
        menu.items.push_back({"", "", "none yet", true, false});
    }
    for (const std::string& path : ownLevels) {
        const std::string name = std::filesystem::path(path).filename().string();
        const auto [mark, words] = checkMark(checks, name);
        menu.items.push_back({path, (solved.count(name) > 0 ? "* " : "") + mark + name,
                              joined({scoreText("BEST ", lookUp(best, name)), words}), false,
                              false});
    }
    placeCursor(menu, next);
    menu.footer = {"*: SOLVED - +: AT PAR - ENTER: PLAY - ESC: BACK"};
    return menu;
}

Menu settingsMenu(const PlayerSettings& settings, const KeyBindings& bindings) {
    Menu menu;
    menu.screen = MenuScreen::Settings;
    menu.title = "SETTINGS";
    for (const SettingLine& line : settingLines()) {
        menu.items.push_back(
            {std::string("set:") + line.name, line.label, line.value(settings), false, false});
    }
    menu.items.push_back({"", "KEYS: ENTER ON ONE, THEN ITS NEW KEY", "", true, false});
    for (const CommandInfo& info : commandTable()) {
        std::string keys = keysText(bindings.keysOf(info.command));
        if (bindings.keysOf(info.command).empty() && *info.mouse != '\0') {
            keys += std::string(" - mouse: ") + info.mouse;
        }
        menu.items.push_back({std::string("key:") + info.id, info.caption, keys, false, false});
    }
    menu.items.push_back(
        {"reset-keys", "RESET KEYS", "every key back to the game's", false, false});
    menu.footer = {"UP / DOWN: CHOOSE - LEFT / RIGHT, ENTER: CHANGE - ESC: BACK"};
    return menu;
}

bool changeSetting(PlayerSettings& settings, const std::string& name, int direction) {
    const SettingLine* line = findLine(name);
    return line != nullptr && line->change(settings, direction);
}

void applySettingLine(const PlayerSettings& settings, const std::string& name, GameSettings& game) {
    if (const SettingLine* line = findLine(name)) {
        applySetting(settings, line->fileName, game);
    }
}

std::string bindKey(KeyBindings& bindings, PlayerSettings& settings, Command command,
                    const KeyChord& chord) {
    const bool held = commandInfo(command).activation == Activation::Held;
    for (const CommandInfo& other : commandTable()) {
        if (other.command == command) {
            continue;
        }
        // A held command acts whatever modifiers go with its key.
        const bool anyModifiers = held || other.activation == Activation::Held;
        for (const KeyChord& taken : bindings.keysOf(other.command)) {
            if (taken.key == chord.key && (anyModifiers || taken == chord)) {
                return upperCase(chordName(chord)) + " IS THE KEY OF " + other.caption;
            }
        }
    }
    bindings.setKeys(command, {held ? KeyChord{chord.key, false, false} : chord});
    recordKeys(bindings, settings);
    return "";
}

void resetKeys(KeyBindings& bindings, PlayerSettings& settings) {
    bindings = KeyBindings();
    recordKeys(bindings, settings);
}
