#include "rules/GameFlow.h"

#include "level/Level.h"
#include "rules/Interaction.h"
#include "rules/LevelPack.h"
#include "rules/Settings.h"
#include "rules/UndoHistory.h"

#include <fstream>
#include <memory>

Matrix levelStartView(const Level& level) {
    return Matrix::translation(level.cameraOffset[0], level.cameraOffset[1], level.cameraOffset[2]);
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

    // Nothing may point into the old level once it is gone.
    undoHistory.clear();
    selectedElement = nullptr;
    selectionActive = false;
    doubleClicked = false;
    warpPending = false;
    pickRequested = false;
    placementBlocked = false;
    sceneObjects.clear();
    transparentDrawList.clear();
    setCurrentLevel(std::move(level));

    levelFileName = fileName;
    startViewMatrix = levelStartView(*currentLevel);
    viewMatrix = startViewMatrix;
    energy = ENERGY_CAPACITY;
    levelSolved = false;
    gameOver = false;
    gameSettings.laserPower = false;
    sceneObjects = currentLevel->getObjects();
    out << "\nLevel: " << fileName << " - " << title << std::endl;
    return true;
}

GameKey gameKeyFor(int key, bool ctrl, bool shift) {
    switch (key) {
    case 'N':
    case GLFW_KEY_PAGEDOWN:
        return GameKey::NextLevel;
    case 'P':
    case GLFW_KEY_PAGEUP:
        return GameKey::PreviousLevel;
    case 'R':
        return GameKey::Restart;
    case 'H':
        return GameKey::Hint;
    case GLFW_KEY_BACKSPACE:
        return GameKey::Undo;
    case 'Z':
        return ctrl ? (shift ? GameKey::Redo : GameKey::Undo) : GameKey::None;
    case 'Y':
        return ctrl ? GameKey::Redo : GameKey::None;
    default:
        return GameKey::None;
    }
}
