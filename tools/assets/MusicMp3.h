#pragma once
// Sound files: 16-bit WAV output, and MP3 encoding through the lame command-line encoder.

#include "assets/Music.h"

#include <string>
#include <vector>

/// Bit rate of the shipped music, in kbit/s.
constexpr int MUSIC_MP3_KBPS = 128;

/// Writes pcm as a 16-bit stereo WAV file at MUSIC_SAMPLE_RATE, samples clamped to -1..1. On
/// failure returns false and, when error is given, stores the cause.
bool writeWav(const std::string& path, const StereoPcm& pcm, std::string* error = nullptr);

/// Writes interleaved samples (channels of them a frame) as a 16-bit WAV file at rate, samples
/// clamped to -1..1. On failure returns false and, when error is given, stores the cause.
bool writePcm16Wav(const std::string& path, const std::vector<float>& samples, int channels,
                   int rate, std::string* error = nullptr);

/// Encodes pcm into an MP3 file at path (constant bit rate kbps) with `lame`, through a
/// temporary WAV file beside it that is removed afterwards. lame records its encoder delay and
/// padding in the file's header, so a gapless decoder gives back exactly pcm.frames() frames
/// and the loop stays seamless. On failure returns false and, when error is given, stores the
/// cause (lame missing, its exit status, or the file it could not write).
bool encodeMp3(const std::string& path, const StereoPcm& pcm, std::string* error = nullptr,
               int kbps = MUSIC_MP3_KBPS);
