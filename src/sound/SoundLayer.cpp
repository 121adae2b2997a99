#include "sound/SoundLayer.h"

#include <algorithm>
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
        float volume = 1;
    };

    std::unique_ptr<AudioBackend> backend;
    bool initialised = false;
    OutputType output = OutputType::Auto;
    SpeakerMode speakerMode = SpeakerMode::Stereo;
    unsigned bufferLength = DEFAULT_DSP_BUFFER_LENGTH;
    int bufferCount = DEFAULT_DSP_BUFFER_COUNT;
    SoftwareFormat format;
    int nextId = 1;
    std::map<int, SoundState> sounds;
    ChannelState channel;
    float outputVolume = 1; ///< what the backend plays at

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

    /// The system behind a channel handle and the channel's state; the state is null when the
    /// system or the channel is gone.
    static std::pair<std::shared_ptr<Core>, ChannelState*> of(const Channel& handle) {
        std::shared_ptr<Core> core = handle.core_.lock();
        ChannelState* state = core ? core->findChannel(handle.id_) : nullptr;
        return {std::move(core), state};
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

    void applyVolume(float volume) {
        if (volume != outputVolume) {
            backend->setVolume(volume);
            outputVolume = volume;
        }
    }

    Result start() {
        const SoundState& sound = sounds.at(channel.sound);
        applyVolume(channel.volume); // before the stream sounds at the volume of the one before
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

// Channel

Result Channel::setPaused(bool paused) {
    const auto [core, ch] = Core::of(*this);
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
    const auto [core, ch] = Core::of(*this);
    if (ch == nullptr) {
        return Result::InvalidHandle;
    }
    paused = ch->paused;
    return Result::Ok;
}

Result Channel::setMode(Mode mode) {
    const auto [core, ch] = Core::of(*this);
    if (ch == nullptr) {
        return Result::InvalidHandle;
    }
    if (ch->started) {
        return Result::Unsupported;
    }
    ch->loop = (mode & MODE_LOOP_NORMAL) != 0;
    return Result::Ok;
}

Result Channel::setPosition(unsigned milliseconds) {
    const auto [core, ch] = Core::of(*this);
    if (ch == nullptr) {
        return Result::InvalidHandle;
    }
    if (!ch->started) {
        ch->startMs = milliseconds;
        return Result::Ok;
    }
    return core->backend->seek(milliseconds / 1000.0);
}

Result Channel::setVolume(float volume) {
    const auto [core, ch] = Core::of(*this);
    if (ch == nullptr) {
        return Result::InvalidHandle;
    }
    if (!(volume >= 0 && volume <= 1)) { // NaN too
        return Result::InvalidParam;
    }
    ch->volume = volume;
    if (ch->started) {
        core->applyVolume(volume);
    }
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
    version = core_->backend->linkedVersion();
    return Result::Ok;
}

Result System::getNumDrivers(int& count) const {
    count = std::max(0, core_->backend->driverCount());
    return Result::Ok;
}

Result System::getDriverInfo(int id, std::string& name) const {
    if (id < 0 || id >= core_->backend->driverCount()) {
        return Result::InvalidParam;
    }
    name = core_->backend->driver(id).name;
    return Result::Ok;
}

Result System::getDriverCaps(int id, Caps& caps, SpeakerMode& mode) const {
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
    core_->output = output;
    return Result::Ok;
}

Result System::setSpeakerMode(SpeakerMode mode) {
    core_->speakerMode = mode;
    return Result::Ok;
}

Result System::setDSPBufferSize(unsigned length, int count) {
    core_->bufferLength = length;
    core_->bufferCount = count;
    return Result::Ok;
}

Result System::setSoftwareFormat(int sampleRate, SampleFormat format, int outputChannels,
                                 int maxInputChannels, Resampler resampler) {
    core_->format = SoftwareFormat{sampleRate, format, outputChannels, maxInputChannels, resampler};
    return Result::Ok;
}

Result System::init(int, InitFlags) {
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
    core_->outputVolume = 1;
    return Result::Ok;
}

Result System::close() {
    core_->shutDown();
    return Result::Ok;
}

Result System::release() {
    core_->shutDown();
    core_.reset();
    return Result::Ok;
}

Result System::createStream(const std::string& path, Mode mode, Sound& sound) {
    if (!core_->initialised) {
        return Result::Uninitialized;
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
