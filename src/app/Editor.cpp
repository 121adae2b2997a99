#include "app/Editor.h"

#include "app/Callbacks.h"
#include "app/Display.h"
#include "app/FrontDoor.h"
#include "app/Game.h"
#include "app/ThreadPriority.h"
#include "app/Window.h"
#include "core/Renderable.h"
#include "elements/ActiveObject.h"
#include "laser/BeamGuides.h"
#include "laser/Ray.h"
#include "laser/Tracer.h"
#include "level/Level.h"
#include "render/GL.h"
#include "render/Picking.h"
#include "rules/CommandTable.h"
#include "rules/Commands.h"
#include "rules/GameFlow.h"
#include "rules/Interaction.h"
#include "rules/LevelEditor.h"
#include "rules/LevelPack.h"
#include "rules/Menus.h"
#include "rules/Settings.h"
#include "solver/Judge.h"
#include "ui/UserInterface.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <sstream>

namespace {

/// The palette: the element each of the keys 1 to 8 places, and its name there.
struct PaletteEntry {
    PieceKind kind;
    const char* name;
};
constexpr PaletteEntry PALETTE[] = {
    {PieceKind::Emitter, "LASER"},
    {PieceKind::Mirror, "MIRROR"},
    {PieceKind::HalfMirror, "HALF MIRROR"},
    {PieceKind::Filter, "FILTER"},
    {PieceKind::Collector, "COLLECTOR"},
    {PieceKind::Wall, "BLOCK"},
    {PieceKind::Goal, "GOAL"},
    {PieceKind::Lamp, "LAMP"},
};
constexpr int PALETTE_SIZE = static_cast<int>(sizeof PALETTE / sizeof PALETTE[0]);

/// A new level's room, world units.
constexpr double NEW_ROOM_WIDTH = 1200, NEW_ROOM_HEIGHT = 900, NEW_ROOM_DEPTH = 1200;
/// The editor's lines over the bottom bar: the first one's bottom above the window's, and the
/// step between them, pixels.
constexpr double EDITOR_LINES_ABOVE_BOTTOM = 135, EDITOR_LINE_STEP = 18;
/// A press that moves the pointer less than this (pixels) before its release is a click.
constexpr int DRAG_PIXELS = 5;
/// How far a holder's foot is below its origin, along its own y axis.
constexpr double HOLDER_FOOT = 140;
/// A scale key's factor.
constexpr double SCALE_STEP = 1.25;

/// What the editor waits for an answer to.
enum class Question { None, Restore, Leave };

/// What is being typed: nothing, the title or the introduction.
enum class Typing { None, Title, Introduction };

struct Session {
    LevelEditor document;
    std::string file;     ///< where Ctrl+S saves
    std::string recovery; ///< written after every edit, removed when saved or left
    std::string played;   ///< the file test play reads
    int selected = -1;    ///< piece
    BackgroundJudge judge{[] { lowerThreadPriority(); }};
    Verdict verdict;
    std::string lastConsoleLine;
    bool testPlaying = false;
    Matrix viewBeforePlay;
    /// A drag of the selected element: where the left button went down, while it is down.
    bool dragging = false;
    int dragX = 0, dragY = 0;
    bool labelsBefore = false; ///< the colour labels' setting before the editor turned them on
    Question question = Question::None;
    Typing typing = Typing::None;
    std::string typed;
};

std::unique_ptr<Session> session;

void flash(const std::string& text) {
    if (userInterface) {
        userInterface->flashMessage(text);
    }
}

// The recovery file of a level file: in the data folder, named after the file's whole path.
std::string recoveryPathOf(const std::string& file) {
    const std::string folder = playerDataFolder();
    if (folder.empty()) {
        return "";
    }
    std::error_code error;
    std::string name = std::filesystem::absolute(file, error).string();
    for (char& c : name) {
        if (c == '/' || c == '\\') {
            c = '_';
        }
    }
    return (std::filesystem::path(folder) / "recovery" / name).string();
}

std::optional<std::string> readWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// A name among the player's levels not taken yet: "STEM.txt", else "STEM-2.txt", ...
std::string freeOwnLevelPath(const std::string& stem) {
    const std::filesystem::path folder = ownLevelsFolder();
    std::error_code error;
    for (int n = 1;; ++n) {
        const std::filesystem::path path =
            folder / (stem + (n == 1 ? "" : "-" + std::to_string(n)) + ".txt");
        if (!std::filesystem::exists(path, error)) {
            return path.string();
        }
    }
}

// The level as edited, in the game: the view kept, the light on, the selection on its piece.
void show(bool edited) {
    Session& s = *session;
    // Building reads the goals' door model again, with its console lines: not for every edit.
    std::ostringstream quiet;
    std::streambuf* console = std::cout.rdbuf(quiet.rdbuf());
    std::unique_ptr<Level> level = s.document.build();
    std::cout.rdbuf(console);
    if (!level || level->activeObjects.empty()) {
        return;
    }
    adoptLevel(std::move(level));
    gameSettings.laserPower = true;
    refreshShownLevel();
    const int active = s.selected >= 0 ? s.document.activeIndexOf(s.selected) : -1;
    if (active >= 0 && active < static_cast<int>(currentLevel->activeObjects.size())) {
        selectElement(currentLevel->activeObjects[active]);
    }
    if (edited) {
        const std::string text = s.document.text();
        if (!s.recovery.empty()) {
            std::error_code error;
            std::filesystem::create_directories(std::filesystem::path(s.recovery).parent_path(),
                                                error);
            writeFileWhole(s.recovery, text);
        }
        s.judge.submit(text);
        s.verdict = Verdict{};
    }
}

// After an edit: the level shown anew, or why the edit was refused (the model's reason when it
// gives one).
void edited(bool done, const char* what, const char* refusal) {
    if (done) {
        std::cout << "\nEdit: " << what << std::endl;
        show(true);
        return;
    }
    const std::string why =
        session->document.refusal().empty() ? refusal : upperCase(session->document.refusal());
    std::cout << "\nEdit refused (" << what << "): " << why << std::endl;
    flash(why);
}

// Where the pointer points into the room: the first wall face under it.
bool pointedSurface(double point[3], double normal[3]) {
    int x = 0, y = 0;
    windowGetMousePos(x, y);
    double n[3], f[3];
    pointerLine(currentScreenProjection(viewMatrix), x, y, n, f);
    double d[3] = {f[0] - n[0], f[1] - n[1], f[2] - n[2]};
    const double length = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
    if (!(length > 0)) {
        return false;
    }
    Ray ray{{static_cast<float>(n[0]), static_cast<float>(n[1]), static_cast<float>(n[2]), 1},
            {static_cast<float>(d[0] / length), static_cast<float>(d[1] / length),
             static_cast<float>(d[2] / length), 0}};
    float distance = 0;
    Point face{0, 1, 0, 0};
    if (!firstWallFace(ray, currentLevel->getWalls(), distance, face)) {
        return false;
    }
    for (int k = 0; k < 3; ++k) {
        point[k] = ray.origin[k] + distance * ray.direction[k];
        normal[k] = face[k];
    }
    return true;
}

void save() {
    Session& s = *session;
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(s.file).parent_path(), error);
    if (!writeFileWhole(s.file, s.document.text())) {
        std::cout << "\nCannot save: " << s.file << std::endl;
        flash("CANNOT SAVE");
        return;
    }
    s.document.markSaved();
    if (!s.recovery.empty()) {
        std::filesystem::remove(s.recovery, error);
    }
    std::cout << "\nSaved: " << s.file << std::endl;
    flash("SAVED");
}

