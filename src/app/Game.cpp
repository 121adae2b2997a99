#include "app/Game.h"

#include "app/Callbacks.h"
#include "app/Display.h"
#include "app/Editor.h"
#include "app/FrameStats.h"
#include "app/FrontDoor.h"
#include "app/Guidance.h"
#include "app/Hints.h"
#include "app/Manipulation.h"
#include "app/Sounds.h"
#include "app/Window.h"
#include "elements/Camera.h"
#include "elements/Mirror.h"
#include "elements/MirrorHalf.h"
#include "laser/Tracer.h"
#include "laser/TransparentOrder.h"
#include "level/Level.h"
#include "render/GL.h"
#include "render/Guides.h"
#include "render/Mirrors.h"
#include "render/Picking.h"
#include "render/RenderOptions.h"
#include "render/SceneDrawing.h"
#include "render/Screenshot.h"
#include "render/Shaders.h"
#include "render/ShadowMap.h"
#include "render/TransparentPass.h"
#include "rules/CommandTable.h"
#include "rules/GameFlow.h"
#include "rules/GameRules.h"
#include "rules/Interaction.h"
#include "rules/LevelPack.h"
#include "rules/LightReadout.h"
#include "rules/Par.h"
#include "rules/Placement.h"
#include "rules/Progress.h"
#include "rules/Settings.h"
#include "rules/UndoHistory.h"
#include "sound/Music.h"
#include "ui/UserInterface.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#ifdef __GLIBC__
#include <malloc.h>
#endif
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

const std::string HYPHENS(46, '-');

void orderTransparentForView() {
    orderTransparentObjects(*currentLevel->transparentSet, viewMatrix);
    transparentDrawList = currentLevel->transparentSet->drawOrder;
}

std::unique_ptr<Camera> cameraStorage;
double lastFrameTime = 0;

/// The large message of the last solve, taken away when the level opens again.
std::string solvedBanner;

/// A level to load between frames: a key asked for it inside the window's event processing.
struct PendingLoad {
    std::string file;
    bool restart = false;
};
std::optional<PendingLoad> pendingLoad;

/// The reflection switches as the player set them, and as the last level's mirror count left
/// them: a level with fewer mirrors gives back what a level with many took away.
struct ReflectionChoice {
    bool mirroring = true, depth2 = true;
    bool limitedMirroring = true, limitedDepth2 = true;
};
ReflectionChoice reflectionChoice;

// With 4 or more mirrors the second reflection level is off, with 8 or more all reflections.
void applyMirrorLimits() {
    ReflectionChoice& c = reflectionChoice;
    if (gameSettings.mirroring == c.limitedMirroring &&
        gameSettings.mirroringDepth2 == c.limitedDepth2) {
        gameSettings.mirroring = c.mirroring; // untouched since the last limit: the choice holds
        gameSettings.mirroringDepth2 = c.depth2;
    }
    c.mirroring = gameSettings.mirroring;
    c.depth2 = gameSettings.mirroringDepth2;
    int mirrors = 0;
    for (Renderable* object : sceneObjects) {
        mirrors += dynamic_cast<Mirror*>(object) || dynamic_cast<MirrorHalf*>(object);
    }
    if (mirrors >= 4) {
        gameSettings.mirroringDepth2 = false;
    }
    if (mirrors >= 8) {
        gameSettings.mirroring = false;
    }
    c.limitedMirroring = gameSettings.mirroring;
    c.limitedDepth2 = gameSettings.mirroringDepth2;
}

bool levelFileExists(const std::string& file) {
    std::error_code error;
    return std::filesystem::is_regular_file(file, error);
}

// The interface of a level just entered: no message, the power switch off, the level's
// introduction open.
void showLevelStart() {
    if (userInterface) {
        showSwitch(Command::LaserPower, gameSettings);
        userInterface->showMessage("", 0);
        // A measuring run (BEAMWORKS_FRAMES) has no one to read it.
        if (!FrameStats::fromEnvironment().enabled()) {
            showLevelIntroduction();
        }
    }
}

