#include "rules/KeyCarry.h"

#include "rules/CommandTable.h"
#include "rules/Interaction.h"

#include <algorithm>

KeyCarry keyCarry;

namespace {

// The shift command whose keys move the pointer each way, in PointerWay order.
constexpr Command WAY_COMMANDS[POINTER_WAYS] = {Command::ShiftAway, Command::ShiftNear,
                                                Command::ShiftLeft, Command::ShiftRight};

// Moves the pointer into the bounds (to their left or top edge where they hold no pixel).
void keepInBounds(KeyCarry& carry, const PointerBounds& bounds) {
    carry.x = std::max(bounds.left, std::min(carry.x, bounds.right));
    carry.y = std::max(bounds.top, std::min(carry.y, bounds.bottom));
}

// Moves the pointer `distance` pixels the way, then into the bounds.
void movePointer(KeyCarry& carry, PointerWay way, float distance, const PointerBounds& bounds) {
    switch (way) {
    case PointerWay::Up:
        carry.y -= distance;
        break;
    case PointerWay::Down:
        carry.y += distance;
        break;
    case PointerWay::Left:
        carry.x -= distance;
        break;
    case PointerWay::Right:
        carry.x += distance;
        break;
    }
    keepInBounds(carry, bounds);
}

} // namespace

void startKeyCarry(KeyCarry& carry) {
    carry = KeyCarry{};
    carry.active = true;
    carry.placePending = true;
}

void placePointer(KeyCarry& carry, float x, float y, const PointerBounds& bounds) {
    carry.x = x;
    carry.y = y;
    keepInBounds(carry, bounds);
}

void stepPointer(KeyCarry& carry, PointerWay way, bool fast, const PointerBounds& bounds) {
    // A press starts the hold anew, even when no frame saw the key let go since the last one.
    carry.heldFor[static_cast<int>(way)] = 0;
    movePointer(carry, way, CARRY_POINTER_STEP * (fast ? FAST_SHIFT_FACTOR : 1.0f), bounds);
}

void glidePointer(KeyCarry& carry, const bool (&held)[POINTER_WAYS], bool fast, double frameTime,
                  const PointerBounds& bounds) {
    const double frame = std::clamp(frameTime, 0.0, CARRY_POINTER_LONGEST_FRAME);
    for (int w = 0; w < POINTER_WAYS; ++w) {
        double& heldFor = carry.heldFor[w];
        if (!held[w]) {
            heldFor = 0;
            continue;
        }
        const double before = heldFor;
        heldFor += frame;
        const double gliding = heldFor - std::max(before, CARRY_POINTER_HOLD);
        if (gliding > 0) {
            const float speed = CARRY_POINTER_SPEED * (fast ? FAST_SHIFT_FACTOR : 1.0f);
            movePointer(carry, static_cast<PointerWay>(w), static_cast<float>(speed * gliding),
                        bounds);
        }
    }
}

bool pointerWayOf(int key, const KeyBindings& bindings, PointerWay& way) {
    for (int w = 0; w < POINTER_WAYS; ++w) {
        for (const KeyChord& chord : bindings.keysOf(WAY_COMMANDS[w])) {
            if (chord.key != 0 && chord.key == key) {
                way = static_cast<PointerWay>(w);
                return true;
            }
        }
    }
    return false;
}

CarryKeyAction carryKeyAction(const CarryState& state, int key, Command command,
                              const KeyBindings& bindings) {
    if (!state.carried) {
        if (command != Command::Carry) {
            return CarryKeyAction::None;
        }
        return state.selected ? CarryKeyAction::Start : CarryKeyAction::NoSelection;
    }
    const CarryKeyAction end =
        state.placeRefused ? CarryKeyAction::Refuse : CarryKeyAction::SetDown;
    if (command == Command::Carry) {
        return end;
    }
    if (!state.byKeys) {
        return CarryKeyAction::None; // a mouse carry keeps its keys as they are
    }
    if (key == GLFW_KEY_ENTER || key == GLFW_KEY_KP_ENTER) {
        return end;
    }
    if (command == Command::Quit) {
        return CarryKeyAction::Cancel;
    }
    PointerWay way;
    return pointerWayOf(key, bindings, way) ? CarryKeyAction::Step : CarryKeyAction::None;
}