void close() {
    Session& s = *session;
    std::error_code error;
    if (!s.recovery.empty()) {
        std::filesystem::remove(s.recovery, error);
    }
    if (!s.played.empty()) {
        std::filesystem::remove(s.played, error);
    }
    gameSettings.colourLabels = s.labelsBefore;
    session.reset();
    editorOpen = false;
    std::cout << "\nEditor closed" << std::endl;
    if (userInterface) {
        userInterface->hidePanel();
    }
    openMenu(MenuScreen::Title);
}

void ask(Question question, const std::string& title, const std::string& text,
         const std::string& footer) {
    session->question = question;
    if (userInterface) {
        PanelContent content;
        content.title = title;
        content.text = text;
        content.footer = {footer};
        userInterface->showPanel(content);
    }
}

void answered() {
    session->question = Question::None;
    if (userInterface) {
        userInterface->hidePanel();
    }
}

void showHelp() {
    if (!userInterface) {
        return;
    }
    PanelContent content;
    content.title = "Editor";
    content.text = "Edit the level; the solver judges it after every edit.";
    content.rows = {
        {"1 - 8", "place a laser, mirror, half mirror, filter, collector, block, goal, lamp "
                  "where the pointer points"},
        {"Click, Tab, drag", "select an element; a drag moves it across its surface"},
        {"Arrows, - .", "move it (grid of 25, G: snapping on / off)"},
        {"Turn and tilt keys", "turn and tilt it as in play (Shift: 1 degree)"},
        {"C", "step its colour (filters, goals)"},
        {"Page Up / Down", "scale a block or a wall (Shift: across only, Ctrl: up only)"},
        {"Ctrl+D, Delete", "copy it, delete it"},
        {"Ctrl+Z, Ctrl+Y", "undo, redo"},
        {"V", "the view now is the start view"},
        {"T, I", "type the title, the introduction (ENTER: done)"},
        {"F6", "test play (ESC or F6: back to the editor)"},
        {"Ctrl+S", "save"},
        {"J", "what the solver changes to solve it"},
        {"ESC", "leave the editor"},
    };
    content.footer = {"F1: CLOSE"};
    userInterface->showPanel(content);
}

