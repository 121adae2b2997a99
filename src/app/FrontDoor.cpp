#include "app/FrontDoor.h"

#include "app/Callbacks.h"
#include "app/Display.h"
#include "app/Editor.h"
#include "app/Game.h"
#include "app/Guidance.h"
#include "app/Sounds.h"
#include "app/Window.h"
#include "core/Matrix.h"
#include "laser/Tracer.h"
#include "level/Level.h"
#include "rules/CommandTable.h"
#include "rules/Interaction.h"
#include "rules/Par.h"
#include "rules/Progress.h"
#include "rules/Settings.h"
#include "rules/SettingsFile.h"
#include "sound/Music.h"
#include "ui/UserInterface.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <optional>

namespace {

/// How far the view behind the title turns either way, radians, and in how many seconds it
/// goes to and fro.
constexpr float TITLE_SWAY = 0.3f;
constexpr double TITLE_PERIOD = 40;
double titleClock = 0;
/// Rows the cursor moves for a page key and for a notch of the wheel.
constexpr int PAGE_ROWS = 10, WHEEL_ROWS = 3;

PlayerSettings player;
std::string settingsPath;
bool titleFirst = false;

Menu menu;
/// Where ESC goes from the screen open: another screen, or None for the level.
MenuScreen backTo = MenuScreen::None;
std::size_t firstRow = 0;
/// A line of the settings screen or a refusal, shown over the rows.
std::string notice;
/// The command whose new key the settings screen waits for.
std::optional<Command> capturing;
/// The view of the level as the player left it for a menu.
std::optional<Matrix> playView;
/// The level behind the menu has been played since it was loaded (a resume, not a start).
bool levelPlayed = false;
std::string levelShown;
int lastX = -1, lastY = -1, menuWheel = 0;

bool isModifier(int key) {
    return key == GLFW_KEY_LSHIFT || key == GLFW_KEY_RSHIFT || key == GLFW_KEY_LCTRL ||
           key == GLFW_KEY_RCTRL || key == GLFW_KEY_LALT || key == GLFW_KEY_RALT;
}

// The pack of the game folder, read once: its files do not change while the game runs.
const std::vector<PackEntry>& pack() {
    static const std::vector<PackEntry> entries = readPack("");
    return entries;
}

// The menu as a panel: its rows, the chosen one, and the rows shown so that it is among them.
void show() {
    if (!userInterface) {
        return;
    }
    PanelContent content;
    content.menu = true;
    content.title = menu.title;
    content.text = notice;
    for (const MenuItem& item : menu.items) {
        // A row with no detail is a heading: an item that has none shows a space.
        content.rows.emplace_back(item.label,
                                  item.heading || !item.detail.empty() ? item.detail : " ");
    }
    content.chosenRow = static_cast<int>(menu.cursor);
    content.footer = menu.footer;
    if (capturing) {
        content.footer = {std::string("PRESS THE NEW KEY FOR ") + commandInfo(*capturing).caption +
                          " - ESC: KEEP THE KEY"};
    }
    content.footerWhenMore = content.footer;
    // A heading stays in view with the first item under it.
    std::size_t top = menu.cursor;
    if (top > 0 && menu.items[top - 1].heading) {
        --top;
    }
    firstRow = std::min(firstRow, top);
    for (int tries = 0; tries < 64; ++tries) {
        content.firstRow = firstRow;
        userInterface->showPanel(content);
        if (menu.cursor < firstRow + userInterface->panelRowsShown()) {
            break;
        }
        ++firstRow;
    }
}

void rebuild() {
    const std::size_t cursor = menu.cursor;
    switch (menu.screen) {
    case MenuScreen::Title:
        menu = titleMenu(pack(), progress.solved());
        break;
    case MenuScreen::Levels:
        menu = levelMap(pack(), levelFilesIn(ownLevelsFolder()), progress.solved(), progress.best(),
                        parTable.values(), readLevelChecks(levelChecksFile()));
        return; // the cursor starts on the suggested level
    case MenuScreen::Settings:
        menu = settingsMenu(player, keyBindings);
        break;
    case MenuScreen::Make:
        menu = makeMenu(levelFilesIn(ownLevelsFolder()), readLevelChecks(levelChecksFile()));
        break;
    default:
        return;
    }
    menu.cursor = std::min(cursor, menu.items.empty() ? 0 : menu.items.size() - 1);
}

void save() {
    if (!settingsPath.empty()) {
        std::cout << "\n";
        saveSettings(settingsPath, player, std::cout);
    } else {
        std::cout << "\nSettings not saved: no folder for them (HOME is not set)" << std::endl;
    }
}

// A setting changed on the screen: into the game at once, then into the file.
void applyChange(const std::string& name) {
    const GameSettings before = gameSettings;
    applySettingLine(player, name, gameSettings);
    if (name == "window_size") {
        // The window follows; the game learns its new size from the window.
        const int w = gameSettings.screenWidth, h = gameSettings.screenHeight;
        if (gameSettings.windowMode == GLFW_FULLSCREEN) {
            requestDisplaySwitch();
        } else {
            gameSettings.screenWidth = before.screenWidth;
            gameSettings.screenHeight = before.screenHeight;
            windowSetSize(w, h);
        }
    } else if (name == "fullscreen" && gameSettings.windowMode != before.windowMode) {
        gameSettings.windowMode = before.windowMode;
        runGameCommand(Command::DisplayMode);
    } else if (name == "music" && gameSettings.music != isMusicPlaying()) {
        runGameCommand(Command::Music);
    } else if (name == "reflections") {
        showSwitch(Command::Reflections, gameSettings);
    }
    save();
}

void playLevelFromMenu(const std::string& file) {
    if (file == levelShown && levelPlayed) {
        openMenu(MenuScreen::None); // back to the level as it was left
        return;
    }
    playView.reset(); // the new level starts at its own start view
    openMenu(MenuScreen::None);
    playLevel(file);
}

void choose() {
    if (menu.items.empty() || menu.items[menu.cursor].heading) {
        return;
    }
    const std::string id = menu.items[menu.cursor].id;
    playCue(Cue::Click);
    notice.clear();
    if (id == "continue") {
        playLevelFromMenu(titleLevel());
    } else if (id == "levels" || id == "settings" || id == "make") {
        backTo = menu.screen;
        openMenu(id == "levels" ? MenuScreen::Levels
                 : id == "make" ? MenuScreen::Make
                                : MenuScreen::Settings);
    } else if (id == "new:small" || id == "new:large") {
        const bool small = id == "new:small";
        openNewLevel(small ? 1000 : 1250, small ? 700 : 800, small ? 1000 : 1250);
    } else if (id.rfind("edit:", 0) == 0) {
        openEditor(id.substr(5));
    } else if (id == "help") {
        openMenu(MenuScreen::Help);
    } else if (id == "quit") {
        gameSettings.running = false;
    } else if (id.rfind("set:", 0) == 0) {
        if (changeSetting(player, id.substr(4), 0)) {
            applyChange(id.substr(4));
        }
        rebuild();
        show();
    } else if (id.rfind("key:", 0) == 0) {
        if (const CommandInfo* info = findCommand(id.substr(4))) {
            capturing = info->command;
        }
        show();
    } else if (id == "reset-keys") {
        resetKeys(keyBindings, player);
        notice = "EVERY KEY IS BACK TO THE GAME'S";
        save();
        rebuild();
        show();
    } else if (menu.screen == MenuScreen::Levels) {
        playLevelFromMenu(id);
    }
}

// ESC: the screen before, the level, or (from the title) the end of the game.
void goBack() {
    notice.clear();
    if (menu.screen == MenuScreen::Title) {
        gameSettings.running = false;
        return;
    }
    const MenuScreen to = backTo;
    backTo = to == MenuScreen::None ? MenuScreen::None : MenuScreen::Title;
    openMenu(to);
}

// The new key for the command waited for.
void captureKey(int key, bool ctrl, bool shift) {
    const Command command = *capturing;
    if (key == GLFW_KEY_ESC) {
        capturing.reset();
        show();
        return;
    }
    // Ctrl or Shift comes before the key that goes with it; only a command held by such a key
    // (the fine one) takes one alone.
    const auto& defaults = commandInfo(command).keys;
    const bool modifierCommand = std::any_of(defaults.begin(), defaults.end(),
                                             [](const KeyChord& k) { return isModifier(k.key); });
    if (isModifier(key) && !modifierCommand) {
        return;
    }
    capturing.reset();
    notice = bindKey(keyBindings, player, command, KeyChord{key, ctrl, shift});
    if (notice.empty()) {
        notice = std::string(commandInfo(command).caption) + ": " + chordName({key, ctrl, shift});
        std::cout << "\nKey: " << commandInfo(command).id << " = "
                  << chordName(keyBindings.keysOf(command).front()) << std::endl;
        save();
    }
    rebuild();
    show();
}

// The help from the title: what the title leads to, and every key.
void showTitleHelp() {
    const auto key = [](Command c) { return firstKeyName(c, keyBindings); };
    showHelpPanel("Continue plays the first level not solved yet; Levels shows every level by "
                  "chapter (none is locked); Settings changes the window, the sound, the view, "
                  "the energy and the keys, saved at once in " +
                  (settingsPath.empty() ? std::string("no file (HOME is not set)") : settingsPath) +
                  ". Without a mouse: " + key(Command::SelectNext) + " selects, " +
                  key(Command::Carry) + " carries, the arrow keys move, Enter sets down. " +
                  key(Command::Quit) + " in a level comes back here; " + key(Command::Settings) +
                  " opens the settings from a level.");
}

// The help from the title: its pages, then back.
void helpKey(int key) {
    if (key == GLFW_KEY_ESC) {
        gameSettings.showHelp = false;
        userInterface->hidePanel();
        openMenu(MenuScreen::Title);
        return;
    }
    gameSettings.showHelp = false; // the next page, or closed after the last
    showTitleHelp();
    if (!userInterface->isPanelShown()) {
        openMenu(MenuScreen::Title);
    }
}

} // namespace

