#include "sound/SoundLayer.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <system_error>
#include <utility>

namespace sound {

const char* resultText(Result result) {
    switch (result) {
    case Result::Ok:
        return "No error occurred.";
    case Result::InvalidParam:
        return "A parameter was out of range or did not fit the call.";
    case Result::InvalidHandle:
        return "The system, sound or channel has been released, closed or has finished.";
    case Result::Uninitialized:
        return "The sound system has to be initialised before this call.";
    case Result::Initialized:
        return "This setting can only be changed before the sound system is initialised.";
    case Result::Unsupported:
        return "The sound layer does not support this mode or setting.";
    case Result::OutputInit:
        return "The audio output could not be opened.";
    case Result::OutputCreateBuffer:
        return "The audio output could not create its buffer for the chosen speaker mode.";
    case Result::FileNotFound:
        return "The file could not be found.";
    case Result::FileBad:
        return "The file exists but could not be read.";
    case Result::Format:
        return "The file is not in a format the decoder can play, or it is damaged.";
    case Result::Playback:
        return "The stream could not be started or moved on the output.";
    }
    return "The result code is not one the sound layer knows.";
}

int speakerChannels(SpeakerMode mode) {
    switch (mode) {
    case SpeakerMode::Mono:
        return 1;
    case SpeakerMode::Stereo:
        return 2;
    case SpeakerMode::Quad:
        return 4;
    case SpeakerMode::Surround51:
        return 6;
    case SpeakerMode::Surround71:
        return 8;
    }
    return 2;
}

namespace {

/// The richest speaker mode a device with that many channels can take.
SpeakerMode modeForChannels(int channels) {
    if (channels >= 8) {
        return SpeakerMode::Surround71;
    }
    if (channels >= 6) {
        return SpeakerMode::Surround51;
    }
    if (channels >= 4) {
        return SpeakerMode::Quad;
    }
    return channels == 1 ? SpeakerMode::Mono : SpeakerMode::Stereo;
}

bool validSpeakerMode(SpeakerMode mode) {
    switch (mode) {
    case SpeakerMode::Mono:
    case SpeakerMode::Stereo:
    case SpeakerMode::Quad:
    case SpeakerMode::Surround51:
    case SpeakerMode::Surround71:
        return true;
    }
    return false;
}

constexpr Mode LOOP_BITS = MODE_LOOP_OFF | MODE_LOOP_NORMAL;
constexpr Mode KNOWN_MODE_BITS =
    LOOP_BITS | MODE_2D | MODE_3D | MODE_HARDWARE | MODE_SOFTWARE | MODE_CREATESTREAM;

} // namespace

/// Everything behind a System: the backend, the settings, the loaded sounds and the channel on
/// the output. Sound and Channel handles reach it through weak pointers.
class Core {
  public:
    struct SoundState {
        int backendId = 0;
        bool loop = false;
    };
    struct ChannelState {
        int id = 0; ///< 0: no channel on the output
        int sound = 0;
        bool paused = false;
        bool loop = false;
        bool started = false; ///< handed to the backend
        unsigned startMs = 0; ///< where to start once unpaused
    };

    std::unique_ptr<AudioBackend> backend;
    bool initialised = false;
    OutputType output = OutputType::Auto;
    SpeakerMode speakerMode = SpeakerMode::Stereo;
    unsigned bufferLength = DEFAULT_DSP_BUFFER_LENGTH;
    int bufferCount = DEFAULT_DSP_BUFFER_COUNT;
    SoftwareFormat format;
    int maxChannels = 0;
    int nextId = 1;
    std::map<int, SoundState> sounds;
    ChannelState channel;

    explicit Core(std::unique_ptr<AudioBackend> b) : backend(std::move(b)) {}
    ~Core() { shutDown(); }
    Core(const Core&) = delete;
    Core& operator=(const Core&) = delete;

    void shutDown() {
        if (!initialised) {
            return;
        }
        endChannel();
        for (const auto& [id, state] : sounds) {
            backend->unload(state.backendId);
        }
        sounds.clear();
        backend->close();
        initialised = false;
    }

    void endChannel() {
        if (channel.started) {
            backend->halt();
        }
        channel = ChannelState{};
    }

    /// The channel with handle id, or null when it is gone (replaced, stopped, or ended).
    ChannelState* findChannel(int id) {
        if (id == 0 || channel.id != id) {
            return nullptr;
        }
        if (channel.started && !backend->playing()) {
            channel = ChannelState{};
            return nullptr;
        }
        return &channel;
    }

