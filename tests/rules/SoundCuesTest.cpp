#include "rules/SoundCues.h"
#include "elements/Goal.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

constexpr float DEG = 3.14159265f / 180;

using Cues = std::vector<CuePlay>;

/// A level with two goals, the power off and full energy, at time t.
SoundFrame quiet(double t = 0) {
    SoundFrame f;
    f.time = t;
    f.energy = 300;
    f.goals = {{DOOR_CLOSED, false, -0.5f}, {DOOR_CLOSED, false, 0.5f}};
    return f;
}

} // namespace

TEST(SoundCues, AGameIsHeardFrameByFrame) {
    struct Step {
        const char* what;
        void (*change)(SoundFrame&);
        Cues heard;
    };
    // clang-format off
    const Step steps[] = {
        {"the first frame is where things start", [](SoundFrame& f) { f.power = true; }, {}},
        {"nothing changes", [](SoundFrame&) {}, {}},
        {"power off", [](SoundFrame& f) { f.power = false; }, {{Cue::PowerOff}}},
        {"power on", [](SoundFrame& f) { f.power = true; }, {{Cue::PowerOn}}},
        {"a door starts to open where its goal is",
         [](SoundFrame& f) { f.goals[1] = {DOOR_OPENING, true, 0.5f}; },
         {{Cue::DoorOpening, 0.5f}, {Cue::GoalSatisfied, 0.5f}}},
        {"and opens on", [](SoundFrame& f) { f.goals[1].door = DOOR_OPEN; }, {}},
        {"the last goal solves the level: the solve is heard, not the goal",
         [](SoundFrame& f) { f.goals[0] = {DOOR_OPENING, true, -0.5f}; f.solved = true; },
         {{Cue::DoorOpening, -0.5f}, {Cue::LevelSolved}}},
        {"a door starts to close halfway",
         [](SoundFrame& f) { f.goals[0] = {DOOR_CLOSING, false, -0.5f}; f.solved = false; },
         {{Cue::DoorClosing, -0.5f}}},
        {"a holder is picked up", [](SoundFrame& f) { f.carrying = true; f.selectedPan = -0.25f; },
         {{Cue::PickUp, -0.25f}}},
        {"and set down", [](SoundFrame& f) { f.carrying = false; }, {{Cue::PutDown, -0.25f}}},
        {"30 s of energy left", [](SoundFrame& f) { f.energy = 30.004; }, {}},
        {"then less", [](SoundFrame& f) { f.energy = 29.994; }, {{Cue::EnergyLow}}},
        {"and less: once is enough", [](SoundFrame& f) { f.energy = 29; }, {}},
        {"more energy", [](SoundFrame& f) { f.energy = 40; }, {}},
        {"a hint's cost passes 30 s", [](SoundFrame& f) { f.energy = 20; }, {{Cue::EnergyLow}}},
        {"the energy runs out", [](SoundFrame& f) { f.energy = -0.005; f.gameOver = true; },
         {{Cue::EnergyGone}}},
        {"the power goes off with it", [](SoundFrame& f) { f.power = false; }, {}},
        {"another level, where everything starts again",
         [](SoundFrame& f) { f = quiet(f.time); f.level = 1; f.power = true; }, {}},
    };
    // clang-format on
    SoundCues cues;
    SoundFrame frame = quiet();
    for (const Step& step : steps) {
        frame.time += 0.01;
        step.change(frame);
        EXPECT_EQ(cues.follow(frame), step.heard) << step.what;
    }
}

TEST(SoundCues, ATurnTicksEveryFiveDegreesAtMostTwentyTimesASecond) {
    int element = 0, other = 0;
    // The ticks of a turn to `degrees` at time t, of `selected`.
    const auto ticks = [](SoundCues& cues, double t, float degrees, const void* selected) {
        SoundFrame f = quiet(t);
        f.selected = selected;
        matrixRotateY(f.orientation, degrees * DEG, 0);
        const Cues c = cues.follow(f);
        return std::count_if(c.begin(), c.end(),
                             [](const CuePlay& p) { return p.cue == Cue::Tick; });
    };
    struct Case {
        const char* what;
        double frameTime;
        float degreesEach; ///< each frame, alternately back and forth when `wobble`
        bool wobble;
        int frames;
        long low, high;
    };
    const Case cases[] = {
        {"slowly: 2 degrees a frame, 102 in all", 0.1, 2, false, 51, 20, 20},
        {"back and forth: the way is heard, not the place", 0.1, 3, true, 21, 12, 12},
        {"a fast drag: 10 degrees every 10 ms for a second", 0.01, 10, false, 100, 16, 20},
    };
    for (const Case& c : cases) {
        SoundCues cues;
        long heard = 0;
        for (int i = 0; i <= c.frames; ++i) {
            const float at = c.wobble ? float(i % 2) * c.degreesEach : float(i) * c.degreesEach;
            heard += ticks(cues, c.frameTime * i, at, &element);
        }
        EXPECT_GE(heard, c.low) << c.what;
        EXPECT_LE(heard, c.high) << c.what;
    }
    // Another element selected, or an orientation put back by an undo, is no turn.
    SoundCues jumps;
    ticks(jumps, 0, 0, &element);
    EXPECT_EQ(ticks(jumps, 1, 40, &other), 0);
    jumps.settle();
    EXPECT_EQ(ticks(jumps, 2, 120, &other), 0);
    EXPECT_EQ(ticks(jumps, 3, 126, &other), 1);
}

TEST(SoundCues, PanFollowsTheBearingFromTheView) {
    Matrix turnedLeft = Matrix::identity(); // what was ahead is now on the right
    matrixRotateY(turnedLeft, -90 * DEG, 0);
    const Matrix ahead = Matrix::identity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const struct {
        Matrix view;
        Point world;
        float pan;
    } cases[] = {{ahead, {0, 0, -10, 1}, 0},     {ahead, {10, 5, 0, 1}, 1},
                 {ahead, {-10, 0, 0, 1}, -1},    {ahead, {10, 0, 10, 1}, 0.7071f},
                 {ahead, {0, 30, 0, 1}, 0},      {ahead, {nan, 0, 0, 1}, 0},
                 {turnedLeft, {0, 0, -10, 1}, 1}};
    for (const auto& c : cases) {
        EXPECT_NEAR(panOf(c.view, c.world), c.pan, 1e-4) << c.world[0] << " " << c.world[2];
    }
}
