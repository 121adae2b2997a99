#pragma once
// The game's sound effects beside the music: short sounds on a pool of the mixer's channels, so
// that many play at once without cutting each other off, and one looping sound on a channel of
// its own that fades in and out. They play on the output the music opened (initMusic first);
// without one the game runs silent, with one console line. Effects are numbered as the list of
// files given to initEffects; the effects' on/off and volume leave the music alone.

#include <string>
#include <vector>

/// Channels the short sounds share; when all are busy the one that has played longest ends.
constexpr int EFFECT_CHANNELS = 16;
/// How long the loop takes to fade in and out, milliseconds.
constexpr int EFFECT_LOOP_FADE_MS = 50;

/// Loads the effect files (paths relative to the game folder). One console line names the files
/// that cannot be loaded; they stay silent. One line, and every effect silent, without an
/// output.
void initEffects(const std::vector<std::string>& files);

/// Whether effects can be heard: an output is open and at least one file loaded.
bool effectsReady();

/// Plays effect `index` once, panned from -1 (left) to 1 (right). Nothing while effects are off
/// or for an index that did not load.
void playEffect(int index, float pan = 0);

/// Starts effect `index` looping on its own channel, fading in; index -1 fades the loop out.
/// Asking for what already plays changes nothing.
void setEffectLoop(int index);

/// Effects on or off: off ends the short sounds playing and fades the loop out (it comes back
/// when they are on again, if still asked for).
void setEffectsOn(bool on);
bool effectsOn();

/// How loud the effects play, in percent: 0 to 100 (clamped), 100 after initEffects.
void setEffectsVolume(int percent);
int effectsVolume();

/// Ends every effect and frees them; before shutdownMusic, which closes the output.
void shutdownEffects();
