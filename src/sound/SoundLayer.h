#pragma once
// The game's sound layer: a system that looks at the output drivers, is configured and opened,
// creates streamed sounds and plays them on channels that can be paused, rewound and looped.
// Every call answers with a Result and nothing throws, so the caller decides what a failure
// means (the game reports it and plays on without music).
//
// System, Sound and Channel are handles. A System owns everything behind it: releasing or
// destroying it invalidates every Sound and Channel it made, and calls on a Sound or Channel
// that is gone answer Result::InvalidHandle instead of touching freed state. A System must be
// created before any other call on it. The actual audio goes through an AudioBackend:
// SDL2_mixer in the game, a scripted one in tests.
//
// The layer offers what the music needs and no more: settings are made before init, as the
// music makes them.

#include <memory>
#include <string>

namespace sound {

/// Outcome of a call. The integer values are stable: they are printed in error reports.
enum class Result : int {
    Ok = 0,
    InvalidParam = 1,
    InvalidHandle = 2,
    Uninitialized = 3,
    Initialized = 4,
    Unsupported = 5,
    OutputInit = 6,
    OutputCreateBuffer = 7,
    FileNotFound = 8,
    FileBad = 9,
    Format = 10,
    Playback = 11,
};

/// The highest Result value; every value from 0 up to it is a Result.
constexpr int LAST_RESULT = int(Result::Playback);

/// One sentence describing result; codes outside the enum get a sentence saying so.
const char* resultText(Result result);

/// Library versions as 0x00MMmmpp (major, minor, patch), so newer versions compare greater.
constexpr unsigned makeVersion(unsigned major, unsigned minor, unsigned patch) {
    return (major << 16) | (minor << 8) | patch;
}
/// The version of the audio library the layer was compiled against.
unsigned builtVersion();

/// Driver capabilities, or-ed together.
using Caps = unsigned;
constexpr Caps CAPS_NONE = 0;
/// Mixing happens in a sound server or emulation rather than in the hardware: expect high
/// latency and give the output larger buffers.
constexpr Caps CAPS_HARDWARE_EMULATED = 1u << 0;
/// The driver takes more than two output channels.
constexpr Caps CAPS_MULTICHANNEL = 1u << 1;

enum class SpeakerMode { Mono, Stereo, Quad, Surround51, Surround71 };
/// Output channels of a speaker mode (1, 2, 4, 6 or 8).
int speakerChannels(SpeakerMode mode);

enum class SampleFormat { Pcm16, PcmFloat };
enum class Resampler { NoInterpolation, Linear, Cubic, Spline };
enum class OutputType { Auto, NoSound };

using InitFlags = unsigned;
constexpr InitFlags INIT_NORMAL = 0;

/// Sound and channel modes, or-ed together.
using Mode = unsigned;
constexpr Mode MODE_DEFAULT = 0;
constexpr Mode MODE_LOOP_OFF = 1u << 0;
constexpr Mode MODE_LOOP_NORMAL = 1u << 1;
constexpr Mode MODE_2D = 1u << 2;
constexpr Mode MODE_3D = 1u << 3;
constexpr Mode MODE_HARDWARE = 1u << 4;
constexpr Mode MODE_SOFTWARE = 1u << 5;
constexpr Mode MODE_CREATESTREAM = 1u << 6;

/// Defaults: a 1024 sample buffer, four of them.
constexpr unsigned DEFAULT_DSP_BUFFER_LENGTH = 1024;
constexpr int DEFAULT_DSP_BUFFER_COUNT = 4;

/// How the mixer runs once the system is initialised.
struct SoftwareFormat {
    int sampleRate = 44100;
    SampleFormat format = SampleFormat::Pcm16;
    int outputChannels = 0; ///< 0: as many as the speaker mode has
    int maxInputChannels = 6;
    Resampler resampler = Resampler::Linear;
};

/// What the backend is asked to open.
struct OutputSettings {
    int sampleRate = 44100;
    SampleFormat format = SampleFormat::Pcm16;
    int channels = 2;
    unsigned bufferLength = DEFAULT_DSP_BUFFER_LENGTH; ///< samples per buffer
    int bufferCount = DEFAULT_DSP_BUFFER_COUNT;
};

struct DriverInfo {
    std::string name;
    int channels = 2; ///< channels the device prefers
    bool emulated = false;
};

/// The audio library underneath the layer. Implementations report failures through their
/// results; the layer checks arguments and states before calling them.
class AudioBackend {
  public:
    virtual ~AudioBackend() = default;
    /// The library version actually loaded, as makeVersion().
    virtual unsigned linkedVersion() const = 0;
    /// Output devices that can be opened; 0 when there is no audio at all.
    virtual int driverCount() = 0;
    /// Device index, 0 <= index < driverCount().
    virtual DriverInfo driver(int index) = 0;
    /// Opens the output. silent: no device is wanted, the sound goes nowhere (but streams still
    /// load, play, pause and seek). Answers Ok, OutputCreateBuffer when the device cannot be
    /// opened with that many channels, or OutputInit.
    virtual Result open(const OutputSettings& settings, bool silent) = 0;
    /// Stops and closes the output; safe when not open.
    virtual void close() = 0;
    /// Loads a stream from a readable file: Ok and its id, or Format.
    virtual Result load(const std::string& path, int& id) = 0;
    virtual void unload(int id) = 0;
    /// Starts stream id from its beginning, looping forever or once, unpaused.
    virtual Result play(int id, bool loop) = 0;
    virtual void pause() = 0;
    virtual void resume() = 0;
    /// The started stream is still running (paused or not): false after halt() or after a
    /// stream that does not loop has ended.
    virtual bool playing() = 0;
    /// Moves the started stream to seconds from its beginning: Ok, InvalidParam past the end,
    /// or Playback.
    virtual Result seek(double seconds) = 0;
    virtual void halt() = 0;
    /// How loud the started stream plays, 0 (silent, running on) to 1 (full); it holds for the
    /// streams started after it, and open() starts at 1.
    virtual void setVolume(double volume) = 0;
};

/// The backend the game uses: SDL2_mixer on SDL's audio.
std::unique_ptr<AudioBackend> makeSdlBackend();

class Core;

/// A loaded stream.
class Sound {
  public:
    Sound() = default;
    /// Frees the stream; the handle and the channels playing it become invalid.
    Result release();

