#include "app/Sounds.h"

#include "elements/Goal.h"
#include "level/Level.h"
#include "rules/Interaction.h"
#include "rules/Settings.h"
#include "sound/Effects.h"

#include <string>
#include <vector>

namespace {

SoundCues cues;
int levelEntered = 0;

SoundFrame currentFrame(double time) {
    SoundFrame frame;
    frame.time = time;
    frame.level = levelEntered;
    frame.power = gameSettings.laserPower;
    frame.solved = levelSolved;
    frame.energy = energy;
    frame.gameOver = gameOver;
    if (currentLevel != nullptr) {
        for (FinshHead* goal : currentLevel->goals) {
            frame.goals.push_back({goal->door()->state, goal->hasItsColour(),
                                   panOf(viewMatrix, goal->getBoundingCenter())});
        }
    }
    if (selectionActive && selectedElement != nullptr) {
        frame.selected = selectedElement;
        frame.orientation = selectedElement->getWorldMatrix();
        frame.selectedPan = panOf(viewMatrix, selectedElement->getBoundingCenter());
        frame.carrying = doubleClicked;
    }
    return frame;
}

} // namespace

void initSounds() {
    std::vector<std::string> files;
    for (int i = 0; i < CUE_COUNT; ++i) {
        files.emplace_back(cueFile(static_cast<Cue>(i)));
    }
    initEffects(files);
}

void playCue(Cue cue, float pan) {
    playEffect(static_cast<int>(cue), pan);
}

void followSounds(double time) {
    setEffectsOn(gameSettings.effects);
    if (gameSettings.effectsVolume != effectsVolume()) {
        setEffectsVolume(gameSettings.effectsVolume);
    }
    for (const CuePlay& play : cues.follow(currentFrame(time))) {
        playCue(play.cue, play.pan);
    }
    setEffectLoop(gameSettings.laserPower ? static_cast<int>(Cue::Hum) : -1);
}

void settleSounds() {
    cues.settle();
}

void soundsEnterLevel() {
    ++levelEntered;
}

void shutdownSounds() {
    shutdownEffects();
}