// The interface built again for the window and scale in the settings, showing what it showed.
void rebuildUserInterface() {
    const UserInterface::State shown = userInterface->captureState();
    createUserInterface();
    userInterface->restoreState(shown);
}

// A new window size (a window manager, maximising): the projection, the frustum and the
// interface follow it.
void followWindowSize() {
    int w = 0, h = 0;
    windowSize(w, h);
    if (w <= 0 || h <= 0 || (w == gameSettings.screenWidth && h == gameSettings.screenHeight)) {
        return;
    }
    gameSettings.screenWidth = w;
    gameSettings.screenHeight = h;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(FIELD_OF_VIEW, static_cast<double>(w) / h, NEAR_PLANE, FAR_PLANE);
    glMatrixMode(GL_MODELVIEW);
    buildFrustumPlanes();
    if (userInterface) {
        rebuildUserInterface();
    }
}

// A new interface scale in the settings (the settings screen changes it while the game runs): the
// interface is built again for it.
void followInterfaceScale() {
    if (userInterface && userInterface->getAskedScale() != gameSettings.uiScale) {
        rebuildUserInterface();
    }
}

// The music plays at the volume the settings have now.
void followMusicVolume() {
    const int volume = std::clamp(gameSettings.musicVolume, 0, 100);
    if (volume != musicVolume()) {
        setMusicVolume(volume);
    }
}

// Loads a level in the running game, between frames. Returns whether one was asked for.
bool runPendingLevelLoad() {
    if (!pendingLoad) {
        return false;
    }
    const PendingLoad load = *pendingLoad;
    pendingLoad.reset();
    cancelHint(); // it was about the level that goes
    if (load.restart) {
        std::cout << "\nRestart: " << load.file << std::endl;
    }
    if (!enterLevel(load.file, std::cout)) {
        if (userInterface) {
            userInterface->flashMessage("CANNOT LOAD LEVEL");
        }
        return true;
    }
    soundsEnterLevel();
    invalidateShadowMap();
    applyMirrorLimits();
    showSwitch(Command::Reflections, gameSettings);
    updateLasers(*currentLevel);
    orderTransparentForView();
    showLevelStart();
    return true;
}

// What a frame leaves behind in the renderer: every mark in the stencil buffer removed, and the
// modelview stack as deep as at the start.
void recordFrameState(FrameStats& stats) {
    const int w = gameSettings.screenWidth, h = gameSettings.screenHeight;
    static std::vector<GLubyte> stencil;
    stencil.assign(static_cast<std::size_t>(w) * h, 0);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, w, h, GL_STENCIL_INDEX, GL_UNSIGNED_BYTE, stencil.data());
    long marked = 0;
    for (GLubyte v : stencil) {
        marked += v != 0;
    }
    GLint depth = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    stats.recordFrameState(marked, depth);
}

// What a solved level offers: "N: NEXT LEVEL - R: PLAY IT AGAIN" (only R after the last level).
std::string whatNextAfterASolve(const char* again) {
    const std::string restart = keyHint(Command::Restart, again, keyBindings);
    if (neighbourLevel(levelFileName, 1, levelFileExists).empty()) {
        return restart;
    }
    return keyHint(Command::NextLevel, "NEXT LEVEL", keyBindings) + " - " + restart;
}

