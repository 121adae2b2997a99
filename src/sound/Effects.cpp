#include "sound/Effects.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iostream>
#include <memory>

namespace {

struct ChunkFree {
    void operator()(Mix_Chunk* chunk) const { Mix_FreeChunk(chunk); }
};
using ChunkPtr = std::unique_ptr<Mix_Chunk, ChunkFree>;

/// The loop's channel, kept out of the pool (reserved).
constexpr int LOOP_CHANNEL = 0;
/// The pool's channels, 1 to EFFECT_CHANNELS, form this group.
constexpr int POOL_GROUP = 1;
/// A sound at the far side still reaches the other ear a little.
constexpr double PAN_WIDTH = 0.8;

struct EffectsState {
    bool open = false; ///< an output that is heard, and the channels set up on it
    std::vector<ChunkPtr> chunks;
    bool on = true;
    int volume = 100;
    int loop = -1;        ///< the loop asked for
    int loopPlaying = -1; ///< the loop on its channel
};

EffectsState& state() {
    static EffectsState effects;
    return effects;
}

Mix_Chunk* chunk(int index) {
    const EffectsState& s = state();
    return index >= 0 && index < static_cast<int>(s.chunks.size()) ? s.chunks[index].get()
                                                                   : nullptr;
}

/// The loop's channel plays what is asked for while effects are on, fading between.
void followLoop() {
    EffectsState& s = state();
    const int wanted = s.on && chunk(s.loop) != nullptr ? s.loop : -1;
    if (!s.open || wanted == s.loopPlaying) {
        return;
    }
    if (wanted >= 0) {
        // Over a loop still fading out, the new one fades in from silence.
        Mix_FadeInChannel(LOOP_CHANNEL, chunk(wanted), -1, EFFECT_LOOP_FADE_MS);
    } else {
        Mix_FadeOutChannel(LOOP_CHANNEL, EFFECT_LOOP_FADE_MS);
    }
    s.loopPlaying = wanted;
}

/// Equal-power panning that keeps a sound in the middle at full level on both sides.
void setPan(int channel, float pan) {
    const double p = std::isfinite(pan) ? std::clamp(double(pan), -1.0, 1.0) * PAN_WIDTH : 0.0;
    const double angle = (p + 1) * M_PI / 4;
    const auto side = [](double gain) {
        return static_cast<Uint8>(std::lround(255 * std::min(1.0, M_SQRT2 * gain)));
    };
    Mix_SetPanning(channel, side(std::cos(angle)), side(std::sin(angle)));
}

bool silentDriver() {
    const char* driver = SDL_GetCurrentAudioDriver();
    return driver == nullptr || std::strcmp(driver, "dummy") == 0;
}

} // namespace

void initEffects(const std::vector<std::string>& files) {
    shutdownEffects();
    EffectsState& s = state();
    int rate = 0, channels = 0;
    Uint16 format = 0;
    if (Mix_QuerySpec(&rate, &format, &channels) == 0 || silentDriver()) {
        std::cout << "\nSound effects: no audio device, the game runs silent" << std::endl;
        return;
    }
    Mix_AllocateChannels(EFFECT_CHANNELS + 1);
    Mix_ReserveChannels(1);
    Mix_GroupChannels(1, EFFECT_CHANNELS, POOL_GROUP);
    Mix_Volume(-1, MIX_MAX_VOLUME);
    std::string missing;
    for (const std::string& file : files) {
        s.chunks.emplace_back(Mix_LoadWAV(file.c_str()));
        if (!s.chunks.back()) {
            missing += (missing.empty() ? "" : ", ") + file;
        }
    }
    if (!missing.empty()) {
        std::cout << "\nSound effects: cannot load " << missing << std::endl;
    }
    s.open = true;
}

bool effectsReady() {
    const EffectsState& s = state();
    return s.open && std::any_of(s.chunks.begin(), s.chunks.end(),
                                 [](const ChunkPtr& c) { return c != nullptr; });
}

void playEffect(int index, float pan) {
    const EffectsState& s = state();
    Mix_Chunk* sound = chunk(index);
    if (!s.open || !s.on || sound == nullptr) {
        return;
    }
    int channel = Mix_GroupAvailable(POOL_GROUP);
    if (channel < 0) {
        channel = Mix_GroupOldest(POOL_GROUP);
        if (channel < 0) {
            return;
        }
        Mix_HaltChannel(channel);
    }
    setPan(channel, pan);
    Mix_PlayChannel(channel, sound, 0);
}

void setEffectLoop(int index) {
    state().loop = index;
    followLoop();
}

void setEffectsOn(bool on) {
    EffectsState& s = state();
    if (on == s.on) {
        return;
    }
    s.on = on;
    if (s.open && !on) {
        Mix_HaltGroup(POOL_GROUP);
    }
    followLoop();
}

bool effectsOn() {
    return state().on;
}

void setEffectsVolume(int percent) {
    EffectsState& s = state();
    s.volume = std::clamp(percent, 0, 100);
    if (s.open) {
        Mix_Volume(-1, (s.volume * MIX_MAX_VOLUME + 50) / 100);
    }
}

int effectsVolume() {
    return state().volume;
}

void shutdownEffects() {
    EffectsState& s = state();
    if (s.open) {
        Mix_HaltChannel(-1);
        s.chunks.clear();
        Mix_ReserveChannels(0);
        Mix_AllocateChannels(0);
    }
    s = EffectsState{};
}
