#pragma once
// The player's hold on the scene: the selected element, the camera's view changes and the
// element manipulation rules, as plain functions over matrices and scene objects (no window).
// Rates are scaled by k = frame time / 0.033 s, one unit per frame at about 30 frames a second.

#include "core/Matrix.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class ActiveObject;
class Light;
class Renderable;

/// Frame time that one unit of motion stands for.
constexpr double MOTION_FRAME_TIME = 0.033;
/// Two left presses closer than this make a double click.
constexpr double DOUBLE_CLICK_TIME = 0.3;

extern Renderable* selectedElement; ///< the selected element, or null
extern bool selectionActive;
/// Where a hint says to carry a holder: a spot on a surface, marked until the level is left or
/// another hint comes.
struct HintSpot {
    bool shown = false;
    Point position{0, 0, 0, 1};
    Point normal{0, 1, 0, 0}; ///< the surface's outward unit normal
};
extern HintSpot hintSpot;
extern int lastWheel;        ///< mouse-wheel position of the previous frame
extern double lastClickTime; ///< time of the last accepted left press

/// The eye keeps at least this distance in world units from every wall's faces.
constexpr float CAMERA_WALL_DISTANCE = 10.0f;
/// The arrow keys' shift with Shift held, as a multiple of the plain one.
constexpr float FAST_SHIFT_FACTOR = 4.0f;
/// How far one notch of the mouse wheel moves the eye, in world units, at any frame rate.
constexpr float WHEEL_STEP = 25.0f;

/// The camera keys held in a frame.
struct CameraKeys {
    bool left = false, right = false;   ///< A, D
    bool down = false, up = false;      ///< E, Q (the world moves; E takes the eye down)
    bool forward = false, back = false; ///< W, S
};

/// The eye-space move of the world for a frame: 2 units per unit of k for each held key (A and
/// D, E and Q, W and S; the first of a pair wins), and, when neither W nor S is held, WHEEL_STEP
/// per wheel notch since the last frame, forward positive.
void cameraMove(const CameraKeys& keys, int wheelNotches, float k, float& tx, float& ty, float& tz);

/// Moves the view in eye space by (tx, ty, tz), then turns it about the eye's vertical axis by
/// yaw and about its horizontal axis by pitch (radians), then removes any roll. When the world's
/// up direction would point within 0.005 of horizontal or below (looking past straight up or
/// down), or the result is not finite, the whole change is dropped: returns false and leaves
/// the view as it was.
bool moveView(Matrix& view, float tx, float ty, float tz, float yaw, float pitch);

/// Shortens the eye-space move (tx, ty, tz) of moveView so that the eye stops CAMERA_WALL_DISTANCE
/// from the nearest wall face instead of coming closer or passing through. An eye that starts
/// closer than that may move anywhere that does not bring it closer still.
void limitCameraMove(const Matrix& view, float& tx, float& ty, float& tz,
                     const std::vector<ActiveObject*>& walls);

/// The smallest distance from p to a wall's faces (0 inside one), or 1e30 without walls.
float wallClearance(const Point& p, const std::vector<ActiveObject*>& walls);

/// The eye's position in world space.
Point eyePosition(const Matrix& view);

/// The viewer's horizontal forward and right directions in world space (unit length, y = 0, w
/// = 0): where the eye looks and its right hand, whatever its heading and tilt.
void viewerGroundAxes(const Matrix& view, Point& forward, Point& right);

/// The world move of an arrow-key shift by `distance`: up moves away from the viewer, down
/// towards, left and right to the viewer's sides, horizontally. Of down and up only the first
/// held acts, likewise of left and right; the two pairs add.
Point arrowShift(const Matrix& view, bool down, bool up, bool left, bool right, float distance);

enum class Command;
/// The turn a command gives the selected element, in radians: TurnRight and TurnLeft turn it 5
/// degrees about its vertical axis to the right and to the left (the way a drag to that side
/// turns it: the side nearest the viewer moves that way), TiltUp and TiltDown tilt its face 5
/// degrees up and down; `fine` (Shift held), 1 degree. False for any other command.
bool keyTurn(Command command, bool fine, float& yaw, float& tilt);

/// Where an element faces: its heading and tilt, in degrees.
struct Orientation {
    double heading = 0;
    double tilt = 0;
};

/// Where the element faces, each angle in (-180, 180]. An element in a holder reads the holder's
/// and the frame's own turns, relative to the surface the holder stands on (the holder's y axis: up
/// on the floor, a wall's normal, down on the ceiling): the heading is the holder's turn about that
/// axis, 0 where world -z runs along the surface (on a wall facing along z, where world up does),
/// growing as TurnRight turns it; the tilt is the frame's turn of the face out of the surface's
/// plane, positive away from the surface. Both go all the way round without a jump. Any other
/// element (a lamp) reads its face direction in the world: the heading about the vertical (0 along
/// -z), the tilt above the horizontal.
Orientation orientationOf(Renderable& element);
/// Turns the element until orientationOf reads `target`: in a holder by the holder's and the
/// frame's own turns; a lamp is turned as a whole (its roll goes, and its tilt stops a degree
/// short of straight up or down, where its heading would be lost).
void turnTo(Renderable& element, const Orientation& target);
/// Turns the element by yaw and tilt (radians) on the two turns orientationOf reads: the key
/// turns.
void turnBy(Renderable& element, float yaw, float tilt);

