#include "assets/Music.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <initializer_list>

namespace {

constexpr double PI = 3.14159265358979323846;
constexpr double RATE = MUSIC_SAMPLE_RATE;
constexpr double BEAT = 60.0 / MUSIC_TEMPO_BPM;
constexpr double BAR = BEAT * MUSIC_BEATS_PER_BAR;
constexpr int PASS_BARS = 8;
constexpr int CHORD_BARS = 2;

double midiHz(double note) {
    return 440.0 * std::pow(2.0, (note - 69.0) / 12.0);
}

/// 0 at x <= 0 rising along half a cosine to 1 at x >= 1: fades without corners.
double rise(double x) {
    if (x <= 0) {
        return 0;
    }
    return x >= 1 ? 1 : 0.5 - 0.5 * std::cos(PI * x);
}

/// A small hash of integers to 0..1, for the arpeggio's touch.
double jitter(int a, int b) {
    std::uint32_t h = std::uint32_t(a) * 0x9e3779b1u ^ (std::uint32_t(b) + 0x7f4a7c15u);
    h ^= h >> 15;
    h *= 0x2c1b3c6du;
    h ^= h >> 12;
    return double(h & 0xffffu) / 65535.0;
}

/// One period of a sum of harmonics, peak 1, read with linear interpolation.
class Wavetable {
  public:
    Wavetable(std::initializer_list<double> harmonics) : table_(SIZE + 1) {
        double peak = 0;
        for (int i = 0; i < SIZE; ++i) {
            double v = 0;
            int k = 1;
            for (const double amplitude : harmonics) {
                v += amplitude * std::sin(2 * PI * k * i / SIZE);
                ++k;
            }
            table_[std::size_t(i)] = float(v);
            peak = std::max(peak, std::abs(v));
        }
        for (float& v : table_) {
            v = float(v / peak);
        }
        table_[SIZE] = table_[0];
    }
    /// phase in cycles, 0 <= phase < 1.
    double at(double phase) const {
        const double x = phase * SIZE;
        const auto i = std::size_t(x);
        const float* t = table_.data() + i;
        return t[0] + (x - double(i)) * (t[1] - t[0]);
    }

