#pragma once
// The game's sound effects: started beside the music, fed every frame with what the frame shows
// (SoundCues says what is heard, the sound layer plays it), and played at once for what a key or
// a click does (undo, redo, a hint, a switch or a menu item). The effects setting and its volume
// are followed every frame.

#include "rules/SoundCues.h"

/// Loads the sound files from the game folder; after initMusic, which opens the output.
void initSounds();

/// Plays a cue now, panned from -1 (left) to 1 (right).
void playCue(Cue cue, float pan = 0);

/// The frame's sounds and the hum, from the game's state at the end of the frame (`time` on the
/// window's clock); and the effects' setting and volume as the settings have them.
void followSounds(double time);

/// The next frame's orientations are taken as they come: an undo or redo put elements back at
/// once.
void settleSounds();

/// A level was entered: its first frame is where its sounds start.
void soundsEnterLevel();

/// Ends and frees the effects; before shutdownMusic.
void shutdownSounds();