void showJudgement() {
    if (!userInterface) {
        return;
    }
    const Verdict& v = session->verdict;
    PanelContent content;
    content.title = v.headline();
    content.text = v.reason;
    for (const std::string& change : v.changes) {
        content.rows.emplace_back("-", change);
    }
    for (const std::string& warning : v.warnings) {
        content.rows.emplace_back("!", warning);
    }
    content.footer = {"J: CLOSE"};
    userInterface->showPanel(content);
}

void startTestPlay() {
    Session& s = *session;
    const std::string folder = playerDataFolder();
    // Named as the level is, so that the introduction names it.
    const std::filesystem::path playFolder =
        (folder.empty() ? std::filesystem::temp_directory_path() : std::filesystem::path(folder)) /
        "test-play";
    std::error_code ignored;
    std::filesystem::create_directories(playFolder, ignored);
    s.played = (playFolder / std::filesystem::path(s.file).filename()).string();
    if (!writeFileWhole(s.played, s.document.text())) {
        flash("CANNOT WRITE THE TEST FILE");
        return;
    }
    s.viewBeforePlay = viewMatrix;
    s.testPlaying = true;
    editorOpen = false;
    std::cout << "\nEditor: test play" << std::endl;
    playLevel(s.played);
}

void endTestPlay() {
    Session& s = *session;
    s.testPlaying = false;
    editorOpen = true;
    std::cout << "\nEditor: back from test play" << std::endl;
    if (userInterface) {
        userInterface->showMessage("", 0);
        userInterface->hidePanel();
    }
    show(false);
    viewMatrix = s.viewBeforePlay;
}

bool typingKey(int key, bool shift) {
    Session& s = *session;
    if (key == GLFW_KEY_ENTER || key == GLFW_KEY_KP_ENTER) {
        const bool done = s.typing == Typing::Title ? s.document.setTitle(s.typed)
                                                    : s.document.setIntroduction(s.typed);
        s.typing = Typing::None;
        if (userInterface) {
            userInterface->hidePanel();
        }
        edited(done, "text", "TEXT REFUSED");
        return true;
    }
    if (key == GLFW_KEY_ESC) {
        s.typing = Typing::None;
        if (userInterface) {
            userInterface->hidePanel();
        }
        return true;
    }
    if (key == GLFW_KEY_BACKSPACE) {
        if (!s.typed.empty()) {
            s.typed.pop_back();
        }
    } else if (key >= 'A' && key <= 'Z') {
        s.typed += shift ? static_cast<char>(key) : static_cast<char>(key - 'A' + 'a');
    } else if (key == ' ' || (key >= '0' && key <= '9') || key == ',' || key == '.' || key == '-' ||
               key == '\'' || key == ';') {
        s.typed += shift && key == ';' ? ':' : shift && key == '1' ? '!' : static_cast<char>(key);
    } else if (key == '/' && shift) {
        s.typed += '?';
    }
    if (userInterface) {
        PanelContent content;
        content.title = s.typing == Typing::Title ? "Title" : "Introduction";
        content.text = s.typed + "_";
        content.footer = {"ENTER: DONE - ESC: KEEP THE OLD TEXT"};
        userInterface->showPanel(content);
    }
    return true;
}