  private:
    friend class Core;
    friend class System;
    std::weak_ptr<Core> core_;
    int id_ = 0;
};

/// A sound playing (or paused) on the output. Only one stream is on the output at a time:
/// starting another ends the channel of the one before.
class Channel {
  public:
    Channel() = default;
    Result setPaused(bool paused);
    Result getPaused(bool& paused) const;
    /// Loops the sound (MODE_LOOP_NORMAL) or plays it once (MODE_LOOP_OFF). The output fixes
    /// looping when the channel starts: Unsupported once it has been unpaused.
    Result setMode(Mode mode);
    /// Moves to milliseconds from the start of the sound.
    Result setPosition(unsigned milliseconds);
    /// How loud the channel plays, 0 (silent: it plays on and keeps its place) to 1 (full, as a
    /// new channel starts); InvalidParam outside. A channel not yet started takes it when it
    /// starts.
    Result setVolume(float volume);

  private:
    friend class Core;
    friend class System;
    std::weak_ptr<Core> core_;
    int id_ = 0;
};

/// The sound system. Move-only; destroying it closes and releases it.
class System {
  public:
    /// A fresh system on backend, or on the SDL backend when backend is empty.
    static Result create(System& system, std::unique_ptr<AudioBackend> backend = nullptr);

    System() = default;
    System(System&&) noexcept = default;
    System& operator=(System&&) noexcept = default;
    ~System();

    Result getVersion(unsigned& version) const;
    Result getNumDrivers(int& count) const;
    Result getDriverInfo(int id, std::string& name) const;
    Result getDriverCaps(int id, Caps& caps, SpeakerMode& mode) const;

    // Settings, made before init().
    Result setOutput(OutputType output);
    Result setSpeakerMode(SpeakerMode mode);
    Result setDSPBufferSize(unsigned length, int count);
    Result setSoftwareFormat(int sampleRate, SampleFormat format, int outputChannels,
                             int maxInputChannels, Resampler resampler);

    /// Opens the output (INIT_NORMAL only; maxChannels is what the sounds may share). A failed
    /// init leaves the system uninitialised, so settings can be changed and init() tried again.
    Result init(int maxChannels, InitFlags flags);
    /// Ends playback, frees the sounds and closes the output; the system can be set up and
    /// initialised again.
    Result close();
    /// Closes the system and ends it; the handle is empty afterwards.
    Result release();

    /// Opens path as a 2D software stream, looping when the mode says MODE_LOOP_NORMAL.
    Result createStream(const std::string& path, Mode mode, Sound& sound);
    /// Puts sound on the output, paused or playing, from its start.
    Result playSound(Sound& sound, bool paused, Channel& channel);

  private:
    std::shared_ptr<Core> core_;
};

} // namespace sound
