#include "rules/SoundCues.h"

#include "elements/Goal.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double DEGREES_PER_RADIAN = 57.29577951308232;

/// The angle, in degrees, of the turn that takes orientation a to b (their scales left aside).
double turnBetween(const Matrix& a, const Matrix& b) {
    double trace = 0;
    for (int axis = 0; axis < 3; ++axis) {
        const float* u = &a.m[4 * axis];
        const float* v = &b.m[4 * axis];
        const double lu =
            std::sqrt(double(u[0]) * u[0] + double(u[1]) * u[1] + double(u[2]) * u[2]);
        const double lv =
            std::sqrt(double(v[0]) * v[0] + double(v[1]) * v[1] + double(v[2]) * v[2]);
        if (lu == 0 || lv == 0) {
            return 0;
        }
        trace += (double(u[0]) * v[0] + double(u[1]) * v[1] + double(u[2]) * v[2]) / (lu * lv);
    }
    const double angle = clampedAcos((trace - 1) / 2) * DEGREES_PER_RADIAN;
    return std::isfinite(angle) ? angle : 0;
}

} // namespace

float panOf(const Matrix& view, const Point& world) {
    Point eye = world;
    eye[3] = 1;
    transformPoint(view, eye);
    const double across = eye[0], depth = eye[2];
    const double distance = std::hypot(across, depth);
    if (!(distance > 1e-6)) {
        return 0; // at the eye, or not a place at all
    }
    return static_cast<float>(std::clamp(across / distance, -1.0, 1.0));
}

std::vector<CuePlay> SoundCues::follow(const SoundFrame& frame) {
    std::vector<CuePlay> cues;
    const bool sameLevel = started_ && frame.level == last_.level;
    if (sameLevel) {
        const SoundFrame& was = last_;
        if (frame.power != was.power && !(frame.gameOver && !frame.power)) {
            cues.push_back({frame.power ? Cue::PowerOn : Cue::PowerOff});
        }
        const bool solvedNow = frame.solved && !was.solved;
        if (frame.goals.size() == was.goals.size()) {
            for (std::size_t i = 0; i < frame.goals.size(); ++i) {
                const GoalSound &goal = frame.goals[i], &before = was.goals[i];
                if (goal.door != before.door &&
                    (goal.door == DOOR_OPENING || goal.door == DOOR_CLOSING)) {
                    cues.push_back({goal.door == DOOR_OPENING ? Cue::DoorOpening : Cue::DoorClosing,
                                    goal.pan});
                }
                // The solve has a sound of its own for its last goal.
                if (goal.satisfied && !before.satisfied && !solvedNow) {
                    cues.push_back({Cue::GoalSatisfied, goal.pan});
                }
            }
        }
        if (solvedNow) {
            cues.push_back({Cue::LevelSolved});
        }
        if (frame.gameOver && !was.gameOver) {
            cues.push_back({Cue::EnergyGone});
        } else if (frame.energy <= ENERGY_LOW_SECONDS && was.energy > ENERGY_LOW_SECONDS) {
            cues.push_back({Cue::EnergyLow});
        }
        if (frame.carrying != was.carrying) {
            cues.push_back({frame.carrying ? Cue::PickUp : Cue::PutDown, frame.selectedPan});
        }
    }
    if (!sameLevel || settle_ || frame.selected == nullptr || frame.selected != last_.selected) {
        turned_ = 0;
    } else {
        turned_ += turnBetween(last_.orientation, frame.orientation);
        if (turned_ >= TICK_DEGREES) {
            // A drag faster than the ticks can follow drops the ones it has no room for.
            if (frame.time - lastTick_ >= TICK_INTERVAL) {
                cues.push_back({Cue::Tick, frame.selectedPan});
                lastTick_ = frame.time;
            }
            turned_ = std::fmod(turned_, TICK_DEGREES);
        }
    }
    settle_ = false;
    started_ = true;
    last_ = frame;
    return cues;
}