void startTyping(Typing typing) {
    Session& s = *session;
    s.typing = typing;
    s.typed = typing == Typing::Title ? s.document.title() : s.document.introduction();
    typingKey(0, false);
}

bool questionKey(int key) {
    Session& s = *session;
    if (s.question == Question::Restore) {
        if (key == GLFW_KEY_ENTER || key == GLFW_KEY_KP_ENTER) {
            const std::optional<std::string> text = readWhole(s.recovery);
            std::string error;
            if (text && s.document.open(*text, &error)) {
                std::cout << "\nEditor: restored " << s.recovery << std::endl;
                answered();
                show(true);
                return true;
            }
            std::cout << "\nEditor: the recovery file cannot be read: " << error << std::endl;
            answered();
            return true;
        }
        if (key == GLFW_KEY_ESC) {
            std::error_code ignored;
            std::filesystem::remove(s.recovery, ignored);
            answered();
        }
        return true;
    }
    if (s.question == Question::Leave) {
        if (key == 'S') {
            answered();
            save();
            close();
        } else if (key == 'L') {
            answered();
            close();
        } else if (key == GLFW_KEY_ESC) {
            answered();
        }
        return true;
    }
    return false;
}

// The selected element dragged with the left button: where the button comes up over a surface,
// the element goes, along the surface it stands on (one edit, on the grid).
void followDrag() {
    Session& s = *session;
    int x = 0, y = 0;
    windowGetMousePos(x, y);
    const bool down = windowMouseButtonDown(GLFW_MOUSE_BUTTON_LEFT) && !leftPressOnInterface;
    if (down && !s.dragging) {
        s.dragging = true;
        s.dragX = x;
        s.dragY = y;
        return;
    }
    if (down || !s.dragging) {
        return;
    }
    s.dragging = false;
    const int active = s.selected >= 0 ? s.document.activeIndexOf(s.selected) : -1;
    if (std::abs(x - s.dragX) + std::abs(y - s.dragY) < DRAG_PIXELS || active < 0 ||
        active >= static_cast<int>(currentLevel->activeObjects.size())) {
        return; // a click: it selected
    }
    double point[3], normal[3];
    if (!pointedSurface(point, normal)) {
        return;
    }
    // The element's foot: a holder's is 140 down its own y axis from its origin.
    Renderable* root = currentLevel->activeObjects[active];
    while (root->parent != nullptr) {
        root = root->parent;
    }
    const Matrix& w = root->refreshedWorldMatrix();
    const bool holder = root != currentLevel->activeObjects[active];
    double delta[3], along = 0;
    for (int k = 0; k < 3; ++k) {
        const double foot = w[12 + k] - (holder ? HOLDER_FOOT * w[4 + k] : 0);
        delta[k] = point[k] - foot;
        along += delta[k] * normal[k];
    }
    for (int k = 0; k < 3; ++k) {
        delta[k] -= along * normal[k]; // across the surface only
    }
    edited(s.document.move(s.selected, delta), "move", "IT CANNOT GO THERE");
}

void begin(std::unique_ptr<Session> opened, const std::string& shownName) {
    session = std::move(opened);
    Session& s = *session;
    editorOpen = true;
    // The colour labels say what colour each filter and goal has, and the mirrors' numbers.
    s.labelsBefore = gameSettings.colourLabels;
    gameSettings.colourLabels = true;
    if (menuOpen) {
        openMenu(MenuScreen::None);
    }
    std::cout << "\nEditor: " << shownName << std::endl;
    if (userInterface) {
        userInterface->showMessage("", 0);
        userInterface->hidePanel();
    }
    introductionOpen = false; // the level played before may have had its introduction open
    show(false);
    viewMatrix = levelStartView(*currentLevel);
    s.judge.submit(s.document.text());
    const std::optional<std::string> recovered =
        s.recovery.empty() ? std::nullopt : readWhole(s.recovery);
    if (recovered && *recovered != s.document.text()) {
        std::cout << "\nEditor: recovery file " << s.recovery << " found" << std::endl;
        ask(Question::Restore, "Unsaved edits",
            "The editor found edits of this level that were never saved (the game ended before "
            "they were).",
            "ENTER: RESTORE THEM - ESC: DISCARD THEM");
    }
}

} // namespace