// One frame, in the game's fixed order of steps.
void runFrame(FrameStats& stats) {
    // First: an edit the editor makes here replaces the level.
    updateEditor();
    Level& level = *currentLevel;
    const double start = windowTime();
    const double frameTime = start - lastFrameTime;
    // With statistics on, each pass is finished before the next starts so that its time is its.
    const auto mark = [&](const char* pass) {
        if (stats.enabled()) {
            glFinish();
            stats.pass(pass, windowTime());
        }
    };
    stats.beginFrame(start);
    beginInputFrame();
    followWindowSize();
    followInterfaceScale();
    followMusicVolume();
    pollHint();
    if (userInterface) {
        int x = 0, y = 0;
        windowGetMousePos(x, y);
        userInterface->getInput().pushMouseInput(gcn::MouseInput(
            gcn::MouseInput::EMPTY, gcn::MouseInput::MOVED, x, y, static_cast<int>(windowTime())));
    }

    updateMenu(frameTime);
    updateCameraAndManipulation(frameTime);
    const float framesPerSecond = static_cast<float>(1.0 / frameTime);
    std::cout << "\rFPS: " << static_cast<int>(framesPerSecond) << " should be " << 100.0f
              << " - Number of Lasers: " << level.getLaserBeams().size() << "     " << std::flush;
    const GoalCount goals = countOpenGoals(level);
    const int moves = static_cast<int>(undoHistory.moves());
    if (userInterface) {
        userInterface->setGoals(goals.open, goals.total, gameSettings.laserPower);
        userInterface->setMoves(moves, true);
    }
    // The editor shows the light of a level that may well be solved as placed: it is not played.
    switch (editorOpen ? SolvedChange::None : followSolved(goals.allOpen(), levelSolved)) {
    case SolvedChange::Solved: {
        const std::optional<int> par = parTable.parOf(levelFileName);
        std::cout << "\n" << solvedLine(levelFileName, moves, par) << std::endl;
        progress.recordSolve(levelFileName, moves, std::cout);
        solvedBanner = solvedMessage(moves, par);
        if (userInterface) {
            userInterface->showMessage(solvedBanner, 0, whatNextAfterASolve("PLAY IT AGAIN"));
        }
        break;
    }
    case SolvedChange::Reopened:
        // The banner shows while the level is solved; the recorded solve stays.
        if (userInterface && userInterface->getBigMessage() == solvedBanner) {
            userInterface->showMessage("", 0);
        }
        break;
    case SolvedChange::None:
        break;
    }
    lastFrameTime = windowTime();
    inverseViewMatrix = invertMatrix(viewMatrix);
    mark("view");
    renderShadowMap();
    mark("shadow");

    glClearStencil(0);
    glDisable(GL_STENCIL_TEST);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    glViewport(0, 0, gameSettings.screenWidth, gameSettings.screenHeight);
    // The scene where the interface lets it show (fast passes): the rows the bars cover with
    // opaque pixels are not drawn.
    visibleArea = {0, 0, gameSettings.screenWidth, gameSettings.screenHeight};
    if (renderOptions.fastPasses && userInterface) {
        visibleArea.y0 = userInterface->coveredBottom();
        visibleArea.y1 = gameSettings.screenHeight - userInterface->coveredTop();
        glEnable(GL_SCISSOR_TEST);
        glScissor(0, visibleArea.y0, visibleArea.x1, std::max(0, visibleArea.y1 - visibleArea.y0));
    }
    glCullFace(GL_BACK);
    if (pickRequested) {
        pickRequested = false;
        pickObject();
    }
    if (!gameSettings.wireframe) {
        glUseProgram(shaderProgram);
        setUniform(shaderProgram, "normal2DTex", 2);
        setUniform(shaderProgram, "normal3DTex", 3);
        setUniform(shaderProgram, "shadowMap", 7);
        setUniform(shaderProgram, "useShadows", gameSettings.shadows ? 1 : 0);
    }
    setUniform(shaderProgram, "darking", 1.0f);
    placementBlocked = isPlacementBlocked(level, selectionActive ? selectedElement : nullptr);
    mark("clear");

    const Culling mainCulling = mainViewCulling();
    drawOpaquePass(&mainCulling, MirrorPanes::Exclude, nullptr);
    mark("opaque");
    drawCameraModel(*camera);
    if (gameSettings.mirroring) {
        reflectionLevel = 1;
        // Each mirror is timed on its own ("mirror 1", "mirror 2", ... in drawing order).
        static const char* const MIRROR_PASSES[] = {"mirror 1", "mirror 2", "mirror 3",
                                                    "mirror 4", "mirror 5", "mirror 6",
                                                    "mirror 7", "mirror 8", "mirrors 9+"};
        constexpr int LAST_MIRROR_PASS = 8;
        int mirrorsDrawn = 0;
        mark("eye model");
        drawMirrors([&] { mark(MIRROR_PASSES[std::min(mirrorsDrawn++, LAST_MIRROR_PASS)]); });
    } else if (renderOptions.fastPasses && !isAnyModelMoving()) {
        // The rest is drawn already: drawn again it would only write what is there.
        drawOpaquePass(&mainCulling, MirrorPanes::Only, nullptr);
    } else {
        drawOpaquePass(nullptr, MirrorPanes::Include, nullptr);
    }
    mark("mirrors");
    glClearStencil(0);
    glDisable(GL_STENCIL_TEST);

    if (!editorOpen && drainEnergy(gameSettings, energy, frameTime)) {
        updateLasers(level);
    }
    if (latchGameOver(energy, gameOver) && userInterface) {
        // A level solved before the energy ran out says so and offers the next one.
        if (levelSolved) {
            userInterface->showMessage("OUT OF ENERGY", 0,
                                       whatNextAfterASolve("RESTART THE LEVEL"));
        } else {
            userInterface->showMessage("GAME OVER", 0,
                                       keyHint(Command::Restart, "RESTART THE LEVEL", keyBindings));
        }
        GameSettings powerOff = gameSettings;
        powerOff.laserPower = false; // goes off in the next frame
        showSwitch(Command::LaserPower, powerOff);
    }
    mark("lasers");
    orderTransparentForView();
    drawTransparentPass(true);

    glUseProgram(0);
    glActiveTexture(GL_TEXTURE0);
    drawBeamGuides(level);
    drawCarryAids(level);
    drawHintSpot();
    glDisable(GL_SCISSOR_TEST);
    if (userInterface) {
        userInterface->setEnergy(static_cast<float>(energy / ENERGY_CAPACITY));
        userInterface->setFramesPerSecond(static_cast<int>(framesPerSecond));
        userInterface->setLaserCount(static_cast<int>(level.getLaserBeams().size()));
        // While the light runs, the field says where the selected element sends it.
        auto* element = selectionActive ? dynamic_cast<ActiveObject*>(selectedElement) : nullptr;
        userInterface->setReadout(editorOpen ? editorReadout()
                                  : element != nullptr && gameSettings.laserPower
                                      ? whereTheLightGoes(level, *element)
                                      : "");
    }
    mark("transparent");
    if (userInterface) {
        updateColourLabels();
        userInterface->updateAndDraw();
    }
    mark("interface");
    followSounds(windowTime());
    stats.endFrame(windowTime());
    if (stats.enabled()) {
        recordFrameState(stats);
    }
    // With a screenshot file but no frame count, every frame is saved (the last one stays).
    if (!stats.screenshotPath().empty() && (stats.done() || !stats.enabled())) {
        saveScreenshot(stats.screenshotPath(), gameSettings.screenWidth, gameSettings.screenHeight);
    }
    windowSwapBuffers();
}

} // namespace

