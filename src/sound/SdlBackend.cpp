// The sound layer's backend on SDL2_mixer: SDL's audio devices are the drivers, the mixer's
// single music stream plays the streams.

#include "sound/SoundLayer.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <cmath>
#include <cstring>
#include <map>

namespace sound {

unsigned builtVersion() {
    return makeVersion(SDL_MIXER_MAJOR_VERSION, SDL_MIXER_MINOR_VERSION, SDL_MIXER_PATCHLEVEL);
}

namespace {

struct MusicFree {
    void operator()(Mix_Music* music) const { Mix_FreeMusic(music); }
};
using MusicPtr = std::unique_ptr<Mix_Music, MusicFree>;

/// SDL drivers that mix in a sound server or emulate a device rather than feed the hardware.
bool emulatedDriver(const char* name) {
    static const char* const servers[] = {"pulseaudio", "pipewire", "jack", "esd",  "arts",
                                          "nas",        "sndio",    "disk", "dummy"};
    if (name == nullptr) {
        return false;
    }
    for (const char* server : servers) {
        if (std::strcmp(name, server) == 0) {
            return true;
        }
    }
    return false;
}

/// SDL keeps one device buffer rather than a ring of them: size it to a quarter of the total
/// asked for (the asked length at the default count of four), as a power of two.
int deviceBufferSamples(unsigned length, int count) {
    const unsigned long total = static_cast<unsigned long>(length) * static_cast<unsigned>(count);
    int samples = 256;
    while (samples < 8192 && static_cast<unsigned long>(samples) * 4 < total) {
        samples *= 2;
    }
    return samples;
}

class SdlBackend final : public AudioBackend {
  public:
    SdlBackend() {
        // SDL would otherwise turn SIGINT and SIGTERM into quit events nobody here reads.
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        audioReady_ = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
    }

    ~SdlBackend() override {
        close();
        musics_.clear();
        Mix_Quit();
        if (audioReady_) {
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
        }
    }

    SdlBackend(const SdlBackend&) = delete;
    SdlBackend& operator=(const SdlBackend&) = delete;

    unsigned linkedVersion() const override {
        const SDL_version* v = Mix_Linked_Version();
        return makeVersion(v->major, v->minor, v->patch);
    }

    int driverCount() override {
        if (!audioReady_) {
            return 0;
        }
        const int count = SDL_GetNumAudioDevices(0);
        // A negative count: the devices cannot be listed, but the default one can be opened.
        return count < 0 ? 1 : count;
    }

    DriverInfo driver(int index) override {
        DriverInfo info;
        const char* name = SDL_GetAudioDeviceName(index, 0);
        info.name = name != nullptr ? name : "default output";
        SDL_AudioSpec preferred;
        if (SDL_GetAudioDeviceSpec(index, 0, &preferred) == 0 && preferred.channels > 0) {
            info.channels = preferred.channels;
        }
        info.emulated = emulatedDriver(SDL_GetCurrentAudioDriver());
        return info;
    }

    Result open(const OutputSettings& settings, bool silent) override {
        close();
        if (silent != silentDriver_) {
            switchDriver(silent);
        }
        if (!audioReady_) {
            return Result::OutputInit;
        }
        Mix_Init(MIX_INIT_MP3);
        const Uint16 format =
            settings.format == SampleFormat::PcmFloat ? AUDIO_F32SYS : AUDIO_S16SYS;
        const int samples = deviceBufferSamples(settings.bufferLength, settings.bufferCount);
        // The channel count is not open to change: a device that cannot take it fails here and
        // the caller may fall back to stereo.
        if (Mix_OpenAudioDevice(settings.sampleRate, format, settings.channels, samples, nullptr,
                                SDL_AUDIO_ALLOW_FREQUENCY_CHANGE) != 0) {
            return settings.channels != 2 ? Result::OutputCreateBuffer : Result::OutputInit;
        }
        Mix_VolumeMusic(MIX_MAX_VOLUME);
        open_ = true;
        return Result::Ok;
    }

    void close() override {
        if (!open_) {
            return;
        }
        halt();
        musics_.clear();
        Mix_CloseAudio();
        open_ = false;
    }

    Result load(const std::string& path, int& id) override {
        MusicPtr music(Mix_LoadMUS(path.c_str()));
        if (!music) {
            return Result::Format;
        }
        id = nextId_++;
        musics_[id] = std::move(music);
        return Result::Ok;
    }

    void unload(int id) override {
        const auto it = musics_.find(id);
        if (it == musics_.end()) {
            return;
        }
        if (it->second.get() == current_) {
            halt();
        }
        musics_.erase(it);
    }

    Result play(int id, bool loop) override {
        const auto it = musics_.find(id);
        if (it == musics_.end()) {
            return Result::InvalidHandle;
        }
        if (Mix_PlayMusic(it->second.get(), loop ? -1 : 1) != 0) {
            current_ = nullptr;
            return Result::Playback;
        }
        Mix_ResumeMusic();
        current_ = it->second.get();
        return Result::Ok;
    }

    void pause() override { Mix_PauseMusic(); }
    void resume() override { Mix_ResumeMusic(); }
    bool playing() override { return current_ != nullptr && Mix_PlayingMusic() != 0; }

    Result seek(double seconds) override {
        if (current_ == nullptr) {
            return Result::Playback;
        }
        const double length = Mix_MusicDuration(current_);
        if (seconds < 0 || (length > 0 && seconds >= length)) {
            return Result::InvalidParam;
        }
        if (seconds == 0) {
            Mix_RewindMusic();
            return Result::Ok;
        }
        return Mix_SetMusicPosition(seconds) == 0 ? Result::Ok : Result::Playback;
    }

    void halt() override {
        if (current_ != nullptr) {
            Mix_HaltMusic();
            current_ = nullptr;
        }
    }

    void setVolume(double volume) override {
        Mix_VolumeMusic(static_cast<int>(std::lround(volume * MIX_MAX_VOLUME)));
    }

  private:
    /// Restarts SDL's audio on its silent dummy driver, or back on the usual choice of driver.
    void switchDriver(bool silent) {
        if (audioReady_) {
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
        }
        if (silent) {
            SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
        }
        audioReady_ = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
        SDL_ResetHint(SDL_HINT_AUDIODRIVER);
        silentDriver_ = silent;
    }

    bool audioReady_ = false;
    bool silentDriver_ = false;
    bool open_ = false;
    std::map<int, MusicPtr> musics_;
    Mix_Music* current_ = nullptr; ///< the stream handed to Mix_PlayMusic, owned by musics_
    int nextId_ = 1;
};

} // namespace

std::unique_ptr<AudioBackend> makeSdlBackend() {
    return std::make_unique<SdlBackend>();
}

} // namespace sound