void openEditor(const std::string& file, bool copy) {
    auto opened = std::make_unique<Session>();
    const std::optional<std::string> text = readWhole(file);
    std::string error;
    if (text) {
        if (!opened->document.open(*text, &error)) {
            std::cout << "\nEditor: cannot edit " << file << ": " << error << std::endl;
            flash("CANNOT EDIT THIS FILE");
            return;
        }
    } else {
        opened->document.createRoom(NEW_ROOM_WIDTH, NEW_ROOM_HEIGHT, NEW_ROOM_DEPTH);
        if (!copy) { // a new file is there from the start, the empty room in it
            std::error_code ignored;
            std::filesystem::create_directories(std::filesystem::path(file).parent_path(), ignored);
            writeFileWhole(file, opened->document.text());
        }
    }
    if (copy) {
        const std::string stem = std::filesystem::path(file).stem().string();
        opened->file = ownLevelsFolder().empty() ? stem + "-copy.txt" : freeOwnLevelPath(stem);
    } else {
        opened->file = file;
    }
    opened->recovery = recoveryPathOf(opened->file);
    begin(std::move(opened), file);
}

void openNewLevel(double width, double height, double depth) {
    auto opened = std::make_unique<Session>();
    opened->document.createRoom(width, height, depth);
    opened->file = ownLevelsFolder().empty() ? "my-level.txt" : freeOwnLevelPath("my-level");
    opened->recovery = recoveryPathOf(opened->file);
    const std::string name = opened->file;
    begin(std::move(opened), name);
}

void shutDownEditor() {
    session.reset();
    editorOpen = false;
}

bool editorIsOpen() {
    return session != nullptr;
}

