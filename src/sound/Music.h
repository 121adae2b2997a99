#pragma once
// The game's background music: one looping stream on one sound system, started at start-up,
// paused and rewound or resumed by the music key, and released at shutdown. Failures are
// reported on the console and the game goes on without music.

#include "sound/SoundLayer.h"

#include <memory>
#include <string>

/// The music file, relative to the game folder the game runs in.
constexpr const char* MUSIC_FILE = "music/test1.mp3";

/// Prints "FMOD error! (code) text" on standard output when result is not Ok; never stops.
void fmodCheck(sound::Result result);

/// Sets up the sound system on the SDL backend and starts MUSIC_FILE looping.
void initMusic();
/// The same on backend (the SDL backend when empty), playing file. A system set up before is
/// ended first, quietly.
void initMusic(std::unique_ptr<sound::AudioBackend> backend, const std::string& file = MUSIC_FILE);

/// Whether the music plays (false while paused, and when it could not be started).
bool isMusicPlaying();

/// The music key: resumes paused music, or pauses playing music and rewinds it to the start.
/// Returns whether the music plays now (the game shows MUSIC ON then, else MUSIC OFF).
bool toggleMusic();

/// How loud the music plays, in percent: 0 is silent but the music plays on and keeps its place,
/// 100 is full (as initMusic starts it). Clamped to 0 to 100.
void setMusicVolume(int percent);
/// The volume last set, 0 to 100; 100 after initMusic.
int musicVolume();

/// Releases the music and closes and releases the sound system (nothing before initMusic).
void shutdownMusic();