    Result start() {
        const SoundState& sound = sounds.at(channel.sound);
        const Result played = backend->play(sound.backendId, channel.loop);
        if (played != Result::Ok) {
            channel = ChannelState{};
            return played;
        }
        channel.started = true;
        channel.paused = false;
        if (channel.startMs > 0) {
            return backend->seek(channel.startMs / 1000.0);
        }
        return Result::Ok;
    }
};

namespace {

std::shared_ptr<Core> alive(const std::weak_ptr<Core>& core) {
    return core.lock();
}

} // namespace

// Sound

bool Sound::valid() const {
    const auto core = alive(core_);
    return core && core->sounds.count(id_) > 0;
}

Result Sound::release() {
    const auto core = alive(core_);
    if (!core || core->sounds.count(id_) == 0) {
        return Result::InvalidHandle;
    }
    if (core->channel.id != 0 && core->channel.sound == id_) {
        core->endChannel();
    }
    core->backend->unload(core->sounds.at(id_).backendId);
    core->sounds.erase(id_);
    *this = Sound{};
    return Result::Ok;
}

Result Sound::getLength(unsigned& milliseconds) const {
    const auto core = alive(core_);
    if (!core || core->sounds.count(id_) == 0) {
        return Result::InvalidHandle;
    }
    const double seconds = core->backend->duration(core->sounds.at(id_).backendId);
    if (seconds < 0) {
        return Result::Unsupported;
    }
    milliseconds = unsigned(std::lround(seconds * 1000.0));
    return Result::Ok;
}

// Channel

Result Channel::setPaused(bool paused) {
    const auto core = alive(core_);
    Core::ChannelState* ch = core ? core->findChannel(id_) : nullptr;
    if (ch == nullptr) {
        return Result::InvalidHandle;
    }
    if (!ch->started) {
        if (paused) {
            ch->paused = true;
            return Result::Ok;
        }
        return core->start();
    }
    if (paused != ch->paused) {
        paused ? core->backend->pause() : core->backend->resume();
        ch->paused = paused;
    }
    return Result::Ok;
}

Result Channel::getPaused(bool& paused) const {
    const auto core = alive(core_);
    const Core::ChannelState* ch = core ? core->findChannel(id_) : nullptr;
    if (ch == nullptr) {
        return Result::InvalidHandle;
    }
    paused = ch->paused;
    return Result::Ok;
}

Result Channel::setMode(Mode mode) {
    if ((mode & ~LOOP_BITS) != 0 || mode == LOOP_BITS) {
        return Result::InvalidParam;
    }
    const auto core = alive(core_);
    Core::ChannelState* ch = core ? core->findChannel(id_) : nullptr;
    if (ch == nullptr) {
        return Result::InvalidHandle;
    }
    const bool loop = (mode & MODE_LOOP_NORMAL) != 0;
    if (loop == ch->loop) {
        return Result::Ok;
    }
    ch->loop = loop;
    if (!ch->started) {
        return Result::Ok;
    }
    // The backend fixes looping when a stream starts: start again where it was.
    const double at = core->backend->position();
    const bool paused = ch->paused;
    Result result = core->backend->play(core->sounds.at(ch->sound).backendId, loop);
    if (result != Result::Ok) {
        core->channel = Core::ChannelState{};
        return result;
    }
    if (paused) {
        core->backend->pause();
    }
    if (at > 0) {
        result = core->backend->seek(at);
    }
    return result;
}

Result Channel::getMode(Mode& mode) const {
    const auto core = alive(core_);
    const Core::ChannelState* ch = core ? core->findChannel(id_) : nullptr;
    if (ch == nullptr) {
        return Result::InvalidHandle;
    }
    mode = ch->loop ? MODE_LOOP_NORMAL : MODE_LOOP_OFF;
    return Result::Ok;
}

Result Channel::setPosition(unsigned milliseconds) {
    const auto core = alive(core_);
    Core::ChannelState* ch = core ? core->findChannel(id_) : nullptr;
    if (ch == nullptr) {
        return Result::InvalidHandle;
    }
    const double length = core->backend->duration(core->sounds.at(ch->sound).backendId);
    if (length >= 0 && milliseconds > 0 && milliseconds >= length * 1000.0) {
        return Result::InvalidParam;
    }
    if (!ch->started) {
        ch->startMs = milliseconds;
        return Result::Ok;
    }
    return core->backend->seek(milliseconds / 1000.0);
}

Result Channel::getPosition(unsigned& milliseconds) const {
    const auto core = alive(core_);
    const Core::ChannelState* ch = core ? core->findChannel(id_) : nullptr;
    if (ch == nullptr) {
        return Result::InvalidHandle;
    }
    if (!ch->started) {
        milliseconds = ch->startMs;
        return Result::Ok;
    }
    const double seconds = core->backend->position();
    if (seconds < 0) {
        return Result::Unsupported;
    }
    milliseconds = unsigned(std::lround(seconds * 1000.0));
    return Result::Ok;
}

Result Channel::isPlaying(bool& playing) const {
    const auto core = alive(core_);
    playing = core && core->findChannel(id_) != nullptr;
    return playing ? Result::Ok : Result::InvalidHandle;
}

Result Channel::stop() {
    const auto core = alive(core_);
    if (!core || core->findChannel(id_) == nullptr) {
        return Result::InvalidHandle;
    }
    core->endChannel();
    return Result::Ok;
}

// System

Result System::create(System& system, std::unique_ptr<AudioBackend> backend) {
    if (!backend) {
        backend = makeSdlBackend();
    }
    system.core_ = std::make_shared<Core>(std::move(backend));
    return Result::Ok;
}

System::~System() = default;

Result System::getVersion(unsigned& version) const {
    if (!core_) {
        return Result::InvalidHandle;
    }
    version = core_->backend->linkedVersion();
    return Result::Ok;
}

Result System::getNumDrivers(int& count) const {
    if (!core_) {
        return Result::InvalidHandle;
    }
    count = std::max(0, core_->backend->driverCount());
    return Result::Ok;
}

Result System::getDriverInfo(int id, std::string& name) const {
    if (!core_) {
        return Result::InvalidHandle;
    }
    if (id < 0 || id >= core_->backend->driverCount()) {
        return Result::InvalidParam;
    }
    name = core_->backend->driver(id).name;
    return Result::Ok;
}

Result System::getDriverCaps(int id, Caps& caps, SpeakerMode& mode) const {
    if (!core_) {
        return Result::InvalidHandle;
    }
    if (id < 0 || id >= core_->backend->driverCount()) {
        return Result::InvalidParam;
    }
    const DriverInfo info = core_->backend->driver(id);
    caps = (info.emulated ? CAPS_HARDWARE_EMULATED : CAPS_NONE) |
           (info.channels > 2 ? CAPS_MULTICHANNEL : CAPS_NONE);
    mode = modeForChannels(info.channels);
    return Result::Ok;
}

Result System::setOutput(OutputType output) {
    if (!core_) {
        return Result::InvalidHandle;
    }
    if (core_->initialised) {
        return Result::Initialized;
    }
    if (output != OutputType::Auto && output != OutputType::NoSound) {
        return Result::InvalidParam;
    }
    core_->output = output;
    return Result::Ok;
}

Result System::getOutput(OutputType& output) const {
    if (!core_) {
        return Result::InvalidHandle;
    }
    output = core_->output;
    return Result::Ok;
}

Result System::setSpeakerMode(SpeakerMode mode) {
    if (!core_) {
        return Result::InvalidHandle;
    }
    if (core_->initialised) {
        return Result::Initialized;
    }
    if (!validSpeakerMode(mode)) {
        return Result::InvalidParam;
    }
    core_->speakerMode = mode;
    return Result::Ok;
}

Result System::getSpeakerMode(SpeakerMode& mode) const {
    if (!core_) {
        return Result::InvalidHandle;
    }
    mode = core_->speakerMode;
    return Result::Ok;
}

Result System::setDSPBufferSize(unsigned length, int count) {
    if (!core_) {
        return Result::InvalidHandle;
    }
    if (core_->initialised) {
        return Result::Initialized;
    }
    if (length < 64 || length > 16384 || count < 2 || count > 64) {
        return Result::InvalidParam;
    }
    core_->bufferLength = length;
    core_->bufferCount = count;
    return Result::Ok;
}

Result System::getDSPBufferSize(unsigned& length, int& count) const {
    if (!core_) {
        return Result::InvalidHandle;
    }
    length = core_->bufferLength;
    count = core_->bufferCount;
    return Result::Ok;
}

Result System::setSoftwareFormat(int sampleRate, SampleFormat format, int outputChannels,
                                 int maxInputChannels, Resampler resampler) {
    if (!core_) {
        return Result::InvalidHandle;
    }
    if (core_->initialised) {
        return Result::Initialized;
    }
    const bool channelsOk = outputChannels == 0 || outputChannels == 1 || outputChannels == 2 ||
                            outputChannels == 4 || outputChannels == 6 || outputChannels == 8;
    const bool formatOk = format == SampleFormat::Pcm16 || format == SampleFormat::PcmFloat;
    const bool resamplerOk = resampler == Resampler::NoInterpolation ||
                             resampler == Resampler::Linear || resampler == Resampler::Cubic ||
                             resampler == Resampler::Spline;
    if (sampleRate < 8000 || sampleRate > 192000 || !channelsOk || maxInputChannels < 1 ||
        maxInputChannels > 16 || !formatOk || !resamplerOk) {
        return Result::InvalidParam;
    }
    core_->format = SoftwareFormat{sampleRate, format, outputChannels, maxInputChannels, resampler};
    return Result::Ok;
}

Result System::getSoftwareFormat(SoftwareFormat& format) const {
    if (!core_) {
        return Result::InvalidHandle;
    }
    format = core_->format;
    return Result::Ok;
}

Result System::init(int maxChannels, InitFlags flags) {
    if (!core_) {
        return Result::InvalidHandle;
    }
    if (core_->initialised) {
        return Result::Initialized;
    }
    if (maxChannels < 1 || maxChannels > MAX_VIRTUAL_CHANNELS) {
        return Result::InvalidParam;
    }
    if (flags != INIT_NORMAL) {
        return Result::Unsupported;
    }
    OutputSettings settings;
    settings.sampleRate = core_->format.sampleRate;
    settings.format = core_->format.format;
    settings.channels = core_->format.outputChannels != 0 ? core_->format.outputChannels
                                                          : speakerChannels(core_->speakerMode);
    settings.bufferLength = core_->bufferLength;
    settings.bufferCount = core_->bufferCount;
    const Result opened = core_->backend->open(settings, core_->output == OutputType::NoSound);
    if (opened != Result::Ok) {
        return opened;
    }
    core_->initialised = true;
    core_->maxChannels = maxChannels;
    return Result::Ok;
}

Result System::close() {
    if (!core_) {
        return Result::InvalidHandle;
    }
    core_->shutDown();
    return Result::Ok;
}

Result System::release() {
    if (!core_) {
        return Result::InvalidHandle;
    }
    core_->shutDown();
    core_.reset();
    return Result::Ok;
}

Result System::createStream(const std::string& path, Mode mode, Sound& sound) {
    if (!core_) {
        return Result::InvalidHandle;
    }
    if (!core_->initialised) {
        return Result::Uninitialized;
    }
    if (path.empty() || (mode & ~KNOWN_MODE_BITS) != 0 || (mode & LOOP_BITS) == LOOP_BITS ||
        ((mode & MODE_2D) != 0 && (mode & MODE_3D) != 0) ||
        ((mode & MODE_HARDWARE) != 0 && (mode & MODE_SOFTWARE) != 0)) {
        return Result::InvalidParam;
    }
    if ((mode & (MODE_3D | MODE_HARDWARE)) != 0) {
        return Result::Unsupported;
    }
    std::error_code ec;
    const std::filesystem::file_status status = std::filesystem::status(path, ec);
    if (!std::filesystem::exists(status)) {
        return Result::FileNotFound;
    }
    if (!std::filesystem::is_regular_file(status) || !std::ifstream(path, std::ios::binary)) {
        return Result::FileBad;
    }
    int backendId = 0;
    const Result loaded = core_->backend->load(path, backendId);
    if (loaded != Result::Ok) {
        return loaded;
    }
    const int id = core_->nextId++;
    core_->sounds[id] = Core::SoundState{backendId, (mode & MODE_LOOP_NORMAL) != 0};
    sound.core_ = core_;
    sound.id_ = id;
    return Result::Ok;
}

Result System::playSound(Sound& sound, bool paused, Channel& channel) {
    if (!core_) {
        return Result::InvalidHandle;
    }
    if (!core_->initialised) {
        return Result::Uninitialized;
    }
    if (alive(sound.core_) != core_ || core_->sounds.count(sound.id_) == 0) {
        return Result::InvalidHandle;
    }
    core_->endChannel();
    Core::ChannelState& ch = core_->channel;
    ch.id = core_->nextId++;
    ch.sound = sound.id_;
    ch.loop = core_->sounds.at(sound.id_).loop;
    ch.paused = true;
    channel.core_ = core_;
    channel.id_ = ch.id;
    return paused ? Result::Ok : core_->start();
}

} // namespace sound