bool editorKey(int key, bool ctrl, bool shift) {
    if (!session) {
        return false;
    }
    Session& s = *session;
    if (s.testPlaying) {
        if (key == GLFW_KEY_ESC || key == GLFW_KEY_F6) {
            endTestPlay();
            return true;
        }
        return false;
    }
    if (questionKey(key)) {
        return true;
    }
    if (s.typing != Typing::None) {
        return typingKey(key, shift);
    }
    LevelEditor& doc = s.document;
    const int sel = s.selected;
    const Command command = keyBindings.commandFor(key, ctrl, shift);
    float yaw = 0, tilt = 0;
    const bool turnKey =
        keyTurn(command, keyBindings.isHeld(Command::Fine, windowKeyDown), yaw, tilt);
    const bool needsSelection =
        turnKey || key == GLFW_KEY_UP || key == GLFW_KEY_DOWN || key == GLFW_KEY_LEFT ||
        key == GLFW_KEY_RIGHT || key == '-' || key == '.' || key == 'C' || key == GLFW_KEY_PAGEUP ||
        key == GLFW_KEY_PAGEDOWN || key == GLFW_KEY_DEL || (ctrl && key == 'D');
    if (needsSelection && sel < 0) {
        flash("SELECT AN ELEMENT FIRST (CLICK OR TAB)");
        return true;
    }
    if (key >= '1' && key < '1' + PALETTE_SIZE && !ctrl) {
        double point[3], normal[3];
        if (!pointedSurface(point, normal)) {
            std::cout << "\nEdit refused (place): the pointer points at no surface" << std::endl;
            flash("POINT AT THE FLOOR, A WALL OR THE CEILING");
            return true;
        }
        const int placed = doc.place(PALETTE[key - '1'].kind, point, normal);
        if (placed >= 0) {
            s.selected = placed;
        }
        edited(placed >= 0, "place", "NO ROOM FOR IT THERE");
        return true;
    }
    if (ctrl) {
        switch (key) {
        case 'Z':
            edited(doc.undo(), "undo", "NOTHING TO UNDO");
            return true;
        case 'Y':
            edited(doc.redo(), "redo", "NOTHING TO REDO");
            return true;
        case 'S':
            save();
            return true;
        case 'D': {
            const int copy = sel >= 0 ? doc.duplicate(sel) : -1;
            if (copy >= 0) {
                s.selected = copy;
            }
            edited(copy >= 0, "copy", "NO ROOM FOR A COPY");
            return true;
        }
        default:
            break;
        }
    }
    const Point here =
        arrowShift(viewMatrix, key == GLFW_KEY_DOWN, key == GLFW_KEY_UP, key == GLFW_KEY_LEFT,
                   key == GLFW_KEY_RIGHT, static_cast<float>(doc.grid));
    if (key == GLFW_KEY_UP || key == GLFW_KEY_DOWN || key == GLFW_KEY_LEFT ||
        key == GLFW_KEY_RIGHT || key == '-' || key == '.') {
        double delta[3] = {here[0], here[1], here[2]};
        if (key == '-' || key == '.') {
            delta[0] = delta[2] = 0;
            delta[1] = key == '-' ? doc.grid : -doc.grid; // as in play: - up, . down
        }
        edited(sel >= 0 && doc.move(sel, delta), "move", "IT CANNOT GO THERE");
        return true;
    }
    if (turnKey) {
        // The editor's steps: 15 degrees, 1 with the fine key.
        const double step = std::fabs(yaw) + std::fabs(tilt) < 0.05f ? 1.0 : 15.0;
        const bool done = sel >= 0 && (yaw != 0 ? doc.turn(sel, yaw > 0 ? step : -step)
                                                : doc.tilt(sel, tilt > 0 ? step : -step));
        edited(done, yaw != 0 ? "turn" : "tilt", "IT CANNOT TURN THERE");
        return true;
    }
    switch (key) {
    case 'C':
        edited(sel >= 0 && doc.stepColour(sel), "colour", "ONLY FILTERS AND GOALS HAVE A COLOUR");
        return true;
    case GLFW_KEY_PAGEUP:
    case GLFW_KEY_PAGEDOWN: {
        const double f = key == GLFW_KEY_PAGEUP ? SCALE_STEP : 1 / SCALE_STEP;
        const double factors[3] = {ctrl ? 1 : f, shift ? 1 : f, 1};
        edited(sel >= 0 && doc.scale(sel, factors), "scale", "ONLY BLOCKS AND WALLS SCALE");
        return true;
    }
    case GLFW_KEY_DEL:
        if (sel >= 0 && doc.remove(sel)) {
            s.selected = -1;
            selectElement(nullptr);
            std::cout << "\nEdit: delete" << std::endl;
            show(true);
        } else {
            flash("SELECT AN ELEMENT TO DELETE");
        }
        return true;
    case 'G':
        doc.snapping = !doc.snapping;
        std::cout << "\nEditor: snapping " << (doc.snapping ? "on" : "off") << std::endl;
        flash(doc.snapping ? "SNAPPING ON" : "SNAPPING OFF");
        return true;
    case 'V': {
        const Matrix eye = invertMatrix(viewMatrix);
        const double position[3] = {eye[12], eye[13], eye[14]};
        // The view's -z: its pitch above the horizon and its yaw from -z towards -x.
        const double fx = -eye[8], fy = -eye[9], fz = -eye[10];
        const double pitch = std::atan2(fy, std::hypot(fx, fz)) * 180 / 3.14159265358979;
        const double yawDegrees = std::atan2(-fx, -fz) * 180 / 3.14159265358979;
        const bool done = doc.setStartView(position, pitch, yawDegrees);
        edited(done, "start view", "THE START VIEW IS REFUSED");
        if (done) {
            flash("START VIEW SET");
        }
        return true;
    }
    case 'T':
        startTyping(Typing::Title);
        return true;
    case 'I':
        startTyping(Typing::Introduction);
        return true;
    case 'J':
        if (userInterface && userInterface->isPanelShown()) {
            userInterface->hidePanel();
        } else {
            showJudgement();
        }
        return true;
    case GLFW_KEY_F1:
        if (userInterface && userInterface->isPanelShown()) {
            userInterface->hidePanel();
        } else {
            showHelp();
        }
        return true;
    case GLFW_KEY_F6:
        startTestPlay();
        return true;
    case GLFW_KEY_ESC:
        if (doc.modified()) {
            ask(Question::Leave, "Unsaved edits", "The level has edits that are not saved.",
                "S: SAVE AND LEAVE - L: LEAVE WITHOUT SAVING - ESC: STAY");
        } else {
            close();
        }
        return true;
    case GLFW_KEY_TAB: {
        const int n = doc.count();
        for (int i = 1; i <= n && n > 0; ++i) {
            const int next = ((sel < 0 ? (shift ? 0 : -1) : sel) + (shift ? -i : i) + n) % n;
            if (doc.activeIndexOf(next) >= 0) {
                s.selected = next;
                show(false);
                std::cout << "\nSelected: " << doc.piece(next).name << std::endl;
                break;
            }
        }
        return true;
    }
    default:
        break;
    }
    // The view, the light, the display and the sound work as in play; nothing else does.
    switch (command) {
    case Command::ResetView:
    case Command::LookAtSelection:
    case Command::Overview:
    case Command::LaserPower:
    case Command::Brightness:
    case Command::FpsCounter:
    case Command::LaserCounter:
    case Command::Wireframe:
    case Command::TextureFilter:
    case Command::Mipmap:
    case Command::Culling:
    case Command::Transparency:
    case Command::BoundingSpheres:
    case Command::Reflections:
    case Command::Music:
    case Command::Effects:
    case Command::DisplayMode:
        return false;
    default:
        return true;
    }
}

