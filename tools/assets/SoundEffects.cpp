#include "assets/SoundEffects.h"

#include "assets/MusicMp3.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>

namespace {

constexpr double PI = 3.14159265358979323846;
constexpr double RATE = EFFECT_SAMPLE_RATE;
/// Fade in and out at the ends of every sound but the loop.
constexpr double EDGE_FADE = 0.004;

double midiHz(double note) {
    return 440.0 * std::pow(2.0, (note - 69.0) / 12.0);
}

/// A sound being built: samples over a fixed length, voices added into it.
class Voices {
  public:
    explicit Voices(double seconds) : samples_(std::size_t(std::lround(seconds * RATE)), 0.0) {}
    std::size_t size() const { return samples_.size(); }
    std::vector<double>& samples() { return samples_; }

    /// Adds voice(t) from `start` seconds on for `length` seconds (cut at the end); voice is
    /// called for successive samples.
    template <typename Voice> void add(double start, double length, Voice&& voice) {
        const auto first = std::size_t(std::lround(start * RATE));
        const auto count = std::size_t(std::lround(length * RATE));
        for (std::size_t k = 0; k < count && first + k < samples_.size(); ++k) {
            samples_[first + k] += voice(double(k) / RATE);
        }
    }

  private:
    std::vector<double> samples_;
};

/// A sine whose frequency may change as it runs: hz(t) is read every sample.
struct Sweep {
    std::function<double(double)> hz;
    double phase = 0;
    double next(double t) {
        const double v = std::sin(2 * PI * phase);
        phase += hz(t) / RATE;
        phase -= std::floor(phase);
        return v;
    }
};

/// Reproducible white noise, -1..1.
class Noise {
  public:
    double next() {
        state_ = state_ * 1664525u + 1013904223u;
        return double(state_ >> 8) / double(1u << 23) - 1.0;
    }

  private:
    std::uint32_t state_ = 0x2545f491u;
};

/// A one-pole low pass; `cut` in Hz.
class LowPass {
  public:
    explicit LowPass(double cut) : a_(1.0 - std::exp(-2 * PI * cut / RATE)) {}
    double operator()(double x) { return y_ += a_ * (x - y_); }