  private:
    static constexpr int SIZE = 4096;
    std::vector<float> table_;
};

/// A running oscillator over a wavetable.
struct Oscillator {
    const Wavetable* table;
    double step; ///< cycles per frame
    double phase = 0;
    double next() {
        const double v = table->at(phase);
        phase += step;
        if (phase >= 1.0) {
            phase -= 1.0;
        }
        return v;
    }
};

const Wavetable& sine() {
    static const Wavetable table{1.0};
    return table;
}
/// Warm and soft: a gently falling row of harmonics.
const Wavetable& padWave() {
    static const Wavetable table{1.0, 0.42, 0.22, 0.12, 0.06, 0.03};
    return table;
}
const Wavetable& bassWave() {
    static const Wavetable table{1.0, 0.45, 0.15};
    return table;
}
const Wavetable& fluteWave() {
    static const Wavetable table{1.0, 0.18, 0.08};
    return table;
}

/// One loop of the dry mix plus what is sent to the echo and to the reverb (both mono). Voices
/// are written modulo the loop length: what rings on past the end sounds at the start, as it
/// does when the loop repeats.
struct Mix {
    std::vector<float> left, right, echo, reverb;
    explicit Mix(std::size_t frames)
        : left(frames, 0.f), right(frames, 0.f), echo(frames, 0.f), reverb(frames, 0.f) {}
    std::size_t frames() const { return left.size(); }
};

struct Sends {
    double echo = 0;
    double reverb = 0;
};

struct Stereo {
    double left, right;
};

/// Adds a stereo voice from frame start on for length frames (wrapping around the loop);
/// voice(t) gives the sample t seconds after the start and is called for successive frames.
template <typename Voice>
void addStereo(Mix& mix, std::size_t start, std::size_t length, const Sends& sends, Voice&& voice) {
    float *left = mix.left.data(), *right = mix.right.data();
    float *echo = mix.echo.data(), *reverb = mix.reverb.data();
    const std::size_t frames = mix.frames();
    std::size_t i = start % frames;
    for (std::size_t k = 0; k < length; ++k) {
        const Stereo v = voice(double(k) / RATE);
        const double mono = 0.5 * (v.left + v.right);
        left[i] += float(v.left);
        right[i] += float(v.right);
        echo[i] += float(mono * sends.echo);
        reverb[i] += float(mono * sends.reverb);
        i = i + 1 == frames ? 0 : i + 1;
    }
}

/// Equal-power panning of a mono voice: pan 0 is left, 1 right.
template <typename Voice>
void addMono(Mix& mix, std::size_t start, std::size_t length, double pan, const Sends& sends,
             Voice&& voice) {
    const double gl = std::cos(pan * PI / 2), gr = std::sin(pan * PI / 2);
    addStereo(mix, start, length, sends, [&](double t) {
        const double v = voice(t);
        return Stereo{v * gl, v * gr};
    });
}

std::size_t frameAt(double seconds) {
    return std::size_t(std::lround(seconds * RATE));
}

struct Chord {
    std::array<int, 5> pad; ///< voicing, low to high
    int bass;               ///< root below the pad
    std::array<int, 6> arp; ///< arpeggio tones, low to high
};

/// The eight bar progression: Dmaj9, Bm9, Gmaj9, Asus2, two bars each.
const std::array<Chord, 4>& progression() {
    static const std::array<Chord, 4> chords{{
        {{50, 57, 61, 64, 66}, 38, {69, 74, 76, 78, 81, 85}},
        {{47, 54, 57, 61, 62}, 35, {66, 71, 73, 74, 78, 81}},
        {{43, 50, 54, 57, 59}, 31, {67, 71, 74, 78, 81, 83}},
        {{45, 52, 59, 61, 64}, 33, {69, 71, 73, 76, 81, 83}},
    }};
    return chords;
}

/// Chord index of a bar (0-based) within the loop.
int chordOfBar(int bar) {
    return (bar % PASS_BARS) / CHORD_BARS;
}

void addPad(Mix& mix) {
    constexpr double ATTACK = 2.5, RELEASE = 3.0;
    constexpr double CHORD_SECONDS = CHORD_BARS * BAR;
    constexpr double DETUNE[3] = {-7.0, 0.0, 6.0}; // cents: three slightly beating copies
    constexpr double PANS[3] = {0.22, 0.5, 0.78};
    for (int bar = 0; bar < MUSIC_BARS; bar += CHORD_BARS) {
        const Chord& chord = progression()[std::size_t(chordOfBar(bar))];
        const int pass = bar / PASS_BARS;
        std::vector<int> notes(chord.pad.begin(), chord.pad.end());
        if (pass == 2) {
            notes.push_back(chord.pad.back() + 12); // a high shimmer in the last pass
        }
        // Every note three times, slightly detuned and spread across the stereo field.
        std::vector<Oscillator> osc;
        std::vector<double> gl, gr;
        for (std::size_t n = 0; n < notes.size(); ++n) {
            const double level = n == chord.pad.size() ? 0.025 : 0.045;
            for (std::size_t o = 0; o < 3; ++o) {
                const double phase = 0.13 * double(n + o);
                osc.push_back(Oscillator{&padWave(), midiHz(notes[n] + DETUNE[o] / 100.0) / RATE,
                                         phase - std::floor(phase)});
                gl.push_back(level * std::cos(PANS[o] * PI / 2));
                gr.push_back(level * std::sin(PANS[o] * PI / 2));
            }
        }
        addStereo(mix, frameAt(bar * BAR), frameAt(CHORD_SECONDS + RELEASE), Sends{0.0, 0.35},
                  [&](double t) {
                      const double env =
                          rise(t / ATTACK) * (1.0 - rise((t - CHORD_SECONDS) / RELEASE));
                      double l = 0, r = 0;
                      for (std::size_t k = 0; k < osc.size(); ++k) {
                          const double x = osc[k].next();
                          l += x * gl[k];
                          r += x * gr[k];
                      }
                      return Stereo{env * l, env * r};
                  });
    }
}

void addBass(Mix& mix) {
    constexpr double LENGTH = 2.6 * BEAT, RELEASE = 0.6;
    for (int bar = 0; bar < MUSIC_BARS; ++bar) {
        const int pass = bar / PASS_BARS;
        if (pass == 0 && bar % CHORD_BARS != 0) {
            continue; // the first pass breathes: one note per chord
        }
        const Chord& chord = progression()[std::size_t(chordOfBar(bar))];
        Oscillator osc{&bassWave(), midiHz(chord.bass + 12) / RATE};
        addMono(mix, frameAt(bar * BAR), frameAt(LENGTH + RELEASE), 0.5, Sends{0.0, 0.06},
                [&](double t) {
                    const double env =
                        rise(t / 0.08) * std::exp(-t / 1.6) * (1.0 - rise((t - LENGTH) / RELEASE));
                    return 0.16 * env * osc.next();
                });
    }
}

void addArpeggio(Mix& mix) {
    // Steps through the six tones of the chord over two bars of eighths.
    static const int patterns[2][16] = {{0, 2, 4, 5, 3, 1, 2, 4, 0, 3, 5, 4, 2, 1, 3, 5},
                                        {1, 3, 5, 4, 2, 3, 0, 2, 4, 5, 3, 4, 1, 2, 5, 3}};
    constexpr double EIGHTH = BEAT / 2;
    constexpr double DECAY = 0.9, LENGTH = 2.2, FADE = 0.5;
    for (int bar = 0; bar < MUSIC_BARS; ++bar) {
        const int pass = bar / PASS_BARS;
        const Chord& chord = progression()[std::size_t(chordOfBar(bar))];
        for (int step = 0; step < 8; ++step) {
            if (pass == 0 && step % 2 == 1) {
                continue; // quarters in the first pass, eighths later
            }
            const int index = patterns[pass == 2 ? 1 : 0][(bar % 2) * 8 + step];
            const int note = chord.arp[std::size_t(index)];
            const double touch = (step == 0       ? 1.0
                                  : step % 2 == 0 ? 0.78
                                                  : 0.62) *
                                 (0.9 + 0.2 * jitter(bar, step));
            const double level = 0.09 * touch;
            const double pan = 0.3 + 0.4 * jitter(step, bar + 100);
            Oscillator body{&sine(), midiHz(note) / RATE};
            Oscillator shine{&sine(), 2.76 * midiHz(note) / RATE}; // a bell's high partial
            double decayBody = 1.0, decayShine = 1.0;
            const double stepBody = std::exp(-1.0 / (DECAY * RATE));
            const double stepShine = std::exp(-1.0 / (0.18 * RATE));
            addMono(mix, frameAt(bar * BAR + step * EIGHTH), frameAt(LENGTH), pan, Sends{0.45, 0.4},
                    [&](double t) {
                        const double env =
                            level * rise(t / 0.006) * (1.0 - rise((t - (LENGTH - FADE)) / FADE));
                        const double v = decayBody * body.next() + 0.25 * decayShine * shine.next();
                        decayBody *= stepBody;
                        decayShine *= stepShine;
                        return env * v;
                    });
        }
    }
}

void addMelody(Mix& mix) {
    struct Note {
        int bar;  ///< 1-based, as written
        int beat; ///< 1-based
        double beats;
        int midi;
    };
    // A flute-like line over the second and third passes.
    static const Note tune[] = {
        {9, 1, 2, 81},  {9, 3, 2, 78},  {10, 1, 4, 76}, {11, 1, 3, 74}, {11, 4, 1, 76},
        {12, 1, 4, 78}, {13, 1, 2, 83}, {13, 3, 2, 81}, {14, 1, 4, 78}, {15, 1, 3, 76},
        {15, 4, 1, 78}, {16, 1, 4, 76}, {17, 1, 2, 78}, {17, 3, 2, 81}, {18, 1, 4, 85},
        {19, 1, 3, 83}, {19, 4, 1, 81}, {20, 1, 4, 78}, {21, 1, 2, 81}, {21, 3, 2, 83},
        {22, 1, 4, 78}, {23, 1, 3, 76}, {23, 4, 1, 73}, {24, 1, 3, 76},
    };
    constexpr double RELEASE = 1.2;
    for (const Note& n : tune) {
        const double held = n.beats * BEAT;
        const double hz = midiHz(n.midi);
        Oscillator osc{&fluteWave(), hz / RATE};
        Oscillator vibrato{&sine(), 4.8 / RATE};
        const double start = (n.bar - 1) * BAR + (n.beat - 1) * BEAT;
        addMono(mix, frameAt(start), frameAt(held + RELEASE), 0.6, Sends{0.3, 0.45}, [&](double t) {
            const double depth = 0.004 * rise((t - 0.5) / 0.8);
            osc.step = hz * (1.0 + depth * vibrato.next()) / RATE;
            const double env = rise(t / 0.35) * (1.0 - rise((t - held) / RELEASE));
            return 0.07 * env * osc.next();
        });
    }
}

/// Runs effect over the frames of the loop as it repeats: first over the last WARM_UP seconds,
/// output discarded, so the effect enters the loop with the state it leaves it with; then over
/// the whole loop. Echo and reverb tails die away long before WARM_UP.
constexpr double WARM_UP = 12.0;
template <typename Effect> void runLooped(std::size_t frames, Effect&& effect) {
    const std::size_t warm = std::min(frames, frameAt(WARM_UP));
    for (std::size_t i = frames - warm; i < frames; ++i) {
        effect(i, false);
    }
    for (std::size_t i = 0; i < frames; ++i) {
        effect(i, true);
    }
}

/// Ping-pong echo: the send goes into the left line, each line's output feeds the other.
void applyEcho(Mix& mix) {
    const std::size_t delay = frameAt(0.75 * BEAT); // a dotted eighth
    constexpr double FEEDBACK = 0.42, DAMP = 0.35, RETURN = 0.55;
    std::vector<float> lineL(delay, 0.f), lineR(delay, 0.f);
    double lowL = 0, lowR = 0;
    std::size_t p = 0;
    runLooped(mix.frames(), [&](std::size_t i, bool output) {
        const double outL = lineL[p], outR = lineR[p];
        lowL += (1.0 - DAMP) * (outL - lowL);
        lowR += (1.0 - DAMP) * (outR - lowR);
        lineL[p] = float(mix.echo[i] + FEEDBACK * lowR);
        lineR[p] = float(FEEDBACK * lowL);
        p = p + 1 == delay ? 0 : p + 1;
        if (output) {
            mix.left[i] += float(RETURN * outL);
            mix.right[i] += float(RETURN * outR);
            mix.reverb[i] += float(0.3 * (outL + outR));
        }
    });
}

/// Damped feedback combs in parallel, then allpasses in series: one channel of the reverb.
class ReverbChannel {
  public:
    explicit ReverbChannel(int spread) {
        for (const int length : {1439, 1601, 1733, 1867}) {
            combs_.push_back(Comb{std::vector<float>(std::size_t(length + spread), 0.f), 0, 0});
        }
        for (const int length : {389, 131}) {
            allpasses_.push_back(
                Allpass{std::vector<float>(std::size_t(length + spread / 3), 0.f), 0});
        }
    }
    double process(double in) {
        constexpr double FEEDBACK = 0.88, DAMP = 0.3, GAIN = 0.5;
        double out = 0;
        for (Comb& c : combs_) {
            const double y = c.line[c.p];
            c.low = y * (1.0 - DAMP) + c.low * DAMP;
            c.line[c.p] = float(in + c.low * FEEDBACK);
            c.p = c.p + 1 == c.line.size() ? 0 : c.p + 1;
            out += y;
        }
        out *= 0.25;
        for (Allpass& a : allpasses_) {
            const double delayed = a.line[a.p];
            const double w = out + GAIN * delayed;
            a.line[a.p] = float(w);
            a.p = a.p + 1 == a.line.size() ? 0 : a.p + 1;
            out = delayed - GAIN * w;
        }
        return out;
    }