class UndoHistory;
/// A key turn of the selected element by yaw and tilt (radians, turnBy), as one step of
/// `history`: part of the carry while one is on, else of the run of key turns. Returns the
/// readout (headingText), or "" without a selection.
std::string keyTurnSelected(Renderable* selected, float yaw, float tilt, bool carrying,
                            UndoHistory& history);

/// The step, in degrees, that a drag with Ctrl held snaps the heading and the tilt to.
constexpr double SNAP_DEGREES = 15.0;

/// A drag's turn of an element: a drag across the whole screen turns it by a quarter (sideways
/// the heading, up and down the tilt). The turn adds up from where the element faced when the
/// drag began; snapped, the element shows the nearest whole multiples of SNAP_DEGREES while the
/// turn goes on adding up underneath, so it jumps from one multiple to the next.
class DragTurn {
  public:
    /// The element must outlive the drag.
    explicit DragTurn(Renderable& element) : element_(&element), turned_(orientationOf(element)) {}
    Renderable* element() const { return element_; }
    /// Adds a drag step (dx, dy: fractions of the screen's width and height) and turns the
    /// element to it; returns the readout (headingText).
    std::string step(float dx, float dy, bool snap);

  private:
    Renderable* element_;
    Orientation turned_; ///< unsnapped, and not wrapped into (-180, 180]
};

/// orientationOf in whole degrees (-180 shows as 180).
void headingAndTilt(Renderable& element, int& heading, int& tilt);
/// "HEADING 45 TILT -15".
std::string headingText(int heading, int tilt);
/// headingText of the element.
std::string headingText(Renderable& element);

/// The local matrices of a holder group (its root and everything under it) and the light views
/// of its lamps, exactly as they were: what a manipulation can change.
struct GroupPose {
    std::vector<std::pair<Renderable*, Matrix>> locals;
    std::vector<std::pair<Light*, Matrix>> lightViews;

    bool isFinite() const;
    bool operator==(const GroupPose& o) const {
        return locals == o.locals && lightViews == o.lightViews;
    }
};
GroupPose captureGroupPose(Renderable* element);
/// Puts every matrix of the pose back (the objects must still exist).
void restoreGroupPose(const GroupPose& pose);

/// Applies a manipulation to `element`'s holder group and keeps it only when every matrix it
/// leaves is finite; otherwise the group is put back as it was. Returns whether it was kept.
template <class Manipulation> bool manipulateFinitely(Renderable* element, Manipulation apply) {
    const GroupPose before = captureGroupPose(element);
    apply();
    if (captureGroupPose(element).isFinite()) {
        return true;
    }
    restoreGroupPose(before);
    return false;
}

/// What a left press does, given the time since the last accepted one.
struct LeftPress {
    bool single;      ///< accepted as a single click ("---klick---")
    bool pick;        ///< ... and not blocked: pick anew ("---- 2 ----")
    bool doubleClick; ///< a second press within DOUBLE_CLICK_TIME
};
LeftPress classifyLeftPress(double now, double lastClick, bool placementBlocked);

/// From the hit records of a picking pass (name count, minimum depth, maximum depth, names...),
/// the last name of the record with the smallest minimum depth (0 when there is none).
unsigned int chooseHit(int hitCount, const std::vector<std::uint32_t>& buffer);

/// The element a click on `object` selects: the element in a holder's frame, the element in a
/// frame, or the object itself.
Renderable* selectionFor(Renderable* object);

/// Selects `element` (outlined, the one the keys turn) in place of the selection before, and ends
/// any carry: what a hint and the Tab key do.
void selectElement(Renderable* element);

/// The element the Tab key selects after `current` (step 1) or Shift+Tab before it (step -1):
/// the level's mirrors, half mirrors and filters in file order, round and round; from nothing
/// (or anything else), the first or the last. Null in a level without them.
Renderable* steppedSelection(const std::vector<ActiveObject*>& activeObjects,
                             const Renderable* current, int step);

/// The root of an object's holder group (follows the parents up).
Renderable* groupRoot(Renderable* object);

/// Stands the root 20 units off a wall at the hit point h with the wall's unit normal n: its
/// transform is reset (scale kept), it is moved there, its y axis turned along n, and it keeps
/// the heading that `oldWorld` (its world matrix before) had.
void placeOnWall(Renderable& root, const Matrix& oldWorld, const Point& h, const Point& n);
