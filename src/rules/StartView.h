#pragma once
// What the start view of a level shows: which of the elements a player must see (an emitter,
// mirror, half mirror, filter, collector or goal) lie wholly inside it. The level checker prints
// it and the editor's judge warns of it. Pure geometry: no OpenGL.

#include "core/Matrix.h"

#include <vector>

class ActiveObject;
class Level;

/// The window the start view is judged in, pixels.
constexpr double START_VIEW_WIDTH = 1024;
constexpr double START_VIEW_HEIGHT = 768;

struct ViewedElement {
    int index = -1;                  ///< in level.activeObjects
    ActiveObject* element = nullptr; ///< owned by the level
    Point eyeCentre{};               ///< its bounding centre in eye space (the eye looks along -z)
    bool inside = false;             ///< its whole bounding sphere lies inside the view frustum
};

/// The puzzle elements (isPuzzleElement) in the order of level.activeObjects, seen from the
/// level's start view (levelStartView) with the game's projection in a window of the given size.
std::vector<ViewedElement> startViewElements(Level& level, double width = START_VIEW_WIDTH,
                                             double height = START_VIEW_HEIGHT);
