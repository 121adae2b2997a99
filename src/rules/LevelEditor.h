#pragma once
// The level editor's model, without a window: the level document and the edits on it, each one
// step of an unlimited undo history (a step keeps the whole document before and after, so undo
// gives back exactly the bytes there were).
//
// An edit is tried on a copy of the document, the copy is built into a level and checked, and it
// is kept only when the edited piece overlaps no other element (the placement rule of play,
// placementBlocker) and what stood inside the room stays inside it (the room: the box within the
// inner faces of the walls, as the room reach check finds it; a level without a closed room has
// no such limit). Elements are put down turned as a carry in play puts a holder down
// (placeOnWall), its y axis along the surface's normal, but standing on its foot as the pack's
// holders stand: its origin 140 units off the surface.

#include "level/Level.h"
#include "rules/LevelDocument.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

class LevelEditor {
  public:
    LevelEditor();

    /// Reads a level's text; false (with a one-line reason), keeping the level open before, when
    /// the level reader would stop before the end (a byte 0xFF where a directive could start, a
    /// directive cut off by the end of the text). A level without a room opens. Clears the
    /// history.
    bool open(const std::string& text, std::string* error = nullptr);
    /// A new level: an empty closed room (floor, ceiling, four walls) `width` x `height` x
    /// `depth` world units (inside), the floor's top at y = -140, a lamp under the ceiling and a
    /// laser emitter on the floor near the front wall, a start view from above the back wall
    /// towards it, and a
    /// title line. Sizes below 400 are taken as 400. Clears the history.
    void createRoom(double width, double height, double depth);
    /// The level text, as the loader reads it; a file opened and written unchanged is the same
    /// bytes, and an edited piece keeps the comments around it.
    std::string text() const;
    /// The level built from text() (a fresh Level each call, for drawing and checks).
    std::unique_ptr<Level> build() const;

    int count() const;
    const Piece& piece(int i) const;
    const LevelDocument& document() const { return states_[current_].document; }
    /// Index in the built level's activeObjects of piece i's object: a holder's element (mirror,
    /// half mirror, filter), otherwise the object the @ line made (the goal's ball); -1 for the
    /// camera, a lamp, anything else and an index out of range.
    int activeIndexOf(int piece) const;
    /// The piece an active object belongs to (a holder, frame and element all give the holder's
    /// piece, the goal's body its goal), -1 for none.
    int pieceOfActive(int activeIndex) const;

    std::string title() const;        ///< the title line's text
    std::string introduction() const; ///< the "Teaches: ..." paragraph on one line, "" for none
    /// Why the last refused edit was refused ("too close to the mirror", "outside the room").
    const std::string& refusal() const { return refusal_; }

    // Every edit below is one step of the undo history, and changes nothing and returns
    // false / -1 when refused: the result would overlap another element (the placement rule),
    // leave the room, or make no sense (colour of a mirror, scale of a mirror, delete the emitter).
    // refusal() then says why. An edit that leaves the text as it was (a move that snaps back
    // to where the piece stands) succeeds without a step.
    /// The title line: `@`, `#` and `+` become words, line breaks blanks; refused when empty.
    bool setTitle(const std::string& title);
    /// The introduction paragraph after the title, "Teaches: " put in front when the text does
    /// not start with it, wrapped; "" removes it.
    bool setIntroduction(const std::string& text);
    /// The piece's name on its @ line (`@`, `#` and `+` become words); the line's keyword and
    /// what follows the line stay.
    bool rename(int piece, const std::string& name);
    /// The start view: the eye (whole units: the reader truncates them) and its pitch and yaw in
    /// degrees (as the camera's lines say). Refused for a pitch at or past the vertical.
    bool setStartView(const double eye[3], double pitchDegrees, double yawDegrees);
    /// Places a new element of `kind` (Emitter, Mirror, HalfMirror, Filter, Collector, Wall
    /// block, Goal, Lamp) standing on the surface at `point` with outward unit `normal` (the
    /// floor, a wall, the ceiling, a block's top), its position across the surface snapped to
    /// the grid when snapping is on. A level has one emitter, first in the file. Returns the new
    /// piece's index.
    int place(PieceKind kind, const double point[3], const double normal[3]);
    /// Moves by `delta` (x, y, z in world units); with snapping on, every coordinate that moves
    /// ends on the grid.
    bool move(int piece, const double delta[3]);
    /// About the object's own y axis (a holder's heading); not walls (blocks stand square) nor
    /// lamps (the light's view follows turns about one axis only).
    bool turn(int piece, double degrees);
    bool tilt(int piece, double degrees); ///< the frame's tilt (mirrors, half mirrors, filters)
    bool stepColour(int piece);           ///< filters and goals: 1..7 and round
    /// Wall blocks and the room's walls: the slab's own x, y, z scaled by positive factors.
    bool scale(int piece, const double factors[3]);
    /// A copy beside it, the nearest free place whole grid steps away along x or z; its index.
    int duplicate(int piece);
    bool remove(int piece);
    bool undo();
    bool redo();
    bool canUndo() const;
    bool canRedo() const;
    /// Whether anything changed since open/createRoom or the last markSaved (an undo back to the
    /// saved state counts as unchanged).
    bool modified() const;
    void markSaved();

    double grid = 25; ///< snapping step, world units
    bool snapping = true;

  private:
    struct State {
        LevelDocument document;
        long serial = 0;
    };
    /// Keeps `document` as the next step when `check` (the piece edited, -1 for none) passes.
    bool commit(LevelDocument document, int check);
    void reset(LevelDocument document);
    /// What the checks need of the built level of the state shown, kept until it changes: each
    /// piece's [begin, end) in activeObjects, and whether it stands inside the room.
    struct Shape {
        std::vector<std::pair<int, int>> active;
        std::vector<char> inside;
    };
    const Shape& shape() const;

    std::vector<State> states_;
    std::size_t current_ = 0;
    long nextSerial_ = 1;
    long savedSerial_ = 0;
    std::string refusal_;
    mutable Shape shape_;
    mutable long shapeSerial_ = -1;
};

/// Writes `text` to `path` whole: to a temporary file beside it, then renamed over it. False on
/// failure, with the file left as it was.
bool writeFileWhole(const std::string& path, const std::string& text);
