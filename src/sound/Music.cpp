#include "sound/Music.h"

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <utility>

namespace {

/// What the game asks of the sound system at start-up.
constexpr int VIRTUAL_CHANNELS = 100;
constexpr unsigned EMULATED_BUFFER_LENGTH = 1024;
constexpr int EMULATED_BUFFER_COUNT = 10;

struct MusicState {
    bool started = false; ///< initMusic made the system (which must exist for every call on it)
    sound::System system;
    sound::Sound sound;
    sound::Channel channel;
    int volume = 100; ///< percent
};

MusicState& state() {
    static MusicState music;
    return music;
}

/// Formats like printf into a string, for console lines with hexadecimal fields.
template <typename... Args> std::string format(const char* pattern, Args... args) {
    char line[256];
    std::snprintf(line, sizeof line, pattern, args...);
    return line;
}

} // namespace

void fmodCheck(sound::Result result) {
    if (result != sound::Result::Ok) {
        std::cout << format("FMOD error! (%d) %s\n", static_cast<int>(result),
                            sound::resultText(result))
                  << std::flush;
    }
}

void initMusic() {
    initMusic(nullptr, MUSIC_FILE);
}

void initMusic(std::unique_ptr<sound::AudioBackend> backend, const std::string& file) {
    using namespace sound;
    MusicState& music = state();
    music = MusicState{}; // ends any earlier system and everything on it
    System& system = music.system;
    fmodCheck(System::create(system, std::move(backend)));
    music.started = true;

    unsigned version = 0;
    const Result versionResult = system.getVersion(version);
    fmodCheck(versionResult);
    if (versionResult == Result::Ok && version < builtVersion()) {
        std::cout << format("Error!  You are using an old version of FMOD %08x.  This program "
                            "requires %08x\n",
                            version, builtVersion())
                  << std::flush;
    }

    int drivers = 0;
    fmodCheck(system.getNumDrivers(drivers));
    if (drivers == 0) {
        fmodCheck(system.setOutput(OutputType::NoSound));
    } else {
        Caps caps = CAPS_NONE;
        SpeakerMode mode = SpeakerMode::Stereo;
        fmodCheck(system.getDriverCaps(0, caps, mode));
        fmodCheck(system.setSpeakerMode(mode));
        if ((caps & CAPS_HARDWARE_EMULATED) != 0) {
            // Sound servers add latency: larger buffers keep the output from stuttering.
            fmodCheck(system.setDSPBufferSize(EMULATED_BUFFER_LENGTH, EMULATED_BUFFER_COUNT));
        }
        std::string name;
        fmodCheck(system.getDriverInfo(0, name));
        if (name.find("SigmaTel") != std::string::npos) {
            // These chips crackle at the default format: mix in float at their own rate.
            fmodCheck(
                system.setSoftwareFormat(48000, SampleFormat::PcmFloat, 0, 6, Resampler::Linear));
        }
    }

    Result result = system.init(VIRTUAL_CHANNELS, INIT_NORMAL);
    if (result == Result::OutputCreateBuffer) {
        // The device refused the speaker mode it reported: stereo always works.
        fmodCheck(system.setSpeakerMode(SpeakerMode::Stereo));
        result = system.init(VIRTUAL_CHANNELS, INIT_NORMAL);
    }
    fmodCheck(result);

    fmodCheck(system.createStream(file, MODE_SOFTWARE | MODE_2D | MODE_CREATESTREAM, music.sound));
    fmodCheck(system.playSound(music.sound, true, music.channel));
    fmodCheck(music.channel.setMode(MODE_LOOP_NORMAL));
    fmodCheck(music.channel.setPaused(false));
}

bool isMusicPlaying() {
    bool paused = true;
    return state().channel.getPaused(paused) == sound::Result::Ok && !paused;
}

bool toggleMusic() {
    sound::Channel& channel = state().channel;
    bool paused = false;
    fmodCheck(channel.getPaused(paused));
    if (paused) {
        fmodCheck(channel.setPaused(false));
        return true;
    }
    fmodCheck(channel.setPaused(true));
    fmodCheck(channel.setPosition(0));
    return false;
}

void setMusicVolume(int percent) {
    MusicState& music = state();
    music.volume = std::clamp(percent, 0, 100);
    fmodCheck(music.channel.setVolume(static_cast<float>(music.volume) / 100.0f));
}

int musicVolume() {
    return state().volume;
}

void shutdownMusic() {
    MusicState& music = state();
    if (!music.started) {
        return;
    }
    fmodCheck(music.sound.release());
    fmodCheck(music.system.close());
    fmodCheck(music.system.release());
    music = MusicState{};
}