  private:
    struct Comb {
        std::vector<float> line;
        std::size_t p;
        double low;
    };
    struct Allpass {
        std::vector<float> line;
        std::size_t p;
    };
    std::vector<Comb> combs_;
    std::vector<Allpass> allpasses_;
};

void applyReverb(Mix& mix) {
    constexpr double WET = 1.1;
    ReverbChannel left(0), right(37); // different lengths on each side give width
    runLooped(mix.frames(), [&](std::size_t i, bool output) {
        const double l = left.process(mix.reverb[i]), r = right.process(mix.reverb[i]);
        if (output) {
            mix.left[i] += float(WET * l);
            mix.right[i] += float(WET * r);
        }
    });
}

} // namespace

StereoPcm renderMusicLoop() {
    Mix mix(MUSIC_LOOP_FRAMES);
    addPad(mix);
    addBass(mix);
    addArpeggio(mix);
    addMelody(mix);
    applyEcho(mix);
    applyReverb(mix);
    float peak = 0;
    for (std::size_t i = 0; i < mix.frames(); ++i) {
        peak = std::max({peak, std::abs(mix.left[i]), std::abs(mix.right[i])});
    }
    const float scale = peak > 0 ? MUSIC_PEAK / peak : 1.0f;
    StereoPcm loop;
    loop.samples.resize(2 * mix.frames());
    for (std::size_t i = 0; i < mix.frames(); ++i) {
        loop.samples[2 * i] = mix.left[i] * scale;
        loop.samples[2 * i + 1] = mix.right[i] * scale;
    }
    return loop;
}
