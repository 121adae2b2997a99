// Carrying a holder with keys: what each key does in each state of a carry, and the pointer.

#include "rules/KeyCarry.h"
#include "rules/CommandTable.h"

#include <gtest/gtest.h>

#include <tuple>

TEST(KeyCarry, EachKeyDoesWhatTheStateOfTheCarryAsks) {
    using A = CarryKeyAction;
    // Selected, carried, by keys, refused where it is.
    const CarryState idle{true, false, false, false}, mouse{true, true, false, true};
    const CarryState keys{true, true, true, false}, refused{true, true, true, true};
    KeyBindings bindings;
    for (const auto& [state, key, command, expected] :
         std::vector<std::tuple<CarryState, int, Command, A>>{
             {idle, 'T', Command::Carry, A::Start},
             {{}, 'T', Command::Carry, A::NoSelection},
             {idle, GLFW_KEY_UP, Command::None, A::None},   // the arrows shift the element
             {mouse, 'T', Command::Carry, A::Refuse},       // as a click would
             {mouse, GLFW_KEY_ESC, Command::Quit, A::None}, // a mouse carry keeps its keys
             {keys, GLFW_KEY_ENTER, Command::Brightness, A::SetDown},
             {refused, GLFW_KEY_KP_ENTER, Command::None, A::Refuse},
             {refused, GLFW_KEY_ESC, Command::Quit, A::Cancel},
             {keys, GLFW_KEY_DOWN, Command::None, A::Step},
             {keys, '[', Command::TurnLeft, A::None}, // the turn keys turn it on the way
         }) {
        EXPECT_EQ(carryKeyAction(state, key, command, bindings), expected)
            << keyName(key) << " carried " << state.carried << " by keys " << state.byKeys;
    }
}

TEST(KeyCarry, PressesStepTheSameAtAnyFrameRateAndOnlyAHeldKeyGlides) {
    const PointerBounds bounds{0, 50, 799, 549};
    KeyCarry carry;
    startKeyCarry(carry);
    placePointer(carry, 400, 300, bounds);
    const bool right[POINTER_WAYS] = {false, false, false, true};
    // Quick presses, each seen held by one slow frame or none: steps only.
    for (int i = 0; i < 5; ++i) {
        stepPointer(carry, PointerWay::Right, false, bounds);
        glidePointer(carry, right, false, i % 2 ? 5.0 : 0.0, bounds);
    }
    EXPECT_FLOAT_EQ(carry.x, 400 + 5 * CARRY_POINTER_STEP);
    // Held half a second past the hold time, in short frames: it glides that half second.
    for (double held = 0; held < CARRY_POINTER_HOLD + 0.5 - 1e-9; held += 0.01) {
        glidePointer(carry, right, false, 0.01, bounds);
    }
    EXPECT_NEAR(carry.x, 420 + CARRY_POINTER_SPEED * 0.5, 0.5);
    // Held on, with Shift, through stalls: a stall does not fling it, and it stops at the edge.
    for (int i = 0; i < 10; ++i) {
        glidePointer(carry, right, true, 60.0, bounds);
        EXPECT_TRUE(i > 0 || carry.x < 799);
    }
    EXPECT_FLOAT_EQ(carry.x, 799);
    placePointer(carry, -40, 10, {0, 50, 799, 20}); // no room between the bars: the top edge
    EXPECT_EQ(std::make_pair(carry.x, carry.y), std::make_pair(0.0f, 50.0f));
}