  private:
    double a_, y_ = 0;
};

/// Rises over `attack` seconds, then decays by e every `decay` seconds.
double strike(double t, double attack, double decay) {
    return std::min(1.0, t / attack) * std::exp(-std::max(0.0, t - attack) / decay);
}

/// 0 to 1 along half a cosine over x in 0..1.
double rise(double x) {
    return x <= 0 ? 0 : x >= 1 ? 1 : 0.5 - 0.5 * std::cos(PI * x);
}

/// A struck bell: the note with a slightly sharp octave and a high partial that dies first.
void bell(Voices& v, double start, double note, double level, double decay) {
    const double hz = midiHz(note);
    v.add(start, decay * 5, [=](double t) {
        const double body = std::sin(2 * PI * hz * t) * strike(t, 0.003, decay);
        const double octave =
            0.35 * std::sin(2 * PI * hz * 2.003 * t) * strike(t, 0.003, decay / 2);
        const double shine = 0.18 * std::sin(2 * PI * hz * 3.76 * t) * strike(t, 0.002, decay / 5);
        return level * (body + octave + shine);
    });
}

/// A soft beep: a sine with a little of its third, shaped by a short rise and fall.
void beep(Voices& v, double start, double length, double hz, double level) {
    v.add(start, length, [=](double t) {
        const double shape = rise(t / 0.01) * (1 - rise((t - (length - 0.03)) / 0.03));
        return level * shape * (std::sin(2 * PI * hz * t) + 0.2 * std::sin(6 * PI * hz * t));
    });
}

/// A pitch glide from `from` to `to` Hz, exponential, with a body of two harmonics.
void glide(Voices& v, double start, double length, double from, double to, double level,
           double decay) {
    const auto hz = [=](double t) { return from * std::pow(to / from, std::min(1.0, t / length)); };
    Sweep sweep{hz}, octave{[=](double t) { return 2 * hz(t); }};
    v.add(start, length, [&](double t) {
        const double shape = strike(t, 0.008, decay) * (1 - rise((t - (length - 0.04)) / 0.04));
        return level * shape * (sweep.next(t) + 0.3 * octave.next(t));
    });
}

/// A door: a motor whose pitch runs from `from` to `to` Hz over a slide of filtered noise, and a
/// soft knock at its end.
void door(Voices& v, double length, double from, double to) {
    Sweep motor{[=](double t) { return from + (to - from) * rise(t / length); }};
    Noise noise;
    LowPass low(900.0);
    const double run = length - 0.12;
    v.add(0, run, [&](double t) {
        const double shape = rise(t / 0.06) * (1 - rise((t - (run - 0.1)) / 0.1));
        const double hum = motor.next(t);
        const double buzz = 3 * hum - 4 * hum * hum * hum; // its third harmonic: a motor's edge
        return shape * (0.5 * hum + 0.2 * buzz + 0.9 * low(noise.next()));
    });
    LowPass knock(400.0);
    v.add(run - 0.02, 0.14, [&](double t) {
        const double shape = strike(t, 0.002, 0.03);
        return shape * (0.9 * std::sin(2 * PI * 95 * t) + 1.5 * knock(noise.next()));
    });
}

/// The hum: a low chord of whole-numbered frequencies, so that each runs a whole number of
/// cycles in the loop's one second, with a slow shimmer that does too.
void hum(Voices& v) {
    v.add(0, 1.0, [](double t) {
        const double shimmer = 1 + 0.25 * std::sin(2 * PI * 2 * t);
        return std::sin(2 * PI * 110 * t) + 0.5 * shimmer * std::sin(2 * PI * 220 * t) +
               0.2 * std::sin(2 * PI * 330 * t + 1.0) + 0.12 * shimmer * std::sin(2 * PI * 165 * t);
    });
}

/// A short tick: a damped high ring and a touch of noise.
void tick(Voices& v, double hz, double decay) {
    Noise noise;
    v.add(0, 1, [&](double t) {
        return strike(t, 0.0008, decay) * (std::sin(2 * PI * hz * t) + 0.3 * noise.next());
    });
}

struct EffectRecipe {
    double seconds;
    double peak; ///< the loudest sample, of full scale
    bool loop;
    void (*build)(Voices&);
};

EffectRecipe recipe(Cue cue) {
    switch (cue) {
    case Cue::PowerOn:
        return {0.5, 0.5, false, [](Voices& v) {
                    glide(v, 0, 0.5, 180, 760, 1.0, 0.3);
                    tick(v, 2400, 0.01);
                }};
    case Cue::PowerOff:
        return {0.45, 0.45, false, [](Voices& v) { glide(v, 0, 0.45, 700, 140, 1.0, 0.2); }};
    case Cue::Hum:
        return {1.0, 0.08, true, hum};
    case Cue::DoorOpening:
        return {0.8, 0.4, false, [](Voices& v) { door(v, 0.8, 70, 130); }};
    case Cue::DoorClosing:
        return {0.8, 0.4, false, [](Voices& v) { door(v, 0.8, 130, 65); }};
    case Cue::GoalSatisfied:
        return {0.7, 0.4, false, [](Voices& v) {
                    bell(v, 0, 88, 0.8, 0.18);   // E6
                    bell(v, 0.09, 95, 0.7, 0.2); // B6
                }};
    case Cue::LevelSolved:
        return {1.8, 0.5, false, [](Voices& v) {
                    const double notes[] = {74, 78, 81, 86}; // D major, up to D6
                    for (int i = 0; i < 4; ++i) {
                        bell(v, 0.12 * i, notes[i], i == 3 ? 1.0 : 0.7, i == 3 ? 0.45 : 0.25);
                    }
                    bell(v, 0.36, 90, 0.35, 0.4); // F#6 over the last
                }};
    case Cue::EnergyLow:
        return {0.9, 0.32, false, [](Voices& v) {
                    for (int i = 0; i < 2; ++i) {
                        beep(v, 0.4 * i, 0.16, 880, 1.0);
                        beep(v, 0.4 * i + 0.18, 0.16, 660, 1.0);
                    }
                }};
    case Cue::EnergyGone:
        return {1.5, 0.5, false, [](Voices& v) {
                    const double notes[] = {69, 65, 62}; // A4 F4 D4, falling
                    for (int i = 0; i < 3; ++i) {
                        beep(v, 0.22 * i, i == 2 ? 0.8 : 0.2, midiHz(notes[i]), 1.0);
                    }
                    glide(v, 0.44, 1.0, midiHz(50), midiHz(43), 0.5, 0.5);
                }};
    case Cue::Hint:
        return {0.6, 0.35, false, [](Voices& v) {
                    bell(v, 0, 91, 0.6, 0.12);     // G6
                    bell(v, 0.07, 98, 0.5, 0.14);  // D7
                    bell(v, 0.14, 103, 0.4, 0.12); // G7
                }};
    case Cue::Undo:
        return {0.18, 0.3, false, [](Voices& v) { glide(v, 0, 0.18, 620, 330, 1.0, 0.08); }};
    case Cue::Redo:
        return {0.18, 0.3, false, [](Voices& v) { glide(v, 0, 0.18, 330, 620, 1.0, 0.08); }};
    case Cue::PickUp:
        return {0.22, 0.35, false, [](Voices& v) {
                    glide(v, 0, 0.22, 240, 520, 1.0, 0.1);
                    tick(v, 1800, 0.006);
                }};
    case Cue::PutDown:
        return {0.22, 0.35, false, [](Voices& v) {
                    glide(v, 0, 0.22, 420, 170, 1.0, 0.07);
                    tick(v, 900, 0.012);
                }};
    case Cue::Tick:
        return {0.03, 0.2, false, [](Voices& v) { tick(v, 3200, 0.004); }};
    case Cue::Click:
        return {0.06, 0.3, false, [](Voices& v) {
                    tick(v, 1500, 0.008);
                    beep(v, 0.004, 0.05, 2200, 0.15);
                }};
    }
    return {0.1, 0.1, false, [](Voices&) {}};
}

} // namespace

std::vector<float> renderEffect(Cue cue) {
    const EffectRecipe r = recipe(cue);
    Voices voices(r.seconds);
    r.build(voices);
    std::vector<double>& s = voices.samples();
    if (!r.loop) {
        const double fade = EDGE_FADE * RATE;
        for (std::size_t i = 0; i < s.size(); ++i) {
            const double fromEnd = double(s.size() - 1 - i);
            s[i] *= std::min({1.0, double(i) / fade, fromEnd / fade});
        }
    }
    double peak = 0;
    for (const double x : s) {
        peak = std::max(peak, std::abs(x));
    }
    const double scale = peak > 0 ? r.peak / peak : 0;
    std::vector<float> out(s.size());
    std::transform(s.begin(), s.end(), out.begin(), [&](double x) { return float(x * scale); });
    return out;
}

bool writeEffectWav(const std::string& path, const std::vector<float>& samples,
                    std::string* error) {
    return writePcm16Wav(path, samples, 1, EFFECT_SAMPLE_RATE, error);
}