bool startGame(bool titleFirst) {
    renderOptions = RenderOptions::fromEnvironment();
    viewMatrix = Matrix::identity();
    progress.load(Progress::defaultPath(std::getenv("XDG_DATA_HOME"), std::getenv("HOME")),
                  std::cout);
    parTable.load(ParTable::FILE_NAME, std::cout);
    setTitleFirst(titleFirst);
    if (titleFirst) {
        levelFileName = titleLevel();
    }
    if (!enterLevel(levelFileName, std::cout)) {
        return false;
    }
    Level& level = *currentLevel;
    initDisplay();
    cameraStorage = std::make_unique<Camera>();
    camera = cameraStorage.get();
    sceneObjects = level.getObjects();
    applyMirrorLimits();
    if (windowIsOpen()) { // the interface needs the window's OpenGL context
        createUserInterface();
    }
    initMusic();
    followMusicVolume();
    if (!gameSettings.music && isMusicPlaying()) {
        toggleMusic(); // the player's settings start the game quiet
    }
    showSwitch(Command::Music, gameSettings); // the interface was made before the music started
    initSounds();
    soundsEnterLevel();

    std::cout << std::endl << HYPHENS << std::endl;
    const double before = windowTime();
    updateLasers(level);
    orderTransparentForView();
    const double took = windowTime() - before;
    std::cout << "\n\n\n"
              << HYPHENS << "\n"
              << took << "\n\n"
              << HYPHENS << "\n"
              << HYPHENS << "\n\n\n"
              << std::flush;

    sceneObjects = level.getObjects();
    lastFrameTime = windowTime();
    windowSetTitle("Beamworks");
    if (titleFirst && userInterface) {
        openMenu(MenuScreen::Title);
    } else {
        showLevelStart();
    }
    return true;
}

