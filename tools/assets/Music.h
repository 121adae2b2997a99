#pragma once
// The game's background music, composed and rendered in code: a slow ambient loop in D major
// (soft pad chords, a bass pulse, a bell arpeggio and, later on, a flute-like melody, with a
// ping-pong echo and a reverb). It is rendered as a circle: notes that ring on past the end of
// the loop are wrapped to its start, and the echo and reverb are warmed up on the loop's own
// end before they run over it, so the loop starts with the tails of its end and its last frame
// runs on into its first without a click. Rendering depends on nothing but the code: the same
// call always gives the same samples.

#include <cstddef>
#include <vector>

constexpr int MUSIC_SAMPLE_RATE = 44100;
constexpr double MUSIC_TEMPO_BPM = 80.0;
constexpr int MUSIC_BEATS_PER_BAR = 4;
/// Three passes over an eight bar progression (two bars each of Dmaj9, Bm9, Gmaj9 and Asus2).
constexpr int MUSIC_BARS = 24;
/// 24 bars of 3 s: 72 s.
constexpr std::size_t MUSIC_LOOP_FRAMES =
    std::size_t(MUSIC_BARS * MUSIC_BEATS_PER_BAR * 60.0 / MUSIC_TEMPO_BPM * MUSIC_SAMPLE_RATE);
/// The loop's largest sample magnitude.
constexpr float MUSIC_PEAK = 0.85f;

/// Interleaved stereo samples (left, right) at MUSIC_SAMPLE_RATE, nominally within -1 to 1.
struct StereoPcm {
    std::vector<float> samples;
    std::size_t frames() const { return samples.size() / 2; }
    float left(std::size_t frame) const { return samples[2 * frame]; }
    float right(std::size_t frame) const { return samples[2 * frame + 1]; }
};

/// One loop of MUSIC_LOOP_FRAMES frames, scaled to MUSIC_PEAK.
StereoPcm renderMusicLoop();
