#include "rules/GameFlow.h"

#include "level/Level.h"
#include "rules/Interaction.h"
#include "rules/LevelPack.h"
#include "rules/Settings.h"
#include "rules/UndoHistory.h"

#include <fstream>
#include <memory>

Matrix levelStartView(const Level& level, bool* levelled) {
    Matrix view =
        Matrix::translation(level.cameraOffset[0], level.cameraOffset[1], level.cameraOffset[2]);
    // The file's turns follow the objects' sense (yaw to the left, pitch up); moveView's are the
    // other way round.
    const auto radians = [](float degrees) { return static_cast<float>(degrees / 180.0 * PI); };
    const float yaw = -radians(level.cameraYaw), pitch = -radians(level.cameraPitch);
    const bool turned = moveView(view, 0, 0, 0, yaw, pitch);
    if (!turned) {
        moveView(view, 0, 0, 0, yaw, 0);
    }
    if (levelled) {
        *levelled = !turned;
    }
    return view;
}

bool enterLevel(const std::string& fileName, std::ostream& out) {
    auto level = std::make_unique<Level>(fileName);
    if (!level->isLoaded()) {
        return false;
    }
    if (level->activeObjects.empty()) {
        // An empty file, a folder: nothing to play.
        out << "Level file " << fileName << " holds no elements" << std::endl;
        return false;
    }
    std::ifstream file(fileName, std::ios::binary);
    const std::string title = levelTitle(readLeadingComment(file), fileName);
    adoptLevel(std::move(level));
    levelFileName = fileName;
    bool levelled = false;
    startViewMatrix = levelStartView(*currentLevel, &levelled);
    viewMatrix = startViewMatrix;
    energy = ENERGY_CAPACITY;
    levelSolved = false;
    gameOver = false;
    gameSettings.laserPower = false;
    out << "\nLevel: " << fileName << " - " << title << std::endl;
    if (levelled) {
        out << "Start view of " << fileName
            << " refused: it would look past the vertical; the view starts level" << std::endl;
    }
    return true;
}

void adoptLevel(std::unique_ptr<Level> level) {
    // Nothing may point into the old level once it is gone.
    undoHistory.clear();
    selectedElement = nullptr;
    selectionActive = false;
    doubleClicked = false;
    hintSpot = HintSpot{};
    warpPending = false;
    pickRequested = false;
    placementBlocked = false;
    sceneObjects.clear();
    transparentDrawList.clear();
    setCurrentLevel(std::move(level));
    sceneObjects = currentLevel->getObjects();
}
