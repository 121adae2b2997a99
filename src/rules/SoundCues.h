#pragma once
// Which sound the game plays when, without a window or an audio device: the sound effects by
// name and file, and a follower that compares each frame's state with the frame before and
// says which sounds it gives (the power switched, a door started to move, a goal was
// satisfied, the level solved, the energy ran low or out, a holder picked up or set down, an
// element turned by another 5 degrees). Sounds of an element are panned by where it stands in
// the view.

#include "core/Matrix.h"

#include <vector>

enum class Cue {
    PowerOn,
    PowerOff,
    Hum, ///< loops while the power is on
    DoorOpening,
    DoorClosing,
    GoalSatisfied,
    LevelSolved,
    EnergyLow,
    EnergyGone,
    Hint,
    Undo,
    Redo,
    PickUp,
    PutDown,
    Tick,
    Click,
};

constexpr int CUE_COUNT = static_cast<int>(Cue::Click) + 1;

/// The cue's sound file, below the game folder ("sounds/power-on.wav").
constexpr const char* cueFile(Cue cue) {
    switch (cue) {
    case Cue::PowerOn:
        return "sounds/power-on.wav";
    case Cue::PowerOff:
        return "sounds/power-off.wav";
    case Cue::Hum:
        return "sounds/hum.wav";
    case Cue::DoorOpening:
        return "sounds/door-open.wav";
    case Cue::DoorClosing:
        return "sounds/door-close.wav";
    case Cue::GoalSatisfied:
        return "sounds/goal.wav";
    case Cue::LevelSolved:
        return "sounds/solved.wav";
    case Cue::EnergyLow:
        return "sounds/energy-low.wav";
    case Cue::EnergyGone:
        return "sounds/energy-gone.wav";
    case Cue::Hint:
        return "sounds/hint.wav";
    case Cue::Undo:
        return "sounds/undo.wav";
    case Cue::Redo:
        return "sounds/redo.wav";
    case Cue::PickUp:
        return "sounds/pick-up.wav";
    case Cue::PutDown:
        return "sounds/put-down.wav";
    case Cue::Tick:
        return "sounds/tick.wav";
    case Cue::Click:
        return "sounds/click.wav";
    }
    return "";
}

/// Seconds of energy left when the low-energy warning sounds.
constexpr double ENERGY_LOW_SECONDS = 30.0;
/// Degrees of turning that one tick stands for.
constexpr double TICK_DEGREES = 5.0;
/// The shortest time between two ticks: a fast drag ticks 20 times a second, no more.
constexpr double TICK_INTERVAL = 0.05;

/// A sound to play now: pan -1 is far left, 0 straight ahead, 1 far right.
struct CuePlay {
    Cue cue;
    float pan = 0;
    bool operator==(const CuePlay& o) const { return cue == o.cue && pan == o.pan; }
};

/// Where a point of the world is heard from the view: -1 (to the left of the eye) to 1 (to its
/// right), by the sine of its bearing, so that a point ahead or behind is in the middle.
float panOf(const Matrix& view, const Point& world);

/// A goal as the frame sees it.
struct GoalSound {
    int door = 0; ///< the door's state (DOOR_CLOSED, DOOR_OPENING, ...)
    bool satisfied = false;
    float pan = 0;
};

/// What a frame shows of the game, as far as its sounds go.
struct SoundFrame {
    double time = 0; ///< seconds, on the game's clock
    /// Changes whenever a level is entered (again): the frame before it is another level's.
    int level = 0;
    bool power = false;
    bool solved = false;
    double energy = 0;
    bool gameOver = false;
    std::vector<GoalSound> goals;
    /// The selected element (compared only), or null; its orientation and pan.
    const void* selected = nullptr;
    Matrix orientation = Matrix::identity();
    float selectedPan = 0;
    bool carrying = false; ///< the selected holder follows the pointer
};

/// Follows the frames and says which sounds each one gives.
class SoundCues {
  public:
    /// The sounds of `frame`, compared with the frame before. The first frame, and the first
    /// of a level, give none: they are where things start.
    std::vector<CuePlay> follow(const SoundFrame& frame);
    /// The next frame's orientations are taken as they come, without ticks (an undo or redo put
    /// the element back at once, and says so with its own sound).
    void settle() { settle_ = true; }

  private:
    bool started_ = false;
    bool settle_ = false;
    SoundFrame last_;
    double turned_ = 0; ///< degrees turned since the last tick
    double lastTick_ = -1e9;
};
