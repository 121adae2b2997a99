#pragma once
// Carrying a holder with keys: a pointer on the window that the arrow keys move and that the
// carried holder follows over the floor, the walls and the ceiling, as it follows the mouse in a
// mouse carry; and what each key does in which state of a carry. No window: the frame and the
// key callback feed it.
//
// Pointer positions are window pixels, x to the right and y down from the top-left corner (as
// the mouse's). Times are seconds.

enum class Command;
class KeyBindings;

/// A press of an arrow key moves the pointer this far; Shift held (the Fine command), by
/// FAST_SHIFT_FACTOR times as far.
constexpr float CARRY_POINTER_STEP = 4.0f;
/// An arrow key held longer than CARRY_POINTER_HOLD glides the pointer at this speed (pixels per
/// second), likewise faster with Shift; a quick press only steps it.
constexpr float CARRY_POINTER_SPEED = 320.0f;
constexpr double CARRY_POINTER_HOLD = 0.25;
/// A longer frame glides the pointer only as far as a frame this long: a stall does not fling it.
constexpr double CARRY_POINTER_LONGEST_FRAME = 0.1;

/// The four ways the pointer goes; their keys are those of the element's shifts (ShiftAway,
/// ShiftNear, ShiftLeft, ShiftRight: the arrow keys).
enum class PointerWay { Up, Down, Left, Right };
constexpr int POINTER_WAYS = 4;

/// Where the pointer may go: x from left to right, y from top to bottom, both ends included.
struct PointerBounds {
    float left = 0, top = 0, right = 0, bottom = 0;
};

struct KeyCarry {
    bool active = false;       ///< the holder follows the pointer
    bool placePending = false; ///< the next frame puts the pointer where the holder's foot shows
    float x = 0, y = 0;        ///< the pointer
    /// How long each way's key has been held, as the frames saw it (PointerWay order).
    double heldFor[POINTER_WAYS] = {0, 0, 0, 0};
};

/// The carry by keys of the running game (the frame moves its pointer, the renderer draws it).
extern KeyCarry keyCarry;

/// Starts a carry by keys: active, the pointer to be placed by the next frame, nothing held.
void startKeyCarry(KeyCarry& carry);
/// Puts the pointer at (x, y), moved into the bounds.
void placePointer(KeyCarry& carry, float x, float y, const PointerBounds& bounds);
/// A press of a way's key: one step that way (`fast`: the larger one), kept in the bounds.
void stepPointer(KeyCarry& carry, PointerWay way, bool fast, const PointerBounds& bounds);
/// A frame of `frameTime` with the ways' keys held or not: each key held past CARRY_POINTER_HOLD
/// glides the pointer for the part of the frame beyond it; a key let go starts again from 0.
void glidePointer(KeyCarry& carry, const bool (&held)[POINTER_WAYS], bool fast, double frameTime,
                  const PointerBounds& bounds);

/// The way a key moves the pointer, by the shift commands' keys in `bindings`; false for
/// other keys.
bool pointerWayOf(int key, const KeyBindings& bindings, PointerWay& way);

/// What a key press does to a carry.
enum class CarryKeyAction {
    None,        ///< nothing: the key's command runs as ever
    Start,       ///< the carry key with an element selected: a carry by keys starts
    NoSelection, ///< the carry key without an element selected: say so
    SetDown,     ///< the carry ends; the holder stays where it is
    Refuse,      ///< the holder may not stand here: say why; the carry goes on
    Cancel,      ///< the carry ends; the holder goes back to where it started
    Step,        ///< an arrow key steps the pointer
};

/// Where the game stands when a key is pressed.
struct CarryState {
    bool selected = false;     ///< an element is selected
    bool carried = false;      ///< its holder is carried, by the mouse or by keys
    bool byKeys = false;       ///< ... by keys
    bool placeRefused = false; ///< the holder may not stand where it is now
};

/// What a press of `key`, which runs `command`, does: the carry command (T) starts a carry of the
/// selected element's holder, and ends any carry as a click would (set down, or refused where it
/// may not stand). In a carry by keys, ENTER (either) ends it likewise, the quit command (ESC)
/// takes it back, and the arrow keys step the pointer; every other key does what it always does.
CarryKeyAction carryKeyAction(const CarryState& state, int key, Command command,
                              const KeyBindings& bindings);
