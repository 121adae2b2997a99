#pragma once
// A level: the scene built from a level file, kept in typed lists that the laser simulation, the
// drawing passes, picking and the game rules iterate.
//
// Ownership: the level owns every object it built and every laser segment made with
// newLaserBeam; all lists hold non-owning pointers. Objects live as long as the level; segments
// until the level destroys them (clearLaserBeams) or is itself destroyed.

#include "elements/Light.h"
#include "laser/LaserBeam.h"
#include "laser/TransparentSet.h"

#include <array>
#include <istream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class ActiveObject;
class ColorFilter;
class FinshHead;

class Level {
  public:
    /// An empty level.
    Level();
    /// Reads the level file. A file that cannot be opened prints "Cannot open level file: "
    /// and the name, and leaves the level empty with isLoaded() false.
    explicit Level(const std::string& fileName);
    ~Level();
    Level(const Level&) = delete;
    Level& operator=(const Level&) = delete;

    /// Builds the objects a level text describes, adding to what the level holds.
    void read(std::istream& in);
    /// Takes ownership of an object without registering it (a part that its parent registers).
    template <class T> T* keep(std::unique_ptr<T> object) {
        T* raw = object.get();
        owned_.push_back(std::move(object));
        return raw;
    }
    /// Takes ownership of an object and registers it with its subtree.
    template <class T> T* adopt(std::unique_ptr<T> object) {
        T* raw = keep(std::move(object));
        addObject(raw);
        return raw;
    }

    /// Registers an object and, first, its whole subtree (children before their parent). A
    /// laser segment goes to laserBeams and the transparent set. Registering does not take
    /// ownership (see keep, adopt and newLaserBeam).
    void addObject(Renderable* object);
    /// A new laser segment owned by the level until the next clearLaserBeams; it is registered
    /// only when traced. Arguments as for the LaserBeam constructors.
    template <class... Args> LaserBeam* newLaserBeam(Args&&... args) {
        ownedBeams_.push_back(std::make_unique<LaserBeam>(std::forward<Args>(args)...));
        return ownedBeams_.back().get();
    }
    /// Removes the registered segments from objects (they sit at its end), empties laserBeams
    /// and destroys every segment the level made.
    void clearLaserBeams();

    bool isLoaded() const { return loaded_; }

    std::vector<ActiveObject*> getActiveObjects() const { return activeObjects; }
    std::vector<Renderable*> getObjects() const { return objects; }
    std::vector<LaserBeam*> getLaserBeams() const { return laserBeams; }
    std::vector<ActiveObject*> getWalls() const { return walls; }
    std::vector<Light*> getLights() const { return lights; }

    std::vector<ActiveObject*> activeObjects; ///< every element, composite parts included
    std::vector<Renderable*> objects;         ///< everything, children before their parent
    std::vector<LaserBeam*> laserBeams;       ///< segments of the last laser update
    std::vector<ActiveObject*> walls;
    std::vector<ColorFilter*> colorFilters;
    std::vector<FinshHead*> goals;
    std::vector<Light*> lights; ///< in file order
    std::unique_ptr<TransparentSet> transparentSet;
    /// The negated, truncated viewer position; the view starts translated by it.
    std::array<float, 3> cameraOffset{0, 0, 0};
    /// The start view's turns in degrees, from the camera's `XRo` and `YRo`: pitch (negative
    /// looks down), then yaw about the vertical (positive turns the view to the left).
    float cameraPitch = 0;
    float cameraYaw = 0;

  private:
    std::vector<std::unique_ptr<Renderable>> owned_;
    std::vector<std::unique_ptr<LaserBeam>> ownedBeams_;
    bool loaded_ = true;
};

/// The comment text before a level's first directive (or the whole text when there is none), as
/// written: what the level says of itself.
std::string readLeadingComment(std::istream& in);

/// Whether the object is one of the elements a player must see at the start: an emitter, mirror,
/// half mirror, filter, collector or goal; not a wall, lamp or a part of a composite element
/// (holder, frame, goal body).
bool isPuzzleElement(const Renderable* object);

/// The level in use; null until loadLevel.
extern Level* currentLevel;

/// Creates the level from the file and makes it current, replacing (and destroying) the level
/// loaded before. Returns false, after the console line, when the file cannot be opened.
bool loadLevel(const std::string& fileName);
/// Makes `level` current, destroying the level loaded before (and every object it owned).
void setCurrentLevel(std::unique_ptr<Level> level);