void refreshShownLevel() {
    invalidateShadowMap();
    applyMirrorLimits();
    updateLasers(*currentLevel);
    orderTransparentForView();
}

void playLevel(const std::string& file) {
    pendingLoad = PendingLoad{file, false};
}

void playThroughCommand(Command command) {
    const auto neighbour = [](int step, const char* end, const char* none) {
        const std::string file = neighbourLevel(levelFileName, step, levelFileExists);
        if (file.empty()) {
            std::cout << "\n" << none << std::endl;
            if (userInterface) {
                userInterface->flashMessage(end);
            }
        } else {
            pendingLoad = PendingLoad{file, false};
        }
    };
    switch (command) {
    case Command::NextLevel:
        neighbour(1, "LAST LEVEL", "No next level");
        break;
    case Command::PreviousLevel:
        neighbour(-1, "FIRST LEVEL", "No previous level");
        break;
    case Command::Restart:
        pendingLoad = PendingLoad{levelFileName, true};
        break;
    case Command::Undo:
    case Command::Redo: {
        const bool undo = command == Command::Undo;
        // A carry in progress ends where it is taken back (the holder would follow the mouse
        // away again).
        doubleClicked = false;
        if (undo ? undoHistory.undo() : undoHistory.redo()) {
            std::cout << "\n"
                      << (undo ? "Undo: " : "Redo: ")
                      << (undo ? undoHistory.undoCount() : undoHistory.redoCount()) << " left"
                      << std::endl;
            playCue(undo ? Cue::Undo : Cue::Redo);
            settleSounds(); // the elements are back at once: no ticks for it
            // The beams and doors follow the restored elements at once.
            updateLasers(*currentLevel);
            orderTransparentForView();
        } else {
            std::cout << "\n" << (undo ? "Nothing to undo" : "Nothing to redo") << std::endl;
        }
        break;
    }
    case Command::Hint:
        requestHint();
        break;
    default:
        break;
    }
}

namespace {

// Gives the pages of the heap that the old level or context left free back to the system. The
// heap is only ever shortened from its top, so without this the holes that a level load or a
// display switch leaves would stay resident, and the game would seem to grow as it is played.
void releaseFreedMemory() {
#ifdef __GLIBC__
    malloc_trim(0);
#endif
}

} // namespace

void runFrameLoop() {
    FrameStats stats = FrameStats::fromEnvironment();
    double interval = FRAME_INTERVAL;
    while (gameSettings.running && windowIsOpen()) {
        const double wait = interval - (windowTime() - lastFrameTime);
        if (reinitialising || wait >= 0) {
            // Sleep most of the wait; the frame starts once more than the interval has passed.
            std::this_thread::sleep_for(
                std::chrono::duration<double>(wait > 0.002 ? wait - 0.001 : 0.0002));
            continue;
        }
        const double began = windowTime();
        runFrame(stats);
        // While a hint is looked for, the frames leave its search a share of the processor: it
        // runs at the lowest priority, and drawing in software takes every core.
        interval = hintSearching()
                       ? std::max(FRAME_INTERVAL, HINT_FRAME_STRETCH * (windowTime() - began))
                       : FRAME_INTERVAL;
        const bool switched = runPendingDisplaySwitch();
        if (runPendingLevelLoad() || switched) {
            releaseFreedMemory();
        }
        if (stats.done()) {
            stats.print(std::cout);
            std::cout << "Shadow map passes: " << shadowMapPasses() << std::endl;
            gameSettings.running = false;
        }
    }
}

void shutdownGame() {
    cancelHint();
    shutDownEditor(); // its judge's thread ends before the models go
    shutdownSounds();
    shutdownMusic();
    userInterface.reset();
    windowTerminate();
}