void updateEditor() {
    if (!session) {
        return;
    }
    Session& s = *session;
    if (s.testPlaying) {
        return;
    }
    doubleClicked = false;
    followDrag();
    // A click picked an element of the level: its piece is the selected one.
    if (selectionActive && selectedElement) {
        const auto& active = currentLevel->activeObjects;
        for (std::size_t i = 0; i < active.size(); ++i) {
            if (active[i] == selectedElement) {
                s.selected = s.document.pieceOfActive(static_cast<int>(i));
            }
        }
    }
    Verdict verdict;
    if (s.judge.poll(verdict)) {
        s.verdict = verdict;
        const std::string line = verdict.consoleLine();
        if (!line.empty() && line != s.lastConsoleLine) {
            std::cout << "\n" << line << std::endl;
        }
        s.lastConsoleLine = line;
        if (verdict.kind != Verdict::Kind::StillLooking && !levelChecksFile().empty() &&
            std::filesystem::path(s.file).parent_path() ==
                std::filesystem::path(ownLevelsFolder())) {
            static const char* const WORDS[] = {"still-looking", "solved-as-placed", "solvable",
                                                "no-solution"};
            recordLevelCheck(levelChecksFile(), std::filesystem::path(s.file).filename().string(),
                             WORDS[static_cast<int>(verdict.kind)]);
        }
    }
}

void addEditorLabels(std::vector<ScreenLabel>& labels) {
    if (!session || session->testPlaying) {
        return;
    }
    const Session& s = *session;
    const double width = gameSettings.screenWidth, height = gameSettings.screenHeight;
    // The palette in three rows and the state of the file, over the bottom bar.
    std::string rows[3];
    for (int i = 0; i < PALETTE_SIZE; ++i) {
        std::string& row = rows[i / 3];
        row += std::string(row.empty() ? "" : "  ") + std::to_string(i + 1) + " " + PALETTE[i].name;
    }
    const std::size_t warnings = s.verdict.warnings.size();
    const std::string state =
        std::string(s.document.modified() ? "NOT SAVED - " : "") +
        (warnings ? std::to_string(warnings) + (warnings > 1 ? " WARNINGS" : " WARNING") + " (J)"
                  : "F1: KEYS") +
        (s.document.snapping ? "" : " - NO GRID");
    const std::string lines[] = {rows[0], rows[1], rows[2], state};
    for (int i = 0; i < 4; ++i) {
        ScreenLabel label;
        label.x = width / 2;
        label.y = height - EDITOR_LINES_ABOVE_BOTTOM + i * EDITOR_LINE_STEP;
        label.text = lines[i];
        labels.push_back(label);
    }
}

std::string editorReadout() {
    if (!session || session->testPlaying) {
        return "";
    }
    return session->verdict.headline();
}
