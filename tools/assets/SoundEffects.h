#pragma once
// The game's sound effects, synthesised in code like the music: sweeps, bells, beeps, filtered
// noise and clicks, mono at EFFECT_SAMPLE_RATE. Each sound is scaled to its own peak level,
// below full scale and below the music's, and fades in and out over a few milliseconds so that
// it starts and ends without a click; the hum is a loop whose end runs on into its start.
// Rendering depends on nothing but the code: the same call always gives the same samples.

#include "rules/SoundCues.h"

#include <string>
#include <vector>

constexpr int EFFECT_SAMPLE_RATE = 22050;

/// The cue's sound, mono samples at EFFECT_SAMPLE_RATE within -1..1.
std::vector<float> renderEffect(Cue cue);

/// Writes samples as a 16-bit mono WAV file at EFFECT_SAMPLE_RATE. On failure returns false and,
/// when error is given, stores the cause.
bool writeEffectWav(const std::string& path, const std::vector<float>& samples,
                    std::string* error = nullptr);