void setPlayerSettings(const PlayerSettings& settings, const std::string& path) {
    player = settings;
    settingsPath = path;
}

void setTitleFirst(bool first) {
    titleFirst = first;
}

bool isTitleFirst() {
    return titleFirst;
}

std::string titleLevel() {
    const std::string next = continueLevel(pack(), progress.solved());
    return next.empty() ? "level1.txt" : next;
}

std::string playerDataFolder() {
    const std::string progressFile =
        Progress::defaultPath(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
    return progressFile.empty() ? "" : std::filesystem::path(progressFile).parent_path().string();
}

std::string ownLevelsFolder() {
    const std::string data = playerDataFolder();
    return data.empty() ? "" : (std::filesystem::path(data) / "levels").string();
}

std::string levelChecksFile() {
    const std::string data = playerDataFolder();
    return data.empty() ? "" : (std::filesystem::path(data) / "checks.txt").string();
}

void openMenu(MenuScreen screen) {
    const bool wasOpen = menuOpen;
    capturing.reset();
    if (!wasOpen) {
        // The level behind the menu: played, unless the game has only just started.
        static bool started = false;
        levelShown = levelFileName;
        levelPlayed = started;
        started = true;
        menuWheel = windowMouseWheel();
    }
    if (screen == MenuScreen::None) {
        menuOpen = false;
        menu = Menu{};
        if (userInterface) {
            userInterface->hidePanel();
            userInterface->setBarsVisible(true);
        }
        if (playView) {
            viewMatrix = *playView;
            playView.reset();
        }
        return;
    }
    if (!wasOpen) {
        // From play: the light goes off and the view is kept for the way back.
        if (gameSettings.laserPower) {
            runGameCommand(Command::LaserPower);
        }
        playView = viewMatrix;
        introductionOpen = false;
        gameSettings.showHelp = false;
        backTo = MenuScreen::None;
    }
    menuOpen = true;
    notice.clear();
    firstRow = 0;
    std::cout << "\nMenu: " << menuScreenName(screen) << std::endl;
    if (userInterface) {
        userInterface->setBarsVisible(false);
        userInterface->showMessage("", 0);
    }
    if (screen == MenuScreen::Help) {
        menu = Menu{};
        menu.screen = MenuScreen::Help;
        gameSettings.showHelp = true;
        showTitleHelp();
        return;
    }
    menu.screen = screen;
    menu.cursor = 0;
    rebuild();
    if (screen == MenuScreen::Settings) {
        notice = settingsPath.empty() ? "NOT SAVED: HOME IS NOT SET"
                                      : "EVERY CHANGE IS SAVED AT ONCE IN " + settingsPath;
    }
    if (screen == MenuScreen::Title) {
        backTo = MenuScreen::None;
    }
    show();
}

void menuKey(int key, bool ctrl, bool shift) {
    if (!userInterface) {
        return;
    }
    if (menu.screen == MenuScreen::Help) {
        helpKey(key);
        return;
    }
    if (capturing) {
        captureKey(key, ctrl, shift);
        return;
    }
    const std::string id = menu.items.empty() ? "" : menu.items[menu.cursor].id;
    switch (key) {
    case GLFW_KEY_UP:
        moveCursor(menu, -1);
        break;
    case GLFW_KEY_DOWN:
        moveCursor(menu, 1);
        break;
    case GLFW_KEY_PAGEUP:
        moveCursor(menu, -PAGE_ROWS);
        break;
    case GLFW_KEY_PAGEDOWN:
        moveCursor(menu, PAGE_ROWS);
        break;
    case GLFW_KEY_HOME:
        moveCursor(menu, -static_cast<int>(menu.items.size()));
        break;
    case GLFW_KEY_END:
        moveCursor(menu, static_cast<int>(menu.items.size()));
        break;
    case GLFW_KEY_LEFT:
    case GLFW_KEY_RIGHT:
        if (id.rfind("set:", 0) == 0 &&
            changeSetting(player, id.substr(4), key == GLFW_KEY_LEFT ? -1 : 1)) {
            notice.clear();
            applyChange(id.substr(4));
            rebuild();
        }
        break;
    case GLFW_KEY_ENTER:
    case GLFW_KEY_KP_ENTER:
    case GLFW_KEY_SPACE:
        choose();
        return;
    case GLFW_KEY_ESC:
        goBack();
        return;
    default:
        // The settings key closes the settings it opened.
        if (menu.screen == MenuScreen::Settings &&
            keyBindings.commandFor(key, ctrl, shift) == Command::Settings) {
            goBack();
        }
        return;
    }
    show();
}

void menuMouseButton(int button, int action, int x, int y) {
    if (!userInterface || action != GLFW_PRESS || button != GLFW_MOUSE_BUTTON_LEFT) {
        return;
    }
    if (menu.screen == MenuScreen::Help) {
        helpKey(GLFW_KEY_ENTER);
        return;
    }
    if (capturing) {
        return; // a key is waited for
    }
    const int row = userInterface->panelRowAt(x, y);
    if (row >= 0 && !menu.items[static_cast<std::size_t>(row)].heading) {
        menu.cursor = static_cast<std::size_t>(row);
        choose();
    }
}

void updateMenu(double frameTime) {
    if (!menuOpen || !userInterface) {
        return;
    }
    if (playView && (backTo != MenuScreen::None || menu.screen == MenuScreen::Title)) {
        // Behind the title, the eye looks slowly to and fro about the view it was left with.
        titleClock += frameTime;
        viewMatrix = *playView;
        moveView(viewMatrix, 0, 0, 0,
                 TITLE_SWAY * static_cast<float>(std::sin(titleClock * 2 * PI / TITLE_PERIOD)), 0);
    }
    if (menu.screen == MenuScreen::Help || capturing) {
        return;
    }
    int x = 0, y = 0;
    windowGetMousePos(x, y);
    const int wheel = windowMouseWheel();
    bool changed = false;
    if (x != lastX || y != lastY) {
        const int row = userInterface->panelRowAt(x, y);
        if (lastX >= 0 && row >= 0 && !menu.items[static_cast<std::size_t>(row)].heading &&
            menu.cursor != static_cast<std::size_t>(row)) {
            menu.cursor = static_cast<std::size_t>(row);
            changed = true;
        }
        lastX = x;
        lastY = y;
    }
    if (wheel != menuWheel) {
        moveCursor(menu, (menuWheel - wheel) * WHEEL_ROWS);
        menuWheel = wheel;
        changed = true;
    }
    if (changed) {
        show();
    }
}
